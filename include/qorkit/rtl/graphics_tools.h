// The drawing tools of a canvas (pen, brush, font), the graphics errors of the platform layer,
// and the resolution of system colour references.
#pragma once

#include <cstdint>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/graphics_types.h"
#include "qorkit/rtl/objects.h"

namespace qorkit {

/// An image file or image data that cannot be read: bad signature, truncated data, an
/// unsupported variant of the format, or dimensions beyond the bitmap limits.
class EInvalidGraphic : public Exception {
  public:
    using Exception::Exception;
};
/// A graphics operation that cannot be carried out: a bitmap size that is negative or too
/// large, a font that cannot be loaded.
class EInvalidGraphicOperation : public Exception {
  public:
    using Exception::Exception;
};

/// The colour a canvas paints for `Color`, as red + 256 green + 65536 blue (top byte 0).
/// A plain colour keeps its low 24 bits. A system colour reference (top byte FF, low byte the
/// system colour index 0..30) takes the colour of the classic light desktop scheme (window
/// white, window text black, button face silver, button shadow grey, highlight navy, ...);
/// any other value with a non-zero top byte paints black.
std::uint32_t ResolveSystemColor(TColor Color) noexcept;

/// The pen that draws lines and outlines: colour, width in pixels and style.
class TPen : public TPersistent {
  public:
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor Value);
    /// Width in pixels; values below 1 count as 1.
    std::int32_t Width() const noexcept { return FWidth; }
    void SetWidth(std::int32_t Value);
    TPenStyle Style() const noexcept { return FStyle; }
    void SetStyle(TPenStyle Value);
    /// Copies colour, width and style from another `TPen`; other sources raise
    /// `EConvertError`. Fires `OnChange` once.
    void Assign(const TPersistent* Source) override;
    /// Fired after every change.
    TNotifyEvent OnChange;

  private:
    void Changed();
    TColor FColor = 0;
    std::int32_t FWidth = 1;
    TPenStyle FStyle = psSolid;
};

/// The brush that fills shapes and the background of text: colour and style.
class TBrush : public TPersistent {
  public:
    /// Initially white.
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const noexcept { return FStyle; }
    void SetStyle(TBrushStyle Value);
    /// Copies colour and style from another `TBrush`; other sources raise `EConvertError`.
    void Assign(const TPersistent* Source) override;
    TNotifyEvent OnChange;

  private:
    void Changed();
    TColor FColor = 0xFFFFFF;
    TBrushStyle FStyle = bsSolid;
};

/// A font: family name, size, colour, styles and the resolution its size refers to.
///
/// The pixel height is the stored quantity. `SetSize(points)` sets
/// `Height = -MulDiv(points, PixelsPerInch, 72)` (negative: the em height without internal
/// leading) and `Size()` reads back `-MulDiv(Height, 72, PixelsPerInch)`, both rounding halves
/// away from zero; changing `PixelsPerInch` keeps the height in pixels. A new font is
/// "DejaVu Sans", 8 points at the screen's 96 pixels per inch (height -11), black, plain.
class TFont : public TPersistent {
  public:
    TFont();
    const String& Name() const noexcept { return FName; }
    /// The family name, looked up through fontconfig when text is drawn; a family that is not
    /// installed is drawn with fontconfig's nearest match.
    void SetName(const String& Value);
    /// Size in points, derived from `Height` and `PixelsPerInch`.
    std::int32_t Size() const noexcept;
    /// Sets the height for `Value` points at the font's current `PixelsPerInch`.
    void SetSize(std::int32_t Value);
    /// Height in pixels: negative for the em height, positive for the cell height (em plus
    /// internal leading), as the classic font mapper reads it. Clamped to -16384..16384.
    std::int32_t Height() const noexcept { return FHeight; }
    void SetHeight(std::int32_t Value);
    /// Resolution that `Size` refers to; values below 1 count as 1.
    std::int32_t PixelsPerInch() const noexcept { return FPixelsPerInch; }
    void SetPixelsPerInch(std::int32_t Value);
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const noexcept { return FStyle; }
    void SetStyle(TFontStyles Value);
    /// Copies name, colour, styles and the size in points from another `TFont`; this font
    /// keeps its own `PixelsPerInch`, so the copy has the same point size on its own device.
    /// Other sources raise `EConvertError`. Fires `OnChange` once.
    void Assign(const TPersistent* Source) override;
    TNotifyEvent OnChange;

  private:
    void Changed();
    String FName;
    std::int32_t FHeight = -11;
    std::int32_t FPixelsPerInch = 96;
    TColor FColor = 0;
    TFontStyles FStyle;
};

/// a * b / c rounded to the nearest integer, halves away from zero, computed without
/// overflow; 0 when c is 0 and the result saturated to the 32-bit range.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) noexcept;

}  // namespace qorkit
