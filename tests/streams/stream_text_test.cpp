#include "qorkit/streams/stream_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "qorkit/rtl/file_stream.h"
#include "rtl/temp_dir.h"
#include "streams/test_streams.h"

using namespace qorkit;
using qorkit::test::CountingStream;
using qorkit::test::ForwardStream;
using qorkit::test::RestOf;

namespace {

// Every line of `bytes` read with ReadLnStream in `mode`, with the end flag after each.
std::vector<std::pair<String, bool>> Lines(TStream& s, std::int32_t mode, int max = 10) {
    std::vector<std::pair<String, bool>> out;
    for (int i = 0; i < max; ++i) {
        bool eos = false;
        String line = ReadLnStream(s, eos, mode);
        out.emplace_back(line, eos);
        if (eos) break;
    }
    return out;
}

using L = std::vector<std::pair<String, bool>>;

}  // namespace

TEST(WriteStringStream, WritesLowBytesInBlocksOf4096) {
    CountingStream s;
    WriteStringStream(s, String(10000, u'x'));
    EXPECT_EQ(s.Writes, (std::vector<std::int64_t>{4096, 4096, 1808}));
    EXPECT_EQ(s.Size(), 10000);

    CountingStream exact;
    WriteStringStream(exact, String(4096, u'x'));
    EXPECT_EQ(exact.Writes, (std::vector<std::int64_t>{4096}));

    CountingStream t;
    WriteStringStream(t, u"\u0141\u00e9a");
    WriteLnStream(t, u"b");
    WriteStringStream(t, u"");
    EXPECT_EQ(t.DataBytes(), std::string("\x41\xe9"
                                         "ab\r\n"));
}

TEST(ReadLnStream, ModesAndEndBytes) {
    TStringStream m0(std::string("ab\r\ncd"));
    EXPECT_EQ(Lines(m0, 0), (L{{u"ab", false}, {u"cd", true}}));

    TStringStream m1(std::string("ab\r\ncd\r"));
    EXPECT_EQ(Lines(m1, 1), (L{{u"ab", false}, {u"\ncd", false}, {u"", true}}));

    TStringStream m2(std::string("ab\r\n"));
    EXPECT_EQ(Lines(m2, 2), (L{{u"ab", false}, {u"", false}, {u"", true}}));

    TStringStream lf(std::string("\n"));
    EXPECT_EQ(Lines(lf, 0), (L{{u"", false}, {u"", true}}));

    TStringStream crcrlf(std::string("\r\r\n"));
    EXPECT_EQ(Lines(crcrlf, 0), (L{{u"\r", false}, {u"", true}}));

    // Mode 3 needs CR after LF; mode 4 LF after CR; a lone LF is text in mode 4.
    TStringStream m3(std::string("a\n\rb\r\nc"));
    EXPECT_EQ(Lines(m3, 3), (L{{u"a", false}, {u"b\r\nc", true}}));
    TStringStream m4(std::string("a\nb\r\nc\r"));
    EXPECT_EQ(Lines(m4, 4), (L{{u"a\nb", false}, {u"c\r", true}}));

    // Unknown modes run to the end, keeping every end byte.
    TStringStream other(std::string("a\r\nb\n"));
    EXPECT_EQ(Lines(other, 7), (L{{u"a\r\nb\n", true}}));

    // Bytes above 127 are characters of the same code.
    TStringStream high(std::string("\xe9\xff\n"));
    EXPECT_EQ(Lines(high, 0), (L{{u"\u00e9\u00ff", false}, {u"", true}}));
}

TEST(ReadLnStream, NeverReadsPastTheLineEnd) {
    // Memory streams are read ahead internally; the position must still stop at the line end.
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    TStringStream mem(text);
    bool eos = false;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(ReadLnStream(mem, eos, 4), FromUtf8("line " + std::to_string(i))) << i;
        ASSERT_FALSE(eos);
    }
    EXPECT_EQ(mem.Position(), static_cast<std::int64_t>(text.size()));

    // A stream that cannot seek back is read byte by byte.
    ForwardStream fwd("one\ntwo\nthree");
    EXPECT_EQ(ReadLnStream(fwd, eos, 0), u"one");
    EXPECT_EQ(fwd.Rest(), "two\nthree");
    EXPECT_EQ(ReadLnStream(fwd, eos, 2), u"two");
    EXPECT_EQ(fwd.Rest(), "three");
}

TEST(ReadLnStream, EveryModeMatchesByteByByteReading) {
    // Lines of random text in every mode, from a stream read ahead in blocks and from one read
    // a byte at a time, against the rules applied one byte at a time; the position after each
    // line must be exactly after its last byte.
    std::mt19937 gen(41);
    for (int round = 0; round < 300; ++round) {
        const std::string text = test::RandomLineText(gen);
        const auto mode = static_cast<std::int32_t>(gen() % 7) - 1;  // -1 and 5 never end
        TStringStream mem(text);
        ForwardStream fwd(text);
        std::size_t pos = 0;
        for (bool done = false; !done;) {
            bool ended = false;
            const std::string want = test::ReferenceLine(text, pos, mode, true, ended);
            const String wide = test::Widen(want);
            for (TStream* s : {static_cast<TStream*>(&mem), static_cast<TStream*>(&fwd)}) {
                bool eos = false;
                ASSERT_EQ(ReadLnStream(*s, eos, mode), wide) << round << " mode " << mode;
                ASSERT_EQ(eos, !ended) << round;
            }
            ASSERT_EQ(mem.Position(), static_cast<std::int64_t>(pos)) << round;
            ASSERT_EQ(fwd.Rest(), text.substr(pos)) << round;
            done = !ended;
        }
    }
}

