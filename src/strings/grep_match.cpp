// TGrep::MatchString: the classic backtracking order, bounded to O(text x tokens) time.
//
// Whether the pattern from token k on matches with token k at position p depends only on k,
// p and the text. The walk first follows the classic order plainly, skipping with vectorised
// scans to the places where a literal can start, under a step budget proportional to the text
// length; a match found early therefore costs what a plain backtracking walk costs. When the
// budget runs out, dense tables (one bit per token and position, computed backwards from the
// end of the text a word at a time) tell for every pair whether it succeeds, and the classic
// match is read off them: its start is the first start whose bit is set, and each token takes
// the first continuation whose bit is set.
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "char_scan.h"
#include "grep_search.h"
#include "grep_tables.h"
#include "qorkit/strings/grep.h"
#include "substring_finder.h"

namespace qorkit {

namespace {

using Pos = std::int32_t;
using detail::CharPair;
using detail::CharRanges;
using detail::GrepElem;
using Tok = detail::GrepTok;
constexpr std::int64_t kLongestText = std::numeric_limits<Pos>::max() - 1024;
// Steps below which the plain walk repeats failed "any character" continuations rather than
// skipping them: it then needs no second walk to know every token's last pass.
constexpr std::int64_t kExactSteps = 2048;

class Bits {
  public:
    void Reset(std::size_t n) { FWords.assign((n + 63) / 64, 0); }
    bool Get(Pos i) const {
        const auto u = static_cast<std::size_t>(i);
        return (FWords[u / 64] >> (u % 64)) & 1u;
    }
    void Set(Pos i) {
        const auto u = static_cast<std::size_t>(i);
        FWords[u / 64] |= std::uint64_t{1} << (u % 64);
    }

  private:
    std::vector<std::uint64_t> FWords;
};

// The text characters that match pattern character c; none for an upper-case letter when the
// text is folded, since no folded character is one.
std::optional<CharPair> Candidates(Char c, bool Fold) {
    if (!Fold) return CharPair{c, c};
    if (c >= u'A' && c <= u'Z') return std::nullopt;
    return CharPair{c, c >= u'a' && c <= u'z' ? static_cast<Char>(c - 32) : c};
}

class Walker {
  public:
    Walker(const TRegExp& Re, Pos M, std::u16string_view S, bool Fold,
           const std::optional<CharRanges>& FirstSet)
        : FM(M), FS(S), FL(static_cast<Pos>(S.size())), FFold(Fold), FFirstSet(FirstSet) {
        for (Pos k = 0; k < M; ++k) {
            const TGrepToken& g = Re[static_cast<std::size_t>(k)];
            Tok t{g.Action, GrepElem::Any, 0, g.Params.data() + 1, &g.Params};
            if (g.Action == taNormal) {
                t.N = std::max(g.NumChars, 0);
            } else if (g.Action == taMult0 || g.Action == taMult1 || g.Action == taOpti) {
                t.El = g.NumChars < 0 ? GrepElem::Set
                                      : (g.NumChars == 0 ? GrepElem::Any : GrepElem::Text);
                t.N = std::max(g.NumChars, 0);
            }
            FTok[static_cast<std::size_t>(k)] = t;
            FScan[static_cast<std::size_t>(k)] = 0;
            FScanFrom[static_cast<std::size_t>(k)] = FL + 2;
            FScanHit[static_cast<std::size_t>(k)] = 0;
            if (t.Act == taNormal && t.N > 0) {
                // A literal can only start where its first one or two characters stand.
                const std::optional<CharPair> c0 = Candidates(t.Text[0], Fold);
                const std::optional<CharPair> c1 =
                    t.N > 1 ? Candidates(t.Text[1], Fold) : std::nullopt;
                if (c0) {
                    const bool pair = t.N > 1 && c1;
                    FFirstChars[static_cast<std::size_t>(k)] = {*c0, pair ? *c1 : *c0};
                    FScan[static_cast<std::size_t>(k)] = pair ? 2 : 1;
                }
            }
        }
        std::fill_n(FAnyFailFrom.begin(), M, FL + 2);
        std::fill_n(FValid.begin(), M, 0);
    }

