// The colour subcommands: color (one colour in every model, with its nearest named colour) and
// palette (a colour-array file as a strip of coloured terminal cells, a list, or a PNG strip).
#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "graphics_sheets.h"
#include "qorkit/Qor_qorcolors.h"

namespace qorkit::tool {

namespace {

int Color(Args args, std::ostream& out, std::ostream& err);
int Palette(Args args, std::ostream& out, std::ostream& err);

const Command kColor{
    "color", "qorkit color NAME|#RRGGBB|HEX",
    "a colour in RGB, HSL, HSV, HSI and CMYK, with its nearest named colour", Color,
    "  The colour is a name of the named-colour table (A-Z case ignored, e.g. SteelBlue or\n"
    "  navyblue), '#' and six hexadecimal digits in web order (#RRGGBB), or hexadecimal digits\n"
    "  of the stored colour value, blue first (BBGGRR, optionally after '$'; up to 8 digits).\n"};
const Command kPalette{
    "palette", "qorkit palette [--width N] [--list] [--png OUT] FILE",
    "a colour-array file as a strip of coloured terminal cells, a list, or a PNG strip", Palette,
    "  FILE        a header line 'first last', then one line of 8 hexadecimal digits per\n"
    "              colour; - for standard input\n"
    "  --width N   cells of the strip, 1..1024 (default 64); each shows the colour at its\n"
    "              share of the array (24-bit ANSI background colours on a terminal)\n"
    "  --list      one line per colour instead: index, value, RGB and name\n"
    "  --png OUT   write the strip as a PNG picture (N cells of 8 x 48 pixels; - for\n"
    "              standard output) instead\n"
    "  Colours before the file's first index show as black.\n"};

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

int Color(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> operands = OptionParser().Parse(args, 1, 1);
    const std::optional<TColor> parsed = ParseColor(operands[0]);
    if (!parsed)
        throw Failure("'" + operands[0] + "' is neither a colour name nor a hexadecimal value");
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
    return 0;
}

std::string AnsiCell(TColor c) {
    return "\x1b[48;2;" + std::to_string(RedOf(c)) + ";" + std::to_string(GreenOf(c)) + ";" +
           std::to_string(BlueOf(c)) + "m \x1b[0m";
}

int Palette(Args args, std::ostream& out, std::ostream&) {
    bool list = false;
    std::int32_t width = 64;
    std::optional<std::string> png;
    const std::vector<std::string> file = OptionParser()
                                              .Flag("--list", list)
                                              .Int("--width", width, 1, 1024)
                                              .Text("--png", png)
                                              .Parse(args, 1, 1);
    const std::string& name = file[0];
    if (list && png) throw UsageFailure("--list and --png exclude each other");
    // The colour-array reader works on named files: standard input goes through a copy.
    OpenInput(name);  // reports a missing or unreadable file with the system's reason
    std::optional<TemporaryFile> copy;
    if (name == "-") copy.emplace(ReadInputBytes(name));
    TColorArray colors;
    colors.SetSize(1);
    colors.Fill(0);
    if (!colors.LoadFromFile(FromUtf8(copy ? copy->Name() : name), true))
        throw Failure("'" + name +
                      "' is not a colour-array file (a header 'first last' with last " + "in 1.." +
                      std::to_string(TColorArray::kMaxFileSize) + ", then one line per colour)");
    const std::int32_t n = colors.Size();
    if (list) {
        for (std::int32_t i = 1; i <= n; ++i) {
            const TColor c = colors.GetColorElem(i);
            out << i << "\t" << ToUtf8(ColorToHexStr(c)) << "\t" << Triple(c) << "\t"
                << ToUtf8(ObtainColorName(c)) << "\n";
        }
        return 0;
    }
    const auto cell = [&](std::int32_t k) {
        return colors.GetColorElem(static_cast<std::int32_t>(1 + std::int64_t{k} * n / width));
    };
    if (png) {
        constexpr std::int32_t kCellWidth = 8, kHeight = 48;
        TBitmap strip(width * kCellWidth, kHeight);
        for (std::int32_t k = 0; k < width; ++k) {
            strip.Canvas().Brush().SetColor(cell(k));
            strip.Canvas().FillRect({k * kCellWidth, 0, (k + 1) * kCellWidth, kHeight});
        }
        WritePng(strip, *png, out);
        return 0;
    }
    std::string strip;
    for (std::int32_t k = 0; k < width; ++k)
        strip += AnsiCell(cell(k));
    out << strip << "\n"
        << n << " colours, " << ToUtf8(ColorToHexStr(colors.GetColorElem(1))) << " .. "
        << ToUtf8(ColorToHexStr(colors.GetColorElem(n))) << "\n";
    return 0;
}

const RegisterCommand kColorCmd(kColor);
const RegisterCommand kPaletteCmd(kPalette);

}  // namespace

}  // namespace qorkit::tool
