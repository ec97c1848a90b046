// Raster graphics on a 1000 x 1000 bitmap: marks per second (geometric and character marks)
// beside a plain loop that writes a 7 x 7 block per mark, and filled rectangles per second
// beside a plain loop writing the same pixels through ScanLine. Compare the items/s of each
// pair from one run.
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "qorkit/Qor_qorbase.h"

namespace {

using namespace qorkit;

constexpr std::int32_t kSide = 1000;

std::vector<TPoint> Positions() {
    std::vector<TPoint> p(4096);
    std::mt19937 gen(7);
    std::uniform_int_distribution<std::int32_t> d(10, kSide - 11);
    for (TPoint& q : p)
        q = {d(gen), d(gen)};
    return p;
}

// Argument 0: the 52 geometric marks in turn; 1: the character marks "A" to "Z".
void BM_Marks(benchmark::State& state) {
    const bool characters = state.range(0) == 1;
    TBitmap b(kSide, kSide);
    const std::vector<TPoint> pos = Positions();
    std::size_t k = 0;
    for (auto _ : state) {
        const TPoint p = pos[k % pos.size()];
        const auto code = static_cast<std::uint8_t>(characters ? 65 + k % 26 : k % 52);
        DrawMarkOnCanvas(b.Canvas(), code, p.X, p.Y);
        ++k;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_Marks)->Arg(0)->Arg(1);

// The peer of the marks: a 7 x 7 block written pixel by pixel at the same positions.
void BM_PlainMarkBlocks(benchmark::State& state) {
    TBitmap b(kSide, kSide);
    const std::vector<TPoint> pos = Positions();
    std::size_t k = 0;
    for (auto _ : state) {
        const TPoint p = pos[k % pos.size()];
        for (std::int32_t y = p.Y - 3; y <= p.Y + 3; ++y) {
            const std::span<std::uint32_t> row = b.ScanLine(y);
            for (std::int32_t x = p.X - 3; x <= p.X + 3; ++x)
                row[static_cast<std::size_t>(x)] = static_cast<std::uint32_t>(k);
        }
        benchmark::DoNotOptimize(b.ScanLine(p.Y).data());
        ++k;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_PlainMarkBlocks);

void BM_FillRectangles(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    TBitmap b(kSide, kSide);
    TCanvas& c = b.Canvas();
    std::uint32_t colour = 0;
    for (auto _ : state) {
        c.Brush().SetColor(static_cast<TColor>(++colour & 0xFFFFFF));
        c.FillRect({0, 0, n, n});
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * n * n * 4);
}
BENCHMARK(BM_FillRectangles)->Arg(10)->Arg(100)->Arg(1000);

// The peer: the same pixels written by a plain loop over the scan lines.
void BM_PlainLoopRectangles(benchmark::State& state) {
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    TBitmap b(kSide, kSide);
    std::uint32_t colour = 0;
    for (auto _ : state) {
        ++colour;
        for (std::int32_t y = 0; y < n; ++y) {
            std::uint32_t* row = b.ScanLine(y).data();
            for (std::int32_t x = 0; x < n; ++x)
                row[x] = colour & 0xFFFFFF;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * n * n * 4);
}
BENCHMARK(BM_PlainLoopRectangles)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
