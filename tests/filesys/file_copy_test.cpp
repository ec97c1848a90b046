#include "qorkit/filesys/file_copy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

std::vector<std::pair<std::int64_t, std::int64_t>> gReports;
int gAbortAt = -1;

void Report(std::int32_t done, std::int32_t size) {
    gReports.emplace_back(done, size);
    if (static_cast<int>(gReports.size()) == gAbortAt) AbortAnyFileCopying();
}

std::size_t EntriesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()),
                                                  std::filesystem::directory_iterator()));
}

}  // namespace

TEST(FileCopy_FeedBk, BlocksCallbacksTimesAndAttributes) {
    TempDir dir;
    std::string data(20000, 'x');
    data[12345] = '\0';
    dir.Put("src.bin", data);
    ::chmod(dir.Native("src.bin").c_str(), 0444);
    std::filesystem::last_write_time(
        dir.Path() / "src.bin",
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(50));
    std::filesystem::create_directory(dir.Path() / "into");
    gReports.clear();
    gAbortAt = -1;
    EXPECT_EQ(FileCopyFeedBk(dir.Name("src.bin"), dir.Name("into"), true, Report), 0);
    EXPECT_EQ(dir.Get("into/src.bin"), data);
    using R = std::pair<std::int64_t, std::int64_t>;
    EXPECT_EQ(
        gReports,
        (std::vector<R>{{0, 20000}, {0, 20000}, {8192, 20000}, {16384, 20000}, {20000, 20000}}));
    EXPECT_EQ(std::filesystem::last_write_time(dir.Path() / "into/src.bin"),
              std::filesystem::last_write_time(dir.Path() / "src.bin"));
    struct stat st {};
    ::stat(dir.Native("into/src.bin").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    // The same name, or the same file under another name: nothing happens.
    gReports.clear();
    EXPECT_EQ(FileCopyFeedBk(dir.Name("src.bin"), dir.Name("src.bin"), false, Report), 0);
    EXPECT_EQ(FileCopyFeedBk(dir.Name("src.bin"), dir.Name("into/../src.bin"), false, Report), 0);
    EXPECT_TRUE(gReports.empty());
    EXPECT_EQ(dir.Get("src.bin"), data);

    EXPECT_EQ(FileCopyFeedBk(dir.Name("src.bin"), dir.Name("no/such/d.bin"), false, nullptr),
              fcDestNotCreated);
    EXPECT_THROW(FileCopyFeedBk(dir.Name("none"), dir.Name("d.bin"), false, nullptr), EInOutError);
    EXPECT_THROW(FileCopyFeedBk(dir.Name("into"), dir.Name("d.bin"), false, nullptr), EInOutError);
}

TEST(FileCopy_FeedBk, AbortLeavesNoPartialFileAndKeepsTheOldOne) {
    TempDir dir;
    dir.Put("src.bin", std::string(50000, 'n'));
    dir.Put("old.bin", "old content");
    gReports.clear();
    gAbortAt = 3;  // during the second block
    EXPECT_EQ(FileCopyFeedBk(dir.Name("src.bin"), dir.Name("old.bin"), false, Report), fcAborted);
    EXPECT_EQ(dir.Get("old.bin"), "old content");
    EXPECT_EQ(gReports.back(), (std::pair<std::int64_t, std::int64_t>{16384, 50000}));
    EXPECT_EQ(FileCopyFeedBk(dir.Name("src.bin"), dir.Name("new.bin"), false, Report), 0);
    EXPECT_EQ(EntriesIn(dir), 3u);  // the next copy cleared the switch; no temporary files
    gAbortAt = -1;
}

TEST(FileCopy_DelDirTree, DeletesLinksNotTheirTargets) {
    TempDir dir, outside;
    outside.Put("keep.txt", "k");
    std::filesystem::create_directories(dir.Path() / "t" / "Sub" / "Deep");
    dir.Put("t/a.txt", "");
    dir.Put("t/Sub/Deep/.hidden", "");
    std::filesystem::create_directory_symlink(outside.Path(), dir.Path() / "t" / "Sub" / "out");
    std::filesystem::create_directory_symlink(outside.Path(), dir.Path() / "link");
    EXPECT_EQ(DelDirTree(dir.Name("link/")), u"");  // the link goes, not what it names
    EXPECT_FALSE(std::filesystem::is_symlink(dir.Path() / "link"));
    EXPECT_EQ(DelDirTree(dir.Name("T")), u"");
    EXPECT_FALSE(dir.Exists("t"));
    EXPECT_EQ(outside.Get("keep.txt"), "k");
    EXPECT_EQ(DelDirTree(u""), u"");
    EXPECT_EQ(DelDirTree(dir.Name("missing")), dir.Name("missing"));
}

TEST(FileCopy_DeleteFiles, MatchingFilesOnly) {
    TempDir dir;
    dir.Put("a.txt", "");
    dir.Put("B.TXT", "");
    dir.Put(".h.txt", "");
    dir.Put("c.dat", "");
    std::filesystem::create_directory(dir.Path() / "d.txt");
    std::filesystem::create_symlink(dir.Path() / "c.dat", dir.Path() / "l.txt");
    EXPECT_EQ(DeleteFiles(dir.Name("*.txt")), 3);
    EXPECT_TRUE(dir.Exists(".h.txt"));
    EXPECT_TRUE(dir.Exists("c.dat"));
    EXPECT_TRUE(dir.Exists("d.txt"));
    EXPECT_FALSE(dir.Exists("a.txt"));
    EXPECT_EQ(DeleteFiles(dir.Name("*.none")), 0);
}

TEST(FileCopy_FeedBk, ReportsEveryBlockWhateverTheSize) {
    TempDir dir;
    // size -> number of reports: the first, one per block read (a last full block is followed
    // by an empty read) and the last.
    const struct {
        std::int64_t Size;
        std::size_t Reports;
    } cases[] = {{0, 3}, {100, 3}, {8192, 4}, {16384, 5}, {(1 << 20) + 100, 131}, {1 << 21, 259}};
    for (const auto& c : cases) {
        std::string data(static_cast<std::size_t>(c.Size), 'x');
        for (std::size_t i = 0; i < data.size(); i += 4093)
            data[i] = static_cast<char>(i);
        dir.Put("s.bin", data);
        gReports.clear();
        gAbortAt = -1;
        EXPECT_EQ(FileCopyFeedBk(dir.Name("s.bin"), dir.Name("d.bin"), false, Report), 0);
        EXPECT_EQ(dir.Get("d.bin"), data) << c.Size;
        ASSERT_EQ(gReports.size(), c.Reports) << c.Size;
        for (std::size_t i = 1; i + 1 < gReports.size(); ++i)
            EXPECT_EQ(gReports[i].first, std::min<std::int64_t>(8192 * (i - 1), c.Size));
        EXPECT_EQ(gReports.back(), (std::pair<std::int64_t, std::int64_t>{c.Size, c.Size}));
    }
}

// A name holding "\" is a separator for the library's paths; read as one, "t\..\..\f" would
// lead out of the folder. Every operation treats such entries by their raw names or leaves them.
TEST(FileCopy_BackslashNames, NothingOutsideTheGivenFolderIsTouched) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "a/b/t/t");
    std::filesystem::create_directories(dir.Path() / "a/b/t/t\\..\\..");
    dir.Put("a/b/t/t\\..\\..\\keep.txt", "x");  // reads as a/b/keep.txt
    dir.Put("a/keep.txt", "k");
    dir.Put("a/b/keep.txt", "k");
    EXPECT_EQ(DeleteFiles(dir.Name("a/b/t/*.txt")), 0);
    EXPECT_EQ(dir.Get("a/b/keep.txt"), "k");
    EXPECT_EQ(DelDirTree(dir.Name("a/b/t")), u"");
    EXPECT_FALSE(dir.Exists("a/b/t"));
    EXPECT_EQ(dir.Get("a/keep.txt"), "k");
    EXPECT_EQ(dir.Get("a/b/keep.txt"), "k");
}
