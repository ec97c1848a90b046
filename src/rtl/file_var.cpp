#include "file_var.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <new>

#include "posix_file.h"
#include "qorkit/rtl/exceptions.h"

namespace qorkit::detail {

FileVar::FileVar(String name) : FName(std::move(name)), FPath(NativePath(FName)) {}

FileVar::~FileVar() {
    CloseQuietly();
}

String FileVar::QuotedName() const {
    return Quoted(FName);
}

void FileVar::Fail(int code, const String& message) const {
    throw EInOutError(code, message);
}

void FileVar::FailSys(const char16_t* action, int err) const {
    Fail(InOutCode(err, FPath),
         String(u"Cannot ") + action + u" file " + QuotedName() + u". " + SysErrorMessage(err));
}

void FileVar::FailRead() const {
    FailSys(u"read from", FIo ? FIo->Error() : EBADF);
}

void FileVar::FailWrite() const {
    const int err = FIo ? FIo->Error() : EBADF;
    Fail(101, u"Cannot write to file " + QuotedName() + u". " + SysErrorMessage(err));
}

void FileVar::FailPastEnd() const {
    Fail(100, u"Read past end of file " + QuotedName());
}

void FailNotAssigned() {
    throw EInOutError(102, u"File not assigned");
}

void FileVar::Open(int flags, FileAccess access, bool create, bool atEnd) {
    CloseQuietly();
    const int fd = OpenPath(FPath, flags);
    if (fd < 0) FailSys(create ? u"create" : u"open", errno);
    if (atEnd && ::lseek(fd, 0, SEEK_END) < 0) {
        const int err = errno;
        ClosePath(fd);
        FailSys(u"open", err);
    }
    try {
        FIo = std::make_unique<BufferedFd>(fd);
    } catch (const std::bad_alloc&) {
        ClosePath(fd);
        FailSys(create ? u"create" : u"open", ENOMEM);
    }
    FFd = fd;
    FAccess = access;
}

void FileVar::Close() {
    if (!FIo) Fail(103, u"File " + QuotedName() + u" is not open");
    const bool flushed = FIo->Flush();
    const int flushErr = FIo->Error();
    FIo.reset();
    FAccess = FileAccess::Closed;
    const int closeErr = ClosePath(FFd);
    FFd = -1;
    if (!flushed)
        Fail(101, u"Cannot write to file " + QuotedName() + u". " + SysErrorMessage(flushErr));
    if (closeErr != 0) FailSys(u"close", closeErr);
}

void FileVar::CloseQuietly() noexcept {
    if (!FIo) return;
    FIo->Flush();
    FIo.reset();
    FAccess = FileAccess::Closed;
    ClosePath(FFd);
    FFd = -1;
}

BufferedFd& FileVar::RequireOpen() {
    if (!FIo) Fail(103, u"File " + QuotedName() + u" is not open");
    return *FIo;
}

BufferedFd& FileVar::RequireInput() {
    BufferedFd& io = RequireOpen();
    if (FAccess == FileAccess::Output)
        Fail(104, u"File " + QuotedName() + u" is not open for input");
    return io;
}

BufferedFd& FileVar::RequireOutput() {
    BufferedFd& io = RequireOpen();
    if (FAccess == FileAccess::Input)
        Fail(105, u"File " + QuotedName() + u" is not open for output");
    return io;
}

void FileVar::Erase() {
    if (FIo) Fail(1000 + EBUSY, u"Cannot erase file " + QuotedName() + u" while it is open");
    if (::unlink(FPath.c_str()) != 0) FailSys(u"erase", errno);
}

void FileVar::Rename(const String& NewName) {
    const auto fail = [&](int err) {
        struct stat st {};
        // With the source present, a missing entry can only be the target's directory.
        const int code =
            err == ENOENT && ::lstat(FPath.c_str(), &st) == 0 ? 3 : InOutCode(err, FPath);
        Fail(code, u"Cannot rename file " + QuotedName() + u" to " + Quoted(NewName) + u". " +
                       SysErrorMessage(err));
    };
    if (FIo) {
        Fail(1000 + EBUSY, u"Cannot rename file " + QuotedName() + u" to " + Quoted(NewName) +
                               u" while it is open");
    }
    const std::string target = NativePath(NewName);
    // Replacing an existing file silently would lose it; refuse as other systems do.
#ifdef RENAME_NOREPLACE
    int r = ::renameat2(AT_FDCWD, FPath.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
#else
    int r = -1;
    errno = ENOSYS;
#endif
    if (r != 0 && (errno == EINVAL || errno == ENOSYS)) {  // no atomic variant here
        struct stat st {};
        if (::lstat(target.c_str(), &st) == 0) fail(EEXIST);
        r = ::rename(FPath.c_str(), target.c_str());
    }
    if (r != 0) fail(errno);
    FName = NewName;
    FPath = target;
}

}  // namespace qorkit::detail
