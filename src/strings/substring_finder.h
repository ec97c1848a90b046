// Internal: a substring matcher with a linear-time guarantee, shared by the search functions.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Lower-case of A to Z; every other character unchanged.
constexpr Char FoldAZ(Char c) noexcept {
    return (c >= u'A' && c <= u'Z') ? static_cast<Char>(c + (u'a' - u'A')) : c;
}

inline constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);

/// Finds occurrences of a fixed pattern with the Knuth-Morris-Pratt automaton: every search
/// reads each text character at most twice, so a scan for all non-overlapping occurrences is
/// linear in the text and pattern lengths together, however repetitive they are. With `Fold`
/// the letters A to Z match regardless of case. Between partial matches the scan skips
/// quickly to the next candidate for the pattern's first character.
template <bool Fold>
class SubstringFinder {
  public:
    /// `Pattern` must not be empty.
    explicit SubstringFinder(std::u16string_view Pattern)
        : FPattern(Pattern), FBorder(Pattern.size()) {
        if constexpr (Fold)
            for (Char& c : FPattern)
                c = FoldAZ(c);
        // FBorder[k]: length of the longest proper border of FPattern[0..k].
        std::size_t b = 0;
        for (std::size_t k = 1; k < FPattern.size(); ++k) {
            while (b > 0 && FPattern[k] != FPattern[b])
                b = FBorder[b - 1];
            if (FPattern[k] == FPattern[b]) ++b;
            FBorder[k] = b;
        }
    }

    /// Index of the first occurrence that starts at or after `From` in the text of `Size`
    /// characters that `At(i)` yields, or kNoMatch.
    template <class Accessor>
    std::size_t Find(const Accessor& At, std::size_t Size, std::size_t From) const {
        const std::size_t m = FPattern.size();
        if (m > Size) return kNoMatch;
        const Char* const pattern = FPattern.data();
        const Char first = pattern[0];
        const std::size_t lastStart = Size - m;
        std::size_t i = From;
        std::size_t j = 0;  // characters of the pattern matched so far, ending before i
        while (true) {
            if (j == 0) {
                while (i <= lastStart && Get(At, i) != first)
                    ++i;
                if (i > lastStart) return kNoMatch;
                ++i;
                j = 1;
            }
            const std::size_t end = std::min(Size, i + (m - j));
            while (i < end && Get(At, i) == pattern[j]) {
                ++i;
                ++j;
            }
            if (j == m) return i - m;
            if (i >= Size) return kNoMatch;
            j = FBorder[j - 1];  // the mismatching character is compared again
        }
    }

  private:
    template <class Accessor>
    static Char Get(const Accessor& At, std::size_t i) {
        if constexpr (Fold)
            return FoldAZ(At(i));
        else
            return At(i);
    }

    String FPattern;
    std::vector<std::size_t> FBorder;
};

}  // namespace qorkit::detail
