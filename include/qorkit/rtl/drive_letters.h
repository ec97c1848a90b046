// Drive letters on a system without them: one table maps letters onto mount points, and the
// mount table tells what kind of volume each one is.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Drive type codes of `DriveTypeOfMount` and `GetDiskDriveType`.
inline constexpr std::int32_t dtUnknown = 0;
/// See `dtUnknown`: the letter stands for no mount point.
inline constexpr std::int32_t dtNoRootDir = 1;
/// See `dtUnknown`: a removable medium (USB stick, card).
inline constexpr std::int32_t dtRemovable = 2;
/// See `dtUnknown`: a fixed disk (also overlay and other local file systems).
inline constexpr std::int32_t dtFixed = 3;
/// See `dtUnknown`: a network file system.
inline constexpr std::int32_t dtRemote = 4;
/// See `dtUnknown`: an optical disc.
inline constexpr std::int32_t dtCDROM = 5;
/// See `dtUnknown`: a file system in memory.
inline constexpr std::int32_t dtRAMDisk = 6;

/// One line of the mount table.
struct TMountEntry {
    std::string Device;      ///< what is mounted ("/dev/sda1", "server:/export", "tmpfs")
    std::string MountPoint;  ///< where
    std::string FileSystem;  ///< its type ("ext4", "nfs4", "tmpfs", ...)
};

/// The entries of a mount table in the format of /proc/self/mounts (blank-separated fields,
/// with space, tab, line feed and backslash written as the octal escapes "\040", "\011",
/// "\012", "\134"). Lines with fewer than three fields are skipped.
std::vector<TMountEntry> ParseMountTable(std::string_view Text);
/// The running process's mounts (/proc/self/mounts); empty when it cannot be read.
std::vector<TMountEntry> ReadMountTable();

/// The drive-letter table: for each index 0 (A:) to 25 (Z:) the mount point the letter stands
/// for, "" for a letter that does not exist. A: and B: never exist; C: is the root "/"; D: to
/// Z: are, in the order of `Mounts`, the distinct mount points at or below /media/,
/// /run/media/ and /mnt/ (where removable media and extra volumes are mounted); letters beyond
/// Z: are not given.
std::array<std::string, 26> DriveLetterTable(std::span<const TMountEntry> Mounts);
/// The table for the running system (`ReadMountTable`).
std::array<std::string, 26> DriveLetterTable();

/// The drive type of a mount, from its file-system type: network file systems (nfs, cifs,
/// smb3, sshfs, 9p, ceph, ...) `dtRemote`; iso9660 and udf `dtCDROM`; tmpfs and ramfs
/// `dtRAMDisk`; a block device that the kernel marks removable (/sys/class/block) `dtRemovable`;
/// anything else `dtFixed`.
std::int32_t DriveTypeOfMount(const TMountEntry& Mount);

/// The type of the volume that holds the folder `MountPoint` in `Mounts` (the last entry whose
/// mount point is exactly `MountPoint`, as the later mount hides the earlier); `dtUnknown`
/// when no entry has it, `dtNoRootDir` for an empty `MountPoint`.
std::int32_t DriveTypeOfMountPoint(std::span<const TMountEntry> Mounts,
                                   std::string_view MountPoint);

}  // namespace qorkit
