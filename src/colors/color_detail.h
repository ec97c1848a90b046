// Rounding, clamping and hexadecimal digits shared by the colour conversions and the colour array.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace qorkit::detail {

/// True when `x` is NaN or outside the 32-bit range; `out` is then 0 or the nearer limit.
inline bool OutsideInt32(long double x, std::int32_t& out) noexcept {
    using L = std::numeric_limits<std::int32_t>;
    if (!(x == x)) return out = 0, true;
    if (x <= L::min()) return out = L::min(), true;
    if (x >= L::max()) return out = L::max(), true;
    return false;
}

/// Rounds to the nearest integer, halves to the even neighbour (the rounding of the default
/// floating-point environment, which the library never changes); saturates at the 32-bit
/// limits and maps NaN to 0. `lrint` rounds in one instruction, without switching the x87
/// control word as a cast does.
inline std::int32_t RoundHalfEven(long double x) noexcept {
    std::int32_t limit;
    if (OutsideInt32(x, limit)) return limit;
    return static_cast<std::int32_t>(std::lrint(x));
}

/// Drops the fraction of `x` (|x| < 2^62) towards zero, from the nearest integer.
inline long TruncLong(long double x) noexcept {
    const long n = std::lrint(x);
    if (x >= 0) return static_cast<long double>(n) > x ? n - 1 : n;
    return static_cast<long double>(n) < x ? n + 1 : n;
}

/// Drops the fraction towards zero, saturating at the 32-bit limits; NaN gives 0.
inline std::int32_t TruncToInt(long double x) noexcept {
    std::int32_t limit;
    if (OutsideInt32(x, limit)) return limit;
    return static_cast<std::int32_t>(TruncLong(x));
}

/// `x` limited to 0..1; NaN gives 0.
inline long double Clamp01(long double x) noexcept {
    if (!(x > 0)) return 0;
    return x > 1 ? 1 : x;
}

/// The fractional part with the sign of `x` (x - trunc(x)).
inline long double Frac(long double x) noexcept {
    if (!(std::fabs(x) < 0x1p62L)) return x - std::trunc(x);  // huge, infinite or NaN
    return x - static_cast<long double>(TruncLong(x));
}

/// Accumulates the hexadecimal digits of `s` from `pos` as value * 16 + digit in 32 bits, up to
/// the first character that is not a digit 0-9, A-F or a-f.
std::uint32_t AccumulateHex(std::u16string_view s, std::size_t pos);

}  // namespace qorkit::detail
