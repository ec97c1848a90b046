// The graphics subcommands: marks (a labelled sheet of every mark code) and frame (a frame
// style), both written as PNG files.
#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "command.h"
#include "graphics_sheets.h"
#include "qorkit/rtl/exceptions.h"

namespace qorkit::tool {

namespace {

int Marks(Args args, std::ostream& out, std::ostream& err);
int Frame(Args args, std::ostream& out, std::ostream& err);

const Command kMarks{"marks", "qorkit marks --png OUT [--zoom N]",
                     "draw every mark code 0..255 on a labelled sheet (PNG; N 1..8, default 2)",
                     Marks};
const Command kFrame{"frame", "qorkit frame STYLE --png OUT [--width W] [--height H]",
                     "draw a frame style (none simple lowered raised embossed engraved) as PNG",
                     Frame};

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

const RegisterCommand kRegisterMarks(kMarks);
const RegisterCommand kRegisterFrame(kFrame);

}  // namespace

}  // namespace qorkit::tool
