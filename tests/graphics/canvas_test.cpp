// The canvas primitives: exact coverage, clipping that changes nothing visible, extreme
// coordinates, pen and brush styles.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <random>

#include "graphics/raster_test_util.h"
#include "qorkit/rtl/bitmap.h"

namespace qorkit {
namespace {

using test::Picture;

constexpr TColor kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF;
const std::map<TColor, char> kLegend{{kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}};

TEST(TCanvas_Primitives, LinesCoverTheStartButNotTheEnd) {
    TBitmap b(8, 4);
    TCanvas& c = b.Canvas();
    c.MoveTo(1, 0);
    c.LineTo(6, 0);  // x 1..5
    c.LineTo(6, 3);  // y 0..2 at x 6
    c.MoveTo(0, 1);
    c.LineTo(5, 3);  // slope 2/5: steps round half towards the end
    EXPECT_EQ(Picture(b, kLegend),
              ".######.\n"
              "##....#.\n"
              "..##..#.\n"
              "....#...");
    EXPECT_EQ(c.PenPos(), (TPoint{5, 3}));
    EXPECT_EQ(c.Pixels(-1, 0), -1);
    EXPECT_EQ(c.Pixels(8, 0), -1);
}

TEST(TCanvas_Primitives, RectangleAndEllipseCoverTheHalfOpenBox) {
    TBitmap b(9, 6);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(kRed);
    c.Rectangle(5, 4, 0, 0);  // corners in any order
    c.Brush().SetStyle(bsClear);
    c.Ellipse(4, 0, 9, 5);
    EXPECT_EQ(Picture(b, kLegend),
              "########.\n"
              "#rrr#...#\n"
              "#rrr#...#\n"
              "#####...#\n"
              ".....###.\n"
              ".........");
    c.Rectangle(2, 2, 2, 5);  // empty box: nothing
    EXPECT_EQ(c.Pixels(2, 4), kWhite);
}

TEST(TCanvas_Primitives, WidePensAndDashes) {
    TBitmap b(10, 7);
    TCanvas& c = b.Canvas();
    c.Pen().SetWidth(3);
    c.MoveTo(1, 1);
    c.LineTo(5, 1);  // squares of 3 centred on x 1..4
    c.Pen().SetWidth(2);
    c.Brush().SetStyle(bsClear);
    c.Rectangle(5, 2, 10, 7);  // a band of two pixels inside the box
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psDot);
    c.MoveTo(0, 5);
    c.LineTo(5, 5);  // three on, three off
    EXPECT_EQ(Picture(b, kLegend),
              "######....\n"
              "######....\n"
              "##########\n"
              ".....#####\n"
              ".....##.##\n"
              "###..#####\n"
              ".....#####");
}

// Drawing on a small bitmap placed at (ox, oy) inside a larger one must give exactly the
// larger bitmap's pixels there: clipping changes nothing that is visible.
TEST(TCanvas_Clipping, ClippedShapesEqualTheUnclippedOnes) {
    std::mt19937 rng(6071);
    std::uniform_int_distribution<std::int32_t> coord(-40, 80), width(1, 4), kind(0, 4);
    const std::int32_t ox = 20, oy = 15;
    for (int round = 0; round < 400; ++round) {
        TBitmap big(120, 100), small(30, 25);
        for (TBitmap* b : {&big, &small}) {
            TCanvas& c = b->Canvas();
            c.Brush().SetColor(kRed);
            c.Pen().SetStyle(round % 7 == 0 ? psDashDot : psSolid);
        }
        const int k = kind(rng), w = width(rng);
        std::array<TPoint, 4> p;
        for (TPoint& q : p)
            q = {coord(rng), coord(rng)};
        const auto draw = [&](TCanvas& c, std::int32_t dx, std::int32_t dy) {
            c.Pen().SetWidth(w);
            std::array<TPoint, 4> q = p;
            for (TPoint& t : q)
                t = {t.X + dx, t.Y + dy};
            switch (k) {
                case 0:
                    c.MoveTo(q[0].X, q[0].Y);
                    c.LineTo(q[1].X, q[1].Y);
                    break;
                case 1:
                    c.Rectangle(q[0].X, q[0].Y, q[1].X, q[1].Y);
                    break;
                case 2:
                    c.Ellipse(q[0].X, q[0].Y, q[1].X, q[1].Y);
                    break;
                case 3:
                    c.Polygon(q);
                    break;
                default:
                    c.Polyline(q);
                    break;
            }
        };
        draw(big.Canvas(), 0, 0);
        draw(small.Canvas(), -ox, -oy);
        for (std::int32_t y = 0; y < small.Height(); ++y)
            for (std::int32_t x = 0; x < small.Width(); ++x)
                ASSERT_EQ(small.Canvas().Pixels(x, y), big.Canvas().Pixels(x + ox, y + oy))
                    << "round " << round << " kind " << k << " at " << x << "," << y;
    }
}

// Coordinates at the 32-bit limits are safe, cost no more than the visible part, and still
// draw exactly the visible pixels.
TEST(TCanvas_Clipping, ExtremeCoordinatesAreSafe) {
    TBitmap b(16, 16);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(kRed);
    c.Pen().SetWidth(5);
    c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    c.Rectangle(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    const std::array<TPoint, 3> tri{TPoint{INT_MIN, INT_MIN}, TPoint{INT_MAX, 0},
                                    TPoint{0, INT_MAX}};
    c.Polygon(tri);
    c.MoveTo(INT_MIN, INT_MIN);
    c.LineTo(INT_MAX, INT_MAX);
    c.TextOut(INT_MAX, INT_MIN, u"far away");
    c.TextOut(INT_MIN, 4, u"far away");
    const std::array<std::uint32_t, 4> px{1, 2, 3, 4};
    c.StretchPixels({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, px, 2, 2);
    // A horizontal line through a huge span passes row 3 exactly.
    TBitmap line(10, 5);
    line.Canvas().MoveTo(INT_MIN, 3);
    line.Canvas().LineTo(INT_MAX, 3);
    for (std::int32_t x = 0; x < 10; ++x)
        EXPECT_EQ(line.Canvas().Pixels(x, 3), kBlack);
    EXPECT_EQ(line.Canvas().Pixels(0, 2), kWhite);
    // The diagonal of a huge square passes the pixels with x == y.
    TBitmap diag(6, 6);
    diag.Canvas().MoveTo(-(1 << 30), -(1 << 30));
    diag.Canvas().LineTo(1 << 30, 1 << 30);
    for (std::int32_t k = 0; k < 6; ++k)
        EXPECT_EQ(diag.Canvas().Pixels(k, k), kBlack);
    EXPECT_EQ(diag.Canvas().Pixels(1, 0), kWhite);
}

TEST(TCanvas_Primitives, PolygonFillsCentresBetweenCrossings) {
    TBitmap b(7, 5);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(kRed);
    c.Pen().SetStyle(psClear);
    const std::array<TPoint, 3> tri{TPoint{0, 0}, TPoint{6, 0}, TPoint{3, 3}};
    c.Polygon(tri);  // the bottom vertex row belongs to no edge's half-open range
    EXPECT_EQ(Picture(b, kLegend),
              "rrrrrrr\n"
              ".rrrrr.\n"
              "..rrr..\n"
              ".......\n"
              ".......");
    c.Pen().SetStyle(psSolid);
    c.Brush().SetStyle(bsClear);
    const std::array<TPoint, 4> sq{TPoint{1, 1}, TPoint{5, 1}, TPoint{5, 4}, TPoint{1, 4}};
    c.Polygon(sq);
    EXPECT_EQ(Picture(b, kLegend),
              "rrrrrrr\n"
              ".#####.\n"
              ".#rrr#.\n"
              ".#...#.\n"
              ".#####.");
}

TEST(TCanvas_Primitives, SystemColoursResolveAndPixelsReadBack) {
    TBitmap b(3, 1);
    TCanvas& c = b.Canvas();
    c.SetPixel(0, 0, static_cast<TColor>(0xFF000005));  // window: white
    c.SetPixel(1, 0, static_cast<TColor>(0xFF00000F));  // button face: silver
    c.SetPixel(2, 0, static_cast<TColor>(0x12345678));  // not a colour reference: black
    EXPECT_EQ(c.Pixels(0, 0), 0xFFFFFF);
    EXPECT_EQ(c.Pixels(1, 0), 0xC0C0C0);
    EXPECT_EQ(c.Pixels(2, 0), 0);
    c.SetPixel(5, 0, kRed);  // outside: ignored
    c.SetPixel(-1, -1, kRed);
    EXPECT_EQ(ResolveSystemColor(0x123456), 0x123456u);
}

TEST(TCanvas_Primitives, StretchPixelsScalesAndMirrors) {
    TBitmap b(4, 2);
    const std::array<std::uint32_t, 2> px{kRed, kBlack};
    b.Canvas().StretchPixels({0, 0, 4, 1}, px, 2, 1);
    b.Canvas().StretchPixels({4, 1, 0, 2}, px, 2, 1);  // right to left
    EXPECT_EQ(Picture(b, kLegend), "rr##\n##rr");
    b.Canvas().StretchPixels({0, 0, 4, 2}, px, 2, 2);  // too few pixels: nothing
    EXPECT_EQ(b.Canvas().Pixels(3, 0), kBlack);
}

TEST(TGraphicsTools, AssignAndSizeArithmetic) {
    TFont a, b;
    int notified = 0;
    b.OnChange = [&](TObject*) { ++notified; };
    a.SetName(u"DejaVu Serif");
    a.SetStyle({fsBold, fsUnderline});
    a.SetColor(kRed);
    a.SetSize(10);
    EXPECT_EQ(a.Height(), -13);  // 10 * 96 / 72 = 13.33
    b.SetPixelsPerInch(300);
    notified = 0;
    b.Assign(&a);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(b.Name(), u"DejaVu Serif");
    EXPECT_EQ(b.Size(), 10);
    EXPECT_EQ(b.Height(), -42);  // 10 points at 300 pixels per inch (41.67)
    EXPECT_EQ(b.PixelsPerInch(), 300);
    EXPECT_TRUE(b.Style().Contains(fsUnderline));
    EXPECT_FALSE(b.Style().Contains(fsItalic));
    b.SetPixelsPerInch(96);  // keeps the pixel height
    EXPECT_EQ(b.Height(), -42);
    EXPECT_EQ(b.Size(), 32);  // 42 * 72 / 96 = 31.5, half away from zero
    TPen p, q;
    p.SetColor(kRed);
    p.SetWidth(-3);
    p.SetStyle(psDash);
    q.Assign(&p);
    EXPECT_EQ(q.Color(), kRed);
    EXPECT_EQ(q.Width(), 1);
    EXPECT_EQ(q.Style(), psDash);
    TBrush r;
    EXPECT_THROW(r.Assign(&p), EConvertError);
    EXPECT_EQ(MulDiv(-5, 3, 2), -8);
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, 1), INT_MAX);
    EXPECT_EQ(MulDiv(7, 1, 0), 0);
}

}  // namespace
}  // namespace qorkit
