#include "xml_line.h"

#include "qorkit/streams/tag_scan.h"

namespace qorkit::detail {

namespace {

bool IsBlank(Char c) noexcept {
    return c == u' ' || c == u'\t';
}

}  // namespace

bool SameIgnoringAZ(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAZ(a[i]) != LowerAZ(b[i])) return false;
    return true;
}

std::u16string_view TrimLine(std::u16string_view s) noexcept {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] <= u' ')
        ++b;
    while (e > b && s[e - 1] <= u' ')
        --e;
    return s.substr(b, e - b);
}

std::u16string_view TrimBlanksAndTabs(std::u16string_view s) noexcept {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

void AppendDecimal(String& out, std::int64_t v) {
    for (const char c : std::to_string(v))
        out.push_back(static_cast<Char>(c));
}

bool ParseDecimal(std::u16string_view s, std::int64_t Max, std::int64_t& v) noexcept {
    if (s.empty()) return false;
    v = 0;
    for (const Char c : s) {
        if (c < u'0' || c > u'9') return false;
        v = v * 10 + (c - u'0');
        if (v > Max) return false;
    }
    return true;
}

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
    e.Attrs.assign(TrimBlanksAndTabs(attrs));
    e.Content = rest.substr(0, rest.size() - endLen);
    return true;
}

bool IsStartLine(std::u16string_view line, std::u16string_view Name, std::u16string_view Signature,
                 std::u16string_view WantedId, String& Attrs) {
    if (line.size() < Name.size() + 2 || line.front() != u'<' || line.back() != u'>') return false;
    if (!SameIgnoringAZ(line.substr(1, Name.size()), Name)) return false;
    const std::u16string_view attrs = line.substr(1 + Name.size(), line.size() - 2 - Name.size());
    if (!attrs.empty() && !IsBlank(attrs.front())) return false;  // a longer name
    if (attrs.find_first_of(u"<>") != std::u16string_view::npos) return false;
    Attrs.assign(TrimBlanksAndTabs(attrs));
    if (!SameIgnoringAZ(ScanForXMLAttrib(Attrs, u"sig"), Signature)) return false;
    if (WantedId.empty()) return true;
    String id;
    return XmlUnescape(ScanForXMLAttrib(Attrs, u"id"), String::npos, id) &&
           SameIgnoringAZ(id, WantedId);
}

}  // namespace qorkit::detail
