#include "qorkit/rtl/codepage.h"

#include <array>

namespace qorkit {

namespace {

// Characters of codes 0x80..0x9F; the undefined codes keep their C1 control values.
constexpr std::array<Char, 32> kHighC1 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

Char Win1252ToChar(std::uint8_t b) noexcept {
    if (b >= 0x80 && b <= 0x9F) return kHighC1[b - 0x80];
    return static_cast<Char>(b);
}

std::uint8_t CharToWin1252(Char c) noexcept {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<std::uint8_t>(c);
    for (std::size_t i = 0; i < kHighC1.size(); ++i)
        if (kHighC1[i] == c) return static_cast<std::uint8_t>(0x80 + i);
    return '?';
}

String Win1252ToString(std::string_view bytes) {
    String out;
    out.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = Win1252ToChar(static_cast<std::uint8_t>(bytes[i]));
    return out;
}

AnsiString StringToWin1252(std::u16string_view s) {
    AnsiString out;
    out.resize(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        out[i] = static_cast<char>(CharToWin1252(s[i]));
    return out;
}

}  // namespace qorkit
