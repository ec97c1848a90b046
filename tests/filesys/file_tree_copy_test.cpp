#include "qorkit/filesys/file_tree_copy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;
namespace fs = std::filesystem;

namespace {

// file name -> (last bytes, last size, file number, number of reports)
std::map<std::string, std::tuple<std::int64_t, std::int64_t, std::int32_t, int>> gSeen;
bool gAbortAtFirst = false;

void Record(std::int32_t done, std::int32_t size, const String& name, std::int32_t n) {
    auto& [d, s, num, reports] = gSeen[fs::path(ToUtf8(name)).filename().string()];
    d = done;
    s = size;
    num = n;
    ++reports;
    if (gAbortAtFirst) AbortAnyFileCopying();
}

std::vector<std::string> Listing(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(root))
        names.push_back(e.path().lexically_relative(root).string() + (e.is_symlink() ? "@" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

// t/a.txt (10000 bytes), t/Sub/b.txt, t/Sub/Deep/c, t/ln -> a.txt, t/out -> a folder outside.
void MakeTree(const TempDir& dir, const TempDir& outside) {
    fs::create_directories(dir.Path() / "t/Sub/Deep");
    dir.Put("t/a.txt", std::string(10000, 'a'));
    dir.Put("t/Sub/b.txt", "bee");
    dir.Put("t/Sub/Deep/c", "");
    fs::create_symlink("a.txt", dir.Path() / "t/ln");
    fs::create_directory_symlink(outside.Path(), dir.Path() / "t/out");
    outside.Put("secret", "s");
}

}  // namespace

TEST(FileTreeCopy_CopyFileTree, FilesFoldersAndLinksWithProgress) {
    TempDir dir, outside;
    MakeTree(dir, outside);
    gSeen.clear();
    gAbortAtFirst = false;
    EXPECT_EQ(CopyFileTree(dir.Name("T"), dir.Name("copy/new"), false, Record), 0);
    EXPECT_EQ(Listing(dir.Path() / "copy/new"),
              (std::vector<std::string>{"Sub", "Sub/Deep", "Sub/Deep/c", "Sub/b.txt", "a.txt",
                                        "ln@", "out@"}));
    EXPECT_EQ(dir.Get("copy/new/a.txt"), std::string(10000, 'a'));
    EXPECT_EQ(fs::read_symlink(dir.Path() / "copy/new/ln"), "a.txt");
    EXPECT_EQ(fs::read_symlink(dir.Path() / "copy/new/out"), outside.Path());
    // a.txt: (0, size) twice, the second block, the end, and the report after the copy.
    EXPECT_EQ(gSeen["a.txt"], std::make_tuple(10000, 10000, std::get<2>(gSeen["a.txt"]), 5));
    EXPECT_EQ(std::get<3>(gSeen["b.txt"]), 4);
    std::vector<std::int32_t> numbers;
    for (const auto& [name, seen] : gSeen)
        numbers.push_back(std::get<2>(seen));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));

    // Copying again over the copy replaces what is there; a destination entry that is a link
    // is replaced, never written through.
    fs::remove(dir.Path() / "copy/new/a.txt");
    fs::create_symlink(outside.Path() / "secret", dir.Path() / "copy/new/a.txt");
    EXPECT_EQ(CopyFileTree64(dir.Name("t"), dir.Name("copy/new/"), true, nullptr), 0);
    EXPECT_EQ(outside.Get("secret"), "s");
    EXPECT_FALSE(fs::is_symlink(dir.Path() / "copy/new/a.txt"));
    EXPECT_EQ(dir.Get("copy/new/a.txt"), std::string(10000, 'a'));
}

TEST(FileTreeCopy_CopyFileTree, RefusalsCreateNothing) {
    TempDir dir, outside;
    MakeTree(dir, outside);
    fs::create_directory_symlink(dir.Path() / "t", dir.Path() / "alias");
    const struct {
        std::string Source, Dest;
        std::int32_t Result;
        std::string Created;  // must not exist afterwards
    } cases[] = {
        {"t", "T/", 0, ""},                           // the same text but for case
        {"t", "t/Sub/..", 0, ""},                     // the same folder reached another way
        {"t", "t/Sub/x/y", fcIntoItself, "t/Sub/x"},  // into its own subtree
        {"t", "alias/new", fcIntoItself, "t/new"},    // the same, through a link
        {"T/SUB", "t/sub/deep/z", fcIntoItself, "t/Sub/Deep/z"},
        {"missing", "m2", fcSourceNotOpened, "m2"},
        {"t/a.txt", "m3", fcSourceNotOpened, "m3"},  // a file is no folder
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CopyFileTree(dir.Name(c.Source), dir.Name(c.Dest), false, nullptr), c.Result)
            << c.Source << " -> " << c.Dest;
        if (!c.Created.empty()) {
            EXPECT_FALSE(dir.Exists(c.Created)) << c.Created;
        }
    }
    EXPECT_EQ(CopyFileTree(u"", dir.Name("x"), false, nullptr), fcSourceNotOpened);
    EXPECT_EQ(Listing(dir.Path() / "t").size(), 7u);
}

TEST(FileTreeCopy_CopyFileTree, AbortAndFailuresLeaveNoPartialFiles) {
    TempDir dir, outside;
    MakeTree(dir, outside);
    gSeen.clear();
    gAbortAtFirst = true;
    EXPECT_EQ(CopyFileTree(dir.Name("t"), dir.Name("c1"), false, Record), fcAborted);
    gAbortAtFirst = false;
    for (const auto& e : fs::recursive_directory_iterator(dir.Path() / "c1"))
        EXPECT_TRUE(e.is_directory()) << e.path();  // the first file was never put in place

    // A folder where a file belongs: that file fails, everything else is copied.
    fs::create_directories(dir.Path() / "c2/a.txt");
    EXPECT_EQ(CopyFileTree(dir.Name("t"), dir.Name("c2"), false, nullptr), fcDestNotCreated);
    EXPECT_EQ(dir.Get("c2/Sub/b.txt"), "bee");
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "c2/ln"));
    EXPECT_TRUE(fs::is_empty(dir.Path() / "c2/a.txt"));
}

TEST(FileTreeCopy_CopyFileTree, BackslashNamesAreSkipped) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "src/..\\..\\x");
    dir.Put("src/..\\..\\x\\f.txt", "out");
    dir.Put("src/ok.txt", "ok");
    EXPECT_EQ(CopyFileTree(dir.Name("src"), dir.Name("d1/d2"), false, nullptr), fcSourceNotOpened);
    EXPECT_EQ(dir.Get("d1/d2/ok.txt"), "ok");
    EXPECT_EQ(Listing(dir.Path()),
              (std::vector<std::string>{"d1", "d1/d2", "d1/d2/ok.txt", "src", "src/..\\..\\x",
                                        "src/..\\..\\x\\f.txt", "src/ok.txt"}));
}
