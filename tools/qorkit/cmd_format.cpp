// Number-formatting and coding subcommands (fmt, sigdig, autofmt, scramble, descramble,
// uuencode, uudecode) and the tour section about them.
#include <string>

#include "command.h"
#include "qorkit/qorkit.h"

namespace qorkit::tool {

namespace {

int Fmt(Args args, std::ostream& out, std::ostream& err);
int SigDig(Args args, std::ostream& out, std::ostream& err);
int AutoFmt(Args args, std::ostream& out, std::ostream& err);
int ScrambleCmd(Args args, std::ostream& out, std::ostream& err);
int DescrambleCmd(Args args, std::ostream& out, std::ostream& err);
int UUEncodeCmd(Args args, std::ostream& out, std::ostream& err);
int UUDecodeCmd(Args args, std::ostream& out, std::ostream& err);

const Command kFmt{"fmt", "qorkit fmt VALUE WIDTH DECIMALS",
                   "format a number like strff (DECIMALS -2: short exponent form)", Fmt,
                   "WIDTH and DECIMALS lie in -1000..1000; a negative WIDTH pads with zeros.\n"};
const Command kSigDig{"sigdig", "qorkit sigdig VALUE WIDTH DIGITS",
                      "format a number with DIGITS significant digits in WIDTH characters", SigDig,
                      "WIDTH and DIGITS lie in -1000..1000.\n"};
const Command kAutoFmt{"autofmt", "qorkit autofmt VALUE DIGITS",
                       "compact text of a number with DIGITS significant digits", AutoFmt,
                       "DIGITS lies in -1000..1000.\n"};
const Command kScramble{"scramble", "qorkit scramble TEXT...",
                        "scramble TEXT with the default tables (output as UTF-8)", ScrambleCmd};
const Command kDescramble{"descramble", "qorkit descramble TEXT...",
                          "undo scramble (TEXT as UTF-8)", DescrambleCmd};
const Command kUUEncode{"uuencode", "qorkit uuencode [FILE]",
                        "uuencode FILE (or standard input) to standard output", UUEncodeCmd};
const Command kUUDecode{"uudecode", "qorkit uudecode [FILE]",
                        "decode uuencoded FILE (or standard input) to standard output",
                        UUDecodeCmd};

// Widths, decimals and digit counts are bounded so that no argument can ask for a text of
// gigabytes.
constexpr std::int64_t kMaxWidth = 1000;

long double ParseValue(const std::string& s) {
    long double v = 0;
    if (!TryStrToFloat(FromUtf8(s), v)) throw UsageFailure("VALUE '" + s + "' is not a number");
    return v;
}

std::int32_t Bounded(std::string_view what, const std::string& s) {
    return static_cast<std::int32_t>(ParseIntArg(what, s, -kMaxWidth, kMaxWidth));
}

int Fmt(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> a = OptionParser().Parse(args, 3, 3);
    const String text = strff(ParseValue(a[0]), Bounded("WIDTH", a[1]), Bounded("DECIMALS", a[2]));
    out << '[' << ToUtf8(text) << "]\n";
    return 0;
}

int SigDig(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> a = OptionParser().Parse(args, 3, 3);
    const auto v = static_cast<double>(ParseValue(a[0]));
    const String text = SigDigStr(v, Bounded("WIDTH", a[1]), Bounded("DIGITS", a[2]));
    out << '[' << ToUtf8(text) << "]\n";
    return 0;
}

int AutoFmt(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> a = OptionParser().Parse(args, 2, 2);
    const auto v = static_cast<double>(ParseValue(a[0]));
    out << ToUtf8(AutoFormatData(v, Bounded("DIGITS", a[1]))) << "\n";
    return 0;
}

int ScrambleCmd(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> text = OptionParser().Parse(args, 1, OptionParser::kMany);
    out << ToUtf8(Scramble(JoinArgs(text))) << "\n";
    return 0;
}

int DescrambleCmd(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> text = OptionParser().Parse(args, 1, OptionParser::kMany);
    out << ToUtf8(DeScramble(JoinArgs(text))) << "\n";
    return 0;
}

// The bytes of FILE, or of standard input without one.
std::string ReadInput(Args args) {
    const std::vector<std::string> files = OptionParser().Parse(args, 0, 1);
    return ReadInputBytes(files.empty() ? std::string("-") : files[0]);
}

// Bytes to one character each (codes 0..255) and back.
String BytesToString(const std::string& b) {
    String s(b.size(), u'\0');
    for (std::size_t i = 0; i < b.size(); ++i)
        s[i] = static_cast<unsigned char>(b[i]);
    return s;
}

std::string StringToBytes(const String& s) {
    std::string b(s.size(), '\0');
    for (std::size_t i = 0; i < s.size(); ++i)
        b[i] = static_cast<char>(s[i] & 0xFF);
    return b;
}

int UUEncodeCmd(Args args, std::ostream& out, std::ostream&) {
    out << StringToBytes(UUEncodeStr(BytesToString(ReadInput(args))));
    return 0;
}

int UUDecodeCmd(Args args, std::ostream& out, std::ostream&) {
    const String coded = BytesToString(ReadInput(args));
    String decoded;
    try {
        decoded = UUDecodeStr(coded);
    } catch (const EQORStringlError& e) {
        // The library's message names its function; the tool says what is wrong with the input.
        std::string message = e.what();
        if (message.starts_with("UUDecodeStr: ")) message.erase(0, 13);
        if (message.find("shorter than its length") != std::string::npos)
            message = "truncated input: " + message;
        throw Failure(message);
    }
    out << StringToBytes(decoded);
    return 0;
}

void ShowFormat(std::ostream& out) {
    const auto show = [&out](const char* call, const String& result) {
        out << call << " = [" << ToUtf8(result) << "]\n";
    };
    show("strff(3.14159, 8, 3)        ", strff(3.14159L, 8, 3));
    show("strff(-2.5, -7, 2)          ", strff(-2.5L, -7, 2));
    show("strff(4567.89, 10, -2)      ", strff(4567.89L, 10, -2));
    show("strffForcePlus(5, 4, 0)     ", strffForcePlus(5, 4, 0));
    show("FormatData(234567.8, 8, 3)  ", FormatData(234567.8, 8, 3));
    show("SigDigStr(0.023456, 8, 3)   ", SigDigStr(0.023456, 8, 3));
    show("AutoFormatData(123.456, 4)  ", AutoFormatData(123.456, 4));
    show("TimeString(3725.5, 0)       ", TimeString(3725.5, 0));
    TOpenStringArray tokens;
    Tokenize(u"a\\;b;c", u";", u'\\', tokens);
    show("Tokenize(\"a\\;b;c\", \";\", '\\')", tokens[0] + u" | " + tokens[1]);
    const std::vector<double> values = {1.5, 2.25, 1e-7};
    show("CreateParList({1.5, 2.25, 1e-7}, 3 digits)", CreateParList(values, false, 0, 3, true));
    show("ConvertVariant(VarArrayOf({1, 2.5, true}))", ConvertVariant(VarArrayOf({1, 2.5, true})));
    const String scrambled = Scramble(u"Hello");
    out << "Scramble(\"Hello\") has " << scrambled.size() << " characters; DeScramble gives ["
        << ToUtf8(DeScramble(scrambled)) << "]\n";
    out << "UUEncodeStr(\"Cat\"):\n" << ToUtf8(UUEncodeStr(u"Cat"));
}

const RegisterCommand kRegisterFmt(kFmt);
const RegisterCommand kRegisterSigDig(kSigDig);
const RegisterCommand kRegisterAutoFmt(kAutoFmt);
const RegisterCommand kRegisterScramble(kScramble);
const RegisterCommand kRegisterDescramble(kDescramble);
const RegisterCommand kRegisterUUEncode(kUUEncode);
const RegisterCommand kRegisterUUDecode(kUUDecode);
const RegisterTourSection kSection({25, "Number formatting and coding", ShowFormat});

}  // namespace

}  // namespace qorkit::tool
