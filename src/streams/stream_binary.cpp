#include "qorkit/streams/stream_binary.h"

#include <bit>
#include <cfloat>
#include <cstring>

#include "extended_layout.h"
#include "qorkit/rtl/exceptions.h"
#include "stream_internal.h"

namespace qorkit {

// The images below are the in-memory ones of a little-endian machine.
static_assert(std::endian::native == std::endian::little, "little-endian images expected");
static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE single and double expected");

void ExtendedToBytes(long double X, std::uint8_t (&Out)[10]) noexcept {
#if LDBL_MANT_DIG == 64
    std::memcpy(Out, &X, 10);
#else
    detail::EncodeX87(X, Out);
#endif
}

long double BytesToExtended(const std::uint8_t (&In)[10]) noexcept {
#if LDBL_MANT_DIG == 64
    long double x = 0;
    std::memset(&x, 0, sizeof x);
    std::memcpy(&x, In, 10);
    return x;
#else
    return detail::DecodeX87<long double>(In);
#endif
}

namespace detail {

bool ReadImage(TStream& Stream, void* Dest, std::int64_t Count) noexcept {
    std::memset(Dest, 0, static_cast<std::size_t>(Count));
    try {
        Stream.ReadBuffer(Dest, Count);
        return false;
    } catch (...) {
        // Too few bytes, or the stream failed: reported through the flag only.
        return true;
    }
}

}  // namespace detail

void WriteExtendedToStream(TStream& Stream, long double X) {
    std::uint8_t b[10];
    ExtendedToBytes(X, b);
    Stream.WriteBuffer(b, 10);
}

void WriteDoubleToStream(TStream& Stream, double X) {
    Stream.WriteBuffer(&X, 8);
}

void WriteSingleToStream(TStream& Stream, float X) {
    Stream.WriteBuffer(&X, 4);
}

void WriteLongintToStream(TStream& Stream, std::int32_t X) {
    Stream.WriteBuffer(&X, 4);
}

long double ReadExtendedFromStream(TStream& Stream, bool& Error) {
    std::uint8_t b[10];
    Error = detail::ReadImage(Stream, b, 10);
    return BytesToExtended(b);
}

double ReadDoubleFromStream(TStream& Stream, bool& Error) {
    double x;
    Error = detail::ReadImage(Stream, &x, 8);
    return x;
}

float ReadSingleFromStream(TStream& Stream, bool& Error) {
    float x;
    Error = detail::ReadImage(Stream, &x, 4);
    return x;
}

std::int32_t ReadLongintFromStream(TStream& Stream, bool& Error) {
    std::int32_t x;
    Error = detail::ReadImage(Stream, &x, 4);
    return x;
}

}  // namespace qorkit
