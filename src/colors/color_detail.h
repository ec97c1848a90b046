// Rounding, clamping and hexadecimal digits shared by the colour conversions and the colour array.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace qorkit::detail {

/// Rounds to the nearest integer, halves to the even neighbour, independent of the
/// floating-point rounding mode; saturates at the 32-bit limits and maps NaN to 0.
inline std::int32_t RoundHalfEven(long double x) noexcept {
    if (!(x == x)) return 0;
    constexpr long double lo = std::numeric_limits<std::int32_t>::min();
    constexpr long double hi = std::numeric_limits<std::int32_t>::max();
    if (x <= lo) return std::numeric_limits<std::int32_t>::min();
    if (x >= hi) return std::numeric_limits<std::int32_t>::max();
    const long double fl = std::floor(x);
    const long double rest = x - fl;
    auto n = static_cast<std::int64_t>(fl);
    if (rest > 0.5L || (rest == 0.5L && (n & 1) != 0)) ++n;
    return static_cast<std::int32_t>(n);
}

/// Drops the fraction towards zero, saturating at the 32-bit limits; NaN gives 0.
inline std::int32_t TruncToInt(long double x) noexcept {
    if (!(x == x)) return 0;
    if (x <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (x >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(x);
}

/// `x` limited to 0..1; NaN gives 0.
inline long double Clamp01(long double x) noexcept {
    if (!(x > 0)) return 0;
    return x > 1 ? 1 : x;
}

/// The fractional part with the sign of `x` (x - trunc(x)).
inline long double Frac(long double x) noexcept {
    return x - std::trunc(x);
}

/// Accumulates the hexadecimal digits of `s` from `pos` as value * 16 + digit in 32 bits, up to
/// the first character that is not a digit 0-9, A-F or a-f.
std::uint32_t AccumulateHex(std::u16string_view s, std::size_t pos);

}  // namespace qorkit::detail
