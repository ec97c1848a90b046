// Word counting in HTML, the page head and foot, the body and its plain text.
#include <gtest/gtest.h>

#include <vector>

#include "qorkit/Qor_htmlsupport.h"
#include "qorkit/strings/word_count.h"

namespace qorkit {
namespace {

TEST(HtmlText, CountWordsSkipsTags) {
    bool inTag = true;  // overwritten by the first "<"... or kept: here the text starts in a tag
    EXPECT_EQ(CountWordsHTML(u"<b>Hello</b> world 2024 ", true, inTag), 2);
    EXPECT_FALSE(inTag);
    EXPECT_EQ(CountWordsHTML(u"<b>Hello</b> world 2024 ", false, inTag), 3);
    EXPECT_EQ(CountWordsHTML(u"text <a href=x", false, inTag), 1);
    EXPECT_TRUE(inTag);
    EXPECT_EQ(CountWordsHTML(u"y>more ", false, inTag), 1);
    EXPECT_FALSE(inTag);
    inTag = true;
    EXPECT_EQ(CountWordsHTML(u"still in tag> ab 1x x1 ", true, inTag), 2);  // ab, x1
    inTag = false;
    EXPECT_EQ(CountWordsHTML(u"Hel<i>lo</i> a \u0416\u0416 end", false, inTag), 3);
    EXPECT_EQ(CountWordsHTML(u"", false, inTag), 0);
}

TEST(HtmlText, CountWordsFollowsWordSeps) {
    const std::bitset<256> saved = WordSeps;
    WordSeps.reset();
    WordSeps.set(u'|');
    bool inTag = false;
    // ">" is no separator now: it joins the run that follows the tag.
    EXPECT_EQ(CountWordsHTML(u"ab|<b>cd|ef gh|", false, inTag), 3);  // ab, >cd, ef gh
    WordSeps = saved;
}

TEST(HtmlText, HeadAndFoot) {
    EXPECT_EQ(DefaultHTMLHead(u"R&D <1>", u"", u"", u"", true),
              u"<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"windows-1252\">\r\n"
              u"<title>R&amp;D &lt;1&gt;</title>\r\n</head>\r\n<body>\r\n");
    EXPECT_EQ(DefaultHTMLHead(u"T", u"A \"B\"", u"d\u00E9j\u00E0", u"s.css?a=1&b=2", false),
              u"<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"windows-1252\">\r\n"
              u"<title>T</title>\r\n<meta name=\"author\" content=\"A &quot;B&quot;\">\r\n"
              u"<meta name=\"description\" content=\"d&eacute;j&agrave;\">\r\n"
              u"<link rel=\"stylesheet\" href=\"s.css?a=1&amp;b=2\">\r\n</head>\r\n");
    EXPECT_EQ(DefaultHTMLFoot(true), u"</body>\r\n</html>\r\n");
    EXPECT_EQ(DefaultHTMLFoot(false), u"</html>\r\n");
}

TEST(HtmlText, ExtractBody) {
    const std::vector<std::pair<const char16_t*, const char16_t*>> cases = {
        {u"<html><head><title>t</title></head><BODY class=\"a>b\">x<p>y</p></Body></html>",
         u"x<p>y</p>"},
        {u"<!-- <body>no --><body>yes", u"yes"},
        {u"<script>'<body>'</script><body>in</body>", u"in"},
        {u"<body><script>var s = '</body>';</script>z</body>",
         u"<script>var s = '</body>';</script>z"},
        {u"<bodyx>a</bodyx>", u"<bodyx>a</bodyx>"},
        {u"just a fragment", u"just a fragment"},
        {u"<body", u""},
        {u"", u""},
    };
    for (const auto& [in, expected] : cases)
        EXPECT_EQ(ExtractHTMLBody(in), expected) << ToUtf8(in);
}

TEST(HtmlText, BodyToText) {
    struct Case {
        const char16_t* html;
        const char16_t* layout;  // KeepLayout true
        const char16_t* flat;    // KeepLayout false
    };
    const std::vector<Case> cases = {
        {u"  Hello,\n  <b>big</b>   world!  ", u"Hello, big world!", u"Hello, big world!"},
        {u"<h1>Title</h1><p>One &amp; two</p><p>three<br>four</p>",
         u"Title\r\nOne & two\r\nthree\r\nfour", u"Title One & two three four"},
        {u"a<br><br>b", u"a\r\n\r\nb", u"a b"},
        {u"<table><tr><th>x</th><td>1</td></tr><tr><td>2</td><td> 3 </td></tr></table>",
         u"x\t1\r\n2\t3", u"x 1 2 3"},
        {u"<pre>\n  a  b\n c</pre>d", u"  a  b\r\n c\r\nd", u"a b c d"},
        {u"<head><title>T</title><style>p{}</style></head><body>x<script>1<2</script>y</body>",
         u"xy", u"xy"},
        {u"<!-- c --><ul><li>one</li><li>two</li></ul>", u"one\r\ntwo", u"one two"},
        {u"a<span>&nbsp;</span>b&lt;i&gt;", u"a\u00A0b<i>", u"a\u00A0b<i>"},
        {u"x < y > z <3", u"x < y > z <3", u"x < y > z <3"},
        {u"<p>unclosed <a href='x>y", u"unclosed", u"unclosed"},
        {u"", u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertHTMLBodyToText(c.html, true), c.layout) << ToUtf8(c.html);
        EXPECT_EQ(ConvertHTMLBodyToText(c.html, false), c.flat) << ToUtf8(c.html);
    }
}

}  // namespace
}  // namespace qorkit
