#include <gtest/gtest.h>

#include <time.h>

#include <cmath>
#include <limits>

#include "qorkit/rtl/datetime.h"
#include "qorkit/rtl/exceptions.h"

using namespace qorkit;

namespace {

struct Ymd {
    int y, m, d;
};

Ymd Decode(TDateTime t) {
    std::uint16_t y = 0, m = 0, d = 0;
    DecodeDate(t, y, m, d);
    return {y, m, d};
}

std::string Hms(TDateTime t) {
    std::uint16_t h = 0, n = 0, s = 0, z = 0;
    DecodeTime(t, h, n, s, z);
    return std::to_string(h) + ":" + std::to_string(n) + ":" + std::to_string(s) + "." +
           std::to_string(z);
}

std::string Fmt(const char16_t* f, TDateTime t) {
    return ToUtf8(FormatDateTime(f, t));
}

}  // namespace

TEST(DateTime, EncodeDateKnownDays) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);  // 1900 was no leap year
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2000, 3, 1), 36586.0);  // 2000 was
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
}

TEST(DateTime, EveryDayOfTheCalendarRoundTrips) {
    // Walks all days from 0001-01-01 with month lengths written out here, independently of
    // the library: each date must be one more than the previous and decode to itself.
    const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    double expected = -693593;
    int weekday = DayOfWeek(expected);
    for (int y = 1; y <= 9999; ++y) {
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        for (int m = 1; m <= 12; ++m) {
            const int days = monthDays[m - 1] + (m == 2 && leap ? 1 : 0);
            for (int d = 1; d <= days; ++d, expected += 1) {
                const auto y16 = static_cast<std::uint16_t>(y);
                const auto m16 = static_cast<std::uint16_t>(m);
                const auto d16 = static_cast<std::uint16_t>(d);
                ASSERT_EQ(EncodeDate(y16, m16, d16), expected) << y << "-" << m << "-" << d;
                std::uint16_t ry = 0, rm = 0, rd = 0;
                // Before day 0 a later time of day lies further from zero.
                DecodeDate(expected + (expected < 0 ? -0.75 : 0.75), ry, rm, rd);
                ASSERT_TRUE(ry == y && rm == m && rd == d) << y << "-" << m << "-" << d;
                ASSERT_EQ(DayOfWeek(expected), weekday);
                weekday = weekday % 7 + 1;
            }
        }
    }
}

TEST(DateTime, InvalidDatesAndTimesRaise) {
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 0, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 4, 31), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    try {
        EncodeDate(2023, 2, 29);
        ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Invalid date 2023-02-29");
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);

    std::uint16_t a = 0, b = 0, c = 0, d = 0;
    EXPECT_THROW(DecodeDate(std::numeric_limits<double>::quiet_NaN(), a, b, c), EConvertError);
    EXPECT_THROW(DecodeDate(std::numeric_limits<double>::infinity(), a, b, c), EConvertError);
    EXPECT_THROW(DecodeTime(1e9, a, b, c, d), EConvertError);
    EXPECT_THROW(DecodeDate(-693594.0, a, b, c), EConvertError);
    EXPECT_THROW(DayOfWeek(2958466.0), EConvertError);
    try {
        FormatDateTime(u"yyyy", -1e7);
        ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Date/time value -10000000 lies outside the years 1 to 9999");
    }
    // The last millisecond of 9999-12-31 rounds into the year 10000.
    EXPECT_THROW(DecodeDate(2958465.9999999995, a, b, c), EConvertError);
}

TEST(DateTime, TimeFractionsAndTheirRounding) {
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_EQ(EncodeTime(0, 0, 0, 1), 1.0 / 86400000.0);
    EXPECT_EQ(Hms(EncodeTime(23, 59, 59, 999)), "23:59:59.999");
    EXPECT_EQ(Hms(EncodeDate(2021, 7, 4) + EncodeTime(13, 45, 30, 123)), "13:45:30.123");

    // Before day 0 the integer part is the date and the fraction's magnitude the time.
    const Ymd neg = Decode(-1.25);
    EXPECT_EQ(neg.y * 10000 + neg.m * 100 + neg.d, 18991229);
    EXPECT_EQ(Hms(-1.25), "6:0:0.0");
    const Ymd negSmall = Decode(-0.5);
    EXPECT_EQ(negSmall.m * 100 + negSmall.d, 1230);
    EXPECT_EQ(Hms(-0.5), "12:0:0.0");

    // A time that rounds to 24:00 is midnight of the next day, in both decoders.
    const double almost = EncodeDate(2020, 12, 31) + 0.9999999999;
    const Ymd next = Decode(almost);
    EXPECT_EQ(next.y * 10000 + next.m * 100 + next.d, 20210101);
    EXPECT_EQ(Hms(almost), "0:0:0.0");
    EXPECT_EQ(DayOfWeek(almost), DayOfWeek(EncodeDate(2021, 1, 1)));
    EXPECT_EQ(Fmt(u"c", almost), "2021-01-01 00:00:00");
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
    EXPECT_EQ(DayOfWeek(0.0), 7);                             // 1899-12-30, a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);          // Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(2023, 12, 31) + 0.9), 1);  // Sunday evening
    EXPECT_EQ(DayOfWeek(-1.5), 6);                            // 1899-12-29, a Friday
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);             // Monday in the proleptic calendar
}

