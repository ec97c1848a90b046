// The freedesktop home trash: files/ holds the files, info/ one .trashinfo record each.
#include "qorkit/filesys/recycle_bin.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <limits>
#include <string>

#include "../rtl/posix_file.h"
#include "qorkit/filesys/path_names.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"
#include "xdg_dirs.h"

namespace qorkit {

namespace {

// Creates `path` with mode 0700 when missing; true when it is a folder afterwards.
bool EnsureFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0) return true;
    struct stat st {};
    return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// `path` percent-encoded as a URL path: unreserved characters and "/" stay.
std::string UrlPath(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : path) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    return text;
}

bool WriteAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += static_cast<std::size_t>(w);
    }
    return true;
}

// Renames without ever replacing an existing entry.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

class Trash {
  public:
    // Moves the file `path` (absolute, native) into the trash, whose folders are made on the
    // first use, so that nothing is created when nothing matches.
    bool Take(const std::string& path) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !Ready()) return false;
        const String name = FromUtf8(path.substr(path.rfind('/') + 1));
        const std::string record =
            "[Trash Info]\nPath=" + UrlPath(path) + "\nDeletionDate=" + LocalTimeNow() + "\n";
        for (int n = 1; n < 100000; ++n) {
            const std::string stored = ToUtf8(
                n == 1 ? name : InsertBeforeFileExt(u"." + FromUtf8(std::to_string(n)), name));
            const std::string info = FRoot + "/info/" + stored + ".trashinfo";
            const std::string target = FRoot + "/files/" + stored;
            // The record is created first and exclusively: it reserves the name.
            const int fd = detail::OpenPath(info, O_WRONLY | O_CREAT | O_EXCL);
            if (fd < 0) {
                if (errno == EEXIST) continue;
                return false;
            }
            const bool written = WriteAll(fd, record) && detail::ClosePath(fd) == 0;
            if (written && RenameNoReplace(path, target)) return true;
            const bool taken = errno == EEXIST;
            ::unlink(info.c_str());
            if (!written || !taken) return false;  // EXDEV: another file system, refused
        }
        return false;
    }

  private:
    bool Ready() {
        if (FTried) return !FRoot.empty();
        FTried = true;
        const std::string home = detail::XdgDataHome();
        if (home.empty()) return false;
        const std::string root = home + "/Trash";
        // The data home itself may be missing on a fresh account.
        ::mkdir(home.c_str(), 0700);
        if (EnsureFolder(root) && EnsureFolder(root + "/files") && EnsureFolder(root + "/info"))
            FRoot = root;
        return !FRoot.empty();
    }

    bool FTried = false;
    std::string FRoot;
};

}  // namespace

std::int32_t MoveToRecycleBin(const String& FileMask) {
    const String mask = ExpandFileName(FileMask);
    if (mask.empty()) return 0;
    const String folder = ExtractFilePath(mask);
    Trash trash;
    std::int32_t moved = 0;
    TSearchRec r;
    for (std::int32_t c = FindFirst(mask, faAnyFile, r); c == 0; c = FindNext(r)) {
        // A name holding "\" would be read as a path: it cannot be this folder's file.
        if (r.Name.starts_with(u".") || (r.Attr & (faVolumeID | faDirectory)) != 0 ||
            r.Name.find(u'\\') != String::npos)
            continue;
        if (trash.Take(detail::NativePath(ResolveFileNameCase(folder + r.Name))) &&
            moved < std::numeric_limits<std::int32_t>::max())
            ++moved;
    }
    FindClose(r);
    return moved;
}

}  // namespace qorkit
