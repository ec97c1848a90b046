// The logical combination of byte ranges, one vectorisable loop per operation.
#include "combine_bytes.h"

#include <cstring>

namespace qorkit::detail {

namespace {

void CombineDistinct(std::uint8_t* __restrict Own, const std::uint8_t* __restrict Other,
                     std::size_t Len, TLogicOp Operation) noexcept {
    VisitLogicOp(Operation, [&](auto op) {
        for (std::size_t i = 0; i < Len; ++i)
            Own[i] = ApplyLogicOp(Own[i], Other[i], op);
    });
}

}  // namespace

void CombineBytes(std::uint8_t* Own, const std::uint8_t* Other, std::size_t Len,
                  TLogicOp Operation) noexcept {
    if (Own != Other) {
        CombineDistinct(Own, Other, Len, Operation);
        return;
    }
    // a op a: and, or keep a; xor, and-not give 0; or-not, xor-not give all ones.
    if (Operation == loXOR || Operation == loANDNot) std::memset(Own, 0, Len);
    if (Operation == loORNot || Operation == loXORNot) std::memset(Own, 0xFF, Len);
}

}  // namespace qorkit::detail
