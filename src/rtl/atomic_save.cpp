#include "atomic_save.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "posix_file.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit::detail {

namespace {

// A name beside `FileName` that no other save of this process uses at the same time.
String TemporarySibling(const String& FileName) {
    static std::atomic<std::uint32_t> counter{0};
    return FileName + u".tmp" + IntToStr(static_cast<std::int64_t>(::getpid())) + u"-" +
           IntToStr(static_cast<std::int64_t>(counter++));
}

}  // namespace

void SaveFileAtomically(const String& FileName, const std::function<void(const String&)>& write) {
    const String tmpName = TemporarySibling(FileName);
    const std::string tmpPath = NativePath(tmpName);
    try {
        write(tmpName);
        const std::string path = NativePath(FileName);
        std::error_code ec;
        std::filesystem::rename(tmpPath, path, ec);
        if (ec) {
            throw EInOutError(InOutCode(ec.value(), path),
                              u"Cannot rename file " + Quoted(tmpName) + u" to " +
                                  Quoted(FileName) + u". " + SysErrorMessage(ec.value()));
        }
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove(tmpPath, ec);
        throw;
    }
}

}  // namespace qorkit::detail
