// SHA-1 compression with the x86 SHA extensions, compiled for them per function; the caller
// checks the processor first. ABCD live in one register (A in the top lane), E in the top lane
// of another, and each SHA1RNDS4 performs four of the eighty steps.
#include <utility>

#include "checksum_cpu.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qorkit::detail {

#if defined(__x86_64__)

#define QORKIT_SHA_TARGET __attribute__((target("sha,ssse3,sse4.1")))

namespace {

struct ShaRegs {
    __m128i abcd;
    __m128i prev;  // ABCD before the latest four steps: its A, rotated, is the next E
    __m128i w[4];  // the last sixteen schedule words, four per register
};

// Steps 4G to 4G+3. Schedule words beyond the sixteenth come from the previous four groups:
// W[t] = rol1(W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16]).
template <int G>
QORKIT_SHA_TARGET inline void Steps(ShaRegs& r, __m128i e0, const __m128i* block) {
    __m128i m;
    if constexpr (G < 4) {
        const __m128i reverse = _mm_set_epi64x(0x0001020304050607LL, 0x08090A0B0C0D0E0FLL);
        m = _mm_shuffle_epi8(_mm_loadu_si128(block + G), reverse);
    } else {
        m = _mm_sha1msg1_epu32(r.w[G % 4], r.w[(G + 1) % 4]);
        m = _mm_xor_si128(m, r.w[(G + 2) % 4]);
        m = _mm_sha1msg2_epu32(m, r.w[(G + 3) % 4]);
    }
    r.w[G % 4] = m;
    const __m128i ew = G == 0 ? _mm_add_epi32(e0, m) : _mm_sha1nexte_epu32(r.prev, m);
    r.prev = r.abcd;
    r.abcd = _mm_sha1rnds4_epu32(r.abcd, ew, G / 5);
}

template <int... G>
QORKIT_SHA_TARGET inline void AllSteps(ShaRegs& r, __m128i e0, const __m128i* block,
                                       std::integer_sequence<int, G...>) {
    (Steps<G>(r, e0, block), ...);
}

}  // namespace

QORKIT_SHA_TARGET void Sha1CompressShaNi(std::uint32_t State[5], const std::uint8_t* Data,
                                         std::size_t Blocks) noexcept {
    __m128i abcd =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(State)), 0x1B);
    __m128i e = _mm_set_epi32(static_cast<int>(State[4]), 0, 0, 0);
    for (; Blocks > 0; --Blocks, Data += 64) {
        ShaRegs r{abcd, abcd, {}};
        AllSteps(r, e, reinterpret_cast<const __m128i*>(Data),
                 std::make_integer_sequence<int, 20>{});
        e = _mm_sha1nexte_epu32(r.prev, e);
        abcd = _mm_add_epi32(r.abcd, abcd);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(State), _mm_shuffle_epi32(abcd, 0x1B));
    State[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e, 3));
}

#else

void Sha1CompressShaNi(std::uint32_t*, const std::uint8_t*, std::size_t) noexcept {}

#endif

}  // namespace qorkit::detail
