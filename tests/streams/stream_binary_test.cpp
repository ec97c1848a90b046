#include "qorkit/streams/stream_binary.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "../../src/streams/extended_layout.h"
#include "qorkit/rtl/memory_stream.h"
#include "streams/test_streams.h"

using namespace qorkit;

namespace {

std::string Hex(const std::string& bytes) {
    static const char* d = "0123456789abcdef";
    std::string h;
    for (const unsigned char c : bytes) {
        h += d[c >> 4];
        h += d[c & 15];
    }
    return h;
}

}  // namespace

TEST(StreamBinary, LittleEndianImages) {
    TStringStream s;
    WriteExtendedToStream(s, 1.0L);
    WriteExtendedToStream(s, -3.0L);
    WriteDoubleToStream(s, 1.0);
    WriteSingleToStream(s, -2.0f);
    WriteLongintToStream(s, -2);
    WriteLongintToStream(s, 0x01020304);
    EXPECT_EQ(Hex(s.DataBytes()),
              "0000000000000080ff3f"  // 1.0 extended: explicit integer bit, exponent 3FFF
              "00000000000000c000c0"  // -3.0
              "000000000000f03f"      // 1.0 double
              "000000c0"              // -2.0 single
              "feffffff"
              "04030201");

    s.SetPosition(0);
    bool error = true;
    EXPECT_EQ(ReadExtendedFromStream(s, error), 1.0L);
    EXPECT_FALSE(error);
    EXPECT_EQ(ReadExtendedFromStream(s, error), -3.0L);
    EXPECT_EQ(ReadDoubleFromStream(s, error), 1.0);
    EXPECT_EQ(ReadSingleFromStream(s, error), -2.0f);
    EXPECT_EQ(ReadLongintFromStream(s, error), -2);
    EXPECT_EQ(ReadLongintFromStream(s, error), 0x01020304);
    EXPECT_FALSE(error);
}

TEST(StreamBinary, ShortReadsReportAndKeepTheBytesThatCame) {
    TStringStream two(std::string("\x01\x02", 2));
    bool error = false;
    EXPECT_EQ(ReadLongintFromStream(two, error), 0x0201);
    EXPECT_TRUE(error);
    EXPECT_EQ(two.Position(), 2);
    EXPECT_EQ(ReadLongintFromStream(two, error), 0);
    EXPECT_TRUE(error);

    TStringStream partial(std::string("\x00\x00\x00\x00\x00\x00\xf0", 7));
    // Seven bytes arrive; the missing top byte stays zero: 0x00f0000000000000 = 2^-1008.
    EXPECT_EQ(ReadDoubleFromStream(partial, error), std::ldexp(1.0, -1008));
    EXPECT_TRUE(error);

    TStringStream three(std::string("\x00\x00\x80", 3));
    EXPECT_EQ(ReadSingleFromStream(three, error), FLT_MIN);  // 00 00 80 00
    EXPECT_TRUE(error);

    // A failing stream is reported the same way, never raised.
    qorkit::test::ForwardStream empty("");
    EXPECT_EQ(ReadExtendedFromStream(empty, error), 0.0L);
    EXPECT_TRUE(error);
}

TEST(StreamBinary, ExtendedImageMatchesTheFormatOnEveryPath) {
    // The portable conversion, run on double values, must agree with the native x87 image
    // of the same value, and read back exactly.
    const double samples[] = {0.0,
                              -0.0,
                              1.0,
                              -1.5,
                              0.1,
                              1e308,
                              -4.9406564584124654e-324,
                              2.2250738585072014e-308,
                              123456789.0,
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (const double d : samples) {
        std::uint8_t native[10];
        ExtendedToBytes(static_cast<long double>(d), native);
        std::uint8_t portable[10];
        detail::EncodeX87(d, portable);
        EXPECT_EQ(std::memcmp(native, portable, 10), 0) << d;
        EXPECT_EQ(detail::DecodeX87<double>(portable), d) << d;
        EXPECT_EQ(std::signbit(detail::DecodeX87<double>(portable)), std::signbit(d));
        EXPECT_EQ(BytesToExtended(native), static_cast<long double>(d));
    }
    std::uint8_t nan[10];
    detail::EncodeX87(std::numeric_limits<double>::quiet_NaN(), nan);
    EXPECT_TRUE(std::isnan(detail::DecodeX87<double>(nan)));
    // An "unnormal" (integer bit clear, exponent non-zero) is no number.
    const std::uint8_t unnormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xff, 0x3f};
    EXPECT_TRUE(std::isnan(detail::DecodeX87<double>(unnormal)));
#if LDBL_MANT_DIG == 64
    // Long double values with 64 significant bits survive a round trip bit for bit.
    const long double third = 1.0L / 3.0L;
    std::uint8_t b[10];
    ExtendedToBytes(third, b);
    EXPECT_EQ(BytesToExtended(b), third);
    // The portable encoder rounds such values to 64 bits exactly as the hardware stores them.
    std::uint8_t p[10];
    detail::EncodeX87(third, p);
    EXPECT_EQ(std::memcmp(b, p, 10), 0);
#endif
}
