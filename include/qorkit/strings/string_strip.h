// Stripping characters from the ends of a string and ensuring a leading or trailing character.
// A "blank" here is the character 32 only: tabs and other white space are kept.
#pragma once

#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// `S` without its leading and trailing blanks (character 32 only; tabs stay).
/// An empty or all-blank string gives the empty string: StripLTBlanks(u"  a b  ") == u"a b".
String StripLTBlanks(std::u16string_view S);
/// `S` without its leading blanks (character 32 only).
String StripLeadingBlanks(std::u16string_view S);
/// `S` without its trailing blanks (character 32 only).
String StripTrailingBlanks(std::u16string_view S);
/// `S` without the occurrences of `C` at its start; StripLeadingChars(u'x', u"xxx") == u"".
String StripLeadingChars(Char C, std::u16string_view S);
/// `S` without the occurrences of `C` at its end.
String StripTrailingChars(Char C, std::u16string_view S);

/// `S` with a "\" appended unless it already ends with one. The empty string stays empty
/// (so it never turns into the root path).
String EnsureTrailingBkSlash(std::u16string_view S);
/// `S` with `C` appended unless its last character already is `C`; the empty string stays
/// empty.
String EnsureTrailingChar(Char C, std::u16string_view S);
/// `S` with `C` put in front unless its first character already is `C`; the empty string
/// stays empty.
String EnsureLeadingChar(Char C, std::u16string_view S);

}  // namespace qorkit
