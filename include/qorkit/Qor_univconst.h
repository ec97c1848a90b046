// Unit Qor_univconst: universal numeric constants.
#pragma once

#include "qorkit/core/univconst.h"
