// The library's one way of replacing a file: write a temporary sibling, then rename it over
// the target, so that readers see the old file or the new one and never a half-written one.
#pragma once

#include <functional>

#include "qorkit/rtl/system.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit::detail {

/// Creates the text file `FName` from what `Write` writes into the open `TextFile` it gets.
/// The text goes to a temporary sibling (`FName` + ".tmp<pid>-<n>"), which is closed and then
/// renamed over `FName`. On any failure the temporary file is removed and `FName` is left as it
/// was; an `EInOutError` is re-raised as "Cannot save "<FName>": <reason>" with its code, other
/// exceptions (from `Write`) pass unchanged. The new file gets default permissions; nothing is
/// synced to disk.
void SaveTextFileAtomically(const String& FName, const std::function<void(TextFile&)>& Write);

}  // namespace qorkit::detail
