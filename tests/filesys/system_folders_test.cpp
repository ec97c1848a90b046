#include "qorkit/filesys/system_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "rtl/temp_dir.h"

using namespace qorkit;

TEST(SystemFolders_Env, LastCaseInsensitiveMatch) {
    ::setenv("QORKIT_TEST_VAR", "one=1", 1);
    EXPECT_EQ(GetEnviroVar(u"qorkit_test_var"), u"one=1");
    EXPECT_EQ(GetEnviroVar(u"QORKIT_TEST_VA"), u"");
    EXPECT_EQ(GetEnviroVar(u""), u"");
    ::unsetenv("QORKIT_TEST_VAR");
    EXPECT_EQ(GetEnviroVar(u"QORKIT_TEST_VAR"), u"");
}

TEST(SystemFolders_Temp, TmpdirWithTrailingSeparator) {
    qorkit::test::TempDir dir;
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("TMPDIR", dir.Native("x/..").c_str(), 1);
    EXPECT_EQ(ToUtf8(GetTempDir()), dir.Path().string() + "/");
    ::setenv("TMPDIR", dir.Native("missing").c_str(), 1);
    EXPECT_EQ(GetTempDir(), u"");
    if (old != nullptr)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}
