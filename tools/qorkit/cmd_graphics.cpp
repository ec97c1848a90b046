// The graphics subcommands: marks (a labelled sheet of every mark code), frame (a frame
// style), both written as PNG files, and label (a text label file shown or drawn).
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "graphics_sheets.h"
#include "qorkit/Qor_qorbase.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit::tool {

namespace {

int Marks(Args args, std::ostream& out, std::ostream& err);
int Frame(Args args, std::ostream& out, std::ostream& err);
int Label(Args args, std::ostream& out, std::ostream& err);

const Command kMarks{"marks", "qorkit marks --png OUT [--zoom N]",
                     "draw every mark code 0..255 on a labelled sheet (PNG; N 1..8, default 2)",
                     Marks};
const Command kFrame{"frame", "qorkit frame STYLE --png OUT [--width W] [--height H]",
                     "draw a frame style (none simple lowered raised embossed engraved) as PNG",
                     Frame};
const Command kLabel{"label",
                     "qorkit label show FILE [--id ID]\n"
                     "qorkit label render FILE --png OUT [--id ID]",
                     "print the settings of a text label file, or draw the label as PNG", Label,
                     "  --id ID    the label's id (ignoring case); default: the first label\n"
                     "  --png OUT  the PNG file to write (\"-\": standard output)"};

struct Options {
    std::vector<std::string> positional;
    std::string png;
    bool help = false;
    std::int32_t zoom = 2, width = 240, height = 120;
};

// Options may stand before or after operands; "--" ends them. Numbers are bounded. False for
// a usage error, with the reason in `why`.
bool Parse(Args args, bool sizes, Options& o, std::string& why) {
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!options || a.size() < 2 || a[0] != '-') {
            o.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            options = false;
            continue;
        }
        if (a == "--help" || a == "-h") {
            o.help = true;
            continue;
        }
        const auto number = [&](std::int32_t& v, std::int32_t lo, std::int32_t hi) {
            if (i + 1 >= args.size()) {
                why = a + " needs a value";
                return false;
            }
            const std::string& s = args[++i];
            const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
            if (ec != std::errc() || p != s.data() + s.size() || v < lo || v > hi) {
                why = a + " must be a number from " + std::to_string(lo) + " to " +
                      std::to_string(hi);
                return false;
            }
            return true;
        };
        if (a == "--png") {
            if (i + 1 >= args.size()) {
                why = "--png needs a file name";
                return false;
            }
            o.png = args[++i];
        } else if (a == "--zoom" && !sizes) {
            if (!number(o.zoom, 1, 8)) return false;
        } else if (a == "--width" && sizes) {
            if (!number(o.width, 40, 4096)) return false;
        } else if (a == "--height" && sizes) {
            if (!number(o.height, 40, 4096)) return false;
        } else {
            why = "unknown option " + a;
            return false;
        }
    }
    if (!o.help && o.png.empty()) why = "--png OUT is required";
    return o.help || !o.png.empty();
}

