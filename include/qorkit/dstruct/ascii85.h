// ASCII85 (base-85, "z" for four zero bytes, "~>" end mark) between byte streams.
#pragma once

#include <cstdint>

#include "qorkit/rtl/stream.h"

namespace qorkit {

/// Encodes `Input` from its position to its end as ASCII85 and writes the text at `Output`'s
/// position, followed by "~>" (no opening "<~"). Four bytes become five digits "!" to "u",
/// four zero bytes become "z". A final group of n = 1 to 3 bytes is not padded: it becomes
/// n + 1 digits holding the plain big-endian value of those bytes, so `DecodeASCII85` is
/// needed to read it back. With `LineBreaks`, CR LF follows every twelfth digit group ("z"
/// groups are not counted). Stream errors pass through.
void EncodeASCII85(TStream& Input, TStream& Output, bool LineBreaks);

/// Decodes ASCII85 text from `Input`'s position up to "~>" or the end and writes the bytes at
/// `Output`'s position; CR and LF are skipped. A "z" at the start of a group gives four zero
/// bytes; a group of m = 2 to 5 digits gives m - 1 bytes (the low bytes of its value, in
/// 32-bit arithmetic); a single stray digit gives none. Decoding never stops early: it
/// returns 0 when all was well, otherwise -1 for a character outside "!" to "u" (blanks and
/// tabs included) or -2 for a "z" inside a group, whichever of the two came last.
std::int32_t DecodeASCII85(TStream& Input, TStream& Output);

}  // namespace qorkit
