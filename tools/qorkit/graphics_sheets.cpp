#include "graphics_sheets.h"

#include "qorkit/Qor_qorbase.h"
#include "qorkit/core/lookup_tables.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit::tool {

namespace {

constexpr std::int32_t kCell = 40;
constexpr TColor kHighlight = 0xFFFFFF, kLight = 0xDFDFDF, kShadow = 0x808080, kDark = 0x404040,
                 kFace = 0xC0C0C0;

}  // namespace

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

std::optional<TFrameStyle> FrameStyleByName(std::string_view name) {
    const String wanted = LowerCase(FromUtf8(name));
    for (std::size_t k = 0; k < xmlFrameStyle.size(); ++k) {
        const String full = LowerCase(String(xmlFrameStyle[k]));
        if (wanted == full || wanted == full.substr(2)) return static_cast<TFrameStyle>(k);
    }
    return std::nullopt;
}

}  // namespace qorkit::tool
