// Counting, replacing, removing and locating characters and substrings.
#include "qorkit/strings/string_search.h"

#include "substring_finder.h"

namespace qorkit {

namespace {

using detail::kNoMatch;
using detail::SubstringFinder;

std::int32_t ToPos(std::size_t index) {
    return static_cast<std::int32_t>(index + 1);
}

// Reads `S` front to back.
struct Forward {
    std::u16string_view S;
    Char operator()(std::size_t i) const { return S[i]; }
};

// Reads `S` back to front, so that a forward scan of the reversed text is a backward scan.
struct Backward {
    std::u16string_view S;
    Char operator()(std::size_t i) const { return S[S.size() - 1 - i]; }
};

template <bool Fold>
std::int32_t CountOccurrences(std::u16string_view Sub, std::u16string_view S) {
    const SubstringFinder<Fold> finder(Sub);
    std::int32_t count = 0;
    for (std::size_t i = finder.Find(Forward{S}, S.size(), 0); i != kNoMatch;
         i = finder.Find(Forward{S}, S.size(), i + Sub.size()))
        ++count;
    return count;
}

template <bool Fold>
String ReplaceAll(std::u16string_view S, std::u16string_view OldStr, std::u16string_view NewStr) {
    const SubstringFinder<Fold> finder(OldStr);
    std::size_t i = finder.Find(Forward{S}, S.size(), 0);
    if (i == kNoMatch) return String(S);
    String result;
    result.reserve(S.size());
    std::size_t done = 0;  // S[0, done) has been copied or replaced
    for (; i != kNoMatch; i = finder.Find(Forward{S}, S.size(), done)) {
        result.append(S.substr(done, i - done));
        result.append(NewStr);
        done = i + OldStr.size();
    }
    result.append(S.substr(done));
    return result;
}

// Index of the N-th (N >= 1) non-overlapping occurrence found from index `from` on.
template <bool Fold, class Accessor>
std::size_t NthOccurrence(std::u16string_view Sub, const Accessor& text, std::size_t size,
                          std::size_t from, std::int32_t N) {
    const SubstringFinder<Fold> finder(Sub);
    std::size_t i = finder.Find(text, size, from);
    while (i != kNoMatch && --N > 0)
        i = finder.Find(text, size, i + Sub.size());
    return i;
}

}  // namespace

std::int32_t CountStringInString(std::u16string_view Sub, std::u16string_view S, bool Exact) {
    if (Sub.empty()) return 0;
    return Exact ? CountOccurrences<false>(Sub, S) : CountOccurrences<true>(Sub, S);
}

std::int32_t CountCharInString(Char C, std::u16string_view S, bool Exact) {
    std::int32_t count = 0;
    if (Exact) {
        for (Char c : S)
            count += c == C;
    } else {
        const Char folded = detail::FoldAZ(C);
        for (Char c : S)
            count += detail::FoldAZ(c) == folded;
    }
    return count;
}

String ReplaceCharInString(std::u16string_view S, Char OldChar, Char NewChar) {
    String result(S);
    for (Char& c : result)
        if (c == OldChar) c = NewChar;
    return result;
}

String ReplaceStringInString(std::u16string_view S, std::u16string_view OldStr,
                             std::u16string_view NewStr, bool IgnoreCase) {
    // The found occurrence is deleted and the new text inserted, and the search resumes
    // behind the insertion: what follows is always an untouched suffix of S. So the result is
    // S with its non-overlapping occurrences (found left to right) replaced, built in one pass.
    if (OldStr.empty()) return String(S);
    return IgnoreCase ? ReplaceAll<true>(S, OldStr, NewStr) : ReplaceAll<false>(S, OldStr, NewStr);
}

String RemoveCharInString(std::u16string_view S, Char C) {
    String result;
    result.reserve(S.size());
    for (Char c : S)
        if (c != C) result.push_back(c);
    return result;
}

String RemoveMultiChars(std::u16string_view S, Char C) {
    String result;
    result.reserve(S.size());
    for (std::size_t i = 0; i < S.size(); ++i)
        if (S[i] != C || i == 0 || S[i - 1] != C) result.push_back(S[i]);
    return result;
}

String RemoveControlChars(std::u16string_view S) {
    String result;
    result.reserve(S.size());
    for (Char c : S)
        if (c >= 32) result.push_back(c);
    return result;
}

std::int32_t NumberedPos(std::u16string_view Sub, std::u16string_view S, std::int32_t Start,
                         std::int32_t N, bool IgnoreCase) {
    if (N <= 0 || Sub.empty()) return 0;
    const std::size_t from = Start < 1 ? 0 : static_cast<std::size_t>(Start) - 1;
    if (from >= S.size()) return 0;
    const std::size_t i = IgnoreCase ? NthOccurrence<true>(Sub, Forward{S}, S.size(), from, N)
                                     : NthOccurrence<false>(Sub, Forward{S}, S.size(), from, N);
    return i == kNoMatch ? 0 : ToPos(i);
}

std::int32_t NumberedPosBw(std::u16string_view Sub, std::u16string_view S, std::int32_t Start,
                           std::int32_t N, bool IgnoreCase) {
    if (N <= 0 || Sub.empty() || S.empty()) return 0;
    const std::int32_t length = static_cast<std::int32_t>(S.size());
    const std::int32_t start = Start < 1 ? 1 : (Start > length ? length : Start);
    // Search the reversed text with the reversed pattern from the index that stands for
    // `start`; occurrences there end at or before `start` in S.
    const String reversedSub(Sub.rbegin(), Sub.rend());
    const std::size_t from = static_cast<std::size_t>(length - start);
    const std::size_t r = IgnoreCase
                              ? NthOccurrence<true>(reversedSub, Backward{S}, S.size(), from, N)
                              : NthOccurrence<false>(reversedSub, Backward{S}, S.size(), from, N);
    if (r == kNoMatch) return 0;
    // The match covers reversed indices r .. r+m-1, that is S indices size-r-m .. size-1-r.
    return ToPos(S.size() - r - Sub.size());
}

std::int32_t PosLast(std::u16string_view Sub, std::u16string_view S) {
    if (Sub.empty()) return 0;
    const SubstringFinder<false> finder(Sub);
    std::size_t last = kNoMatch;
    for (std::size_t i = finder.Find(Forward{S}, S.size(), 0); i != kNoMatch;
         i = finder.Find(Forward{S}, S.size(), i + Sub.size()))
        last = i;
    return last == kNoMatch ? 0 : ToPos(last);
}

std::int32_t FindFirstNonBlank(std::u16string_view S) {
    const std::size_t i = S.find_first_not_of(u' ');
    return i == std::u16string_view::npos ? 0 : ToPos(i);
}

std::int32_t FindFirstDigit(std::u16string_view S) {
    for (std::size_t i = 0; i < S.size(); ++i)
        if (S[i] >= u'0' && S[i] <= u'9') return ToPos(i);
    return 0;
}

}  // namespace qorkit
