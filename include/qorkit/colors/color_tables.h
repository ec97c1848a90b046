// The library's constant colour tables: the X11 colour set, the platform's predefined colours,
// 466 named colours, seven short colour scales, and the name lookups over the named colours.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "qorkit/rtl/graphics_types.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// A constant table indexed `Lo`..`Hi`: `Table[i]` is entry i, and an index out of range gives
/// the neutral value `T{}` (0, or the empty view) instead of reading outside the table.
/// `Items()` is the same data indexed from 0, for iteration and spans.
template <class T, int Lo, int Hi>
class TIndexedTable {
  public:
    static constexpr int kLow = Lo;
    static constexpr int kHigh = Hi;
    static constexpr std::size_t kCount = static_cast<std::size_t>(Hi - Lo + 1);

    constexpr explicit TIndexedTable(std::array<T, kCount> Items) : FItems(Items) {}
    constexpr T operator[](int Index) const {
        if (Index < Lo || Index > Hi) return T{};
        return FItems[static_cast<std::size_t>(Index - Lo)];
    }
    constexpr const std::array<T, kCount>& Items() const { return FItems; }
    constexpr std::size_t size() const { return kCount; }
    constexpr auto begin() const { return FItems.begin(); }
    constexpr auto end() const { return FItems.end(); }

  private:
    std::array<T, kCount> FItems;
};

/// The X11 colour set, 1..145, in the alphabetical order of the colour names (AliceBlue first,
/// YellowGreen last). Gray, Green, Maroon and Purple carry their web values (as do WebGray ...
/// WebPurple), SkyBlue the platform's sky blue, and there is no Teal.
extern const TIndexedTable<TColor, 1, 145> X11Colors;
/// The platform's predefined colours, 1..47: the sixteen basic colours, money green, sky blue,
/// cream, medium grey, then the system-colour references (top byte FF) with the no-colour
/// value 1FFFFFFF and the default-colour value 20000000 among them.
extern const TIndexedTable<TColor, 1, 47> PredefinedColors;
/// 466 named colours, 1..466, parallel to `AllQORColorNames`: the basic and extra colours
/// (Black .. MedGray), then X11-style names in alphabetical order with their shades 1 to 4.
/// Several names share a value (Aqua and Cyan, Blue and Blue1, ...).
extern const TIndexedTable<TColor, 1, 466> AllQORColors;
/// The names of `AllQORColors`, entry for entry ("Black", "Maroon", ..., "YellowGreen").
extern const TIndexedTable<std::u16string_view, 1, 466> AllQORColorNames;

/// Colour scales, indexed from 0, for `TColorArray::FillByInterpolation`.
extern const std::array<TColor, 11> ColorArray_Geo1;
extern const std::array<TColor, 11> ColorArray_Geo2;
extern const std::array<TColor, 11> ColorArray_Geo3;
extern const std::array<TColor, 11> ColorArray_Rainbow;
extern const std::array<TColor, 7> ColorArray_Circle;
extern const std::array<TColor, 7> ColorArray_MorgenStemning;
extern const std::array<TColor, 16> ColorArray_Contrast;

/// The name of the first entry of `AllQORColors` whose value equals the whole 32-bit `Color`;
/// without one, `ColorToHexStr(Color)`. 000000FF gives "Red", 00FFFF00 "Aqua" (before Cyan),
/// 00010203 gives "00010203".
String ObtainColorName(TColor Color);

/// Looks `Name` up in `AllQORColorNames`, folding only A-Z ("navyblue" finds NavyBlue), and
/// stores the first match's colour in `Color`. Returns false, leaving `Color` alone, when no
/// name matches.
bool ColorByName(std::u16string_view Name, TColor& Color);

/// The index (1..466) of the entry of `AllQORColors` nearest to `Color` by `RGBColorDistance`,
/// the first of equally near entries; `Distance` receives that distance.
int NearestNamedColor(TColor Color, double& Distance);

}  // namespace qorkit
