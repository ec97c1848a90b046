// A standard page head and foot, the body of a page and its plain text.
#include <array>

#include "html_scan.h"
#include "qorkit/html/html_entities.h"
#include "qorkit/html/html_text.h"

namespace qorkit {

namespace {

using detail::HtmlScanner;
using detail::HtmlToken;

constexpr std::array<std::u16string_view, 33> kBlockElements = {
    u"address", u"article",    u"aside",  u"blockquote", u"dd",     u"div",     u"dl",
    u"dt",      u"figcaption", u"figure", u"footer",     u"form",   u"h1",      u"h2",
    u"h3",      u"h4",         u"h5",     u"h6",         u"header", u"hr",      u"li",
    u"main",    u"nav",        u"ol",     u"p",          u"pre",    u"section", u"table",
    u"tr",      u"ul",         u"body",   u"html",       u"caption"};

bool IsBlock(const String& name) {
    for (std::u16string_view b : kBlockElements)
        if (name == b) return true;
    return false;
}

constexpr bool IsWhite(Char c) noexcept {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Collects the text with the white-space and line rules of ConvertHTMLBodyToText.
class TextBuilder {
  public:
    explicit TextBuilder(bool KeepLayout) : FKeepLayout(KeepLayout) {}

    // Flowing text: white space collapses and is written only between other characters.
    void Flow(std::u16string_view text) {
        for (const Char c : text) {
            if (IsWhite(c)) {
                FSpace = true;
                continue;
            }
            if (FSpace && !FLineStart && !FAfterTab) FOut.push_back(u' ');
            FSpace = false;
            FOut.push_back(c);
            FLineStart = false;
            FAfterTab = false;
        }
    }
    // Preformatted text: kept as it is, line ends made CR LF.
    void Preformatted(std::u16string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const Char c = text[i];
            if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
                LineEnd();
            } else {
                FOut.push_back(c);
                FLineStart = false;
                FAfterTab = false;
            }
        }
        FSpace = false;
    }
    void LineEnd() {
        if (!FKeepLayout) {
            FSpace = true;
            return;
        }
        TrimLineEnd();
        FOut += u"\r\n";
        FLineStart = true;
        FAfterTab = false;
        FSpace = false;
    }
    // A block boundary: the text goes on at the start of a line.
    void Break() {
        if (!FKeepLayout || !FLineStart) LineEnd();
    }
    // A new table cell: separated from the one before by a tab.
    void Cell() {
        if (!FKeepLayout) {
            FSpace = true;
        } else if (!FLineStart) {
            TrimLineEnd();
            FOut.push_back(u'\t');
            FSpace = false;
            FAfterTab = true;
        }
    }
    String Finish() {
        TrimLineEnd();
        std::size_t from = 0;
        while (FOut.compare(from, 2, u"\r\n") == 0)
            from += 2;
        std::size_t to = FOut.size();
        while (to >= from + 2 && FOut.compare(to - 2, 2, u"\r\n") == 0)
            to -= 2;
        return FOut.substr(from, to - from);
    }

  private:
    void TrimLineEnd() {
        while (!FOut.empty() && FOut.back() == u' ')
            FOut.pop_back();
    }

    bool FKeepLayout;
    String FOut;
    bool FLineStart = true;
    bool FSpace = false;
    bool FAfterTab = false;  ///< a blank right after a cell's tab is not written
};

}  // namespace

String DefaultHTMLHead(std::u16string_view Title, std::u16string_view Author,
                       std::u16string_view Description, std::u16string_view StyleSheet,
                       bool OpenBody) {
    String h = u"<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"windows-1252\">\r\n";
    h += u"<title>" + MakeStringHTMLCompatible(Title) + u"</title>\r\n";
    if (!Author.empty())
        h += u"<meta name=\"author\" content=\"" + MakeStringHTMLCompatible(Author) + u"\">\r\n";
    if (!Description.empty())
        h += u"<meta name=\"description\" content=\"" + MakeStringHTMLCompatible(Description) +
             u"\">\r\n";
    if (!StyleSheet.empty())
        h +=
            u"<link rel=\"stylesheet\" href=\"" + MakeStringHTMLCompatible(StyleSheet) + u"\">\r\n";
    h += u"</head>\r\n";
    if (OpenBody) h += u"<body>\r\n";
    return h;
}

String DefaultHTMLFoot(bool CloseBody) {
    return CloseBody ? String(u"</body>\r\n</html>\r\n") : String(u"</html>\r\n");
}

String ExtractHTMLBody(std::u16string_view Html) {
    HtmlScanner scan(Html);
    HtmlToken t;
    while (scan.Next(t)) {
        if (t.Kind != HtmlToken::tkTag || t.EndTag || t.Name != u"body") continue;
        const std::size_t from = t.To;
        while (scan.Next(t)) {
            if (t.Kind == HtmlToken::tkTag && t.EndTag && t.Name == u"body")
                return String(Html.substr(from, t.From - from));
        }
        return String(Html.substr(from));
    }
    return String(Html);
}

String ConvertHTMLBodyToText(std::u16string_view Body, bool KeepLayout) {
    TextBuilder text(KeepLayout);
    HtmlScanner scan(Body);
    HtmlToken t;
    bool raw = false;      // the token after a raw-text element's start tag is its content
    bool inHead = false;   // between <head> and </head> (or <body>) nothing is shown
    std::int32_t pre = 0;  // depth of open "pre" elements
    std::size_t preStart = std::u16string_view::npos;  // where the last <pre> ended
    while (scan.Next(t)) {
        const bool content = raw;
        raw = false;
        if (t.Kind == HtmlToken::tkOther) continue;
        if (t.Kind == HtmlToken::tkText) {
            if (content || inHead) continue;  // script, style, title, textarea: not shown
            std::u16string_view piece = Body.substr(t.From, t.To - t.From);
            // Browsers drop the line end that directly follows <pre>.
            if (t.From == preStart) {
                if (piece.starts_with(u"\r\n"))
                    piece.remove_prefix(2);
                else if (piece.starts_with(u"\n"))
                    piece.remove_prefix(1);
            }
            const String resolved = ResolveHTMLEntities(piece);
            if (pre > 0 && KeepLayout)
                text.Preformatted(resolved);
            else
                text.Flow(resolved);
            continue;
        }
        const String& name = t.Name;
        if (name == u"script" || name == u"style" || name == u"title" || name == u"textarea") {
            raw = !t.EndTag;
            continue;
        }
        if (name == u"head") {
            inHead = !t.EndTag;
            continue;
        }
        if (name == u"body") inHead = false;
        if (inHead) continue;
        if (name == u"br") {
            text.LineEnd();
        } else if (name == u"td" || name == u"th") {
            if (!t.EndTag) text.Cell();
        } else if (IsBlock(name)) {
            text.Break();
            if (name == u"pre") {
                pre = t.EndTag ? (pre > 0 ? pre - 1 : 0) : pre + 1;
                if (!t.EndTag) preStart = t.To;
            }
        }
    }
    return text.Finish();
}

}  // namespace qorkit
