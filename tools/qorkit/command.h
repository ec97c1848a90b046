// The qorkit tool's registry of subcommands and tour sections. Each subsystem adds a source
// file that registers its commands and its tour section with a static `Register...` object.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "qorkit/rtl/system.h"

namespace qorkit::tool {

/// Arguments after the subcommand's name.
using Args = std::span<const std::string>;

struct Command {
    std::string_view Name;     ///< e.g. "version"
    std::string_view Usage;    ///< e.g. "qorkit words FILE"
    std::string_view Summary;  ///< one line for `qorkit help`
    int (*Run)(Args args, std::ostream& out, std::ostream& err);
};

struct TourSection {
    int Order;  ///< sections are shown in increasing order
    std::string_view Title;
    void (*Show)(std::ostream& out);
};

/// All registered commands, sorted by name.
std::vector<Command> Commands();
/// All registered tour sections, sorted by order.
std::vector<TourSection> TourSections();

struct RegisterCommand {
    explicit RegisterCommand(Command c);
};
struct RegisterTourSection {
    explicit RegisterTourSection(TourSection s);
};

/// Prints "usage: <usage>" to `err` and returns the exit code for a usage error (2).
int UsageError(const Command& c, std::ostream& err);

/// The arguments (UTF-8) as one text, separated by blanks.
String JoinArgs(Args args);
/// Appends the whole content of the regular file `name` to `bytes`; false when it is a
/// directory or cannot be opened or read.
bool ReadFileBytes(const std::string& name, std::string& bytes);

}  // namespace qorkit::tool
