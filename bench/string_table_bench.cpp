// TStringArray beside the standard containers in the same run, on 1,000,000 rows x 4 columns of
// random 8-letter texts (fixed seed):
// - filling the table (Resize, then SetString per cell) against filling a
//   std::vector<std::vector<std::string>>, column by column (the layout of the table's handle
//   grid) and row by row (a record per row, as a CSV reader would build it);
// - heap bytes per cell of each (counters; the allocator is asked through mallinfo2, mapped
//   blocks included, so large arrays count as well);
// - Sort on one column against std::sort of a row index by lower-cased keys, the keys
//   precomputed (16-bit as the table's keys, or 8-bit) or built inside the timing from the
//   texts (the sort reads its keys from the cells, so this is the like-for-like peer);
// - the same with only ten distinct keys, against std::sort on precomputed keys;
// - FindCellInSortedColumn per lookup on the sorted, committed column against std::lower_bound
//   on a sorted vector of the same lower-cased texts;
// - GarbageCollection after half of the cells were overwritten with longer texts, at 250,000,
//   500,000 and 1,000,000 rows, to show that it is linear in the number of cells.
// Run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true and compare CPU
// time medians.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "qorkit/dstruct/string_table.h"

namespace {

using qorkit::TStringArray;

constexpr std::int32_t kRows = 1'000'000;
constexpr std::int32_t kCols = 4;
constexpr std::size_t kLen = 8;

// kCols * kRows texts of kLen letters a-z/A-Z, cell (c, r) at ((r - 1) * kCols + c - 1) * kLen.
const std::string& Letters() {
    static const std::string data = [] {
        std::mt19937 rng(20240611);
        static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
        std::string s(static_cast<std::size_t>(kRows) * kCols * kLen, ' ');
        for (char& ch : s)
            ch = kAlphabet[rng() % 52];
        return s;
    }();
    return data;
}

std::string_view Cell(std::int32_t c, std::int32_t r) {
    const auto ix = (static_cast<std::size_t>(r - 1) * kCols + static_cast<std::size_t>(c - 1));
    return std::string_view(Letters()).substr(ix * kLen, kLen);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return out;
}

std::u16string Lower16(std::string_view s) {
    std::u16string out(s.size(), u'\0');
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto ch = static_cast<unsigned char>(s[i]);
        out[i] = static_cast<char16_t>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    }
    return out;
}

// Bytes the heap hands out at the moment, blocks served by mmap included.
std::int64_t HeapInUse() {
    const struct mallinfo2 mi = mallinfo2();
    return static_cast<std::int64_t>(mi.uordblks) + static_cast<std::int64_t>(mi.hblkhd);
}

std::unique_ptr<TStringArray> BuildTable(std::int32_t rows) {
    auto t = std::make_unique<TStringArray>();
    t->Resize(kCols, rows);
    for (std::int32_t r = 1; r <= rows; ++r)
        for (std::int32_t c = 1; c <= kCols; ++c)
            t->SetString(c, r, Cell(c, r));
    return t;
}

using Grid = std::vector<std::vector<std::string>>;

Grid BuildByColumn(std::int32_t rows) {
    Grid g(kCols, std::vector<std::string>(static_cast<std::size_t>(rows)));
    for (std::int32_t r = 1; r <= rows; ++r)
        for (std::int32_t c = 1; c <= kCols; ++c)
            g[static_cast<std::size_t>(c - 1)][static_cast<std::size_t>(r - 1)] = Cell(c, r);
    return g;
}

Grid BuildByRow(std::int32_t rows) {
    Grid g(static_cast<std::size_t>(rows), std::vector<std::string>(kCols));
    for (std::int32_t r = 1; r <= rows; ++r)
        for (std::int32_t c = 1; c <= kCols; ++c)
            g[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)] = Cell(c, r);
    return g;
}

// ---- 1. fill ------------------------------------------------------------------------------

