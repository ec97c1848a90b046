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
///
/// Two shortcuts leave the outcome exactly as the passes would:
/// - `InOrder`: the rows are known to be in order already, so no pass can exchange anything
///   and the passes are only counted.
/// - `Settle()` is asked once, when the gap first reaches 1. From there on every pass swaps
///   neighbours that are strictly out of order, so the passes end in the one order in which
///   equal rows keep their present sequence: a stable sort gives it directly. `Settle` returns
///   true when it has done so (the remaining passes and their `Pass` calls are then skipped),
///   false to run the passes.
template <class CompareFn, class ExchangeFn, class PassFn, class SettleFn>
void CombSort(std::int64_t n, bool Ascending, CompareFn&& Compare, ExchangeFn&& Exchange,
              PassFn&& Pass, bool InOrder, SettleFn&& Settle) {
    std::int64_t gap = n;
    std::int64_t comparisons = 0;
    bool exchanged = false;
    bool settleAsked = false;
    do {
        gap = NextGap(gap);
        exchanged = false;
        if (InOrder) {
            comparisons += n - gap;
        } else {
            if (gap == 1 && !settleAsked) {
                settleAsked = true;
                if (Settle()) return;
            }
            for (std::int64_t i = 0; i + gap < n; ++i) {
                const int order = Compare(i, i + gap);
                if (Ascending ? order > 0 : order < 0) {
                    Exchange(i, i + gap);
                    exchanged = true;
                }
                ++comparisons;
            }
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
        [&](std::int64_t done) { ReportProgress(done, Work); }, false, [] { return false; });
}

namespace {

/// What the sort knows of one key column: every key shares its first `From` folded
/// characters, so a row's key is summed up by its window from there and its length.
struct TKeyColumn {
    std::int32_t Col = 0;
    std::size_t From = 0;
    /// Keys of at most this many characters are complete in their window.
    std::size_t Complete() const noexcept { return From + 16; }
};

/// One key of a row: the folded window and the text's length (at most 255).
struct TRowKey {
    detail::TFoldedWindow Window;
    std::uint8_t Len = 0;
};

/// One row of the sort: its keys and its physical row, laid out together so that a comparison
/// reads one contiguous entry per side and touches the pools only for ties of keys longer than
/// their windows.
template <bool TwoKeys>
struct TSortEntry;
template <>
struct TSortEntry<false> {
    TRowKey Key;
    std::int32_t Row;
};
template <>
struct TSortEntry<true> {
    TRowKey Key;
    TRowKey Key2;
    std::int32_t Row;
};

/// The comb sort of `SortOnPrefixes` for one entry layout. `TextOf(c, p)` is the 8-bit text of
/// column c in physical row p; `Pass(k)` reports progress and runs only when `Reporting`.
template <bool TwoKeys, class TextFn, class PassFn>
void SortEntries(std::vector<std::int32_t>& SortIx, std::int32_t n, const TKeyColumn& Primary,
                 const TKeyColumn& Secondary, bool Ascending, TextFn&& TextOf, bool Reporting,
                 PassFn&& Pass) {
    using TEntry = TSortEntry<TwoKeys>;
    const auto compareKey = [&](const TKeyColumn& k, const TRowKey& x, const TRowKey& y,
                                std::int32_t px, std::int32_t py) {
        if (x.Window.Hi != y.Window.Hi) return x.Window.Hi < y.Window.Hi ? -1 : 1;
        if (x.Window.Lo != y.Window.Lo) return x.Window.Lo < y.Window.Lo ? -1 : 1;
        // Equal windows: a key that fits its window is complete, so the shorter key is the
        // smaller (equal lengths: equal keys) and the pools need not be read.
        if (x.Len <= k.Complete() || y.Len <= k.Complete())
            return x.Len == y.Len ? 0 : (x.Len < y.Len ? -1 : 1);
        return detail::CompareFoldedFrom(TextOf(k.Col, px), TextOf(k.Col, py), k.Complete());
    };
    const auto compare = [&](const TEntry& x, const TEntry& y) {
        const int order = compareKey(Primary, x.Key, y.Key, x.Row, y.Row);
        if constexpr (TwoKeys) {
            if (order == 0) return compareKey(Secondary, x.Key2, y.Key2, x.Row, y.Row);
        }
        return order;
    };
    const auto readKey = [&](const TKeyColumn& k, std::int32_t p) {
        const std::string_view text = TextOf(k.Col, p);
        return TRowKey{detail::FoldedWindow(text, k.From), static_cast<std::uint8_t>(text.size())};
    };

    std::vector<TEntry> entries(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        TEntry& e = entries[i];
        e.Row = SortIx[i];
        e.Key = readKey(Primary, e.Row);
        if constexpr (TwoKeys) e.Key2 = readKey(Secondary, e.Row);
    }
    // "Strictly before" in the target order: the passes exchange exactly such pairs.
    const auto before = [&](const TEntry& x, const TEntry& y) {
        const int order = compare(x, y);
        return Ascending ? order < 0 : order > 0;
    };
    bool inOrder = true;
    for (std::int32_t i = 1; i < n && inOrder; ++i)
        inOrder = !before(entries[i], entries[i - 1]);

    const auto writeBack = [&] {
        for (std::int32_t i = 0; i < n; ++i)
            SortIx[i] = entries[i].Row;
    };
    // The stable sort that ends the gap-1 passes. Insertion first: after the wider gaps few
    // rows are out of place; should that not be so, a merge sort takes over from the order
    // reached (which still keeps equal rows in their sequence).
    const auto settle = [&] {
        if (Reporting) return false;  // the progress handler sees every pass
        const std::size_t budget = 8 * static_cast<std::size_t>(n);
        std::size_t moves = 0;
        for (std::size_t i = 1; i < entries.size(); ++i) {
            if (!before(entries[i], entries[i - 1])) continue;
            const TEntry e = entries[i];
            std::size_t j = i;
            do {
                entries[j] = entries[j - 1];
                --j;
                ++moves;
            } while (j > 0 && before(e, entries[j - 1]) && moves <= budget);
            entries[j] = e;
            if (moves > budget) {
                std::stable_sort(entries.begin(), entries.end(), before);
                break;
            }
        }
        return true;
    };
    try {
        CombSort(
            n, Ascending,
            [&](std::int64_t i, std::int64_t j) { return compare(entries[i], entries[j]); },
            [&](std::int64_t i, std::int64_t j) { std::swap(entries[i], entries[j]); },
            [&](std::int64_t done) {
                if (Reporting) {
                    // The handler may look at the table: show it the order so far.
                    writeBack();
                    Pass(done);
                }
            },
            inOrder, settle);
    } catch (...) {
        writeBack();
        throw;
    }
    writeBack();
}

}  // namespace

void TStringArray::SortOnPrefixes(std::int32_t Col, std::int32_t ColSec, bool Ascending,
                                  std::int64_t Work) {
    // Without a handler a key depends only on its physical row, so each row's keys are read
    // once. The decisions, and so the order, are exactly those of reading the keys for every
    // comparison. A column out of range has empty keys.
    const auto textOf = [&](std::int32_t c, std::int32_t p) {
        return c >= 0 && c <= FNCol ? PhysicalText(c, p) : std::string_view();
    };
    // The folded prefix that all keys of a column share adds nothing to any comparison, so the
    // windows start after it.
    const auto keyColumn = [&](std::int32_t c) {
        TKeyColumn k{c, 0};
        if (c < 0 || c > FNCol) return k;
        const std::string_view first = textOf(c, FSortIx[0]);
        k.From = first.size();
        for (std::int32_t i = 1; i < FNRow && k.From > 0; ++i)
            k.From = detail::FoldedCommonLength(first, textOf(c, FSortIx[i]), k.From);
        return k;
    };
    const TKeyColumn primary = keyColumn(Col);
    const bool reporting = static_cast<bool>(FOnPercentDone);
    const auto pass = [&](std::int64_t done) { ReportProgress(done, Work); };
    // A second column out of range ties every row, as no second column does.
    if (ColSec >= 1 && ColSec <= FNCol)
        SortEntries<true>(FSortIx, FNRow, primary, keyColumn(ColSec), Ascending, textOf, reporting,
                          pass);
    else
        SortEntries<false>(FSortIx, FNRow, primary, TKeyColumn{}, Ascending, textOf, reporting,
                           pass);
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
