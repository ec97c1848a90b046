#include "qorkit/rtl/file_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

std::string ReadAll(TStream& s) {
    std::string out(static_cast<std::size_t>(s.Size()), '\0');
    s.SetPosition(0);
    s.ReadBuffer(out.data(), static_cast<std::int64_t>(out.size()));
    return out;
}

}  // namespace

TEST(TFileStream_Open, FailuresNameTheFileAndTheReason) {
    TempDir dir;
    const String missing = dir.Name("missing.bin");
    try {
        TFileStream s(missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), u"Cannot open file \"" + missing + u"\". No such file or directory");
    }

    const String nodir = dir.Name("no/such/dir/f.bin");
    try {
        TFileStream s(nodir, fmCreate);
        FAIL() << "created a file in a missing directory";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), u"Cannot create file \"" + nodir + u"\". No such file or directory");
    }

    try {
        TFileStream s(dir.Name(""), fmOpenRead);
        FAIL() << "opened a directory";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("Is a directory"), std::string::npos) << e.what();
    }

    dir.Put("f", "x");
    EXPECT_THROW(TFileStream(dir.Name("f"), 0x0003), EFOpenError);
    EXPECT_THROW(TFileStream(dir.Name("f"), 0x0050), EFOpenError);
    try {
        TFileStream s(dir.Name("f"), 0x1200);
        FAIL() << "accepted a malformed mode word";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("Invalid file mode $1200"), std::string::npos);
    }
    EXPECT_EQ(dir.Get("f"), "x");
}

TEST(TFileStream_Open, ModesAndBackslashSeparators) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "sub");
    const String name = FromUtf8(dir.Path().string() + "\\sub\\data.bin");
    {
        TFileStream s(name, fmCreate);
        EXPECT_EQ(s.FileName(), name);
        s.WriteBuffer("hello", 5);
    }
    EXPECT_EQ(dir.Get("sub/data.bin"), "hello");

    {  // fmCreate truncates an existing file
        TFileStream s(name, fmCreate | fmShareExclusive);
        EXPECT_EQ(s.Size(), 0);
        s.WriteBuffer("ab", 2);
    }
    EXPECT_EQ(dir.Get("sub/data.bin"), "ab");

    {  // fmOpenWrite keeps the contents and starts at 0
        TFileStream s(name, fmOpenWrite);
        EXPECT_EQ(s.Position(), 0);
        s.WriteBuffer("X", 1);
    }
    EXPECT_EQ(dir.Get("sub/data.bin"), "Xb");

    {  // a read-only stream refuses writes when the buffer goes to the system
        TFileStream s(name, fmOpenRead);
        s.WriteBuffer("zz", 2);
        EXPECT_THROW(s.Flush(), EWriteError);
    }
    EXPECT_EQ(dir.Get("sub/data.bin"), "Xb");
}

TEST(TFileStream_Share, LocksAreHonouredBetweenStreams) {
    TempDir dir;
    dir.Put("f", "precious");
    const String f = dir.Name("f");
    {
        TFileStream a(f, fmOpenRead | fmShareExclusive);
        EXPECT_THROW(TFileStream(f, fmOpenRead | fmShareDenyNone), EFOpenError);
        EXPECT_THROW(TFileStream(f, fmOpenRead | fmShareExclusive), EFOpenError);
        try {
            TFileStream c(f, fmCreate);
            FAIL() << "created over an exclusively opened file";
        } catch (const EFCreateError& e) {
            EXPECT_NE(std::string(e.what()).find("locked"), std::string::npos) << e.what();
        }
    }
    // The refused fmCreate must not have truncated the file.
    EXPECT_EQ(dir.Get("f"), "precious");
    {
        TFileStream a(f, fmOpenRead | fmShareDenyWrite);
        TFileStream b(f, fmOpenRead | fmShareDenyWrite);  // readers share
        TFileStream c(f, fmOpenRead | fmShareDenyNone);
        EXPECT_THROW(TFileStream(f, fmOpenReadWrite | fmShareDenyWrite), EFOpenError);
        EXPECT_THROW(TFileStream(f, fmOpenRead | fmShareExclusive), EFOpenError);
    }
    TFileStream again(f, fmOpenReadWrite | fmShareExclusive);  // all released
    EXPECT_EQ(again.Size(), 8);
}

