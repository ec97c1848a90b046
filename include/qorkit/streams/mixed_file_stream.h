// A file stream on which text lines, numbers as text and binary values mix in one file.
#pragma once

#include <cstdint>

#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// A `TFileStream` with text and binary helpers that all share the one file position, so
/// that lines, numbers written as text and binary values can be interleaved freely. Binary
/// layouts are those of `WriteDoubleToStream` and its relatives; text is 8-bit.
class TMixedFStream : public TFileStream {
  public:
    /// Opens `AFileName` with the open-mode word `Mode` exactly as `TFileStream` does (an
    /// `fm...` mode or-ed with at most one share flag). Raises `EFOpenError`, or
    /// `EFCreateError` with `fmCreate`, naming the file and the system's reason.
    TMixedFStream(const String& AFileName, std::uint16_t Mode);
    /// Writes pending bytes and closes the file (errors swallowed, as for `TFileStream`).
    ~TMixedFStream() override;

    using TFileStream::Read;
    using TFileStream::Write;

    /// True when the position is at or beyond the end of the file.
    bool Eos();

    /// Writes `AString` as `WriteStringStream` does. Raises `EWriteError` on failure.
    void Write(const String& AString);
    /// Writes `AString` followed by CR LF, as one text. Raises `EWriteError` on failure.
    void WriteLn(const String& AString);
    /// Writes 8 bytes of binary64.
    void WriteDouble(double aNum);
    /// Writes 4 bytes of little-endian two's complement.
    void WriteInteger(std::int32_t aNum);
    /// Writes one byte.
    void WriteByte(std::uint8_t aNum);

    /// Reads one line under the line-end rule `EOLMode` (see `eolLF`). Bytes of code 32 or
    /// above and tabs form the line; every other byte (CR and LF among them) is dropped and
    /// only tested against the rule, so the result never holds control characters other than
    /// tabs. The line also ends at the end of the file; use `Eos` to tell.
    /// Example: mode 1 over "ab\r\ncd\r" gives "ab", then "cd".
    String ReadLn(std::int32_t EOLMode);
    /// Reads a 10-byte extended image; short reads as `ReadExtendedFromStream`.
    long double ReadExtended(bool& error);
    /// Reads 8 bytes of binary64; short reads as `ReadExtendedFromStream`.
    double ReadDouble(bool& error);
    /// Reads one byte; at the end of the file `error` becomes true and the result is 0.
    std::uint8_t ReadByte(bool& error);
    /// Reads a 4-byte integer; short reads as `ReadExtendedFromStream`.
    std::int32_t ReadInteger(bool& error);
    /// `ScanStreamDecimal` on this file.
    std::int32_t ReadDecimal();
    /// `ScanStreamFPNum` on this file.
    double ReadFPNum(bool AllowExp, std::int32_t DecPChar);
};

}  // namespace qorkit
