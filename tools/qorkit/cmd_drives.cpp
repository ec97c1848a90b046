// The drives subcommand: the drive-letter table with each drive's type and free space.
#include <string>
#include <vector>

#include "command.h"
#include "qorkit/Qor_filesys.h"

namespace qorkit::tool {

namespace {

int Drives(Args args, std::ostream& out, std::ostream& err);

const Command kDrives{"drives", "qorkit drives",
                      "the drive letters, one a line: letter, type, bytes free, mount point",
                      Drives,
                      "Fields are separated by tabs. C: is /; D: to Z: are the mounts below\n"
                      "/media, /run/media and /mnt in the order of the mount table. Types: fixed,\n"
                      "removable, remote, cdrom, ramdisk, unknown; free is -1 when unknown.\n"};

const char* TypeName(std::int32_t type) {
    switch (type) {
        case dtRemovable:
            return "removable";
        case dtFixed:
            return "fixed";
        case dtRemote:
            return "remote";
        case dtCDROM:
            return "cdrom";
        case dtRAMDisk:
            return "ramdisk";
        case dtNoRootDir:
            return "none";
        default:
            return "unknown";
    }
}

int Drives(Args args, std::ostream& out, std::ostream&) {
    OptionParser().Parse(args, 0, 0);
    const std::vector<TMountEntry> mounts = ReadMountTable();
    const auto table = DriveLetterTable(mounts);
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].empty()) continue;
        const auto drive = static_cast<std::uint8_t>(i);
        out << static_cast<char>('A' + i) << ":\t"
            << TypeName(DriveTypeOfMountPoint(mounts, table[i])) << "\t"
            << static_cast<std::int64_t>(DiskFreeExtended(drive)) << "\t" << table[i] << "\n";
    }
    return 0;
}

const RegisterCommand kRegister(kDrives);

}  // namespace

}  // namespace qorkit::tool
