// Internal: processor feature checks and the accelerated checksum kernels behind them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qorkit::detail {

/// True when the processor has PCLMULQDQ and SSE4.1 (carry-less CRC folding).
bool CpuHasClmul() noexcept;
/// True when the processor has the SHA extensions with SSSE3 and SSE4.1.
bool CpuHasShaNi() noexcept;

/// Folds `Len` bytes (at least 64) into the raw reflected CRC-32 register `Crc` with
/// carry-less multiplication. Only to be called when `CpuHasClmul()`.
std::uint32_t Crc32Clmul(std::uint32_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept;

/// Compresses `Blocks` 64-byte blocks into the five chaining words with the SHA extensions.
/// Only to be called when `CpuHasShaNi()`.
void Sha1CompressShaNi(std::uint32_t State[5], const std::uint8_t* Data,
                       std::size_t Blocks) noexcept;

/// The same compression in portable code, for every processor.
void Sha1CompressPortable(std::uint32_t State[5], const std::uint8_t* Data,
                          std::size_t Blocks) noexcept;

/// Slicing-by-8 CRC-32 over any number of bytes (raw register in, raw register out).
std::uint32_t Crc32Slice8(std::uint32_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept;

}  // namespace qorkit::detail
