// CRC-32 by carry-less multiplication: the data is folded 64 bytes at a time into four
// 128-bit accumulators, which keep the message's remainder modulo the CRC polynomial intact.
// The folding constants are powers of x modulo the polynomial, computed at compile time.
// Compiled for the PCLMULQDQ and SSE4.1 extensions per function; the caller checks the CPU.
#include <cstring>

#include "checksum_cpu.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qorkit::detail {

#if defined(__x86_64__)

namespace {

// x^n mod P for the CRC-32 polynomial in its plain (most significant bit first) form.
constexpr std::uint32_t XPowModP(unsigned n) {
    std::uint64_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r <<= 1;
        if (r & 0x100000000ull) r ^= 0x104C11DB7ull;
    }
    return static_cast<std::uint32_t>(r);
}

// The bit-reflected register holds coefficient x^(63-i) of a 64-bit half in bit i. Multiplying
// such a half by k(x) * x^32 and keeping the product in the same reflected 128-bit layout needs
// the constant whose bit m is the coefficient of x^(32-m) in k.
constexpr std::uint64_t Reflect33(std::uint32_t k) {
    std::uint64_t c = 0;
    for (unsigned m = 1; m <= 32; ++m)
        if ((k >> (32 - m)) & 1u) c |= std::uint64_t{1} << m;
    return c;
}

// Constants that move a 128-bit chunk forward by `Bits`: the first (low) half is multiplied by
// x^(Bits+64) = x^(Bits+32) * x^32, the second half by x^Bits = x^(Bits-32) * x^32.
constexpr std::uint64_t kLow512 = Reflect33(XPowModP(512 + 32));
constexpr std::uint64_t kHigh512 = Reflect33(XPowModP(512 - 32));
constexpr std::uint64_t kLow128 = Reflect33(XPowModP(128 + 32));
constexpr std::uint64_t kHigh128 = Reflect33(XPowModP(128 - 32));

__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i acc, __m128i k, __m128i next) {
    const __m128i lo = _mm_clmulepi64_si128(acc, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(acc, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

__attribute__((target("pclmul,sse4.1"))) inline __m128i Load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

}  // namespace

__attribute__((target("pclmul,sse4.1"))) std::uint32_t Crc32Clmul(std::uint32_t Crc,
                                                                  const std::uint8_t* Data,
                                                                  std::size_t Len) noexcept {
    // The running register enters by xoring it into the first four message bytes; the rest of
    // the computation then works as if the register had started at zero.
    __m128i x0 = _mm_xor_si128(Load(Data), _mm_cvtsi32_si128(static_cast<int>(Crc)));
    __m128i x1 = Load(Data + 16);
    __m128i x2 = Load(Data + 32);
    __m128i x3 = Load(Data + 48);
    Data += 64;
    Len -= 64;

    const __m128i k512 =
        _mm_set_epi64x(static_cast<long long>(kHigh512), static_cast<long long>(kLow512));
    while (Len >= 64) {
        x0 = Fold(x0, k512, Load(Data));
        x1 = Fold(x1, k512, Load(Data + 16));
        x2 = Fold(x2, k512, Load(Data + 32));
        x3 = Fold(x3, k512, Load(Data + 48));
        Data += 64;
        Len -= 64;
    }

    const __m128i k128 =
        _mm_set_epi64x(static_cast<long long>(kHigh128), static_cast<long long>(kLow128));
    __m128i x = Fold(x0, k128, x1);
    x = Fold(x, k128, x2);
    x = Fold(x, k128, x3);
    while (Len >= 16) {
        x = Fold(x, k128, Load(Data));
        Data += 16;
        Len -= 16;
    }

    // The accumulator is a 16-byte message with the same remainder as everything folded so
    // far; its CRC from a zero register continues into the tail bytes.
    alignas(16) std::uint8_t rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), x);
    const std::uint32_t crc = Crc32Slice8(0, rest, sizeof rest);
    return Crc32Slice8(crc, Data, Len);
}

#else

std::uint32_t Crc32Clmul(std::uint32_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept {
    return Crc32Slice8(Crc, Data, Len);
}

#endif

}  // namespace qorkit::detail
