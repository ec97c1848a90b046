// Numbers written as text, read directly from a byte stream.
#pragma once

#include <cstdint>

#include "qorkit/rtl/stream.h"

namespace qorkit {

/// Decimal separators for `ScanStreamFPNum`: point, comma, or either. Any other value
/// recognises no separator (a point or comma then ends or fails the number like any other
/// character).
inline constexpr std::int32_t dpPoint = 1;
/// See `dpPoint`.
inline constexpr std::int32_t dpComma = 2;
/// See `dpPoint`.
inline constexpr std::int32_t dpPointOrComma = 3;

/// Reads a decimal integer: skips blanks, CR and LF (not tabs), takes an optional sign and
/// the digits that follow. The byte that ends the number is consumed. The arithmetic is 32-bit
/// and wraps without notice; no digits give 0. Never raises for the data (stream errors pass).
/// Example: over "  -123;" the result is -123 and the position stands after ';'.
std::int32_t ScanStreamDecimal(TStream& Stream);

/// Reads a floating-point number: optional blanks, tabs, CR and LF; an optional sign; digits
/// with an optional separator (see `dpPoint`) and fraction, or a separator and optional
/// digits; with `AllowExp`, optionally "E" or "e", an optional sign and at least one digit.
/// The byte that ends (or spoils) the number is consumed; the end of the stream ends it as
/// well. Malformed input gives 0.0 (a second separator, a sign without digits, "E" without
/// digits, ...). Exponent digits beyond a magnitude of 4200 are consumed but ignored. The
/// conversion is correctly rounded to the 80-bit extended format and then to double, never
/// looks at the process locale, and the result is clamped to +-1.7E308.
/// Example: with `AllowExp` over "-2.5E-3x" the result is -0.0025 and 'x' is consumed.
double ScanStreamFPNum(TStream& Stream, bool AllowExp, std::int32_t DecPChar);

}  // namespace qorkit
