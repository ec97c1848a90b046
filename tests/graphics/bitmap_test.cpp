// TBitmap: sizes, BMP and PNG round trips, hand-made BMP variants, and bad files.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "qorkit/rtl/bitmap.h"
#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

namespace qorkit {
namespace {

void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int k = 0; k < 4; ++k)
        v[at + k] = static_cast<std::uint8_t>(x >> (8 * k));
}

// A BMP file with a 40-byte info header; `extra` (masks or colour table) follows it.
std::vector<std::uint8_t> MakeBmp(std::int32_t w, std::int32_t h, std::uint16_t bpp,
                                  std::uint32_t compression, const std::vector<std::uint8_t>& extra,
                                  const std::vector<std::uint8_t>& pixels) {
    std::vector<std::uint8_t> f(54);
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 10, static_cast<std::uint32_t>(54 + extra.size()));
    Put32(f, 14, 40);
    Put32(f, 18, static_cast<std::uint32_t>(w));
    Put32(f, 22, static_cast<std::uint32_t>(h));
    f[26] = 1;
    f[28] = static_cast<std::uint8_t>(bpp);
    Put32(f, 30, compression);
    for (const std::vector<std::uint8_t>* part : {&extra, &pixels})
        for (const std::uint8_t byte : *part)
            f.push_back(byte);
    Put32(f, 2, static_cast<std::uint32_t>(f.size()));
    return f;
}

std::unique_ptr<TBitmap> PatternBitmap() {
    auto p = std::make_unique<TBitmap>(5, 3);
    TBitmap& b = *p;
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 5; ++x)
            b.Canvas().SetPixel(x, y, (x * 50) | ((y * 100) << 8) | ((x + y) * 20) << 16);
    return p;
}

TEST(TBitmap_Size, ResizeKeepsPixelsAndRefusesBadSizes) {
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(3, 2);
    b.Canvas().SetPixel(2, 1, 0x123456);
    b.SetSize(4, 4);
    EXPECT_EQ(b.Canvas().Pixels(2, 1), 0x123456);
    EXPECT_EQ(b.Canvas().Pixels(3, 3), 0xFFFFFF);
    EXPECT_THROW(b.SetSize(-1, 5), EInvalidGraphicOperation);
    EXPECT_THROW(b.SetSize(kMaxBitmapSide + 1, 1), EInvalidGraphicOperation);
    EXPECT_THROW(b.SetSize(kMaxBitmapSide, kMaxBitmapSide), EInvalidGraphicOperation);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_TRUE(b.ScanLine(4).empty());
    TBitmap copy;
    copy.Assign(&b);
    EXPECT_EQ(copy.Canvas().Pixels(2, 1), 0x123456);
}

TEST(TBitmap_Files, PngAndBmpRoundTripEveryPixel) {
    test::TempDir dir;
    const std::unique_ptr<TBitmap> pattern = PatternBitmap();
    TBitmap& src = *pattern;
    for (const char* name : {"p.png", "p.PNG", "p.bmp"}) {
        src.SaveToFile(dir.Name(name));
        TBitmap back;
        back.LoadFromFile(dir.Name(name));
        ASSERT_EQ(back.Width(), 5);
        ASSERT_EQ(back.Height(), 3);
        for (std::int32_t y = 0; y < 3; ++y)
            for (std::int32_t x = 0; x < 5; ++x)
                EXPECT_EQ(back.ScanLine(y)[x], src.ScanLine(y)[x]) << name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
                  std::ptrdiff_t{name[0] == 'p' && name[2] == 'b' ? 3 : (name[2] == 'P' ? 2 : 1)});
    }
    const std::vector<std::uint8_t> png = src.SaveToBytes(ifPNG);
    EXPECT_EQ(png[1], 'P');
    const std::vector<std::uint8_t> bmp = src.SaveToBytes(ifBMP);
    EXPECT_EQ(bmp.size(), 54u + 5 * 3 * 4);
}

TEST(TBitmap_Files, ReadsBmpVariants) {
    // 2 x 2, 8 bits with a two-entry colour table, bottom-up: rows padded to four bytes.
    const std::vector<std::uint8_t> table{0, 0, 255, 0, 255, 0, 0, 0};  // red, blue
    TBitmap b;
    b.LoadFromBytes(MakeBmp(2, 2, 8, 0, table, {0, 1, 0, 0, 1, 7, 0, 0}));
    EXPECT_EQ(b.Canvas().Pixels(0, 1), 0x0000FF);  // bottom row first
    EXPECT_EQ(b.Canvas().Pixels(1, 1), 0xFF0000);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), 0xFF0000);
    EXPECT_EQ(b.Canvas().Pixels(1, 0), 0x000000);  // index outside the table: black
    // 24 bits top-down (negative height), blue-green-red bytes.
    b.LoadFromBytes(MakeBmp(1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}));
    EXPECT_EQ(b.Canvas().Pixels(0, 0), 0x010203);
    EXPECT_EQ(b.Canvas().Pixels(0, 1), 0x040506);
    // 16 bits with 5-6-5 bit fields after the header.
    std::vector<std::uint8_t> masks(12);
    Put32(masks, 0, 0xF800);
    Put32(masks, 4, 0x07E0);
    Put32(masks, 8, 0x001F);
    b.LoadFromBytes(MakeBmp(1, 1, 16, 3, masks, {0x1F, 0xF8, 0, 0}));  // red and blue full
    EXPECT_EQ(b.Canvas().Pixels(0, 0), 0xFF00FF);
    // 1 bit per pixel.
    b.LoadFromBytes(MakeBmp(3, 1, 1, 0, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0}));
    EXPECT_EQ(b.Canvas().Pixels(0, 0), 0xFFFFFF);
    EXPECT_EQ(b.Canvas().Pixels(1, 0), 0x000000);
    EXPECT_EQ(b.Canvas().Pixels(2, 0), 0xFFFFFF);
}

TEST(TBitmap_Files, BadFilesRaiseAndLeaveTheBitmapAlone) {
    TBitmap b(2, 2);
    const auto rejects = [&](const std::vector<std::uint8_t>& bytes, const char* what) {
        try {
            b.LoadFromBytes(bytes);
            ADD_FAILURE() << "accepted: " << what;
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(std::string(e.what()).find(what), std::string::npos) << e.what();
        }
        EXPECT_EQ(b.Width(), 2);
    };
    rejects({'G', 'I', 'F'}, "neither a BMP nor a PNG");
    rejects(MakeBmp(2, 2, 24, 0, {}, {1, 2, 3}), "truncated pixel data");
    rejects(MakeBmp(40000, 1, 24, 0, {}, {}), "exceeds the bitmap limits");
    rejects(MakeBmp(20000, -20000, 32, 0, {}, {}), "exceeds the bitmap limits");
    rejects(MakeBmp(2, 2, 8, 1, {}, {}), "unsupported compression");
    rejects(MakeBmp(2, 2, 7, 0, {}, {}), "unsupported depth");
    rejects(MakeBmp(0, 2, 24, 0, {}, {}), "no pixels");
    std::vector<std::uint8_t> png = PatternBitmap()->SaveToBytes(ifPNG);
    png.resize(png.size() / 2);
    rejects(png, "Invalid PNG image");
    test::TempDir dir;
    EXPECT_THROW(b.LoadFromFile(dir.Name("missing.png")), EFOpenError);
    EXPECT_THROW(TBitmap().SaveToFile(dir.Name("empty.bmp")), EInvalidGraphicOperation);
    EXPECT_THROW(b.SaveToFile(dir.Name("no/such/dir/x.png")), EStreamError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 0);
}

}  // namespace
}  // namespace qorkit
