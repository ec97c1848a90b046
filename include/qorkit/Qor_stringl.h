// Unit Qor_stringl: number formatting, string utilities and the pattern matcher (raises EQORStringlError).
#pragma once

#include "qorkit/Qor_qorbase.h"
