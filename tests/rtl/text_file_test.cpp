#include "qorkit/rtl/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>

#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

// Runs `op` and returns the code of the EInOutError it raises (-1 if none), checking that the
// message names the file when `name` is given.
int CodeOf(const std::function<void()>& op, const String& name = String()) {
    try {
        op();
    } catch (const EInOutError& e) {
        if (!name.empty()) {
            EXPECT_NE(e.Message().find(name), String::npos) << e.what() << " lacks the name";
        }
        return e.ErrorCode();
    }
    return -1;
}

}  // namespace

TEST(TextFile_Lines, WritesCrLfAndReadsEveryLineEnding) {
    TempDir dir;
    TextFile t;
    t.Assign(dir.Name("a.txt"));
    EXPECT_EQ(t.FileName(), dir.Name("a.txt"));
    t.Rewrite();
    EXPECT_TRUE(t.IsOpen());
    t.WriteLn(u"first \u00E9\u20AC");
    t.Write(u"sec");
    t.WriteLn(u"ond");
    t.WriteLn();
    t.Write(u"\u4E2D");
    t.Close();
    EXPECT_FALSE(t.IsOpen());
    EXPECT_EQ(dir.Get("a.txt"), "first \xE9\x80\r\nsecond\r\n\r\n?");

    dir.Put("b.txt", "lf\ncrlf\r\nlone\rcr\r\n\r\nlast\r");
    t.Assign(dir.Name("b.txt"));
    t.Reset();
    EXPECT_EQ(t.ReadLn(), u"lf");
    EXPECT_EQ(t.ReadLn(), u"crlf");
    EXPECT_EQ(t.ReadLn(), u"lone\rcr");
    EXPECT_EQ(t.ReadLn(), u"");
    EXPECT_FALSE(t.Eof());
    EXPECT_EQ(t.ReadLn(), u"last\r");  // no line end: the CR is text
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.ReadLn(), u"");  // at the end: empty, no error
    t.Close();
}

