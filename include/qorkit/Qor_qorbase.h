// Unit Qor_qorbase: shared types, the progress and abort hooks, the base error class, the
// language and lookup tables, the package's start-up and shut-down, and the graphic elements
// (marks, frames, canvas helpers, crosshair and label options).
#pragma once

#include "qorkit/core/errors.h"
#include "qorkit/core/hooks.h"
#include "qorkit/core/lookup_tables.h"
#include "qorkit/core/package.h"
#include "qorkit/core/types.h"
#include "qorkit/graphics/canvas_helpers.h"
#include "qorkit/graphics/crosshair.h"
#include "qorkit/graphics/dt_label.h"
#include "qorkit/graphics/frames.h"
#include "qorkit/graphics/marks.h"
#include "qorkit/graphics/text_label.h"
