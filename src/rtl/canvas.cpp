#include "qorkit/rtl/canvas.h"

#include <algorithm>
#include <array>

#include "raster.h"

namespace qorkit {

namespace {

using detail::ClipBox;
using detail::FillBox;
using detail::FillSpan;
using detail::Span;

// Wider pens draw as this width at most: every line then costs at most a few million pixel
// writes, whatever the coordinates.
constexpr std::int64_t kMaxPenWidth = 1024;

std::int64_t PenWidth(const TPen& pen) {
    return std::clamp<std::int64_t>(pen.Width(), 1, kMaxPenWidth);
}

// On and off run lengths of the dashed styles, starting with a drawn run.
std::span<const std::int64_t> DashPattern(TPenStyle style) {
    static constexpr std::array<std::int64_t, 2> kDash{18, 6};
    static constexpr std::array<std::int64_t, 2> kDot{3, 3};
    static constexpr std::array<std::int64_t, 4> kDashDot{9, 6, 3, 6};
    static constexpr std::array<std::int64_t, 6> kDashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
        case psDash:
            return kDash;
        case psDot:
            return kDot;
        case psDashDot:
            return kDashDot;
        case psDashDotDot:
            return kDashDotDot;
        default:
            return {};
    }
}

bool DashOn(std::span<const std::int64_t> pattern, std::int64_t phase) {
    std::int64_t period = 0;
    for (const std::int64_t run : pattern)
        period += run;
    std::int64_t t = phase % period;
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (t < pattern[k]) return k % 2 == 0;
        t -= pattern[k];
    }
    return false;
}

struct Box {
    std::int64_t X1, Y1, X2, Y2;  // x1 <= x2, y1 <= y2, ends exclusive
};

Box Normalised(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

}  // namespace

TCanvas::TCanvas(TPixelSurface* Surface, std::int32_t PixelsPerInch) : FSurface(Surface) {
    FFont.SetPixelsPerInch(PixelsPerInch);
    FFont.SetSize(8);
}

void TCanvas::Assign(const TPersistent* Source) {
    if (const auto* other = dynamic_cast<const TCanvas*>(Source)) {
        FPen.Assign(&other->FPen);
        FBrush.Assign(&other->FBrush);
        FFont.Assign(&other->FFont);
        FPenPos = other->FPenPos;
        return;
    }
    TPersistent::Assign(Source);
}

TColor TCanvas::Pixels(std::int32_t X, std::int32_t Y) const noexcept {
    if (!FSurface || X < 0 || Y < 0 || X >= FSurface->Width || Y >= FSurface->Height) return -1;
    return static_cast<TColor>(FSurface->Pixels[static_cast<std::size_t>(Y) * FSurface->Width + X]);
}

void TCanvas::SetPixel(std::int32_t X, std::int32_t Y, TColor Color) noexcept {
    if (!FSurface || X < 0 || Y < 0 || X >= FSurface->Width || Y >= FSurface->Height) return;
    FSurface->Pixels[static_cast<std::size_t>(Y) * FSurface->Width + X] = ResolveSystemColor(Color);
}

void TCanvas::MoveTo(std::int32_t X, std::int32_t Y) {
    FPenPos = {X, Y};
    FDashPhase = 0;
}

void TCanvas::LineTo(std::int32_t X, std::int32_t Y) {
    StrokeLine(FPenPos, {X, Y});
    FPenPos = {X, Y};
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
    if (Points.empty()) return;
    MoveTo(Points[0].X, Points[0].Y);
    for (std::size_t k = 1; k < Points.size(); ++k)
        LineTo(Points[k].X, Points[k].Y);
}

