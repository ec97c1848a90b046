// CRC-16 (polynomial 0x1021, most significant bit first) by carry-less multiplication. The
// bytes of each 16-byte chunk are reversed so that the first message bit is the highest
// coefficient; chunks then fold like those of CRC-32, with constants x^n mod P of 16 bits.
// Compiled for PCLMULQDQ, SSSE3 and SSE4.1 per function; the caller checks the processor.
#include "checksum_cpu.h"
#include "clmul_fold.h"
#include "crc_fold.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qorkit::detail {

#if defined(__x86_64__)

namespace {

// Moves a chunk forward by `Bits`: its high half is multiplied by x^(Bits+64), its low half
// by x^Bits (a 64-bit half times a 16-bit constant fits the 128-bit product).
template <unsigned Bits>
QORKIT_CLMUL_TARGET inline __m128i FoldBy() {
    constexpr std::uint32_t high = XPowMod(Bits + 64, 0x1021u, 16);
    constexpr std::uint32_t low = XPowMod(Bits, 0x1021u, 16);
    return _mm_set_epi64x(high, low);
}

QORKIT_CLMUL_TARGET inline __m128i Reverse(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_set_epi64x(0x0001020304050607LL, 0x08090A0B0C0D0E0FLL));
}

// The first message byte in the top byte of the register.
struct MostSignificantFirst {
    QORKIT_CLMUL_TARGET static __m128i Load(const std::uint8_t* p) {
        return Reverse(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
};

}  // namespace

QORKIT_CLMUL_TARGET std::uint16_t Crc16Clmul(std::uint16_t Crc, const std::uint8_t* Data,
                                             std::size_t Len) noexcept {
    // The register enters as the first sixteen message bits; from there on the computation
    // runs as if it had started at zero.
    const __m128i entry = _mm_set_epi64x(static_cast<long long>(Crc) << 48, 0);
    const __m128i x =
        ClmulFoldChunks<MostSignificantFirst>(entry, Data, Len, FoldBy<512>(), FoldBy<128>());
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
