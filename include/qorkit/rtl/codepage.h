// The 8-bit code page of the library (Windows-1252) and its conversions to 16-bit text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// 8-bit text in the Windows-1252 code page, which Qorkit uses on every platform wherever
/// "the system code page" is meant (text files, string-table cells).
using AnsiString = std::string;

/// The character that 8-bit code `b` stands for in Windows-1252. The five codes that the
/// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control characters
/// of the same value, so that every byte survives a round trip.
Char Win1252ToChar(std::uint8_t b) noexcept;
/// The Windows-1252 code of `c`; characters the code page cannot represent give '?'.
std::uint8_t CharToWin1252(Char c) noexcept;
/// Decodes Windows-1252 bytes into 16-bit text (never fails).
String Win1252ToString(std::string_view bytes);
/// Encodes 16-bit text as Windows-1252; unmappable characters become '?'.
AnsiString StringToWin1252(std::u16string_view s);

}  // namespace qorkit
