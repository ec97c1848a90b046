// Base64 and ASCII85 over streams: published vectors, the block and line rules, bad input and
// round trips.
#include <openssl/evp.h>

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/memory_stream.h"

namespace qorkit {
namespace {

using Coder = void (*)(TStream&, TStream&, bool);
using Decoder = std::int32_t (*)(TStream&, TStream&);

std::string Encode(Coder coder, const std::string& in, bool lineBreaks = false) {
    TStringStream src(in), dst;
    coder(src, dst, lineBreaks);
    return dst.DataBytes();
}

std::string Decode(Decoder decoder, const std::string& in, std::int32_t& result) {
    TStringStream src(in), dst;
    result = decoder(src, dst);
    return dst.DataBytes();
}

std::string RandomString(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (auto& c : s)
        c = static_cast<char>(gen());
    return s;
}

TEST(Base64, Rfc4648VectorsBothWays) {
    const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                           {"f", "Zg=="},
                                                           {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="},
                                                           {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"},
                                                           {"Man", "TWFu"},
                                                           {"M", "TQ=="}};
    for (const auto& [plain, coded] : vectors) {
        EXPECT_EQ(Encode(EncodeBase64, plain), coded);
        std::int32_t r = 1;
        EXPECT_EQ(Decode(DecodeBase64, coded, r), plain);
        EXPECT_EQ(r, 0);
    }
}

TEST(Base64, LinesOf45BytesAndCrLf) {
    const std::string in45(45, 'x');
    std::string coded = Encode(EncodeBase64, in45, true);
    EXPECT_EQ(coded.size(), 62u);
    EXPECT_EQ(coded.substr(60), "\r\n");
    EXPECT_EQ(coded.find('\r'), 60u);
    // The last, shorter line gets its own CR LF; without line breaks the lines run on.
    coded = Encode(EncodeBase64, std::string(46, 'x'), true);
    EXPECT_EQ(coded.size(), 62u + 4u + 2u);
    EXPECT_EQ(coded.substr(coded.size() - 6), "eA==\r\n");
    EXPECT_EQ(Encode(EncodeBase64, std::string(46, 'x'), false).size(), 64u);
    // Lines across the encoder's internal chunk size stay 60 characters each.
    const std::string big = RandomString(45 * 3000 + 7, 1);
    coded = Encode(EncodeBase64, big, true);
    EXPECT_EQ(coded.size(), 3000u * 62u + 12u + 2u);
    for (std::size_t i = 60; i < coded.size(); i += 62)
        ASSERT_EQ(coded.substr(i, 2), "\r\n");
}

TEST(Base64, DecodingSkipsLineBreaksAndReportsBadGroups) {
    std::int32_t r = 1;
    EXPECT_EQ(Decode(DecodeBase64, "TWFu\r\nTQ==", r), "ManM");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Decode(DecodeBase64, "T\nW\rF\r\nu", r), "Man");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Decode(DecodeBase64, "TW u", r), "");
    EXPECT_EQ(r, -1);
    // A bad group drops the bytes of its own 88-character block, not those of earlier blocks.
    const std::string block(88, 'A');
    EXPECT_EQ(Decode(DecodeBase64, block + "TWFu" + "TW~u", r), std::string(66, '\0'));
    EXPECT_EQ(r, -1);
    EXPECT_EQ(Decode(DecodeBase64, "TWFuTW~u", r), "");
    EXPECT_EQ(r, -1);
}

TEST(Base64, PaddingOddCharactersAndShortEnds) {
    std::int32_t r = 1;
    // Padding ends only its own group.
    EXPECT_EQ(Decode(DecodeBase64, "TQ==TWFu", r), "MMan");
    EXPECT_EQ(r, 0);
    // "-" lies inside "+" to "z" but outside the alphabet: it counts as 127, not as an error.
    EXPECT_EQ(Decode(DecodeBase64, "TW-u", r), std::string("\x4d\x7f\xee", 3));
    EXPECT_EQ(r, 0);
    // A group cut short by the end decodes as if padded; a lone character gives nothing.
    EXPECT_EQ(Decode(DecodeBase64, "TWFuTWE", r), "ManMa");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Decode(DecodeBase64, "TWFuTQ", r), "ManM");
    EXPECT_EQ(Decode(DecodeBase64, "TWFuT", r), "Man");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Decode(DecodeBase64, "TWFu ", r), "");
    EXPECT_EQ(r, -1);
}

