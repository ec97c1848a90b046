// Every accelerated checksum and coding kernel this processor can run, forced through the test
// hook, against the portable one on random lengths 0..4096 at every alignment.
#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "../../src/dstruct/checksum_cpu.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/memory_stream.h"

namespace qorkit {
namespace {

using detail::Base64Path;
using detail::Crc16Path;
using detail::Crc32Path;
using detail::Sha1Path;

// Forces a kernel for the life of the object and restores the one in use before.
template <class P>
class Forced {
  public:
    explicit Forced(P p) : FOld(Active(P{})), FOk(detail::ForcePath(p)) {}
    ~Forced() { detail::ForcePath(FOld); }
    bool Ok() const { return FOk; }

  private:
    static Crc32Path Active(Crc32Path) { return detail::ActiveCrc32Path(); }
    static Crc16Path Active(Crc16Path) { return detail::ActiveCrc16Path(); }
    static Sha1Path Active(Sha1Path) { return detail::ActiveSha1Path(); }
    static Base64Path Active(Base64Path) { return detail::ActiveBase64Path(); }
    P FOld;
    bool FOk;
};

const std::vector<std::uint8_t>& Pool() {
    static const std::vector<std::uint8_t> pool = [] {
        std::vector<std::uint8_t> p(4096 + 64);
        std::mt19937 gen(11);
        for (auto& b : p)
            b = static_cast<std::uint8_t>(gen());
        return p;
    }();
    return pool;
}

// Calls `check(offset, length)` for every alignment 0..63 with random lengths 0..4096, the
// lengths around the kernels' block sizes included.
template <class F>
void ForShapes(F&& check) {
    std::mt19937 gen(5);
    std::vector<std::size_t> lengths = {0, 1, 15, 16, 17, 63, 64, 65, 255, 256, 257, 511, 4096};
    for (int i = 0; i < 24; ++i)
        lengths.push_back(gen() % 4097);
    for (std::size_t off = 0; off < 64; ++off)
        for (std::size_t len : lengths)
            check(off, len);
}

TEST(ChecksumPaths, Crc32KernelsAgreeWithSlicingByEight) {
    const auto& pool = Pool();
    for (Crc32Path p : {Crc32Path::Slice8, Crc32Path::Clmul, Crc32Path::Vpclmul512}) {
        Forced<Crc32Path> forced(p);
        if (!forced.Ok()) continue;
        ForShapes([&](std::size_t off, std::size_t len) {
            const std::uint32_t start = static_cast<std::uint32_t>(len * 2654435761u);
            ASSERT_EQ(UpdateCRC32(start, std::span(pool.data() + off, len)),
                      detail::Crc32Slice8(start, pool.data() + off, len))
                << CRC32Implementation() << " offset " << off << " length " << len;
        });
    }
}

TEST(ChecksumPaths, Crc16KernelsAgreeWithTheTable) {
    const auto& pool = Pool();
    for (Crc16Path p : {Crc16Path::Table, Crc16Path::Clmul}) {
        Forced<Crc16Path> forced(p);
        if (!forced.Ok()) continue;
        ForShapes([&](std::size_t off, std::size_t len) {
            for (std::uint16_t start : {std::uint16_t{0}, std::uint16_t{0xFFFF},
                                        static_cast<std::uint16_t>(len * 40503u)}) {
                ASSERT_EQ(UpdateCRC16(start, std::span(pool.data() + off, len)),
                          detail::Crc16Table(start, pool.data() + off, len))
                    << "path " << int(p) << " offset " << off << " length " << len;
            }
        });
    }
}

TEST(ChecksumPaths, Sha1KernelsAgreeWithThePortableOne) {
    const auto& pool = Pool();
    std::vector<TSHACode> portable;
    {
        Forced<Sha1Path> forced(Sha1Path::Portable);
        ASSERT_STREQ(SHA1Implementation(), "portable");
        ForShapes([&](std::size_t off, std::size_t len) {
            portable.push_back(SHA1FromBuffer(std::span(pool.data() + off, len)));
        });
    }
    Forced<Sha1Path> forced(Sha1Path::ShaNi);
    if (!forced.Ok()) GTEST_SKIP() << "no SHA extensions on this processor";
    ASSERT_STREQ(SHA1Implementation(), "sha-ni");
    std::size_t i = 0;
    ForShapes([&](std::size_t off, std::size_t len) {
        ASSERT_EQ(SHA1FromBuffer(std::span(pool.data() + off, len)), portable[i++])
            << "offset " << off << " length " << len;
    });
}

std::string Encode(const std::uint8_t* p, std::size_t n, bool wrap) {
    TMemoryStream in;
    TStringStream out;
    in.WriteBuffer(p, static_cast<std::int64_t>(n));
    in.SetPosition(0);
    EncodeBase64(in, out, wrap);
    return out.DataBytes();
}

std::pair<std::int32_t, std::string> Decode(const std::string& text) {
    TStringStream in(text), out;
    const std::int32_t r = DecodeBase64(in, out);
    return {r, out.DataBytes()};
}

// The kernels themselves at every alignment of input and output, against the scalar coder.
TEST(ChecksumPaths, Base64KernelsAtEveryAlignment) {
    using Kernel = std::size_t (*)(const std::uint8_t*, std::size_t, std::uint8_t*) noexcept;
    struct K {
        Base64Path path;
        Kernel encode, decode;
    };
    const K kernels[] = {
        {Base64Path::Avx2, detail::Base64EncodeAvx2, detail::Base64DecodeAvx2},
        {Base64Path::Avx512Vbmi, detail::Base64EncodeVbmi, detail::Base64DecodeVbmi}};
    const auto& pool = Pool();
    std::vector<std::uint8_t> out(8192 + 128);
    for (const K& k : kernels) {
        if (!detail::CanRun(k.path)) continue;
        ForShapes([&](std::size_t off, std::size_t len) {
            const std::string ref = Encode(pool.data() + off, len, false);
            const std::size_t done = k.encode(pool.data() + off, len, out.data() + off);
            ASSERT_EQ(done % 3, 0u);
            ASSERT_LE(done, len);
            ASSERT_EQ(std::string(out.begin() + off, out.begin() + off + done / 3 * 4),
                      ref.substr(0, done / 3 * 4))
                << "path " << int(k.path) << " offset " << off << " length " << len;
            std::vector<std::uint8_t> text(off + ref.size());
            std::copy(ref.begin(), ref.end(), text.begin() + off);
            const std::size_t used = k.decode(text.data() + off, ref.size(), out.data() + off);
            ASSERT_EQ(used % 4, 0u);
            ASSERT_LE(used, ref.size());
            ASSERT_TRUE(std::equal(pool.begin() + off, pool.begin() + off + used / 4 * 3,
                                   out.begin() + off))
                << "path " << int(k.path) << " offset " << off << " length " << len;
            // A full vector of data leaves at most a vector and the padded group behind.
            EXPECT_LE(ref.size() - used, 64u + 4u);
        });
    }
}

// The coders on every path against the scalar path: clean text, wrapped text, and text with a
// bad, padding, line-end or out-of-alphabet character at a random place (identical bytes and
// results, the bytes written before a bad block included).
TEST(ChecksumPaths, Base64PathsAgreeWithTheScalarCoder) {
    const auto& pool = Pool();
    std::mt19937 gen(9);
    const char spoil[] = {'\0', '!', '=', '{', ':', '\r', '\n', '\x80', '\xFF', '-', '*'};
    for (Base64Path p : {Base64Path::Avx2, Base64Path::Avx512Vbmi}) {
        if (!detail::CanRun(p)) continue;
        for (int i = 0; i < 150; ++i) {
            const std::size_t off = gen() % 64, len = gen() % 4097;
            const bool wrap = i % 3 == 0;
            std::string clean, damaged;
            std::pair<std::int32_t, std::string> refClean, refDamaged;
            {
                Forced<Base64Path> scalar(Base64Path::Scalar);
                clean = Encode(pool.data() + off, len, wrap);
                damaged = clean;
                if (!damaged.empty()) damaged[gen() % damaged.size()] = spoil[gen() % sizeof spoil];
                refClean = Decode(clean);
                refDamaged = Decode(damaged);
            }
            Forced<Base64Path> forced(p);
            ASSERT_STREQ(Base64Implementation(), p == Base64Path::Avx2 ? "avx2" : "avx512-vbmi");
            ASSERT_EQ(Encode(pool.data() + off, len, wrap), clean) << len << " wrap " << wrap;
            ASSERT_EQ(Decode(clean), refClean) << len;
            ASSERT_EQ(refClean.second, std::string(pool.begin() + off, pool.begin() + off + len));
            ASSERT_EQ(Decode(damaged), refDamaged) << len << " text " << damaged;
        }
        // Every byte value at every place of a vector, beyond the first 88-character block.
        Forced<Base64Path> forced(p);
        const std::string base = Encode(pool.data(), 300, false);
        for (int c = 0; c < 256; ++c) {
            for (std::size_t at : {100u, 163u, 255u}) {
                std::string t = base;
                t[at] = static_cast<char>(c);
                std::pair<std::int32_t, std::string> ref;
                {
                    Forced<Base64Path> scalar(Base64Path::Scalar);
                    ref = Decode(t);
                }
                ASSERT_EQ(Decode(t), ref) << "byte " << c << " at " << at;
            }
        }
    }
}

TEST(ChecksumPaths, HookRefusesKernelsTheProcessorLacksAndNamesTheOneInUse) {
    {
        Forced<Crc32Path> forced(Crc32Path::Slice8);
        ASSERT_TRUE(forced.Ok());
        EXPECT_STREQ(CRC32Implementation(), "slice8");
    }
    for (Crc32Path p : {Crc32Path::Clmul, Crc32Path::Vpclmul512}) {
        Forced<Crc32Path> forced(p);
        EXPECT_EQ(forced.Ok(), detail::CanRun(p));
        if (forced.Ok()) {
            EXPECT_STREQ(CRC32Implementation(), p == Crc32Path::Clmul ? "pclmul" : "vpclmul-512");
        }
    }
}

}  // namespace
}  // namespace qorkit
