// Basic types of the platform layer: 16-bit strings, byte arrays and the UTF-8 bridge.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorkit {

/// A string of 16-bit code units; positions in the library's string functions count these
/// units from 1, and 0 means "not found".
using String = std::u16string;
/// One 16-bit code unit of a `String`.
using Char = char16_t;
/// A growable array of bytes.
using TBytes = std::vector<std::uint8_t>;

/// Converts 16-bit text to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view s);
/// Converts UTF-8 to 16-bit text. Malformed sequences, overlong forms and encoded surrogates
/// become U+FFFD, one per offending byte sequence; the result is never truncated.
String FromUtf8(std::string_view s);

}  // namespace qorkit
