// TRLEncoder: run-length coding through a buffer of four output blocks.
#include "qorkit/dstruct/rle_encoder.h"

#include <cstring>

#include "qorkit/core/errors.h"

namespace qorkit {

namespace {

String MemoryMessage(const String& Name, const char16_t* Tail) {
    return u"Component \"" + Name + u"\"" + Tail;
}

}  // namespace

TRLEncoder::TRLEncoder(TComponent* AOwner) : TComponent(AOwner) {
    GuardAllocation<EQORDStructError>(MemoryMessage(Name(), u": not enough memory on heap"),
                                      [&] { FBuffer.assign(4 * std::size_t{256}, 0); });
}

void TRLEncoder::Reserve(std::int64_t Extra) {
    const std::int64_t need = FBufPoi + Extra;
    if (need <= static_cast<std::int64_t>(FBuffer.size())) return;
    if (need > INT32_MAX) throw EQORDStructError(MemoryMessage(Name(), u": not enough memory"));
    GuardAllocation<EQORDStructError>(MemoryMessage(Name(), u": not enough memory"), [&] {
        std::size_t size = FBuffer.size() * 2;
        if (size < static_cast<std::size_t>(need)) size = static_cast<std::size_t>(need);
        if (size > INT32_MAX) size = INT32_MAX;
        FBuffer.resize(size, 0);
    });
}

void TRLEncoder::FlushRun() {
    if (FLastB != FLeadInByte && FCount <= 2) {
        for (int i = 0; i < FCount; ++i)
            Emit(FLastB);
    } else {
        Emit(FLeadInByte);
        Emit(FCount);
        Emit(FLastB);
    }
}

bool TRLEncoder::Encode(const void* InBuf, std::int32_t NumBytes) {
    FFinishing = false;
    if (NumBytes > 0) {
        // Each input byte emits at most three bytes.
        Reserve(3 * std::int64_t{NumBytes});
        const auto* in = static_cast<const std::uint8_t*>(InBuf);
        for (std::int32_t i = 0; i < NumBytes; ++i) {
            const std::uint8_t b = in[i];
            if (FCount == 0) {
                FCount = 1;
                FLastB = b;
            } else if (b == FLastB) {
                if (++FCount == 255) {
                    Emit(FLeadInByte);
                    Emit(255);
                    Emit(b);
                    FCount = 0;
                }
            } else {
                FlushRun();
                FCount = 1;
                FLastB = b;
            }
        }
    }
    return FBufPoi >= FBufLeng;
}

void TRLEncoder::TakeFront(void* OutBuf, std::int32_t n) {
    if (n <= 0) return;
    std::memcpy(OutBuf, FBuffer.data(), static_cast<std::size_t>(n));
    std::memmove(FBuffer.data(), FBuffer.data() + n, static_cast<std::size_t>(FBufPoi - n));
    FBufPoi -= n;
}

void TRLEncoder::GetResult(void* OutBuf) {
    if (FBufPoi >= FBufLeng) TakeFront(OutBuf, FBufLeng);
}

std::int32_t TRLEncoder::Finish(void* OutBuf) {
    // With blocks of three bytes or less an empty run per further call would refill the buffer
    // as fast as it drains, so such calls only deliver.
    if (!FFinishing || FBufLeng > 3) {
        Reserve(3);
        Emit(FLeadInByte);
        Emit(FCount);
        Emit(FLastB);
        FCount = 0;
    }
    FFinishing = true;
    const std::int32_t n = FBufPoi < FBufLeng ? FBufPoi : FBufLeng;
    TakeFront(OutBuf, n);
    return n;
}

bool TRLEncoder::Decode(std::uint8_t InByte) {
    switch (FDecodeSt) {
        case rlData:
            if (InByte == FLeadInByte) {
                FDecodeSt = rlLeadin;
            } else {
                Reserve(1);
                Emit(InByte);
            }
            break;
        case rlLeadin:
            FCount = InByte;
            FDecodeSt = rlCnt;
            break;
        case rlCnt:
            Reserve(FCount);
            std::memset(FBuffer.data() + FBufPoi, InByte, FCount);
            FBufPoi += FCount;
            FCount = 0;
            FDecodeSt = rlData;
            break;
    }
    return FBufPoi >= FBufLeng;
}

std::int32_t TRLEncoder::GetRemainder(void* OutBuf) {
    const std::int32_t n = FBufPoi < FBufLeng ? FBufPoi : FBufLeng;
    if (n > 0) TakeFront(OutBuf, n);
    return n;
}

void TRLEncoder::Reset() noexcept {
    FBufPoi = 0;
    FCount = 0;
    FLastB = 0;
    FDecodeSt = rlData;
    FFinishing = false;
}

void TRLEncoder::SetBufLeng(std::int32_t Value) {
    if (Value < 1 || Value == FBufLeng) return;
    const std::int64_t blocks = 4 * std::int64_t{Value};
    const std::int64_t size = blocks > FBufPoi ? blocks : FBufPoi;
    if (size > INT32_MAX)
        throw EQORDStructError(MemoryMessage(Name(), u": not enough memory on heap"));
    GuardAllocation<EQORDStructError>(MemoryMessage(Name(), u": not enough memory on heap"), [&] {
        std::vector<std::uint8_t> fresh(static_cast<std::size_t>(size), 0);
        std::memcpy(fresh.data(), FBuffer.data(), static_cast<std::size_t>(FBufPoi));
        FBuffer.swap(fresh);
    });
    FBufLeng = Value;
}

}  // namespace qorkit
