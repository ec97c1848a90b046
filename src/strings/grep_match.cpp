// TGrep::MatchString: the classic backtracking order, bounded to O(text x tokens) time.
//
// Whether the pattern from token k on matches with token k at position p depends only on k,
// p and the text. The walk below visits (token, position) pairs in exactly the classic order,
// so its first success is the classic match. Two facts keep it cheap: a pair that failed
// always fails again (a memo of failed pairs, and of failed repetition chains), and an "any
// character" repetition whose continuations failed from q on will fail from every later q
// too. The memo costs O(L x m) bits, so the walk first runs without it under a step budget
// proportional to L x m and only restarts with it when the budget runs out; a match found
// early therefore costs what a plain backtracking walk costs.
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "grep_search.h"
#include "qorkit/strings/grep.h"
#include "substring_finder.h"

namespace qorkit {

namespace {

using Pos = std::int32_t;
constexpr std::int64_t kLongestText = std::numeric_limits<Pos>::max() - 1024;

enum class Elem : std::uint8_t { Any, Set, Text };

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
    bool Empty() const { return FWords.empty(); }

  private:
    std::vector<std::uint64_t> FWords;
};

struct Tok {
    TGrepTokenAct Act;
    Elem El;                   // the element of a repetition or option
    Pos N;                     // text length (taNormal, or a repeated text)
    const Char* Text;          // the token's characters, Text[0..N-1]
    const TCharArr256* Table;  // membership table
};

class Walker {
  public:
    Walker(const TRegExp& Re, Pos M, std::u16string_view S, bool Fold)
        : FM(M), FS(S), FL(static_cast<Pos>(S.size())), FFold(Fold) {
        for (Pos k = 0; k < M; ++k) {
            const TGrepToken& g = Re[static_cast<std::size_t>(k)];
            Tok t{g.Action, Elem::Any, 0, g.Params.data() + 1, &g.Params};
            if (g.Action == taNormal) {
                t.N = std::max(g.NumChars, 0);
            } else if (g.Action == taMult0 || g.Action == taMult1 || g.Action == taOpti) {
                t.El = g.NumChars < 0 ? Elem::Set : (g.NumChars == 0 ? Elem::Any : Elem::Text);
                t.N = std::max(g.NumChars, 0);
            }
            FTok[static_cast<std::size_t>(k)] = t;
        }
        std::fill_n(FAnyFailFrom.begin(), M, FL + 2);
        std::fill_n(FValid.begin(), M, 0);
    }

