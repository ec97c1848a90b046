// TBitmap: a 32-bit raster with a canvas, read from and written to BMP and PNG files.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "qorkit/rtl/canvas.h"
#include "qorkit/rtl/stream.h"

namespace qorkit {

/// File formats a bitmap is written in.
enum TImageFormat : std::uint8_t { ifBMP, ifPNG };

/// The largest side of a bitmap, and the largest number of pixels (256 MiB of raster).
inline constexpr std::int32_t kMaxBitmapSide = 32768;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 26;

/// A device-independent copy of a bitmap's pixels: width, height and the pixels top-down in
/// the layout of `TPixelSurface`.
struct TDIB {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint32_t> Pixels;
};

/// A raster of Width x Height 32-bit pixels with a canvas that draws on it.
///
/// A new bitmap is empty (0 x 0). Every pixel holds red + 256 green + 65536 blue. Files:
/// BMP (read: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with bit-field masks,
/// bottom-up or top-down; written: 32 bits, uncompressed, bottom-up) and PNG through libpng
/// (read: every colour type and depth, transparency composited over white; written: 8-bit
/// RGB). Reading checks the dimensions before it allocates anything.
class TBitmap : public TPersistent {
  public:
    TBitmap();
    /// A bitmap of `W` x `H` pixels, all white.
    TBitmap(std::int32_t W, std::int32_t H);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    std::int32_t Width() const noexcept { return FSurface.Width; }
    std::int32_t Height() const noexcept { return FSurface.Height; }
    /// Resizes to `W` x `H`: pixels inside both sizes keep their colour, new ones are white.
    /// Raises `EInvalidGraphicOperation` for a negative side, a side above `kMaxBitmapSide`
    /// or more than `kMaxBitmapPixels` pixels; the bitmap is then unchanged.
    void SetSize(std::int32_t W, std::int32_t H);
    void SetWidth(std::int32_t W) { SetSize(W, Height()); }
    void SetHeight(std::int32_t H) { SetSize(Width(), H); }
    /// True for a bitmap without pixels.
    bool Empty() const noexcept { return FSurface.Pixels.empty(); }

    /// The canvas that draws on this bitmap (screen resolution, 96 pixels per inch).
    TCanvas& Canvas() noexcept { return FCanvas; }
    /// Row `Y` (0 at the top): `Width()` pixels; empty outside 0..Height-1.
    std::span<std::uint32_t> ScanLine(std::int32_t Y) noexcept;
    std::span<const std::uint32_t> ScanLine(std::int32_t Y) const noexcept;

    /// Reads a BMP or PNG file (told apart by content). Raises `EFOpenError` when the file
    /// cannot be opened and `EInvalidGraphic` when it is not a readable image; the bitmap is
    /// unchanged on failure.
    void LoadFromFile(const String& FileName);
    /// Reads a BMP or PNG image from the stream's position to its end, as `LoadFromFile`.
    void LoadFromStream(TStream& Stream);
    /// Reads a BMP or PNG image held in memory, as `LoadFromFile`.
    void LoadFromBytes(std::span<const std::uint8_t> Bytes);
    /// Writes the bitmap as PNG when the name ends in ".png" (any case), else as BMP.
    void SaveToFile(const String& FileName);
    /// Writes the bitmap in `Format`. The file appears whole or not at all: a temporary
    /// sibling is written and renamed over the target. Raises `EFCreateError`, `EWriteError`
    /// or `EInOutError` with the system's reason, and `EInvalidGraphicOperation` for an empty
    /// bitmap, which neither format can hold.
    void SaveToFile(const String& FileName, TImageFormat Format);
    /// Writes the image in `Format` to the stream.
    void SaveToStream(TStream& Stream, TImageFormat Format) const;
    /// The encoded file bytes in `Format`.
    std::vector<std::uint8_t> SaveToBytes(TImageFormat Format) const;

    /// A device-independent copy of the pixels.
    TDIB GetDIB() const;
    /// Copies size and pixels from another `TBitmap`; other sources raise `EConvertError`.
    void Assign(const TPersistent* Source) override;

  private:
    TPixelSurface FSurface;
    TCanvas FCanvas;
};

}  // namespace qorkit
