// Data-point marks: 52 geometric symbols, the digits and any Latin-1 character.
#pragma once

#include <cstdint>
#include <memory>

#include "qorkit/rtl/bitmap.h"
#include "qorkit/rtl/canvas.h"

namespace qorkit {

/// Draws mark `Mark` centred on (X, Y) with the canvas's pen (colour and width).
///
/// Codes 0 to 51 are geometric marks (0 is one pixel; 1-6 plus and diagonal crosses, 7-9
/// filled squares, 10-12 square outlines, 13-15 and 19 diamonds, 16, 17, 24, 26-28 circles,
/// 18 a checkerboard, 20-23 chevrons, 25 a bold cross, 29-36 and 40-47 triangles, 37-39 and
/// 48-51 crossed symbols). Filled shapes take the pen colour as brush colour; open shapes are
/// drawn with a clear brush and leave the brush style solid; the brush colour is restored.
/// Marks 1-6 and 18 are 7 x 7 pixel glyphs on any canvas but the printer's, where they are
/// drawn with lines. Codes 200-209 draw the digits "0" to "9" and every other code from 52
/// up draws its Latin-1 character, centred, in the pen colour; they leave the font colour at
/// the pen colour and the brush clear. Any X and Y are safe: what falls outside the canvas is
/// clipped.
void DrawMarkOnCanvas(TCanvas& Canvas, std::uint8_t Mark, std::int32_t X, std::int32_t Y);

/// A new bitmap of (2 Margin + 7) pixels square, filled with `Background`, with mark `Mark`
/// drawn in `Color` at its centre. `Margin` is clamped to 0..255. The caller owns the bitmap.
std::unique_ptr<TBitmap> CreateMarkAsBitmap(std::uint8_t Mark, TColor Color, TColor Background,
                                            std::int32_t Margin);

}  // namespace qorkit
