// The one loop behind entity resolving and percent decoding: copy the text, and at each
// escape character let a decoder try to replace what starts there.
#pragma once

#include <cstddef>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Copies `S`, handing each occurrence of `Escape` to `Decode(S, at, out)`, which appends the
/// replacement to `out` and returns the offset just past the escape, or returns 0 to have the
/// escape character copied as it is (scanning then resumes right after it).
template <class Decoder>
String DecodeEscapes(std::u16string_view S, Char Escape, Decoder&& Decode) {
    String out;
    out.reserve(S.size());
    std::size_t i = 0;
    for (;;) {
        const std::size_t at = S.find(Escape, i);
        if (at == std::u16string_view::npos) break;
        out.append(S.substr(i, at - i));
        const std::size_t end = Decode(S, at, out);
        if (end != 0) {
            i = end;
        } else {
            out.push_back(Escape);
            i = at + 1;
        }
    }
    out.append(S.substr(i));
    return out;
}

}  // namespace qorkit::detail
