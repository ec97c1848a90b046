#include <gtest/gtest.h>

#include "qorkit/strings/string_strip.h"

using namespace qorkit;

TEST(StringStrip, BlanksAreOnlyCharacter32) {
    EXPECT_EQ(StripLTBlanks(u"  a b  "), u"a b");
    EXPECT_EQ(StripLTBlanks(u"\ta b\t"), u"\ta b\t");
    EXPECT_EQ(StripLTBlanks(u" \u00A0x\u00A0 "), u"\u00A0x\u00A0");
    EXPECT_EQ(StripLeadingBlanks(u"  a b  "), u"a b  ");
    EXPECT_EQ(StripTrailingBlanks(u"  a b  "), u"  a b");
    EXPECT_EQ(StripTrailingBlanks(u"a \t "), u"a \t");
}

TEST(StringStrip, EmptyOneCharacterAndAllStrippedGiveExpected) {
    for (auto f : {StripLTBlanks, StripLeadingBlanks, StripTrailingBlanks}) {
        EXPECT_EQ(f(u""), u"");
        EXPECT_EQ(f(u" "), u"");
        EXPECT_EQ(f(u"   "), u"");
        EXPECT_EQ(f(u"x"), u"x");
    }
    EXPECT_EQ(StripLeadingChars(u'x', u"xxx"), u"");
    EXPECT_EQ(StripTrailingChars(u'x', u"xxx"), u"");
    EXPECT_EQ(StripLeadingChars(u'x', u""), u"");
    EXPECT_EQ(StripTrailingChars(u'x', u"x"), u"");
}

TEST(StringStrip, ArbitraryCharactersStripOnlyTheirEnd) {
    EXPECT_EQ(StripLeadingChars(u'0', u"0010200"), u"10200");
    EXPECT_EQ(StripTrailingChars(u'0', u"0010200"), u"00102");
    EXPECT_EQ(StripLeadingChars(u'\u0100', u"\u0100\u0100a\u0100"), u"a\u0100");
    EXPECT_EQ(StripTrailingChars(u'a', u"A"), u"A");  // exact case
}

TEST(StringEnsure, AddsOnlyWhenMissingAndNeverToEmpty) {
    EXPECT_EQ(EnsureTrailingBkSlash(u""), u"");
    EXPECT_EQ(EnsureTrailingBkSlash(u"c:"), u"c:\\");
    EXPECT_EQ(EnsureTrailingBkSlash(u"\\"), u"\\");
    EXPECT_EQ(EnsureTrailingBkSlash(u"a\\b"), u"a\\b\\");
    EXPECT_EQ(EnsureTrailingChar(u'/', u""), u"");
    EXPECT_EQ(EnsureTrailingChar(u'/', u"a"), u"a/");
    EXPECT_EQ(EnsureTrailingChar(u'/', u"/"), u"/");
    EXPECT_EQ(EnsureLeadingChar(u'.', u""), u"");
    EXPECT_EQ(EnsureLeadingChar(u'.', u"txt"), u".txt");
    EXPECT_EQ(EnsureLeadingChar(u'.', u".txt"), u".txt");
    EXPECT_EQ(EnsureLeadingChar(u'.', u"t."), u".t.");
}
