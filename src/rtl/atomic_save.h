// The library's one way to replace a file whole: write a temporary sibling, rename it over
// the target, and remove it when anything fails.
#pragma once

#include <functional>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Calls `write` with the name of a fresh temporary sibling of `FileName` (FileName +
/// ".tmp<pid>-<n>"), then renames it over `FileName` in one step, so readers see the old file
/// or the new one. When `write` raises or the rename fails (`EInOutError` "Cannot rename file
/// ..." with the system's reason), the temporary file is removed and the error passes on.
void SaveFileAtomically(const String& FileName, const std::function<void(const String&)>& write);

}  // namespace qorkit::detail
