// Unit Qor_streams: streams and tagged text (raises EQORError).
#pragma once

#include "qorkit/Qor_qorbase.h"
