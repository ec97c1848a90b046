#include "qorkit/filesys/drives.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "qorkit/filesys/system_folders.h"
#include "rtl/temp_dir.h"

using namespace qorkit;

namespace {

const char kMounts[] =
    "overlay / overlay rw,relatime 0 0\n"
    "proc /proc proc rw 0 0\n"
    "/dev/nonexistent-qk1 /mnt/usb\\040stick vfat rw 0 0\n"
    "short line\n"
    "\n"
    "/dev/sr0 /media/u/CD\\134x iso9660 ro 0 0\n"
    "server:/export /mnt/usb\\040stick nfs4 rw 0 0\n"
    "tmpfs /run/media/u/ram tmpfs rw 0 0\n"
    "/dev/nonexistent-qk2 /mnt ext4 rw 0 0\n"
    "tmpfs /mediafake tmpfs rw 0 0\n";

}  // namespace

TEST(Drives_Table, LettersAndTypesFromTheMountTable) {
    const auto mounts = ParseMountTable(kMounts);
    ASSERT_EQ(mounts.size(), 8u);
    EXPECT_EQ(mounts[2].MountPoint, "/mnt/usb stick");
    EXPECT_EQ(mounts[3].MountPoint, "/media/u/CD\\x");
    const auto table = DriveLetterTable(mounts);
    const std::array<std::string, 26> expected = {
        "", "", "/", "/mnt/usb stick", "/media/u/CD\\x", "/run/media/u/ram"};
    EXPECT_EQ(table, expected);
    const struct {
        const char* MountPoint;
        std::int32_t Type;
    } types[] = {
        {"/", dtFixed},
        {"/mnt/usb stick", dtRemote},  // the later mount hides the earlier
        {"/media/u/CD\\x", dtCDROM},
        {"/run/media/u/ram", dtRAMDisk},
        {"/mnt", dtFixed},
        {"/elsewhere", dtUnknown},
        {"", dtNoRootDir},
    };
    for (const auto& t : types)
        EXPECT_EQ(DriveTypeOfMountPoint(mounts, t.MountPoint), t.Type) << t.MountPoint;
}

TEST(Drives_System, QueriesOfTheRunningSystem) {
    TStringList list;
    list.Add(u"stale");
    BuildDriveList(&list);
    ASSERT_GE(list.Count(), 1);
    EXPECT_EQ(list.Strings(0), u"C:");
    BuildDriveList(nullptr);
    EXPECT_EQ(GetDiskDriveType(0), dtNoRootDir);  // A: never exists
    EXPECT_EQ(GetDiskDriveType(26), dtUnknown);
    if (!ReadMountTable().empty()) {
        EXPECT_GE(GetDiskDriveType(2), dtRemovable);
    }
    EXPECT_GE(DiskFreeExtended(2), 0.0);
    EXPECT_EQ(DiskFreeExtended(1), -1.0);
    EXPECT_EQ(DiskFreeExtended(200), -1.0);
    EXPECT_TRUE(DiskIsReadOnly(0));
    EXPECT_TRUE(std::filesystem::is_directory(ToUtf8(GetSystemDir())));
    EXPECT_TRUE(std::filesystem::is_directory(ToUtf8(GetWindowsDir())));
}

TEST(Drives_DirIsReadOnly, ProbeLeavesNothingAndTouchesNothing) {
    qorkit::test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "ro");
    std::filesystem::create_directories(dir.Path() / "taken");
    dir.Put("taken/$%$LO%$.$$$", "mine");
    EXPECT_FALSE(DirIsReadOnly(dir.Name("")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "ro"));
    EXPECT_FALSE(DirIsReadOnly(dir.Name("TAKEN")));
    EXPECT_EQ(dir.Get("taken/$%$LO%$.$$$"), "mine");
    EXPECT_TRUE(DirIsReadOnly(dir.Name("missing")));
    EXPECT_TRUE(DirIsReadOnly(u""));
    if (::geteuid() != 0) {
        ::chmod(dir.Native("ro").c_str(), 0555);
        ::chmod(dir.Native("taken").c_str(), 0555);
        EXPECT_TRUE(DirIsReadOnly(dir.Name("ro")));
        EXPECT_TRUE(DirIsReadOnly(dir.Name("taken")));
        ::chmod(dir.Native("ro").c_str(), 0755);
        ::chmod(dir.Native("taken").c_str(), 0755);
    }
}
