// TFifo: a byte queue in a ring buffer.
#pragma once

#include <cstdint>
#include <vector>

#include "qorkit/rtl/objects.h"

namespace qorkit {

/// A first-in first-out queue of bytes in a ring buffer of `Size()` bytes. The write index
/// and the read index wrap at `Size()`; the queue is empty when they are equal and holds at
/// most `Size()` - 1 bytes, as a full queue keeps one slot free (a queue of `Size` 1 holds
/// nothing). The contents never move except in `SetSize`. No notifications; one thread at a
/// time (not even one producer and one consumer on different threads).
///
/// Owned by `AOwner` when one is given (allocate with `new`), else by the caller.
class TFifo : public TComponent {
  public:
    /// An empty queue of `Size` 256 with a zeroed buffer. Raises `EQORDStructError` "Component
    /// "<Name>": FIFO structure too large" when the buffer cannot be allocated.
    explicit TFifo(TComponent* AOwner = nullptr);

    /// The buffer length.
    std::int32_t Size() const noexcept { return FLength; }
    /// For 0 < `l` other than `Size`: a new buffer of `l` bytes. The queued bytes keep their
    /// order at its start; when more than `l` - 1 are queued, the oldest `l` - 1 are kept and
    /// the newest dropped. Other values are ignored. Raises `EQORDStructError` "Component
    /// "<Name>": FIFO structure too large", the queue unchanged, when the buffer cannot be
    /// allocated.
    void SetSize(std::int32_t l);

    /// Appends `InByte`; false, without change, when the queue is full.
    bool PutByte(std::uint8_t InByte) noexcept;
    /// Appends `InByte`, dropping the oldest byte first when the queue is full; true when a
    /// byte was dropped (with `Size` 1 that is `InByte` itself).
    bool ForceByte(std::uint8_t InByte) noexcept;
    /// Puts `InByte` back at the read end, as the next byte to read; false, without change,
    /// when the queue is full.
    bool LoadBack(std::uint8_t InByte) noexcept;
    /// Removes the oldest byte into `OutByte`; false, `OutByte` unchanged, when empty.
    bool GetByte(std::uint8_t& OutByte) noexcept;
    /// Copies the byte at position `ix` (0 = the oldest) into `OutByte` without removing it;
    /// false, `OutByte` unchanged, unless 0 <= `ix` < `CountBytes()`.
    bool SenseByte(std::int32_t ix, std::uint8_t& OutByte) const noexcept;
    /// The number of bytes held.
    std::int32_t CountBytes() const noexcept;
    /// Empties the queue (both indices 0).
    void Clear() noexcept;

  private:
    std::int32_t Advance(std::int32_t Index) const noexcept {
        return Index + 1 == FLength ? 0 : Index + 1;
    }
    bool Full() const noexcept { return CountBytes() == FLength - 1; }

    std::int32_t FInPoi = 0;
    std::int32_t FOutPoi = 0;
    std::int32_t FLength = 256;
    std::vector<std::uint8_t> FData;
};

}  // namespace qorkit
