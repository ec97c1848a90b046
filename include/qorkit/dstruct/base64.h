// Base64 (RFC 4648 standard alphabet, "=" padding) between byte streams.
#pragma once

#include <cstdint>

#include "qorkit/rtl/stream.h"

namespace qorkit {

/// Encodes `Input` from its position to its end as Base64 and writes the text at `Output`'s
/// position. The text comes in lines of 60 characters (45 input bytes); with `LineBreaks` each
/// line, the last shorter one included, ends in CR LF, otherwise the lines run on. A final
/// group of one or two bytes is padded with "==" or "=". Empty input writes nothing. Stream
/// errors (`EReadError`, `EWriteError`, ...) pass through.
void EncodeBase64(TStream& Input, TStream& Output, bool LineBreaks);

/// Decodes Base64 text from `Input`'s position to its end and writes the bytes at `Output`'s
/// position. CR and LF are skipped wherever they stand. Returns 0, or -1 at the first group of
/// four holding a character outside "+" to "z"; the text is taken in blocks of 88 characters
/// and the bytes of the block holding the bad group are then not written (earlier blocks are).
/// Characters inside that range that are not in the alphabet count as the value 127 rather
/// than failing, and "=" ends only its own group (two bytes after "x=", one after "xx=").
/// A last group cut short by the end of the text decodes as if padded with "=": three
/// characters give two bytes, two give one, and a lone character gives none (six bits cannot
/// form a byte).
std::int32_t DecodeBase64(TStream& Input, TStream& Output);

/// Names the Base64 path the coders take on this processor: "avx512-vbmi", "avx2" or
/// "scalar". Every path writes the same bytes and reports the same errors.
const char* Base64Implementation() noexcept;

}  // namespace qorkit
