// Scans of 16-bit text for candidate characters: eight characters per step with SSE2 (part of
// every x86-64 processor), sixteen with AVX2 when the processor probe reports it, one at a time
// elsewhere. Every kernel returns exactly what the scalar loop returns.
#include "char_scan.h"

#include "../cpuid/cpuid_backend.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qorkit::detail {

namespace {

std::size_t FindCharScalar(const Char* s, std::size_t i, std::size_t n, CharPair c) noexcept {
    while (i < n && !c.Has(s[i]))
        ++i;
    return i;
}

std::size_t FindPairScalar(const Char* s, std::size_t i, std::size_t n, CharPair c0,
                           CharPair c1) noexcept {
    for (; i + 1 < n; ++i)
        if (c0.Has(s[i]) && c1.Has(s[i + 1])) return i;
    return n;
}

// Bits of s[From..n) into the words from From / 64 on; From is a multiple of 64.
void MatchMaskScalar(const Char* s, std::size_t From, std::size_t n, CharPair c,
                     std::uint64_t* Out) noexcept {
    for (std::size_t w = From / 64; w * 64 < n; ++w) {
        std::uint64_t bits = 0;
        const std::size_t end = n - w * 64 < 64 ? n - w * 64 : 64;
        for (std::size_t j = 0; j < end; ++j)
            bits |= static_cast<std::uint64_t>(c.Has(s[w * 64 + j])) << j;
        Out[w] = bits;
    }
}

#if defined(__x86_64__)

inline __m128i In128(__m128i x, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_cmpeq_epi16(x, a), _mm_cmpeq_epi16(x, b));
}

inline __m128i Load128(const Char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

std::size_t FindCharSse2(const Char* s, std::size_t n, CharPair c) noexcept {
    const __m128i a = _mm_set1_epi16(static_cast<short>(c.A));
    const __m128i b = _mm_set1_epi16(static_cast<short>(c.B));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i e0 = In128(Load128(s + i), a, b);
        const __m128i e1 = In128(Load128(s + i + 8), a, b);
        const int m = _mm_movemask_epi8(_mm_packs_epi16(e0, e1));
        if (m != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(m)));
    }
    return FindCharScalar(s, i, n, c);
}

std::size_t FindPairSse2(const Char* s, std::size_t n, CharPair c0, CharPair c1) noexcept {
    const __m128i a0 = _mm_set1_epi16(static_cast<short>(c0.A));
    const __m128i b0 = _mm_set1_epi16(static_cast<short>(c0.B));
    const __m128i a1 = _mm_set1_epi16(static_cast<short>(c1.A));
    const __m128i b1 = _mm_set1_epi16(static_cast<short>(c1.B));
    std::size_t i = 0;
    for (; i + 17 <= n; i += 16) {
        const __m128i e0 =
            _mm_and_si128(In128(Load128(s + i), a0, b0), In128(Load128(s + i + 1), a1, b1));
        const __m128i e1 =
            _mm_and_si128(In128(Load128(s + i + 8), a0, b0), In128(Load128(s + i + 9), a1, b1));
        const int m = _mm_movemask_epi8(_mm_packs_epi16(e0, e1));
        if (m != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(m)));
    }
    return FindPairScalar(s, i, n, c0, c1);
}

void MatchMaskSse2(const Char* s, std::size_t n, CharPair c, std::uint64_t* Out) noexcept {
    const __m128i a = _mm_set1_epi16(static_cast<short>(c.A));
    const __m128i b = _mm_set1_epi16(static_cast<short>(c.B));
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        std::uint64_t bits = 0;
        for (std::size_t j = 0; j < 64; j += 16) {
            const __m128i e0 = In128(Load128(s + i + j), a, b);
            const __m128i e1 = In128(Load128(s + i + j + 8), a, b);
            const auto m = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(e0, e1)));
            bits |= static_cast<std::uint64_t>(m) << j;
        }
        Out[i / 64] = bits;
    }
    MatchMaskScalar(s, i, n, c, Out);
}

#define QORKIT_SCAN_AVX2 __attribute__((target("avx2")))

QORKIT_SCAN_AVX2 inline __m256i In256(__m256i x, __m256i a, __m256i b) {
    return _mm256_or_si256(_mm256_cmpeq_epi16(x, a), _mm256_cmpeq_epi16(x, b));
}

