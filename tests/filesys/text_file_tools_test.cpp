#include "qorkit/filesys/text_file_tools.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "qorkit/filesys/text_file_type.h"
#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

std::size_t EntriesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()),
                                                  std::filesystem::directory_iterator()));
}

std::vector<double> gCalls;
void Record(TObject* Sender, double Lines, double Percent) {
    EXPECT_EQ(Sender, nullptr);
    EXPECT_EQ(Percent, 0.0);
    gCalls.push_back(Lines);
}

}  // namespace

TEST(TextFileTools_EnsureCRLF, AddsLfAfterLoneCrOnly) {
    TempDir dir;
    struct Case {
        std::string In, Out;
    };
    for (const Case& c :
         {Case{"a\rb\r\r\nc\r", "a\r\nb\r\n\r\nc\r\n"}, Case{"a\nb", "a\nb"}, Case{"", ""},
          Case{"\r", "\r\n"}, Case{"\r\r", "\r\n\r\n"},
          Case{std::string("x\0\x1a\xff\r", 5), std::string("x\0\x1a\xff\r\n", 6)}}) {
        dir.Put("in.txt", c.In);
        EnsureCRLFInFile(dir.Name("in.txt"), dir.Name("out.txt"));
        EXPECT_EQ(dir.Get("out.txt"), c.Out);
    }
    // Across block boundaries, and in place.
    std::string big(3 << 20, 'x');
    for (std::size_t i = 0; i < big.size(); i += 4099)
        big[i] = '\r';
    big[(1 << 20) - 1] = '\r';
    big[1 << 20] = '\n';
    std::string want;
    for (std::size_t i = 0; i < big.size(); ++i) {
        want += big[i];
        if (big[i] == '\r' && (i + 1 == big.size() || big[i + 1] != '\n')) want += '\n';
    }
    dir.Put("big.txt", big);
    EnsureCRLFInFile(dir.Name("big.txt"), dir.Name("big.txt"));
    EXPECT_TRUE(dir.Get("big.txt") == want);
    // A missing input raises and leaves the output untouched, without temporary files.
    EXPECT_THROW(EnsureCRLFInFile(dir.Name("none.txt"), dir.Name("out.txt")), EInOutError);
    EXPECT_EQ(dir.Get("out.txt"), std::string("x\0\x1a\xff\r\n", 6));
    EXPECT_EQ(EntriesIn(dir), 3u);
}

TEST(TextFileTools_Append, CreatesAppendsAndFailsWithoutDamage) {
    TempDir dir;
    AppendToTextFile(dir.Name("log.txt"), u"first");
    AppendToTextFile(dir.Name("log.txt"), u"\u20ACuro");
    TStringList list;
    list.Add(u"x");
    list.Add(u"y");
    AppendToTextFile(dir.Name("log.txt"), list);
    EXPECT_EQ(dir.Get("log.txt"), "first\r\n\x80uro\r\nx\r\ny\r\n");
    std::filesystem::create_directory(dir.Path() / "folder");
    EXPECT_THROW(AppendToTextFile(dir.Name("folder"), u"z"), EInOutError);
    EXPECT_THROW(AppendToTextFile(dir.Name("no/such/log.txt"), u"z"), EInOutError);
    EXPECT_EQ(EntriesIn(dir), 2u);
}

TEST(TextFileTools_LastLines, BackwardReaderAgreesWithTheTextFileForm) {
    TempDir dir;
    dir.Put("ab.txt", "a\nb");
    std::int32_t read = -1;
    EXPECT_EQ(ReadLastNLinesOfTextFile(dir.Name("ab.txt"), 3, read), (TStrArray{u"", u"a", u"b"}));
    EXPECT_EQ(read, 2);
    EXPECT_TRUE(ReadLastNLinesOfTextFile(dir.Name("ab.txt"), 0, read).empty());

    // Random files of short and long lines with LF, CR LF, lone CR and no final line end.
    std::mt19937 rng(7);
    const char pieces[] = {'a', 'b', '\n', '\r', '\n', '\xe9', ' '};
    for (int trial = 0; trial < 300; ++trial) {
        std::string bytes;
        const int len = trial < 50 ? trial % 7 : static_cast<int>(rng() % 400);
        for (int i = 0; i < len; ++i)
            bytes += pieces[rng() % sizeof pieces];
        if (trial % 17 == 0) bytes += std::string(200000, 'L') + "\r\nend";
        dir.Put("r.txt", bytes);
        const auto n = static_cast<std::int32_t>(1 + rng() % 6);
        TextFile f;
        f.Assign(dir.Name("r.txt"));
        f.Reset();
        std::int32_t total = -1;
        const TStrArray forward = ReadLastNLinesOfTextFile(f, n, total);
        EXPECT_FALSE(f.Eof() && total > 0);  // rewound
        f.Close();
        const TStrArray backward = ReadLastNLinesOfTextFile(dir.Name("r.txt"), n, read);
        ASSERT_EQ(backward, forward) << "trial " << trial;
        EXPECT_EQ(read, std::min(total, n));
        EXPECT_EQ(CountLinesInTextFile(dir.Name("r.txt"), nullptr), total);
    }
    EXPECT_THROW(ReadLastNLinesOfTextFile(dir.Name("none"), 2, read), EInOutError);
}

