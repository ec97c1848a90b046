// Three-dimensional frames and rectangle outlines.
#pragma once

#include <cstdint>

#include "qorkit/core/types.h"
#include "qorkit/rtl/canvas.h"

namespace qorkit {

/// Draws a frame around Left..Right, Top..Bottom (the right and bottom edges lie on Right and
/// Bottom). `fsSimple` draws `DrawRectangle` in `C5`; `fsLowered`, `fsRaised`, `fsEmbossed`
/// and `fsEngraved` draw an outer edge (left and top, then right and bottom) and an inner edge
/// one pixel inside, with the colours: lowered C3, C1, C4, C2; raised C1, C4, C2, C3; embossed
/// C1, C3, C3, C1; engraved C3, C1, C1, C3. C1 is the highlight and C3 the shadow of the outer
/// edge, C2 and C4 the lighter and darker inner tones. `fsNone` and values outside the
/// enumeration draw nothing and leave the pen as it was; otherwise the pen keeps the last
/// colour used.
void DrawFrame(TCanvas& Canvas, TFrameStyle Style, std::int32_t Left, std::int32_t Top,
               std::int32_t Right, std::int32_t Bottom, TColor C1, TColor C2, TColor C3, TColor C4,
               TColor C5);

/// The outline through (Left, Top), (Left, Bottom), (Right, Bottom), (Right, Top) and back,
/// drawn with the current pen; the inside is not touched and the pen ends at (Left, Top).
void DrawRectangle(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Right,
                   std::int32_t Bottom);

}  // namespace qorkit
