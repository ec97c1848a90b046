// Unit Qor_qorbase: shared types, the progress and abort hooks, the base error class, the
// language and lookup tables, and the package's start-up and shut-down.
#pragma once

#include "qorkit/core/errors.h"
#include "qorkit/core/hooks.h"
#include "qorkit/core/lookup_tables.h"
#include "qorkit/core/package.h"
#include "qorkit/core/types.h"
