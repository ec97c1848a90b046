// Recognising a text file's encoding by its first bytes.
#pragma once

#include <cstdint>
#include <span>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Encodings told apart by `CheckTextFileType`.
enum TTextfileType : std::uint8_t {
    tftUnicode_le,   ///< UTF-16, little-endian byte-order mark FF FE
    tftUnicode_be,   ///< UTF-16, big-endian byte-order mark FE FF
    tftUnicode4_le,  ///< UTF-32, little-endian mark FF FE 00 00
    tftUnicode4_be,  ///< UTF-32, big-endian mark 00 00 FE FF
    tftRTF,          ///< Rich Text, starting "{\r"
    tftUTF8,         ///< UTF-8 with the mark EF BB BF
    tftUnknown       ///< none of these
};

/// The type that the first bytes `Head` announce, tested in this order: EF BB BF UTF-8,
/// FF FE 00 00 UTF-32 LE, 00 00 FE FF UTF-32 BE, FF FE UTF-16 LE, FE FF UTF-16 BE, "{\r"
/// RTF, else unknown. Missing bytes count as zeros, so the two bytes FF FE alone read as the
/// UTF-32 little-endian mark; only the first four bytes are looked at.
TTextfileType TextTypeOfHead(std::span<const std::uint8_t> Head) noexcept;

/// `TextTypeOfHead` of the first four bytes of the file `FileName` (an empty file is
/// `tftUnknown`). Raises `EInOutError` when the file cannot be opened or read.
TTextfileType CheckTextFileType(const String& FileName);

}  // namespace qorkit
