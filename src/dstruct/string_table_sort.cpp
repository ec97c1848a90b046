// TStringArray: comb sort over the row permutation, committing it, and searching cells.
#include <algorithm>
#include <vector>

#include "qorkit/dstruct/string_table.h"
#include "qorkit/rtl/sysutils.h"
#include "string_table_keys.h"

namespace qorkit {

namespace {

/// The next comb-sort gap: n / 1.3 truncated, computed exactly as 10n / 13, never below 1.
std::int64_t NextGap(std::int64_t Gap) {
    return std::max<std::int64_t>(1, Gap * 10 / 13);
}

/// Comparisons the sort of `n` rows is expected to make: one pass per gap down to 1, plus one
/// more pass at gap 1.
std::int64_t SortWork(std::int64_t n) {
    std::int64_t work = 0;
    std::int64_t gap = n;
    do {
        gap = NextGap(gap);
        work += n - gap;
    } while (gap != 1);
    return work + n;
}

/// The comb sort's fixed pass sequence over positions 0..n-1. `Compare(i, j)` orders the rows
/// at two positions, `Exchange(i, j)` swaps them, `Pass(k)` runs after every pass with the
/// number of comparisons so far.
template <class CompareFn, class ExchangeFn, class PassFn>
void CombSort(std::int64_t n, bool Ascending, CompareFn&& Compare, ExchangeFn&& Exchange,
              PassFn&& Pass) {
    std::int64_t gap = n;
    std::int64_t comparisons = 0;
    bool exchanged = false;
    do {
        gap = NextGap(gap);
        exchanged = false;
        for (std::int64_t i = 0; i + gap < n; ++i) {
            const int order = Compare(i, i + gap);
            if (Ascending ? order > 0 : order < 0) {
                Exchange(i, i + gap);
                exchanged = true;
            }
            ++comparisons;
        }
        Pass(comparisons);
    } while (gap != 1 || exchanged);
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

void TStringArray::ReportProgress(std::int64_t Done, std::int64_t Work) {
    if (!FOnPercentDone) return;
    // Done / Work x 100 rounded to the nearest integer, halves to even.
    const std::int64_t scaled = Done * 100;
    std::int64_t percent = scaled / Work;
    const std::int64_t rest = scaled % Work;
    if (2 * rest > Work || (2 * rest == Work && percent % 2 != 0)) ++percent;
    FOnPercentDone(this, static_cast<std::int32_t>(percent));
}

void TStringArray::BeforeSortExchange(const String& InString, String& OutString) {
    OutString = InString;
    if (FOnBefSortExc) FOnBefSortExc(this, InString, OutString);
}

String TStringArray::SortKey(std::int32_t c, std::int32_t r) {
    String key;
    BeforeSortExchange(Text(c, r), key);
    return LowerCase(key);
}

void TStringArray::SortThroughHandler(std::int32_t Col, std::int32_t ColSec, bool Ascending,
                                      std::int64_t Work) {
    const auto row = [](std::int64_t i) { return static_cast<std::int32_t>(i + 1); };
    CombSort(
        FNRow, Ascending,
        [&](std::int64_t i, std::int64_t j) {
            const String a = SortKey(Col, row(i));
            const String b = SortKey(Col, row(j));
            if (a != b || ColSec < 1) return Sign(a.compare(b));
            return Sign(SortKey(ColSec, row(i)).compare(SortKey(ColSec, row(j))));
        },
        [&](std::int64_t i, std::int64_t j) { std::swap(FSortIx[i], FSortIx[j]); },
        [&](std::int64_t done) { ReportProgress(done, Work); });
}

void TStringArray::SortOnPrefixes(std::int32_t Col, std::int32_t ColSec, bool Ascending,
                                  std::int64_t Work) {
    // Without a handler a key depends only on its physical row, so each row's keys are
    // computed once: the folded first eight characters as a number, with the full texts
    // consulted only when two such prefixes are equal and complete. The decisions, and so
    // the order, are exactly those of reading the keys for every comparison.
    // The lengths (at most 255) mark complete keys: two equal prefixes decide by length alone
    // when either text has at most eight characters, so equal short keys never read the pools.
    struct TEntry {
        std::uint64_t Primary;
        std::uint64_t Secondary;
        std::int32_t Row;
        std::uint8_t PrimaryLen;
        std::uint8_t SecondaryLen;
    };
    const bool primaryValid = Col >= 0 && Col <= FNCol;
    const bool secondaryValid = ColSec >= 1 && ColSec <= FNCol;
    std::vector<TEntry> entries(static_cast<std::size_t>(FNRow));
    for (std::int32_t i = 0; i < FNRow; ++i) {
        const std::int32_t p = FSortIx[i];
        TEntry& e = entries[i];
        e.Row = p;
        const std::string_view primary = primaryValid ? PhysicalText(Col, p) : std::string_view();
        const std::string_view secondary =
            secondaryValid ? PhysicalText(ColSec, p) : std::string_view();
        e.Primary = detail::FoldedPrefix(primary);
        e.PrimaryLen = static_cast<std::uint8_t>(primary.size());
        e.Secondary = detail::FoldedPrefix(secondary);
        e.SecondaryLen = static_cast<std::uint8_t>(secondary.size());
    }
    const auto compareIn = [&](std::int32_t c, std::uint64_t x, std::uint64_t y, std::uint8_t lx,
                               std::uint8_t ly, std::int32_t px, std::int32_t py) {
        if (x != y) return x < y ? -1 : 1;
        // Equal prefixes: a text of at most eight characters is complete in its prefix, so
        // the shorter text is the smaller (equal lengths: equal texts).
        if (lx <= 8 || ly <= 8) return lx == ly ? 0 : (lx < ly ? -1 : 1);
        return detail::CompareFoldedFrom(PhysicalText(c, px), PhysicalText(c, py), 8);
    };
    const auto writeBack = [&] {
        for (std::int32_t i = 0; i < FNRow; ++i)
            FSortIx[i] = entries[i].Row;
    };
    try {
        CombSort(
            FNRow, Ascending,
            [&](std::int64_t i, std::int64_t j) {
                const TEntry& x = entries[i];
                const TEntry& y = entries[j];
                const int order =
                    compareIn(Col, x.Primary, y.Primary, x.PrimaryLen, y.PrimaryLen, x.Row, y.Row);
                if (order != 0 || ColSec < 1) return order;
                return compareIn(ColSec, x.Secondary, y.Secondary, x.SecondaryLen, y.SecondaryLen,
                                 x.Row, y.Row);
            },
            [&](std::int64_t i, std::int64_t j) { std::swap(entries[i], entries[j]); },
            [&](std::int64_t done) {
                if (FOnPercentDone) {
                    // The handler may look at the table: show it the order so far.
                    writeBack();
                    ReportProgress(done, Work);
                }
            });
    } catch (...) {
        writeBack();
        throw;
    }
    writeBack();
}

void TStringArray::Sort(std::int32_t Col, std::int32_t ColSec, bool Ascending) {
    if (FOnPercentDone) FOnPercentDone(this, 0);
    const std::int64_t work = SortWork(FNRow);
    if (FNRow > 1) {
        if (FOnBefSortExc)
            SortThroughHandler(Col, ColSec, Ascending, work);
        else
            SortOnPrefixes(Col, ColSec, Ascending, work);
        Changed();
    }
    if (FOnPercentDone) FOnPercentDone(this, 100);
}

void TStringArray::UnSort() {
    ResetSortIx();
    Changed();
}

void TStringArray::CommitSorting() {
    const auto n = static_cast<std::size_t>(FNRow);
    // Everything that allocates happens before the first handle moves.
    std::vector<std::uint32_t> saved(n);
    std::vector<std::uint8_t> savedAttrib(FRowAttrib.begin(), FRowAttrib.begin() + FNRow);
    std::vector<bool> shown(n, false);
    std::vector<std::size_t> repeats;
    for (std::size_t i = 0; i < n; ++i) {
        const auto p = static_cast<std::size_t>(FSortIx[i] - 1);
        if (shown[p])
            repeats.push_back(i);
        else
            shown[p] = true;
    }
    // A row shown twice (only a hand-made permutation does that) gets copies of its texts,
    // so that no two cells share a slot afterwards.
    std::vector<std::uint32_t> copies;
    copies.reserve(repeats.size() * (static_cast<std::size_t>(FNCol) + 1));
    for (std::int32_t c = 0; c <= FNCol; ++c)
        for (const std::size_t i : repeats) {
            const std::uint32_t handle = FPoiArray[c][FSortIx[i] - 1];
            copies.push_back(handle == 0 ? 0 : Append(HandleText(handle)));
        }
    std::size_t copy = 0;
    for (std::int32_t c = 0; c <= FNCol; ++c) {
        THandleColumn& column = FPoiArray[c];
        std::copy(column.begin(), column.begin() + FNRow, saved.begin());
        for (std::size_t i = 0; i < n; ++i)
            column[i] = saved[FSortIx[i] - 1];
        for (const std::size_t i : repeats)
            column[i] = copies[copy++];
    }
    for (std::size_t i = 0; i < n; ++i)
        FRowAttrib[i] = savedAttrib[FSortIx[i] - 1];
    ResetSortIx();
}

std::int32_t TStringArray::GetSortOrder(std::int32_t ix) const noexcept {
    if (ix < 1 || ix > FNRow) return -1;
    return FSortIx[ix - 1];
}

void TStringArray::SetSortOrder(std::int32_t ix, std::int32_t position) noexcept {
    if (ix < 1 || ix > FNRow || position < 1 || position > FNRow) return;
    FSortIx[ix - 1] = position;
}

// ---- searching --------------------------------------------------------------------------

namespace {

/// Orders a range given with -1 meaning "all" after clamping: `AllWhenEither` selects
/// whether one -1 suffices (columns) or both must be -1 (rows).
void ClampRange(std::int32_t& Low, std::int32_t& High, std::int32_t Min, std::int32_t Max,
                bool AllWhenEither) {
    const bool all = AllWhenEither ? (Low == -1 || High == -1) : (Low == -1 && High == -1);
    if (all) {
        Low = Min;
        High = Max;
        return;
    }
    Low = std::clamp(Low, Min, Max);
    High = std::clamp(High, Min, Max);
    if (Low > High) std::swap(Low, High);
}

}  // namespace

bool TStringArray::FindCell(const String& FindStr, bool MatchCase, std::int32_t ColLow,
                            std::int32_t ColHigh, std::int32_t RowLow, std::int32_t RowHigh,
                            std::int32_t& Col, std::int32_t& row) const {
    return FindCellIntern(FindStr, MatchCase, ColLow, ColHigh, RowLow, RowHigh, Col, row, false);
}

bool TStringArray::FindCellExact(const String& FindStr, bool MatchCase, std::int32_t ColLow,
                                 std::int32_t ColHigh, std::int32_t RowLow, std::int32_t RowHigh,
                                 std::int32_t& Col, std::int32_t& row) const {
    return FindCellIntern(FindStr, MatchCase, ColLow, ColHigh, RowLow, RowHigh, Col, row, true);
}

bool TStringArray::FindCellIntern(const String& FindStr, bool MatchCase, std::int32_t ColLow,
                                  std::int32_t ColHigh, std::int32_t RowLow, std::int32_t RowHigh,
                                  std::int32_t& Col, std::int32_t& row, bool Exact) const {
    const String key = MatchCase ? FindStr : LowerCase(FindStr);
    if (!Exact && key.empty()) return false;
    ClampRange(ColLow, ColHigh, 0, FNCol, true);
    ClampRange(RowLow, RowHigh, 1, FNRow, false);
    String text;
    for (std::int32_t r = RowLow; r <= RowHigh; ++r) {
        const std::int32_t p = Physical(r);
        for (std::int32_t c = ColLow; c <= ColHigh; ++c) {
            const std::string_view cell = PhysicalText(c, p);
            bool match = false;
            if (Exact) {
                match = detail::CompareCellToKey(cell, !MatchCase, key) == 0;
            } else if (cell.size() >= key.size()) {
                detail::CellToText(cell, !MatchCase, text);
                match = text.find(key) != String::npos;
            }
            if (match) {
                Col = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

bool TStringArray::FindCellInSortedColumn(const String& FindStr, bool MatchCase, std::int32_t ColIx,
                                          std::int32_t RowLow, std::int32_t RowHigh,
                                          bool ColIsAscending, std::int32_t& row) const {
    const String key = MatchCase ? FindStr : LowerCase(FindStr);
    ClampRange(RowLow, RowHigh, 1, FNRow, false);
    ColIx = std::clamp(ColIx, 0, FNCol);
    // How the cell at shown row r orders against the key: negative when the cell is less.
    const auto order = [&](std::int32_t r) {
        return detail::CompareCellToKey(PhysicalText(ColIx, Physical(r)), !MatchCase, key);
    };
    std::int32_t low = RowLow;
    std::int32_t high = RowHigh + 1;
    bool found = false;
    while (!found && low < high) {
        row = low + (high - low) / 2;
        const int cellOrder = order(row);
        if (cellOrder == 0) {
            found = true;
        } else if ((cellOrder > 0) == ColIsAscending) {
            // Ascending and the key below the cell, or descending and the key not below it.
            high = row;
        } else {
            low = row + 1;
        }
    }
    if (!found) return false;
    while (row > 1 && order(row - 1) == 0)
        --row;
    return true;
}

}  // namespace qorkit
