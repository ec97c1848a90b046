// The drive-letter table over the mount table.
#include "qorkit/rtl/drive_letters.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <string>

namespace qorkit {

namespace {

// A field of the mount table with its octal escapes ("\040") undone.
std::string Unescape(std::string_view field) {
    const auto octal = [&](std::size_t k) { return field[k] >= '0' && field[k] <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) &&
            octal(i + 3)) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool Below(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path.starts_with(folder);
}

bool ReadFile(const char* name, std::string& text) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// True when the kernel marks the block device `device` ("/dev/sdb1") or, for a partition,
// its disk as removable.
bool RemovableDevice(const std::string& device) {
    if (!device.starts_with("/dev/")) return false;
    const std::string name = device.substr(device.rfind('/') + 1);
    std::string flag;
    if (ReadFile(("/sys/class/block/" + name + "/removable").c_str(), flag))
        return flag.starts_with('1');
    // A partition's own folder has no flag; its disk is the parent folder.
    return ReadFile(("/sys/class/block/" + name + "/../removable").c_str(), flag) &&
           flag.starts_with('1');
}

}  // namespace

std::vector<TMountEntry> ParseMountTable(std::string_view Text) {
    std::vector<TMountEntry> mounts;
    while (!Text.empty()) {
        const auto lf = Text.find('\n');
        std::string_view line = Text.substr(0, lf);
        Text = lf == std::string_view::npos ? std::string_view() : Text.substr(lf + 1);
        std::vector<std::string> fields;
        while (fields.size() < 3) {
            const auto start = line.find_first_not_of(" \t");
            if (start == std::string_view::npos) break;
            line.remove_prefix(start);
            const auto end = line.find_first_of(" \t");
            fields.push_back(Unescape(line.substr(0, end)));
            line = end == std::string_view::npos ? std::string_view() : line.substr(end);
        }
        if (fields.size() == 3) mounts.push_back({fields[0], fields[1], fields[2]});
    }
    return mounts;
}

std::vector<TMountEntry> ReadMountTable() {
    std::string text;
    if (!ReadFile("/proc/self/mounts", text)) return {};
    return ParseMountTable(text);
}

std::array<std::string, 26> DriveLetterTable(std::span<const TMountEntry> Mounts) {
    std::array<std::string, 26> table;
    table[2] = "/";
    std::size_t next = 3;
    for (const TMountEntry& m : Mounts) {
        if (next == table.size()) break;
        const std::string& p = m.MountPoint;
        if (!Below(p, "/media/") && !Below(p, "/run/media/") && !Below(p, "/mnt/")) continue;
        if (std::find(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(next), p) !=
            table.begin() + static_cast<std::ptrdiff_t>(next))
            continue;
        table[next++] = p;
    }
    return table;
}

std::array<std::string, 26> DriveLetterTable() {
    return DriveLetterTable(ReadMountTable());
}

std::int32_t DriveTypeOfMount(const TMountEntry& Mount) {
    static constexpr std::array<std::string_view, 16> kRemote = {
        "nfs",   "nfs4",        "cifs",  "smb3",       "smbfs",      "sshfs",
        "9p",    "afs",         "ceph",  "glusterfs",  "fuse.sshfs", "fuse.glusterfs",
        "davfs", "fuse.davfs2", "ncpfs", "fuse.rclone"};
    const std::string& fs = Mount.FileSystem;
    if (std::find(kRemote.begin(), kRemote.end(), fs) != kRemote.end()) return dtRemote;
    if (fs == "iso9660" || fs == "udf") return dtCDROM;
    if (fs == "tmpfs" || fs == "ramfs") return dtRAMDisk;
    if (RemovableDevice(Mount.Device)) return dtRemovable;
    return dtFixed;
}

std::int32_t DriveTypeOfMountPoint(std::span<const TMountEntry> Mounts,
                                   std::string_view MountPoint) {
    if (MountPoint.empty()) return dtNoRootDir;
    for (auto m = Mounts.rbegin(); m != Mounts.rend(); ++m)
        if (m->MountPoint == MountPoint) return DriveTypeOfMount(*m);
    return dtUnknown;
}

}  // namespace qorkit
