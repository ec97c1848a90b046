// Saving a text file so that readers see either the old file or the complete new one.
#pragma once

#include <functional>

#include "qorkit/rtl/system.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

/// Saves a text file atomically: `Write` fills a temporary sibling of `FName` (a name of the
/// form `FName` + ".tmp<pid>-<n>", opened with `Rewrite`), which is then closed and renamed
/// over `FName` in one step. On any failure, including an exception from `Write`, the
/// temporary file is removed and `FName` keeps its previous content. An `EInOutError` is
/// raised again as `EInOutError` "Cannot save "<FName>": <reason>" with the same code; other
/// exceptions pass unchanged. The new file gets default permissions; nothing is synced to disk.
void SaveTextFileAtomically(const String& FName, const std::function<void(TextFile&)>& Write);

}  // namespace qorkit
