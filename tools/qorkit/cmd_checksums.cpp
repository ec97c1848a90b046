// Checksum and encoding subcommands (crc32, crc16, sha1, base64, ascii85, rle) and the tour
// section about them. Input comes from the named file or, for "-" or none, from stdin; coded
// output goes to stdout.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <span>
#include <vector>

#include "command.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/memory_stream.h"

namespace qorkit::tool {

namespace {

// A write-only stream over a std::ostream.
class OStreamStream : public TStream {
  public:
    explicit OStreamStream(std::ostream& Out) : FOut(Out) {}
    std::int64_t Read(void*, std::int64_t) override { return 0; }
    std::int64_t Write(const void* Buffer, std::int64_t Count) override {
        if (Count <= 0) return 0;
        FOut.write(static_cast<const char*>(Buffer), Count);
        if (!FOut) throw EWriteError(u"Stream write error");
        FPos += Count;
        return Count;
    }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override {
        if (Offset == 0 && Origin != soBeginning) return FPos;
        throw EStreamError(u"Output cannot seek");
    }
    void SetSize(std::int64_t) override { throw EStreamError(u"Output cannot change size"); }
    std::int64_t Size() override { return FPos; }

  private:
    std::ostream& FOut;
    std::int64_t FPos = 0;
};

// Opens `name` for reading, "-" meaning stdin. Raises EFOpenError for a file that cannot be
// opened.
std::unique_ptr<TStream> OpenInput(const std::string& name) {
    if (name == "-") return std::make_unique<THandleStream>(0);
    return std::make_unique<TFileStream>(FromUtf8(name), fmOpenRead);
}

// Feeds every byte of `in` from its position to `sink` in large blocks.
template <class F>
void ForEachBlock(TStream& in, F&& sink) {
    std::vector<std::uint8_t> block(1 << 16);
    for (;;) {
        const std::int64_t got = in.Read(block.data(), static_cast<std::int64_t>(block.size()));
        if (got <= 0) break;
        sink(std::span<const std::uint8_t>(block.data(), static_cast<std::size_t>(got)));
    }
}

std::string HexOf(std::uint32_t v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*x", digits, v);
    return buf;
}

// Runs `each` for every file argument (stdin when there is none); a file that cannot be read
// is reported on `err` and makes the exit status 1.
template <class F>
int ForEachInput(const char* cmd, Args files, std::ostream& err, F&& each) {
    static const std::string kStdin[] = {"-"};
    if (files.empty()) files = kStdin;
    int status = 0;
    for (const std::string& name : files) {
        try {
            const std::unique_ptr<TStream> in = OpenInput(name);
            each(name, *in);
        } catch (const Exception& e) {
            err << "qorkit " << cmd << ": " << e.what() << "\n";
            status = 1;
        }
    }
    return status;
}

int Crc32(Args args, std::ostream& out, std::ostream& err) {
    return ForEachInput("crc32", args, err, [&](const std::string& name, TStream& in) {
        std::uint32_t crc = 0xFFFFFFFFu;
        ForEachBlock(in, [&](std::span<const std::uint8_t> b) { crc = UpdateCRC32(crc, b); });
        out << HexOf(crc ^ 0xFFFFFFFFu, 8) << "\t" << name << "\n";
    });
}

const Command kCrc16Cmd{"crc16", "qorkit crc16 [--ccitt] [FILE...]",
                        "CRC-16/XMODEM (or CCITT-FALSE) of each file, in hex", nullptr};

int Crc16(Args args, std::ostream& out, std::ostream& err) {
    std::uint16_t start = 0x0000;
    if (!args.empty() && args[0] == "--ccitt") {
        start = 0xFFFF;
        args = args.subspan(1);
    }
    if (!args.empty() && args[0].size() > 1 && args[0][0] == '-') return UsageError(kCrc16Cmd, err);
    return ForEachInput("crc16", args, err, [&](const std::string& name, TStream& in) {
        std::uint16_t crc = start;
        ForEachBlock(in, [&](std::span<const std::uint8_t> b) { crc = UpdateCRC16(crc, b); });
        out << HexOf(crc, 4) << "\t" << name << "\n";
    });
}

int Sha1(Args args, std::ostream& out, std::ostream& err) {
    return ForEachInput("sha1", args, err, [&](const std::string& name, TStream& in) {
        std::string hex = ToUtf8(SHA1DigestToHex(SHA1FromStream(in)));
        for (char& c : hex)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        out << hex << "  " << name << "\n";  // the layout sha1sum -c reads
    });
}

// Parses "[-d] [--wrap] [FILE]" for the coders; false on anything else.
bool CoderArgs(Args args, bool allowWrap, bool& decode, bool& wrap, std::string& file) {
    decode = wrap = false;
    file = "-";
    bool haveFile = false;
    for (const std::string& a : args) {
        if (a == "-d" || a == "--decode")
            decode = true;
        else if (allowWrap && a == "--wrap")
            wrap = true;
        else if (!haveFile && (a == "-" || a.empty() || a[0] != '-')) {
            file = a;
            haveFile = true;
        } else
            return false;
    }
    return true;
}

const Command kBase64Cmd{"base64", "qorkit base64 [-d][--wrap] [FILE]",
                         "Base64-encode (60-character CR LF lines with --wrap) or decode", nullptr};
const Command kAscii85Cmd{"ascii85", "qorkit ascii85 [-d][--wrap][FILE]",
                          "ASCII85-encode (ends in ~>) or decode", nullptr};
const Command kRleCmd{"rle", "qorkit rle [-d] [FILE]", "run-length encode or decode (lead-in A5)",
                      nullptr};

template <class Enc, class Dec>
int RunCoder(const char* name, const Command& cmd, bool allowWrap, Enc encode, Dec decode,
             Args args, std::ostream& out, std::ostream& err) {
    bool dec, wrap;
    std::string file;
    if (!CoderArgs(args, allowWrap, dec, wrap, file)) return UsageError(cmd, err);
    int status = 0;
    const std::string one[] = {file};
    const int open = ForEachInput(name, one, err, [&](const std::string&, TStream& in) {
        OStreamStream o(out);
        if (!dec) {
            encode(in, o, wrap);
            return;
        }
        const std::int32_t r = decode(in, o);
        if (r == -1) err << "qorkit " << name << ": invalid character in input\n";
        if (r == -2) err << "qorkit " << name << ": 'z' inside a group\n";
        if (r != 0) status = 1;
    });
    out.flush();
    return open != 0 ? open : status;
}

void RleEncode(TStream& in, TStream& o, bool) {
    TRLEncoder rle;
    rle.SetBufLeng(4096);
    std::vector<std::uint8_t> block(4096);
    ForEachBlock(in, [&](std::span<const std::uint8_t> b) {
        for (std::size_t pos = 0; pos < b.size(); pos += 4096) {
            const std::size_t n = std::min<std::size_t>(4096, b.size() - pos);
            rle.Encode(b.data() + pos, static_cast<std::int32_t>(n));
            while (rle.BufCount() >= rle.BufLeng()) {
                rle.GetResult(block.data());
                o.WriteBuffer(block.data(), 4096);
            }
        }
    });
    for (;;) {
        const std::int32_t got = rle.Finish(block.data());
        o.WriteBuffer(block.data(), got);
        if (got < rle.BufLeng()) break;
    }
}

std::int32_t RleDecode(TStream& in, TStream& o) {
    TRLEncoder rle;
    rle.SetBufLeng(4096);
    std::vector<std::uint8_t> block(4096);
    ForEachBlock(in, [&](std::span<const std::uint8_t> b) {
        for (std::uint8_t c : b) {
            if (rle.Decode(c)) {
                while (rle.BufCount() >= rle.BufLeng()) {
                    rle.GetResult(block.data());
                    o.WriteBuffer(block.data(), 4096);
                }
            }
        }
    });
    while (const std::int32_t got = rle.GetRemainder(block.data()))
        o.WriteBuffer(block.data(), got);
    // Coded data that stops inside a run item is incomplete.
    return rle.DecodeState() == rlData ? 0 : -1;
}

int Base64(Args args, std::ostream& out, std::ostream& err) {
    return RunCoder("base64", kBase64Cmd, true, EncodeBase64, DecodeBase64, args, out, err);
}
int Ascii85(Args args, std::ostream& out, std::ostream& err) {
    return RunCoder("ascii85", kAscii85Cmd, true, EncodeASCII85, DecodeASCII85, args, out, err);
}
int Rle(Args args, std::ostream& out, std::ostream& err) {
    return RunCoder("rle", kRleCmd, false, RleEncode, RleDecode, args, out, err);
}

void ShowChecksums(std::ostream& out) {
    const std::string text = "123456789";
    const TBytes bytes(text.begin(), text.end());
    out << "Checks over \"123456789\": CRC-32 " << HexOf(CRC32ofBuffer(bytes, 9), 8)
        << ", CRC-16/XMODEM " << HexOf(CRC16ofBuffer(bytes, 9, crcZModem), 4)
        << ", CRC-16/CCITT-FALSE " << HexOf(CRC16ofBuffer(bytes, 9, crcCCITT), 4) << "\n";
    out << "SHA-1 of \"abc\": " << ToUtf8(SHA1DigestToHex(SHA1FromString(u"abc"))) << "\n";
    out << "Fast paths on this processor: CRC-32 " << CRC32Implementation() << ", SHA-1 "
        << SHA1Implementation() << ", Base64 " << Base64Implementation() << "\n";
    TStringStream plain(std::string("Man is distinguished")), b64, a85;
    EncodeBase64(plain, b64, false);
    plain.SetPosition(0);
    EncodeASCII85(plain, a85, false);
    out << "\"Man is distinguished\" in Base64: " << b64.DataBytes() << "\n"
        << "                       in ASCII85: " << a85.DataBytes() << "\n";
    TRLEncoder rle;
    const std::uint8_t run[] = {7, 7, 7, 7, 2, 165, 3};
    std::uint8_t coded[256];
    rle.Encode(run, sizeof run);
    const std::int32_t n = rle.Finish(coded);
    out << "Run-length coding 7 7 7 7 2 165 3 gives:";
    for (std::int32_t i = 0; i < n; ++i)
        out << " " << int{coded[i]};
    out << "\n";
}

const RegisterCommand kRegCrc32({"crc32", "qorkit crc32 [FILE...]",
                                 "CRC-32 of each file, in hex (as zlib computes it)", Crc32});
const RegisterCommand kRegCrc16({kCrc16Cmd.Name, kCrc16Cmd.Usage, kCrc16Cmd.Summary, Crc16});
const RegisterCommand kRegSha1({"sha1", "qorkit sha1 [FILE...]",
                                "SHA-1 of each file, in the format of sha1sum", Sha1});
const RegisterCommand kRegBase64({kBase64Cmd.Name, kBase64Cmd.Usage, kBase64Cmd.Summary, Base64});
const RegisterCommand kRegAscii85({kAscii85Cmd.Name, kAscii85Cmd.Usage, kAscii85Cmd.Summary,
                                   Ascii85});
const RegisterCommand kRegRle({kRleCmd.Name, kRleCmd.Usage, kRleCmd.Summary, Rle});
const RegisterTourSection kSection({50, "Checksums and encodings", ShowChecksums});

}  // namespace

}  // namespace qorkit::tool
