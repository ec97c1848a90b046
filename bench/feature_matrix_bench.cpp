// The feature matrix and the associative array beside standard peers in the same run:
// - TFeatureMatrix::Load of a 100,000-object x 20-feature file (about 30 MB; integer, double,
//   string and tri-state features) against reading the same file line by line with
//   std::getline (MB/s of file read), and against getline that also keeps every value as a
//   16-bit string in a features x objects grid, as the matrix does;
// - TAssocArray::Resolve of every key, in a shuffled order, with 10,000 and 100,000 entries
//   (keys "Key<n>" in mixed case, IgnoreCase on) against std::unordered_map<std::u16string,
//   Variant> holding the lower-cased keys (find plus a copy of the value);
// - Add of that many entries into an empty array against emplace into the map (amortised
//   cost per entry, search included).
// Run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true and compare CPU
// time medians.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "qorkit/dstruct/assoc_array.h"
#include "qorkit/dstruct/feature_matrix.h"
#include "qorkit/rtl/sysutils.h"

namespace {

using namespace qorkit;

constexpr std::int32_t kObjects = 100'000;
constexpr std::int32_t kFeatures = 20;

// The benchmark file, written once and removed at exit.
const std::string& MatrixFile() {
    static const std::string* path = [] {
        auto* p = new std::string((std::filesystem::temp_directory_path() /
                                   ("qorkit-bench-" + std::to_string(::getpid()) + ".fm"))
                                      .string());
        TFeatureMatrix m;
        m.Resize(kFeatures, kObjects);
        const TFeatKind kinds[] = {fkInteger, fkDouble, fkString, fkTriState};
        for (std::int32_t f = 1; f <= kFeatures; ++f)
            m.SetFeatType(f, f, kinds[(f - 1) % 4]);
        m.GenerateFeatNames(u"feature <%D-2%>", 0, 0, 1, 1);
        std::mt19937 rng(42);
        for (std::int32_t o = 1; o <= kObjects; ++o)
            for (std::int32_t f = 1; f <= kFeatures; ++f) {
                switch (m.FeatProps(f)->FeatKind()) {
                    case fkInteger:
                        m.SetFeatValint(f, o, static_cast<std::int64_t>(rng() % 1000000));
                        break;
                    case fkDouble:
                        m.SetFeatValDouble(f, o, (rng() % 1000000) / 1000.0);
                        break;
                    case fkString:
                        m.SetFeatValStr(f, o, u"text " + IntToStr(rng() % 100000));
                        break;
                    default:
                        m.SetFeatValTriState(f, o, rng() % 2 ? tsTrue : tsFalse);
                }
            }
        m.Save(FromUtf8(*p));
        std::atexit([] { std::filesystem::remove(MatrixFile()); });
        return p;
    }();
    return *path;
}

void BM_FeatureMatrix_Load(benchmark::State& state) {
    const std::string& path = MatrixFile();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    const String name = FromUtf8(path);
    for (auto _ : state) {
        TFeatureMatrix m;
        if (m.Load(name) != 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(m.NObjects());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_FeatureMatrix_Load)->Unit(benchmark::kMillisecond);

void BM_Getline_Peer(benchmark::State& state) {
    const std::string& path = MatrixFile();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::size_t lines = 0;
        while (std::getline(in, line))
            lines += !line.empty();
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_Getline_Peer)->Unit(benchmark::kMillisecond);

// The like-for-like peer: std::getline, then what the matrix keeps of each value line, a
// 16-bit string in a features x objects grid (the counts taken from the file's own lines).
void BM_GetlineStore_Peer(benchmark::State& state) {
    const std::string& path = MatrixFile();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::vector<std::vector<std::u16string>> values;
        bool inValues = false;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("#featvals", 0) == 0) {
                values.assign(kFeatures, std::vector<std::u16string>(kObjects));
                inValues = true;
                continue;
            }
            if (!inValues || line.empty() || line[0] == '#') continue;
            char* end = nullptr;
            const long f = std::strtol(line.c_str(), &end, 10);
            const long o = std::strtol(end, &end, 10);
            if (f < 1 || f > kFeatures || o < 1 || o > kObjects) continue;
            while (*end == ' ')
                ++end;
            const std::string_view v(end);
            values[static_cast<std::size_t>(f - 1)][static_cast<std::size_t>(o - 1)].assign(
                v.begin(), v.end());
        }
        benchmark::DoNotOptimize(values.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_GetlineStore_Peer)->Unit(benchmark::kMillisecond);

String Key(std::int32_t i) {
    return (i % 2 ? u"Key" : u"kEY") + IntToStr(i);
}

std::vector<String> ShuffledKeys(std::int32_t n) {
    std::vector<String> keys;
    for (std::int32_t i = 0; i < n; ++i)
        keys.push_back(Key(i));
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    return keys;
}

void BM_AssocArray_Resolve(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    TAssocArray a;
    for (std::int32_t i = 0; i < n; ++i)
        a.Add(Key(i), static_cast<double>(i));
    const std::vector<String> keys = ShuffledKeys(n);
    for (auto _ : state)
        for (const String& k : keys)
            benchmark::DoNotOptimize(a.Resolve(k));
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AssocArray_Resolve)->Arg(10'000)->Arg(100'000);

void BM_UnorderedMap_Resolve_Peer(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    std::unordered_map<std::u16string, Variant> map;
    for (std::int32_t i = 0; i < n; ++i)
        map.emplace(LowerCase(Key(i)), static_cast<double>(i));
    // The peer is handed keys already in its stored form: the array folds case itself.
    std::vector<String> keys = ShuffledKeys(n);
    for (String& k : keys)
        k = LowerCase(k);
    for (auto _ : state)
        for (const String& k : keys) {
            const auto it = map.find(k);
            benchmark::DoNotOptimize(it == map.end() ? Variant::Null() : it->second);
        }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_UnorderedMap_Resolve_Peer)->Arg(10'000)->Arg(100'000);

void BM_AssocArray_Add(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const std::vector<String> keys = ShuffledKeys(n);
    for (auto _ : state) {
        TAssocArray a;
        for (const String& k : keys)
            a.Add(k, 1.0);
        benchmark::DoNotOptimize(a.NumEntries());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AssocArray_Add)->Arg(10'000)->Arg(100'000);

void BM_UnorderedMap_Add_Peer(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    std::vector<String> keys = ShuffledKeys(n);
    for (String& k : keys)
        k = LowerCase(k);
    for (auto _ : state) {
        std::unordered_map<std::u16string, Variant> map;
        for (const String& k : keys)
            map.insert_or_assign(k, 1.0);
        benchmark::DoNotOptimize(map.size());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_UnorderedMap_Add_Peer)->Arg(10'000)->Arg(100'000);

}  // namespace

BENCHMARK_MAIN();
