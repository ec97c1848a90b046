// String utilities beside plain std::u16string code doing the same job, in the same run:
// ReplaceStringInString over 4 MiB with 200,000 replacements, and CountWords, StripLTBlanks
// and NumberedPos over 1 MiB.
#include <benchmark/benchmark.h>

#include <bitset>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "qorkit/strings/string_search.h"
#include "qorkit/strings/string_strip.h"
#include "qorkit/strings/word_count.h"

namespace {

using qorkit::String;

constexpr std::size_t kUnitsIn1MiB = (1u << 20) / sizeof(char16_t);
constexpr std::size_t kUnitsIn4MiB = 4 * kUnitsIn1MiB;
constexpr int kReplacements = 200000;
constexpr std::u16string_view kOld = u"needle";
constexpr std::u16string_view kNew = u"pin";

// 4 MiB of text holding exactly kReplacements occurrences of kOld, spread evenly, between
// filler that contains no "n" (so no further matches).
const String& ReplaceInput() {
    static const String text = [] {
        std::mt19937 rng(1);
        const std::u16string_view filler = u"abcdefghijklmopqrstuvwxyz eee";
        String s;
        s.reserve(kUnitsIn4MiB);
        const std::size_t gap = kUnitsIn4MiB / kReplacements - kOld.size();
        for (int k = 0; k < kReplacements; ++k) {
            for (std::size_t i = 0; i < gap; ++i)
                s.push_back(filler[rng() % filler.size()]);
            s.append(kOld);
        }
        while (s.size() < kUnitsIn4MiB)
            s.push_back(u'z');
        return s;
    }();
    return text;
}

// 1 MiB of words of 1 to 9 letters separated by blanks, commas and line ends.
const String& WordsInput() {
    static const String text = [] {
        std::mt19937 rng(2);
        String s;
        s.reserve(kUnitsIn1MiB);
        while (s.size() < kUnitsIn1MiB) {
            const std::size_t len = 1 + rng() % 9;
            for (std::size_t i = 0; i < len; ++i)
                s.push_back(static_cast<char16_t>(u'a' + rng() % 26));
            const unsigned sep = rng() % 10;
            s.push_back(sep == 0 ? u',' : (sep == 1 ? u'\n' : u' '));
        }
        s.resize(kUnitsIn1MiB);
        return s;
    }();
    return text;
}

void SetBytes(benchmark::State& state, std::size_t units) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(units * sizeof(char16_t)));
}

// --- ReplaceStringInString ------------------------------------------------------------------

void BM_Replace_Qorkit(benchmark::State& state) {
    const String& s = ReplaceInput();
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::ReplaceStringInString(s, kOld, kNew, false));
    SetBytes(state, s.size());
}

void BM_Replace_QorkitIgnoreCase(benchmark::State& state) {
    const String& s = ReplaceInput();
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::ReplaceStringInString(s, u"NEEDLE", kNew, true));
    SetBytes(state, s.size());
}

// The usual single-pass loop: find, append the gap, append the replacement.
void BM_Replace_StdFindAppend(benchmark::State& state) {
    const String& s = ReplaceInput();
    for (auto _ : state) {
        String out;
        out.reserve(s.size());
        std::size_t done = 0;
        for (std::size_t i = s.find(kOld); i != String::npos; i = s.find(kOld, done)) {
            out.append(s, done, i - done);
            out.append(kNew);
            done = i + kOld.size();
        }
        out.append(s, done);
        benchmark::DoNotOptimize(out);
    }
    SetBytes(state, s.size());
}

// --- CountWords -----------------------------------------------------------------------------

void BM_CountWords_Qorkit(benchmark::State& state) {
    const String& s = WordsInput();
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::CountWords(s));
    SetBytes(state, s.size());
}

// The same rule written directly over a local copy of the separator set.
void BM_CountWords_PlainLoop(benchmark::State& state) {
    const String& s = WordsInput();
    const std::bitset<256> seps = qorkit::WordSeps;
    for (auto _ : state) {
        std::int32_t words = 0;
        std::size_t run = 0;
        for (char16_t c : s) {
            if (c < 256 && seps[c]) {
                words += run >= 2;
                run = 0;
            } else {
                ++run;
            }
        }
        benchmark::DoNotOptimize(words);
    }
    SetBytes(state, s.size());
}

// --- StripLTBlanks --------------------------------------------------------------------------

const String& PaddedInput() {
    static const String text =
        String(1000, u' ') + WordsInput().substr(0, kUnitsIn1MiB - 2000) + String(1000, u' ');
    return text;
}

void BM_StripLTBlanks_Qorkit(benchmark::State& state) {
    const String& s = PaddedInput();
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::StripLTBlanks(s));
    SetBytes(state, s.size());
}

void BM_StripLTBlanks_StdFindNotOf(benchmark::State& state) {
    const String& s = PaddedInput();
    for (auto _ : state) {
        const std::size_t first = s.find_first_not_of(u' ');
        String out = first == String::npos ? String()
                                           : s.substr(first, s.find_last_not_of(u' ') - first + 1);
        benchmark::DoNotOptimize(out);
    }
    SetBytes(state, s.size());
}

// --- NumberedPos ----------------------------------------------------------------------------

// The first 1 MiB of the replacement text: "needle" every 20 characters. Argument 20000 finds
// an occurrence about three quarters through; the whole scan is measured either way.
constexpr std::u16string_view kSub = u"needle";

const String& PosInput() {
    static const String text = ReplaceInput().substr(0, kUnitsIn1MiB);
    return text;
}

void BM_NumberedPos_Qorkit(benchmark::State& state) {
    const String& s = PosInput();
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::NumberedPos(kSub, s, 1, n, false));
    SetBytes(state, s.size());
}

void BM_NumberedPos_QorkitIgnoreCase(benchmark::State& state) {
    const String& s = PosInput();
    const std::int32_t n = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::NumberedPos(u"NeEdLe", s, 1, n, true));
    SetBytes(state, s.size());
}

void BM_NumberedPos_StdFindLoop(benchmark::State& state) {
    const String& s = PosInput();
    const auto n = state.range(0);
    for (auto _ : state) {
        std::size_t i = s.find(kSub);
        for (auto k = n; i != String::npos && --k > 0;)
            i = s.find(kSub, i + kSub.size());
        benchmark::DoNotOptimize(i);
    }
    SetBytes(state, s.size());
}

// --- Benchmark table ------------------------------------------------------------------------

BENCHMARK(BM_Replace_Qorkit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Replace_QorkitIgnoreCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Replace_StdFindAppend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountWords_Qorkit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountWords_PlainLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripLTBlanks_Qorkit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripLTBlanks_StdFindNotOf)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NumberedPos_Qorkit)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NumberedPos_QorkitIgnoreCase)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NumberedPos_StdFindLoop)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
