// Decodes arbitrary text as uuencoded data. A decoding error is an expected outcome; a crash,
// a sanitizer report, or a successful decode that does not re-encode to the same bytes is not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "qorkit/core/errors.h"
#include "qorkit/strings/uu_coding.h"

using namespace qorkit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two input bytes per character give the decoder characters above 255 as well; odd sizes
    // are read one byte per character.
    String text;
    if (size % 2 == 0) {
        for (std::size_t i = 0; i + 1 < size; i += 2)
            text += static_cast<Char>(data[i] | (data[i + 1] << 8));
    } else {
        for (std::size_t i = 0; i < size; ++i)
            text += static_cast<Char>(data[i]);
    }
    try {
        const String decoded = UUDecodeStr(text);
        for (Char c : decoded)
            if (c > 255) std::abort();
        if (UUDecodeStr(UUEncodeStr(decoded)) != decoded) std::abort();
    } catch (const EQORStringlError&) {
    }
    return 0;
}
