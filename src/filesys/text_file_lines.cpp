// Last lines and line counts of text files.
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <string_view>

#include "byte_count.h"
#include "file_blocks.h"
#include "qorkit/core/errors.h"
#include "qorkit/filesys/text_file_tools.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/rtl/untyped_file.h"

namespace qorkit {

namespace {

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int32_t>::max();

std::int32_t Saturated(std::int64_t n) {
    return static_cast<std::int32_t>(std::min(n, kMaxCount));
}

TStrArray EmptyLines(std::int32_t N) {
    try {
        return TStrArray(static_cast<std::size_t>(N));
    } catch (const std::bad_alloc&) {
        throw EQORFileSysError(u"ReadLastNLinesOfTextFile: not enough memory for " + IntToStr(N) +
                               u" lines");
    }
}

// Counts lines in blocks and reports every 1000th to `Feedback`.
class LineCounter {
  public:
    explicit LineCounter(TFeedbackProc Feedback) : FFeedback(Feedback) {}
    void Add(std::string_view b) {
        Advance(detail::CountByte(b, '\n'));
        FLastByte = b.back();
        FAny = true;
    }
    std::int32_t Finish() {
        if (FAny && FLastByte != '\n') Advance(1);  // a last line without its end
        return Saturated(FLines);
    }

  private:
    void Advance(std::int64_t n) {
        const std::int64_t before = FLines;
        FLines += n;
        if (FFeedback == nullptr) return;
        for (std::int64_t m = (before / 1000 + 1) * 1000; m <= FLines; m += 1000)
            FFeedback(nullptr, static_cast<double>(std::min(m, kMaxCount)), 0.0);
    }

    TFeedbackProc FFeedback;
    std::int64_t FLines = 0;
    char FLastByte = 0;
    bool FAny = false;
};

}  // namespace

TStrArray ReadLastNLinesOfTextFile(TextFile& F, std::int32_t N, std::int32_t& LinesRead) {
    TStrArray ring = EmptyLines(std::max(N, 0));
    std::int64_t lines = 0;
    F.Reset();
    while (!F.Eof()) {
        String line = F.ReadLn();
        if (N > 0) ring[static_cast<std::size_t>(lines % N)] = std::move(line);
        ++lines;
    }
    F.Reset();
    LinesRead = Saturated(lines);
    if (N <= 0) return {};
    // Slot lines % N holds the oldest line kept; unfilled slots are empty and come first.
    std::rotate(ring.begin(), ring.begin() + static_cast<std::ptrdiff_t>(lines % N), ring.end());
    return ring;
}

TStrArray ReadLastNLinesOfTextFile(const String& FileName, std::int32_t N,
                                   std::int32_t& LinesRead) {
    TUntypedFile f;
    f.Assign(FileName);
    f.Reset();
    const std::int64_t size = f.FileSize();
    LinesRead = 0;
    if (N <= 0) {
        f.Close();
        return {};
    }
    TStrArray result = EmptyLines(N);
    if (size == 0) {
        f.Close();
        return result;
    }
    // The bytes before a final LF; its lines are separated by LF, so N lines need N - 1 LFs
    // in the tail, and the LF before them tells where the first of them starts.
    std::string lastByte(1, '\0');
    f.Seek(size - 1);
    f.BlockRead(lastByte.data(), 1);
    const bool endsWithLF = lastByte[0] == '\n';
    const std::int64_t end = endsWithLF ? size - 1 : size;
    std::string tail;  // bytes [start, end)
    std::int64_t start = end;
    std::int64_t lfs = 0;
    std::int64_t block = 1 << 16;
    while (start > 0 && lfs < N) {
        const std::int64_t n = std::min(block, start);
        std::string chunk(static_cast<std::size_t>(n), '\0');
        f.Seek(start - n);
        f.BlockRead(chunk.data(), n);
        lfs += detail::CountByte(chunk, '\n');
        tail.insert(0, chunk);
        start -= n;
        block = std::min<std::int64_t>(block * 2, 1 << 26);
    }
    f.Close();
    // Split from the end: the last N lines, each without its CR LF or LF.
    std::size_t stop = tail.size();
    bool followedByLF = endsWithLF;
    for (std::int32_t slot = N - 1; slot >= 0; --slot) {
        const std::size_t lf = stop == 0 ? std::string::npos : tail.rfind('\n', stop - 1);
        const std::size_t from = lf == std::string::npos ? 0 : lf + 1;
        std::string_view line(tail.data() + from, stop - from);
        if (followedByLF && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        result[static_cast<std::size_t>(slot)] = Win1252ToString(line);
        ++LinesRead;
        if (lf == std::string::npos) break;  // that was the first line of the file
        stop = lf;
        followedByLF = true;
    }
    return result;
}

std::int32_t CountLinesInTextFile(TextFile& F, TFeedbackProc Feedback) {
    std::int64_t lines = 0;
    F.Reset();
    while (!F.Eof()) {
        F.ReadLn();
        ++lines;
        if (Feedback != nullptr && lines % 1000 == 0)
            Feedback(nullptr, static_cast<double>(std::min(lines, kMaxCount)), 0.0);
    }
    F.Reset();
    return Saturated(lines);
}

std::int32_t CountLinesInTextFile(const String& FileName, TFeedbackProc Feedback) {
    LineCounter counter(Feedback);
    detail::ForEachFileBlock(FileName, [&](std::string_view b) { counter.Add(b); });
    return counter.Finish();
}

}  // namespace qorkit
