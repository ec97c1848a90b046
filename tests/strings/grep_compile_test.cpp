#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "../rtl/temp_dir.h"
#include "qorkit/core/errors.h"
#include "qorkit/strings/grep.h"

using namespace qorkit;

namespace {

// Compiles `pattern` without raising and returns the error code.
std::int32_t Compile(TGrep& g, const String& pattern) {
    g.SetStopOnError(false);
    g.SetRegExp(pattern);
    return g.LastError();
}

String TokenText(const TGrepToken& t) {
    String s;
    for (std::int32_t i = 1; i <= t.NumChars; ++i)
        s.push_back(t.Params[static_cast<std::size_t>(i)]);
    return s;
}

String SetMembers(const TGrepToken& t) {
    String s;
    for (unsigned c = 0; c < 256; ++c)
        if (t.Params[c] == u'*') s.push_back(static_cast<Char>(c));
    return s;
}

}  // namespace

TEST(GrepCompile, DefaultsOfAFreshComponent) {
    TGrep g;
    EXPECT_FALSE(g.IgnoreCase());
    EXPECT_TRUE(g.StopOnError());
    EXPECT_EQ(g.SearchStartPos(), 1);
    EXPECT_EQ(g.RegExp(), u"");
    EXPECT_EQ(g.NrOfRegExpTokens(), 0);
    EXPECT_EQ(g.MatchStartPos(), 0);
    EXPECT_EQ(g.MatchEndPos(), 0);
    EXPECT_EQ(g.LastError(), 0);
}

TEST(GrepCompile, LiteralsGroupsAndRepeatRules) {
    TGrep g;
    ASSERT_EQ(Compile(g, u"abc"), 0);
    ASSERT_EQ(g.NrOfRegExpTokens(), 1);
    EXPECT_EQ(g.GetRegExpToken(1).Action, taNormal);
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"abc");

    ASSERT_EQ(Compile(g, u"abc*"), 0);  // the last character alone is repeated
    ASSERT_EQ(g.NrOfRegExpTokens(), 2);
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"ab");
    EXPECT_EQ(g.GetRegExpToken(2).Action, taMult0);
    EXPECT_EQ(TokenText(g.GetRegExpToken(2)), u"c");

    ASSERT_EQ(Compile(g, u"a.c"), 0);
    EXPECT_EQ(g.NrOfRegExpTokens(), 3);
    EXPECT_EQ(g.GetRegExpToken(2).Action, taAnyByte);

    ASSERT_EQ(Compile(g, u"(ab)+c"), 0);
    ASSERT_EQ(g.NrOfRegExpTokens(), 2);
    EXPECT_EQ(g.GetRegExpToken(1).Action, taMult1);
    EXPECT_EQ(g.GetRegExpToken(1).NumChars, 2);
    EXPECT_EQ(TokenText(g.GetRegExpToken(2)), u"c");

    ASSERT_EQ(Compile(g, u"(ab)*(cd)"), 0);
    ASSERT_EQ(g.NrOfRegExpTokens(), 2);
    EXPECT_EQ(g.GetRegExpToken(1).Action, taMult0);
    EXPECT_EQ(g.GetRegExpToken(2).Action, taNormal);
    EXPECT_EQ(TokenText(g.GetRegExpToken(2)), u"cd");

    // An empty group repeated means any character; ".?" and "[x]+" keep their forms.
    ASSERT_EQ(Compile(g, u"()*.?[x]+"), 0);
    ASSERT_EQ(g.NrOfRegExpTokens(), 3);
    EXPECT_EQ(g.GetRegExpToken(1).NumChars, 0);
    EXPECT_EQ(g.GetRegExpToken(2).Action, taOpti);
    EXPECT_EQ(g.GetRegExpToken(2).NumChars, 0);
    EXPECT_EQ(g.GetRegExpToken(3).Action, taMult1);
    EXPECT_EQ(g.GetRegExpToken(3).NumChars, -1);

    // Group contents are literal, operators included; "-" outside a set is a character.
    ASSERT_EQ(Compile(g, u"([.*]$)-x\\*"), 0);
    ASSERT_EQ(g.NrOfRegExpTokens(), 2);
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"[.*]$");
    EXPECT_EQ(TokenText(g.GetRegExpToken(2)), u"-x*");
}

