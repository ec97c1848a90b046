// Pictures the graphics commands and the tour draw: the sheet of every mark code and a frame
// sample and a text label.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "qorkit/core/types.h"
#include "qorkit/graphics/text_label.h"
#include "qorkit/rtl/bitmap.h"

namespace qorkit::tool {

/// A 16 x 16 grid of every mark code 0..255, each cell labelled with its code, enlarged
/// `zoom` times (1..8) pixel for pixel.
std::unique_ptr<TBitmap> MarkSheet(std::int32_t zoom);

/// A `width` x `height` picture of a frame in `style` with the classic light scheme colours,
/// its name written inside.
std::unique_ptr<TBitmap> FrameSample(TFrameStyle style, std::int32_t width, std::int32_t height);

/// The frame style named `name`: "none", "simple", "lowered", "raised", "embossed",
/// "engraved" or the file names "fsNone" ... "fsEngraved", ignoring A-Z case.
std::optional<TFrameStyle> FrameStyleByName(std::string_view name);

/// The label as a chart would show it on a white ground: its caption lines in its font and
/// alignment, on its background unless transparent, with a border for `tlBox` and `tlShadow`,
/// a line under the text for `tlUnderline` and, for `tlShadow`, the shadow at the label's
/// offsets in its shadow colour. A label that is not visible or in `tlOff` leaves the ground
/// empty. The picture is at most 4096 pixels each way.
std::unique_ptr<TBitmap> LabelPicture(const TCustomTextLabel& label);
/// Writes `b` as PNG to the file `name`, or to `out` for "-". Errors of the file raise the
/// bitmap's exceptions; the dispatcher checks standard output.
void WritePng(TBitmap& b, const std::string& name, std::ostream& out);
/// `b` enlarged `zoom` times, each pixel becoming a zoom x zoom block.
std::unique_ptr<TBitmap> Enlarged(TBitmap& b, std::int32_t zoom);

}  // namespace qorkit::tool
