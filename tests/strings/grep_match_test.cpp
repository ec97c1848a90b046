#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "../../src/strings/grep_search.h"
#include "qorkit/strings/grep.h"

using namespace qorkit;

namespace {

struct Outcome {
    bool found;
    std::int32_t pos, start, end;
};

Outcome Match(TGrep& g, std::u16string_view text, std::int32_t from = 1) {
    g.SetSearchStartPos(from);
    std::int32_t pos = -7;
    const bool found = g.MatchString(text, pos);
    return {found, pos, g.MatchStartPos(), g.MatchEndPos()};
}

TGrep& Pattern(TGrep& g, const String& p, bool ignoreCase = false) {
    g.SetStopOnError(false);
    g.SetIgnoreCase(ignoreCase);
    g.SetRegExp(p);
    return g;
}

// The classic recursive walk, written straight from its definition: every repetition inside
// the pattern tries the fewest repetitions first, a final one takes the longest run, and
// every token records the position where it last passed its own test.
class Reference {
  public:
    Reference(const TGrep& g, std::u16string_view text) : m(g.NrOfRegExpTokens()) {
        for (std::int32_t k = 1; k <= m; ++k)
            t.push_back(g.GetRegExpToken(k));
        for (Char c : text)
            s.push_back(g.IgnoreCase() && c >= u'A' && c <= u'Z' ? Char(c + 32) : c);
        L = static_cast<std::int32_t>(s.size());
        valid.assign(static_cast<std::size_t>(m) + 1, 0);
    }

    // What token k (from 1) holds after the search: its last pass, or what it had before.
    std::int32_t After(std::int32_t k) const {
        const std::int32_t v = valid[static_cast<std::size_t>(k)];
        return v != 0 ? v : t[static_cast<std::size_t>(k - 1)].ValidFrom;
    }

    // Start positions from `from` up to the larger of from + 1 and L, never beyond L + 1.
    bool Search(std::int32_t from) {
        from = std::max(from, 1);
        if (from > L + 1) return false;
        std::int32_t p = from;
        bool r = Try(p, 1);
        if (!r && t[0].Action != taBol) {
            do {
                ++p;
                if (p > L + 1) break;
                r = Try(p, 1);
            } while (!r && p < L);
        }
        return r;
    }

    // Whether the walk gave up after `cap` tries.
    bool Exceeded() const { return steps > cap; }

    std::int64_t steps = 0, cap = std::numeric_limits<std::int64_t>::max();
    std::int32_t m, L = 0, end = 0;
    std::vector<TGrepToken> t;
    String s;
    std::vector<std::int32_t> valid;

  private:
    bool TextAt(const TGrepToken& k, std::int32_t p) const {
        if (p < 1 || p + k.NumChars - 1 > L) return false;
        for (std::int32_t i = 0; i < k.NumChars; ++i)
            if (s[static_cast<std::size_t>(p - 1 + i)] != k.Params[static_cast<std::size_t>(i + 1)])
                return false;
        return true;
    }
    bool Member(const TGrepToken& k, std::int32_t p) const {
        if (p < 1 || p > L) return false;
        const Char c = s[static_cast<std::size_t>(p - 1)];
        return c < 256 && k.Params[c] == u'*';
    }
    bool One(const TGrepToken& k, std::int32_t p) const {
        if (k.NumChars == 0) return p >= 1 && p <= L;
        return k.NumChars < 0 ? Member(k, p) : TextAt(k, p);
    }
    std::int32_t Width(const TGrepToken& k) const { return k.NumChars > 0 ? k.NumChars : 1; }