TEST(GrepCompile, SetsRangesAndNegation) {
    TGrep g;
    ASSERT_EQ(Compile(g, u"[a-c-e]"), 0);
    EXPECT_EQ(SetMembers(g.GetRegExpToken(1)), u"abcde");
    ASSERT_EQ(Compile(g, u"[z-a]"), 0);
    EXPECT_EQ(SetMembers(g.GetRegExpToken(1)), u"abcdefghijklmnopqrstuvwxyz");
    ASSERT_EQ(Compile(g, u"[a\\]]"), 0);
    EXPECT_EQ(SetMembers(g.GetRegExpToken(1)), u"]a");
    ASSERT_EQ(Compile(g, u"[^0-9]"), 0);
    const TGrepToken neg = g.GetRegExpToken(1);
    for (unsigned c = 0; c < 256; ++c)
        EXPECT_EQ(neg.Params[c] == u'*', c < '0' || c > '9') << c;
    // Never closed: kept as it stands, without its negation.
    ASSERT_EQ(Compile(g, u"[abc"), 0);
    EXPECT_EQ(SetMembers(g.GetRegExpToken(1)), u"abc");
    ASSERT_EQ(Compile(g, u"[^a"), 0);
    EXPECT_EQ(SetMembers(g.GetRegExpToken(1)), u"a");
    // Special characters are members inside a set.
    ASSERT_EQ(Compile(g, u"[(.$*]"), 0);
    EXPECT_EQ(SetMembers(g.GetRegExpToken(1)), u"$(*.");
}

TEST(GrepCompile, ErrorCodesAndTheTokensKeptSoFar) {
    TGrep g;
    const struct {
        const char16_t* pattern;
        std::int32_t code;
    } cases[] = {
        {u"*a", 1},     {u"$", 1},     {u"?", 1},     {u"+x", 1},   {u"a^", 2},
        {u"(a^)", 2},   {u"a$b", 3},   {u"[]", 4},    {u"[a^]", 5}, {u"a]", 6},
        {u"[-a]", 7},   {u"[a]-", 7},  {u"a)", 8},    {u"^*", 9},   {u"a**", 9},
        {u"[ab]**", 9}, {u"(a)+?", 9}, {u"[^-z]", 7}, {u"^^", 2},   {u"a$$", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Compile(g, c.pattern), c.code) << ToUtf8(c.pattern);
    ASSERT_EQ(Compile(g, u"ab.)cd"), 8);
    EXPECT_EQ(g.NrOfRegExpTokens(), 2);  // "ab" and "." stay and are matched
    EXPECT_EQ(g.RegExp(), u"ab.)cd");
    EXPECT_EQ(GrepErrorText(8), u"mismatch of group brackets");
    EXPECT_EQ(GrepErrorText(0), u"no errors");
}

TEST(GrepCompile, TableLimitsAreRefusedWithoutOverflow) {
    TGrep g;
    String many;
    for (int i = 0; i < 64; ++i)
        many += u"a.";  // 128 tokens
    EXPECT_EQ(Compile(g, many), kGrepErrTooManyTokens);
    EXPECT_EQ(g.NrOfRegExpTokens(), 64);
    EXPECT_EQ(Compile(g, many.substr(0, 64)), 0);
    String full;
    for (int i = 0; i < 32; ++i)
        full += u".a";                                            // 64 tokens, the last a literal
    EXPECT_EQ(Compile(g, full + u"bc*"), kGrepErrTooManyTokens);  // the split needs a 65th
    EXPECT_EQ(g.GetRegExpToken(64).NumChars, 3);                  // "abc" was left whole
    EXPECT_EQ(Compile(g, String(255, u'x')), 0);
    EXPECT_EQ(Compile(g, String(256, u'x')), kGrepErrTokenTooLong);
    EXPECT_EQ(g.GetRegExpToken(1).NumChars, 255);
    EXPECT_EQ(Compile(g, u"(" + String(300, u'y') + u")"), kGrepErrTokenTooLong);
    EXPECT_EQ(Compile(g, u"[\u0100]"), kGrepErrSetCharRange);
    EXPECT_EQ(Compile(g, u"[a-\u20AC]"), kGrepErrSetCharRange);
    EXPECT_EQ(Compile(g, u"x\u20AC+"), 0);  // wide characters are fine outside sets
}

TEST(GrepCompile, HexCodesAreSubstitutedBeforeParsing) {
    TGrep g;
    ASSERT_EQ(Compile(g, u"\\#41\\#42"), 0);
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"AB");
    ASSERT_EQ(Compile(g, u"\\\\#41"), 0);
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"\\#41");
    ASSERT_EQ(Compile(g, u"a\\#2A"), 0);  // an inserted "*" is an operator
    EXPECT_EQ(g.GetRegExpToken(1).Action, taMult0);
    ASSERT_EQ(Compile(g, u"x\\# a"), 0);  // blank skipped, "a" read, both removed
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"x\n");
    ASSERT_EQ(Compile(g, u"x\\#4"), 0);  // fewer than two characters left
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"x\u0004");
    // An inserted backslash is not re-read as the start of another code.
    ASSERT_EQ(Compile(g, u"\\#5C#41"), 0);
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"#41");
    // Inserted letters are not lower-cased by IgnoreCase.
    g.SetIgnoreCase(true);
    ASSERT_EQ(Compile(g, u"X\\#41"), 0);
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), u"xA");
}

