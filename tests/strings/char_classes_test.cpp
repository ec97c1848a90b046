#include <gtest/gtest.h>

#include <random>

#include "qorkit/strings/char_classes.h"

using namespace qorkit;

TEST(CharClasses, ClassesAreAsciiOnlyAtEveryBoundary) {
    for (unsigned c = 0; c < 0x10000; ++c) {
        const Char ch = static_cast<Char>(c);
        const bool digit = c >= '0' && c <= '9';
        const bool upper = c >= 'A' && c <= 'Z';
        const bool lower = c >= 'a' && c <= 'z';
        const bool hex = digit || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        ASSERT_EQ(IsDigit(ch), digit) << c;
        ASSERT_EQ(IsLetter(ch), upper || lower) << c;
        ASSERT_EQ(IsDigitLetter(ch), digit || upper || lower) << c;
        ASSERT_EQ(IsHexChar(ch), hex) << c;
    }
}

TEST(CharClasses, UmlautsAreExactlySevenCharacters) {
    std::u16string found;
    for (unsigned c = 0; c < 0x10000; ++c)
        if (IsUmlaut(static_cast<Char>(c))) found.push_back(static_cast<Char>(c));
    EXPECT_EQ(found, u"\u00C4\u00D6\u00DC\u00DF\u00E4\u00F6\u00FC");
    EXPECT_FALSE(IsUmlaut(u'\u1E9E'));  // capital sharp s is not in the set
}

TEST(CharClasses, TestAllCharNeedsANonEmptyUniformString) {
    EXPECT_FALSE(TestAllChar(u"", u'a'));
    EXPECT_TRUE(TestAllChar(u"a", u'a'));
    EXPECT_TRUE(TestAllChar(u"aaa", u'a'));
    EXPECT_FALSE(TestAllChar(u"aaA", u'a'));
    EXPECT_FALSE(TestAllChar(u"b", u'a'));
    EXPECT_TRUE(TestAllChar(u"\u0100\u0100", u'\u0100'));
}

TEST(CharClasses, IsAbbreviationComparesLongestCapitalRunWithLowerAndDigits) {
    EXPECT_TRUE(IsAbbreviation(u"USA"));
    EXPECT_TRUE(IsAbbreviation(u"CPUs"));
    EXPECT_FALSE(IsAbbreviation(u"PhD"));
    EXPECT_FALSE(IsAbbreviation(u"ABCdef"));
    EXPECT_TRUE(IsAbbreviation(u"ABCde"));
    EXPECT_FALSE(IsAbbreviation(u""));
    EXPECT_FALSE(IsAbbreviation(u"A"));
    EXPECT_TRUE(IsAbbreviation(u"AB"));
    EXPECT_FALSE(IsAbbreviation(u"A.B.C."));         // points end each run
    EXPECT_TRUE(IsAbbreviation(u"A-BC-D"));          // longest run 2, no lower case
    EXPECT_FALSE(IsAbbreviation(u"MP3 player"));     // run 2, seven lower case and digits
    EXPECT_TRUE(IsAbbreviation(u"\u00C4RGER"));      // Ä is not A-Z: run "RGER" of 4
    EXPECT_TRUE(IsAbbreviation(u"XY\u00E4\u00E4"));  // ä is not counted as lower case
}

namespace {

// The class keywords expanded literally: in rounds, the first occurrence of each keyword
// replaced in table order, until a round replaces nothing.
String ExpandKeywordsInRounds(String set) {
    String dwn, up;
    for (unsigned c = 0; c < 32; ++c)
        dwn.push_back(static_cast<Char>(c));
    for (unsigned c = 128; c < 256; ++c)
        up.push_back(static_cast<Char>(c));
    const std::pair<String, String> table[] = {{u"//dig", u"0123456789"},
                                               {u"//lc", u"abcdefghijklmnopqrstuvwxyz"},
                                               {u"//uc", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
                                               {u"//31dwn", dwn},
                                               {u"//128up", up}};
    for (bool replaced = true; replaced;) {
        replaced = false;
        for (const auto& [word, chars] : table) {
            const std::size_t i = set.find(word);
            if (i == String::npos) continue;
            set.replace(i, word.size(), chars);
            replaced = true;
        }
    }
    return set;
}

}  // namespace

TEST(CharClasses, StringContainsExpandsClassKeywords) {
    EXPECT_FALSE(StringContainsOtherThan(u"-12.5", u"//dig.-"));
    EXPECT_TRUE(StringContainsOtherThan(u"-12,5", u"//dig.-"));
    EXPECT_TRUE(StringContains(u"x7", u"//dig"));
    EXPECT_FALSE(StringContains(u"x/", u"//dig"));  // the keyword's own characters are gone
    EXPECT_TRUE(StringContains(u"x/", u"/"));
    EXPECT_TRUE(StringContains(u"q", u"//lc"));
    EXPECT_FALSE(StringContains(u"Q", u"//lc"));
    EXPECT_TRUE(StringContains(u"Q", u"//uc//lc"));
    EXPECT_TRUE(StringContains(u"\x1F", u"//31dwn"));
    EXPECT_FALSE(StringContains(u" ", u"//31dwn"));
    EXPECT_TRUE(StringContains(u"\x80", u"//128up"));
    EXPECT_TRUE(StringContains(u"\u00FF", u"//128up"));
    EXPECT_FALSE(StringContains(u"\x7F", u"//128up"));
    EXPECT_FALSE(StringContainsOtherThan(u"a1b2", u"//dig//lc//dig"));  // repeated keyword
    EXPECT_TRUE(StringContains(u"/", u"///dig"));  // a lone "/" before the keyword stays
    EXPECT_FALSE(StringContains(u"d", u"///dig"));
}

TEST(CharClasses, StringContainsEdgeCasesAndWideCharacters) {
    EXPECT_FALSE(StringContains(u"", u"abc"));
    EXPECT_FALSE(StringContainsOtherThan(u"", u"abc"));
    EXPECT_FALSE(StringContains(u"abc", u""));
    EXPECT_TRUE(StringContainsOtherThan(u"abc", u""));
    // Characters above 255 are never members, in the text or in the set, and never index the
    // table (0x141 would alias 'A' if it were reduced to 8 bits).
    EXPECT_FALSE(StringContains(u"\u0100", u"\u0100"));
    EXPECT_FALSE(StringContains(u"A", u"\u0141"));
    EXPECT_FALSE(StringContains(u"\u0141", u"A"));
    EXPECT_TRUE(StringContainsOtherThan(u"\u0100", u"\u0100//128up"));
    EXPECT_TRUE(StringContainsOtherThan(u"ab\u20AC", u"//lc"));
    EXPECT_TRUE(StringContains(u"\u00FF", u"\u00FF"));
}

TEST(CharClasses, KeywordExpansionMatchesRoundsOnRandomSets) {
    std::mt19937 rng(99);
    const std::u16string_view alphabet = u"//////dig lcu31dwn128upx";
    for (int round = 0; round < 5000; ++round) {
        String set(rng() % 20, u' ');
        for (Char& c : set)
            c = alphabet[rng() % alphabet.size()];
        const String expanded = ExpandKeywordsInRounds(set);
        String members, others;
        for (unsigned c = 0; c < 256; ++c)
            (expanded.find(static_cast<Char>(c)) != String::npos ? members : others)
                .push_back(static_cast<Char>(c));
        ASSERT_FALSE(StringContainsOtherThan(members, set)) << ToUtf8(set);
        ASSERT_FALSE(StringContains(others, set)) << ToUtf8(set);
    }
}
