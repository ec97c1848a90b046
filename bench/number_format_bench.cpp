// Number formatting beside snprintf("%12.4f") and std::to_chars in the same run: strff(x, 12,
// 4), FormatData(x, 12, 4) and AutoFormatData(x, 6) over one million random doubles (magnitudes
// 1e-6 to 1e9, both signs). Counters report ns per value.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "qorkit/strings/number_format.h"

namespace {

constexpr std::size_t kValues = 1000000;

const std::vector<double>& Values() {
    static const std::vector<double> values = [] {
        std::mt19937_64 rng(7);
        std::uniform_real_distribution<double> mant(1.0, 10.0);
        std::uniform_int_distribution<int> exp(-6, 8);
        std::vector<double> v(kValues);
        for (double& x : v)
            x = (rng() % 2 ? -1 : 1) * mant(rng) * std::pow(10.0, exp(rng));
        return v;
    }();
    return values;
}

template <typename F>
void Run(benchmark::State& state, F f) {
    const std::vector<double>& v = Values();
    std::size_t total = 0;
    for (auto _ : state) {
        for (double x : v)
            total += f(x);
        benchmark::DoNotOptimize(total);
    }
    state.counters["ns/value"] =
        benchmark::Counter(static_cast<double>(state.iterations() * v.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_strff_12_4(benchmark::State& state) {
    Run(state, [](double x) { return qorkit::strff(x, 12, 4).size(); });
}
void BM_FormatData_12_4(benchmark::State& state) {
    Run(state, [](double x) { return qorkit::FormatData(x, 12, 4).size(); });
}
void BM_AutoFormatData_6(benchmark::State& state) {
    Run(state, [](double x) { return qorkit::AutoFormatData(x, 6).size(); });
}
void BM_snprintf_12_4f(benchmark::State& state) {
    Run(state, [](double x) {
        char buf[64];
        return static_cast<std::size_t>(std::snprintf(buf, sizeof buf, "%12.4f", x));
    });
}
void BM_to_chars_fixed_4(benchmark::State& state) {
    Run(state, [](double x) {
        char buf[400];
        const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 4);
        return static_cast<std::size_t>(r.ptr - buf);
    });
}

BENCHMARK(BM_strff_12_4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatData_12_4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoFormatData_6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_snprintf_12_4f)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_to_chars_fixed_4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
