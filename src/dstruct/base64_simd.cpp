// Base64 kernels for AVX2 and AVX-512 VBMI. Each handles only what it can do exactly as the
// scalar coder: the encoders take whole 3-byte groups, the decoders stop before the first
// vector of characters that holds anything outside the alphabet, so that padding, bad input
// and the tails stay with the scalar code. Compiled per function for the extensions; the
// caller checks the processor.
#include <array>

#include "checksum_cpu.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// GCC 12 reports the deliberately undefined registers inside its own AVX intrinsics as
// uninitialised; the reports say nothing about this code.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace qorkit::detail {

#if defined(__x86_64__)

namespace {

#define QORKIT_AVX2_TARGET __attribute__((target("avx2")))
#define QORKIT_VBMI_TARGET __attribute__((target("avx2,avx512f,avx512bw,avx512vbmi")))

constexpr char kAlphabet[65] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Per output dword g: the bytes b, a, c, b of input group g (a, b, c), so that the four 6-bit
// fields sit at bits 10, 4, 22 and 16 of the dword.
constexpr std::array<std::uint8_t, 64> MakeSpread() {
    std::array<std::uint8_t, 64> t{};
    for (unsigned g = 0; g < 16; ++g) {
        t[4 * g] = static_cast<std::uint8_t>(3 * g + 1);
        t[4 * g + 1] = static_cast<std::uint8_t>(3 * g);
        t[4 * g + 2] = static_cast<std::uint8_t>(3 * g + 2);
        t[4 * g + 3] = static_cast<std::uint8_t>(3 * g + 1);
    }
    return t;
}

// The value of each character below 128, or 0x80 outside the alphabet.
constexpr std::array<std::uint8_t, 128> MakeValues() {
    std::array<std::uint8_t, 128> t{};
    for (auto& v : t)
        v = 0x80;
    for (std::uint8_t i = 0; i < 64; ++i)
        t[static_cast<std::uint8_t>(kAlphabet[i])] = i;
    return t;
}

// Per decoded group g: the three bytes of its 24-bit value, most significant first.
constexpr std::array<std::uint8_t, 64> MakePack() {
    std::array<std::uint8_t, 64> t{};
    for (unsigned g = 0; g < 16; ++g) {
        t[3 * g] = static_cast<std::uint8_t>(4 * g + 2);
        t[3 * g + 1] = static_cast<std::uint8_t>(4 * g + 1);
        t[3 * g + 2] = static_cast<std::uint8_t>(4 * g);
    }
    return t;
}

alignas(64) constexpr auto kSpread = MakeSpread();
alignas(64) constexpr auto kValues = MakeValues();
alignas(64) constexpr auto kPack = MakePack();

// Four 6-bit values per dword (the first character's in the low byte) become the dword's
// 24-bit value d0<<18 | d1<<12 | d2<<6 | d3.
QORKIT_AVX2_TARGET inline __m256i Merge6(__m256i v) {
    const __m256i pairs = _mm256_maddubs_epi16(v, _mm256_set1_epi32(0x01400140));
    return _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
}

// 0xFF in the bytes from `Lo` to `Hi` (signed comparison: bytes from 128 up are in no range).
QORKIT_AVX2_TARGET inline __m256i InRange(__m256i v, char Lo, char Hi) {
    return _mm256_and_si256(_mm256_cmpgt_epi8(v, _mm256_set1_epi8(static_cast<char>(Lo - 1))),
                            _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(Hi + 1)), v));
}

}  // namespace

QORKIT_AVX2_TARGET std::size_t Base64EncodeAvx2(const std::uint8_t* In, std::size_t Len,
                                                std::uint8_t* Out) noexcept {
    const __m256i spread = _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSpread.data())));
    // Offsets from a 6-bit value to its character, chosen by value range: 0-25 'A', 26-51
    // 'a' - 26, 52-61 '0' - 52, 62 '+' - 62, 63 '/' - 63.
    const __m256i offsets =
        _mm256_setr_epi8(71, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 65, 0, 0, 71, -4, -4,
                         -4, -4, -4, -4, -4, -4, -4, -4, -19, -16, 65, 0, 0);
    std::size_t done = 0;
    // Two 16-byte loads of which 12 bytes each are used: 28 bytes must be there.
    while (Len - done >= 28) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(In + done));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(In + done + 12));
        const __m256i v = _mm256_shuffle_epi8(_mm256_set_m128i(hi, lo), spread);
        const __m256i high6 = _mm256_mulhi_epu16(_mm256_and_si256(v, _mm256_set1_epi32(0x0FC0FC00)),
                                                 _mm256_set1_epi32(0x04000040));
        const __m256i low6 = _mm256_mullo_epi16(_mm256_and_si256(v, _mm256_set1_epi32(0x003F03F0)),
                                                _mm256_set1_epi32(0x01000010));
        const __m256i idx = _mm256_or_si256(high6, low6);
        __m256i range = _mm256_subs_epu8(idx, _mm256_set1_epi8(51));
        const __m256i letters = _mm256_cmpgt_epi8(_mm256_set1_epi8(26), idx);
        range = _mm256_or_si256(range, _mm256_and_si256(letters, _mm256_set1_epi8(13)));
        const __m256i chars = _mm256_add_epi8(_mm256_shuffle_epi8(offsets, range), idx);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out + done / 3 * 4), chars);
        done += 24;
    }
    return done;
}

