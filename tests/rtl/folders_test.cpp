#include "qorkit/rtl/folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

using namespace qorkit;

TEST(Folders_ForceDirectories, CreatesMissingParentsOnly) {
    qorkit::test::TempDir dir;
    dir.Put("file", "f");
    std::filesystem::create_directory(dir.Path() / "Have");
    const struct {
        const char* Path;
        bool Result;
        const char* Exists;  // afterwards, "" when nothing is expected
    } cases[] = {
        {"a\\b/c", true, "a/b/c"},
        {"HAVE\\new", true, "Have/new"},  // the stored case of an
                                          // existing folder
        {"a/b/c/", true, "a/b/c"},
        {"file/x", false, ""},
        {"file", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ForceDirectories(dir.Name(c.Path)), c.Result) << c.Path;
        if (*c.Exists != '\0') {
            EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / c.Exists)) << c.Path;
        }
    }
    EXPECT_FALSE(ForceDirectories(u""));
}

TEST(Folders_RmDir, RemovesEmptyFoldersAndRaisesOtherwise) {
    qorkit::test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "full/sub");
    std::filesystem::create_directory(dir.Path() / "Empty");
    RmDir(dir.Name("EMPTY"));
    EXPECT_FALSE(dir.Exists("Empty"));
    const struct {
        const char* Path;
        int Code;
    } cases[] = {{"full", 5}, {"missing", 2}, {"no/such", 3}};
    for (const auto& c : cases) {
        try {
            RmDir(dir.Name(c.Path));
            ADD_FAILURE() << c.Path;
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.ErrorCode(), c.Code) << c.Path;
            EXPECT_NE(ToUtf8(e.Message()).find("Cannot remove folder \""), std::string::npos);
        }
    }
    EXPECT_TRUE(dir.Exists("full/sub"));
}
