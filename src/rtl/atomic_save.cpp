#include "atomic_save.h"

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "posix_file.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit::detail {

namespace {

/// A name beside `FName` that no other save of this process uses at the same time.
String TemporarySibling(const String& FName) {
    static std::atomic<std::uint32_t> counter{0};
    return FName + u".tmp" + IntToStr(static_cast<std::int64_t>(::getpid())) + u"-" +
           IntToStr(static_cast<std::int64_t>(counter++));
}

}  // namespace

void SaveTextFileAtomically(const String& FName, const std::function<void(TextFile&)>& Write) {
    const String tmpName = TemporarySibling(FName);
    const std::string tmpPath = NativePath(tmpName);
    try {
        {
            TextFile F;
            F.Assign(tmpName);
            F.Rewrite();
            Write(F);
            F.Close();
        }
        // rename(2) replaces an existing target in one step, so readers see either the old
        // file or the new one, never a half-written one.
        const std::string path = NativePath(FName);
        std::error_code ec;
        std::filesystem::rename(tmpPath, path, ec);
        if (ec) {
            throw EInOutError(InOutCode(ec.value(), path),
                              u"Cannot rename file " + Quoted(tmpName) + u" to " + Quoted(FName) +
                                  u". " + SysErrorMessage(ec.value()));
        }
    } catch (const EInOutError& e) {
        std::error_code ec;
        std::filesystem::remove(tmpPath, ec);
        // The temporary name means little to the caller: name the file that was to be saved.
        throw EInOutError(e.ErrorCode(), u"Cannot save " + Quoted(FName) + u": " + e.Message());
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove(tmpPath, ec);
        throw;
    }
}

}  // namespace qorkit::detail
