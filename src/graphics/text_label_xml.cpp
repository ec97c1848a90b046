// The label element of TCustomTextLabel: writing it into an open text file and the tolerant
// reader that finds it again by its id.
#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string_view>

#include "../core/leading_integer.h"
#include "../core/tag_reader_core.h"
#include "../core/xml_escape.h"
#include "qorkit/core/errors.h"
#include "qorkit/core/lookup_tables.h"
#include "qorkit/graphics/text_label.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/streams/number_scan.h"
#include "qorkit/streams/tag_scan.h"

namespace qorkit {

namespace {

// The attribute that marks an escaped caption. Files without it hold the caption as it stood.
constexpr std::u16string_view kEscapedMark = u"enc=xml";

bool MarkedEscaped(const String& attributes) {
    return ScanForXMLAttrib(attributes, u"enc") == u"xml";
}

void AppendHex6(String& out, TColor c) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    const auto v = static_cast<std::uint32_t>(c) & 0xFFFFFFu;
    for (int shift = 20; shift >= 0; shift -= 4)
        out.push_back(kDigits[(v >> shift) & 0xF]);
}

String Decimal(std::int64_t v) {
    String s;
    for (const char c : std::to_string(v))
        s.push_back(static_cast<Char>(c));
    return s;
}

// An id reads back by the text it was written with only when the reader's trimming, its
// search for the closing quote and the file's code page leave it intact.
void CheckId(const String& Id) {
    const auto refuse = [&](const char16_t* why) {
        throw EQORError(u"WriteToOpenXMLFile: the id \"" + Id + u"\" " + why);
    };
    if (!Id.empty() && (Id.front() == u' ' || Id.back() == u' '))
        refuse(u"has a leading or trailing blank");
    for (const Char c : Id) {
        if (c == u'"') refuse(u"holds a double quote");
        if (c < 32) refuse(u"holds a control character");
        if (c != u'?' && CharToWin1252(c) == u'?')
            refuse(u"holds a character outside Windows-1252");
    }
}

bool NeedsEscaping(std::u16string_view caption) {
    return std::any_of(caption.begin(), caption.end(), [](Char c) {
        return c == u'&' || c == u'<' || c == u'>' || c < 0x20 || c > 0x7E;
    });
}

String StyleList(TFontStyles styles) {
    String list;
    for (std::size_t s = 0; s < xmlFontStyle.size(); ++s) {
        if (!styles.Contains(static_cast<TFontStyle>(s))) continue;
        if (!list.empty()) list.push_back(u' ');
        list += xmlFontStyle[s];
    }
    return list;
}

// ---- reading ----

// The characters of the text file from its current position; the Ctrl-Z that ReadChar gives
// at the end never enters the text.
class FileChars {
  public:
    explicit FileChars(TextFile& F) : FFile(F) {}
    bool Next(Char& C) {
        if (FFile.Eof()) return false;
        C = FFile.ReadChar();
        return true;
    }
    // Reads up to and including the next occurrence of one of `Stops` (compared after
    // lower-casing A to Z) and gives the text before it and the index of the stop; -1 when the
    // file ends first.
    int ReadThrough(std::initializer_list<std::u16string_view> Stops, String& Text) {
        Text.clear();
        Char c;
        while (Next(c)) {
            Text.push_back(c);
            int index = 0;
            for (const std::u16string_view stop : Stops) {
                if (EndsWith(Text, stop)) {
                    Text.resize(Text.size() - stop.size());
                    return index;
                }
                ++index;
            }
        }
        return -1;
    }
    static bool EndsWith(std::u16string_view text, std::u16string_view tail) {
        if (text.size() < tail.size()) return false;
        const std::u16string_view end = text.substr(text.size() - tail.size());
        for (std::size_t i = 0; i < tail.size(); ++i)
            if (detail::LowerAZ(end[i]) != tail[i]) return false;
        return true;
    }

