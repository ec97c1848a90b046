#include "qorkit/filesys/password.h"

#include <gtest/gtest.h>

#include <string_view>

#include "qorkit/rtl/random.h"

using namespace qorkit;

namespace {

bool In(std::u16string_view set, Char c) {
    return set.find(c) != std::u16string_view::npos;
}

constexpr std::u16string_view kV = u"aeiouy";
constexpr std::u16string_view kC = u"bcdfghjklmnpqrstvwxz";

}  // namespace

TEST(Password_Invent, ClampedLengthsAndSyllableShape) {
    RandSeed = 1;
    EXPECT_EQ(InventPassword(2).size(), 4u);
    EXPECT_EQ(InventPassword(20).size(), 14u);
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        for (std::int32_t n = 4; n <= 14; ++n) {
            RandSeed = seed;
            const String p = InventPassword(n);
            ASSERT_EQ(p.size(), static_cast<std::size_t>(n));
            // The two digits stand before the 7th character, or at the end when shorter.
            const std::size_t at = n >= 8 ? 6 : static_cast<std::size_t>(n - 2);
            String letters = p;
            ASSERT_TRUE(p[at] >= u'0' && p[at] <= u'9' && p[at + 1] >= u'0' && p[at + 1] <= u'9')
                << ToUtf8(p);
            letters.erase(at, 2);
            const std::size_t first = n % 2;
            if (first == 1) {
                EXPECT_TRUE(In(kV, letters[0])) << ToUtf8(p);
            }
            for (std::size_t i = first; i < letters.size(); i += 2)
                EXPECT_TRUE(In(kC, letters[i]) && In(kV, letters[i + 1])) << ToUtf8(p);
        }
    }
    RandSeed = 5;
    const String a = InventPassword(9);
    RandSeed = 5;
    EXPECT_EQ(InventPassword(9), a);  // the generator is used, not seeded
}

TEST(Password_Invent, MixedCaseAndSpecialsFollowTheirDraws) {
    // Replays the draws: the plain password first, then one real per position for the case,
    // then one real (and a number on a hit) per position for digits and specials.
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        RandSeed = seed;
        String expect = InventPassword(11);
        for (Char& c : expect)
            if (Random() > 0.5 && c >= u'a' && c <= u'z') c = static_cast<Char>(c - 32);
        for (Char& c : expect) {
            if (Random() > 0.8) {
                const std::int32_t d = 1 + Random(16);
                c = d <= 6 ? u"_!$%#="[d - 1] : static_cast<Char>(u'0' + d - 7);
            }
        }
        RandSeed = seed;
        ASSERT_EQ(InventPassword(11, true, true), expect) << seed;
    }
    RandSeed = 42;
    const String plain = InventPassword(8);
    RandSeed = 42;
    EXPECT_EQ(InventPassword(8, false, false), plain);
}
