// The colour subcommands: color (one colour in every model, with its nearest named colour) and
// palette (a colour-array file as a strip of coloured terminal cells, or as a list).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "qorkit/Qor_qorcolors.h"

namespace qorkit::tool {

namespace {

int Color(Args args, std::ostream& out, std::ostream& err);
int Palette(Args args, std::ostream& out, std::ostream& err);

const Command kColor{"color", "qorkit color NAME|#RRGGBB|HEX",
                     "a colour in RGB, HSL, HSV, HSI and CMYK, with its nearest named colour",
                     Color};
const Command kPalette{"palette", "qorkit palette [--width N] [--list] FILE",
                       "a colour-array file as a strip of coloured terminal cells (or a list)",
                       Palette};

constexpr const char* kColorHelp =
    "Shows one colour in every colour model of the library.\n"
    "\n"
    "The colour is a name of the named-colour table (A-Z case ignored, e.g. SteelBlue or\n"
    "navyblue), '#' and six hexadecimal digits in web order (#RRGGBB), or hexadecimal digits\n"
    "of the stored colour value, blue first (BBGGRR, optionally after '$'; up to 8 digits).\n";
constexpr const char* kPaletteHelp =
    "Shows a colour-array file: a header line 'first last', then one line of 8 hexadecimal\n"
    "digits per colour. FILE may be - for standard input.\n"
    "\n"
    "  --width N   cells of the strip, 1..1024 (default 64); each shows the colour at its\n"
    "              share of the array\n"
    "  --list      one line per colour instead: index, value, RGB and name\n"
    "\n"
    "The strip is drawn with 24-bit ANSI background colours; colours before the file's first\n"
    "index show as black.\n";

// A usage error: one line naming the problem and the usage, exit code 2.
int Usage(const Command& c, const std::string& what, std::ostream& err) {
    err << "qorkit: " << c.Name << ": " << what << " (usage: " << c.Usage << ")\n";
    return 2;
}

int Fail(const char* cmd, const std::string& what, std::ostream& err) {
    err << "qorkit: " << cmd << ": " << what << "\n";
    return 1;
}

int FinishOutput(const char* cmd, std::ostream& out, std::ostream& err) {
    out.flush();
    if (!out) return Fail(cmd, "cannot write standard output", err);
    return 0;
}

bool IsHexDigits(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// A colour from the command line: a name, #RRGGBB, or up to 8 digits of the stored value.
std::optional<TColor> ParseColor(const std::string& text) {
    TColor c = 0;
    if (ColorByName(FromUtf8(text), c)) return c;
    std::string_view s = text;
    if (s.size() == 7 && s[0] == '#' && IsHexDigits(s.substr(1))) {
        const TColor web = HexStrToColor(FromUtf8(s.substr(1)));
        return ReverseRGBColor(web);
    }
    if (!s.empty() && s[0] == '$') s.remove_prefix(1);
    if (s.size() <= 8 && IsHexDigits(s)) return HexStrToColor(FromUtf8(s));
    return std::nullopt;
}

std::string Fixed(double x, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
    return buf;
}

std::string Hue(double h) {
    return h < 0 ? std::string("undefined") : Fixed(h, 1);
}

std::string Triple(TColor c) {
    return std::to_string(RedOf(c)) + " " + std::to_string(GreenOf(c)) + " " +
           std::to_string(BlueOf(c));
}

std::string WebHex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return buf;
}

bool WantsHelp(Args args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

// Splits the arguments into options and operands: options may stand anywhere, "--" ends them.
void SplitArgs(Args args, std::vector<std::string>& options, std::vector<std::string>& operands) {
    bool optionsEnded = false;
    for (const std::string& a : args) {
        if (!optionsEnded && a == "--")
            optionsEnded = true;
        else if (!optionsEnded && a.size() > 1 && a[0] == '-')
            options.push_back(a);
        else
            operands.push_back(a);
    }
}

int Color(Args args, std::ostream& out, std::ostream& err) {
    if (WantsHelp(args)) {
        out << "usage: " << kColor.Usage << "\n\n" << kColorHelp;
        return 0;
    }
    std::vector<std::string> options, operands;
    SplitArgs(args, options, operands);
    if (!options.empty()) {
        return Usage(kColor, "unknown option '" + options.front() + "'", err);
    }
    if (operands.size() != 1) {
        return Usage(kColor, operands.empty() ? "missing colour" : "more than one colour", err);
    }
    const std::optional<TColor> parsed = ParseColor(operands[0]);
    if (!parsed)
        return Fail("color",
                    "'" + operands[0] + "' is neither a colour name nor a hexadecimal value", err);
    const TColor c = *parsed;
    double h, s, x;
    out << "value    " << ToUtf8(ColorToHexStr(c)) << "  " << ToUtf8(ObtainColorName(c)) << "\n";
    out << "RGB      " << Triple(c) << "  " << WebHex(c) << "\n";
    ColorToHSL(c, h, s, x);
    out << "HSL      " << Hue(h) << " " << Fixed(s, 3) << " " << Fixed(x, 3) << "\n";
    ColorToHSV(c, h, s, x);
    out << "HSV      " << Hue(h) << " " << Fixed(s, 3) << " " << Fixed(x, 3) << "\n";
    ColorToHSI(c, h, s, x);
    out << "HSI      " << Hue(h) << " " << Fixed(s, 3) << " " << Fixed(x, 3) << "\n";
    double cy, m, y, k;
    RGBtoCMY(static_cast<std::uint8_t>(RedOf(c)), static_cast<std::uint8_t>(GreenOf(c)),
             static_cast<std::uint8_t>(BlueOf(c)), cy, m, y);
    CMYtoCMYK(cy, m, y, k);
    out << "CMYK     " << Fixed(cy, 3) << " " << Fixed(m, 3) << " " << Fixed(y, 3) << " "
        << Fixed(k, 3) << "\n";
    out << "grey     " << ColorToGray(c) << "\n";
    double d = 0;
    const int nearest = NearestNamedColor(c, d);
    out << "nearest  " << ToUtf8(AllQORColorNames[nearest]) << " "
        << ToUtf8(ColorToHexStr(AllQORColors[nearest])) << " (distance " << Fixed(d, 4) << ")\n";
    return FinishOutput("color", out, err);
}

// Checks that `name` can be opened for reading, so that a failure names the system's reason.
bool CheckReadable(const std::string& name, std::string& reason) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    struct stat st {};
    const bool isDir = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ::close(fd);
    if (isDir) reason = std::strerror(EISDIR);
    return !isDir;
}

std::string AnsiCell(TColor c) {
    return "\x1b[48;2;" + std::to_string(RedOf(c)) + ";" + std::to_string(GreenOf(c)) + ";" +
           std::to_string(BlueOf(c)) + "m \x1b[0m";
}

int Palette(Args args, std::ostream& out, std::ostream& err) {
    if (WantsHelp(args)) {
        out << "usage: " << kPalette.Usage << "\n\n" << kPaletteHelp;
        return 0;
    }
    std::vector<std::string> options, operands;
    bool optionsEnded = false, list = false;
    long width = 64;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a == "-" || a.size() < 2 || a[0] != '-') {
            operands.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--list") {
            list = true;
        } else if (a == "--width") {
            if (i + 1 >= args.size()) {
                return Usage(kPalette, "--width needs a number", err);
            }
            const std::string& v = args[++i];
            char* end = nullptr;
            errno = 0;
            width = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || errno != 0 || width < 1 || width > 1024) {
                return Usage(kPalette, "--width must be a number 1..1024, not '" + v + "'", err);
            }
        } else {
            return Usage(kPalette, "unknown option '" + a + "'", err);
        }
    }
    if (operands.size() != 1) {
        return Usage(kPalette, operands.empty() ? "missing file" : "more than one file", err);
    }
    const std::string& name = operands[0];
    std::string reason;
    if (name != "-" && !CheckReadable(name, reason))
        return Fail("palette", "cannot open '" + name + "': " + reason, err);

    TColorArray colors;
    colors.SetSize(1);
    colors.Fill(0);
    if (!colors.LoadFromFile(FromUtf8(name == "-" ? std::string("/dev/stdin") : name), true))
        return Fail("palette",
                    "'" + name + "' is not a colour-array file (a header 'first last' with last " +
                        "in 1.." + std::to_string(TColorArray::kMaxFileSize) +
                        ", then one line per colour)",
                    err);
    const std::int32_t n = colors.Size();
    if (list) {
        for (std::int32_t i = 1; i <= n; ++i) {
            const TColor c = colors.GetColorElem(i);
            out << i << "\t" << ToUtf8(ColorToHexStr(c)) << "\t" << Triple(c) << "\t"
                << ToUtf8(ObtainColorName(c)) << "\n";
        }
        return FinishOutput("palette", out, err);
    }
    std::string strip;
    for (long k = 0; k < width; ++k)
        strip += AnsiCell(colors.GetColorElem(static_cast<std::int32_t>(1 + k * n / width)));
    out << strip << "\n"
        << n << " colours, " << ToUtf8(ColorToHexStr(colors.GetColorElem(1))) << " .. "
        << ToUtf8(ColorToHexStr(colors.GetColorElem(n))) << "\n";
    return FinishOutput("palette", out, err);
}

const RegisterCommand kColorCmd(kColor);
const RegisterCommand kPaletteCmd(kPalette);

}  // namespace

}  // namespace qorkit::tool
