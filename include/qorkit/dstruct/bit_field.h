// TBitFld: a one-dimensional field of bits with counting, searching, random filling and
// logical combination.
#pragma once

#include <cstdint>
#include <vector>

#include "qorkit/core/types.h"
#include "qorkit/dstruct/logic_op.h"
#include "qorkit/rtl/objects.h"

namespace qorkit {

/// A field of the bits 0..`Size()`: `Size()` + 1 bits, packed eight to a byte (bit ix is bit
/// ix mod 8 of byte ix div 8, bit 0 the least significant) in `Size()` div 8 + 2 bytes.
///
/// The bits beyond `Size()` in the last bytes are padding: every operation keeps them clear,
/// so a field that grows later shows only false bits in its new range. Indices outside
/// 0..`Size()` never raise: reads give false, writes do nothing. No notifications.
///
/// Owned by `AOwner` when one is given (allocate with `new`), else by the caller.
class TBitFld : public TComponent {
  public:
    /// The largest `Size`: the count of all bits, `Size` + 1, must fit an Integer.
    static constexpr std::int32_t kMaxSize = 2147483646;

    /// A field with `Size` 1000, all bits false. Raises `EQORDStructError` "Component
    /// "<Name>": not enough memory on heap" when the bytes cannot be allocated.
    explicit TBitFld(TComponent* AOwner = nullptr);

    /// The highest bit index.
    std::int32_t Size() const noexcept { return FSize; }
    /// For 0 < `s` other than `Size`: the field holds the bits 0..s, keeping the bits below
    /// both sizes; new bits are false. Other values are ignored. Raises `EQORDStructError`
    /// "Component "<Name>": not enough memory" (the field unchanged) when the bytes cannot be
    /// allocated or `s` exceeds `kMaxSize`.
    void SetSize(std::int32_t s);

    /// Bit `ix`; false outside 0..`Size`.
    bool GetBit(std::int32_t ix) const noexcept;
    /// Sets or clears bit `ix`; nothing outside 0..`Size`.
    void SetBit(std::int32_t ix, bool Value) noexcept;
    /// Inverts bit `ix`; nothing outside 0..`Size`.
    void ToggleBit(std::int32_t ix) noexcept;
    /// All bits false.
    void Clear() noexcept;
    /// Inverts all bits 0..`Size`.
    void Invert() noexcept;

    /// The number of true bits (the processor's population count where it has one).
    std::int32_t CountTrueBits() const noexcept;
    /// The lowest index of a true bit; -1 when none is true.
    std::int32_t FirstTrueBit() const noexcept;
    /// Replaces `BitList` by the ascending indices in 0..`Size` whose bit equals `State`.
    /// Raises `EQORDStructError` "Component "<Name>": not enough memory" (the list unchanged)
    /// when the list cannot be allocated.
    void MakeListOfBits(TIntArray& BitList, bool State) const;

    /// When `SecondBArray` has the same `Size`: every bit becomes `Operation` of itself and the
    /// other field's bit. Nothing for a null or differently sized field or an unknown operation.
    void CombineWith(const TBitFld* SecondBArray, TLogicOp Operation) noexcept;

    /// Sets exactly round(0.01 x `Percent` x `Size`) random bits and clears all others; the
    /// percentage is clamped to 0..100 (NaN counts as 0) and rounding takes halves to even.
    void RandomFill(double Percent);
    /// Sets exactly `NBits` random bits, clamped to 0..`Size`, and clears all others.
    void RandomFill(std::int32_t NBits);
    /// Makes exactly `n` bits true at random, drawing with the process-wide generator
    /// (`Random`): for n > `Size` div 2 all bits are set and then bits at ix = round(Random() x
    /// `Size`) are cleared until n remain; otherwise all are cleared and drawn bits set until n
    /// are true. A draw that hits a bit already in the wanted state is repeated, and the end
    /// indices 0 and `Size` are drawn half as often as the others. `n` is clamped to
    /// 0..`Size` + 1 (any other count could never be reached).
    void SetRandBitsIntern(std::int32_t n);

    /// Makes this field a copy of `Source` (size and bits); nothing for a null source. Raises
    /// like `SetSize`.
    void Clone(const TBitFld* Source);
    /// From a `TBitFld`: copies `Size` and the bits; other sources go to the inherited
    /// `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Copies into a `TBitFld` of exactly the library's class or of this object's own class;
    /// other destinations go to the inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;

    /// The packed bytes (`Size` div 8 + 2 of them, padding clear), for inspection.
    const std::vector<std::uint8_t>& BitArray() const noexcept { return FBitArray; }

  private:
    // Clears the bits beyond FSize.
    void ClearPadding() noexcept;
    // The number of bytes that hold bits 0..FSize.
    std::size_t UsedBytes() const noexcept { return static_cast<std::size_t>(FSize) / 8 + 1; }

    std::int32_t FSize = 1000;
    std::vector<std::uint8_t> FBitArray;
};

/// The name of the population count in use: "popcnt" or "table".
const char* BitCountImplementation() noexcept;

}  // namespace qorkit
