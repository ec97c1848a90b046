// Tour section: colour models, named colours and colour arrays.
#include <cstdio>
#include <string>

#include "command.h"
#include "qorkit/Qor_qorcolors.h"

namespace qorkit::tool {

namespace {

std::string Hex(TColor c) {
    return ToUtf8(ColorToHexStr(c));
}

std::string Num(double x, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
    return buf;
}

void ShowColors(std::ostream& out) {
    TColor steel = 0;
    ColorByName(u"SteelBlue", steel);
    double h, s, l;
    ColorToHSL(steel, h, s, l);
    out << "SteelBlue is stored as " << Hex(steel) << " (blue, green, red); HSL " << Num(h, 1)
        << " " << Num(s, 3) << " " << Num(l, 3) << ", and back: " << Hex(HSLtoColor(h, s, l))
        << "\n";
    out << "ObtainColorName(00FFFF00) = " << ToUtf8(ObtainColorName(0xFFFF00))
        << " (the first of Aqua and Cyan); of 00010203 = " << ToUtf8(ObtainColorName(0x010203))
        << "\n";
    out << "550 nm is " << Hex(WavelengthToColor(550, 0.8)) << ", 450 nm is "
        << Hex(WavelengthToColor(450, 0.8))
        << "; MeanColor(Red, Blue) = " << Hex(MeanColor(0x0000FF, 0xFF0000)) << "\n";

    TColorArray palette;
    out << "A new TColorArray: " << palette.Size() << " rainbow colours, "
        << Hex(palette.GetColorElem(1)) << " .. " << Hex(palette.GetColorElem(1000)) << "\n";
    palette.SetSize(12);
    palette.FillByInterpolation(4, ColorArray_Geo1);
    out << "Geo1 in 4 steps over 12 colours:";
    for (int i = 1; i <= 12; ++i)
        out << " " << Hex(palette.GetColorElem(i)).substr(2);
    double d = 0;
    const int ix = palette.ColorToIndex(0x3586BD, d);
    out << "\nColorToIndex(003586BD) = " << ix << " at distance " << Num(d, 4) << "\n";
}

const RegisterTourSection kSection({80, "Colours and colour arrays", ShowColors});

}  // namespace

}  // namespace qorkit::tool
