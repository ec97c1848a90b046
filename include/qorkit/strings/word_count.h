// Word separators and word counting.
#pragma once

#include <bitset>
#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// The process-wide set of 8-bit characters that separate words, consulted by `CountWords`
/// and the other word-oriented functions of the library; callers may change it (and then
/// synchronise its use across threads themselves). Its initial members are NUL, line feed,
/// carriage return, blank, the double quote, # % ' ( ) * + , - . / : ; < = > [ \ ] { and }.
/// Tab, ! ? $ & @ _ | are not members. A character above 255 is never a separator, whatever
/// this set holds. The set is constant-initialised, so it holds its initial members before
/// any code of the process runs, static initialisers included.
extern std::bitset<256> WordSeps;

/// Counts the words of `S`: runs of at least two characters that are not in `WordSeps`
/// (characters above 255 belong to runs), each followed by a separator. A run at the very end
/// of `S`, not followed by a separator, is not counted, nor is a one-character run:
/// CountWords(u"ab cd ") == 2, CountWords(u"ab cd") == 1, CountWords(u"a b ") == 0.
std::int32_t CountWords(std::u16string_view S) noexcept;

}  // namespace qorkit
