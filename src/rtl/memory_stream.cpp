#include "qorkit/rtl/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_stream.h"

namespace qorkit {

namespace {

[[noreturn]] void RaiseOutOfMemory() {
    throw EStreamError(u"Out of memory while expanding memory stream");
}

}  // namespace

void TMemoryStream::Resize(std::int64_t NewSize) {
    if (static_cast<std::uint64_t>(NewSize) > FData.max_size()) RaiseOutOfMemory();
    const auto size = static_cast<std::size_t>(NewSize);
    try {
        if (size > FData.capacity()) {
            // Grow by half again, so that appends stay amortised constant time.
            const std::size_t cap = FData.capacity();
            const std::size_t grown = cap > FData.max_size() - cap / 2 ? size : cap + cap / 2;
            FData.reserve(std::max({size, grown, std::size_t{64}}));
        }
        FData.resize(size);
    } catch (const std::bad_alloc&) {
        RaiseOutOfMemory();
    } catch (const std::length_error&) {
        RaiseOutOfMemory();
    }
}

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
    const std::int64_t size = Size();
    if (Count <= 0 || FPosition >= size) return 0;
    const std::int64_t n = std::min(Count, size - FPosition);
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
    if (Count <= 0) return 0;
    if (FPosition > INT64_MAX - Count) RaiseOutOfMemory();
    const std::int64_t end = FPosition + Count;
    if (end > Size()) Resize(end);
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = end;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    std::int64_t base = 0;
    if (Origin == soCurrent) {
        base = FPosition;
    } else if (Origin == soEnd) {
        base = Size();
    }
    if (Offset > 0 && base > INT64_MAX - Offset)
        throw EStreamError(u"Invalid seek in memory stream: the position is out of range");
    if (base + Offset < 0)
        throw EStreamError(u"Invalid seek in memory stream: the position would be negative");
    FPosition = base + Offset;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0) throw EStreamError(u"Invalid size for memory stream: negative");
    Resize(NewSize);
    FPosition = std::min(FPosition, NewSize);
}

void TMemoryStream::Clear() noexcept {
    std::vector<std::uint8_t>().swap(FData);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
    Clear();
    Stream.SetPosition(0);
    const std::int64_t size = Stream.Size();
    try {
        Resize(size);
        Stream.ReadBuffer(FData.data(), size);
    } catch (...) {
        Clear();  // never leave half the data behind
        throw;
    }
}

void TMemoryStream::SaveToStream(TStream& Stream) const {
    Stream.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

void TMemoryStream::LoadFromFile(const String& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const String& FileName) const {
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
    file.Flush();
}

// ---------------------------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const String& AString) : TStringStream(StringToWin1252(AString)) {}

TStringStream::TStringStream(const std::string& Bytes) {
    WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    SetPosition(0);
}

String TStringStream::DataString() const {
    return Win1252ToString(DataBytes());
}

std::string TStringStream::DataBytes() const {
    const std::vector<std::uint8_t>& bytes = Bytes();
    return std::string(bytes.begin(), bytes.end());
}

String TStringStream::ReadString(std::int64_t Count) {
    if (Count <= 0) return String();
    const std::int64_t avail = std::max<std::int64_t>(0, Size() - Position());
    std::string bytes(static_cast<std::size_t>(std::min(Count, avail)), '\0');
    Read(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return Win1252ToString(bytes);
}

void TStringStream::WriteString(const String& AString) {
    const AnsiString bytes = StringToWin1252(AString);
    WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

}  // namespace qorkit
