// The general subcommands: version, help and tour.
#include <sstream>

#include "command.h"
#include "qorkit/core/package.h"

namespace qorkit::tool {

namespace {

const Command kHelpCmd{"help", "qorkit help [COMMAND]",
                       "list the commands, or show the help of one", nullptr};

int Version(Args args, std::ostream& out, std::ostream&) {
    OptionParser().Parse(args, 0, 0);
    out << "qorkit " << QorkitVersion() << "\n";
    return 0;
}

int Help(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> operands = OptionParser().Parse(args, 0, 1);
    if (operands.empty()) {
        PrintCommandList(out);
        return 0;
    }
    for (const Command& c : Commands())
        if (c.Name == operands[0]) {
            PrintCommandHelp(c, out);
            return 0;
        }
    throw UsageFailure("unknown command '" + operands[0] + "'");
}

// A section's text with CR LF and lone CR made plain line ends, every line indented, so that
// the tour reads the same on every terminal.
void Indented(std::string_view text, std::ostream& out) {
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (lineStart) out << "  ";
        lineStart = c == '\n' || c == '\r';
        out << (c == '\r' ? '\n' : c);
    }
    if (!lineStart) out << "\n";
}

int Tour(Args args, std::ostream& out, std::ostream&) {
    OptionParser().Parse(args, 0, 0);
    out << "A short tour of Qorkit " << QorkitVersion()
        << ", a C++20 base library for scientific and engineering\n"
           "software: number formatting and string utilities, a pattern matcher with a linear\n"
           "worst case, byte streams that mix text and binary values, tag scanning, a pooled\n"
           "string table, checksums and encodings, and more. Each section below runs the\n"
           "library on a built-in sample; 'qorkit help' lists the commands that do the same on\n"
           "your own files.\n";
    for (const TourSection& s : TourSections()) {
        out << "\n== " << s.Title << "\n";
        std::ostringstream text;
        s.Show(text);
        Indented(text.view(), out);
    }
    return 0;
}

const RegisterCommand kVersion({"version", "qorkit version", "print the library version", Version});
const RegisterCommand kHelp({kHelpCmd.Name, kHelpCmd.Usage, kHelpCmd.Summary, Help});
const RegisterCommand kTour({"tour", "qorkit tour", "show the main services on built-in samples",
                             Tour});

}  // namespace

}  // namespace qorkit::tool
