// CRC-16 (XMODEM and CCITT-FALSE start values) and CRC-32 (ISO-HDLC, as in zlib) checksums.
#pragma once

#include <cstdint>
#include <span>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Start value of `CRC16ofBuffer`: `crcZModem` starts at 0x0000 (CRC-16/XMODEM),
/// `crcCCITT` at 0xFFFF (CRC-16/CCITT-FALSE).
enum TCRC16Mode : std::uint8_t { crcZModem, crcCCITT };

/// Folds byte `b` into the running CRC-16 register `crc` (polynomial 0x1021, most significant
/// bit first, no reflection) and returns the new register.
std::uint16_t CalcNextCRC16(std::uint8_t b, std::uint16_t crc) noexcept;

/// The CRC-16 of the first `Count` bytes of `Buf`, started at 0x0000 for `crcZModem` and at
/// 0xFFFF for any other mode, with no final XOR. Check values over "123456789": 0x31C3
/// (`crcZModem`) and 0x29B1 (`crcCCITT`). A `Count` beyond the array's length is cut to it and a
/// negative one counts as 0, so no byte outside `Buf` is ever read.
std::uint16_t CRC16ofBuffer(std::span<const std::uint8_t> Buf, std::int32_t Count,
                            TCRC16Mode Mode) noexcept;

/// Folds the bytes of `Data` into the raw CRC-16 register `Crc` (as `CalcNextCRC16` would, one
/// byte after the other) and returns the new register; for checksumming data in pieces. Folds
/// 64 bytes at a time by carry-less multiplication where the processor has it.
std::uint16_t UpdateCRC16(std::uint16_t Crc, std::span<const std::uint8_t> Data) noexcept;

/// Folds byte `b` into the raw, reflected CRC-32 register `crc` (reversed polynomial
/// 0xEDB88320) and returns the new register. Callers folding bytes themselves start with
/// 0xFFFFFFFF and invert the register at the end.
std::uint32_t CalcNextCRC32(std::uint8_t b, std::uint32_t crc) noexcept;

/// The CRC-32 of the first `Count` bytes of `Buf` (start 0xFFFFFFFF, final inversion): the
/// checksum of zlib, PNG and ZIP; 0xCBF43926 over "123456789", 0 over no bytes. A `Count`
/// beyond the array's length is cut to it and a negative one counts as 0. Uses carry-less
/// multiplication when the processor has it, slicing by eight otherwise.
std::uint32_t CRC32ofBuffer(std::span<const std::uint8_t> Buf, std::int32_t Count) noexcept;

/// Folds the bytes of `Data` into the raw CRC-32 register `Crc` (no inversion on either side)
/// and returns the new register, with the same fast paths as `CRC32ofBuffer`. Start with
/// 0xFFFFFFFF and invert the final register to get the checksum of data seen in pieces.
std::uint32_t UpdateCRC32(std::uint32_t Crc, std::span<const std::uint8_t> Data) noexcept;

/// The CRC-32 of the whole file `FileName`, read from the start in blocks. Returns 0 when the
/// file cannot be opened or read (no exception leaves the function); an empty file also gives
/// 0, so callers that must tell the two apart check for the file first.
std::uint32_t CalcCRC32ofFile(const String& FileName) noexcept;

/// Names the CRC-32 path `CRC32ofBuffer` takes on this processor: "vpclmul-512" (512-bit
/// carry-less multiplication with AVX-512), "pclmul" (128-bit) or "slice8" (tables).
const char* CRC32Implementation() noexcept;

}  // namespace qorkit
