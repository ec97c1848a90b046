// Internal: the bytes of a stream from its position, piece by piece, for the coders and the
// digest. The library's own memory streams hand out views of their buffer (no copy); other
// streams are read into a buffer of the reader's.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qorkit/rtl/stream.h"

namespace qorkit::detail {

class StreamChunks {
  public:
    /// Pieces of at most `Max` bytes from `Input`; `Other` is a stream the caller writes to
    /// meanwhile (a write to `Input` itself could move its buffer, so then it is read by copy).
    StreamChunks(TStream& Input, std::size_t Max, const TStream* Other = nullptr);
    StreamChunks(const StreamChunks&) = delete;
    StreamChunks& operator=(const StreamChunks&) = delete;
    ~StreamChunks();

    /// The next piece: `Max` bytes, fewer only at the end of the stream, empty after it. A view
    /// stays valid until the next call; the stream's position is behind the piece. Read errors
    /// of the stream pass through.
    std::span<const std::uint8_t> Next();

  private:
    TStream& FInput;
    std::size_t FMax;
    bool FDirect;
    std::size_t FFilled = 0;  // bytes of the buffer that ever held data
    std::vector<std::uint8_t> FBuffer;
};

/// Room for output of a known length: inside the buffer of the library's own memory streams
/// (no copy), else in a buffer of the writer's that `Commit` writes out.
class StreamSink {
  public:
    /// Output to `Output`; `Other` is a stream read meanwhile (see `StreamChunks`).
    StreamSink(TStream& Output, const TStream* Other = nullptr);

    /// Room for exactly `Count` bytes at the stream's position, valid until `Commit`. A memory
    /// stream grows to hold them (raising `EStreamError` when memory runs out).
    std::uint8_t* Reserve(std::size_t Count);
    /// Puts the `Count` reserved bytes into the stream; write errors pass through.
    void Commit();

  private:
    TStream& FOutput;
    bool FDirect;
    std::size_t FCount = 0;
    std::vector<std::uint8_t> FBuffer;
};

}  // namespace qorkit::detail
