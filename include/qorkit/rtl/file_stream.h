// Byte streams over operating-system files: THandleStream (a descriptor owned elsewhere) and
// TFileStream (a file opened by name), with the classic open-mode word.
#pragma once

#include <cstdint>
#include <memory>

#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

namespace detail {
class BufferedFd;
}

/// Open mode: create the file, or truncate it when it exists; the stream reads and writes.
/// May be combined with one share flag (`fmCreate | fmShareExclusive`).
inline constexpr std::uint16_t fmCreate = 0xFF00;
/// Open mode: open an existing file for reading only.
inline constexpr std::uint16_t fmOpenRead = 0x0000;
/// Open mode: open an existing file for writing only.
inline constexpr std::uint16_t fmOpenWrite = 0x0001;
/// Open mode: open an existing file for reading and writing.
inline constexpr std::uint16_t fmOpenReadWrite = 0x0002;

// Share flags. On POSIX they become advisory flock() locks, honoured only among Qorkit file
// streams and other flock users of the same file. fmShareCompat, fmShareDenyNone and, for a
// stream that only reads, fmShareDenyWrite take a shared lock; fmShareExclusive,
// fmShareDenyRead and fmShareDenyWrite on a stream that writes take an exclusive lock. So an
// exclusive open fails while any other stream has the file open, and every open fails while
// one holds it exclusively. flock cannot tell readers from writers, so a reader's
// fmShareDenyWrite does not keep out a writer that shares everything. A lock that cannot be
// had at once makes the open fail with EFOpenError (EFCreateError for fmCreate); file systems
// without lock support ignore the flags.

/// Share flag: classic compatibility mode (the default); a shared lock here.
inline constexpr std::uint16_t fmShareCompat = 0x0000;
/// Share flag: no other stream may have the file open.
inline constexpr std::uint16_t fmShareExclusive = 0x0010;
/// Share flag: others may read but not write (see above for what flock can enforce).
inline constexpr std::uint16_t fmShareDenyWrite = 0x0020;
/// Share flag: treated as fmShareExclusive, as flock cannot deny reading alone.
inline constexpr std::uint16_t fmShareDenyRead = 0x0030;
/// Share flag: others may read and write; a shared lock.
inline constexpr std::uint16_t fmShareDenyNone = 0x0040;

/// A buffered stream over a POSIX file descriptor that someone else owns.
///
/// Reads are served from a 64 KiB buffer and writes are collected in it, so transferring one
/// byte at a time costs no system call per byte. Pending writes go to the system when the
/// buffer fills, before a read, a seek to another position, `SetSize`, on `Flush` and in the
/// destructor. The descriptor's own offset is only brought in line with `Position()` by `Flush`
/// and the destructor. Descriptors that cannot seek (pipes, terminals) are read and written
/// in sequence; seeking them anywhere but to the current position raises `EStreamError`.
class THandleStream : public TStream {
  public:
    /// Wraps `AHandle` starting at its current offset; the descriptor is not closed by this
    /// stream. Raises `EStreamError` when the buffer cannot be allocated.
    explicit THandleStream(int AHandle);
    /// Writes pending bytes and leaves the descriptor's offset at `Position()`; errors are
    /// swallowed (call `Flush` first to see them).
    ~THandleStream() override;
    THandleStream(const THandleStream&) = delete;
    THandleStream& operator=(const THandleStream&) = delete;

    /// The wrapped descriptor.
    int Handle() const noexcept { return FHandle; }
    /// True when the descriptor can seek (a file); false for pipes and terminals, which can
    /// only be read and written in sequence.
    bool Seekable() const noexcept;

    /// Reads up to `Count` bytes; fewer only at the end of the file. Raises `EReadError` with
    /// the system's reason on a read error, `EWriteError` when pending bytes cannot be written.
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    /// Writes all `Count` bytes (buffered) and returns `Count`. Writing past the end leaves a
    /// zero-filled gap. Raises `EWriteError` with the system's reason when the system refuses
    /// bytes (which may be detected at a later call that flushes the buffer).
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    /// Moves the position; positions past the end are allowed. Raises `EStreamError` for a
    /// negative or overflowing target and on descriptors that cannot seek, `EWriteError` when
    /// pending bytes cannot be written (the position has moved even then).
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    /// Truncates or extends the file (with zeros) to `NewSize` bytes. Raises `EStreamError` for
    /// a negative size and `EWriteError` with the system's reason when the system refuses.
    void SetSize(std::int64_t NewSize) override;
    /// The file size including bytes still in the buffer. Raises `EStreamError` when the
    /// system cannot tell.
    std::int64_t Size() override;
    /// Writes pending bytes to the system and sets the descriptor's offset to `Position()`.
    /// Raises `EWriteError` with the system's reason on failure; the bytes are then lost.
    void Flush();

  protected:
    /// For derived streams: wraps `AHandle`, closing it in the destructor when `OwnsHandle`
    /// (also when this constructor fails). Error messages name `FileName` (the handle
    /// number when empty).
    THandleStream(int AHandle, bool OwnsHandle, const String& FileName);

  private:
    [[noreturn]] void RaiseReadError() const;
    [[noreturn]] void RaiseWriteError() const;

    std::unique_ptr<detail::BufferedFd> FBuffer;
    String FSubject;
    int FHandle;
    bool FOwnsHandle;
};

/// A buffered stream over a file opened by name; it owns the descriptor and closes it when
/// destroyed.
class TFileStream : public THandleStream {
  public:
    /// Opens `FileName` as `Mode` says (an `fm...` open mode, optionally or-ed with one share
    /// flag) at position 0. "\" in the name is taken as a path separator. Raises `EFOpenError`,
    /// or `EFCreateError` with `fmCreate`, naming the file and the system's reason, e.g.
    /// `Cannot open file "/x/y". No such file or directory`; an invalid mode word and a lock
    /// held by another stream raise the same classes.
    TFileStream(const String& FileName, std::uint16_t Mode);

    /// The name the stream was opened with.
    const String& FileName() const noexcept { return FFileName; }

  private:
    String FFileName;
};

}  // namespace qorkit
