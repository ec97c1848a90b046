// Moving files to the desktop's trash, where a file manager can restore them.
#pragma once

#include <cstdint>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Moves the files that match `FileMask` into the user's trash and returns how many were
/// moved. Folders, links to folders and names starting with "." are left alone (as by
/// `DeleteFiles`); a link to a file is moved as a link. The trash is the freedesktop home
/// trash, `$XDG_DATA_HOME/Trash` (by default `~/.local/share/Trash`): the file goes to
/// `files/<name>` and `info/<name>.trashinfo` records its absolute path (percent-encoded) and
/// the local time of deletion, so desktop file managers list it and can put it back. A name
/// already in the trash gets a number before its extension ("a.2.txt", "a.3.txt", ...).
/// Files are moved by a rename: a file on another file system than the trash is not moved
/// (and not counted), so nothing is ever copied and deleted half-way. Raises nothing.
std::int32_t MoveToRecycleBin(const String& FileMask);

}  // namespace qorkit
