// Internal: the logical combination of two byte ranges, shared by the bit and byte containers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "qorkit/dstruct/logic_op.h"

namespace qorkit::detail {

/// Every byte of `Own` becomes `Operation` of itself and the byte of `Other` at the same place
/// (`Len` bytes each). `Own` and `Other` may be the same range but must not overlap otherwise.
/// Nothing for a value that is no operation.
void CombineBytes(std::uint8_t* Own, const std::uint8_t* Other, std::size_t Len,
                  TLogicOp Operation) noexcept;

}  // namespace qorkit::detail
