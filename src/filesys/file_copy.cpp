// One file copied block by block through a temporary sibling; folder trees deleted.
#include "qorkit/filesys/file_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "../rtl/posix_file.h"
#include "file_copy_core.h"
#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"
#include "qorkit/rtl/untyped_file.h"

namespace qorkit {

namespace {

std::atomic<bool> gAbortCopy{false};

// The block of the progress reports. The bytes themselves move in larger chunks (inside the
// kernel where it can), which cost fewer calls; a watched copy reports each 8192-byte block of
// a chunk as if it had moved alone, with the same values and abort points.
constexpr std::int64_t kCallbackBlock = 8192;
constexpr std::int64_t kWatchedChunk = 1 << 20;
constexpr std::int64_t kQuietChunk = 64 << 20;
constexpr std::size_t kBufferSize = 1 << 20;

// Thrown inside the save to stop it with a result code.
struct CopyStopped {
    std::int32_t Code;
};

// Moves bytes from `in` to `out` at their current offsets, a block at a time.
class BlockMover {
  public:
    BlockMover(int in, int out) : FIn(in), FOut(out) {}

    // Moves up to `want` bytes (fewer only at the end of the source) and returns how many; a
    // failure throws CopyStopped with the read or write code.
    std::int64_t Move(std::int64_t want) {
        std::int64_t moved = 0;
        while (moved < want) {
            const std::int64_t got = FUseRange ? RangeStep(want - moved) : BufferStep(want - moved);
            if (got == 0) break;
            if (got > 0) moved += got;
        }
        return moved;
    }

  private:
    // copy_file_range; returns -1 after switching to the buffer (nothing was moved then).
    std::int64_t RangeStep(std::int64_t want) {
        const ssize_t r =
            ::copy_file_range(FIn, nullptr, FOut, nullptr, static_cast<std::size_t>(want), 0);
        if (r >= 0) return r;
        if (errno == EINTR) return -1;
        if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG) throw CopyStopped{fcWriteFailed};
        FUseRange = false;  // not supported here (other file systems, special files): read/write
        return -1;
    }

    std::int64_t BufferStep(std::int64_t want) {
        if (FBuffer.empty()) FBuffer.resize(kBufferSize);
        const std::size_t n = static_cast<std::size_t>(
            std::min<std::int64_t>(want, static_cast<std::int64_t>(FBuffer.size())));
        ssize_t got;
        do {
            got = ::read(FIn, FBuffer.data(), n);
        } while (got < 0 && errno == EINTR);
        if (got < 0) throw CopyStopped{fcReadFailed};
        for (ssize_t done = 0; done < got;) {
            const ssize_t w =
                ::write(FOut, FBuffer.data() + done, static_cast<std::size_t>(got - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) throw CopyStopped{fcWriteFailed};
            done += w;
        }
        return got;
    }

    int FIn, FOut;
    bool FUseRange = true;
    std::vector<char> FBuffer;
};

// Closes a descriptor when it goes out of scope.
struct FdCloser {
    int Fd;
    ~FdCloser() {
        if (Fd >= 0) detail::ClosePath(Fd);
    }
};

}  // namespace

namespace detail {

std::int32_t Saturate32(std::int64_t v) noexcept {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(v, std::numeric_limits<std::int32_t>::max()));
}

bool CopyAbortRequested() noexcept {
    return gAbortCopy;
}

void ClearCopyAbort() noexcept {
    gAbortCopy = false;
}

std::int32_t CopyOneFile(const String& Source, const String& DestIn, bool CopyAttributes,
                         const CopyProgress& feedback, bool TreeCopy) {
    if (!TreeCopy) gAbortCopy = false;
    // The tree copy passes names exactly as stored; others may need their letter case found.
    const auto stored = [TreeCopy](const String& name) {
        return TreeCopy ? name : ResolveFileNameCase(name);
    };
    const auto statOf = [](const String& name, struct stat& st) {
        return ::stat(NativePath(name).c_str(), &st) == 0;
    };
    String Dest = DestIn;
    struct stat dst {};
    const bool destExists = statOf(stored(Dest), dst);
    if (destExists && S_ISDIR(dst.st_mode)) {
        if (Dest.empty() || (Dest.back() != u'\\' && Dest.back() != u'/')) Dest += PathDelim;
        Dest += ExtractFileName(Source);
    }
    if (Source == Dest) return 0;
    const String source = stored(Source);
    struct stat src {};
    if (statOf(source, src) && destExists && statOf(stored(Dest), dst) &&
        src.st_dev == dst.st_dev && src.st_ino == dst.st_ino)
        return 0;  // truncating the destination would destroy the source

    std::int64_t size = 0;
    {
        TUntypedFile probe;
        probe.Assign(Source);
        probe.Reset();
        size = probe.FileSize();
        probe.Close();
    }
    if (feedback) feedback(0, size);
    const FdCloser in{OpenPath(NativePath(source), O_RDONLY)};
    if (in.Fd < 0) return fcSourceNotOpened;
    const std::int64_t chunk = feedback ? kWatchedChunk : kQuietChunk;
    std::int64_t copied = 0;
    std::int32_t result = 0;
    try {
        SaveFileAtomically(Dest, [&](const String& TempName) {
            FdCloser out{OpenPath(NativePath(TempName), O_WRONLY | O_CREAT | O_TRUNC)};
            if (out.Fd < 0) throw CopyStopped{fcDestNotCreated};
            BlockMover mover(in.Fd, out.Fd);
            // One block as the callback sees it: reported, moved, then the abort switch read.
            const auto block = [&](std::int64_t bytes) {
                if (feedback) feedback(copied, size);
                copied += bytes;
                if (gAbortCopy) throw CopyStopped{fcAborted};
            };
            std::int64_t got = 0;
            do {
                got = mover.Move(chunk);
                if (!feedback) {
                    block(got);
                    continue;
                }
                for (std::int64_t left = got; left > 0; left -= kCallbackBlock)
                    block(std::min(left, kCallbackBlock));
                // After a last full block the reader still looks for more and finds nothing.
                if (got < chunk && got % kCallbackBlock == 0) block(0);
            } while (got == chunk);
            const int fd = out.Fd;
            out.Fd = -1;
            if (ClosePath(fd) != 0) throw CopyStopped{fcWriteFailed};
        });
    } catch (const CopyStopped& s) {
        result = s.Code;
    } catch (const EInOutError&) {
        result = fcDestNotCreated;  // the finished copy could not be renamed into place
    }
    if (result == 0) {
        const std::string path = NativePath(stored(Dest));
        const struct timespec times[2] = {src.st_atim, src.st_mtim};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        if (CopyAttributes) ::chmod(path.c_str(), (src.st_mode & 07777) | S_IWUSR);
    }
    if (feedback) feedback(copied, size);
    return result;
}

}  // namespace detail