    // Tries the start positions First..Last in order; true on the first success. After a
    // failure Valid() holds each token's last pass.
    bool Search(Pos First, Pos Last, std::int64_t Budget) {
        FBudget = Budget >= 0 ? Budget : static_cast<std::int64_t>(FL + 3 - First) + 4096;
        // Fixed-width tokens before a final "$" can only match at one start. A success there
        // is the classic match; after a failure the classic walk below meets that start again
        // in its turn and records what it records.
        const Pos only = OnlyStart();
        if (only >= First && only <= Last && Try(0, only)) return true;
        if (StartLoop(First, Last)) return true;
        // A plain walk that ran to its end without skipping repeated work met every pass.
        if (!FAborted && !FPruned) return false;
        FTables.emplace(FTok.data(), FM, FS, FFold, First);
        if (FAborted) {
            FTables->BuildMatch();
            const Pos p = FTables->FirstMatch(0, First, Last);
            if (p != 0) {
                ReadMatch(p);
                return true;
            }
        }
        FindLastPasses(First, Last);
        return false;
    }

    // Token positions of the match found (index 0 is token 1); after a failed search each
    // token's last pass, or 0.
    const std::array<Pos, 64>& Valid() const { return FValid; }
    Pos End() const { return FEnd; }

  private:
    Char At(Pos p) const {
        const Char c = FS[static_cast<std::size_t>(p - 1)];
        return FFold ? detail::FoldAZ(c) : c;
    }

    // The first position from p on (at most Last) where literal token k can start, or Last + 1.
    // The last scan of each token is remembered, so that loops which ask again from a
    // position before its hit cost nothing.
    Pos NextCandidate(Pos k, Pos p, Pos Last) {
        const auto u = static_cast<std::size_t>(k);
        const Pos end = std::min(Last, FL);  // the literal needs a character at its start
        if (p > end) return Last + 1;
        if (p < FScanFrom[u] || p > FScanHit[u]) {
            const Char* s = FS.data() + (p - 1);
            const auto n = static_cast<std::size_t>(FL - p + 1);
            const std::size_t i =
                FScan[u] == 2 ? detail::FindPair16(s, n, FFirstChars[u][0], FFirstChars[u][1])
                              : detail::FindChar16(s, n, FFirstChars[u][0]);
            FScanFrom[u] = p;
            FScanHit[u] = i == n ? FL + 1 : p + static_cast<Pos>(i);
        }
        return FScanHit[u] > end ? Last + 1 : FScanHit[u];
    }

    // The one start at which a pattern of fixed-width tokens ending with "$" can match, or 0.
    Pos OnlyStart() const {
        if (FTok[static_cast<std::size_t>(FM - 1)].Act != taEol) return 0;
        Pos width = 0;
        for (Pos k = 0; k < FM - 1; ++k) {
            const Tok& t = FTok[static_cast<std::size_t>(k)];
            if (t.Act == taNormal)
                width += t.N;
            else if (t.Act == taAnyByte || t.Act == taSet)
                ++width;
            else
                return 0;
        }
        return FL + 1 - width;
    }

