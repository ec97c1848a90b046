// The screen object: resolution and the installed fonts.
#pragma once

#include <cstdint>

#include "qorkit/rtl/string_list.h"

namespace qorkit {

/// What the library knows about the display: a resolution of 96 pixels per inch and a
/// 1920 x 1080 desktop (there is no display to ask), and the installed font families.
class TScreen {
  public:
    std::int32_t PixelsPerInch() const noexcept { return 96; }
    std::int32_t Width() const noexcept { return 1920; }
    std::int32_t Height() const noexcept { return 1080; }
    /// The family names of the installed fonts as fontconfig lists them, sorted without
    /// regard to A-Z case, each once. Read on first use and kept.
    const TStringList& Fonts();
    /// Reads the font list again (after fonts were installed).
    void ResetFonts();

  private:
    TStringList FFonts;
    bool FHaveFonts = false;
};

/// The process-wide screen object.
TScreen& Screen();

}  // namespace qorkit
