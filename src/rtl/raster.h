// Pixel-exact rasterisation shared by the canvas: clipped spans, line stepping, ellipse rows
// and polygon rows. All arithmetic is exact for any 32-bit coordinates.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "qorkit/rtl/canvas.h"

namespace qorkit::detail {

__extension__ using Int128 = __int128;
__extension__ using UInt128 = unsigned __int128;

/// Sets pixels x0..x1 (inclusive) of row y to `pixel`, clipped to the surface.
inline void FillSpan(TPixelSurface& s, std::int64_t y, std::int64_t x0, std::int64_t x1,
                     std::uint32_t pixel) {
    if (y < 0 || y >= s.Height) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, s.Width - 1);
    if (x0 > x1) return;
    std::uint32_t* row = s.Pixels.data() + static_cast<std::size_t>(y) * s.Width;
    std::fill(row + x0, row + x1 + 1, pixel);
}

/// Sets the pixels x0..x1, y0..y1 (inclusive), clipped to the surface.
inline void FillBox(TPixelSurface& s, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                    std::int64_t y1, std::uint32_t pixel) {
    y0 = std::max<std::int64_t>(y0, 0);
    y1 = std::min<std::int64_t>(y1, s.Height - 1);
    for (std::int64_t y = y0; y <= y1; ++y)
        FillSpan(s, y, x0, x1, pixel);
}

/// An inclusive box of pixel coordinates.
struct ClipBox {
    std::int64_t X0, Y0, X1, Y1;
};

/// Walks the pixels of the line from A towards B (B excluded) that lie in `clip`, calling
/// `visit(i, x, y)` with the step number i (0 at A) in increasing order. Step i lies at
/// i along the major axis and floor((2 i |minor| + n) / 2n) along the minor one, n being the
/// number of steps, so a tie rounds towards B. A line of length 0 visits nothing.
void WalkLine(TPoint A, TPoint B, const ClipBox& clip,
              void (*visit)(void* ctx, std::int64_t i, std::int64_t x, std::int64_t y), void* ctx);

template <class F>
void WalkLine(TPoint A, TPoint B, const ClipBox& clip, F&& f) {
    WalkLine(
        A, B, clip,
        [](void* ctx, std::int64_t i, std::int64_t x, std::int64_t y) {
            (*static_cast<F*>(ctx))(i, x, y);
        },
        &f);
}

/// The inclusive column span [Left, Right] of row `y` of the ellipse inscribed in the box
/// x1..x2-1, y1..y2-1 (x1 < x2, y1 < y2): the pixels whose centres lie inside or on the
/// ellipse. Empty (Left > Right) outside it.
struct Span {
    std::int64_t Left = 1;
    std::int64_t Right = 0;
    bool Empty() const { return Left > Right; }
};
Span EllipseRow(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, std::int64_t y);

/// The fill spans of row `y` of the polygon (even-odd rule over pixel centres, edges from
/// their upper end to just above their lower end, crossings included), appended to `out`.
void PolygonRow(std::span<const TPoint> points, std::int64_t y, std::vector<Span>& out);

}  // namespace qorkit::detail
