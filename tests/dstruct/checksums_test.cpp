// CRC-16, CRC-32 and SHA-1: published check values, agreement with zlib and OpenSSL on random
// data, and agreement between the accelerated and the portable kernels.
#include <openssl/sha.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../src/dstruct/checksum_cpu.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/memory_stream.h"
#include "rtl/temp_dir.h"

namespace qorkit {
namespace {

TBytes Bytes(const std::string& s) {
    return TBytes(s.begin(), s.end());
}

TBytes RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    TBytes b(n);
    for (auto& x : b)
        x = static_cast<std::uint8_t>(gen());
    return b;
}

std::string Hex(const TSHACode& d) {
    return ToUtf8(SHA1DigestToHex(d));
}

TEST(CRC16, PublishedCheckValuesAndStartValues) {
    const TBytes check = Bytes("123456789");
    EXPECT_EQ(CRC16ofBuffer(check, 9, crcZModem), 0x31C3);
    EXPECT_EQ(CRC16ofBuffer(check, 9, crcCCITT), 0x29B1);
    EXPECT_EQ(CRC16ofBuffer(check, 0, crcZModem), 0x0000);
    EXPECT_EQ(CRC16ofBuffer(check, 0, crcCCITT), 0xFFFF);
    // Byte-wise folding from the start value gives the same register.
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : check)
        crc = CalcNextCRC16(b, crc);
    EXPECT_EQ(crc, 0x29B1);
    EXPECT_EQ(CalcNextCRC16(1, 0), 0x1021);  // table entry 1
}

TEST(CRC16, CountIsClampedToTheArray) {
    const TBytes check = Bytes("123456789");
    EXPECT_EQ(CRC16ofBuffer(check, 1000, crcZModem), 0x31C3);
    EXPECT_EQ(CRC16ofBuffer(check, -5, crcZModem), 0x0000);
    EXPECT_EQ(CRC16ofBuffer(check, 4, crcZModem), CRC16ofBuffer(Bytes("1234"), 4, crcZModem));
}

TEST(CRC32, PublishedCheckValueAndRawRegister) {
    const TBytes check = Bytes("123456789");
    EXPECT_EQ(CRC32ofBuffer(check, 9), 0xCBF43926u);
    EXPECT_EQ(CRC32ofBuffer(check, 0), 0u);
    EXPECT_EQ(CRC32ofBuffer(check, 100), 0xCBF43926u);
    EXPECT_EQ(CRC32ofBuffer({}, 5), 0u);
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : check)
        crc = CalcNextCRC32(b, crc);
    EXPECT_EQ(crc ^ 0xFFFFFFFFu, 0xCBF43926u);
    EXPECT_EQ(CalcNextCRC32(1, 0), 0x77073096u);  // table entry 1
}

TEST(CRC32, MatchesZlibOnRandomBuffersOfEveryShape) {
    // Lengths around the 16- and 64-byte folding steps, odd offsets into the buffer (so loads
    // are unaligned) and long runs.
    const TBytes data = RandomBytes(300000, 1);
    std::mt19937 gen(7);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 200; ++n)
        lengths.push_back(n);
    for (int i = 0; i < 50; ++i)
        lengths.push_back(gen() % 290000);
    for (std::size_t len : lengths) {
        const std::size_t off = gen() % 13;
        const std::span<const std::uint8_t> piece(data.data() + off, len);
        const auto expected =
            static_cast<std::uint32_t>(crc32(0, piece.data(), static_cast<uInt>(len)));
        ASSERT_EQ(CRC32ofBuffer(piece, static_cast<std::int32_t>(len)), expected) << len;
    }
}

TEST(CRC32, PiecewiseUpdatesAndKernelsAgree) {
    const TBytes data = RandomBytes(10000, 2);
    std::uint32_t crc = 0xFFFFFFFFu;
    std::size_t pos = 0;
    for (std::size_t step : {1u, 63u, 64u, 65u, 1000u, 17u, 4096u}) {
        crc = UpdateCRC32(crc, std::span(data).subspan(pos, step));
        pos += step;
    }
    crc = UpdateCRC32(crc, std::span(data).subspan(pos));
    EXPECT_EQ(crc ^ 0xFFFFFFFFu, CRC32ofBuffer(data, static_cast<std::int32_t>(data.size())));
    if (detail::CpuHasClmul()) {
        for (std::size_t len : {64u, 65u, 127u, 128u, 129u, 5000u})
            EXPECT_EQ(detail::Crc32Clmul(0x12345678u, data.data() + 3, len),
                      detail::Crc32Slice8(0x12345678u, data.data() + 3, len));
    }
}

