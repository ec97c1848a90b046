#include "qorkit/rtl/graphics_tools.h"

#include <array>
#include <cstdlib>
#include <limits>

namespace qorkit {

namespace {

// The classic light desktop scheme, indexed by system colour number, as RRGGBB.
constexpr std::array<std::uint32_t, 31> kSystemColors = {
    0xC0C0C0,  // 0 scroll bar
    0x008080,  // 1 desktop background
    0x000080,  // 2 active caption
    0x808080,  // 3 inactive caption
    0xC0C0C0,  // 4 menu
    0xFFFFFF,  // 5 window
    0x000000,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0xFFFFFF,  // 9 caption text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x000080,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x000000,  // 21 3-D dark shadow
    0xDFDFDF,  // 22 3-D light
    0x000000,  // 23 tooltip text
    0xFFFFE1,  // 24 tooltip background
    0xB5B5B5,  // 25 (unused slot)
    0x0000FF,  // 26 hot light
    0x1084D0,  // 27 gradient active caption
    0xB5B5B5,  // 28 gradient inactive caption
    0x000080,  // 29 menu highlight
    0xC0C0C0,  // 30 menu bar
};

// Copies through `copy` when `Source` is a T, else defers to the base (which raises).
template <class T, class F>
void AssignFrom(T& self, const TPersistent* Source, F copy) {
    if (const auto* other = dynamic_cast<const T*>(Source)) {
        copy(self, *other);
        return;
    }
    self.TPersistent::Assign(Source);
}

}  // namespace

std::uint32_t ResolveSystemColor(TColor Color) noexcept {
    const auto c = static_cast<std::uint32_t>(Color);
    const std::uint32_t top = c >> 24;
    if (top == 0) return c;
    if (top == 0xFF && (c & 0xFFFF00u) == 0 && (c & 0xFF) < kSystemColors.size()) {
        const std::uint32_t rgb = kSystemColors[c & 0xFF];
        // RRGGBB to the TColor layout.
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
    return 0;
}

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) noexcept {
    if (c == 0) return 0;
    const std::int64_t num = static_cast<std::int64_t>(a) * b;
    const std::int64_t den = c;
    std::int64_t q = num / den;
    const std::int64_t r = num % den;
    if (2 * std::llabs(r) >= std::llabs(den)) q += ((num < 0) != (den < 0)) ? -1 : 1;
    if (q > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (q < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(q);
}

// Pen.

void TPen::Changed() {
    if (OnChange) OnChange(this);
}
void TPen::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}
void TPen::SetWidth(std::int32_t Value) {
    FWidth = Value < 1 ? 1 : Value;
    Changed();
}
void TPen::SetStyle(TPenStyle Value) {
    FStyle = Value;
    Changed();
}
void TPen::Assign(const TPersistent* Source) {
    AssignFrom<TPen>(*this, Source, [](TPen& self, const TPen& o) {
        self.FColor = o.FColor;
        self.FWidth = o.FWidth;
        self.FStyle = o.FStyle;
        self.Changed();
    });
}

// Brush.

void TBrush::Changed() {
    if (OnChange) OnChange(this);
}
void TBrush::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
    FStyle = Value;
    Changed();
}
void TBrush::Assign(const TPersistent* Source) {
    AssignFrom<TBrush>(*this, Source, [](TBrush& self, const TBrush& o) {
        self.FColor = o.FColor;
        self.FStyle = o.FStyle;
        self.Changed();
    });
}

// Font.

TFont::TFont() : FName(u"DejaVu Sans") {}

void TFont::Changed() {
    if (OnChange) OnChange(this);
}
void TFont::SetName(const String& Value) {
    FName = Value;
    Changed();
}
std::int32_t TFont::Size() const noexcept {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}
void TFont::SetSize(std::int32_t Value) {
    SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}
void TFont::SetHeight(std::int32_t Value) {
    constexpr std::int32_t kLimit = 16384;
    FHeight = Value < -kLimit ? -kLimit : (Value > kLimit ? kLimit : Value);
    Changed();
}
void TFont::SetPixelsPerInch(std::int32_t Value) {
    FPixelsPerInch = Value < 1 ? 1 : Value;
}
void TFont::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}
void TFont::SetStyle(TFontStyles Value) {
    FStyle = Value;
    Changed();
}
void TFont::Assign(const TPersistent* Source) {
    AssignFrom<TFont>(*this, Source, [](TFont& self, const TFont& o) {
        self.FName = o.FName;
        self.FColor = o.FColor;
        self.FStyle = o.FStyle;
        const std::int32_t kLimit = 16384;
        const std::int32_t h = -MulDiv(o.Size(), self.FPixelsPerInch, 72);
        self.FHeight = o.FPixelsPerInch == self.FPixelsPerInch
                           ? o.FHeight
                           : (h < -kLimit ? -kLimit : (h > kLimit ? kLimit : h));
        self.Changed();
    });
}

}  // namespace qorkit
