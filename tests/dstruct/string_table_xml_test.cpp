#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "dstruct/string_table_snapshot.h"
#include "qorkit/dstruct/string_table.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/text_file.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

using Snapshot = qorkit::test::TableSnapshot;
using qorkit::test::Take;

// A cell text that stresses the escaping: markup characters, control bytes, bytes above 0x7F,
// blanks at both ends, lengths up to and beyond the cell limit.
std::string RandomText(std::mt19937& rng) {
    static constexpr char kNastyBytes[] =
        "\0\r\n<>&\"' \t;#xX&#x41;\x7F\x80\x9D\xFF"
        "aZ";
    static const std::string kNasty(kNastyBytes, sizeof kNastyBytes - 1);
    std::string s;
    const unsigned kind = rng() % 10;
    std::size_t len = rng() % 24;
    if (kind == 0) len = 255;
    if (kind == 1) len = 300;  // cut to 255 on writing
    for (std::size_t i = 0; i < len; ++i) {
        if (rng() % 2 == 0)
            s.push_back(static_cast<char>(rng() % 256));
        else
            s.push_back(kNasty[rng() % kNasty.size()]);
    }
    if (kind == 2) s = "  " + s + "  ";
    return s;
}

void FillRandomly(std::mt19937& rng, TStringArray& t) {
    const auto nc = static_cast<std::int32_t>(1 + rng() % 6);
    const auto nr = static_cast<std::int32_t>(1 + rng() % 40);
    ASSERT_TRUE(t.Resize(nc, nr));
    for (std::int32_t r = 1; r <= nr; ++r)
        for (std::int32_t c = 0; c <= nc; ++c)
            if (rng() % 3 != 0) t.SetString(c, r, RandomText(rng));
    for (std::int32_t r = 1; r <= nr; ++r)
        if (rng() % 3 == 0) t.SetRowAttrib(r, static_cast<std::uint8_t>(rng() % 256));
    for (std::int32_t c = 1; c <= nc; ++c)
        if (rng() % 2 == 0) t.SetColAttrib(c, static_cast<std::uint8_t>(rng() % 256));
    switch (rng() % 4) {
        case 0:
            t.Sort(static_cast<std::int32_t>(rng() % (nc + 1)), 0, rng() % 2 == 0);
            break;
        case 1:  // a view that is no longer a permutation
            for (int i = 0; i < 3; ++i)
                t.SetSortOrder(static_cast<std::int32_t>(1 + rng() % nr),
                               static_cast<std::int32_t>(1 + rng() % nr));
            break;
        default:
            break;
    }
}

// A table with content that a failed load must leave alone.
void Prefill(TStringArray& t) {
    ASSERT_TRUE(t.Resize(2, 3));
    t.SetString(0, 1, "keep");
    t.SetString(2, 3, "me");
    t.SetRowAttrib(2, 9);
    t.SetColAttrib(1, 4);
    t.Sort(2, 0, false);
}

// A table with one of each kind of line.
void FillSmall(TStringArray& t) {
    ASSERT_TRUE(t.Resize(2, 3));
    t.SetString(0, 1, "id");
    t.SetString(1, 1, "a&b");
    t.SetString(2, 1, "\t\n\r\x80\x81\xE9'");
    t.SetString(2, 2, " <x> ");
    t.SetString(1, 3, std::string("\x01\xE9\"", 3));
    t.SetColAttrib(2, 17);
    t.SetRowAttrib(3, 200);
    t.SetSortOrder(1, 3);
    t.SetSortOrder(3, 1);
}

const std::string kHead =
    "<strarray sig=\"QORLIBSIG\" vers=\"1.0\" id=\"t\">\r\n"
    "  <numcols>2</numcols>\r\n"
    "  <numrows>3</numrows>\r\n";

// A file with a valid table around `body` (lines separated by CR LF).
std::string Frame(const std::string& body) {
    return kHead + body + "\r\n</strarray>\r\n";
}

}  // namespace

