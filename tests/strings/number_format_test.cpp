#include <gtest/gtest.h>

#include "comma_locale.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "qorkit/rtl/random.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/strings/number_format.h"

using namespace qorkit;

namespace {

std::string U8(const String& s) {
    return ToUtf8(s);
}

}  // namespace

TEST(Strff, FixedFormPadsWithBlanksOrMovesTheSignBeforeZeros) {
    EXPECT_EQ(U8(strff(3.14159L, 8, 3)), "   3.142");
    EXPECT_EQ(U8(strff(-2.5L, -7, 2)), "-002.50");
    EXPECT_EQ(U8(strff(5, -4, 1)), "05.0");
    EXPECT_EQ(U8(strff(-5, -2, 0)), "-5");          // no blank to fill: the sign stays in front
    EXPECT_EQ(U8(strff(123.456L, 2, 1)), "123.5");  // never cut
    EXPECT_EQ(U8(strff(-0.004L, 6, 2)), "  0.00");  // no "-0.00"
    EXPECT_EQ(U8(strff(2.5L, 0, 0)), "2");          // exact half to even
}

TEST(Strff, ExponentForms) {
    EXPECT_EQ(U8(strff(4567.89L, 10, -2)), " 4.568E+03");
    EXPECT_EQ(U8(strff(1.5e200L, 10, -2)), "**********");
    EXPECT_EQ(U8(strff(1.5e-200L, 9, -2)), "*********");
    EXPECT_EQ(U8(strff(4567.89L, 12, -1)), " 4.568E+0003");
    EXPECT_EQ(U8(strff(4567.89L, 12, -7)), " 4.568E+0003");
    EXPECT_EQ(U8(strff(-0.000123L, 9, -2)), "-1.23E-04");
    EXPECT_EQ(U8(strff(4567.89L, 3, -2)), " 4.6E+03");  // at least two digits
    EXPECT_EQ(U8(strff(4567.89L, -10, -2)), "04.568E+03");
    EXPECT_EQ(U8(strff(0, 10, -2)), " 0.000E+00");
}

TEST(Strff, NonFiniteValuesAreBlankPaddedWords) {
    const long double inf = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(U8(strff(std::nanl(""), 5, 2)), "  NAN");
    EXPECT_EQ(U8(strff(inf, -6, 2)), "  +INF");
    EXPECT_EQ(U8(strff(-inf, 6, -2)), "  -INF");
    EXPECT_EQ(U8(strffForcePlus(inf, 6, 0)), "  +INF");
}

TEST(Strff, AgreesWithTheGeneralConversionOnRandomDoubles) {
    // The double fast path must give exactly the digits of the extended conversion.
    const std::uint32_t saved = RandSeed;
    RandSeed = 12345;
    for (int i = 0; i < 20000; ++i) {
        const double mag = std::pow(10.0, Random(40) - 20);
        const double x = (Random() - 0.5) * mag;
        const std::int32_t d = Random(12);
        ASSERT_EQ(U8(strff(x, 12, d)), U8(StrFixed(x, 12, d))) << x << " " << d;
        const std::int32_t w = 2 + Random(40);
        ASSERT_EQ(U8(strff(x, w, -1)), U8(StrExpo(x, w))) << x << " " << w;
    }
    for (double x : {0.0, -0.0, 5e-324, -1.7976931348623157e308, 9.5, 9.9999999})
        for (std::int32_t w : {0, 9, 10, 11, 30})
            EXPECT_EQ(U8(strff(x, w, -1)), U8(StrExpo(x, w))) << x << " " << w;
    // Exact halves and carries.
    EXPECT_EQ(U8(strff(0.125, 0, 2)), "0.12");
    EXPECT_EQ(U8(strff(0.375, 0, 2)), "0.38");
    EXPECT_EQ(U8(strff(9.9996, 0, 3)), "10.000");
    EXPECT_EQ(U8(strff(1e30, 0, 0)), "1000000000000000019884624838656");
    RandSeed = saved;
}

TEST(StrffForcePlus, PutsThePlusWhereThePaddingWas) {
    EXPECT_EQ(U8(strffForcePlus(5, 4, 0)), "  +5");
    EXPECT_EQ(U8(strffForcePlus(5, -3, 0)), "+05");
    EXPECT_EQ(U8(strffForcePlus(0.25L, 0, 2)), "+0.25");
    EXPECT_EQ(U8(strffForcePlus(0, 0, 0)), "+0");
    EXPECT_EQ(U8(strffForcePlus(-5, 4, 0)), "  -5");
    EXPECT_EQ(U8(strffForcePlus(12, 2, 0)), "+12");
    EXPECT_EQ(U8(strffForcePlus(4567.89L, -10, -2)), "+4.568E+03");
    EXPECT_EQ(U8(strffForcePlus(4567.89L, 10, -2)), "+4.568E+03");
}

