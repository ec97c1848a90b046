// The general subcommands: version, help and tour.
#include <iomanip>

#include "command.h"
#include "qorkit/core/package.h"

namespace qorkit::tool {

namespace {

int Version(Args, std::ostream& out, std::ostream&) {
    out << "qorkit " << QorkitVersion() << "\n";
    return 0;
}

int Help(Args, std::ostream& out, std::ostream&) {
    out << "qorkit - the Qorkit library's services from the shell\n\ncommands:\n";
    for (const Command& c : Commands())
        out << "  " << std::left << std::setw(34) << c.Usage << c.Summary << "\n";
    return 0;
}

int Tour(Args, std::ostream& out, std::ostream&) {
    out << "A short tour of Qorkit " << QorkitVersion() << "\n";
    for (const TourSection& s : TourSections()) {
        out << "\n== " << s.Title << "\n";
        s.Show(out);
    }
    return 0;
}

const RegisterCommand kVersion({"version", "qorkit version", "print the library version", Version});
const RegisterCommand kHelp({"help", "qorkit help", "list the commands", Help});
const RegisterCommand kTour({"tour", "qorkit tour", "show the main services on built-in samples",
                             Tour});

}  // namespace

}  // namespace qorkit::tool
