// Counting, replacing, removing and locating characters and substrings. Positions count
// 16-bit code units from 1, and 0 means "not found". Case-insensitive matching folds the
// letters A to Z only, whatever the process locale. Every search here runs in time linear in
// the lengths of its arguments, also for repetitive patterns such as "aaab" in "aaaa...".
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Number of non-overlapping occurrences of `Sub` in `S`, scanning from the left and going on
/// after the end of each match: CountStringInString(u"aa", u"aaaa", true) == 2. With
/// `Exact` false, the letters A to Z match regardless of case. An empty `Sub` counts 0.
std::int32_t CountStringInString(std::u16string_view Sub, std::u16string_view S, bool Exact);
/// Number of characters of `S` equal to `C`; with `Exact` false, the letters A to Z match
/// regardless of case (other characters must be equal).
std::int32_t CountCharInString(Char C, std::u16string_view S, bool Exact);

/// `S` with every character equal to `OldChar` replaced by `NewChar`.
String ReplaceCharInString(std::u16string_view S, Char OldChar, Char NewChar);
/// `S` with every occurrence of `OldStr` replaced by `NewStr`. Occurrences are found from the
/// left, without overlap; the search resumes right after each inserted text, so inserted text
/// is never searched again and replacing "a" by "aa" ends: the result of
/// ReplaceStringInString(u"aXa", u"a", u"aa", false) is u"aaXaa". With `IgnoreCase`, matching
/// folds A to Z; the inserted text is used as given and the rest of `S` keeps its case. An
/// empty `OldStr` leaves `S` unchanged. Runs in one pass, linear in the lengths involved.
String ReplaceStringInString(std::u16string_view S, std::u16string_view OldStr,
                             std::u16string_view NewStr, bool IgnoreCase);
/// `S` without any character equal to `C`.
String RemoveCharInString(std::u16string_view S, Char C);
/// `S` with every run of two or more consecutive `C` reduced to a single `C`.
String RemoveMultiChars(std::u16string_view S, Char C);
/// `S` without the control characters 0 to 31; character 127 and everything from 32 up stay.
String RemoveControlChars(std::u16string_view S);

/// Position of the `N`-th occurrence of `Sub` in `S` among the non-overlapping occurrences
/// that begin at or after `Start` (each search goes on after the end of the previous match).
/// `Start` below 1 counts as 1. 0 when `N` <= 0, when `Sub` is empty, or when there are
/// fewer than `N` such occurrences. With `IgnoreCase`, A to Z match regardless of case.
/// Example: NumberedPos(u"ab", u"xxabyyab", 1, 2, false) == 7.
std::int32_t NumberedPos(std::u16string_view Sub, std::u16string_view S, std::int32_t Start,
                         std::int32_t N, bool IgnoreCase);
/// The backward twin of `NumberedPos`: `Start` is clamped to 1..length of `S`, only
/// occurrences that end at or before `Start` are seen, and the `N`-th non-overlapping
/// occurrence going leftwards from there is found. Returns the position of its first
/// character. For S = "abXXabYY" and Sub = "ab": Start 8 gives 5 for N = 1 and 1 for N = 2;
/// Start 5 gives 1 for N = 1. 0 under the same conditions as `NumberedPos`.
std::int32_t NumberedPosBw(std::u16string_view Sub, std::u16string_view S, std::int32_t Start,
                           std::int32_t N, bool IgnoreCase);
/// Position of the last occurrence of `Sub` met by a left-to-right scan of non-overlapping
/// occurrences: PosLast(u"ab", u"abXab") == 4, and PosLast(u"aa", u"aaa") == 1 (the scan
/// resumes after the first match). 0 when `Sub` is empty or does not occur. Exact case.
std::int32_t PosLast(std::u16string_view Sub, std::u16string_view S);
/// Position of the first character of `S` that is not a blank (32); 0 for an empty or
/// all-blank string.
std::int32_t FindFirstNonBlank(std::u16string_view S);
/// Position of the first digit "0" to "9" in `S`; 0 when there is none.
std::int32_t FindFirstDigit(std::u16string_view S);

}  // namespace qorkit
