#include "qorkit/rtl/printer.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "qorkit/rtl/atomic_save.h"
#include "qorkit/rtl/bitmap.h"
#include "qorkit/rtl/file_stream.h"

namespace qorkit {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    try {
        auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_WRITE_ERROR;
    }
}

}  // namespace

struct TPrinter::Job {
    std::vector<std::uint8_t> Bytes;
    cairo_surface_t* Pdf = nullptr;
    ~Job() {
        if (Pdf) cairo_surface_destroy(Pdf);
    }
};

TPrinter::TPrinter() : FCanvas(&FPage, 300) {}

TPrinter::~TPrinter() = default;

void TPrinter::SetPage(std::int32_t Width, std::int32_t Height, std::int32_t PixelsPerInch) {
    if (Printing()) throw EPrinter("Cannot change the page while printing");
    if (Width < 1 || Height < 1 || Width > kMaxBitmapSide || Height > kMaxBitmapSide ||
        static_cast<std::int64_t>(Width) * Height > kMaxBitmapPixels || PixelsPerInch < 1 ||
        PixelsPerInch > 2400)
        throw EPrinter("Invalid printer page " + std::to_string(Width) + " x " +
                       std::to_string(Height) + " at " + std::to_string(PixelsPerInch) +
                       " pixels per inch");
    FPageWidth = Width;
    FPageHeight = Height;
    FPixelsPerInch = PixelsPerInch;
    FCanvas.Font().SetPixelsPerInch(PixelsPerInch);
}

void TPrinter::BeginDoc() {
    if (Printing()) throw EPrinter("Printing in progress");
    if (FFileName.empty()) throw EPrinter("Printer has no output file name");
    auto job = std::make_unique<Job>();
    const double ptW = FPageWidth * 72.0 / FPixelsPerInch;
    const double ptH = FPageHeight * 72.0 / FPixelsPerInch;
    job->Pdf = cairo_pdf_surface_create_for_stream(AppendBytes, &job->Bytes, ptW, ptH);
    if (cairo_surface_status(job->Pdf) != CAIRO_STATUS_SUCCESS)
        throw EPrinter(std::string("Cannot start the document: ") +
                       cairo_status_to_string(cairo_surface_status(job->Pdf)));
    if (!FTitle.empty())
        cairo_pdf_surface_set_metadata(job->Pdf, CAIRO_PDF_METADATA_TITLE, ToUtf8(FTitle).c_str());
    FPage.Pixels.assign(static_cast<std::size_t>(FPageWidth) * FPageHeight, kWhite);
    FPage.Width = FPageWidth;
    FPage.Height = FPageHeight;
    FCanvas.Font().SetPixelsPerInch(FPixelsPerInch);
    FJob = std::move(job);
    FPageNumber = 1;
}

void TPrinter::EmitPage() {
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, FPage.Width, FPage.Height);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        throw EPrinter("Cannot create a page image: out of memory");
    }
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (std::int32_t y = 0; y < FPage.Height; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        const std::uint32_t* src = FPage.Pixels.data() + static_cast<std::size_t>(y) * FPage.Width;
        for (std::int32_t x = 0; x < FPage.Width; ++x) {
            const std::uint32_t c = src[x];  // blue, green, red from the top: swap to RGB
            row[x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    }
    cairo_surface_mark_dirty(image);
    cairo_t* cr = cairo_create(FJob->Pdf);
    cairo_scale(cr, 72.0 / FPixelsPerInch, 72.0 / FPixelsPerInch);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_show_page(cr);
    const cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    if (status != CAIRO_STATUS_SUCCESS)
        throw EPrinter(std::string("Cannot add a page: ") + cairo_status_to_string(status));
}

void TPrinter::NewPage() {
    if (!Printing()) throw EPrinter("Printer is not printing");
    EmitPage();
    std::fill(FPage.Pixels.begin(), FPage.Pixels.end(), kWhite);
    ++FPageNumber;
}

void TPrinter::EndDoc() {
    if (!Printing()) throw EPrinter("Printer is not printing");
    std::unique_ptr<Job> job;
    try {
        EmitPage();
    } catch (...) {
        Abort();
        throw;
    }
    job.swap(FJob);
    Abort();  // releases the page raster
    cairo_surface_finish(job->Pdf);
    const cairo_status_t status = cairo_surface_status(job->Pdf);
    if (status != CAIRO_STATUS_SUCCESS)
        throw EPrinter(std::string("Cannot complete the document: ") +
                       cairo_status_to_string(status));
    try {
        SaveFileAtomically(FFileName, [&](const String& tmpName) {
            TFileStream file(tmpName, fmCreate);
            file.WriteBuffer(job->Bytes.data(), static_cast<std::int64_t>(job->Bytes.size()));
            file.Flush();
        });
    } catch (const Exception& e) {
        throw EPrinter(u"Cannot write the printed document: " + e.Message());
    }
}

void TPrinter::Abort() {
    FJob.reset();
    FPage.Pixels.clear();
    FPage.Pixels.shrink_to_fit();
    FPage.Width = 0;
    FPage.Height = 0;
    FPageNumber = 0;
}

TPrinter& Printer() {
    static TPrinter printer;
    return printer;
}

}  // namespace qorkit
