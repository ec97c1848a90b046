#include "qorkit/rtl/bitmap.h"

#include <algorithm>
#include <string>

#include "image_codecs.h"
#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

}  // namespace

TBitmap::TBitmap() : FCanvas(&FSurface, 96) {}

TBitmap::TBitmap(std::int32_t W, std::int32_t H) : TBitmap() {
    SetSize(W, H);
}

void TBitmap::SetSize(std::int32_t W, std::int32_t H) {
    if (W < 0 || H < 0 || W > kMaxBitmapSide || H > kMaxBitmapSide ||
        static_cast<std::int64_t>(W) * H > kMaxBitmapPixels)
        throw EInvalidGraphicOperation("Invalid bitmap size " + std::to_string(W) + " x " +
                                       std::to_string(H) + " (sides 0 to " +
                                       std::to_string(kMaxBitmapSide) + ", at most " +
                                       std::to_string(kMaxBitmapPixels) + " pixels)");
    if (W == FSurface.Width && H == FSurface.Height) return;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(W) * H, kWhite);
    const std::int32_t keepW = std::min(W, FSurface.Width), keepH = std::min(H, FSurface.Height);
    for (std::int32_t y = 0; y < keepH; ++y)
        std::copy_n(FSurface.Pixels.data() + static_cast<std::size_t>(y) * FSurface.Width, keepW,
                    pixels.data() + static_cast<std::size_t>(y) * W);
    FSurface.Pixels.swap(pixels);
    FSurface.Width = W;
    FSurface.Height = H;
}

std::span<std::uint32_t> TBitmap::ScanLine(std::int32_t Y) noexcept {
    if (Y < 0 || Y >= FSurface.Height) return {};
    return {FSurface.Pixels.data() + static_cast<std::size_t>(Y) * FSurface.Width,
            static_cast<std::size_t>(FSurface.Width)};
}

std::span<const std::uint32_t> TBitmap::ScanLine(std::int32_t Y) const noexcept {
    if (Y < 0 || Y >= FSurface.Height) return {};
    return {FSurface.Pixels.data() + static_cast<std::size_t>(Y) * FSurface.Width,
            static_cast<std::size_t>(FSurface.Width)};
}

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> Bytes) {
    TPixelSurface loaded;
    if (detail::IsPng(Bytes))
        loaded = detail::DecodePng(Bytes);
    else if (detail::IsBmp(Bytes))
        loaded = detail::DecodeBmp(Bytes);
    else
        throw EInvalidGraphic("Unknown image format: neither a BMP nor a PNG file");
    FSurface.Width = loaded.Width;
    FSurface.Height = loaded.Height;
    FSurface.Pixels.swap(loaded.Pixels);
}

void TBitmap::LoadFromStream(TStream& Stream) {
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    for (;;) {
        const std::int64_t got = Stream.Read(block, sizeof block);
        if (got <= 0) break;
        bytes.insert(bytes.end(), block, block + got);
        // No valid image is larger than its pixels plus headers and a full colour table.
        if (bytes.size() > static_cast<std::size_t>(kMaxBitmapPixels) * 8 + (1 << 20))
            throw EInvalidGraphic("Image data too large");
    }
    LoadFromBytes(bytes);
}

void TBitmap::LoadFromFile(const String& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    try {
        LoadFromStream(file);
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(u"Cannot load \"" + FileName + u"\": " + e.Message());
    }
}

std::vector<std::uint8_t> TBitmap::SaveToBytes(TImageFormat Format) const {
    if (FSurface.Pixels.empty()) throw EInvalidGraphicOperation("Cannot save an empty bitmap");
    return Format == ifPNG ? detail::EncodePng(FSurface) : detail::EncodeBmp(FSurface);
}

void TBitmap::SaveToStream(TStream& Stream, TImageFormat Format) const {
    const std::vector<std::uint8_t> bytes = SaveToBytes(Format);
    Stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TBitmap::SaveToFile(const String& FileName) {
    const bool png =
        FileName.size() >= 4 &&
        LowerCase(std::u16string_view(FileName).substr(FileName.size() - 4)) == u".png";
    SaveToFile(FileName, png ? ifPNG : ifBMP);
}

void TBitmap::SaveToFile(const String& FileName, TImageFormat Format) {
    const std::vector<std::uint8_t> bytes = SaveToBytes(Format);
    SaveFileAtomically(FileName, [&](const String& tmpName) {
        TFileStream file(tmpName, fmCreate);
        file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        file.Flush();
    });
}

TDIB TBitmap::GetDIB() const {
    return {FSurface.Width, FSurface.Height, FSurface.Pixels};
}

void TBitmap::Assign(const TPersistent* Source) {
    if (const auto* other = dynamic_cast<const TBitmap*>(Source)) {
        if (other == this) return;
        std::vector<std::uint32_t> pixels = other->FSurface.Pixels;
        FSurface.Pixels.swap(pixels);
        FSurface.Width = other->FSurface.Width;
        FSurface.Height = other->FSurface.Height;
        return;
    }
    TPersistent::Assign(Source);
}

}  // namespace qorkit