    bool Try(std::int32_t p, std::int32_t k) {
        if (++steps > cap) return false;  // the result is void (see Exceeded)
        const TGrepToken& x = t[static_cast<std::size_t>(k - 1)];
        switch (x.Action) {
            case taNormal:
                if (!TextAt(x, p)) return false;
                break;
            case taAnyByte:
                if (p > L) return false;
                break;
            case taEol:
                if (p <= L) return false;
                break;
            case taBol:
                if (p != 1) return false;
                break;
            case taSet:
                if (!Member(x, p)) return false;
                break;
            case taMult1:
                if (!One(x, p)) return false;
                break;
            default:
                break;
        }
        valid[static_cast<std::size_t>(k)] = p;
        if (k == m) {
            switch (x.Action) {
                case taNormal:
                    end = p + x.NumChars - 1;
                    break;
                case taAnyByte:
                case taSet:
                    end = p;
                    break;
                case taEol:
                    end = L;
                    break;
                case taBol:
                    end = 0;  // the empty match at the start, never past the text
                    break;
                case taMult0:
                case taMult1: {
                    if (x.NumChars == 0) {
                        end = L;
                        break;
                    }
                    std::int32_t q = p;
                    while (One(x, q))
                        q += Width(x);
                    end = q - 1;
                    break;
                }
                case taOpti:
                    if (x.NumChars == 0)
                        end = p <= L ? p : L;
                    else
                        end = One(x, p) ? p + Width(x) - 1 : p - 1;
                    break;
            }
            return true;
        }
        switch (x.Action) {
            case taNormal:
                return Try(p + x.NumChars, k + 1);
            case taAnyByte:
            case taSet:
                return Try(p + 1, k + 1);
            case taBol:
                return Try(1, k + 1);
            case taEol:
                return false;
            case taOpti:
                if (Try(p, k + 1)) return true;
                return One(x, p) && Try(p + Width(x), k + 1);
            case taMult0:
            case taMult1: {
                std::int32_t q = x.Action == taMult1 ? p + Width(x) : p;
                if (x.NumChars == 0) {
                    for (; q <= L + 1; ++q)
                        if (Try(q, k + 1)) return true;
                    return false;
                }
                for (;;) {
                    if (Try(q, k + 1)) return true;
                    if (!One(x, q)) return false;
                    q += Width(x);
                }
            }
        }
        return false;
    }
};

// A random pattern from pieces that exercise every token form.
String RandomPattern(std::mt19937& rng) {
    static const char16_t* const kPieces[] = {u"a",    u"b",   u"ab", u".",     u"[ab]", u"[^a]",
                                              u"(ab)", u"(a)", u"()", u"[b-c]", u"c",    u"(ba)"};
    static const char16_t* const kOps[] = {u"", u"", u"*", u"+", u"?"};
    String p;
    if (rng() % 5 == 0) p += u"^";
    const int n = 1 + static_cast<int>(rng() % 5);
    for (int i = 0; i < n; ++i) {
        p += kPieces[rng() % std::size(kPieces)];
        p += kOps[rng() % std::size(kOps)];
    }
    if (rng() % 4 == 0) p += u"$";
    return p;
}

String RandomText(std::mt19937& rng, std::size_t maxLen, bool upper, unsigned letters = 3) {
    String s(rng() % (maxLen + 1), u'a');
    for (Char& c : s) {
        c = static_cast<Char>(u'a' + rng() % letters);
        if (upper && rng() % 3 == 0) c = static_cast<Char>(c - 32);
    }
    return s;
}

}  // namespace

TEST(GrepMatch, DocumentedExamples) {
    TGrep g;
    auto expect = [&](const String& pat, std::u16string_view text, bool found, std::int32_t pos,
                      std::int32_t end, std::int32_t from = 1) {
        const Outcome o = Match(Pattern(g, pat), text, from);
        EXPECT_EQ(o.found, found) << ToUtf8(pat) << " on " << ToUtf8(text);
        if (found) {
            EXPECT_EQ(o.pos, pos) << ToUtf8(pat) << " on " << ToUtf8(text);
            EXPECT_EQ(o.start, pos);
            EXPECT_EQ(o.end, end) << ToUtf8(pat) << " on " << ToUtf8(text);
        }
    };
    expect(u"b+c", u"abbbc", true, 2, 5);
    expect(u"a.*c", u"xabcbc", true, 2, 4);  // inner repetition as short as possible
    expect(u"ab*", u"abbbx", true, 1, 4);    // final repetition as long as possible
    expect(u"ab*", u"ab", true, 1, 2);
    expect(u"ab[0-9]*", u"ab", true, 1, 2);
    expect(u"[0-9]+$", u"ab12", true, 3, 4);
    expect(u"[0-9]+$", u"12ab", false, 0, 0);
    expect(u"(ab)?c", u"c", true, 1, 1);
    expect(u"(ab)?c", u"abc", true, 1, 3);
    expect(u"x*", u"abc", true, 1, 3);  // a lone "*" token stands for the whole text
    expect(u"x*", u"", true, 1, 0);
    expect(u"^ab", u"abab", false, 0, 0, 2);
    expect(u"c$", u"abc", true, 3, 3);
    expect(u"a.", u"a", false, 0, 0);
    expect(u".", u"", false, 0, 0);
    expect(u"ab", u"abxab", true, 4, 5, 4);
    expect(u"(ab)+(ab)*", u"xababab", true, 2, 7);  // final text chain
    expect(u"a?", u"bbb", true, 1, 0);              // empty match
    expect(u"a[xy]?", u"ab", true, 1, 1);
    expect(u"()", u"abc", true, 1, 0);  // an empty group matches the empty text
    expect(u"^", u"abc", true, 1, 0);   // "^" alone is an empty match, not the first character
    expect(u"^", u"", true, 1, 0);
    const Outcome o = Match(Pattern(g, u"ABC", true), u"xAbC");
    EXPECT_TRUE(o.found);
    EXPECT_EQ(o.pos, 2);
    EXPECT_EQ(o.end, 4);
}

