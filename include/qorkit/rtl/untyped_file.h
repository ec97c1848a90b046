// TUntypedFile: the classic untyped file variable with a record size of one byte.
#pragma once

#include <cstdint>

#include "qorkit/rtl/file_variable.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// A file of bytes addressed by position, read and written in blocks through an internal
/// 64 KiB buffer (so small blocks are cheap; large ones go straight to the system).
///
/// Use: `Assign` a name, open with `Reset` (read only) or `Rewrite` (create or truncate;
/// read and write), transfer blocks, `Close`. "\" in file names is taken as a path separator.
/// Failures raise `EInOutError` with the codes and messages of `TextFile`: 2 file not found,
/// 3 path not found, 5 access denied, 100 read past end of file, 101 disk write error,
/// 102 not assigned, 103 not open, 104 not open for input, 105 not open for output,
/// 1000 + errno otherwise.
///
/// Not copyable. The destructor closes an open file, writing pending bytes; errors there are
/// swallowed, so call `Close` to see them.
class TUntypedFile : public TFileVariable {
  public:
    /// Opens the existing file read-only at position 0 (closing it first when open).
    void Reset();
    /// Creates the file, or empties an existing one, and opens it for reading and writing.
    void Rewrite();

    /// Reads up to `Count` bytes into `Buffer` and stores the number read in `Actual`; fewer
    /// than `Count` only at the end of the file, which is not an error here. Raises 104 on a
    /// file opened by neither `Reset` nor `Rewrite`.
    void BlockRead(void* Buffer, std::int64_t Count, std::int64_t& Actual);
    /// Reads exactly `Count` bytes; raises 100 when the file ends first (the bytes that were
    /// there have been read and the position is at the end).
    void BlockRead(void* Buffer, std::int64_t Count);
    /// Writes `Count` bytes at the position, extending the file as needed; a position past the
    /// end leaves a zero-filled gap. Raises 105 on a file opened by `Reset`, 101 when the
    /// system refuses the bytes (possibly noticed only at a later flush).
    void BlockWrite(const void* Buffer, std::int64_t Count);

    /// The size of the file in bytes, including bytes not yet written out.
    std::int64_t FileSize();
    /// The position (0 = first byte).
    std::int64_t FilePos();
    /// Moves the position to `Pos`; past the end is allowed. Raises 1000 + EINVAL for a
    /// negative `Pos`.
    void Seek(std::int64_t Pos);
    /// True when the position is at or past the end of the file.
    bool Eof();
};

}  // namespace qorkit
