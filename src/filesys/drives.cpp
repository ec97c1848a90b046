// Drive queries over the drive-letter table, statvfs and a probe file.
#include "qorkit/filesys/drives.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

#include "../rtl/posix_file.h"
#include "qorkit/rtl/file_search.h"

namespace qorkit {

namespace {

std::string RootOf(std::uint8_t Drive) {
    return Drive < 26 ? DriveLetterTable()[Drive] : std::string();
}

bool FolderIsReadOnly(const std::string& dir) {
    if (dir.empty()) return true;
    std::string probe = dir;
    if (probe.back() != '/') probe += '/';
    probe += "$%$LO%$.$$$";
    const int fd = detail::OpenPath(probe, O_WRONLY | O_CREAT | O_EXCL);
    if (fd >= 0) {
        detail::ClosePath(fd);
        ::unlink(probe.c_str());
        return false;
    }
    if (errno != EEXIST) return true;
    // Someone's file has the probe's name: ask the system instead of replacing it.
    struct statvfs vfs {};
    return ::access(dir.c_str(), W_OK) != 0 ||
           (::statvfs(dir.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0);
}

}  // namespace

std::int32_t GetDiskDriveType(std::uint8_t Drive) {
    if (Drive > 25) return dtUnknown;
    const std::vector<TMountEntry> mounts = ReadMountTable();
    return DriveTypeOfMountPoint(mounts, DriveLetterTable(mounts)[Drive]);
}

void BuildDriveList(TStringList* List) {
    if (List == nullptr) return;
    List->Clear();
    const auto table = DriveLetterTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (!table[i].empty()) List->Add(String{static_cast<Char>(u'A' + i), u':'});
}

double DiskFreeExtended(std::uint8_t Drive) {
    const std::string root = RootOf(Drive);
    struct statvfs vfs {};
    if (root.empty() || ::statvfs(root.c_str(), &vfs) != 0) return -1;
    return std::round(static_cast<double>(vfs.f_bavail) * static_cast<double>(vfs.f_frsize));
}

bool DirIsReadOnly(const String& Dir) {
    if (Dir.empty()) return true;
    return FolderIsReadOnly(detail::NativePath(ResolveFileNameCase(Dir)));
}

bool DiskIsReadOnly(std::uint8_t Drive) {
    return FolderIsReadOnly(RootOf(Drive));
}

}  // namespace qorkit
