#include "qorkit/rtl/file_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/text_file.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

// Names found for `mask` with `attr`, in search order.
std::vector<std::string> Found(const String& mask, std::int32_t attr) {
    std::vector<std::string> names;
    TSearchRec r;
    for (std::int32_t c = FindFirst(mask, attr, r); c == 0; c = FindNext(r))
        names.push_back(ToUtf8(r.Name));
    FindClose(r);
    return names;
}

}  // namespace

TEST(FileSearch_Mask, WindowsRulesWithoutCase) {
    struct M {
        const char16_t* Name;
        const char16_t* Mask;
        bool Match;
    };
    for (const M& m : {M{u"readme", u"*.*", true},
                       M{u"a.b.c", u"*.*", true},
                       M{u"readme", u"*", true},
                       M{u"Data.TXT", u"*.txt", true},
                       M{u"data.txt.bak", u"*.txt", false},
                       M{u"abc", u"abc.*", true},
                       M{u"abc.d", u"abc.*", true},
                       M{u"abcd", u"abc.*", false},
                       M{u"noext", u"*.", true},
                       M{u"has.ext", u"*.", false},
                       M{u"ab", u"a?", true},
                       M{u"a", u"a?", true},
                       M{u"abc", u"a?", false},
                       M{u"a.txt", u"a?.txt", true},
                       M{u"ab.txt", u"a?.txt", true},
                       M{u"abc.txt", u"a?.txt", false},
                       M{u"x?y", u"x?y", true},
                       M{u"\u00C4rger.txt", u"\u00E4*", true},
                       M{u"", u"*", true},
                       M{u"a", u"", false},
                       M{u"..", u"..", true},
                       M{u"a", u"..", false},
                       M{u"a*b", u"a*b*", true},
                       M{u"aXbYc", u"a*b*c", true}})
        EXPECT_EQ(MatchesMask(m.Name, m.Mask), m.Match)
            << ToUtf8(m.Name) << " ~ " << ToUtf8(m.Mask);
}

TEST(FileSearch_FindFirst, AttributesFilterAndSortedNames) {
    TempDir dir;
    dir.Put("b.txt", "12345");
    dir.Put("A.TXT", "");
    dir.Put(".hidden", "");
    dir.Put("ro.dat", "");
    ::chmod(dir.Native("ro.dat").c_str(), 0444);
    std::filesystem::create_directory(dir.Path() / "Sub");
    std::filesystem::create_symlink(dir.Path() / "Sub", dir.Path() / "link");
    const String all = dir.Name("*.*");
    EXPECT_EQ(Found(all, 0), (std::vector<std::string>{"A.TXT", "b.txt", "ro.dat"}));
    EXPECT_EQ(Found(all, faAnyFile), (std::vector<std::string>{".", "..", ".hidden", "A.TXT", "Sub",
                                                               "b.txt", "link", "ro.dat"}));
    EXPECT_EQ(Found(dir.Name("*.TXT"), 0), (std::vector<std::string>{"A.TXT", "b.txt"}));

    TSearchRec r;
    ASSERT_EQ(FindFirst(dir.Name("B.Txt"), 0, r), 0);
    EXPECT_EQ(r.Size, 5);
    EXPECT_EQ(r.Attr, faArchive);
    EXPECT_GT(r.TimeStamp, 40000.0);
    EXPECT_NE(r.Time, 0);
    EXPECT_EQ(FindNext(r), feNoMoreFiles);
    ASSERT_EQ(FindFirst(dir.Name("ro.dat"), 0, r), 0);
    EXPECT_EQ(r.Attr, faArchive | faReadOnly);
    ASSERT_EQ(FindFirst(dir.Name(".hidden"), faHidden, r), 0);
    EXPECT_EQ(r.Attr, faArchive | faHidden);
    ASSERT_EQ(FindFirst(dir.Name("link"), faDirectory, r), 0);
    EXPECT_EQ(r.Attr, faDirectory | faSymLink);
    FindClose(r);
    EXPECT_EQ(FindNext(r), feNoMoreFiles);

    EXPECT_EQ(FindFirst(dir.Name("*.none"), faAnyFile, r), feFileNotFound);
    EXPECT_EQ(FindFirst(dir.Name("missing/*"), faAnyFile, r), fePathNotFound);
    EXPECT_EQ(FindFirst(dir.Name("b.txt/*"), faAnyFile, r), fePathNotFound);
    // An upper-cased folder is still found; backslashes separate.
    EXPECT_EQ(Found(dir.Name("SUB") + u"\\*", faAnyFile), (std::vector<std::string>{".", ".."}));
}

TEST(FileSearch_Resolve, UniqueCaseInsensitiveComponents) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "Alpha" / "Beta");
    dir.Put("Alpha/Beta/File.txt", "x");
    dir.Put("twin", "");
    dir.Put("TWIN", "");
    const std::string base = dir.Path().string();
    EXPECT_EQ(ToUtf8(ResolveFileNameCase(dir.Name("ALPHA\\beta\\FILE.TXT"))),
              base + "/Alpha/Beta/File.txt");
    EXPECT_EQ(ToUtf8(ResolveFileNameCase(dir.Name("twin"))), base + "/twin");
    EXPECT_EQ(ToUtf8(ResolveFileNameCase(dir.Name("Twin"))), base + "/Twin");  // ambiguous
    EXPECT_EQ(ToUtf8(ResolveFileNameCase(dir.Name("alpha/Missing/x"))), base + "/Alpha/Missing/x");
}

TEST(FilePaths_Expand, AbsoluteLexicalForm) {
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(ToUtf8(ExpandFileName(u"a\\b\\..\\c")), cwd + "/a/c");
    EXPECT_EQ(ExpandFileName(u"/x/./y//z/"), u"/x/y/z/");
    EXPECT_EQ(ExpandFileName(u"/../.."), u"/");
    EXPECT_EQ(ExpandFileName(u"/a/b/.."), u"/a");
    EXPECT_EQ(ExpandFileName(u""), u"");
}

TEST(AtomicSave, ReplacesWholeKeepsModeAndLinksAndCleansUp) {
    TempDir dir;
    dir.Put("t.txt", "old");
    ::chmod(dir.Native("t.txt").c_str(), 0640);
    std::filesystem::create_symlink("t.txt", dir.Path() / "l.txt");
    const auto write = [](const char16_t* text) {
        return [text](const String& temp) {
            TextFile f;
            f.Assign(temp);
            f.Rewrite();
            f.Write(text);
            f.Close();
        };
    };
    SaveFileAtomically(dir.Name("l.txt"), write(u"new"));
    EXPECT_EQ(dir.Get("t.txt"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "l.txt"));
    struct stat st {};
    ::stat(dir.Native("t.txt").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A failing writer leaves the old file and no temporary sibling.
    EXPECT_THROW(SaveFileAtomically(dir.Name("t.txt"),
                                    [&](const String& temp) {
                                        write(u"partial")(temp);
                                        throw std::runtime_error("stop");
                                    }),
                 std::runtime_error);
    EXPECT_EQ(dir.Get("t.txt"), "new");
    try {
        SaveFileAtomically(dir.Name("no/such/t.txt"), write(u"x"));
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message().rfind(u"Cannot save \"" + dir.Name("no/such/t.txt") + u"\": ", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2);
}