    bool StartLoop(Pos First, Pos Last) {
        const Tok& t1 = FTok[0];
        for (Pos p = First; p <= Last; ++p) {
            if (FScan[0] != 0) {
                p = NextCandidate(0, p, Last);
                if (p > Last) break;
            } else if (t1.Act == taNormal && t1.N > 0) {
                const Char c = t1.Text[0];
                while (p <= Last && (p > FL || At(p) != c))
                    ++p;
                if (p > Last) break;
            } else if (FFirstSet) {
                // A set of a few ranges: a vectorised scan to the next member.
                if (p > FL) break;
                const auto n = static_cast<std::size_t>(FL - p + 1);
                const std::size_t i = detail::FindInRanges16(FS.data() + (p - 1), n, *FFirstSet);
                if (i == n) break;
                p += static_cast<Pos>(i);
                if (p > Last) break;
            } else if (t1.Act == taSet || (t1.Act == taMult1 && t1.El == GrepElem::Set)) {
                while (p <= Last && !Member(t1, p))
                    ++p;
                if (p > Last) break;
            }
            if (Try(0, p)) return true;
            if (FAborted) return false;
        }
        return false;
    }

    bool Try(Pos k, Pos p) {
        if (++FSteps > FBudget) {
            FAborted = true;
            return false;
        }
        return Eval(k, p);
    }

    bool Member(const Tok& t, Pos p) const {
        if (p < 1 || p > FL) return false;
        const Char c = At(p);
        return c < 256 && (*t.Table)[c] == u'*';
    }

    bool TextAt(Pos k, Pos p) {
        const Tok& t = FTok[static_cast<std::size_t>(k)];
        if (p < 1 || static_cast<std::int64_t>(p) + t.N - 1 > FL) return false;
        if (t.N == 0) return true;
        if (FTables) return FTables->One(k, p);
        Pos i = 0;
        while (i < t.N && At(p + i) == t.Text[i])
            ++i;
        FSteps += i;
        return i == t.N;
    }

    // One repetition of the element of token k lies at p.
    bool OneAt(Pos k, Pos p) {
        const Tok& t = FTok[static_cast<std::size_t>(k)];
        switch (t.El) {
            case GrepElem::Any:
                return p >= 1 && p <= FL;
            case GrepElem::Set:
                return Member(t, p);
            case GrepElem::Text:
                return TextAt(k, p);
        }
        return false;
    }

    // The token's own test at p.
    bool OwnTest(Pos k, Pos p) {
        const Tok& t = FTok[static_cast<std::size_t>(k)];
        switch (t.Act) {
            case taNormal:
                return TextAt(k, p);
            case taAnyByte:
                return p <= FL;
            case taEol:
                return p > FL;
            case taBol:
                return p == 1;
            case taSet:
                return Member(t, p);
            case taMult1:
                return OneAt(k, p);
            case taMult0:
            case taOpti:
                break;
        }
        return true;
    }

    bool Eval(Pos k, Pos p) {
        const Tok& t = FTok[static_cast<std::size_t>(k)];
        if (!OwnTest(k, p)) return false;
        FValid[static_cast<std::size_t>(k)] = p;
        if (k == FM - 1) {
            FEnd = EndPos(k, p);
            return true;
        }
        const Pos next = k + 1;
        switch (t.Act) {
            case taNormal:
                return Try(next, p + t.N);
            case taAnyByte:
            case taSet:
                return Try(next, p + 1);
            case taBol:
                return Try(next, 1);
            case taEol:  // the compiler never puts a token after the end of the text
                return Try(next, p);
            case taOpti:
                if (Try(next, p)) return true;
                if (FAborted || !OneAt(k, p)) return false;
                return Try(next, p + t.Width());
            case taMult0:
            case taMult1: {
                const Pos from = t.Act == taMult1 ? p + t.Width() : p;
                return t.El == GrepElem::Any ? AnyLoop(k, from) : Chain(k, from);
            }
        }
        return false;
    }

    // Continuations q = From .. L + 1 of an "any character" repetition. Those from the first
    // continuation of an earlier, failed loop on fail again; after the first steps of the walk
    // they are skipped (the walk then no longer meets every pass itself).
    bool AnyLoop(Pos k, Pos From) {
        Pos& failFrom = FAnyFailFrom[static_cast<std::size_t>(k)];
        // A short walk repeats the work, so that it still meets every pass itself.
        const Pos stop = FSteps < kExactSteps ? FL + 1 : std::min(FL + 1, failFrom - 1);
        if (stop < FL + 1) FPruned = true;
        const bool literal = FScan[static_cast<std::size_t>(k + 1)] != 0;
        for (Pos q = From; q <= stop; ++q) {
            if (literal) {
                q = NextCandidate(k + 1, q, stop);  // elsewhere the literal fails at once
                if (q > stop) break;
            }
            if (Try(k + 1, q)) return true;
            if (FAborted) return false;
        }
        failFrom = std::min(failFrom, From);
        return false;
    }

