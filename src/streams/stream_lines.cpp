#include <cstring>

#include "byte_reader.h"
#include "qorkit/streams/stream_text.h"
#include "stream_internal.h"

namespace qorkit {

namespace {

void AppendBytes(String& s, const std::uint8_t* p, std::size_t n) {
    const std::size_t old = s.size();
    s.resize(old + n);
    Char* d = s.data() + old;
    for (std::size_t i = 0; i < n; ++i)
        d[i] = p[i];
}

}  // namespace

String ReadLnStream(TStream& Stream, bool& EndOfStream, std::int32_t EOLMode) {
    String line;
    EndOfStream = false;
    detail::ByteReader in(Stream);
    std::uint8_t prev = 0;
    bool ended = false;
    for (;;) {
        // Fast path for the LF-terminated modes: copy whole runs up to and including the next
        // LF straight from the read-ahead block; only an LF can end the line.
        if (EOLMode == 0 || EOLMode == 4) {
            const std::size_t avail = in.FillAhead();
            if (avail > 0) {
                const std::uint8_t* p = in.Ahead();
                const void* lf = std::memchr(p, 10, avail);
                if (lf == nullptr) {
                    AppendBytes(line, p, avail);
                    prev = p[avail - 1];
                    in.Skip(avail);
                    continue;
                }
                const auto run = static_cast<std::size_t>(static_cast<const std::uint8_t*>(lf) - p);
                AppendBytes(line, p, run + 1);
                if (run > 0) prev = p[run - 1];
                in.Skip(run + 1);
                if (detail::EndsLine(EOLMode, 10, prev)) {
                    ended = true;
                    break;
                }
                prev = 10;
                continue;
            }
        }
        const int b = in.Next();
        if (b < 0) {
            EndOfStream = true;
            break;
        }
        const auto byte = static_cast<std::uint8_t>(b);
        line.push_back(byte);
        if (detail::EndsLine(EOLMode, byte, prev)) {
            ended = true;
            break;
        }
        prev = byte;
    }
    in.GiveBack();
    if (ended) {
        for (int i = 0; i < 2 && !line.empty() && (line.back() == 13 || line.back() == 10); ++i)
            line.pop_back();
    }
    return line;
}

namespace detail {

String ReadPrintableLine(TStream& Stream, std::int32_t Mode) {
    String line;
    ByteReader in(Stream);
    std::uint8_t prev = 0;
    for (;;) {
        const int b = in.Next();
        if (b < 0) break;
        const auto byte = static_cast<std::uint8_t>(b);
        if (byte >= 32 || byte == 9) {
            line.push_back(byte);
        } else if (EndsLine(Mode, byte, prev)) {
            break;
        }
        prev = byte;
    }
    in.GiveBack();
    return line;
}

}  // namespace detail

}  // namespace qorkit
