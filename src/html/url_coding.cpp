// URL helpers: the directory part of a URL, and percent coding.
#include "qorkit/html/url_coding.h"

#include <array>
#include <cstdint>

#include "escape_scan.h"

namespace qorkit {

namespace {

constexpr std::u16string_view kHttp = u"http://";
constexpr std::u16string_view kCodedChars = u"!*'();:@&=+$,/?%#[] ";

constexpr std::array<bool, 128> CodedSet() {
    std::array<bool, 128> set{};
    for (Char c : kCodedChars)
        set[c] = true;
    return set;
}
constexpr std::array<bool, 128> kCoded = CodedSet();

// The value of a hexadecimal digit, or -1.
constexpr int HexValue(Char c) noexcept {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Offset of the first "http://" in `s`, ignoring A-Z case; npos when there is none.
std::size_t FindHttp(std::u16string_view s) noexcept {
    for (std::size_t i = 0; i + kHttp.size() <= s.size(); ++i) {
        std::size_t k = 0;
        while (k < kHttp.size()) {
            const Char c = s[i + k];
            const Char lower = c >= u'A' && c <= u'Z' ? static_cast<Char>(c + 32) : c;
            if (lower != kHttp[k]) break;
            ++k;
        }
        if (k == kHttp.size()) return i;
    }
    return std::u16string_view::npos;
}

// One decoding pass.
String DecodePass(std::u16string_view s) {
    return detail::DecodeEscapes(s, u'%', [](std::u16string_view t, std::size_t at, String& out) {
        const int hi = at + 2 < t.size() ? HexValue(t[at + 1]) : -1;
        const int lo = hi >= 0 ? HexValue(t[at + 2]) : -1;
        if (lo < 0) return std::size_t{0};
        out.push_back(static_cast<Char>(hi * 16 + lo));
        return at + 3;
    });
}

}  // namespace

String ExtractHTTPPath(std::u16string_view Url) {
    bool hadScheme = false;
    const std::size_t at = FindHttp(Url);
    if (at != std::u16string_view::npos) {
        Url.remove_prefix(at + kHttp.size());
        hadScheme = true;
    }
    const std::size_t slash = Url.rfind(u'/');
    if (slash != std::u16string_view::npos) return String(Url.substr(0, slash + 1));
    if (hadScheme && !Url.empty()) return String(Url) + u'/';
    return String();
}

String URLEncode(std::u16string_view S) {
    static constexpr std::u16string_view kHex = u"0123456789ABCDEF";
    String out;
    out.reserve(S.size() + S.size() / 4);
    std::size_t i = 0;
    while (i < S.size()) {
        const std::size_t from = i;
        while (i < S.size() && (S[i] >= 128 || !kCoded[S[i]]))
            ++i;
        out.append(S.substr(from, i - from));
        if (i == S.size()) break;
        const Char c = S[i++];
        out.push_back(u'%');
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
    return out;
}

String URLDecode(std::u16string_view S) {
    // Without a "%" neither pass changes anything.
    if (S.find(u'%') == std::u16string_view::npos) return String(S);
    return DecodePass(DecodePass(S));
}

}  // namespace qorkit
