// Combinations, permutations and the nearest-value search.
#include "qorkit/dstruct/combinatorics.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qorkit {

bool NextCombination(TCombination& Comb, std::int32_t m) {
    const std::int32_t k = Comb[0];
    if (k == 0 || m < k || m > 255) return false;
    std::int32_t p = k;
    while (p >= 1 && Comb[static_cast<std::size_t>(p)] >= m - k + p)
        --p;
    if (p < 1) return false;
    // Comb[p] < m - k + p, so every value written below is at most m.
    std::int32_t v = Comb[static_cast<std::size_t>(p)];
    for (std::int32_t i = p; i <= k; ++i)
        Comb[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(++v);
    return true;
}

namespace {

// True when bytes 1..n hold every value of 1..n once; then Where[v] is the position of v.
bool IsPermutation(const TCombination& Perm, std::int32_t n, std::uint8_t* Where) {
    std::memset(Where, 0, static_cast<std::size_t>(n) + 1);
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::uint8_t v = Perm[static_cast<std::size_t>(i)];
        if (v == 0 || v > n || Where[v] != 0) return false;
        Where[v] = static_cast<std::uint8_t>(i);
    }
    return true;
}

}  // namespace

bool NextPermutation(TCombination& Perm) {
    const std::int32_t n = Perm[0];
    std::uint8_t where[256];  // 0..n filled by the check
    if (n == 0 || !IsPermutation(Perm, n, where)) return false;
    std::uint8_t* const a = Perm.data();  // a[1..n] are the elements
    // Descend the levels while the level's value sits at the end of its range (in a
    // permutation the value of level m always lies within positions 1..m). Nothing moves
    // before a level succeeds, so the recorded positions hold throughout the descent.
    std::int32_t m = n;
    for (;; --m) {
        if (m == 1) return false;  // no level could move: nothing was changed
        const auto v = static_cast<std::uint8_t>(n + 1 - m);
        const std::int32_t p = where[v];
        if (p < m) {
            a[p] = a[p + 1];
            a[p + 1] = v;
            break;
        }
    }
    // Each level above the one that moved brings its value from its last position to the front.
    for (std::int32_t level = m + 1; level <= n; ++level) {
        const std::uint8_t v = a[level];
        std::memmove(a + 2, a + 1, static_cast<std::size_t>(level - 1));
        a[1] = v;
    }
    return true;
}

namespace {

// The first index whose distance is smallest and below the largest finite double.
template <class T, class Dist>
std::int32_t NearestIndex(std::span<const T> Values, Dist distance) {
    std::int32_t best = -1;
    double bestDist = std::numeric_limits<double>::max();
    // An index must fit the Integer result: longer arrays are searched in their first 2^31 - 1.
    const std::size_t count =
        std::min<std::size_t>(Values.size(), std::numeric_limits<std::int32_t>::max());
    for (std::size_t i = 0; i < count; ++i) {
        const double d = distance(Values[i]);
        if (d < bestDist) {
            bestDist = d;
            best = static_cast<std::int32_t>(i);
        }
    }
    return best;
}

}  // namespace

std::int32_t IndexOfNearestArrayValue(double x, std::span<const double> Values) {
    return NearestIndex(Values, [x](double v) { return std::fabs(v - x); });
}

std::int32_t IndexOfNearestArrayValue(std::int32_t x, std::span<const std::int32_t> Values) {
    return NearestIndex(Values, [x](std::int32_t v) {
        const std::int64_t d = std::int64_t{v} - std::int64_t{x};
        return static_cast<double>(d < 0 ? -d : d);
    });
}

}  // namespace qorkit
