// Internal: the folding constants of carry-less CRC computation. A chunk of the message that
// stands `n` bits before the end contributes its bits times x^n; folding replaces x^n by
// x^n mod P, computed here at compile time.
#pragma once

#include <cstdint>

namespace qorkit::detail {

/// x^n mod P for a CRC polynomial of degree `Width` given without its top term (0x04C11DB7
/// for CRC-32, 0x1021 for CRC-16), in the plain layout (most significant bit first).
constexpr std::uint32_t XPowMod(unsigned n, std::uint32_t Poly, unsigned Width) {
    const std::uint64_t top = std::uint64_t{1} << Width;
    std::uint64_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r <<= 1;
        if (r & top) r ^= top | Poly;
    }
    return static_cast<std::uint32_t>(r);
}

/// x^n mod the CRC-32 polynomial.
constexpr std::uint32_t XPowModP(unsigned n) {
    return XPowMod(n, 0x04C11DB7u, 32);
}

/// The bit-reflected CRC-32 register holds coefficient x^(63-i) of a 64-bit half in bit i.
/// Multiplying such a half by k(x) * x^32 and keeping the product in the same reflected
/// 128-bit layout needs the constant whose bit m is the coefficient of x^(32-m) in k.
constexpr std::uint64_t Reflect33(std::uint32_t k) {
    std::uint64_t c = 0;
    for (unsigned m = 1; m <= 32; ++m)
        if ((k >> (32 - m)) & 1u) c |= std::uint64_t{1} << m;
    return c;
}

/// The pair of reflected CRC-32 constants that moves a 128-bit chunk forward by `Bits`: the
/// first (low) half is multiplied by x^(Bits+64), the second by x^Bits.
struct FoldPair {
    std::uint64_t Low, High;
};
constexpr FoldPair Crc32Fold(unsigned Bits) {
    return {Reflect33(XPowModP(Bits + 32)), Reflect33(XPowModP(Bits - 32))};
}

}  // namespace qorkit::detail
