#include "graphics_sheets.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "qorkit/Qor_qorbase.h"
#include "qorkit/core/lookup_tables.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit::tool {

namespace {

constexpr std::int32_t kCell = 40;
constexpr TColor kHighlight = 0xFFFFFF, kLight = 0xDFDFDF, kShadow = 0x808080, kDark = 0x404040,
                 kFace = 0xC0C0C0;

}  // namespace

void WritePng(TBitmap& b, const std::string& name, std::ostream& out) {
    if (name != "-") {
        b.SaveToFile(FromUtf8(name), ifPNG);
        return;
    }
    const std::vector<std::uint8_t> bytes = b.SaveToBytes(ifPNG);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<TBitmap> Enlarged(TBitmap& b, std::int32_t zoom) {
    auto big = std::make_unique<TBitmap>(b.Width() * zoom, b.Height() * zoom);
    const TDIB dib = b.GetDIB();
    big->Canvas().StretchPixels({0, 0, big->Width(), big->Height()}, dib.Pixels, dib.Width,
                                dib.Height);
    return big;
}

std::unique_ptr<TBitmap> MarkSheet(std::int32_t zoom) {
    TBitmap sheet(16 * kCell + 1, 16 * kCell + 1);
    TCanvas& c = sheet.Canvas();
    c.Font().SetSize(7);
    for (std::int32_t code = 0; code < 256; ++code) {
        const std::int32_t x = (code % 16) * kCell, y = (code / 16) * kCell;
        c.Pen().SetColor(kFace);
        c.Brush().SetStyle(bsClear);
        c.Rectangle(x, y, x + kCell + 1, y + kCell + 1);
        c.Brush().SetStyle(bsClear);
        c.Font().SetColor(kShadow);
        c.TextOut(x + 2, y + 1, IntToStr(code));
        c.Pen().SetColor(code < 52 ? 0x000000 : 0x8B0000);
        DrawMarkOnCanvas(c, static_cast<std::uint8_t>(code), x + kCell / 2, y + kCell / 2 + 5);
    }
    return Enlarged(sheet, zoom);
}

std::unique_ptr<TBitmap> FrameSample(TFrameStyle style, std::int32_t width, std::int32_t height) {
    auto b = std::make_unique<TBitmap>(width, height);
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(kFace);
    c.FillRect({0, 0, width, height});
    DrawFrame(c, style, 10, 10, width - 11, height - 11, kHighlight, kLight, kShadow, kDark,
              0x000000);
    c.Brush().SetStyle(bsClear);
    c.Font().SetSize(10);
    const String name(xmlFrameStyle[style]);
    c.TextOut((width - c.TextWidth(name)) / 2, (height - c.TextHeight(name)) / 2, name);
    return b;
}

std::unique_ptr<TBitmap> LabelPicture(const TCustomTextLabel& label) {
    constexpr std::int32_t kPad = 4, kMargin = 8, kMaxSide = 4096, kMaxShadow = 64;
    std::vector<String> lines;
    for (std::size_t from = 0;;) {
        const std::size_t to = label.Caption().find(u'\n', from);
        lines.push_back(label.Caption().substr(from, to - from));
        if (to == String::npos) break;
        from = to + 1;
    }
    TBitmap probe(1, 1);
    probe.Canvas().Font().Assign(&label.Font());
    const std::int32_t lineHeight = probe.Canvas().TextHeight(u"Ag");
    std::int32_t textWidth = 0;
    for (const String& line : lines)
        textWidth = std::max(textWidth, probe.Canvas().TextWidth(line));
    const std::int32_t boxW = std::min(textWidth + 2 * kPad, kMaxSide / 2);
    const auto boxH = static_cast<std::int32_t>(std::min<std::int64_t>(
        std::int64_t{lineHeight} * static_cast<std::int64_t>(lines.size()) + 2 * kPad,
        kMaxSide / 2));
    const std::int32_t dx = std::clamp(label.ShadowDx(), -kMaxShadow, kMaxShadow);
    const std::int32_t dy = std::clamp(label.ShadowDy(), -kMaxShadow, kMaxShadow);
    const bool shadow = label.Mode() == tlShadow;
    const std::int32_t left = kMargin + (shadow ? std::max(0, -dx) : 0);
    const std::int32_t top = kMargin + (shadow ? std::max(0, -dy) : 0);
    auto b = std::make_unique<TBitmap>(boxW + 2 * kMargin + (shadow ? std::abs(dx) : 0),
                                       boxH + 2 * kMargin + (shadow ? std::abs(dy) : 0));
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(0xFFFFFF);
    c.FillRect({0, 0, b->Width(), b->Height()});
    if (!label.Visible() || label.Mode() == tlOff) return b;
    const TRect box{left, top, left + boxW, top + boxH};
    if (shadow) {
        c.Brush().SetColor(label.ColorShadow());
        c.FillRect({box.Left + dx, box.Top + dy, box.Right + dx, box.Bottom + dy});
    }
    if (!label.Transparent()) {
        c.Brush().SetColor(label.ColorBkg());
        c.FillRect(box);
    }
    c.Pen().SetColor(label.ColorBrd());
    c.Brush().SetStyle(bsClear);
    if (label.Mode() == tlBox || shadow) c.Rectangle(box);
    if (label.Mode() == tlUnderline) {
        c.MoveTo(box.Left, box.Bottom - 1);
        c.LineTo(box.Right, box.Bottom - 1);
    }
    c.Font().Assign(&label.Font());
    std::int32_t y = top + kPad;
    for (const String& line : lines) {
        const std::int32_t w = c.TextWidth(line);
        const std::int32_t x = label.Alignment() == taLeftJustify ? box.Left + kPad
                               : label.Alignment() == taRightJustify
                                   ? box.Right - kPad - w
                                   : (box.Left + box.Right - w) / 2;
        c.TextOut(x, y, line);
        y += lineHeight;
    }
    return b;
}

std::optional<TFrameStyle> FrameStyleByName(std::string_view name) {
    const String wanted = LowerCase(FromUtf8(name));
    for (std::size_t k = 0; k < xmlFrameStyle.size(); ++k) {
        const String full = LowerCase(String(xmlFrameStyle[k]));
        if (wanted == full || wanted == full.substr(2)) return static_cast<TFrameStyle>(k);
    }
    return std::nullopt;
}

}  // namespace qorkit::tool
