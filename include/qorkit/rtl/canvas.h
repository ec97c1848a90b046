// TCanvas: pen, brush and font drawing on a block of 32-bit pixels, pixel-exact and clipped.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qorkit/rtl/graphics_tools.h"

namespace qorkit {

/// The pixels a canvas draws on: `Width` x `Height` values, rows from top to bottom, each
/// pixel red + 256 green + 65536 blue (the layout of `TColor`, top byte 0).
struct TPixelSurface {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint32_t> Pixels;
};

/// What the text metrics of a font on a canvas report (pixels).
struct TTextMetric {
    std::int32_t Height = 0;           ///< ascent + descent: the height of one line of text
    std::int32_t Ascent = 0;           ///< from the top of the cell to the baseline
    std::int32_t Descent = 0;          ///< from the baseline to the bottom of the cell
    std::int32_t InternalLeading = 0;  ///< cell height minus the em height
    std::int32_t AveCharWidth = 0;     ///< advance of "x"
    /// Bit 0: variable pitch; bit 1: scalable outlines; bit 2 (value 4): TrueType outlines.
    std::uint8_t PitchAndFamily = 0;
};

/// A drawing surface with a pen, a brush and a font.
///
/// Coordinates are integer pixels, x to the right and y downwards; any 32-bit coordinate is
/// accepted and drawing is clipped to the surface, so nothing outside it is ever touched and
/// the cost is bounded by the visible part. There is no anti-aliasing: every operation sets
/// whole pixels to the pen, brush or font colour. Conventions: a line from A to B covers A but
/// not B; a rectangle or ellipse (x1, y1, x2, y2) covers x1..x2-1 and y1..y2-1 (corners given
/// in any order). A canvas without a surface (or over an empty one) draws nothing and reports
/// -1 for every pixel.
class TCanvas : public TPersistent {
  public:
    /// A canvas over `Surface` (may be null; not owned); its font refers to `PixelsPerInch`.
    explicit TCanvas(TPixelSurface* Surface = nullptr, std::int32_t PixelsPerInch = 96);

    TPen& Pen() noexcept { return FPen; }
    TBrush& Brush() noexcept { return FBrush; }
    TFont& Font() noexcept { return FFont; }
    const TPen& Pen() const noexcept { return FPen; }
    const TBrush& Brush() const noexcept { return FBrush; }
    const TFont& Font() const noexcept { return FFont; }

    /// The pen position that `LineTo` starts from.
    TPoint PenPos() const noexcept { return FPenPos; }
    /// Moves the pen without drawing; restarts the dash pattern.
    void MoveTo(std::int32_t X, std::int32_t Y);
    /// A line from the pen position to (X, Y), without (X, Y) itself, in the pen's colour,
    /// width and style; the pen ends at (X, Y). A wider pen stamps a Width x Width square
    /// (centred, extra pixel right and down) on every pixel of the thin line.
    void LineTo(std::int32_t X, std::int32_t Y);
    /// Lines through `Points` in order (each end point except the last is covered by the next
    /// line, the last one is not).
    void Polyline(std::span<const TPoint> Points);
    /// Fills x1..x2-1, y1..y2-1 with the brush (unless clear) and draws the outline on the
    /// border pixels with the pen: one pixel wide through the pen's line style, a wider pen as
    /// a solid band of its width inside the rectangle.
    void Rectangle(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    /// Fills the rectangle with the brush colour, whatever the brush style; no outline.
    void FillRect(const TRect& R);
    /// The ellipse inscribed in x1..x2-1, y1..y2-1: the pixels whose centres lie inside or on
    /// the ellipse through the box's edges are filled with the brush (unless clear); the
    /// outline is every filled pixel within pen-width steps (4-connected) of a pixel outside,
    /// drawn solid in the pen's colour (nothing for `psClear`).
    void Ellipse(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);
    /// A closed polygon, its vertices at pixel centres. The fill (brush, unless clear) takes
    /// the even-odd rule row by row: an edge crosses the rows from its upper end down to just
    /// above its lower end, and the pixels from each left crossing to the next right crossing
    /// are filled, both ends included. Then the closing polyline is drawn with the pen, which
    /// covers the boundary. Fewer than two points draw nothing.
    void Polygon(std::span<const TPoint> Points);
    /// Colour of pixel (X, Y), or -1 when it lies outside the surface.
    TColor Pixels(std::int32_t X, std::int32_t Y) const noexcept;
    /// Sets pixel (X, Y) to `Color`; ignored outside the surface.
    void SetPixel(std::int32_t X, std::int32_t Y, TColor Color) noexcept;

    /// Writes `Text` with its cell's top-left corner at (X, Y) in the font's colour; with a
    /// solid brush the cell (TextWidth x TextHeight) is first filled with the brush colour.
    /// Glyphs come from FreeType in monochrome (no anti-aliasing); underline and strike-out
    /// are solid bars. Raises `EInvalidGraphicOperation` when no font can be loaded at all.
    void TextOut(std::int32_t X, std::int32_t Y, const String& Text);
    /// Sum of the glyph advances of `Text` in pixels (no kerning), as `TextOut` places them.
    std::int32_t TextWidth(const String& Text);
    /// Height of a line of text in the current font (ascent + descent), whatever `Text` holds.
    std::int32_t TextHeight(const String& Text);
    /// Width and height of `Text` as `TextWidth` and `TextHeight`.
    TPoint TextExtent(const String& Text);
    /// Metrics of the current font at its height on this canvas.
    TTextMetric GetTextMetrics();

    /// Copies a Width x Height block of pixels (rows top to bottom, layout of
    /// `TPixelSurface`) into `Dest`, scaled to its size by nearest pixel centres (a plain
    /// copy; a destination given right to left or bottom to top mirrors the image).
    /// `Pixels` must hold at least Width x Height values; nothing is drawn otherwise.
    void StretchPixels(const TRect& Dest, std::span<const std::uint32_t> Pixels, std::int32_t Width,
                       std::int32_t Height);

    /// Width and height of the surface (0 without one).
    std::int32_t SurfaceWidth() const noexcept { return FSurface ? FSurface->Width : 0; }
    std::int32_t SurfaceHeight() const noexcept { return FSurface ? FSurface->Height : 0; }
    /// Points the canvas at another surface (may be null); tools and pen position stay.
    void SetSurface(TPixelSurface* Surface) noexcept { FSurface = Surface; }

    /// Copies pen, brush and font settings and the pen position from another `TCanvas`.
    void Assign(const TPersistent* Source) override;

  private:
    void StrokeLine(TPoint A, TPoint B);
    TPixelSurface* FSurface;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TPoint FPenPos;
    std::int64_t FDashPhase = 0;
};

}  // namespace qorkit
