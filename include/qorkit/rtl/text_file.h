// TextFile: the classic line-oriented 8-bit text file variable.
#pragma once

#include <concepts>
#include <cstdint>

#include "qorkit/rtl/file_variable.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// A text file in Windows-1252, read and written through an internal 64 KiB buffer, so that
/// reading character by character is cheap.
///
/// Use: `Assign` a name, open with `Reset` (read), `Rewrite` (create or truncate, write) or
/// `Append` (write at the end), transfer text, `Close`. Lines end in CR LF when written; when
/// read, a line ends at LF or CR LF, a CR on its own is ordinary text, and the last line may
/// lack an end. Ctrl-Z in the data is ordinary text too. "\" in file names is taken as a
/// path separator.
///
/// Every failure raises `EInOutError` whose message names the file and, for system failures,
/// the system's reason. Codes: 2 file not found, 3 path not found, 4 too many open files,
/// 5 access denied, 100 read past end of file, 101 disk write error, 102 not assigned,
/// 103 not open, 104 not open for input, 105 not open for output, 106 invalid numeric format,
/// 1000 + errno for other system failures (1000 + EBUSY for erasing or renaming an open file).
///
/// Not copyable. The destructor closes an open file, writing pending text; errors there are
/// swallowed, so call `Close` to see them.
class TextFile : public TFileVariable {
  public:
    /// Opens the existing file for reading from its start (closing it first when open).
    void Reset();
    /// Creates the file, or empties an existing one, and opens it for writing.
    void Rewrite();
    /// Opens the existing file for writing after its last byte.
    void Append();

    /// True when no character is left to read. Raises 104 on a file open for writing.
    bool Eof();
    /// True at the end of a line (the next characters are LF or CR LF) or of the file.
    bool Eoln();
    /// Reads the rest of the current line without its end and moves to the next line. At the
    /// end of the file it returns an empty string (no error).
    String ReadLn();
    /// As `ReadLn`, into `Line`, whose storage is reused: reading many lines this way does
    /// not allocate per line.
    void ReadLn(String& Line);
    /// Reads one character; CR and LF are delivered like any other. At the end of the file it
    /// returns Char 26 (Ctrl-Z), the classic end-of-file mark, without raising and without
    /// moving.
    Char ReadChar();
    /// Reads a 32-bit integer: skips blanks, tabs and line ends, then takes an optional sign
    /// and decimal digits up to the next blank, tab, line end or the end of the file. Raises
    /// 106 when that text is not a number in range, 100 when only blanks and line ends were
    /// left. The character after the number is not consumed.
    std::int32_t ReadInteger();
    /// As `ReadInteger` for the 64-bit range.
    std::int64_t ReadInt64();

    /// Writes `S` encoded as Windows-1252 (unmappable characters become '?').
    void Write(const String& S);
    /// Writes `Value` in decimal, right-aligned in `Width` characters (never cut).
    void Write(std::int64_t Value, std::int32_t Width = 0);
    /// Writes `X` as `StrReal(X, Width, Decimals)` does: fixed with `Decimals` places, or the
    /// exponent form for a negative `Decimals`.
    void Write(long double X, std::int32_t Width, std::int32_t Decimals);
    /// A floating-point value needs a width and a number of decimals; this overload stops it
    /// from silently turning into an integer.
    template <std::floating_point F>
    void Write(F, std::int32_t = 0) = delete;
    /// Writes a line end, CR LF.
    void WriteLn();
    /// Writes `S` and a line end.
    void WriteLn(const String& S);
    /// Sends pending text to the system. Raises 105 when not open for writing, 101 when the
    /// system refuses the bytes.
    void Flush();
};

}  // namespace qorkit
