#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "qorkit/rtl/memory_stream.h"
#include "qorkit/streams/tag_scan.h"
#include "qorkit/strings/tag_string.h"

using namespace qorkit;

namespace {

struct Tag {
    std::int32_t Index;
    String Attributes;
    String Element;
    std::int32_t Pos;
};

std::vector<Tag> AllTagsOfString(const String& s, const std::vector<String>& list) {
    std::vector<Tag> tags;
    std::int32_t pos = 1;
    while (pos <= static_cast<std::int32_t>(s.size())) {
        Tag t;
        t.Index = ReadNextTagInString(s, pos, list, t.Attributes, t.Element);
        t.Pos = pos;
        tags.push_back(t);
    }
    return tags;
}

}  // namespace

TEST(TagString, FollowsTheStreamReadersRules) {
    const std::vector<String> list = {u"label", u"data"};
    const String s = u"<!-- c --><data kind=\"x\">1 2</DATA>rest";
    std::int32_t pos = 1;
    String attr, elem;
    EXPECT_EQ(ReadNextTagInString(s, pos, list, attr, elem), 1);
    EXPECT_EQ(attr, u"kind=\"x\"");
    EXPECT_EQ(elem, u"1 2");
    EXPECT_EQ(s.substr(static_cast<std::size_t>(pos) - 1), u"rest");
    // The end: empty name, highest index, position just past the text.
    EXPECT_EQ(ReadNextTagInString(s, pos, list, attr, elem), 1);
    EXPECT_EQ(pos, static_cast<std::int32_t>(s.size()) + 1);
    EXPECT_TRUE(attr.empty() && elem.empty());

    const std::vector<String> item = {u"item"};
    pos = 0;  // below 1 counts as 1
    EXPECT_EQ(ReadNextTagInString(u"<Item a = \"1\" />", pos, item, attr, elem), 0);
    EXPECT_EQ(attr, u"a = \"1\"");
    EXPECT_EQ(elem, u"");
    pos = 1;
    ReadNextTagInString(u"<a><a>x</a></a>", pos, std::vector<String>{u"a"}, attr, elem);
    EXPECT_EQ(elem, u"<a>x");
    pos = 99;  // beyond the end: nothing is read
    EXPECT_EQ(ReadNextTagInString(u"<a>", pos, std::vector<String>{u"a", u""}, attr, elem), 1);
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(ReadNextTagInString(u"<a>", pos, {}, attr, elem), -1);
}

TEST(TagString, AgreesWithTheStreamReaderOnRandomText) {
    // Strings of characters 0..255 read tag by tag must give what the stream reader gives over
    // the same bytes, including where reading stops.
    std::mt19937 rng(6071);
    const std::u16string_view alphabet = u"<>/!? =\"abAB-x";
    const std::vector<String> list = {u"a", u"/a", u"b", u"ab", u""};
    for (int round = 0; round < 3000; ++round) {
        String s;
        const int len = static_cast<int>(rng() % 40);
        for (int i = 0; i < len; ++i)
            s.push_back(rng() % 8 == 0 ? static_cast<Char>(rng() % 256)
                                       : alphabet[rng() % alphabet.size()]);
        std::string bytes(s.size(), '\0');
        for (std::size_t i = 0; i < s.size(); ++i)
            bytes[i] = static_cast<char>(s[i]);
        TStringStream stream(bytes);
        for (const Tag& t : AllTagsOfString(s, list)) {
            String attr, elem;
            ASSERT_EQ(ReadNextTagInStream(stream, list, attr, elem), t.Index) << ToUtf8(s);
            ASSERT_EQ(attr, t.Attributes) << ToUtf8(s);
            ASSERT_EQ(elem, t.Element) << ToUtf8(s);
            ASSERT_EQ(stream.Position() + 1, t.Pos) << ToUtf8(s);
        }
    }
}

TEST(TagString, DetectFindsTagsWithoutReadingElements) {
    const String s = u"ab<x k=1>body</x><y/>";
    const std::vector<String> list = {u"x", u"/x", u"y", u"?"};
    std::int32_t pos = 1, tagPos = -1;
    String attr;
    bool start = false;
    EXPECT_EQ(DetectNextTagInString(s, pos, tagPos, list, attr, start), 0);
    EXPECT_EQ(tagPos, 3);
    EXPECT_EQ(pos, 10);  // just after "<x k=1>", the element is not read
    EXPECT_EQ(attr, u"k=1");
    EXPECT_TRUE(start);
    EXPECT_EQ(DetectNextTagInString(s, pos, tagPos, list, attr, start), 1);
    EXPECT_EQ(tagPos, 14);
    EXPECT_FALSE(start);
    EXPECT_EQ(DetectNextTagInString(s, pos, tagPos, list, attr, start), 2);
    EXPECT_EQ(tagPos, 18);
    EXPECT_FALSE(start);
    EXPECT_EQ(DetectNextTagInString(s, pos, tagPos, list, attr, start), 3);
    EXPECT_EQ(tagPos, 0);
    EXPECT_EQ(pos, static_cast<std::int32_t>(s.size()) + 1);
    // A comment is skipped; it ends at its first ">", the rest of it is plain text.
    pos = 1;
    DetectNextTagInString(u"<!-- <x> -->z<y>", pos, tagPos, list, attr, start);
    EXPECT_EQ(tagPos, 14);
}
