// Colour mixing and conversions: the documented values, the rounding and clamping rules, and
// round trips over a grid of colours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "qorkit/Qor_qorcolors.h"
#include "qorkit/rtl/random.h"

namespace qorkit {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ColorModels, MixingTruncatesAndClamps) {
    const TColor a = PackRGB(10, 20, 30), b = PackRGB(200, 100, 0), c = PackRGB(0, 0, 255);
    EXPECT_EQ(InterpolateColor(a, b, 1.5), b);
    EXPECT_EQ(InterpolateColor(a, b, -0.2), a);
    EXPECT_EQ(InterpolateColor(a, b, kNaN), a);
    EXPECT_EQ(InterpolateColor(0, 0xFF, 0.5), 127);                // trunc(127.5), not rounded
    EXPECT_EQ(InterpolateColor(0xFF, 0, 0.5), 127);                // 255 - 127.5 truncated
    EXPECT_EQ(InterpolateColor(a, b, 0.25), PackRGB(57, 40, 22));  // 22.5 truncates to 22
    EXPECT_EQ(MeanColor(PackRGB(128, 0, 0), PackRGB(255, 0, 0)), PackRGB(191, 0, 0));
    EXPECT_EQ(Interpolate3Colors(a, b, c, 0.5), b);
    EXPECT_EQ(Interpolate3Colors(a, b, c, 0.75), InterpolateColor(b, c, 0.5));
    EXPECT_EQ(Interpolate3Colors(a, b, c, 0.25), InterpolateColor(a, b, 0.5));
    EXPECT_EQ(Interpolate3Colors(a, b, c, 7), c);
    // The top byte of the inputs is ignored and never appears in a result.
    const TColor sys = static_cast<TColor>(0xFF000010u);
    EXPECT_EQ(InterpolateColor(sys, sys, 0.3), 0x10);
    EXPECT_EQ(ReverseRGBColor(static_cast<TColor>(0xAA123456u)), 0x563412);
    EXPECT_EQ(InvertColor(static_cast<TColor>(0xAA123456u)), 0xEDCBA9);
}

TEST(ColorModels, HexadecimalText) {
    EXPECT_EQ(ColorToHexStr(0xFF), u"000000FF");
    EXPECT_EQ(ColorToHexStr(0xFFFFFF), u"00FFFFFF");
    EXPECT_EQ(ColorToHexStr(static_cast<TColor>(0xFF00000Au)), u"FF00000A");
    const struct {
        const char16_t* Text;
        std::uint32_t Value;
    } cases[] = {
        {u" $ff ", 255},
        {u"1F", 31},
        {u"1G", 1},
        {u"G1", 0},
        {u"", 0},
        {u"    ", 0},
        {u"$", 0},
        {u"$$1", 0},
        {u"\t1F", 0},
        {u"aBcDeF", 0xABCDEF},
        {u"FFFFFFFF", 0xFFFFFFFF},
        {u"123456789", 0x23456789},  // accumulates in 32 bits
        {u"  00FF8000  ", 0xFF8000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<std::uint32_t>(HexStrToColor(c.Text)), c.Value) << ToUtf8(c.Text);
}

TEST(ColorModels, HueModelsDocumentedValues) {
    double h, s, l;
    RGBtoHSL(255, 0, 0, h, s, l);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(l, 0.5);
    RGBtoHSL(0, 0, 255, h, s, l);
    EXPECT_EQ(h, 240);
    RGBtoHSL(255, 0, 255, h, s, l);  // red tested first: hue from the negative branch
    EXPECT_NEAR(h, 300, 1e-12);
    RGBtoHSL(400, -5, 0, h, s, l);  // channels clamped to 0..255
    EXPECT_EQ(h, 0);
    EXPECT_EQ(l, 0.5);
    for (int grey : {1, 77, 128, 254}) {
        RGBtoHSL(grey, grey, grey, h, s, l);
        EXPECT_EQ(h, 0);
        EXPECT_EQ(s, 0);
        RGBtoHSV(grey, grey, grey, h, s, l);
        EXPECT_EQ(h, -1);
        EXPECT_EQ(s, 0);
    }
    for (auto* f : {&RGBtoHSL, &RGBtoHSV, &RGBtoHSI}) {
        f(0, 0, 0, h, s, l);
        EXPECT_EQ(h, 0);
        EXPECT_EQ(s, 0);
        EXPECT_EQ(l, 0);
    }
    RGBtoHSV(0, 255, 255, h, s, l);
    EXPECT_EQ(h, 180);
    EXPECT_EQ(l, 1);
    RGBtoHSI(255, 0, 0, h, s, l);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 1);
    EXPECT_NEAR(l, 1.0 / 3, 1e-15);
}

