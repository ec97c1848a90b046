// UU coding of strings in the classic uuencode format.
#pragma once

#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Encodes `s` as a complete uuencoded file that standard uudecode tools accept:
/// "begin 644 data", the data lines, a zero-length line "`" and "end", each ended by a line
/// feed. Each character is one byte (codes 0..255); a data line holds up to 45 bytes: a length
/// character (32 + count) and four characters per three bytes, the value 0 written as "`".
/// Raises `EQORStringlError` when `s` holds a character above 255 (it has no byte to encode).
/// Example: UUEncodeStr(u"Cat") == u"begin 644 data\n#0V%T\n`\nend\n".
String UUEncodeStr(std::u16string_view s);

/// Decodes uuencoded text back into a string of one character per byte (codes 0..255).
/// Accepts a complete file (lines before "begin" are skipped; decoding stops at the
/// zero-length line, an "end" line may follow) or bare data lines. Line ends may be LF or
/// CR LF; blank and "`" both stand for the value 0; characters after the ones that a line's
/// length character announces are ignored. Raises `EQORStringlError` naming the line for
/// malformed input: a character outside the range blank to "`", a line shorter than its
/// length character announces, a missing data line after "begin", a file cut off before its
/// zero-length or "end" line, or text after the zero-length line other than "end" and empty lines.
/// Never reads past the string.
String UUDecodeStr(std::u16string_view s);

}  // namespace qorkit