void TCanvas::StrokeLine(TPoint A, TPoint B) {
    const std::int64_t steps = std::max(std::abs(static_cast<std::int64_t>(B.X) - A.X),
                                        std::abs(static_cast<std::int64_t>(B.Y) - A.Y));
    const std::int64_t phase = FDashPhase;
    FDashPhase += steps;
    if (!FSurface || FPen.Style() == psClear || FSurface->Pixels.empty()) return;
    TPixelSurface& s = *FSurface;
    const std::uint32_t pixel = ResolveSystemColor(FPen.Color());
    const std::int64_t w = PenWidth(FPen);
    if (w == 1) {
        const std::span<const std::int64_t> dashes = DashPattern(FPen.Style());
        const ClipBox clip{0, 0, s.Width - 1, s.Height - 1};
        detail::WalkLine(A, B, clip, [&](std::int64_t i, std::int64_t x, std::int64_t y) {
            if (dashes.empty() || DashOn(dashes, phase + i))
                s.Pixels[static_cast<std::size_t>(y) * s.Width + x] = pixel;
        });
        return;
    }
    // A square of side w on every pixel of the thin line: the first visible square whole,
    // then only the column and row that each step adds.
    const std::int64_t lo = -((w - 1) / 2), hi = lo + w - 1;
    const ClipBox clip{-hi, -hi, s.Width - 1 - lo, s.Height - 1 - lo};
    bool first = true;
    std::int64_t px = 0, py = 0;
    detail::WalkLine(A, B, clip, [&](std::int64_t, std::int64_t x, std::int64_t y) {
        if (first) {
            FillBox(s, x + lo, y + lo, x + hi, y + hi, pixel);
            first = false;
        } else {
            if (x != px) {
                const std::int64_t col = x > px ? x + hi : x + lo;
                FillBox(s, col, y + lo, col, y + hi, pixel);
            }
            if (y != py) FillSpan(s, y > py ? y + hi : y + lo, x + lo, x + hi, pixel);
        }
        px = x;
        py = y;
    });
}

void TCanvas::FillRect(const TRect& R) {
    if (!FSurface) return;
    const Box b = Normalised(R.Left, R.Top, R.Right, R.Bottom);
    if (b.X1 == b.X2 || b.Y1 == b.Y2) return;
    FillBox(*FSurface, b.X1, b.Y1, b.X2 - 1, b.Y2 - 1, ResolveSystemColor(FBrush.Color()));
}

void TCanvas::Rectangle(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2) {
    if (!FSurface) return;
    const Box b = Normalised(X1, Y1, X2, Y2);
    if (b.X1 == b.X2 || b.Y1 == b.Y2) return;
    if (FBrush.Style() == bsSolid) FillRect({X1, Y1, X2, Y2});
    if (FPen.Style() == psClear) return;
    const std::int64_t w = PenWidth(FPen);
    if (w == 1 && !DashPattern(FPen.Style()).empty()) {
        const std::array<TPoint, 5> corners{
            TPoint{static_cast<std::int32_t>(b.X1), static_cast<std::int32_t>(b.Y1)},
            TPoint{static_cast<std::int32_t>(b.X2 - 1), static_cast<std::int32_t>(b.Y1)},
            TPoint{static_cast<std::int32_t>(b.X2 - 1), static_cast<std::int32_t>(b.Y2 - 1)},
            TPoint{static_cast<std::int32_t>(b.X1), static_cast<std::int32_t>(b.Y2 - 1)},
            TPoint{static_cast<std::int32_t>(b.X1), static_cast<std::int32_t>(b.Y1)}};
        const TPoint pos = FPenPos;
        Polyline(corners);
        FPenPos = pos;
        return;
    }
    // Solid bands of the pen's width inside the rectangle.
    TPixelSurface& s = *FSurface;
    const std::uint32_t pixel = ResolveSystemColor(FPen.Color());
    const std::int64_t bx = std::min(w, b.X2 - b.X1), by = std::min(w, b.Y2 - b.Y1);
    FillBox(s, b.X1, b.Y1, b.X2 - 1, b.Y1 + by - 1, pixel);
    FillBox(s, b.X1, b.Y2 - by, b.X2 - 1, b.Y2 - 1, pixel);
    FillBox(s, b.X1, b.Y1, b.X1 + bx - 1, b.Y2 - 1, pixel);
    FillBox(s, b.X2 - bx, b.Y1, b.X2 - 1, b.Y2 - 1, pixel);
}

