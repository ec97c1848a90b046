// XML persistence of TStringArray: one "strarray" element per table, one line per item.
//
// Layout (every line ends in CR LF; the body lines are indented by two blanks):
//
//   <?xml version="1.0"?>                            only with CreateHeader
//   <!-- TStringArray / QOR Toolkit -->
//   <strarray sig="QORLIBSIG" vers="1.0" id="ID">
//     <numcols>3</numcols>
//     <numrows>5</numrows>
//     <sortorder>2 1 3 5 4</sortorder>               only for a pending order
//     <colattrib col="2">17</colattrib>              columns with an attribute other than 0
//     <rowattrib row="4">200</rowattrib>             physical rows with an attribute other than 0
//     <cell col="0" row="1">TEXT</cell>              non-empty cells, physical rows ascending
//     <cell col="1" row="1" enc="hex">0041</cell>    a cell holding control characters
//   </strarray>
//
// The file is pure ASCII and well-formed XML: bytes 0x20..0x7E stand for themselves except the
// markup characters, every other byte is a character reference to the Unicode character that
// the byte stands for in Windows-1252 (0x80 is "&#x20AC;"). Control characters other than tab,
// line feed and carriage return cannot appear in XML at all, so a cell holding one is written
// as hexadecimal bytes instead.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../rtl/atomic_save.h"
#include "../rtl/posix_file.h"
#include "qorkit/core/errors.h"
#include "qorkit/dstruct/string_table.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/streams/tag_scan.h"

namespace qorkit {

namespace {

/// The reader refuses tables with more cells than this, so that a few bytes of file cannot
/// demand gigabytes of handles.
constexpr std::int64_t kMaxReadCells = std::int64_t{1} << 27;

constexpr std::u16string_view kSignature = u"QORLIBSIG";
constexpr std::u16string_view kStartName = u"strarray";
constexpr std::u16string_view kEndLine = u"</strarray>";

constexpr Char LowerAZ(Char c) noexcept {
    return c >= u'A' && c <= u'Z' ? static_cast<Char>(c + (u'a' - u'A')) : c;
}

bool SameIgnoringAZ(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAZ(a[i]) != LowerAZ(b[i])) return false;
    return true;
}

bool SameBytesIgnoringAZ(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<Char>(static_cast<std::uint8_t>(a[i]));
        const auto y = static_cast<Char>(static_cast<std::uint8_t>(b[i]));
        if (LowerAZ(x) != LowerAZ(y)) return false;
    }
    return true;
}

bool IsBlank(Char c) noexcept {
    return c == u' ' || c == u'\t';
}

/// Cuts blanks, tabs and other control characters off both ends, so a stray CR before the
/// line end does not spoil a line.
std::u16string_view TrimLine(std::u16string_view s) noexcept {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] <= u' ')
        ++b;
    while (e > b && s[e - 1] <= u' ')
        --e;
    return s.substr(b, e - b);
}

std::u16string_view TrimBlanks(std::u16string_view s) noexcept {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

void AppendAscii(String& out, std::string_view ascii) {
    for (const char c : ascii)
        out.push_back(static_cast<Char>(static_cast<unsigned char>(c)));
}

void AppendDecimal(String& out, std::int64_t v) {
    AppendAscii(out, std::to_string(v));
}

/// True for the bytes that XML cannot carry even as a character reference.
bool IsForbiddenInXml(std::uint8_t b) noexcept {
    return b < 0x20 && b != 0x09 && b != 0x0A && b != 0x0D;
}

bool NeedsHex(std::string_view bytes) noexcept {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return IsForbiddenInXml(static_cast<std::uint8_t>(c)); });
}

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

/// Appends `bytes` as element or attribute text (see the file comment). Forbidden control
/// bytes, which only the hexadecimal cell form avoids, are written as references anyway.
void AppendEscaped(String& out, std::string_view bytes) {
    for (const char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        switch (b) {
            case '&':
                out += u"&amp;";
                break;
            case '<':
                out += u"&lt;";
                break;
            case '>':
                out += u"&gt;";
                break;
            case '"':
                out += u"&quot;";
                break;
            default:
                if (b >= 0x20 && b <= 0x7E) {
                    out.push_back(static_cast<Char>(b));
                } else {
                    const Char c = Win1252ToChar(b);
                    out += u"&#x";
                    bool digits = false;
                    for (int shift = 12; shift >= 0; shift -= 4) {
                        const int d = (c >> shift) & 0xF;
                        if (d == 0 && !digits && shift > 0) continue;
                        digits = true;
                        out.push_back(kHexDigits[d]);
                    }
                    out.push_back(u';');
                }
        }
    }
}

