// The one-file copy shared by FileCopyFeedBk and the tree copy.
#pragma once

#include <cstdint>
#include <functional>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Progress of one copy: bytes copied so far and the size of the file, in 64 bits.
using CopyProgress = std::function<void(std::int64_t Done, std::int64_t Size)>;

/// The work of `FileCopyFeedBk64` with any callable as progress. With `TreeCopy` the abort
/// switch is left as it is, so that a tree copy stops at a request made between files, and the
/// names are taken as stored on disk (no letter-case search).
std::int32_t CopyOneFile(const String& Source, const String& Dest, bool CopyAttributes,
                         const CopyProgress& Progress, bool TreeCopy);

/// `v` limited to 2^31 - 1, for the 32-bit progress callbacks.
std::int32_t Saturate32(std::int64_t v) noexcept;

/// True when `AbortAnyFileCopying` was called since the switch was last cleared.
bool CopyAbortRequested() noexcept;
/// Clears the abort switch.
void ClearCopyAbort() noexcept;

}  // namespace qorkit::detail
