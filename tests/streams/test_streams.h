// Streams for the stream tests: one that records its writes, and one that can only be read
// forward (like a pipe), which shows whether a reader takes more bytes than it should.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/memory_stream.h"

namespace qorkit::test {

/// A string stream that records the size of every `Write` call.
class CountingStream : public TStringStream {
  public:
    std::int64_t Write(const void* Buffer, std::int64_t Count) override {
        Writes.push_back(Count);
        return TStringStream::Write(Buffer, Count);
    }
    std::vector<std::int64_t> Writes;
};

/// A read-only stream over fixed bytes that cannot seek and counts the bytes delivered.
class ForwardStream : public TStream {
  public:
    explicit ForwardStream(std::string bytes) : FBytes(std::move(bytes)) {}
    std::int64_t Read(void* Buffer, std::int64_t Count) override {
        const auto n =
            std::min<std::int64_t>(Count, static_cast<std::int64_t>(FBytes.size()) - FPos);
        if (n <= 0) return 0;
        std::memcpy(Buffer, FBytes.data() + FPos, static_cast<std::size_t>(n));
        FPos += n;
        return n;
    }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override {
        if (Offset == 0 && Origin == soCurrent) return FPos;
        throw EStreamError(u"forward-only stream");
    }
    void SetSize(std::int64_t) override { throw EStreamError(u"forward-only stream"); }
    std::int64_t Size() override { return static_cast<std::int64_t>(FBytes.size()); }
    /// The bytes not yet read.
    std::string Rest() const { return FBytes.substr(static_cast<std::size_t>(FPos)); }

  private:
    std::string FBytes;
    std::int64_t FPos = 0;
};

/// The line-end rule, written out plainly for the reference readers below.
inline bool EndsLineRef(std::int32_t mode, std::uint8_t b, std::uint8_t prev) {
    if (mode == 0) return b == 10;
    if (mode == 1) return b == 13;
    if (mode == 2) return b == 10 || b == 13;
    if (mode == 3) return b == 13 && prev == 10;
    if (mode == 4) return b == 10 && prev == 13;
    return false;
}

/// A line read from `bytes` at `pos` (advanced past it) a byte at a time: `keepAll` keeps
/// every byte and strips up to two end bytes from a line that ended by the rule (the stream
/// line reader); otherwise only bytes of 32 and above and tabs are kept (the mixed file
/// stream's reader). Sets `ended` when the rule ended the line.
inline std::string ReferenceLine(const std::string& bytes, std::size_t& pos, std::int32_t mode,
                                 bool keepAll, bool& ended) {
    std::string line;
    std::uint8_t prev = 0;
    ended = false;
    while (pos < bytes.size()) {
        const auto b = static_cast<std::uint8_t>(bytes[pos++]);
        const bool printable = b >= 32 || b == 9;
        if (keepAll || printable) line.push_back(static_cast<char>(b));
        if ((keepAll || !printable) && EndsLineRef(mode, b, prev)) {
            ended = true;
            break;
        }
        prev = b;
    }
    if (keepAll && ended)
        for (int i = 0; i < 2 && !line.empty() && (line.back() == '\r' || line.back() == '\n'); ++i)
            line.pop_back();
    return line;
}

/// Each byte of `bytes` as the character of the same code.
inline String Widen(const std::string& bytes) {
    String out;
    for (const char c : bytes)
        out.push_back(static_cast<std::uint8_t>(c));
    return out;
}

/// Random text for the line readers: runs of letters from a few bytes to beyond the readers'
/// 4096-byte blocks, mixed with CR, LF, tab, BEL, NUL and bytes above 127.
template <class Gen>
std::string RandomLineText(Gen& gen) {
    std::string s;
    const int pieces = 1 + static_cast<int>(gen() % 40);
    for (int i = 0; i < pieces; ++i) {
        switch (gen() % 4) {
            case 0:
                s.append(gen() % 8 == 0 ? 1000 + gen() % 9000 : gen() % 90, 'a' + gen() % 26);
                break;
            default:
                s.push_back("\r\n\r\n\t\a\0\xE9 "[gen() % 9]);
        }
    }
    return s;
}

/// The bytes from the stream's position to its end, read independently of the library's
/// line and tag readers.
inline std::string RestOf(TStream& s) {
    std::string out;
    char c;
    while (s.Read(&c, 1) == 1)
        out.push_back(c);
    return out;
}

}  // namespace qorkit::test