TEST(TStringArray_Xml, WritesTheDocumentedLayout) {
    TempDir dir;
    TStringArray t;
    FillSmall(t);
    t.SaveAsXMLFile(dir.Name("t.xml"), u"T&<1>\"\u20AC");
    EXPECT_EQ(dir.Get("t.xml"),
              "<?xml version=\"1.0\"?>\r\n"
              "<!-- TStringArray / QOR Toolkit -->\r\n"
              "<strarray sig=\"QORLIBSIG\" vers=\"1.0\" id=\"T&amp;&lt;1&gt;&quot;&#x20AC;\">\r\n"
              "  <numcols>2</numcols>\r\n"
              "  <numrows>3</numrows>\r\n"
              "  <sortorder>3 2 1</sortorder>\r\n"
              "  <colattrib col=\"2\">17</colattrib>\r\n"
              "  <rowattrib row=\"3\">200</rowattrib>\r\n"
              "  <cell col=\"0\" row=\"1\">id</cell>\r\n"
              "  <cell col=\"1\" row=\"1\">a&amp;b</cell>\r\n"
              "  <cell col=\"2\" row=\"1\">&#x9;&#xA;&#xD;&#x20AC;&#x81;&#xE9;'</cell>\r\n"
              "  <cell col=\"2\" row=\"2\"> &lt;x&gt; </cell>\r\n"
              "  <cell col=\"1\" row=\"3\" enc=\"hex\">01E922</cell>\r\n"
              "</strarray>\r\n");

    // Without a header line, in physical order, with nothing but the shape.
    TStringArray empty;
    TextFile f;
    f.Assign(dir.Name("e.xml"));
    f.Rewrite();
    empty.WriteToOpenXMLFile(f, false, u"");
    f.Close();
    EXPECT_EQ(dir.Get("e.xml"),
              "<!-- TStringArray / QOR Toolkit -->\r\n"
              "<strarray sig=\"QORLIBSIG\" vers=\"1.0\" id=\"\">\r\n"
              "  <numcols>1</numcols>\r\n"
              "  <numrows>1</numrows>\r\n"
              "</strarray>\r\n");
}

