// Marks and frames against the committed expected pixels, and the state they leave behind.
#include <gtest/gtest.h>

#include <climits>

#include "graphics/raster_test_util.h"
#include "qorkit/Qor_qorbase.h"
#include "qorkit/rtl/printer.h"

namespace qorkit {
namespace {

using test::Picture;
using test::ReadPictures;

const std::map<TColor, char> kMarkLegend{{0xFFFFFF, '.'}, {0x000000, '#'}};

std::string MarkPicture(std::uint8_t code, std::int32_t penWidth = 1) {
    TBitmap b(19, 19);
    b.Canvas().Pen().SetWidth(penWidth);
    DrawMarkOnCanvas(b.Canvas(), code, 9, 9);
    return Picture(b, kMarkLegend);
}

TEST(DrawMarkOnCanvas, EveryGeometricMarkMatchesItsExpectedPixels) {
    const auto expected = ReadPictures(QORKIT_TEST_DATA_DIR "/graphics_marks.txt", 19);
    ASSERT_EQ(expected.size(), 60u);
    for (int code = 0; code < 52; ++code)
        EXPECT_EQ(MarkPicture(static_cast<std::uint8_t>(code)),
                  expected.at("mark " + std::to_string(code) + " screen"))
            << "mark " << code;
}

TEST(DrawMarkOnCanvas, PrinterFormsMatchTheirExpectedPixels) {
    const auto expected = ReadPictures(QORKIT_TEST_DATA_DIR "/graphics_marks.txt", 19);
    TPrinter& printer = Printer();
    printer.SetPage(19, 19, 96);
    printer.SetFileName(u"/nonexistent-folder/unused.pdf");  // the job is aborted
    printer.BeginDoc();
    TCanvas& c = printer.Canvas();
    const std::map<TColor, char> legend{{0xFFFFFF, '.'}, {0x000000, '#'}};
    for (const int code : {1, 2, 3, 4, 5, 6, 18, 25}) {
        c.Brush().SetColor(0xFFFFFF);
        c.FillRect({0, 0, 19, 19});
        DrawMarkOnCanvas(c, static_cast<std::uint8_t>(code), 9, 9);
        std::string got;
        for (std::int32_t y = 0; y < 19; ++y) {
            if (y) got += '\n';
            for (std::int32_t x = 0; x < 19; ++x)
                got += legend.at(c.Pixels(x, y));
        }
        EXPECT_EQ(got, expected.at("mark " + std::to_string(code) + " printer")) << code;
    }
    printer.Abort();
    printer.SetPage(2480, 3508, 300);
}

TEST(DrawMarkOnCanvas, EdgeCasesAndStateLeftBehind) {
    const auto count = [](const std::string& p) { return std::count(p.begin(), p.end(), '#'); };
    EXPECT_EQ(count(MarkPicture(0)), 1);
    EXPECT_EQ(count(MarkPicture(3)), 13);
    TBitmap b(20, 20);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(0x0000FF);
    c.Brush().SetColor(0x00FF00);
    DrawMarkOnCanvas(c, 24, 10, 10);  // filled: brush colour restored
    EXPECT_EQ(c.Brush().Color(), 0x00FF00);
    EXPECT_EQ(c.Pixels(10, 10), 0x0000FF);
    c.Brush().SetStyle(bsClear);
    DrawMarkOnCanvas(c, 17, 10, 10);  // open: brush solid again
    EXPECT_EQ(c.Brush().Style(), bsSolid);
    EXPECT_EQ(c.Brush().Color(), 0x00FF00);
    // Marks far outside, or at the limits, are safe and draw nothing.
    for (const std::int32_t v : {INT_MIN, INT_MAX, -100000, 100000})
        for (int code = 0; code < 256; ++code)
            DrawMarkOnCanvas(c, static_cast<std::uint8_t>(code), v, v);
    EXPECT_EQ(c.Pixels(0, 0), 0xFFFFFF);
    // A wider pen widens the lines.
    EXPECT_GT(count(MarkPicture(12, 3)), count(MarkPicture(12)));
}

TEST(DrawMarkOnCanvas, CharacterMarksAreCentredCharacters) {
    const auto drawn = [](std::uint8_t code) {
        TBitmap b(40, 40);
        b.Canvas().Pen().SetColor(0x0000FF);
        DrawMarkOnCanvas(b.Canvas(), code, 20, 20);
        EXPECT_EQ(b.Canvas().Font().Color(), 0x0000FF);
        EXPECT_EQ(b.Canvas().Brush().Style(), bsClear);
        return Picture(b, {{0xFFFFFF, '.'}, {0x0000FF, '#'}});
    };
    const auto written = [](const String& text) {
        TBitmap b(40, 40);
        TCanvas& c = b.Canvas();
        c.Brush().SetStyle(bsClear);
        c.Font().SetColor(0x0000FF);
        c.TextOut(20 - c.TextWidth(text) / 2, 20 - c.TextHeight(text) / 2, text);
        return Picture(b, {{0xFFFFFF, '.'}, {0x0000FF, '#'}});
    };
    EXPECT_EQ(drawn(205), written(u"5"));
    EXPECT_EQ(drawn(200), written(u"0"));
    EXPECT_EQ(drawn(65), written(u"A"));
    EXPECT_EQ(drawn(52), written(u"4"));
    EXPECT_EQ(drawn(0xE9), written(u"\u00E9"));
    EXPECT_NE(drawn(65), drawn(66));
}

TEST(CreateMarkAsBitmap, SizeMarginAndColours) {
    const std::unique_ptr<TBitmap> b = CreateMarkAsBitmap(9, 0x0000FF, 0xFFFFFF, 0);
    ASSERT_EQ(b->Width(), 7);
    ASSERT_EQ(b->Height(), 7);
    for (std::int32_t y = 0; y < 7; ++y)
        for (std::int32_t x = 0; x < 7; ++x)
            EXPECT_EQ(b->Canvas().Pixels(x, y), 0x0000FF);
    EXPECT_EQ(CreateMarkAsBitmap(9, 0, 0xFFFFFF, 300)->Width(), 517);
    EXPECT_EQ(CreateMarkAsBitmap(9, 0, 0xFFFFFF, -4)->Width(), 7);
    const std::unique_ptr<TBitmap> ring = CreateMarkAsBitmap(17, 0x000000, 0x00FF00, 2);
    EXPECT_EQ(ring->Width(), 11);
    EXPECT_EQ(ring->Canvas().Pixels(5, 5), 0x00FF00);  // open: the background shows inside
    EXPECT_EQ(ring->Canvas().Pixels(5, 2), 0x000000);
    EXPECT_EQ(ring->Canvas().Pixels(0, 0), 0x00FF00);
}

TEST(DrawFrame, EveryStyleMatchesItsExpectedPixels) {
    const auto expected = ReadPictures(QORKIT_TEST_DATA_DIR "/graphics_frames.txt", 11);
    const std::map<TColor, char> legend{{0xFFFFFF, '.'}, {1, 'a'}, {2, 'b'},
                                        {3, 'c'},        {4, 'd'}, {5, 'e'}};
    const std::pair<TFrameStyle, const char*> styles[] = {
        {fsNone, "none"},     {fsSimple, "simple"},     {fsLowered, "lowered"},
        {fsRaised, "raised"}, {fsEmbossed, "embossed"}, {fsEngraved, "engraved"}};
    for (const auto& [style, name] : styles) {
        TBitmap b(16, 11);
        b.Canvas().Pen().SetColor(0x777777);
        DrawFrame(b.Canvas(), style, 2, 1, 12, 8, 1, 2, 3, 4, 5);
        EXPECT_EQ(Picture(b, legend), expected.at(std::string("frame ") + name)) << name;
        if (style == fsNone) {
            EXPECT_EQ(b.Canvas().Pen().Color(), 0x777777);
        }
    }
    TBitmap b(16, 11);
    b.Canvas().Pen().SetColor(0x777777);
    DrawFrame(b.Canvas(), static_cast<TFrameStyle>(99), 2, 1, 12, 8, 1, 2, 3, 4, 5);
    EXPECT_EQ(b.Canvas().Pen().Color(), 0x777777);
    DrawFrame(b.Canvas(), fsRaised, 2, 1, 12, 8, 1, 2, 3, 4, 5);
    EXPECT_EQ(b.Canvas().Pen().Color(), 3);  // the last colour used
    DrawFrame(b.Canvas(), fsRaised, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1, 2, 3, 4, 5);
}

TEST(DrawRectangle, OutlineOnlyAndDegenerateBox) {
    TBitmap b(6, 5);
    b.Canvas().Brush().SetColor(0x0000FF);
    DrawRectangle(b.Canvas(), 1, 1, 4, 3);
    EXPECT_EQ(Picture(b, kMarkLegend),
              "......\n"
              ".####.\n"
              ".#..#.\n"
              ".####.\n"
              "......");
    EXPECT_EQ(b.Canvas().PenPos(), (TPoint{1, 1}));
    TBitmap d(6, 5);
    DrawRectangle(d.Canvas(), 2, 2, 2, 2);
    const std::string picture = Picture(d, kMarkLegend);
    EXPECT_EQ(std::count(picture.begin(), picture.end(), '#'), 0);
}

}  // namespace
}  // namespace qorkit
