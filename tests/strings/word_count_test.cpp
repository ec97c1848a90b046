#include <gtest/gtest.h>

#include "qorkit/strings/word_count.h"

using namespace qorkit;

namespace {

// Restores the process-wide separator set after a test that changes it.
class WordSepsGuard {
  public:
    WordSepsGuard() : FSaved(WordSeps) {}
    ~WordSepsGuard() { WordSeps = FSaved; }

  private:
    std::bitset<256> FSaved;
};

}  // namespace

TEST(WordSeps, InitialMembersAreExactlyTheDocumentedTwentySix) {
    const std::u16string_view members = u" \"#%'()*+,-./:;<=>[\\]{}";
    std::bitset<256> expected;
    for (Char c : members)
        expected.set(c);
    expected.set(0).set(10).set(13);
    EXPECT_EQ(expected.count(), 26u);
    EXPECT_EQ(WordSeps, expected);
    for (Char c : std::u16string_view(u"\t!?$&@_|~^`"))
        EXPECT_FALSE(WordSeps[c]) << static_cast<int>(c);
}

TEST(CountWords, CountsRunsOfTwoFollowedByASeparator) {
    EXPECT_EQ(CountWords(u"ab cd "), 2);
    EXPECT_EQ(CountWords(u"ab cd"), 1);
    EXPECT_EQ(CountWords(u"a b "), 0);
    EXPECT_EQ(CountWords(u""), 0);
    EXPECT_EQ(CountWords(u"a"), 0);
    EXPECT_EQ(CountWords(u" "), 0);
    EXPECT_EQ(CountWords(u"ab\r\n"), 1);
    EXPECT_EQ(CountWords(u"one,two;three."), 3);
    EXPECT_EQ(CountWords(u"x_y!z?w "), 1);  // "_", "!" and "?" are not separators
    EXPECT_EQ(CountWords(u"tab\tsep "), 1);
    EXPECT_EQ(CountWords(String(u"ab\0", 3)), 1);
}

TEST(CountWords, CharactersAbove255BelongToWords) {
    EXPECT_EQ(CountWords(u"\u00E4\u00FF "), 1);  // 228 and 255 are not separators
    EXPECT_EQ(CountWords(u"\u0100\u4E2D "), 1);  // above 255: never separators
    EXPECT_EQ(CountWords(u"a\u012Cb "), 1);      // 0x12C would alias "," in 8 bits
    EXPECT_EQ(CountWords(u"\x7F\x80 "), 1);
}

TEST(CountWords, FollowsChangesToWordSeps) {
    WordSepsGuard guard;
    WordSeps.set(u'_');
    EXPECT_EQ(CountWords(u"snake_case_name "), 3);
    WordSeps.reset(u' ');
    EXPECT_EQ(CountWords(u"ab cd."), 1);
    WordSeps.set(255);
    EXPECT_EQ(CountWords(u"ab\u00FFcd\u00FF"), 2);
    EXPECT_EQ(CountWords(u"ab\u01FFcd\u00FF"), 1);
}
