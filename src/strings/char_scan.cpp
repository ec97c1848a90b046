// Scans of 16-bit text for candidate characters: sixteen characters per step with SSE2 (part
// of every x86-64 processor), thirty-two with AVX2 when the processor probe reports it, one at
// a time elsewhere. Every kernel returns exactly what the scalar loop returns.
#include "char_scan.h"

#include <atomic>

#include "../cpuid/cpuid_backend.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qorkit::detail {

namespace {

template <class Test>
std::size_t FindScalar(const Char* s, std::size_t i, std::size_t n, const Test& c) noexcept {
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
template <class Test>
void MaskScalar(const Char* s, std::size_t From, std::size_t n, const Test& c,
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

#define QORKIT_SCAN_AVX2 __attribute__((target("avx2")))

inline __m128i Load128(const Char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

QORKIT_SCAN_AVX2 inline __m256i Load256(const Char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

inline __m128i Splat128(Char c) {
    return _mm_set1_epi16(static_cast<short>(c));
}

QORKIT_SCAN_AVX2 inline __m256i Splat256(Char c) {
    return _mm256_set1_epi16(static_cast<short>(c));
}

// Lane tests: all ones in the 16-bit lanes whose character passes.
struct PairLanes {
    __m128i A, B;
    explicit PairLanes(CharPair c) : A(Splat128(c.A)), B(Splat128(c.B)) {}
    __m128i operator()(__m128i x) const {
        return _mm_or_si128(_mm_cmpeq_epi16(x, A), _mm_cmpeq_epi16(x, B));
    }
};

struct PairLanes256 {
    __m256i A, B;
    QORKIT_SCAN_AVX2 explicit PairLanes256(CharPair c) : A(Splat256(c.A)), B(Splat256(c.B)) {}
    QORKIT_SCAN_AVX2 __m256i operator()(__m256i x) const {
        return _mm256_or_si256(_mm256_cmpeq_epi16(x, A), _mm256_cmpeq_epi16(x, B));
    }
};

// x - Lo, saturated against Hi - Lo, is zero exactly for Lo <= x <= Hi (unsigned).
struct RangeLanes {
    __m128i Lo[CharRanges::kMax], Span[CharRanges::kMax];
    int Count;
    explicit RangeLanes(const CharRanges& r) : Count(r.Count) {
        for (int i = 0; i < Count; ++i) {
            Lo[i] = Splat128(r.Lo[i]);
            Span[i] = Splat128(static_cast<Char>(r.Hi[i] - r.Lo[i]));
        }
    }
    __m128i operator()(__m128i x) const {
        __m128i in = _mm_setzero_si128();
        for (int i = 0; i < Count; ++i) {
            const __m128i d = _mm_subs_epu16(_mm_sub_epi16(x, Lo[i]), Span[i]);
            in = _mm_or_si128(in, _mm_cmpeq_epi16(d, _mm_setzero_si128()));
        }
        return in;
    }
};

struct RangeLanes256 {
    __m256i Lo[CharRanges::kMax], Span[CharRanges::kMax];
    int Count;
    QORKIT_SCAN_AVX2 explicit RangeLanes256(const CharRanges& r) : Count(r.Count) {
        for (int i = 0; i < Count; ++i) {
            Lo[i] = Splat256(r.Lo[i]);
            Span[i] = Splat256(static_cast<Char>(r.Hi[i] - r.Lo[i]));
        }
    }
    QORKIT_SCAN_AVX2 __m256i operator()(__m256i x) const {
        __m256i in = _mm256_setzero_si256();
        for (int i = 0; i < Count; ++i) {
            const __m256i d = _mm256_subs_epu16(_mm256_sub_epi16(x, Lo[i]), Span[i]);
            in = _mm256_or_si256(in, _mm256_cmpeq_epi16(d, _mm256_setzero_si256()));
        }
        return in;
    }
};

inline unsigned Mask16(__m128i e0, __m128i e1) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(e0, e1)));
}

// The bytes of 32 16-bit comparison results in text order (the pack works per 128-bit lane).
QORKIT_SCAN_AVX2 inline std::uint32_t Mask32(__m256i e0, __m256i e1) {
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi16(e0, e1), 0xD8);
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(packed));
}

template <class Lanes, class Test>
std::size_t FindSse2(const Char* s, std::size_t n, const Test& c) noexcept {
    const Lanes in(c);
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const unsigned m = Mask16(in(Load128(s + i)), in(Load128(s + i + 8)));
        if (m != 0) return i + static_cast<std::size_t>(__builtin_ctz(m));
    }
    if (i == n) return n;
    // The rest by loads that end at the text's end, overlapping what was read already.
    if (n >= 16) {
        const unsigned m =
            Mask16(in(Load128(s + n - 16)), in(Load128(s + n - 8))) >> (i - (n - 16));
        return m != 0 ? i + static_cast<std::size_t>(__builtin_ctz(m)) : n;
    }
    if (n >= 8) {
        const __m128i none = _mm_setzero_si128();
        if (const unsigned m = Mask16(in(Load128(s)), none))
            return static_cast<std::size_t>(__builtin_ctz(m));
        const unsigned m = Mask16(in(Load128(s + n - 8)), none);
        return m != 0 ? n - 8 + static_cast<std::size_t>(__builtin_ctz(m)) : n;
    }
    return FindScalar(s, i, n, c);
}

template <class Lanes, class Test>
void MaskSse2(const Char* s, std::size_t n, const Test& c, std::uint64_t* Out) noexcept {
    const Lanes in(c);
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        std::uint64_t bits = 0;
        for (std::size_t j = 0; j < 64; j += 16)
            bits |= static_cast<std::uint64_t>(
                        Mask16(in(Load128(s + i + j)), in(Load128(s + i + j + 8))))
                    << j;
        Out[i / 64] = bits;
    }
    MaskScalar(s, i, n, c, Out);
}

