// Qorkit: every unit of the library and the platform layer beneath it.
#pragma once

#include "qorkit/Qor_cpuid.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/Qor_filesys.h"
#include "qorkit/Qor_htmlsupport.h"
#include "qorkit/Qor_qorbase.h"
#include "qorkit/Qor_qorcolors.h"
#include "qorkit/Qor_streams.h"
#include "qorkit/Qor_stringl.h"
#include "qorkit/Qor_univconst.h"
#include "qorkit/rtl/rtl.h"
