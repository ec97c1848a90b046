// Compiles an arbitrary pattern and matches it against an arbitrary text. Every pattern must
// compile or yield a documented error code; matching must stay within the text, and the
// dense tables alone must agree with the default (plain-first) search, down to every token's
// last pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../src/strings/grep_search.h"
#include "qorkit/strings/grep.h"

using namespace qorkit;

namespace {

constexpr std::size_t kMaxPattern = 300;
constexpr std::size_t kMaxText = 4096;

// Bytes become characters; 0xFE and 0xFF stand for characters above 255.
String Decode(const std::uint8_t* data, std::size_t size) {
    String s;
    s.reserve(size);
    for (std::size_t i = 0; i < size; ++i)
        s.push_back(data[i] == 0xFE ? u'\u20AC' : (data[i] == 0xFF ? u'\u0100' : data[i]));
    return s;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t flags = data[0];
    const std::size_t patLen = std::min<std::size_t>(data[1] + (flags & 1u ? 256u : 0u), size - 2);
    const String pattern = Decode(data + 2, std::min(patLen, kMaxPattern));
    const std::size_t rest = size - 2 - patLen;
    const String text = Decode(data + 2 + patLen, std::min(rest, kMaxText));
    const auto L = static_cast<std::int32_t>(text.size());

    TGrep g;
    g.SetStopOnError(false);
    g.SetIgnoreCase((flags & 2u) != 0);
    g.SetRegExp(pattern);
    Check(g.LastError() >= 0 && g.LastError() <= kGrepErrSetCharRange);
    Check(g.NrOfRegExpTokens() >= 0 && g.NrOfRegExpTokens() <= 64);
    for (std::int32_t k = 1; k <= g.NrOfRegExpTokens(); ++k) {
        const TGrepToken t = g.GetRegExpToken(k);
        Check(t.NumChars >= -1 && t.NumChars <= 255);
    }

    const std::int32_t from = static_cast<std::int32_t>(flags >> 3) - 2;  // -2 .. 29
    g.SetSearchStartPos(from);
    std::int32_t pos = 0;
    const bool found = g.MatchString(text, pos);
    const std::int32_t m = g.NrOfRegExpTokens();
    const bool lone = m == 1 && g.GetRegExpToken(1).Action == taMult0;
    if (found) {
        Check(pos == g.MatchStartPos());
        Check(pos >= 1 && pos <= L + 1 && g.MatchEndPos() >= pos - 1 && g.MatchEndPos() <= L);
        if (!lone) Check(pos >= from);
    }
    if (m > 0 && !lone) {
        const std::int32_t first = std::max(from, 1);
        if (first <= L + 1) {
            std::int32_t last = first;
            if (g.GetRegExpToken(1).Action != taBol) last = std::min(std::max(first + 1, L), L + 1);
            TRegExp tokens{};
            for (std::int32_t k = 1; k <= m; ++k)
                tokens[static_cast<std::size_t>(k - 1)] = g.GetRegExpToken(k);
            const detail::GrepSearchResult memo =
                detail::GrepSearch(tokens, m, text, g.IgnoreCase(), first, last, 0);
            Check(memo.Found == found);
            if (found) Check(memo.Valid[0] == pos && memo.End == g.MatchEndPos());
            for (std::int32_t k = 1; k <= m; ++k) {
                const std::int32_t v = memo.Valid[static_cast<std::size_t>(k - 1)];
                Check(v == 0 ? !found : g.GetRegExpToken(k).ValidFrom == v);
            }
        }
    }
    return 0;
}