TEST(FormatData, SwitchesToExponentFormOutsideNineDigits) {
    EXPECT_EQ(U8(FormatData(3.14159, 8, 3)), "   3.142");
    EXPECT_EQ(U8(FormatData(234567.8, 8, 3)), " 2.3456780E+05");
    EXPECT_EQ(U8(FormatData(0.0004, 8, 3)), " 4.0000000E-04");
    EXPECT_EQ(U8(FormatData(0, 8, 3)), "   0.000");
    EXPECT_EQ(U8(FormatData(1, 8, 9)), " 1.0000000E+00");
    EXPECT_EQ(U8(FormatData(1, 8, -1)), " 1.0000000E+00");
    EXPECT_EQ(U8(FormatData(999999999, 0, 0)), "999999999");
    EXPECT_EQ(U8(FormatData(1e9, 4, 0)), " 1.000E+09");
    EXPECT_EQ(U8(FormatData(-99999.999, 0, 3)), "-99999.999");
    EXPECT_EQ(U8(FormatData(100000, 8, 3)), " 1.0000000E+05");
    // The limits themselves, written as doubles, are inside.
    EXPECT_EQ(U8(FormatData(9999999.9, 0, 1)), "9999999.9");
    EXPECT_EQ(U8(FormatData(0.000001, 0, 6)), "0.000001");
    EXPECT_EQ(U8(FormatData(-1e-8, 0, 8)), "-0.00000001");
    // A negative width gives no zero padding in the fixed form.
    EXPECT_EQ(U8(FormatData(1.5, -6, 1)), "1.5");
    EXPECT_EQ(U8(FormatData(std::nan(""), 5, 2)), "  NAN");
}

TEST(SigDigStr, ChoosesDecimalsFromTheSignificantDigits) {
    EXPECT_EQ(U8(SigDigStr(4567.89, 10, 3)), "      4568");
    EXPECT_EQ(U8(SigDigStr(0.023456, 8, 3)), "  0.0235");
    EXPECT_EQ(U8(SigDigStr(0.00023456, 8, 3)), " 2.35E-04");
    EXPECT_EQ(U8(SigDigStr(0, 8, 3)), "    0.00");
    EXPECT_EQ(U8(SigDigStr(0, 8, 3, true)), "0.00");
    EXPECT_EQ(U8(SigDigStr(0, 4, 0)), "   0");
    EXPECT_EQ(U8(SigDigStr(4567.89, 4, 3)), " 4.57E+03");  // integer part does not fit
    EXPECT_EQ(U8(SigDigStr(-12.345, 8, 3, true)), "-12.3");
    // Powers of ten have exactly their number of integer digits.
    EXPECT_EQ(U8(SigDigStr(0.1, 8, 3)), "   0.100");
    EXPECT_EQ(U8(SigDigStr(1000, 8, 3)), "    1000");
    EXPECT_EQ(U8(SigDigStr(1, 8, 3)), "    1.00");
    EXPECT_EQ(U8(SigDigStr(std::numeric_limits<double>::infinity(), 6, 3)), "  +INF");
    EXPECT_EQ(U8(SigDigStr(5e-324, 8, 3)), "*********");  // exponent beyond two digits
}

TEST(AutoFormatData, CompactTextWithSignificantDigits) {
    EXPECT_EQ(U8(AutoFormatData(123.456, 4)), "123.5");
    EXPECT_EQ(U8(AutoFormatData(4567.89, 4)), "4.568E+03");
    EXPECT_EQ(U8(AutoFormatData(0.5, 3)), "0.50");
    EXPECT_EQ(U8(AutoFormatData(0.05, 3)), "5.00E-02");
    EXPECT_EQ(U8(AutoFormatData(0, 3)), "0.00");
    EXPECT_EQ(AutoFormatData(123.456, 1), AutoFormatData(123.456, 2));
    EXPECT_EQ(AutoFormatData(1.0 / 3, 40), AutoFormatData(1.0 / 3, 16));
    EXPECT_EQ(U8(AutoFormatData(123.456, 4, true)), "123,5");
    EXPECT_EQ(U8(AutoFormatData(-2.5, 3)), "-2.50");
    EXPECT_EQ(U8(AutoFormatData(0.1, 3)), "1.00E-01");  // log10 is exactly -1
    EXPECT_EQ(U8(AutoFormatData(100, 3)), "1.00E+02");  // log10 is exactly n - 1
    EXPECT_EQ(U8(AutoFormatData(99.9, 3)), "99.9");
    EXPECT_EQ(U8(AutoFormatData(std::nan(""), 3)), "NAN");
}

