// Escaping for HTML and resolving entities, with the round trip over random text.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "qorkit/Qor_htmlsupport.h"
#include "qorkit/core/lookup_tables.h"

namespace qorkit {
namespace {

TEST(HtmlEntities, OneCharacter) {
    const std::vector<std::pair<Char, const char16_t*>> cases = {
        {u'a', u"a"},         {u'&', u"&amp;"},    {u'<', u"&lt;"},      {u'>', u"&gt;"},
        {u'"', u"&quot;"},    {u'\'', u"&#39;"},   {u'\n', u"\n"},       {0x7F, u"&#127;"},
        {0x9F, u"&#159;"},    {0xA0, u"&nbsp;"},   {0xE9, u"&eacute;"},  {0xFF, u"&yuml;"},
        {0x20AC, u"&#8364;"}, {0xD800, u"\xD800"}, {0xFFFF, u"&#65535;"}};
    for (const auto& [c, expected] : cases)
        EXPECT_EQ(AnsiToHTMLEntity(c), expected) << static_cast<int>(c);
}

TEST(HtmlEntities, MakeCompatible) {
    EXPECT_EQ(MakeStringHTMLCompatible(u"a<b & \"\u00FC\""), u"a&lt;b &amp; &quot;&uuml;&quot;");
    EXPECT_EQ(MakeStringHTMLCompatible(u"\U0001F600|\xDC00x\xD800"), u"&#128512;|\xDC00x\xD800");
    EXPECT_EQ(MakeStringHTMLCompatible(u"&amp;"), u"&amp;amp;");
    EXPECT_EQ(MakeStringHTMLCompatible(u""), u"");
}

TEST(HtmlEntities, Resolve) {
    const std::vector<std::pair<const char16_t*, const char16_t*>> cases = {
        {u"&amp;lt;", u"&lt;"},
        {u"&lt;&gt;&quot;&apos;&amp;", u"<>\"'&"},
        {u"&auml;&Auml;&AUML;", u"\u00E4\u00C4&AUML;"},
        {u"&nbsp;&yuml;&szlig;", u"\u00A0\u00FF\u00DF"},
        {u"&#65;&#x41;&#X41;&#0065;&#x0000041;", u"AAAAA"},
        {u"&#1114111;&#128512;&#x10000;", u"\U0010FFFF\U0001F600\U00010000"},
        {u"&#0;&#xD800;&#57343;&#x110000;&#1114112;", u"&#0;&#xD800;&#57343;&#x110000;&#1114112;"},
        {u"&#99999999999999999999999;", u"&#99999999999999999999999;"},
        {u"&amp &; &#; &#x; &#xG; &#12a; &euro; a & b",
         u"&amp &; &#; &#x; &#xG; &#12a; &euro; a & b"},
        {u"&&amp;;", u"&&;"},
        {u"&abcdefghij;", u"&abcdefghij;"},
        {u"trailing &", u"trailing &"},
        {u"&#", u"&#"},
        {u"", u""},
    };
    for (const auto& [in, expected] : cases)
        EXPECT_EQ(ResolveHTMLEntities(in), expected) << ToUtf8(in);
    for (int c = 160; c <= 255; ++c)
        EXPECT_EQ(ResolveHTMLEntities(HTMLLat1Entities[c]), String(1, static_cast<Char>(c))) << c;
}

TEST(HtmlEntities, OneEntityToItsCharacter) {
    const std::vector<std::pair<const char16_t*, const char16_t*>> cases = {
        {u"&copy;", u"\u00A9"},
        {u"copy", u"\u00A9"},
        {u"copy;", u"\u00A9"},
        {u"&#228;", u"\u00E4"},
        {u"#xE4", u"\u00E4"},
        {u"&amp;", u"&"},
        {u"#128512", u"\U0001F600"},
        {u"&copy;x", u""},
        {u"euro", u""},
        {u"", u""},
        {u"&;", u""},
        {u"#0", u""}};
    for (const auto& [in, expected] : cases)
        EXPECT_EQ(HTMLEntityToAnsi(in), expected) << ToUtf8(in);
}

// Random text rich in what escaping and resolving care about: markup characters, entity-like
// text, Latin-1, characters beyond Latin-1, surrogate pairs and unpaired surrogates.
TEST(HtmlEntities, ResolveUndoesMakeCompatibleForEveryString) {
    const std::u16string_view pieces[] = {
        u"&",          u"<",      u">",      u"\"",     u"'",      u";",      u"#",
        u"x",          u"a",      u"amp",    u"lt",     u"&#",     u"&amp;",  u"&#65;",
        u"&#x41;",     u"&uuml;", u"\u00A0", u"\u00FF", u"\u007F", u"\u0080", u"\u20AC",
        u"\U0001F600", u"\xD800", u"\xDFFF", u"\xDBFF", u"\n",     u" ",      u"9"};
    std::mt19937 gen(20261208);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> unit(0, 0xFFFF);
    for (int round = 0; round < 20000; ++round) {
        String s;
        for (int k = length(gen); k > 0; --k) {
            if (k % 5 == 0)
                s.push_back(static_cast<Char>(unit(gen)));
            else
                s += pieces[pick(gen)];
        }
        const String html = MakeStringHTMLCompatible(s);
        for (const Char c : html)
            ASSERT_TRUE(c < 127 || (c >= 0xD800 && c <= 0xDFFF)) << "not ASCII: " << ToUtf8(s);
        ASSERT_EQ(ResolveHTMLEntities(html), s) << ToUtf8(s);
    }
}

}  // namespace
}  // namespace qorkit
