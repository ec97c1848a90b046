#include <gtest/gtest.h>

#include "qorkit/strings/string_translit.h"

using namespace qorkit;

TEST(StringTranslit, ExpandDiphthongsSpellsOutGermanLetters) {
    EXPECT_EQ(ExpandDiphthongs(u"\u00C4pfel"), u"Aepfel");
    EXPECT_EQ(ExpandDiphthongs(u"\u00C4RGER"), u"AERGER");
    EXPECT_EQ(ExpandDiphthongs(u"Ma\u00DF"), u"Mass");
    EXPECT_EQ(ExpandDiphthongs(u"\u00E4\u00F6\u00FC\u00DF"), u"aeoeuess");
    EXPECT_EQ(ExpandDiphthongs(u"\u00D6l \u00DCbel \u00DC"), u"Oel Uebel UE");
    EXPECT_EQ(ExpandDiphthongs(u"\u00C4"), u"AE");          // at the end
    EXPECT_EQ(ExpandDiphthongs(u"\u00C4\u00E4"), u"AEae");  // ä is not a to z
    EXPECT_EQ(ExpandDiphthongs(u"\u00C4z\u00DC{"), u"AezUE{");
    EXPECT_EQ(ExpandDiphthongs(u"5 \u00B5m"), u"5 um");
    EXPECT_EQ(ExpandDiphthongs(u""), u"");
    EXPECT_EQ(ExpandDiphthongs(u"\u03BC\u00E9"), u"\u03BC\u00E9");  // Greek mu, é unchanged
}

TEST(StringTranslit, ReductionsKeepLengthAndReplaceUnsafeCharacters) {
    EXPECT_EQ(ReduceStringToAZ09(u""), u"");
    EXPECT_EQ(ReduceStringToAZ09(u"a-Z 9\u00E4\u0100"), u"a_Z_9__");
    EXPECT_EQ(ReduceStringToAZ09(u"/09:@AZ[`az{"), u"_09__AZ__az_");
    EXPECT_EQ(ReduceStringToFN83CompliantChars(u""), u"");
    String kept;
    String expected;
    for (unsigned c = 0; c < 300; ++c) {
        kept.push_back(static_cast<Char>(c));
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool extra = String(u"!#$%&'()-.@^_`{}~").find(static_cast<Char>(c)) != String::npos;
        expected.push_back(alnum || extra ? static_cast<Char>(c) : u'_');
    }
    EXPECT_EQ(ReduceStringToFN83CompliantChars(kept), expected);
    EXPECT_EQ(ReduceStringToFN83CompliantChars(u"my file*.txt"), u"my_file_.txt");
}

TEST(StringTranslit, ProcessHexCharsResolvesEscapes) {
    EXPECT_EQ(ProcessHexChars(u"A\\#41\\\\#42"), u"AA\\#42");
    EXPECT_EQ(ProcessHexChars(u"\\"), u"\\");
    EXPECT_EQ(ProcessHexChars(u""), u"");
    EXPECT_EQ(ProcessHexChars(u"x\\"), u"x\\");
    EXPECT_EQ(ProcessHexChars(u"\\\\"), u"\\");
    EXPECT_EQ(ProcessHexChars(u"\\\\\\\\"), u"\\\\");
    EXPECT_EQ(ProcessHexChars(u"\\n\\t"), u"\\n\\t");  // other escapes stay
    EXPECT_EQ(ProcessHexChars(u"\\#7f\\#80\\#FF"), u"\x7F\x80\u00FF");
    // Both characters after "#" are consumed, whether or not they are hexadecimal digits.
    EXPECT_EQ(ProcessHexChars(u"\\#4G"), u"\x04");
    EXPECT_EQ(ProcessHexChars(u"\\#GGx"), String(u"\0x", 2));
    EXPECT_EQ(ProcessHexChars(u"\\# 4x"), u"\x04x");    // leading blank skipped
    EXPECT_EQ(ProcessHexChars(u"\\#5C#41"), u"\\#41");  // produced "\" is not re-read
    EXPECT_EQ(ProcessHexChars(u"\\#\u0141zy"), String(u"\0y", 2));
}

TEST(StringTranslit, ProcessHexCharsReadsWhatIsLeftAtTheEnd) {
    EXPECT_EQ(ProcessHexChars(u"a\\#4"), u"a\x04");
    EXPECT_EQ(ProcessHexChars(u"a\\#"), String(u"a\0", 2));
    EXPECT_EQ(ProcessHexChars(u"\\#41"), u"A");
    EXPECT_EQ(ProcessHexChars(u"\\#414"), u"A4");
}
