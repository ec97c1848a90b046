// Folder walks over FindFirst/FindNext.
#include "qorkit/filesys/file_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <string>
#include <vector>

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

// One entry of a folder as the walk needs it: links to folders count as folders (and are
// marked, as they are never entered).
struct WalkEntry {
    std::string Name;
    bool Folder = false;
    bool Link = false;
};

// The entries of `dir` except "." and "..". The kind comes from the folder listing itself where
// the file system gives it, so a plain file costs no stat call.
void ReadEntries(const std::string& dir, std::vector<WalkEntry>& out) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return;
    const int fd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        const std::string_view n = e->d_name;
        if (n == "." || n == "..") continue;
        WalkEntry w{std::string(n)};
        struct stat st {};
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        }
        w.Link = type == DT_LNK;
        w.Folder = type == DT_DIR ||
                   (w.Link && ::fstatat(fd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode));
        out.push_back(std::move(w));
    }
    ::closedir(d);
}

// True for the patterns that match every name ("*", "*.*").
bool MatchesAll(const String& pattern) {
    return pattern == u"*" || pattern == u"*.*";
}

// The walk of ScanFilesToStrList and CountFiles: `found(path)` for every file that matches
// `pattern` (every name when `all`), in name order; subfolders are visited in name order.
void Walk(const String& folder, const String& pattern, bool all, bool recursive,
          TScanFilesFeedback feedback, std::int64_t& count,
          const std::function<void(const String&)>& found) {
    if (feedback != nullptr)
        feedback(folder, static_cast<std::int32_t>(std::min<std::int64_t>(
                             count, std::numeric_limits<std::int32_t>::max())));
    std::vector<WalkEntry> entries;
    ReadEntries(ToUtf8(folder), entries);
    std::vector<String> files, subfolders;
    for (const WalkEntry& e : entries) {
        if (e.Folder) {
            if (recursive && !e.Link) subfolders.push_back(FromUtf8(e.Name));
            continue;
        }
        if (all && !found) {
            ++count;
            continue;
        }
        String name = FromUtf8(e.Name);
        if (!all && !MatchesMask(name, pattern)) continue;
        ++count;
        if (found) files.push_back(std::move(name));
    }
    std::sort(files.begin(), files.end());
    for (const String& f : files)
        found(folder + f);
    std::sort(subfolders.begin(), subfolders.end());
    for (const String& sub : subfolders)
        Walk(folder + sub + PathDelim, pattern, all, true, feedback, count, found);
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
        // A name holding "\" would be read as a path and could lead out of the tree.
        if (r.Attr != faDirectory || r.Name == u"." || r.Name == u".." ||
            r.Name.find(u'\\') != String::npos)
            continue;
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
    const String pattern = ExtractFileName(FileMask);
    Walk(StoredFolder(ExtractFilePath(FileMask)), pattern, MatchesAll(pattern), Recursive, Feedback,
         count, [List](const String& path) { List->Add(path); });
}

std::int64_t CountFiles64(const String& FileMask, bool Recursive, TScanFilesFeedback Feedback) {
    std::int64_t count = 0;
    const String pattern = ExtractFileName(FileMask);
    Walk(StoredFolder(ExtractFilePath(FileMask)), pattern, MatchesAll(pattern), Recursive, Feedback,
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
