// Number-formatting and coding subcommands (fmt, sigdig, autofmt, scramble, descramble,
// uuencode, uudecode) and the tour section about them.
#include <iostream>
#include <iterator>
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
                   "format a number like strff (DECIMALS -2: short exponent form)", Fmt};
const Command kSigDig{"sigdig", "qorkit sigdig VALUE WIDTH DIGITS",
                      "format a number with DIGITS significant digits in WIDTH characters", SigDig};
const Command kAutoFmt{"autofmt", "qorkit autofmt VALUE DIGITS",
                       "compact text of a number with DIGITS significant digits", AutoFmt};
const Command kScramble{"scramble", "qorkit scramble TEXT...",
                        "scramble TEXT with the default tables (output as UTF-8)", ScrambleCmd};
const Command kDescramble{"descramble", "qorkit descramble TEXT...",
                          "undo scramble (TEXT as UTF-8)", DescrambleCmd};
const Command kUUEncode{"uuencode", "qorkit uuencode [FILE]",
                        "uuencode FILE (or standard input) to standard output", UUEncodeCmd};
const Command kUUDecode{"uudecode", "qorkit uudecode [FILE]",
                        "decode uuencoded FILE (or standard input) to standard output",
                        UUDecodeCmd};

bool ParseNumber(const std::string& s, long double& v) {
    return TryStrToFloat(FromUtf8(s), v);
}

bool ParseInt(const std::string& s, std::int32_t& v) {
    return TryStrToInt(FromUtf8(s), v);
}

// Reads VALUE and the integers after it; false (with a message) on bad input.
bool NumberArgs(const Command& c, Args args, std::size_t ints, long double& value,
                std::int32_t (&n)[2], std::ostream& err) {
    if (args.size() != ints + 1) {
        UsageError(c, err);
        return false;
    }
    if (!ParseNumber(args[0], value)) {
        err << "qorkit " << c.Name << ": not a number: '" << args[0] << "'\n";
        return false;
    }
    for (std::size_t i = 0; i < ints; ++i)
        if (!ParseInt(args[i + 1], n[i])) {
            err << "qorkit " << c.Name << ": not an integer: '" << args[i + 1] << "'\n";
            return false;
        }
    return true;
}

int Fmt(Args args, std::ostream& out, std::ostream& err) {
    long double v = 0;
    std::int32_t n[2] = {};
    if (!NumberArgs(kFmt, args, 2, v, n, err)) return 2;
    out << '[' << ToUtf8(strff(v, n[0], n[1])) << "]\n";
    return 0;
}

int SigDig(Args args, std::ostream& out, std::ostream& err) {
    long double v = 0;
    std::int32_t n[2] = {};
    if (!NumberArgs(kSigDig, args, 2, v, n, err)) return 2;
    out << '[' << ToUtf8(SigDigStr(static_cast<double>(v), n[0], n[1])) << "]\n";
    return 0;
}

int AutoFmt(Args args, std::ostream& out, std::ostream& err) {
    long double v = 0;
    std::int32_t n[2] = {};
    if (!NumberArgs(kAutoFmt, args, 1, v, n, err)) return 2;
    out << ToUtf8(AutoFormatData(static_cast<double>(v), n[0])) << "\n";
    return 0;
}

int ScrambleCmd(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return UsageError(kScramble, err);
    out << ToUtf8(Scramble(JoinArgs(args))) << "\n";
    return 0;
}

int DescrambleCmd(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return UsageError(kDescramble, err);
    out << ToUtf8(DeScramble(JoinArgs(args))) << "\n";
    return 0;
}

// The bytes of FILE, or of standard input without one; false when FILE cannot be read.
bool ReadInput(Args args, std::string& bytes, std::string_view cmd, std::ostream& err) {
    if (args.empty()) {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    if (!ReadFileBytes(args[0], bytes)) {
        err << "qorkit " << cmd << ": cannot read '" << args[0] << "'\n";
        return false;
    }
    return true;
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

int UUEncodeCmd(Args args, std::ostream& out, std::ostream& err) {
    if (args.size() > 1) return UsageError(kUUEncode, err);
    std::string bytes;
    if (!ReadInput(args, bytes, kUUEncode.Name, err)) return 1;
    out << StringToBytes(UUEncodeStr(BytesToString(bytes)));
    return 0;
}

int UUDecodeCmd(Args args, std::ostream& out, std::ostream& err) {
    if (args.size() > 1) return UsageError(kUUDecode, err);
    std::string bytes;
    if (!ReadInput(args, bytes, kUUDecode.Name, err)) return 1;
    try {
        out << StringToBytes(UUDecodeStr(BytesToString(bytes)));
    } catch (const EQORStringlError& e) {
        err << "qorkit uudecode: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

void ShowFormat(std::ostream& out) {
    const auto show = [&out](const char* call, const String& result) {
        out << "  " << call << " = [" << ToUtf8(result) << "]\n";
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
    out << "  Scramble(\"Hello\") has " << scrambled.size() << " characters; DeScramble gives ["
        << ToUtf8(DeScramble(scrambled)) << "]\n";
    out << "  UUEncodeStr(\"Cat\"):\n" << ToUtf8(UUEncodeStr(u"Cat"));
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
