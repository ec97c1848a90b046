// Folder walks over FindFirst/FindNext.
#include "qorkit/filesys/file_scan.h"

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <limits>

#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"

namespace qorkit {

namespace {

// `Dir` as stored on disk, ending in a separator unless empty.
String StoredFolder(const String& Dir) {
    if (Dir.empty()) return Dir;
    String s = ResolveFileNameCase(Dir);
    if (s.back() != PathDelim) s += PathDelim;
    return s;
}

// Calls `each(name, attr)` for every entry of `mask` found with `attr`, "." and ".." excepted.
template <class F>
void ForEachEntry(const String& mask, std::int32_t attr, F&& each) {
    TSearchRec r;
    for (std::int32_t c = FindFirst(mask, attr, r); c == 0; c = FindNext(r))
        if (r.Name != u"." && r.Name != u"..") each(r);
    FindClose(r);
}

// The walk of ScanFilesToStrList and CountFiles: `found(path)` for every file.
void Walk(const String& folder, const String& pattern, bool recursive, TScanFilesFeedback feedback,
          std::int64_t& count, const std::function<void(const String&)>& found) {
    if (feedback != nullptr)
        feedback(folder, static_cast<std::int32_t>(std::min<std::int64_t>(
                             count, std::numeric_limits<std::int32_t>::max())));
    ForEachEntry(folder + pattern, faAnyFile, [&](const TSearchRec& r) {
        if ((r.Attr & faDirectory) != 0) return;
        ++count;
        if (found) found(folder + r.Name);
    });
    if (!recursive) return;
    ForEachEntry(folder + u"*", faAnyFile, [&](const TSearchRec& r) {
        if ((r.Attr & faDirectory) != 0 && (r.Attr & faSymLink) == 0)
            Walk(folder + r.Name + PathDelim, pattern, true, feedback, count, found);
    });
}

String Detect(const String& folder, const String& name) {
    String hit;
    ForEachEntry(folder + name, faAnyFile, [&](const TSearchRec& r) {
        if (hit.empty() && (r.Attr & (faHidden | faSysFile | faDirectory)) == 0)
            hit = folder + r.Name;
    });
    if (!hit.empty()) return hit;
    TSearchRec r;
    for (std::int32_t c = FindFirst(folder + u"*", faAnyFile, r); c == 0; c = FindNext(r)) {
        if (r.Attr != faDirectory || r.Name == u"." || r.Name == u"..") continue;
        hit = Detect(folder + r.Name + PathDelim, name);
        if (!hit.empty()) break;
    }
    FindClose(r);
    return hit;
}

}  // namespace

void ScanFilesToStrList(const String& FileMask, bool Recursive, TStringList* List,
                        TScanFilesFeedback Feedback) {
    if (List == nullptr) return;
    std::int64_t count = 0;
    Walk(StoredFolder(ExtractFilePath(FileMask)), ExtractFileName(FileMask), Recursive, Feedback,
         count, [List](const String& path) { List->Add(path); });
}

std::int64_t CountFiles64(const String& FileMask, bool Recursive, TScanFilesFeedback Feedback) {
    std::int64_t count = 0;
    Walk(StoredFolder(ExtractFilePath(FileMask)), ExtractFileName(FileMask), Recursive, Feedback,
         count, nullptr);
    return count;
}

std::int32_t CountFiles(const String& FileMask, bool Recursive, TScanFilesFeedback Feedback) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(
        CountFiles64(FileMask, Recursive, Feedback), std::numeric_limits<std::int32_t>::max()));
}

String FileDetect(const String& PathAndName) {
    const String name = ExtractFileName(PathAndName);
    if (name.empty()) return String();
    return Detect(StoredFolder(ExtractFilePath(PathAndName)), name);
}

std::int64_t GetFileSize64(const String& FileName) {
    TSearchRec r;
    const std::int32_t c = FindFirst(ExpandFileName(FileName), faAnyFile, r);
    FindClose(r);
    return c == 0 ? r.Size : -1;
}

std::int32_t GetFileSize(const String& FileName) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(GetFileSize64(FileName), std::numeric_limits<std::int32_t>::max()));
}

bool DirEmpty(const String& Dir) {
    bool empty = true;
    if (Dir.empty()) return empty;
    ForEachEntry(StoredFolder(Dir) + u"*.*", faAnyFile, [&](const TSearchRec&) { empty = false; });
    return empty;
}

bool DirExists(const String& Path) {
    if (Path.empty()) return false;
    struct stat st {};
    return ::stat(ToUtf8(ResolveFileNameCase(Path)).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const String& FileName) {
    if (FileName.empty()) return false;
    struct stat st {};
    return ::stat(ToUtf8(ResolveFileNameCase(FileName)).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace qorkit
