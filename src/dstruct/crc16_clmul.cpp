// CRC-16 (polynomial 0x1021, most significant bit first) by carry-less multiplication. The
// bytes of each 16-byte chunk are reversed so that the first message bit is the highest
// coefficient; chunks then fold like those of CRC-32, with constants x^n mod P of 16 bits.
// Compiled for PCLMULQDQ, SSSE3 and SSE4.1 per function; the caller checks the processor.
#include "checksum_cpu.h"
#include "crc_fold.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qorkit::detail {

#if defined(__x86_64__)

#define QORKIT_CLMUL16_TARGET __attribute__((target("pclmul,ssse3,sse4.1")))

namespace {

// Moves a chunk forward by `Bits`: its high half is multiplied by x^(Bits+64), its low half
// by x^Bits (a 64-bit half times a 16-bit constant fits the 128-bit product).
template <unsigned Bits>
QORKIT_CLMUL16_TARGET inline __m128i FoldBy() {
    constexpr std::uint32_t high = XPowMod(Bits + 64, 0x1021u, 16);
    constexpr std::uint32_t low = XPowMod(Bits, 0x1021u, 16);
    return _mm_set_epi64x(high, low);
}

QORKIT_CLMUL16_TARGET inline __m128i Fold(__m128i acc, __m128i k, __m128i next) {
    const __m128i lo = _mm_clmulepi64_si128(acc, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(acc, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

QORKIT_CLMUL16_TARGET inline __m128i Reverse(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_set_epi64x(0x0001020304050607LL, 0x08090A0B0C0D0E0FLL));
}

QORKIT_CLMUL16_TARGET inline __m128i Load(const std::uint8_t* p) {
    return Reverse(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

}  // namespace

QORKIT_CLMUL16_TARGET std::uint16_t Crc16Clmul(std::uint16_t Crc, const std::uint8_t* Data,
                                               std::size_t Len) noexcept {
    // The register enters as the first sixteen message bits; from there on the computation
    // runs as if it had started at zero.
    __m128i x0 = _mm_xor_si128(Load(Data), _mm_set_epi64x(static_cast<long long>(Crc) << 48, 0));
    __m128i x1 = Load(Data + 16);
    __m128i x2 = Load(Data + 32);
    __m128i x3 = Load(Data + 48);
    Data += 64;
    Len -= 64;
    const __m128i by512 = FoldBy<512>();
    while (Len >= 64) {
        x0 = Fold(x0, by512, Load(Data));
        x1 = Fold(x1, by512, Load(Data + 16));
        x2 = Fold(x2, by512, Load(Data + 32));
        x3 = Fold(x3, by512, Load(Data + 48));
        Data += 64;
        Len -= 64;
    }
    const __m128i by128 = FoldBy<128>();
    __m128i x = Fold(x0, by128, x1);
    x = Fold(x, by128, x2);
    x = Fold(x, by128, x3);
    while (Len >= 16) {
        x = Fold(x, by128, Load(Data));
        Data += 16;
        Len -= 16;
    }
    // The accumulator, back in message order, is a 16-byte message with the same remainder
    // as everything folded so far; the table finishes it and the tail.
    alignas(16) std::uint8_t rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), Reverse(x));
    return Crc16Table(Crc16Table(0, rest, sizeof rest), Data, Len);
}

#else

std::uint16_t Crc16Clmul(std::uint16_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept {
    return Crc16Table(Crc, Data, Len);
}

#endif

}  // namespace qorkit::detail
