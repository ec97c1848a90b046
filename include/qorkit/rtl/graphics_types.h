// Points, rectangles, colours and the small enumerations of the platform's graphics layer.
#pragma once

#include <cstdint>

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

}  // namespace qorkit
