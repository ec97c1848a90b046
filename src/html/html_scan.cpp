#include "html_scan.h"

#include "../core/tag_reader_core.h"

namespace qorkit::detail {

namespace {

constexpr bool IsAsciiLetter(Char c) noexcept {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
constexpr bool IsNameChar(Char c) noexcept {
    return IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u':';
}
constexpr bool IsRawTextElement(std::u16string_view name) noexcept {
    return name == u"script" || name == u"style" || name == u"title" || name == u"textarea";
}

// Offset of the first "</name" (A-Z case ignored) at or after `from` that is followed by a
// character that cannot continue the name; npos when there is none.
std::size_t FindEndTag(std::u16string_view s, std::size_t from, std::u16string_view name) {
    for (std::size_t i = s.find(u"</", from); i != std::u16string_view::npos;
         i = s.find(u"</", i + 1)) {
        const std::size_t n = i + 2;
        if (n + name.size() > s.size()) return std::u16string_view::npos;
        bool same = true;
        for (std::size_t k = 0; k < name.size() && same; ++k)
            same = LowerAZ(s[n + k]) == name[k];
        if (same && (n + name.size() == s.size() || !IsNameChar(s[n + name.size()]))) return i;
    }
    return std::u16string_view::npos;
}

}  // namespace

bool HtmlScanner::Next(HtmlToken& Token) {
    const std::u16string_view s = FText;
    if (FPos >= s.size()) return false;
    Token = HtmlToken{};
    Token.From = FPos;
    if (!FRawEnd.empty()) {
        const std::size_t end = FindEndTag(s, FPos, FRawEnd);
        FRawEnd.clear();
        Token.To = end == std::u16string_view::npos ? s.size() : end;
        FPos = Token.To;
        if (Token.To > Token.From) return true;
        return Next(Token);  // an empty element: go on with its end tag
    }
    const std::size_t at = FPos;
    if (s[at] == u'<' && at + 1 < s.size()) {
        const Char c = s[at + 1];
        if (s.substr(at, 4) == u"<!--") {
            const std::size_t end = s.find(u"-->", at + 4);
            Token.Kind = HtmlToken::tkOther;
            Token.To = end == std::u16string_view::npos ? s.size() : end + 3;
            FPos = Token.To;
            return true;
        }
        if (c == u'!' || c == u'?') {
            const std::size_t end = s.find(u'>', at + 2);
            Token.Kind = HtmlToken::tkOther;
            Token.To = end == std::u16string_view::npos ? s.size() : end + 1;
            FPos = Token.To;
            return true;
        }
        const bool endTag = c == u'/';
        const std::size_t nameFrom = at + (endTag ? 2 : 1);
        if (nameFrom < s.size() && IsAsciiLetter(s[nameFrom])) {
            std::size_t i = nameFrom;
            while (i < s.size() && IsNameChar(s[i]))
                ++i;
            Token.Kind = HtmlToken::tkTag;
            Token.EndTag = endTag;
            Token.Name.assign(s.substr(nameFrom, i - nameFrom));
            for (Char& ch : Token.Name)
                ch = LowerAZ(ch);
            // Attributes: a quote opens a value that only the same quote closes.
            Char quote = 0;
            for (; i < s.size(); ++i) {
                const Char ch = s[i];
                if (quote != 0) {
                    if (ch == quote) quote = 0;
                } else if (ch == u'"' || ch == u'\'') {
                    quote = ch;
                } else if (ch == u'>') {
                    break;
                }
            }
            Token.To = i < s.size() ? i + 1 : s.size();
            FPos = Token.To;
            if (!endTag && IsRawTextElement(Token.Name)) FRawEnd = Token.Name;
            return true;
        }
    }
    // Text up to the next "<" that is not the first character.
    const std::size_t lt = s.find(u'<', at + 1);
    Token.To = lt == std::u16string_view::npos ? s.size() : lt;
    FPos = Token.To;
    return true;
}

}  // namespace qorkit::detail
