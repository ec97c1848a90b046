#include "qorkit/rtl/untyped_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

int CodeOf(const std::function<void()>& op) {
    try {
        op();
    } catch (const EInOutError& e) {
        return e.ErrorCode();
    }
    return -1;
}

}  // namespace

TEST(TUntypedFile, BlocksPositionsAndSizes) {
    TempDir dir;
    TUntypedFile f;
    f.Assign(dir.Name("u.bin"));
    f.Rewrite();
    EXPECT_EQ(f.FileSize(), 0);
    EXPECT_TRUE(f.Eof());
    f.BlockWrite("0123456789", 10);
    EXPECT_EQ(f.FilePos(), 10);
    EXPECT_EQ(f.FileSize(), 10);  // counts bytes still in the buffer

    // Read back what was just written, then overwrite in the middle.
    f.Seek(2);
    char buf[16] = {};
    f.BlockRead(buf, 3);
    EXPECT_EQ(std::string(buf, 3), "234");
    f.BlockWrite("ab", 2);
    f.Seek(0);
    f.BlockRead(buf, 10);
    EXPECT_EQ(std::string(buf, 10), "01234ab789");
    EXPECT_TRUE(f.Eof());

    // A position past the end leaves a zero gap once written.
    f.Seek(12);
    EXPECT_TRUE(f.Eof());
    f.BlockWrite("Z", 1);
    EXPECT_EQ(f.FileSize(), 13);
    f.Close();
    EXPECT_EQ(dir.Get("u.bin"), std::string("01234ab789\0\0Z", 13));

    // Large blocks bypass the buffer and stay in order with small ones.
    std::vector<std::uint8_t> big(300'000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 13);
    f.Rewrite();
    f.BlockWrite("<", 1);
    f.BlockWrite(big.data(), static_cast<std::int64_t>(big.size()));
    f.BlockWrite(">", 1);
    f.Close();
    f.Reset();
    EXPECT_EQ(f.FileSize(), 300'002);
    std::vector<std::uint8_t> back(big.size());
    char edge = 0;
    f.BlockRead(&edge, 1);
    EXPECT_EQ(edge, '<');
    f.BlockRead(back.data(), static_cast<std::int64_t>(back.size()));
    EXPECT_EQ(back, big);
    f.BlockRead(&edge, 1);
    EXPECT_EQ(edge, '>');
}

TEST(TUntypedFile, ShortReadsAtTheEnd) {
    TempDir dir;
    dir.Put("s.bin", "abcde");
    TUntypedFile f;
    f.Assign(dir.Name("s.bin"));
    f.Reset();
    char buf[8] = {};
    std::int64_t actual = -1;
    f.BlockRead(buf, 3, actual);
    EXPECT_EQ(actual, 3);
    f.BlockRead(buf, 8, actual);  // short, and not an error with `actual`
    EXPECT_EQ(actual, 2);
    EXPECT_EQ(std::string(buf, 2), "de");
    f.BlockRead(buf, 8, actual);
    EXPECT_EQ(actual, 0);

    f.Seek(1);
    try {
        f.BlockRead(buf, 8);
        FAIL() << "short read without `actual` did not raise";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 100);
        EXPECT_NE(e.Message().find(u"s.bin"), String::npos);
    }
    EXPECT_EQ(f.FilePos(), 5);
}

TEST(TUntypedFile, ErrorCodes) {
    TempDir dir;
    TUntypedFile f;
    char b = 0;
    EXPECT_EQ(CodeOf([&] { f.FileSize(); }), 102);
    f.Assign(dir.Name("missing.bin"));
    EXPECT_EQ(CodeOf([&] { f.Reset(); }), 2);
    EXPECT_EQ(CodeOf([&] { f.FilePos(); }), 103);
    EXPECT_EQ(CodeOf([&] { f.BlockRead(&b, 1); }), 103);
    EXPECT_EQ(CodeOf([&] { f.Close(); }), 103);

    dir.Put("r.bin", "r");
    f.Assign(dir.Name("r.bin"));
    f.Reset();
    EXPECT_EQ(CodeOf([&] { f.BlockWrite("x", 1); }), 105);  // Reset opens read-only
    EXPECT_EQ(CodeOf([&] { f.Seek(-1); }), 1000 + EINVAL);
    EXPECT_EQ(f.FilePos(), 0);
    f.Close();
    EXPECT_EQ(dir.Get("r.bin"), "r");

    f.Rename(dir.Name("s.bin"));
    EXPECT_TRUE(dir.Exists("s.bin"));
    f.Erase();
    EXPECT_FALSE(dir.Exists("s.bin"));
}
