#include <algorithm>
#include <array>
#include <cstdint>

#include "byte_reader.h"
#include "qorkit/streams/stream_text.h"

namespace qorkit {

bool FindInStream(TStream& Stream, std::uint8_t B) {
    detail::ByteReader in(Stream);
    for (;;) {
        const std::size_t avail = in.FillAhead();
        if (avail > 0) {
            const std::uint8_t* p = in.Ahead();
            const std::uint8_t* hit = std::find(p, p + avail, B);
            if (hit != p + avail) {
                in.Skip(static_cast<std::size_t>(hit - p) + 1);
                in.GiveBack();
                return true;
            }
            in.Skip(avail);
            continue;
        }
        const int b = in.Next();
        if (b < 0) return false;
        if (b == B) {
            in.GiveBack();
            return true;
        }
    }
}

String StreamAsString(TStream& Stream) {
    String s;
    std::array<std::uint8_t, 256> block;
    for (;;) {
        const std::int64_t n = Stream.Read(block.data(), block.size());
        for (std::int64_t k = 0; k + 1 < n; k += 2)
            s.push_back(static_cast<Char>(block[k] | (block[k + 1] << 8)));
        if (n < static_cast<std::int64_t>(block.size())) break;
    }
    return s;
}

String StreamAsByteString(TStream& Stream) {
    String s;
    std::array<std::uint8_t, 256> block;
    for (;;) {
        const std::int64_t n = Stream.Read(block.data(), block.size());
        s.append(block.begin(), block.begin() + std::max<std::int64_t>(n, 0));
        if (n < static_cast<std::int64_t>(block.size())) break;
    }
    return s;
}

std::int32_t CountLinesInStream(TStream& Stream) {
    // Reading to the end in large blocks gives the same count and end position as reading
    // byte by byte.
    std::array<std::uint8_t, 65536> block;
    std::uint64_t lines = 0;
    for (;;) {
        const std::int64_t n = Stream.Read(block.data(), block.size());
        if (n <= 0) break;
        lines += static_cast<std::uint64_t>(std::count(block.begin(), block.begin() + n, 10));
    }
    // More lines than the result can hold give its largest value rather than a wrapped one.
    return static_cast<std::int32_t>(std::min<std::uint64_t>(lines, INT32_MAX));
}

}  // namespace qorkit
