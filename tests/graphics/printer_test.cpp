// The printer: pages drawn on its canvas come back pixel for pixel from the PDF file that
// EndDoc writes (rendered by poppler's pdftoppm), and the canvas helpers that involve it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "qorkit/Qor_qorbase.h"
#include "qorkit/rtl/printer.h"
#include "qorkit/rtl/screen.h"
#include "rtl/temp_dir.h"

namespace qorkit {
namespace {

std::vector<std::uint32_t> PagePixels(TCanvas& c) {
    std::vector<std::uint32_t> px;
    for (std::int32_t y = 0; y < c.SurfaceHeight(); ++y)
        for (std::int32_t x = 0; x < c.SurfaceWidth(); ++x)
            px.push_back(static_cast<std::uint32_t>(c.Pixels(x, y)));
    return px;
}

class PrinterTest : public ::testing::Test {
  protected:
    void TearDown() override {
        Printer().Abort();
        Printer().SetPage(2480, 3508, 300);
        Printer().SetFileName(u"");
    }
};

TEST_F(PrinterTest, PagesComeBackFromThePdfPixelForPixel) {
    if (std::system("command -v pdftoppm > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftoppm is not installed";
    test::TempDir dir;
    TPrinter& p = Printer();
    p.SetPage(200, 120, 100);
    p.SetFileName(dir.Name("doc.pdf"));
    p.SetTitle(u"Qorkit printer test");
    p.BeginDoc();
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    TCanvas& c = p.Canvas();
    EXPECT_EQ(c.Font().PixelsPerInch(), 100);
    DrawMarkOnCanvas(c, 3, 50, 50);  // the line form: 8 pixels across, 8 down
    c.Pen().SetColor(0x0000FF);
    DrawMarkOnCanvas(c, 18, 80, 50);  // the checkerboard as pen dots
    TBitmap bmp(10, 6);
    for (std::int32_t x = 0; x < 10; ++x)
        bmp.Canvas().SetPixel(x, x % 6, 0x00FF00 + x);
    PrintBitmap(bmp, 150, 20);
    const std::vector<std::uint32_t> page1 = PagePixels(c);
    EXPECT_EQ(c.Pixels(46, 50), 0x000000);
    EXPECT_EQ(c.Pixels(54, 50), 0xFFFFFF);
    EXPECT_EQ(c.Pixels(153, 23), 0x00FF03);
    EXPECT_EQ(c.Pixels(77, 47), 0x0000FF);  // checkerboard dot (i = j = 1)
    EXPECT_EQ(c.Pixels(78, 47), 0xFFFFFF);
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), 2);
    EXPECT_EQ(c.Pixels(46, 50), 0xFFFFFF);
    c.Pen().SetColor(0xFF0000);
    DrawMarkOnCanvas(c, 9, 100, 60);
    const std::vector<std::uint32_t> page2 = PagePixels(c);
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    EXPECT_EQ(c.SurfaceWidth(), 0);  // outside a job the canvas draws nothing
    DrawMarkOnCanvas(c, 9, 1, 1);

    // pdftocairo renders at the printer's resolution as written; pdftoppm smooths images
    // drawn at less than four times their size, so it renders at 400 pixels per inch, where
    // every page pixel must come back as a 4 x 4 block.
    struct Render {
        const char* Tool;
        int Scale;
    };
    for (const Render r : {Render{"pdftocairo", 1}, Render{"pdftoppm", 4}}) {
        if (std::system(("command -v " + std::string(r.Tool) + " > /dev/null 2>&1").c_str()) != 0)
            continue;
        const std::string prefix = dir.Native(r.Tool);
        const std::string cmd = std::string(r.Tool) + " -r " + std::to_string(100 * r.Scale) +
                                " -png " + dir.Native("doc.pdf") + " " + prefix;
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        std::int32_t n = 0;
        for (const auto* expected : {&page1, &page2}) {
            TBitmap back;
            back.LoadFromFile(FromUtf8(prefix + "-" + std::to_string(++n) + ".png"));
            ASSERT_EQ(back.Width(), 200 * r.Scale);
            ASSERT_EQ(back.Height(), 120 * r.Scale);
            std::size_t differ = 0;
            for (std::int32_t y = 0; y < back.Height(); ++y)
                for (std::int32_t x = 0; x < back.Width(); ++x)
                    differ +=
                        back.ScanLine(y)[x] !=
                        (*expected)[static_cast<std::size_t>(y / r.Scale) * 200 + x / r.Scale];
            EXPECT_EQ(differ, 0u) << r.Tool << " page " << n;
        }
    }
}

TEST_F(PrinterTest, MisuseRaisesAndAbortLeavesNoFile) {
    test::TempDir dir;
    TPrinter& p = Printer();
    EXPECT_THROW(p.EndDoc(), EPrinter);
    EXPECT_THROW(p.NewPage(), EPrinter);
    p.SetFileName(u"");
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    EXPECT_THROW(p.SetPage(0, 10, 100), EPrinter);
    EXPECT_THROW(p.SetPage(10, 10, 5000), EPrinter);
    p.SetPage(50, 40, 72);
    p.SetFileName(dir.Name("gone.pdf"));
    p.BeginDoc();
    EXPECT_THROW(p.SetPage(60, 40, 72), EPrinter);
    p.Abort();
    EXPECT_FALSE(std::filesystem::exists(dir.Native("gone.pdf")));
    p.SetFileName(dir.Name("missing/folder/x.pdf"));
    p.BeginDoc();
    try {
        p.EndDoc();
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const EPrinter& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot write the printed document"),
                  std::string::npos);
    }
    EXPECT_FALSE(p.Printing());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 0);
}

TEST_F(PrinterTest, ScaledFontSizeKeepsTheScreenPixelHeight) {
    TCanvas& c = Printer().Canvas();  // 300 pixels per inch
    SetCanvasFontSizeScaled(c, 10);
    EXPECT_EQ(c.Font().Height(), -13);  // as on the 96 pixels per inch screen
    EXPECT_EQ(c.Font().PixelsPerInch(), 300);
    TBitmap b(1, 1);
    SetCanvasFontSizeScaled(b.Canvas(), 10);
    EXPECT_EQ(b.Canvas().Font().Height(), -13);
    c.Font().SetSize(10);  // unscaled on the printer
    EXPECT_EQ(c.Font().Height(), -42);
}

TEST(FontIsTrueType, TellsOutlinesAndRefusesUnknownFonts) {
    EXPECT_TRUE(FontIsTrueType(u"DejaVu Sans"));
    EXPECT_TRUE(FontIsTrueType(u"dejavu sans mono"));
    try {
        FontIsTrueType(u"No Such Font 123");
        ADD_FAILURE() << "no error";
    } catch (const EQORError& e) {
        EXPECT_STREQ(e.what(), "Font \"No Such Font 123\" is not installed");
    }
    // A font with CFF or Type 1 outlines, where one is installed.
    for (const char16_t* other : {u"Nimbus Sans", u"Nimbus Roman", u"URW Gothic"})
        if (Screen().Fonts().IndexOf(other) >= 0) {
            EXPECT_FALSE(FontIsTrueType(other)) << ToUtf8(other);
        }
}

}  // namespace
}  // namespace qorkit
