// The system, "Windows" and temporary folders and environment variables.
#pragma once

#include "qorkit/rtl/system.h"

namespace qorkit {

/// The folder of the system's shared libraries, the counterpart of the Windows system
/// folder: "/usr/lib" (no trailing separator).
String GetSystemDir();
/// The folder the operating system is installed in, the counterpart of the Windows folder:
/// "/usr" (no trailing separator).
String GetWindowsDir();

/// The folder for temporary files with a trailing separator: `TMPDIR` when it is set and not
/// empty, else "/tmp", made absolute (`ExpandFileName`); "" when that folder does not exist.
String GetTempDir();

/// The value of the environment variable whose name equals `Name` without regard to A-Z case;
/// when several do, the last one in the environment; "" when none does or `Name` is empty.
String GetEnviroVar(const String& Name);

}  // namespace qorkit
