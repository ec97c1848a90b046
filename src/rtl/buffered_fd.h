// A buffered byte file over a POSIX descriptor, shared by THandleStream, TextFile and
// TUntypedFile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qorkit::detail {

/// Buffered random-access I/O over a descriptor it does not own.
///
/// One buffer serves either reading or writing. Reading fills it with the bytes that follow
/// the position; writing collects bytes and sends them to the system when the buffer is full,
/// before any read, seek or resize, and on `Flush`. Seekable descriptors are accessed with
/// pread/pwrite at explicit offsets, so the descriptor's own offset is irrelevant until `Sync`
/// sets it; pipes, terminals and sockets are read and written sequentially and only accept a
/// seek to the current position. Requests of a buffer's size or more bypass the buffer.
///
/// Failures are reported by the return value (false or -1); `Error()` then holds the errno.
/// Callers turn that into the exception their own interface promises.
class BufferedFd {
  public:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    /// Starts at the descriptor's current offset. Allocates the buffer (may throw
    /// std::bad_alloc).
    explicit BufferedFd(int fd);
    BufferedFd(const BufferedFd&) = delete;
    BufferedFd& operator=(const BufferedFd&) = delete;

    int Fd() const noexcept { return FFd; }
    bool Seekable() const noexcept { return FSeekable; }
    /// errno of the last failure.
    int Error() const noexcept { return FError; }
    /// The logical position (bytes from the start of the file).
    std::int64_t Position() const noexcept { return FStart + static_cast<std::int64_t>(FIdx); }

    /// Reads up to `n` bytes; fewer only at the end of the file. Returns the count or -1.
    std::int64_t Read(void* dst, std::int64_t n);
    /// The next byte, -1 at the end of the file, -2 on a failure.
    int Get() { return FIdx < FLen ? FBuf[FIdx++] : SlowGet(); }
    /// Makes at least `want` (at most kBufferSize) bytes from the position available in
    /// `Data()`, unless the file ends first. Returns the number available (possibly more than
    /// `want`; 0 at the end of the file) or -1.
    std::int64_t Fill(std::size_t want);
    /// Number of read-ahead bytes at the position (0 while writes are pending).
    std::size_t Available() const noexcept { return FLen - FIdx; }
    /// True while written bytes wait in the buffer.
    bool Pending() const noexcept { return FMode == Writing; }
    /// The buffered bytes at the position; valid after `Fill` until the next other call.
    const std::uint8_t* Data() const noexcept { return FBuf.get() + FIdx; }
    /// Consumes `n` (<= `Available()`) bytes.
    void Advance(std::size_t n) noexcept { FIdx += n; }

    /// Writes all `n` bytes at the position (writing past the end leaves a zero-filled gap).
    /// Returns false on a failure; bytes not yet written are then discarded.
    bool Write(const void* src, std::int64_t n);
    /// Moves the position to `pos` (>= 0). Fails with ESPIPE for a seek on a pipe, or with
    /// the write error when pending bytes could not be written (the position moves anyway).
    bool Seek(std::int64_t pos);
    /// The file size, pending bytes included, or -1.
    std::int64_t Size();
    /// Truncates or extends (with zeros) the file to `n` bytes; the position moves back to
    /// `n` if it lay beyond.
    bool SetSize(std::int64_t n);
    /// Writes the pending bytes. The read-ahead, if any, is kept.
    bool Flush();
    /// `Flush`, then sets the descriptor's offset to the logical position (seekable
    /// descriptors only), so that others using the descriptor continue where this left off.
    bool Sync();

  private:
    enum Mode : std::uint8_t { Idle, Reading, Writing };

    int SlowGet();
    std::int64_t SysRead(std::int64_t offset, std::uint8_t* dst, std::size_t n);
    std::int64_t SysReadFull(std::int64_t offset, std::uint8_t* dst, std::int64_t n);
    bool SysWriteAll(std::int64_t offset, const std::uint8_t* src, std::int64_t n);
    void GoIdle(std::int64_t pos) noexcept;

    // The buffer covers file bytes [FStart, FStart + FLen); the position is FStart + FIdx.
    // Reading: FIdx <= FLen. Writing: the buffer holds pending bytes and FIdx == FLen.
    // Idle: FIdx == FLen == 0.
    std::unique_ptr<std::uint8_t[]> FBuf;
    std::int64_t FStart = 0;
    std::size_t FIdx = 0;
    std::size_t FLen = 0;
    int FFd;
    int FError = 0;
    Mode FMode = Idle;
    bool FSeekable = true;
};

}  // namespace qorkit::detail
