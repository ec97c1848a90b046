// Copying one file with progress reports and a process-wide abort switch, and deleting a
// folder tree.
#pragma once

#include <cstdint>
#include <functional>

#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Progress of a file copy: bytes copied so far and the size of the file, saturated at
/// 2^31 - 1 (see `TFileCopyFeedBack64`).
using TFileCopyFeedBack = void (*)(std::int32_t BytesCopied, std::int32_t SizeOfFile);
/// Progress of a file copy in 64-bit values.
using TFileCopyFeedBack64 = void (*)(std::int64_t BytesCopied, std::int64_t SizeOfFile);

/// A numeric progress event for the unit's clients (no operation of the unit calls it).
using TNumericFeedback = std::function<void(TObject* Sender, double num)>;
/// A text progress event for the unit's clients (no operation of the unit calls it).
using TStringFeedback = std::function<void(TObject* Sender, const String& msg)>;

/// Results of `FileCopyFeedBk` besides 0 (copied, or nothing to do).
inline constexpr std::int32_t fcSourceNotOpened = -1;
/// See `fcSourceNotOpened`: the destination could not be created (or put in place).
inline constexpr std::int32_t fcDestNotCreated = -2;
/// See `fcSourceNotOpened`: writing the destination failed.
inline constexpr std::int32_t fcWriteFailed = -3;
/// See `fcSourceNotOpened`: reading the source failed.
inline constexpr std::int32_t fcReadFailed = -4;
/// See `fcSourceNotOpened`: `AbortAnyFileCopying` stopped the copy.
inline constexpr std::int32_t fcAborted = -5;
/// See `fcSourceNotOpened`: `CopyFileTree` was asked to copy a folder into itself.
inline constexpr std::int32_t fcIntoItself = -6;

/// Copies `Source` to `Dest`, or into `Dest` under the source's name when `Dest` is an existing
/// folder. Clears the abort switch first. Returns 0 without copying or calling `FeedBack` when
/// both names are the same text or name the same file. Otherwise `FeedBack` (when given) gets
/// (0, size) first, then (bytes copied before the block, size) for each block of 8192 bytes
/// (a larger block is used without a callback), and (bytes copied, size) at the end. The copy
/// is written to a temporary sibling and renamed into place only when complete, so a failure
/// or an abort leaves no partial file and an older `Dest` untouched; the copy gets the
/// source's modification time and, with `CopyAttributes`, its permission bits made writable
/// for the owner. Returns 0 or one of the negative `fc...` codes. Raises `EInOutError` only
/// when the source cannot be opened to learn its size (a missing source, a folder).
std::int32_t FileCopyFeedBk(const String& Source, const String& Dest, bool CopyAttributes,
                            TFileCopyFeedBack FeedBack);
/// As `FileCopyFeedBk` with 64-bit progress values.
std::int32_t FileCopyFeedBk64(const String& Source, const String& Dest, bool CopyAttributes,
                              TFileCopyFeedBack64 FeedBack);

/// Asks a running `FileCopyFeedBk` to stop after its current block (safe from a progress
/// callback or another thread); the next copy clears the request.
void AbortAnyFileCopying() noexcept;

/// Deletes the folder `Dir` with everything in it. Symbolic links are deleted as links; the
/// folders they point to are never touched (also when `Dir` itself is a link). Returns "" on
/// success, else the first entry (or the folder itself) that could not be deleted; "" for an empty
/// `Dir`.
String DelDirTree(const String& Dir);

/// Deletes the files that match `FileMask` (folders, links to folders and names starting with
/// "." are left alone; a link to a file is deleted as a link) and returns how many were deleted.
std::int32_t DeleteFiles(const String& FileMask);

}  // namespace qorkit
