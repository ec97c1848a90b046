#include "progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <string>

namespace qorkit::tool {

ProgressBar::ProgressBar(std::ostream& err) : FErr(err), FActive(::isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
    Finish();
}

void ProgressBar::Show(std::int64_t done, std::int64_t total, std::string_view label) {
    if (!FActive) return;
    const auto now = std::chrono::steady_clock::now();
    if (FDrawn && now - FLast < std::chrono::milliseconds(100)) return;
    FLast = now;
    constexpr int kWidth = 30;
    const std::int64_t filled =
        total > 0 ? std::min<std::int64_t>(kWidth, done * kWidth / total) : 0;
    const int percent =
        total > 0 ? static_cast<int>(std::min<std::int64_t>(100, done * 100 / total)) : 0;
    std::string line = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(kWidth - filled), ' ') + "] " +
                       std::to_string(percent) + "% ";
    // Keep the tail of a long label: the file name is at its end.
    constexpr std::size_t kLabel = 40;
    line += label.size() > kLabel ? "..." + std::string(label.substr(label.size() - kLabel))
                                  : std::string(label);
    FErr << line << "\x1b[K" << std::flush;
    FDrawn = true;
}

void ProgressBar::Finish() {
    if (!FDrawn) return;
    FErr << "\r\x1b[K" << std::flush;
    FDrawn = false;
}

}  // namespace qorkit::tool
