#include <gtest/gtest.h>

#include "qorkit/strings/string_case.h"

using namespace qorkit;

TEST(StringCase, CapitalizeUpperCasesWordStartsAToZOnly) {
    EXPECT_EQ(CapitalizeString(u"hello wORLD-x2y"), u"Hello WORLD-X2y");
    EXPECT_EQ(CapitalizeString(u""), u"");
    EXPECT_EQ(CapitalizeString(u"a"), u"A");
    EXPECT_EQ(CapitalizeString(u"2nd place"), u"2nd Place");  // a digit ends the word start
    EXPECT_EQ(CapitalizeString(u"o'neil mc_do"), u"O'Neil Mc_Do");
    // Characters above 127 continue a word and are never changed.
    EXPECT_EQ(CapitalizeString(u"\u00E4pfel \u00FCber"), u"\u00E4pfel \u00FCber");
    EXPECT_EQ(CapitalizeString(u"stra\u00DFe x"), u"Stra\u00DFe X");
    EXPECT_EQ(CapitalizeString(u"\x7F"
                               u"a \x80"
                               u"a \u0100a"),
              u"\x7F"
              u"A \x80"
              u"a \u0100a");
    EXPECT_EQ(CapitalizeString(u"\u00FFx \u0100y"), u"\u00FFx \u0100y");
}

TEST(StringCase, ChangeCaseSwapsWithTheUnicodeTable) {
    EXPECT_EQ(ChangeCase(u""), u"");
    EXPECT_EQ(ChangeCase(u"a"), u"A");
    EXPECT_EQ(ChangeCase(u"Hello World 42"), u"hELLO wORLD 42");
    EXPECT_EQ(ChangeCase(u"\u00C4rger \u00E4"), u"\u00E4RGER \u00C4");
    EXPECT_EQ(ChangeCase(u"Stra\u00DFe \u03A9\u03C9"), u"sTRA\u00DFE \u03C9\u03A9");
    EXPECT_EQ(ChangeCase(u"\u00FF\u0178"), u"\u0178\u00FF");  // ÿ <-> Ÿ crosses 255/376
    EXPECT_EQ(ChangeCase(ChangeCase(u"MiXeD \u0416\u0436")), u"MiXeD \u0416\u0436");
}

TEST(StringCase, EqualAnsiStringsIgnoresCaseAndStopsAtNul) {
    EXPECT_TRUE(EqualAnsiStrings(u"", u""));
    EXPECT_TRUE(EqualAnsiStrings(u"\u00C4RGER", u"\u00E4rger"));
    EXPECT_TRUE(EqualAnsiStrings(u"\u0416", u"\u0436"));
    EXPECT_FALSE(EqualAnsiStrings(u"abc", u"abd"));
    EXPECT_FALSE(EqualAnsiStrings(u"ab", u"abc"));
    EXPECT_TRUE(EqualAnsiStrings(String(u"ab\0x", 4), String(u"AB\0y", 4)));
    EXPECT_TRUE(EqualAnsiStrings(String(u"ab\0", 3), u"ab"));
    EXPECT_FALSE(EqualAnsiStrings(String(u"\0ab", 3), u"ab"));
}