TEST(DateTime, FormatDateTimePatterns) {
    // Tuesday 2024-03-05 14:07:09.045
    const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    EXPECT_EQ(Fmt(u"yyyy-mm-dd hh:nn:ss.zzz", t), "2024-03-05 14:07:09.045");
    EXPECT_EQ(Fmt(u"YYYY-MM-DD HH:NN:SS", t), "2024-03-05 14:07:09");
    EXPECT_EQ(Fmt(u"d/m/yy", t), "5/3/24");
    EXPECT_EQ(Fmt(u"ddd dddd mmm mmmm", t), "Tue Tuesday Mar March");
    EXPECT_EQ(Fmt(u"h:n:s.z", t), "14:7:9.45");
    EXPECT_EQ(Fmt(u"hh:mm", t), "14:07");  // minutes after an hour
    EXPECT_EQ(Fmt(u"h 'h' m", t), "14 h 7");
    EXPECT_EQ(Fmt(u"mm hh", t), "03 14");  // month before an hour
    EXPECT_EQ(Fmt(u"ddddd", t), "2024-03-05");
    EXPECT_EQ(Fmt(u"dddddd", t), "Tuesday, 5 March 2024");
    EXPECT_EQ(Fmt(u"t", t), "14:07");
    EXPECT_EQ(Fmt(u"tt", t), "14:07:09");
    EXPECT_EQ(Fmt(u"c", t), "2024-03-05 14:07:09");
    EXPECT_EQ(Fmt(u"", t), "2024-03-05 14:07:09");
    EXPECT_EQ(Fmt(u"'yyyy' \"mm\" [d]", t), "yyyy mm [5]");
    EXPECT_EQ(Fmt(u"'unterminated", t), "unterminated");
    EXPECT_EQ(Fmt(u"x#!", t), "x#!");

    EXPECT_EQ(Fmt(u"h:nn am/pm", t), "2:07 pm");
    EXPECT_EQ(Fmt(u"ddd d mmm yyyy h:nn am/pm", t), "Tue 5 Mar 2024 2:07 pm");
    EXPECT_EQ(Fmt(u"hh:nn AM/PM", t), "02:07 PM");
    EXPECT_EQ(Fmt(u"h a/p", t), "2 p");
    EXPECT_EQ(Fmt(u"h A/P", EncodeDate(2024, 3, 5)), "12 A");  // midnight
    EXPECT_EQ(Fmt(u"h am/pm", EncodeDate(2024, 3, 5) + 0.5), "12 pm");
    EXPECT_EQ(Fmt(u"h 'am/pm'", t), "14 am/pm");  // quoted: no 12-hour clock

    const TDateTime early = EncodeDate(7, 1, 9);
    EXPECT_EQ(Fmt(u"yyyy yy", early), "0007 07");
}

TEST(DateTime, NowAgreesWithTheSystemClock) {
    const auto local = [](time_t t, std::uint16_t msec) {
        tm f{};
        localtime_r(&t, &f);
        const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
        return EncodeDate(u(f.tm_year + 1900), u(f.tm_mon + 1), u(f.tm_mday)) +
               EncodeTime(u(f.tm_hour), u(f.tm_min), u(f.tm_sec > 59 ? 59 : f.tm_sec), msec);
    };
    const double lo = local(time(nullptr), 0);
    const TDateTime now = Now();
    // time() may read a coarser clock that lags a few milliseconds: allow one second more.
    const double hi = local(time(nullptr) + 1, 999);
    EXPECT_GE(now, lo);
    EXPECT_LE(now, hi);
    EXPECT_LE(now, Now());
}
