// Listing, counting and finding files in folder trees, and small file and folder queries.
// Symbolic links to folders are listed like files' neighbours but never entered, so a walk
// stays inside the tree it was given and cannot loop.
#pragma once

#include <cstdint>

#include "qorkit/rtl/string_list.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Progress of a folder walk: the folder about to be listed and the files counted so far.
using TScanFilesFeedback = void (*)(const String& CurrentDir, std::int32_t Count);

/// Adds the path of every entry that matches `FileMask` and is not a folder to `List` (which is
/// not cleared), and with `Recursive` does the same in every subfolder, depth first, with the
/// same name pattern. The folder part of each path is the folder as stored on disk (found by
/// `ResolveFileNameCase`), joined with `PathDelim`. `Feedback`, when given, is called before
/// each folder is listed. Nothing happens when `List` is null; a missing folder adds nothing.
void ScanFilesToStrList(const String& FileMask, bool Recursive, TStringList* List,
                        TScanFilesFeedback Feedback);
/// The number of entries `ScanFilesToStrList` would add, saturating at 2^31 - 1.
std::int32_t CountFiles(const String& FileMask, bool Recursive, TScanFilesFeedback Feedback);
/// As `CountFiles`, with a 64-bit count.
std::int64_t CountFiles64(const String& FileMask, bool Recursive, TScanFilesFeedback Feedback);

/// Where the file named by the last part of `PathAndName` (wildcards allowed) is found as a
/// plain file (not hidden, not a system file, not a folder): in the folder part itself, else in
/// its plain subfolders (exactly the folder attribute: hidden, read-only and linked folders are
/// skipped), depth first. Returns the folder (as stored) + the name as stored, or "" when it is
/// nowhere.
String FileDetect(const String& PathAndName);

/// The size in bytes of the first entry that matches `FileName`; -1 when nothing matches. Sizes
/// of 2 GiB and more give 2^31 - 1 (use `GetFileSize64`).
std::int32_t GetFileSize(const String& FileName);
/// The size of the first match as a 64-bit value; -1 when nothing matches.
std::int64_t GetFileSize64(const String& FileName);

/// True when the folder holds nothing but "." and "..", and also when it does not exist.
bool DirEmpty(const String& Dir);
/// True when `Path` names a folder (a link to a folder counts); false for "".
bool DirExists(const String& Path);
/// True when `FileName` names an existing entry that is not a folder (a link counts as what it
/// points to, so a dangling link is no file); false for "".
bool FileExists(const String& FileName);

}  // namespace qorkit
