#include "qorkit/filesys/file_scan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

std::vector<std::string> gFolders;
void RecordFolder(const String& dir, std::int32_t count) {
    gFolders.push_back(ToUtf8(dir) + "#" + std::to_string(count));
}

// A tree with a hidden folder, a link back to the root and a link to an outside folder.
void MakeTree(const TempDir& dir, const TempDir& outside) {
    std::filesystem::create_directories(dir.Path() / "Sub" / "Deep");
    std::filesystem::create_directories(dir.Path() / ".hid");
    dir.Put("a.txt", "12345");
    dir.Put("b.dat", "");
    dir.Put("Sub/c.TXT", "");
    dir.Put("Sub/Deep/d.txt", "");
    dir.Put(".hid/e.txt", "");
    outside.Put("x.txt", "");
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() / "Sub" / "loop");
    std::filesystem::create_directory_symlink(outside.Path(), dir.Path() / "out");
}

}  // namespace

TEST(FileScan_Walk, ListsCountsAndNeverFollowsFolderLinks) {
    TempDir dir, outside;
    MakeTree(dir, outside);
    const std::string base = dir.Path().string() + "/";
    TStringList list;
    list.Add(u"kept");
    gFolders.clear();
    ScanFilesToStrList(dir.Name("SUB/../*.txt"), true, &list, RecordFolder);
    std::vector<std::string> got;
    for (std::int32_t i = 0; i < list.Count(); ++i)
        got.push_back(ToUtf8(list.Strings(i)));
    EXPECT_EQ(
        got, (std::vector<std::string>{"kept", base + "Sub/../a.txt", base + "Sub/../.hid/e.txt",
                                       base + "Sub/../Sub/c.TXT", base + "Sub/../Sub/Deep/d.txt"}));
    EXPECT_EQ(gFolders,
              (std::vector<std::string>{base + "Sub/../#0", base + "Sub/../.hid/#1",
                                        base + "Sub/../Sub/#2", base + "Sub/../Sub/Deep/#3"}));
    EXPECT_EQ(CountFiles(dir.Name("*.txt"), false, nullptr), 1);
    EXPECT_EQ(CountFiles(dir.Name("*.*"), true, nullptr), 5);  // the links to folders are no files
    EXPECT_EQ(CountFiles(dir.Name("missing/*"), true, nullptr), 0);
    ScanFilesToStrList(dir.Name("*"), true, nullptr, RecordFolder);  // no list: nothing happens
}

TEST(FileScan_Detect, PlainFilesInPlainFoldersDepthFirst) {
    TempDir dir, outside;
    MakeTree(dir, outside);
    const std::string base = dir.Path().string() + "/";
    EXPECT_EQ(ToUtf8(FileDetect(dir.Name("D.TXT"))), base + "Sub/Deep/d.txt");
    EXPECT_EQ(ToUtf8(FileDetect(dir.Name("c.*"))), base + "Sub/c.TXT");
    EXPECT_EQ(FileDetect(dir.Name("e.txt")), u"");  // only in a hidden folder
    EXPECT_EQ(FileDetect(dir.Name("x.txt")), u"");  // only behind a link
    EXPECT_EQ(FileDetect(dir.Name("Sub")), u"");    // a folder is no file
}

TEST(FileScan_Queries, SizesAndFolders) {
    TempDir dir;
    dir.Put("a.txt", "12345");
    EXPECT_EQ(GetFileSize(dir.Name("A.TXT")), 5);
    EXPECT_EQ(GetFileSize(dir.Name("none")), -1);
    // A sparse file of 3 GiB: the 32-bit form saturates, the 64-bit form is exact.
    std::filesystem::resize_file(dir.Path() / "a.txt", 3LL << 30);
    EXPECT_EQ(GetFileSize64(dir.Name("a.txt")), 3LL << 30);
    EXPECT_EQ(GetFileSize(dir.Name("a.txt")), 2147483647);
    std::filesystem::create_directory(dir.Path() / "Empty");
    EXPECT_TRUE(DirEmpty(dir.Name("empty")));
    EXPECT_TRUE(DirEmpty(dir.Name("missing")));
    EXPECT_FALSE(DirEmpty(dir.Name("")));
    EXPECT_TRUE(DirExists(dir.Name("EMPTY")));
    EXPECT_FALSE(DirExists(dir.Name("a.txt")));
    EXPECT_FALSE(DirExists(u""));
}

TEST(FileScan_Detect, BackslashFolderNamesAreNotEntered) {
    TempDir dir;
    // "x\..\.." read as a path is the parent of the tree: entering it would never end.
    std::filesystem::create_directories(dir.Path() / "t/x");
    std::filesystem::create_directories(dir.Path() / "t/x\\..\\..");
    dir.Put("t/x\\..\\../f.txt", "");
    EXPECT_EQ(FileDetect(dir.Name("t/f.txt")), u"");
    EXPECT_EQ(CountFiles(dir.Name("t/*.*"), true, nullptr), 1);
}
