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

/// Index of the first `i < n` with `s[i]` in `c`; `n` when there is none.
std::size_t FindChar16(const Char* s, std::size_t n, CharPair c) noexcept;

/// Index of the first `i` with `i + 1 < n`, `s[i]` in `c0` and `s[i + 1]` in `c1`; `n` when
/// there is none.
std::size_t FindPair16(const Char* s, std::size_t n, CharPair c0, CharPair c1) noexcept;

/// Sets bit `i % 64` of `Out[i / 64]` to whether `s[i]` is in `c`, for every `i < n`; the
/// `(n + 63) / 64` words of `Out` are written whole (bits from `n` on are cleared).
void MatchMask16(const Char* s, std::size_t n, CharPair c, std::uint64_t* Out) noexcept;

}  // namespace qorkit::detail
