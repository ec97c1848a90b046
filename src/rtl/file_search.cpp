// Directory search with Windows file masks, over opendir/readdir.
#include "qorkit/rtl/file_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "posix_file.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace detail {

struct SearchState {
    std::vector<TSearchRec> Entries;  // FindHandle left empty in these
    std::size_t Next = 0;
};

}  // namespace detail

namespace {

// The mask matcher proper, on upper-cased texts; a run of "?" right before a point or the end
// may match fewer characters.
bool Glob(std::u16string_view name, std::u16string_view mask) {
    const std::size_t n = name.size();
    const std::size_t m = mask.size();
    // ok[i][j]: mask[i..] matches name[j..]; one row kept per mask position.
    std::vector<char> next(n + 1, 0), cur(n + 1, 0);
    next[n] = 1;  // row m: the empty mask matches only the empty rest
    for (std::size_t i = m; i-- > 0;) {
        const Char c = mask[i];
        bool mayVanish = false;
        if (c == u'?') {
            std::size_t k = i;
            while (k < m && mask[k] == u'?')
                ++k;
            mayVanish = k == m || mask[k] == u'.';
        }
        for (std::size_t j = n + 1; j-- > 0;) {
            bool ok;
            if (c == u'*') {
                ok = next[j] || (j < n && cur[j + 1]);
            } else if (c == u'?') {
                ok = (j < n && next[j + 1]) || (mayVanish && next[j]);
            } else {
                ok = j < n && name[j] == c && next[j + 1];
            }
            cur[j] = ok;
        }
        std::swap(cur, next);
    }
    return next[0] != 0;
}

String Upper(std::u16string_view s) {
    return AnsiUpperCase(s);
}

std::int32_t AttributesOf(const std::string& name, const struct stat& link,
                          const struct stat* target) {
    const struct stat& st = target != nullptr ? *target : link;
    std::int32_t attr = 0;
    if (S_ISLNK(link.st_mode)) attr |= faSymLink;
    if (S_ISDIR(st.st_mode)) {
        attr |= faDirectory;
    } else if (S_ISREG(st.st_mode)) {
        attr |= faArchive;
    } else if (!S_ISLNK(st.st_mode)) {
        attr |= faSysFile;
    }
    if ((st.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
    if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
    return attr;
}

void SetTimes(TSearchRec& r, const struct stat& st) {
    struct tm t {};
    const time_t secs = st.st_mtim.tv_sec;
    if (::localtime_r(&secs, &t) == nullptr) return;
    const int year = t.tm_year + 1900;
    if (year >= 1 && year <= 9999) {
        r.TimeStamp =
            EncodeDate(static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(t.tm_mon + 1),
                       static_cast<std::uint16_t>(t.tm_mday)) +
            EncodeTime(static_cast<std::uint16_t>(t.tm_hour), static_cast<std::uint16_t>(t.tm_min),
                       static_cast<std::uint16_t>(std::min(t.tm_sec, 59)),
                       static_cast<std::uint16_t>(st.st_mtim.tv_nsec / 1000000));
    }
    if (year >= 1980 && year <= 2107) {
        const auto date =
            static_cast<std::uint32_t>(((year - 1980) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday);
        const auto time =
            static_cast<std::uint32_t>((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2));
        r.Time = static_cast<std::int32_t>(date << 16 | time);
    }
}

std::int32_t SearchError(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            return fePathNotFound;
        case EACCES:
        case EPERM:
            return feAccessDenied;
        default:
            return 1000 + err;
    }
}

// The names in folder `dir` ("" for the current folder), "." and ".." included; false with
// errno set when the folder cannot be read.
bool ListFolder(const std::string& dir, std::vector<std::string>& names) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return false;
    errno = 0;
    while (const dirent* e = ::readdir(d))
        names.emplace_back(e->d_name);
    const int err = errno;
    ::closedir(d);
    errno = err;
    return err == 0;
}

}  // namespace

bool MatchesMask(std::u16string_view Name, std::u16string_view Mask) {
    if (Mask.empty()) return false;
    const String name = Upper(Name);
    const String mask = Upper(Mask);
    if (mask.find_first_not_of(u'.') == String::npos) return name == mask;
    if (mask.size() >= 2 && mask.ends_with(u".*"))
        return Glob(name, mask) || Glob(name, std::u16string_view(mask).substr(0, mask.size() - 2));
    if (mask.back() == u'.')
        return name.find(u'.') == String::npos &&
               Glob(name, std::u16string_view(mask).substr(0, mask.size() - 1));
    return Glob(name, mask);
}

String ResolveFileNameCase(const String& FileName) {
    const std::string path = detail::NativePath(FileName);
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) == 0) return FromUtf8(path);
    std::string done;  // resolved prefix, ending in "/" unless empty
    std::size_t start = 0;
    if (path[0] == '/') {
        done = "/";
        start = 1;
    }
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string comp = path.substr(start, end - start);
        std::string chosen = comp;
        if (!comp.empty() && ::lstat((done + comp).c_str(), &st) != 0) {
            std::vector<std::string> names;
            int found = 0;
            if (ListFolder(done, names)) {
                const String wanted = FromUtf8(comp);
                for (const std::string& n : names) {
                    if (n != "." && n != ".." && AnsiStrIComp(FromUtf8(n), wanted) == 0) {
                        chosen = n;
                        ++found;
                    }
                }
            }
            if (found != 1) return FromUtf8(done + path.substr(start));
        }
        done += chosen;
        if (end < path.size()) done += '/';
        start = end + 1;
    }
    return FromUtf8(done);
}

