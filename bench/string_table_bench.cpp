// TStringArray beside the standard containers in the same run, on 1,000,000 rows x 4 columns of
// random 8-letter texts (fixed seed):
// - filling the table (Resize, then SetString per cell) against filling a
//   std::vector<std::vector<std::string>>, column by column (the layout of the table's handle
//   grid) and row by row (a record per row, as a CSV reader would build it);
// - heap bytes per cell of each (counters; the allocator is asked through mallinfo2, mapped
//   blocks included, so large arrays count as well);
// - Sort of a one-column table against std::sort of a row index by the folded (lower-cased)
//   16-bit keys made before the timing, for random 8-letter keys, keys after a shared stem of
//   8, 16 or 32 letters, ten distinct keys and presorted keys, at the sizes given by
//   --rows=N[,M] (default 1,000,000 and 2,000,000), also beside 8-bit precomputed keys, and
//   random keys beside 16-bit keys made inside the timing;
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
#include <type_traits>
#include <utility>
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

// The key shapes the sort is measured on, each at every size given by --rows.
enum class KeyShape { Random, Prefix8, Prefix16, Prefix32, TenKeys, Presorted };

constexpr std::pair<KeyShape, const char*> kShapes[] = {
    {KeyShape::Random, "Random"},           {KeyShape::Prefix8, "SharedPrefix8"},
    {KeyShape::Prefix16, "SharedPrefix16"}, {KeyShape::Prefix32, "SharedPrefix32"},
    {KeyShape::TenKeys, "TenKeys"},         {KeyShape::Presorted, "Presorted"}};

// `rows` texts of one shape (fixed seed): 8 random letters of either case, after a shared
// stem of 8, 16 or 32 letters whose case varies by row (so only the folded stems are equal),
// or one of ten such texts, or all of them sorted by their folded form already.
std::vector<std::string> ShapeTexts(KeyShape shape, std::int32_t rows) {
    std::mt19937 rng(20240611 + static_cast<unsigned>(shape));
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const auto letters = [&](std::size_t n) {
        std::string s(n, ' ');
        for (char& ch : s)
            ch = kAlphabet[rng() % 52];
        return s;
    };
    const std::size_t stem = shape == KeyShape::Prefix8    ? 8
                             : shape == KeyShape::Prefix16 ? 16
                             : shape == KeyShape::Prefix32 ? 32
                                                           : 0;
    const std::string stemText = "QorkitSharedStemOfThirtyTwoChars";
    std::vector<std::string> texts(static_cast<std::size_t>(rows));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string s = stemText.substr(0, stem);
        for (char& ch : s)
            if (rng() % 2) ch = static_cast<char>(ch ^ 0x20);
        texts[i] = s + letters(kLen);
    }
    if (shape == KeyShape::TenKeys)
        for (std::size_t i = 10; i < texts.size(); ++i)
            texts[i] = texts[i % 10];
    if (shape == KeyShape::Presorted)
        std::stable_sort(
            texts.begin(), texts.end(),
            [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    return texts;
}

// The texts of the shape measured last, kept while its benchmarks and repetitions run.
const std::vector<std::string>& CachedTexts(KeyShape shape, std::int32_t rows) {
    static std::pair<KeyShape, std::int32_t> key{KeyShape::Random, 0};
    static std::vector<std::string> texts;
    if (key != std::pair{shape, rows}) {
        texts = ShapeTexts(shape, rows);
        key = {shape, rows};
    }
    return texts;
}

// TStringArray::Sort of a one-column table holding the texts (built outside the timing).
void SortTable(benchmark::State& state, KeyShape shape, std::int32_t rows) {
    const std::vector<std::string>& texts = CachedTexts(shape, rows);
    TStringArray t;
    t.Resize(1, rows);
    for (std::int32_t r = 1; r <= rows; ++r)
        t.SetString(1, r, texts[static_cast<std::size_t>(r - 1)]);
    for (auto _ : state) {
        t.Sort(1, 0, true);
        state.PauseTiming();
        benchmark::DoNotOptimize(t.GetSortOrder(1));
        t.UnSort();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

// std::sort of a row index by the folded keys, made before the timing starts: 16-bit as the
// table's keys (the goal's peer), or 8-bit (short keys then fit std::string's inline buffer,
// so their comparisons touch no other memory).
template <class Key>
void StdSortFoldedKeys(benchmark::State& state, KeyShape shape, std::int32_t rows) {
    const std::vector<std::string>& texts = CachedTexts(shape, rows);
    std::vector<Key> keys(texts.size());
    for (std::size_t r = 0; r < texts.size(); ++r) {
        if constexpr (std::is_same_v<Key, std::string>)
            keys[r] = Lower(texts[r]);
        else
            keys[r] = Lower16(texts[r]);
    }
    std::vector<std::int32_t> ix(texts.size());
    for (auto _ : state) {
        std::iota(ix.begin(), ix.end(), 0);
        std::sort(ix.begin(), ix.end(), [&](std::int32_t a, std::int32_t b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
        benchmark::DoNotOptimize(ix.data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

// The same with the 16-bit keys made from the texts inside the timing, as the table has to.
void StdSortKeysInTiming(benchmark::State& state, KeyShape shape, std::int32_t rows) {
    const std::vector<std::string>& texts = CachedTexts(shape, rows);
    std::vector<std::u16string> keys(texts.size());
    std::vector<std::int32_t> ix(texts.size());
    for (auto _ : state) {
        for (std::size_t r = 0; r < keys.size(); ++r)
            keys[r] = Lower16(texts[r]);
        std::iota(ix.begin(), ix.end(), 0);
        std::sort(ix.begin(), ix.end(), [&](std::int32_t a, std::int32_t b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
        benchmark::DoNotOptimize(ix.data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

// Registers, for every size and shape, the table's sort beside std::sort on the folded 16-bit
// and 8-bit keys (and, for random keys, the keys made inside the timing). One timed sort per
// iteration: run with repetitions and compare medians.
void RegisterSorts(const std::vector<std::int32_t>& sizes) {
    for (const std::int32_t rows : sizes)
        for (const auto& [shape, name] : kShapes) {
            const std::string suffix = std::string(name) + "/" + std::to_string(rows);
            const auto add = [&](const std::string& what, auto fn) {
                benchmark::RegisterBenchmark(("BM_Sort_" + what + "_" + suffix).c_str(),
                                             [=](benchmark::State& s) { fn(s, shape, rows); })
                    ->Iterations(1)
                    ->Unit(benchmark::kMillisecond);
            };
            add("TStringArray", SortTable);
            add("StdSortFoldedKeys16", StdSortFoldedKeys<std::u16string>);
            add("StdSortFoldedKeys8", StdSortFoldedKeys<std::string>);
            if (shape == KeyShape::Random) add("StdSortKeysInTiming", StdSortKeysInTiming);
        }
}

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

// --rows=N[,M...] sets the table sizes of the sort benchmarks (default 1000000,2000000); the
// other benchmarks use 1,000,000 rows.
int main(int argc, char** argv) {
    std::vector<std::int32_t> sizes{1'000'000, 2'000'000};
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--rows=")) {
            sizes.clear();
            const std::string list(arg.substr(7));
            for (std::size_t at = 0; at <= list.size();) {
                const std::size_t comma = std::min(list.find(',', at), list.size());
                sizes.push_back(static_cast<std::int32_t>(std::stol(list.substr(at, comma - at))));
                at = comma + 1;
            }
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    RegisterSorts(sizes);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
