// TGrep::MatchString beside std::regex_search (ECMAScript) and RE2 in the same run: every match
// of a pattern over 1 MiB of text, for patterns the dialects read alike (literals, sets,
// anchors, final repetitions); every line of 100,000 lines tested on its own; and patterns that
// drive a plain backtracking matcher exponential or polynomial, over 100,000 and 400,000
// characters without a match. RE2 reads the same text as 8-bit characters.
#include <benchmark/benchmark.h>
#include <re2/re2.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <regex>
#include <string>
#include <vector>

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

void BM_RE2(benchmark::State& state) {
    const std::string pattern = Narrow(kPatterns[state.range(0)]);
    const std::string text = Narrow(Text());
    RE2::Options opt;
    opt.set_encoding(RE2::Options::EncodingLatin1);
    const RE2 re(pattern, opt);
    std::int64_t count = 0;
    for (auto _ : state) {
        count = 0;
        std::size_t from = 0;
        re2::StringPiece m;
        while (from <= text.size() && re.Match(text, from, text.size(), RE2::UNANCHORED, &m, 1)) {
            ++count;
            const auto start = static_cast<std::size_t>(m.data() - text.data());
            from = std::max(start + 1, start + m.size());
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetLabel(pattern);
    state.counters["matches"] = static_cast<double>(count);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_TGrep)->DenseRange(0, std::size(kPatterns) - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RE2)->DenseRange(0, std::size(kPatterns) - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdRegex)->DenseRange(0, std::size(kPatterns) - 1)->Unit(benchmark::kMillisecond);

// 100,000 lines of the text above, each searched on its own as a line filter does.
const char16_t* const kLinePatterns[] = {u"a.*c", u"[0-9]+$"};

const std::vector<String>& Lines() {
    static const std::vector<String> lines = [] {
        std::vector<String> out;
        const String& text = Text();
        std::size_t from = 0;
        while (out.size() < 100000) {
            std::size_t nl = text.find(u'\n', from);
            if (nl == String::npos) {
                from = 0;
                continue;
            }
            out.push_back(text.substr(from, nl - from));
            from = nl + 1;
        }
        return out;
    }();
    return lines;
}

void BM_TGrepLines(benchmark::State& state) {
    const String pattern = kLinePatterns[state.range(0)];
    const std::vector<String>& lines = Lines();
    qorkit::TGrep g;
    g.SetRegExp(pattern);
    std::int64_t count = 0;
    for (auto _ : state) {
        count = 0;
        std::int32_t pos = 0;
        for (const String& line : lines)
            count += g.MatchString(line, pos) ? 1 : 0;
        benchmark::DoNotOptimize(count);
    }
    state.SetLabel(qorkit::ToUtf8(pattern));
    state.counters["matches"] = static_cast<double>(count);
}

void BM_RE2Lines(benchmark::State& state) {
    const std::string pattern = Narrow(kLinePatterns[state.range(0)]);
    std::vector<std::string> lines;
    for (const String& line : Lines())
        lines.push_back(Narrow(line));
    RE2::Options opt;
    opt.set_encoding(RE2::Options::EncodingLatin1);
    const RE2 re(pattern, opt);
    std::int64_t count = 0;
    for (auto _ : state) {
        count = 0;
        for (const std::string& line : lines)
            count += RE2::PartialMatch(line, re) ? 1 : 0;
        benchmark::DoNotOptimize(count);
    }
    state.SetLabel(pattern);
    state.counters["matches"] = static_cast<double>(count);
}
BENCHMARK(BM_TGrepLines)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RE2Lines)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// Patterns that defeat plain backtracking, over texts without a match: range(0) picks the
// pattern, range(1) the text length.
const char16_t* const kPathological[] = {u"(a)*(a)*(a)*(a)*(a)*(a)*b", u".*.*.*.*.*.*.*x",
                                         u"[ab]*[ab]*[ab]*c"};

String PathologicalText(std::int64_t which, std::int64_t length) {
    String text(static_cast<std::size_t>(length), u'a');
    for (std::size_t i = 1; which == 2 && i < text.size(); i += 2)
        text[i] = u'b';
    return text;
}

void BM_TGrepPathological(benchmark::State& state) {
    const String pattern = kPathological[state.range(0)];
    const String text = PathologicalText(state.range(0), state.range(1));
    qorkit::TGrep g;
    g.SetRegExp(pattern);
    bool found = true;
    for (auto _ : state) {
        std::int32_t pos = 0;
        found = g.MatchString(text, pos);
        benchmark::DoNotOptimize(found);
    }
    if (found) state.SkipWithError("unexpected match");
    state.SetLabel(qorkit::ToUtf8(pattern));
}

void BM_RE2Pathological(benchmark::State& state) {
    const std::string pattern = Narrow(kPathological[state.range(0)]);
    const std::string text = Narrow(PathologicalText(state.range(0), state.range(1)));
    RE2::Options opt;
    opt.set_encoding(RE2::Options::EncodingLatin1);
    const RE2 re(pattern, opt);
    bool found = true;
    for (auto _ : state) {
        found = RE2::PartialMatch(text, re);
        benchmark::DoNotOptimize(found);
    }
    if (found) state.SkipWithError("unexpected match");
    state.SetLabel(pattern);
}
BENCHMARK(BM_TGrepPathological)
    ->ArgsProduct({{0, 1, 2}, {100000, 400000}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RE2Pathological)
    ->ArgsProduct({{0, 1, 2}, {100000, 400000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
