// Tour sections: marks, frames and text drawn into a PNG file, a text label file, and a
// printed page as PDF.
#include <filesystem>

#include "command.h"
#include "graphics_sheets.h"
#include "qorkit/Qor_qorbase.h"
#include "qorkit/rtl/printer.h"
#include "qorkit/rtl/screen.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit::tool {

namespace {

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void ShowGraphics(std::ostream& out) {
    // Mark sheet on top, the five frame styles below it, and a line of text.
    const std::unique_ptr<TBitmap> sheet = MarkSheet(1);
    TBitmap page(sheet->Width(), sheet->Height() + 150);
    const TDIB dib = sheet->GetDIB();
    page.Canvas().StretchPixels({0, 0, dib.Width, dib.Height}, dib.Pixels, dib.Width, dib.Height);
    for (std::int32_t k = 1; k <= 5; ++k) {
        const std::unique_ptr<TBitmap> f = FrameSample(static_cast<TFrameStyle>(k), 120, 90);
        const TDIB fd = f->GetDIB();
        const std::int32_t x = 8 + (k - 1) * 128, y = sheet->Height() + 8;
        page.Canvas().StretchPixels({x, y, x + fd.Width, y + fd.Height}, fd.Pixels, fd.Width,
                                    fd.Height);
    }
    TCanvas& c = page.Canvas();
    c.Font().SetSize(11);
    c.Font().SetStyle({fsBold});
    c.Brush().SetStyle(bsClear);
    const String caption = u"Marks 0-255, frames simple to engraved: DejaVu Sans 11 pt bold";
    c.TextOut(8, page.Height() - 8 - c.TextHeight(caption), caption);
    const std::string name = TempFile("qorkit-tour-graphics.png");
    page.SaveToFile(FromUtf8(name), ifPNG);
    out << "Wrote " << page.Width() << " x " << page.Height() << " pixels to " << name << "\n";
    out << "TextWidth of the caption: " << c.TextWidth(caption)
        << " pixels, TextHeight: " << c.TextHeight(caption) << " pixels\n";
    out << "FontIsTrueType(\"DejaVu Sans\") = "
        << (FontIsTrueType(u"DejaVu Sans") ? "true" : "false") << "; " << Screen().Fonts().Count()
        << " font families installed\n";
    const std::unique_ptr<TBitmap> m = CreateMarkAsBitmap(17, 0x0000FF, 0xFFFFFF, 300);
    out << "CreateMarkAsBitmap(17, red, white, margin 300) is " << m->Width() << " x "
        << m->Height() << " (margin clamped to 255)\n";
}

void ShowPrinter(std::ostream& out) {
    TPrinter& p = Printer();
    const std::string name = TempFile("qorkit-tour-printer.pdf");
    p.SetFileName(FromUtf8(name));
    p.SetTitle(u"Qorkit tour");
    p.BeginDoc();
    TCanvas& c = p.Canvas();
    SetCanvasFontSizeScaled(c, 12);
    const std::int32_t h = c.TextHeight(u"x");
    c.Font().SetSize(12);
    c.TextOut(200, 200,
              u"Printer canvas at " + IntToStr(p.PixelsPerInch()) +
                  u" pixels per inch; marks drawn with lines:");
    c.Pen().SetWidth(3);
    for (std::int32_t code = 1; code <= 25; ++code)
        DrawMarkOnCanvas(c, static_cast<std::uint8_t>(code), 200 + 80 * code, 400);
    const std::unique_ptr<TBitmap> mark = CreateMarkAsBitmap(24, 0x8B0000, 0xF0F0F0, 20);
    PrintBitmap(*mark, 200, 500);
    p.EndDoc();
    out << "Printed one A4 page to " << name << " (scaled 12 pt text is " << h
        << " pixels high, as on screen)\n";
}

void ShowLabel(std::ostream& out) {
    // Two labels into one file, one found again by its id, then drawn.
    const std::string file = TempFile("qorkit-tour-labels.xml");
    TCustomTextLabel first, second;
    first.SetTxtLblCaption(u"Peak <max> & more");
    second.SetTxtLblCaption(u"Peak\nat 12.5 s");
    second.SetTxtLblMode(tlShadow);
    second.SetTxtLblShadowDx(4);
    second.SetTxtLblShadowDy(4);
    second.SetTxtLblColorBkg(0xE0FFFF);
    second.SetTxtLblAlignment(taLeftJustify);
    second.Font().SetSize(12);
    second.Font().SetStyle({fsBold});
    TextFile f;
    f.Assign(FromUtf8(file));
    f.Rewrite();
    first.WriteToOpenXMLFile(f, true, u"first", 2);
    second.WriteToOpenXMLFile(f, false, u"Second", 2);
    f.Close();
    TCustomTextLabel back;
    int changes = 0;
    back.OnChange = [&](TObject*) { ++changes; };
    f.Reset();
    const bool found = back.ReadFromOpenXMLFile(f, u"SECOND");
    f.Close();
    out << "Wrote two labels to " << file
        << "; read 'SECOND' back: " << (found ? "found" : "missing") << ", " << changes
        << " notification, style " << ToUtf8(String(xmlTxtLblMode[back.Mode()])) << ", caption \""
        << ToUtf8(back.Caption().substr(0, 4)) << "...\"\n";
    const std::string png = TempFile("qorkit-tour-label.png");
    LabelPicture(back)->SaveToFile(FromUtf8(png), ifPNG);
    out << "Drew it to " << png << " (qorkit label render " << file << " --id second --png OUT)\n";
}

const RegisterTourSection kGraphics({90, "Marks, frames and text on a bitmap", ShowGraphics});
const RegisterTourSection kLabel({92, "A text label written, found by id and drawn", ShowLabel});
const RegisterTourSection kPrinter({91, "The printer: pages as PDF", ShowPrinter});

}  // namespace

}  // namespace qorkit::tool