    // Continuations along the unbroken chain of set members or texts from From.
    bool Chain(Pos k, Pos From) {
        const Pos w = FTok[static_cast<std::size_t>(k)].Width();
        for (Pos q = From;; q += w) {
            if (Try(k + 1, q)) return true;
            if (FAborted || !OneAt(k, q)) return false;
        }
    }

    // The classic match that starts at p, read off the dense tables: every token takes the
    // first continuation from which the rest of the pattern matches.
    void ReadMatch(Pos p) {
        const detail::GrepTables& tab = *FTables;
        for (Pos k = 0;; ++k) {
            const Tok& t = FTok[static_cast<std::size_t>(k)];
            FValid[static_cast<std::size_t>(k)] = p;
            if (k == FM - 1) {
                FEnd = EndPos(k, p);
                return;
            }
            switch (t.Act) {
                case taNormal:
                    p += t.N;
                    break;
                case taAnyByte:
                case taSet:
                    ++p;
                    break;
                case taBol:
                    p = 1;
                    break;
                case taEol:
                    break;
                case taOpti:
                    if (!tab.Match(k + 1, p)) p += t.Width();
                    break;
                case taMult0:
                case taMult1: {
                    if (t.Act == taMult1) p += t.Width();
                    if (t.El == GrepElem::Any) {
                        p = tab.FirstMatch(k + 1, p, FL + 1);
                    } else {
                        while (!tab.Match(k + 1, p))
                            p += t.Width();
                    }
                    break;
                }
            }
        }
    }

    // After a failed search: sets Valid() to the position at which each token last passed its
    // own test during the search (0: it never did), as the classic walk leaves it.
    //
    // When nothing matches, the classic walk explores its whole tree of tries. Walking the
    // mirror image of that tree (children in reverse order) and taking each node after its
    // children meets the walk's events in reverse time order, so the first pass met of each
    // token is its last pass. A (token, position) pair is expanded only once: its subtree is
    // the same wherever it comes up, and once it has been walked every token in it has been
    // met. Ranges of "any character" continuations and chains of set or text repetitions that
    // were walked are remembered too, so the whole walk is O(text length x tokens). A token
    // that passes nowhere is never met, and neither is any token after it.
    void FindLastPasses(Pos First, Pos Last) {
        const auto width = static_cast<std::size_t>(FL) + 2;
        FSeen.resize(static_cast<std::size_t>(FM));
        FWalked.resize(static_cast<std::size_t>(FM));
        for (std::size_t k = 0; k < static_cast<std::size_t>(FM); ++k) {
            FSeen[k].Reset(width);
            const Tok& t = FTok[k];
            if (t.Act == taMult0 || t.Act == taMult1) FWalked[k].Reset(width);
        }
        std::fill_n(FAnyFailFrom.begin(), FM, FL + 2);  // here: the walked range starts there
        std::fill_n(FValid.begin(), FM, 0);
        FOpen = 0;
        while (FOpen < FM && FTables->PassesAnywhere(FOpen))
            ++FOpen;
        for (Pos p = Last; p >= First && FOpen > 0; --p)
            Visit(0, p);
    }

    // The mirror walk of FindLastPasses from the pair (k, p).
    void Visit(Pos k, Pos p) {
        const auto u = static_cast<std::size_t>(k);
        if (FSeen[u].Get(p)) return;
        FSeen[u].Set(p);
        if (!FTables->Pass(k, p)) return;
        if (k < FM - 1) VisitChildren(k, p);
        if (FValid[u] == 0 && FOpen > 0) {
            FValid[u] = p;
            --FOpen;
        }
    }

