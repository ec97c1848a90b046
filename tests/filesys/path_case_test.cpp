#include "qorkit/filesys/path_case.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

// Every path below `dir`, relative, as a sorted set.
std::set<std::string> Tree(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.Path()))
        names.insert(std::filesystem::relative(e.path(), dir.Path()).string());
    return names;
}

}  // namespace

TEST(PathCase_DOSToWinPath, StoredCaseAndUnconvertedRest) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "My Data" / "Ünïcode");
    dir.Put("My Data/Ünïcode/Report.TXT", "");
    const std::string base = dir.Path().string();
    EXPECT_EQ(ToUtf8(DOSToWinPath(dir.Name("my data\\ÜNÏCODE\\report.txt"))),
              base + "/My Data/Ünïcode/Report.TXT");
    EXPECT_EQ(ToUtf8(DOSToWinPath(dir.Name("MY DATA/./x/../missing\\Rest"))),
              base + "/My Data/missing/Rest");
    // Wildcards are ordinary characters, not masks.
    EXPECT_EQ(ToUtf8(DOSToWinPath(dir.Name("*"))), base + "/*");
    EXPECT_EQ(DOSToWinPath(u""), u"");
}

TEST(PathCase_SetAllFilenameCase, RenamesRecursivelyIntoPlainFolders) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "Sub" / "Deep");
    std::filesystem::create_directories(dir.Path() / ".Git");
    dir.Put("Read Me.txt", "");
    dir.Put("Sub/Deep/Inner.TXT", "");
    dir.Put(".Git/Config", "");
    dir.Put("keep.dat", "");
    SetAllFilenameCase(dir.Name("*.*"), true);
    EXPECT_EQ(Tree(dir), (std::set<std::string>{".GIT", ".GIT/Config", "KEEP.DAT", "READ ME.TXT",
                                                "SUB", "SUB/DEEP", "SUB/DEEP/INNER.TXT"}));
    SetAllFilenameCase(dir.Name("*.TXT"), false);  // the mask is folded to lower case first
    EXPECT_EQ(Tree(dir).count("read me.txt"), 1u);
    EXPECT_EQ(Tree(dir).count("SUB/DEEP/INNER.TXT"), 1u);  // folders do not match "*.txt"
}

TEST(PathCase_SetAllFilenameCase, NeverReplacesAnotherFile) {
    TempDir dir;
    dir.Put("data", "lower");
    dir.Put("DATA", "upper");
    try {
        SetAllFilenameCase(dir.Name("data"), true);
        ADD_FAILURE() << "renamed over an existing file";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 5);
        EXPECT_NE(e.Message().find(u"Cannot rename file"), String::npos) << e.what();
    }
    EXPECT_EQ(dir.Get("data"), "lower");
    EXPECT_EQ(dir.Get("DATA"), "upper");
}
