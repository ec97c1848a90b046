// Bit fields and combinatorial stepping beside their usual peers, in one run:
// - CountTrueBits, CombineWith (xor) and FirstTrueBit (only the last bit set) on a field of
//   10 million bits, beside the same work on std::vector<bool>, std::bitset and a plain loop
//   over 64-bit words;
// - NextPermutation steps (n = 10) beside std::next_permutation, and NextCombination steps
//   (5 of 30) beside a plain lexicographic combination loop over an int array and the
//   selection-mask idiom with std::prev_permutation.
#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <memory>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "qorkit/Qor_dstruct.h"

namespace {

using namespace qorkit;

constexpr std::int32_t kBits = 10'000'000;  // Size; the field holds kBits + 1 bits
constexpr std::size_t kAll = static_cast<std::size_t>(kBits) + 1;
using BitSet = std::bitset<kAll>;

// The same random half-full bit pattern in every representation.
struct Fields {
    TBitFld field, other;
    std::vector<bool> vec, vecOther;
    std::unique_ptr<BitSet> set = std::make_unique<BitSet>(), setOther = std::make_unique<BitSet>();
    std::vector<std::uint64_t> words, wordsOther;

    Fields() {
        field.SetSize(kBits);
        other.SetSize(kBits);
        vec.assign(kAll, false);
        vecOther.assign(kAll, false);
        words.assign((kAll + 63) / 64, 0);
        wordsOther.assign(words.size(), 0);
        std::mt19937 gen(1);
        for (std::size_t i = 0; i < kAll; ++i) {
            const bool a = gen() & 1, b = gen() & 1;
            field.SetBit(static_cast<std::int32_t>(i), a);
            other.SetBit(static_cast<std::int32_t>(i), b);
            vec[i] = a, vecOther[i] = b;
            set->set(i, a), setOther->set(i, b);
            words[i / 64] |= std::uint64_t{a} << (i % 64);
            wordsOther[i / 64] |= std::uint64_t{b} << (i % 64);
        }
    }
};

Fields& Data() {
    static Fields f;
    return f;
}

void Bytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (kBits / 8));
}

void BM_Count_TBitFld(benchmark::State& state) {
    auto& d = Data();
    state.SetLabel(BitCountImplementation());
    for (auto _ : state)
        benchmark::DoNotOptimize(d.field.CountTrueBits());
    Bytes(state);
}
void BM_Count_VectorBool(benchmark::State& state) {
    auto& d = Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(std::count(d.vec.begin(), d.vec.end(), true));
    Bytes(state);
}
void BM_Count_Bitset(benchmark::State& state) {
    auto& d = Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(d.set->count());
    Bytes(state);
}
void BM_Count_WordLoop(benchmark::State& state) {
    auto& d = Data();
    for (auto _ : state) {
        std::int64_t n = 0;
        for (std::uint64_t w : d.words)
            n += std::popcount(w);
        benchmark::DoNotOptimize(n);
    }
    Bytes(state);
}

void BM_Xor_TBitFld(benchmark::State& state) {
    auto& d = Data();
    for (auto _ : state) {
        d.field.CombineWith(&d.other, loXOR);
        benchmark::ClobberMemory();
    }
    Bytes(state);
}
void BM_Xor_VectorBool(benchmark::State& state) {
    auto& d = Data();
    for (auto _ : state) {
        for (std::size_t i = 0; i < kAll; ++i)
            d.vec[i] = d.vec[i] != d.vecOther[i];
        benchmark::ClobberMemory();
    }
    Bytes(state);
}
void BM_Xor_Bitset(benchmark::State& state) {
    auto& d = Data();
    for (auto _ : state) {
        *d.set ^= *d.setOther;
        benchmark::ClobberMemory();
    }
    Bytes(state);
}
void BM_Xor_WordLoop(benchmark::State& state) {
    auto& d = Data();
    for (auto _ : state) {
        for (std::size_t i = 0; i < d.words.size(); ++i)
            d.words[i] ^= d.wordsOther[i];
        benchmark::ClobberMemory();
    }
    Bytes(state);
}

// Only the last bit set: every method scans the whole field.
struct LastBitOnly {
    TBitFld field;
    std::vector<bool> vec = std::vector<bool>(kAll, false);
    std::unique_ptr<BitSet> set = std::make_unique<BitSet>();
    std::vector<std::uint64_t> words = std::vector<std::uint64_t>((kAll + 63) / 64, 0);
    LastBitOnly() {
        field.SetSize(kBits);
        field.SetBit(kBits, true);
        vec.back() = true;
        set->set(kAll - 1);
        words.back() |= std::uint64_t{1} << ((kAll - 1) % 64);
    }
};
LastBitOnly& Sparse() {
    static LastBitOnly s;
    return s;
}

