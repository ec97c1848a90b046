#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "qorkit/rtl/random.h"

using namespace qorkit;

namespace {

// Restores the process-wide seed so that the tests do not depend on their order.
class RandomTest : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = RandSeed; }
    void TearDown() override { RandSeed = saved_; }

  private:
    std::uint32_t saved_ = 0;
};

// The recurrence written independently: 64-bit arithmetic reduced explicitly.
std::uint64_t ReferenceNext(std::uint64_t s) {
    return (s * 134775813ull + 1ull) % 4294967296ull;
}

}  // namespace

TEST_F(RandomTest, SequenceFromSeedZeroMatchesTheRecurrence) {
    RandSeed = 0;
    // By hand: 0 * a + 1 = 1, then 1 * a + 1 = 134775814.
    EXPECT_EQ(Random(), 1.0 / 4294967296.0);
    EXPECT_EQ(RandSeed, 1u);
    EXPECT_EQ(Random(), 134775814.0 / 4294967296.0);
    EXPECT_EQ(RandSeed, 134775814u);

    std::uint64_t ref = 134775814;
    for (int i = 0; i < 1000; ++i) {
        ref = ReferenceNext(ref);
        const double r = Random();
        ASSERT_EQ(RandSeed, ref) << "draw " << i;
        ASSERT_EQ(r, static_cast<double>(ref) / 4294967296.0);
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

TEST_F(RandomTest, IntegerDrawsScaleTheNewSeed) {
    RandSeed = 0;
    // Seeds 1, 134775814, 3698175007, 870078620, 1172187917 times 100, shifted by 32.
    const std::array<std::int32_t, 5> expected = {0, 3, 86, 20, 27};
    for (const auto e : expected)
        EXPECT_EQ(Random(100), e);

    RandSeed = 0xFFFFFFFFu;  // the next seed is 0xFFFFFFFF * a + 1, i.e. 2^32 - a + 1
    const std::uint64_t next = ReferenceNext(0xFFFFFFFFu);
    EXPECT_EQ(Random(INT32_MAX), static_cast<std::int32_t>((next * INT32_MAX) >> 32));

    // The largest seed gives the largest value, which stays below the range.
    RandSeed = 1298181734u;  // (2^32 - 2) / a modulo 2^32, so that the next seed is 2^32 - 1
    EXPECT_EQ(Random(10), 9);
    EXPECT_EQ(RandSeed, 0xFFFFFFFFu);
}

TEST_F(RandomTest, NonPositiveRangeAdvancesAndGivesZero) {
    RandSeed = 0;
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(RandSeed, 1u);
    EXPECT_EQ(Random(-5), 0);
    EXPECT_EQ(RandSeed, 134775814u);
    EXPECT_EQ(Random(INT32_MIN), 0);
    EXPECT_EQ(RandSeed, 3698175007u);
}

TEST_F(RandomTest, DrawsStayInRangeAndCoverIt) {
    RandSeed = 12345;
    std::array<int, 7> buckets{};
    for (int i = 0; i < 70000; ++i) {
        const std::int32_t v = Random(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
        ++buckets[static_cast<std::size_t>(v)];
    }
    // Deterministic for this seed; a broken scaling would pile the draws into a few buckets.
    for (const int b : buckets) {
        EXPECT_GT(b, 9500);
        EXPECT_LT(b, 10500);
    }
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t v = Random(1);
        ASSERT_EQ(v, 0);
    }
}

TEST_F(RandomTest, RandomizeReseedsFromTheClock) {
    RandSeed = 0;
    Randomize();
    const std::uint32_t first = RandSeed;
    // Two clock readings nanoseconds apart; equal seeds would mean the clock is ignored.
    bool changed = false;
    for (int i = 0; i < 100 && !changed; ++i) {
        Randomize();
        changed = RandSeed != first;
    }
    EXPECT_TRUE(changed);
}
