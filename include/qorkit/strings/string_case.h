// Case changes. `CapitalizeString` folds the letters A to Z only; `ChangeCase` and
// `EqualAnsiStrings` use the library's Unicode case table (`AnsiUpperChar`, `AnsiLowerChar`,
// `AnsiStrIComp`), which never depends on the process locale.
#pragma once

#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// `S` with the first letter of each word upper-cased (a to z only). A word starts at the
/// beginning and after any character up to 127 that is neither a letter nor a digit; a
/// letter, a digit or a character above 127 continues it, and characters above 127 are never
/// changed. The rest of each word keeps its case: CapitalizeString(u"hello wORLD-x2y") ==
/// u"Hello WORLD-X2y".
String CapitalizeString(std::u16string_view S);
/// `S` with the case of every character swapped by the Unicode case table: a character that
/// upper-casing leaves unchanged (an upper-case letter or one without case) is lower-cased,
/// every other character upper-cased. ChangeCase(u"Straße Ω") == u"sTRAßE ω".
String ChangeCase(std::u16string_view S);
/// True when `A` and `B`, each read up to its first NUL character, are equal regardless of
/// case under the Unicode case table (`AnsiStrIComp`): EqualAnsiStrings(u"ÄRGER", u"ärger").
bool EqualAnsiStrings(std::u16string_view A, std::u16string_view B);

}  // namespace qorkit