// Writes `b` as PNG to `name` ("-": standard output). Returns the exit status.
int WritePng(const char* cmd, TBitmap& b, const std::string& name, std::ostream& out,
             std::ostream& err) {
    try {
        if (name == "-") {
            const std::vector<std::uint8_t> bytes = b.SaveToBytes(ifPNG);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            out.flush();
            if (!out) {
                err << "qorkit: " << cmd << ": cannot write to standard output\n";
                return 1;
            }
        } else {
            b.SaveToFile(FromUtf8(name), ifPNG);
        }
    } catch (const Exception& e) {
        err << "qorkit: " << cmd << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

int Usage(const Command& c, const std::string& why, std::ostream& err) {
    err << "qorkit: " << c.Name << ": " << why << "; usage: " << c.Usage << "\n";
    return 2;
}

int Marks(Args args, std::ostream& out, std::ostream& err) {
    Options o;
    std::string why;
    if (!Parse(args, false, o, why)) return Usage(kMarks, why, err);
    if (o.help) {
        out << "usage: " << kMarks.Usage << "\n" << kMarks.Summary << "\n";
        return 0;
    }
    if (!o.positional.empty()) return Usage(kMarks, "unexpected operand " + o.positional[0], err);
    return WritePng("marks", *MarkSheet(o.zoom), o.png, out, err);
}

int Frame(Args args, std::ostream& out, std::ostream& err) {
    Options o;
    std::string why;
    if (!Parse(args, true, o, why)) return Usage(kFrame, why, err);
    if (o.help) {
        out << "usage: " << kFrame.Usage << "\n" << kFrame.Summary << "\n";
        return 0;
    }
    if (o.positional.size() != 1)
        return Usage(kFrame, o.positional.empty() ? "missing STYLE" : "too many operands", err);
    const std::optional<TFrameStyle> style = FrameStyleByName(o.positional[0]);
    if (!style) return Usage(kFrame, "unknown frame style " + o.positional[0], err);
    return WritePng("frame", *FrameSample(*style, o.width, o.height), o.png, out, err);
}

// Reads the label `id` (or the first one) of `name`; throws `Failure` when there is none.
void ReadLabel(const std::string& name, const std::optional<std::string>& id,
               TCustomTextLabel& label) {
    OpenInput(name);  // reports a missing or unreadable file with the system's reason
    TextFile f;
    f.Assign(FromUtf8(name));
    f.Reset();
    if (!label.ReadFromOpenXMLFile(f, id ? FromUtf8(*id) : String()))
        throw Failure("no label" + (id ? " '" + *id + "'" : std::string()) + " in '" + name + "'");
}

std::string Hex6(TColor c) {
    char text[8];
    std::snprintf(text, sizeof text, "$%06X", static_cast<unsigned>(c) & 0xFFFFFFu);
    return text;
}

void PrintLabel(const TCustomTextLabel& l, std::ostream& out) {
    const auto name = [](std::u16string_view n) { return ToUtf8(String(n)); };
    std::string styles;
    for (std::size_t s = 0; s < xmlFontStyle.size(); ++s)
        if (l.Font().Style().Contains(static_cast<TFontStyle>(s)))
            styles += (styles.empty() ? "" : " ") + name(xmlFontStyle[s]);
    std::string caption = ToUtf8(l.Caption());
    for (std::size_t at = caption.find('\n'); at != std::string::npos; at = caption.find('\n', at))
        caption.replace(at, 1, "\\n");
    out << "caption:     " << caption << "\n"
        << "position:    " << ToUtf8(FloatToStr(l.PosX())) << ", " << ToUtf8(FloatToStr(l.PosY()))
        << " (attached: " << name(xmlTxtLblAttachMode.at(l.AttachMode())) << ")\n"
        << "layer:       " << l.Layer() << "\n"
        << "style:       " << name(xmlTxtLblMode.at(l.Mode())) << "\n"
        << "alignment:   " << name(xmlAlignment.at(l.Alignment())) << ", "
        << name(xmlVerticalAlignment.at(l.VertAlignment())) << "\n"
        << "colours:     border " << Hex6(l.ColorBrd()) << ", background " << Hex6(l.ColorBkg())
        << (l.Transparent() ? " (transparent)" : "") << ", shadow " << Hex6(l.ColorShadow()) << "\n"
        << "shadow:      " << l.ShadowDx() << ", " << l.ShadowDy() << "\n"
        << "font:        " << ToUtf8(l.Font().Name()) << ", " << l.Font().Size() << " pt, "
        << Hex6(l.Font().Color()) << (styles.empty() ? "" : ", " + styles) << "\n"
        << "visible:     " << (l.Visible() ? "yes" : "no") << "\n";
}

int Label(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) throw UsageFailure("missing subcommand (show or render)");
    const std::string& sub = args[0];
    std::optional<std::string> id, png;
    OptionParser p;
    p.Text("--id", id);
    if (sub == "render")
        p.Text("--png", png);
    else if (sub != "show")
        throw UsageFailure("unknown subcommand '" + sub + "'");
    const std::vector<std::string> files = p.Parse(args.subspan(1), 1, 1);
    if (sub == "render" && !png) throw UsageFailure("--png OUT is required");
    TCustomTextLabel label;
    ReadLabel(files[0], id, label);
    if (sub == "show") {
        PrintLabel(label, out);
        return 0;
    }
    return WritePng("label", *LabelPicture(label), *png, out, err);
}

const RegisterCommand kRegisterMarks(kMarks);
const RegisterCommand kRegisterFrame(kFrame);
const RegisterCommand kRegisterLabel(kLabel);

}  // namespace

}  // namespace qorkit::tool
