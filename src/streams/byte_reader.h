// Byte-at-a-time reading from a stream without a system call or virtual call per byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "qorkit/rtl/stream.h"

namespace qorkit::detail {

/// Delivers the bytes of a stream one by one. On streams that can take back bytes cheaply
/// (memory streams and seekable file streams of the library's own classes) it reads blocks
/// ahead and seeks back over the unused rest in `GiveBack` or the destructor, so the caller's
/// position ends exactly after the last byte it took. Any other stream, including classes
/// derived by users, is read one byte per `Read` call and never ahead.
class ByteReader {
  public:
    explicit ByteReader(TStream& Stream);
    /// Gives back unused read-ahead; errors are swallowed (call `GiveBack` to see them).
    ~ByteReader();
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    /// The next byte, or -1 at the end of the stream.
    int Next() { return FPos < FLen ? FBuf[FPos++] : Refill(); }
    /// The bytes already read ahead and not yet taken (may be empty).
    const std::uint8_t* Ahead() const noexcept { return FBuf + FPos; }
    std::size_t AheadCount() const noexcept { return FLen - FPos; }
    /// Takes `n` (<= `AheadCount()`) read-ahead bytes.
    void Skip(std::size_t n) noexcept { FPos += n; }
    /// Reads ahead when the buffer is empty; returns the number of bytes now ahead (0 at the
    /// end of the stream, and always 0 on streams read byte by byte).
    std::size_t FillAhead();
    /// Moves the stream back over the bytes read ahead but not taken.
    void GiveBack();

  private:
    int Refill();

    TStream& FStream;
    std::size_t FPos = 0;
    std::size_t FLen = 0;
    std::size_t FChunk = 256;
    bool FReadsAhead;
    std::uint8_t FBuf[4096];
};

}  // namespace qorkit::detail