void AppendHex(String& out, std::string_view bytes) {
    for (const char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        out.push_back(kHexDigits[b >> 4]);
        out.push_back(kHexDigits[b & 0x0F]);
    }
}

int HexDigit(Char c) noexcept {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

/// The Windows-1252 byte of `c`; false when the code page has no byte for it.
bool ToCellByte(std::uint32_t c, std::string& out) {
    if (c > 0xFFFF) return false;
    const std::uint8_t b = CharToWin1252(static_cast<Char>(c));
    if (Win1252ToChar(b) != c) return false;
    out.push_back(static_cast<char>(b));
    return true;
}

/// Reads a character reference "&#xH...;" or "&#D...;" at the start of `rest` into `c` and
/// its length into `used`.
bool ParseReference(std::u16string_view rest, std::uint32_t& c, std::size_t& used) {
    const bool hex = rest.starts_with(u"&#x");
    std::size_t i = hex ? 3 : 2;
    const std::size_t first = i;
    c = 0;
    for (; i < rest.size() && rest[i] != u';'; ++i) {
        const int d =
            hex ? HexDigit(rest[i]) : (rest[i] >= u'0' && rest[i] <= u'9' ? rest[i] - u'0' : -1);
        if (d < 0 || i - first >= 7) return false;
        c = c * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
    }
    if (i == first || i == rest.size()) return false;
    used = i + 1;
    return true;
}

/// Decodes escaped text into Windows-1252 bytes. False for an unknown "&" sequence, a literal
/// "<" or ">", a character the code page lacks, or a result longer than `MaxLen` bytes.
bool Unescape(std::u16string_view text, std::size_t MaxLen, std::string& out) {
    static constexpr struct {
        std::u16string_view Name;
        char Byte;
    } kNamed[] = {
        {u"&amp;", '&'}, {u"&lt;", '<'}, {u"&gt;", '>'}, {u"&quot;", '"'}, {u"&apos;", '\''}};
    out.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (out.size() >= MaxLen) return false;
        const Char c = text[i];
        if (c == u'<' || c == u'>') return false;
        if (c != u'&') {
            if (!ToCellByte(c, out)) return false;
            ++i;
            continue;
        }
        const std::u16string_view rest = text.substr(i);
        bool named = false;
        for (const auto& n : kNamed) {
            if (rest.starts_with(n.Name)) {
                out.push_back(n.Byte);
                i += n.Name.size();
                named = true;
                break;
            }
        }
        if (named) continue;
        std::uint32_t code = 0;
        std::size_t used = 0;
        if (!rest.starts_with(u"&#") || !ParseReference(rest, code, used) || !ToCellByte(code, out))
            return false;
        i += used;
    }
    return true;
}

/// Decodes the hexadecimal cell form: two digits per byte, at most `MaxLen` bytes.
bool UnHex(std::u16string_view text, std::size_t MaxLen, std::string& out) {
    out.clear();
    if (text.size() % 2 != 0 || text.size() / 2 > MaxLen) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]);
        const int lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
    }
    return true;
}

/// Plain decimal digits, at least one, no sign and no blanks, within 0..`Max`.
bool ParseNumber(std::u16string_view s, std::int64_t Max, std::int64_t& v) {
    if (s.empty()) return false;
    v = 0;
    for (const Char c : s) {
        if (c < u'0' || c > u'9') return false;
        v = v * 10 + (c - u'0');
        if (v > Max) return false;
    }
    return true;
}

/// True when `line` (trimmed) is the start tag of a table with our signature whose id is
/// `WantedId` (A to Z case ignored); an empty `WantedId` accepts any id.
bool IsWantedStartLine(std::u16string_view line, std::string_view WantedId) {
    if (line.size() < kStartName.size() + 2 || line.front() != u'<' || line.back() != u'>')
        return false;
    if (!SameIgnoringAZ(line.substr(1, kStartName.size()), kStartName)) return false;
    const std::u16string_view attrs =
        line.substr(1 + kStartName.size(), line.size() - 2 - kStartName.size());
    if (!attrs.empty() && !IsBlank(attrs.front())) return false;  // a longer name
    if (attrs.find_first_of(u"<>") != std::u16string_view::npos) return false;
    const String attrText(TrimBlanks(attrs));
    if (!SameIgnoringAZ(ScanForXMLAttrib(attrText, u"sig"), kSignature)) return false;
    if (WantedId.empty()) return true;
    std::string id;
    return Unescape(ScanForXMLAttrib(attrText, u"id"), std::string::npos, id) &&
           SameBytesIgnoringAZ(id, WantedId);
}