TEST(GrepCompile, TrailingBackslashQuotesCodeZero) {
    TGrep g;
    ASSERT_EQ(Compile(g, u"ab\\"), 0);
    EXPECT_EQ(TokenText(g.GetRegExpToken(1)), String(u"ab") + Char{0});
    ASSERT_EQ(Compile(g, u"[a\\"), 0);
    EXPECT_EQ(g.GetRegExpToken(1).Params[0], u'*');
}

TEST(GrepCompile, SetRegExpRaisesOnlyWithStopOnError) {
    TGrep g;
    g.SetName(u"Grep1");
    try {
        g.SetRegExp(u"a)");
        FAIL() << "no exception";
    } catch (const EQORStringlError& e) {
        EXPECT_EQ(e.Message(),
                  u"Component \"Grep1\": error in regular expression - mismatch of group brackets");
    }
    EXPECT_EQ(g.RegExp(), u"a)");
    EXPECT_EQ(g.NrOfRegExpTokens(), 1);
    g.SetStopOnError(false);
    EXPECT_NO_THROW(g.SetRegExp(u"a)"));
    EXPECT_EQ(g.LastError(), 8);
    g.SetStopOnError(true);
    EXPECT_NO_THROW(g.SetIgnoreCase(true));  // recompiles the bad pattern without raising
    EXPECT_EQ(g.LastError(), 8);
}

TEST(GrepCompile, GetRegExpTokenClampsAndCompilationResetsTokens) {
    TGrep g;
    ASSERT_EQ(Compile(g, u"a.[b]"), 0);
    EXPECT_EQ(g.GetRegExpToken(0).Action, taNormal);
    EXPECT_EQ(g.GetRegExpToken(99).Action, taSet);
    std::int32_t pos = 0;
    ASSERT_TRUE(g.MatchString(u"xabb", pos));
    EXPECT_EQ(g.GetRegExpToken(1).ValidFrom, 2);
    EXPECT_EQ(g.GetRegExpToken(3).ValidFrom, 4);
    // A failing compile resets NumChars and ValidFrom but not the action of token 1.
    ASSERT_EQ(Compile(g, u"*"), 1);
    EXPECT_EQ(g.NrOfRegExpTokens(), 0);
    const TGrepToken t = g.GetRegExpToken(5);
    EXPECT_EQ(t.Action, taNormal);
    EXPECT_EQ(t.NumChars, 0);
    EXPECT_EQ(t.ValidFrom, 0);
}

TEST(GrepCompile, OwnerDestroysTheComponent) {
    TComponent owner;
    auto* g = new TGrep(&owner);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), g);
}

TEST(GrepPrint, ListingHasOneLinePerTokenAndTheResult) {
    test::TempDir dir;
    TGrep g;
    Compile(g, u"^a[b-d]*(xy)?.+\\#E4$");
    const String file = dir.Name("listing.txt");
    g.PrintRegExp(file);
    std::ifstream in(dir.Native("listing.txt"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text,
              "    taBol: \r\n"
              " taNormal: a\r\n"
              "  taMult0: (set) bcd\r\n"
              "   taOpti: (string) xy\r\n"
              "  taMult1: (anychar) \r\n"
              " taNormal: \xE4\r\n"
              "    taEol: \r\n"
              "no errors\r\n");
    Compile(g, u"a.[x]]");
    g.PrintRegExp(file);
    std::ifstream in2(dir.Native("listing.txt"), std::ios::binary);
    const std::string text2((std::istreambuf_iterator<char>(in2)),
                            std::istreambuf_iterator<char>());
    EXPECT_EQ(text2,
              " taNormal: a\r\n"
              "taAnyByte: \r\n"
              "    taSet: x\r\n"
              "mismatch of set brackets\r\n");
    EXPECT_THROW(g.PrintRegExp(dir.Name("missing/dir/x.txt")), EInOutError);
}
