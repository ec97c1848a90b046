// Escaping text for HTML and resolving entities back, over one table of entity names.
#include "qorkit/html/html_entities.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "escape_scan.h"
#include "qorkit/core/lookup_tables.h"

namespace qorkit {

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;
// The longest entity name the table holds is six letters; a name is read no further than this.
constexpr std::size_t kMaxNameLength = 8;

constexpr bool IsSurrogate(char32_t c) noexcept {
    return c >= 0xD800 && c <= 0xDFFF;
}
constexpr bool IsAsciiAlnum(Char c) noexcept {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// An entity name of up to eight ASCII characters packed into one integer, first character in
// the top byte, so that names compare as integers.
std::uint64_t PackName(std::u16string_view name) noexcept {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < kMaxNameLength; ++i)
        key = (key << 8) | (i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0);
    return key;
}

struct NamedEntity {
    std::uint64_t Key;
    Char Code;
};
constexpr std::size_t kXmlNames = 5;
constexpr std::size_t kLatin1Names = THTMLLat1EntityTable::kLast - THTMLLat1EntityTable::kFirst + 1;
using EntityIndex = std::array<NamedEntity, kXmlNames + kLatin1Names>;

// The names of `HTMLLat1Entities` and the five XML entities, sorted by key.
const EntityIndex& Entities() {
    static const EntityIndex index = [] {
        EntityIndex e{};
        std::size_t n = 0;
        for (const auto& [name, code] :
             {std::pair{u"amp", u'&'}, std::pair{u"lt", u'<'}, std::pair{u"gt", u'>'},
              std::pair{u"quot", u'"'}, std::pair{u"apos", u'\''}})
            e[n++] = {PackName(name), code};
        for (int c = THTMLLat1EntityTable::kFirst; c <= THTMLLat1EntityTable::kLast; ++c) {
            const std::u16string_view full = HTMLLat1Entities[c];  // "&name;"
            e[n++] = {PackName(full.substr(1, full.size() - 2)), static_cast<Char>(c)};
        }
        std::sort(e.begin(), e.end(),
                  [](const NamedEntity& a, const NamedEntity& b) { return a.Key < b.Key; });
        return e;
    }();
    return index;
}

// Reads the entity whose "&" stands at `at`. On success sets `end` just past its ";" and
// `code` to the character it stands for.
bool ParseEntityAt(std::u16string_view s, std::size_t at, std::size_t& end, char32_t& code) {
    std::size_t j = at + 1;
    if (j < s.size() && s[j] == u'#') {
        ++j;
        const bool hex = j < s.size() && (s[j] == u'x' || s[j] == u'X');
        if (hex) ++j;
        const std::size_t digitsFrom = j;
        char32_t value = 0;
        bool inRange = true;
        for (; j < s.size(); ++j) {
            const Char c = s[j];
            unsigned d = 0;
            if (c >= u'0' && c <= u'9')
                d = c - u'0';
            else if (hex && c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (hex && c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            else
                break;
            value = value * (hex ? 16 : 10) + d;
            if (value > kMaxCodePoint) {
                inRange = false;
                value = kMaxCodePoint + 1;  // stays out of range without overflowing
            }
        }
        if (j == digitsFrom || j >= s.size() || s[j] != u';') return false;
        if (!inRange || value == 0 || IsSurrogate(value)) return false;
        end = j + 1;
        code = value;
        return true;
    }
    const std::size_t nameFrom = j;
    while (j < s.size() && j - nameFrom < kMaxNameLength && IsAsciiAlnum(s[j]))
        ++j;
    if (j == nameFrom || j >= s.size() || s[j] != u';') return false;
    const std::uint64_t key = PackName(s.substr(nameFrom, j - nameFrom));
    const EntityIndex& index = Entities();
    const auto it =
        std::lower_bound(index.begin(), index.end(), key,
                         [](const NamedEntity& e, std::uint64_t k) { return e.Key < k; });
    if (it == index.end() || it->Key != key) return false;
    end = j + 1;
    code = it->Code;
    return true;
}

void AppendCodePoint(String& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<Char>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<Char>(0xD800 + (c >> 10)));
        out.push_back(static_cast<Char>(0xDC00 + (c & 0x3FF)));
    }
}

void AppendDecimalReference(String& out, char32_t c) {
    Char digits[8];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<Char>(u'0' + c % 10);
        c /= 10;
    } while (c != 0);
    out += u"&#";
    while (n > 0)
        out.push_back(digits[--n]);
    out.push_back(u';');
}

// The entity of a markup character, or the empty view.
constexpr std::u16string_view MarkupEntity(char32_t c) noexcept {
    return c == u'&'    ? u"&amp;"
           : c == u'<'  ? u"&lt;"
           : c == u'>'  ? u"&gt;"
           : c == u'"'  ? u"&quot;"
           : c == u'\'' ? u"&#39;"
                        : u"";
}

// True for a character that HTML text and quoted attribute values can hold as it is.
constexpr bool IsPlain(Char c) noexcept {
    return c < 127 && MarkupEntity(c).empty();
}

// Appends the HTML form of the character `c` (not a surrogate).
void AppendEscaped(String& out, char32_t c) {
    if (const std::u16string_view markup = MarkupEntity(c); !markup.empty()) {
        out += markup;
        return;
    }
    if (c < 127) {
        out.push_back(static_cast<Char>(c));
    } else if (c >= THTMLLat1EntityTable::kFirst && c <= THTMLLat1EntityTable::kLast) {
        out += HTMLLat1Entities[static_cast<int>(c)];
    } else {
        AppendDecimalReference(out, c);
    }
}

}  // namespace

String AnsiToHTMLEntity(Char C) {
    String out;
    if (IsSurrogate(C))
        out.push_back(C);
    else
        AppendEscaped(out, C);
    return out;
}

String MakeStringHTMLCompatible(std::u16string_view S) {
    String out;
    out.reserve(S.size() + S.size() / 8);
    std::size_t i = 0;
    while (i < S.size()) {
        const std::size_t from = i;
        while (i < S.size() && IsPlain(S[i]))
            ++i;
        out.append(S.substr(from, i - from));
        if (i == S.size()) break;
        const Char c = S[i++];
        if (c >= 0xD800 && c <= 0xDBFF && i < S.size() && S[i] >= 0xDC00 && S[i] <= 0xDFFF) {
            AppendDecimalReference(out, 0x10000 + ((char32_t{c} - 0xD800) << 10) + (S[i] - 0xDC00));
            ++i;
        } else if (IsSurrogate(c)) {
            out.push_back(c);
        } else {
            AppendEscaped(out, c);
        }
    }
    return out;
}

String ResolveHTMLEntities(std::u16string_view S) {
    return detail::DecodeEscapes(S, u'&', [](std::u16string_view s, std::size_t at, String& out) {
        std::size_t end = 0;
        char32_t code = 0;
        if (!ParseEntityAt(s, at, end, code)) return std::size_t{0};
        AppendCodePoint(out, code);
        return end;
    });
}

String HTMLEntityToAnsi(std::u16string_view Entity) {
    if (!Entity.empty() && Entity.front() == u'&') Entity.remove_prefix(1);
    if (!Entity.empty() && Entity.back() == u';') Entity.remove_suffix(1);
    String full = u"&";
    full += Entity;
    full += u';';
    std::size_t end = 0;
    char32_t code = 0;
    String out;
    if (ParseEntityAt(full, 0, end, code) && end == full.size()) AppendCodePoint(out, code);
    return out;
}

}  // namespace qorkit
