// Drives and write probes: the drive list, drive types, free space, read-only folders.
// Drive index 0 is A:, 1 is B:, ... 25 is Z:; the letters stand for the mount points of
// `DriveLetterTable` (C: is "/").
#pragma once

#include <cstdint>

#include "qorkit/rtl/drive_letters.h"
#include "qorkit/rtl/string_list.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// The `dt...` type of drive `Drive`: `dtNoRootDir` for a letter that stands for nothing,
/// `dtUnknown` (0) for an index above 25 or a mount point missing from the mount table.
std::int32_t GetDiskDriveType(std::uint8_t Drive);

/// Clears `List` and adds "C:", "D:", ... (upper-case letter and colon) for every letter that
/// stands for a mount point, in letter order. Nothing happens when `List` is null.
void BuildDriveList(TStringList* List);

/// The bytes free for the caller on drive `Drive` (`statvfs`: available blocks times the
/// fragment size, rounded to a whole number), or -1 when the letter stands for nothing or the
/// system cannot tell.
double DiskFreeExtended(std::uint8_t Drive);

/// True when no file can be created in the folder `Dir`, found by creating and deleting the
/// probe file "$%$LO%$.$$$" there. An existing entry of that name is never touched: the answer
/// then comes from the folder's permissions and the file system's read-only flag. True for
/// "" and for a folder that does not exist.
bool DirIsReadOnly(const String& Dir);

/// `DirIsReadOnly` for the root folder of drive `Drive`; true for a letter that stands for
/// nothing. Note that the root "/" of C: is read-only for anyone but the superuser.
bool DiskIsReadOnly(std::uint8_t Drive);

}  // namespace qorkit
