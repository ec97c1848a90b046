// Points, rectangles, colours and the small enumerations of the platform's graphics layer.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace qorkit {

/// A point with integer coordinates.
struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

/// A rectangle given by its left, top, right and bottom edges.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

/// A colour: red in bits 0-7, green in bits 8-15, blue in bits 16-23; a non-zero top byte
/// marks a reference to a system colour.
using TColor = std::int32_t;

/// Horizontal alignment of text.
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
/// One style of a font; a font's styles form a set.
enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

/// A set of font styles.
class TFontStyles {
  public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> Styles) {
        for (const TFontStyle s : Styles)
            Include(s);
    }
    /// True when `Style` is in the set.
    constexpr bool Contains(TFontStyle Style) const noexcept {
        return ((FBits >> Style) & 1u) != 0;
    }
    constexpr TFontStyles& Include(TFontStyle Style) noexcept {
        FBits = static_cast<std::uint8_t>(FBits | (1u << Style));
        return *this;
    }
    constexpr TFontStyles& Exclude(TFontStyle Style) noexcept {
        FBits = static_cast<std::uint8_t>(FBits & ~(1u << Style));
        return *this;
    }
    constexpr bool Empty() const noexcept { return FBits == 0; }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

  private:
    std::uint8_t FBits = 0;
};

/// How a pen draws lines. The dashed styles apply to lines one pixel wide; wider pens and
/// `psInsideFrame` draw solid; `psClear` draws nothing.
enum TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
/// How a brush fills: solid in its colour, or not at all.
enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

}  // namespace qorkit
