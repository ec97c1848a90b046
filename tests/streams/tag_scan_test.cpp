#include "qorkit/streams/tag_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qorkit/rtl/memory_stream.h"
#include "rtl/temp_dir.h"
#include "streams/test_streams.h"

using namespace qorkit;
using qorkit::test::ForwardStream;
using qorkit::test::RestOf;
using qorkit::test::TempDir;

namespace {

struct Tag {
    std::int32_t Index;
    String Attributes;
    String Element;
    bool operator==(const Tag&) const = default;
};

Tag Next(TStream& s, const std::vector<String>& list) {
    Tag t{0, u"junk", u"junk"};
    t.Index = ReadNextTagInStream(s, list, t.Attributes, t.Element);
    return t;
}

}  // namespace

TEST(ReadNextTagInStream, NamesAttributesAndElements) {
    TStringStream s(std::string("<!-- c --><data kind=\"x\">1 2</DATA>rest"));
    EXPECT_EQ(Next(s, {u"label", u"data"}), (Tag{1, u"kind=\"x\"", u"1 2"}));
    EXPECT_EQ(RestOf(s), "rest");

    TStringStream self(std::string("<Item a = \"1\" />after"));
    EXPECT_EQ(Next(self, {u"item"}), (Tag{0, u"a = \"1\"", u""}));
    EXPECT_EQ(RestOf(self), "after");

    TStringStream bare(std::string("<item/>"));
    EXPECT_EQ(Next(bare, {u"x", u"item", u"y"}), (Tag{1, u"", u""}));

    TStringStream end(std::string("</data>x"));
    EXPECT_EQ(Next(end, {u"data", u"/data"}), (Tag{1, u"", u""}));
    EXPECT_EQ(RestOf(end), "x");

    TStringStream other(std::string("<other>a<b>c"));
    EXPECT_EQ(Next(other, {u"data", u"label"}), (Tag{1, u"", u"a<b>c"}));

    TStringStream nested(std::string("<a><a>x</a></a>"));
    EXPECT_EQ(Next(nested, {u"a"}), (Tag{0, u"", u"<a>x"}));
    EXPECT_EQ(RestOf(nested), "</a>");

    // Attribute text loses only blanks at its ends, not tabs or line ends.
    TStringStream spaced(std::string("<p   x=1\t >t</p>"));
    EXPECT_EQ(Next(spaced, {u"p"}), (Tag{0, u"x=1\t", u"t"}));
}

TEST(ReadNextTagInStream, CommentsInstructionsAndTheEnd) {
    // A comment holding ">" ends there; the rest is scanned as text.
    TStringStream c(std::string("<!-- a > b --><x>1</x>"));
    EXPECT_EQ(Next(c, {u"x"}), (Tag{0, u"", u"1"}));

    // A processing instruction comes back as a tag but never swallows the document.
    TStringStream pi(std::string("<?xml version=\"1.0\"?><data>v</data>"));
    EXPECT_EQ(Next(pi, {u"data", u"?xml"}), (Tag{1, u"version=\"1.0\"?", u""}));
    EXPECT_EQ(Next(pi, {u"data", u"?xml"}), (Tag{0, u"", u"v"}));

    // At the end: empty name, which an empty entry matches, else the highest index.
    EXPECT_EQ(Next(pi, {u"data", u"", u"z"}), (Tag{1, u"", u""}));
    EXPECT_EQ(Next(pi, {u"data", u"z"}), (Tag{1, u"", u""}));
    TStringStream empty(std::string(""));
    EXPECT_EQ(Next(empty, {}), (Tag{-1, u"", u""}));

    // A tag cut off by the end loses its last character as a closed one loses its ">".
    TStringStream cut(std::string("<data kind=\"x"));
    EXPECT_EQ(Next(cut, {u"data", u"dat", u"z"}), (Tag{0, u"kind=\"", u""}));
    TStringStream cutName(std::string("text <data"));
    EXPECT_EQ(Next(cutName, {u"data", u"dat", u"z"}), (Tag{1, u"", u""}));
    TStringStream cutSlash(std::string("<a /"));
    EXPECT_EQ(Next(cutSlash, {u"a", u"z"}), (Tag{0, u"", u""}));

    // Only the bytes of the tag are taken from a stream that cannot seek back.
    ForwardStream f("<a x='1'/><b>2</b>tail");
    Tag t{0, u"", u""};
    t.Index = ReadNextTagInStream(f, std::vector<String>{u"a"}, t.Attributes, t.Element);
    EXPECT_EQ(t, (Tag{0, u"x='1'", u""}));
    EXPECT_EQ(f.Rest(), "<b>2</b>tail");
    EXPECT_EQ(Next(f, {u"b"}), (Tag{0, u"", u"2"}));
    EXPECT_EQ(f.Rest(), "tail");
}