std::int32_t FindFirst(const String& Path, std::int32_t Attr, TSearchRec& F) {
    FindClose(F);
    const String folder = ExtractFilePath(Path);
    const String mask = ExtractFileName(Path);
    const std::string dir = folder.empty() ? std::string() : ToUtf8(ResolveFileNameCase(folder));
    std::vector<std::string> names;
    if (!ListFolder(dir, names)) return SearchError(errno);

    auto state = std::make_shared<detail::SearchState>();
    const std::int32_t exclude = ~Attr & (faHidden | faSysFile | faDirectory);
    const int dirFd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const std::string& n : names) {
        const String name = FromUtf8(n);
        if (!MatchesMask(name, mask)) continue;
        struct stat link {};
        if (dirFd < 0 || ::fstatat(dirFd, n.c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0) continue;
        struct stat target {};
        const bool followed = S_ISLNK(link.st_mode) && ::fstatat(dirFd, n.c_str(), &target, 0) == 0;
        TSearchRec r;
        r.Name = name;
        r.Attr = AttributesOf(n, link, followed ? &target : nullptr);
        if ((r.Attr & exclude) != 0) continue;
        const struct stat& st = followed ? target : link;
        r.Size = S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
        SetTimes(r, st);
        r.ExcludeAttr = exclude;
        state->Entries.push_back(std::move(r));
    }
    if (dirFd >= 0) ::close(dirFd);
    if (state->Entries.empty()) return feFileNotFound;
    std::sort(state->Entries.begin(), state->Entries.end(),
              [](const TSearchRec& a, const TSearchRec& b) { return a.Name < b.Name; });
    F.FindHandle = std::move(state);
    return FindNext(F);
}

std::int32_t FindNext(TSearchRec& F) {
    detail::SearchState* s = F.FindHandle.get();
    if (s == nullptr || s->Next >= s->Entries.size()) return feNoMoreFiles;
    const TSearchRec& e = s->Entries[s->Next++];
    F.Time = e.Time;
    F.Size = e.Size;
    F.Attr = e.Attr;
    F.Name = e.Name;
    F.ExcludeAttr = e.ExcludeAttr;
    F.TimeStamp = e.TimeStamp;
    return 0;
}

void FindClose(TSearchRec& F) {
    F.FindHandle.reset();
}

}  // namespace qorkit
