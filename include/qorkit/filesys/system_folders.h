// The temporary folder and environment variables.
#pragma once

#include "qorkit/rtl/system.h"

namespace qorkit {

/// The folder for temporary files with a trailing separator: `TMPDIR` when it is set and not
/// empty, else "/tmp", made absolute (`ExpandFileName`); "" when that folder does not exist.
String GetTempDir();

/// The value of the environment variable whose name equals `Name` without regard to A-Z case;
/// when several do, the last one in the environment; "" when none does or `Name` is empty.
String GetEnviroVar(const String& Name);

}  // namespace qorkit
