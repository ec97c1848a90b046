#include "byte_reader.h"

#include <typeinfo>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/streams/mixed_file_stream.h"

namespace qorkit::detail {

namespace {

// Only the library's own classes are known to take a seek back cheaply and to have no side
// effects in Read; a derived class may count or log its reads, so it gets exact reads.
bool CanReadAhead(TStream& s) {
    // These classes have their type information in this library only, so comparing addresses
    // is exact (and avoids comparing type names for every call).
    const std::type_info* t = &typeid(s);
    if (t == &typeid(TMemoryStream) || t == &typeid(TStringStream)) return true;
    if (t != &typeid(TFileStream) && t != &typeid(TMixedFStream) && t != &typeid(THandleStream))
        return false;
    // Pipes and terminals cannot seek back.
    return static_cast<THandleStream&>(s).Seekable();
}

}  // namespace

ByteReader::ByteReader(TStream& Stream) : FStream(Stream), FReadsAhead(CanReadAhead(Stream)) {}

ByteReader::~ByteReader() {
    try {
        GiveBack();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not throw
    }
}

std::size_t ByteReader::FillAhead() {
    if (FPos < FLen) return FLen - FPos;
    if (!FReadsAhead) return 0;
    FPos = FLen = 0;
    // Short reads first: a caller that takes a short line or number should not pay for
    // copying (and giving back) a whole block; long runs grow the block.
    const std::int64_t n = FStream.Read(FBuf, static_cast<std::int64_t>(FChunk));
    if (FChunk < sizeof FBuf) FChunk *= 2;
    FLen = n > 0 ? static_cast<std::size_t>(n) : 0;
    return FLen;
}

int ByteReader::Refill() {
    if (FReadsAhead) {
        if (FillAhead() == 0) return -1;
        return FBuf[FPos++];
    }
    std::uint8_t b = 0;
    return FStream.Read(&b, 1) == 1 ? b : -1;
}

void ByteReader::GiveBack() {
    if (FPos < FLen) {
        const auto back = static_cast<std::int64_t>(FLen - FPos);
        FPos = FLen = 0;
        FStream.Seek(-back, soCurrent);
    }
}

}  // namespace qorkit::detail
