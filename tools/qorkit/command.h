// The qorkit tool's registry of subcommands and tour sections, and the conventions every
// command shares. Each subsystem adds a source file that registers its commands and its tour
// section with a static `Register...` object.
//
// What the dispatcher (main.cpp) does for every command, so that a command need not:
// - `qorkit CMD --help` / `-h` (anywhere before a "--") prints `Usage`, `Summary` and `Help`
//   to standard output and exits 0 without running the command;
// - an escaping `UsageFailure` prints "qorkit: CMD: <reason>" with the usage and exits 2;
//   any other exception prints "qorkit: CMD: <what()>" and exits 1;
// - after the command, standard output is flushed and checked: a write error prints
//   "qorkit: CMD: write error: <reason>" and exits 1.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit::tool {

/// Arguments after the subcommand's name.
using Args = std::span<const std::string>;

struct Command {
    std::string_view Name;     ///< e.g. "version"
    std::string_view Usage;    ///< e.g. "qorkit words FILE"; several forms on separate lines
    std::string_view Summary;  ///< one line for `qorkit help`
    int (*Run)(Args args, std::ostream& out, std::ostream& err);
    /// More text for `qorkit CMD --help`: the options and operands, one per line.
    std::string_view Help = {};
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

/// A usage error (unknown option, missing operand, number out of range). The dispatcher
/// prints "qorkit: CMD: <message>" with the usage and exits 2.
class UsageFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A failure of the work (unreadable file, bad data). The dispatcher prints
/// "qorkit: CMD: <message>" and exits 1; commands that go on after a failed input report it
/// with `ReportError` instead.
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// Runs the tool on `args` (everything after the program name) as described at the top of
/// this file, writing to standard output and standard error; returns the exit code.
int RunTool(Args args);

/// Writes the list of commands of `qorkit help`: usage and summary in two aligned columns.
void PrintCommandList(std::ostream& out);
/// Writes the help of one command (`qorkit CMD --help`): usage, summary and `Help`.
void PrintCommandHelp(const Command& c, std::ostream& out);

/// Prints "qorkit: CMD: usage: <usage>" to `err` and returns the exit code for a usage
/// error (2).
int UsageError(const Command& c, std::ostream& err);

/// Prints "qorkit: CMD: <message>" to `err` for the running command and returns 1, the exit
/// code of a failure of the work.
int ReportError(std::ostream& err, std::string_view message);

/// The one option parser of the commands. Declare the options, then `Parse`:
///
///     bool ignoreCase = false;
///     std::int32_t width = 8;
///     OptionParser p;
///     p.Flag("-i,--ignore-case", ignoreCase).Int("-w,--width", width, 1, 1000);
///     const std::vector<std::string> files = p.Parse(args, 0, OptionParser::kMany);
///
/// Names are "-x", "--long" or both, separated by a comma. Options may stand before, between
/// and after the operands; "--" makes every later argument an operand; "-" and arguments that
/// start like a negative number ("-2", "-.5", "-inf", "-NaN") are operands. A value follows its
/// option as the next argument, or as "--width=8" / "-w8"; short flags may be grouped ("-in"). A
/// later occurrence of an option overrides an earlier one. Misuse throws `UsageFailure` naming the
/// option: an unknown option, a missing value, a value given to a flag, a number that is not
/// an integer or lies outside its bounds, too few or too many operands.
class OptionParser {
  public:
    /// No upper limit on the operand count.
    static constexpr std::size_t kMany = std::numeric_limits<std::size_t>::max();

    /// A switch without value: `target` becomes true when given.
    OptionParser& Flag(std::string_view names, bool& target);
    /// An option with a text value.
    OptionParser& Text(std::string_view names, std::string& target);
    OptionParser& Text(std::string_view names, std::optional<std::string>& target);
    /// An option with an integer value in [min, max].
    OptionParser& Int(std::string_view names, std::int32_t& target, std::int64_t min,
                      std::int64_t max);
    OptionParser& Int(std::string_view names, std::optional<std::int32_t>& target, std::int64_t min,
                      std::int64_t max);
    OptionParser& Int(std::string_view names, std::int64_t& target, std::int64_t min,
                      std::int64_t max);

    /// Sets the declared targets from `args` and returns the operands in order. Throws
    /// `UsageFailure` as described above, also when there are fewer than `minOperands` or more
    /// than `maxOperands` operands.
    std::vector<std::string> Parse(Args args, std::size_t minOperands,
                                   std::size_t maxOperands) const;

  private:
    struct Option {
        std::string shortName, longName;
        bool takesValue;
        std::function<void(const std::string& spelled, const std::string& value)> set;
    };
    OptionParser& Add(std::string_view names, bool takesValue,
                      std::function<void(const std::string&, const std::string&)> set);
    const Option* Find(std::string_view name) const;
    std::vector<Option> FOptions;
};

/// Reads `text` as a decimal integer in [min, max]; `what` names it in the message of the
/// `UsageFailure` thrown otherwise ("WIDTH '2000000000' is out of range (-1000..1000)").
std::int64_t ParseIntArg(std::string_view what, std::string_view text, std::int64_t min,
                         std::int64_t max);

/// Opens the file `name` for reading, "-" meaning standard input. Throws `Failure`
/// "<name>: <system's reason>" (also for a directory).
std::unique_ptr<TStream> OpenInput(const std::string& name);

/// As `OpenInput`, but standard input is first read into memory, for work that needs the
/// stream's size or seeks in it.
std::unique_ptr<TStream> OpenSeekableInput(const std::string& name);

/// The whole content of `name` ("-" is standard input). Throws `Failure` as `OpenInput` and on
/// read errors.
std::string ReadInputBytes(const std::string& name);

/// Feeds the bytes of `in` from its position to `sink` in blocks of up to 64 KiB.
void ForEachBlock(TStream& in, const std::function<void(std::string_view block)>& sink);

/// Feeds the lines of `in` from its position to `line`, without their LF and a CR before it;
/// a last line without LF counts too.
void ForEachLine(TStream& in, const std::function<void(std::string_view line)>& line);

/// Runs `each(name, stream)` for every name of `names` (standard input, named "-", when there
/// is none). An input that cannot be opened or whose processing throws `Failure` or a library
/// exception is reported with `ReportError` and skipped. Returns 0, or 1 after any failure.
int ForEachInput(Args names, const std::function<void(const std::string& name, TStream& in)>& each,
                 std::ostream& err);

/// A private file in the temporary directory, for services that work on named files; removed
/// when the object goes.
class TemporaryFile {
  public:
    /// Creates the file holding `contents`. Throws `Failure` with the system's reason when the
    /// file cannot be created or written.
    explicit TemporaryFile(std::string_view contents = {});
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    /// The file's name.
    const std::string& Name() const noexcept { return FName; }
    /// The file's current content. Throws `Failure` when it cannot be read.
    std::string Contents() const;

  private:
    std::string FName;
};

/// The arguments (UTF-8) as one text, separated by blanks.
String JoinArgs(Args args);
/// Appends the whole content of the regular file `name` to `bytes`; false when it is a
/// directory or cannot be opened or read.
bool ReadFileBytes(const std::string& name, std::string& bytes);

}  // namespace qorkit::tool
