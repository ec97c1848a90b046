// Numbers, logical values, three-valued values and durations as text.
//
// Every function here is locale-independent: the decimal separator is always '.', whatever
// the process locale says (the one exception is the comma option of `AutoFormatData`). None of
// them raises an error of its own.
//
// Non-finite values: NaN is written "NAN", the infinities "+INF" and "-INF", right-aligned
// with blanks in the requested width (zero padding and the forced plus sign do not apply to
// them).
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/core/types.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Formats `x` in fixed notation with `decimals` digits after the point, right-aligned in
/// |`width`| characters (never cut). A negative `width` pads with zeros instead of blanks, the
/// minus sign moving to the front ("-002.50"). `decimals == -2` selects the short exponent form
/// of |`width`| characters with two exponent digits and |`width`| - 6 significant digits (at
/// least 2); an exponent of 100 or more turns that text into a row of '*'. Any other negative
/// `decimals` gives the long exponent form with four exponent digits and |`width`| - 8
/// significant digits (at least 2). Exact halves round to even.
/// Example: strff(3.14159, 8, 3) == u"   3.142"; strff(4567.89, 10, -2) == u" 4.568E+03".
String strff(long double x, std::int32_t width, std::int32_t decimals);

/// As `strff`, but a value >= 0 carries an explicit "+": the last leading blank becomes "+",
/// or a leading padding zero does, or "+" is put in front (the text then grows by one).
/// Example: strffForcePlus(5, 4, 0) == u"  +5"; strffForcePlus(0, 0, 0) == u"+0".
String strffForcePlus(long double x, std::int32_t width, std::int32_t decimals);

/// Fixed form `strff(x, width, decimals)` for `decimals` 0..8 as long as the value keeps at most
/// nine significant digits: |x| must not exceed 999999999 (0 decimals) or the number of eight
/// nines with `decimals` of them after the point (9999999.9 ... 0.99999999), and a non-zero
/// |x| must be at least 10^-decimals. Otherwise, and for any other `decimals`, the result is
/// the short exponent form `strff(x, width + 6, -2)` with `width` significant digits. The limits
/// are compared at double precision, so a value written as a limit counts as inside.
/// Example: FormatData(234567.8, 8, 3) == u" 2.3456780E+05".
String FormatData(double x, std::int32_t width, std::int32_t decimals);

/// Writes `x` with `digits` significant digits in `width` characters where possible: fixed
/// form when the integer part and the needed decimals fit, the short exponent form
/// (max(width, digits + 6) characters) otherwise. Integer parts with more digits than
/// `digits` are written in full, rounded to an integer. Zero is written with `digits` - 1
/// decimals ("    0.00" for width 8 and 3 digits); a `digits` below 1 counts as 1 there.
/// The number of integer digits comes from an exact decimal logarithm, so powers of ten are
/// classified correctly. Example: SigDigStr(0.023456, 8, 3) == u"  0.0235".
String SigDigStr(double x, std::int32_t width, std::int32_t digits);

/// As `SigDigStr`; when `strip` is true, leading and trailing blanks are removed.
String SigDigStr(double x, std::int32_t width, std::int32_t digits, bool strip);

/// A compact text of `x` with `digits` significant digits (clamped to 2..16) and no padding:
/// fixed form when -1 < log10|x| < digits - 1, the short exponent form otherwise.
/// Example: AutoFormatData(123.456, 4) == u"123.5"; AutoFormatData(0.05, 3) == u"5.00E-02".
String AutoFormatData(double x, std::int32_t digits);

/// As `AutoFormatData`; when `comma` is true every '.' of the result becomes ','.
String AutoFormatData(double x, std::int32_t digits, bool comma);

/// Right-aligns a numeric string on its decimal character so that such strings sort as text:
/// blanks are stripped from both ends, then blanks are put in front until the first `decimal`
/// character stands at position `position` (a string without it counts as having it at
/// position 0). Nothing is cut. Example: SortableNumericString(u" 12.5 ", u'.', 5) == u"  12.5".
String SortableNumericString(std::u16string_view s, Char decimal, std::int32_t position);

/// A duration in seconds as a clock-like text; negative values and NaN count as 0. Modes (for
/// 3725.5 s): 0 "01:02:05.50", 1 "01:02:05", 2 " 1h02", 3 " 1h02'05\"", 4 "01:02", 5 " 1:02a"
/// (12-hour clock, "a" below 12 hours, "p" from 12 on); any other mode gives "". Hours are
/// written in full (100 hours give "100:00:00"); durations beyond 2^52 hours are clamped
/// there. Hundredths are truncated, not rounded.
String TimeString(double seconds, std::uint8_t mode);

/// A Boolean by `mode`: 0 "TRUE"/"FALSE", 1 "T"/"F", 2 ".T."/".F.", 3 "1"/"0", 4 "-1"/"0",
/// 5 "FF"/"00", 6 "YES"/"NO", 7 "GOOD"/"BAD"; any other mode as 0.
String BoolToStr(bool b, std::int32_t mode);

/// `ifTrue` when `b` is true, `ifFalse` otherwise.
String BinString(bool b, std::u16string_view ifTrue, std::u16string_view ifFalse);

/// Reads a three-valued text: after folding A to Z to lower case and stripping blanks,
/// "true", "1", "+1", "yes" give `tsTrue`; "false", "-1", "no" give `tsFalse`; anything else,
/// the empty text included, gives `tsUndefined`.
TTriState StrToTriState(std::u16string_view s);

/// A three-valued value as text: mode 1 "-1"/"1"/"0", mode 2 "no"/"yes"/"unknown", mode 0 and
/// any other "false"/"true"/"" (for `tsFalse`, `tsTrue`, `tsUndefined`).
String TriStateToStr(TTriState t, std::int32_t mode);

}  // namespace qorkit
