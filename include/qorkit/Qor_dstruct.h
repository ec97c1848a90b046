// Unit Qor_dstruct: data structures, checksums and encodings (raises EQORDStructError).
#pragma once

#include "qorkit/Qor_qorbase.h"
#include "qorkit/dstruct/ascii85.h"
#include "qorkit/dstruct/assoc_array.h"
#include "qorkit/dstruct/base64.h"
#include "qorkit/dstruct/bit_field.h"
#include "qorkit/dstruct/byte_matrix.h"
#include "qorkit/dstruct/combinatorics.h"
#include "qorkit/dstruct/crc.h"
#include "qorkit/dstruct/feature_matrix.h"
#include "qorkit/dstruct/fifo.h"
#include "qorkit/dstruct/logic_op.h"
#include "qorkit/dstruct/rle_encoder.h"
#include "qorkit/dstruct/sha1.h"
#include "qorkit/dstruct/string_accu.h"
#include "qorkit/dstruct/string_table.h"
