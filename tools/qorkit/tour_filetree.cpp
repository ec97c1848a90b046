// Tour section: copying and deleting folder trees, the trash and the drives, all inside a
// private temporary folder (the trash too), removed at the end.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "command.h"
#include "qorkit/Qor_filesys.h"

namespace qorkit::tool {

namespace {

// Sets XDG_DATA_HOME for the tour's trash and restores it afterwards.
class TrashHome {
  public:
    explicit TrashHome(const std::string& dir) {
        if (const char* old = std::getenv("XDG_DATA_HOME")) FOld = old;
        ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
    }
    ~TrashHome() {
        if (FOld)
            ::setenv("XDG_DATA_HOME", FOld->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

  private:
    std::optional<std::string> FOld;
};

void ShowFileTree(std::ostream& out) {
    std::string tmpl = ToUtf8(GetTempDir()) + "qorkit-tour-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) {
        out << "(no temporary folder to work in)\n";
        return;
    }
    const std::filesystem::path root = tmpl;
    const String base = FromUtf8(tmpl) + PathDelim;
    std::filesystem::create_directories(root / "src" / "Notes");
    std::ofstream(root / "src" / "a.txt") << "alpha\n";
    std::ofstream(root / "src" / "Notes" / "b.txt") << "beta\n";
    std::filesystem::create_symlink("a.txt", root / "src" / "link.txt");

    out << "CopyFileTree(src, dst) = " << CopyFileTree(base + u"src", base + u"dst", false, nullptr)
        << "; CountFiles(dst\\*.*, recursive) = " << CountFiles(base + u"DST\\*.*", true, nullptr)
        << " (the link copied as a link)\n";
    out << "CopyFileTree(src, src\\Notes\\copy) = "
        << CopyFileTree(base + u"src", base + u"src\\Notes\\copy", false, nullptr)
        << " (a folder is never copied into itself)\n";
    {
        const TrashHome home(tmpl + "/data");
        out << "MoveToRecycleBin(dst\\*.txt) = " << MoveToRecycleBin(base + u"dst\\*.txt")
            << "; the trash holds "
            << CountFiles(base + u"data\\Trash\\info\\*.trashinfo", false, nullptr)
            << " records a file manager can restore from\n";
    }
    out << "DelDirTree(dst) = \"" << ToUtf8(DelDirTree(base + u"dst"))
        << "\", DirExists(dst) = " << (DirExists(base + u"dst") ? "true" : "false") << "\n";
    TStringList drives;
    BuildDriveList(&drives);
    out << "BuildDriveList:";
    for (std::int32_t i = 0; i < drives.Count(); ++i)
        out << " " << ToUtf8(drives.Strings(i));
    out << "; C: stands for /, "
        << (DiskFreeExtended(2) >= 0 ? "free space known" : "free space unknown") << "\n";
    out << "GetSystemDir = " << ToUtf8(GetSystemDir())
        << ", GetWindowsDir = " << ToUtf8(GetWindowsDir()) << "\n";
    DelDirTree(FromUtf8(tmpl));
}

const RegisterTourSection kSection({112, "Copying, deleting, the trash and the drives",
                                    ShowFileTree});

}  // namespace

}  // namespace qorkit::tool