TEST(TextFileTools_CountLines, BothFormsReportEveryThousandthLine) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 2500; ++i)
        bytes += "line\r\n";
    bytes += "last";
    dir.Put("n.txt", bytes);
    gCalls.clear();
    EXPECT_EQ(CountLinesInTextFile(dir.Name("n.txt"), Record), 2501);
    EXPECT_EQ(gCalls, (std::vector<double>{1000, 2000}));
    TextFile f;
    f.Assign(dir.Name("n.txt"));
    f.Reset();
    gCalls.clear();
    EXPECT_EQ(CountLinesInTextFile(f, Record), 2501);
    EXPECT_EQ(gCalls, (std::vector<double>{1000, 2000}));
    EXPECT_EQ(f.ReadLn(), u"line");
    f.Close();
    dir.Put("k.txt", std::string(999, '\n') + "x");
    gCalls.clear();
    EXPECT_EQ(CountLinesInTextFile(dir.Name("k.txt"), Record), 1000);
    EXPECT_EQ(gCalls, (std::vector<double>{1000}));
    dir.Put("e.txt", "");
    EXPECT_EQ(CountLinesInTextFile(dir.Name("e.txt"), nullptr), 0);
    EXPECT_THROW(CountLinesInTextFile(dir.Name(""), nullptr), EInOutError);
}

TEST(TextFileTools_Search, OffsetsPositionsAndWords) {
    TempDir dir;
    dir.Put("s.txt", "abc\r\nxyz\nGr\xfc\xdf Y\n");
    EXPECT_EQ(DetectStringInFile(dir.Name("s.txt"), u"y", false, 100), 5);
    EXPECT_EQ(DetectStringInFile(dir.Name("s.txt"), u"y", false, 4), 0);
    EXPECT_EQ(DetectStringInFile(dir.Name("s.txt"), u"Y", false, 100), 12);
    EXPECT_EQ(DetectStringInFile(dir.Name("s.txt"), u"Y", true, 100), 5);
    EXPECT_EQ(DetectStringInFile(dir.Name("s.txt"), u"", false, 100), 0);
    String line = u"stale";
    EXPECT_EQ(FindFirstMatchInTextFile(dir.Name("s.txt"), u"\u00DC\u00DF", true, line), 3);
    EXPECT_EQ(line, u"Gr\u00FC\u00DF Y");
    EXPECT_EQ(FindFirstMatchInTextFile(dir.Name("s.txt"), u"\u00DC", false, line), 0);
    EXPECT_EQ(line, u"");
    EXPECT_THROW(DetectStringInFile(dir.Name("none"), u"a", false, 9), EInOutError);

    dir.Put("w.txt", "  alpha beta\r\n\tgamma");
    TextFile f;
    f.Assign(dir.Name("w.txt"));
    f.Reset();
    EXPECT_EQ(ReadNextWordInTextFile(f), u"alpha");
    EXPECT_EQ(ReadNextWordInTextFile(f), u"beta");
    EXPECT_EQ(ReadNextWordInTextFile(f), u"gamma");
    EXPECT_EQ(ReadNextWordInTextFile(f), u"");
    f.Close();
}

TEST(TextFileType_Check, MarksInOrderWithZeroPadding) {
    TempDir dir;
    struct Case {
        std::string Bytes;
        TTextfileType Type;
    };
    for (const Case& c :
         {Case{"\xEF\xBB\xBFx", tftUTF8}, Case{std::string("\xFF\xFE\0\0", 4), tftUnicode4_le},
          Case{std::string("\0\0\xFE\xFF", 4), tftUnicode4_be}, Case{"\xFF\xFE", tftUnicode4_le},
          Case{"\xFF\xFEx", tftUnicode_le},
          Case{"\xFE\xFF"
               "ab",
               tftUnicode_be},
          Case{"{\\rtf1", tftRTF}, Case{"", tftUnknown}, Case{"plain", tftUnknown}}) {
        dir.Put("t", c.Bytes);
        EXPECT_EQ(CheckTextFileType(dir.Name("t")), c.Type) << c.Bytes.size();
    }
    EXPECT_THROW(CheckTextFileType(dir.Name("missing")), EInOutError);
    EXPECT_THROW(CheckTextFileType(dir.Name("")), EInOutError);
}
