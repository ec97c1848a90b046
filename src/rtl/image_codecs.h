// BMP and PNG encoding and decoding of pixel surfaces. Decoders check every size against the
// bitmap limits and the bytes at hand before they allocate or read.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qorkit/rtl/canvas.h"

namespace qorkit::detail {

/// Raises `EInvalidGraphic` when a decoded image of `w` x `h` would exceed the bitmap limits.
void CheckImageSize(std::int64_t w, std::int64_t h);

/// True when `bytes` start with the PNG signature.
bool IsPng(std::span<const std::uint8_t> bytes);
/// True when `bytes` start with "BM".
bool IsBmp(std::span<const std::uint8_t> bytes);

/// Decodes a BMP file; raises `EInvalidGraphic` naming what is wrong.
TPixelSurface DecodeBmp(std::span<const std::uint8_t> bytes);
/// A 32-bit uncompressed bottom-up BMP file of `s` (96 pixels per inch).
std::vector<std::uint8_t> EncodeBmp(const TPixelSurface& s);

/// Decodes a PNG file through libpng; transparency is composited over white.
TPixelSurface DecodePng(std::span<const std::uint8_t> bytes);
/// An 8-bit RGB PNG file of `s`.
std::vector<std::uint8_t> EncodePng(const TPixelSurface& s);

}  // namespace qorkit::detail
