// Turns fuzz input into the text of the HTML fuzz targets: the first byte chooses how the
// rest is read, so that both ASCII markup and arbitrary 16-bit units (surrogates included)
// are reached.
#pragma once

#include <cstddef>
#include <cstdint>

#include "qorkit/rtl/system.h"

namespace qorkit::fuzz {

inline String HtmlFuzzText(const std::uint8_t* data, std::size_t size) {
    String s;
    if (size == 0) return s;
    if (data[0] & 1) {  // one character per byte (U+0000..U+00FF)
        for (std::size_t i = 1; i < size; ++i)
            s.push_back(static_cast<Char>(data[i]));
    } else {  // little-endian 16-bit units
        for (std::size_t i = 1; i + 1 < size; i += 2)
            s.push_back(static_cast<Char>(data[i] | (data[i + 1] << 8)));
    }
    return s;
}

}  // namespace qorkit::fuzz
