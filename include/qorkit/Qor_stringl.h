// Unit Qor_stringl: number formatting, string utilities and the pattern matcher (raises
// EQORStringlError).
#pragma once

#include "qorkit/Qor_qorbase.h"
#include "qorkit/strings/char_classes.h"
#include "qorkit/strings/grep.h"
#include "qorkit/strings/number_format.h"
#include "qorkit/strings/param_lists.h"
#include "qorkit/strings/scramble.h"
#include "qorkit/strings/string_case.h"
#include "qorkit/strings/string_layout.h"
#include "qorkit/strings/string_search.h"
#include "qorkit/strings/string_strip.h"
#include "qorkit/strings/string_translit.h"
#include "qorkit/strings/tag_string.h"
#include "qorkit/strings/tokens.h"
#include "qorkit/strings/uu_coding.h"
#include "qorkit/strings/variant_text.h"
#include "qorkit/strings/word_count.h"