TEST(TStringArray_Xml, RandomTablesSurviveSaveAndLoad) {
    TempDir dir;
    std::mt19937 rng(20240611);
    const String name = dir.Name("r.xml");
    for (int round = 0; round < 250; ++round) {
        SCOPED_TRACE(round);
        TStringArray source;
        if (round == 0) {
            // Every byte value at least once, in column 0 and in an ordinary column.
            std::string low, high;
            for (int b = 0; b < 128; ++b)
                low.push_back(static_cast<char>(b));
            for (int b = 128; b < 256; ++b)
                high.push_back(static_cast<char>(b));
            ASSERT_TRUE(source.Resize(1, 2));
            source.SetString(0, 1, low);
            source.SetString(1, 2, high);
            source.SetString(1, 1, low + high.substr(0, 127));
        } else {
            FillRandomly(rng, source);
        }
        source.SaveAsXMLFile(name, u"table");
        const std::string bytes = dir.Get("r.xml");
        for (const char c : bytes)
            ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c <= 0x7E)) << int(c);

        TStringArray loaded;
        Prefill(loaded);
        int changes = 0;
        loaded.SetOnChange([&](TObject* sender) {
            EXPECT_EQ(sender, &loaded);
            ++changes;
        });
        ASSERT_TRUE(loaded.LoadFromXMLFile(name, round % 2 ? u"TABLE" : u""));
        EXPECT_EQ(changes, 1);
        ASSERT_EQ(Take(loaded), Take(source));
    }
    // The temporary sibling is gone after every save.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(TStringArray_Xml, SeveralTablesShareOneFileAndAreFoundById) {
    TempDir dir;
    TStringArray a, b, c;
    ASSERT_TRUE(a.Resize(1, 1));
    a.SetString(1, 1, "first");
    ASSERT_TRUE(b.Resize(2, 2));
    b.SetString(2, 2, "second");
    b.SetRowAttrib(1, 5);
    ASSERT_TRUE(c.Resize(3, 1));
    c.SetString(3, 1, "third");
    const String quoteId = u"Q\"uo&te <id>";
    TextFile f;
    f.Assign(dir.Name("m.xml"));
    f.Rewrite();
    a.WriteToOpenXMLFile(f, true, u"alpha");
    b.WriteToOpenXMLFile(f, false, quoteId);
    f.WriteLn(u"<other>between tables</other>");
    c.WriteToOpenXMLFile(f, false, u"Gamma");
    f.Close();

    TStringArray t;
    ASSERT_TRUE(t.LoadFromXMLFile(dir.Name("m.xml"), u"GAMMA"));
    EXPECT_EQ(Take(t), Take(c));
    ASSERT_TRUE(t.LoadFromXMLFile(dir.Name("m.xml"), u"q\"UO&TE <ID>"));
    EXPECT_EQ(Take(t), Take(b));
    ASSERT_TRUE(t.LoadFromXMLFile(dir.Name("m.xml"), u"Alpha"));
    EXPECT_EQ(Take(t), Take(a));
    ASSERT_TRUE(t.LoadFromXMLFile(dir.Name("m.xml"), u""));
    EXPECT_EQ(Take(t), Take(a));

    // An open file is read on from where the previous table ended.
    f.Assign(dir.Name("m.xml"));
    f.Reset();
    ASSERT_TRUE(t.ReadFromOpenXMLFile(f, u""));
    EXPECT_EQ(Take(t), Take(a));
    ASSERT_TRUE(t.ReadFromOpenXMLFile(f, u""));
    EXPECT_EQ(Take(t), Take(b));
    EXPECT_EQ(f.ReadLn(), u"<other>between tables</other>");
    ASSERT_TRUE(t.ReadFromOpenXMLFile(f, u"gamma"));
    EXPECT_EQ(Take(t), Take(c));
    EXPECT_TRUE(f.Eof());
    EXPECT_FALSE(t.ReadFromOpenXMLFile(f, u""));
    f.Close();

    // Asking for a later table skips the earlier ones, so the earlier ones are then behind.
    f.Reset();
    ASSERT_TRUE(t.ReadFromOpenXMLFile(f, u"gamma"));
    EXPECT_FALSE(t.ReadFromOpenXMLFile(f, u"alpha"));
    f.Close();
    EXPECT_EQ(Take(t), Take(c));

    const Snapshot before = Take(t);
    EXPECT_FALSE(t.LoadFromXMLFile(dir.Name("m.xml"), u"delta"));
    EXPECT_FALSE(t.LoadFromXMLFile(dir.Name("m.xml"), u"Q\"uo&te"));
    EXPECT_EQ(Take(t), before);
}

TEST(TStringArray_Xml, EveryTruncationFailsCleanlyUntilTheEndTagIsComplete) {
    TempDir dir;
    TStringArray source;
    FillSmall(source);
    source.SaveAsXMLFile(dir.Name("full.xml"), u"t");
    const std::string full = dir.Get("full.xml");
    const std::size_t complete = full.find("</strarray>") + 11;
    ASSERT_LT(complete, full.size());

    TStringArray t;
    Prefill(t);
    const Snapshot before = Take(t);
    int changes = 0;
    t.SetOnChange([&](TObject*) { ++changes; });
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        SCOPED_TRACE(cut);
        dir.Put("cut.xml", full.substr(0, cut));
        const bool ok = t.LoadFromXMLFile(dir.Name("cut.xml"), u"T");
        ASSERT_EQ(ok, cut >= complete);
        if (ok) {
            EXPECT_EQ(changes, 1);
            EXPECT_EQ(Take(t), Take(source));
            t.Clear();  // back to the prefilled state for the next cut
            Prefill(t);
            changes = 0;
            continue;
        }
        ASSERT_EQ(changes, 0);
        ASSERT_EQ(Take(t), before);
    }
}

