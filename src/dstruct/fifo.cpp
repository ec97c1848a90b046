// TFifo: the ring buffer.
#include "qorkit/dstruct/fifo.h"

#include <algorithm>

#include "qorkit/core/errors.h"

namespace qorkit {

namespace {

constexpr std::u16string_view kMsgTooLarge = u": FIFO structure too large";

}  // namespace

TFifo::TFifo(TComponent* AOwner) : TComponent(AOwner) {
    GuardAllocation<EQORDStructError>(ComponentMessage(*this, kMsgTooLarge),
                                      [&] { FData.assign(static_cast<std::size_t>(FLength), 0); });
}

void TFifo::SetSize(std::int32_t l) {
    if (l <= 0 || l == FLength) return;
    std::vector<std::uint8_t> data;
    GuardAllocation<EQORDStructError>(ComponentMessage(*this, kMsgTooLarge),
                                      [&] { data.assign(static_cast<std::size_t>(l), 0); });
    const std::int32_t keep = std::min(CountBytes(), l - 1);
    for (std::int32_t i = 0; i < keep; ++i)
        SenseByte(i, data[static_cast<std::size_t>(i)]);
    FData.swap(data);
    FLength = l;
    FOutPoi = 0;
    FInPoi = keep;
}

std::int32_t TFifo::CountBytes() const noexcept {
    const std::int32_t n = FInPoi - FOutPoi;
    return n < 0 ? n + FLength : n;
}

bool TFifo::PutByte(std::uint8_t InByte) noexcept {
    if (Full()) return false;
    FData[static_cast<std::size_t>(FInPoi)] = InByte;
    FInPoi = Advance(FInPoi);
    return true;
}

bool TFifo::ForceByte(std::uint8_t InByte) noexcept {
    const bool drop = Full();
    if (drop) FOutPoi = Advance(FOutPoi);
    FData[static_cast<std::size_t>(FInPoi)] = InByte;
    FInPoi = Advance(FInPoi);
    return drop;
}

bool TFifo::LoadBack(std::uint8_t InByte) noexcept {
    if (Full()) return false;
    FOutPoi = FOutPoi == 0 ? FLength - 1 : FOutPoi - 1;
    FData[static_cast<std::size_t>(FOutPoi)] = InByte;
    return true;
}

bool TFifo::GetByte(std::uint8_t& OutByte) noexcept {
    if (FInPoi == FOutPoi) return false;
    OutByte = FData[static_cast<std::size_t>(FOutPoi)];
    FOutPoi = Advance(FOutPoi);
    return true;
}

bool TFifo::SenseByte(std::int32_t ix, std::uint8_t& OutByte) const noexcept {
    if (ix < 0 || ix >= CountBytes()) return false;
    // Both terms are below FLength, so the sum cannot overflow.
    std::int64_t at = std::int64_t{FOutPoi} + ix;
    if (at >= FLength) at -= FLength;
    OutByte = FData[static_cast<std::size_t>(at)];
    return true;
}

void TFifo::Clear() noexcept {
    FInPoi = 0;
    FOutPoi = 0;
}

}  // namespace qorkit
