#include <gtest/gtest.h>

#include <random>

#include "qorkit/strings/string_search.h"

using namespace qorkit;

namespace {

// Literal models of the search functions: whole-string lower-casing, repeated searches and,
// for the replacement, delete-and-insert on a working copy.
String LowerAZ(String s) {
    for (Char& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<Char>(c + 32);
    return s;
}

std::int32_t ModelNumberedPos(String sub, String s, std::int32_t start, std::int32_t n, bool ic) {
    if (n <= 0 || sub.empty()) return 0;
    if (ic) {
        sub = LowerAZ(sub);
        s = LowerAZ(s);
    }
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    std::int32_t found = 0;
    for (; n > 0; --n) {
        if (from > s.size()) return 0;
        const std::size_t q = s.find(sub, from);
        if (q == String::npos) return 0;
        found = static_cast<std::int32_t>(q + 1);
        from = q + sub.size();
    }
    return found;
}

std::int32_t ModelNumberedPosBw(const String& sub, const String& s, std::int32_t start,
                                std::int32_t n, bool ic) {
    const auto len = static_cast<std::int32_t>(s.size());
    if (len == 0) return 0;
    start = std::clamp(start, 1, len);
    const String rs(s.rbegin(), s.rend());
    const String rsub(sub.rbegin(), sub.rend());
    const std::int32_t q = ModelNumberedPos(rsub, rs, len - start + 1, n, ic);
    return q == 0 ? 0 : len - q - static_cast<std::int32_t>(sub.size()) + 2;
}

String ModelReplace(String s, const String& oldStr, const String& newStr, bool ic) {
    std::int32_t pos = 1;
    while (true) {
        const std::int32_t q = ModelNumberedPos(oldStr, s, pos, 1, ic);
        if (q == 0) return s;
        s.erase(static_cast<std::size_t>(q - 1), oldStr.size());
        s.insert(static_cast<std::size_t>(q - 1), newStr);
        pos = q + static_cast<std::int32_t>(newStr.size());
    }
}

String RandomText(std::mt19937& rng, std::size_t maxLen, std::u16string_view alphabet) {
    String s(rng() % (maxLen + 1), u' ');
    for (Char& c : s)
        c = alphabet[rng() % alphabet.size()];
    return s;
}

}  // namespace

TEST(StringSearch, CountingIsNonOverlappingAndFoldsOnlyAToZ) {
    EXPECT_EQ(CountStringInString(u"aa", u"aaaa", true), 2);
    EXPECT_EQ(CountStringInString(u"aa", u"aaaaa", true), 2);
    EXPECT_EQ(CountStringInString(u"AB", u"abAB", false), 2);
    EXPECT_EQ(CountStringInString(u"AB", u"abAB", true), 1);
    EXPECT_EQ(CountStringInString(u"", u"abc", true), 0);
    EXPECT_EQ(CountStringInString(u"a", u"", false), 0);
    EXPECT_EQ(CountStringInString(u"abc", u"ab", true), 0);
    EXPECT_EQ(CountStringInString(u"\u00E4", u"\u00C4\u00E4", false), 1);  // no folding of Ä
    EXPECT_EQ(CountCharInString(u'a', u"aAbA", true), 1);
    EXPECT_EQ(CountCharInString(u'a', u"aAbA", false), 3);
    EXPECT_EQ(CountCharInString(u'A', u"aAbA", false), 3);
    EXPECT_EQ(CountCharInString(u'@', u"@`", false), 1);  // 64 and 96 are not a case pair
    EXPECT_EQ(CountCharInString(u'\u00FF', u"\u00FF\u0178", false), 1);
    EXPECT_EQ(CountCharInString(u'x', u"", false), 0);
}

TEST(StringSearch, ReplaceCharRemoveAndControlCharacters) {
    EXPECT_EQ(ReplaceCharInString(u"a.b.c", u'.', u','), u"a,b,c");
    EXPECT_EQ(ReplaceCharInString(u"", u'.', u','), u"");
    EXPECT_EQ(RemoveCharInString(u"a.b.c.", u'.'), u"abc");
    EXPECT_EQ(RemoveCharInString(u"...", u'.'), u"");
    EXPECT_EQ(RemoveMultiChars(u"a  b   c d ", u' '), u"a b c d ");
    EXPECT_EQ(RemoveMultiChars(u"  ", u' '), u" ");
    EXPECT_EQ(RemoveMultiChars(u"x", u'x'), u"x");
    EXPECT_EQ(RemoveMultiChars(u"", u'x'), u"");
    const String controls = String(u"\0\x01\x1F \x7F\x80\u00FF\u0100", 8);
    EXPECT_EQ(RemoveControlChars(controls), u" \x7F\x80\u00FF\u0100");
    EXPECT_EQ(RemoveControlChars(u"\r\n"), u"");
}

TEST(StringSearch, ReplaceStringNeverSearchesInsertedText) {
    EXPECT_EQ(ReplaceStringInString(u"aXa", u"a", u"aa", false), u"aaXaa");
    EXPECT_EQ(ReplaceStringInString(u"aaa", u"aa", u"b", false), u"ba");
    EXPECT_EQ(ReplaceStringInString(u"abab", u"ab", u"", false), u"");
    EXPECT_EQ(ReplaceStringInString(u"abc", u"", u"x", false), u"abc");
    EXPECT_EQ(ReplaceStringInString(u"", u"a", u"x", false), u"");
    EXPECT_EQ(ReplaceStringInString(u"a", u"a", u"bc", false), u"bc");
    EXPECT_EQ(ReplaceStringInString(u"xy", u"y", u"Y", false), u"xY");
    // Ignoring case: matching folds, the insertion and the untouched text keep their case.
    EXPECT_EQ(ReplaceStringInString(u"Foo fOO BAR", u"foo", u"Baz", true), u"Baz Baz BAR");
    EXPECT_EQ(ReplaceStringInString(u"Foo fOO", u"foo", u"Baz", false), u"Foo fOO");
    EXPECT_EQ(ReplaceStringInString(u"\u00C4\u00E4", u"\u00E4", u"ae", true), u"\u00C4ae");
}

TEST(StringSearch, NumberedPosCountsFromStartWithoutOverlap) {
    EXPECT_EQ(NumberedPos(u"ab", u"xxabyyab", 1, 2, false), 7);
    EXPECT_EQ(NumberedPos(u"ab", u"xxabyyab", 4, 1, false), 7);
    EXPECT_EQ(NumberedPos(u"ab", u"xxabyyab", 1, 3, false), 0);
    EXPECT_EQ(NumberedPos(u"ab", u"xxabyyab", 1, 0, false), 0);
    EXPECT_EQ(NumberedPos(u"ab", u"xxabyyab", 1, -1, false), 0);
    EXPECT_EQ(NumberedPos(u"", u"xxabyyab", 1, 1, false), 0);
    EXPECT_EQ(NumberedPos(u"aa", u"aaaa", 1, 2, false), 3);
    EXPECT_EQ(NumberedPos(u"aa", u"aaa", 1, 2, false), 0);
    EXPECT_EQ(NumberedPos(u"AB", u"xxabyyAB", 1, 2, true), 7);
    EXPECT_EQ(NumberedPos(u"AB", u"xxabyyAB", 1, 1, false), 7);
    // Start positions 0, 1, len, len + 1 and far beyond.
    EXPECT_EQ(NumberedPos(u"b", u"abcb", 0, 1, false), 2);
    EXPECT_EQ(NumberedPos(u"b", u"abcb", -5, 1, false), 2);
    EXPECT_EQ(NumberedPos(u"a", u"abcb", 1, 1, false), 1);
    EXPECT_EQ(NumberedPos(u"b", u"abcb", 4, 1, false), 4);
    EXPECT_EQ(NumberedPos(u"b", u"abcb", 5, 1, false), 0);
    EXPECT_EQ(NumberedPos(u"b", u"abcb", 1000, 1, false), 0);
    EXPECT_EQ(NumberedPos(u"b", u"", 1, 1, false), 0);
}

TEST(StringSearch, NumberedPosBwSeesOnlyOccurrencesEndingAtStart) {
    EXPECT_EQ(NumberedPosBw(u"ab", u"abXXabYY", 8, 1, false), 5);
    EXPECT_EQ(NumberedPosBw(u"ab", u"abXXabYY", 8, 2, false), 1);
    EXPECT_EQ(NumberedPosBw(u"ab", u"abXXabYY", 8, 3, false), 0);
    EXPECT_EQ(NumberedPosBw(u"ab", u"abXXabYY", 5, 1, false), 1);
    EXPECT_EQ(NumberedPosBw(u"ab", u"abXXabYY", 6, 1, false), 5);
    EXPECT_EQ(NumberedPosBw(u"ab", u"abXXabYY", 1, 1, false), 0);
    EXPECT_EQ(NumberedPosBw(u"ab", u"abXXabYY", 0, 1, false), 0);    // clamped to 1
    EXPECT_EQ(NumberedPosBw(u"ab", u"abXXabYY", 100, 1, false), 5);  // clamped to 8
    EXPECT_EQ(NumberedPosBw(u"AB", u"abXXabYY", 8, 2, true), 1);
    EXPECT_EQ(NumberedPosBw(u"AB", u"abXXabYY", 8, 1, false), 0);
    EXPECT_EQ(NumberedPosBw(u"aa", u"aaa", 3, 1, false), 2);  // the rightmost, going left
    EXPECT_EQ(NumberedPosBw(u"aa", u"aaa", 3, 2, false), 0);
    EXPECT_EQ(NumberedPosBw(u"a", u"", 1, 1, false), 0);
    EXPECT_EQ(NumberedPosBw(u"", u"a", 1, 1, false), 0);
    EXPECT_EQ(NumberedPosBw(u"a", u"a", 1, 0, false), 0);
}

TEST(StringSearch, PosLastAndFirstPositions) {
    EXPECT_EQ(PosLast(u"ab", u"abXab"), 4);
    EXPECT_EQ(PosLast(u"aa", u"aaa"), 1);
    EXPECT_EQ(PosLast(u"aa", u"aaaa"), 3);
    EXPECT_EQ(PosLast(u"x", u"abc"), 0);
    EXPECT_EQ(PosLast(u"", u"abc"), 0);
    EXPECT_EQ(PosLast(u"a", u"a"), 1);
    EXPECT_EQ(PosLast(u"A", u"a"), 0);
    EXPECT_EQ(FindFirstNonBlank(u""), 0);
    EXPECT_EQ(FindFirstNonBlank(u"   "), 0);
    EXPECT_EQ(FindFirstNonBlank(u"x"), 1);
    EXPECT_EQ(FindFirstNonBlank(u"  \tx"), 3);
    EXPECT_EQ(FindFirstDigit(u""), 0);
    EXPECT_EQ(FindFirstDigit(u"abc"), 0);
    EXPECT_EQ(FindFirstDigit(u"7"), 1);
    EXPECT_EQ(FindFirstDigit(u"ab/:9"), 5);
    EXPECT_EQ(FindFirstDigit(u"\uFF11x"), 0);  // full-width digits are not digits
}

// The linear-time matchers must agree with the literal models on every input, including the
// repetitive ones that exercise the automaton's fall-backs.
TEST(StringSearch, AgreesWithLiteralModelsOnRandomInputs) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string_view alphabet = round % 2 ? u"aAb" : u"abBX";
        const String s = RandomText(rng, 14, alphabet);
        String sub = RandomText(rng, 4, alphabet);
        const String repl = RandomText(rng, 3, u"aAz");
        const bool ic = rng() % 2;
        const auto start = static_cast<std::int32_t>(rng() % (s.size() + 3)) - 1;
        const auto n = static_cast<std::int32_t>(rng() % 4);
        SCOPED_TRACE(ToUtf8(u"s=" + s + u" sub=" + sub + u" repl=" + repl));
        ASSERT_EQ(NumberedPos(sub, s, start, n, ic), ModelNumberedPos(sub, s, start, n, ic))
            << "start " << start << " n " << n << " ic " << ic;
        ASSERT_EQ(NumberedPosBw(sub, s, start, n, ic), ModelNumberedPosBw(sub, s, start, n, ic))
            << "start " << start << " n " << n << " ic " << ic;
        ASSERT_EQ(ReplaceStringInString(s, sub, repl, ic), ModelReplace(s, sub, repl, ic));
        const bool exact = ic;  // the counting function takes the opposite flag
        std::int32_t count = 0;
        std::int32_t lastExact = 0;
        for (std::int32_t k = 1; ModelNumberedPos(sub, s, 1, k, !exact) != 0; ++k)
            count = k;
        for (std::int32_t k = 1, p; (p = ModelNumberedPos(sub, s, 1, k, false)) != 0; ++k)
            lastExact = p;
        ASSERT_EQ(CountStringInString(sub, s, exact), count);
        ASSERT_EQ(PosLast(sub, s), lastExact);
    }
}

TEST(StringSearch, HandlesLongRepetitiveInputs) {
    // A pattern that almost matches everywhere; a quadratic matcher would still pass, but the
    // results must be right at the far end of a long text.
    String s(100000, u'a');
    s += u"b";
    const String sub = String(500, u'a') + u"b";
    EXPECT_EQ(NumberedPos(sub, s, 1, 1, false), 100001 - 500);
    EXPECT_EQ(NumberedPos(LowerAZ(sub), String(100000, u'A') + u"B", 1, 1, true), 100001 - 500);
    EXPECT_EQ(NumberedPosBw(u"b" + String(500, u'a'), u"b" + s, 100002, 1, false), 1);
    EXPECT_EQ(CountStringInString(sub, s, true), 1);
    EXPECT_EQ(ReplaceStringInString(s, sub, u"c", false), String(99500, u'a') + u"c");
}
