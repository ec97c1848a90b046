// Unit Qor_filesys: file system (raises EQORFileSysError).
#pragma once

#include "qorkit/Qor_qorbase.h"
