#include "posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qorkit::detail {

std::string NativePath(const String& FileName) {
    std::string path = ToUtf8(FileName);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

String Quoted(const String& FileName) {
    return u"\"" + FileName + u"\"";
}

int OpenPath(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

int ClosePath(int fd) noexcept {
    if (::close(fd) == 0 || errno == EINTR) return 0;
    return errno;
}

namespace {

// True when the directory part of `path` exists (a path without "/" lives in the current
// directory, which exists by definition here).
bool ParentExists(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return true;
    struct stat st {};
    return ::stat(path.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int InOutCode(int err, const std::string& path) {
    switch (err) {
        case ENOENT:
            return ParentExists(path) ? 2 : 3;
        case ENOTDIR:
            return 3;
        case EMFILE:
        case ENFILE:
            return 4;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
        case EEXIST:
        case ETXTBSY:
            return 5;
        default:
            return 1000 + err;
    }
}

}  // namespace qorkit::detail
