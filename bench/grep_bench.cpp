// TGrep::MatchString beside std::regex_search (ECMAScript) in the same run: every match of a
// pattern over 1 MiB of text, for patterns both dialects read alike (literals, sets, anchors,
// final repetitions). Then patterns that drive a plain backtracking matcher exponential or
// polynomial, over 100,000 characters (TGrep only).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <regex>
#include <string>

#include "qorkit/strings/grep.h"

namespace {

using qorkit::String;

constexpr std::size_t kUnitsIn1MiB = (1u << 20) / sizeof(char16_t);

// Lower-case words with digits now and then, a rare "pattern", ending with "the end".
const String& Text() {
    static const String text = [] {
        std::mt19937 rng(7);
        const char16_t* const words[] = {u"the",   u"quick", u"brown", u"fox",  u"jumps",
                                         u"over",  u"lazy",  u"dog",   u"this", u"is",
                                         u"quiet", u"text",  u"with",  u"some", u"words"};
        String s;
        s.reserve(kUnitsIn1MiB);
        while (s.size() < kUnitsIn1MiB - 100) {
            const unsigned r = rng() % 1000;
            if (r == 0)
                s += u"pattern";
            else if (r < 20)
                s += std::u16string(1, static_cast<char16_t>(u'0' + rng() % 10)) + u"42";
            else
                s += words[rng() % std::size(words)];
            s += (rng() % 12 == 0) ? u"\n" : u" ";
        }
        s += u"the end";
        return s;
    }();
    return text;
}

std::string Narrow(const String& s) {
    return std::string(s.begin(), s.end());
}

const char16_t* const kPatterns[] = {u"pattern", u"[0-9][0-9][0-9]", u"qu[a-z]*", u"^[a-z]+",
                                     u"end$",    u"qu.ck",           u"fox ?"};

// Every match from the start of the text on, as a search loop does.
void BM_TGrep(benchmark::State& state) {
    const String pattern = kPatterns[state.range(0)];
    const String& text = Text();
    qorkit::TGrep g;
    g.SetRegExp(pattern);
    std::int64_t count = 0;
    for (auto _ : state) {
        count = 0;
        std::int32_t from = 1, pos = 0;
        for (;;) {
            g.SetSearchStartPos(from);
            if (!g.MatchString(text, pos)) break;
            ++count;
            from = std::max(from + 1, g.MatchEndPos() + 1);
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetLabel(qorkit::ToUtf8(pattern));
    state.counters["matches"] = static_cast<double>(count);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size() * sizeof(char16_t)));
}

void BM_StdRegex(benchmark::State& state) {
    const std::string pattern = Narrow(kPatterns[state.range(0)]);
    const std::string text = Narrow(Text());
    const std::regex re(pattern, std::regex::ECMAScript);
    std::int64_t count = 0;
    for (auto _ : state) {
        count = 0;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), re);
             it != std::sregex_iterator(); ++it)
            ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetLabel(pattern);
    state.counters["matches"] = static_cast<double>(count);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_TGrep)->DenseRange(0, std::size(kPatterns) - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdRegex)->DenseRange(0, std::size(kPatterns) - 1)->Unit(benchmark::kMillisecond);

// Patterns that defeat plain backtracking, over 100,000 characters without a match.
void BM_TGrepPathological(benchmark::State& state) {
    const char16_t* const patterns[] = {u"(a)*(a)*(a)*(a)*(a)*(a)*b", u".*.*.*.*.*.*.*x",
                                        u"[ab]*[ab]*[ab]*c"};
    const String pattern = patterns[state.range(0)];
    String text(100000, u'a');
    for (std::size_t i = 1; state.range(0) == 2 && i < text.size(); i += 2)
        text[i] = u'b';
    qorkit::TGrep g;
    g.SetRegExp(pattern);
    for (auto _ : state) {
        std::int32_t pos = 0;
        benchmark::DoNotOptimize(g.MatchString(text, pos));
    }
    state.SetLabel(qorkit::ToUtf8(pattern));
}
BENCHMARK(BM_TGrepPathological)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
