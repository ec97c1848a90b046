// The state shared by the classic file variables (TextFile, TUntypedFile): the assigned name,
// the open descriptor with its buffer, the open direction, and the error reporting with
// classic I/O result codes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "buffered_fd.h"
#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Directions a file variable can be open for.
enum class FileAccess : std::uint8_t { Closed, Input, Output, InOut };

/// One assigned file variable. Every failure raises EInOutError with a message that names
/// the file.
class FileVar {
  public:
    explicit FileVar(String name);
    /// Closes the file if open, writing pending bytes; errors are swallowed.
    ~FileVar();
    FileVar(const FileVar&) = delete;
    FileVar& operator=(const FileVar&) = delete;

    const String& Name() const noexcept { return FName; }
    bool IsOpen() const noexcept { return FIo != nullptr; }
    FileAccess Access() const noexcept { return FAccess; }

    /// Opens the file with the open(2) `flags` for `access`, closing it first when open.
    /// `atEnd` starts at the end of the file. `create` selects the "Cannot create" wording.
    void Open(int flags, FileAccess access, bool create, bool atEnd);
    /// Writes pending bytes and closes. Raises 103 when not open.
    void Close();
    /// Closes without raising.
    void CloseQuietly() noexcept;

    /// The open file; raises 103 when closed.
    BufferedFd& RequireOpen();
    /// The open file; raises 103 when closed and 104 when not open for reading.
    BufferedFd& RequireInput();
    /// The open file; raises 103 when closed and 105 when not open for writing.
    BufferedFd& RequireOutput();

    /// Deletes the file from disk; it must be closed.
    void Erase();
    /// Renames the file on disk to `NewName`, refusing to replace an existing file, and
    /// assigns the variable to the new name; it must be closed.
    void Rename(const String& NewName);

    /// Raises EInOutError `code` with `message`.
    [[noreturn]] void Fail(int code, const String& message) const;
    /// Raises the error of a failed read (the buffer's errno).
    [[noreturn]] void FailRead() const;
    /// Raises 101, disk write error, with the buffer's errno.
    [[noreturn]] void FailWrite() const;
    /// Raises 100, read past end of file.
    [[noreturn]] void FailPastEnd() const;
    /// `Name()` in quotes, for messages.
    String QuotedName() const;

  private:
    [[noreturn]] void FailSys(const char16_t* action, int err) const;

    String FName;
    std::string FPath;
    std::unique_ptr<BufferedFd> FIo;
    int FFd = -1;
    FileAccess FAccess = FileAccess::Closed;
};

/// Raises 102, file not assigned.
[[noreturn]] void FailNotAssigned();

}  // namespace qorkit::detail
