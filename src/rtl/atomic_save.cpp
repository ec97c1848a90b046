// Writing a file through a temporary sibling and a rename.
#include "qorkit/rtl/atomic_save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "posix_file.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

namespace {

// The file that a save of `path` really replaces: the target of a symbolic link (replacing
// the link itself would cut it off from the file it named), else the path as given.
std::string SaveTarget(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

// A name beside `path` that no other save of this process uses at the same time.
std::string TemporarySibling(const std::string& path) {
    static std::atomic<std::uint32_t> counter{0};
    return path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

void SaveFileAtomically(const String& FileName,
                        const std::function<void(const String& TempName)>& Write) {
    const std::string target = SaveTarget(detail::NativePath(FileName));
    const std::string tmpPath = TemporarySibling(target);
    const auto removeTemp = [&] {
        std::error_code ec;
        std::filesystem::remove(tmpPath, ec);
    };
    try {
        Write(FromUtf8(tmpPath));
        struct stat old {};
        if (::stat(target.c_str(), &old) == 0) ::chmod(tmpPath.c_str(), old.st_mode & 07777);
        // rename(2) replaces an existing target in one step.
        if (::rename(tmpPath.c_str(), target.c_str()) != 0) {
            const int err = errno;
            throw EInOutError(detail::InOutCode(err, target),
                              u"Cannot rename file " + detail::Quoted(FromUtf8(tmpPath)) + u" to " +
                                  detail::Quoted(FileName) + u". " + SysErrorMessage(err));
        }
    } catch (const EInOutError& e) {
        removeTemp();
        // The temporary name means little to the caller: name the file that was to be saved.
        throw EInOutError(e.ErrorCode(),
                          u"Cannot save " + detail::Quoted(FileName) + u": " + e.Message());
    } catch (...) {
        removeTemp();
        throw;
    }
}

void SaveTextFileAtomically(const String& FName, const std::function<void(TextFile&)>& Write) {
    SaveFileAtomically(FName, [&](const String& TempName) {
        TextFile F;
        F.Assign(TempName);
        F.Rewrite();
        Write(F);
        F.Close();
    });
}

}  // namespace qorkit