std::int32_t FileCopyFeedBk(const String& Source, const String& Dest, bool CopyAttributes,
                            TFileCopyFeedBack FeedBack) {
    std::function<void(std::int64_t, std::int64_t)> f;
    if (FeedBack != nullptr)
        f = [FeedBack](std::int64_t done, std::int64_t size) {
            FeedBack(detail::Saturate32(done), detail::Saturate32(size));
        };
    return detail::CopyOneFile(Source, Dest, CopyAttributes, f, false);
}

std::int32_t FileCopyFeedBk64(const String& Source, const String& Dest, bool CopyAttributes,
                              TFileCopyFeedBack64 FeedBack) {
    std::function<void(std::int64_t, std::int64_t)> f;
    if (FeedBack != nullptr) f = FeedBack;
    return detail::CopyOneFile(Source, Dest, CopyAttributes, f, false);
}

void AbortAnyFileCopying() noexcept {
    gAbortCopy = true;
}

namespace {

// Deletes the folder `dir` (a native path) with everything in it; "" or the first path that
// could not be deleted. Entries are addressed by their raw names, so a name holding "\" (a
// separator for the library's paths) is deleted as itself and never read as "..\..".
std::string DeleteTree(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.emplace_back(e->d_name);
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) {
        const std::string path = dir + "/" + n;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            if (std::string failed = DeleteTree(path); !failed.empty()) return failed;
        } else if (::unlink(path.c_str()) != 0) {
            return path;
        }
    }
    return ::rmdir(dir.c_str()) == 0 ? std::string() : dir;
}

}  // namespace

String DelDirTree(const String& Dir) {
    if (Dir.empty()) return String();
    std::string folder = ToUtf8(ResolveFileNameCase(Dir));
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    // A link named as the folder is deleted as a link: its target is not this tree.
    struct stat st {};
    if (::lstat(folder.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return ::unlink(folder.c_str()) == 0 ? String() : FromUtf8(folder);
    return FromUtf8(DeleteTree(folder));
}

std::int32_t DeleteFiles(const String& FileMask) {
    const String mask = ExpandFileName(FileMask);
    const String folder = ExtractFilePath(mask);
    std::int32_t deleted = 0;
    TSearchRec r;
    for (std::int32_t c = FindFirst(mask, faAnyFile, r); c == 0; c = FindNext(r)) {
        // A name holding "\" would be read as a path: it cannot be this folder's file.
        if (r.Name.starts_with(u".") || (r.Attr & (faVolumeID | faDirectory)) != 0 ||
            r.Name.find(u'\\') != String::npos)
            continue;
        if (::unlink(ToUtf8(ResolveFileNameCase(folder + r.Name)).c_str()) == 0 &&
            deleted < std::numeric_limits<std::int32_t>::max())
            ++deleted;
    }
    FindClose(r);
    return deleted;
}

}  // namespace qorkit
