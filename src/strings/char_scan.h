// Internal: vectorised scans of 16-bit text for one or two candidate characters, used by the
// pattern matcher to skip to the places where a literal can start.
#pragma once

#include <cstddef>
#include <cstdint>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// The characters one text position may hold to match: `A` or `B` (the same character twice
/// for an exact match, both cases of a letter for a case-folded one).
struct CharPair {
    Char A;
    Char B;
    constexpr bool Has(Char c) const noexcept { return c == A || c == B; }
};

/// Up to three ranges of characters, both ends included (a set of a few intervals).
struct CharRanges {
    static constexpr int kMax = 3;
    Char Lo[kMax] = {};
    Char Hi[kMax] = {};
    int Count = 0;
    constexpr bool Has(Char c) const noexcept {
        for (int i = 0; i < Count; ++i)
            if (c >= Lo[i] && c <= Hi[i]) return true;
        return false;
    }
};

/// Index of the first `i < n` with `s[i]` in `c`; `n` when there is none.
std::size_t FindChar16(const Char* s, std::size_t n, CharPair c) noexcept;

/// Index of the first `i` with `i + 1 < n`, `s[i]` in `c0` and `s[i + 1]` in `c1`; `n` when
/// there is none.
std::size_t FindPair16(const Char* s, std::size_t n, CharPair c0, CharPair c1) noexcept;

/// Sets bit `i % 64` of `Out[i / 64]` to whether `s[i]` is in `c`, for every `i < n`; the
/// `(n + 63) / 64` words of `Out` are written whole (bits from `n` on are cleared).
void MatchMask16(const Char* s, std::size_t n, CharPair c, std::uint64_t* Out) noexcept;

/// Index of the first `i < n` with `s[i]` in `r`; `n` when there is none.
std::size_t FindInRanges16(const Char* s, std::size_t n, const CharRanges& r) noexcept;

/// As `MatchMask16`, for the characters in `r`.
void RangesMask16(const Char* s, std::size_t n, const CharRanges& r, std::uint64_t* Out) noexcept;

/// Test hook: makes every later scan use the AVX2 kernels (`Avx2` true, only where the processor
/// has them) or the SSE2 ones; returns false, changing nothing, when that is not possible.
bool SelectCharScanKernels(bool Avx2) noexcept;

}  // namespace qorkit::detail