TEST(ReadNextTagInTextFile, SameRulesOnTextFiles) {
    TempDir dir;
    dir.Put("t.xml", "<!-- c --><data kind=\"x\">1\r\n2</DATA><item/><open>a<b>tail");
    TextFile f;
    f.Assign(dir.Name("t.xml"));
    f.Reset();
    const std::vector<String> list{u"data", u"item", u"open", u""};
    String attr;
    String elem;
    EXPECT_EQ(ReadNextTagInTextFile(f, list, attr, elem), 0);
    EXPECT_EQ(attr, u"kind=\"x\"");
    EXPECT_EQ(elem, u"1\r\n2");
    EXPECT_EQ(ReadNextTagInTextFile(f, list, attr, elem), 1);
    EXPECT_EQ(elem, u"");
    // Without an end tag the text after the last ">" is dropped.
    EXPECT_EQ(ReadNextTagInTextFile(f, list, attr, elem), 2);
    EXPECT_EQ(elem, u"a<b>");
    EXPECT_EQ(ReadNextTagInTextFile(f, list, attr, elem), 3);
    EXPECT_TRUE(f.Eof());
    f.Close();

    // A tag cut off by the end of the file loses its last character.
    dir.Put("cut.xml", "<item x=\"1\"/><a /");
    f.Assign(dir.Name("cut.xml"));
    f.Reset();
    const std::vector<String> names{u"item", u"a", u"z"};
    EXPECT_EQ(ReadNextTagInTextFile(f, names, attr, elem), 0);
    EXPECT_EQ(attr, u"x=\"1\"");
    attr = u"stale";
    EXPECT_EQ(ReadNextTagInTextFile(f, names, attr, elem), 1);
    EXPECT_EQ(attr, u"");
    f.Close();
}

TEST(ScanForXMLAttrib, QuotedPlainAndMalformed) {
    const String attrs = u"w=\"10\" h=20 name=\"a b\"";
    EXPECT_EQ(ScanForXMLAttrib(attrs, u"W"), u"10");
    EXPECT_EQ(ScanForXMLAttrib(attrs, u"h"), u"20");
    EXPECT_EQ(ScanForXMLAttrib(attrs, u"name"), u"a b");
    EXPECT_EQ(ScanForXMLAttrib(attrs, u"x"), u"");
    EXPECT_EQ(ScanForXMLAttrib(u"a\"b=1", u"a"), u"");
    EXPECT_EQ(ScanForXMLAttrib(u"a\"b=1", u"b"), u"");
    EXPECT_EQ(ScanForXMLAttrib(u"flag x=1", u"flag"), u"");
    EXPECT_EQ(ScanForXMLAttrib(u"flag x=1", u"x"), u"");
    EXPECT_EQ(ScanForXMLAttrib(u"flag x=1", u"flag x"), u"1");
    EXPECT_EQ(ScanForXMLAttrib(u"a = \"1\"", u"a"), u"1");
    EXPECT_EQ(ScanForXMLAttrib(u"a==1 b=2", u"b"), u"");   // second "=" stops the scan
    EXPECT_EQ(ScanForXMLAttrib(u"a=x=1 b=2", u"b"), u"");  // "=" inside a plain value
    EXPECT_EQ(ScanForXMLAttrib(u"a=\"x=1 y\" b=2", u"a"), u"x=1 y");
    EXPECT_EQ(ScanForXMLAttrib(u"a=\"open", u"a"), u"open");  // unclosed quote
    EXPECT_EQ(ScanForXMLAttrib(u"a='1 2'", u"a"), u"'1");     // single quotes are text
    EXPECT_EQ(ScanForXMLAttrib(u"A=1\"B=2\"", u"b"), u"2");   // a quote ends a plain value
    EXPECT_EQ(ScanForXMLAttrib(u"", u"a"), u"");
}

TEST(ReadStreamUntil, FoundAndMissing) {
    std::int32_t code = 5;
    TStringStream s(std::string("abcENDdef"));
    EXPECT_EQ(ReadStreamUntil(s, u"end", code), u"abcEND");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(RestOf(s), "def");

    // An occurrence across a 256-byte block boundary, found in the later block.
    std::string big(254, 'x');
    big += "MARKer" + std::string(600, 'y') + "marker";
    TStringStream b(big);
    EXPECT_EQ(ReadStreamUntil(b, u"Marker", code).size(), 260u);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(b.Position(), 260);

    TStringStream m(std::string("no such text"));
    m.SetPosition(3);
    EXPECT_EQ(ReadStreamUntil(m, u"zz", code), u"such text");
    EXPECT_EQ(code, -1);
    EXPECT_EQ(m.Position(), m.Size());
    m.SetPosition(0);
    EXPECT_EQ(ReadStreamUntil(m, u"", code), u"no such text");
    EXPECT_EQ(code, -1);
}

