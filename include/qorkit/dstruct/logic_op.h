// TLogicOp: the bitwise combinations of the bit and byte containers.
#pragma once

#include <cstdint>
#include <type_traits>

namespace qorkit {

/// A bitwise combination of the own value a with another operand's value b: a and b, a or b,
/// a xor b, a and not b, a or not b, a xor not b.
enum TLogicOp : std::uint8_t { loAND, loOR, loXOR, loANDNot, loORNot, loXORNot };

/// True for the six operations above; the containers ignore a combination with any other value.
constexpr bool IsLogicOp(TLogicOp Op) noexcept {
    return Op <= loXORNot;
}

/// `Op` applied to `a` (the own value) and `b`, bit by bit; `a` for a value that is no
/// operation.
template <class T>
constexpr T ApplyLogicOp(T a, T b, TLogicOp Op) noexcept {
    switch (Op) {
        case loAND:
            return static_cast<T>(a & b);
        case loOR:
            return static_cast<T>(a | b);
        case loXOR:
            return static_cast<T>(a ^ b);
        case loANDNot:
            return static_cast<T>(a & ~b);
        case loORNot:
            return static_cast<T>(a | ~b);
        case loXORNot:
            return static_cast<T>(a ^ ~b);
    }
    return a;
}

/// Calls `f` with `Op` as a `std::integral_constant`, so that a loop inside `f` is compiled
/// once per operation; does nothing for a value that is no operation.
template <class F>
void VisitLogicOp(TLogicOp Op, F&& f) {
    switch (Op) {
        case loAND:
            f(std::integral_constant<TLogicOp, loAND>{});
            break;
        case loOR:
            f(std::integral_constant<TLogicOp, loOR>{});
            break;
        case loXOR:
            f(std::integral_constant<TLogicOp, loXOR>{});
            break;
        case loANDNot:
            f(std::integral_constant<TLogicOp, loANDNot>{});
            break;
        case loORNot:
            f(std::integral_constant<TLogicOp, loORNot>{});
            break;
        case loXORNot:
            f(std::integral_constant<TLogicOp, loXORNot>{});
            break;
    }
}

}  // namespace qorkit
