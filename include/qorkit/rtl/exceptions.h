// The exception base class and the platform errors that the library raises or lets through.
#pragma once

#include <exception>
#include <string>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Base class of every exception Qorkit raises. Carries one message in 16-bit text;
/// `what()` gives the same message in UTF-8.
class Exception : public std::exception {
  public:
    explicit Exception(String message);
    /// Convenience for messages held in UTF-8 (or plain ASCII).
    explicit Exception(std::string_view utf8Message);

    /// The message as given to the constructor.
    const String& Message() const noexcept { return FMessage; }
    /// The message in UTF-8.
    const char* what() const noexcept override { return FUtf8.c_str(); }

  private:
    String FMessage;
    std::string FUtf8;
};

/// A value could not be converted (text to number, object to object in `Assign`, ...).
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

/// A text-file or untyped-file operation failed. `ErrorCode` follows the classic I/O result
/// numbering: 2 file not found, 3 path not found, 4 too many open files, 5 access denied,
/// 100 read past end of file, 101 disk write error, 102 file not assigned, 103 file not open,
/// 104 file not open for input, 105 file not open for output, 106 invalid numeric format;
/// other operating-system failures carry 1000 + errno.
class EInOutError : public Exception {
  public:
    EInOutError(int errorCode, String message);
    EInOutError(int errorCode, std::string_view utf8Message);
    int ErrorCode() const noexcept { return FErrorCode; }

  private:
    int FErrorCode;
};

/// Base class of the byte-stream errors.
class EStreamError : public Exception {
  public:
    using Exception::Exception;
};
/// A file could not be opened; the message names the file and the system's reason.
class EFOpenError : public EStreamError {
  public:
    using EStreamError::EStreamError;
};
/// A file could not be created; the message names the file and the system's reason.
class EFCreateError : public EStreamError {
  public:
    using EStreamError::EStreamError;
};
/// `ReadBuffer` got fewer bytes than requested, or the system reported a read error.
class EReadError : public EStreamError {
  public:
    using EStreamError::EStreamError;
};
/// `WriteBuffer` could not write every byte, or the system reported a write error.
class EWriteError : public EStreamError {
  public:
    using EStreamError::EStreamError;
};

/// Base class of the errors raised by `Variant` operations.
class EVariantError : public Exception {
  public:
    using Exception::Exception;
};
/// A `Variant` holds a value that cannot be converted to the requested type.
class EVariantTypeCastError : public EVariantError {
  public:
    using EVariantError::EVariantError;
};
/// A `Variant` conversion would lose the value's magnitude (integer out of range).
class EVariantOverflowError : public EVariantError {
  public:
    using EVariantError::EVariantError;
};
/// A variant-array index lies outside the array's bounds, or has the wrong dimension count.
class EVariantBadIndexError : public EVariantError {
  public:
    using EVariantError::EVariantError;
};
/// An invalid variant-array request: bad bounds, bad element type, not an array.
class EVariantArrayError : public EVariantError {
  public:
    using EVariantError::EVariantError;
};

/// Text of the operating system's message for `errno` value `err`, e.g. "No such file or
/// directory".
String SysErrorMessage(int err);

}  // namespace qorkit
