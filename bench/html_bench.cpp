// HTML support beside plain std::u16string find-and-append loops doing the same job, in the
// same run: THtmlProducer::Convert of a 1 MiB template with 10,000 tags, and URLEncode and
// URLDecode of 1 MiB.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

#include "qorkit/html/html_producer.h"
#include "qorkit/html/url_coding.h"

namespace {

using qorkit::String;

constexpr std::size_t kUnitsIn1MiB = (1u << 20) / sizeof(char16_t);
constexpr int kTags = 10000;
constexpr int kNames = 50;

// The values of the tags <#field0> .. <#field49>.
const std::unordered_map<String, String>& Values() {
    static const std::unordered_map<String, String> values = [] {
        std::unordered_map<String, String> v;
        for (int k = 0; k < kNames; ++k) {
            std::string n = std::to_string(k);
            v[u"field" + String(n.begin(), n.end())] =
                u"value number " + String(n.begin(), n.end());
        }
        return v;
    }();
    return values;
}

// 1 MiB of HTML-like text (with ordinary "<" tags) holding kTags template tags, some with
// parameters and upper-case letters in their names.
const String& Template() {
    static const String text = [] {
        std::mt19937 rng(3);
        const std::u16string_view words[] = {u"lorem ", u"ipsum ", u"<p>",  u"</p>\r\n",
                                             u"dolor ", u"a < b ", u"<td>", u"sit amet "};
        String s;
        s.reserve(kUnitsIn1MiB + 64);
        const std::size_t gap = kUnitsIn1MiB / kTags;
        for (int k = 0; k < kTags; ++k) {
            const std::size_t until = s.size() + gap - 20;
            while (s.size() < until)
                s += words[rng() % std::size(words)];
            const std::string n = std::to_string(rng() % kNames);
            s += (k % 3 == 0 ? u"<#Field" : u"<#field") + String(n.begin(), n.end()) +
                 (k % 2 == 0 ? u" fmt=short>" : u">");
        }
        return s;
    }();
    return text;
}

void BM_Convert_THtmlProducer(benchmark::State& state) {
    qorkit::THtmlProducer p;
    p.SetTemplate(Template());
    const auto& values = Values();
    p.SetOnHTMLTag([&](qorkit::TObject*, const String& name, const String&, String& r) {
        const auto it = values.find(name);
        if (it != values.end()) r = it->second;
    });
    for (auto _ : state)
        benchmark::DoNotOptimize(p.Convert().data());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Template().size() * 2));
}

// The same job written directly: find "<#", cut out the name (lower-cased) and the trimmed
// parameters, look the value up and append.
String PeerConvert(std::u16string_view t, const std::unordered_map<String, String>& values) {
    String out;
    out.reserve(t.size());
    std::size_t i = 0;
    for (;;) {
        const std::size_t at = t.find(u"<#", i);
        if (at == std::u16string_view::npos) break;
        out.append(t.substr(i, at - i));
        std::size_t gt = t.find(u'>', at + 2);
        const std::size_t innerEnd = gt == std::u16string_view::npos ? t.size() : gt;
        const std::u16string_view inner = t.substr(at + 2, innerEnd - at - 2);
        const std::size_t blank = inner.find(u' ');
        String name(inner.substr(0, blank));
        for (char16_t& c : name)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        std::u16string_view params =
            blank == std::u16string_view::npos ? std::u16string_view() : inner.substr(blank + 1);
        while (!params.empty() && params.front() == u' ')
            params.remove_prefix(1);
        while (!params.empty() && params.back() == u' ')
            params.remove_suffix(1);
        benchmark::DoNotOptimize(params.data());
        const std::size_t end = gt == std::u16string_view::npos ? t.size() : gt + 1;
        const auto it = values.find(name);
        if (it != values.end())
            out += it->second;
        else
            out.append(t.substr(at, end - at));
        i = end;
    }
    out.append(t.substr(i));
    return out;
}

void BM_Convert_FindAppendLoop(benchmark::State& state) {
    const String& t = Template();
    const auto& values = Values();
    for (auto _ : state)
        benchmark::DoNotOptimize(PeerConvert(t, values).data());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(t.size() * 2));
}

// 1 MiB of URL-ish text: letters and digits with about one reserved character in eight.
const String& UrlText() {
    static const String text = [] {
        std::mt19937 rng(4);
        const std::u16string_view plain = u"abcdefghijklmnopqrstuvwxyzABC0123456789-_.";
        const std::u16string_view reserved = u"!*'();:@&=+$,/?%#[] ";
        String s;
        s.reserve(kUnitsIn1MiB);
        while (s.size() < kUnitsIn1MiB)
            s.push_back(rng() % 8 == 0 ? reserved[rng() % reserved.size()]
                                       : plain[rng() % plain.size()]);
        return s;
    }();
    return text;
}

constexpr bool IsReserved(char16_t c) {
    return std::u16string_view(u"!*'();:@&=+$,/?%#[] ").find(c) != std::u16string_view::npos;
}

String PeerEncode(std::u16string_view s) {
    static constexpr std::u16string_view kHex = u"0123456789ABCDEF";
    String out;
    out.reserve(s.size());
    for (const char16_t c : s) {
        if (c < 128 && IsReserved(c)) {
            out.push_back(u'%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

int Hex(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// One decoding pass by find and append; URLDecode is defined as two such passes.
String PeerDecodePass(std::u16string_view s) {
    String out;
    out.reserve(s.size());
    std::size_t i = 0;
    for (;;) {
        const std::size_t p = s.find(u'%', i);
        if (p == std::u16string_view::npos) break;
        out.append(s.substr(i, p - i));
        if (p + 2 < s.size() && Hex(s[p + 1]) >= 0 && Hex(s[p + 2]) >= 0) {
            out.push_back(static_cast<char16_t>(Hex(s[p + 1]) * 16 + Hex(s[p + 2])));
            i = p + 3;
        } else {
            out.push_back(u'%');
            i = p + 1;
        }
    }
    out.append(s.substr(i));
    return out;
}

void BM_URLEncode_Qorkit(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::URLEncode(UrlText()).data());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(UrlText().size() * 2));
}
void BM_URLEncode_AppendLoop(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(PeerEncode(UrlText()).data());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(UrlText().size() * 2));
}

const String& EncodedText() {
    static const String text = qorkit::URLEncode(UrlText());
    return text;
}
void BM_URLDecode_Qorkit(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(qorkit::URLDecode(EncodedText()).data());
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(EncodedText().size() * 2));
}
void BM_URLDecode_FindAppendLoop(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(PeerDecodePass(PeerDecodePass(EncodedText())).data());
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(EncodedText().size() * 2));
}

BENCHMARK(BM_Convert_THtmlProducer);
BENCHMARK(BM_Convert_FindAppendLoop);
BENCHMARK(BM_URLEncode_Qorkit);
BENCHMARK(BM_URLEncode_AppendLoop);
BENCHMARK(BM_URLDecode_Qorkit);
BENCHMARK(BM_URLDecode_FindAppendLoop);

}  // namespace

BENCHMARK_MAIN();
