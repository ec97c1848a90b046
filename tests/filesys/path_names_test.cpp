#include "qorkit/filesys/path_names.h"

#include <gtest/gtest.h>

#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/system.h"

using namespace qorkit;

namespace {

struct Case {
    const char16_t* In;
    const char16_t* Out;
};

}  // namespace

TEST(PathNames_Split, StripsExtensionsNamesAndParents) {
    for (const Case& c :
         {Case{u"C:\\dir.old\\file", u"C:\\dir.old\\file"}, Case{u"C:\\x\\a.b.c", u"C:\\x\\a.b"},
          Case{u"/home/u/.profile", u"/home/u/"}, Case{u"name.", u"name"},
          Case{u"a:b.txt", u"a:b"}})
        EXPECT_EQ(StripExtension(c.In), c.Out) << ToUtf8(c.In);
    // Every character of a long extension goes, not only the first 255.
    EXPECT_EQ(StripExtension(u"d\\a." + String(300, u'x')), u"d\\a");
    EXPECT_EQ(StripPath(u"C:\\x\\a.txt"), u"a.txt");
    EXPECT_EQ(ExtractFileExt(u"a.b\\c"), u"");
    EXPECT_EQ(ExtractFileExt(u"x/archive.tar.gz"), u".gz");
    for (const Case& c :
         {Case{u"C:\\a\\b\\", u"C:\\a\\"}, Case{u"C:\\a\\b.txt", u"C:\\a\\"}, Case{u"C:\\", u""},
          Case{u"abc", u""}, Case{u"/usr/lib/", u"/usr/"}, Case{u"/usr", u"/"}, Case{u"/", u""}})
        EXPECT_EQ(ParentDir(c.In), c.Out) << ToUtf8(c.In);
}

TEST(PathNames_Drives, RootsAndDriveIndices) {
    EXPECT_TRUE(IsRootDir(u"c:\\"));
    EXPECT_TRUE(IsRootDir(u" C:\\ "));
    for (const char16_t* p : {u"c:", u"c:/", u"\\\\", u"/", u"c:\\x", u""})
        EXPECT_FALSE(IsRootDir(p)) << ToUtf8(p);
    EXPECT_EQ(ExtractDrive(u"d:\\data"), 3);
    EXPECT_EQ(ExtractDrive(u"Z:"), 25);
    EXPECT_EQ(ExtractDrive(u"data\\x"), -1);
    EXPECT_EQ(ExtractDrive(u"1:"), 0);
    EXPECT_EQ(ExtractDrive(u""), -1);
    EXPECT_EQ(ExtractDrive(u"/home"), -1);
}

TEST(PathNames_Abridge, ReplacesFoldersFromTheFrontWhileTooLong) {
    EXPECT_EQ(AbridgeFilePath(u"C:\\Program Files\\Vendor\\App\\data.txt", 30),
              u"C:\\..\\Vendor\\App\\data.txt");
    EXPECT_EQ(AbridgeFilePath(u"C:\\Program Files\\Vendor\\App\\data.txt", 36),
              u"C:\\..\\Vendor\\App\\data.txt");  // "at least the maximum" abridges
    EXPECT_EQ(AbridgeFilePath(u"C:\\Program Files\\Vendor\\App\\data.txt", 37),
              u"C:\\Program Files\\Vendor\\App\\data.txt");
    EXPECT_EQ(AbridgeFilePath(u"C:\\Program Files\\Vendor\\App\\data.txt", 1),
              u"C:\\..\\..\\..\\data.txt");
    EXPECT_EQ(AbridgeFilePath(u"no-separator-at-all", 3), u"no-separator-at-all");
    EXPECT_EQ(AbridgeFilePath(u"/usr/local/share/doc/file", 10), u"/../../../../file");
    // Short names are kept rather than lengthened.
    EXPECT_EQ(AbridgeFilePath(u"C:\\a\\bb\\ccc\\f.txt", 5), u"C:\\a\\bb\\..\\f.txt");
    EXPECT_EQ(AbridgeFilePath(u"a\\\\b", 1), u"a\\\\b");
}