  private:
    TextFile& FFile;
};

enum ChildTag : std::uint8_t {
    ctPosXY,
    ctColors,
    ctShadowOfs,
    ctLayer,
    ctTransparent,
    ctVisible,
    ctAlignment,
    ctAttachMode,
    ctFont,
    ctStyle,
    ctCaption,
    ctEnd,
    ctDummy
};
constexpr std::array<std::u16string_view, 13> kChildNames{
    u"posxy",      u"colors", u"shadowofs", u"layer",   u"transparent",  u"visible", u"alignment",
    u"attachmode", u"font",   u"style",     u"caption", u"/custtextlbl", u"dummy"};

ChildTag ChildOf(const String& name) {
    const String lower = LowerCase(name);
    for (std::size_t i = 0; i < kChildNames.size(); ++i)
        if (lower == kChildNames[i]) return static_cast<ChildTag>(i);
    return ctDummy;
}

// One tag of the element's body: its name, its attribute text and, for a tag with content,
// the content.
struct Child {
    ChildTag Tag = ctDummy;
    String Attributes;
    String Content;
    bool EndsElement = false;  ///< a caption cut off by the label's end tag
};

// Splits "<name attrs" (the tag text without its closing ">" or "/>") into name and attributes.
void SplitTag(std::u16string_view text, Child& child) {
    text.remove_prefix(1);  // "<"
    const std::size_t blank = text.find(u' ');
    child.Tag = ChildOf(String(text.substr(0, blank)));
    child.Attributes =
        blank == std::u16string_view::npos ? String() : detail::TrimBlanks(text.substr(blank + 1));
}

// Reads the next tag of the body. False when the file ends before the tag is complete.
//
// Beyond the classic rules (a tag without "/>" has content up to the next ">", cut at the
// first "</"), three cases keep a stray piece of text from swallowing the next child: a
// comment is skipped up to its "-->", an end tag other than the label's own has no content,
// and a caption that is not marked as escaped runs to its own end tag "</caption>", so a ">",
// "</", comment or end tag inside it stays part of the caption (without "</caption>" it ends
// at the label's end tag, which then ends the element).
bool ReadChild(FileChars& in, Child& child) {
    child = Child{};
    Char c;
    do {
        if (!in.Next(c)) return false;
    } while (c != u'<');
    String text(1, u'<');
    for (;;) {
        if (!in.Next(c)) return false;
        text.push_back(c);
        if (text == u"<!--") {
            String comment;
            if (in.ReadThrough({u"-->"}, comment) < 0) return false;
            child.Tag = ctDummy;
            return true;
        }
        if (c == u'>') break;
    }
    text.pop_back();
    if (!text.empty() && text.back() == u'/') {
        text.pop_back();
        SplitTag(text, child);
        return true;
    }
    SplitTag(text, child);
    const bool endTag = text.size() > 1 && text[1] == u'/';
    if (endTag && child.Tag != ctEnd) return true;
    if (child.Tag == ctCaption && !MarkedEscaped(child.Attributes)) {
        const int stop = in.ReadThrough({u"</caption>", u"</custtextlbl>"}, child.Content);
        child.EndsElement = stop == 1;
        return stop >= 0;
    }
    if (in.ReadThrough({u">"}, child.Content) < 0) return child.Tag == ctEnd;
    const std::size_t cut = child.Content.find(u"</");
    if (cut != String::npos) child.Content.resize(cut);
    return true;
}

// Decimal integer: leading blanks, an optional sign, digits up to the first other character;
// no digits give 0, magnitudes beyond the 32-bit range saturate.
std::int32_t ReadInteger(std::u16string_view s) {
    bool overflow = false;
    const std::int64_t v =
        detail::ReadLeadingInteger(s, std::numeric_limits<std::int32_t>::max(), overflow);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Hexadecimal colour: leading blanks, an optional "$", hexadecimal digits of either case up to
// the first other character (the value wraps at 32 bits).
TColor ReadHexColor(std::u16string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    if (i < s.size() && s[i] == u'$') ++i;
    std::uint32_t v = 0;
    for (int d; i < s.size() && (d = detail::HexDigit(s[i])) >= 0; ++i)
        v = v * 16 + static_cast<std::uint32_t>(d);
    return static_cast<TColor>(v);
}

double ReadReal(const String& s) {
    const AnsiString bytes = StringToWin1252(s);
    TMemoryStream m;
    if (!bytes.empty()) m.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    m.SetPosition(0);
    return ScanStreamFPNum(m, true, dpPointOrComma);
}

// Looks `name` up in a table of names, exactly; leaves `field` unchanged when it is not there.
template <class E, std::size_t N>
void ReadName(const std::array<std::u16string_view, N>& table, const String& name, E& field) {
    const auto it = std::find(table.begin(), table.end(), std::u16string_view(name));
    if (it != table.end()) field = static_cast<E>(it - table.begin());
}

// The styles named in a blank-separated list; names that are not style names are skipped.
TFontStyles ReadStyleList(std::u16string_view list) {
    TFontStyles styles;
    while (!list.empty()) {
        const std::size_t blank = std::min(list.find(u' '), list.size());
        const auto it = std::find(xmlFontStyle.begin(), xmlFontStyle.end(), list.substr(0, blank));
        if (it != xmlFontStyle.end())
            styles.Include(static_cast<TFontStyle>(it - xmlFontStyle.begin()));
        list.remove_prefix(std::min(blank + 1, list.size()));
    }
    return styles;
}

String Unescaped(const String& text) {
    String plain;
    return detail::XmlUnescape(text, String::npos, plain) ? plain : text;
}

bool IsStartLine(const String& lowerLine, const String& lowerId) {
    if (lowerLine.find(u"<custtextlbl") == String::npos) return false;
    if (lowerLine.find(u"qorlibsig") == String::npos) return false;
    if (lowerId.empty()) return true;
    const std::size_t at = lowerLine.find(u"id=\"");
    if (at == String::npos) return false;
    const std::size_t from = at + 4;
    const std::size_t quote = lowerLine.find(u'"', from);
    const std::u16string_view value = std::u16string_view(lowerLine).substr(
        from, quote == String::npos ? String::npos : quote - from);
    return detail::TrimBlanks(value) == lowerId;
}

}  // namespace

void TCustomTextLabel::WriteToOpenXMLFile(TextFile& F, bool Header, const String& Id,
                                          std::int32_t Indent) const {
    CheckId(Id);
    const String I(static_cast<std::size_t>(std::clamp(Indent, 1, 255)), u' ');
    const String J = I + u"  ";
    if (Header) F.WriteLn(I + u"<?xml version=\"1.0\"?>");
    F.WriteLn();
    F.WriteLn(I + u"<!-- TCustomTextLabel / QOR Toolkit -->");
    F.WriteLn(I + u"<custtextlbl sig=\"QORLIBSIG\" vers=\"1.0\" id=\"" + Id + u"\">");
    F.WriteLn(J + u"<posxy x=" + StrExpo(FPosX, 12) + u" y=" + StrExpo(FPosY, 12) + u" />");

    String line = J;
    if (NeedsEscaping(FCaption)) {
        line += u"<caption ";
        line += kEscapedMark;
        line += u">";
        detail::AppendXmlEscaped(line, FCaption);
    } else {
        line += u"<caption>" + FCaption;
    }
    F.WriteLn(line + u"</caption>");

    line = J + u"<colors brd=$";
    AppendHex6(line, FColorBrd);
    line += u" bg=$";
    AppendHex6(line, FColorBkg);
    line += u" shdw=$";
    AppendHex6(line, FColorShadow);
    F.WriteLn(line + u" />");
    F.WriteLn(J + u"<shadowofs dx=" + Decimal(FXShadow) + u" dy=" + Decimal(FYShadow) + u" />");
    F.WriteLn(J + u"<layer val=" + Decimal(FLayer) + u" />");
    F.WriteLn(J + u"<transparent val=" + (FTransPar ? u"1" : u"0") + u" />");
    F.WriteLn(J + u"<visible val=" + (FVisible ? u"1" : u"0") + u" />");
    F.WriteLn(J + u"<alignment horiz=" + String(xmlAlignment.at(FAlignment)) + u" vert=" +
              String(xmlVerticalAlignment.at(FVertAlign)) + u" />");
    F.WriteLn(J + u"<attachmode val=" + String(xmlTxtLblAttachMode.at(FAttachDat)) + u" />");

    line = J + u"<font name=\"";
    detail::AppendXmlEscaped(line, FFont.Name());
    line += u"\" size=" + Decimal(FFont.Size()) + u" color=$";
    AppendHex6(line, FFont.Color());
    F.WriteLn(line + u" style=\"" + StyleList(FFont.Style()) + u"\" />");
    F.WriteLn(J + u"<style val=" + String(xmlTxtLblMode.at(FMode)) + u" />");
    F.WriteLn(I + u"</custtextlbl>");
}

bool TCustomTextLabel::ReadFromOpenXMLFile(TextFile& F, const String& Id) {
    const String lowerId = AnsiLowerCase(Id);
    String lineText;
    for (;;) {
        if (F.Eof()) return false;
        F.ReadLn(lineText);
        if (IsStartLine(AnsiLowerCase(lineText), lowerId)) break;
    }
    FileChars in(F);
    Child child;
    for (;;) {
        if (!ReadChild(in, child)) return false;
        const auto attr = [&](const char16_t* name) {
            return ScanForXMLAttrib(child.Attributes, name);
        };
        switch (child.Tag) {
            case ctPosXY:
                FPosX = ReadReal(attr(u"x"));
                FPosY = ReadReal(attr(u"y"));
                break;
            case ctColors:
                FColorBrd = ReadHexColor(attr(u"brd"));
                FColorBkg = ReadHexColor(attr(u"bg"));
                FColorShadow = ReadHexColor(attr(u"shdw"));
                break;
            case ctShadowOfs:
                FXShadow = ReadInteger(attr(u"dx"));
                FYShadow = ReadInteger(attr(u"dy"));
                break;
            case ctLayer:
                FLayer = ReadInteger(attr(u"val"));
                break;
            case ctTransparent:
                FTransPar = ReadInteger(attr(u"val")) == 1;
                break;
            case ctVisible:
                FVisible = ReadInteger(attr(u"val")) == 1;
                break;
            case ctAlignment:
                ReadName(xmlAlignment, attr(u"horiz"), FAlignment);
                ReadName(xmlVerticalAlignment, attr(u"vert"), FVertAlign);
                break;
            case ctAttachMode:
                ReadName(xmlTxtLblAttachMode, attr(u"val"), FAttachDat);
                break;
            case ctStyle:
                ReadName(xmlTxtLblMode, attr(u"val"), FMode);
                break;
            case ctFont: {
                const String name = Unescaped(attr(u"name"));
                if (!name.empty()) FFont.SetName(name);
                const String size = attr(u"size");
                if (ReadInteger(size) >= 1) FFont.SetSize(ReadInteger(size));
                const String color = attr(u"color");
                if (!color.empty()) FFont.SetColor(ReadHexColor(color));
                FFont.SetStyle(ReadStyleList(attr(u"style")));
                break;
            }
            case ctCaption:
                FCaption = MarkedEscaped(child.Attributes) ? Unescaped(child.Content)
                                                           : std::move(child.Content);
                if (!child.EndsElement) break;
                {
                    String rest;  // what the end tag takes with it, as after a proper end tag
                    in.ReadThrough({u">"}, rest);
                }
                Changed();
                return true;
            case ctEnd:
                Changed();
                return true;
            case ctDummy:
                break;
        }
    }
}

}  // namespace qorkit