TEST(ColorModels, HsiOfEveryGreyHasNoSaturationAndNoHue) {
    // Computed from the intensity rounded to a double, 1 - min / I misses 0 for most greys
    // and the hue would divide by zero; every grey must give exactly S = 0 and H = -1.
    for (int grey = 1; grey <= 255; ++grey) {
        double h = 0, s = 1, i = 0;
        RGBtoHSI(grey, grey, grey, h, s, i);
        ASSERT_EQ(s, 0) << grey;
        ASSERT_EQ(h, -1) << grey;
        ASSERT_DOUBLE_EQ(i, grey / 255.0);
    }
}

TEST(ColorModels, HueInputsWrapAndClamp) {
    std::int32_t r, g, b;
    HSVtoRGB(360, 1, 1, r, g, b);  // 360 is replaced by 0
    EXPECT_EQ(PackRGB(r, g, b), 0x0000FF);
    EXPECT_EQ(HSVtoColor(-10, 1, 1), 0x0000FF);  // no wrapping, also replaced by 0
    EXPECT_EQ(HSLtoColor(360, 1, 0.5), 0x0000FF);
    // -30 becomes 330: (255, 0, 127.5), and the half goes to the even 128.
    EXPECT_EQ(HSLtoColor(-30, 1, 0.5), PackRGB(255, 0, 128));
    EXPECT_EQ(HSLtoColor(690, 1, 0.5), HSLtoColor(330, 1, 0.5));
    EXPECT_EQ(HSLtoColor(800, 1, 0.5), HSLtoColor(80, 1, 0.5));  // beyond one wrap: modulo
    EXPECT_EQ(HSItoColor(-400, 1, 0.5), HSItoColor(320, 1, 0.5));
    EXPECT_EQ(HSItoColor(360, 1, 1.0 / 3), 0x0000FF);
    EXPECT_EQ(HSLtoColor(kNaN, kNaN, kNaN), 0);
    EXPECT_EQ(HSVtoColor(kNaN, 1, 1), 0x0000FF);
    EXPECT_EQ(HSLtoColor(120, 5, 2), 0xFFFFFF);  // S and L clamped to 1
    EXPECT_EQ(HSVtoColor(0, 0, 0.5), 0x808080);  // 127.5 rounds to the even 128
    EXPECT_EQ(HSItoColor(0, 1, 1), 0x0000FF);    // channel fractions capped at 1
}

TEST(ColorModels, HueModelsRoundTripOverAGrid) {
    // HSL and HSV are exact inverses on 8-bit channels once rounded to the nearest integer.
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 5) {
                const TColor c = PackRGB(r, g, b);
                double h, s, x;
                ColorToHSL(c, h, s, x);
                ASSERT_EQ(HSLtoColor(h, s, x), c) << r << " " << g << " " << b;
                ColorToHSV(c, h, s, x);
                ASSERT_EQ(HSVtoColor(h < 0 ? 0 : h, s, x), c) << r << " " << g << " " << b;
            }
}

