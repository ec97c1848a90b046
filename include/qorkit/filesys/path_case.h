// Path functions that ask the file system for the stored form of names.
#pragma once

#include "qorkit/rtl/system.h"

namespace qorkit {

/// `Path` made absolute (`ExpandFileName`) with each component replaced by the name as the
/// file system stores it: a component that exists as written is kept, otherwise the single
/// entry of its folder that equals it without regard to case is taken. Components are looked
/// up by name, so "*" and "?" in them are ordinary characters. From the first component that
/// cannot be found (missing, unreadable folder, or several entries differing only in case)
/// the rest of the path is kept as written. Components are joined with `PathDelim`; on POSIX
/// the result starts at "/". Never raises.
String DOSToWinPath(const String& Path);

/// Renames every entry that matches the file mask `FileMask` (all attributes, "." and ".."
/// excepted) to its path upper-cased (`UpperCase` true) or lower-cased, A-Z only, and
/// descends into each plain folder (one whose attributes are exactly `faDirectory`: hidden,
/// read-only and linked folders are renamed but not entered) with the same name pattern.
/// The mask itself is lower-cased first; folders are found again by `ResolveFileNameCase`, so
/// this works on case-sensitive file systems as long as no folder holds two names that
/// differ only in case. An entry that already has the wanted case is left alone. Raises
/// `EInOutError` at the first rename that fails, among others when an entry of the wanted
/// name already exists (it is never replaced).
void SetAllFilenameCase(const String& FileMask, bool UpperCase);

}  // namespace qorkit
