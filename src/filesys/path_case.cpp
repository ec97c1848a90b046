// Stored-case path lookup and renaming to one letter case.
#include "qorkit/filesys/path_case.h"

#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/rtl/untyped_file.h"

namespace qorkit {

String DOSToWinPath(const String& Path) {
    const String full = ExpandFileName(Path);
    return full.empty() ? full : ResolveFileNameCase(full);
}

void SetAllFilenameCase(const String& FileMask, bool UpperCase) {
    const String mask = LowerCase(FileMask);
    const String folder = ExtractFilePath(mask);
    const String pattern = ExtractFileName(mask);
    TSearchRec rec;
    for (std::int32_t r = FindFirst(mask, faAnyFile, rec); r == 0; r = FindNext(rec)) {
        if (rec.Name == u"." || rec.Name == u"..") continue;
        const String oldName = folder + rec.Name;
        const String newName = UpperCase ? qorkit::UpperCase(oldName) : LowerCase(oldName);
        const String oldPath = ResolveFileNameCase(oldName);
        // Only the entry's own name changes: its folder is the one it was found in.
        const String newPath = ExtractFilePath(oldPath) + ExtractFileName(newName);
        if (newPath != oldPath) {
            TUntypedFile f;
            f.Assign(oldPath);
            f.Rename(newPath);
        }
        if (rec.Attr == faDirectory)
            SetAllFilenameCase(folder + rec.Name + PathDelim + pattern, UpperCase);
    }
    FindClose(rec);
}

}  // namespace qorkit
