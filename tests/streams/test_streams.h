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
