#include "qorkit/rtl/stream.h"

#include <algorithm>
#include <array>

#include "qorkit/rtl/exceptions.h"

namespace qorkit {

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
    if (Count > 0 && Read(Buffer, Count) != Count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
    if (Count > 0 && Write(Buffer, Count) != Count) throw EWriteError(u"Stream write error");
}

std::int64_t TStream::Size() {
    const std::int64_t pos = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    std::array<std::uint8_t, 65536> buf;
    std::int64_t done = 0;
    while (done < Count) {
        const auto chunk =
            static_cast<std::int64_t>(std::min<std::int64_t>(Count - done, buf.size()));
        Source.ReadBuffer(buf.data(), chunk);
        WriteBuffer(buf.data(), chunk);
        done += chunk;
    }
    return done;
}

}  // namespace qorkit
