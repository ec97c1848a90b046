// String and number conversions of the platform layer. Every number conversion here uses "."
// as the decimal separator and never consults the process locale.
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Decimal text of `Value`, with a leading '-' for negative values.
String IntToStr(std::int64_t Value);
/// Upper-case hexadecimal text of `Value`, at least `Digits` digits (zero-padded). A negative
/// value is written as its 32-bit two's complement ("FFFFFFFF" for -1).
String IntToHex(std::int32_t Value, std::int32_t Digits);
/// As above for 64-bit values; a negative value is written as its 64-bit two's complement.
String IntToHex(std::int64_t Value, std::int32_t Digits);
/// Reads a 32-bit integer: optional blanks, optional sign, then decimal digits, or "$"/"0x"
/// followed by hexadecimal digits; nothing may follow. Raises `EConvertError`
/// "'<s>' is not a valid integer value" otherwise, and for values outside the 32-bit range.
std::int32_t StrToInt(const String& S);
/// As `StrToInt` for the 64-bit range.
std::int64_t StrToInt64(const String& S);
/// As `StrToInt`, returning false instead of raising.
bool TryStrToInt(const String& S, std::int32_t& Value);
/// Reads a floating-point number: optional leading and trailing blanks, optional sign, digits
/// with an optional "." and fraction, optional exponent ("E" or "e", optional sign, digits);
/// also "INF", "-INF" and "NAN" in any case. Correctly rounded. Raises `EConvertError`
/// "'<s>' is not a valid floating point value" for anything else.
long double StrToFloat(const String& S);
/// As `StrToFloat`, returning false instead of raising.
bool TryStrToFloat(const String& S, long double& Value);
/// General text of `Value` with at most 15 significant digits, trailing zeros dropped:
/// plain decimal form when the decimal exponent lies in -5..14 ("0.0001", "123.456"),
/// else mantissa, "E" and the exponent without plus sign or padding ("1E20", "1.5E-7").
/// NaN gives "NAN", infinities "INF" and "-INF".
String FloatToStr(long double Value);

/// Fixed form: `X` rounded to `Decimals` (>= 0) places, "-" for negative values, at least one
/// integer digit, "." and exactly `Decimals` digits when `Decimals` > 0; blanks in front up to
/// `Width` characters (never cut; `Width` <= 0 means no padding). Exact decimal rounding of
/// the binary value. NaN, +Inf and -Inf give "NAN", "+INF" and "-INF", padded the same way.
String StrFixed(long double X, std::int32_t Width, std::int32_t Decimals);
/// Exponent form: a sign position (blank or "-"), one digit, ".", k - 1 digits, "E", the
/// exponent's sign and four exponent digits, with k = Width - 8 significant digits but at
/// least 2 (" 1.235E+0003" for Width 12). NaN and infinities as in `StrFixed`.
String StrExpo(long double X, std::int32_t Width);
/// The classic `Str(X:Width:Decimals)`: `StrFixed` for `Decimals` >= 0, `StrExpo` otherwise.
String StrReal(long double X, std::int32_t Width, std::int32_t Decimals);

/// Lower-cases the letters A to Z only; every other character is kept.
String LowerCase(std::u16string_view S);
/// Upper-cases the letters a to z only; every other character is kept.
String UpperCase(std::u16string_view S);
/// Upper-case of `C` for a to z; every other character is returned unchanged.
Char UpCase(Char C) noexcept;

/// Lower-case mapping of one character by the library's Unicode table (simple one-to-one
/// mappings of the Basic Multilingual Plane); independent of the process locale.
Char AnsiLowerChar(Char C) noexcept;
/// Upper-case mapping of one character by the library's Unicode table.
Char AnsiUpperChar(Char C) noexcept;
/// Lower-cases every character by the library's Unicode table (not the process locale).
String AnsiLowerCase(std::u16string_view S);
/// Upper-cases every character by the library's Unicode table (not the process locale).
String AnsiUpperCase(std::u16string_view S);
/// Compares without regard to case (both sides upper-cased by the Unicode table, then
/// compared by code unit): < 0, 0 or > 0.
std::int32_t AnsiStrIComp(std::u16string_view S1, std::u16string_view S2);
/// As `AnsiStrIComp` over at most the first `MaxLen` characters of each side.
std::int32_t AnsiStrLIComp(std::u16string_view S1, std::u16string_view S2, std::int32_t MaxLen);

/// Position (1-based) of the first occurrence of `SubStr` in `S`; 0 when absent or when
/// `SubStr` is empty.
std::int32_t Pos(std::u16string_view SubStr, std::u16string_view S);
/// As `Pos`, starting the search at position `Offset` (1-based); 0 when `Offset` < 1 or
/// beyond the end of `S`.
std::int32_t PosEx(std::u16string_view SubStr, std::u16string_view S, std::int32_t Offset = 1);

}  // namespace qorkit
