// SHA-1 message digests of strings, byte buffers, streams and files.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// A SHA-1 digest: 20 bytes, the five chaining words each stored most significant byte first.
using TSHACode = std::array<std::uint8_t, 20>;

/// The SHA-1 digest of the UTF-8 form of `S` (unpaired surrogates become U+FFFD). For text in
/// ASCII this is the usual digest of the text: SHA1FromString(u"abc") is A9993E36...C9CD0D89D.
TSHACode SHA1FromString(const String& S);

/// The SHA-1 digest of the bytes of `Data`.
TSHACode SHA1FromBuffer(std::span<const std::uint8_t> Data) noexcept;

/// The SHA-1 digest of `Stream` from its position to its end; the stream is left at its end.
/// Read errors of the stream pass through.
TSHACode SHA1FromStream(TStream& Stream);

/// The SHA-1 digest of the file `FileName`. Raises `EFOpenError` (naming the file and the
/// system's reason) when it cannot be opened, `EReadError` when reading fails.
TSHACode SHA1FromFile(const String& FileName);

/// `Digest` as 40 upper-case hexadecimal digits, first byte first, high nibble first.
String SHA1DigestToHex(const TSHACode& Digest);

/// Names the SHA-1 compression path used on this processor: "sha-ni" or "portable".
const char* SHA1Implementation() noexcept;

}  // namespace qorkit