TEST(ScanStreamForXMLTag, FindsNestedTagsByName) {
    TStringStream s(std::string(
        "<doc><!-- <label/> --><Label w=\"1\"/><group><label w=\"2\">t</label></group></doc>"));
    String attr;
    String elem;
    EXPECT_TRUE(ScanStreamForXMLTag(s, u"LABEL", attr, elem));
    EXPECT_EQ(attr, u"w=\"1\"");
    EXPECT_EQ(elem, u"");
    EXPECT_TRUE(ScanStreamForXMLTag(s, u"label", attr, elem));
    EXPECT_EQ(attr, u"w=\"2\"");
    EXPECT_EQ(elem, u"t");
    EXPECT_EQ(RestOf(s), "</group></doc>");
    s.SetPosition(0);
    EXPECT_FALSE(ScanStreamForXMLTag(s, u"missing", attr, elem));
    EXPECT_EQ(attr, u"");
    EXPECT_EQ(s.Position(), s.Size());
}

TEST(ReadStreamUntilTagList, StopsBeforeTheFirstListedTag) {
    TStringStream s(std::string("a<b>x<Data>y</DATA kind>z<data"));
    std::int32_t index = 7;
    const std::vector<String> list{u"data", u"/data"};
    EXPECT_EQ(ReadStreamUntilTagList(s, list, index), u"a<b>x");
    EXPECT_EQ(index, 0);
    String attr;
    String elem;
    EXPECT_EQ(ReadNextTagInStream(s, list, attr, elem), 0);  // the tag itself is read next
    EXPECT_EQ(elem, u"y</DATA kind>z<data");
    s.SetPosition(6);
    EXPECT_EQ(ReadStreamUntilTagList(s, std::vector<String>{u"/data"}, index), u"Data>y");
    EXPECT_EQ(index, 0);
    s.SetPosition(24);
    EXPECT_EQ(ReadStreamUntilTagList(s, list, index), u"z");  // a name ended by the end
    EXPECT_EQ(index, 0);
    s.SetPosition(0);
    EXPECT_EQ(ReadStreamUntilTagList(s, std::vector<String>{u"dat"}, index),
              u"a<b>x<Data>y</DATA kind>z<data");
    EXPECT_EQ(index, -1);
}

namespace {

void Shout(String Command, String& Substring) {
    if (Command == u"upper")
        for (Char& c : Substring)
            if (c >= u'a' && c <= u'z') c = static_cast<Char>(c - 32);
}

}  // namespace

TEST(ExtractAndReplace, MemoryStreamsAndStringLists) {
    TStringStream s(std::string("a<b>c<!-- x > y<d e=\"1\"/>f<open"));
    TMemoryStream text;
    TStringList tags;
    EXPECT_EQ(ExtractFromStream(s, text, tags), 4);
    EXPECT_EQ(tags.Count(), 4);
    EXPECT_EQ(tags.Strings(0), u"b");
    EXPECT_EQ(tags.Strings(1), u"!-- x ");
    EXPECT_EQ(tags.Strings(2), u"d e=\"1\"/");
    EXPECT_EQ(tags.Strings(3), u"open");
    text.SetPosition(0);
    EXPECT_EQ(RestOf(text), "ac yf");

    TMemoryStream src;
    const std::string in = "one Two one ONE one";
    src.WriteBuffer(in.data(), static_cast<std::int64_t>(in.size()));
    TMemoryStream dst;
    dst.WriteBuffer("old", 3);
    EXPECT_EQ(SearchAndReplace(src, dst, u"one", u"[{match}:{count}]", true, 2, 2, u"{}", nullptr),
              2);
    dst.SetPosition(0);
    EXPECT_EQ(RestOf(dst), "one Two [one:1] [ONE:2] one");
    EXPECT_EQ(src.Position(), src.Size());

    EXPECT_EQ(
        SearchAndReplace(src, dst, u"one", u"<{upper}|{other}|{open", false, 0, 0, u"{}", Shout),
        3);
    dst.SetPosition(0);
    EXPECT_EQ(RestOf(dst), "<ONE|one|{open Two <ONE|one|{open ONE <ONE|one|{open");

    EXPECT_EQ(SearchAndReplace(src, dst, u"", u"x", false, 1, 0, u"", nullptr), 0);
    dst.SetPosition(0);
    EXPECT_EQ(RestOf(dst), in);
    EXPECT_EQ(SearchAndReplace(src, dst, u"o", u"{match}", false, 1, 0, u"", nullptr), 4);
    dst.SetPosition(0);
    EXPECT_EQ(RestOf(dst), "{match}ne Tw{match} {match}ne ONE {match}ne");
}
