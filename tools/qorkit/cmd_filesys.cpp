// File-system subcommands (textinfo, asc-header, password) and the tour section about paths,
// text files and the ASC header.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "command.h"
#include "command_line.h"
#include "csv_text.h"
#include "qorkit/Qor_filesys.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/random.h"

namespace qorkit::tool {

namespace {

int TextInfo(Args args, std::ostream& out, std::ostream& err);
int AscHeader(Args args, std::ostream& out, std::ostream& err);
int Password(Args args, std::ostream& out, std::ostream& err);

const Command kTextInfo{"textinfo", "qorkit textinfo [--lines N] FILE...",
                        "encoding, line count, line ends and the last N (3) lines of text files",
                        TextInfo};
const Command kAscHeader{"asc-header", "qorkit asc-header [--stream] FILE",
                         "the title, counts, flags and status of an ASC file header", AscHeader};
const Command kPassword{"password",
                        "qorkit password [N] [--mixed] [--special] [--count K] [--seed S]",
                        "pronounceable passwords of N (4..14, default 8) characters", Password};

// A copy of standard input in a temporary file, removed by the destructor: the text-file
// services read files by name and some seek.
class StdinCopy {
  public:
    StdinCopy() {
        const char* tmp = std::getenv("TMPDIR");
        FPath = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/qorkit-stdin-XXXXXX";
        const int fd = ::mkstemp(FPath.data());
        if (fd < 0) throw EInOutError(1000 + errno, "Cannot create a temporary file for stdin");
        char block[65536];
        for (;;) {
            const ssize_t got = ::read(0, block, sizeof block);
            if (got == 0) break;
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 || ::write(fd, block, static_cast<std::size_t>(got)) != got) {
                const int e = errno;
                ::close(fd);
                ::unlink(FPath.c_str());
                throw EInOutError(1000 + e,
                                  "Cannot copy standard input: " + std::string(std::strerror(e)));
            }
        }
        ::close(fd);
    }
    ~StdinCopy() { ::unlink(FPath.c_str()); }
    StdinCopy(const StdinCopy&) = delete;
    StdinCopy& operator=(const StdinCopy&) = delete;
    String Name() const { return FromUtf8(FPath); }