QORKIT_AVX2_TARGET std::size_t Base64DecodeAvx2(const std::uint8_t* In, std::size_t Len,
                                                std::uint8_t* Out) noexcept {
    const __m256i pack = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, 2,
                                          1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    std::size_t done = 0;
    while (Len - done >= 32) {
        // Signed comparisons: characters from 128 up are negative and in no range.
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(In + done));
        const __m256i upper = InRange(v, 'A', 'Z'), lower = InRange(v, 'a', 'z'),
                      digit = InRange(v, '0', '9');
        const __m256i plus = _mm256_cmpeq_epi8(v, _mm256_set1_epi8('+'));
        const __m256i slash = _mm256_cmpeq_epi8(v, _mm256_set1_epi8('/'));
        const __m256i valid = _mm256_or_si256(_mm256_or_si256(upper, lower),
                                              _mm256_or_si256(digit, _mm256_or_si256(plus, slash)));
        if (_mm256_movemask_epi8(valid) != -1) break;
        __m256i offset = _mm256_and_si256(upper, _mm256_set1_epi8(-65));
        offset = _mm256_or_si256(offset, _mm256_and_si256(lower, _mm256_set1_epi8(-71)));
        offset = _mm256_or_si256(offset, _mm256_and_si256(digit, _mm256_set1_epi8(4)));
        offset = _mm256_or_si256(offset, _mm256_and_si256(plus, _mm256_set1_epi8(19)));
        offset = _mm256_or_si256(offset, _mm256_and_si256(slash, _mm256_set1_epi8(16)));
        const __m256i bytes = _mm256_shuffle_epi8(Merge6(_mm256_add_epi8(v, offset)), pack);
        // 24 bytes count; the 8 behind them are overwritten by the next step or left unused.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out + done / 4 * 3),
                            _mm256_permutevar8x32_epi32(bytes, lanes));
        done += 32;
    }
    return done;
}

QORKIT_VBMI_TARGET std::size_t Base64EncodeVbmi(const std::uint8_t* In, std::size_t Len,
                                                std::uint8_t* Out) noexcept {
    const __m512i spread = _mm512_load_si512(kSpread.data());
    const __m512i shifts = _mm512_set1_epi64(0x3036242A1016040ALL);  // 10 4 22 16, +32
    const __m512i alphabet = _mm512_loadu_si512(kAlphabet);
    std::size_t done = 0;
    while (Len - done >= 48) {
        const __m512i in = _mm512_maskz_loadu_epi8(0x0000FFFFFFFFFFFFull, In + done);
        const __m512i idx =
            _mm512_multishift_epi64_epi8(shifts, _mm512_permutexvar_epi8(spread, in));
        _mm512_storeu_si512(Out + done / 3 * 4, _mm512_permutexvar_epi8(idx, alphabet));
        done += 48;
    }
    return done;
}

QORKIT_VBMI_TARGET std::size_t Base64DecodeVbmi(const std::uint8_t* In, std::size_t Len,
                                                std::uint8_t* Out) noexcept {
    const __m512i lo = _mm512_load_si512(kValues.data());
    const __m512i hi = _mm512_load_si512(kValues.data() + 64);
    const __m512i pack = _mm512_load_si512(kPack.data());
    std::size_t done = 0;
    while (Len - done >= 64) {
        const __m512i v = _mm512_loadu_si512(In + done);
        const __m512i values = _mm512_permutex2var_epi8(lo, v, hi);
        // Characters from 128 up, and those outside the alphabet, carry the top bit.
        if (_mm512_movepi8_mask(_mm512_or_si512(v, values)) != 0) break;
        const __m512i pairs = _mm512_maddubs_epi16(values, _mm512_set1_epi32(0x01400140));
        const __m512i merged = _mm512_madd_epi16(pairs, _mm512_set1_epi32(0x00011000));
        _mm512_mask_storeu_epi8(Out + done / 4 * 3, 0x0000FFFFFFFFFFFFull,
                                _mm512_permutexvar_epi8(pack, merged));
        done += 64;
    }
    return done;
}

#else

std::size_t Base64EncodeAvx2(const std::uint8_t*, std::size_t, std::uint8_t*) noexcept {
    return 0;
}
std::size_t Base64DecodeAvx2(const std::uint8_t*, std::size_t, std::uint8_t*) noexcept {
    return 0;
}
std::size_t Base64EncodeVbmi(const std::uint8_t*, std::size_t, std::uint8_t*) noexcept {
    return 0;
}
std::size_t Base64DecodeVbmi(const std::uint8_t*, std::size_t, std::uint8_t*) noexcept {
    return 0;
}

#endif

}  // namespace qorkit::detail
