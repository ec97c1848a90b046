// Writing a file whole or not at all.
#pragma once

#include <functional>

#include "qorkit/rtl/system.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

/// Saves a file so that readers see either its old content or the complete new one, never a
/// half-written file. `Write` receives the name of a fresh temporary sibling of the target
/// (same folder, `<name>.tmp<pid>-<n>`), writes it and closes it; the sibling is then renamed
/// over the target in one step. When the target is a symbolic link, the file it points to is
/// replaced and the link stays; when the target exists, the new file takes its permission
/// bits, otherwise it gets the defaults. Nothing is synced to disk.
///
/// On any failure the temporary file is removed. An `EInOutError` (from `Write` or from the
/// rename) is raised again as `EInOutError` with the same code and the message
/// `Cannot save "<target>": <reason>`; other exceptions pass unchanged.
void SaveFileAtomically(const String& FileName,
                        const std::function<void(const String& TempName)>& Write);

/// `SaveFileAtomically` for a text file: `Write` fills the temporary sibling, opened with
/// `Rewrite` in the `TextFile` it receives, which is closed before the rename.
void SaveTextFileAtomically(const String& FName, const std::function<void(TextFile&)>& Write);

}  // namespace qorkit