TEST(TStringArray_Xml, MalformedTablesGiveFalseAndChangeNothing) {
    const std::vector<std::string> bodies = {
        "  <cell col=1 row=1>a&b</cell>",
        "  <cell col=1 row=1>&amp</cell>",
        "  <cell col=1 row=1>&#x100;</cell>",
        "  <cell col=1 row=1>&#X41;</cell>",
        "  <cell col=1 row=1>&#xG1;</cell>",
        "  <cell col=1 row=1>&#x;</cell>",
        "  <cell col=1 row=1>&#;</cell>",
        "  <cell col=1 row=1>&#x41</cell>",
        "  <cell col=1 row=1>&#x00000041;</cell>",
        "  <cell col=1 row=1>&#x2603;</cell>",  // a snowman: not in the code page
        "  <cell col=1 row=1 enc=\"hex\">4</cell>",
        "  <cell col=1 row=1 enc=\"hex\">4G</cell>",
        "  <cell col=1 row=1 enc=\"hex\">" + std::string(512, 'A') + "</cell>",
        "  <cell col=1 row=1 enc=\"base64\">QQ==</cell>",
        "  <cell col=1 row=1>a<b</cell>",
        "  <cell col=1 row=1>a>b</cell>",
        "  <cell col=3 row=1>x</cell>",
        "  <cell col=-1 row=1>x</cell>",
        "  <cell col=+1 row=1>x</cell>",
        "  <cell col=\"1 \" row=1>x</cell>",
        "  <cell col=1 row=0>x</cell>",
        "  <cell col=1 row=4>x</cell>",
        "  <cell col=1>x</cell>",
        "  <cell row=1>x</cell>",
        "  <cell col=1 row=1>x</cell> trailing",
        "  <cell col=1 row=1>x</cell><cell col=2 row=1>y</cell>",
        "  <cell col=1 row=1>x</cel>",
        "  <cell col=1 row=1>x</cell",
        "  <cell col=1 row=1>x",
        "  <cell col=1 row=1/>",
        "  <cell col=1 row=1>" + std::string(256, 'a') + "</cell>",
        "  <cell col=1 row=1>" + std::string(254, 'a') + "&amp;&lt;</cell>",
        "  <colattrib col=0>1</colattrib>",
        "  <colattrib col=3>1</colattrib>",
        "  <colattrib col=1>256</colattrib>",
        "  <colattrib col=1></colattrib>",
        "  <colattrib col=1>1 </colattrib>",
        "  <rowattrib row=4>1</rowattrib>",
        "  <rowattrib row=1>-1</rowattrib>",
        "  <sortorder>1 2</sortorder>",
        "  <sortorder>1 2 3 1</sortorder>",
        "  <sortorder>1 2 4</sortorder>",
        "  <sortorder>0 1 2</sortorder>",
        "  <sortorder>1,2,3</sortorder>",
        "  <sortorder>1\t2\t3</sortorder>",
        "  <sortorder>1 2 3</sortorder>\r\n  <sortorder>1 2 3</sortorder>",
        "  <numcols>2</numcols>",
        "  <numrows>3</numrows>",
        "  <unknown>1</unknown>",
        "  <strarray sig=\"QORLIBSIG\">",
        "  </strarray >",
        "  plain text",
        "  <!-- open comment",
    };
    TempDir dir;
    TStringArray t;
    Prefill(t);
    const Snapshot before = Take(t);
    int changes = 0;
    t.SetOnChange([&](TObject*) { ++changes; });
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body);
        dir.Put("bad.xml", Frame(body));
        EXPECT_FALSE(t.LoadFromXMLFile(dir.Name("bad.xml"), u""));
    }

    const std::string end = "</strarray>\r\n";
    const std::vector<std::string> files = {
        // missing counts, bad counts, counts after content
        "<strarray sig=QORLIBSIG>\r\n<numcols>2</numcols>\r\n" + end,
        "<strarray sig=QORLIBSIG>\r\n<numrows>2</numrows>\r\n" + end,
        "<strarray sig=QORLIBSIG>\r\n" + end,
        "<strarray sig=QORLIBSIG>\r\n<numcols>0</numcols>\r\n<numrows>2</numrows>\r\n" + end,
        "<strarray sig=QORLIBSIG>\r\n<numcols>1</numcols>\r\n<numrows>-2</numrows>\r\n" + end,
        "<strarray sig=QORLIBSIG>\r\n<numcols>1</numcols>\r\n<numrows> 2</numrows>\r\n" + end,
        "<strarray sig=QORLIBSIG>\r\n<numcols>99999999999</numcols>\r\n<numrows>1</numrows>\r\n" +
            end,
        "<strarray sig=QORLIBSIG>\r\n<numcols>1</numcols>\r\n<cell col=1 row=1>x</cell>\r\n"
        "<numrows>1</numrows>\r\n" +
            end,
        // beyond the reader's size limit of 2^27 cells; refused before allocating anything
        "<strarray sig=QORLIBSIG>\r\n<numcols>1</numcols>\r\n<numrows>67108865</numrows>\r\n" + end,
        "<strarray sig=QORLIBSIG>\r\n<numcols>2147483647</numcols>\r\n<numrows>1</numrows>\r\n" +
            end,
        // no end tag, no table, wrong signature
        kHead,
        kHead + "  <cell col=1 row=1>x</cell>",
        "",
        "<?xml version=\"1.0\"?>\r\n",
        "<strarray sig=\"QORLIB\">\r\n<numcols>1</numcols>\r\n<numrows>1</numrows>\r\n" + end,
        "<strarray>\r\n<numcols>1</numcols>\r\n<numrows>1</numrows>\r\n" + end,
        "<strarrays sig=QORLIBSIG>\r\n<numcols>1</numcols>\r\n<numrows>1</numrows>\r\n" + end,
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        dir.Put("bad.xml", file);
        EXPECT_FALSE(t.LoadFromXMLFile(dir.Name("bad.xml"), u""));
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Take(t), before);
}

