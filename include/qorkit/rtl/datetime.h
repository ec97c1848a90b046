// Dates and times as a day count (TDateTime) and their formatting.
#pragma once

#include <cstdint>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// A date and time as days since 1899-12-30 00:00; the fraction is the time of day.
using TDateTime = double;

/// The current local date and time.
TDateTime Now();
/// The day count of a calendar date (proleptic Gregorian). Raises `EConvertError` for an
/// invalid date.
TDateTime EncodeDate(std::uint16_t Year, std::uint16_t Month, std::uint16_t Day);
/// The day fraction of a time of day. Raises `EConvertError` for an invalid time.
TDateTime EncodeTime(std::uint16_t Hour, std::uint16_t Min, std::uint16_t Sec, std::uint16_t MSec);
/// Splits the date part of `DateTime` into year, month and day.
void DecodeDate(TDateTime DateTime, std::uint16_t& Year, std::uint16_t& Month, std::uint16_t& Day);
/// Splits the time part of `DateTime` into hour, minute, second and millisecond.
void DecodeTime(TDateTime DateTime, std::uint16_t& Hour, std::uint16_t& Min, std::uint16_t& Sec,
                std::uint16_t& MSec);
/// Day of the week, 1 = Sunday to 7 = Saturday.
std::int32_t DayOfWeek(TDateTime DateTime);

/// Formats `DateTime` by the pattern `Format` (letters case-insensitive): "d"/"dd" day,
/// "ddd"/"dddd" short/long weekday name, "ddddd" date as yyyy-mm-dd, "dddddd" long date,
/// "m"/"mm" month (minutes after "h"/"hh"), "mmm"/"mmmm" month name, "yy"/"yyyy" year,
/// "h"/"hh" hour, "n"/"nn" minute, "s"/"ss" second, "z"/"zzz" millisecond, "t"/"tt"
/// short/long time, "c" date and long time, "am/pm" and "a/p" (12-hour clock), "/" and ":"
/// as themselves, text in single or double quotes copied without the quotes; any other
/// character is copied. English names; no locale is consulted. An empty format means "c".
String FormatDateTime(const String& Format, TDateTime DateTime);

}  // namespace qorkit
