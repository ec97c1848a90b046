#include "qorkit/rtl/datetime.h"

#include <time.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

constexpr std::int64_t kMSecsPerDay = 86'400'000;
// Day counts of 0001-01-01 and 9999-12-31.
constexpr std::int64_t kMinDay = -693'593;
constexpr std::int64_t kMaxDay = 2'958'465;
// Day count of 1970-01-01, the origin of the civil-day arithmetic below.
constexpr std::int64_t kUnixEpochDay = 25'569;

constexpr std::array<const char16_t*, 12> kMonthNames = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<const char16_t*, 7> kDayNames = {
    u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};

bool IsLeapYear(std::int64_t y) noexcept {
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

std::int32_t DaysInMonth(std::int64_t y, std::int32_t m) noexcept {
    static constexpr std::array<std::int32_t, 12> kDays = {31, 28, 31, 30, 31, 30,
                                                           31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[static_cast<std::size_t>(m - 1)];
}

// Days since 1970-01-01 of a proleptic Gregorian date, counting in 400-year eras that start
// on March 1 so that the leap day falls at the end of each year.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) noexcept {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    std::int64_t year;
    std::int32_t month;
    std::int32_t day;
};

Civil CivilFromDays(std::int64_t z) noexcept {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const auto d = static_cast<std::int32_t>(doy - (153 * mp + 2) / 5 + 1);
    const auto m = static_cast<std::int32_t>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

// A TDateTime split into the calendar day (the integer part) and the time of day in whole
// milliseconds (the magnitude of the fraction, rounded). A time that rounds to 24:00 moves
// to 00:00 of the next calendar day, so date and time always describe the same moment.
struct Moment {
    std::int64_t day;
    std::int64_t msec;
};

Moment Split(TDateTime v) {
    if (!(v > static_cast<double>(kMinDay - 1) && v < static_cast<double>(kMaxDay + 1)))
        throw EConvertError(u"Date/time value " + FloatToStr(v) +
                            u" lies outside the years 1 to 9999");
    const double whole = std::trunc(v);
    Moment m{static_cast<std::int64_t>(whole),
             std::llround(std::fabs(v - whole) * static_cast<double>(kMSecsPerDay))};
    if (m.msec >= kMSecsPerDay) {
        m.msec -= kMSecsPerDay;
        ++m.day;
    }
    if (m.day > kMaxDay)
        throw EConvertError(u"Date/time value " + FloatToStr(v) +
                            u" lies outside the years 1 to 9999");
    return m;
}

struct Fields {
    std::int64_t year;
    std::int32_t month, day, dow, hour, min, sec, msec;
};

Fields Decompose(TDateTime v) {
    const Moment m = Split(v);
    const Civil c = CivilFromDays(m.day - kUnixEpochDay);
    Fields f{};
    f.year = c.year;
    f.month = c.month;
    f.day = c.day;
    // Day 0 (1899-12-30) was a Saturday.
    f.dow = static_cast<std::int32_t>(((m.day % 7 + 7) % 7 + 6) % 7 + 1);
    f.hour = static_cast<std::int32_t>(m.msec / 3'600'000);
    f.min = static_cast<std::int32_t>(m.msec / 60'000 % 60);
    f.sec = static_cast<std::int32_t>(m.msec / 1000 % 60);
    f.msec = static_cast<std::int32_t>(m.msec % 1000);
    return f;
}

void AppendNumber(String& out, std::int64_t v, std::size_t width) {
    const String digits = IntToStr(v);
    if (digits.size() < width) out.append(width - digits.size(), u'0');
    out += digits;
}

Char Upper(Char c) noexcept {
    return UpCase(c);
}

bool MatchesNoCase(std::u16string_view f, std::size_t i, std::u16string_view word) {
    if (f.size() - i < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k)
        if (Upper(f[i + k]) != Upper(word[k])) return false;
    return true;
}

// True when the pattern holds an "am/pm" or "a/p" marker outside quoted text.
bool UsesTwelveHourClock(std::u16string_view f) {
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] == u'\'' || f[i] == u'"') {
            const std::size_t close = f.find(f[i], i + 1);
            if (close == std::u16string_view::npos) return false;
            i = close;
        } else if (MatchesNoCase(f, i, u"am/pm") || MatchesNoCase(f, i, u"a/p")) {
            return true;
        }
    }
    return false;
}