TEST(TStringArray_Xml, ReaderAcceptsCaseQuotingCommentsAndLaterDuplicates) {
    TempDir dir;
    dir.Put("ok.xml",
            "<?xml version=\"1.0\"?>\n"
            "<strarray sig=\"QORLIBSIG\" id=\"x\">\n"  // another table first: skipped whole
            "<numcols>5</numcols>\n"
            "<numrows>1</numrows>\n"
            "<cell col=1 row=1>not this one</cell>\n"
            "</strarray>\n"
            "<strarray sig=OTHER id=\"y\">\n"
            "</strarray>\n"
            "\t<STRARRAY Sig=\"qorlibsig\" VERS=\"9.9\" ID=Y >\r\n"
            "\r\n"
            "  <!-- two columns, three rows -->\r\n"
            "\t<NumCols>2</NUMCOLS>\r\n"
            "<numrows>3</numrows>   \r\n"
            "<Cell COL=\"1\" ROW=\"2\">first</cell>\r\n"
            "<cell row=2 col=1>  l&#xe9;ter &quot;&#x0A;  </CELL>\r\n"
            "<cell col=0 row=3>" +
                std::string(255, 'z') +
                "</cell>\r\n"
                "<cell col=2 row=1>\xE9\"'</cell>\r\n"
                "<rowattrib row=1>1</rowattrib>\r\n"
                "<rowattrib row=1>255</rowattrib>\r\n"
                "<colattrib col=2>0</colattrib>\r\n"
                "<colattrib col=1>007</colattrib>\r\n"
                "<sortorder>  2   2 1 </sortorder>\r\n"
                "</StrArray>\r\n"
                "<cell col=1 row=1>after the end</cell>\r\n");
    TStringArray t;
    ASSERT_TRUE(t.LoadFromXMLFile(dir.Name("ok.xml"), u"y"));
    EXPECT_EQ(t.NrOfColumns(), 2);
    EXPECT_EQ(t.NrOfRows(), 3);
    // shown rows 1 and 2 are both physical row 2, shown row 3 is physical row 1
    EXPECT_EQ(t.GetSortOrder(1), 2);
    EXPECT_EQ(t.GetSortOrder(2), 2);
    EXPECT_EQ(t.GetSortOrder(3), 1);
    EXPECT_EQ(t.GetString(1, 1), "  l\xE9ter \"\n  ");
    EXPECT_EQ(t.GetString(1, 2), "  l\xE9ter \"\n  ");
    EXPECT_EQ(t.GetString(2, 3), "\xE9\"'");
    EXPECT_EQ(t.GetRowAttrib(3), 255);
    EXPECT_EQ(t.GetRowAttrib(1), 0);
    EXPECT_EQ(t.GetColAttrib(1), 7);
    EXPECT_EQ(t.GetColAttrib(2), 0);
    t.UnSort();
    EXPECT_EQ(t.GetString(0, 3), std::string(255, 'z'));
    EXPECT_EQ(t.GetString(1, 1), "");

    // The first table of the file when no id is asked for.
    ASSERT_TRUE(t.LoadFromXMLFile(dir.Name("ok.xml"), u""));
    EXPECT_EQ(t.NrOfColumns(), 5);
    EXPECT_EQ(t.NrOfRows(), 1);
    EXPECT_EQ(t.GetString(1, 1), "not this one");
}

