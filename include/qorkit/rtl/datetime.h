// Dates and times as a day count (TDateTime) and their formatting.
#pragma once

#include <cstdint>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// A date and time as days since 1899-12-30 00:00; the fraction is the time of day. Before
/// that date the integer part (rounded toward zero) still names the day and the magnitude of
/// the fraction is the time: -1.25 is 1899-12-29 06:00, not 1899-12-28 18:00.
using TDateTime = double;

/// The current local date and time (the system clock in the process's time zone), to the
/// millisecond.
TDateTime Now();
/// The day count of a calendar date (proleptic Gregorian, years 1 to 9999). Raises
/// `EConvertError` "Invalid date yyyy-mm-dd" for an invalid date.
TDateTime EncodeDate(std::uint16_t Year, std::uint16_t Month, std::uint16_t Day);
/// The day fraction of a time of day (hours 0..23, minutes and seconds 0..59, milliseconds
/// 0..999). Raises `EConvertError` "Invalid time hh:nn:ss.zzz" for an invalid time.
TDateTime EncodeTime(std::uint16_t Hour, std::uint16_t Min, std::uint16_t Sec, std::uint16_t MSec);
/// Splits the date part of `DateTime` into year, month and day. The decoders round the time
/// to the nearest millisecond, and a time that rounds to 24:00 counts as 00:00 of the next
/// day, so `DecodeDate` and `DecodeTime` always describe the same moment. Raises
/// `EConvertError` for NaN, infinities and values outside 0001-01-01..9999-12-31.
void DecodeDate(TDateTime DateTime, std::uint16_t& Year, std::uint16_t& Month, std::uint16_t& Day);
/// Splits the time part of `DateTime` into hour, minute, second and millisecond (rounded as
/// described at `DecodeDate`; raises likewise).
void DecodeTime(TDateTime DateTime, std::uint16_t& Hour, std::uint16_t& Min, std::uint16_t& Sec,
                std::uint16_t& MSec);
/// Day of the week, 1 = Sunday to 7 = Saturday (of the day `DecodeDate` gives; raises
/// likewise).
std::int32_t DayOfWeek(TDateTime DateTime);

/// Formats `DateTime` by the pattern `Format` (letters case-insensitive): "d"/"dd" day,
/// "ddd"/"dddd" short/long weekday name, "ddddd" date as yyyy-mm-dd, "dddddd" long date as
/// "dddd, d mmmm yyyy", "m"/"mm" month (minutes when the previous pattern letter group was
/// "h"/"hh"), "mmm"/"mmmm" month name, "yy" two-digit and "yyyy" four-digit year (one or two
/// y's give the short form, three or more the long), "h"/"hh" hour, "n"/"nn" minute,
/// "s"/"ss" second, "z" millisecond unpadded and "zzz" three digits, "t" short time
/// "hh:nn", "tt" long time "hh:nn:ss", "c" "yyyy-mm-dd hh:nn:ss", "am/pm" and "a/p" (printed
/// with the pattern's own spelling, "pm" or "PM"; when either appears outside quotes the
/// hours follow the 12-hour clock, 12 for midnight and noon), "/" and ":" as themselves,
/// text in single or double quotes copied without the quotes (an unclosed quote runs to the
/// end); any other character is copied. English names; no locale is consulted. An empty
/// format means "c". Example: FormatDateTime(u"ddd d mmm yyyy h:nn am/pm", t) ==
/// u"Tue 5 Mar 2024 2:07 pm". Raises as `DecodeDate` does.
String FormatDateTime(const String& Format, TDateTime DateTime);

}  // namespace qorkit
