#include "qorkit/graphics/frames.h"

#include <algorithm>
#include <limits>

namespace qorkit {

namespace {

// v + d saturated to the 32-bit range (the canvas clips, so a saturated end moves nothing
// visible).
std::int32_t Off(std::int32_t v, std::int32_t d) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        static_cast<std::int64_t>(v) + d, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void DrawRectangle(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Right,
                   std::int32_t Bottom) {
    Canvas.MoveTo(Left, Top);
    Canvas.LineTo(Left, Bottom);
    Canvas.LineTo(Right, Bottom);
    Canvas.LineTo(Right, Top);
    Canvas.LineTo(Left, Top);
}

void DrawFrame(TCanvas& Canvas, TFrameStyle Style, std::int32_t Left, std::int32_t Top,
               std::int32_t Right, std::int32_t Bottom, TColor C1, TColor C2, TColor C3, TColor C4,
               TColor C5) {
    TColor a, b, c, d;
    switch (Style) {
        case fsSimple:
            Canvas.Pen().SetColor(C5);
            DrawRectangle(Canvas, Left, Top, Right, Bottom);
            return;
        case fsLowered:
            a = C3, b = C1, c = C4, d = C2;
            break;
        case fsRaised:
            a = C1, b = C4, c = C2, d = C3;
            break;
        case fsEmbossed:
            a = C1, b = C3, c = C3, d = C1;
            break;
        case fsEngraved:
            a = C3, b = C1, c = C1, d = C3;
            break;
        default:
            return;  // fsNone and values outside the enumeration
    }
    TPen& pen = Canvas.Pen();
    // Outer left and top edges, then outer right and bottom.
    pen.SetColor(a);
    Canvas.MoveTo(Left, Bottom);
    Canvas.LineTo(Left, Top);
    Canvas.LineTo(Off(Right, 1), Top);
    Canvas.MoveTo(Right, Off(Top, 1));
    pen.SetColor(b);
    Canvas.LineTo(Right, Bottom);
    Canvas.LineTo(Off(Left, -1), Bottom);
    // Inner left and top, then inner right and bottom.
    pen.SetColor(c);
    Canvas.MoveTo(Off(Left, 1), Off(Bottom, -1));
    Canvas.LineTo(Off(Left, 1), Off(Top, 1));
    Canvas.LineTo(Right, Off(Top, 1));
    Canvas.MoveTo(Off(Right, -1), Off(Top, 2));
    pen.SetColor(d);
    Canvas.LineTo(Off(Right, -1), Off(Bottom, -1));
    Canvas.LineTo(Left, Off(Bottom, -1));
}

}  // namespace qorkit
