// Counting one byte value in a block quickly (the line counters' inner loop).
#pragma once

#include <cstdint>
#include <string_view>

namespace qorkit::detail {

/// The number of bytes of `Block` equal to `B`.
std::int64_t CountByte(std::string_view Block, char B) noexcept;

}  // namespace qorkit::detail
