// The platform layer: every header of include/qorkit/rtl.
#pragma once

#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/datetime.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/file_variable.h"
#include "qorkit/rtl/graphics_types.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/random.h"
#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/string_list.h"
#include "qorkit/rtl/system.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/rtl/text_file.h"
#include "qorkit/rtl/untyped_file.h"
#include "qorkit/rtl/variant.h"
