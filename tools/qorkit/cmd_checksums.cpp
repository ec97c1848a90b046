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

std::string HexOf(std::uint32_t v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*x", digits, v);
    return buf;
}

// One line of checksum output as sha1sum writes it: a name holding a line feed or a backslash
// is written with those escaped ("\n", "\\") and the line starts with a backslash.
void ChecksumLine(std::ostream& out, const std::string& sum, std::string_view separator,
                  const std::string& name) {
    if (name.find_first_of("\n\\") == std::string::npos) {
        out << sum << separator << name << "\n";
        return;
    }
    out << '\\' << sum << separator;
    for (const char c : name)
        out << (c == '\n' ? "\\n" : c == '\\' ? "\\\\" : std::string_view(&c, 1));
    out << "\n";
}

template <class F>
void ForEachByteBlock(TStream& in, F&& sink) {
    ForEachBlock(in, [&](std::string_view b) {
        sink(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(b.data()),
                                           b.size()));
    });
}

int Crc32(Args args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> files = OptionParser().Parse(args, 0, OptionParser::kMany);
    return ForEachInput(
        files,
        [&](const std::string& name, TStream& in) {
            std::uint32_t crc = 0xFFFFFFFFu;
            ForEachByteBlock(in,
                             [&](std::span<const std::uint8_t> b) { crc = UpdateCRC32(crc, b); });
            ChecksumLine(out, HexOf(crc ^ 0xFFFFFFFFu, 8), "\t", name);
        },
        err);
}

int Crc16(Args args, std::ostream& out, std::ostream& err) {
    bool ccitt = false;
    const std::vector<std::string> files =
        OptionParser().Flag("--ccitt", ccitt).Parse(args, 0, OptionParser::kMany);
    const std::uint16_t start = ccitt ? 0xFFFF : 0x0000;
    return ForEachInput(
        files,
        [&](const std::string& name, TStream& in) {
            std::uint16_t crc = start;
            ForEachByteBlock(in,
                             [&](std::span<const std::uint8_t> b) { crc = UpdateCRC16(crc, b); });
            ChecksumLine(out, HexOf(crc, 4), "\t", name);
        },
        err);
}

int Sha1(Args args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> files = OptionParser().Parse(args, 0, OptionParser::kMany);
    return ForEachInput(
        files,
        [&](const std::string& name, TStream& in) {
            std::string hex = ToUtf8(SHA1DigestToHex(SHA1FromStream(in)));
            for (char& c : hex)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            ChecksumLine(out, hex, "  ", name);  // the layout sha1sum -c reads
        },
        err);
}

// Runs a coder over FILE (standard input without one): "[-d] [--wrap] [FILE]".
template <class Enc, class Dec>
int RunCoder(bool allowWrap, Enc encode, Dec decode, Args args, std::ostream& out,
             std::ostream& err) {
    bool dec = false, wrap = false;
    OptionParser p;
    p.Flag("-d,--decode", dec);
    if (allowWrap) p.Flag("--wrap", wrap);
    const std::vector<std::string> files = p.Parse(args, 0, 1);
    return ForEachInput(
        files,
        [&](const std::string&, TStream& in) {
            OStreamStream o(out);
            if (!dec) {
                encode(in, o, wrap);
                return;
            }
            const std::int32_t r = decode(in, o);
            if (r == -1) throw Failure("invalid character in input");
            if (r == -2) throw Failure("'z' inside a group");
            if (r == -3) throw Failure("truncated input: it ends inside a run");
        },
        err);
}

void RleEncode(TStream& in, TStream& o, bool) {
    TRLEncoder rle;
    rle.SetBufLeng(4096);
    std::vector<std::uint8_t> block(4096);
    ForEachByteBlock(in, [&](std::span<const std::uint8_t> b) {
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
    ForEachByteBlock(in, [&](std::span<const std::uint8_t> b) {
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
    return rle.DecodeState() == rlData ? 0 : -3;
}

// Base64 text ends with a line end, as other Base64 tools write it; with --wrap every line
// already ends in CR LF.
void Base64Encode(TStream& in, TStream& o, bool wrap) {
    const std::int64_t before = o.Size();
    EncodeBase64(in, o, wrap);
    if (!wrap && o.Size() > before) o.WriteBuffer("\n", 1);
}

void Ascii85Encode(TStream& in, TStream& o, bool wrap) {
    EncodeASCII85(in, o, wrap);
    o.WriteBuffer("\n", 1);
}

int Base64(Args args, std::ostream& out, std::ostream& err) {
    return RunCoder(true, Base64Encode, DecodeBase64, args, out, err);
}
int Ascii85(Args args, std::ostream& out, std::ostream& err) {
    return RunCoder(true, Ascii85Encode, DecodeASCII85, args, out, err);
}
int Rle(Args args, std::ostream& out, std::ostream& err) {
    return RunCoder(false, RleEncode, RleDecode, args, out, err);
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
                                 "CRC-32 of each file, in hex (as zlib computes it)", Crc32,
                                 "FILE is read from standard input when it is - or missing.\n"});
const RegisterCommand kRegCrc16({"crc16", "qorkit crc16 [--ccitt] [FILE...]",
                                 "CRC-16/XMODEM of each file, in hex", Crc16,
                                 "  --ccitt  CRC-16/CCITT-FALSE (start value FFFF) instead\n"
                                 "FILE is read from standard input when it is - or missing.\n"});
const RegisterCommand kRegSha1({"sha1", "qorkit sha1 [FILE...]",
                                "SHA-1 of each file, in the format of sha1sum", Sha1,
                                "FILE is read from standard input when it is - or missing.\n"});
const RegisterCommand kRegBase64({"base64", "qorkit base64 [-d] [--wrap] [FILE]",
                                  "Base64-encode or decode", Base64,
                                  "  -d, --decode  decode instead of encoding\n"
                                  "  --wrap        60-character lines ending in CR LF\n"
                                  "FILE is read from standard input when it is - or missing.\n"});
const RegisterCommand kRegAscii85({"ascii85", "qorkit ascii85 [-d] [--wrap] [FILE]",
                                   "ASCII85-encode (ends in ~>) or decode", Ascii85,
                                   "  -d, --decode  decode instead of encoding\n"
                                   "  --wrap        CR LF after every twelfth group\n"
                                   "FILE is read from standard input when it is - or missing.\n"});
const RegisterCommand kRegRle({"rle", "qorkit rle [-d] [FILE]",
                               "run-length encode or decode (lead-in A5)", Rle,
                               "  -d, --decode  decode instead of encoding\n"
                               "FILE is read from standard input when it is - or missing.\n"});
const RegisterTourSection kSection({50, "Checksums and encodings", ShowChecksums});

}  // namespace

}  // namespace qorkit::tool