    // The continuations of Eval, last first.
    void VisitChildren(Pos k, Pos p) {
        const Tok& t = FTok[static_cast<std::size_t>(k)];
        const Pos next = k + 1;
        switch (t.Act) {
            case taNormal:
                return Visit(next, p + t.N);
            case taAnyByte:
            case taSet:
                return Visit(next, p + 1);
            case taBol:
                return Visit(next, 1);
            case taEol:
                return Visit(next, p);
            case taOpti:
                if (FTables->One(k, p)) Visit(next, p + t.Width());
                if (FOpen > 0) Visit(next, p);
                return;
            case taMult0:
            case taMult1:
                break;
        }
        const Pos from = t.Act == taMult1 ? p + t.Width() : p;
        if (t.El == GrepElem::Any) {
            // Continuations from..L + 1; those from the walked range's start on were walked.
            Pos& walked = FAnyFailFrom[static_cast<std::size_t>(k)];
            for (Pos q = std::min(FL + 1, walked - 1); q >= from && FOpen > 0; --q)
                Visit(next, q);
            walked = std::min(walked, from);
            return;
        }
        // The chain from..end, up to the first position already walked or the first that holds
        // no repetition (itself a continuation), then walked back.
        Bits& walked = FWalked[static_cast<std::size_t>(k)];
        const Pos w = t.Width();
        Pos q = from;
        while (!walked.Get(q) && FTables->One(k, q))
            q += w;
        if (!walked.Get(q)) {
            Visit(next, q);
            walked.Set(q);
        }
        for (Pos r = q - w; r >= from && FOpen > 0; r -= w) {
            Visit(next, r);
            walked.Set(r);
        }
    }

    Pos EndPos(Pos k, Pos p) {
        const Tok& t = FTok[static_cast<std::size_t>(k)];
        switch (t.Act) {
            case taNormal:
                return p + t.N - 1;
            case taAnyByte:
            case taSet:
                return p;
            case taEol:
                return FL;
            case taBol:
                return 0;  // "^" alone is the empty match at position 1
            case taMult0:
            case taMult1: {
                if (t.El == GrepElem::Any) return FL;
                Pos q = p;
                while (OneAt(k, q))
                    q += t.Width();
                return q - 1;
            }
            case taOpti:
                if (t.El == GrepElem::Any) return p <= FL ? p : FL;
                return OneAt(k, p) ? p + t.Width() - 1 : p - 1;
        }
        return p;
    }

