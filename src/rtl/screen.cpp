#include "qorkit/rtl/screen.h"

#include "font_engine.h"

namespace qorkit {

const TStringList& TScreen::Fonts() {
    if (!FHaveFonts) {
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(dupIgnore);
        for (const std::string& family : detail::InstalledFamilies())
            list.Add(FromUtf8(family));
        FFonts.Assign(&list);
        FHaveFonts = true;
    }
    return FFonts;
}

void TScreen::ResetFonts() {
    FHaveFonts = false;
}

TScreen& Screen() {
    static TScreen screen;
    return screen;
}

}  // namespace qorkit
