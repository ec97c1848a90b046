// Variants, arrays included, as readable text.
#pragma once

#include "qorkit/rtl/system.h"
#include "qorkit/rtl/variant.h"

namespace qorkit {

/// Writes a variant as readable text. Scalars: Null "NULL"; the integer types in decimal
/// (unsigned 64-bit values above the signed range included); single and double as
/// `strff(x, 10, -2)` (" 1.235E+03"); Booleans "TRUE"/"FALSE"; 8- and 16-bit strings as they
/// are; any other type "(unknown type: N)" with N the type code without its array flag.
///
/// Arrays start with "Array", "[low,high]" per shown dimension, ":" and CR LF, and show at most
/// 12 elements per line ("..." marks more), 10 lines per block (" ......" marks more) and 3
/// layers (" ... more layers" marks more). An array whose dimension-1 high bound is negative
/// gives "undefined array". Multi-dimensional arrays show their first three dimensions (further
/// dimensions fixed at their low bounds); arrays of arrays are shown as up to three dimensions
/// with the bounds of the first element at each level. An element beyond the shown dimensions
/// that is itself an array is written "(array)"; an element missing from a shorter or
/// non-array row of an array of arrays is written as an empty field.
String ConvertVariant(const Variant& v);

}  // namespace qorkit