TEST(GrepMatch, FailureReportsTheFirstTokensLastPositionAndKeepsTheEnd) {
    TGrep g;
    Pattern(g, u"ab");
    ASSERT_TRUE(Match(g, u"xxab").found);
    EXPECT_EQ(g.MatchEndPos(), 4);
    // "a" passes at 1 and 3 but "b" never follows: MatchPos is the last such start.
    const Outcome o = Match(g, u"axac");
    EXPECT_FALSE(o.found);
    EXPECT_EQ(o.pos, 3);  // token 1 ("ab") never passed: keeps 3 from the earlier match
    EXPECT_EQ(o.end, 4);
    Pattern(g, u"a.c");
    const Outcome p = Match(g, u"axaxb");
    EXPECT_FALSE(p.found);
    EXPECT_EQ(p.pos, 3);
    EXPECT_EQ(p.end, 4);
    // A single-"*" pattern past the end of a non-empty text changes nothing.
    Pattern(g, u"z*");
    std::int32_t pos = 42;
    g.SetSearchStartPos(5);
    EXPECT_FALSE(g.MatchString(u"abc", pos));
    EXPECT_EQ(pos, 42);
}

TEST(GrepMatch, EmptyTokenTableAndStartPositionBounds) {
    TGrep g;
    std::int32_t pos = 9;
    EXPECT_FALSE(g.MatchString(u"abc", pos));  // fresh component
    EXPECT_EQ(pos, 0);
    Pattern(g, u"");
    EXPECT_FALSE(Match(g, u"").found);
    Pattern(g, u"*a");  // failed at its first character
    EXPECT_FALSE(Match(g, u"a").found);
    // Start positions below 1 search from 1; beyond the place after the text nothing matches.
    Pattern(g, u"a?");
    EXPECT_TRUE(Match(g, u"ab", -5).found);
    EXPECT_EQ(g.MatchStartPos(), 1);
    EXPECT_TRUE(Match(g, u"ab", 3).found);  // the empty match after the last character
    EXPECT_EQ(g.MatchEndPos(), 2);
    EXPECT_FALSE(Match(g, u"ab", 4).found);
    // A search continues from SearchStartPos.
    Pattern(g, u"[0-9]+");
    String found;
    std::int32_t from = 1;
    while (Match(g, u"a12b345c6", from).found) {
        found += u"<" +
                 String(u"a12b345c6")
                     .substr(g.MatchStartPos() - 1, g.MatchEndPos() - g.MatchStartPos() + 1) +
                 u">";
        from = g.MatchEndPos() + 1;
    }
    EXPECT_EQ(found, u"<12><345><6>");
}

TEST(GrepMatch, SetsIgnoreWideCharactersAndCaseFoldingIsAToZOnly) {
    TGrep g;
    Pattern(g, u"[^a]");
    EXPECT_FALSE(Match(g, u"a\u20AC").found);  // above 255: in no set, negated or not
    EXPECT_TRUE(Match(g, u"a\u00FF").found);
    Pattern(g, u"\u20ACx");
    EXPECT_EQ(Match(g, u"a\u20ACx").pos, 2);
    Pattern(g, u"\u00C4", true);
    EXPECT_FALSE(Match(g, u"\u00E4").found);
    Pattern(g, u"[A-C]+", true);
    EXPECT_TRUE(Match(g, u"xxbCa").found);
    EXPECT_EQ(g.MatchEndPos(), 5);
}

