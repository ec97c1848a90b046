// Stepping through combinations and permutations in place, and the nearest-value search.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qorkit {

/// A combination or permutation of small numbers: byte 0 holds the number of elements k (n
/// for a permutation), bytes 1..k the elements, each in 1..255; the other bytes are unused.
using TCombination = std::array<std::uint8_t, 256>;

/// Advances the k-element combination of 1..`m` in bytes 1..k (k = byte 0) to the next one in
/// lexicographic order: the rightmost element p that can still grow (element p < m - k + p)
/// grows by one and the elements after it follow it as p + 1, p + 2, ... Starting at 1, 2, ...,
/// k, the calls visit every combination and end at m - k + 1, ..., m.
/// Returns false, leaving the bytes unchanged, after the last combination, for k = 0 and for
/// an `m` outside k..255 (such an `m` has no combination of byte values). Bytes that are not
/// strictly increasing are stepped by the same rule; every value written stays within 1..m.
bool NextCombination(TCombination& Comb, std::int32_t m);

/// Advances the permutation of 1..n in bytes 1..n (n = byte 0) to the next one in the level
/// order: level m (from n down) moves the value n + 1 - m one place to the right while it is
/// left of position m; at position m it steps level m - 1 and, when that succeeds, moves back
/// to position 1. For n = 3 the order is 123, 213, 231, 132, 312, 321; the last permutation is
/// n, ..., 1 and n = 1 has only one.
/// Returns false, leaving the bytes unchanged, after the last permutation and when the
/// precondition is broken: n = 0, or bytes 1..n not a permutation of 1..n (a value out of
/// range or repeated). Reads and writes only bytes 0..n.
bool NextPermutation(TCombination& Perm);

/// The 0-based index of the element of `Values` nearest to `x`, by |Values[i] - x|; the first
/// of equally near elements wins. -1 for an empty array, and when no distance is finite (a NaN
/// or infinite `x`, or only NaN and infinite elements): such distances are never chosen.
std::int32_t IndexOfNearestArrayValue(double x, std::span<const double> Values);

/// As the Double form, with the exact integer distance (no overflow: the distance of
/// -2147483648 and 2147483647 is 2^32 - 1).
std::int32_t IndexOfNearestArrayValue(std::int32_t x, std::span<const std::int32_t> Values);

}  // namespace qorkit
