// Lists of integers, Booleans and numbers written as comma-separated parameter lists.
#pragma once

#include <cstdint>
#include <span>

#include "qorkit/rtl/system.h"

namespace qorkit {

/// Writes integers as a parameter list: "[1,2,3]" with `brackets`, "1,2,3" without. When
/// `maximum` > 0 only the first `maximum` values are written, followed by "..." when values
/// were left out ("[1,2,...]"). No values give "[]" or "". With `trailingComma` a "," follows.
String CreateParList(std::span<const std::int32_t> values, bool trailingComma, std::int32_t maximum,
                     bool brackets);

/// As above for Booleans, written "TRUE" and "FALSE".
String CreateParList(std::span<const bool> values, bool trailingComma, std::int32_t maximum,
                     bool brackets);

/// As above for numbers, each written by `AutoFormatData(x, digits)`: [1.50,2.25] for 1.5 and
/// 2.25 with 3 digits.
String CreateParList(std::span<const double> values, bool trailingComma, std::int32_t maximum,
                     std::int32_t digits, bool brackets);

}  // namespace qorkit