TEST(TStringArray_Xml, LoadNotifiesOnceAndKeepsTheTablesOwnHandlers) {
    TempDir dir;
    TStringArray source;
    FillSmall(source);
    int foreign = 0;
    source.SetOnChange([&](TObject*) { ++foreign; });
    source.SetOnPercentDone([&](TObject*, std::int32_t) { ++foreign; });
    source.SaveAsXMLFile(dir.Name("s.xml"), u"s");

    TStringArray t;
    t.SetAllocRowsBy(7);
    ASSERT_TRUE(t.Resize(1, 1));
    int changes = 0;
    int percents = 0;
    int exchanges = 0;
    t.SetOnChange([&](TObject*) { ++changes; });
    t.SetOnPercentDone([&](TObject*, std::int32_t) { ++percents; });
    t.SetOnBeforeSortExchange([&](TObject*, const String&, String&) { ++exchanges; });
    ASSERT_TRUE(t.LoadFromXMLFile(dir.Name("s.xml"), u"S"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(foreign, 0);
    // The allocation step stays the table's own: 3 rows in steps of 7.
    EXPECT_EQ(t.AllocRowsBy(), 7);
    EXPECT_EQ(t.RowsAllocated(), 7);

    t.Sort(1, 0, true);
    EXPECT_EQ(changes, 2);
    EXPECT_GE(percents, 2);
    EXPECT_GT(exchanges, 0);
    EXPECT_EQ(foreign, 0);

    // A failed load sends nothing.
    EXPECT_FALSE(t.LoadFromXMLFile(dir.Name("s.xml"), u"other"));
    EXPECT_EQ(changes, 2);
}

TEST(TStringArray_Xml, FileErrorsRaiseInOutError) {
    TempDir dir;
    TStringArray t;
    Prefill(t);
    const Snapshot before = Take(t);
    EXPECT_THROW(t.LoadFromXMLFile(dir.Name("missing.xml"), u""), EInOutError);
    EXPECT_THROW(t.LoadFromXMLFile(dir.Name("no/such/dir.xml"), u""), EInOutError);
    EXPECT_EQ(Take(t), before);

    // A failed save leaves neither a temporary file nor a changed target.
    try {
        t.SaveAsXMLFile(dir.Name("no/such/dir.xml"), u"");
        ADD_FAILURE() << "saving into a missing directory must fail";
    } catch (const EInOutError& e) {
        // The message names the file the caller asked for, not only the temporary one.
        EXPECT_EQ(e.Message().find(u"Cannot save \"" + dir.Name("no/such/dir.xml") + u"\""), 0u)
            << ToUtf8(e.Message());
    }
    std::filesystem::create_directory(dir.Path() / "sub");
    try {
        t.SaveAsXMLFile(dir.Name("sub"), u"");
        ADD_FAILURE() << "saving over a directory must fail";
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find(dir.Name("sub")), String::npos);
    }
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u);  // just "sub"
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "sub"));
}

