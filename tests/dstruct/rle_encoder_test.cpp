// TRLEncoder: the coded format, block delivery, buffer safety and round trips.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "qorkit/Qor_dstruct.h"

namespace qorkit {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Encodes `in` in chunks of `chunk` bytes, collecting blocks as the usage pattern says.
Bytes EncodeAll(TRLEncoder& rle, const Bytes& in, std::size_t chunk) {
    Bytes out, block(static_cast<std::size_t>(rle.BufLeng()));
    rle.Reset();
    for (std::size_t pos = 0; pos < in.size(); pos += chunk) {
        const std::size_t n = std::min(chunk, in.size() - pos);
        if (rle.Encode(in.data() + pos, static_cast<std::int32_t>(n))) {
            while (rle.BufCount() >= rle.BufLeng()) {
                rle.GetResult(block.data());
                out.insert(out.end(), block.begin(), block.end());
            }
        }
    }
    for (;;) {
        const std::int32_t got = rle.Finish(block.data());
        out.insert(out.end(), block.begin(), block.begin() + got);
        if (got < rle.BufLeng()) break;
    }
    return out;
}

Bytes DecodeAll(TRLEncoder& rle, const Bytes& in) {
    Bytes out, block(static_cast<std::size_t>(rle.BufLeng()));
    rle.Reset();
    for (std::uint8_t b : in) {
        if (rle.Decode(b)) {
            while (rle.BufCount() >= rle.BufLeng()) {
                rle.GetResult(block.data());
                out.insert(out.end(), block.begin(), block.end());
            }
        }
    }
    while (const std::int32_t got = rle.GetRemainder(block.data()))
        out.insert(out.end(), block.begin(), block.begin() + got);
    return out;
}

TEST(TRLEncoder, CodedFormat) {
    TRLEncoder rle;
    EXPECT_EQ(rle.BufLeng(), 256);
    EXPECT_EQ(rle.BufCapacity(), 1024);
    EXPECT_EQ(EncodeAll(rle, {7, 7, 7, 7, 2, 165, 3}, 100),
              (Bytes{165, 4, 7, 2, 165, 1, 165, 165, 1, 3}));
    EXPECT_EQ(EncodeAll(rle, Bytes(300, 8), 300), (Bytes{165, 255, 8, 165, 45, 8}));
    EXPECT_EQ(EncodeAll(rle, {9}, 1), (Bytes{165, 1, 9}));
    EXPECT_EQ(EncodeAll(rle, {1, 2}, 2), (Bytes{1, 165, 1, 2}));
    EXPECT_EQ(EncodeAll(rle, {4, 4, 5}, 1), (Bytes{4, 4, 165, 1, 5}));
    EXPECT_EQ(EncodeAll(rle, {165, 165, 1}, 3), (Bytes{165, 2, 165, 165, 1, 1}));
    // A run of exactly 255 is emitted at once; the next byte opens a new run.
    EXPECT_EQ(EncodeAll(rle, Bytes(255, 6), 255), (Bytes{165, 255, 6, 165, 0, 6}));
    std::uint8_t out[256];
    rle.Reset();
    EXPECT_EQ(rle.Finish(out), 3);
    EXPECT_EQ((Bytes(out, out + 3)), (Bytes{165, 0, 0}));
    // Further Finish calls while a full block was delivered each add an empty run.
    rle.SetBufLeng(4);
    rle.Reset();
    rle.Encode("\1\2\3\4\5", 5);
    Bytes all;
    int calls = 0;
    for (std::int32_t got = 4; got == 4; ++calls) {
        got = rle.Finish(out);
        all.insert(all.end(), out, out + got);
    }
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(all, (Bytes{1, 2, 3, 4, 165, 1, 5, 165, 0, 5, 165, 0, 5, 165, 0, 5, 165, 0, 5}));
}

TEST(TRLEncoder, DecodingStatesAndBlocks) {
    TRLEncoder rle;
    EXPECT_EQ(DecodeAll(rle, {165, 0, 42, 1, 165, 3, 9}), (Bytes{1, 9, 9, 9}));
    rle.Reset();
    rle.Decode(165);
    EXPECT_EQ(rle.DecodeState(), rlLeadin);
    rle.Decode(2);
    EXPECT_EQ(rle.DecodeState(), rlCnt);

    // True exactly when the count reaches BufLeng; the overflow of the crossing run stays.
    rle.SetBufLeng(100);
    rle.Reset();
    for (int i = 0; i < 99; ++i)
        ASSERT_FALSE(rle.Decode(1));
    EXPECT_FALSE(rle.Decode(165));
    EXPECT_FALSE(rle.Decode(10));
    EXPECT_TRUE(rle.Decode(2));
    EXPECT_EQ(rle.BufCount(), 109);
    std::uint8_t out[100];
    rle.GetResult(out);
    EXPECT_EQ(out[98], 1);
    EXPECT_EQ(out[99], 2);
    EXPECT_EQ(rle.BufCount(), 9);
    rle.GetResult(out);  // fewer than BufLeng held: nothing happens
    EXPECT_EQ(rle.BufCount(), 9);
    EXPECT_EQ(rle.GetRemainder(out), 9);
    EXPECT_EQ(rle.GetRemainder(out), 0);
}

TEST(TRLEncoder, BufferGrowsInsteadOfOverflowing) {
    // Long runs with a tiny block, and one Encode call far beyond four blocks.
    TRLEncoder rle;
    rle.SetBufLeng(4);
    EXPECT_EQ(rle.BufCapacity(), 16);
    rle.Reset();
    rle.Decode(165);
    rle.Decode(255);
    EXPECT_TRUE(rle.Decode(7));
    EXPECT_EQ(rle.BufCount(), 255);
    EXPECT_GE(rle.BufCapacity(), 255);

    Bytes in(10000);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<std::uint8_t>(1 + i % 2);
    rle.Reset();
    EXPECT_TRUE(rle.Encode(in.data(), static_cast<std::int32_t>(in.size())));
    EXPECT_GE(rle.BufCapacity(), rle.BufCount());
    EXPECT_EQ(rle.BufCount(), 9999);  // the last byte is still pending
    EXPECT_FALSE(TRLEncoder().Encode(in.data(), 0));
    EXPECT_FALSE(TRLEncoder().Encode(in.data(), -3));
}

TEST(TRLEncoder, ChangingBufLengKeepsPendingBytes) {
    TRLEncoder rle;
    rle.SetName(u"rle");
    const Bytes in = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    rle.Encode(in.data(), 10);  // nine literals held, the tenth byte pending
    EXPECT_EQ(rle.BufCount(), 9);
    rle.SetBufLeng(2);
    EXPECT_EQ(rle.BufLeng(), 2);
    EXPECT_EQ(rle.BufCount(), 9);
    EXPECT_GE(rle.BufCapacity(), 9);
    Bytes out;
    std::uint8_t block[2];
    for (;;) {
        const std::int32_t got = rle.Finish(block);
        out.insert(out.end(), block, block + got);
        if (got < 2) break;
    }
    // With blocks this small further Finish calls add no empty runs, so the ending terminates.
    EXPECT_EQ(out, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 165, 1, 10}));
    EXPECT_EQ(DecodeAll(rle, out), in);
    rle.SetBufLeng(0);  // ignored
    EXPECT_EQ(rle.BufLeng(), 2);
}

TEST(TRLEncoder, RoundTripsForManyShapes) {
    std::mt19937 gen(11);
    for (int trial = 0; trial < 40; ++trial) {
        Bytes in(gen() % 5000);
        // Runs of random length over a small alphabet that includes the lead-in byte.
        for (std::size_t i = 0; i < in.size();) {
            const std::uint8_t b = static_cast<std::uint8_t>(163 + gen() % 4);
            for (std::size_t run = 1 + gen() % 600; run > 0 && i < in.size(); --run)
                in[i++] = b;
        }
        TRLEncoder rle;
        rle.SetBufLeng(static_cast<std::int32_t>(1 + gen() % 300));
        const std::size_t chunk = 1 + gen() % 700;
        const Bytes coded = EncodeAll(rle, in, chunk);
        ASSERT_EQ(DecodeAll(rle, coded), in) << trial;
    }
}

}  // namespace
}  // namespace qorkit
