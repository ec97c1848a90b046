// Copying a folder tree with progress reports.
#pragma once

#include <cstdint>

#include "qorkit/filesys/file_copy.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Progress of a tree copy: the current file's bytes copied and size (saturated at 2^31 - 1),
/// its destination name and the number of files begun so far.
using TTreeCopyFeedBack = void (*)(std::int32_t BytesCopied, std::int32_t SizeOfCurrentFile,
                                   const String& NameOfCurrentFile,
                                   std::int32_t NrOfFilesCopiedSoFar);
/// As `TTreeCopyFeedBack` with 64-bit byte counts.
using TTreeCopyFeedBack64 = void (*)(std::int64_t BytesCopied, std::int64_t SizeOfCurrentFile,
                                     const String& NameOfCurrentFile,
                                     std::int32_t NrOfFilesCopiedSoFar);

/// Copies everything in the folder `SourceDir` into `DestDir`, creating it and its missing
/// parents, and clears the abort switch first. Each file goes through the one-file copy of
/// `FileCopyFeedBk` (a temporary sibling renamed into place, so no destination file is ever
/// half-written); its progress reports reach `FeedBack` as (bytes, size, destination name,
/// file number), followed by one more report with the last counts once the file is done.
/// Subfolders are copied depth first in name order. A symbolic link is copied as a link with
/// the same target text and never followed; an entry of the destination that is a link is
/// replaced rather than written through, so nothing outside `DestDir` is written.
///
/// Returns 0 when everything was copied, or when both names are the same folder (the same
/// text without regard to A-Z case, or the same folder reached another way); `fcIntoItself`,
/// without copying anything, when `DestDir` lies inside `SourceDir`; `fcSourceNotOpened` when
/// the source folder does not exist or cannot be listed; `fcAborted` after
/// `AbortAnyFileCopying`; otherwise the first failure code of a file or folder (the copy goes
/// on with the other entries, as `cp -r` does). Raises nothing of its own.
std::int32_t CopyFileTree(const String& SourceDir, const String& DestDir, bool CopyAttributes,
                          TTreeCopyFeedBack FeedBack);
/// As `CopyFileTree` with 64-bit progress values.
std::int32_t CopyFileTree64(const String& SourceDir, const String& DestDir, bool CopyAttributes,
                            TTreeCopyFeedBack64 FeedBack);

}  // namespace qorkit
