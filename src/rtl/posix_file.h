// POSIX helpers shared by the file stream, the text file and the untyped file: path conversion,
// opening with the library's conventions, and the mapping of errno to classic I/O result codes.
#pragma once

#include <string>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// The operating-system path for a library file name: UTF-8, with every "\" turned into "/".
std::string NativePath(const String& FileName);

/// `FileName` in double quotes, as file names appear in error messages.
String Quoted(const String& FileName);

/// Opens `path` with `flags` (O_CLOEXEC is added; new files get mode 0666 before the umask),
/// retrying on EINTR. A directory is refused with EISDIR even when opened read-only, so that
/// the failure shows at open time rather than at the first read. Returns the descriptor, or -1
/// with errno set.
int OpenPath(const std::string& path, int flags);

/// Closes `fd`. Returns 0, or the errno of the failure (EINTR counts as closed, as on Linux
/// the descriptor is released in that case).
int ClosePath(int fd) noexcept;

/// The classic I/O result code for `err` raised by an operation on `path`: 2 file not found,
/// 3 path not found (ENOENT with a missing parent directory, or ENOTDIR), 4 too many open files,
/// 5 access denied (EACCES, EPERM, EISDIR, EROFS, EEXIST, ETXTBSY), otherwise 1000 + err.
int InOutCode(int err, const std::string& path);

}  // namespace qorkit::detail
