#include "qorkit/filesys/program_assoc.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "filesys/scoped_env.h"
#include "rtl/temp_dir.h"

using namespace qorkit;

TEST(ProgramAssoc_GetProgAssoc, GlobsThenMimeAppsThenDesktopEntries) {
    qorkit::test::TempDir dir;
    for (const char* d : {"data/mime", "data/applications/vendor", "config"})
        std::filesystem::create_directories(dir.Path() / d);
    dir.Put("data/mime/globs2",
            "# weight:type:glob[:flags]\n"
            "50:text/plain:*.txt\n"
            "50:text/x-csrc:*.c\n"
            "40:image/png:*.png\n"
            "60:image/x-png-hi:*.PNG\n"
            "50:text/x-cs-only:*.Qz:cs\n"
            "50:text/html:*.html\n"
            "50:application/x-compressed-tar:*.tar.gz\n"
            "50:application/x-orphan:*.orph\n");
    dir.Put("config/mimeapps.list",
            "[Added Associations]\ntext/plain=viewer.desktop\ntext/x-csrc=vendor-ide.desktop;\n"
            "[Default Applications]\ntext/plain=missing.desktop;editor.desktop;\n"
            "text/x-cs-only=editor.desktop\ntext/html=editor.desktop\n");
    dir.Put("config/test-mimeapps.list", "[Default Applications]\ntext/html = viewer.desktop\n");
    dir.Put("data/applications/mimeinfo.cache",
            "[MIME Cache]\nimage/x-png-hi=viewer.desktop;\n"
            "application/x-compressed-tar=hidden.desktop;\n");
    dir.Put("data/applications/editor.desktop",
            "[Desktop Entry]\nName=Editor\nExec=editor\\s--new %F\n[Desktop Action x]\nExec=no\n");
    dir.Put("data/applications/vendor/ide.desktop", "[Desktop Entry]\nExec = ide %f\n");
    dir.Put("data/applications/viewer.desktop", "[Desktop Entry]\nExec=viewer \\\\%u\n");
    dir.Put("data/applications/hidden.desktop", "[Desktop Entry]\nHidden=true\nExec=x\n");
    const qorkit::test::ScopedEnv env{{"XDG_DATA_HOME", dir.Native("data")},
                                      {"XDG_DATA_DIRS", "/nonexistent-qorkit"},
                                      {"XDG_CONFIG_HOME", dir.Native("config")},
                                      {"XDG_CONFIG_DIRS", "/nonexistent-qorkit"},
                                      {"XDG_CURRENT_DESKTOP", "Test:Other"}};
    const struct {
        const char16_t* Ext;
        const char16_t* Command;
    } cases[] = {
        {u"txt", u"editor --new %F"},  // default list: the first installed entry
        {u"TXT", u"editor --new %F"},  // patterns without "cs" ignore case
        {u"c", u"ide %f"},             // added association, vendor sub-folder
        {u"png", u"viewer \\%u"},      // highest weight wins; from mimeinfo.cache
        {u"Qz", u"editor --new %F"},   // a case-sensitive pattern in its own case ...
        {u"qz", u""},                  // ... and not in another
        {u"html", u"viewer \\%u"},     // the desktop's own list comes first
        {u"tar.gz", u""},              // the only program is hidden
        {u"orph", u""},                // a MIME type no program opens
        {u"none", u""},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetProgAssoc(c.Ext), c.Command) << ToUtf8(c.Ext);
}
