#include "xml_line.h"

#include "qorkit/streams/tag_scan.h"

namespace qorkit::detail {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

bool IsBlank(Char c) noexcept {
    return c == u' ' || c == u'\t';
}

bool IsHigh(Char c) noexcept {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLow(Char c) noexcept {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendReference(String& out, std::uint32_t c) {
    out += u"&#x";
    bool digits = false;
    for (int shift = 20; shift >= 0; shift -= 4) {
        const auto d = static_cast<int>((c >> shift) & 0xF);
        if (d == 0 && !digits && shift > 0) continue;
        digits = true;
        out.push_back(kHexDigits[d]);
    }
    out.push_back(u';');
}

/// Reads a character reference "&#xH...;" or "&#D...;" at the start of `rest`.
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

bool HasXmlForbidden(std::u16string_view text) noexcept {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) return true;
        if (c == 0xFFFE || c == 0xFFFF || IsLow(c)) return true;
        if (IsHigh(c)) {
            if (i + 1 == text.size() || !IsLow(text[i + 1])) return true;
            ++i;
        }
    }
    return false;
}

void AppendXmlEscaped(String& out, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        switch (c) {
            case u'&':
                out += u"&amp;";
                break;
            case u'<':
                out += u"&lt;";
                break;
            case u'>':
                out += u"&gt;";
                break;
            case u'"':
                out += u"&quot;";
                break;
            default:
                if (c >= 0x20 && c <= 0x7E) {
                    out.push_back(c);
                } else if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
                    AppendReference(out, 0x10000u +
                                             ((static_cast<std::uint32_t>(c) - 0xD800u) << 10) +
                                             (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00u));
                    ++i;
                } else {
                    AppendReference(out, c);
                }
        }
    }
}

bool XmlUnescape(std::u16string_view text, std::size_t MaxLen, String& out) {
    static constexpr struct {
        std::u16string_view Name;
        Char Value;
    } kNamed[] = {
        {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''}};
    out.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (out.size() >= MaxLen) return false;
        const Char c = text[i];
        if (c == u'<' || c == u'>') return false;
        if (c != u'&') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::u16string_view rest = text.substr(i);
        bool named = false;
        for (const auto& n : kNamed) {
            if (rest.starts_with(n.Name)) {
                out.push_back(n.Value);
                i += n.Name.size();
                named = true;
                break;
            }
        }
        if (named) continue;
        std::uint32_t code = 0;
        std::size_t used = 0;
        if (!rest.starts_with(u"&#") || !ParseReference(rest, code, used) || code == 0 ||
            code > 0x10FFFF)
            return false;
        if (code >= 0x10000) {
            if (out.size() + 2 > MaxLen) return false;
            out.push_back(static_cast<Char>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<Char>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<Char>(code));
        }
        i += used;
    }
    return true;
}

int HexDigit(Char c) noexcept {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
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
