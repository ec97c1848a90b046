#include <gtest/gtest.h>

#include "qorkit/strings/string_layout.h"

using namespace qorkit;

TEST(StringLayout, PadsToWidthOrKeepsTheFirstCharacters) {
    EXPECT_EQ(LeftString(u"ab", 5), u"ab   ");
    EXPECT_EQ(RightString(u"ab", 5), u"   ab");
    EXPECT_EQ(CenterString(u"ab", 5), u" ab  ");
    EXPECT_EQ(CenterString(u"ab", 6), u"  ab  ");
    EXPECT_EQ(CenterString(u"a", 4), u" a  ");
    EXPECT_EQ(RightString(u"abcdef", 3), u"abc");
    EXPECT_EQ(LeftString(u"abcdef", 3), u"abc");
    EXPECT_EQ(CenterString(u"abcdef", 3), u"abc");
    for (auto f : {LeftString, RightString, CenterString}) {
        EXPECT_EQ(f(u"abc", 3), u"abc");
        EXPECT_EQ(f(u"abc", 0), u"");
        EXPECT_EQ(f(u"", 0), u"");
        EXPECT_EQ(f(u"", 2), u"  ");
        EXPECT_EQ(f(u"", 255).size(), 255u);
        EXPECT_EQ(f(String(300, u'x'), 255), String(255, u'x'));
    }
}

TEST(StringLayout, AbbrevStringCutsWithTwoPoints) {
    EXPECT_EQ(AbbrevString(u"abcdefgh", 5), u"abc..");
    EXPECT_EQ(AbbrevString(u"abcde", 5), u"abcde");
    EXPECT_EQ(AbbrevString(u"abcdef", 5), u"abc..");
    EXPECT_EQ(AbbrevString(u"abc", 2), u"..");
    EXPECT_EQ(AbbrevString(u"abc", 1), u"..");
    EXPECT_EQ(AbbrevString(u"abc", 0), u"..");
    EXPECT_EQ(AbbrevString(u"a", 1), u"a");
    EXPECT_EQ(AbbrevString(u"", 0), u"");
    EXPECT_EQ(AbbrevString(u"", -1), u"..");  // every string is longer than a negative width
}

TEST(StringLayout, MultiCharClampsToOneThrough255) {
    EXPECT_EQ(MultiChar(u'*', 0), u"*");
    EXPECT_EQ(MultiChar(u'*', -7), u"*");
    EXPECT_EQ(MultiChar(u'*', 1), u"*");
    EXPECT_EQ(MultiChar(u'*', 3), u"***");
    EXPECT_EQ(MultiChar(u'*', 255), String(255, u'*'));
    EXPECT_EQ(MultiChar(u'*', 256), String(255, u'*'));
    EXPECT_EQ(MultiChar(u'\u20AC', 300), String(255, u'\u20AC'));
}

TEST(StringLayout, ReverseStringReversesCodeUnits) {
    EXPECT_EQ(ReverseString(u""), u"");
    EXPECT_EQ(ReverseString(u"a"), u"a");
    EXPECT_EQ(ReverseString(u"abc"), u"cba");
    EXPECT_EQ(ReverseString(u"ab\u00FF\u0100"), u"\u0100\u00FFba");
}
