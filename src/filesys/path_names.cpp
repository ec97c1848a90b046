// Path and file-name string functions.
#include "qorkit/filesys/path_names.h"

#include <string_view>

#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/strings/string_strip.h"

namespace qorkit {

namespace {

constexpr bool IsSlash(Char c) {
    return c == u'\\' || c == u'/';
}

constexpr std::u16string_view kInvalidNameChars = u"/<>?\\|*:";

bool IsFN83Char(Char c) {
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
        return true;
    return std::u16string_view(u"!#$%&'()-.:@\\^_`{}~").find(c) != std::u16string_view::npos;
}

}  // namespace

String StripExtension(const String& Path) {
    String name = ExtractFileName(Path);
    const std::size_t dot = name.rfind(u'.');
    if (dot != String::npos) name.erase(dot);
    return ExtractFilePath(Path) + name;
}

String StripPath(const String& Path) {
    return ExtractFileName(Path);
}

String ParentDir(const String& Path) {
    std::size_t n = Path.size();
    if (n > 0 && IsSlash(Path[n - 1])) --n;
    while (n > 0 && !IsSlash(Path[n - 1]))
        --n;
    return Path.substr(0, n);
}

bool IsRootDir(const String& Path) {
    const String s = StripLTBlanks(LowerCase(Path));
    return s.size() == 3 && s.compare(1, 2, u":\\") == 0;
}

std::int32_t ExtractDrive(const String& Path) {
    if (Path.size() < 2 || Path[1] != u':') return -1;
    const Char c = UpCase(Path[0]);
    return c >= u'A' && c <= u'Z' ? c - u'A' : 0;
}

String AbridgeFilePath(const String& Path, std::int32_t MaxLen) {
    const Char sep = Path.find(u'\\') != String::npos ? u'\\' : u'/';
    std::size_t p = Path.find(sep);
    if (p == String::npos) return Path;
    String s = Path;
    const auto limit = static_cast<std::int64_t>(MaxLen);
    while (static_cast<std::int64_t>(s.size()) >= limit) {
        const std::size_t next = s.find(sep, p + 1);
        if (next == String::npos) break;
        // Replacing a name of two characters or fewer would not shorten the path.
        if (next - p - 1 > 2) {
            s.replace(p + 1, next - p - 1, u"..");
            p += 3;
        } else {
            p = next;
        }
    }
    return s;
}

bool IsFN83CompliantPath(const String& Path) {
    for (const Char c : Path)
        if (!IsFN83Char(c)) return false;
    return true;
}

bool IsDOS83Path(const String& Path) {
    if (!IsFN83CompliantPath(Path)) return false;
    const std::size_t lastSlash = Path.rfind(u'\\');
    std::size_t start = 0;
    // Folder names: each piece up to the next backslash.
    if (lastSlash != String::npos) {
        for (std::size_t i = 0; i <= lastSlash; ++i) {
            if (Path[i] != u'\\') continue;
            if (i - start > 8) return false;
            start = i + 1;
        }
    }
    // The last component: pieces up to each point, at most 8 characters, then an extension of
    // at most 3 (or a name of at most 8 when there is no point).
    bool sawPoint = false;
    for (std::size_t i = start; i < Path.size(); ++i) {
        if (Path[i] != u'.') continue;
        if (i - start > 8) return false;
        start = i + 1;
        sawPoint = true;
    }
    return Path.size() - start <= (sawPoint ? 3u : 8u);
}

String ReplaceInvalidFileNameChars(const String& FileName, Char Replacement) {
    String s = FileName;
    for (Char& c : s)
        if (kInvalidNameChars.find(c) != std::u16string_view::npos) c = Replacement;
    if (s == u".") return String(1, Replacement);
    if (s == u"..") return String(2, Replacement);
    return s;
}

bool IsValidFileName(const String& FileName) {
    if (FileName == u"." || FileName == u"..") return false;
    return FileName.find_first_of(kInvalidNameChars) == String::npos;
}

String InsertBeforeFileExt(const String& Text, const String& FileName) {
    String name = ExtractFileName(FileName);
    const std::size_t dot = name.find(u'.');
    name.insert(dot == String::npos ? name.size() : dot, Text);
    return ExtractFilePath(FileName) + name;
}

String EnsureDefaultFileExt(const String& FileName, const String& DefaultExt) {
    if (DefaultExt.empty() || !ExtractFileExt(FileName).empty()) return FileName;
    return DefaultExt.front() == u'.' ? FileName + DefaultExt : FileName + u"." + DefaultExt;
}

}  // namespace qorkit
