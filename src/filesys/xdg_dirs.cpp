// Base folders as the freedesktop base-directory rules define them: relative entries are
// ignored, empty or unset variables take the defaults.
#include "xdg_dirs.h"

#include <cstdlib>
#include <string_view>

namespace qorkit::detail {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

std::string Home(const char* variable, const char* belowHome) {
    const std::string v = Env(variable);
    if (v.starts_with('/')) return v;
    const std::string home = Env("HOME");
    return home.starts_with('/') ? home + belowHome : std::string();
}

std::vector<std::string> List(const char* variable, std::vector<std::string> defaults) {
    std::vector<std::string> dirs;
    const std::string v = Env(variable);
    std::string_view rest = v;
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view item = rest.substr(0, colon);
        if (item.starts_with('/')) dirs.emplace_back(item);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return dirs.empty() ? defaults : dirs;
}

}  // namespace

std::string XdgDataHome() {
    return Home("XDG_DATA_HOME", "/.local/share");
}

std::vector<std::string> XdgDataDirs() {
    return List("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
}

std::string XdgConfigHome() {
    return Home("XDG_CONFIG_HOME", "/.config");
}

std::vector<std::string> XdgConfigDirs() {
    return List("XDG_CONFIG_DIRS", {"/etc/xdg"});
}

}  // namespace qorkit::detail
