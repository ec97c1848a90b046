#include <gtest/gtest.h>

#include "qorkit/rtl/sysutils.h"

using namespace qorkit;

TEST(UnicodeCase, MapsLettersOfManyScripts) {
    // Latin-1, Latin Extended-A (alternating pairs), Greek, Cyrillic, Armenian, full-width.
    const struct {
        Char upper;
        Char lower;
    } pairs[] = {
        {u'A', u'a'},           {u'Z', u'z'},           {u'\u00C9', u'\u00E9'},
        {u'\u00C0', u'\u00E0'}, {u'\u00DE', u'\u00FE'}, {u'\u0100', u'\u0101'},
        {u'\u012E', u'\u012F'}, {u'\u0139', u'\u013A'}, {u'\u017D', u'\u017E'},
        {u'\u0391', u'\u03B1'}, {u'\u03A3', u'\u03C3'}, {u'\u03A9', u'\u03C9'},
        {u'\u0410', u'\u0430'}, {u'\u042F', u'\u044F'}, {u'\u0401', u'\u0451'},
        {u'\u0531', u'\u0561'}, {u'\uFF21', u'\uFF41'}, {u'\u0178', u'\u00FF'},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(AnsiLowerChar(p.upper), p.lower) << std::hex << int(p.upper);
        EXPECT_EQ(AnsiUpperChar(p.lower), p.upper) << std::hex << int(p.lower);
        EXPECT_EQ(AnsiLowerChar(p.lower), p.lower) << std::hex << int(p.lower);
        EXPECT_EQ(AnsiUpperChar(p.upper), p.upper) << std::hex << int(p.upper);
    }
    // Final sigma and the long s upper-case to their capitals but have no lower-case source.
    EXPECT_EQ(AnsiUpperChar(u'\u03C2'), u'\u03A3');
    EXPECT_EQ(AnsiUpperChar(u'\u017F'), u'S');
    // Odd members of a stride-2 run and gaps between runs stay put.
    EXPECT_EQ(AnsiLowerChar(u'\u0138'), u'\u0138');  // kra has no capital
    EXPECT_EQ(AnsiLowerChar(u'\u00D7'), u'\u00D7');  // multiplication sign inside A-grave..thorn
    EXPECT_EQ(AnsiUpperChar(u'\u00F7'), u'\u00F7');  // division sign
}

TEST(UnicodeCase, LeavesExpandingMappingsAndNonLettersAlone) {
    EXPECT_EQ(AnsiUpperChar(u'\u00DF'), u'\u00DF');  // sharp s would become "SS"
    EXPECT_EQ(AnsiLowerChar(u'\u0130'), u'\u0130');  // dotted I would gain a combining dot
    EXPECT_EQ(AnsiUpperChar(u'\u0149'), u'\u0149');  // n preceded by apostrophe
    for (const Char c : {u'0', u'9', u' ', u'@', u'[', u'`', u'{', u'\u4E2D', u'\uFFFF'}) {
        EXPECT_EQ(AnsiLowerChar(c), c);
        EXPECT_EQ(AnsiUpperChar(c), c);
    }
    // Surrogate halves are code units, not characters: never mapped.
    const String deseret = u"\U00010400";  // upper-case letter outside the BMP
    EXPECT_EQ(AnsiLowerCase(deseret), deseret);
    for (char32_t c = 0xD800; c <= 0xDFFF; ++c) {
        ASSERT_EQ(AnsiLowerChar(static_cast<Char>(c)), static_cast<Char>(c));
        ASSERT_EQ(AnsiUpperChar(static_cast<Char>(c)), static_cast<Char>(c));
    }
}

TEST(UnicodeCase, StringsAndCaseInsensitiveComparison) {
    EXPECT_EQ(AnsiUpperCase(u"\u00E9mile stra\u00DFe \u03C3\u03BF\u03C6\u03AF\u03B1"),
              u"\u00C9MILE STRA\u00DFE \u03A3\u039F\u03A6\u038A\u0391");
    EXPECT_EQ(AnsiLowerCase(u"\u041C\u041E\u0421\u041A\u0412\u0410 Ab"),
              u"\u043C\u043E\u0441\u043A\u0432\u0430 ab");
    EXPECT_EQ(AnsiLowerCase(u""), u"");

    EXPECT_EQ(AnsiStrIComp(u"\u00C9mile", u"\u00E9MILE"), 0);
    EXPECT_NE(AnsiStrIComp(u"stra\u00DFe", u"STRASSE"), 0);
    EXPECT_EQ(AnsiStrIComp(u"", u""), 0);
    EXPECT_LT(AnsiStrIComp(u"abc", u"ABD"), 0);
    EXPECT_GT(AnsiStrIComp(u"abd", u"ABC"), 0);
    EXPECT_LT(AnsiStrIComp(u"ab", u"ABC"), 0);  // a prefix sorts first
    EXPECT_GT(AnsiStrIComp(u"abc", u"AB"), 0);
    // Compared after upper-casing: '_' (0x5F) lies between 'Z' and 'a'.
    EXPECT_GT(AnsiStrIComp(u"_", u"a"), 0);

    EXPECT_EQ(AnsiStrLIComp(u"HELLO world", u"hello there", 5), 0);
    EXPECT_NE(AnsiStrLIComp(u"HELLO world", u"hello there", 7), 0);
    EXPECT_EQ(AnsiStrLIComp(u"abc", u"xyz", 0), 0);
    EXPECT_EQ(AnsiStrLIComp(u"abc", u"xyz", -1), 0);
    EXPECT_LT(AnsiStrLIComp(u"ab", u"ABC", 3), 0);
    EXPECT_EQ(AnsiStrLIComp(u"ab", u"AB", 100), 0);
}
