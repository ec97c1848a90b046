// 8-bit text and lines on any byte stream, and whole-stream readers.
#pragma once

#include <cstdint>

#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Line-end rules for `ReadLnStream` and `TMixedFStream::ReadLn`.
/// 0: LF ends a line; 1: CR; 2: CR or LF; 3: CR right after LF; 4: LF right after CR
/// (the usual CR LF). Any other value never ends a line: it runs to the end of the stream.
/// "Right after" refers to the byte read just before within the same call.
inline constexpr std::int32_t eolLF = 0;
/// See `eolLF`.
inline constexpr std::int32_t eolCR = 1;
/// See `eolLF`.
inline constexpr std::int32_t eolCROrLF = 2;
/// See `eolLF`.
inline constexpr std::int32_t eolLFCR = 3;
/// See `eolLF`.
inline constexpr std::int32_t eolCRLF = 4;

/// Writes the characters of `S` as bytes, each its low 8 bits (U+0141 becomes 0x41); no
/// length, no terminator, no code-page conversion. The bytes are packed into a 4096-byte block
/// and passed to `WriteBuffer` block by block, the remainder last. Raises what `WriteBuffer`
/// raises (`EWriteError`).
void WriteStringStream(TStream& Stream, const String& S);

/// `WriteStringStream(S)` followed by the two bytes CR LF. Raises what `WriteBuffer` raises.
void WriteLnStream(TStream& Stream, const String& S);

/// Reads one line of 8-bit text (each byte becomes the character with the same code) under
/// the line-end rule `EOLMode` (see `eolLF`). When the line ends by the rule, at most two
/// trailing CR or LF characters are removed from the result, whatever the mode. When the
/// stream ends first, the text read so far is returned as it is and `EndOfStream` becomes
/// true; a line that ends by the rule leaves it false even when it is the last one, so the
/// next call returns "" with the flag true. Never reads past the line end; never raises for
/// the end of the data (a failing stream's own errors pass through).
/// Example: mode 4 over "ab\r\ncd" gives "ab" (flag false), then "cd" (flag true).
String ReadLnStream(TStream& Stream, bool& EndOfStream, std::int32_t EOLMode);

/// Advances past the next byte equal to `B`. Returns true with the position just after it,
/// or false with the position at the end of the stream.
bool FindInStream(TStream& Stream, std::uint8_t B);

/// The rest of the stream read as UTF-16LE text in blocks of 256 bytes: each block of n bytes
/// gives n div 2 characters and an odd last byte of a block is dropped. No byte-order mark
/// handling. Reading stops after the first block shorter than 256 bytes.
String StreamAsString(TStream& Stream);

/// The rest of the stream, one character per byte (U+0000 to U+00FF). The position is left at
/// the end.
String StreamAsByteString(TStream& Stream);

/// The number of LF bytes in the rest of the stream: a last line without LF is not counted
/// and a CR alone is no line end. More than 2^31 - 1 lines give 2^31 - 1. The position is left
/// at the end.
std::int32_t CountLinesInStream(TStream& Stream);

}  // namespace qorkit
