#include "qorkit/rtl/memory_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_stream.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

std::string Contents(TMemoryStream& s) {
    return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

}  // namespace

TEST(TMemoryStream, WritesReadsAndSeeks) {
    TMemoryStream s;
    EXPECT_EQ(s.Size(), 0);
    char c[8] = {};
    EXPECT_EQ(s.Read(c, 4), 0);

    s.WriteBuffer("hello", 5);
    EXPECT_EQ(s.Position(), 5);
    EXPECT_EQ(Contents(s), "hello");
    s.SetPosition(1);
    EXPECT_EQ(s.Read(c, 3), 3);
    EXPECT_EQ(std::string(c, 3), "ell");
    s.WriteBuffer("LOW", 3);  // overwrites the last byte and extends by two
    EXPECT_EQ(Contents(s), "hellLOW");
    EXPECT_EQ(s.Seek(-2, soEnd), 5);
    EXPECT_EQ(s.Read(c, 8), 2);
    EXPECT_THROW(s.ReadBuffer(c, 1), EReadError);
    EXPECT_THROW(s.Seek(-8, soEnd), EStreamError);
    EXPECT_EQ(s.Position(), 7);
    EXPECT_THROW(s.Seek(INT64_MAX, soCurrent), EStreamError);
}

TEST(TMemoryStream, GapsSizesAndClear) {
    TMemoryStream s;
    s.WriteBuffer("ab", 2);
    EXPECT_EQ(s.Seek(3, soEnd), 5);
    char c = 0;
    EXPECT_EQ(s.Read(&c, 1), 0);  // nothing past the end
    EXPECT_EQ(s.Size(), 2);       // seeking alone does not grow
    s.WriteBuffer("z", 1);
    EXPECT_EQ(Contents(s), std::string("ab\0\0\0z", 6));

    s.SetPosition(4);
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
    s.SetPosition(0);
    s.SetSize(4);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(Contents(s), std::string("ab\0\0", 4));
    EXPECT_THROW(s.SetSize(-1), EStreamError);

    // Many small appends keep their order through every reallocation.
    std::string expected = Contents(s);
    s.Seek(0, soEnd);
    for (int i = 0; i < 100'000; ++i) {
        const char b = static_cast<char>(i % 251);
        s.WriteBuffer(&b, 1);
        expected += b;
    }
    EXPECT_EQ(Contents(s), expected);

    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(s.Memory(), nullptr);
}

TEST(TMemoryStream, OutOfMemoryKeepsTheContents) {
    TMemoryStream s;
    s.WriteBuffer("keep", 4);
    s.Seek(INT64_MAX - 1, soBeginning);
    try {
        s.WriteBuffer("xy", 2);
        FAIL() << "wrote beyond the largest position";
    } catch (const EStreamError& e) {
        EXPECT_STREQ(e.what(), "Out of memory while expanding memory stream");
    }
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer aborts on absurd allocations instead of raising std::bad_alloc.
#else
    EXPECT_THROW(s.SetSize(INT64_MAX / 2), EStreamError);
#endif
    EXPECT_EQ(Contents(s), "keep");
}

TEST(TMemoryStream, LoadsAndSavesStreamsAndFiles) {
    TempDir dir;
    TMemoryStream a;
    a.WriteBuffer("\x00\x01payload\xFF", 10);
    a.SetPosition(3);
    a.SaveToFile(dir.Name("m.bin"));
    EXPECT_EQ(a.Position(), 3);
    EXPECT_EQ(dir.Get("m.bin"), std::string("\x00\x01payload\xFF", 10));

    TMemoryStream b;
    b.WriteBuffer("old contents, longer", 20);
    b.LoadFromFile(dir.Name("m.bin"));
    EXPECT_EQ(b.Position(), 0);
    EXPECT_EQ(Contents(b), std::string("\x00\x01payload\xFF", 10));

    TMemoryStream c;
    c.WriteBuffer(">>", 2);
    b.SaveToStream(c);  // at c's position
    EXPECT_EQ(Contents(c), std::string(">>\x00\x01payload\xFF", 12));
    c.SetPosition(5);
    TMemoryStream d;
    d.LoadFromStream(c);  // the whole source, from its start
    EXPECT_EQ(Contents(d), Contents(c));

    const String missing = dir.Name("none.bin");
    try {
        d.LoadFromFile(missing);
        FAIL() << "loaded a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), u"Cannot open file \"" + missing + u"\". No such file or directory");
    }
    EXPECT_THROW(a.SaveToFile(dir.Name("no/dir/x")), EFCreateError);
}

TEST(TStringStream, EncodesAndDecodesWindows1252) {
    TStringStream s(u"Caf\u00E9 \u20AC5 \u4E2D");
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(s.DataBytes(),
              "Caf\xE9 \x80"
              "5 ?");
    EXPECT_EQ(s.DataString(), u"Caf\u00E9 \u20AC5 ?");
    EXPECT_EQ(s.ReadString(4), u"Caf\u00E9");
    EXPECT_EQ(s.ReadString(100), u" \u20AC5 ?");
    EXPECT_EQ(s.ReadString(1), u"");
    EXPECT_EQ(s.ReadString(-3), u"");

    s.SetPosition(5);
    s.WriteString(u"\u00A3\u00A3\u00A3!");  // overwrites three and extends by one
    EXPECT_EQ(s.DataString(), u"Caf\u00E9 \u00A3\u00A3\u00A3!");

    const std::string raw("a\0\x81\x9D", 4);  // NUL and undefined codes survive untouched
    TStringStream r(raw);
    EXPECT_EQ(r.Size(), 4);
    EXPECT_EQ(r.DataBytes(), raw);
    EXPECT_EQ(r.DataString(), String(u"a\0\u0081\u009D", 4));

    TStringStream e;
    EXPECT_EQ(e.DataString(), u"");
}
