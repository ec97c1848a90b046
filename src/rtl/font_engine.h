// Fonts for the canvas: fontconfig finds the file for a family and style, FreeType renders
// monochrome glyphs. One process-wide engine behind a mutex.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "qorkit/rtl/graphics_tools.h"

namespace qorkit::detail {

/// Metrics of a font at its pixel height, in whole pixels (y upwards from the baseline for
/// the positions).
struct FontMetrics {
    std::int64_t Ascent = 0;
    std::int64_t Descent = 0;
    std::int64_t EmHeight = 0;
    std::int64_t AveCharWidth = 0;
    std::int64_t UnderlinePosition = 0;  ///< top of the underline bar, negative below
    std::int64_t StrikeOutPosition = 0;  ///< top of the strike-out bar
    std::int64_t BarThickness = 1;
    bool Scalable = false;
    bool FixedPitch = false;
    bool TrueType = false;
};

/// The metrics of `font`. Raises `EInvalidGraphicOperation` when no font file can be loaded.
FontMetrics MeasureFont(const TFont& font);

/// The sum of the advances of `text` in `font`, in pixels.
std::int64_t MeasureText(const TFont& font, std::u16string_view text);

/// Renders `text` with the pen starting at (x, baseline); `span(y, x0, x1)` receives every
/// horizontal run of set pixels (x1 inclusive). Glyphs entirely outside the columns
/// `visibleLeft`..`visibleRight` are measured but not rendered.
void RenderText(const TFont& font, std::u16string_view text, std::int64_t x, std::int64_t baseline,
                std::int64_t visibleLeft, std::int64_t visibleRight,
                const std::function<void(std::int64_t, std::int64_t, std::int64_t)>& span);

/// The family names of every installed font (the first name of each face), unsorted.
std::vector<std::string> InstalledFamilies();

}  // namespace qorkit::detail