    Pos FM;
    std::u16string_view FS;
    Pos FL;
    bool FFold;
    // Only the first FM elements are used (and set).
    std::array<Tok, 64> FTok;
    std::array<std::uint8_t, 64> FScan;  // 0: no scan; 1: first character; 2: first two
    std::array<std::array<CharPair, 2>, 64> FFirstChars;
    std::array<Pos, 64> FScanFrom, FScanHit;  // the last scan per literal: from, first hit
    std::optional<CharRanges> FFirstSet;      // token 1 as a few ranges, for a vectorised scan
    std::array<Pos, 64> FValid;
    std::array<Pos, 64> FAnyFailFrom;
    std::optional<detail::GrepTables> FTables;
    std::vector<Bits> FSeen, FWalked;
    Pos FOpen = 0;  // tokens whose last pass is still unknown
    bool FAborted = false;
    bool FPruned = false;
    std::int64_t FSteps = 0;
    std::int64_t FBudget = 0;
    Pos FEnd = 0;
};

}  // namespace

namespace detail {

GrepSearchResult GrepSearch(const TRegExp& Tokens, std::int32_t M, std::u16string_view Text,
                            bool Fold, std::int32_t First, std::int32_t Last,
                            std::int64_t PlainBudget, const std::optional<CharRanges>* FirstSet) {
    const std::optional<CharRanges> ranges = FirstSet ? *FirstSet : FirstSetRanges(Tokens, M, Fold);
    Walker w(Tokens, M, Text, Fold, ranges);
    GrepSearchResult r;
    r.Found = w.Search(First, Last, PlainBudget);
    r.Valid = w.Valid();
    r.End = w.End();
    return r;
}

std::optional<CharRanges> FirstSetRanges(const TRegExp& Tokens, std::int32_t M, bool Fold) {
    if (M < 1) return std::nullopt;
    const TGrepToken& t = Tokens[0];
    if (t.Action != taSet && !(t.Action == taMult1 && t.NumChars < 0)) return std::nullopt;
    CharRanges r;
    if (!SetRanges(SetMembers(t.Params, Fold), r)) return std::nullopt;
    return r;
}

}  // namespace detail

bool TGrep::MatchString(std::u16string_view Instring, std::int32_t& MatchPos) {
    TGrepToken& first = FregExp[0];
    if (FLengRegExp == 0) {
        // Nothing compiled: an empty pattern, or one whose compilation failed at once.
        MatchPos = FMatchStartPos = first.ValidFrom;
        return false;
    }
    if (static_cast<std::int64_t>(Instring.size()) > kLongestText)
        Instring = Instring.substr(0, static_cast<std::size_t>(kLongestText));
    const auto L = static_cast<Pos>(Instring.size());

    if (FLengRegExp == 1 && first.Action == taMult0) {
        // A lone "*" token stands for every text.
        if (L < FSrcStartPos && L > 0) return false;
        FMatchStartPos = MatchPos = first.ValidFrom = 1;
        FMatchEndPos = L;
        return true;
    }

    bool found = false;
    const Pos start = std::max(FSrcStartPos, 1);
    if (start <= L + 1) {
        Pos last = start;
        if (first.Action != taBol) last = std::min(std::max(start + 1, L), L + 1);
        if (FFirstSetRanges < 0) {
            const std::optional<detail::CharRanges> r =
                detail::FirstSetRanges(FregExp, FLengRegExp, FIgnoreCase);
            FFirstSetRanges = r ? r->Count : 0;
            for (int i = 0; r && i < r->Count; ++i) {
                FFirstSetBounds[static_cast<std::size_t>(2 * i)] = r->Lo[i];
                FFirstSetBounds[static_cast<std::size_t>(2 * i + 1)] = r->Hi[i];
            }
        }
        std::optional<detail::CharRanges> ranges;
        if (FFirstSetRanges > 0) {
            ranges.emplace();
            ranges->Count = FFirstSetRanges;
            for (int i = 0; i < FFirstSetRanges; ++i) {
                ranges->Lo[i] = FFirstSetBounds[static_cast<std::size_t>(2 * i)];
                ranges->Hi[i] = FFirstSetBounds[static_cast<std::size_t>(2 * i + 1)];
            }
        }
        const detail::GrepSearchResult r = detail::GrepSearch(
            FregExp, FLengRegExp, Instring, FIgnoreCase, start, last, -1, &ranges);
        found = r.Found;
        const std::array<Pos, 64>& valid = r.Valid;
        if (found) {
            for (Pos k = 0; k < FLengRegExp; ++k)
                FregExp[static_cast<std::size_t>(k)].ValidFrom = valid[static_cast<std::size_t>(k)];
            FMatchEndPos = r.End;
        } else {
            // Each token keeps what it had unless it passed its own test in this search.
            for (Pos k = 0; k < FLengRegExp; ++k)
                if (valid[static_cast<std::size_t>(k)] != 0)
                    FregExp[static_cast<std::size_t>(k)].ValidFrom =
                        valid[static_cast<std::size_t>(k)];
        }
    }
    MatchPos = FMatchStartPos = first.ValidFrom;
    return found;
}

}  // namespace qorkit
