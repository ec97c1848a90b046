// Character classes and character-set tests. The classes look at the character code only and
// know no letters outside ASCII.
#pragma once

#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// True for "0" to "9".
bool IsDigit(Char C) noexcept;
/// True for "A" to "Z" and "a" to "z" (no letters outside ASCII).
bool IsLetter(Char C) noexcept;
/// True for "A" to "Z", "a" to "z" and "0" to "9".
bool IsDigitLetter(Char C) noexcept;
/// True for "0" to "9", "A" to "F" and "a" to "f".
bool IsHexChar(Char C) noexcept;
/// True for the seven German special letters ä ö ü Ä Ö Ü ß (codes 228, 246, 252, 196, 214,
/// 220, 223).
bool IsUmlaut(Char C) noexcept;

/// True when `S` is not empty and every character of `S` is `C`; false for the empty string.
bool TestAllChar(std::u16string_view S, Char C) noexcept;
/// True when `S` looks like an abbreviation: its longest run of upper-case letters A to Z has
/// at least 2 letters and is longer than the number of lower-case letters a to z and digits
/// in `S`. "USA" and "CPUs" are abbreviations; "PhD" and "ABCdef" are not.
bool IsAbbreviation(std::u16string_view S) noexcept;

/// True when at least one character of `S` is a member of `CharSet`; false for an empty `S`.
/// `CharSet` lists the member characters and may use the class keywords "//dig" (0 to 9),
/// "//lc" (a to z), "//uc" (A to Z), "//31dwn" (codes 0 to 31) and "//128up" (codes 128 to
/// 255), each standing for its characters wherever it occurs. Membership is a table of the
/// 256 8-bit codes: a character above 255 is never a member, neither in `S` nor in
/// `CharSet`.
bool StringContains(std::u16string_view S, std::u16string_view CharSet);
/// True when at least one character of `S` is not a member of `CharSet` (same set syntax as
/// `StringContains`; a character above 255 in `S` always counts as a non-member); false for
/// an empty `S`. StringContainsOtherThan(s, u"//dig.-") tells whether `s` holds anything other
/// than digits, full stops and minus signs.
bool StringContainsOtherThan(std::u16string_view S, std::u16string_view CharSet);

}  // namespace qorkit
