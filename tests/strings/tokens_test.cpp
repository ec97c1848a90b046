#include <gtest/gtest.h>

#include <string>

#include "qorkit/core/lookup_tables.h"
#include "qorkit/strings/tokens.h"

using namespace qorkit;

namespace {

std::string U8(const String& s) {
    return ToUtf8(s);
}

std::string Joined(const TOpenStringArray& t) {
    std::string out;
    for (const String& s : t)
        out += "<" + U8(s) + ">";
    return out;
}

}  // namespace

TEST(Tokenize, KeepsEmptyTokensAndCapsAtAThousand) {
    TOpenStringArray t;
    EXPECT_EQ(Tokenize(u"a,b,", u",", t), 3);
    EXPECT_EQ(Joined(t), "<a><b><>");
    EXPECT_EQ(Tokenize(u"", u",", t), 1);
    EXPECT_EQ(Joined(t), "<>");
    EXPECT_EQ(Tokenize(u"a,,b", u",", t), 3);
    EXPECT_EQ(Joined(t), "<a><><b>");
    EXPECT_EQ(Tokenize(u"a::b::c", u"::", t), 3);
    EXPECT_EQ(Joined(t), "<a><b><c>");
    EXPECT_EQ(Tokenize(u"a,b", u"", t), 1);
    EXPECT_EQ(Joined(t), "<a,b>");
    const String many(1500, u',');
    EXPECT_EQ(Tokenize(many, u",", t), 1000);
    EXPECT_EQ(t.back(), String(501, u','));
}

TEST(Tokenize, EscapedDelimitersDoNotCut) {
    TOpenStringArray t;
    EXPECT_EQ(Tokenize(u"a\\;b;c", u";", u'\\', t), 2);
    EXPECT_EQ(Joined(t), "<a;b><c>");
    EXPECT_EQ(Tokenize(u"x\\\\y;z\\", u";", u'\\', t), 2);
    EXPECT_EQ(Joined(t), "<x\\y><z\\>");
    EXPECT_EQ(Tokenize(u"\\;", u";", u'\\', t), 1);
    EXPECT_EQ(Joined(t), "<;>");
}

TEST(ExtractSubString, PicksFieldsFromZero) {
    EXPECT_EQ(U8(ExtractSubString(u"a,b,c", 1, u",")), "b");
    EXPECT_EQ(U8(ExtractSubString(u"a,,c", 1, u",")), "");
    EXPECT_EQ(U8(ExtractSubString(u"a,,c", 2, u",")), "c");
    EXPECT_EQ(U8(ExtractSubString(u",b", 0, u",")), "");
    EXPECT_EQ(U8(ExtractSubString(u"ab,c", 0, u",")), "ab");
    EXPECT_EQ(U8(ExtractSubString(u"a,b", 5, u",")), "");
    EXPECT_EQ(U8(ExtractSubString(u"a,b", -1, u",")), "");
    EXPECT_EQ(U8(ExtractSubString(u"", 0, u",")), "");
    EXPECT_EQ(U8(ExtractSubString(u"aXbxc", 0, u"x")), "aXb");  // cutting is exact
    EXPECT_EQ(U8(ExtractSubString(u"axXb", 1, u"x")), "");      // the empty-field test is not
    EXPECT_EQ(U8(ExtractSubString(u"ab", 0, u"")), "ab");
}

TEST(ExtractWordFromString, FindsTheWordAroundAPosition) {
    std::int32_t first = -1;
    std::int32_t last = -1;
    EXPECT_EQ(U8(ExtractWordFromString(u"hello world", 3)), "hello");
    EXPECT_EQ(U8(ExtractWordFromString(u"hello world", 6, first, last)), " ");
    EXPECT_EQ(first, 6);
    EXPECT_EQ(last, 6);
    EXPECT_EQ(U8(ExtractWordFromString(u"hello world", 8, first, last)), "world");
    EXPECT_EQ(first, 7);
    EXPECT_EQ(last, 11);
    EXPECT_EQ(U8(ExtractWordFromString(u"hello world", 12, first, last)), "");
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(U8(ExtractWordFromString(u"hello", 0)), "");
    EXPECT_EQ(U8(ExtractWordFromString(u"a\u0120b c", 1)), "a\u0120b");  // above 255: no separator
}

TEST(Triggers, SplitAtTheFirstOccurrence) {
    String l = u"x";
    String r = u"y";
    SplitString(u"key = value = 2", u"=", true, l, r);
    EXPECT_EQ(U8(l), "key");
    EXPECT_EQ(U8(r), "value = 2");
    SplitString(u"key value", u"=", true, l, r);
    EXPECT_EQ(U8(l) + "|" + U8(r), "|");
    SplitString(u"a = b", u"=", false, l, r);
    EXPECT_EQ(U8(l) + "|" + U8(r), "a | b");
    EXPECT_EQ(U8(ExtractAfterTrigger(u"name: Bob ", u":", true)), "Bob");
    EXPECT_EQ(U8(ExtractAfterTrigger(u"name: Bob ", u":", false)), " Bob ");
    EXPECT_EQ(U8(ExtractBeforeTrigger(u" name : Bob", u":", true)), "name");
    EXPECT_EQ(U8(ExtractBeforeTrigger(u"name", u":", true)), "");
    EXPECT_EQ(U8(ExtractAfterTrigger(u"name", u"", true)), "");
}

