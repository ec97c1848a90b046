// The matcher's dense tables: one bit per position and token, computed a word at a time.
#include "grep_tables.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "char_scan.h"
#include "substring_finder.h"

namespace qorkit::detail {

namespace {

// Texts up to this length are found by combining the tables of their characters; longer ones
// by one Knuth-Morris-Pratt pass.
constexpr GrepPos kCombinedText = 8;

bool SameText(const GrepTok& a, const GrepTok& b) {
    return a.N == b.N && std::equal(a.Text, a.Text + a.N, b.Text);
}

}  // namespace

SetBits SetMembers(const TCharArr256& Table, bool Fold) noexcept {
    SetBits bits{};
    MatchMask16(Table.data(), 256, CharPair{u'*', u'*'}, bits.data());
    if (Fold) {
        // A to Z (bits 1 to 26 of the second word) read as a to z (bits 33 to 58).
        constexpr std::uint64_t kLetters = std::uint64_t{0x3FFFFFF} << 1;
        bits[1] = (bits[1] & ~kLetters) | ((bits[1] >> 32) & kLetters);
    }
    return bits;
}

bool SetRanges(const SetBits& Members, CharRanges& Out) noexcept {
    auto member = [&](unsigned c) { return (Members[c / 64] >> (c % 64)) & 1u; };
    Out.Count = 0;
    for (unsigned c = 0; c < 256;) {
        if (Members[c / 64] >> (c % 64) == 0) {  // nothing more in this word
            c = (c / 64 + 1) * 64;
            continue;
        }
        c += static_cast<unsigned>(__builtin_ctzll(Members[c / 64] >> (c % 64)));
        unsigned e = c;
        while (e + 1 < 256 && member(e + 1)) {
            // Skip to the last member of the run within this word.
            const std::uint64_t rest = ~(Members[(e + 1) / 64] >> ((e + 1) % 64));
            const unsigned run =
                rest == 0 ? 64 - (e + 1) % 64 : static_cast<unsigned>(__builtin_ctzll(rest));
            e += std::min(run, 64 - (e + 1) % 64);
        }
        if (Out.Count == CharRanges::kMax) return false;
        Out.Lo[Out.Count] = static_cast<Char>(c);
        Out.Hi[Out.Count] = static_cast<Char>(e);
        ++Out.Count;
        c = e + 1;
    }
    return true;
}

GrepTables::GrepTables(const GrepTok* Toks, GrepPos M, std::u16string_view Text, bool Fold,
                       GrepPos First)
    : FToks(Toks),
      FM(M),
      FS(Text),
      FL(static_cast<GrepPos>(Text.size())),
      FFold(Fold),
      FFirst(First),
      FBase((First - 1) / 64 * 64) {
    FUsed = static_cast<std::size_t>(FL - FBase) / 64 + 1;
    FWords = FUsed + 5;  // a shift reads up to four words beyond its own (texts of 255 at most)
    FAll = Positions(First, FL + 1);
    FInText = Positions(First, FL);
    std::vector<std::size_t> texts, sets;  // tokens whose tables were built, for sharing
    auto elementOf = [&](GrepPos k) -> std::size_t {
        const GrepTok& t = FToks[k];
        const bool repeat = t.Act == taMult0 || t.Act == taMult1 || t.Act == taOpti;
        if (t.Act == taSet || (repeat && t.El == GrepElem::Set)) {
            for (std::size_t s : sets)
                if (*FToks[s].Table == *t.Table) return FOne[s];
            sets.push_back(static_cast<std::size_t>(k));
            return SetTable(t);
        }
        if (t.Act == taNormal || (repeat && t.El == GrepElem::Text)) {
            if (t.N == 0) return FAll;
            for (std::size_t s : texts)
                if (SameText(FToks[s], t)) return FOne[s];
            texts.push_back(static_cast<std::size_t>(k));
            return TextTable(t);
        }
        return FInText;  // any character (unused by "^" and "$")
    };
    for (GrepPos k = 0; k < M; ++k) {
        const GrepTok& t = FToks[k];
        FOne.push_back(elementOf(k));
        switch (t.Act) {
            case taMult0:
            case taOpti:
                FPass.push_back(FAll);
                break;
            case taEol:
                FPass.push_back(Positions(FL + 1, FL + 1));
                break;
            case taBol:
                FPass.push_back(Positions(1, 1));
                break;
            default:
                FPass.push_back(FOne.back());
        }
    }
}

std::size_t GrepTables::NewTable() {
    FTab.emplace_back(FWords, 0);
    return FTab.size() - 1;
}

std::size_t GrepTables::Positions(GrepPos From, GrepPos To) {
    const std::size_t t = NewTable();
    From = std::max(From, FFirst);
    To = std::min(To, FL + 1);
    for (GrepPos p = From; p <= To;) {
        const auto j = static_cast<std::size_t>(p - 1 - FBase);
        if (j % 64 == 0 && p + 63 <= To) {
            FTab[t][j / 64] = ~std::uint64_t{0};
            p += 64;
        } else {
            FTab[t][j / 64] |= std::uint64_t{1} << (j % 64);
            ++p;
        }
    }
    return t;
}

std::size_t GrepTables::CharTable(Char c) {
    const std::size_t t = NewTable();
    if (FFold && c >= u'A' && c <= u'Z') return t;  // no folded text character is upper-case
    const CharPair pair{c, FFold && c >= u'a' && c <= u'z' ? static_cast<Char>(c - 32) : c};
    MatchMask16(FS.data() + FBase, static_cast<std::size_t>(FL - FBase), pair, FTab[t].data());
    return t;
}

std::size_t GrepTables::TextTable(const GrepTok& tok) {
    if (tok.N <= kCombinedText) {
        // Every character in its place: the characters' tables, each shifted by its offset.
        const std::size_t t = CharTable(tok.Text[0]);
        for (GrepPos i = 1; i < tok.N; ++i) {
            const std::size_t c = CharTable(tok.Text[i]);
            Table shifted(FWords, 0);
            ShiftInto(shifted, FTab[c], i);
            for (std::size_t w = 0; w < FUsed; ++w)
                FTab[t][w] &= shifted[w];
            FTab.pop_back();
        }
        Clip(FTab[t]);
        return t;
    }
    const std::size_t t = NewTable();
    const auto n = static_cast<std::size_t>(tok.N);
    std::vector<std::size_t> border(n + 1, 0);
    for (std::size_t i = 1, b = 0; i < n; ++i) {
        while (b > 0 && tok.Text[i] != tok.Text[b])
            b = border[b];
        if (tok.Text[i] == tok.Text[b]) ++b;
        border[i + 1] = b;
    }
    std::size_t b = 0;
    for (GrepPos p = FBase + 1; p <= FL; ++p) {
        Char c = FS[static_cast<std::size_t>(p - 1)];
        if (FFold) c = FoldAZ(c);
        while (b > 0 && (b == n || c != tok.Text[b]))
            b = border[b];
        if (c == tok.Text[b]) ++b;
        if (b == n) {
            const auto j = static_cast<std::size_t>(p - static_cast<GrepPos>(n) - FBase);
            FTab[t][j / 64] |= std::uint64_t{1} << (j % 64);
        }
    }
    Clip(FTab[t]);
    return t;
}

std::size_t GrepTables::SetTable(const GrepTok& tok) {
    const SetBits member = SetMembers(*tok.Table, FFold);
    const std::size_t t = NewTable();
    const Char* s = FS.data() + FBase;
    const auto n = static_cast<std::size_t>(FL - FBase);
    CharRanges ranges;
    if (SetRanges(member, ranges)) {
        RangesMask16(s, n, ranges, FTab[t].data());
    } else {
        for (std::size_t w = 0; w * 64 < n; ++w) {
            std::uint64_t bits = 0;
            const std::size_t end = std::min<std::size_t>(64, n - w * 64);
            for (std::size_t j = 0; j < end; ++j) {
                const Char c = s[w * 64 + j];
                const std::uint64_t in = c < 256 ? member[c / 64] >> (c % 64) & 1u : 0;
                bits |= in << j;
            }
            FTab[t][w] = bits;
        }
    }
    Clip(FTab[t]);
    return t;
}

void GrepTables::ShiftInto(Table& Dst, const Table& Src, GrepPos n) const {
    const auto q = static_cast<std::size_t>(n) / 64;
    const auto r = static_cast<unsigned>(n) % 64;
    for (std::size_t w = 0; w < FUsed; ++w)
        Dst[w] = r == 0 ? Src[w + q] : (Src[w + q] >> r) | (Src[w + q + 1] << (64 - r));
}

// G[p] = X[p] or (O[p] and G[p + w]), from the end of the text down: the positions from which
// an unbroken chain of elements leads to a position of X.
void GrepTables::Fill(Table& G, const Table& X, const Table& O, GrepPos w) const {
    if (w == 1) {
        std::uint64_t carry = 0;  // G at the lowest position of the word above
        for (std::size_t i = FUsed; i-- > 0;) {
            std::uint64_t a = O[i];
            std::uint64_t y = X[i] | (a & (carry << 63));
            for (unsigned s = 1; s < 64; s *= 2) {
                y |= a & (y >> s);
                a &= a >> s;
            }
            G[i] = y;
            carry = y & 1u;
        }
        return;
    }
    const auto step = static_cast<std::size_t>(w);
    for (std::size_t j = FUsed * 64; j-- > 0;) {
        const bool up = (G[(j + step) / 64] >> ((j + step) % 64)) & 1u;
        const bool x = (X[j / 64] >> (j % 64)) & 1u;
        const bool o = (O[j / 64] >> (j % 64)) & 1u;
        if (x || (o && up)) G[j / 64] |= std::uint64_t{1} << (j % 64);
    }
}

void GrepTables::Clip(Table& t) const {
    const auto lo = static_cast<unsigned>(FFirst - 1 - FBase);  // 0..63
    if (lo > 0) t[0] &= ~std::uint64_t{0} << lo;
    const auto hi = static_cast<std::size_t>(FL - FBase);  // the bit of position L + 1
    if (hi % 64 != 63) t[hi / 64] &= (std::uint64_t{1} << (hi % 64 + 1)) - 1;
    std::fill(t.begin() + static_cast<std::ptrdiff_t>(FUsed), t.end(), 0);
}

void GrepTables::BuildMatch() {
    FMatch.assign(static_cast<std::size_t>(FM), 0);
    Table tmp(FWords, 0);
    for (GrepPos k = FM - 1; k >= 0; --k) {
        const GrepTok& t = FToks[k];
        const std::size_t one = FOne[Ix(k)];
        std::size_t m = 0;
        if (k == FM - 1) {
            m = NewTable();
            FTab[m] = FTab[FPass[Ix(k)]];
        } else {
            const std::size_t nx = FMatch[Ix(k + 1)];
            switch (t.Act) {
                case taNormal:
                case taAnyByte:
                case taSet:
                    m = NewTable();
                    ShiftInto(FTab[m], FTab[nx], t.Act == taNormal ? t.N : 1);
                    for (std::size_t w = 0; w < FUsed; ++w)
                        FTab[m][w] &= FTab[one][w];
                    break;
                case taBol:
                    m = Positions(1, Get(nx, 1) ? 1 : 0);
                    break;
                case taEol:
                    m = Positions(FL + 1, Get(nx, FL + 1) ? FL + 1 : 0);
                    break;
                case taOpti:
                    m = NewTable();
                    ShiftInto(tmp, FTab[nx], t.Width());
                    for (std::size_t w = 0; w < FUsed; ++w)
                        FTab[m][w] = FTab[nx][w] | (FTab[one][w] & tmp[w]);
                    break;
                case taMult0:
                case taMult1:
                    if (t.El == GrepElem::Any) {
                        // Any continuation from p on: every p up to the last one.
                        GrepPos last = 0;
                        for (std::size_t w = FUsed; w-- > 0 && last == 0;)
                            if (FTab[nx][w] != 0)
                                last = FBase + 1 + static_cast<GrepPos>(w * 64) + 63 -
                                       static_cast<GrepPos>(__builtin_clzll(FTab[nx][w]));
                        if (last == 0) last = FFirst - 1;
                        m = t.Act == taMult0 ? Positions(FFirst, last)
                                             : Positions(FFirst, std::min(FL, last - 1));
                        break;
                    }
                    m = NewTable();
                    Fill(FTab[m], FTab[nx], FTab[one], t.Width());
                    if (t.Act == taMult1) {
                        ShiftInto(tmp, FTab[m], t.Width());
                        for (std::size_t w = 0; w < FUsed; ++w)
                            FTab[m][w] = FTab[one][w] & tmp[w];
                    }
                    break;
            }
        }
        Clip(FTab[m]);
        FMatch[Ix(k)] = m;
    }
}

bool GrepTables::PassesAnywhere(GrepPos k) const noexcept {
    const Table& t = FTab[FPass[Ix(k)]];
    return std::any_of(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(FUsed),
                       [](std::uint64_t w) { return w != 0; });
}

GrepPos GrepTables::FirstMatch(GrepPos k, GrepPos From, GrepPos To) const noexcept {
    From = std::max(From, FFirst);
    To = std::min(To, FL + 1);
    if (From > To) return 0;
    const Table& t = FTab[FMatch[Ix(k)]];
    auto j = static_cast<std::size_t>(From - 1 - FBase);
    std::uint64_t word = t[j / 64] & (~std::uint64_t{0} << (j % 64));
    for (std::size_t w = j / 64;;) {
        if (word != 0) {
            const GrepPos p = FBase + 1 + static_cast<GrepPos>(w * 64) +
                              static_cast<GrepPos>(__builtin_ctzll(word));
            return p <= To ? p : 0;
        }
        if (++w >= FUsed) return 0;
        word = t[w];
    }
}

}  // namespace qorkit::detail
