#include "xml_escape.h"

#include <cstdint>

namespace qorkit::detail {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

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

}  // namespace qorkit::detail
