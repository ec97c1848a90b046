#include "qorkit/graphics/marks.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>
#include <vector>

#include "qorkit/rtl/printer.h"

namespace qorkit {

namespace {

// 7 x 7 glyphs of marks 1-6 and 18: one byte per row from the top, bit 0 the rightmost
// column.
constexpr std::array<std::uint8_t, 7> kGlyphs[7] = {
    {0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00},  // 1: plus, 3 x 3
    {0x00, 0x08, 0x08, 0x3E, 0x08, 0x08, 0x00},  // 2: plus, 5 x 5
    {0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08},  // 3: plus, 7 x 7
    {0x00, 0x00, 0x14, 0x08, 0x14, 0x00, 0x00},  // 4: diagonal cross, 3 x 3
    {0x00, 0x22, 0x14, 0x08, 0x14, 0x22, 0x00},  // 5: diagonal cross, 5 x 5
    {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41},  // 6: diagonal cross, 7 x 7
    {0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55},  // 18: checkerboard
};

// Offsets from the mark's centre, saturated to the 32-bit range: a mark that close to the
// limits lies far outside every canvas, so saturation changes no visible pixel.
struct MarkPen {
    TCanvas& C;
    std::int32_t X, Y;

    static std::int32_t Off(std::int32_t v, std::int32_t d) {
        const std::int64_t r = static_cast<std::int64_t>(v) + d;
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            r, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    }
    TPoint P(std::int32_t dx, std::int32_t dy) const { return {Off(X, dx), Off(Y, dy)}; }

