// Binary values on byte streams, as little-endian memory images without header or padding.
#pragma once

#include <cstdint>

#include "qorkit/rtl/stream.h"

namespace qorkit {

/// Writes `X` as the 10-byte x87 extended image: 64-bit significand with an explicit integer
/// bit, then the 15-bit biased exponent and the sign in the last two bytes. Where the compiler's
/// `long double` has another layout the value is converted (rounded to 64 significant bits,
/// overflowing values become infinities). Raises what `WriteBuffer` raises.
void WriteExtendedToStream(TStream& Stream, long double X);
/// Writes `X` as 8 bytes of IEEE 754 binary64, little-endian. Raises what `WriteBuffer` raises.
void WriteDoubleToStream(TStream& Stream, double X);
/// Writes `X` as 4 bytes of IEEE 754 binary32, little-endian. Raises what `WriteBuffer` raises.
void WriteSingleToStream(TStream& Stream, float X);
/// Writes `X` as 4 bytes of two's complement, little-endian. Raises what `WriteBuffer` raises.
void WriteLongintToStream(TStream& Stream, std::int32_t X);

/// Reads a 10-byte x87 extended image (see `WriteExtendedToStream`). Never raises: when the
/// full width cannot be read (short stream or any stream error), `Error` becomes true and the
/// value is made of the bytes that did arrive over zero bytes; the position stands after the
/// bytes consumed. Otherwise `Error` becomes false.
long double ReadExtendedFromStream(TStream& Stream, bool& Error);
/// Reads 8 bytes of binary64; short reads as `ReadExtendedFromStream`.
double ReadDoubleFromStream(TStream& Stream, bool& Error);
/// Reads 4 bytes of binary32; short reads as `ReadExtendedFromStream`.
float ReadSingleFromStream(TStream& Stream, bool& Error);
/// Reads a 4-byte signed integer; short reads as `ReadExtendedFromStream`
/// (2 bytes 0x01 0x02 left give 0x0201 with `Error` true).
std::int32_t ReadLongintFromStream(TStream& Stream, bool& Error);

/// Stores `X` as the 10-byte x87 extended image into `Out` (see `WriteExtendedToStream`).
void ExtendedToBytes(long double X, std::uint8_t (&Out)[10]) noexcept;
/// The value of a 10-byte x87 extended image. Where `long double` has another layout, values
/// beyond its range become infinities and the x87 "unnormal" encodings become NaN.
long double BytesToExtended(const std::uint8_t (&In)[10]) noexcept;

}  // namespace qorkit
