// One file copied block by block through a temporary sibling; folder trees deleted.
#include "qorkit/filesys/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <limits>
#include <vector>

#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"
#include "qorkit/rtl/untyped_file.h"

namespace qorkit {

namespace {

std::atomic<bool> gAbortCopy{false};

constexpr std::int64_t kCallbackBlock = 8192;
constexpr std::int64_t kQuietBlock = 1 << 20;

// Thrown inside the save to stop it with a result code.
struct CopyStopped {
    std::int32_t Code;
};

bool StatOf(const String& name, struct stat& st) {
    return ::stat(ToUtf8(ResolveFileNameCase(name)).c_str(), &st) == 0;
}

std::int32_t Saturate(std::int64_t v) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(v, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t Copy(const String& Source, const String& DestIn, bool CopyAttributes,
                  const std::function<void(std::int64_t, std::int64_t)>& feedback) {
    gAbortCopy = false;
    String Dest = DestIn;
    struct stat dst {};
    if (StatOf(Dest, dst) && S_ISDIR(dst.st_mode)) {
        if (Dest.empty() || (Dest.back() != u'\\' && Dest.back() != u'/')) Dest += PathDelim;
        Dest += ExtractFileName(Source);
    }
    if (Source == Dest) return 0;
    struct stat src {};
    if (StatOf(Source, src) && StatOf(Dest, dst) && src.st_dev == dst.st_dev &&
        src.st_ino == dst.st_ino)
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
    TUntypedFile in;
    in.Assign(Source);
    try {
        in.Reset();
    } catch (const EInOutError&) {
        return fcSourceNotOpened;
    }
    const std::int64_t blockSize = feedback ? kCallbackBlock : kQuietBlock;
    std::vector<char> block(static_cast<std::size_t>(blockSize));
    std::int64_t copied = 0;
    std::int32_t result = 0;
    try {
        SaveFileAtomically(Dest, [&](const String& TempName) {
            TUntypedFile out;
            out.Assign(TempName);
            try {
                out.Rewrite();
            } catch (const EInOutError&) {
                throw CopyStopped{fcDestNotCreated};
            }
            std::int64_t got = 0;
            do {
                try {
                    in.BlockRead(block.data(), blockSize, got);
                } catch (const EInOutError&) {
                    throw CopyStopped{fcReadFailed};
                }
                if (feedback) feedback(copied, size);
                try {
                    out.BlockWrite(block.data(), got);
                } catch (const EInOutError&) {
                    throw CopyStopped{fcWriteFailed};
                }
                copied += got;
                if (gAbortCopy) throw CopyStopped{fcAborted};
            } while (got == blockSize);
            try {
                out.Close();
            } catch (const EInOutError&) {
                throw CopyStopped{fcWriteFailed};
            }
        });
    } catch (const CopyStopped& s) {
        result = s.Code;
    } catch (const EInOutError&) {
        result = fcDestNotCreated;  // the finished copy could not be renamed into place
    }
    if (result == 0) {
        const std::string path = ToUtf8(ResolveFileNameCase(Dest));
        const struct timespec times[2] = {src.st_atim, src.st_mtim};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        if (CopyAttributes) ::chmod(path.c_str(), (src.st_mode & 07777) | S_IWUSR);
    }
    if (feedback) feedback(copied, size);
    return result;
}

}  // namespace

std::int32_t FileCopyFeedBk(const String& Source, const String& Dest, bool CopyAttributes,
                            TFileCopyFeedBack FeedBack) {
    std::function<void(std::int64_t, std::int64_t)> f;
    if (FeedBack != nullptr)
        f = [FeedBack](std::int64_t done, std::int64_t size) {
            FeedBack(Saturate(done), Saturate(size));
        };
    return Copy(Source, Dest, CopyAttributes, f);
}

std::int32_t FileCopyFeedBk64(const String& Source, const String& Dest, bool CopyAttributes,
                              TFileCopyFeedBack64 FeedBack) {
    std::function<void(std::int64_t, std::int64_t)> f;
    if (FeedBack != nullptr) f = FeedBack;
    return Copy(Source, Dest, CopyAttributes, f);
}

void AbortAnyFileCopying() noexcept {
    gAbortCopy = true;
}

String DelDirTree(const String& Dir) {
    if (Dir.empty()) return String();
    String folder = ResolveFileNameCase(Dir);
    if (folder.back() != PathDelim) folder += PathDelim;
    TSearchRec r;
    String failed;
    for (std::int32_t c = FindFirst(folder + u"*", faAnyFile, r); c == 0 && failed.empty();
         c = FindNext(r)) {
        if (r.Name == u"." || r.Name == u"..") continue;
        const String path = folder + r.Name;
        if ((r.Attr & faDirectory) != 0 && (r.Attr & faSymLink) == 0) {
            failed = DelDirTree(path);
        } else if (::unlink(ToUtf8(path).c_str()) != 0) {
            failed = path;
        }
    }
    FindClose(r);
    if (!failed.empty()) return failed;
    folder.pop_back();
    return ::rmdir(ToUtf8(folder).c_str()) == 0 ? String() : folder;
}

std::int32_t DeleteFiles(const String& FileMask) {
    const String mask = ExpandFileName(FileMask);
    const String folder = ExtractFilePath(mask);
    std::int32_t deleted = 0;
    TSearchRec r;
    for (std::int32_t c = FindFirst(mask, faAnyFile, r); c == 0; c = FindNext(r)) {
        if (r.Name.starts_with(u".") || (r.Attr & (faVolumeID | faDirectory)) != 0) continue;
        if (::unlink(ToUtf8(ResolveFileNameCase(folder + r.Name)).c_str()) == 0 &&
            deleted < std::numeric_limits<std::int32_t>::max())
            ++deleted;
    }
    FindClose(r);
    return deleted;
}

}  // namespace qorkit