/// One body line taken apart: `<name attrs>content</name>`.
struct TElementLine {
    String Name;  // lower-cased A to Z
    String Attrs;
    std::u16string_view Content;
};

bool SplitElementLine(std::u16string_view line, TElementLine& e) {
    if (line.size() < 2 || line.front() != u'<') return false;
    std::size_t nameEnd = 1;
    while (nameEnd < line.size() && !IsBlank(line[nameEnd]) && line[nameEnd] != u'>' &&
           line[nameEnd] != u'<' && line[nameEnd] != u'/')
        ++nameEnd;
    if (nameEnd == 1) return false;
    const std::size_t gt = line.find(u'>', nameEnd);
    if (gt == std::u16string_view::npos) return false;
    const std::u16string_view name = line.substr(1, nameEnd - 1);
    const std::u16string_view attrs = line.substr(nameEnd, gt - nameEnd);
    if (!attrs.empty() && !IsBlank(attrs.front())) return false;
    if (attrs.find(u'<') != std::u16string_view::npos) return false;
    const std::u16string_view rest = line.substr(gt + 1);
    const std::size_t endLen = name.size() + 3;  // "</" name ">"
    if (rest.size() < endLen) return false;
    const std::u16string_view endTag = rest.substr(rest.size() - endLen);
    if (!endTag.starts_with(u"</") || endTag.back() != u'>' ||
        !SameIgnoringAZ(endTag.substr(2, name.size()), name))
        return false;
    e.Name.assign(name);
    for (Char& c : e.Name)
        c = LowerAZ(c);
    e.Attrs.assign(TrimBlanks(attrs));
    e.Content = rest.substr(0, rest.size() - endLen);
    return true;
}

/// Collects one table body line by line into a fresh table.
class TXmlTableBuilder {
  public:
    enum TStep : std::uint8_t { stMore, stEnd, stBad };

    explicit TXmlTableBuilder(std::int32_t AllocRowsBy) { FTable.SetAllocRowsBy(AllocRowsBy); }

    /// Takes one trimmed body line.
    TStep Line(std::u16string_view line) {
        if (line.empty()) return stMore;
        if (line.size() >= 7 && line.starts_with(u"<!--") && line.ends_with(u"-->")) return stMore;
        if (SameIgnoringAZ(line, kEndLine)) return Finish() ? stEnd : stBad;
        if (!SplitElementLine(line, FElem)) return stBad;
        const String& name = FElem.Name;
        if (name == u"numcols") return Count(FNCol) ? stMore : stBad;
        if (name == u"numrows") return Count(FNRow) ? stMore : stBad;
        if (!Shaped()) return stBad;
        if (name == u"cell") return Cell() ? stMore : stBad;
        if (name == u"colattrib") return ColAttrib() ? stMore : stBad;
        if (name == u"rowattrib") return RowAttrib() ? stMore : stBad;
        if (name == u"sortorder") return SortOrder() ? stMore : stBad;
        return stBad;
    }

    /// The table read; valid after `Line` returned `stEnd`.
    const TStringArray& Table() const noexcept { return FTable; }

  private:
    bool Count(std::int32_t& target) {
        std::int64_t v = 0;
        if (target != 0 || FShaped) return false;
        if (!ParseNumber(FElem.Content, INT32_MAX, v) || v < 1) return false;
        target = static_cast<std::int32_t>(v);
        return true;
    }

    /// Gives the table its shape once both counts are known.
    bool Shaped() {
        if (FShaped) return true;
        if (FNCol == 0 || FNRow == 0) return false;
        if ((static_cast<std::int64_t>(FNCol) + 1) * FNRow > kMaxReadCells) return false;
        if (!FTable.Resize(FNCol, FNRow)) return false;
        FShaped = true;
        return true;
    }

