// Internal: the accelerated checksum and coding kernels, which of them this processor runs, and
// the test hook that forces each one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qorkit::detail {

/// True when the processor has PCLMULQDQ, SSSE3 and SSE4.1 (carry-less CRC folding).
bool CpuHasClmul() noexcept;
/// True when the processor has the SHA extensions with SSSE3 and SSE4.1.
bool CpuHasShaNi() noexcept;

/// The kernels of each algorithm, slowest first; the portable one runs everywhere.
enum class Crc32Path : std::uint8_t { Slice8, Clmul, Vpclmul512 };
enum class Crc16Path : std::uint8_t { Table, Clmul };
enum class Sha1Path : std::uint8_t { Portable, ShaNi };
enum class Base64Path : std::uint8_t { Scalar, Avx2, Avx512Vbmi };

/// Whether this processor (and its operating system) can run the kernel.
bool CanRun(Crc32Path P) noexcept;
bool CanRun(Crc16Path P) noexcept;
bool CanRun(Sha1Path P) noexcept;
bool CanRun(Base64Path P) noexcept;

/// The kernel in use: the fastest this processor runs, unless a test forced another.
Crc32Path ActiveCrc32Path() noexcept;
Crc16Path ActiveCrc16Path() noexcept;
Sha1Path ActiveSha1Path() noexcept;
Base64Path ActiveBase64Path() noexcept;

/// Test hook: makes `P` the kernel in use for every later call, or returns false and changes
/// nothing when the processor cannot run it. Not thread-safe against running checksums.
bool ForcePath(Crc32Path P) noexcept;
bool ForcePath(Crc16Path P) noexcept;
bool ForcePath(Sha1Path P) noexcept;
bool ForcePath(Base64Path P) noexcept;

/// Folds `Len` bytes (at least 64) into the raw reflected CRC-32 register `Crc` with 128-bit
/// carry-less multiplication. Only to be called when `CanRun(Crc32Path::Clmul)`.
std::uint32_t Crc32Clmul(std::uint32_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept;

/// The same with 512-bit carry-less multiplication (at least 256 bytes). Only to be called
/// when `CanRun(Crc32Path::Vpclmul512)`.
std::uint32_t Crc32Vpclmul512(std::uint32_t Crc, const std::uint8_t* Data,
                              std::size_t Len) noexcept;

/// Folds `Len` bytes (at least 64) into the CRC-16 register `Crc` (polynomial 0x1021, most
/// significant bit first) with carry-less multiplication. Only when `CanRun(Crc16Path::Clmul)`.
std::uint16_t Crc16Clmul(std::uint16_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept;

/// The CRC-16 register after `Len` bytes, one table look-up per byte.
std::uint16_t Crc16Table(std::uint16_t Crc, const std::uint8_t* Data, std::size_t Len) noexcept;

/// Base64 kernels. The encoders turn a prefix of `Len` bytes made of whole 3-byte groups
/// into 4 characters per group at `Out` and return its length (the rest is the caller's).
/// The decoders turn a prefix of whole 4-character groups, all in the alphabet, into 3 bytes
/// per group and return its length in characters; the AVX2 decoder may write 8 bytes beyond
/// the bytes it decoded. Only to be called when `CanRun` says so for the path.
std::size_t Base64EncodeAvx2(const std::uint8_t* In, std::size_t Len, std::uint8_t* Out) noexcept;
std::size_t Base64DecodeAvx2(const std::uint8_t* In, std::size_t Len, std::uint8_t* Out) noexcept;
std::size_t Base64EncodeVbmi(const std::uint8_t* In, std::size_t Len, std::uint8_t* Out) noexcept;
std::size_t Base64DecodeVbmi(const std::uint8_t* In, std::size_t Len, std::uint8_t* Out) noexcept;

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
