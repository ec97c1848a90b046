// The ASC header readers, over a text file and over a byte stream.
#include "qorkit/filesys/asc_header.h"

#include <array>
#include <cstdint>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/rtl/text_file.h"
#include "qorkit/streams/number_scan.h"
#include "qorkit/streams/stream_text.h"
#include "qorkit/strings/string_search.h"
#include "qorkit/strings/string_strip.h"

namespace qorkit {

namespace {

// Reads the flags from line 4 (tabs already handled by the caller): 0 or -3. Flags 1 to 3
// must each be "TRUE" or "FALSE"; flag 4 only becomes true on "TRUE".
std::int32_t ParseFlags(const String& line, bool& Flag1, bool& Flag2, bool& Flag3, bool& Flag4) {
    String rest = StripLTBlanks(UpperCase(line));
    const std::array<bool*, 3> flags{&Flag1, &Flag2, &Flag3};
    for (bool* flag : flags) {
        if (rest.starts_with(u"TRUE")) {
            *flag = true;
            rest.erase(0, 4);
        } else if (rest.starts_with(u"FALSE")) {
            *flag = false;
            rest.erase(0, 5);
        } else {
            return ascBadFlag;
        }
        rest = StripLTBlanks(rest);
    }
    if (rest.starts_with(u"TRUE")) Flag4 = true;
    return ascHeaderOK;
}

// A count read by the text file: false when it is malformed, out of range or missing.
bool ReadFileCount(TextFile& f, std::int32_t& count) {
    bool ok = true;
    try {
        count = f.ReadInteger();
    } catch (const EInOutError& e) {
        if (e.ErrorCode() != 100 && e.ErrorCode() != 106) throw;  // a real read failure
        ok = false;
    }
    f.ReadLn();  // the rest of the count's line
    return ok && count > 0;
}

// Passes reads through to another stream and remembers the last byte delivered. The number
// scanner reads such a stream byte by byte, so the last byte is the one that ended the
// number.
class LastByteStream : public TStream {
  public:
    explicit LastByteStream(TStream& In) : FIn(In) {}
    std::int64_t Read(void* Buffer, std::int64_t Count) override {
        const std::int64_t got = FIn.Read(Buffer, Count);
        if (got > 0) FLast = static_cast<const std::uint8_t*>(Buffer)[got - 1];
        return got;
    }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override {
        return FIn.Seek(Offset, Origin);
    }
    void SetSize(std::int64_t) override {}
    std::int64_t Size() override { return FIn.Size(); }
    int Last() const noexcept { return FLast; }

  private:
    TStream& FIn;
    int FLast = -1;
};

// A count read by the number scanner, then the rest of its line. When the byte that ended
// the number was the line's LF, the line is already over: reading "the rest" would swallow
// the next line.
bool ReadStreamCount(TStream& s, std::int32_t& count) {
    LastByteStream watch(s);
    count = ScanStreamDecimal(watch);
    if (watch.Last() != '\n') {
        bool eos = false;
        ReadLnStream(s, eos, eolLF);
    }
    return count > 0;
}

}  // namespace

std::int32_t ReadHeaderOfASC(const String& FileName, String& Title, std::int32_t& FirstCount,
                             std::int32_t& SecondCount, bool& Flag1, bool& Flag2, bool& Flag3,
                             bool& Flag4) {
    TextFile f;  // closed by its destructor when a read raises
    f.Assign(FileName);
    f.Reset();
    std::int32_t result = ascHeaderOK;
    Title = f.ReadLn();
    if (Title.find(u'\n') != String::npos) result = ascLFInTitle;
    if (!ReadFileCount(f, FirstCount)) result = ascBadFirstCount;
    if (result == ascHeaderOK && !ReadFileCount(f, SecondCount)) result = ascBadSecondCount;
    if (result == ascHeaderOK) {
        Flag1 = Flag2 = Flag3 = Flag4 = false;
        result =
            ParseFlags(ReplaceCharInString(f.ReadLn(), u'\t', u' '), Flag1, Flag2, Flag3, Flag4);
    }
    f.Close();
    return result;
}

std::int32_t ReadHeaderOfASC(TStream& Stream, String& Title, std::int32_t& FirstCount,
                             std::int32_t& SecondCount, bool& Flag1, bool& Flag2, bool& Flag3,
                             bool& Flag4) {
    bool eos = false;
    std::int32_t result = ascHeaderOK;
    Title = ReadLnStream(Stream, eos, eolLF);
    if (Title.find(u'\n') != String::npos) result = ascLFInTitle;
    if (!ReadStreamCount(Stream, FirstCount)) result = ascBadFirstCount;
    if (result == ascHeaderOK && !ReadStreamCount(Stream, SecondCount)) result = ascBadSecondCount;
    if (result == ascHeaderOK) {
        Flag1 = Flag2 = Flag3 = false;
        result = ParseFlags(ReadLnStream(Stream, eos, eolLF), Flag1, Flag2, Flag3, Flag4);
    }
    return result;
}

}  // namespace qorkit
