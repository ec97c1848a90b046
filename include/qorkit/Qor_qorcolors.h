// Unit Qor_qorcolors: colour models, colour tables and colour arrays (raises EQORColArrayError).
#pragma once

#include "qorkit/Qor_qorbase.h"
#include "qorkit/colors/color_array.h"
#include "qorkit/colors/color_models.h"
#include "qorkit/colors/color_tables.h"
