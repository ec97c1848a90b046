// The colour tables against an independent copy of the X11 colour list, and their shape.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "qorkit/Qor_qorcolors.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {
namespace {

struct TRgb {
    const char* Name;
    int R, G, B;
};

// The X11 colour names with their red, green, blue values as published in X.Org's rgb.txt
// (the names without shade digits), alphabetical. Written from that list, not from the
// library's tables.
constexpr TRgb kX11[] = {
    {"AliceBlue", 240, 248, 255},
    {"AntiqueWhite", 250, 235, 215},
    {"Aqua", 0, 255, 255},
    {"Aquamarine", 127, 255, 212},
    {"Azure", 240, 255, 255},
    {"Beige", 245, 245, 220},
    {"Bisque", 255, 228, 196},
    {"Black", 0, 0, 0},
    {"BlanchedAlmond", 255, 235, 205},
    {"Blue", 0, 0, 255},
    {"BlueViolet", 138, 43, 226},
    {"Brown", 165, 42, 42},
    {"Burlywood", 222, 184, 135},
    {"CadetBlue", 95, 158, 160},
    {"Chartreuse", 127, 255, 0},
    {"Chocolate", 210, 105, 30},
    {"Coral", 255, 127, 80},
    {"CornflowerBlue", 100, 149, 237},
    {"Cornsilk", 255, 248, 220},
    {"Crimson", 220, 20, 60},
    {"Cyan", 0, 255, 255},
    {"DarkBlue", 0, 0, 139},
    {"DarkCyan", 0, 139, 139},
    {"DarkGoldenrod", 184, 134, 11},
    {"DarkGray", 169, 169, 169},
    {"DarkGreen", 0, 100, 0},
    {"DarkKhaki", 189, 183, 107},
    {"DarkMagenta", 139, 0, 139},
    {"DarkOliveGreen", 85, 107, 47},
    {"DarkOrange", 255, 140, 0},
    {"DarkOrchid", 153, 50, 204},
    {"DarkRed", 139, 0, 0},
    {"DarkSalmon", 233, 150, 122},
    {"DarkSeaGreen", 143, 188, 143},
    {"DarkSlateBlue", 72, 61, 139},
    {"DarkSlateGray", 47, 79, 79},
    {"DarkTurquoise", 0, 206, 209},
    {"DarkViolet", 148, 0, 211},
    {"DeepPink", 255, 20, 147},
    {"DeepSkyBlue", 0, 191, 255},
    {"DimGray", 105, 105, 105},
    {"DodgerBlue", 30, 144, 255},
    {"Firebrick", 178, 34, 34},
    {"FloralWhite", 255, 250, 240},
    {"ForestGreen", 34, 139, 34},
    {"Fuchsia", 255, 0, 255},
    {"Gainsboro", 220, 220, 220},
    {"GhostWhite", 248, 248, 255},
    {"Gold", 255, 215, 0},
    {"Goldenrod", 218, 165, 32},
    {"Gray", 190, 190, 190},
    {"Green", 0, 255, 0},
    {"GreenYellow", 173, 255, 47},
    {"Honeydew", 240, 255, 240},
    {"HotPink", 255, 105, 180},
    {"IndianRed", 205, 92, 92},
    {"Indigo", 75, 0, 130},
    {"Ivory", 255, 255, 240},
    {"Khaki", 240, 230, 140},
    {"Lavender", 230, 230, 250},
    {"LavenderBlush", 255, 240, 245},
    {"LawnGreen", 124, 252, 0},
    {"LemonChiffon", 255, 250, 205},
    {"LightBlue", 173, 216, 230},
    {"LightCoral", 240, 128, 128},
    {"LightCyan", 224, 255, 255},
    {"LightGoldenrod", 238, 221, 130},
    {"LightGoldenrodYellow", 250, 250, 210},
    {"LightGray", 211, 211, 211},
    {"LightGreen", 144, 238, 144},
    {"LightPink", 255, 182, 193},
    {"LightSalmon", 255, 160, 122},
    {"LightSeaGreen", 32, 178, 170},
    {"LightSkyBlue", 135, 206, 250},
    {"LightSlateBlue", 132, 112, 255},
    {"LightSlateGray", 119, 136, 153},
    {"LightSteelBlue", 176, 196, 222},
    {"LightYellow", 255, 255, 224},
    {"Lime", 0, 255, 0},
    {"LimeGreen", 50, 205, 50},
    {"Linen", 250, 240, 230},
    {"Magenta", 255, 0, 255},
    {"Maroon", 176, 48, 96},
    {"MediumAquamarine", 102, 205, 170},
    {"MediumBlue", 0, 0, 205},
    {"MediumOrchid", 186, 85, 211},
    {"MediumPurple", 147, 112, 219},
    {"MediumSeaGreen", 60, 179, 113},
    {"MediumSlateBlue", 123, 104, 238},
    {"MediumSpringGreen", 0, 250, 154},
    {"MediumTurquoise", 72, 209, 204},
    {"MediumVioletRed", 199, 21, 133},
    {"MidnightBlue", 25, 25, 112},
    {"MintCream", 245, 255, 250},
    {"MistyRose", 255, 228, 225},
    {"Moccasin", 255, 228, 181},
    {"NavajoWhite", 255, 222, 173},
    {"Navy", 0, 0, 128},
    {"NavyBlue", 0, 0, 128},
    {"OldLace", 253, 245, 230},
    {"Olive", 128, 128, 0},
    {"OliveDrab", 107, 142, 35},
    {"Orange", 255, 165, 0},
    {"OrangeRed", 255, 69, 0},
    {"Orchid", 218, 112, 214},
    {"PaleGoldenrod", 238, 232, 170},
    {"PaleGreen", 152, 251, 152},
    {"PaleTurquoise", 175, 238, 238},
    {"PaleVioletRed", 219, 112, 147},
    {"PapayaWhip", 255, 239, 213},
    {"PeachPuff", 255, 218, 185},
    {"Peru", 205, 133, 63},
    {"Pink", 255, 192, 203},
    {"Plum", 221, 160, 221},
    {"PowderBlue", 176, 224, 230},
    {"Purple", 160, 32, 240},
    {"RebeccaPurple", 102, 51, 153},
    {"Red", 255, 0, 0},
    {"RosyBrown", 188, 143, 143},
    {"RoyalBlue", 65, 105, 225},
    {"SaddleBrown", 139, 69, 19},
    {"Salmon", 250, 128, 114},
    {"SandyBrown", 244, 164, 96},
    {"SeaGreen", 46, 139, 87},
    {"Seashell", 255, 245, 238},
    {"Sienna", 160, 82, 45},
    {"Silver", 192, 192, 192},
    {"SkyBlue", 135, 206, 235},
    {"SlateBlue", 106, 90, 205},
    {"SlateGray", 112, 128, 144},
    {"Snow", 255, 250, 250},
    {"SpringGreen", 0, 255, 127},
    {"SteelBlue", 70, 130, 180},
    {"Tan", 210, 180, 140},
    {"Teal", 0, 128, 128},
    {"Thistle", 216, 191, 216},
    {"Tomato", 255, 99, 71},
    {"Turquoise", 64, 224, 208},
    {"Violet", 238, 130, 238},
    {"VioletRed", 208, 32, 144},
    {"WebGray", 128, 128, 128},
    {"WebGreen", 0, 128, 0},
    {"WebMaroon", 128, 0, 0},
    {"WebPurple", 128, 0, 128},
    {"Wheat", 245, 222, 179},
    {"White", 255, 255, 255},
    {"WhiteSmoke", 245, 245, 245},
    {"Yellow", 255, 255, 0},
    {"YellowGreen", 154, 205, 50},
};

// The shades 1..4 of rgb.txt that do not follow its usual scaling of shade 1 by 238/255,
// 205/255 and 139/255 (HotPink's shades were chosen by hand there).
constexpr TRgb kX11IrregularShades[] = {
    {"HotPink2", 238, 106, 167}, {"HotPink3", 205, 96, 144}, {"HotPink4", 139, 58, 98}};

TColor ColorOf(const TRgb& e) {
    return PackRGB(e.R, e.G, e.B);
}

std::string Lower(std::u16string_view s) {
    return ToUtf8(LowerCase(s));
}

std::map<std::string, TColor> X11ByName() {
    std::map<std::string, TColor> m;
    for (const TRgb& e : kX11)
        m[Lower(FromUtf8(e.Name))] = ColorOf(e);
    return m;
}

// Where the library's tables deliberately differ from rgb.txt: the four names whose X11 and
// web values differ carry the web values (rgb.txt has those as WebGray ... WebPurple), and
// SkyBlue is the platform's sky blue (A6CAF0) in both tables, as is SkyBlue1 the X11 SkyBlue.
const std::map<std::string, TColor> kDeliberate = {
    {"gray", 0x808080},   {"green", 0x008000},   {"maroon", 0x000080},
    {"purple", 0x800080}, {"skyblue", 0xF0CAA6}, {"skyblue1", 0xEBCE87},
};

TEST(ColorTables, X11ColorsFollowTheX11ListInOrder) {
    // The set has every X11 name above except Teal (a basic colour of the library instead),
    // VioletRed, NavyBlue and LightGoldenrodYellow (found among the named colours only).
    const std::set<std::string> notInSet = {"teal", "violetred", "navyblue",
                                            "lightgoldenrodyellow"};
    std::vector<const TRgb*> expected;
    for (const TRgb& e : kX11)
        if (!notInSet.count(Lower(FromUtf8(e.Name)))) expected.push_back(&e);
    ASSERT_EQ(expected.size(), X11Colors.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string name = Lower(FromUtf8(expected[i]->Name));
        const auto deliberate = kDeliberate.find(name);
        const TColor want =
            deliberate != kDeliberate.end() ? deliberate->second : ColorOf(*expected[i]);
        EXPECT_EQ(X11Colors[static_cast<int>(i) + 1], want)
            << "entry " << i + 1 << " " << expected[i]->Name;
        if (deliberate != kDeliberate.end()) {
            EXPECT_NE(want, ColorOf(*expected[i])) << name << " is no longer a difference";
        }
    }
}

TEST(ColorTables, NamedColorsAgreeWithX11WhereTheyShareAName) {
    const auto x11 = X11ByName();
    int compared = 0;
    for (int i = 1; i <= 466; ++i) {
        const std::string name = Lower(AllQORColorNames[i]);
        const auto deliberate = kDeliberate.find(name);
        if (deliberate != kDeliberate.end()) {
            EXPECT_EQ(AllQORColors[i], deliberate->second) << name;
            continue;
        }
        const auto it = x11.find(name);
        if (it == x11.end()) continue;
        EXPECT_EQ(AllQORColors[i], it->second) << "entry " << i << " " << name;
        ++compared;
    }
    EXPECT_GE(compared, 140);
}

TEST(ColorTables, ShadesFollowTheX11Scaling) {
    // rgb.txt derives shades 2, 3 and 4 from shade 1 by the factors 238/255, 205/255 and
    // 139/255 (its own rounding is not uniform, so one step either way is allowed); this checks
    // every shaded entry of the named colours, bar the published exceptions.
    std::map<std::string, TColor> byName;
    for (int i = 1; i <= 466; ++i)
        byName[ToUtf8(AllQORColorNames[i])] = AllQORColors[i];
    std::map<std::string, TColor> irregular;
    for (const TRgb& e : kX11IrregularShades)
        irregular[e.Name] = ColorOf(e);
    int families = 0;
    for (const auto& [name, shade1] : byName) {
        if (name.empty() || name.back() != '1') continue;
        const std::string base = name.substr(0, name.size() - 1);
        ++families;
        const int factor[] = {238, 205, 139};
        for (int k = 2; k <= 4; ++k) {
            const std::string shade = base + char('0' + k);
            ASSERT_TRUE(byName.count(shade)) << shade;
            const TColor got = byName[shade];
            if (irregular.count(shade)) {
                EXPECT_EQ(got, irregular[shade]) << shade;
                continue;
            }
            // SkyBlue1 is deliberately the base SkyBlue; its shades scale X11's SkyBlue1.
            const TColor one = base == "SkyBlue" ? PackRGB(135, 206, 255) : shade1;
            const auto near = [&](int c1, int ck) {
                return std::abs(ck * 255 - c1 * factor[k - 2]) <= 255;
            };
            EXPECT_TRUE(near(RedOf(one), RedOf(got)) && near(GreenOf(one), GreenOf(got)) &&
                        near(BlueOf(one), BlueOf(got)))
                << shade << " = " << ToUtf8(ColorToHexStr(got));
        }
    }
    EXPECT_EQ(families, 78);
}

TEST(ColorTables, ShapeAndOrderOfTheTables) {
    EXPECT_EQ(AllQORColorNames[1], u"Black");
    EXPECT_EQ(AllQORColorNames[19], u"MedGray");
    EXPECT_EQ(AllQORColors[19], 0xA4A0A0);
    EXPECT_EQ(AllQORColorNames[20], u"AliceBlue");
    EXPECT_EQ(AllQORColorNames[466], u"YellowGreen");
    EXPECT_EQ(AllQORColors[0], 0);
    EXPECT_EQ(AllQORColorNames[467], u"");
    // Entries 20..466 are in alphabetical order, ignoring case, and no name repeats.
    std::set<std::string> seen;
    for (int i = 1; i <= 466; ++i) {
        EXPECT_TRUE(seen.insert(Lower(AllQORColorNames[i])).second) << i;
        if (i > 20) {
            EXPECT_LT(Lower(AllQORColorNames[i - 1]), Lower(AllQORColorNames[i])) << i;
        }
    }
    // The basic colours lead the predefined ones and the named ones alike.
    for (int i = 1; i <= 16; ++i)
        EXPECT_EQ(PredefinedColors[i], AllQORColors[i]) << i;
    EXPECT_EQ(PredefinedColors[18], 0xF0CAA6);
    EXPECT_EQ(PredefinedColors[30], 0x20000000);
    EXPECT_EQ(PredefinedColors[41], 0x1FFFFFFF);
    int systemRefs = 0;
    for (TColor c : PredefinedColors)
        if ((static_cast<std::uint32_t>(c) >> 24) == 0xFF) ++systemRefs;
    EXPECT_EQ(systemRefs, 25);
    EXPECT_EQ(ColorArray_Rainbow.back(), 0x000040);
    EXPECT_EQ(ColorArray_Circle.front(), ColorArray_Circle.back());
    EXPECT_EQ(ColorArray_Contrast[10], 0xC5CD18);
    EXPECT_EQ(ColorArray_Geo3[5], 0x4AA885);
}

// zlib's CRC-32 of lines "HEX\n" (or "Name HEX\n"), 8 upper-case digits per value.
template <class Table>
std::uint32_t Digest(const Table& values, const TIndexedTable<std::u16string_view, 1, 466>* names) {
    std::string text;
    int i = 0;
    for (TColor c : values) {
        ++i;
        if (names) text += ToUtf8((*names)[i]) + " ";
        text += ToUtf8(ColorToHexStr(c)) + "\n";
    }
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

TEST(ColorTables, EveryEntryAsPublished) {
    // Digests of the published lists, taken from their text: a single wrong digit or name in
    // any of the generated tables changes them (the comparisons above say where, for the X11
    // names).
    EXPECT_EQ(Digest(X11Colors, nullptr), 0xC9D5B12Eu);
    EXPECT_EQ(Digest(PredefinedColors, nullptr), 0x68300B3Du);
    EXPECT_EQ(Digest(AllQORColors, &AllQORColorNames), 0x0EA8BDF0u);
    std::vector<TColor> scales;
    for (const auto* s :
         {&ColorArray_Geo1, &ColorArray_Geo2, &ColorArray_Geo3, &ColorArray_Rainbow})
        scales.insert(scales.end(), s->begin(), s->end());
    for (const auto* s : {&ColorArray_Circle, &ColorArray_MorgenStemning})
        scales.insert(scales.end(), s->begin(), s->end());
    scales.insert(scales.end(), ColorArray_Contrast.begin(), ColorArray_Contrast.end());
    EXPECT_EQ(Digest(scales, nullptr), 0xF88B30D3u);
}

TEST(ColorTables, NameLookups) {
    EXPECT_EQ(ObtainColorName(0x0000FF), u"Red");
    EXPECT_EQ(ObtainColorName(0x778899), u"Bronze");
    EXPECT_EQ(ObtainColorName(0xFFFF00), u"Aqua");
    EXPECT_EQ(ObtainColorName(0x800000), u"Navy");
    EXPECT_EQ(ObtainColorName(0x010203), u"00010203");
    // The whole 32-bit value must match: a system-colour reference is not a named colour.
    EXPECT_EQ(ObtainColorName(static_cast<TColor>(0xFF0000FFu)), u"FF0000FF");
    TColor c = 7;
    EXPECT_TRUE(ColorByName(u"navyblue", c));
    EXPECT_EQ(c, 0x800000);
    EXPECT_TRUE(ColorByName(u"CYAN", c));
    EXPECT_EQ(c, 0xFFFF00);
    c = 7;
    EXPECT_FALSE(ColorByName(u"Cyan5", c));
    EXPECT_EQ(c, 7);
    double d = -1;
    EXPECT_EQ(NearestNamedColor(0x0000FE, d), 10);  // Red, before Red1
    EXPECT_NEAR(d, 1.0 / std::sqrt(195075.0), 1e-15);
    EXPECT_EQ(NearestNamedColor(0xFFFF00, d), 15);  // Aqua, the first of the equal ones
    EXPECT_EQ(d, 0.0);
}

}  // namespace
}  // namespace qorkit