template <typename Container, Container (*Build)(std::int32_t)>
void FillLoop(benchmark::State& state) {
    Letters();
    for (auto _ : state) {
        auto built = std::make_unique<Container>(Build(kRows));
        benchmark::DoNotOptimize(built.get());
        state.PauseTiming();
        built.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}

void BM_Fill_TStringArray(benchmark::State& state) {
    Letters();
    for (auto _ : state) {
        auto t = BuildTable(kRows);
        benchmark::DoNotOptimize(t.get());
        state.PauseTiming();
        t.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
void BM_Fill_VectorByColumn(benchmark::State& state) {
    FillLoop<Grid, BuildByColumn>(state);
}
void BM_Fill_VectorByRow(benchmark::State& state) {
    FillLoop<Grid, BuildByRow>(state);
}
BENCHMARK(BM_Fill_TStringArray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill_VectorByColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill_VectorByRow)->Unit(benchmark::kMillisecond);

// ---- 2. memory per cell -------------------------------------------------------------------

// Builds each container once per iteration and reports the heap bytes it holds per cell; the
// time is of no interest here.
void BM_MemoryPerCell(benchmark::State& state) {
    Letters();
    double table = 0, byColumn = 0, byRow = 0;
    constexpr double kCells = static_cast<double>(kRows) * kCols;
    for (auto _ : state) {
        std::int64_t before = HeapInUse();
        {
            const auto t = BuildTable(kRows);
            table = static_cast<double>(HeapInUse() - before) / kCells;
            state.counters["table_pools"] = t->NumBuffers();
        }
        before = HeapInUse();
        {
            const Grid g = BuildByColumn(kRows);
            byColumn = static_cast<double>(HeapInUse() - before) / kCells;
        }
        before = HeapInUse();
        {
            const Grid g = BuildByRow(kRows);
            byRow = static_cast<double>(HeapInUse() - before) / kCells;
        }
    }
    state.counters["table_bytes_per_cell"] = table;
    state.counters["vec_col_bytes_per_cell"] = byColumn;
    state.counters["vec_row_bytes_per_cell"] = byRow;
    state.counters["ratio_table_to_vec_col"] = table / byColumn;
    state.counters["ratio_table_to_vec_row"] = table / byRow;
}
BENCHMARK(BM_MemoryPerCell)->Iterations(1)->Unit(benchmark::kMillisecond);

// ---- 3. sort on one column ----------------------------------------------------------------

TStringArray& SortTable() {
    static const std::unique_ptr<TStringArray> t = BuildTable(kRows);
    return *t;
}

void BM_Sort_TStringArray(benchmark::State& state) {
    TStringArray& t = SortTable();
    for (auto _ : state) {
        t.Sort(1, 0, true);
        state.PauseTiming();
        benchmark::DoNotOptimize(t.GetSortOrder(1));
        t.UnSort();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// Index sort by keys that exist before the timing starts.
// `cell(r)` is the text of row r (column 1 unless given).
template <class Key, class MakeKey, class CellOf = std::string_view (*)(std::int32_t)>
void IndexSortOnPrecomputedKeys(
    benchmark::State& state, MakeKey makeKey,
    CellOf cell = [](std::int32_t r) { return Cell(1, r); }) {
    std::vector<Key> keys(static_cast<std::size_t>(kRows));
    for (std::int32_t r = 1; r <= kRows; ++r)
        keys[static_cast<std::size_t>(r - 1)] = makeKey(cell(r));
    std::vector<std::int32_t> ix(static_cast<std::size_t>(kRows));
    for (auto _ : state) {
        std::iota(ix.begin(), ix.end(), 0);
        std::sort(ix.begin(), ix.end(), [&](std::int32_t a, std::int32_t b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
        benchmark::DoNotOptimize(ix.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// Lower-cased 16-bit keys, the form of the table's keys.
void BM_Sort_StdSortPrecomputedKeys(benchmark::State& state) {
    IndexSortOnPrecomputedKeys<std::u16string>(state, [](const auto& s) { return Lower16(s); });
}

// The same with 8-bit keys: short enough for std::string's inline buffer, so the comparisons
// touch no other memory (the strongest peer; the order is the same for these ASCII texts).
void BM_Sort_StdSortPrecomputedKeys8(benchmark::State& state) {
    IndexSortOnPrecomputedKeys<std::string>(state, [](const auto& s) { return Lower(s); });
}

// The like-for-like peer: the keys are made from the stored texts inside the timing, as the
// table has to.
void BM_Sort_StdSortKeysInTiming(benchmark::State& state) {
    const Grid g = BuildByColumn(kRows);
    std::vector<std::u16string> keys(static_cast<std::size_t>(kRows));
    std::vector<std::int32_t> ix(static_cast<std::size_t>(kRows));
    for (auto _ : state) {
        for (std::size_t r = 0; r < keys.size(); ++r)
            keys[r] = Lower16(g[0][r]);
        std::iota(ix.begin(), ix.end(), 0);
        std::sort(ix.begin(), ix.end(), [&](std::int32_t a, std::int32_t b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
        benchmark::DoNotOptimize(ix.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
// Only ten distinct keys (the first ten texts of column 1, repeated): nearly every comparison
// is a tie of complete keys.
std::string_view TenKeyCell(std::int32_t r) {
    return Cell(1, (r - 1) % 10 + 1);
}

void BM_Sort_TStringArray_TenKeys(benchmark::State& state) {
    static const std::unique_ptr<TStringArray> t = [] {
        auto table = std::make_unique<TStringArray>();
        table->Resize(1, kRows);
        for (std::int32_t r = 1; r <= kRows; ++r)
            table->SetString(1, r, TenKeyCell(r));
        return table;
    }();
    for (auto _ : state) {
        t->Sort(1, 0, true);
        state.PauseTiming();
        t->UnSort();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_Sort_StdSortPrecomputedKeys_TenKeys(benchmark::State& state) {
    IndexSortOnPrecomputedKeys<std::u16string>(
        state, [](const auto& s) { return Lower16(s); }, TenKeyCell);
}

BENCHMARK(BM_Sort_TStringArray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_TStringArray_TenKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_StdSortPrecomputedKeys_TenKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_StdSortPrecomputedKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_StdSortPrecomputedKeys8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_StdSortKeysInTiming)->Unit(benchmark::kMillisecond);

// ---- 4. binary search in the sorted column ------------------------------------------------

constexpr std::size_t kQueries = 4096;

// Texts of column 1 picked at random (fixed seed), in their stored case.
const std::vector<std::string>& Queries() {
    static const std::vector<std::string> q = [] {
        std::mt19937 rng(77);
        std::vector<std::string> v;
        for (std::size_t i = 0; i < kQueries; ++i)
            v.emplace_back(Cell(1, static_cast<std::int32_t>(rng() % kRows) + 1));
        return v;
    }();
    return q;
}

void BM_FindSorted_TStringArray(benchmark::State& state) {
    static const std::unique_ptr<TStringArray> t = [] {
        auto table = BuildTable(kRows);
        table->Sort(1, 0, true);
        table->CommitSorting();
        return table;
    }();
    std::vector<std::u16string> queries;
    for (const std::string& s : Queries())
        queries.emplace_back(s.begin(), s.end());
    std::size_t i = 0;
    std::int64_t found = 0;
    for (auto _ : state) {
        std::int32_t row = 0;
        found += t->FindCellInSortedColumn(queries[i], false, 1, -1, -1, true, row);
        benchmark::DoNotOptimize(row);
        i = (i + 1) % kQueries;
    }
    state.counters["hit_rate"] =
        static_cast<double>(found) / static_cast<double>(state.iterations());
}

// The query is lower-cased inside the timing, as FindCellInSortedColumn does without MatchCase.
void BM_FindSorted_StdLowerBound(benchmark::State& state) {
    std::vector<std::string> sorted(static_cast<std::size_t>(kRows));
    for (std::int32_t r = 1; r <= kRows; ++r)
        sorted[static_cast<std::size_t>(r - 1)] = Lower(Cell(1, r));
    std::sort(sorted.begin(), sorted.end());
    std::size_t i = 0;
    std::int64_t found = 0;
    for (auto _ : state) {
        const std::string key = Lower(Queries()[i]);
        const auto it = std::lower_bound(sorted.begin(), sorted.end(), key);
        found += it != sorted.end() && *it == key;
        benchmark::DoNotOptimize(it);
        i = (i + 1) % kQueries;
    }
    state.counters["hit_rate"] =
        static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FindSorted_TStringArray);
BENCHMARK(BM_FindSorted_StdLowerBound);

// ---- 5. garbage collection ----------------------------------------------------------------

// A table of `rows` rows in which every other cell was overwritten with a 12-letter text, so
// that it moved to a new slot and left its old one as garbage.
const TStringArray& GarbageTable(std::int32_t rows) {
    static std::map<std::int32_t, std::unique_ptr<TStringArray>> tables;
    auto& t = tables[rows];
    if (!t) {
        t = BuildTable(rows);
        for (std::int32_t r = 1; r <= rows; ++r)
            for (std::int32_t c = 1 + (r % 2); c <= kCols; c += 2)
                t->SetString(c, r, std::string(Cell(c, r)) + "long");
    }
    return *t;
}

void BM_GarbageCollection(benchmark::State& state) {
    const auto rows = static_cast<std::int32_t>(state.range(0));
    const TStringArray& source = GarbageTable(rows);
    TStringArray t;
    for (auto _ : state) {
        state.PauseTiming();
        t.Assign(&source);
        state.ResumeTiming();
        t.GarbageCollection();
    }
    state.counters["pools"] = t.NumBuffers();
    // Seconds per cell visited (columns 0..4): equal at both sizes when the work is linear.
    state.counters["time_per_cell"] = benchmark::Counter(
        static_cast<double>(rows) * (kCols + 1),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GarbageCollection)
    ->Arg(250'000)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
