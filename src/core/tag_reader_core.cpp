#include "tag_reader_core.h"

namespace qorkit::detail {

String TrimBlanks(std::u16string_view S) {
    std::size_t b = 0;
    std::size_t e = S.size();
    while (b < e && S[b] == u' ')
        ++b;
    while (e > b && S[e - 1] == u' ')
        --e;
    return String(S.substr(b, e - b));
}

TagHead ReadTagHead(TagCharSource& Source) {
    TagHead head;
    String tag;
    Char c = 0;
    for (;;) {
        bool found = false;
        while (Source.Next(c)) {
            if (c == u'<') {
                found = true;
                Source.MarkTagStart();
                break;
            }
        }
        tag.clear();
        if (found) {
            while (Source.Next(c)) {
                tag.push_back(c);
                if (c == u'>') break;
            }
        }
        if (!tag.empty() && tag.front() == u'!') continue;  // comment or declaration
        break;
    }
    if (tag.empty()) {
        head.AtEnd = true;
        return head;
    }
    const std::size_t blank = tag.find(u' ');
    const bool selfClosing = tag.find(u"/>") != String::npos;
    std::u16string_view view(tag);
    // Characters of the closing mark at the end: "/>" (which can only stand at the end, the
    // tag text ending at its first ">") or ">". A tag cut off by the end of the data loses its
    // last character all the same: truncated input gives shortened texts.
    const std::size_t mark = selfClosing ? 2 : 1;
    if (blank != String::npos) {
        head.Name = String(view.substr(0, blank));
        const std::size_t from = blank + 1;
        const std::size_t to = view.size() >= from + mark ? view.size() - mark : from;
        head.Attributes = TrimBlanks(view.substr(from, to - from));
    } else {
        head.Name = String(view.substr(0, view.size() - mark));
    }
    for (Char& ch : head.Name)
        ch = LowerAZ(ch);
    // Processing instructions have no end tag: reading their "element" would swallow the rest
    // of the document.
    head.HasElement = !selfClosing && !head.Name.empty() && head.Name.front() != u'/' &&
                      head.Name.front() != u'?';
    return head;
}

String ReadElementText(TagCharSource& Source, const String& Name, bool DropUnfinishedPiece) {
    const String closing = u"</" + Name + u">";
    String text;
    std::size_t pieceEnd = 0;
    Char c = 0;
    while (Source.Next(c)) {
        text.push_back(c);
        if (c != u'>') continue;
        // An end tag holds no ">" before its last character, so its first occurrence is found
        // exactly when that ">" arrives: only the tail needs a look.
        if (text.size() >= closing.size()) {
            const std::size_t at = text.size() - closing.size();
            bool same = true;
            for (std::size_t i = 0; i < closing.size() && same; ++i)
                same = LowerAZ(text[at + i]) == closing[i];
            if (same) {
                text.resize(at);
                return text;
            }
        }
        pieceEnd = text.size();
    }
    if (DropUnfinishedPiece) text.resize(pieceEnd);
    return text;
}

std::int32_t TagIndex(std::span<const String> TagList, const String& Name) noexcept {
    for (std::size_t i = 0; i < TagList.size(); ++i)
        if (TagList[i] == Name) return static_cast<std::int32_t>(i);
    return static_cast<std::int32_t>(TagList.size()) - 1;
}

}  // namespace qorkit::detail
