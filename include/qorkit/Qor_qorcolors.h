// Unit Qor_qorcolors: colour models, colour tables and colour arrays (raises EQORColArrayError).
#pragma once

#include "qorkit/Qor_qorbase.h"