TEST(NumberFormat, IgnoresACommaLocale) {
    QORKIT_NEED_COMMA_LOCALE(found);
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, found);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const String a = strff(1.5L, 0, 2);
    const String b = FormatData(234567.8, 8, 3);
    const String c = AutoFormatData(0.5, 3);
    const String d = SigDigStr(0.023456, 8, 3);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(std::string(probe), "1,5") << found;  // the locale really uses a comma
    EXPECT_EQ(U8(a), "1.50");
    EXPECT_EQ(U8(b), " 2.3456780E+05");
    EXPECT_EQ(U8(c), "0.50");
    EXPECT_EQ(U8(d), "  0.0235");
}

TEST(SortableNumericString, AlignsOnTheDecimalCharacter) {
    EXPECT_EQ(U8(SortableNumericString(u" 12.5 ", u'.', 5)), "  12.5");
    EXPECT_EQ(U8(SortableNumericString(u"123", u'.', 5)), "     123");
    EXPECT_EQ(U8(SortableNumericString(u"12345.6", u'.', 3)), "12345.6");
    EXPECT_EQ(U8(SortableNumericString(u"1,5", u',', 3)), " 1,5");
    EXPECT_EQ(U8(SortableNumericString(u"", u'.', 2)), "  ");
}

TEST(TimeString, AllModes) {
    const char* expected[] = {"01:02:05.50", "01:02:05", " 1h02", " 1h02'05\"", "01:02", " 1:02a"};
    for (std::uint8_t m = 0; m < 6; ++m)
        EXPECT_EQ(U8(TimeString(3725.5, m)), expected[m]) << int(m);
    EXPECT_EQ(U8(TimeString(3725.5, 9)), "");
    EXPECT_EQ(U8(TimeString(-10, 0)), "00:00:00.00");
    EXPECT_EQ(U8(TimeString(std::nan(""), 0)), "00:00:00.00");
    EXPECT_EQ(U8(TimeString(360000, 1)), "100:00:00");
    EXPECT_EQ(U8(TimeString(1800, 5)), "12:30a");
    EXPECT_EQ(U8(TimeString(12 * 3600, 5)), "12:00p");
    EXPECT_EQ(U8(TimeString(13 * 3600 + 300, 5)), " 1:05p");
    EXPECT_EQ(U8(TimeString(59.999, 0)), "00:00:59.99");  // hundredths are truncated
}

TEST(TimeString, LongDurationsKeepAllTheirHours) {
    // 65536 hours and 1 minute: no wrap-around of the hour count.
    EXPECT_EQ(U8(TimeString(65536.0 * 3600 + 60, 1)), "65536:01:00");
    EXPECT_EQ(U8(TimeString(std::numeric_limits<double>::infinity(), 4)), "4503599627370496:00");
}

TEST(BoolAndTriState, TablesAndParsing) {
    const char* t[] = {"TRUE", "T", ".T.", "1", "-1", "FF", "YES", "GOOD"};
    const char* f[] = {"FALSE", "F", ".F.", "0", "0", "00", "NO", "BAD"};
    for (int m = 0; m < 8; ++m) {
        EXPECT_EQ(U8(BoolToStr(true, m)), t[m]);
        EXPECT_EQ(U8(BoolToStr(false, m)), f[m]);
    }
    EXPECT_EQ(U8(BoolToStr(true, -1)), "TRUE");
    EXPECT_EQ(U8(BoolToStr(false, 8)), "FALSE");
    EXPECT_EQ(U8(BinString(true, u"on", u"off")), "on");
    EXPECT_EQ(U8(BinString(false, u"on", u"off")), "off");

    EXPECT_EQ(StrToTriState(u"  YES "), tsTrue);
    EXPECT_EQ(StrToTriState(u"+1"), tsTrue);
    EXPECT_EQ(StrToTriState(u"False"), tsFalse);
    EXPECT_EQ(StrToTriState(u"-1"), tsFalse);
    EXPECT_EQ(StrToTriState(u"maybe"), tsUndefined);
    EXPECT_EQ(StrToTriState(u""), tsUndefined);
    EXPECT_EQ(StrToTriState(u"\tyes"), tsUndefined);  // only blanks are stripped

    EXPECT_EQ(U8(TriStateToStr(tsFalse, 1)), "-1");
    EXPECT_EQ(U8(TriStateToStr(tsUndefined, 1)), "0");
    EXPECT_EQ(U8(TriStateToStr(tsUndefined, 2)), "unknown");
    EXPECT_EQ(U8(TriStateToStr(tsTrue, 7)), "true");
    EXPECT_EQ(U8(TriStateToStr(tsUndefined, 0)), "");
    for (TTriState s : {tsFalse, tsTrue})
        EXPECT_EQ(StrToTriState(TriStateToStr(s, 0)), s);
}
