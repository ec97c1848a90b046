// Stream pieces for the coders and the digest: views into memory streams, copies otherwise.
#include "stream_chunks.h"

#include <typeinfo>

#include "qorkit/rtl/memory_stream.h"

namespace qorkit::detail {

namespace {

// Only the exact library classes: a derived class may have its own idea of reading and
// writing. A stream that is also read or written meanwhile could move its buffer.
bool IsOwnMemoryStream(const TStream& S, const TStream* Other) {
    const std::type_info& t = typeid(S);
    return &S != Other && (t == typeid(TMemoryStream) || t == typeid(TStringStream));
}

}  // namespace

StreamChunks::StreamChunks(TStream& Input, std::size_t Max, const TStream* Other)
    : FInput(Input), FMax(Max) {
    FDirect = IsOwnMemoryStream(Input, Other);
    if (!FDirect) FBuffer.resize(Max);
}

StreamChunks::~StreamChunks() {
    // The digest's input may be secret: the copies go before the buffer does.
    volatile std::uint8_t* v = FBuffer.data();
    for (std::size_t i = 0; i < FFilled; ++i)
        v[i] = 0;
}

std::span<const std::uint8_t> StreamChunks::Next() {
    if (FDirect) {
        auto& m = static_cast<TMemoryStream&>(FInput);
        const std::int64_t pos = m.Position(), size = m.Size();
        if (pos >= size) return {};
        const std::size_t n = static_cast<std::uint64_t>(size - pos) < FMax
                                  ? static_cast<std::size_t>(size - pos)
                                  : FMax;
        m.Seek(static_cast<std::int64_t>(n), soCurrent);
        return {static_cast<const std::uint8_t*>(m.Memory()) + pos, n};
    }
    std::size_t total = 0;
    while (total < FMax) {
        const std::int64_t got =
            FInput.Read(FBuffer.data() + total, static_cast<std::int64_t>(FMax - total));
        if (got <= 0) break;
        total += static_cast<std::size_t>(got);
        if (total > FFilled) FFilled = total;
    }
    return {FBuffer.data(), total};
}

StreamSink::StreamSink(TStream& Output, const TStream* Other)
    : FOutput(Output), FDirect(IsOwnMemoryStream(Output, Other)) {}

std::uint8_t* StreamSink::Reserve(std::size_t Count) {
    FCount = Count;
    if (!FDirect) {
        if (FBuffer.size() < Count) FBuffer.resize(Count);
        return FBuffer.data();
    }
    auto& m = static_cast<TMemoryStream&>(FOutput);
    const std::int64_t pos = m.Position(), end = pos + static_cast<std::int64_t>(Count);
    if (m.Size() < end) {
        m.SetSize(end);
        m.SetPosition(pos);
    }
    return static_cast<std::uint8_t*>(m.Memory()) + pos;
}

void StreamSink::Commit() {
    if (FDirect)
        FOutput.Seek(static_cast<std::int64_t>(FCount), soCurrent);
    else
        FOutput.WriteBuffer(FBuffer.data(), static_cast<std::int64_t>(FCount));
    FCount = 0;
}

}  // namespace qorkit::detail