void TCanvas::Ellipse(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2) {
    if (!FSurface || FSurface->Pixels.empty()) return;
    const Box b = Normalised(X1, Y1, X2, Y2);
    if (b.X1 == b.X2 || b.Y1 == b.Y2) return;
    TPixelSurface& s = *FSurface;
    const std::int64_t yFirst = std::max<std::int64_t>(b.Y1, 0);
    const std::int64_t yLast = std::min<std::int64_t>(b.Y2 - 1, s.Height - 1);
    const auto row = [&](std::int64_t y) { return detail::EllipseRow(b.X1, b.Y1, b.X2, b.Y2, y); };
    if (FBrush.Style() == bsSolid) {
        const std::uint32_t fill = ResolveSystemColor(FBrush.Color());
        for (std::int64_t y = yFirst; y <= yLast; ++y) {
            const Span sp = row(y);
            FillSpan(s, y, sp.Left, sp.Right, fill);
        }
    }
    if (FPen.Style() == psClear) return;
    // The outline: pixels of the ellipse within w 4-connected steps of a pixel outside it.
    // Row y's interior is the intersection over k = -w..w of row y+k's span shrunk by
    // w - |k| on each side.
    const std::uint32_t pixel = ResolveSystemColor(FPen.Color());
    const std::int64_t w = PenWidth(FPen);
    for (std::int64_t y = yFirst; y <= yLast; ++y) {
        const Span sp = row(y);
        if (sp.Empty()) continue;
        Span inner{sp.Left + w, sp.Right - w};
        for (std::int64_t k = 1; k <= w && !inner.Empty(); ++k) {
            for (const std::int64_t yy : {y - k, y + k}) {
                const Span o = row(yy);
                if (o.Empty()) {
                    inner = {};
                    break;
                }
                inner.Left = std::max(inner.Left, o.Left + (w - k));
                inner.Right = std::min(inner.Right, o.Right - (w - k));
            }
        }
        if (inner.Empty()) {
            FillSpan(s, y, sp.Left, sp.Right, pixel);
        } else {
            FillSpan(s, y, sp.Left, inner.Left - 1, pixel);
            FillSpan(s, y, inner.Right + 1, sp.Right, pixel);
        }
    }
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
    if (!FSurface || Points.size() < 2) return;
    TPixelSurface& s = *FSurface;
    if (FBrush.Style() == bsSolid && !s.Pixels.empty()) {
        std::int64_t top = Points[0].Y, bottom = Points[0].Y;
        for (const TPoint& p : Points) {
            top = std::min<std::int64_t>(top, p.Y);
            bottom = std::max<std::int64_t>(bottom, p.Y);
        }
        const std::uint32_t fill = ResolveSystemColor(FBrush.Color());
        std::vector<Span> spans;
        for (std::int64_t y = std::max<std::int64_t>(top, 0),
                          last = std::min<std::int64_t>(bottom, s.Height - 1);
             y <= last; ++y) {
            spans.clear();
            detail::PolygonRow(Points, y, spans);
            for (const Span& sp : spans)
                FillSpan(s, y, sp.Left, sp.Right, fill);
        }
    }
    const TPoint pos = FPenPos;
    Polyline(Points);
    LineTo(Points[0].X, Points[0].Y);
    FPenPos = pos;
}

void TCanvas::StretchPixels(const TRect& Dest, std::span<const std::uint32_t> Pixels,
                            std::int32_t Width, std::int32_t Height) {
    if (!FSurface || Width <= 0 || Height <= 0 ||
        Pixels.size() < static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height))
        return;
    TPixelSurface& s = *FSurface;
    const Box b = Normalised(Dest.Left, Dest.Top, Dest.Right, Dest.Bottom);
    const std::int64_t dw = b.X2 - b.X1, dh = b.Y2 - b.Y1;
    if (dw == 0 || dh == 0) return;
    const bool flipX = Dest.Right < Dest.Left, flipY = Dest.Bottom < Dest.Top;
    const std::int64_t x0 = std::max<std::int64_t>(b.X1, 0);
    const std::int64_t x1 = std::min<std::int64_t>(b.X2, s.Width);
    const std::int64_t y0 = std::max<std::int64_t>(b.Y1, 0);
    const std::int64_t y1 = std::min<std::int64_t>(b.Y2, s.Height);
    for (std::int64_t y = y0; y < y1; ++y) {
        std::int64_t sy = ((2 * (y - b.Y1) + 1) * Height) / (2 * dh);
        if (flipY) sy = Height - 1 - sy;
        const std::uint32_t* src = Pixels.data() + static_cast<std::size_t>(sy) * Width;
        std::uint32_t* row = s.Pixels.data() + static_cast<std::size_t>(y) * s.Width;
        for (std::int64_t x = x0; x < x1; ++x) {
            std::int64_t sx = ((2 * (x - b.X1) + 1) * Width) / (2 * dw);
            if (flipX) sx = Width - 1 - sx;
            row[x] = src[sx] & 0xFFFFFFu;
        }
    }
}

}  // namespace qorkit