TEST(ReadLnString, LineEndsByMode) {
    const String s = u"ab\r\ncd";
    std::int32_t pos = 1;
    bool atEnd = true;
    EXPECT_EQ(U8(ReadLnString(s, pos, atEnd, 4)), "ab");
    EXPECT_EQ(pos, 5);
    EXPECT_FALSE(atEnd);
    EXPECT_EQ(U8(ReadLnString(s, pos, atEnd, 4)), "cd");
    EXPECT_TRUE(atEnd);

    const String t = u"a\nb\rc\n\rd";
    const auto lines = [&](std::int32_t mode) {
        std::string out;
        std::int32_t p = 1;
        bool end = false;
        while (!end)
            out += "<" + U8(ReadLnString(t, p, end, mode)) + ">";
        return out;
    };
    EXPECT_EQ(lines(0), "<a><bc><d>");
    EXPECT_EQ(lines(1), "<ab><c><d>");
    EXPECT_EQ(lines(2), "<a><b><c><><d>");
    EXPECT_EQ(lines(3), "<abc><d>");
    EXPECT_EQ(lines(4), "<abcd>");
    EXPECT_EQ(lines(9), "<abcd>");
    std::int32_t p = -3;
    bool end = false;
    EXPECT_EQ(U8(ReadLnString(u"xy", p, end, 0)), "xy");
}

TEST(StringIxAndCSV, LookupAndDelimiterGuess) {
    EXPECT_EQ(StringIx(u"b", {u"a", u"b", u"b"}), 2);
    EXPECT_EQ(StringIx(u"B", {u"a", u"b"}), 0);
    EXPECT_EQ(StringIx(u"B", false, {u"a", u"b"}), 2);
    EXPECT_EQ(StringIx(u"\u00C4", false, {u"\u00E4"}), 0);  // only A to Z fold
    const std::vector<String> list = {u"x", u"Y"};
    EXPECT_EQ(StringIx(u"y", false, list), 2);
    EXPECT_EQ(StringIx(u"y", list), 0);

    EXPECT_EQ(DetectCSVDelimiter(u"a;b;c,d"), csvSemicolon);
    EXPECT_EQ(DetectCSVDelimiter(u"abc"), csvUnknown);
    EXPECT_EQ(DetectCSVDelimiter(u"a,b;c"), csvSemicolon);
    EXPECT_EQ(DetectCSVDelimiter(u"a\tb\tc d"), csvTab);
    EXPECT_EQ(DetectCSVDelimiter(u"a b c:d:e:f"), csvColon);
}

TEST(ParseQuotedName, ReadsQuotedAndPlainNames) {
    const auto parse = [](std::u16string_view in, TQuotedStrState& state) {
        String name;
        state = vsStart;
        std::size_t i = 0;
        while (i < in.size() && ParseQuotedName(in[i], u'\'', name, state))
            ++i;
        return U8(name) + "|" + std::to_string(i);
    };
    TQuotedStrState st{};
    EXPECT_EQ(parse(u"  'a b''c' rest", st), "a b'c|10");
    EXPECT_EQ(st, vsEnd);
    EXPECT_EQ(parse(u"plain rest", st), "plain|6");
    EXPECT_EQ(st, vsEnd);
    EXPECT_EQ(parse(u"'open", st), "open|5");
    EXPECT_EQ(st, vs1stQuote);  // no closing quote
    EXPECT_EQ(parse(u"'done'", st), "done|6");
    EXPECT_EQ(st, vsQuote);  // complete at the end of the input
    String n;
    TQuotedStrState e = vsEnd;
    EXPECT_FALSE(ParseQuotedName(u'x', u'\'', n, e));
    EXPECT_EQ(U8(n), "");
}

TEST(ExtractParam, QuotedParametersAndDefaults) {
    EXPECT_EQ(U8(ExtractParam(u"a, 'b,c' ,d", 2, u',', u'\'', u"?")), "b,c");
    EXPECT_EQ(U8(ExtractParam(u"a, 'b,c' ,d", 3, u',', u'\'', u"?")), "d");
    EXPECT_EQ(U8(ExtractParam(u"a, 'b,c' ,d", 4, u',', u'\'', u"?")), "?");
    EXPECT_EQ(U8(ExtractParam(u"a", 0, u',', u'\'', u"?")), "?");
    EXPECT_EQ(U8(ExtractParam(u"a,,b", 2, u',', u'\'', u"?")), "");
    EXPECT_EQ(U8(ExtractParam(u"' x ''y'' '", 1, u',', u'\'', u"?")), " x 'y' ");
    EXPECT_EQ(U8(ExtractParam(u"", 1, u',', u'\'', u"?")), "");
    EXPECT_EQ(U8(ExtractParam(u"'unclosed, x", 1, u',', u'\'', u"?")), "unclosed, x");
}

TEST(TextLineCoords, CountsLinesAndColumns) {
    std::int32_t l = -1;
    std::int32_t c = -1;
    const String s = u"ab\r\ncd\nef\rg";
    const std::pair<int, std::pair<int, int>> cases[] = {
        {1, {1, 1}}, {2, {1, 2}},  {3, {1, 3}},  {4, {1, 4}},  {5, {2, 1}},  {7, {2, 3}},
        {8, {3, 1}}, {10, {3, 3}}, {11, {4, 1}}, {12, {4, 2}}, {99, {4, 2}}, {-5, {1, 1}}};
    for (const auto& [pos, want] : cases) {
        TextLineCoords(s, pos, l, c);
        EXPECT_EQ(l, want.first) << pos;
        EXPECT_EQ(c, want.second) << pos;
    }
    TextLineCoords(u"", 1, l, c);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(c, 0);
}
