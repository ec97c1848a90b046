// CRC-32 by carry-less multiplication: the data is folded 64 bytes at a time into four
// 128-bit accumulators (or 256 bytes into four 512-bit ones), which keep the message's
// remainder modulo the CRC polynomial intact.
// Compiled for the extensions per function; the caller checks the processor.
#include <cstring>

#include "checksum_cpu.h"
#include "clmul_fold.h"
#include "crc_fold.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qorkit::detail {

#if defined(__x86_64__)

namespace {

constexpr FoldPair k512 = Crc32Fold(512);
constexpr FoldPair k128 = Crc32Fold(128);

// The reflected layout is the message's own byte order.
struct Reflected {
    QORKIT_CLMUL_TARGET static __m128i Load(const std::uint8_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }
};

QORKIT_CLMUL_TARGET inline __m128i Pair(FoldPair k) {
    return _mm_set_epi64x(static_cast<long long>(k.High), static_cast<long long>(k.Low));
}

// The accumulator is a 16-byte message with the same remainder as everything folded so far:
// its CRC from a zero register continues into the tail bytes.
QORKIT_CLMUL_TARGET inline std::uint32_t Finish(__m128i x, const std::uint8_t* Data,
                                                std::size_t Len) {
    alignas(16) std::uint8_t rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), x);
    return Crc32Slice8(Crc32Slice8(0, rest, sizeof rest), Data, Len);
}

}  // namespace

QORKIT_CLMUL_TARGET std::uint32_t Crc32Clmul(std::uint32_t Crc, const std::uint8_t* Data,
                                             std::size_t Len) noexcept {
    // The running register enters by xoring it into the first four message bytes; the rest of
    // the computation then works as if the register had started at zero.
    const __m128i x = ClmulFoldChunks<Reflected>(_mm_cvtsi32_si128(static_cast<int>(Crc)), Data,
                                                 Len, Pair(k512), Pair(k128));
    return Finish(x, Data, Len);
}

// GCC 12 reports the deliberately undefined registers inside its own AVX-512 intrinsics as
// uninitialised; the reports say nothing about this code.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#define QORKIT_VPCLMUL_TARGET __attribute__((target("avx512f,vpclmulqdq,pclmul,ssse3,sse4.1")))

namespace {

constexpr FoldPair k2048 = Crc32Fold(2048);

QORKIT_VPCLMUL_TARGET inline __m512i Fold512(__m512i acc, __m512i k, __m512i next) {
    const __m512i lo = _mm512_clmulepi64_epi128(acc, k, 0x00);
    const __m512i hi = _mm512_clmulepi64_epi128(acc, k, 0x11);
    return _mm512_ternarylogic_epi64(lo, hi, next, 0x96);  // lo ^ hi ^ next
}

QORKIT_VPCLMUL_TARGET inline __m512i Load512(const std::uint8_t* p) {
    return _mm512_loadu_si512(p);
}

QORKIT_VPCLMUL_TARGET inline __m512i Pair512(FoldPair k) {
    const auto lo = static_cast<long long>(k.Low), hi = static_cast<long long>(k.High);
    return _mm512_set_epi64(hi, lo, hi, lo, hi, lo, hi, lo);
}

}  // namespace

// The same folding four 128-bit lanes at a time: four 512-bit accumulators take 256 bytes per
// round, are folded into one, whose lanes are folded into one 128-bit chunk at the end.
QORKIT_VPCLMUL_TARGET std::uint32_t Crc32Vpclmul512(std::uint32_t Crc, const std::uint8_t* Data,
                                                    std::size_t Len) noexcept {
    __m512i x0 = _mm512_xor_si512(Load512(Data),
                                  _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(Crc))));
    __m512i x1 = Load512(Data + 64);
    __m512i x2 = Load512(Data + 128);
    __m512i x3 = Load512(Data + 192);
    Data += 256;
    Len -= 256;
    const __m512i by2048 = Pair512(k2048);
    while (Len >= 256) {
        x0 = Fold512(x0, by2048, Load512(Data));
        x1 = Fold512(x1, by2048, Load512(Data + 64));
        x2 = Fold512(x2, by2048, Load512(Data + 128));
        x3 = Fold512(x3, by2048, Load512(Data + 192));
        Data += 256;
        Len -= 256;
    }
    const __m512i by512 = Pair512(k512);
    __m512i x = Fold512(x0, by512, x1);
    x = Fold512(x, by512, x2);
    x = Fold512(x, by512, x3);
    while (Len >= 64) {
        x = Fold512(x, by512, Load512(Data));
        Data += 64;
        Len -= 64;
    }
    const __m128i by128 = Pair(k128);
    __m128i r = ClmulFold(_mm512_castsi512_si128(x), by128, _mm512_extracti32x4_epi32(x, 1));
    r = ClmulFold(r, by128, _mm512_extracti32x4_epi32(x, 2));
    r = ClmulFold(r, by128, _mm512_extracti32x4_epi32(x, 3));
    while (Len >= 16) {
        r = ClmulFold(r, by128, Reflected::Load(Data));
        Data += 16;
        Len -= 16;
    }
    return Finish(r, Data, Len);
}

#else

std::uint32_t Crc32Vpclmul512(std::uint32_t Crc, const std::uint8_t* Data,
                              std::size_t Len) noexcept {
    return Crc32Slice8(Crc, Data, Len);
}

std::uint32_t Crc32Clmul(std::uint32_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept {
    return Crc32Slice8(Crc, Data, Len);
}

#endif

}  // namespace qorkit::detail
