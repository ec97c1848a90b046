#include "qorkit/rtl/file_stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "buffered_fd.h"
#include "posix_file.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

// ---------------------------------------------------------------------------------------------
// THandleStream

THandleStream::THandleStream(int AHandle) : THandleStream(AHandle, false, String()) {}

THandleStream::THandleStream(int AHandle, bool OwnsHandle, const String& FileName)
    : FHandle(AHandle), FOwnsHandle(OwnsHandle) {
    // Nothing may escape here without closing an owned descriptor: the destructor won't run.
    try {
        FSubject =
            FileName.empty() ? u"handle " + IntToStr(AHandle) : u"file " + detail::Quoted(FileName);
        FBuffer = std::make_unique<detail::BufferedFd>(AHandle);
    } catch (const std::bad_alloc&) {
        if (FOwnsHandle) detail::ClosePath(AHandle);
        throw EStreamError(u"Out of memory while creating the buffer of a file stream");
    }
}

THandleStream::~THandleStream() {
    FBuffer->Sync();  // errors cannot be reported from here
    if (FOwnsHandle) detail::ClosePath(FHandle);
}

void THandleStream::RaiseReadError() const {
    throw EReadError(u"Cannot read from " + FSubject + u". " + SysErrorMessage(FBuffer->Error()));
}

void THandleStream::RaiseWriteError() const {
    throw EWriteError(u"Cannot write to " + FSubject + u". " + SysErrorMessage(FBuffer->Error()));
}

bool THandleStream::Seekable() const noexcept {
    return FBuffer->Seekable();
}

std::int64_t THandleStream::Read(void* Buffer, std::int64_t Count) {
    if (Count <= 0) return 0;
    // Small reads from the read-ahead stay out of the general loop.
    if (static_cast<std::uint64_t>(Count) <= FBuffer->Available()) {
        if (Count == 1) {
            *static_cast<std::uint8_t*>(Buffer) = *FBuffer->Data();
        } else {
            std::memcpy(Buffer, FBuffer->Data(), static_cast<std::size_t>(Count));
        }
        FBuffer->Advance(static_cast<std::size_t>(Count));
        return Count;
    }
    if (FBuffer->Pending() && !FBuffer->Flush()) RaiseWriteError();
    const std::int64_t r = FBuffer->Read(Buffer, Count);
    if (r < 0) RaiseReadError();
    return r;
}

std::int64_t THandleStream::Write(const void* Buffer, std::int64_t Count) {
    if (Count <= 0) return 0;
    if (!FBuffer->Write(Buffer, Count)) RaiseWriteError();
    return Count;
}

std::int64_t THandleStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    if (Offset == 0 && Origin == soCurrent) return FBuffer->Position();
    std::int64_t base = 0;
    if (Origin == soCurrent) {
        base = FBuffer->Position();
    } else if (Origin == soEnd) {
        base = Size();
    }
    // base >= 0, so only a positive offset can overflow.
    if (Offset > 0 && base > INT64_MAX - Offset)
        throw EStreamError(u"Invalid seek in " + FSubject + u": the position is out of range");
    const std::int64_t target = base + Offset;
    if (target < 0)
        throw EStreamError(u"Invalid seek in " + FSubject + u": the position would be negative");
    if (!FBuffer->Seek(target)) {
        if (FBuffer->Error() == ESPIPE)
            throw EStreamError(u"Cannot seek in " + FSubject + u". " + SysErrorMessage(ESPIPE));
        RaiseWriteError();
    }
    return target;
}

void THandleStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0) throw EStreamError(u"Invalid size " + IntToStr(NewSize) + u" for " + FSubject);
    if (!FBuffer->SetSize(NewSize))
        throw EWriteError(u"Cannot set the size of " + FSubject + u". " +
                          SysErrorMessage(FBuffer->Error()));
}

std::int64_t THandleStream::Size() {
    const std::int64_t size = FBuffer->Size();
    if (size < 0)
        throw EStreamError(u"Cannot get the size of " + FSubject + u". " +
                           SysErrorMessage(FBuffer->Error()));
    return size;
}

void THandleStream::Flush() {
    if (!FBuffer->Sync()) RaiseWriteError();
}

// ---------------------------------------------------------------------------------------------
// TFileStream

namespace {

[[noreturn]] void RaiseOpenError(bool create, const String& FileName, const String& reason) {
    String msg = (create ? u"Cannot create file " : u"Cannot open file ") +
                 detail::Quoted(FileName) + u". " + reason;
    if (create) throw EFCreateError(std::move(msg));
    throw EFOpenError(std::move(msg));
}

// Opens `FileName` for a TFileStream and takes the lock its share flag asks for; returns the
// descriptor.
int OpenForStream(const String& FileName, std::uint16_t Mode) {
    const bool create = (Mode & 0xFF00) == fmCreate;
    const unsigned access = Mode & 0x000F;
    const unsigned share = Mode & 0x00F0;
    if (((Mode & 0xFF00) != 0 && !create) || access > fmOpenReadWrite || share > fmShareDenyNone) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(Mode));
        RaiseOpenError(create, FileName, u"Invalid file mode $" + FromUtf8(hex));
    }

    const std::string path = detail::NativePath(FileName);
    int flags = O_RDONLY;
    if (create || access == fmOpenReadWrite) {
        flags = O_RDWR;
    } else if (access == fmOpenWrite) {
        flags = O_WRONLY;
    }
    // Created files are truncated only once the lock is held, so that a refused open cannot
    // destroy the contents another stream guards.
    const int fd = detail::OpenPath(path, create ? flags | O_CREAT : flags);
    if (fd < 0) RaiseOpenError(create, FileName, SysErrorMessage(errno));

    const bool writes = flags != O_RDONLY;
    const bool exclusive = share == fmShareExclusive || share == fmShareDenyRead ||
                           (share == fmShareDenyWrite && writes);
    int r;
    do {
        r = ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
    } while (r < 0 && errno == EINTR);
    if (r < 0 && errno == EWOULDBLOCK) {
        detail::ClosePath(fd);
        RaiseOpenError(create, FileName,
                       u"The file is locked by another stream and its share mode forbids this "
                       u"access");
    }
    // Other flock failures (no lock support on this file system) leave the file unlocked.

    if (create) {
        do {
            r = ::ftruncate(fd, 0);
        } while (r < 0 && errno == EINTR);
        if (r < 0) {
            const int err = errno;
            detail::ClosePath(fd);
            RaiseOpenError(true, FileName, SysErrorMessage(err));
        }
    }
    return fd;
}

}  // namespace

TFileStream::TFileStream(const String& FileName, std::uint16_t Mode) try
    : THandleStream(OpenForStream(FileName, Mode), true, FileName), FFileName(FileName) {
} catch (const std::bad_alloc&) {
    throw EStreamError(u"Out of memory while opening file " + detail::Quoted(FileName));
}

}  // namespace qorkit
