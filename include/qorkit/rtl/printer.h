// The printer object: print jobs whose pages become a PDF file.
#pragma once

#include <cstdint>
#include <memory>

#include "qorkit/rtl/canvas.h"

namespace qorkit {

/// Misuse of the printer: starting a job while one is running, ending one that is not, a
/// job without an output file; also the failure to write the output.
class EPrinter : public Exception {
  public:
    using Exception::Exception;
};

/// A printer whose pages are written as a PDF file (through cairo).
///
/// Each page is a raster of `PageWidth` x `PageHeight` pixels at `PixelsPerInch`, white at
/// the start of the page; the canvas draws on the current page while a job runs and draws
/// nothing otherwise. Finished pages are compressed into the document in memory, each
/// embedded losslessly at its size in inches, so a PDF viewer or
/// `pdftoppm -r <PixelsPerInch>` gives back the same pixels. `EndDoc` writes the document to
/// `FileName` as a temporary sibling renamed over the target; `Abort` or a failure leaves no
/// file behind. The default is an A4 page at 300 pixels per inch (2480 x 3508).
class TPrinter {
  public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    /// The file that `EndDoc` writes.
    const String& FileName() const noexcept { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    /// The document title written into the PDF's metadata.
    const String& Title() const noexcept { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    std::int32_t PageWidth() const noexcept { return FPageWidth; }
    std::int32_t PageHeight() const noexcept { return FPageHeight; }
    std::int32_t PixelsPerInch() const noexcept { return FPixelsPerInch; }
    /// Sets the page size in pixels and the resolution (1..2400 pixels per inch; sides 1 to
    /// 32768 and at most 2^26 pixels). Raises `EPrinter` while printing or for values out of
    /// range.
    void SetPage(std::int32_t Width, std::int32_t Height, std::int32_t PixelsPerInch);

    /// Starts a job on page 1. Raises `EPrinter` while a job runs or without a file name.
    void BeginDoc();
    /// Finishes the current page and starts a new white one.
    void NewPage();
    /// Finishes the last page and writes the file. Raises `EPrinter` when no job runs or the
    /// file cannot be written (with the system's reason); the job has ended either way.
    void EndDoc();
    /// Ends the job without a file.
    void Abort();
    bool Printing() const noexcept { return FJob != nullptr; }
    /// Number of the current page (1 for the first), 0 when not printing.
    std::int32_t PageNumber() const noexcept { return FPageNumber; }
    /// The canvas of the current page, at the printer's resolution (its font's
    /// `PixelsPerInch` is the printer's).
    TCanvas& Canvas() noexcept { return FCanvas; }

  private:
    struct Job;
    void EmitPage();
    std::unique_ptr<Job> FJob;
    TPixelSurface FPage;
    TCanvas FCanvas;
    String FFileName;
    String FTitle;
    std::int32_t FPageWidth = 2480;
    std::int32_t FPageHeight = 3508;
    std::int32_t FPixelsPerInch = 300;
    std::int32_t FPageNumber = 0;
};

/// The process-wide printer object.
TPrinter& Printer();

}  // namespace qorkit
