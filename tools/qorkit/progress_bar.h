// The progress bar of long commands: drawn on standard error, and only when it is a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string_view>

namespace qorkit::tool {

class ProgressBar {
  public:
    /// A bar on `err`, active only when standard error is a terminal.
    explicit ProgressBar(std::ostream& err);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    /// Shows `done` of `total` with a label (cut to fit); redrawn at most every 100 ms.
    void Show(std::int64_t done, std::int64_t total, std::string_view label);
    /// Clears the bar's line.
    void Finish();

  private:
    std::ostream& FErr;
    bool FActive;
    bool FDrawn = false;
    std::chrono::steady_clock::time_point FLast{};
};

}  // namespace qorkit::tool