std::size_t FindPairSse2(const Char* s, std::size_t n, CharPair c0, CharPair c1) noexcept {
    const PairLanes in0(c0), in1(c1);
    std::size_t i = 0;
    for (; i + 17 <= n; i += 16) {
        const __m128i e0 = _mm_and_si128(in0(Load128(s + i)), in1(Load128(s + i + 1)));
        const __m128i e1 = _mm_and_si128(in0(Load128(s + i + 8)), in1(Load128(s + i + 9)));
        const unsigned m = Mask16(e0, e1);
        if (m != 0) return i + static_cast<std::size_t>(__builtin_ctz(m));
    }
    return FindPairScalar(s, i, n, c0, c1);
}

template <class Lanes, class Lanes128, class Test>
QORKIT_SCAN_AVX2 std::size_t FindAvx2(const Char* s, std::size_t n, const Test& c) noexcept {
    if (n < 32) return FindSse2<Lanes128>(s, n, c);
    const Lanes in(c);
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i e0 = in(Load256(s + i));
        const __m256i e1 = in(Load256(s + i + 16));
        const __m256i any = _mm256_or_si256(e0, e1);
        if (_mm256_testz_si256(any, any)) continue;
        return i + static_cast<std::size_t>(__builtin_ctz(Mask32(e0, e1)));
    }
    if (i == n) return n;
    // The rest by loads that end at the text's end, overlapping what was read already.
    const std::uint32_t m =
        Mask32(in(Load256(s + n - 32)), in(Load256(s + n - 16))) >> (i - (n - 32));
    return m != 0 ? i + static_cast<std::size_t>(__builtin_ctz(m)) : n;
}

template <class Lanes, class Test>
QORKIT_SCAN_AVX2 void MaskAvx2(const Char* s, std::size_t n, const Test& c,
                               std::uint64_t* Out) noexcept {
    const Lanes in(c);
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const std::uint32_t lo = Mask32(in(Load256(s + i)), in(Load256(s + i + 16)));
        const std::uint32_t hi = Mask32(in(Load256(s + i + 32)), in(Load256(s + i + 48)));
        Out[i / 64] = lo | static_cast<std::uint64_t>(hi) << 32;
    }
    MaskScalar(s, i, n, c, Out);
}

QORKIT_SCAN_AVX2 std::size_t FindPairAvx2(const Char* s, std::size_t n, CharPair c0,
                                          CharPair c1) noexcept {
    const PairLanes256 in0(c0), in1(c1);
    std::size_t i = 0;
    for (; i + 33 <= n; i += 32) {
        const __m256i e0 = _mm256_and_si256(in0(Load256(s + i)), in1(Load256(s + i + 1)));
        const __m256i e1 = _mm256_and_si256(in0(Load256(s + i + 16)), in1(Load256(s + i + 17)));
        const __m256i any = _mm256_or_si256(e0, e1);
        if (_mm256_testz_si256(any, any)) continue;
        return i + static_cast<std::size_t>(__builtin_ctz(Mask32(e0, e1)));
    }
    return FindPairScalar(s, i, n, c0, c1);
}

struct Kernels {
    std::size_t (*FindChar)(const Char*, std::size_t, const CharPair&) noexcept;
    std::size_t (*FindPair)(const Char*, std::size_t, CharPair, CharPair) noexcept;
    void (*MatchMask)(const Char*, std::size_t, const CharPair&, std::uint64_t*) noexcept;
    std::size_t (*FindRanges)(const Char*, std::size_t, const CharRanges&) noexcept;
    void (*RangesMask)(const Char*, std::size_t, const CharRanges&, std::uint64_t*) noexcept;
};

constexpr Kernels kAvx2{FindAvx2<PairLanes256, PairLanes>, FindPairAvx2, MaskAvx2<PairLanes256>,
                        FindAvx2<RangeLanes256, RangeLanes>, MaskAvx2<RangeLanes256>};
constexpr Kernels kSse2{FindSse2<PairLanes>, FindPairSse2, MaskSse2<PairLanes>,
                        FindSse2<RangeLanes>, MaskSse2<RangeLanes>};

std::atomic<const Kernels*> gKernels{nullptr};

const Kernels& Active() noexcept {
    const Kernels* k = gKernels.load(std::memory_order_relaxed);
    if (k == nullptr) {
        k = HostFeatures().Avx2 ? &kAvx2 : &kSse2;
        gKernels.store(k, std::memory_order_relaxed);
    }
    return *k;
}

#endif

}  // namespace

std::size_t FindChar16(const Char* s, std::size_t n, CharPair c) noexcept {
#if defined(__x86_64__)
    return Active().FindChar(s, n, c);
#else
    return FindScalar(s, 0, n, c);
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
    MaskScalar(s, 0, n, c, Out);
#endif
}

std::size_t FindInRanges16(const Char* s, std::size_t n, const CharRanges& r) noexcept {
#if defined(__x86_64__)
    return Active().FindRanges(s, n, r);
#else
    return FindScalar(s, 0, n, r);
#endif
}

void RangesMask16(const Char* s, std::size_t n, const CharRanges& r, std::uint64_t* Out) noexcept {
#if defined(__x86_64__)
    Active().RangesMask(s, n, r, Out);
#else
    MaskScalar(s, 0, n, r, Out);
#endif
}

bool SelectCharScanKernels(bool Avx2) noexcept {
#if defined(__x86_64__)
    if (Avx2 && !HostFeatures().Avx2) return false;
    gKernels.store(Avx2 ? &kAvx2 : &kSse2, std::memory_order_relaxed);
    return true;
#else
    return !Avx2;
#endif
}

}  // namespace qorkit::detail
