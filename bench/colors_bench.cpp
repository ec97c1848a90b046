// Colour conversions beside a straightforward double-precision reference written here: RGB to
// HSL to RGB round trips over 4096 random colours, and the nearest-colour search of a
// 1000-colour array (ColorToIndex) against a plain loop over the same colours. Compare the
// items/s (conversions or searches per second) of each pair from one run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "qorkit/Qor_qorcolors.h"

namespace {

using namespace qorkit;

const std::vector<TColor>& Samples() {
    static const std::vector<TColor> samples = [] {
        std::vector<TColor> v(4096);
        std::mt19937 gen(7);
        for (TColor& c : v)
            c = static_cast<TColor>(gen() & 0xFFFFFF);
        return v;
    }();
    return samples;
}

// The textbook conversions in double precision with std::lround.
void RefRGBtoHSL(int R, int G, int B, double& H, double& S, double& L) {
    const double r = R / 255.0, g = G / 255.0, b = B / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
    L = (mx + mn) / 2;
    if (d == 0) {
        H = S = 0;
        return;
    }
    S = d / (1 - std::fabs(2 * L - 1));
    if (mx == r)
        H = 60 * std::fmod((g - b) / d + 6, 6.0);
    else if (mx == g)
        H = 60 * ((b - r) / d + 2);
    else
        H = 60 * ((r - g) / d + 4);
}

void RefHSLtoRGB(double H, double S, double L, int& R, int& G, int& B) {
    const double c = (1 - std::fabs(2 * L - 1)) * S;
    const double hp = H / 60;
    const double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hp) % 6) {
        case 0:
            r = c, g = x;
            break;
        case 1:
            r = x, g = c;
            break;
        case 2:
            g = c, b = x;
            break;
        case 3:
            g = x, b = c;
            break;
        case 4:
            r = x, b = c;
            break;
        default:
            r = c, b = x;
            break;
    }
    const double m = L - c / 2;
    R = static_cast<int>(std::lround(255 * (r + m)));
    G = static_cast<int>(std::lround(255 * (g + m)));
    B = static_cast<int>(std::lround(255 * (b + m)));
}

void BM_HslRoundTrip_Qorkit(benchmark::State& state) {
    const auto& v = Samples();
    for (auto _ : state) {
        std::int32_t acc = 0;
        for (TColor c : v) {
            double h, s, l;
            ColorToHSL(c, h, s, l);
            acc += HSLtoColor(h, s, l);
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(v.size()));
}

void BM_HslRoundTrip_DoubleReference(benchmark::State& state) {
    const auto& v = Samples();
    for (auto _ : state) {
        std::int32_t acc = 0;
        for (TColor c : v) {
            double h, s, l;
            RefRGBtoHSL(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, h, s, l);
            int r, g, b;
            RefHSLtoRGB(h, s, l, r, g, b);
            acc += r | (g << 8) | (b << 16);
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(v.size()));
}

TColorArray& Palette() {
    static TColorArray* a = [] {
        auto* p = new TColorArray;  // 1000 rainbow colours
        return p;
    }();
    return *a;
}

void BM_ColorToIndex_Qorkit(benchmark::State& state) {
    const TColorArray& a = Palette();
    const auto& v = Samples();
    std::size_t k = 0;
    for (auto _ : state) {
        double d;
        benchmark::DoNotOptimize(a.ColorToIndex(v[k++ & 4095], d));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ColorToIndex_DoubleReference(benchmark::State& state) {
    std::vector<TColor> colors;
    for (int i = 1; i <= Palette().Size(); ++i)
        colors.push_back(Palette().GetColorElem(i));
    const auto& v = Samples();
    std::size_t k = 0;
    for (auto _ : state) {
        const TColor cl = v[k++ & 4095];
        double best = 1;
        int index = 1;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            const double dr = (cl & 0xFF) - (colors[i] & 0xFF);
            const double dg = ((cl >> 8) & 0xFF) - ((colors[i] >> 8) & 0xFF);
            const double db = ((cl >> 16) & 0xFF) - ((colors[i] >> 16) & 0xFF);
            const double d = std::sqrt((dr * dr + dg * dg + db * db) / 195075.0);
            if (d < best) best = d, index = static_cast<int>(i) + 1;
        }
        benchmark::DoNotOptimize(index);
        benchmark::DoNotOptimize(best);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_HslRoundTrip_Qorkit);
BENCHMARK(BM_HslRoundTrip_DoubleReference);
BENCHMARK(BM_ColorToIndex_Qorkit);
BENCHMARK(BM_ColorToIndex_DoubleReference);

}  // namespace

BENCHMARK_MAIN();
