#include "qorkit/filesys/asc_header.h"

#include <gtest/gtest.h>

#include <string>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/memory_stream.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

struct Header {
    std::int32_t Status = 99;
    String Title;
    std::int32_t C1 = -7, C2 = -7;
    bool F[4] = {true, true, true, true};
    bool operator==(const Header&) const = default;
};

Header FromStream(const std::string& bytes, std::int64_t* endPos = nullptr) {
    TStringStream s{std::string(bytes)};
    Header h;
    h.Status = ReadHeaderOfASC(s, h.Title, h.C1, h.C2, h.F[0], h.F[1], h.F[2], h.F[3]);
    if (endPos != nullptr) *endPos = s.Position();
    return h;
}

Header FromFile(const std::string& bytes) {
    TempDir dir;
    dir.Put("h.asc", bytes);
    Header h;
    h.Status =
        ReadHeaderOfASC(dir.Name("h.asc"), h.Title, h.C1, h.C2, h.F[0], h.F[1], h.F[2], h.F[3]);
    return h;
}

std::string Lines(const std::string& text, const char* eol) {
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += eol;
        else
            out += c;
    }
    return out;
}

}  // namespace

TEST(AscHeader_Read, StatusCodesOfBothFormsWithEitherLineEnd) {
    struct Case {
        const char* Text;
        std::int32_t FileStatus;
        std::int32_t StreamStatus;
    };
    for (const Case& c :
         {Case{"Data\n10\n3\ntrue  false TRUE x\n", 0, 0},
          Case{"Data\n10\n3\nTRUE maybe TRUE TRUE\n", -3, -3},
          Case{"Data\n0\n3\nTRUE TRUE TRUE TRUE\n", -1, -1},
          Case{"Data\n-4\n3\nTRUE TRUE TRUE TRUE\n", -1, -1},
          Case{"Data\n5\nnone\nTRUE TRUE TRUE TRUE\n", -2, -2},
          Case{"Data\n5 rows\n7 columns\nFALSE FALSE FALSE\n", 0, 0}, Case{"Data\n", -1, -1},
          Case{"", -1, -1}, Case{"T\n1\n2\nTRUE\tFALSE\tTRUE\tTRUE\n", 0, -3},
          Case{"T\n99999999999\n2\nTRUE TRUE TRUE TRUE\n", -1, 0},
          Case{"T\n12abc\n2\nTRUE TRUE TRUE TRUE\n", -1, 0}}) {
        for (const char* eol : {"\n", "\r\n"}) {
            const std::string bytes = Lines(c.Text, eol);
            EXPECT_EQ(FromFile(bytes).Status, c.FileStatus) << c.Text << (eol[1] ? " CRLF" : "");
            EXPECT_EQ(FromStream(bytes).Status, c.StreamStatus)
                << c.Text << (eol[1] ? " CRLF" : "");
        }
    }
}

TEST(AscHeader_Read, FieldsFlagsAndStreamPosition) {
    for (const char* eol : {"\n", "\r\n"}) {
        const std::string bytes = Lines("Data set\n10\n3\ntrue  false TRUE x\nnext\n", eol);
        Header want;
        want.Status = 0;
        want.Title = u"Data set";
        want.C1 = 10;
        want.C2 = 3;
        want.F[0] = true;
        want.F[1] = false;
        want.F[2] = true;
        want.F[3] = false;
        EXPECT_EQ(FromFile(bytes), want);
        std::int64_t end = 0;
        want.F[3] = true;  // the stream form leaves flag 4 as it was
        EXPECT_EQ(FromStream(bytes, &end), want);
        EXPECT_EQ(bytes.substr(static_cast<std::size_t>(end)), Lines("next\n", eol));
    }
    // Flag 4 keeps the caller's value in the stream form and is reset in the file form.
    const std::string noFourth = "t\n1\n1\nFALSE FALSE FALSE\n";
    EXPECT_TRUE(FromStream(noFourth).F[3]);
    EXPECT_FALSE(FromFile(noFourth).F[3]);
    // A bad first count stops the stream after its line.
    std::int64_t end = 0;
    EXPECT_EQ(FromStream("t\nx 1\n2\n", &end).Status, -1);
    EXPECT_EQ(end, 6);
}

TEST(AscHeader_Read, MissingFileAndFolderRaise) {
    TempDir dir;
    Header h;
    EXPECT_THROW(
        ReadHeaderOfASC(dir.Name("none.asc"), h.Title, h.C1, h.C2, h.F[0], h.F[1], h.F[2], h.F[3]),
        EInOutError);
    EXPECT_THROW(ReadHeaderOfASC(dir.Name(""), h.Title, h.C1, h.C2, h.F[0], h.F[1], h.F[2], h.F[3]),
                 EInOutError);
}
