#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "../../src/strings/char_scan.h"

using namespace qorkit;
using namespace qorkit::detail;

namespace {

// Texts of every length up to 200 from few characters (one above 0x8000), each scan compared
// with the plain loop it stands for, from every start offset.
void CheckAgainstLoops() {
    std::mt19937 rng(99);
    const Char alphabet[] = {u'a', u'b', u'A', u'0', u'9', u'\u8001'};
    for (int iter = 0; iter < 600; ++iter) {
        std::vector<Char> s(static_cast<std::size_t>(rng() % 201));
        for (Char& c : s)
            c = alphabet[rng() % (rng() % 3 == 0 ? 6 : 2)];
        const CharPair c0{alphabet[rng() % 6], alphabet[rng() % 6]};
        const CharPair c1{alphabet[rng() % 6], alphabet[rng() % 6]};
        CharRanges r;
        r.Count = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < r.Count; ++i) {
            r.Lo[i] = alphabet[rng() % 6];
            r.Hi[i] = static_cast<Char>(r.Lo[i] + rng() % 3);
        }
        const std::size_t from = s.empty() ? 0 : rng() % s.size();
        const Char* p = s.data() + from;
        const std::size_t n = s.size() - from;
        std::size_t one = n, two = n, ranged = n;
        for (std::size_t i = n; i-- > 0;) {
            if (c0.Has(p[i])) one = i;
            if (i + 1 < n && c0.Has(p[i]) && c1.Has(p[i + 1])) two = i;
            if (r.Has(p[i])) ranged = i;
        }
        ASSERT_EQ(FindChar16(p, n, c0), one) << iter;
        ASSERT_EQ(FindPair16(p, n, c0, c1), two) << iter;
        ASSERT_EQ(FindInRanges16(p, n, r), ranged) << iter;
        std::vector<std::uint64_t> pairBits((n + 63) / 64, ~0ull), rangeBits = pairBits;
        MatchMask16(p, n, c0, pairBits.data());
        RangesMask16(p, n, r, rangeBits.data());
        for (std::size_t i = 0; i < pairBits.size() * 64; ++i) {
            ASSERT_EQ((pairBits[i / 64] >> (i % 64)) & 1u, i < n && c0.Has(p[i])) << iter;
            ASSERT_EQ((rangeBits[i / 64] >> (i % 64)) & 1u, i < n && r.Has(p[i])) << iter;
        }
    }
}

}  // namespace

TEST(CharScan, EveryKernelAgreesWithThePlainLoops) {
    ASSERT_TRUE(SelectCharScanKernels(false));
    CheckAgainstLoops();
    if (SelectCharScanKernels(true)) CheckAgainstLoops();
}