TEST(ReadLnStream, LongLinesBetweenShortOnesKeepEveryByte) {
    // The line buffer is reused between calls and given back after a line past 16 MiB; a
    // short line after a long one must not see any of it.
    std::string text =
        std::string(17 << 20, 'x') + "\xE9\r\nab\n" + std::string(70000, 'y') + "\rz";
    TStringStream mem(text);
    const L lines = Lines(mem, 2);
    ASSERT_EQ(lines.size(), 5u);  // CR and LF each end a line in this mode
    EXPECT_EQ(lines[0].first.size(), (17u << 20) + 1);
    EXPECT_EQ(lines[0].first.back(), u'\u00E9');
    EXPECT_EQ(lines[1], (std::pair<String, bool>(u"", false)));
    EXPECT_EQ(lines[2], (std::pair<String, bool>(u"ab", false)));
    EXPECT_EQ(lines[3].first, String(70000, u'y'));
    EXPECT_EQ(lines[4], (std::pair<String, bool>(u"z", true)));
}

TEST(ReadLnStream, FileStreamsAndPipesLoseNoBytes) {
    // A pipe cannot seek back, so nothing may be read beyond the line.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string text = "one\ntwo\r\nthree";
    ASSERT_EQ(::write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fds[1]);
    {
        THandleStream pipe(fds[0]);
        bool eos = false;
        EXPECT_EQ(ReadLnStream(pipe, eos, 0), u"one");
        EXPECT_EQ(ReadLnStream(pipe, eos, 4), u"two");
        EXPECT_EQ(ReadLnStream(pipe, eos, 4), u"three");
        EXPECT_TRUE(eos);
    }
    ::close(fds[0]);

    // Lines written and read back on one file stream, across the read-ahead blocks.
    qorkit::test::TempDir dir;
    TFileStream f(dir.Name("lines.txt"), fmCreate);
    for (int i = 0; i < 5000; ++i)
        WriteLnStream(f, FromUtf8(std::string(static_cast<std::size_t>(i % 300), 'a' + i % 26)));
    f.SetPosition(0);
    bool eos = false;
    for (int i = 0; i < 5000; ++i) {
        const String line = ReadLnStream(f, eos, 4);
        ASSERT_EQ(line.size(), static_cast<std::size_t>(i % 300)) << i;
        ASSERT_FALSE(eos);
    }
    EXPECT_EQ(f.Position(), f.Size());
    EXPECT_EQ(ReadLnStream(f, eos, 4), u"");
    EXPECT_TRUE(eos);
}

TEST(StreamWholeReaders, FindStringBytesAndLines) {
    TStringStream s(std::string("abc;def;"));
    EXPECT_TRUE(FindInStream(s, ';'));
    EXPECT_EQ(s.Position(), 4);
    EXPECT_TRUE(FindInStream(s, ';'));
    EXPECT_FALSE(FindInStream(s, ';'));
    EXPECT_EQ(s.Position(), 8);

    ForwardStream f("xyz");
    EXPECT_TRUE(FindInStream(f, 'y'));
    EXPECT_EQ(f.Rest(), "z");

    TStringStream five(std::string("a\0b\0c", 5));
    EXPECT_EQ(StreamAsString(five), u"ab");
    // Blocks of 256 bytes: an odd byte is dropped per block, and 0x0141 comes from 41 01.
    std::string odd(257, '\0');
    odd[0] = 0x41;
    odd[1] = 0x01;
    odd[256] = 'z';
    TStringStream blocks(odd);
    const String wide = StreamAsString(blocks);
    ASSERT_EQ(wide.size(), 128u);
    EXPECT_EQ(wide[0], u'\u0141');

    std::string bytes(600, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i);
    TStringStream all(bytes);
    all.SetPosition(100);
    const String narrow = StreamAsByteString(all);
    ASSERT_EQ(narrow.size(), 500u);
    EXPECT_EQ(narrow[0], 100);
    EXPECT_EQ(narrow[499], static_cast<Char>(599 & 0xFF));

    TStringStream lines(std::string("a\nb"));
    EXPECT_EQ(CountLinesInStream(lines), 1);
    EXPECT_EQ(lines.Position(), 3);
    TStringStream crs(std::string("\r\r\n\n"));
    EXPECT_EQ(CountLinesInStream(crs), 2);
    std::string big(200000, 'x');
    for (std::size_t i = 0; i < big.size(); i += 3)
        big[i] = '\n';
    TStringStream many(big);
    EXPECT_EQ(CountLinesInStream(many), 66667);
    EXPECT_EQ(RestOf(many), "");
}
