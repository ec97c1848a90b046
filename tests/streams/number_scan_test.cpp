#include "qorkit/streams/number_scan.h"

#include <gtest/gtest.h>

#include "comma_locale.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#include "qorkit/rtl/memory_stream.h"
#include "streams/test_streams.h"

using namespace qorkit;
using qorkit::test::ForwardStream;

namespace {

// Scans `text` and returns the value with the bytes left unread.
std::pair<double, std::string> Fp(const std::string& text, bool allowExp = true, int dec = 1) {
    TStringStream s(text);
    const double v = ScanStreamFPNum(s, allowExp, dec);
    return {v, qorkit::test::RestOf(s)};
}

std::pair<std::int32_t, std::string> Dec(const std::string& text) {
    TStringStream s(text);
    const std::int32_t v = ScanStreamDecimal(s);
    return {v, qorkit::test::RestOf(s)};
}

using P = std::pair<double, std::string>;
using D = std::pair<std::int32_t, std::string>;

}  // namespace

TEST(ScanStreamDecimal, SignsBlanksAndTerminators) {
    EXPECT_EQ(Dec("  -123;x"), (D{-123, "x"}));
    EXPECT_EQ(Dec("\t5"), (D{0, "5"}));  // tabs are not skipped
    EXPECT_EQ(Dec("- 5"), (D{0, "5"}));
    EXPECT_EQ(Dec("\r\n +17 9"), (D{17, "9"}));
    EXPECT_EQ(Dec("42"), (D{42, ""}));
    EXPECT_EQ(Dec(""), (D{0, ""}));
    EXPECT_EQ(Dec("-"), (D{0, ""}));
    EXPECT_EQ(Dec("2147483647 "), (D{2147483647, ""}));
    EXPECT_EQ(Dec("-2147483648 "), (D{INT32_MIN, ""}));
    EXPECT_EQ(Dec("4294967297 "), (D{1, ""}));  // wraps at 32 bits
    ForwardStream f("12 34");
    EXPECT_EQ(ScanStreamDecimal(f), 12);
    EXPECT_EQ(f.Rest(), "34");
}

TEST(ScanStreamFPNum, GrammarAndSeparators) {
    EXPECT_EQ(Fp("12,5", true, 1), (P{12.0, "5"}));
    EXPECT_EQ(Fp("12,5 ", true, 2), (P{12.5, ""}));
    EXPECT_EQ(Fp("1.5,3", true, 3), (P{0.0, "3"}));
    EXPECT_EQ(Fp("1.5", true, 0), (P{1.0, "5"}));  // no separator recognised
    EXPECT_EQ(Fp("5."), (P{5.0, ""}));
    EXPECT_EQ(Fp(". x"), (P{0.0, "x"}));
    EXPECT_EQ(Fp(".25;"), (P{0.25, ""}));
    EXPECT_EQ(Fp("-.5 "), (P{-0.5, ""}));
    EXPECT_EQ(Fp("1e5", false), (P{1.0, "5"}));
    EXPECT_EQ(Fp("1e"), (P{0.0, ""}));
    EXPECT_EQ(Fp("1e+"), (P{0.0, ""}));
    EXPECT_EQ(Fp("1e 5"), (P{0.0, "5"}));
    EXPECT_EQ(Fp("1e5e7"), (P{1e5, "7"}));
    EXPECT_EQ(Fp("-2.5E-3x"), (P{-0.0025, ""}));
    EXPECT_EQ(Fp("+-1"), (P{0.0, "1"}));
    EXPECT_EQ(Fp("abc"), (P{0.0, "bc"}));
    EXPECT_EQ(Fp("E5"), (P{0.0, "5"}));
    EXPECT_EQ(Fp(""), (P{0.0, ""}));
    EXPECT_EQ(Fp("\t\r\n 7\t8"), (P{7.0, "8"}));
    EXPECT_EQ(Fp("3-4"), (P{3.0, "4"}));
    const P negZero = Fp("-0 ");
    EXPECT_TRUE(std::signbit(negZero.first));
}

TEST(ScanStreamFPNum, ExponentBoundAndClamp) {
    EXPECT_EQ(Fp("1E400").first, 1.7e308);
    EXPECT_EQ(Fp("-1E400").first, -1.7e308);
    EXPECT_EQ(Fp("1.75e308").first, 1.7e308);  // above the bound though a finite double
    EXPECT_EQ(Fp("1.69e308").first, 1.69e308);
    EXPECT_EQ(Fp("1E99999;rest"), (P{1.7e308, "rest"}));
    EXPECT_EQ(Fp("1E-99999 ").first, 0.0);
    EXPECT_EQ(Fp("1E0000000000002 ").first, 100.0);  // leading zeros keep the value small
    // 1E4200 is inside the extended range; digits can bring it back into double range.
    EXPECT_EQ(Fp("0." + std::string(4190, '0') + "1E4200 ").first, 1e9);
    // Exponent digits past 4200 are dropped, not the number: 1E42009 reads as 1E4200.
    EXPECT_EQ(Fp("0." + std::string(4190, '0') + "1E42009 ").first, 1e9);
    EXPECT_EQ(Fp(std::string(5000, '9') + "E4200 ").first, 1.7e308);
    EXPECT_EQ(Fp("1E-5000 ").first, 0.0);
}

TEST(ScanStreamFPNum, CorrectlyRoundedAndLocaleFree) {
    // Halfway cases and long inputs round correctly; the long double step rounds to 64 bits
    // first, as the format prescribes.
    EXPECT_EQ(Fp("0.1 ").first, 0.1);
    EXPECT_EQ(Fp("2.2250738585072014e-308 ").first, 2.2250738585072014e-308);
    EXPECT_EQ(Fp("4.9406564584124654e-324 ").first, 4.9406564584124654e-324);
    EXPECT_EQ(Fp("123456789012345678901234567890 ").first, 1.2345678901234568e29);
    EXPECT_EQ(Fp("9007199254740993 ").first, static_cast<double>(9007199254740993.0L));
}

TEST(ScanStreamFPNum, IgnoresACommaLocale) {
    QORKIT_NEED_COMMA_LOCALE(comma);
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, comma);
    const double point = Fp("1.5 ").first;
    const double either = Fp("1,5 ", true, 2).first;
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(point, 1.5);
    EXPECT_EQ(either, 1.5);
}