TEST(TextFile_Lines, LongLinesAndCrLfSplitByTheBuffer) {
    TempDir dir;
    // The CR is the last byte of the first 64 KiB block, its LF the first of the next.
    const std::string longLine(65535, 'x');
    std::string second(200'000, 'y');
    dir.Put("l.txt", longLine + "\r\n" + second + "\nend");
    TextFile t;
    t.Assign(dir.Name("l.txt"));
    t.Reset();
    EXPECT_EQ(t.ReadLn(), String(65535, u'x'));
    EXPECT_EQ(t.ReadLn(), String(200'000, u'y'));
    EXPECT_FALSE(t.Eoln());
    EXPECT_EQ(t.ReadLn(), u"end");
    EXPECT_TRUE(t.Eof());
}

TEST(TextFile_Chars, ReadCharEolnAndEndOfFile) {
    TempDir dir;
    dir.Put("c.txt", "a\r\nb\rc\n\x80");
    TextFile t;
    t.Assign(dir.Name("c.txt"));
    t.Reset();
    EXPECT_FALSE(t.Eoln());
    EXPECT_EQ(t.ReadChar(), u'a');
    EXPECT_TRUE(t.Eoln());  // CR LF
    EXPECT_EQ(t.ReadChar(), u'\r');
    EXPECT_TRUE(t.Eoln());  // LF
    EXPECT_EQ(t.ReadChar(), u'\n');
    EXPECT_EQ(t.ReadChar(), u'b');
    EXPECT_FALSE(t.Eoln());  // a lone CR is not a line end
    EXPECT_EQ(t.ReadChar(), u'\r');
    EXPECT_EQ(t.ReadChar(), u'c');
    EXPECT_EQ(t.ReadChar(), u'\n');
    EXPECT_FALSE(t.Eof());
    EXPECT_EQ(t.ReadChar(), u'\u20AC');  // decoded from Windows-1252
    EXPECT_TRUE(t.Eof());
    EXPECT_TRUE(t.Eoln());
    EXPECT_EQ(t.ReadChar(), Char(26));  // Ctrl-Z at the end, repeatedly, without raising
    EXPECT_EQ(t.ReadChar(), Char(26));

    // Character by character through many buffer refills.
    std::string big;
    for (int i = 0; i < 150'000; ++i)
        big += static_cast<char>('a' + i % 26);
    dir.Put("big.txt", big);
    t.Assign(dir.Name("big.txt"));
    t.Reset();
    std::string got;
    while (!t.Eof())
        got += static_cast<char>(t.ReadChar());
    EXPECT_EQ(got, big);
}

TEST(TextFile_Numbers, ReadIntegerSkipsBlanksAndChecksTheFormat) {
    TempDir dir;
    dir.Put("n.txt", "  12\t-7\r\n+3 \n\n 2147483647 -2147483648 12x 5 2147483648 - 9\n \r\n");
    TextFile t;
    t.Assign(dir.Name("n.txt"));
    t.Reset();
    EXPECT_EQ(t.ReadInteger(), 12);
    EXPECT_EQ(t.ReadChar(), u'\t');  // the separator after the number stays
    EXPECT_EQ(t.ReadInteger(), -7);
    EXPECT_EQ(t.ReadInteger(), 3);
    EXPECT_EQ(t.ReadInteger(), 2147483647);
    EXPECT_EQ(t.ReadInteger(), -2147483647 - 1);
    EXPECT_EQ(CodeOf([&] { t.ReadInteger(); }, u"n.txt"), 106);  // 12x
    EXPECT_EQ(t.ReadInteger(), 5);                               // reading goes on
    EXPECT_EQ(CodeOf([&] { t.ReadInteger(); }), 106);            // out of range
    EXPECT_EQ(CodeOf([&] { t.ReadInteger(); }), 106);            // sign alone
    EXPECT_EQ(t.ReadInteger(), 9);
    EXPECT_EQ(CodeOf([&] { t.ReadInteger(); }, u"n.txt"), 100);  // only blanks left

    dir.Put("w.txt", "9223372036854775807 -9223372036854775808 9223372036854775808");
    t.Assign(dir.Name("w.txt"));
    t.Reset();
    EXPECT_EQ(t.ReadInt64(), INT64_MAX);
    EXPECT_EQ(t.ReadInt64(), INT64_MIN);
    EXPECT_EQ(CodeOf([&] { t.ReadInt64(); }), 106);
}

TEST(TextFile_Numbers, WritesAlignedIntegersAndReals) {
    TempDir dir;
    TextFile t;
    t.Assign(dir.Name("w.txt"));
    t.Rewrite();
    t.Write(42, 5);
    t.Write(-42, 2);  // too narrow: never cut
    t.Write(std::int64_t{7});
    t.Write(3.14159L, 8, 3);
    t.Close();
    EXPECT_EQ(dir.Get("w.txt"), "   42-427   3.142");
}

TEST(TextFile_Open, AppendRewriteAndDestructorFlush) {
    TempDir dir;
    dir.Put("a.txt", "one\r\n");
    {
        TextFile t;
        t.Assign(dir.Name("a.txt"));
        t.Append();
        t.WriteLn(u"two");
        t.Flush();
        EXPECT_EQ(dir.Get("a.txt"), "one\r\ntwo\r\n");
        t.Write(u"three");  // left for the destructor to write
    }
    EXPECT_EQ(dir.Get("a.txt"), "one\r\ntwo\r\nthree");

    TextFile t;
    t.Assign(FromUtf8(dir.Path().string() + "\\a.txt"));  // "\" separates too
    t.Reset();
    EXPECT_EQ(t.ReadLn(), u"one");
    t.Rewrite();  // reopens, truncating
    t.Close();
    EXPECT_EQ(dir.Get("a.txt"), "");
}

TEST(TextFile_Errors, CodesFollowTheClassicNumbering) {
    TempDir dir;
    TextFile t;
    EXPECT_EQ(CodeOf([&] { t.Reset(); }), 102);
    EXPECT_EQ(t.FileName(), u"");

    const String missing = dir.Name("missing.txt");
    t.Assign(missing);
    try {
        t.Reset();
        FAIL() << "opened a missing file";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
        EXPECT_EQ(e.Message(), u"Cannot open file \"" + missing + u"\". No such file or directory");
    }
    EXPECT_EQ(CodeOf([&] { t.Append(); }), 2);
    t.Assign(dir.Name("nodir/x.txt"));
    EXPECT_EQ(CodeOf([&] { t.Reset(); }), 3);
    EXPECT_EQ(CodeOf([&] { t.Rewrite(); }, u"nodir"), 3);
    t.Assign(dir.Name(""));
    EXPECT_EQ(CodeOf([&] { t.Rewrite(); }), 5);  // a directory

    dir.Put("f.txt", "x\n");
    t.Assign(dir.Name("f.txt"));
    EXPECT_EQ(CodeOf([&] { t.ReadLn(); }, u"f.txt"), 103);
    EXPECT_EQ(CodeOf([&] { t.Close(); }), 103);
    EXPECT_EQ(CodeOf([&] { t.Write(u"x"); }), 103);
    t.Reset();
    EXPECT_EQ(CodeOf([&] { t.Write(u"x"); }, u"f.txt"), 105);
    EXPECT_EQ(CodeOf([&] { t.Flush(); }), 105);
    t.Rewrite();
    EXPECT_EQ(CodeOf([&] { t.ReadLn(); }, u"f.txt"), 104);
    EXPECT_EQ(CodeOf([&] { t.ReadChar(); }), 104);
    EXPECT_EQ(CodeOf([&] { t.Eof(); }), 104);
    t.Close();

    if (::geteuid() != 0) {  // permissions do not stop the superuser
        ASSERT_EQ(::chmod(dir.Native("f.txt").c_str(), 0), 0);
        EXPECT_EQ(CodeOf([&] { t.Reset(); }), 5);
    }
}

TEST(TextFile_Disk, EraseAndRename) {
    TempDir dir;
    dir.Put("a.txt", "A");
    dir.Put("b.txt", "B");
    TextFile t;
    t.Assign(dir.Name("a.txt"));
    EXPECT_EQ(CodeOf([&] { t.Rename(dir.Name("b.txt")); }, u"a.txt"), 5);  // never replaces
    EXPECT_EQ(dir.Get("b.txt"), "B");
    t.Rename(dir.Name("c.txt"));
    EXPECT_EQ(t.FileName(), dir.Name("c.txt"));
    EXPECT_FALSE(dir.Exists("a.txt"));
    EXPECT_EQ(dir.Get("c.txt"), "A");
    EXPECT_EQ(CodeOf([&] { t.Rename(dir.Name("nodir/d.txt")); }), 3);

    t.Reset();
    EXPECT_EQ(CodeOf([&] { t.Erase(); }), 1000 + EBUSY);
    EXPECT_EQ(CodeOf([&] { t.Rename(dir.Name("e.txt")); }), 1000 + EBUSY);
    t.Close();
    t.Erase();
    EXPECT_FALSE(dir.Exists("c.txt"));
    EXPECT_EQ(CodeOf([&] { t.Erase(); }, u"c.txt"), 2);
}