  private:
    std::string FPath;
};

const char* TypeName(TTextfileType t) {
    switch (t) {
        case tftUnicode_le:
            return "UTF-16 little-endian (byte-order mark)";
        case tftUnicode_be:
            return "UTF-16 big-endian (byte-order mark)";
        case tftUnicode4_le:
            return "UTF-32 little-endian (byte-order mark)";
        case tftUnicode4_be:
            return "UTF-32 big-endian (byte-order mark)";
        case tftRTF:
            return "RTF";
        case tftUTF8:
            return "UTF-8 (byte-order mark)";
        default:
            return "unknown (no byte-order mark)";
    }
}

// How the lines of a file end: counts of CR LF, LF alone and CR alone, and whether the last
// byte ends a line.
struct LineEnds {
    std::int64_t CrLf = 0, Lf = 0, Cr = 0;
    bool FinalEnd = true;
};

LineEnds ScanLineEnds(const std::string& path) {
    LineEnds e;
    std::ifstream in(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    char prev = 0;
    bool any = false;
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        const auto n = static_cast<std::size_t>(in.gcount());
        for (std::size_t i = 0; i < n; ++i) {
            const char c = block[i];
            if (c == '\n') {
                if (prev == '\r') {
                    ++e.CrLf;
                    --e.Cr;  // counted as lone when seen
                } else {
                    ++e.Lf;
                }
            } else if (c == '\r') {
                ++e.Cr;
            }
            prev = c;
        }
        any = true;
    }
    e.FinalEnd = !any || prev == '\n';
    return e;
}

std::string Style(const LineEnds& e) {
    std::string s;
    const auto part = [&](const char* name, std::int64_t n) {
        if (n == 0) return;
        if (!s.empty()) s += ", ";
        s += name + std::string(" (") + std::to_string(n) + ")";
    };
    part("CR LF", e.CrLf);
    part("LF", e.Lf);
    part("lone CR", e.Cr);
    if (s.empty()) s = "none";
    if (!e.FinalEnd) s += "; the last line has no line end";
    return s;
}

// A line for the terminal: its bytes shown as UTF-8 when they are valid UTF-8, else as
// Windows-1252; control characters as "."; at most 200 characters.
std::string Shown(const String& line) {
    constexpr std::size_t kMax = 200;
    const std::string bytes = StringToWin1252(line);
    String text = IsValidUtf8(bytes) ? FromUtf8(bytes) : line;
    std::string suffix;
    if (text.size() > kMax) {
        suffix = " ... (" + std::to_string(text.size() - kMax) + " more characters)";
        text.resize(kMax);
    }
    for (Char& c : text)
        if ((c < 0x20 && c != u'\t') || c == 0x7F) c = u'.';
    return ToUtf8(text) + suffix;
}

int TextInfo(Args args, std::ostream& out, std::ostream& err) {
    const CommandLine cl = ParseCommandLine(args, {}, {"--lines"});
    if (cl.Help) {
        out << "usage: " << kTextInfo.Usage << "\n"
            << kTextInfo.Summary
            << "; \"-\" reads standard input. Lines are shown as UTF-8 when valid, else as "
               "Windows-1252, cut at 200 characters.\n";
        return 0;
    }
    if (!cl.Problem.empty()) return UsageProblem(kTextInfo, cl.Problem, err);
    if (cl.Operands.empty()) return UsageProblem(kTextInfo, "missing FILE", err);
    std::int32_t n = 3;
    for (const auto& [name, value] : cl.Options) {
        const auto v = BoundedNumber(value, 0, 10000);
        if (!v) return UsageProblem(kTextInfo, "--lines must be a number from 0 to 10000", err);
        n = *v;
    }
    int status = 0;
    for (const std::string& operand : cl.Operands) {
        try {
            std::optional<StdinCopy> copy;
            if (operand == "-") copy.emplace();
            const String name = copy ? copy->Name() : FromUtf8(operand);
            const TTextfileType type = CheckTextFileType(name);
            const std::int32_t lines = CountLinesInTextFile(name, nullptr);
            const LineEnds ends = ScanLineEnds(ToUtf8(name));
            std::int32_t got = 0;
            const TStrArray last = ReadLastNLinesOfTextFile(name, n, got);
            out << operand << "\n  encoding:  " << TypeName(type) << "\n  lines:     " << lines
                << (lines == 2147483647 ? " or more" : "") << "\n  line ends: " << Style(ends)
                << "\n  last " << got << " line" << (got == 1 ? "" : "s") << ":\n";
            for (std::size_t i = last.size() - static_cast<std::size_t>(got); i < last.size(); ++i)
                out << "    " << Shown(last[i]) << "\n";
        } catch (const Exception& e) {
            err << "qorkit: textinfo: " << e.what() << "\n";
            status = 1;
        }
    }
    return FinishOutput(kTextInfo, out, err, status);
}

const char* StatusText(std::int32_t s) {
    switch (s) {
        case ascHeaderOK:
            return "valid";
        case ascBadFirstCount:
            return "first count missing or not positive";
        case ascBadSecondCount:
            return "second count missing or not positive";
        case ascBadFlag:
            return "a flag is neither TRUE nor FALSE";
        default:
            return "title holds a line feed";
    }
}

int AscHeader(Args args, std::ostream& out, std::ostream& err) {
    const CommandLine cl = ParseCommandLine(args, {"--stream"}, {});
    if (cl.Help) {
        out << "usage: " << kAscHeader.Usage << "\n"
            << kAscHeader.Summary
            << ". FILE is read as a text file (tabs separate flags); --stream, or \"-\" for "
               "standard input, uses the stream reader (tabs do not). Exit status 1 when the "
               "header is malformed.\n";
        return 0;
    }
    if (!cl.Problem.empty()) return UsageProblem(kAscHeader, cl.Problem, err);
    if (cl.Operands.size() != 1)
        return UsageProblem(kAscHeader, cl.Operands.empty() ? "missing FILE" : "one FILE only",
                            err);
    const std::string& operand = cl.Operands[0];
    const bool stream = !cl.Options.empty() || operand == "-";
    String title;
    std::int32_t c1 = 0, c2 = 0;
    bool f[4] = {false, false, false, false};
    std::int32_t status = 0;
    try {
        if (operand == "-") {
            THandleStream in(0);
            status = ReadHeaderOfASC(in, title, c1, c2, f[0], f[1], f[2], f[3]);
        } else if (stream) {
            TFileStream in(FromUtf8(operand), fmOpenRead);
            status = ReadHeaderOfASC(in, title, c1, c2, f[0], f[1], f[2], f[3]);
        } else {
            status = ReadHeaderOfASC(FromUtf8(operand), title, c1, c2, f[0], f[1], f[2], f[3]);
        }
    } catch (const Exception& e) {
        err << "qorkit: asc-header: " << e.what() << "\n";
        return 1;
    }
    out << "title:        " << Shown(title) << "\n";
    if (status != ascBadFirstCount) out << "first count:  " << c1 << "\n";
    if (status == ascHeaderOK || status == ascBadFlag) out << "second count: " << c2 << "\n";
    if (status == ascHeaderOK) {
        out << "flags:       ";
        for (const bool b : f)
            out << (b ? " TRUE" : " FALSE");
        out << "\n";
    }
    out << "status:       " << status << " (" << StatusText(status) << ")\n";
    return FinishOutput(kAscHeader, out, err, status == ascHeaderOK ? 0 : 1);
}

int Password(Args args, std::ostream& out, std::ostream& err) {
    const CommandLine cl = ParseCommandLine(args, {"--mixed", "--special"}, {"--count", "--seed"});
    if (cl.Help) {
        out << "usage: " << kPassword.Usage << "\n"
            << kPassword.Summary
            << "; --mixed upper-cases about half the letters, --special turns about a fifth of "
               "the characters into digits or _!$%#=, --count prints K (1..1000) passwords, "
               "--seed S repeats a sequence. Easy to remember; not for secrets that need "
               "cryptographic strength.\n";
        return 0;
    }
    if (!cl.Problem.empty()) return UsageProblem(kPassword, cl.Problem, err);
    if (cl.Operands.size() > 1) return UsageProblem(kPassword, "at most one N", err);
    std::int32_t length = 8;
    if (!cl.Operands.empty()) {
        const auto v = BoundedNumber(cl.Operands[0], 1, 1000);
        if (!v) return UsageProblem(kPassword, "N must be a number from 1 to 1000", err);
        length = *v;
    }
    bool mixed = false, special = false;
    std::int32_t count = 1;
    RandSeed = std::random_device{}();
    for (const auto& [name, value] : cl.Options) {
        if (name == "--mixed") {
            mixed = true;
        } else if (name == "--special") {
            special = true;
        } else if (name == "--count") {
            const auto v = BoundedNumber(value, 1, 1000);
            if (!v) return UsageProblem(kPassword, "--count must be a number from 1 to 1000", err);
            count = *v;
        } else {
            std::uint32_t seed = 0;
            const char* end = value.data() + value.size();
            const auto [p, ec] = std::from_chars(value.data(), end, seed);
            if (ec != std::errc() || p != end)
                return UsageProblem(kPassword, "--seed must be a number from 0 to 4294967295", err);
            RandSeed = seed;
        }
    }
    for (std::int32_t i = 0; i < count; ++i)
        out << ToUtf8(InventPassword(length, mixed, special)) << "\n";
    return FinishOutput(kPassword, out, err, 0);
}

void ShowFilesys(std::ostream& out) {
    const auto q = [](std::u16string_view s) { return "\"" + ToUtf8(s) + "\""; };
    const String path = u"C:\\Program Files\\Vendor\\App\\data.txt";
    out << "AbridgeFilePath(" << q(path) << ", 30) = " << q(AbridgeFilePath(path, 30)) << "\n";
    out << "StripExtension(\"C:\\x\\a.b.c\") = " << q(StripExtension(u"C:\\x\\a.b.c"))
        << ", ParentDir(\"C:\\a\\b.txt\") = " << q(ParentDir(u"C:\\a\\b.txt"))
        << ", ExtractDrive(\"d:\\data\") = " << ExtractDrive(u"d:\\data") << "\n";
    out << "InsertBeforeFileExt(\"_1\", \"archive.tar.gz\") = "
        << q(InsertBeforeFileExt(u"_1", u"archive.tar.gz")) << ", EnsureDefaultFileExt(\"report\", "
        << "\"txt\") = " << q(EnsureDefaultFileExt(u"report", u"txt")) << "\n";
    out << std::boolalpha << "IsDOS83Path(\"C:\\DOCUMENT\\README.TXT\") = "
        << IsDOS83Path(u"C:\\DOCUMENT\\README.TXT")
        << ", IsValidFileName(\"a:b\") = " << IsValidFileName(u"a:b")
        << ", ReplaceInvalidFileNameChars(\"a/b?c\", '_') = "
        << q(ReplaceInvalidFileNameChars(u"a/b?c", u'_')) << "\n";
    out << "MatchesMask: \"readme\" ~ \"*.*\" " << MatchesMask(u"readme", u"*.*")
        << ", \"Data.TXT\" ~ \"*.txt\" " << MatchesMask(u"Data.TXT", u"*.txt") << "\n";
    RandSeed = 6071;
    out << "InventPassword(9) after RandSeed := 6071: " << ToUtf8(InventPassword(9))
        << ", with mixed case and specials: " << ToUtf8(InventPassword(12, true, true)) << "\n";

    TStringStream header(std::string("Sample\n10\n3\ntrue  false TRUE x\n"));
    String title;
    std::int32_t c1 = 0, c2 = 0;
    bool f1 = false, f2 = false, f3 = false, f4 = false;
    const std::int32_t status = ReadHeaderOfASC(header, title, c1, c2, f1, f2, f3, f4);
    out << "ReadHeaderOfASC over LF-only lines \"Sample\", \"10\", \"3\", \"true  false TRUE x\": "
        << "status " << status << ", counts " << c1 << " and " << c2 << ", flags " << f1 << " "
        << f2 << " " << f3 << " " << f4 << "\n";
    const std::uint8_t bom[] = {0xFF, 0xFE};
    out << "A file holding just FF FE is taken as UTF-32 LE (zero padding): "
        << (TextTypeOfHead(bom) == tftUnicode4_le) << "\n";
}

const RegisterCommand kRegisterTextInfo(kTextInfo);
const RegisterCommand kRegisterAscHeader(kAscHeader);
const RegisterCommand kRegisterPassword(kPassword);
const RegisterTourSection kSection({110, "Paths, file names and text files", ShowFilesys});

}  // namespace

}  // namespace qorkit::tool
