#include <gtest/gtest.h>

#include <string>

#include "qorkit/core/errors.h"
#include "qorkit/strings/uu_coding.h"

using namespace qorkit;

namespace {

std::string U8(const String& s) {
    return ToUtf8(s);
}

String AllBytes(std::size_t n) {
    String s;
    for (std::size_t i = 0; i < n; ++i)
        s += static_cast<Char>((i * 37 + 11) % 256);
    return s;
}

}  // namespace

TEST(UUEncodeStr, WritesTheClassicFileLayout) {
    EXPECT_EQ(U8(UUEncodeStr(u"Cat")), "begin 644 data\n#0V%T\n`\nend\n");
    EXPECT_EQ(U8(UUEncodeStr(u"")), "begin 644 data\n`\nend\n");
    // Zero values are written as '`', never as a blank.
    EXPECT_EQ(U8(UUEncodeStr(String(3, u'\0'))), "begin 644 data\n#````\n`\nend\n");
    // 45 bytes per line, 'M' announcing a full line of 60 data characters.
    const String enc = UUEncodeStr(AllBytes(100));
    const std::string e = U8(enc);
    const std::size_t first = e.find('\n') + 1;
    EXPECT_EQ(e[first], 'M');
    EXPECT_EQ(e.find('\n', first) - first, 61u);
    EXPECT_EQ(e.find(' '), 5u);  // only the blanks of the "begin" line
    EXPECT_THROW(UUEncodeStr(u"a\u20AC"), EQORStringlError);
}

TEST(UUDecodeStr, RoundTripsEveryLength) {
    for (std::size_t n : {0, 1, 2, 3, 44, 45, 46, 90, 91, 1000}) {
        const String s = AllBytes(n);
        EXPECT_EQ(UUDecodeStr(UUEncodeStr(s)), s) << n;
    }
}

TEST(UUDecodeStr, AcceptsCommonVariants) {
    // Blank for zero, CR LF line ends, a mail header before "begin", bare data lines.
    EXPECT_EQ(U8(UUDecodeStr(u"From: x\r\n\r\nbegin 600 f.txt\r\n#0V%T\r\n \r\nend\r\n")), "Cat");
    EXPECT_EQ(UUDecodeStr(u"begin 644 z\n#    \n`\nend\n"), String(3, u'\0'));
    EXPECT_EQ(U8(UUDecodeStr(u"#0V%T\n")), "Cat");
    EXPECT_EQ(U8(UUDecodeStr(u"#0V%T")), "Cat");
    EXPECT_EQ(U8(UUDecodeStr(u"#0V%TXY\n`\n")), "Cat");  // extra characters are ignored
    EXPECT_EQ(U8(UUDecodeStr(u"")), "");
}

TEST(UUDecodeStr, RejectsMalformedInput) {
    for (const char16_t* bad : {
             u"#0V%\n",                          // shorter than announced
             u"#0V%t\n",                         // 't' is outside blank..'`'
             u"begin 644 x\nend\n",              // no data line
             u"begin 644 x\n#0V%T\n",            // cut off before the end
             u"begin 644 x\n#0V%T\n\n`\nend\n",  // empty line inside
             u"#0V%T\n`\n#0V%T\n",               // data after the zero-length line
             u"\u0123",                          // character beyond the code range
             u"M",                               // a full line announced, nothing there
         }) {
        EXPECT_THROW(UUDecodeStr(bad), EQORStringlError) << U8(bad);
    }
    try {
        UUDecodeStr(u"begin 644 x\n#0V%T\n!\n");
        FAIL();
    } catch (const EQORStringlError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
    }
}
