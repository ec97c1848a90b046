// XML persistence of TAssocArray: one "assocarray" element, one line per item.
//
//   <?xml version="1.0"?>                                        only with CreateHeader
//   <assocarray sig="QORLIBSIG" vers="1.0" id="ID" ignorecase="true">
//     <numentries>2</numentries>
//     <assoc key="alpha" type="ustring">a &lt; b&#xA;&#x20AC;</assoc>
//     <assoc key="0041D800" keyenc="hex" type="int64">-5</assoc>
//   </assocarray>
//
// Every line ends in CR LF and the bytes are pure ASCII; texts are escaped as the shared line
// layout does it, so keys and values keep "<", "&", quotes and line breaks. A key or string
// that XML cannot carry at all is written as hexadecimal UTF-16 code units, four digits each,
// with keyenc="hex" or enc="hex".
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qorkit/core/errors.h"
#include "qorkit/dstruct/assoc_array.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/streams/stream_text.h"
#include "qorkit/streams/tag_scan.h"
#include "xml_line.h"

namespace qorkit {

namespace {

using detail::AppendDecimal;
using detail::SameIgnoringAZ;

constexpr std::u16string_view kSignature = u"QORLIBSIG";
constexpr std::u16string_view kStartName = u"assocarray";
constexpr std::u16string_view kEndLine = u"</assocarray>";

/// The value types the layout carries, by the names written in "type".
struct TTypeName {
    std::uint16_t Code;
    std::u16string_view Name;
};
constexpr TTypeName kTypes[] = {
    {varEmpty, u"empty"},       {varNull, u"null"},         {varSmallint, u"smallint"},
    {varInteger, u"integer"},   {varSingle, u"single"},     {varDouble, u"double"},
    {varCurrency, u"currency"}, {varDate, u"date"},         {varOleStr, u"olestr"},
    {varBoolean, u"boolean"},   {varShortInt, u"shortint"}, {varByte, u"byte"},
    {varWord, u"word"},         {varLongWord, u"longword"}, {varInt64, u"int64"},
    {varUInt64, u"uint64"},     {varString, u"string"},     {varUString, u"ustring"},
};

const TTypeName* TypeByCode(std::uint16_t code) {
    for (const auto& t : kTypes)
        if (t.Code == code) return &t;
    return nullptr;
}

const TTypeName* TypeByName(std::u16string_view name) {
    for (const auto& t : kTypes)
        if (SameIgnoringAZ(t.Name, name)) return &t;
    return nullptr;
}

String Ascii(std::string_view s) {
    return String(s.begin(), s.end());
}

std::string Narrow(std::u16string_view s) {
    std::string out;
    for (const Char c : s) {
        if (c > 0x7E || c < 0x20) return {};  // never a number
        out.push_back(static_cast<char>(c));
    }
    return out;
}

/// The shortest decimal text that reads back as the same double ("nan", "inf", "-0").
String DoubleText(double d) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d);
    return Ascii(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

bool ParseDouble(std::u16string_view s, double& d) {
    const std::string t = Narrow(s);
    if (t.empty()) return false;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), d);
    return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

template <class T>
bool ParseInteger(std::u16string_view s, T& v) {
    const std::string t = Narrow(s);
    if (t.empty()) return false;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

/// Currency as written by `Variant::AsString`: optional "-", digits, optional "." with up to
/// four decimals; gives the amount times 10000.
bool ParseCurrency(std::u16string_view s, std::int64_t& scaled) {
    const std::size_t point = s.find(u'.');
    const std::u16string_view whole = s.substr(0, point);
    std::u16string_view frac = point == std::u16string_view::npos ? u"" : s.substr(point + 1);
    if (frac.size() > 4 || (point != std::u16string_view::npos && frac.empty())) return false;
    const bool negative = whole.starts_with(u'-');
    std::int64_t w = 0;
    if (!ParseInteger(negative ? whole.substr(1) : whole, w) || w < 0) return false;
    std::int64_t f = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const Char c = i < frac.size() ? frac[i] : u'0';
        if (c < u'0' || c > u'9') return false;
        f = f * 10 + (c - u'0');
    }
    if (w > (INT64_MAX - f) / 10000) return false;
    scaled = w * 10000 + f;
    if (negative) scaled = -scaled;
    return true;
}

void AppendHexUnits(String& out, std::u16string_view text) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    for (const Char c : text)
        for (int shift = 12; shift >= 0; shift -= 4)
            out.push_back(kHex[(c >> shift) & 0xF]);
}

bool UnHexUnits(std::u16string_view hex, String& out) {
    out.clear();
    if (hex.size() % 4 != 0) return false;
    for (std::size_t i = 0; i < hex.size(); i += 4) {
        unsigned v = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const int d = detail::HexDigit(hex[i + k]);
            if (d < 0) return false;
            v = v * 16 + static_cast<unsigned>(d);
        }
        out.push_back(static_cast<Char>(v));
    }
    return true;
}

