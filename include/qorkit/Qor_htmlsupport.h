// Unit Qor_htmlsupport: HTML support (raises EQORError).
#pragma once

#include "qorkit/Qor_qorbase.h"
