// Creating and removing folders.
#pragma once

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Creates the folder `Dir` with every missing parent ("\" and "/" separate components; the
/// stored letter case of existing components is found by `ResolveFileNameCase`). Returns true
/// when the folder exists afterwards, also when it existed before; false for "" and when a
/// component is a file or cannot be created. A link to a folder counts as a folder.
bool ForceDirectories(const String& Dir);

/// Removes the empty folder `Dir`. Raises `EInOutError` `Cannot remove folder "<Dir>".
/// <reason>` with the classic code (2 or 3 when missing, 5 when not allowed or not empty,
/// 1000 + errno otherwise). A symbolic link is not a folder here (code 3).
void RmDir(const String& Dir);

}  // namespace qorkit