TEST(GrepMatch, AgreesWithTheRecursiveDefinitionOnRandomInputs) {
    std::mt19937 rng(12345);
    TGrep g;
    for (int iter = 0; iter < 30000; ++iter) {
        const String pat = RandomPattern(rng);
        const bool fold = rng() % 4 == 0;
        Pattern(g, pat, fold);
        if (g.NrOfRegExpTokens() == 0) continue;
        const String text = RandomText(rng, 9, fold);
        const auto L = static_cast<std::int32_t>(text.size());
        const std::int32_t from = 1 + static_cast<std::int32_t>(rng() % (L + 2));
        const bool lone = g.NrOfRegExpTokens() == 1 && g.GetRegExpToken(1).Action == taMult0;
        if (lone) continue;  // the whole-text rule is tested on its own

        Reference ref(g, text);
        const bool expected = ref.Search(from);
        const std::int32_t endBefore = g.MatchEndPos();
        const Outcome o = Match(g, text, from);
        const std::string where =
            ToUtf8(pat) + " on \"" + ToUtf8(text) + "\" from " + std::to_string(from);
        ASSERT_EQ(o.found, expected) << where;
        ASSERT_EQ(o.pos, ref.After(1)) << where;
        ASSERT_EQ(o.start, ref.After(1)) << where;
        ASSERT_EQ(o.end, expected ? ref.end : endBefore) << where;
        // Every token, after a failed search as well: the last place it passed its own test.
        for (std::int32_t k = 1; k <= g.NrOfRegExpTokens(); ++k)
            ASSERT_EQ(g.GetRegExpToken(k).ValidFrom, ref.After(k)) << where << " token " << k;

        // The dense tables alone must find the same match.
        TRegExp tokens{};
        for (std::int32_t k = 1; k <= g.NrOfRegExpTokens(); ++k)
            tokens[static_cast<std::size_t>(k - 1)] = g.GetRegExpToken(k);
        const std::int32_t last =
            ref.t[0].Action == taBol ? from : std::min(std::max(from + 1, L), L + 1);
        if (from <= L + 1) {
            const detail::GrepSearchResult memo =
                detail::GrepSearch(tokens, g.NrOfRegExpTokens(), text, fold, from, last, 0);
            ASSERT_EQ(memo.Found, expected) << where;
            if (expected) {
                ASSERT_EQ(memo.End, ref.end) << where;
            }
            for (std::int32_t k = 1; k <= g.NrOfRegExpTokens(); ++k)
                ASSERT_EQ(memo.Valid[static_cast<std::size_t>(k - 1)],
                          ref.valid[static_cast<std::size_t>(k)])
                    << where << " dense, token " << k;
        }
    }
}

TEST(GrepMatch, PathologicalPatternsOverLongTextsAreCheap) {
    const String as(100000, u'a');
    TGrep g;
    Pattern(g, u"(a)*(a)*(a)*(a)*(a)*(a)*b");
    EXPECT_FALSE(Match(g, as).found);
    EXPECT_TRUE(Match(g, as + u"b").found);
    EXPECT_EQ(g.MatchStartPos(), 1);
    EXPECT_EQ(g.MatchEndPos(), 100001);
    EXPECT_EQ(g.GetRegExpToken(6).ValidFrom, 1);  // the inner ones took nothing
    EXPECT_EQ(g.GetRegExpToken(7).ValidFrom, 100001);

    Pattern(g, u".*.*.*.*.*.*.*x");
    EXPECT_FALSE(Match(g, as).found);
    EXPECT_TRUE(Match(g, as + u"x" + as).found);
    EXPECT_EQ(g.MatchEndPos(), 100001);

    String ab(100000, u'a');
    for (std::size_t i = 1; i < ab.size(); i += 2)
        ab[i] = u'b';
    Pattern(g, u"[ab]*[ab]*[ab]*c");
    EXPECT_FALSE(Match(g, ab).found);
    EXPECT_TRUE(Match(g, ab + u"c").found);
    EXPECT_EQ(g.MatchEndPos(), 100001);

    Pattern(g, u"(ab)*(ab)*(ab)+$");
    EXPECT_TRUE(Match(g, ab).found);
    EXPECT_EQ(g.MatchStartPos(), 1);
    EXPECT_EQ(g.MatchEndPos(), 100000);
    EXPECT_EQ(g.GetRegExpToken(3).ValidFrom, 1);  // the first two took nothing
}

