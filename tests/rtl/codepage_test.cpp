#include <gtest/gtest.h>

#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/system.h"

using namespace qorkit;

TEST(Codepage, EveryByteSurvivesRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const Char c = Win1252ToChar(static_cast<std::uint8_t>(b));
        EXPECT_EQ(CharToWin1252(c), b) << "byte " << b;
    }
    EXPECT_EQ(Win1252ToChar(0x80), u'\u20AC');
    EXPECT_EQ(Win1252ToChar(0x9F), u'\u0178');
    EXPECT_EQ(Win1252ToChar(0xE9), u'\u00E9');
}

TEST(Codepage, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(StringToWin1252(u"a\u0100b\u4E2D\u20AC"), std::string("a?b?\x80"));
    EXPECT_EQ(Win1252ToString(std::string("J\xE4nner")), u"J\u00E4nner");
}

TEST(Utf8, RoundTripsAllPlanesAndRepairsBadInput) {
    const String s = u"A\u00E9\u20AC\U0001F600z";
    EXPECT_EQ(ToUtf8(s), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(FromUtf8(ToUtf8(s)), s);
    // Unpaired surrogate, truncated sequence, overlong form, stray continuation byte.
    EXPECT_EQ(ToUtf8(String(1, Char(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(FromUtf8("a\xE2\x82"), u"a\uFFFD");
    EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD");
    EXPECT_EQ(FromUtf8("\x80x"), u"\uFFFDx");
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD");
}
