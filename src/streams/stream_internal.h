// Helpers shared by the stream functions and TMixedFStream.
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Writes the low 8 bits of each character through a 4096-byte block.
void WriteText8(TStream& Stream, std::u16string_view Text);

/// True when `B`, read right after `Prev` (0 at the start of a line), ends a line in `Mode`.
constexpr bool EndsLine(std::int32_t Mode, std::uint8_t B, std::uint8_t Prev) noexcept {
    switch (Mode) {
        case 0:
            return B == 10;
        case 1:
            return B == 13;
        case 2:
            return B == 10 || B == 13;
        case 3:
            return B == 13 && Prev == 10;
        case 4:
            return B == 10 && Prev == 13;
        default:
            return false;
    }
}

/// Reads `Count` bytes into `Dest` (zeroed first); returns true when they could not all be
/// read, the bytes that came then lying over the zeros. Stream errors are swallowed.
bool ReadImage(TStream& Stream, void* Dest, std::int64_t Count) noexcept;

/// The line reader of TMixedFStream: control bytes other than tab are only tested as line
/// ends, never kept.
String ReadPrintableLine(TStream& Stream, std::int32_t Mode);

}  // namespace qorkit::detail
