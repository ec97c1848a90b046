// Cell texts of the string table seen as 16-bit text.
#include "string_table_keys.h"

#include <algorithm>

#include "qorkit/rtl/codepage.h"

namespace qorkit::detail {

namespace {

TCellCharTables BuildTables() {
    TCellCharTables t{};
    for (int b = 0; b < 256; ++b) {
        const Char c = Win1252ToChar(static_cast<std::uint8_t>(b));
        t.Unit[b] = c;
        t.LowerUnit[b] = (c >= u'A' && c <= u'Z') ? static_cast<Char>(c + 32) : c;
    }
    std::array<Char, 256> sorted = t.LowerUnit;
    std::sort(sorted.begin(), sorted.end());
    const auto last = std::unique(sorted.begin(), sorted.end());
    for (int b = 0; b < 256; ++b) {
        const auto at = std::lower_bound(sorted.begin(), last, t.LowerUnit[b]);
        t.Rank[b] = static_cast<std::uint8_t>(at - sorted.begin() + 1);
    }
    return t;
}

}  // namespace

const TCellCharTables& CellCharTables() {
    static const TCellCharTables tables = BuildTables();
    return tables;
}

int CompareCellToKey(std::string_view Cell, bool Fold, std::u16string_view Key) noexcept {
    const auto& units = Fold ? CellCharTables().LowerUnit : CellCharTables().Unit;
    const std::size_t n = std::min(Cell.size(), Key.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Char a = units[static_cast<std::uint8_t>(Cell[i])];
        if (a != Key[i]) return a < Key[i] ? -1 : 1;
    }
    if (Cell.size() == Key.size()) return 0;
    return Cell.size() < Key.size() ? -1 : 1;
}

void CellToText(std::string_view Cell, bool Fold, String& Out) {
    const auto& units = Fold ? CellCharTables().LowerUnit : CellCharTables().Unit;
    Out.resize(Cell.size());
    for (std::size_t i = 0; i < Cell.size(); ++i)
        Out[i] = units[static_cast<std::uint8_t>(Cell[i])];
}

TFoldedWindow FoldedWindow(std::string_view Cell, std::size_t From) noexcept {
    const auto& rank = CellCharTables().Rank;
    const std::string_view rest = From < Cell.size() ? Cell.substr(From) : std::string_view();
    const auto pack = [&](std::size_t First) {
        std::uint64_t word = 0;
        const std::size_t n =
            rest.size() > First ? std::min<std::size_t>(rest.size() - First, 8) : 0;
        for (std::size_t i = 0; i < n; ++i)
            word |= std::uint64_t{rank[static_cast<std::uint8_t>(rest[First + i])]} << (56 - 8 * i);
        return word;
    };
    return {pack(0), pack(8)};
}

std::size_t FoldedCommonLength(std::string_view A, std::string_view B, std::size_t Limit) noexcept {
    const auto& lower = CellCharTables().LowerUnit;
    const std::size_t n = std::min({A.size(), B.size(), Limit});
    std::size_t i = 0;
    while (i < n &&
           lower[static_cast<std::uint8_t>(A[i])] == lower[static_cast<std::uint8_t>(B[i])])
        ++i;
    return i;
}

int CompareFoldedFrom(std::string_view A, std::string_view B, std::size_t From) noexcept {
    const auto& rank = CellCharTables().Rank;
    const std::size_t n = std::min(A.size(), B.size());
    for (std::size_t i = From; i < n; ++i) {
        const std::uint8_t a = rank[static_cast<std::uint8_t>(A[i])];
        const std::uint8_t b = rank[static_cast<std::uint8_t>(B[i])];
        if (a != b) return a < b ? -1 : 1;
    }
    if (A.size() == B.size()) return 0;
    return A.size() < B.size() ? -1 : 1;
}

}  // namespace qorkit::detail
