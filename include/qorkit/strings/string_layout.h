// Fixed-width layout of strings: padding, centring, abbreviating, repeating and reversing.
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// `S` padded with blanks on the right to `Width` characters; a string of `Width` or more
/// characters gives its first `Width` characters.
String LeftString(std::u16string_view S, std::uint8_t Width);
/// `S` padded with blanks on the left to `Width` characters; a string of `Width` or more
/// characters gives its first `Width` characters (the start is kept, not the end):
/// RightString(u"abcdef", 3) == u"abc".
String RightString(std::u16string_view S, std::uint8_t Width);
/// `S` centred in `Width` characters: (Width - length) div 2 blanks in front and the rest
/// behind, so an odd blank goes to the right: CenterString(u"ab", 5) == u" ab  ". A string of
/// `Width` or more characters gives its first `Width` characters.
String CenterString(std::u16string_view S, std::uint8_t Width);
/// `S` cut to `N` characters with ".." as its last two when it is longer than `N`:
/// AbbrevString(u"abcdefgh", 5) == u"abc..". For `N` < 2 a longer string gives just "..";
/// a string of at most `N` characters is returned unchanged.
String AbbrevString(std::u16string_view S, std::int32_t N);
/// `C` repeated `N` times, `N` clamped to 1..255: MultiChar(u'*', 0) == u"*", and any `N`
/// above 255 gives 255 characters.
String MultiChar(Char C, std::int32_t N);
/// The code units of `S` in reverse order (a surrogate pair is reversed as two units).
String ReverseString(std::u16string_view S);

}  // namespace qorkit