void BM_First_TBitFld(benchmark::State& state) {
    auto& d = Sparse();
    for (auto _ : state)
        benchmark::DoNotOptimize(d.field.FirstTrueBit());
    Bytes(state);
}
void BM_First_VectorBool(benchmark::State& state) {
    auto& d = Sparse();
    for (auto _ : state)
        benchmark::DoNotOptimize(std::find(d.vec.begin(), d.vec.end(), true) - d.vec.begin());
    Bytes(state);
}
void BM_First_Bitset(benchmark::State& state) {
    auto& d = Sparse();
    for (auto _ : state)
        benchmark::DoNotOptimize(d.set->_Find_first());  // the library's own scan
    Bytes(state);
}
void BM_First_WordLoop(benchmark::State& state) {
    auto& d = Sparse();
    for (auto _ : state) {
        std::int64_t at = -1;
        for (std::size_t i = 0; i < d.words.size(); ++i)
            if (d.words[i] != 0) {
                at = static_cast<std::int64_t>(64 * i) + std::countr_zero(d.words[i]);
                break;
            }
        benchmark::DoNotOptimize(at);
    }
    Bytes(state);
}

constexpr int kPermN = 10;

void BM_Permutation_Qorkit(benchmark::State& state) {
    TCombination start{};
    start[0] = kPermN;
    for (int i = 1; i <= kPermN; ++i)
        start[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    TCombination p = start;
    for (auto _ : state) {
        if (!NextPermutation(p)) p = start;
        benchmark::DoNotOptimize(p.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
void BM_Permutation_StdNext(benchmark::State& state) {
    std::array<std::uint8_t, kPermN> p{};
    for (int i = 0; i < kPermN; ++i)
        p[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
    for (auto _ : state) {
        std::next_permutation(p.begin(), p.end());  // wraps to the first by itself
        benchmark::DoNotOptimize(p.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

constexpr int kK = 5, kM = 30;

// The counts as the library sees them: known only at run time.
int Opaque(int v) {
    benchmark::DoNotOptimize(v);
    return v;
}

void BM_Combination_Qorkit(benchmark::State& state) {
    TCombination start{};
    start[0] = kK;
    for (int i = 1; i <= kK; ++i)
        start[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    TCombination c = start;
    for (auto _ : state) {
        if (!NextCombination(c, kM)) c = start;
        benchmark::DoNotOptimize(c.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
void BM_Combination_PlainLoop(benchmark::State& state) {
    const int k = Opaque(kK), m = Opaque(kM);
    std::array<int, 256> c{};
    const auto reset = [&] {
        for (int i = 0; i < k; ++i)
            c[static_cast<std::size_t>(i)] = i + 1;
    };
    reset();
    for (auto _ : state) {
        int p = k - 1;
        while (p >= 0 && c[static_cast<std::size_t>(p)] == m - k + p + 1)
            --p;
        if (p < 0) {
            reset();
        } else {
            int v = c[static_cast<std::size_t>(p)];
            for (int i = p; i < k; ++i)
                c[static_cast<std::size_t>(i)] = ++v;
        }
        benchmark::DoNotOptimize(c.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
void BM_Combination_MaskPrevPermutation(benchmark::State& state) {
    std::array<bool, 256> mask{};
    std::fill(mask.begin(), mask.begin() + Opaque(kK), true);
    const auto end = mask.begin() + Opaque(kM);
    for (auto _ : state) {
        std::prev_permutation(mask.begin(), end);  // wraps to the first by itself
        benchmark::DoNotOptimize(mask.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

BENCHMARK(BM_Count_TBitFld);
BENCHMARK(BM_Count_VectorBool);
BENCHMARK(BM_Count_Bitset);
BENCHMARK(BM_Count_WordLoop);
BENCHMARK(BM_Xor_TBitFld);
BENCHMARK(BM_Xor_VectorBool);
BENCHMARK(BM_Xor_Bitset);
BENCHMARK(BM_Xor_WordLoop);
BENCHMARK(BM_First_TBitFld);
BENCHMARK(BM_First_VectorBool);
BENCHMARK(BM_First_Bitset);
BENCHMARK(BM_First_WordLoop);
BENCHMARK(BM_Permutation_Qorkit);
BENCHMARK(BM_Permutation_StdNext);
BENCHMARK(BM_Combination_Qorkit);
BENCHMARK(BM_Combination_PlainLoop);
BENCHMARK(BM_Combination_MaskPrevPermutation);

}  // namespace

BENCHMARK_MAIN();
