// Canvas helpers: a bitmap sent to the printer, font sizes against the screen resolution,
// and the TrueType test.
#pragma once

#include <cstdint>

#include "qorkit/rtl/bitmap.h"
#include "qorkit/rtl/canvas.h"

namespace qorkit {

/// Copies `Bitmap` onto the printer's canvas with its top-left corner at (X, Y), one printer
/// pixel per bitmap pixel, through a device-independent copy that is released on every path.
/// The caller begins and ends the print job; outside a job nothing is drawn.
void PrintBitmap(const TBitmap& Bitmap, std::int32_t X, std::int32_t Y);

/// Sets the canvas font to `Size` points as the screen would show it: when the font's
/// resolution differs from the screen's, the pixel height is computed at the screen's
/// resolution and the font keeps its own `PixelsPerInch` value, so text on a printer canvas
/// has the pixel height it has on screen.
void SetCanvasFontSizeScaled(TCanvas& Canvas, std::int32_t Size);

/// True when the installed font family `FontName` has TrueType outlines (false for CFF,
/// Type 1 and bitmap fonts). Raises `EQORError` "Font "<name>" is not installed" when the
/// screen's font list does not hold the name (compared without regard to A-Z case).
bool FontIsTrueType(const String& FontName);

}  // namespace qorkit
