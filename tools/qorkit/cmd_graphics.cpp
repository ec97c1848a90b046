// The graphics subcommands: marks (a labelled sheet of every mark code), frame (a frame
// style), both written as PNG files, and label (a text label file shown or drawn).
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

int Marks(Args args, std::ostream& out, std::ostream&) {
    std::optional<std::string> png;
    std::int32_t zoom = 2;
    OptionParser().Text("--png", png).Int("--zoom", zoom, 1, 8).Parse(args, 0, 0);
    if (!png) throw UsageFailure("--png OUT is required");
    WritePng(*MarkSheet(zoom), *png, out);
    return 0;
}

int Frame(Args args, std::ostream& out, std::ostream&) {
    std::optional<std::string> png;
    std::int32_t width = 240, height = 120;
    const std::vector<std::string> style = OptionParser()
                                               .Text("--png", png)
                                               .Int("--width", width, 40, 4096)
                                               .Int("--height", height, 40, 4096)
                                               .Parse(args, 1, 1);
    if (!png) throw UsageFailure("--png OUT is required");
    const std::optional<TFrameStyle> s = FrameStyleByName(style[0]);
    if (!s) throw UsageFailure("unknown frame style " + style[0]);
    WritePng(*FrameSample(*s, width, height), *png, out);
    return 0;
}

// Reads the label `id` (or the first one) of `name`; throws `Failure` when there is none.
void ReadLabel(const std::string& name, const std::optional<std::string>& id,
               TCustomTextLabel& label) {
    OpenInput(name);  // reports a missing or unreadable file with the system's reason
    // The reader works on a named text file: standard input goes through a private copy.
    std::optional<TemporaryFile> copy;
    if (name == "-") copy.emplace(ReadInputBytes(name));
    TextFile f;
    f.Assign(FromUtf8(copy ? copy->Name() : name));
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

int Label(Args args, std::ostream& out, std::ostream&) {
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
    WritePng(*LabelPicture(label), *png, out);
    return 0;
}

const RegisterCommand kRegisterMarks(kMarks);
const RegisterCommand kRegisterFrame(kFrame);
const RegisterCommand kRegisterLabel(kLabel);

}  // namespace

}  // namespace qorkit::tool
