// Unit Qor_cpuid: CPU identification (raises EQORCpuIdError).
#pragma once

#include "qorkit/Qor_qorbase.h"
#include "qorkit/cpuid/cpuid.h"