TEST(CRC32, FileChecksumAndFailures) {
    test::TempDir dir;
    const TBytes data = RandomBytes(600000, 3);  // several read blocks and a partial one
    {
        std::ofstream f(dir.Native("data.bin"), std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()),
                static_cast<std::streamsize>(data.size()));
    }
    EXPECT_EQ(CalcCRC32ofFile(dir.Name("data.bin")),
              CRC32ofBuffer(data, static_cast<std::int32_t>(data.size())));
    EXPECT_EQ(CalcCRC32ofFile(dir.Name("missing.bin")), 0u);
    EXPECT_EQ(CalcCRC32ofFile(dir.Name("")), 0u);  // a directory cannot be read
}

TEST(SHA1, PublishedVectors) {
    EXPECT_EQ(Hex(SHA1FromBuffer({})), "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709");
    TMemoryStream abc;
    abc.WriteBuffer("abc", 3);
    abc.SetPosition(0);
    EXPECT_EQ(Hex(SHA1FromStream(abc)), "A9993E364706816ABA3E25717850C26C9CD0D89D");
    EXPECT_EQ(abc.Position(), 3);
    const std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ(Hex(SHA1FromBuffer(Bytes(two))), "84983E441C3BD26EBAAE4AA1F95129E5E54670F1");
    const TBytes million(1000000, 'a');
    EXPECT_EQ(Hex(SHA1FromBuffer(million)), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F");
    std::string rep;
    for (int i = 0; i < 10; ++i)
        rep += "0123456701234567012345670123456701234567012345670123456701234567";
    EXPECT_EQ(Hex(SHA1FromBuffer(Bytes(rep))), "DEA356A2CDDD90C7A7ECEDC5EBB563934F460452");
}

TEST(SHA1, MatchesOpenSslAcrossPaddingBoundaries) {
    const TBytes data = RandomBytes(5000, 4);
    for (std::size_t len : {0u, 1u, 55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 4999u}) {
        unsigned char ref[20];
        ::SHA1(data.data(), len, ref);
        const TSHACode got = SHA1FromBuffer(std::span(data.data(), len));
        ASSERT_EQ(std::memcmp(got.data(), ref, 20), 0) << len;
        // The stream form, read from a position in the middle, hashes only the rest.
        TMemoryStream s;
        s.WriteBuffer(data.data(), 10);
        s.WriteBuffer(data.data(), static_cast<std::int64_t>(len));
        s.SetPosition(10);
        ASSERT_EQ(SHA1FromStream(s), got) << len;
    }
}

TEST(SHA1, AcceleratedAndPortableKernelsAgree) {
    if (!detail::CpuHasShaNi()) GTEST_SKIP() << "no SHA extensions on this processor";
    const TBytes data = RandomBytes(64 * 9, 5);
    std::uint32_t a[5] = {1, 2, 3, 4, 5}, b[5] = {1, 2, 3, 4, 5};
    detail::Sha1CompressShaNi(a, data.data(), 9);
    detail::Sha1CompressPortable(b, data.data(), 9);
    EXPECT_EQ(std::memcmp(a, b, sizeof a), 0);
}

TEST(SHA1, StringsHashTheirUtf8Bytes) {
    EXPECT_EQ(Hex(SHA1FromString(u"abc")), "A9993E364706816ABA3E25717850C26C9CD0D89D");
    EXPECT_EQ(Hex(SHA1FromString(u"")), "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709");
    // U+00E9 is the two bytes C3 A9 in UTF-8.
    const TBytes utf8 = {0xC3, 0xA9};
    EXPECT_EQ(SHA1FromString(u"\u00E9"), SHA1FromBuffer(utf8));
}

TEST(SHA1, HexFormAndFiles) {
    TSHACode d{};
    d[0] = 0x0A;
    d[1] = 0xFF;
    const String hex = SHA1DigestToHex(d);
    EXPECT_EQ(hex.size(), 40u);
    EXPECT_EQ(hex.substr(0, 6), u"0AFF00");

    test::TempDir dir;
    {
        std::ofstream f(dir.Native("abc.txt"), std::ios::binary);
        f << "abc";
    }
    EXPECT_EQ(Hex(SHA1FromFile(dir.Name("abc.txt"))), "A9993E364706816ABA3E25717850C26C9CD0D89D");
    EXPECT_THROW(SHA1FromFile(dir.Name("missing.txt")), EFOpenError);
}

}  // namespace
}  // namespace qorkit
