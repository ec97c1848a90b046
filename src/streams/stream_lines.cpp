#include <bit>
#include <cstdint>
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

/// Eight bytes from `p` as one little-endian word.
std::uint64_t Word(const std::uint8_t* p) noexcept {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
    return w;
}

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

/// Flags (high bit) set for the bytes of `w` below `n` (n <= 128); the lowest flag is exact,
/// those above it may be false alarms.
constexpr std::uint64_t BytesBelow(std::uint64_t w, std::uint8_t n) noexcept {
    return (w - kOnes * n) & ~w & kHighs;
}

/// The offset of the first of `p[0..n)` that `Candidate` accepts, or n; eight bytes at a time,
/// `Flags` marking the words that may hold one.
template <class FlagsFn, class CandidateFn>
std::size_t FindFirst(const std::uint8_t* p, std::size_t n, FlagsFn&& Flags,
                      CandidateFn&& Candidate) noexcept {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t flags = Flags(Word(p + i));
        if (flags == 0) continue;
        for (std::size_t j = i + static_cast<std::size_t>(std::countr_zero(flags) / 8); j < i + 8;
             ++j)
            if (Candidate(p[j])) return j;
    }
    for (; i < n; ++i)
        if (Candidate(p[i])) return i;
    return n;
}

/// The offset of the first byte of `p[0..n)` that can end a line in `Mode` (LF, CR or
/// either; nothing in the modes without a line end), or n.
std::size_t FindLineEndCandidate(const std::uint8_t* p, std::size_t n, std::int32_t Mode) noexcept {
    const auto memchrAt = [&](int b) {
        const void* at = std::memchr(p, b, n);
        return at == nullptr ? n
                             : static_cast<std::size_t>(static_cast<const std::uint8_t*>(at) - p);
    };
    switch (Mode) {
        case 0:
        case 4:
            return memchrAt(10);
        case 1:
        case 3:
            return memchrAt(13);
        case 2:
            return FindFirst(
                p, n,
                [](std::uint64_t w) {
                    return BytesBelow(w ^ (kOnes * 10), 1) | BytesBelow(w ^ (kOnes * 13), 1);
                },
                [](std::uint8_t b) { return b == 10 || b == 13; });
        default:
            return n;
    }
}

/// True for the bytes that the printable-line reader keeps: 32 and above, and tab.
constexpr bool Printable(std::uint8_t b) noexcept {
    return b >= 32 || b == 9;
}

/// Gathers one line from `In`: runs of bytes that `Find(p, n)` (the offset of the first byte
/// that needs a look, or n) passes over are taken whole from the read-ahead block; every other
/// byte goes to `Byte(byte, prev)`, which keeps it or not and returns true when the line ends.
/// Streams read byte by byte give every byte to `Byte` after `Keep(byte)` tells whether the
/// runs would take it. Returns true when the line ended, false at the end of the stream.
template <class FindFn, class KeepFn, class ByteFn>
bool GatherLine(detail::ByteReader& In, LineBuffer& Line, FindFn&& Find, KeepFn&& Keep,
                ByteFn&& Byte) {
    std::uint8_t prev = 0;
    for (;;) {
        const std::size_t avail = In.FillAhead();
        if (avail > 0) {
            const std::uint8_t* p = In.Ahead();
            const std::size_t run = Find(p, avail);
            Line.Append(p, run);
            if (run > 0) prev = p[run - 1];
            if (run == avail) {
                In.Skip(avail);
                continue;
            }
            In.Skip(run + 1);
            if (Byte(p[run], prev)) return true;
            prev = p[run];
            continue;
        }
        const int b = In.Next();
        if (b < 0) return false;
        const auto byte = static_cast<std::uint8_t>(b);
        if (Keep(byte)) {
            Line.Push(byte);
        } else if (Byte(byte, prev)) {
            return true;
        }
        prev = byte;
    }
}

}  // namespace

String ReadLnStream(TStream& Stream, bool& EndOfStream, std::int32_t EOLMode) {
    LineBuffer line;
    EndOfStream = false;
    detail::ByteReader in(Stream);
    // Every byte is kept, line ends included; only a byte that may end the line needs a look.
    const bool ended = GatherLine(
        in, line,
        [&](const std::uint8_t* p, std::size_t n) { return FindLineEndCandidate(p, n, EOLMode); },
        [](std::uint8_t) { return false; },
        [&](std::uint8_t b, std::uint8_t prev) {
            line.Push(b);
            return detail::EndsLine(EOLMode, b, prev);
        });
    in.GiveBack();
    EndOfStream = !ended;
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
    // Printable bytes are kept and never end the line; control bytes are only tested.
    GatherLine(
        in, line,
        [](const std::uint8_t* p, std::size_t n) {
            return FindFirst(
                p, n, [](std::uint64_t w) { return BytesBelow(w, 32); },
                [](std::uint8_t b) { return !Printable(b); });
        },
        Printable, [&](std::uint8_t b, std::uint8_t prev) { return EndsLine(Mode, b, prev); });
    in.GiveBack();
    return line.Text();
}

}  // namespace detail

}  // namespace qorkit
