#include "qorkit/rtl/sysutils.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "qorkit/rtl/exceptions.h"
#include "unicode_case.h"

namespace qorkit {

namespace {

bool IsBlank(Char c) noexcept {
    return c == u' ' || c == u'\t';
}

int DigitValue(Char c, int base) noexcept {
    int v = 99;
    if (c >= u'0' && c <= u'9') {
        v = c - u'0';
    } else if (c >= u'A' && c <= u'F') {
        v = c - u'A' + 10;
    } else if (c >= u'a' && c <= u'f') {
        v = c - u'a' + 10;
    }
    return v < base ? v : -1;
}

// Reads an integer of `bits` (32 or 64) bits by the rules documented at StrToInt. An unsigned
// hexadecimal literal may use the whole unsigned range and is read as two's complement;
// every other form must fit the signed range.
std::optional<std::int64_t> ParseInteger(std::u16string_view s, int bits) noexcept {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    const std::uint64_t signedMax = (std::uint64_t{1} << (bits - 1)) - 1;
    std::uint64_t limit = negative ? signedMax + 1 : signedMax;
    if (base == 16 && !negative) limit = signedMax * 2 + 1;

    if (i == s.size()) return std::nullopt;
    std::uint64_t mag = 0;
    for (; i < s.size(); ++i) {
        const int d = DigitValue(s[i], base);
        if (d < 0) return std::nullopt;
        const auto ud = static_cast<std::uint64_t>(d);
        if (mag > (limit - ud) / static_cast<std::uint64_t>(base)) return std::nullopt;
        mag = mag * static_cast<std::uint64_t>(base) + ud;
    }
    if (negative) mag = 0 - mag;
    // Conversions to a narrower or signed type are modular, which is the two's complement
    // reading wanted here.
    if (bits == 32) return static_cast<std::int32_t>(static_cast<std::uint32_t>(mag));
    return static_cast<std::int64_t>(mag);
}

[[noreturn]] void RaiseNotInteger(const String& s) {
    throw EConvertError(u"'" + s + u"' is not a valid integer value");
}

String HexText(std::uint64_t u, std::int32_t digits) {
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, u, 16);
    const auto len = static_cast<std::size_t>(res.ptr - buf);
    String out;
    if (digits > 0 && static_cast<std::size_t>(digits) > len)
        out.assign(static_cast<std::size_t>(digits) - len, u'0');
    for (std::size_t k = 0; k < len; ++k) {
        const char c = buf[k];
        out += static_cast<Char>(c >= 'a' ? c - 'a' + 'A' : c);
    }
    return out;
}

}  // namespace

String IntToStr(std::int64_t Value) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, Value);
    return String(buf, res.ptr);
}

String IntToHex(std::int32_t Value, std::int32_t Digits) {
    return HexText(static_cast<std::uint32_t>(Value), Digits);
}

String IntToHex(std::int64_t Value, std::int32_t Digits) {
    return HexText(static_cast<std::uint64_t>(Value), Digits);
}

std::int32_t StrToInt(const String& S) {
    const auto v = ParseInteger(S, 32);
    if (!v) RaiseNotInteger(S);
    return static_cast<std::int32_t>(*v);
}

std::int64_t StrToInt64(const String& S) {
    const auto v = ParseInteger(S, 64);
    if (!v) RaiseNotInteger(S);
    return *v;
}

bool TryStrToInt(const String& S, std::int32_t& Value) {
    const auto v = ParseInteger(S, 32);
    if (!v) return false;
    Value = static_cast<std::int32_t>(*v);
    return true;
}

String LowerCase(std::u16string_view S) {
    String out(S);
    for (auto& c : out)
        if (c >= u'A' && c <= u'Z') c = static_cast<Char>(c + (u'a' - u'A'));
    return out;
}

String UpperCase(std::u16string_view S) {
    String out(S);
    for (auto& c : out)
        c = UpCase(c);
    return out;
}

Char UpCase(Char C) noexcept {
    return (C >= u'a' && C <= u'z') ? static_cast<Char>(C - (u'a' - u'A')) : C;
}

Char AnsiLowerChar(Char C) noexcept {
    return detail::UnicodeToLower(C);
}

Char AnsiUpperChar(Char C) noexcept {
    return detail::UnicodeToUpper(C);
}

String AnsiLowerCase(std::u16string_view S) {
    String out(S);
    for (auto& c : out)
        c = detail::UnicodeToLower(c);
    return out;
}

String AnsiUpperCase(std::u16string_view S) {
    String out(S);
    for (auto& c : out)
        c = detail::UnicodeToUpper(c);
    return out;
}

std::int32_t AnsiStrIComp(std::u16string_view S1, std::u16string_view S2) {
    const std::size_t n = std::min(S1.size(), S2.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Char a = detail::UnicodeToUpper(S1[i]);
        const Char b = detail::UnicodeToUpper(S2[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (S1.size() == S2.size()) return 0;
    return S1.size() < S2.size() ? -1 : 1;
}

std::int32_t AnsiStrLIComp(std::u16string_view S1, std::u16string_view S2, std::int32_t MaxLen) {
    if (MaxLen <= 0) return 0;
    const auto max = static_cast<std::size_t>(MaxLen);
    return AnsiStrIComp(S1.substr(0, max), S2.substr(0, max));
}

std::int32_t Pos(std::u16string_view SubStr, std::u16string_view S) {
    return PosEx(SubStr, S, 1);
}

std::int32_t PosEx(std::u16string_view SubStr, std::u16string_view S, std::int32_t Offset) {
    if (SubStr.empty() || Offset < 1 || static_cast<std::size_t>(Offset) > S.size()) return 0;
    const std::size_t at = S.find(SubStr, static_cast<std::size_t>(Offset) - 1);
    return at == std::u16string_view::npos ? 0 : static_cast<std::int32_t>(at + 1);
}

}  // namespace qorkit
