#include "qorkit/rtl/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "posix_file.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"

namespace qorkit {

namespace {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool ForceDirectories(const String& Dir) {
    if (Dir.empty()) return false;
    const std::string path = detail::NativePath(ResolveFileNameCase(ExpandFileName(Dir)));
    // Every prefix that ends before a separator, then the whole path.
    for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        const std::string prefix = path.substr(0, at);
        if (!prefix.empty() && !IsFolder(prefix) && ::mkdir(prefix.c_str(), 0777) != 0 &&
            !(errno == EEXIST && IsFolder(prefix)))
            return false;
        if (at == std::string::npos) break;
    }
    return IsFolder(path);
}

void RmDir(const String& Dir) {
    const std::string path = detail::NativePath(ResolveFileNameCase(Dir));
    if (::rmdir(path.c_str()) == 0) return;
    const int err = errno;
    // EACCES gives the classic code of a folder that is not empty.
    const int code = detail::InOutCode(err == ENOTEMPTY ? EACCES : err, path);
    throw EInOutError(
        code, u"Cannot remove folder " + detail::Quoted(Dir) + u". " + SysErrorMessage(err));
}

}  // namespace qorkit
