// System folders and the environment over POSIX.
#include "qorkit/filesys/system_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/sysutils.h"

extern char** environ;

namespace qorkit {

String GetSystemDir() {
    return u"/usr/lib";
}

String GetWindowsDir() {
    return u"/usr";
}

String GetTempDir() {
    const char* tmp = std::getenv("TMPDIR");
    String dir = ExpandFileName(FromUtf8(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp"));
    struct stat st {};
    if (::stat(ToUtf8(dir).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return String();
    if (dir.back() != PathDelim) dir += PathDelim;
    return dir;
}

String GetEnviroVar(const String& Name) {
    if (Name.empty()) return String();
    const String wanted = UpperCase(Name) + u"=";
    String value;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        const String entry = FromUtf8(*e);
        if (entry.size() >= wanted.size() &&
            UpperCase(std::u16string_view(entry).substr(0, wanted.size())) == wanted)
            value = entry.substr(wanted.size());
    }
    return value;
}

}  // namespace qorkit
