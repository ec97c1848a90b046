#include <cstring>
#include <string>

#include "byte_reader.h"
#include "qorkit/streams/stream_text.h"
#include "stream_internal.h"

namespace qorkit {

namespace {

// A line is gathered as bytes in one buffer per thread that keeps its capacity between calls,
// and becomes a String in one allocation of the exact size. A buffer grown past 16 MiB by a
// very long line is given back afterwards. A read that starts while another is gathering on
// the same thread (a stream whose Read reads lines itself) uses a buffer of its own.
class LineBuffer {
  public:
    LineBuffer() : FShared(!Busy()), FBytes(FShared ? Storage() : FLocal) {
        FBytes.clear();
        if (FShared) Busy() = true;
    }
    ~LineBuffer() {
        if (!FShared) return;
        if (FBytes.capacity() > kKeep) std::string().swap(FBytes);
        Busy() = false;
    }
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;

    void Append(const std::uint8_t* p, std::size_t n) {
        FBytes.append(reinterpret_cast<const char*>(p), n);
    }
    void Push(std::uint8_t b) { FBytes.push_back(static_cast<char>(b)); }
    bool Empty() const noexcept { return FBytes.empty(); }
    std::uint8_t Back() const noexcept { return static_cast<std::uint8_t>(FBytes.back()); }
    void PopBack() noexcept { FBytes.pop_back(); }
    /// The bytes as 16-bit text (each byte one code unit).
    String Text() const {
        String line(FBytes.size(), u'\0');
        Char* const d = line.data();
        for (std::size_t i = 0; i < FBytes.size(); ++i)
            d[i] = static_cast<std::uint8_t>(FBytes[i]);
        return line;
    }

  private:
    static constexpr std::size_t kKeep = std::size_t{16} << 20;
    static std::string& Storage() {
        thread_local std::string bytes;
        return bytes;
    }
    static bool& Busy() {
        thread_local bool busy = false;
        return busy;
    }
    bool FShared;
    std::string FLocal;
    std::string& FBytes;
};

}  // namespace

String ReadLnStream(TStream& Stream, bool& EndOfStream, std::int32_t EOLMode) {
    LineBuffer line;
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
                    line.Append(p, avail);
                    prev = p[avail - 1];
                    in.Skip(avail);
                    continue;
                }
                const auto run = static_cast<std::size_t>(static_cast<const std::uint8_t*>(lf) - p);
                line.Append(p, run + 1);
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
        line.Push(byte);
        if (detail::EndsLine(EOLMode, byte, prev)) {
            ended = true;
            break;
        }
        prev = byte;
    }
    in.GiveBack();
    if (ended) {
        for (int i = 0; i < 2 && !line.Empty() && (line.Back() == 13 || line.Back() == 10); ++i)
            line.PopBack();
    }
    return line.Text();
}

namespace detail {

String ReadPrintableLine(TStream& Stream, std::int32_t Mode) {
    LineBuffer line;
    ByteReader in(Stream);
    std::uint8_t prev = 0;
    for (;;) {
        const int b = in.Next();
        if (b < 0) break;
        const auto byte = static_cast<std::uint8_t>(b);
        if (byte >= 32 || byte == 9) {
            line.Push(byte);
        } else if (EndsLine(Mode, byte, prev)) {
            break;
        }
        prev = byte;
    }
    in.GiveBack();
    return line.Text();
}

}  // namespace detail

}  // namespace qorkit