    bool Attrib(const char16_t* AttrName, std::int64_t Low, std::int64_t High, std::int64_t& v) {
        return ParseNumber(ScanForXMLAttrib(FElem.Attrs, AttrName), High, v) && v >= Low;
    }

    bool Cell() {
        std::int64_t c = 0;
        std::int64_t r = 0;
        if (!Attrib(u"col", 0, FNCol, c) || !Attrib(u"row", 1, FNRow, r)) return false;
        const String encoding = ScanForXMLAttrib(FElem.Attrs, u"enc");
        const bool decoded = encoding.empty()
                                 ? Unescape(FElem.Content, TStringArray::kMaxCellLength, FText)
                             : SameIgnoringAZ(encoding, u"hex")
                                 ? UnHex(FElem.Content, TStringArray::kMaxCellLength, FText)
                                 : false;
        if (!decoded) return false;
        FTable.SetString(static_cast<std::int32_t>(c), static_cast<std::int32_t>(r), FText);
        return true;
    }

    bool ColAttrib() {
        std::int64_t c = 0;
        std::int64_t b = 0;
        if (!Attrib(u"col", 1, FNCol, c) || !ParseNumber(FElem.Content, 255, b)) return false;
        FTable.SetColAttrib(static_cast<std::int32_t>(c), static_cast<std::uint8_t>(b));
        return true;
    }

    bool RowAttrib() {
        std::int64_t r = 0;
        std::int64_t b = 0;
        if (!Attrib(u"row", 1, FNRow, r) || !ParseNumber(FElem.Content, 255, b)) return false;
        FTable.SetRowAttrib(static_cast<std::int32_t>(r), static_cast<std::uint8_t>(b));
        return true;
    }

    bool SortOrder() {
        if (FHaveOrder) return false;
        FOrder.clear();
        const std::u16string_view s = FElem.Content;
        // Each entry takes at least two characters, so the line bounds what is worth reserving.
        FOrder.reserve(std::min(static_cast<std::size_t>(FNRow), s.size() / 2 + 1));
        std::size_t i = 0;
        for (;;) {
            while (i < s.size() && s[i] == u' ')
                ++i;
            if (i == s.size()) break;
            std::size_t j = i;
            while (j < s.size() && s[j] != u' ')
                ++j;
            std::int64_t v = 0;
            if (static_cast<std::int64_t>(FOrder.size()) >= FNRow) return false;
            if (!ParseNumber(s.substr(i, j - i), FNRow, v) || v < 1) return false;
            FOrder.push_back(static_cast<std::int32_t>(v));
            i = j;
        }
        if (static_cast<std::int64_t>(FOrder.size()) != FNRow) return false;
        FHaveOrder = true;
        return true;
    }

    bool Finish() {
        if (!Shaped()) return false;
        // Cells and row attributes were stored while the view was the physical order; only
        // now may the pending order be laid over them.
        if (FHaveOrder)
            for (std::int32_t i = 1; i <= FNRow; ++i)
                FTable.SetSortOrder(i, FOrder[static_cast<std::size_t>(i - 1)]);
        return true;
    }

    TStringArray FTable;
    std::int32_t FNCol = 0;
    std::int32_t FNRow = 0;
    bool FShaped = false;
    bool FHaveOrder = false;
    std::vector<std::int32_t> FOrder;
    TElementLine FElem;
    std::string FText;
};

}  // namespace