TEST(Base64, RoundTripsAndMatchesOpenSsl) {
    for (std::size_t n : {1u, 2u, 3u, 44u, 45u, 46u, 65535u, 65536u, 200001u}) {
        const std::string data = RandomString(n, static_cast<unsigned>(n));
        for (bool lines : {false, true}) {
            const std::string coded = Encode(EncodeBase64, data, lines);
            std::int32_t r = 1;
            ASSERT_EQ(Decode(DecodeBase64, coded, r), data) << n;
            ASSERT_EQ(r, 0);
        }
        std::string ref(4 * ((n + 2) / 3) + 1, '\0');
        const int len = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(ref.data()),
                                        reinterpret_cast<const unsigned char*>(data.data()),
                                        static_cast<int>(n));
        ref.resize(static_cast<std::size_t>(len));
        ASSERT_EQ(Encode(EncodeBase64, data), ref) << n;
    }
}

TEST(ASCII85, EncodingGroupsZerosAndEndMark) {
    EXPECT_EQ(Encode(EncodeASCII85, "ABCD"), "5sdq,~>");
    EXPECT_EQ(Encode(EncodeASCII85, "A"), "!b~>");
    EXPECT_EQ(Encode(EncodeASCII85, std::string(4, '\0')), "z~>");
    EXPECT_EQ(Encode(EncodeASCII85, ""), "~>");
    EXPECT_EQ(Encode(EncodeASCII85, "ABCDE"), "5sdq,!f~>");
    // A short final group of zero bytes is not "z".
    EXPECT_EQ(Encode(EncodeASCII85, std::string(3, '\0')), "!!!!~>");
    EXPECT_EQ(Encode(EncodeASCII85, "\xff\xff\xff\xff"), "s8W-!~>");
}

TEST(ASCII85, LineBreaksAfterTwelveGroupsNotCountingZ) {
    const std::string text = Encode(EncodeASCII85, std::string(52, 'a'), true);
    EXPECT_EQ(text.size(), 60u + 2u + 5u + 2u);
    EXPECT_EQ(text.substr(60, 2), "\r\n");
    EXPECT_EQ(text.substr(67), "~>");
    // "z" groups do not count towards the line.
    std::string mixed = std::string(4, '\0') + std::string(48, 'a');
    const std::string coded = Encode(EncodeASCII85, mixed, true);
    EXPECT_EQ(coded, "z" + Encode(EncodeASCII85, std::string(48, 'a'), true));
    EXPECT_EQ(coded.substr(coded.size() - 4), "\r\n~>");
}

TEST(ASCII85, DecodingResultsAndEnds) {
    std::int32_t r = 1;
    EXPECT_EQ(Decode(DecodeASCII85, "5sdq,!f~>", r), "ABCDE");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Decode(DecodeASCII85, "z", r), std::string(4, '\0'));
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Decode(DecodeASCII85, "5s\r\ndq,", r), "ABCD");  // no end mark needed
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Decode(DecodeASCII85, "5sdq,~>5sdq,", r), "ABCD");  // nothing after the end mark
    Decode(DecodeASCII85, "5s dq,~>", r);
    EXPECT_EQ(r, -1);
    Decode(DecodeASCII85, "5szq,~>", r);
    EXPECT_EQ(r, -2);
    // The last bad character decides; decoding goes on after it.
    EXPECT_EQ(Decode(DecodeASCII85, "5szq,5s\tq,", r).size(), 8u);
    EXPECT_EQ(r, -1);
    Decode(DecodeASCII85, "5s\tq,5szq,", r);
    EXPECT_EQ(r, -2);
    EXPECT_EQ(Decode(DecodeASCII85, "5sdq,!~>", r), "ABCD");  // a lone digit gives nothing
    EXPECT_EQ(r, 0);
}

TEST(ASCII85, RoundTrips) {
    for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 5u, 51u, 52u, 100000u}) {
        std::string data = RandomString(n, static_cast<unsigned>(n) + 100);
        if (n >= 8) data.replace(0, 8, std::string(8, '\0'));
        for (bool lines : {false, true}) {
            std::int32_t r = 1;
            ASSERT_EQ(Decode(DecodeASCII85, Encode(EncodeASCII85, data, lines), r), data) << n;
            ASSERT_EQ(r, 0);
        }
    }
}

}  // namespace
}  // namespace qorkit
