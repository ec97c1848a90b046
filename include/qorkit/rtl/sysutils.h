// String and number conversions of the platform layer. Every number conversion here uses "."
// as the decimal separator and never consults the process locale.
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Decimal text of `Value`, with a leading '-' for negative values.
String IntToStr(std::int64_t Value);
/// Upper-case hexadecimal text of `Value`, at least `Digits` digits (zero-padded; never cut,
/// `Digits` <= 0 means no padding). A negative value is written as its 32-bit two's
/// complement ("FFFFFFFF" for -1).
String IntToHex(std::int32_t Value, std::int32_t Digits);
/// As above for 64-bit values; a negative value is written as its 64-bit two's complement.
String IntToHex(std::int64_t Value, std::int32_t Digits);
/// Reads a 32-bit integer: optional blanks (spaces and tabs), optional "+" or "-", then decimal
/// digits, or "$"/"0x"/"0X" followed by hexadecimal digits in either case; nothing may follow,
/// not even a blank. A hexadecimal literal without a sign may use the whole 32-bit pattern and
/// is read as two's complement, so that it reverses `IntToHex` ("$FFFFFFFF" gives -1); every
/// other form must lie in the signed range ("-$80000000" is the lowest). Raises
/// `EConvertError` "'<s>' is not a valid integer value" otherwise, and for values outside the
/// range.
std::int32_t StrToInt(const String& S);
/// As `StrToInt` for the 64-bit range ("$FFFFFFFFFFFFFFFF" gives -1).
std::int64_t StrToInt64(const String& S);
/// As `StrToInt`, returning false instead of raising; `Value` is left untouched on failure.
bool TryStrToInt(const String& S, std::int32_t& Value);
/// Reads a floating-point number: optional leading and trailing blanks (spaces and tabs),
/// optional sign, digits with an optional "." and fraction (at least one digit in all, so
/// "5." and ".5" are accepted), optional exponent ("E" or "e", optional sign, digits); also
/// "INF" and "NAN" in any case, with an optional sign. The result is the long double nearest
/// to the decimal value (ties to even), subnormals included; a value too small for the
/// smallest subnormal becomes a zero of its sign. A value beyond the long double range
/// (about 1.19E4932) is an error, not an infinity. Raises `EConvertError`
/// "'<s>' is not a valid floating point value" for anything else.
long double StrToFloat(const String& S);
/// As `StrToFloat`, returning false instead of raising; `Value` is left untouched on failure.
bool TryStrToFloat(const String& S, long double& Value);
/// General text of `Value` rounded to 15 significant digits, trailing zeros dropped: plain
/// decimal form when the rounded value's power of ten lies in -4..14 ("0.0001", "123.456",
/// "100000000000000"), else mantissa, "E" and the exponent without plus sign or padding
/// ("1E-5", "1E15", "-1.5E-7"). Zero of either sign gives "0"; NaN gives "NAN", infinities
/// "INF" and "-INF". The text reads back through `StrToFloat` to a value with the same text.
String FloatToStr(long double Value);

/// Fixed form: `X` rounded to `Decimals` (>= 0) places, "-" for negative values, at least one
/// integer digit, "." and exactly `Decimals` digits when `Decimals` > 0; blanks in front up to
/// `Width` characters (never cut; `Width` <= 0 means no padding). The exact binary value is
/// rounded, and an exact half rounds to even: StrFixed(2.5, 0, 0) == u"2", while the double
/// 2.675 (stored just below) gives "2.67" at two places. A negative value that rounds to zero
/// prints without its sign: StrFixed(-0.004, 6, 2) == u"  0.00". NaN, +Inf and -Inf give
/// "NAN", "+INF" and "-INF", padded the same way. Raises `EConvertError` for `Decimals` < 0.
String StrFixed(long double X, std::int32_t Width, std::int32_t Decimals);
/// Exponent form: a sign position (blank or "-"), one digit, ".", k - 1 digits, "E", the
/// exponent's sign and four exponent digits, with k = Width - 8 significant digits but at
/// least 2, so the text is Width characters long, or 10 when Width < 10
/// (StrExpo(1234.56, 12) == u" 1.235E+0003"). Four digits hold every exponent of the
/// extended range (+4932 down to -4951). Rounding is that of `StrFixed` (exact halves to
/// even, so 1234.5 gives " 1.234E+0003"); a carry moves to the next power of ten
/// (9.9996 at Width 11 gives " 1.00E+0001"). Zero of either sign gives " 0.0...E+0000".
/// NaN and infinities as in `StrFixed`.
String StrExpo(long double X, std::int32_t Width);
/// The classic `Str(X:Width:Decimals)`: `StrFixed` for `Decimals` >= 0, `StrExpo` otherwise.
String StrReal(long double X, std::int32_t Width, std::int32_t Decimals);

/// Lower-cases the letters A to Z only; every other character is kept.
String LowerCase(std::u16string_view S);
/// Upper-cases the letters a to z only; every other character is kept.
String UpperCase(std::u16string_view S);
/// Upper-case of `C` for a to z; every other character is returned unchanged.
Char UpCase(Char C) noexcept;

/// Lower-case mapping of one character by the library's Unicode table: the simple one-to-one
/// mappings of the Basic Multilingual Plane whose result is again one BMP character
/// (generated from the Unicode Character Database; the table records its version).
/// Characters without such a mapping, and surrogate code units, are returned unchanged.
/// Independent of the process locale.
Char AnsiLowerChar(Char C) noexcept;
/// Upper-case mapping of one character by the library's Unicode table.
Char AnsiUpperChar(Char C) noexcept;
/// Lower-cases every character by the library's Unicode table (not the process locale).
String AnsiLowerCase(std::u16string_view S);
/// Upper-cases every character by the library's Unicode table (not the process locale).
String AnsiUpperCase(std::u16string_view S);
/// Compares without regard to case (both sides upper-cased by the Unicode table, then
/// compared by code unit; a proper prefix sorts first): -1, 0 or 1. Characters whose upper
/// case is not a single character stay as they are, so "straße" differs from "STRASSE".
std::int32_t AnsiStrIComp(std::u16string_view S1, std::u16string_view S2);
/// As `AnsiStrIComp` over at most the first `MaxLen` characters of each side; 0 when
/// `MaxLen` <= 0.
std::int32_t AnsiStrLIComp(std::u16string_view S1, std::u16string_view S2, std::int32_t MaxLen);

/// Position (1-based) of the first occurrence of `SubStr` in `S`; 0 when absent or when
/// `SubStr` is empty.
std::int32_t Pos(std::u16string_view SubStr, std::u16string_view S);
/// As `Pos`, starting the search at position `Offset` (1-based); 0 when `Offset` < 1 or
/// beyond the end of `S`.
std::int32_t PosEx(std::u16string_view SubStr, std::u16string_view S, std::int32_t Offset = 1);

}  // namespace qorkit
