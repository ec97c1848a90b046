#include "qorkit/streams/mixed_file_stream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"
#include "streams/test_streams.h"

using namespace qorkit;
using qorkit::test::TempDir;

TEST(TMixedFStream, TextAndBinaryShareOnePosition) {
    TempDir dir;
    {
        TMixedFStream f(dir.Name("mixed.dat"), fmCreate);
        EXPECT_TRUE(f.Eos());
        f.WriteLn(u"header \u0141");
        f.WriteDouble(2.5);
        f.WriteInteger(-7);
        f.WriteByte(200);
        f.Write(u"  42 -1.5e2;");
        f.WriteLn(u"");
    }
    EXPECT_EQ(dir.Get("mixed.dat").substr(0, 10), "header A\r\n");
    TMixedFStream f(dir.Name("mixed.dat"), fmOpenRead);
    EXPECT_EQ(f.ReadLn(4), u"header A");
    bool error = true;
    EXPECT_EQ(f.ReadDouble(error), 2.5);
    EXPECT_FALSE(error);
    EXPECT_EQ(f.ReadInteger(error), -7);
    EXPECT_EQ(f.ReadByte(error), 200);
    EXPECT_FALSE(error);
    EXPECT_EQ(f.ReadDecimal(), 42);
    EXPECT_EQ(f.ReadFPNum(true, 1), -150.0);
    EXPECT_FALSE(f.Eos());
    EXPECT_EQ(f.ReadLn(4), u"");
    EXPECT_TRUE(f.Eos());
    EXPECT_EQ(f.ReadByte(error), 0);
    EXPECT_TRUE(error);
    EXPECT_EQ(f.ReadExtended(error), 0.0L);
    EXPECT_TRUE(error);
}

TEST(TMixedFStream, ReadLnKeepsPrintableBytesOnly) {
    TempDir dir;
    dir.Put("lines.txt", std::string("ab\r\ncd\r") + "x\ay\tz\n" + "tail");
    TMixedFStream f(dir.Name("lines.txt"), fmOpenRead);
    EXPECT_EQ(f.ReadLn(1), u"ab");  // the LF after CR is dropped, not kept
    EXPECT_EQ(f.ReadLn(1), u"cd");
    EXPECT_EQ(f.ReadLn(0), u"xy\tz");  // BEL dropped silently, tab kept
    EXPECT_FALSE(f.Eos());
    EXPECT_EQ(f.ReadLn(0), u"tail");
    EXPECT_TRUE(f.Eos());
    // The position after a line is exactly after its end byte, even though the file is read
    // in blocks underneath.
    f.SetPosition(0);
    EXPECT_EQ(f.ReadLn(2), u"ab");
    EXPECT_EQ(f.Position(), 3);
}

TEST(TMixedFStream, ReadLnMatchesByteByByteReading) {
    // Random text in every mode against the rules applied one byte at a time; the file is
    // read in blocks underneath, so the position after each line is checked as well.
    TempDir dir;
    std::mt19937 gen(43);
    for (int round = 0; round < 150; ++round) {
        const std::string text = test::RandomLineText(gen);
        const auto mode = static_cast<std::int32_t>(gen() % 7) - 1;
        dir.Put("random.txt", text);
        TMixedFStream f(dir.Name("random.txt"), fmOpenRead);
        std::size_t pos = 0;
        while (pos < text.size()) {
            bool ended = false;
            const std::string want = test::ReferenceLine(text, pos, mode, false, ended);
            ASSERT_EQ(f.ReadLn(mode), test::Widen(want)) << round << " " << mode;
            ASSERT_EQ(f.Position(), static_cast<std::int64_t>(pos)) << round;
        }
        EXPECT_TRUE(f.Eos());
    }
}

TEST(TMixedFStream, OpenFailuresAndModes) {
    TempDir dir;
    EXPECT_THROW(TMixedFStream(dir.Name("missing.dat"), fmOpenRead), EFOpenError);
    EXPECT_THROW(TMixedFStream(dir.Name("no/such/dir.dat"), fmCreate), EFCreateError);
    dir.Put("ro.dat", "abc");
    TMixedFStream ro(dir.Name("ro.dat"), fmOpenRead);
    EXPECT_THROW(
        {
            ro.WriteLn(u"x");
            ro.Flush();
        },
        EWriteError);
}
