#include "buffered_fd.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qorkit::detail {

static_assert(sizeof(off_t) == 8, "file offsets must be 64 bits wide");

namespace {

// The most one system call is asked to move; Linux transfers at most about 2 GiB anyway.
constexpr std::int64_t kMaxSysChunk = std::int64_t{1} << 30;

}  // namespace

BufferedFd::BufferedFd(int fd) : FBuf(new std::uint8_t[kBufferSize]), FFd(fd) {
    const off_t pos = ::lseek(fd, 0, SEEK_CUR);
    if (pos < 0) {
        FSeekable = false;
    } else {
        FStart = pos;
    }
}

void BufferedFd::GoIdle(std::int64_t pos) noexcept {
    FMode = Idle;
    FStart = pos;
    FIdx = FLen = 0;
}

std::int64_t BufferedFd::SysRead(std::int64_t offset, std::uint8_t* dst, std::size_t n) {
    ssize_t r;
    do {
        r = FSeekable ? ::pread(FFd, dst, n, offset) : ::read(FFd, dst, n);
    } while (r < 0 && errno == EINTR);
    if (r < 0) FError = errno;
    return r;
}

std::int64_t BufferedFd::SysReadFull(std::int64_t offset, std::uint8_t* dst, std::int64_t n) {
    std::int64_t done = 0;
    while (done < n) {
        const auto chunk = static_cast<std::size_t>(std::min(n - done, kMaxSysChunk));
        const std::int64_t r = SysRead(offset + done, dst + done, chunk);
        if (r < 0) return -1;
        if (r == 0) break;
        done += r;
    }
    return done;
}

bool BufferedFd::SysWriteAll(std::int64_t offset, const std::uint8_t* src, std::int64_t n) {
    std::int64_t done = 0;
    while (done < n) {
        const auto chunk = static_cast<std::size_t>(std::min(n - done, kMaxSysChunk));
        ssize_t r;
        do {
            r = FSeekable ? ::pwrite(FFd, src + done, chunk, offset + done)
                          : ::write(FFd, src + done, chunk);
        } while (r < 0 && errno == EINTR);
        if (r < 0) {
            FError = errno;
            return false;
        }
        if (r == 0) {  // no progress and no error: treat as a full device
            FError = ENOSPC;
            return false;
        }
        done += r;
    }
    return true;
}

std::int64_t BufferedFd::Read(void* dst, std::int64_t n) {
    if (n <= 0) return 0;
    if (FMode == Writing && !Flush()) return -1;
    auto* out = static_cast<std::uint8_t*>(dst);
    std::int64_t done = 0;
    for (;;) {
        const auto take = static_cast<std::size_t>(std::min<std::int64_t>(n - done, FLen - FIdx));
        if (take > 0) {
            std::memcpy(out + done, FBuf.get() + FIdx, take);
            FIdx += take;
            done += static_cast<std::int64_t>(take);
        }
        if (done == n) return done;
        // The buffer is used up; the position is FStart + FLen.
        const std::int64_t pos = Position();
        const std::int64_t rest = n - done;
        if (rest >= static_cast<std::int64_t>(kBufferSize)) {
            const std::int64_t r = SysReadFull(pos, out + done, rest);
            if (r < 0) return -1;
            GoIdle(pos + r);
            return done + r;
        }
        const std::int64_t r = SysRead(pos, FBuf.get(), kBufferSize);
        if (r < 0) return -1;
        FMode = Reading;
        FStart = pos;
        FIdx = 0;
        FLen = static_cast<std::size_t>(r);
        if (r == 0) return done;
    }
}

int BufferedFd::SlowGet() {
    const std::int64_t avail = Fill(1);
    if (avail < 0) return -2;
    if (avail == 0) return -1;
    return FBuf[FIdx++];
}

std::int64_t BufferedFd::Fill(std::size_t want) {
    want = std::min(want, kBufferSize);
    if (FMode == Writing && !Flush()) return -1;
    FMode = Reading;
    std::size_t avail = FLen - FIdx;
    while (avail < want) {
        if (FIdx > 0) {  // move the unread rest to the front to make room
            std::memmove(FBuf.get(), FBuf.get() + FIdx, avail);
            FStart += static_cast<std::int64_t>(FIdx);
            FIdx = 0;
            FLen = avail;
        }
        const std::int64_t r = SysRead(FStart + static_cast<std::int64_t>(FLen), FBuf.get() + FLen,
                                       kBufferSize - FLen);
        if (r < 0) return -1;
        if (r == 0) break;
        FLen += static_cast<std::size_t>(r);
        avail += static_cast<std::size_t>(r);
    }
    return static_cast<std::int64_t>(avail);
}

bool BufferedFd::Write(const void* src, std::int64_t n) {
    if (n <= 0) return true;
    const auto* in = static_cast<const std::uint8_t*>(src);
    if (FMode != Writing) {
        GoIdle(Position());  // drops any read-ahead, which the write would make stale
        FMode = Writing;
    }
    if (static_cast<std::int64_t>(kBufferSize - FLen) >= n) {
        std::memcpy(FBuf.get() + FLen, in, static_cast<std::size_t>(n));
        FLen += static_cast<std::size_t>(n);
        FIdx = FLen;
        return true;
    }
    if (!Flush()) return false;
    if (n >= static_cast<std::int64_t>(kBufferSize)) {
        const std::int64_t pos = Position();
        if (!SysWriteAll(pos, in, n)) return false;
        GoIdle(pos + n);
        return true;
    }
    FMode = Writing;
    std::memcpy(FBuf.get(), in, static_cast<std::size_t>(n));
    FLen = FIdx = static_cast<std::size_t>(n);
    return true;
}

bool BufferedFd::Flush() {
    if (FMode != Writing) return true;
    const bool ok = SysWriteAll(FStart, FBuf.get(), static_cast<std::int64_t>(FLen));
    GoIdle(Position());
    return ok;
}

bool BufferedFd::Sync() {
    const bool ok = Flush();
    if (FSeekable && ::lseek(FFd, Position(), SEEK_SET) < 0) {
        FError = errno;
        return false;
    }
    return ok;
}

bool BufferedFd::Seek(std::int64_t pos) {
    if (pos == Position()) return true;
    if (!FSeekable) {
        FError = ESPIPE;
        return false;
    }
    if (FMode == Reading && pos >= FStart && pos <= FStart + static_cast<std::int64_t>(FLen)) {
        FIdx = static_cast<std::size_t>(pos - FStart);
        return true;
    }
    const bool ok = Flush();
    GoIdle(pos);
    return ok;
}

std::int64_t BufferedFd::Size() {
    struct stat st {};
    if (::fstat(FFd, &st) != 0) {
        FError = errno;
        return -1;
    }
    std::int64_t size = st.st_size;
    if (FMode == Writing) size = std::max(size, Position());
    return size;
}

bool BufferedFd::SetSize(std::int64_t n) {
    if (!Flush()) return false;
    const std::int64_t pos = Position();
    GoIdle(std::min(pos, n));
    int r;
    do {
        r = ::ftruncate(FFd, n);
    } while (r < 0 && errno == EINTR);
    if (r < 0) {
        FError = errno;
        GoIdle(pos);
        return false;
    }
    return true;
}

}  // namespace qorkit::detail