/// The text of a value as the "assoc" line holds it (before escaping).
String ValueText(const Variant& v) {
    switch (VarType(v)) {
        case varEmpty:
        case varNull:
            return {};
        case varDouble:
        case varDate:
            return DoubleText(v.AsDouble());
        case varBoolean:
            return v.AsBoolean() ? u"true" : u"false";
        default:
            return v.AsString();
    }
}

/// Reads an integer of type `T` and makes the variant with `Make`.
template <class T>
bool MakeInteger(const String& text, Variant& v, Variant (*Make)(T) noexcept) {
    T x{};
    if (!ParseInteger(text, x)) return false;
    v = Make(x);
    return true;
}

/// Builds the value of type `code` from its text.
bool MakeValue(std::uint16_t code, const String& text, Variant& v) {
    switch (code) {
        case varEmpty:
            v = Variant();
            return text.empty();
        case varNull:
            v = Variant::Null();
            return text.empty();
        case varSmallint:
            return MakeInteger<std::int16_t>(text, v, Variant::FromSmallint);
        case varInteger:
            return MakeInteger<std::int32_t>(text, v, Variant::FromInteger);
        case varShortInt:
            return MakeInteger<std::int8_t>(text, v, Variant::FromShortInt);
        case varByte:
            return MakeInteger<std::uint8_t>(text, v, Variant::FromByte);
        case varWord:
            return MakeInteger<std::uint16_t>(text, v, Variant::FromWord);
        case varLongWord:
            return MakeInteger<std::uint32_t>(text, v, Variant::FromLongWord);
        case varInt64:
            return MakeInteger<std::int64_t>(text, v, Variant::FromInt64);
        case varUInt64:
            return MakeInteger<std::uint64_t>(text, v, Variant::FromUInt64);
        case varSingle: {
            long double x = 0;
            if (!TryStrToFloat(text, x) || text.find_first_of(u" \t") != String::npos) return false;
            v = Variant(static_cast<float>(x));
            return true;
        }
        case varDouble:
        case varDate: {
            double x = 0;
            if (!ParseDouble(text, x)) return false;
            v = code == varDate ? Variant::FromDate(x) : Variant(x);
            return true;
        }
        case varCurrency: {
            std::int64_t x = 0;
            if (!ParseCurrency(text, x)) return false;
            v = Variant::FromCurrencyScaled(x);
            return true;
        }
        case varBoolean:
            if (text != u"true" && text != u"false") return false;
            v = Variant(text == u"true");
            return true;
        case varOleStr:
            v = Variant::FromOleStr(text);
            return true;
        case varString:
            v = Variant::FromAnsiString(text);
            return true;
        case varUString:
            v = Variant(text);
            return true;
        default:
            return false;
    }
}

/// Appends ` name="text"` (or the hexadecimal form with `hexName`="hex").
void AppendTextAttr(String& line, std::u16string_view name, std::u16string_view hexName,
                    std::u16string_view text) {
    line.push_back(u' ');
    line += name;
    line += u"=\"";
    const bool hex = detail::HasXmlForbidden(text);
    if (hex)
        AppendHexUnits(line, text);
    else
        detail::AppendXmlEscaped(line, text);
    line.push_back(u'"');
    if (hex) {
        line.push_back(u' ');
        line += hexName;
        line += u"=\"hex\"";
    }
}

/// Decodes a text stored plainly or, when `encoding` is "hex", as code units.
bool DecodeText(std::u16string_view raw, const String& encoding, String& out) {
    if (encoding.empty()) return detail::XmlUnescape(raw, String::npos, out);
    return SameIgnoringAZ(encoding, u"hex") && UnHexUnits(raw, out);
}

/// One line of the stream: bytes 0..0x7F as they are, others as Windows-1252 characters.
String ReadLine(TStream& In, bool& EndOfStream) {
    String line = ReadLnStream(In, EndOfStream, 0);
    for (Char& c : line)
        if (c >= 0x80) c = Win1252ToChar(static_cast<std::uint8_t>(c));
    return line;
}

void WriteLine(TStream& Out, const String& line) {
    WriteLnStream(Out, line);  // pure ASCII: every character is its own byte
}

}  // namespace

