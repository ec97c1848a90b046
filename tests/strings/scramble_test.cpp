#include <gtest/gtest.h>

#include <set>

#include "qorkit/rtl/random.h"
#include "qorkit/strings/scramble.h"

using namespace qorkit;

namespace {

// The 255 codes of the forward table, read through Scramble.
String ForwardTable() {
    String all;
    for (Char c = 1; c <= 255; ++c)
        all += c;
    return Scramble(all);
}

}  // namespace

TEST(Scramble, IsAPermutationOfOneTo255ForEverySeed) {
    const std::uint32_t saved = RandSeed;
    for (std::int32_t seed :
         {6071, 0, 1, -1, 123456789, std::numeric_limits<std::int32_t>::min()}) {
        InitScramble(seed);
        const String f = ForwardTable();
        const std::set<Char> codes(f.begin(), f.end());
        EXPECT_EQ(codes.size(), 255u) << seed;
        EXPECT_EQ(codes.count(0), 0u) << seed;
        EXPECT_LE(*codes.rbegin(), 255) << seed;
    }
    InitScramble(6071);
    RandSeed = saved;
}

TEST(Scramble, SameSeedSameTablesAndTheRoundTripHolds) {
    const std::uint32_t saved = RandSeed;
    String all(u"Hello");
    for (Char c = 0; c <= 255; ++c)
        all += c;
    InitScramble(6071);
    const String a = Scramble(all);
    const String fromLoad = ForwardTable();
    InitScramble(42);
    const String b = Scramble(all);
    EXPECT_NE(a, b);
    EXPECT_EQ(DeScramble(b), all);
    InitScramble(6071);
    EXPECT_EQ(Scramble(all), a);
    EXPECT_EQ(ForwardTable(), fromLoad);
    EXPECT_EQ(DeScramble(Scramble(u"Hello")), u"Hello");
    EXPECT_NE(Scramble(u"Hello"), u"Hello");
    EXPECT_EQ(Scramble(u""), u"");
    EXPECT_EQ(Scramble(String(3, u'\0')), String(3, u'\0'));
    EXPECT_EQ(a.size(), all.size());
    RandSeed = saved;
}

TEST(Scramble, CharactersAbove255PassThrough) {
    const String s = u"a\u20ACb\u0100\uFFFF";
    const String t = Scramble(s);
    EXPECT_EQ(t[1], u'\u20AC');
    EXPECT_EQ(t[3], u'\u0100');
    EXPECT_EQ(t[4], u'\uFFFF');
    EXPECT_EQ(DeScramble(t), s);
}

TEST(Scramble, Code1TakesTheFirstDrawFromTheSeed) {
    // s := s * 134775813 + 1 (mod 2^32); a draw below 255 is (s * 255) >> 32.
    const std::uint32_t saved = RandSeed;
    for (std::int32_t seed : {6071, 99}) {
        InitScramble(seed);
        const std::uint32_t s = static_cast<std::uint32_t>(seed) * 134775813u + 1u;
        const auto first = static_cast<Char>(((std::uint64_t{s} * 255) >> 32) + 1);
        EXPECT_EQ(Scramble(u"\x01")[0], first) << seed;
    }
    InitScramble(6071);
    RandSeed = saved;
}
