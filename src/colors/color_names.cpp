// Name lookups over the named colours.
#include "qorkit/colors/color_models.h"
#include "qorkit/colors/color_tables.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

String ObtainColorName(TColor Color) {
    for (int i = AllQORColors.kLow; i <= AllQORColors.kHigh; ++i)
        if (AllQORColors[i] == Color) return String(AllQORColorNames[i]);
    return ColorToHexStr(Color);
}

bool ColorByName(std::u16string_view Name, TColor& Color) {
    const String key = LowerCase(Name);
    for (int i = AllQORColorNames.kLow; i <= AllQORColorNames.kHigh; ++i) {
        if (LowerCase(AllQORColorNames[i]) == key) {
            Color = AllQORColors[i];
            return true;
        }
    }
    return false;
}

int NearestNamedColor(TColor Color, double& Distance) {
    int best = AllQORColors.kLow;
    Distance = 2;  // above every distance, so entry 1 is taken at least
    for (int i = AllQORColors.kLow; i <= AllQORColors.kHigh; ++i) {
        const double d = RGBColorDistance(Color, AllQORColors[i]);
        if (d < Distance) {
            Distance = d;
            best = i;
        }
    }
    return best;
}

}  // namespace qorkit
