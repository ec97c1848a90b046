// BMP files: the Windows bitmap file header, an info header of 12 (core), 40, 52, 56, 108 or
// 124 bytes, an optional colour table and rows padded to four bytes.
#include <algorithm>
#include <array>
#include <string>

#include "image_codecs.h"
#include "qorkit/rtl/bitmap.h"

namespace qorkit::detail {

namespace {

[[noreturn]] void Bad(const std::string& what) {
    throw EInvalidGraphic("Invalid BMP image: " + what);
}

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A channel given by a bit mask, scaled to 0..255.
struct Channel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint32_t Max = 0;
    explicit Channel(std::uint32_t mask) : Mask(mask) {
        if (mask == 0) return;
        while (((mask >> Shift) & 1) == 0)
            ++Shift;
        Max = mask >> Shift;
    }
    std::uint32_t Get(std::uint32_t v) const {
        if (Max == 0) return 0;
        return static_cast<std::uint32_t>(
            (static_cast<std::uint64_t>((v & Mask) >> Shift) * 255 + Max / 2) / Max);
    }
};

constexpr std::uint32_t kRGB = 0, kBitFields = 3, kAlphaBitFields = 6;

}  // namespace

bool IsBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

TPixelSurface DecodeBmp(std::span<const std::uint8_t> b) {
    if (b.size() < 26 || !IsBmp(b)) Bad("no bitmap file header");
    const std::uint32_t dataOffset = U32(b, 10);
    const std::uint32_t headerSize = U32(b, 14);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        Bad("unknown info header size " + std::to_string(headerSize));
    if (b.size() < 14 + static_cast<std::size_t>(headerSize)) Bad("truncated info header");
    std::int64_t width, height;
    std::uint32_t bpp, compression = kRGB, colorsUsed = 0;
    if (core) {
        width = U16(b, 18);
        height = static_cast<std::int16_t>(U16(b, 20));
        bpp = U16(b, 24);
    } else {
        width = static_cast<std::int32_t>(U32(b, 18));
        height = static_cast<std::int32_t>(U32(b, 22));
        bpp = U16(b, 28);
        compression = U32(b, 30);
        colorsUsed = U32(b, 46);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) Bad("no pixels");
    CheckImageSize(width, height);
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        Bad("unsupported depth of " + std::to_string(bpp) + " bits");
    if (compression != kRGB && compression != kBitFields && compression != kAlphaBitFields)
        Bad("unsupported compression " + std::to_string(compression));
    if (compression != kRGB && bpp != 16 && bpp != 32) Bad("bit fields need 16 or 32 bits");

    // Colour masks: inside the larger headers, or after a 40-byte one.
    std::size_t tableAt = 14 + headerSize;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (compression != kRGB) {
        std::size_t at = 14 + 40;
        if (headerSize == 40) {
            tableAt += compression == kAlphaBitFields ? 16 : 12;
            if (b.size() < tableAt) Bad("truncated colour masks");
        }
        for (int k = 0; k < 3; ++k)
            masks[k] = U32(b, at + 4 * k);
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        const std::size_t entry = core ? 3 : 4;
        std::size_t count = colorsUsed == 0 ? (std::size_t{1} << bpp) : colorsUsed;
        count = std::min<std::size_t>(count, std::size_t{1} << bpp);
        // Writers that leave the count at 0 often store only the colours used: take the
        // entries that lie before the pixel data.
        if (dataOffset >= tableAt)
            count = std::min<std::size_t>(count, (dataOffset - tableAt) / entry);
        if (tableAt + count * entry > b.size()) Bad("truncated colour table");
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t at = tableAt + k * entry;
            palette.push_back(b[at + 2] | (b[at + 1] << 8) | (b[at] << 16));
        }
    }

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    if (dataOffset > b.size() ||
        stride * static_cast<std::uint64_t>(height) > b.size() - dataOffset)
        Bad("truncated pixel data");

    TPixelSurface s;
    s.Width = static_cast<std::int32_t>(width);
    s.Height = static_cast<std::int32_t>(height);
    s.Pixels.resize(static_cast<std::size_t>(width * height));
    for (std::int64_t row = 0; row < height; ++row) {
        const std::uint8_t* src = b.data() + dataOffset + stride * static_cast<std::uint64_t>(row);
        const std::int64_t y = topDown ? row : height - 1 - row;
        std::uint32_t* dst = s.Pixels.data() + static_cast<std::size_t>(y * width);
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t px;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    const std::uint64_t bit = static_cast<std::uint64_t>(x) * bpp;
                    const std::uint32_t index =
                        (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                    px = index < palette.size() ? palette[index] : 0;  // outside: black
                    break;
                }
                case 24:
                    px = src[3 * x + 2] | (src[3 * x + 1] << 8) | (src[3 * x] << 16);
                    break;
                default: {
                    const std::uint32_t v =
                        bpp == 16 ? static_cast<std::uint32_t>(src[2 * x] | (src[2 * x + 1] << 8))
                                  : U32({src, static_cast<std::size_t>(stride)},
                                        static_cast<std::size_t>(4 * x));
                    px = red.Get(v) | (green.Get(v) << 8) | (blue.Get(v) << 16);
                }
            }
            dst[x] = px;
        }
    }
    return s;
}

std::vector<std::uint8_t> EncodeBmp(const TPixelSurface& s) {
    const std::uint32_t imageSize = static_cast<std::uint32_t>(s.Pixels.size() * 4);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(s.Width));
    Put32(out, static_cast<std::uint32_t>(s.Height));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, kRGB);
    Put32(out, imageSize);
    Put32(out, 3780);  // 96 pixels per inch, in pixels per metre
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (std::int32_t y = s.Height - 1; y >= 0; --y) {
        const std::uint32_t* row = s.Pixels.data() + static_cast<std::size_t>(y) * s.Width;
        for (std::int32_t x = 0; x < s.Width; ++x) {
            const std::uint32_t c = row[x];
            out.push_back(static_cast<std::uint8_t>(c >> 16));  // blue
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c));
            out.push_back(0);
        }
    }
    return out;
}

void CheckImageSize(std::int64_t w, std::int64_t h) {
    if (w > kMaxBitmapSide || h > kMaxBitmapSide || w * h > kMaxBitmapPixels)
        throw EInvalidGraphic("Image of " + std::to_string(w) + " x " + std::to_string(h) +
                              " pixels exceeds the bitmap limits");
}

}  // namespace qorkit::detail
