// Folder trees copied file by file through the one-file copy.
#include "qorkit/filesys/file_tree_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <system_error>

#include "file_copy_core.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"
#include "qorkit/rtl/folders.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

using TreeProgress = std::function<void(std::int64_t Done, std::int64_t Size, const String& Name,
                                        std::int32_t Files)>;

bool IsSeparator(Char c) {
    return c == u'\\' || c == u'/';
}

String WithSeparator(String s) {
    if (s.empty() || !IsSeparator(s.back())) s += u'\\';
    return s;
}

// The kind of the entry `path` names, links not followed.
enum EntryKind : std::uint8_t { ekMissing, ekFolder, ekLink, ekOther };

EntryKind KindOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return ekMissing;
    if (S_ISDIR(st.st_mode)) return ekFolder;
    return S_ISLNK(st.st_mode) ? ekLink : ekOther;
}

class TreeCopier {
  public:
    TreeCopier(bool attrs, TreeProgress progress) : FAttrs(attrs), FProgress(std::move(progress)) {}

    std::int32_t Result() const { return FResult; }

    // Copies the entries of the existing folder `src` into the existing folder `dst` (both
    // native, without a trailing separator).
    void Folder(const String& src, const String& dst) {
        TSearchRec r;
        std::int32_t c = FindFirst(src + PathDelim + u"*.*", faAnyFile, r);
        if (c != 0 && c != feFileNotFound) Note(fcSourceNotOpened);
        for (; c == 0 && !detail::CopyAbortRequested(); c = FindNext(r)) {
            if (r.Name == u"." || r.Name == u"..") continue;
            if (r.Name.find(u'\\') != String::npos) {
                // "\" separates folders in the library's paths: such a name cannot be
                // addressed, and read as a path ("..\..") it would lead out of the tree.
                Note(fcSourceNotOpened);
                continue;
            }
            const String from = src + PathDelim + r.Name;
            const String to = dst + PathDelim + r.Name;
            if ((r.Attr & faSymLink) != 0)
                Link(from, to);
            else if ((r.Attr & faDirectory) != 0)
                SubFolder(from, to);
            else if ((r.Attr & faSysFile) != 0)
                Note(fcSourceNotOpened);  // a pipe or device: reading it could wait forever
            else
                File(from, to);
        }
        FindClose(r);
        if (detail::CopyAbortRequested()) FResult = fcAborted;
    }

  private:
    void Note(std::int32_t code) {
        if (FResult == 0) FResult = code;
    }

    void Begin(const String& to) {
        FCurrent = to;
        if (FFiles < std::numeric_limits<std::int32_t>::max()) ++FFiles;
    }

    void Report(std::int64_t done, std::int64_t size) {
        FLastDone = done;
        FLastSize = size;
        FProgress(done, size, FCurrent, FFiles);
    }

    void SubFolder(const String& from, const String& to) {
        const std::string native = ToUtf8(to);
        if (::mkdir(native.c_str(), 0777) != 0 && KindOf(native) != ekFolder) {
            Note(fcDestNotCreated);  // a file or a link stands there: never write through it
            return;
        }
        Folder(from, to);
    }

    void File(const String& from, const String& to) {
        const std::string native = ToUtf8(to);
        const EntryKind kind = KindOf(native);
        if (kind == ekFolder) {
            Note(fcDestNotCreated);
            return;
        }
        if (kind == ekLink) ::unlink(native.c_str());
        Begin(to);
        detail::CopyProgress progress;
        if (FProgress)
            progress = [this](std::int64_t done, std::int64_t size) { Report(done, size); };
        try {
            Note(detail::CopyOneFile(from, to, FAttrs, progress, true));
        } catch (const EInOutError&) {
            Note(fcSourceNotOpened);  // vanished or became unreadable since the listing
        }
        if (FProgress) FProgress(FLastDone, FLastSize, FCurrent, FFiles);
    }

    // A link is made anew beside its place and renamed over it, so an old entry there is
    // replaced in one step.
    void Link(const String& from, const String& to) {
        const std::string source = ToUtf8(from);
        const std::string native = ToUtf8(to);
        std::error_code ec;
        const std::filesystem::path target = std::filesystem::read_symlink(source, ec);
        if (ec) {
            Note(fcSourceNotOpened);
            return;
        }
        if (KindOf(native) == ekFolder) {
            Note(fcDestNotCreated);
            return;
        }
        Begin(to);
        const std::string temp = native + ".qorkit-link" + std::to_string(::getpid());
        ::unlink(temp.c_str());
        if (::symlink(target.c_str(), temp.c_str()) != 0 ||
            ::rename(temp.c_str(), native.c_str()) != 0) {
            ::unlink(temp.c_str());
            Note(fcDestNotCreated);
        }
        if (FProgress) Report(0, 0);
    }

    bool FAttrs;
    TreeProgress FProgress;
    String FCurrent;
    std::int32_t FFiles = 0;
    std::int64_t FLastDone = 0;
    std::int64_t FLastSize = 0;
    std::int32_t FResult = 0;
};

// `path` made absolute, in its stored case, without a trailing separator (except "/").
String FolderName(const String& path) {
    String s = ResolveFileNameCase(ExpandFileName(path));
    while (s.size() > 1 && s.back() == PathDelim)
        s.pop_back();
    return s;
}

std::int32_t CopyTree(const String& SourceDir, const String& DestDir, bool CopyAttributes,
                      const TreeProgress& progress) {
    detail::ClearCopyAbort();
    if (SourceDir.empty() || DestDir.empty()) return fcSourceNotOpened;
    if (UpperCase(WithSeparator(SourceDir)) == UpperCase(WithSeparator(DestDir))) return 0;
    const String src = FolderName(SourceDir);
    const String dst = FolderName(DestDir);
    std::error_code ec;
    const std::filesystem::path realSrc = std::filesystem::canonical(ToUtf8(src), ec);
    if (ec || !std::filesystem::is_directory(realSrc, ec)) return fcSourceNotOpened;
    const std::filesystem::path realDst = std::filesystem::weakly_canonical(ToUtf8(dst), ec);
    if (ec) return fcDestNotCreated;
    if (realDst == realSrc) return 0;
    std::string inside = realSrc.string();
    if (inside.back() != '/') inside += '/';
    if (realDst.string().starts_with(inside)) return fcIntoItself;

    if (!ForceDirectories(dst)) return fcDestNotCreated;
    TreeCopier copier(CopyAttributes, progress);
    copier.Folder(src, dst);
    return copier.Result();
}

}  // namespace

std::int32_t CopyFileTree(const String& SourceDir, const String& DestDir, bool CopyAttributes,
                          TTreeCopyFeedBack FeedBack) {
    TreeProgress p;
    if (FeedBack != nullptr)
        p = [FeedBack](std::int64_t done, std::int64_t size, const String& name, std::int32_t n) {
            FeedBack(detail::Saturate32(done), detail::Saturate32(size), name, n);
        };
    return CopyTree(SourceDir, DestDir, CopyAttributes, p);
}

std::int32_t CopyFileTree64(const String& SourceDir, const String& DestDir, bool CopyAttributes,
                            TTreeCopyFeedBack64 FeedBack) {
    TreeProgress p;
    if (FeedBack != nullptr) p = FeedBack;
    return CopyTree(SourceDir, DestDir, CopyAttributes, p);
}

}  // namespace qorkit