TEST(PathNames_Dos83, CompliantCharactersAndPieceLengths) {
    EXPECT_TRUE(IsFN83CompliantPath(u""));
    EXPECT_TRUE(IsFN83CompliantPath(u"C:\\~A_(1)\\{x}@$.%&"));
    for (const char16_t* p : {u"a b", u"a\"b", u"a*b", u"a+b", u"a,b", u"a/b", u"a;b", u"a=b",
                              u"a[b", u"a|b", u"\u00E4", u"a\tb"})
        EXPECT_FALSE(IsFN83CompliantPath(p)) << ToUtf8(p);
    EXPECT_TRUE(IsDOS83Path(u"C:\\DOCUMENT\\README.TXT"));
    EXPECT_FALSE(IsDOS83Path(u"C:\\LONGNAME9\\A.TXT"));
    EXPECT_FALSE(IsDOS83Path(u"C:\\A B\\C"));
    EXPECT_TRUE(IsDOS83Path(u"C:\\DOCUMENT\\ABCDEFGH"));
    EXPECT_FALSE(IsDOS83Path(u"C:\\DOCUMENT\\ABCDEFGHI"));
    EXPECT_FALSE(IsDOS83Path(u"C:\\DOCUMENT\\README.TEXT"));
    EXPECT_FALSE(IsDOS83Path(u"ABCDEFGHI.TXT"));
    EXPECT_FALSE(IsDOS83Path(u"/usr/x"));
}

TEST(PathNames_Validity, InvalidCharactersAndDotNames) {
    EXPECT_TRUE(IsValidFileName(u"a\"b"));
    EXPECT_TRUE(IsValidFileName(u""));
    EXPECT_FALSE(IsValidFileName(u"a:b"));
    EXPECT_FALSE(IsValidFileName(u".."));
    EXPECT_FALSE(IsValidFileName(u"."));
    EXPECT_TRUE(IsValidFileName(u"..."));
    for (const Char c : String(u"/<>?\\|*:"))
        EXPECT_FALSE(IsValidFileName(String(u"x") + c)) << static_cast<int>(c);
    EXPECT_EQ(ReplaceInvalidFileNameChars(u"a/b?c", u'_'), u"a_b_c");
    EXPECT_EQ(ReplaceInvalidFileNameChars(u"..", u'_'), u"__");
    EXPECT_EQ(ReplaceInvalidFileNameChars(u".", u'-'), u"-");
    EXPECT_EQ(ReplaceInvalidFileNameChars(u"<>|*:\\\"", u'_'), u"______\"");
}

TEST(PathNames_Extensions, InsertAndDefault) {
    EXPECT_EQ(InsertBeforeFileExt(u"_1", u"archive.tar.gz"), u"archive_1.tar.gz");
    EXPECT_EQ(InsertBeforeFileExt(u"_1", u"C:\\v1.0\\readme"), u"C:\\v1.0\\readme_1");
    EXPECT_EQ(InsertBeforeFileExt(u"_1", u"d/.profile"), u"d/_1.profile");
    EXPECT_EQ(EnsureDefaultFileExt(u"report", u"txt"), u"report.txt");
    EXPECT_EQ(EnsureDefaultFileExt(u"report", u".txt"), u"report.txt");
    EXPECT_EQ(EnsureDefaultFileExt(u"report.csv", u"txt"), u"report.csv");
    EXPECT_EQ(EnsureDefaultFileExt(u"report.", u"txt"), u"report.");
    EXPECT_EQ(EnsureDefaultFileExt(u"report", u""), u"report");
    EXPECT_EQ(EnsureDefaultFileExt(u"v1.0\\report", u"txt"), u"v1.0\\report.txt");
}
