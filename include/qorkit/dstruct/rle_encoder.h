// TRLEncoder: incremental run-length coding with output in fixed-length blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "qorkit/rtl/objects.h"

namespace qorkit {

/// State of the run-length decoder: plain data, after the lead-in byte, after the count.
enum TDecodeSt : std::uint8_t { rlData, rlLeadin, rlCnt };

/// Run-length coder that passes data through a small buffer in blocks of `BufLeng` bytes.
///
/// Coded format: the lead-in byte 165 (0xA5), a count c and a byte d stand for c copies of d
/// (c = 0 for nothing); every other byte stands for itself. The byte 165 is always coded as a
/// run, and runs hold at most 255 bytes.
///
/// Encoding: `Reset`, then `Encode` each chunk and, while it reports a full block, collect it
/// with `GetResult`; finally call `Finish` until it returns less than `BufLeng`. Decoding:
/// `Reset`, `Decode` each coded byte and `GetResult` whenever it returns true; at the end
/// `GetRemainder` hands out the last short block. One object either encodes or decodes
/// between two `Reset`s.
///
/// The buffer holds 4 x `BufLeng` bytes, which is enough when `Encode` gets at most `BufLeng`
/// bytes per call, `BufLeng` is 85 or more and full blocks are collected as they appear. For
/// any other use the buffer grows as needed, so no input can write past it; growth failing
/// raises `EQORDStructError` "Component "<Name>": not enough memory".
///
/// Owned by `AOwner` when one is given (allocate with `new`), else by the caller.
class TRLEncoder : public TComponent {
  public:
    /// A coder with `BufLeng` 256, lead-in 165 and an empty, zeroed buffer. Raises
    /// `EQORDStructError` "Component "<Name>": not enough memory on heap" when the buffer cannot
    /// be allocated.
    explicit TRLEncoder(TComponent* AOwner = nullptr);

    /// Encodes the first `NumBytes` bytes at `InBuf` (nothing for `NumBytes` <= 0) and returns
    /// true when the buffer holds at least `BufLeng` bytes.
    bool Encode(const void* InBuf, std::int32_t NumBytes);
    /// When the buffer holds at least `BufLeng` bytes, moves the first `BufLeng` of them to
    /// `OutBuf` (which must have room for `BufLeng` bytes); otherwise does nothing.
    void GetResult(void* OutBuf);
    /// Ends an encoding: emits the pending run as a three-byte run (an empty one, 165 0 b, when
    /// nothing is pending), then moves up to `BufLeng` bytes to `OutBuf` and returns how many.
    /// Call again while it returns `BufLeng`; each further call adds one empty run, except
    /// with a `BufLeng` of 3 or less, where further calls only deliver (three more bytes per
    /// call would never let the buffer drain).
    std::int32_t Finish(void* OutBuf);
    /// Decodes one coded byte and returns true when the buffer holds at least `BufLeng` bytes.
    bool Decode(std::uint8_t InByte);
    /// Moves up to `BufLeng` of the bytes held to `OutBuf` and returns how many (0 when the
    /// buffer is empty); hands out the last, short block of a decoding. Coder state is kept.
    std::int32_t GetRemainder(void* OutBuf);
    /// Empties the buffer and clears the encoder and decoder state; keeps `BufLeng`.
    void Reset() noexcept;

    /// The output block length.
    std::int32_t BufLeng() const noexcept { return FBufLeng; }
    /// Sets the block length to `Value` and reallocates the buffer to 4 x `Value` zeroed bytes.
    /// Bytes already held are kept (the buffer is made large enough for them), as is the coder
    /// state. A `Value` below 1 is ignored. Raises `EQORDStructError` "Component "<Name>": not
    /// enough memory on heap" when the buffer cannot be allocated; the coder is then unchanged.
    void SetBufLeng(std::int32_t Value);
    /// The number of bytes held in the buffer.
    std::int32_t BufCount() const noexcept { return FBufPoi; }
    /// The buffer's current capacity in bytes (4 x `BufLeng` unless it had to grow).
    std::int32_t BufCapacity() const noexcept { return static_cast<std::int32_t>(FBuffer.size()); }
    /// The decoder's state.
    TDecodeSt DecodeState() const noexcept { return FDecodeSt; }

  private:
    // Makes sure `Extra` more bytes fit behind the held ones, growing the buffer if need be.
    void Reserve(std::int64_t Extra);
    // Emits the pending run in its short form (literal bytes where allowed).
    void FlushRun();
    void Emit(std::uint8_t b) { FBuffer[static_cast<std::size_t>(FBufPoi++)] = b; }
    // Moves `n` bytes from the front of the buffer to `OutBuf` and closes the gap.
    void TakeFront(void* OutBuf, std::int32_t n);

    std::int32_t FBufLeng = 256;
    std::vector<std::uint8_t> FBuffer;
    std::int32_t FBufPoi = 0;
    std::uint8_t FLeadInByte = 165;
    TDecodeSt FDecodeSt = rlData;
    std::uint8_t FCount = 0;
    std::uint8_t FLastB = 0;
    bool FFinishing = false;  // the last call was Finish
};

}  // namespace qorkit
