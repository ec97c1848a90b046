// A light, reversible scrambling of texts by character substitution.
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Rebuilds the process-wide substitution tables from `seed`: a permutation of the codes
/// 1..255 drawn with the process-wide generator `Random` after setting `RandSeed` to `seed`
/// (so other users of that generator see its state changed); code 0 maps to itself. The
/// tables are built with seed 6071 when the library loads. Not synchronised: callers that
/// rebuild the tables while other threads scramble synchronise themselves.
void InitScramble(std::int32_t seed);

/// Replaces each character with code 0..255 by its substitute; the length is kept and NUL
/// stays NUL. Characters above 255 are outside the tables and pass through unchanged, so
/// `DeScramble(Scramble(s)) == s` for every string (as long as the tables are not rebuilt
/// with another seed in between).
String Scramble(std::u16string_view s);

/// Undoes `Scramble` under the same tables; characters above 255 pass through unchanged.
String DeScramble(std::u16string_view s);

}  // namespace qorkit
