#include <gtest/gtest.h>

#include "comma_locale.h"

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

using namespace qorkit;

namespace {

std::string U8(const String& s) {
    return ToUtf8(s);
}

// The message of the EConvertError that `f` raises, or "" when it raises nothing.
template <class F>
std::string ConvertErrorOf(F f) {
    try {
        f();
    } catch (const EConvertError& e) {
        return e.what();
    }
    return "";
}

constexpr long double kLdMax = std::numeric_limits<long double>::max();
constexpr long double kLdTrueMin = std::numeric_limits<long double>::denorm_min();

}  // namespace

TEST(IntToText, DecimalAndHexCoverTheWholeRange) {
    EXPECT_EQ(U8(IntToStr(0)), "0");
    EXPECT_EQ(U8(IntToStr(-42)), "-42");
    EXPECT_EQ(U8(IntToStr(INT64_MAX)), "9223372036854775807");
    EXPECT_EQ(U8(IntToStr(INT64_MIN)), "-9223372036854775808");

    EXPECT_EQ(U8(IntToHex(std::int32_t{255}, 4)), "00FF");
    EXPECT_EQ(U8(IntToHex(std::int32_t{0x1ABCD}, 2)), "1ABCD");  // never cut
    EXPECT_EQ(U8(IntToHex(std::int32_t{0}, 0)), "0");
    EXPECT_EQ(U8(IntToHex(std::int32_t{-1}, 1)), "FFFFFFFF");
    EXPECT_EQ(U8(IntToHex(std::int32_t{INT32_MIN}, 10)), "0080000000");
    EXPECT_EQ(U8(IntToHex(std::int64_t{-1}, 1)), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(U8(IntToHex(std::int64_t{-2}, 20)), "0000FFFFFFFFFFFFFFFE");
    EXPECT_EQ(U8(IntToHex(std::int64_t{0xDEADBEEF}, -3)), "DEADBEEF");
}

TEST(StrToInt, AcceptsDecimalHexSignsAndLeadingBlanks) {
    EXPECT_EQ(StrToInt(u"0"), 0);
    EXPECT_EQ(StrToInt(u"-12"), -12);
    EXPECT_EQ(StrToInt(u"+7"), 7);
    EXPECT_EQ(StrToInt(u"  \t 99"), 99);
    EXPECT_EQ(StrToInt(u"$FF"), 255);
    EXPECT_EQ(StrToInt(u"$ff"), 255);
    EXPECT_EQ(StrToInt(u"0x1F"), 31);
    EXPECT_EQ(StrToInt(u"0X1f"), 31);
    EXPECT_EQ(StrToInt(u"-$10"), -16);
    EXPECT_EQ(StrToInt(u"000123"), 123);
    EXPECT_EQ(StrToInt(u"2147483647"), INT32_MAX);
    EXPECT_EQ(StrToInt(u"-2147483648"), INT32_MIN);
    // Unsigned hex spans the type's bit pattern, mirroring IntToHex.
    EXPECT_EQ(StrToInt(u"$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt(u"$80000000"), INT32_MIN);
    EXPECT_EQ(StrToInt(u"-$80000000"), INT32_MIN);
    EXPECT_EQ(StrToInt(u"$" + IntToHex(std::int32_t{-123456}, 8)), -123456);

    EXPECT_EQ(StrToInt64(u"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64(u"-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64(u"$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64(u"4294967296"), 4294967296LL);
}

TEST(StrToInt, RejectsJunkEmptyTextAndOverflow) {
    for (const String s : {u"",           u" ",           u"-",
                           u"+",          u"$",           u"0x",
                           u"12a",        u"1 ",          u"1 2",
                           u"--1",        u"+-1",         u"- 1",
                           u"1.0",        u"1e3",         u"$G",
                           u"0x-1",       u"$-1",         u"\u0661",
                           u"2147483648", u"-2147483649", u"99999999999999999999999",
                           u"$100000000", u"-$80000001",  u"-$FFFFFFFF"}) {
        std::int32_t v = 77;
        EXPECT_FALSE(TryStrToInt(s, v)) << U8(s);
        EXPECT_EQ(v, 77) << "failed parse must not touch the output: " << U8(s);
        EXPECT_THROW(StrToInt(s), EConvertError) << U8(s);
    }
    EXPECT_EQ(ConvertErrorOf([] { StrToInt(u"12x"); }), "'12x' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { StrToInt(u""); }), "'' is not a valid integer value");
    EXPECT_THROW(StrToInt64(u"9223372036854775808"), EConvertError);
    EXPECT_THROW(StrToInt64(u"-9223372036854775809"), EConvertError);
    EXPECT_THROW(StrToInt64(u"$10000000000000000"), EConvertError);
    EXPECT_THROW(StrToInt64(u"18446744073709551616"), EConvertError);
}

TEST(StrToFloat, ParsesTheDocumentedGrammarCorrectlyRounded) {
    EXPECT_EQ(StrToFloat(u"0.1"), 0.1L);
    EXPECT_EQ(StrToFloat(u"  -2.5e3  "), -2500.0L);
    EXPECT_EQ(StrToFloat(u"+1E-2"), 0.01L);
    EXPECT_EQ(StrToFloat(u"5."), 5.0L);
    EXPECT_EQ(StrToFloat(u".25"), 0.25L);
    EXPECT_EQ(StrToFloat(u"007"), 7.0L);
    EXPECT_EQ(StrToFloat(u"1e+0"), 1.0L);
    // Ties at the 64-bit mantissa round to even: 2^64 + 1 and 2^64 + 3 lie halfway.
    const long double two64 = std::ldexp(1.0L, 64);
    EXPECT_EQ(StrToFloat(u"18446744073709551617"), two64);
    EXPECT_EQ(StrToFloat(u"18446744073709551619"), two64 + 4);
    // A double-only parser would lose these.
    EXPECT_NE(StrToFloat(u"0.1"), static_cast<long double>(0.1));
    EXPECT_EQ(StrToFloat(u"1e400"), 1e400L);
    EXPECT_EQ(StrToFloat(u"1.18973149535723176502e4932"), kLdMax);
    // Subnormals come out correctly rounded; values below half the smallest become zero.
    EXPECT_EQ(StrToFloat(u"3.6e-4951"), kLdTrueMin);
    EXPECT_EQ(StrToFloat(u"3.3621031431120935063e-4932"), std::numeric_limits<long double>::min());
    EXPECT_EQ(StrToFloat(u"1e-5000"), 0.0L);
    EXPECT_TRUE(std::signbit(StrToFloat(u"-1e-5000")));
}

TEST(StrToFloat, SpecialValuesAndRejections) {
    EXPECT_EQ(StrToFloat(u"INF"), std::numeric_limits<long double>::infinity());
    EXPECT_EQ(StrToFloat(u" -inf"), -std::numeric_limits<long double>::infinity());
    EXPECT_EQ(StrToFloat(u"+Inf"), std::numeric_limits<long double>::infinity());
    EXPECT_TRUE(std::isnan(StrToFloat(u"nan")));
    EXPECT_TRUE(std::isnan(StrToFloat(u"NAN ")));

    for (const String s : {u"", u"  ", u".", u"-", u"e5", u"1e", u"1e+", u"1.2.3", u"1,5", u"0x10",
                           u"1f", u"INFINITY", u"- 1", u"1 e5", u"\u0661", u"1e5000", u"-1e5000",
                           u"1.18973149535723176509e4932"}) {
        long double v = 3;
        EXPECT_FALSE(TryStrToFloat(s, v)) << U8(s);
        EXPECT_EQ(v, 3) << U8(s);
    }
    // Overflow is an error rather than a silent infinity.
    EXPECT_EQ(ConvertErrorOf([] { StrToFloat(u"1e5000"); }),
              "'1e5000' is not a valid floating point value");
    EXPECT_EQ(ConvertErrorOf([] { StrToFloat(u"1,5"); }),
              "'1,5' is not a valid floating point value");
}

TEST(FloatToStr, ChoosesPlainOrExponentFormByMagnitude) {
    EXPECT_EQ(U8(FloatToStr(0.0001L)), "0.0001");
    EXPECT_EQ(U8(FloatToStr(0.00001L)), "1E-5");
    EXPECT_EQ(U8(FloatToStr(1e20L)), "1E20");
    EXPECT_EQ(U8(FloatToStr(123.456L)), "123.456");
    EXPECT_EQ(U8(FloatToStr(-1.5e-7L)), "-1.5E-7");
    EXPECT_EQ(U8(FloatToStr(1e14L)), "100000000000000");
    EXPECT_EQ(U8(FloatToStr(1e15L)), "1E15");
    EXPECT_EQ(U8(FloatToStr(0.0L)), "0");
    EXPECT_EQ(U8(FloatToStr(-0.0L)), "0");
    EXPECT_EQ(U8(FloatToStr(-42.0L)), "-42");
    EXPECT_EQ(U8(FloatToStr(0.1L)), "0.1");
    EXPECT_EQ(U8(FloatToStr(1.0L / 3)), "0.333333333333333");
    EXPECT_EQ(U8(FloatToStr(2.0L / 3)), "0.666666666666667");
    // Rounding to 15 digits can carry into a new power of ten and change the form.
    EXPECT_EQ(U8(FloatToStr(999999999999999.9L)), "1E15");
    EXPECT_EQ(U8(FloatToStr(9.9999999999999999e-5L)), "0.0001");
    EXPECT_EQ(U8(FloatToStr(kLdMax)), "1.18973149535723E4932");
    EXPECT_EQ(U8(FloatToStr(kLdTrueMin)), "3.64519953188247E-4951");
    EXPECT_EQ(U8(FloatToStr(std::numeric_limits<long double>::quiet_NaN())), "NAN");
    EXPECT_EQ(U8(FloatToStr(std::numeric_limits<long double>::infinity())), "INF");
    EXPECT_EQ(U8(FloatToStr(-std::numeric_limits<long double>::infinity())), "-INF");
    // The text reads back as the same 15-digit value.
    for (const long double v : {0.1L, 1e-300L, 6.02214076e23L, -kLdMax, 1234567.890123L})
        EXPECT_EQ(FloatToStr(StrToFloat(FloatToStr(v))), FloatToStr(v));
}

TEST(StrFixed, RoundsTheExactBinaryValue) {
    EXPECT_EQ(U8(StrFixed(3.14159L, 8, 3)), "   3.142");
    EXPECT_EQ(U8(StrFixed(-1.5L, 0, 1)), "-1.5");
    EXPECT_EQ(U8(StrFixed(42.0L, 0, 0)), "42");
    EXPECT_EQ(U8(StrFixed(0.5L, 0, 3)), "0.500");
    EXPECT_EQ(U8(StrFixed(123456.0L, 3, 1)), "123456.0");  // never cut
    EXPECT_EQ(U8(StrFixed(7.0L, -5, 0)), "7");
    // Exact binary halves round to even.
    EXPECT_EQ(U8(StrFixed(2.5L, 0, 0)), "2");
    EXPECT_EQ(U8(StrFixed(3.5L, 0, 0)), "4");
    EXPECT_EQ(U8(StrFixed(0.125L, 0, 2)), "0.12");
    EXPECT_EQ(U8(StrFixed(0.375L, 0, 2)), "0.38");
    // The double 1.005 lies a little below 1.005, the double 0.45 a little above 0.45.
    EXPECT_EQ(U8(StrFixed(1.005, 0, 2)), "1.00");
    EXPECT_EQ(U8(StrFixed(0.45, 0, 1)), "0.5");
    EXPECT_EQ(U8(StrFixed(2.675, 0, 2)), "2.67");
    EXPECT_EQ(U8(StrFixed(9.996L, 0, 2)), "10.00");
    // Negative values that print as zero lose their sign.
    EXPECT_EQ(U8(StrFixed(-0.004L, 6, 2)), "  0.00");
    EXPECT_EQ(U8(StrFixed(-0.0L, 0, 0)), "0");
    EXPECT_EQ(U8(StrFixed(-0.4L, 0, 0)), "0");
    EXPECT_EQ(U8(StrFixed(-0.006L, 0, 2)), "-0.01");
    // Every digit of the stored value is available.
    EXPECT_EQ(U8(StrFixed(0.1L, 0, 25)), "0.1000000000000000000013553");
    EXPECT_EQ(StrFixed(kLdMax, 0, 0).size(), 4933u);
    const String tiny = StrFixed(kLdTrueMin, 0, 20000);
    EXPECT_EQ(tiny.size(), 20002u);
    EXPECT_EQ(tiny.find_first_not_of(u"0.", 0), 4952u);  // first significant digit
    EXPECT_EQ(tiny.substr(4952, 5), u"36451");
}

TEST(StrFixed, SpecialValuesAndBadDecimals) {
    EXPECT_EQ(U8(StrFixed(std::numeric_limits<long double>::quiet_NaN(), 6, 2)), "   NAN");
    EXPECT_EQ(U8(StrFixed(std::numeric_limits<long double>::infinity(), 6, 2)), "  +INF");
    EXPECT_EQ(U8(StrFixed(-std::numeric_limits<long double>::infinity(), 0, 2)), "-INF");
    EXPECT_EQ(ConvertErrorOf([] { StrFixed(1, 0, -1); }),
              "StrFixed: the number of decimals must not be negative (got -1)");
}

TEST(StrExpo, LaysOutSignDigitsAndFourDigitExponent) {
    EXPECT_EQ(U8(StrExpo(1234.56L, 12)), " 1.235E+0003");
    EXPECT_EQ(U8(StrExpo(-1234.56L, 12)), "-1.235E+0003");
    EXPECT_EQ(U8(StrExpo(0.00123L, 10)), " 1.2E-0003");
    // Widths below 10 still give two significant digits.
    EXPECT_EQ(U8(StrExpo(5.0L, 0)), " 5.0E+0000");
    EXPECT_EQ(U8(StrExpo(5.0L, -100)), " 5.0E+0000");
    EXPECT_EQ(U8(StrExpo(0.0L, 10)), " 0.0E+0000");
    EXPECT_EQ(U8(StrExpo(-0.0L, 12)), " 0.000E+0000");
    // Exact halves round to even, like the fixed form.
    EXPECT_EQ(U8(StrExpo(1234.5L, 12)), " 1.234E+0003");
    EXPECT_EQ(U8(StrExpo(1235.5L, 12)), " 1.236E+0003");
    // Rounding that carries renormalises the mantissa.
    EXPECT_EQ(U8(StrExpo(9.9996L, 11)), " 1.00E+0001");
    EXPECT_EQ(U8(StrExpo(-9.96e-10L, 10)), "-1.0E-0009");
    // The extremes of the extended range need all four exponent digits.
    EXPECT_EQ(U8(StrExpo(kLdMax, 14)), " 1.18973E+4932");
    EXPECT_EQ(U8(StrExpo(kLdTrueMin, 14)), " 3.64520E-4951");
    EXPECT_EQ(U8(StrExpo(0.1L, 30)), " 1.000000000000000000014E-0001");
    EXPECT_EQ(StrExpo(1.0L, 20008).size(), 20008u);
    EXPECT_EQ(U8(StrExpo(std::numeric_limits<long double>::quiet_NaN(), 8)), "     NAN");
    EXPECT_EQ(U8(StrExpo(-std::numeric_limits<long double>::infinity(), 5)), " -INF");

    EXPECT_EQ(StrReal(2.5L, 6, 1), StrFixed(2.5L, 6, 1));
    EXPECT_EQ(StrReal(2.5L, 12, -1), StrExpo(2.5L, 12));
}

TEST(FloatText, IgnoresTheProcessLocale) {
    QORKIT_NEED_COMMA_LOCALE(comma);
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, comma);
    const String fixed = StrFixed(1.5L, 0, 2);
    const String expo = StrExpo(1.5L, 10);
    const String general = FloatToStr(1.25L);
    long double parsed = 0;
    const bool ok = TryStrToFloat(u"2.75", parsed);
    const bool commaOk = TryStrToFloat(u"2,75", parsed);
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_EQ(U8(fixed), "1.50");
    EXPECT_EQ(U8(expo), " 1.5E+0000");
    EXPECT_EQ(U8(general), "1.25");
    EXPECT_TRUE(ok);
    EXPECT_FALSE(commaOk);
}

TEST(Pos, FindsOneBasedPositions) {
    EXPECT_EQ(Pos(u"lo", u"hello world"), 4);
    EXPECT_EQ(Pos(u"h", u"hello"), 1);
    EXPECT_EQ(Pos(u"o", u"hello"), 5);
    EXPECT_EQ(Pos(u"xyz", u"hello"), 0);
    EXPECT_EQ(Pos(u"", u"hello"), 0);
    EXPECT_EQ(Pos(u"hello!", u"hello"), 0);
    EXPECT_EQ(Pos(u"a", u""), 0);

    EXPECT_EQ(PosEx(u"o", u"hello world", 6), 8);
    EXPECT_EQ(PosEx(u"o", u"hello world", 5), 5);
    EXPECT_EQ(PosEx(u"d", u"hello world", 11), 11);
    EXPECT_EQ(PosEx(u"d", u"hello world", 12), 0);
    EXPECT_EQ(PosEx(u"h", u"hello world", 0), 0);
    EXPECT_EQ(PosEx(u"h", u"hello world", -3), 0);
    EXPECT_EQ(PosEx(u"", u"hello world", 2), 0);
}

TEST(AsciiCase, FoldsOnlyTheBasicLatinLetters) {
    EXPECT_EQ(LowerCase(u"ABC xyz \u00C9\u0100[@`{"), u"abc xyz \u00C9\u0100[@`{");
    EXPECT_EQ(UpperCase(u"abc XYZ \u00E9\u0101[@`{"), u"ABC XYZ \u00E9\u0101[@`{");
    EXPECT_EQ(UpCase(u'a'), u'A');
    EXPECT_EQ(UpCase(u'z'), u'Z');
    EXPECT_EQ(UpCase(u'{'), u'{');
    EXPECT_EQ(UpCase(u'\u00E9'), u'\u00E9');
}
