// The freedesktop base folders, read from the environment each time (so tests can point them
// at fixture folders).
#pragma once

#include <string>
#include <vector>

namespace qorkit::detail {

/// `$XDG_DATA_HOME`, else `$HOME/.local/share`; "" when neither gives an absolute folder.
std::string XdgDataHome();
/// `$XDG_DATA_DIRS` (":"-separated), else /usr/local/share and /usr/share.
std::vector<std::string> XdgDataDirs();
/// `$XDG_CONFIG_HOME`, else `$HOME/.config`; "" when neither gives an absolute folder.
std::string XdgConfigHome();
/// `$XDG_CONFIG_DIRS` (":"-separated), else /etc/xdg.
std::vector<std::string> XdgConfigDirs();

}  // namespace qorkit::detail
