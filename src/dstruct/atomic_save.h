// Saving a text file so that readers see the old file or the new one, never a half-written one.
#pragma once

#include <functional>

#include "qorkit/rtl/system.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit::detail {

/// Writes a temporary sibling of `FName` (`FName` + ".tmp<pid>-<n>") through `Write`, closes
/// it and renames it over `FName`. On any failure the temporary file is removed and the error
/// passes on; an `EInOutError` is raised again naming `FName` ("Cannot save "<FName>": ...").
/// The new file gets default permissions; nothing is synced to disk.
void SaveTextFileAtomically(const String& FName, const std::function<void(TextFile&)>& Write);

}  // namespace qorkit::detail