TEST(ColorModels, CmyCmykAndGrey) {
    double c, m, y, k;
    RGBtoCMY(255, 0, 51, c, m, y);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(m, 1);
    EXPECT_DOUBLE_EQ(y, 0.8);
    std::uint8_t r, g, b;
    CMYtoRGB(-1, 2, 0.5, r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 128);  // 127.5 to even
    c = 0.5, m = 0.2, y = 1.7;
    CMYtoCMYK(c, m, y, k);
    EXPECT_DOUBLE_EQ(k, 0.2);
    EXPECT_DOUBLE_EQ(c, 0.3);
    EXPECT_EQ(m, 0);
    EXPECT_DOUBLE_EQ(y, 0.8);
    CMYKtoCMY(c, m, y, 0.25);
    EXPECT_DOUBLE_EQ(c, 0.55);
    EXPECT_DOUBLE_EQ(m, 0.25);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(RGBtoGray(255, 255, 255), 255);
    EXPECT_EQ(RGBtoGray(10, 20, 30), 18);  // 3 + 11.8 + 3.3
    EXPECT_EQ(RGBtoGray(0, 1, 0), 1);      // 0.59 rounds up
    EXPECT_EQ(RGBtoGray(0, 0, 4), 0);      // 0.44 rounds down
    EXPECT_EQ(ColorToGrayColor(PackRGB(10, 20, 30)), PackRGB(18, 18, 18));
    EXPECT_EQ(RGBtoGray(std::numeric_limits<std::int32_t>::max(), 0x7FFFFFFF, 0x7FFFFFFF),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RGBColorDistance(0, 0xFFFFFF), 1);
    EXPECT_EQ(RGBColorDistance(0x123456, 0x123456), 0);
    EXPECT_DOUBLE_EQ(RGBColorDistance(0, 0xFF), std::sqrt(1.0 / 3));
}

TEST(ColorModels, Wavelengths) {
    const TColor violet = WavelengthToColor(380, 1);
    EXPECT_EQ(RedOf(violet), BlueOf(violet));
    EXPECT_NEAR(RedOf(violet), 255 * 0.3, 0.51);
    EXPECT_EQ(GreenOf(violet), 0);
    EXPECT_EQ(WavelengthToColor(780, 1), 0);
    EXPECT_EQ(WavelengthToColor(379, 1), 0);
    EXPECT_EQ(WavelengthToColor(-5, 1), 0);
    const TColor green = WavelengthToColor(550, 1);
    EXPECT_EQ(GreenOf(green), 255);
    EXPECT_EQ(RedOf(green), 146);  // 255 * 40 / 70 = 145.71
    EXPECT_EQ(BlueOf(green), 0);
    EXPECT_EQ(WavelengthToColor(645, 1), 0x0000FF);
    EXPECT_EQ(WavelengthToColor(700, 1), 0x0000FF);                // full intensity up to 700
    EXPECT_EQ(WavelengthToColor(740, 1), PackRGB(166, 0, 0));      // 0.3 + 0.7 * 40 / 80 = 0.65
    EXPECT_EQ(WavelengthToColor(500, 0.5), PackRGB(0, 255, 180));  // 255 * sqrt(0.5)
    // A negative gamma raises weights below 1 above 255: each channel stays within its byte.
    EXPECT_EQ(WavelengthToColor(600, -1), PackRGB(255, 255, 0));
    EXPECT_EQ(WavelengthToColor(600, kNaN), 0);
}

TEST(ColorModels, RandomColorsDrawBlueFirst) {
    RandSeed = 12345;
    const std::int32_t b = Random(256), g = Random(256), r = Random(256);
    RandSeed = 12345;
    EXPECT_EQ(RandomColor(), PackRGB(r, g, b));
    RandSeed = 999;
    const std::int32_t bb = 100 + Random(51), gg = 7 + Random(1), rr = 250 + Random(6);
    RandSeed = 999;
    EXPECT_EQ(RandomColor(250, 255, 7, 7, 100, 150), PackRGB(rr, gg, bb));
    RandSeed = 1;
    EXPECT_EQ(RandomColor(9, 2, 9, 2, 9, 2), PackRGB(9, 9, 9));  // empty ranges give the low
    for (int i = 0; i < 200; ++i) {
        const TColor c = RandomColor(10, 20, 30, 40, 50, 60);
        ASSERT_TRUE(RedOf(c) >= 10 && RedOf(c) <= 20 && GreenOf(c) >= 30 && GreenOf(c) <= 40 &&
                    BlueOf(c) >= 50 && BlueOf(c) <= 60);
    }
}

}  // namespace
}  // namespace qorkit
