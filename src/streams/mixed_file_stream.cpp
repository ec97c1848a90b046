#include "qorkit/streams/mixed_file_stream.h"

#include "qorkit/streams/number_scan.h"
#include "qorkit/streams/stream_binary.h"
#include "stream_internal.h"

namespace qorkit {

TMixedFStream::TMixedFStream(const String& AFileName, std::uint16_t Mode)
    : TFileStream(AFileName, Mode) {}

TMixedFStream::~TMixedFStream() = default;

bool TMixedFStream::Eos() {
    return Position() >= Size();
}

void TMixedFStream::Write(const String& AString) {
    detail::WriteText8(*this, AString);
}

void TMixedFStream::WriteLn(const String& AString) {
    detail::WriteText8(*this, AString + u"\r\n");
}

void TMixedFStream::WriteDouble(double aNum) {
    WriteDoubleToStream(*this, aNum);
}

void TMixedFStream::WriteInteger(std::int32_t aNum) {
    WriteLongintToStream(*this, aNum);
}

void TMixedFStream::WriteByte(std::uint8_t aNum) {
    WriteBuffer(&aNum, 1);
}

String TMixedFStream::ReadLn(std::int32_t EOLMode) {
    return detail::ReadPrintableLine(*this, EOLMode);
}

long double TMixedFStream::ReadExtended(bool& error) {
    return ReadExtendedFromStream(*this, error);
}

double TMixedFStream::ReadDouble(bool& error) {
    return ReadDoubleFromStream(*this, error);
}

std::uint8_t TMixedFStream::ReadByte(bool& error) {
    std::uint8_t b;
    error = detail::ReadImage(*this, &b, 1);
    return b;
}

std::int32_t TMixedFStream::ReadInteger(bool& error) {
    return ReadLongintFromStream(*this, error);
}

std::int32_t TMixedFStream::ReadDecimal() {
    return ScanStreamDecimal(*this);
}

double TMixedFStream::ReadFPNum(bool AllowExp, std::int32_t DecPChar) {
    return ScanStreamFPNum(*this, AllowExp, DecPChar);
}

}  // namespace qorkit
