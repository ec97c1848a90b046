// Text on a canvas: extents, placement of the ink in the cell, the opaque background, styles
// and metrics. Glyph shapes are the font's business and are not compared.
#include <gtest/gtest.h>

#include "qorkit/rtl/bitmap.h"
#include "qorkit/rtl/screen.h"

namespace qorkit {
namespace {

constexpr TColor kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000;

// The bounding box of the pixels of colour `c`; Right/Bottom inclusive, Left > Right if none.
TRect InkBox(TBitmap& b, TColor c) {
    TRect r{b.Width(), b.Height(), -1, -1};
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (std::int32_t x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixels(x, y) == c) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x);
                r.Bottom = std::max(r.Bottom, y);
            }
    return r;
}

TEST(TCanvas_Text, ExtentsFollowTheFontSize) {
    TBitmap b(10, 10);
    TCanvas& c = b.Canvas();
    c.Font().SetSize(12);  // 16 pixels em at 96 pixels per inch
    const TTextMetric m = c.GetTextMetrics();
    EXPECT_EQ(m.Height, m.Ascent + m.Descent);
    EXPECT_GE(m.Height, 16);
    EXPECT_LE(m.Height, 22);
    EXPECT_EQ(m.InternalLeading, m.Height - 16);
    EXPECT_EQ(c.TextHeight(u"x"), m.Height);
    EXPECT_EQ(c.TextHeight(u""), m.Height);
    EXPECT_EQ(c.TextWidth(u""), 0);
    const std::int32_t w1 = c.TextWidth(u"M"), w3 = c.TextWidth(u"MMM");
    EXPECT_GT(w1, 8);
    EXPECT_EQ(w3, 3 * w1);  // advances add up, no kerning
    EXPECT_LT(c.TextWidth(u"iii"), w3);
    EXPECT_EQ(c.TextExtent(u"MMM"), (TPoint{w3, m.Height}));
    c.Font().SetSize(24);
    EXPECT_NEAR(c.TextWidth(u"MMM"), 2 * w3, 9);  // hinted advances round per glyph
    c.Font().SetHeight(m.Height * 2);             // a positive height is the cell height
    EXPECT_NEAR(c.TextHeight(u"x"), m.Height * 2, 1);
    EXPECT_EQ(m.PitchAndFamily & 7, 7);  // variable pitch, scalable, TrueType
}

TEST(TCanvas_Text, InkLiesInTheCellAndTheBrushFillsIt) {
    TBitmap b(120, 40);
    TCanvas& c = b.Canvas();
    c.Font().SetSize(14);
    c.Font().SetColor(kRed);
    c.Brush().SetColor(kBlue);
    const String text = u"Hg 42";
    const std::int32_t w = c.TextWidth(text), h = c.TextHeight(text);
    c.TextOut(10, 5, text);
    const TRect ink = InkBox(b, kRed);
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Left, 12);
    EXPECT_LE(ink.Right, 10 + w - 1);
    EXPECT_GE(ink.Top, 5);
    EXPECT_LE(ink.Bottom, 5 + h - 1);
    const TTextMetric m = c.GetTextMetrics();
    EXPECT_GT(ink.Bottom, 5 + m.Ascent);  // the "g" descends below the baseline
    // Background: exactly the cell, in the brush colour where there is no ink.
    EXPECT_EQ(c.Pixels(10, 5), kBlue);
    EXPECT_EQ(c.Pixels(10 + w - 1, 5 + h - 1), kBlue);
    EXPECT_EQ(c.Pixels(9, 5), kWhite);
    EXPECT_EQ(c.Pixels(10 + w, 5), kWhite);
    EXPECT_EQ(c.Pixels(10, 5 + h), kWhite);
    EXPECT_EQ(c.PenPos(), (TPoint{10 + w, 5}));
    // Every pixel is one of the three colours: no anti-aliasing.
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (std::int32_t x = 0; x < b.Width(); ++x) {
            const TColor p = c.Pixels(x, y);
            ASSERT_TRUE(p == kWhite || p == kRed || p == kBlue) << x << "," << y;
        }
}

TEST(TCanvas_Text, ClearBrushAndStyles) {
    TBitmap plain(200, 40), styled(200, 40);
    for (TBitmap* b : {&plain, &styled}) {
        b->Canvas().Font().SetSize(14);
        b->Canvas().Brush().SetStyle(bsClear);
    }
    styled.Canvas().Font().SetStyle({fsBold, fsUnderline});
    plain.Canvas().TextOut(2, 2, u"Mark");
    styled.Canvas().TextOut(2, 2, u"Mark");
    const TRect a = InkBox(plain, 0), s = InkBox(styled, 0);
    EXPECT_EQ(plain.Canvas().Pixels(2, 2), kWhite);                    // clear brush: no background
    EXPECT_GT(s.Right - s.Left, a.Right - a.Left);                     // bold is wider
    EXPECT_GT(s.Bottom, 2 + styled.Canvas().GetTextMetrics().Ascent);  // the underline
    const std::int32_t under = 2 + styled.Canvas().GetTextMetrics().Ascent + 1;
    std::int32_t run = 0;
    for (std::int32_t x = 0; x < 200; ++x)
        for (std::int32_t y = under - 1; y <= under + 2; ++y)
            if (styled.Canvas().Pixels(x, y) == 0) {
                ++run;
                break;
            }
    EXPECT_GE(run, styled.Canvas().TextWidth(u"Mark") - 1);
}

TEST(TScreen_Fonts, ListsInstalledFamiliesOnce) {
    const TStringList& fonts = Screen().Fonts();
    EXPECT_GE(fonts.IndexOf(u"DejaVu Sans"), 0);
    EXPECT_GE(fonts.IndexOf(u"dejavu sans"), 0);
    for (std::int32_t k = 1; k < fonts.Count(); ++k)
        EXPECT_NE(fonts.Strings(k - 1), fonts.Strings(k));
    EXPECT_EQ(Screen().PixelsPerInch(), 96);
}

}  // namespace
}  // namespace qorkit