void FormatPattern(String& out, std::u16string_view f, const Fields& t, bool twelveHour) {
    bool afterHour = false;  // "m" directly after an hour token means minutes
    std::size_t i = 0;
    while (i < f.size()) {
        const Char c = f[i];
        if (c == u'\'' || c == u'"') {
            std::size_t close = f.find(c, i + 1);
            if (close == std::u16string_view::npos) close = f.size();
            out.append(f.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        const Char u = Upper(c);
        if (u == u'A') {
            const bool pm = t.hour >= 12;
            if (MatchesNoCase(f, i, u"am/pm")) {
                out.append(f.substr(pm ? i + 3 : i, 2));
                i += 5;
            } else if (MatchesNoCase(f, i, u"a/p")) {
                out += f[pm ? i + 2 : i];
                i += 3;
            } else {
                out += c;
                ++i;
            }
            continue;
        }
        std::size_t n = 1;
        while (i + n < f.size() && Upper(f[i + n]) == u)
            ++n;
        const std::int32_t hour = twelveHour ? (t.hour % 12 == 0 ? 12 : t.hour % 12) : t.hour;
        bool isHour = false;
        switch (u) {
            case u'D':
                if (n <= 2) {
                    AppendNumber(out, t.day, n);
                } else if (n == 3) {
                    out.append(kDayNames[static_cast<std::size_t>(t.dow - 1)], 3);
                } else if (n == 4) {
                    out += kDayNames[static_cast<std::size_t>(t.dow - 1)];
                } else {
                    FormatPattern(out, n == 5 ? u"yyyy-mm-dd" : u"dddd, d mmmm yyyy", t, false);
                }
                break;
            case u'M':
                if (afterHour) {
                    n = std::min<std::size_t>(n, 2);
                    AppendNumber(out, t.min, n);
                } else if (n <= 2) {
                    AppendNumber(out, t.month, n);
                } else if (n == 3) {
                    out.append(kMonthNames[static_cast<std::size_t>(t.month - 1)], 3);
                } else {
                    out += kMonthNames[static_cast<std::size_t>(t.month - 1)];
                }
                break;
            case u'Y':
                if (n <= 2) {
                    AppendNumber(out, t.year % 100, 2);
                } else {
                    AppendNumber(out, t.year, 4);
                }
                break;
            case u'H':
                AppendNumber(out, hour, n >= 2 ? 2 : 1);
                isHour = true;
                break;
            case u'N':
                AppendNumber(out, t.min, n >= 2 ? 2 : 1);
                break;
            case u'S':
                AppendNumber(out, t.sec, n >= 2 ? 2 : 1);
                break;
            case u'Z':
                AppendNumber(out, t.msec, n >= 2 ? 3 : 1);
                break;
            case u'T':
                FormatPattern(out, n == 1 ? u"hh:nn" : u"hh:nn:ss", t, false);
                break;
            case u'C':
                n = 1;
                FormatPattern(out, u"yyyy-mm-dd hh:nn:ss", t, false);
                break;
            default:
                out += c;
                i += 1;
                continue;
        }
        afterHour = isHour;
        i += n;
    }
}

}  // namespace

TDateTime Now() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    if (localtime_r(&ts.tv_sec, &local) == nullptr)
        throw EConvertError("The system clock cannot be converted to local time");
    // A leap second is reported as second 60; it is folded into the second before it.
    const int sec = local.tm_sec > 59 ? 59 : local.tm_sec;
    const double day = static_cast<double>(
        DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) + kUnixEpochDay);
    const auto msec = static_cast<std::int64_t>(local.tm_hour) * 3'600'000 + local.tm_min * 60'000 +
                      sec * 1000 + ts.tv_nsec / 1'000'000;
    return day + static_cast<double>(msec) / static_cast<double>(kMSecsPerDay);
}

TDateTime EncodeDate(std::uint16_t Year, std::uint16_t Month, std::uint16_t Day) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInMonth(Year, Month)) {
        String text = u"Invalid date ";
        AppendNumber(text, Year, 4);
        text += u'-';
        AppendNumber(text, Month, 2);
        text += u'-';
        AppendNumber(text, Day, 2);
        throw EConvertError(text);
    }
    return static_cast<double>(DaysFromCivil(Year, Month, Day) + kUnixEpochDay);
}

TDateTime EncodeTime(std::uint16_t Hour, std::uint16_t Min, std::uint16_t Sec, std::uint16_t MSec) {
    if (Hour > 23 || Min > 59 || Sec > 59 || MSec > 999) {
        String text = u"Invalid time ";
        AppendNumber(text, Hour, 2);
        text += u':';
        AppendNumber(text, Min, 2);
        text += u':';
        AppendNumber(text, Sec, 2);
        text += u'.';
        AppendNumber(text, MSec, 3);
        throw EConvertError(text);
    }
    const std::int64_t ms = ((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec;
    return static_cast<double>(ms) / static_cast<double>(kMSecsPerDay);
}

void DecodeDate(TDateTime DateTime, std::uint16_t& Year, std::uint16_t& Month, std::uint16_t& Day) {
    const Fields f = Decompose(DateTime);
    Year = static_cast<std::uint16_t>(f.year);
    Month = static_cast<std::uint16_t>(f.month);
    Day = static_cast<std::uint16_t>(f.day);
}

void DecodeTime(TDateTime DateTime, std::uint16_t& Hour, std::uint16_t& Min, std::uint16_t& Sec,
                std::uint16_t& MSec) {
    const Fields f = Decompose(DateTime);
    Hour = static_cast<std::uint16_t>(f.hour);
    Min = static_cast<std::uint16_t>(f.min);
    Sec = static_cast<std::uint16_t>(f.sec);
    MSec = static_cast<std::uint16_t>(f.msec);
}

std::int32_t DayOfWeek(TDateTime DateTime) {
    return Decompose(DateTime).dow;
}

String FormatDateTime(const String& Format, TDateTime DateTime) {
    const Fields f = Decompose(DateTime);
    const std::u16string_view pattern = Format.empty() ? std::u16string_view(u"c") : Format;
    String out;
    FormatPattern(out, pattern, f, UsesTwelveHourClock(pattern));
    return out;
}

}  // namespace qorkit
