// Directory search with file masks and attributes, and case-insensitive path resolution.
#pragma once

#include <cstdint>
#include <memory>

#include "qorkit/rtl/datetime.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// File attribute bits. On POSIX: read-only when the owner may not write, hidden for names
/// that start with "." (not "." and ".." themselves), system file for anything that is neither
/// a regular file nor a folder (devices, pipes, sockets), directory, archive for regular
/// files, and symbolic link for a link (whose other bits describe its target, or the link
/// itself when the target is missing).
inline constexpr std::int32_t faReadOnly = 0x01;
/// See `faReadOnly`.
inline constexpr std::int32_t faHidden = 0x02;
/// See `faReadOnly`.
inline constexpr std::int32_t faSysFile = 0x04;
/// See `faReadOnly`. Never set on POSIX.
inline constexpr std::int32_t faVolumeID = 0x08;
/// See `faReadOnly`.
inline constexpr std::int32_t faDirectory = 0x10;
/// See `faReadOnly`.
inline constexpr std::int32_t faArchive = 0x20;
/// See `faReadOnly`.
inline constexpr std::int32_t faSymLink = 0x400;
/// Every attribute: a search with it finds every entry.
inline constexpr std::int32_t faAnyFile = 0x3F;

/// Result codes of `FindFirst` and `FindNext` besides 0 (found).
inline constexpr std::int32_t feFileNotFound = 2;
/// See `feFileNotFound`: the folder of the mask does not exist.
inline constexpr std::int32_t fePathNotFound = 3;
/// See `feFileNotFound`: the folder may not be read.
inline constexpr std::int32_t feAccessDenied = 5;
/// See `feFileNotFound`: `FindNext` has no further entry.
inline constexpr std::int32_t feNoMoreFiles = 18;

namespace detail {
struct SearchState;
}

/// One entry found by `FindFirst`/`FindNext`.
struct TSearchRec {
    std::int32_t Time = 0;         ///< last modification, packed as date << 16 | time (2 s steps)
    std::int64_t Size = 0;         ///< size in bytes (0 for folders)
    std::int32_t Attr = 0;         ///< the `fa...` bits of the entry
    String Name;                   ///< the name as stored on disk, without the folder
    std::int32_t ExcludeAttr = 0;  ///< attributes the search excludes (hidden, system, folder)
    TDateTime TimeStamp = 0;       ///< last modification in local time
    std::shared_ptr<detail::SearchState> FindHandle;  ///< the search's state
};

/// True when `Name` matches the file mask `Mask` as on Windows, without regard to case (the
/// library's Unicode one-to-one case table): "*" stands for any text, "?" for one character
/// (a run of "?" just before a point or at the end of the mask may also stand for fewer);
/// a mask ending in ".*" also matches names without a point, so "*.*" and "*" match every
/// name; a mask ending in a single "." matches only names without a point ("*." finds names
/// without an extension). An empty mask matches nothing.
bool MatchesMask(std::u16string_view Name, std::u16string_view Mask);

/// Starts a search for the entries of the folder part of `Path` whose names match its name
/// part (see `MatchesMask`). Entries whose hidden, system-file or directory bit is not in
/// `Attr` are skipped; other entries are always found. The folder's entries are read at once
/// and handed out sorted by name ("." and ".." included where the folder lists them), so
/// renaming entries during the search does not disturb it. The folder part is resolved by
/// `ResolveFileNameCase`. Returns 0 and fills `F` with the first entry, or `feFileNotFound`
/// (no entry matches), `fePathNotFound` (no such folder), `feAccessDenied`, or 1000 + errno.
/// Call `FindClose` when done (the destructor of `F` releases the search as well).
std::int32_t FindFirst(const String& Path, std::int32_t Attr, TSearchRec& F);
/// Moves `F` to the next entry: 0, or `feNoMoreFiles` at the end (also after `FindClose`).
std::int32_t FindNext(TSearchRec& F);
/// Ends the search of `F`; harmless when called twice.
void FindClose(TSearchRec& F);

/// Finds the file that `FileName` names on a case-sensitive file system when its letter case
/// may be wrong: "\" is read as a separator and, walking from the first component, each
/// component that does not exist as written is replaced by the single entry of its folder that
/// equals it without regard to case. The walk stops at the first component that exists in
/// neither form or matches several entries; the rest is kept as written. Returns the path in
/// native form (`PathDelim`); a path that exists as written comes back unchanged apart from
/// the separators.
String ResolveFileNameCase(const String& FileName);

}  // namespace qorkit
