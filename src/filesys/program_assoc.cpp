// Program associations through shared-mime-info and the desktop entry databases.
#include "qorkit/filesys/program_assoc.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xdg_dirs.h"

namespace qorkit {

namespace {

std::string_view Trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::vector<std::string> Split(std::string_view s, char sep) {
    std::vector<std::string> parts;
    for (;;) {
        const auto at = s.find(sep);
        parts.emplace_back(s.substr(0, at));
        if (at == std::string_view::npos) return parts;
        s.remove_prefix(at + 1);
    }
}

// The value of `key` in `[section]` of the key file `path`, if there is one.
std::optional<std::string> KeyValue(const std::string& path, std::string_view section,
                                    std::string_view key) {
    std::ifstream in(path);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        const std::string_view t = Trim(line);
        if (t.empty() || t.front() == '#') continue;
        if (t.front() == '[') {
            inSection = t == "[" + std::string(section) + "]";
            continue;
        }
        const auto eq = t.find('=');
        if (inSection && eq != std::string_view::npos && Trim(t.substr(0, eq)) == key)
            return std::string(Trim(t.substr(eq + 1)));
    }
    return std::nullopt;
}

// The escapes of a desktop entry's string values undone.
std::string Unescape(std::string_view v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        switch (v[++i]) {
            case 's':
                out += ' ';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                out += v[i];  // "\\" and any other character stand for themselves
        }
    }
    return out;
}

std::vector<std::string> DataFolders() {
    std::vector<std::string> dirs;
    if (const std::string home = detail::XdgDataHome(); !home.empty()) dirs.push_back(home);
    for (std::string& d : detail::XdgDataDirs())
        dirs.push_back(std::move(d));
    return dirs;
}

std::string MimeTypeOf(const std::string& ext) {
    const std::string wanted = "*." + ext;
    const std::string wantedLower = AsciiLower(wanted);
    for (const std::string& dir : DataFolders()) {
        std::ifstream in(dir + "/mime/globs2");
        std::string line, best;
        long bestWeight = -1;
        while (std::getline(in, line)) {
            if (line.empty() || line.front() == '#') continue;
            const std::vector<std::string> f = Split(line, ':');
            if (f.size() < 3) continue;
            const bool caseSensitive = f.size() > 3 && f[3].find("cs") != std::string::npos;
            const bool match = caseSensitive ? f[2] == wanted : AsciiLower(f[2]) == wantedLower;
            const long weight = std::strtol(f[0].c_str(), nullptr, 10);
            if (match && weight > bestWeight) {
                bestWeight = weight;
                best = f[1];
            }
        }
        if (!best.empty()) return best;
    }
    return {};
}

// The mimeapps.list files in the order of precedence.
std::vector<std::string> MimeAppsLists() {
    std::vector<std::string> prefixes;
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    for (const std::string& d : Split(desktops != nullptr ? desktops : "", ':'))
        if (!d.empty()) prefixes.push_back(AsciiLower(d) + "-");
    prefixes.emplace_back();
    std::vector<std::string> folders;
    if (const std::string home = detail::XdgConfigHome(); !home.empty()) folders.push_back(home);
    for (const std::string& d : detail::XdgConfigDirs())
        folders.push_back(d);
    for (const std::string& d : DataFolders())
        folders.push_back(d + "/applications");
    std::vector<std::string> lists;
    for (const std::string& folder : folders)
        for (const std::string& prefix : prefixes)
            lists.push_back(folder + "/" + prefix + "mimeapps.list");
    return lists;
}

// The Exec line of the installed, visible desktop entry `id`.
std::optional<std::string> ExecOf(const std::string& id) {
    std::vector<std::string> names{id};
    if (const auto dash = id.find('-'); dash != std::string::npos)
        names.push_back(id.substr(0, dash) + "/" + id.substr(dash + 1));
    for (const std::string& dir : DataFolders()) {
        for (const std::string& name : names) {
            const std::string path = dir + "/applications/" + name;
            if (!std::ifstream(path)) continue;
            if (KeyValue(path, "Desktop Entry", "Hidden") == "true") return std::nullopt;
            const auto exec = KeyValue(path, "Desktop Entry", "Exec");
            if (!exec || exec->empty()) return std::nullopt;
            return Unescape(*exec);
        }
    }
    return std::nullopt;
}

// The Exec line of the first installed application that `[section]` of `files` lists.
std::optional<std::string> FirstApplication(const std::vector<std::string>& files,
                                            std::string_view section, const std::string& mime) {
    for (const std::string& file : files) {
        const auto ids = KeyValue(file, section, mime);
        if (!ids) continue;
        for (const std::string& id : Split(*ids, ';'))
            if (!id.empty())
                if (auto exec = ExecOf(std::string(Trim(id)))) return exec;
    }
    return std::nullopt;
}

}  // namespace

String GetProgAssoc(const String& Ext) {
    if (Ext.empty()) return String();
    const std::string mime = MimeTypeOf(ToUtf8(Ext));
    if (mime.empty()) return String();
    const std::vector<std::string> lists = MimeAppsLists();
    std::vector<std::string> caches;
    for (const std::string& d : DataFolders())
        caches.push_back(d + "/applications/mimeinfo.cache");
    std::optional<std::string> exec = FirstApplication(lists, "Default Applications", mime);
    if (!exec) exec = FirstApplication(lists, "Added Associations", mime);
    if (!exec) exec = FirstApplication(caches, "MIME Cache", mime);
    return exec ? FromUtf8(*exec) : String();
}

}  // namespace qorkit
