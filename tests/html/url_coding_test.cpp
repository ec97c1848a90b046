// URL helpers: ExtractHTTPPath, URLEncode and URLDecode.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "qorkit/Qor_htmlsupport.h"

namespace qorkit {
namespace {

TEST(UrlCoding, ExtractHTTPPath) {
    const std::vector<std::pair<const char16_t*, const char16_t*>> cases = {
        {u"http://example.org/docs/index.html", u"example.org/docs/"},
        {u"HTTP://Example.org/a/b/", u"Example.org/a/b/"},
        {u"see http://h/x http://g/y", u"h/x http://g/"},
        {u"https://example.org/docs/index.html", u"https://example.org/docs/"},
        {u"http://example.org", u"example.org/"},
        {u"http://", u""},
        {u"dir/file.txt", u"dir/"},
        {u"file.txt", u""},
        {u"", u""},
    };
    for (const auto& [in, expected] : cases)
        EXPECT_EQ(ExtractHTTPPath(in), expected) << ToUtf8(in);
}

TEST(UrlCoding, EncodeTheTwentyCharacters) {
    EXPECT_EQ(URLEncode(u"!*'();:@&=+$,/?%#[] "),
              u"%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D%20");
    EXPECT_EQ(URLEncode(u"a b&c"), u"a%20b%26c");
    EXPECT_EQ(URLEncode(u"100%"), u"100%25");
    EXPECT_EQ(URLEncode(u"\u00E4-_.~\"<>\\^`{|}\u20AC"), u"\u00E4-_.~\"<>\\^`{|}\u20AC");
}

TEST(UrlCoding, DecodeRunsTwoPasses) {
    const std::vector<std::pair<const char16_t*, String>> cases = {
        {u"100%25", u"100%"},
        {u"%2541", u"A"},
        {u"%zz", u"%zz"},
        {u"a%20b%26c", u"a b&c"},
        {u"%e4%E4", u"\u00E4\u00E4"},
        {u"%", u"%"},
        {u"%4", u"%4"},
        {u"x%4", u"x%4"},
        {u"%%41", u"%A"},
        {u"%00", String(1, u'\0')},
        {u"%252", u"%2"},
        {u"%25%34%31", u"A"},
        {u"%C3%A4", u"\u00C3\u00A4"},
        {u"\u20AC%", u"\u20AC%"},
        {u"", u""},
    };
    for (const auto& [in, expected] : cases)
        EXPECT_EQ(URLDecode(in), expected) << ToUtf8(in);
}

TEST(UrlCoding, DecodeUndoesEncodeForTextWithoutPercent) {
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> unit(1, 300);
    for (int round = 0; round < 5000; ++round) {
        String s;
        for (int k = round % 17; k > 0; --k) {
            const auto c = static_cast<Char>(unit(gen));
            s.push_back(c == u'%' ? u'#' : c);
        }
        ASSERT_EQ(URLDecode(URLEncode(s)), s) << ToUtf8(s);
    }
}

}  // namespace
}  // namespace qorkit