void TStringArray::WriteToOpenXMLFile(TextFile& F, bool CreateHeader, const String& DataID) {
    // Nothing is written that the reader would refuse.
    if ((static_cast<std::int64_t>(FNCol) + 1) * FNRow > kMaxReadCells)
        throw EQORDStructError(u"Class TStringArray: too many cells to write as XML (at most " +
                               IntToStr(kMaxReadCells) + u")");
    String line;
    if (CreateHeader) F.WriteLn(u"<?xml version=\"1.0\"?>");
    F.WriteLn(u"<!-- TStringArray / QOR Toolkit -->");
    line = u"<strarray sig=\"QORLIBSIG\" vers=\"1.0\" id=\"";
    AppendEscaped(line, StringToWin1252(DataID));
    line += u"\">";
    F.WriteLn(line);

    line = u"  <numcols>";
    AppendDecimal(line, FNCol);
    line += u"</numcols>";
    F.WriteLn(line);
    line = u"  <numrows>";
    AppendDecimal(line, FNRow);
    line += u"</numrows>";
    F.WriteLn(line);

    bool identity = true;
    for (std::int32_t i = 1; i <= FNRow && identity; ++i)
        identity = FSortIx[static_cast<std::size_t>(i - 1)] == i;
    if (!identity) {
        line = u"  <sortorder>";
        for (std::int32_t i = 1; i <= FNRow; ++i) {
            if (i > 1) line.push_back(u' ');
            AppendDecimal(line, FSortIx[static_cast<std::size_t>(i - 1)]);
        }
        line += u"</sortorder>";
        F.WriteLn(line);
    }

    for (std::int32_t c = 1; c <= FNCol; ++c) {
        const std::uint8_t b = FColAttrib[static_cast<std::size_t>(c - 1)];
        if (b == 0) continue;
        line = u"  <colattrib col=\"";
        AppendDecimal(line, c);
        line += u"\">";
        AppendDecimal(line, b);
        line += u"</colattrib>";
        F.WriteLn(line);
    }
    for (std::int32_t p = 1; p <= FNRow; ++p) {
        const std::uint8_t b = FRowAttrib[static_cast<std::size_t>(p - 1)];
        if (b == 0) continue;
        line = u"  <rowattrib row=\"";
        AppendDecimal(line, p);
        line += u"\">";
        AppendDecimal(line, b);
        line += u"</rowattrib>";
        F.WriteLn(line);
    }

    for (std::int32_t p = 1; p <= FNRow; ++p) {
        for (std::int32_t c = 0; c <= FNCol; ++c) {
            const std::string_view text = PhysicalText(c, p);
            if (text.empty()) continue;
            line = u"  <cell col=\"";
            AppendDecimal(line, c);
            line += u"\" row=\"";
            AppendDecimal(line, p);
            if (NeedsHex(text)) {
                line += u"\" enc=\"hex\">";
                AppendHex(line, text);
            } else {
                line += u"\">";
                AppendEscaped(line, text);
            }
            line += u"</cell>";
            F.WriteLn(line);
        }
    }
    F.WriteLn(String(kEndLine));
}

bool TStringArray::ReadFromOpenXMLFile(TextFile& F, const String& DataID) {
    const AnsiString wantedId = StringToWin1252(DataID);
    for (;;) {
        if (F.Eof()) return false;
        const String line = F.ReadLn();
        if (IsWantedStartLine(TrimLine(line), wantedId)) break;
    }

    TXmlTableBuilder builder(FAllocRowsBy);
    for (;;) {
        if (F.Eof()) return false;
        const String line = F.ReadLn();
        const auto step = builder.Line(TrimLine(line));
        if (step == TXmlTableBuilder::stBad) return false;
        if (step == TXmlTableBuilder::stEnd) break;
    }

    // The loaded table brings no handlers of its own; the caller's stay bound to this table.
    TNotifyEvent onChange = FOnChange;
    TBeforeSortExchgEvent onBefSortExc = FOnBefSortExc;
    TOnPercentDoneEvent onPercentDone = FOnPercentDone;
    const auto restore = [&] {
        FOnChange = std::move(onChange);
        FOnBefSortExc = std::move(onBefSortExc);
        FOnPercentDone = std::move(onPercentDone);
    };
    try {
        Assign(&builder.Table());
    } catch (...) {
        restore();
        throw;
    }
    restore();
    Changed();
    return true;
}

bool TStringArray::LoadFromXMLFile(const String& FName, const String& DataID) {
    TextFile F;  // closed by its destructor when reading raises
    F.Assign(FName);
    F.Reset();
    const bool result = ReadFromOpenXMLFile(F, DataID);
    F.Close();
    return result;
}

void TStringArray::SaveAsXMLFile(const String& FName, const String& DataID) {
    try {
        detail::SaveFileAtomically(FName, [&](const String& tmpName) {
            TextFile F;
            F.Assign(tmpName);
            F.Rewrite();
            WriteToOpenXMLFile(F, true, DataID);
            F.Close();
        });
    } catch (const EInOutError& e) {
        // The temporary name means little to the caller: name the file that was to be saved.
        throw EInOutError(e.ErrorCode(),
                          u"Cannot save " + detail::Quoted(FName) + u": " + e.Message());
    }
}

}  // namespace qorkit
