#include "qorkit/graphics/canvas_helpers.h"

#include <limits>

#include "qorkit/core/errors.h"
#include "qorkit/rtl/printer.h"
#include "qorkit/rtl/screen.h"

namespace qorkit {

void PrintBitmap(const TBitmap& Bitmap, std::int32_t X, std::int32_t Y) {
    // The device-independent copy is released when it goes out of scope, whatever happens.
    const TDIB dib = Bitmap.GetDIB();
    const std::int64_t right = static_cast<std::int64_t>(X) + dib.Width;
    const std::int64_t bottom = static_cast<std::int64_t>(Y) + dib.Height;
    if (right > std::numeric_limits<std::int32_t>::max() ||
        bottom > std::numeric_limits<std::int32_t>::max())
        return;  // entirely beyond any page
    Printer().Canvas().StretchPixels(
        {X, Y, static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)}, dib.Pixels,
        dib.Width, dib.Height);
}

void SetCanvasFontSizeScaled(TCanvas& Canvas, std::int32_t Size) {
    TFont& font = Canvas.Font();
    const std::int32_t screenPpi = Screen().PixelsPerInch();
    if (font.PixelsPerInch() == screenPpi) {
        font.SetSize(Size);
        return;
    }
    const std::int32_t own = font.PixelsPerInch();
    font.SetPixelsPerInch(screenPpi);
    font.SetSize(Size);
    font.SetPixelsPerInch(own);
}

bool FontIsTrueType(const String& FontName) {
    if (Screen().Fonts().IndexOf(FontName) < 0)
        throw EQORError(u"Font \"" + FontName + u"\" is not installed");
    TBitmap probe;  // a canvas compatible with the screen
    probe.Canvas().Font().SetName(FontName);
    return (probe.Canvas().GetTextMetrics().PitchAndFamily & 4) != 0;
}

}  // namespace qorkit