    // Tries the start positions First..Last in order; true on the first success.
    bool Search(Pos First, Pos Last, std::int64_t Budget) {
        FBudget =
            Budget >= 0 ? Budget : 8 * static_cast<std::int64_t>(FM + 2) * (FL + 3 - First) + 4096;
        if (StartLoop(First, Last)) return true;
        if (!FAborted) return false;
        // The plain walk ran out of budget: the same walk again, with the memo.
        FAborted = false;
        FMemo = true;
        ResetPairBits(FFailed);
        FValid[0] = 0;
        return StartLoop(First, Last);
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
    // were walked are remembered too, so the whole walk is O(text length x tokens).
    void FindLastPasses(Pos First, Pos Last) {
        ResetPairBits(FSeen);  // the chain bits now mark chains walked from there on
        std::fill_n(FAnyFailFrom.begin(), FM, FL + 2);  // here: the walked range starts there
        std::fill_n(FValid.begin(), FM, 0);
        FOpen = FM;
        for (Pos p = Last; p >= First && FOpen > 0; --p)
            Visit(0, p);
    }

    // Token positions of the match found (index 0 is token 1); after a failed search index 0
    // holds the last start at which token 1 passed its own test, or 0.
    const std::array<Pos, 64>& Valid() const { return FValid; }
    Pos End() const { return FEnd; }

  private:
    Char At(Pos p) const {
        const Char c = FS[static_cast<std::size_t>(p - 1)];
        return FFold ? detail::FoldAZ(c) : c;
    }

    bool StartLoop(Pos First, Pos Last) {
        const Tok& t1 = FTok[0];
        for (Pos p = First; p <= Last; ++p) {
            if (t1.Act == taNormal && t1.N > 0) {
                // Only a position holding the literal's first character can pass.
                const Char c = t1.Text[0];
                while (p <= Last && (p > FL || At(p) != c))
                    ++p;
                if (p > Last) break;
            } else if (t1.Act == taSet || (t1.Act == taMult1 && t1.El == Elem::Set)) {
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
        const auto u = static_cast<std::size_t>(k);
        if (FMemo) {
            if (FFailed[u].Get(p)) return false;
        } else if (++FSteps > FBudget) {
            FAborted = true;
            return false;
        }
        const bool r = Eval(k, p);
        if (!r && FMemo) FFailed[u].Set(p);
        return r;
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
        if (FHaveOcc) return FOcc[static_cast<std::size_t>(k)].Get(p);
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
            case Elem::Any:
                return p >= 1 && p <= FL;
            case Elem::Set:
                return Member(t, p);
            case Elem::Text:
                return TextAt(k, p);
        }
        return false;
    }

    static Pos Width(const Tok& t) { return t.El == Elem::Text ? t.N : 1; }

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
                return Try(next, p + Width(t));
            case taMult0:
            case taMult1: {
                const Pos from = t.Act == taMult1 ? p + Width(t) : p;
                return t.El == Elem::Any ? AnyLoop(k, from) : Chain(k, from);
            }
        }
        return false;
    }

    // Continuations q = From .. L + 1 of an "any character" repetition.
    bool AnyLoop(Pos k, Pos From) {
        Pos& failFrom = FAnyFailFrom[static_cast<std::size_t>(k)];
        const Pos stop = std::min(FL + 1, failFrom - 1);
        for (Pos q = From; q <= stop; ++q) {
            if (Try(k + 1, q)) return true;
            if (FAborted) return false;
        }
        failFrom = std::min(failFrom, From);
        return false;
    }

    // Continuations along the unbroken chain of set members or texts from From.
    bool Chain(Pos k, Pos From) {
        const Tok& t = FTok[static_cast<std::size_t>(k)];
        const Pos w = Width(t);
        Bits* known = FMemo ? &FChainFail[static_cast<std::size_t>(k)] : nullptr;
        Pos q = From;
        bool ranInto = false;
        for (;;) {
            if (known && known->Get(q)) {
                ranInto = true;
                break;
            }
            if (Try(k + 1, q)) return true;
            if (FAborted) return false;
            if (!OneAt(k, q)) break;
            q += w;
        }
        if (known) {
            for (Pos r = From; r < q; r += w)
                known->Set(r);
            if (!ranInto) known->Set(q);
        }
        return false;
    }

    // One cleared bit per (token, position) in `pairs`, cleared chain bits for the repetitions,
    // and the occurrences of every text token.
    void ResetPairBits(std::vector<Bits>& pairs) {
        const auto width = static_cast<std::size_t>(FL) + 2;
        pairs.resize(static_cast<std::size_t>(FM));
        FChainFail.resize(static_cast<std::size_t>(FM));
        for (std::size_t k = 0; k < static_cast<std::size_t>(FM); ++k) {
            pairs[k].Reset(width);
            const Tok& t = FTok[k];
            if (t.Act == taMult0 || t.Act == taMult1) FChainFail[k].Reset(width);
        }
        FindOccurrences();
    }