QORKIT_SCAN_AVX2 inline __m256i Load256(const Char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// The bytes of 32 16-bit comparison results in text order (the pack works per 128-bit lane).
QORKIT_SCAN_AVX2 inline std::uint32_t Mask32(__m256i e0, __m256i e1) {
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi16(e0, e1), 0xD8);
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(packed));
}

QORKIT_SCAN_AVX2 std::size_t FindCharAvx2(const Char* s, std::size_t n, CharPair c) noexcept {
    const __m256i a = _mm256_set1_epi16(static_cast<short>(c.A));
    const __m256i b = _mm256_set1_epi16(static_cast<short>(c.B));
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i e0 = In256(Load256(s + i), a, b);
        const __m256i e1 = In256(Load256(s + i + 16), a, b);
        if (_mm256_testz_si256(_mm256_or_si256(e0, e1), _mm256_or_si256(e0, e1))) continue;
        return i + static_cast<std::size_t>(__builtin_ctz(Mask32(e0, e1)));
    }
    return FindCharScalar(s, i, n, c);
}

QORKIT_SCAN_AVX2 std::size_t FindPairAvx2(const Char* s, std::size_t n, CharPair c0,
                                          CharPair c1) noexcept {
    const __m256i a0 = _mm256_set1_epi16(static_cast<short>(c0.A));
    const __m256i b0 = _mm256_set1_epi16(static_cast<short>(c0.B));
    const __m256i a1 = _mm256_set1_epi16(static_cast<short>(c1.A));
    const __m256i b1 = _mm256_set1_epi16(static_cast<short>(c1.B));
    std::size_t i = 0;
    for (; i + 33 <= n; i += 32) {
        const __m256i e0 =
            _mm256_and_si256(In256(Load256(s + i), a0, b0), In256(Load256(s + i + 1), a1, b1));
        const __m256i e1 = _mm256_and_si256(In256(Load256(s + i + 16), a0, b0),
                                            In256(Load256(s + i + 17), a1, b1));
        if (_mm256_testz_si256(_mm256_or_si256(e0, e1), _mm256_or_si256(e0, e1))) continue;
        return i + static_cast<std::size_t>(__builtin_ctz(Mask32(e0, e1)));
    }
    return FindPairScalar(s, i, n, c0, c1);
}

QORKIT_SCAN_AVX2 void MatchMaskAvx2(const Char* s, std::size_t n, CharPair c,
                                    std::uint64_t* Out) noexcept {
    const __m256i a = _mm256_set1_epi16(static_cast<short>(c.A));
    const __m256i b = _mm256_set1_epi16(static_cast<short>(c.B));
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const std::uint32_t lo =
            Mask32(In256(Load256(s + i), a, b), In256(Load256(s + i + 16), a, b));
        const std::uint32_t hi =
            Mask32(In256(Load256(s + i + 32), a, b), In256(Load256(s + i + 48), a, b));
        Out[i / 64] = lo | static_cast<std::uint64_t>(hi) << 32;
    }
    MatchMaskScalar(s, i, n, c, Out);
}

struct Kernels {
    std::size_t (*FindChar)(const Char*, std::size_t, CharPair) noexcept;
    std::size_t (*FindPair)(const Char*, std::size_t, CharPair, CharPair) noexcept;
    void (*MatchMask)(const Char*, std::size_t, CharPair, std::uint64_t*) noexcept;
};

const Kernels& Active() noexcept {
    static const Kernels k = HostFeatures().Avx2
                                 ? Kernels{FindCharAvx2, FindPairAvx2, MatchMaskAvx2}
                                 : Kernels{FindCharSse2, FindPairSse2, MatchMaskSse2};
    return k;
}

#endif

}  // namespace

std::size_t FindChar16(const Char* s, std::size_t n, CharPair c) noexcept {
#if defined(__x86_64__)
    return Active().FindChar(s, n, c);
#else
    return FindCharScalar(s, 0, n, c);
#endif
}

std::size_t FindPair16(const Char* s, std::size_t n, CharPair c0, CharPair c1) noexcept {
#if defined(__x86_64__)
    return Active().FindPair(s, n, c0, c1);
#else
    return FindPairScalar(s, 0, n, c0, c1);
#endif
}

void MatchMask16(const Char* s, std::size_t n, CharPair c, std::uint64_t* Out) noexcept {
#if defined(__x86_64__)
    Active().MatchMask(s, n, c, Out);
#else
    MatchMaskScalar(s, 0, n, c, Out);
#endif
}

}  // namespace qorkit::detail