TEST(TStringArray_Xml, SaveReplacesAnExistingFileWhole) {
    TempDir dir;
    dir.Put("t.xml", std::string(10000, 'x'));
    TStringArray t;
    t.SetString(1, 1, "new");
    t.SaveAsXMLFile(dir.Name("t.xml"), u"id");
    const std::string bytes = dir.Get("t.xml");
    EXPECT_EQ(bytes.find(std::string(10, 'x')), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 13), "</strarray>\r\n");
    TStringArray back;
    ASSERT_TRUE(back.LoadFromXMLFile(dir.Name("t.xml"), u"ID"));
    EXPECT_EQ(back.GetString(1, 1), "new");
}

TEST(TStringArray_Xml, ReferencesNameCodePageCharactersAndRawBytesReadAsThemselves) {
    TempDir dir;
    dir.Put("refs.xml", Frame("  <cell col=1 row=1>&#x1;&#65;&apos;&#x20ac;&#8364;</cell>\r\n"
                              "  <cell col=2 row=1>\x80\x81\xE9</cell>\r\n"
                              "  <cell col=1 row=2 enc=\"HEX\">00ff7f</cell>"));
    TStringArray t;
    ASSERT_TRUE(t.LoadFromXMLFile(dir.Name("refs.xml"), u"T"));
    EXPECT_EQ(t.GetString(1, 1), std::string("\x01"
                                             "A'\x80\x80"));
    EXPECT_EQ(t.GetString(2, 1), "\x80\x81\xE9");
    EXPECT_EQ(t.GetString(1, 2), std::string("\0\xFF\x7F", 3));
}

// Other XML software reads the files too: a table holding every byte value, checked with
// Python's XML parser (skipped where no Python is installed).
TEST(TStringArray_Xml, FilesAreWellFormedXmlWithTheCellTexts) {
    if (std::system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
    TempDir dir;
    TStringArray t;
    ASSERT_TRUE(t.Resize(16, 16));
    for (int b = 0; b < 256; ++b)
        t.SetString(b % 16 + 1, b / 16 + 1, std::string(1, static_cast<char>(b)) + "<&>\"'x");
    t.SetString(0, 1, "  blanks kept  ");
    t.SaveAsXMLFile(dir.Name("all.xml"), u"every \"byte\"");
    dir.Put("check.py",
            "import sys, xml.etree.ElementTree as ET\n"
            "def char(b):\n"
            "    try:\n"
            "        return bytes([b]).decode('cp1252')\n"
            "    except UnicodeDecodeError:\n"
            "        return chr(b)\n"
            "root = ET.parse(sys.argv[1]).getroot()\n"
            "assert root.tag == 'strarray' and root.get('id') == 'every \"byte\"', root.attrib\n"
            "cells = root.findall('cell')\n"
            "assert len(cells) == 257, len(cells)\n"
            "for cell in cells:\n"
            "    c, r = int(cell.get('col')), int(cell.get('row'))\n"
            "    if c == 0:\n"
            "        assert cell.text == '  blanks kept  ', repr(cell.text)\n"
            "        continue\n"
            "    b = (r - 1) * 16 + c - 1\n"
            "    tail = '<&>\"\\'x'\n"
            "    if cell.get('enc') == 'hex':\n"
            "        assert bytes.fromhex(cell.text) == bytes([b]) + tail.encode(), cell.text\n"
            "    else:\n"
            "        assert cell.text == char(b) + tail, (b, repr(cell.text))\n");
    const std::string command = "python3 " + dir.Native("check.py") + " " + dir.Native("all.xml");
    EXPECT_EQ(std::system(command.c_str()), 0);
}
