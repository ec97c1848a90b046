// Internal: the matcher's dense tables. For every token they hold, one bit per text position,
// where the token passes its own test, where one repetition of its element lies, and whether
// the pattern from that token on matches there. Built backwards from the end of the text with
// word-wide operations, they answer every (token, position) question of the classic walk in
// O(text length x tokens / 64) word steps.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "char_scan.h"
#include "grep_search.h"

namespace qorkit::detail {

/// Bit c of the result (c below 256): whether text character c is a member of set table
/// `Table`, the text folded when `Fold`. Characters from 256 on are never members.
using SetBits = std::array<std::uint64_t, 4>;
SetBits SetMembers(const TCharArr256& Table, bool Fold) noexcept;

/// The members of a set as at most three ranges of text characters; false when they need more.
bool SetRanges(const SetBits& Members, CharRanges& Out) noexcept;

class GrepTables {
  public:
    /// The own-test and element tables of `Toks[0..M)` over the positions `First`..L + 1 of
    /// `Text` (L its length; A to Z folded when `Fold`). Positions below `First` read as false.
    GrepTables(const GrepTok* Toks, GrepPos M, std::u16string_view Text, bool Fold, GrepPos First);

    /// Adds the match tables: whether the pattern from token k on matches with token k at p.
    void BuildMatch();

    bool Pass(GrepPos k, GrepPos p) const noexcept { return Get(FPass[Ix(k)], p); }
    bool One(GrepPos k, GrepPos p) const noexcept { return Get(FOne[Ix(k)], p); }
    bool Match(GrepPos k, GrepPos p) const noexcept { return Get(FMatch[Ix(k)], p); }
    /// Whether token k passes its own test anywhere in the range.
    bool PassesAnywhere(GrepPos k) const noexcept;
    /// The first position in From..To at which the pattern matches from token k on; 0 if none.
    GrepPos FirstMatch(GrepPos k, GrepPos From, GrepPos To) const noexcept;

  private:
    using Table = std::vector<std::uint64_t>;
    static std::size_t Ix(GrepPos k) { return static_cast<std::size_t>(k); }

    bool Get(std::size_t t, GrepPos p) const noexcept {
        if (p < FFirst || p > FL + 1) return false;
        const auto j = static_cast<std::size_t>(p - 1 - FBase);
        return (FTab[t][j / 64] >> (j % 64)) & 1u;
    }
    std::size_t NewTable();
    std::size_t Positions(GrepPos From, GrepPos To);  // a table of the range From..To
    std::size_t TextTable(const GrepTok& t);
    std::size_t SetTable(const GrepTok& t);
    std::size_t CharTable(Char c);
    void ShiftInto(Table& Dst, const Table& Src, GrepPos n) const;  // Dst[p] = Src[p + n]
    void Fill(Table& G, const Table& X, const Table& O, GrepPos w) const;
    void Clip(Table& t) const;  // clears the bits outside First..L + 1

    const GrepTok* FToks;
    GrepPos FM;
    std::u16string_view FS;
    GrepPos FL;
    bool FFold;
    GrepPos FFirst;
    GrepPos FBase;       // bit j of a table stands for position FBase + 1 + j
    std::size_t FWords;  // words per table, with zero words beyond the text for shifts
    std::size_t FUsed;   // words that hold positions up to L + 1
    std::vector<Table> FTab;
    std::vector<std::size_t> FPass, FOne, FMatch;
    std::size_t FAll = 0, FInText = 0;  // First..L + 1 and First..L
};

}  // namespace qorkit::detail
