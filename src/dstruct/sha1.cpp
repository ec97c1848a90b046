// SHA-1: the streaming context, the portable compression function and the public digests.
#include "qorkit/dstruct/sha1.h"

#include <cstring>
#include <vector>

#include "checksum_cpu.h"
#include "qorkit/rtl/file_stream.h"
#include "stream_chunks.h"

namespace qorkit {

namespace {

constexpr std::uint32_t Rol(std::uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

}  // namespace

void detail::Sha1CompressPortable(std::uint32_t State[5], const std::uint8_t* Data,
                                  std::size_t Blocks) noexcept {
    for (; Blocks > 0; --Blocks, Data += 64) {
        std::uint32_t w[80];
        for (int t = 0; t < 16; ++t)
            w[t] = std::uint32_t{Data[4 * t]} << 24 | std::uint32_t{Data[4 * t + 1]} << 16 |
                   std::uint32_t{Data[4 * t + 2]} << 8 | std::uint32_t{Data[4 * t + 3]};
        for (int t = 16; t < 80; ++t)
            w[t] = Rol(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
        std::uint32_t a = State[0], b = State[1], c = State[2], d = State[3], e = State[4];
        for (int t = 0; t < 80; ++t) {
            std::uint32_t f, k;
            if (t < 20) {
                f = (b & c) | (~b & d);
                k = 0x5A827999u;
            } else if (t < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1u;
            } else if (t < 60) {
                f = (b & c) | (b & d) | (c & d);
                k = 0x8F1BBCDCu;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6u;
            }
            const std::uint32_t temp = Rol(a, 5) + f + e + w[t] + k;
            e = d;
            d = c;
            c = Rol(b, 30);
            b = a;
            a = temp;
        }
        State[0] += a;
        State[1] += b;
        State[2] += c;
        State[3] += d;
        State[4] += e;
        // The schedule holds message bytes: wipe it before the frame goes.
        volatile std::uint32_t* vw = w;
        for (int t = 0; t < 80; ++t)
            vw[t] = 0;
    }
}

namespace {

using CompressFn = void (*)(std::uint32_t[5], const std::uint8_t*, std::size_t) noexcept;

CompressFn Compressor() noexcept {
    return detail::ActiveSha1Path() == detail::Sha1Path::ShaNi ? &detail::Sha1CompressShaNi
                                                               : &detail::Sha1CompressPortable;
}

// Overwrites memory in a way the optimiser may not drop.
void Wipe(void* p, std::size_t n) noexcept {
    volatile std::uint8_t* v = static_cast<volatile std::uint8_t*>(p);
    while (n-- > 0)
        *v++ = 0;
}

// The streaming hash: bit length in two 32-bit words, five chaining words, a 64-byte block
// and the number of bytes waiting in it. Wiped when the digest has been taken.
class Sha1Context {
  public:
    Sha1Context() noexcept : FCompress(Compressor()) {}
    ~Sha1Context() { Wipe(this, sizeof *this); }
    Sha1Context(const Sha1Context&) = delete;
    Sha1Context& operator=(const Sha1Context&) = delete;

    void Update(const std::uint8_t* Data, std::size_t Count) noexcept {
        const std::uint64_t bits =
            (std::uint64_t{FLenHigh} << 32 | FLenLow) + (static_cast<std::uint64_t>(Count) << 3);
        FLenLow = static_cast<std::uint32_t>(bits);
        FLenHigh = static_cast<std::uint32_t>(bits >> 32);
        if (FWaiting > 0) {
            const std::size_t take = Count < 64 - FWaiting ? Count : 64 - FWaiting;
            std::memcpy(FBlock + FWaiting, Data, take);
            FWaiting += take;
            Data += take;
            Count -= take;
            if (FWaiting < 64) return;
            FCompress(FState, FBlock, 1);
            Wipe(FBlock, sizeof FBlock);
            FWaiting = 0;
        }
        if (Count >= 64) {
            FCompress(FState, Data, Count / 64);
            Data += Count / 64 * 64;
            Count %= 64;
        }
        if (Count > 0) std::memcpy(FBlock, Data, Count);
        FWaiting = Count;
    }

    TSHACode Finish() noexcept {
        const std::uint32_t high = FLenHigh, low = FLenLow;
        FBlock[FWaiting++] = 0x80;
        if (FWaiting > 56) {
            std::memset(FBlock + FWaiting, 0, 64 - FWaiting);
            FCompress(FState, FBlock, 1);
            FWaiting = 0;
        }
        std::memset(FBlock + FWaiting, 0, 56 - FWaiting);
        for (int i = 0; i < 4; ++i) {
            FBlock[56 + i] = static_cast<std::uint8_t>(high >> (24 - 8 * i));
            FBlock[60 + i] = static_cast<std::uint8_t>(low >> (24 - 8 * i));
        }
        FCompress(FState, FBlock, 1);
        TSHACode digest{};
        for (int i = 0; i < 20; ++i)
            digest[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(FState[i / 4] >> (24 - 8 * (i % 4)));
        Wipe(this, sizeof *this);
        return digest;
    }

  private:
    std::uint32_t FLenHigh = 0;
    std::uint32_t FLenLow = 0;
    std::uint32_t FState[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
    std::uint8_t FBlock[64] = {};
    std::size_t FWaiting = 0;
    CompressFn FCompress;
};

}  // namespace

TSHACode SHA1FromBuffer(std::span<const std::uint8_t> Data) noexcept {
    Sha1Context ctx;
    ctx.Update(Data.data(), Data.size());
    return ctx.Finish();
}

TSHACode SHA1FromString(const String& S) {
    std::string utf8 = ToUtf8(S);
    const TSHACode digest =
        SHA1FromBuffer({reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()});
    Wipe(utf8.data(), utf8.size());
    return digest;
}

TSHACode SHA1FromStream(TStream& Stream) {
    // Memory streams are hashed in their own buffer; other streams are read in pieces of
    // 256 KiB, large enough for file streams to bypass their buffer. The digest is the same as
    // with the classic 1024-byte reads.
    detail::StreamChunks chunks(Stream, 256 * 1024);
    Sha1Context ctx;
    for (std::span<const std::uint8_t> piece = chunks.Next(); !piece.empty(); piece = chunks.Next())
        ctx.Update(piece.data(), piece.size());
    return ctx.Finish();
}

TSHACode SHA1FromFile(const String& FileName) {
    TFileStream stream(FileName, fmOpenRead);
    return SHA1FromStream(stream);
}

String SHA1DigestToHex(const TSHACode& Digest) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    String s(40, u'0');
    for (std::size_t i = 0; i < Digest.size(); ++i) {
        s[2 * i] = kHex[Digest[i] >> 4];
        s[2 * i + 1] = kHex[Digest[i] & 0x0F];
    }
    return s;
}

const char* SHA1Implementation() noexcept {
    return Compressor() == &detail::Sha1CompressPortable ? "portable" : "sha-ni";
}

}  // namespace qorkit
