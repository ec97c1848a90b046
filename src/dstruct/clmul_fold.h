// Internal: the 128-bit carry-less folding loop that the CRC-16 and CRC-32 kernels share. Four
// accumulators take 64 bytes a round, are folded into one, and the remaining whole 16-byte
// chunks follow; what is left is a 16-byte message with the remainder of all that was folded.
#pragma once

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#define QORKIT_CLMUL_TARGET __attribute__((target("pclmul,ssse3,sse4.1")))

namespace qorkit::detail {

/// acc moved forward by the distance `k` encodes (low half times k's low, high half times
/// k's high), plus `next`.
QORKIT_CLMUL_TARGET inline __m128i ClmulFold(__m128i acc, __m128i k, __m128i next) {
    const __m128i lo = _mm_clmulepi64_si128(acc, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(acc, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

/// Folds the whole 16-byte chunks of `Len` bytes (at least 64) at `Data`; `Entry` is xored
/// into the first chunk (the running register). `Layout::Load` reads a chunk into the
/// register layout of the CRC; `By512` and `By128` are its constants for 512 and 128 bits.
/// `Data` and `Len` are left at the tail of fewer than 16 bytes.
template <class Layout>
QORKIT_CLMUL_TARGET inline __m128i ClmulFoldChunks(__m128i Entry, const std::uint8_t*& Data,
                                                   std::size_t& Len, __m128i By512, __m128i By128) {
    __m128i x0 = _mm_xor_si128(Layout::Load(Data), Entry);
    __m128i x1 = Layout::Load(Data + 16);
    __m128i x2 = Layout::Load(Data + 32);
    __m128i x3 = Layout::Load(Data + 48);
    Data += 64;
    Len -= 64;
    while (Len >= 64) {
        x0 = ClmulFold(x0, By512, Layout::Load(Data));
        x1 = ClmulFold(x1, By512, Layout::Load(Data + 16));
        x2 = ClmulFold(x2, By512, Layout::Load(Data + 32));
        x3 = ClmulFold(x3, By512, Layout::Load(Data + 48));
        Data += 64;
        Len -= 64;
    }
    __m128i x = ClmulFold(x0, By128, x1);
    x = ClmulFold(x, By128, x2);
    x = ClmulFold(x, By128, x3);
    while (Len >= 16) {
        x = ClmulFold(x, By128, Layout::Load(Data));
        Data += 16;
        Len -= 16;
    }
    return x;
}

}  // namespace qorkit::detail

#endif