    void Line(std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by) const {
        C.MoveTo(Off(X, ax), Off(Y, ay));
        C.LineTo(Off(X, bx), Off(Y, by));
    }
    // A polyline through the points, in order.
    void Path(std::initializer_list<TPoint> offsets) const {
        std::vector<TPoint> pts;
        for (const TPoint& o : offsets)
            pts.push_back(P(o.X, o.Y));
        C.Polyline(pts);
    }
    void Rect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const {
        C.Rectangle(Off(X, x1), Off(Y, y1), Off(X, x2), Off(Y, y2));
    }
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const {
        C.Ellipse(Off(X, x1), Off(Y, y1), Off(X, x2), Off(Y, y2));
    }
    void Poly(std::initializer_list<TPoint> offsets) const {
        std::vector<TPoint> pts;
        for (const TPoint& o : offsets)
            pts.push_back(P(o.X, o.Y));
        C.Polygon(pts);
    }
    // A shape filled in the pen colour.
    template <class F>
    void Filled(F&& draw) const {
        C.Brush().SetColor(C.Pen().Color());
        draw();
    }
    // A shape drawn with a clear brush; the brush is solid again afterwards.
    template <class F>
    void Open(F&& draw) const {
        C.Brush().SetStyle(bsClear);
        draw();
        C.Brush().SetStyle(bsSolid);
    }
};

void DrawGlyph(TCanvas& C, std::int32_t X, std::int32_t Y, const std::array<std::uint8_t, 7>& g) {
    const TColor color = C.Pen().Color();
    for (std::int32_t r = 1; r <= 7; ++r)
        for (std::int32_t b = 0; b <= 6; ++b)
            if ((g[r - 1] >> b) & 1)
                C.SetPixel(MarkPen::Off(X, 3 - b), MarkPen::Off(Y, r - 4), color);
}

void DrawCharacterMark(TCanvas& C, std::uint8_t Mark, std::int32_t X, std::int32_t Y) {
    const Char ch = (Mark >= 200 && Mark <= 209) ? static_cast<Char>(Mark - 152) : Mark;
    const String text(1, ch);
    const std::int32_t w = C.TextWidth(text);
    const std::int32_t h = C.TextHeight(text);
    C.Font().SetColor(C.Pen().Color());
    C.Brush().SetStyle(bsClear);
    C.TextOut(MarkPen::Off(X, -(w / 2)), MarkPen::Off(Y, -(h / 2)), text);
}

void DrawGeometricMark(TCanvas& C, std::uint8_t Mark, std::int32_t X, std::int32_t Y) {
    const MarkPen m{C, X, Y};
    const bool printer = &C == &Printer().Canvas();
    switch (Mark) {
        case 0:
            C.SetPixel(X, Y, C.Pen().Color());
            break;
        case 1:
        case 2:
        case 3:
            if (printer) {
                const std::int32_t a = Mark + 1;
                m.Line(-a, 0, a, 0);
                m.Line(0, -a, 0, a);
            } else {
                DrawGlyph(C, X, Y, kGlyphs[Mark - 1]);
            }
            break;
        case 4:
        case 5:
        case 6:
            if (printer) {
                const std::int32_t a = Mark - 2;
                m.Line(-a, -a, a, a);
                m.Line(-a, a, a, -a);
            } else {
                DrawGlyph(C, X, Y, kGlyphs[Mark - 1]);
            }
            break;
        case 7:
        case 8:
        case 9: {
            const std::int32_t a = Mark - 6;
            m.Filled([&] { m.Rect(-a, -a, a + 1, a + 1); });
            break;
        }
        case 10:
        case 11:
        case 12: {
            const std::int32_t a = Mark - 9;
            m.Path({{-a, -a}, {-a, a}, {a, a}, {a, -a}, {-a, -a}});
            break;
        }
        case 13:
        case 19:
            m.Path({{-3, 0}, {0, 3}, {3, 0}, {0, -3}, {-3, 0}});
            if (Mark == 13) C.SetPixel(X, Y, C.Pen().Color());
            break;
        case 14:
        case 15: {
            const std::int32_t a = Mark - 12;
            m.Filled([&] { m.Poly({{-a, 0}, {0, a}, {a, 0}, {0, -a}}); });
            break;
        }
        case 16:
            m.Open([&] { m.Ellipse(-2, -2, 3, 3); });
            break;
        case 17:
            m.Open([&] { m.Ellipse(-3, -3, 4, 4); });
            break;
        case 18:
            if (printer) {
                for (std::int32_t i = 1; i <= 7; ++i)
                    for (std::int32_t j = 1; j <= 7; ++j)
                        // A line from a point to itself covers nothing; one pixel long,
                        // it covers the point (a pen-width dot).
                        if ((i + j) % 2 == 0) m.Line(i - 4, j - 4, i - 3, j - 4);
            } else {
                DrawGlyph(C, X, Y, kGlyphs[6]);
            }
            break;
        case 20:
        case 21: {
            const std::int32_t a = Mark - 17;
            m.Line(0, 0, -a, a);
            m.Line(0, 0, a, a);
            break;
        }
        case 22:
        case 23: {
            const std::int32_t a = Mark - 19;
            m.Line(0, 0, -a, -a);
            m.Line(0, 0, a, -a);
            break;
        }
        case 24:
            m.Filled([&] { m.Ellipse(-3, -3, 4, 4); });
            break;
        case 25: {
            const std::int32_t a = printer ? 3 : 4, b = printer ? 2 : 3;
            m.Line(-3, -3, a, a);
            m.Line(-3, -2, b, a);
            m.Line(-2, -3, a, b);
            m.Line(-3, 3, a, -a);
            m.Line(-3, 2, b, -a);
            m.Line(-2, 3, a, -b);
            break;
        }
        case 26:
            m.Filled([&] { m.Ellipse(-2, -2, 3, 3); });
            break;
        case 27:
            m.Open([&] { m.Ellipse(-2, -2, 2, 2); });
            break;
        case 28:
            m.Filled([&] { m.Ellipse(-2, -2, 2, 2); });
            break;
        case 29:
        case 30: {
            const std::int32_t a = Mark - 27;
            m.Filled([&] { m.Poly({{-a, 0}, {0, a}, {a, 0}}); });
            break;
        }
        case 31:
        case 32: {
            const std::int32_t a = Mark - 29;
            m.Open([&] { m.Poly({{-a, 0}, {0, a}, {a, 0}}); });
            break;
        }
        case 33:
            m.Open([&] { m.Poly({{-4, -3}, {0, 4}, {4, -3}}); });
            break;
        case 34:
            m.Filled([&] { m.Poly({{-4, -3}, {0, 4}, {4, -3}}); });
            break;
        case 35:
            m.Open([&] { m.Poly({{-4, 3}, {0, -4}, {4, 3}}); });
            break;
        case 36:
            m.Filled([&] { m.Poly({{-4, 3}, {0, -4}, {4, 3}}); });
            break;
        case 37:
            m.Line(-3, 0, 4, 0);
            m.Line(0, 0, 0, -8);
            break;
        case 38:
            m.Line(-3, -2, 4, -2);
            m.Line(-3, 2, 4, 2);
            m.Line(0, -2, 0, 2);
            break;
        case 39:
            m.Open([&] { m.Ellipse(-3, -3, 4, 4); });
            m.Line(-3, 0, 4, 0);
            m.Line(0, -3, 0, 4);
            break;
        case 40:
            m.Open([&] { m.Poly({{3, -2}, {-2, 0}, {3, 2}}); });
            break;
        case 41:
            m.Filled([&] { m.Poly({{3, -2}, {-2, 0}, {3, 2}}); });
            break;
        case 42:
            m.Open([&] { m.Poly({{4, -3}, {-3, 0}, {4, 3}}); });
            break;
        case 43:
            m.Filled([&] { m.Poly({{4, -3}, {-3, 0}, {4, 3}}); });
            break;
        case 44:
            m.Open([&] { m.Poly({{-3, -2}, {2, 0}, {-3, 2}}); });
            break;
        case 45:
            m.Filled([&] { m.Poly({{-3, -2}, {2, 0}, {-3, 2}}); });
            break;
        case 46:
            m.Open([&] { m.Poly({{-4, -3}, {3, 0}, {-4, 3}}); });
            break;
        case 47:
            m.Filled([&] { m.Poly({{-4, -3}, {3, 0}, {-4, 3}}); });
            break;
        case 48:
            m.Open([&] { m.Rect(-3, -3, 4, 4); });
            m.Line(-3, 0, 4, 0);
            m.Line(0, -3, 0, 4);
            break;
        case 49:
            m.Open([&] { m.Rect(-2, -2, 3, 3); });
            m.Line(-4, 0, 5, 0);
            m.Line(0, -4, 0, 5);
            break;
        case 50:
            m.Line(-4, 0, 5, 0);
            m.Line(0, -4, 0, 5);
            m.Line(-3, -3, 4, 4);
            m.Line(-3, 3, 4, -4);
            C.Brush().SetStyle(bsSolid);
            break;
        case 51:
            m.Line(-4, 0, 5, 0);
            m.Line(0, -4, 0, 5);
            m.Line(-1, -3, 2, -3);
            m.Line(-1, 3, 2, 3);
            m.Line(-3, -1, -3, 2);
            m.Line(3, -1, 3, 2);
            C.Brush().SetStyle(bsSolid);
            break;
        default:
            break;
    }
}

}  // namespace

void DrawMarkOnCanvas(TCanvas& Canvas, std::uint8_t Mark, std::int32_t X, std::int32_t Y) {
    if (Mark >= 52) {
        DrawCharacterMark(Canvas, Mark, X, Y);
        return;
    }
    const TColor saved = Canvas.Brush().Color();
    DrawGeometricMark(Canvas, Mark, X, Y);
    Canvas.Brush().SetColor(saved);
}

std::unique_ptr<TBitmap> CreateMarkAsBitmap(std::uint8_t Mark, TColor Color, TColor Background,
                                            std::int32_t Margin) {
    const std::int32_t margin = std::clamp(Margin, 0, 255);
    const std::int32_t side = 2 * margin + 7;
    auto bitmap = std::make_unique<TBitmap>(side, side);
    TCanvas& c = bitmap->Canvas();
    c.Pen().SetColor(Background);
    c.Brush().SetColor(Background);
    c.Brush().SetStyle(bsSolid);
    c.Rectangle(0, 0, side, side);
    c.Pen().SetColor(Color);
    DrawMarkOnCanvas(c, Mark, margin + 3, margin + 3);
    return bitmap;
}

}  // namespace qorkit
