// ASCII85 over streams: the encoder works on whole pieces of the input, the decoder reads
// and writes through buffers around its group-wise coding.
#include "qorkit/dstruct/ascii85.h"

#include <span>
#include <vector>

#include "stream_chunks.h"

namespace qorkit {

namespace {

// Hands out the input one byte at a time from a 64 KiB buffer.
class ByteReader {
  public:
    explicit ByteReader(TStream& Input) : FInput(Input), FBuf(64 * 1024) {}
    // The next byte, or -1 at the end of the input.
    int Next() {
        if (FPos == FLen) {
            if (FDone) return -1;
            const std::int64_t got =
                FInput.Read(FBuf.data(), static_cast<std::int64_t>(FBuf.size()));
            if (got <= 0) {
                FDone = true;
                return -1;
            }
            FLen = static_cast<std::size_t>(got);
            FPos = 0;
        }
        return FBuf[FPos++];
    }
    // The next byte that is not CR or LF, or -1 at the end.
    int NextSignificant() {
        int c;
        do
            c = Next();
        while (c == '\r' || c == '\n');
        return c;
    }

  private:
    TStream& FInput;
    std::vector<std::uint8_t> FBuf;
    std::size_t FPos = 0, FLen = 0;
    bool FDone = false;
};

// Collects output and writes it in large pieces.
class ByteWriter {
  public:
    explicit ByteWriter(TStream& Output) : FOutput(Output) { FBuf.reserve(kFlushAt + 16); }
    ~ByteWriter() = default;
    void Put(std::uint8_t b) {
        FBuf.push_back(b);
        if (FBuf.size() >= kFlushAt) Flush();
    }
    void Flush() {
        FOutput.WriteBuffer(FBuf.data(), static_cast<std::int64_t>(FBuf.size()));
        FBuf.clear();
    }

  private:
    static constexpr std::size_t kFlushAt = 64 * 1024;
    TStream& FOutput;
    std::vector<std::uint8_t> FBuf;
};

}  // namespace

namespace {

// Writes the n + 1 digits of a group of n bytes (value holds them, first byte highest) and
// returns the position behind them.
inline std::uint8_t* PutDigits(std::uint8_t* o, std::uint32_t value, int n) {
    for (int k = n; k >= 0; --k) {
        o[k] = static_cast<std::uint8_t>(value % 85 + 33);
        value /= 85;
    }
    return o + n + 1;
}

}  // namespace

void EncodeASCII85(TStream& Input, TStream& Output, bool LineBreaks) {
    // Pieces of whole groups straight from the input (memory streams are not copied); each
    // piece's text goes out in one write.
    constexpr std::size_t kPiece = 64 * 1024;
    detail::StreamChunks in(Input, kPiece, &Output);
    std::vector<std::uint8_t> text(kPiece / 4 * 7 + 16);  // 5 digits + CR LF per group at most
    int groups = 0;
    const auto counted = [&](std::uint8_t* o) {
        if (++groups > 11) {
            groups = 0;
            if (LineBreaks) {
                *o++ = '\r';
                *o++ = '\n';
            }
        }
        return o;
    };
    for (;;) {
        const std::span<const std::uint8_t> piece = in.Next();
        const std::uint8_t* p = piece.data();
        const std::size_t n = piece.size();
        std::uint8_t* o = text.data();
        std::size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            const std::uint32_t value = std::uint32_t{p[i]} << 24 | std::uint32_t{p[i + 1]} << 16 |
                                        std::uint32_t{p[i + 2]} << 8 | p[i + 3];
            if (value == 0)
                *o++ = 'z';
            else
                o = counted(PutDigits(o, value, 4));
        }
        const bool last = n < kPiece;
        if (last && i < n) {
            std::uint32_t value = 0;
            const int rest = static_cast<int>(n - i);
            for (int k = 0; k < rest; ++k)
                value = value << 8 | p[i + static_cast<std::size_t>(k)];
            o = counted(PutDigits(o, value, rest));
        }
        if (last) {
            *o++ = '~';
            *o++ = '>';
        }
        Output.WriteBuffer(text.data(), o - text.data());
        if (last) break;
    }
}

std::int32_t DecodeASCII85(TStream& Input, TStream& Output) {
    ByteReader in(Input);
    ByteWriter out(Output);
    std::int32_t result = 0;
    for (;;) {
        const int first = in.NextSignificant();
        if (first < 0) break;
        if (first == 'z') {
            for (int k = 0; k < 4; ++k)
                out.Put(0);
            continue;
        }
        int group[5] = {first};
        int m = 1;
        while (m < 5) {
            const int c = in.NextSignificant();
            if (c < 0) break;
            group[m++] = c;
        }
        const bool last = m < 5;
        bool ended = false;
        for (int k = 0; k < m; ++k) {
            if (group[k] == '~') {
                m = k;
                ended = true;
                break;
            }
        }
        std::uint32_t value = 0;
        for (int k = 0; k < m; ++k) {
            const int c = group[k];
            if (c == 'z')
                result = -2;
            else if (c < '!' || c > 'u')
                result = -1;
            value = value * 85u + static_cast<std::uint32_t>(c - 33);
        }
        for (int k = m - 2; k >= 0; --k)
            out.Put(static_cast<std::uint8_t>(value >> (8 * k)));
        if (ended || last) break;
    }
    out.Flush();
    return result;
}

}  // namespace qorkit
