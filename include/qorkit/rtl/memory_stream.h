// Byte streams held in memory: TMemoryStream and its 8-bit text flavour TStringStream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// A stream whose bytes live in one contiguous block of memory.
///
/// Writing past the end extends the stream; seeking past the end is allowed and a later write
/// fills the gap with zeros, while a read there delivers nothing. Growth is geometric, so a
/// sequence of appends costs amortised constant time per byte. When memory runs out while the
/// stream grows, `EStreamError` "Out of memory while expanding memory stream" is raised and the
/// stream keeps its previous contents.
class TMemoryStream : public TStream {
  public:
    TMemoryStream() = default;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    /// The first byte of the contents (null while nothing was ever allocated). Valid until the
    /// next call that changes the size.
    void* Memory() noexcept { return FData.data(); }
    /// Read-only view of the first byte of the contents.
    const void* Memory() const noexcept { return FData.data(); }

    /// Copies up to `Count` bytes from the position; fewer at the end, none past it.
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    /// Copies `Count` bytes in at the position, extending the stream as needed; returns
    /// `Count`. Raises `EStreamError` when memory runs out.
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    /// Moves the position; past the end is allowed. Raises `EStreamError` for a negative or
    /// overflowing target.
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    /// Sets the size; new bytes are zero and the position moves back to the end if it lay
    /// beyond. Shrinking keeps the allocated block. Raises `EStreamError` for a negative size
    /// or when memory runs out.
    void SetSize(std::int64_t NewSize) override;
    /// The number of bytes held.
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }

    /// Empties the stream, releases its memory and rewinds it.
    void Clear() noexcept;
    /// Replaces the contents with all of `Stream` (read from its beginning) and rewinds.
    /// Raises `EReadError` when `Stream` delivers less than its size, `EStreamError` when
    /// memory runs out; the stream is empty after a failure.
    void LoadFromStream(TStream& Stream);
    /// Writes the whole contents to `Stream` at its position; this stream's position is kept.
    void SaveToStream(TStream& Stream) const;
    /// Replaces the contents with those of file `FileName` and rewinds. The file is opened
    /// with fmShareDenyWrite. Raises `EFOpenError` naming the file and the system's reason, or
    /// `EReadError`.
    void LoadFromFile(const String& FileName);
    /// Writes the whole contents to file `FileName`, replacing it. Raises `EFCreateError`
    /// naming the file and the system's reason, or `EWriteError`.
    void SaveToFile(const String& FileName) const;

  protected:
    /// The contents, for derived classes that need them without a position change.
    const std::vector<std::uint8_t>& Bytes() const noexcept { return FData; }

  private:
    // Makes room for `NewSize` bytes (new bytes are zero), growing the block geometrically.
    void Resize(std::int64_t NewSize);

    std::vector<std::uint8_t> FData;
    std::int64_t FPosition = 0;
};

/// A memory stream over 8-bit text in Windows-1252.
class TStringStream : public TMemoryStream {
  public:
    /// An empty stream.
    TStringStream() = default;
    /// A stream holding `AString` encoded as Windows-1252 (unmappable characters become '?'),
    /// positioned at 0.
    explicit TStringStream(const String& AString);
    /// A stream holding the bytes of `Bytes` as they are, positioned at 0.
    explicit TStringStream(const std::string& Bytes);

    /// All bytes of the stream decoded from Windows-1252, whatever the position.
    String DataString() const;
    /// All bytes of the stream as they are.
    std::string DataBytes() const;
    /// Reads up to `Count` bytes from the position and decodes them; shorter at the end,
    /// empty for `Count` <= 0.
    String ReadString(std::int64_t Count);
    /// Writes `AString` encoded as Windows-1252 at the position.
    void WriteString(const String& AString);
};

}  // namespace qorkit
