// The 10-byte x87 extended image, built from and read into any binary floating type.
//
// Used where `long double` is not the x87 format itself; kept as templates so that the
// conversions can be checked on any machine against the native format.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qorkit::detail {

/// Encodes `x` as x87 extended: significand rounded to 64 bits (to nearest, ties to even),
/// values beyond the range become infinities, tiny values become denormals or zeros.
template <class F>
void EncodeX87(F x, std::uint8_t (&out)[10]) noexcept {
    std::uint64_t mant = 0;
    std::uint32_t exp = 0;
    const bool neg = std::signbit(x);
    if (std::isnan(x)) {
        exp = 0x7FFF;
        mant = 0xC000000000000000ULL;
    } else if (std::isinf(x)) {
        exp = 0x7FFF;
        mant = 0x8000000000000000ULL;
    } else if (x != 0) {
        int e = 0;
        F m = std::frexp(std::fabs(x), &e);  // m in [0.5, 1)
        // The biased exponent of m * 2^e with the integer bit first is e - 1 + 16383.
        long biased = static_cast<long>(e) - 1 + 16383;
        int shift = 64;
        if (biased <= 0) {  // denormal: fewer significand bits
            shift = 64 - static_cast<int>(1 - biased);
            biased = 0;
        }
        if (shift > 0) {
            // Take the significand 32 bits at a time; each step is exact in F.
            F r = m;
            std::uint64_t v = 0;
            int taken = 0;
            while (taken < shift) {
                const int step = std::min(32, shift - taken);
                r = std::ldexp(r, step);
                const F whole = std::floor(r);
                v = (v << step) | static_cast<std::uint64_t>(whole);
                r -= whole;
                taken += step;
            }
            // Round to nearest, ties to even, on what is left.
            if (r > F(0.5) || (r == F(0.5) && (v & 1))) {
                ++v;
                if (shift == 64 ? v == 0 : (v >> shift) != 0) {
                    // Carry out of the significand.
                    if (biased == 0 && shift < 64) {
                        biased = (v >> 63) ? 1 : 0;  // a denormal that became normal
                    } else {
                        v = 0x8000000000000000ULL;
                        ++biased;
                    }
                }
            }
            mant = v;
        }
        if (biased >= 0x7FFF) {
            exp = 0x7FFF;
            mant = 0x8000000000000000ULL;
        } else {
            exp = static_cast<std::uint32_t>(biased);
        }
    }
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(mant >> (8 * i));
    const std::uint32_t se = exp | (neg ? 0x8000u : 0u);
    out[8] = static_cast<std::uint8_t>(se);
    out[9] = static_cast<std::uint8_t>(se >> 8);
}

/// Decodes an x87 extended image into `F` (rounded by `ldexp`; out of range gives
/// infinities). Unnormals (integer bit clear with a non-zero exponent) give NaN, as the x87
/// treats them as invalid operands.
template <class F>
F DecodeX87(const std::uint8_t (&in)[10]) noexcept {
    std::uint64_t mant = 0;
    for (int i = 7; i >= 0; --i)
        mant = (mant << 8) | in[i];
    const std::uint32_t se = in[8] | (static_cast<std::uint32_t>(in[9]) << 8);
    const bool neg = (se & 0x8000u) != 0;
    const int exp = static_cast<int>(se & 0x7FFFu);
    F v;
    if (exp == 0x7FFF) {
        v = (mant << 1) == 0 ? std::numeric_limits<F>::infinity()
                             : std::numeric_limits<F>::quiet_NaN();
    } else if (exp != 0 && (mant >> 63) == 0) {
        v = std::numeric_limits<F>::quiet_NaN();
    } else {
        // value = mant * 2^(max(exp,1) - 16383 - 63); split the significand so that each half
        // converts exactly.
        const int e = (exp == 0 ? 1 : exp) - 16383 - 63;
        const F hi = std::ldexp(static_cast<F>(static_cast<std::uint32_t>(mant >> 32)), e + 32);
        const F lo = std::ldexp(static_cast<F>(static_cast<std::uint32_t>(mant)), e);
        v = hi + lo;
    }
    return neg ? -v : v;
}

}  // namespace qorkit::detail
