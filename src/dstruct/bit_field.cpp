// TBitFld: bits packed eight to a byte; bulk work runs on 64-bit words.
#include "qorkit/dstruct/bit_field.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "assign_same_class.h"
#include "bit_count.h"
#include "combine_bytes.h"
#include "qorkit/core/errors.h"
#include "qorkit/rtl/random.h"

namespace qorkit {

namespace {

std::size_t BytesFor(std::int32_t Size) {
    return static_cast<std::size_t>(Size) / 8 + 2;
}

std::uint64_t LoadWord(const std::uint8_t* p) noexcept {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The index of the lowest set bit in `Len` bytes at `Data`, or -1.
std::int64_t LowestSetBit(const std::uint8_t* Data, std::size_t Len) noexcept {
    std::size_t i = 0;
    while (i + 32 <= Len && (LoadWord(Data + i) | LoadWord(Data + i + 8) | LoadWord(Data + i + 16) |
                             LoadWord(Data + i + 24)) == 0)
        i += 32;
    while (i + 8 <= Len && LoadWord(Data + i) == 0)
        i += 8;
    for (; i < Len; ++i)
        if (Data[i] != 0) return static_cast<std::int64_t>(8 * i) + std::countr_zero(Data[i]);
    return -1;
}

}  // namespace

TBitFld::TBitFld(TComponent* AOwner) : TComponent(AOwner) {
    GuardAllocation<EQORDStructError>(ComponentMessage(*this, kMsgNoHeapMemory),
                                      [&] { FBitArray.assign(BytesFor(FSize), 0); });
}

void TBitFld::SetSize(std::int32_t s) {
    if (s <= 0 || s == FSize) return;
    const String message = ComponentMessage(*this, kMsgNoMemory);
    if (s > kMaxSize) throw EQORDStructError(message);
    std::vector<std::uint8_t> bytes;
    GuardAllocation<EQORDStructError>(message, [&] { bytes.assign(BytesFor(s), 0); });
    const std::size_t keep = std::min(bytes.size(), FBitArray.size());
    std::memcpy(bytes.data(), FBitArray.data(), keep);
    FBitArray.swap(bytes);
    FSize = s;
    ClearPadding();  // a shrunk field keeps no bits above its new size
}

void TBitFld::ClearPadding() noexcept {
    const std::size_t last = static_cast<std::size_t>(FSize) / 8;
    FBitArray[last] &= static_cast<std::uint8_t>((2u << (FSize % 8)) - 1);
    std::fill(FBitArray.begin() + static_cast<std::ptrdiff_t>(last) + 1, FBitArray.end(), 0);
}

bool TBitFld::GetBit(std::int32_t ix) const noexcept {
    if (ix < 0 || ix > FSize) return false;
    return (FBitArray[static_cast<std::size_t>(ix) / 8] >> (ix % 8) & 1) != 0;
}

void TBitFld::SetBit(std::int32_t ix, bool Value) noexcept {
    if (ix < 0 || ix > FSize) return;
    std::uint8_t& b = FBitArray[static_cast<std::size_t>(ix) / 8];
    const auto mask = static_cast<std::uint8_t>(1u << (ix % 8));
    b = static_cast<std::uint8_t>(Value ? (b | mask) : (b & ~mask));
}

void TBitFld::ToggleBit(std::int32_t ix) noexcept {
    if (ix < 0 || ix > FSize) return;
    FBitArray[static_cast<std::size_t>(ix) / 8] ^= static_cast<std::uint8_t>(1u << (ix % 8));
}

void TBitFld::Clear() noexcept {
    std::fill(FBitArray.begin(), FBitArray.end(), 0);
}

void TBitFld::Invert() noexcept {
    std::uint8_t* const a = FBitArray.data();
    const std::size_t n = UsedBytes();
    for (std::size_t i = 0; i < n; ++i)  // the compiler turns this into vector operations
        a[i] = static_cast<std::uint8_t>(~a[i]);
    ClearPadding();
}

std::int32_t TBitFld::CountTrueBits() const noexcept {
    // The padding is clear, so the used bytes hold exactly the bits 0..Size.
    return static_cast<std::int32_t>(detail::CountBits(FBitArray.data(), UsedBytes()));
}

std::int32_t TBitFld::FirstTrueBit() const noexcept {
    return static_cast<std::int32_t>(LowestSetBit(FBitArray.data(), UsedBytes()));
}

void TBitFld::MakeListOfBits(TIntArray& BitList, bool State) const {
    const std::int32_t trues = CountTrueBits();
    const std::int64_t wanted = State ? trues : std::int64_t{FSize} + 1 - trues;
    TIntArray list;
    GuardAllocation<EQORDStructError>(ComponentMessage(*this, kMsgNoMemory),
                                      [&] { list.reserve(static_cast<std::size_t>(wanted)); });
    const std::uint8_t flip = State ? 0 : 0xFF;
    const std::size_t n = UsedBytes();
    for (std::size_t i = 0; i < n; ++i) {
        unsigned b = static_cast<std::uint8_t>(FBitArray[i] ^ flip);
        while (b != 0) {
            const auto ix = static_cast<std::int64_t>(8 * i) + std::countr_zero(b);
            if (ix > FSize) break;  // flipped padding
            list.push_back(static_cast<std::int32_t>(ix));
            b &= b - 1;
        }
    }
    BitList.swap(list);
}

void TBitFld::CombineWith(const TBitFld* SecondBArray, TLogicOp Operation) noexcept {
    if (SecondBArray == nullptr || SecondBArray->FSize != FSize) return;
    detail::CombineBytes(FBitArray.data(), SecondBArray->FBitArray.data(), UsedBytes(), Operation);
    ClearPadding();
}

void TBitFld::RandomFill(double Percent) {
    if (std::isnan(Percent)) Percent = 0;
    Percent = std::clamp(Percent, 0.0, 100.0);
    SetRandBitsIntern(static_cast<std::int32_t>(std::nearbyint(0.01 * Percent * FSize)));
}

void TBitFld::RandomFill(std::int32_t NBits) {
    SetRandBitsIntern(std::clamp(NBits, 0, FSize));
}

void TBitFld::SetRandBitsIntern(std::int32_t n) {
    if (FBitArray.empty()) return;
    n = std::clamp(n, 0, FSize + 1);
    // Round to nearest with halves to even, as the default floating-point mode does.
    const auto draw = [this] {
        return static_cast<std::int32_t>(std::nearbyint(Random() * FSize));
    };
    if (n > FSize / 2) {
        std::fill(FBitArray.begin(), FBitArray.end(), 0xFF);
        ClearPadding();
        for (std::int32_t count = FSize + 1; count > n;) {
            const std::int32_t ix = draw();
            if (GetBit(ix)) {
                SetBit(ix, false);
                --count;
            }
        }
    } else {
        Clear();
        for (std::int32_t count = 0; count < n;) {
            const std::int32_t ix = draw();
            if (!GetBit(ix)) {
                SetBit(ix, true);
                ++count;
            }
        }
    }
}

void TBitFld::Clone(const TBitFld* Source) {
    if (Source == nullptr || Source == this) return;
    std::vector<std::uint8_t> bytes;
    GuardAllocation<EQORDStructError>(ComponentMessage(*this, kMsgNoMemory),
                                      [&] { bytes = Source->FBitArray; });
    FBitArray.swap(bytes);
    FSize = Source->FSize;
}

void TBitFld::Assign(const TPersistent* Source) {
    if (const auto* field = dynamic_cast<const TBitFld*>(Source)) {
        Clone(field);
        return;
    }
    TComponent::Assign(Source);
}

void TBitFld::AssignTo(TPersistent* Dest) const {
    if (!detail::AssignToSameClass(*this, Dest)) TComponent::AssignTo(Dest);
}

const char* BitCountImplementation() noexcept {
    return detail::CountBitsImplementation();
}

}  // namespace qorkit