TEST(GrepMatch, FailedSearchLeavesEachTokensLastPass) {
    TGrep g;
    Pattern(g, u"ab+c");
    ASSERT_TRUE(Match(g, u"zzabc").found);
    EXPECT_FALSE(Match(g, u"xabbd").found);
    EXPECT_EQ(g.GetRegExpToken(1).ValidFrom, 2);
    EXPECT_EQ(g.GetRegExpToken(2).ValidFrom, 3);  // the chain was walked to 4, but it starts at 3
    EXPECT_EQ(g.GetRegExpToken(3).ValidFrom, 5);  // never passed: kept from the earlier match

    Pattern(g, u"a.*c");
    EXPECT_FALSE(Match(g, u"abab").found);
    EXPECT_EQ(g.MatchStartPos(), 3);
    EXPECT_EQ(g.GetRegExpToken(2).ValidFrom, 4);

    // The same after the dense tables over a long text: the last start that passes is the last "a".
    String text(50000, u'a');
    text += u"b";
    Pattern(g, u"(a)*(a)*(a)*c");
    EXPECT_FALSE(Match(g, text).found);
    for (std::int32_t k = 1; k <= 3; ++k)
        EXPECT_EQ(g.GetRegExpToken(k).ValidFrom, 50001) << k;  // empty runs before the "b"
}

// Texts of up to 300 characters, from any start, cross the word boundaries of the dense tables
// and the vectorised scans: the default search, the dense tables alone and the dense tables
// after a short plain walk all give the classic result and last passes.
TEST(GrepMatch, LongTextsAgreeWithTheRecursiveDefinition) {
    std::mt19937 rng(777);
    TGrep g;
    int compared = 0;
    for (int iter = 0; iter < 6000; ++iter) {
        const bool fold = rng() % 4 == 0;
        Pattern(g, RandomPattern(rng), fold);
        const std::int32_t m = g.NrOfRegExpTokens();
        if (m == 0 || (m == 1 && g.GetRegExpToken(1).Action == taMult0)) continue;
        const String text = RandomText(rng, 300, fold, 2 + rng() % 2);
        const auto L = static_cast<std::int32_t>(text.size());
        const std::int32_t from = 1 + static_cast<std::int32_t>(rng() % (L + 2));
        Reference ref(g, text);
        ref.cap = 200000;
        const bool expected = ref.Search(from);
        if (ref.Exceeded()) continue;
        ++compared;
        const std::string where =
            ToUtf8(g.RegExp()) + " on \"" + ToUtf8(text) + "\" from " + std::to_string(from);
        const std::int32_t endBefore = g.MatchEndPos();
        const Outcome o = Match(g, text, from);
        ASSERT_EQ(o.found, expected) << where;
        ASSERT_EQ(o.end, expected ? ref.end : endBefore) << where;
        for (std::int32_t k = 1; k <= m; ++k)
            ASSERT_EQ(g.GetRegExpToken(k).ValidFrom, ref.After(k)) << where << " token " << k;
        if (from > L + 1) continue;
        TRegExp tokens{};
        for (std::int32_t k = 1; k <= m; ++k)
            tokens[static_cast<std::size_t>(k - 1)] = g.GetRegExpToken(k);
        const std::int32_t last =
            ref.t[0].Action == taBol ? from : std::min(std::max(from + 1, L), L + 1);
        for (const std::int64_t budget : {0, 40, 3000}) {
            const detail::GrepSearchResult r =
                detail::GrepSearch(tokens, m, text, fold, from, last, budget);
            ASSERT_EQ(r.Found, expected) << where << " budget " << budget;
            if (expected) {
                ASSERT_EQ(r.End, ref.end) << where << " budget " << budget;
            }
            for (std::int32_t k = 1; k <= m; ++k)
                ASSERT_EQ(r.Valid[static_cast<std::size_t>(k - 1)],
                          ref.valid[static_cast<std::size_t>(k)])
                    << where << " budget " << budget << " token " << k;
        }
    }
    EXPECT_GT(compared, 3000);  // most cases stay within the reference's step limit
}
