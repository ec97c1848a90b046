// The abstract byte stream.
#pragma once

#include <cstdint>

#include "qorkit/rtl/objects.h"

namespace qorkit {

/// Origin of a `Seek`.
enum TSeekOrigin : std::uint8_t { soBeginning, soCurrent, soEnd };

/// A sequence of bytes with a current position. Derived classes implement `Read`, `Write`,
/// `Seek` and `SetSize`; everything else is built on them.
class TStream : public TObject {
  public:
    /// Reads up to `Count` bytes into `Buffer` from the current position and advances it.
    /// Returns the number of bytes delivered: fewer than `Count` only at the end of the data,
    /// 0 at the end (and for `Count` <= 0). Raises `EReadError` on a system read error.
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    /// Writes `Count` bytes at the current position and advances it. Returns the number of
    /// bytes written (0 for `Count` <= 0).
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    /// Moves the position to `Offset` relative to `Origin` and returns the new position.
    /// Raises `EStreamError` for a resulting negative position.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
    /// Sets the size of the stream, truncating or extending it (extension bytes are zero).
    /// The position is kept unless it lies beyond the new end, then it moves to the end.
    virtual void SetSize(std::int64_t NewSize) = 0;

    /// Reads exactly `Count` bytes or raises `EReadError` "Stream read error".
    void ReadBuffer(void* Buffer, std::int64_t Count);
    /// Writes exactly `Count` bytes or raises `EWriteError` "Stream write error".
    void WriteBuffer(const void* Buffer, std::int64_t Count);
    /// The current position (0 = first byte).
    std::int64_t Position() { return Seek(0, soCurrent); }
    /// Moves to absolute position `Pos`.
    void SetPosition(std::int64_t Pos) { Seek(Pos, soBeginning); }
    /// The number of bytes in the stream; the position is left unchanged.
    virtual std::int64_t Size();
    /// Copies `Count` bytes from `Source`'s position into this stream; `Count` = 0 copies the
    /// whole of `Source` from its beginning. Returns the bytes copied; raises `EReadError`
    /// when `Source` runs out early.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

}  // namespace qorkit
