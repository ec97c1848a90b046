// Internal: the hexadecimal field reader shared by ProcessHexChars and the pattern compiler.
#pragma once

#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Value of a hexadecimal digit (0-9, A-F, a-f), or -1.
constexpr int HexDigitValue(Char c) noexcept {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

/// Reads `field` (the caller passes at most two characters) as a hexadecimal number: leading
/// blanks are skipped and reading stops at the first other character; nothing read gives 0.
constexpr unsigned ReadHexField(std::u16string_view field) noexcept {
    std::size_t i = 0;
    while (i < field.size() && field[i] == u' ')
        ++i;
    unsigned value = 0;
    for (; i < field.size() && HexDigitValue(field[i]) >= 0; ++i)
        value = value * 16 + static_cast<unsigned>(HexDigitValue(field[i]));
    return value;
}

}  // namespace qorkit::detail
