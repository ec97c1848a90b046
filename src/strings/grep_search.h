// Internal: the matcher's search over a token table, apart from the component's bookkeeping.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "char_scan.h"
#include "qorkit/strings/grep.h"

namespace qorkit::detail {

using GrepPos = std::int32_t;

/// The element that a repetition or option repeats.
enum class GrepElem : std::uint8_t { Any, Set, Text };

/// A token as the matcher reads it (trivial, so that a table of 64 costs nothing to create).
struct GrepTok {
    TGrepTokenAct Act;
    GrepElem El;               ///< the element of a repetition or option
    GrepPos N;                 ///< text length (taNormal, or a repeated text)
    const Char* Text;          ///< the token's characters, Text[0..N-1]
    const TCharArr256* Table;  ///< membership table

    /// Positions one repetition of the element covers.
    GrepPos Width() const noexcept { return El == GrepElem::Text ? N : 1; }
};

/// Where a search ended.
struct GrepSearchResult {
    bool Found = false;
    /// Positions of tokens 1..m on the match (index 0 is token 1). After a failed search each
    /// element is the last position at which its token passed its own test (0: never).
    std::array<std::int32_t, 64> Valid{};
    std::int32_t End = 0;  ///< last position of the match
};

/// Tries the start positions `First`..`Last` (1 <= First, Last <= text length + 1) with the
/// `M` >= 1 tokens of `Tokens` over `Text` (A to Z folded when `Fold`). `PlainBudget` bounds
/// the plain walk before the dense tables take over; a negative value selects the default
/// (proportional to the text length). Tests pass 0 to check the dense tables alone.
/// `FirstSet`, when not null, is what `FirstSetRanges` gives for these tokens (a caller that
/// searches often with one pattern keeps it).
GrepSearchResult GrepSearch(const TRegExp& Tokens, std::int32_t M, std::u16string_view Text,
                            bool Fold, std::int32_t First, std::int32_t Last,
                            std::int64_t PlainBudget = -1,
                            const std::optional<CharRanges>* FirstSet = nullptr);

/// The first token's set (a set token or a "+" repetition of a set) as at most three ranges
/// of text characters, for a vectorised scan to its members; nullopt for any other first token
/// or a set that needs more ranges.
std::optional<CharRanges> FirstSetRanges(const TRegExp& Tokens, std::int32_t M, bool Fold);

}  // namespace qorkit::detail
