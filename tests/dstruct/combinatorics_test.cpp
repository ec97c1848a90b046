// Combinations, permutations and the nearest-value search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "qorkit/dstruct/combinatorics.h"

namespace qorkit {
namespace {

TCombination Make(std::vector<int> elems) {
    TCombination c{};
    c.fill(0xAB);  // bytes past the elements must stay as they are
    c[0] = static_cast<std::uint8_t>(elems.size());
    for (std::size_t i = 0; i < elems.size(); ++i)
        c[i + 1] = static_cast<std::uint8_t>(elems[i]);
    return c;
}

std::vector<int> Elems(const TCombination& c) {
    return std::vector<int>(c.begin() + 1, c.begin() + 1 + c[0]);
}

TEST(Combinatorics_NextCombination, VisitsEveryCombinationInLexicographicOrder) {
    for (auto [k, m] : {std::pair{2, 4}, {1, 1}, {1, 6}, {3, 7}, {5, 9}, {4, 4}, {2, 255}}) {
        // Every k-subset of 1..m, listed independently through bit masks for small m.
        TCombination c = Make({});
        c[0] = static_cast<std::uint8_t>(k);
        for (int i = 1; i <= k; ++i)
            c[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        std::vector<std::vector<int>> seen{Elems(c)};
        while (NextCombination(c, m))
            seen.push_back(Elems(c));
        const TCombination last = c;
        EXPECT_FALSE(NextCombination(c, m));
        EXPECT_EQ(c, last) << "a failed step must change nothing";
        std::vector<int> tail;
        for (int v = m - k + 1; v <= m; ++v)
            tail.push_back(v);
        EXPECT_EQ(seen.back(), tail);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << k << " of " << m;
        EXPECT_EQ(std::set(seen.begin(), seen.end()).size(), seen.size());
        double expected = 1;  // binomial(m, k)
        for (int i = 0; i < k; ++i)
            expected = expected * (m - i) / (i + 1);
        EXPECT_EQ(static_cast<double>(seen.size()), std::round(expected)) << k << " of " << m;
    }
}

TEST(Combinatorics_NextCombination, SmallSequenceAndRejectedArguments) {
    TCombination c = Make({1, 2});
    std::vector<std::vector<int>> got;
    while (NextCombination(c, 4))
        got.push_back(Elems(c));
    EXPECT_EQ(got, (std::vector<std::vector<int>>{{1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}));
    EXPECT_EQ(Elems(c), (std::vector<int>{3, 4}));

    // k = 0, m below k and m beyond the byte range give false and change nothing.
    for (auto [elems, m] : {std::pair{std::vector<int>{}, 5},
                            {{1, 2, 3}, 2},
                            {{1, 2}, 256},
                            {{250, 255}, 100000},
                            {{1}, -1}}) {
        TCombination bad = Make(elems), before = bad;
        EXPECT_FALSE(NextCombination(bad, m));
        EXPECT_EQ(bad, before);
    }
    // Bytes out of order are stepped by the same rule and stay within 1..m.
    TCombination odd = Make({5, 1});
    EXPECT_TRUE(NextCombination(odd, 5));
    EXPECT_EQ(Elems(odd), (std::vector<int>{5, 2}));
}

// The level rule exactly as stated, recursively: the reference for the iterative step.
bool LevelStep(std::vector<int>& a, int n, int m) {
    if (m == 1) return false;
    const int v = n + 1 - m;
    int p = 1;
    while (a[static_cast<std::size_t>(p)] != v)
        ++p;
    if (p < m) {
        std::swap(a[static_cast<std::size_t>(p)], a[static_cast<std::size_t>(p + 1)]);
        return true;
    }
    if (!LevelStep(a, n, m - 1)) return false;
    a.erase(a.begin() + m);
    a.insert(a.begin() + 1, v);
    return true;
}

TEST(Combinatorics_NextPermutation, FollowsTheLevelOrderExactly) {
    TCombination p = Make({1, 2, 3});
    std::vector<std::vector<int>> got{Elems(p)};
    while (NextPermutation(p))
        got.push_back(Elems(p));
    EXPECT_EQ(got, (std::vector<std::vector<int>>{
                       {1, 2, 3}, {2, 1, 3}, {2, 3, 1}, {1, 3, 2}, {3, 1, 2}, {3, 2, 1}}));

    for (int n = 1; n <= 7; ++n) {
        std::vector<int> ref{0};
        for (int i = 1; i <= n; ++i)
            ref.push_back(i);
        TCombination perm = Make(std::vector<int>(ref.begin() + 1, ref.end()));
        std::set<std::vector<int>> distinct{Elems(perm)};
        for (;;) {
            const bool more = LevelStep(ref, n, n);
            ASSERT_EQ(NextPermutation(perm), more) << "n " << n;
            if (!more) break;
            ASSERT_EQ(Elems(perm), std::vector<int>(ref.begin() + 1, ref.end()));
            distinct.insert(Elems(perm));
        }
        int factorial = 1;
        for (int i = 2; i <= n; ++i)
            factorial *= i;
        EXPECT_EQ(static_cast<int>(distinct.size()), factorial);
        std::vector<int> descending(ref.begin() + 1, ref.end());
        EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
        EXPECT_EQ(Elems(perm), descending);
        for (std::size_t i = static_cast<std::size_t>(n) + 1; i < perm.size(); ++i)
            ASSERT_EQ(perm[i], 0xAB);
    }
}

TEST(Combinatorics_NextPermutation, FourElementsTakeTwentyThreeSteps) {
    TCombination p = Make({1, 2, 3, 4});
    int steps = 0;
    while (NextPermutation(p))
        ++steps;
    EXPECT_EQ(steps, 23);
    EXPECT_EQ(Elems(p), (std::vector<int>{4, 3, 2, 1}));
    const TCombination last = p;
    EXPECT_FALSE(NextPermutation(p));
    EXPECT_EQ(p, last);
}

TEST(Combinatorics_NextPermutation, RejectsWhatIsNoPermutation) {
    for (const auto& elems :
         std::vector<std::vector<int>>{{}, {1, 1, 2}, {1, 2, 4}, {0, 1, 2}, {2, 2}, {3, 1, 2, 3}}) {
        TCombination bad = Make(elems), before = bad;
        EXPECT_FALSE(NextPermutation(bad)) << elems.size();
        EXPECT_EQ(bad, before);
    }
    // The largest set: 255 elements, every byte of the array in use.
    std::vector<int> big;
    for (int i = 1; i <= 255; ++i)
        big.push_back(i);
    TCombination p = Make(big);
    ASSERT_TRUE(NextPermutation(p));
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 1);
}

TEST(Combinatorics_Nearest, FirstOfTheNearestFiniteDistances) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double x;
        std::vector<double> values;
        std::int32_t want;
    };
    for (const Case& c : std::vector<Case>{
             {2.5, {1, 2, 3}, 1},
             {0, {}, -1},
             {7, {9, 5, 7.5, 6.5}, 2},
             {0, {inf, -inf, nan, 4}, 3},
             {0, {inf, nan}, -1},
             {nan, {1, 2}, -1},
             {inf, {inf, 1e308}, -1},
             {-1e308, {1.7e308, 0}, 1},
             {0, {1.75e308}, 0},  // above 1.7e308 but finite: still a distance
         })
        EXPECT_EQ(IndexOfNearestArrayValue(c.x, c.values), c.want) << c.x;
}

TEST(Combinatorics_Nearest, IntegerDistancesAreExact) {
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    const std::vector<std::int32_t> far{hi};
    EXPECT_EQ(IndexOfNearestArrayValue(lo, far), 0);
    // A wrapped difference would make hi look nearest to lo.
    const std::vector<std::int32_t> mixed{0, hi, lo + 1};
    EXPECT_EQ(IndexOfNearestArrayValue(lo, mixed), 2);
    EXPECT_EQ(IndexOfNearestArrayValue(hi, std::vector<std::int32_t>{lo, 0}), 1);
    EXPECT_EQ(IndexOfNearestArrayValue(4, std::vector<std::int32_t>{2, 6, 3, 5}), 2);
    EXPECT_EQ(IndexOfNearestArrayValue(4, std::vector<std::int32_t>{}), -1);
}

}  // namespace
}  // namespace qorkit
