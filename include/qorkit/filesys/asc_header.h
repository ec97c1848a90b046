// The header of ASC data files: a title line, two positive counts and four Boolean flags.
//
//   line 1  free title text
//   line 2  first count: a positive decimal integer (the rest of the line is ignored)
//   line 3  second count: the same
//   line 4  four flags, each "TRUE" or "FALSE" in any letter case, separated by blanks
//
// Lines end in LF or CR LF. The meaning of the counts and flags belongs to the files that
// carry the header.
#pragma once

#include <cstdint>

#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Status codes of `ReadHeaderOfASC`.
inline constexpr std::int32_t ascHeaderOK = 0;
/// The first count is missing or not positive.
inline constexpr std::int32_t ascBadFirstCount = -1;
/// The second count is missing or not positive.
inline constexpr std::int32_t ascBadSecondCount = -2;
/// One of the first three flags is neither "TRUE" nor "FALSE".
inline constexpr std::int32_t ascBadFlag = -3;
/// The title holds a line feed. Both readers end the title at the first LF, so they never
/// give this code; it is kept for callers that test for it.
inline constexpr std::int32_t ascLFInTitle = -4;

/// Reads the header of the ASC file `FileName` (Windows-1252 text) and returns its status.
/// Line 1 becomes `Title`. Each count is read as the text file reads an integer (blanks and
/// line ends before it are skipped, the number must end at a blank, tab or line end, and
/// must fit 32 bits); the rest of its line is skipped. A count that cannot be read or is not
/// positive gives -1 or -2, and reading stops there. Then all four flags become false and
/// line 4, with tabs turned into blanks, A-Z folded and blanks trimmed, is read flag by flag:
/// "TRUE" or "FALSE" for flags 1 to 3, each followed by optional blanks, else -3; flag 4 is
/// true when the rest starts with "TRUE", and false without error otherwise.
/// Example: the lines "Data", "10", "3", "true  false TRUE x" give 0, 10, 3 and the flags
/// true, false, true, false. Raises `EInOutError` when the file cannot be opened or read.
std::int32_t ReadHeaderOfASC(const String& FileName, String& Title, std::int32_t& FirstCount,
                             std::int32_t& SecondCount, bool& Flag1, bool& Flag2, bool& Flag3,
                             bool& Flag4);

/// Reads the header from the current position of `Stream` (bytes as characters U+0000 to
/// U+00FF) with the same steps and codes, except: a count is read by `ScanStreamDecimal`
/// (so text that is not a number reads as 0 and gives -1 or -2, digits may be followed by
/// anything, and the arithmetic wraps at 32 bits); tabs in line 4 are not blanks (tab-separated
/// flags give -3); and `Flag4` is not reset, so it keeps the caller's value unless the rest of
/// line 4 starts with "TRUE". LF-only and CR LF line ends read alike. The stream is left after
/// line 4, or after the line at which the status became non-zero. Stream errors pass through.
std::int32_t ReadHeaderOfASC(TStream& Stream, String& Title, std::int32_t& FirstCount,
                             std::int32_t& SecondCount, bool& Flag1, bool& Flag2, bool& Flag3,
                             bool& Flag4);

}  // namespace qorkit
