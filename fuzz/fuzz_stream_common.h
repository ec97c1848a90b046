// A forward-only stream for the stream fuzz targets: the library reads it byte by byte,
// while memory streams are read ahead in blocks, so comparing both checks that the two paths
// agree on every value and every position.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/stream.h"

namespace qorkit::fuzz {

class ForwardStream : public TStream {
  public:
    ForwardStream(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    std::int64_t Read(void* Buffer, std::int64_t Count) override {
        const auto n = std::min<std::int64_t>(Count, static_cast<std::int64_t>(FSize) - FPos);
        if (n <= 0) return 0;
        std::memcpy(Buffer, FData + FPos, static_cast<std::size_t>(n));
        FPos += n;
        return n;
    }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override {
        if (Offset == 0 && Origin == soCurrent) return FPos;
        throw EStreamError(u"forward-only stream");
    }
    void SetSize(std::int64_t) override { throw EStreamError(u"forward-only stream"); }
    std::int64_t Size() override { return static_cast<std::int64_t>(FSize); }

  private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::int64_t FPos = 0;
};

}  // namespace qorkit::fuzz