    // The mirror walk of FindLastPasses from the pair (k, p).
    void Visit(Pos k, Pos p) {
        const auto u = static_cast<std::size_t>(k);
        if (FSeen[u].Get(p)) return;
        FSeen[u].Set(p);
        if (!OwnTest(k, p)) return;
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
                if (OneAt(k, p)) Visit(next, p + Width(t));
                if (FOpen > 0) Visit(next, p);
                return;
            case taMult0:
            case taMult1:
                break;
        }
        const Pos from = t.Act == taMult1 ? p + Width(t) : p;
        if (t.El == Elem::Any) {
            // Continuations from..L + 1; those from the walked range's start on were walked.
            Pos& walked = FAnyFailFrom[static_cast<std::size_t>(k)];
            for (Pos q = std::min(FL + 1, walked - 1); q >= from && FOpen > 0; --q)
                Visit(next, q);
            walked = std::min(walked, from);
            return;
        }
        // The chain from..end, up to the first position already walked or the first that holds
        // no repetition (itself a continuation), then walked back.
        Bits& walked = FChainFail[static_cast<std::size_t>(k)];
        const Pos w = Width(t);
        Pos q = from;
        while (!walked.Get(q) && OneAt(k, q))
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
                if (t.El == Elem::Any) return FL;
                Pos q = p;
                while (OneAt(k, q))
                    q += Width(t);
                return q - 1;
            }
            case taOpti:
                if (t.El == Elem::Any) return p <= FL ? p : FL;
                return OneAt(k, p) ? p + Width(t) - 1 : p - 1;
        }
        return p;
    }

    void FindOccurrences() {
        if (FHaveOcc) return;
        FOcc.resize(static_cast<std::size_t>(FM));
        for (std::size_t k = 0; k < static_cast<std::size_t>(FM); ++k)
            if (FTok[k].N > 0) Occurrences(FTok[k], FOcc[k]);
        FHaveOcc = true;
    }

    // Every position at which the token's text lies, by Knuth-Morris-Pratt over the text.
    void Occurrences(const Tok& t, Bits& occ) const {
        occ.Reset(static_cast<std::size_t>(FL) + 2);
        const auto n = static_cast<std::size_t>(t.N);
        std::vector<std::size_t> border(n + 1, 0);
        for (std::size_t i = 1, b = 0; i < n; ++i) {
            while (b > 0 && t.Text[i] != t.Text[b])
                b = border[b];
            if (t.Text[i] == t.Text[b]) ++b;
            border[i + 1] = b;
        }
        std::size_t b = 0;
        for (Pos p = 1; p <= FL; ++p) {
            const Char c = At(p);
            while (b > 0 && (b == n || c != t.Text[b]))
                b = border[b];
            if (c == t.Text[b]) ++b;
            if (b == n) occ.Set(p - static_cast<Pos>(n) + 1);
        }
    }

    Pos FM;
    std::u16string_view FS;
    Pos FL;
    bool FFold;
    // Only the first FM elements are used (and set).
    std::array<Tok, 64> FTok;
    std::array<Pos, 64> FValid;
    std::array<Pos, 64> FAnyFailFrom;
    std::vector<Bits> FFailed, FChainFail, FOcc, FSeen;
    bool FMemo = false;
    bool FHaveOcc = false;
    Pos FOpen = 0;  // tokens whose last pass is still unknown
    bool FAborted = false;
    std::int64_t FSteps = 0;
    std::int64_t FBudget = 0;
    Pos FEnd = 0;
};

}  // namespace

namespace detail {

GrepSearchResult GrepSearch(const TRegExp& Tokens, std::int32_t M, std::u16string_view Text,
                            bool Fold, std::int32_t First, std::int32_t Last,
                            std::int64_t PlainBudget) {
    Walker w(Tokens, M, Text, Fold);
    GrepSearchResult r;
    r.Found = w.Search(First, Last, PlainBudget);
    if (!r.Found) w.FindLastPasses(First, Last);
    r.Valid = w.Valid();
    r.End = w.End();
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
        const detail::GrepSearchResult r =
            detail::GrepSearch(FregExp, FLengRegExp, Instring, FIgnoreCase, start, last);
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
