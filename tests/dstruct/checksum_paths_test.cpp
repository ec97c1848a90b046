// Every accelerated checksum and coding kernel this processor can run, forced through the test
// hook, against the portable one on random lengths 0..4096 at every alignment.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "../../src/dstruct/checksum_cpu.h"
#include "qorkit/Qor_dstruct.h"

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