void TAssocArray::WriteToXMLStream(TStream& OutStream, bool CreateHeader,
                                   const String& DataID) const {
    for (std::size_t i = 0; i < FDataArray.size(); ++i) {
        const std::uint16_t t = VarType(FDataArray[i]);
        if (TypeByCode(t) == nullptr)
            throw EQORDStructError(
                ComponentMessage(*this, u": entry " + IntToStr(static_cast<std::int64_t>(i + 1)) +
                                            u" holds a value of type " + VarTypeAsText(t) +
                                            u", which cannot be written as XML"));
    }
    if (CreateHeader) WriteLine(OutStream, u"<?xml version=\"1.0\"?>");
    String line = u"<assocarray sig=\"QORLIBSIG\" vers=\"1.0\"";
    AppendTextAttr(line, u"id", u"idenc", DataID);
    line += FIgnoreCase ? u" ignorecase=\"true\">" : u" ignorecase=\"false\">";
    WriteLine(OutStream, line);
    line = u"  <numentries>";
    AppendDecimal(line, NumEntries());
    line += u"</numentries>";
    WriteLine(OutStream, line);
    for (std::size_t i = 0; i < FKeyArray.size(); ++i) {
        const Variant& v = FDataArray[i];
        const TTypeName& type = *TypeByCode(VarType(v));
        line = u"  <assoc";
        AppendTextAttr(line, u"key", u"keyenc", FKeyArray[i]);
        line += u" type=\"";
        line += type.Name;
        line += u"\"";
        const String text = ValueText(v);
        if (detail::HasXmlForbidden(text)) {
            line += u" enc=\"hex\">";
            AppendHexUnits(line, text);
        } else {
            line += u">";
            detail::AppendXmlEscaped(line, text);
        }
        line += u"</assoc>";
        WriteLine(OutStream, line);
    }
    WriteLine(OutStream, String(kEndLine));
}

bool TAssocArray::ReadFromXMLStream(TStream& InStream, const String& DataID) {
    bool eos = false;
    String attrs;
    String id;
    for (;;) {
        if (eos) return false;
        const String line = ReadLine(InStream, eos);
        if (!detail::IsStartLine(detail::TrimLine(line), kStartName, kSignature, u"", attrs))
            continue;
        if (!DecodeText(ScanForXMLAttrib(attrs, u"id"), ScanForXMLAttrib(attrs, u"idenc"), id))
            continue;
        if (DataID.empty() || SameIgnoringAZ(id, DataID)) break;
    }
    const String mode = ScanForXMLAttrib(attrs, u"ignorecase");
    if (!mode.empty() && !SameIgnoringAZ(mode, u"true") && !SameIgnoringAZ(mode, u"false"))
        return false;
    const bool ignoreCase = mode.empty() ? FIgnoreCase : SameIgnoringAZ(mode, u"true");
    std::vector<String> keys;
    std::vector<Variant> values;
    std::int64_t count = -1;
    detail::TElementLine e;
    String text;
    bool ended = false;
    while (!ended) {
        if (eos) return false;
        const String raw = ReadLine(InStream, eos);
        const std::u16string_view line = detail::TrimLine(raw);
        if (line.empty() ||
            (line.starts_with(u"<!--") && line.ends_with(u"-->") && line.size() >= 7))
            continue;
        if (SameIgnoringAZ(line, kEndLine)) {
            ended = true;
            break;
        }
        if (!detail::SplitElementLine(line, e)) return false;
        if (e.Name == u"numentries") {
            if (count >= 0 || !detail::ParseDecimal(e.Content, INT32_MAX, count)) return false;
            keys.reserve(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
            values.reserve(keys.capacity());
            continue;
        }
        if (e.Name != u"assoc" || count < 0 || static_cast<std::int64_t>(keys.size()) >= count)
            return false;
        String key;
        if (!DecodeText(ScanForXMLAttrib(e.Attrs, u"key"), ScanForXMLAttrib(e.Attrs, u"keyenc"),
                        key))
            return false;
        const TTypeName* type = TypeByName(ScanForXMLAttrib(e.Attrs, u"type"));
        if (type == nullptr) return false;
        if (!DecodeText(e.Content, ScanForXMLAttrib(e.Attrs, u"enc"), text)) return false;
        Variant v;
        if (!MakeValue(type->Code, text, v)) return false;
        keys.push_back(std::move(key));
        values.push_back(std::move(v));
    }
    if (count < 0 || static_cast<std::int64_t>(keys.size()) != count) return false;
    FIgnoreCase = ignoreCase;
    FKeyArray = std::move(keys);
    FDataArray = std::move(values);
    FDataID = id;
    Reindex();
    return true;
}

std::int32_t TAssocArray::AddXMLAttributes(const String& Attributes) {
    std::vector<std::pair<String, String>> pairs;
    std::size_t pos = 0;
    String name;
    String value;
    for (;;) {
        const auto status = detail::ReadXMLAttrib(Attributes, pos, name, value);
        if (status == detail::asNothingLeft) break;
        if (status == detail::asMalformed) return -1;
        if (name.empty()) {
            if (value.empty()) continue;  // blanks at the end
            return -1;
        }
        String decoded;
        if (!detail::XmlUnescape(value, String::npos, decoded)) return -1;
        pairs.emplace_back(name, std::move(decoded));
    }
    for (const auto& [k, v] : pairs)
        Add(k, Variant(v));
    return static_cast<std::int32_t>(pairs.size());
}

}  // namespace qorkit