TEST(TFileStream_Buffering, ByteReadsAcrossBufferBoundaries) {
    TempDir dir;
    const std::string data = Pattern(200'000);
    dir.Put("f", data);
    TFileStream s(dir.Name("f"), fmOpenRead);
    std::string got;
    std::uint8_t b = 0;
    while (s.Read(&b, 1) == 1)
        got += static_cast<char>(b);
    EXPECT_EQ(got, data);
    EXPECT_EQ(s.Position(), 200'000);
    EXPECT_EQ(s.Read(&b, 1), 0);

    // Odd-sized reads, some larger than the buffer, mixed with seeks backwards and forwards.
    s.SetPosition(3);
    std::vector<char> buf(150'000);
    ASSERT_EQ(s.Read(buf.data(), 10), 10);
    EXPECT_EQ(std::string(buf.data(), 10), data.substr(3, 10));
    ASSERT_EQ(s.Read(buf.data(), 100'000), 100'000);
    EXPECT_EQ(std::string(buf.data(), 100'000), data.substr(13, 100'000));
    EXPECT_EQ(s.Seek(-50, soCurrent), 99'963);
    ASSERT_EQ(s.Read(buf.data(), 7), 7);
    EXPECT_EQ(std::string(buf.data(), 7), data.substr(99'963, 7));
    EXPECT_EQ(s.Seek(-5, soEnd), 199'995);
    EXPECT_EQ(s.Read(buf.data(), 100), 5);
    EXPECT_EQ(std::string(buf.data(), 5), data.substr(199'995));
}

TEST(TFileStream_Buffering, MixedReadsWritesAndSeeks) {
    TempDir dir;
    const String f = dir.Name("f");
    {
        TFileStream s(f, fmCreate);
        s.WriteBuffer("0123456789", 10);
        // Reading after writing sees the written bytes.
        s.SetPosition(2);
        char c[4] = {};
        s.ReadBuffer(c, 3);
        EXPECT_EQ(std::string(c, 3), "234");
        // Overwriting in the middle, right after a read.
        s.WriteBuffer("ab", 2);
        EXPECT_EQ(s.Position(), 7);
        s.ReadBuffer(c, 1);
        EXPECT_EQ(c[0], '7');
        EXPECT_EQ(s.Size(), 10);
        // Seeking past the end and writing leaves a zero gap; Size counts pending bytes.
        s.Seek(5, soEnd);
        s.WriteBuffer("Z", 1);
        EXPECT_EQ(s.Size(), 16);
        // Reading past the end delivers nothing.
        s.SetPosition(40);
        EXPECT_EQ(s.Read(c, 1), 0);
        EXPECT_EQ(ReadAll(s), std::string("01234ab789\0\0\0\0\0Z", 16));
    }
    EXPECT_EQ(dir.Get("f"), std::string("01234ab789\0\0\0\0\0Z", 16));

    {  // a write larger than the buffer lands behind pending small writes in order
        TFileStream s(f, fmOpenReadWrite);
        s.SetPosition(1);
        s.WriteBuffer("#", 1);
        const std::string big = Pattern(100'000);
        s.WriteBuffer(big.data(), static_cast<std::int64_t>(big.size()));
        s.WriteBuffer("!", 1);
        EXPECT_EQ(s.Position(), 100'003);
        EXPECT_EQ(ReadAll(s), "0#" + big + "!");
    }
}

TEST(TFileStream_Size, SetSizeTruncatesExtendsAndClampsThePosition) {
    TempDir dir;
    TFileStream s(dir.Name("f"), fmCreate);
    s.WriteBuffer("abcdefgh", 8);  // still pending in the buffer
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(s.Size(), 3);
    s.SetPosition(1);
    s.SetSize(6);  // extends with zeros, position kept
    EXPECT_EQ(s.Position(), 1);
    EXPECT_EQ(ReadAll(s), std::string("abc\0\0\0", 6));
    s.SetPosition(2);
    char c = 0;
    s.ReadBuffer(&c, 1);  // read-ahead must not survive a resize
    s.SetSize(2);
    EXPECT_EQ(s.Read(&c, 1), 0);
    EXPECT_EQ(dir.Get("f"), "ab");
    EXPECT_THROW(s.SetSize(-1), EStreamError);
}

TEST(TFileStream_Errors, ShortReadBufferAndBadSeeks) {
    TempDir dir;
    dir.Put("f", "abc");
    TFileStream s(dir.Name("f"), fmOpenRead);
    char buf[8];
    EXPECT_THROW(s.ReadBuffer(buf, 4), EReadError);
    s.SetPosition(1);
    EXPECT_THROW(s.Seek(-2, soCurrent), EStreamError);
    EXPECT_EQ(s.Position(), 1);
    EXPECT_THROW(s.Seek(INT64_MAX, soEnd), EStreamError);
    EXPECT_EQ(s.Position(), 1);
}

TEST(TFileStream_Buffering, RandomOperationsMatchAModel) {
    TempDir dir;
    TFileStream s(dir.Name("f"), fmCreate);
    std::string model;
    std::int64_t pos = 0;
    std::mt19937 rng(12345);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(rng); };
    for (int step = 0; step < 3000; ++step) {
        const int op = pick(0, 9);
        if (op <= 3) {  // write, mostly small, sometimes larger than the buffer
            const std::size_t n = pick(0, 20) == 0 ? pick(60'000, 140'000) : pick(1, 300);
            std::string bytes(n, '\0');
            for (auto& ch : bytes)
                ch = static_cast<char>(pick(0, 255));
            s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(n));
            if (static_cast<std::size_t>(pos) > model.size()) model.resize(pos, '\0');
            model.replace(pos, std::min(n, model.size() - pos), bytes);
            pos += static_cast<std::int64_t>(n);
        } else if (op <= 6) {  // read
            const std::size_t n = pick(0, 20) == 0 ? pick(60'000, 140'000) : pick(1, 300);
            std::string got(n, '\0');
            const std::int64_t r = s.Read(got.data(), static_cast<std::int64_t>(n));
            const std::string want =
                static_cast<std::size_t>(pos) >= model.size() ? "" : model.substr(pos, n);
            ASSERT_EQ(r, static_cast<std::int64_t>(want.size())) << "step " << step;
            ASSERT_EQ(got.substr(0, want.size()), want) << "step " << step;
            pos += r;
        } else if (op <= 8) {  // seek, sometimes past the end
            pos = pick(0, static_cast<int>(model.size()) + 100);
            ASSERT_EQ(s.Seek(pos, soBeginning), pos);
        } else {
            const std::int64_t n = pick(0, static_cast<int>(model.size()) + 1000);
            s.SetSize(n);
            model.resize(static_cast<std::size_t>(n), '\0');
            pos = std::min(pos, n);
        }
        ASSERT_EQ(s.Position(), pos) << "step " << step;
        ASSERT_EQ(s.Size(), static_cast<std::int64_t>(model.size())) << "step " << step;
    }
    s.Flush();
    EXPECT_EQ(dir.Get("f"), model);
}

TEST(THandleStream, LeavesTheDescriptorOpenAndInStep) {
    TempDir dir;
    dir.Put("f", "0123456789");
    const int fd = ::open(dir.Native("f").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    {
        THandleStream s(fd);
        EXPECT_EQ(s.Handle(), fd);
        char c[3];
        s.ReadBuffer(c, 3);
        s.WriteBuffer("xy", 2);
    }
    // Written through, and the descriptor's own offset is where the stream stopped.
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 5);
    char rest[8] = {};
    EXPECT_EQ(::read(fd, rest, sizeof rest), 5);
    EXPECT_EQ(std::string(rest, 5), "56789");
    EXPECT_EQ(::close(fd), 0);  // still open: the stream did not close it
    EXPECT_EQ(dir.Get("f"), "012xy56789");
}

TEST(THandleStream, PipesReadInSequenceAndRefuseSeeks) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "pipe data", 9), 9);
    ::close(fds[1]);
    {
        THandleStream s(fds[0]);
        char c[16] = {};
        ASSERT_EQ(s.Read(c, 4), 4);
        EXPECT_EQ(std::string(c, 4), "pipe");
        EXPECT_EQ(s.Position(), 4);
        EXPECT_THROW(s.SetPosition(0), EStreamError);
        EXPECT_EQ(s.Read(c, 16), 5);
        EXPECT_EQ(std::string(c, 5), " data");
        EXPECT_EQ(s.Read(c, 1), 0);
    }
    ::close(fds[0]);
}
