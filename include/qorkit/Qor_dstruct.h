// Unit Qor_dstruct: data structures, checksums and encodings (raises EQORDStructError).
#pragma once

#include "qorkit/Qor_qorbase.h"
