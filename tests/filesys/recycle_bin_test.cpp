#include "qorkit/filesys/recycle_bin.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "filesys/scoped_env.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
namespace fs = std::filesystem;

namespace {

// True when `text` has the shape of `pattern`, where "9" stands for any digit.
bool Shaped(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (pattern[i] == '9' ? (text[i] < '0' || text[i] > '9') : text[i] != pattern[i])
            return false;
    return true;
}

// The Path= value of a trash record, decoded as a file manager does to restore the file.
std::string RestorePath(const std::string& record) {
    const auto start = record.find("\nPath=");
    if (start == std::string::npos) return {};
    const auto end = record.find('\n', start + 6);
    const std::string url = record.substr(start + 6, end - start - 6);
    std::string path;
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size()) {
            path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += url[i];
        }
    }
    return path;
}

}  // namespace

TEST(RecycleBin_MoveToRecycleBin, FreedesktopTrashThatRestores) {
    qorkit::test::TempDir dir;
    const qorkit::test::ScopedEnv env{{"XDG_DATA_HOME", dir.Native("data")}};
    EXPECT_EQ(MoveToRecycleBin(dir.Name("w/*.txt")), 0);
    EXPECT_FALSE(dir.Exists("data"));  // nothing made while nothing matches
    fs::create_directories(dir.Path() / "w/d.txt");
    dir.Put("w/a b.txt", "blank");
    dir.Put("w/\xC3\xBC%.txt", "umlaut");
    dir.Put("w/.hidden.txt", "h");
    dir.Put("w/keep.dat", "k");
    EXPECT_EQ(MoveToRecycleBin(dir.Name("W/*.TXT")), 2);
    EXPECT_TRUE(dir.Exists("w/.hidden.txt"));
    EXPECT_TRUE(dir.Exists("w/d.txt"));
    EXPECT_FALSE(dir.Exists("w/a b.txt"));
    const std::string info = dir.Get("data/Trash/info/a b.txt.trashinfo");
    // The temporary folder's path holds only characters that stay as they are.
    const std::string head = "[Trash Info]\nPath=" + dir.Native("w") + "/a%20b.txt\nDeletionDate=";
    ASSERT_TRUE(info.starts_with(head)) << info;
    EXPECT_TRUE(Shaped(info.substr(head.size()), "9999-99-99T99:99:99\n")) << info;
    EXPECT_EQ(RestorePath(info), dir.Native("w/a b.txt"));
    EXPECT_EQ(RestorePath(dir.Get("data/Trash/info/\xC3\xBC%.txt.trashinfo")),
              dir.Native("w/\xC3\xBC%.txt"));
    EXPECT_NE(dir.Get("data/Trash/info/\xC3\xBC%.txt.trashinfo").find("Path=/"), std::string::npos);
    EXPECT_NE(dir.Get("data/Trash/info/\xC3\xBC%.txt.trashinfo").find("/w/%C3%BC%25.txt\n"),
              std::string::npos);
    EXPECT_EQ(dir.Get("data/Trash/files/a b.txt"), "blank");

    // The same name again gets a number; a name taken only in files/ is skipped too.
    dir.Put("w/a b.txt", "second");
    dir.Put("data/Trash/files/a b.3.txt", "stray");
    EXPECT_EQ(MoveToRecycleBin(dir.Name("w/a b.txt")), 1);
    dir.Put("w/a b.txt", "third");
    EXPECT_EQ(MoveToRecycleBin(dir.Name("w/a b.txt")), 1);
    EXPECT_EQ(dir.Get("data/Trash/files/a b.2.txt"), "second");
    EXPECT_EQ(dir.Get("data/Trash/files/a b.3.txt"), "stray");
    EXPECT_EQ(dir.Get("data/Trash/files/a b.4.txt"), "third");
    EXPECT_EQ(RestorePath(dir.Get("data/Trash/info/a b.4.txt.trashinfo")), dir.Native("w/a b.txt"));
    EXPECT_FALSE(dir.Exists("data/Trash/info/a b.3.txt.trashinfo"));

    // Putting a file back by its record gives it back whole.
    fs::rename(dir.Path() / "data/Trash/files/a b.txt", RestorePath(info));
    EXPECT_EQ(dir.Get("w/a b.txt"), "blank");

    EXPECT_EQ(MoveToRecycleBin(dir.Name("missing/*.txt")), 0);
    EXPECT_EQ(MoveToRecycleBin(u""), 0);
    struct stat st {};
    ASSERT_EQ(::stat(dir.Native("data/Trash").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(RecycleBin_MoveToRecycleBin, OtherFileSystemIsRefused) {
    qorkit::test::TempDir dir;
    struct stat shm {
    }, tmp{};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(dir.Native("").c_str(), &tmp) != 0 ||
        shm.st_dev == tmp.st_dev || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second writable file system";
    const std::string other = "/dev/shm/qorkit-trash-test-" + std::to_string(::getpid());
    fs::create_directory(other);
    { std::ofstream(other + "/f.txt") << "x"; }
    const qorkit::test::ScopedEnv env{{"XDG_DATA_HOME", dir.Native("data")}};
    EXPECT_EQ(MoveToRecycleBin(FromUtf8(other + "/f.txt")), 0);
    EXPECT_TRUE(fs::exists(other + "/f.txt"));
    EXPECT_TRUE(fs::is_empty(dir.Path() / "data/Trash/info"));
    fs::remove_all(other);
}

TEST(RecycleBin_MoveToRecycleBin, BackslashNamesStay) {
    qorkit::test::TempDir dir;
    const qorkit::test::ScopedEnv env{{"XDG_DATA_HOME", dir.Native("data")}};
    fs::create_directories(dir.Path() / "a/w/sub");
    dir.Put("a/w/sub\\..\\..\\x.txt", "raw");  // reads as a/x.txt
    dir.Put("a/x.txt", "outside");
    EXPECT_EQ(MoveToRecycleBin(dir.Name("a/w/*.txt")), 0);
    EXPECT_EQ(dir.Get("a/x.txt"), "outside");
}
