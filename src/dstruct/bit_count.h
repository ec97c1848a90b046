// Internal: population count over a byte range, with the processor's instruction where present.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qorkit::detail {

/// The number of set bits in `Len` bytes at `Data`, by a 256-entry table of byte counts.
std::uint64_t CountBitsTable(const std::uint8_t* Data, std::size_t Len) noexcept;
/// The same count with the fastest method the processor offers, chosen at the first call.
std::uint64_t CountBits(const std::uint8_t* Data, std::size_t Len) noexcept;
/// "popcnt" when `CountBits` uses the processor's population count, else "table".
const char* CountBitsImplementation() noexcept;

}  // namespace qorkit::detail
