// What the save-dialog backends share: the start folder, the preselected type and the masks.
#pragma once

#include <cstdint>
#include <vector>

#include "qorkit/rtl/file_dialogs.h"

namespace qorkit::detail {

/// The masks of a file-type mask list ("*.htm; *.html"): cut at ";", blanks trimmed, empty
/// pieces dropped.
std::vector<String> SplitFileMasks(const String& MaskList);

/// The preselected file type of `Dialog` (from 1), or 0 when it offers none; an index outside
/// the list selects the first type.
std::int32_t PreselectedFileType(const TFileSaveDialog& Dialog);

/// The file type (from 1) whose masks match the name part of `FileName`, trying the
/// preselected type first and then the others in order; the preselected type when none
/// matches (0 without types).
std::int32_t FileTypeOfName(const TFileSaveDialog& Dialog, const String& FileName);

/// The absolute folder the dialog starts in, with a trailing `PathDelim`: the folder part of
/// the proposed file name when it has one, else the dialog's default folder, else the current
/// folder.
String StartFolder(const TFileSaveDialog& Dialog);

/// `Name` taken in `Folder` (which ends with a separator) unless it is absolute; "\" counts as
/// a separator.
String NameInFolder(const String& Folder, const String& Name);

}  // namespace qorkit::detail
