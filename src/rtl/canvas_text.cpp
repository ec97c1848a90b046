// Text on a canvas: measuring and drawing through the font engine.
#include <limits>

#include "font_engine.h"
#include "qorkit/rtl/canvas.h"
#include "raster.h"

namespace qorkit {

namespace {

std::int32_t Saturate(std::int64_t v) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v < lo ? lo : (v > hi ? hi : v));
}

}  // namespace

std::int32_t TCanvas::TextWidth(const String& Text) {
    return Saturate(detail::MeasureText(FFont, Text));
}

std::int32_t TCanvas::TextHeight(const String&) {
    const detail::FontMetrics m = detail::MeasureFont(FFont);
    return Saturate(m.Ascent + m.Descent);
}

TPoint TCanvas::TextExtent(const String& Text) {
    return {TextWidth(Text), TextHeight(Text)};
}

TTextMetric TCanvas::GetTextMetrics() {
    const detail::FontMetrics m = detail::MeasureFont(FFont);
    TTextMetric t;
    t.Ascent = Saturate(m.Ascent);
    t.Descent = Saturate(m.Descent);
    t.Height = Saturate(m.Ascent + m.Descent);
    t.InternalLeading = Saturate(m.Ascent + m.Descent - m.EmHeight);
    t.AveCharWidth = Saturate(m.AveCharWidth);
    t.PitchAndFamily = static_cast<std::uint8_t>((m.FixedPitch ? 0 : 1) | (m.Scalable ? 2 : 0) |
                                                 (m.TrueType ? 4 : 0));
    return t;
}

void TCanvas::TextOut(std::int32_t X, std::int32_t Y, const String& Text) {
    const detail::FontMetrics m = detail::MeasureFont(FFont);
    const std::int64_t width = detail::MeasureText(FFont, Text);
    FPenPos = {Saturate(static_cast<std::int64_t>(X) + width), Y};
    if (!FSurface || FSurface->Pixels.empty()) return;
    TPixelSurface& s = *FSurface;
    const std::int64_t height = m.Ascent + m.Descent;
    if (FBrush.Style() == bsSolid && width > 0)
        detail::FillBox(s, X, Y, X + width - 1, Y + height - 1, ResolveSystemColor(FBrush.Color()));
    const std::uint32_t pixel = ResolveSystemColor(FFont.Color());
    const std::int64_t baseline = static_cast<std::int64_t>(Y) + m.Ascent;
    detail::RenderText(FFont, Text, X, baseline, 0, s.Width - 1,
                       [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
                           detail::FillSpan(s, y, x0, x1, pixel);
                       });
    if (width <= 0) return;
    const auto bar = [&](std::int64_t top) {
        detail::FillBox(s, X, top, X + width - 1, top + m.BarThickness - 1, pixel);
    };
    if (FFont.Style().Contains(fsUnderline)) bar(baseline - m.UnderlinePosition);
    if (FFont.Style().Contains(fsStrikeOut)) bar(baseline - m.StrikeOutPosition);
}

}  // namespace qorkit
