#include <array>

#include "qorkit/streams/stream_text.h"
#include "stream_internal.h"

namespace qorkit {

namespace detail {

void WriteText8(TStream& Stream, std::u16string_view Text) {
    // Block size and the final (possibly empty) write are part of the observable behaviour
    // on streams that count or frame their writes.
    constexpr std::size_t kBlock = 4096;
    std::array<std::uint8_t, kBlock> block;
    std::size_t n = 0;
    for (const Char c : Text) {
        block[n++] = static_cast<std::uint8_t>(c & 0xFF);
        if (n == kBlock) {
            Stream.WriteBuffer(block.data(), static_cast<std::int64_t>(n));
            n = 0;
        }
    }
    Stream.WriteBuffer(block.data(), static_cast<std::int64_t>(n));
}

}  // namespace detail

void WriteStringStream(TStream& Stream, const String& S) {
    detail::WriteText8(Stream, S);
}

void WriteLnStream(TStream& Stream, const String& S) {
    detail::WriteText8(Stream, S);
    static constexpr std::uint8_t kCrLf[2] = {13, 10};
    Stream.WriteBuffer(kCrLf, 2);
}

}  // namespace qorkit
