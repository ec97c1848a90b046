// ASCII85 over streams, with buffered reading and writing around the group-wise coding.
#include "qorkit/dstruct/ascii85.h"

#include <vector>

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

void EncodeASCII85(TStream& Input, TStream& Output, bool LineBreaks) {
    ByteReader in(Input);
    ByteWriter out(Output);
    int groups = 0;
    for (;;) {
        std::uint8_t bytes[4];
        int n = 0;
        for (; n < 4; ++n) {
            const int c = in.Next();
            if (c < 0) break;
            bytes[n] = static_cast<std::uint8_t>(c);
        }
        if (n == 0) break;
        std::uint32_t value = 0;
        for (int i = 0; i < n; ++i)
            value = value << 8 | bytes[i];
        if (n == 4 && value == 0) {
            out.Put('z');
        } else {
            // n + 1 digits, most significant first.
            char digits[5];
            for (int k = n; k >= 0; --k) {
                digits[k] = static_cast<char>(value % 85 + 33);
                value /= 85;
            }
            for (int k = 0; k <= n; ++k)
                out.Put(static_cast<std::uint8_t>(digits[k]));
            if (++groups > 11) {
                groups = 0;
                if (LineBreaks) {
                    out.Put('\r');
                    out.Put('\n');
                }
            }
        }
        if (n < 4) break;
    }
    out.Put('~');
    out.Put('>');
    out.Flush();
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
