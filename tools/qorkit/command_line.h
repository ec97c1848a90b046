// Option parsing and the exit conventions shared by the file-system commands: options may stand
// before or after operands, "--" ends them, "-" is an operand, usage errors are one line.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "command.h"

namespace qorkit::tool {

/// The options and operands of one command line.
struct CommandLine {
    std::vector<std::string> Operands;
    std::vector<std::pair<std::string, std::string>> Options;  ///< name and value, in order
    bool Help = false;                                         ///< -h or --help was given
    std::string Problem;  ///< the first usage error, empty when the line is good
};

/// Splits `args`: `flags` are options without a value, `valued` options take the next
/// argument or "=value"; anything else starting with "-" (except "-" itself) is a problem.
CommandLine ParseCommandLine(Args args, const std::vector<std::string>& flags,
                             const std::vector<std::string>& valued);

/// `text` as a whole number within lo..hi, or nothing.
std::optional<std::int32_t> BoundedNumber(const std::string& text, std::int32_t lo,
                                          std::int32_t hi);

/// Prints `qorkit: <command>: <problem> (usage: <usage>)` and returns 2.
int UsageProblem(const Command& c, const std::string& problem, std::ostream& err);

/// Flushes `out` and returns `status`, or 1 with a message when standard output failed.
int FinishOutput(const Command& c, std::ostream& out, std::ostream& err, int status);

}  // namespace qorkit::tool
