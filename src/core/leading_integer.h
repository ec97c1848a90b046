// The leading integer of a text, as the data structures and the save dialog read it.
#pragma once

#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Reads blanks (U+0020), an optional sign and the decimal digits that follow, up to the first
/// other character; no digits give 0. A magnitude above `Limit` is cut to `Limit` + 1 and sets
/// `Overflow`.
inline std::int64_t ReadLeadingInteger(std::u16string_view s, std::int64_t Limit,
                                       bool& Overflow) noexcept {
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    std::int64_t v = 0;
    Overflow = false;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        v = v * 10 + (s[i] - u'0');
        if (v > Limit) {
            v = Limit + 1;
            Overflow = true;
        }
    }
    return negative ? -v : v;
}

}  // namespace qorkit::detail
