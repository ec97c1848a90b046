// The dispatcher: picks the command, answers --help for it, turns escaping exceptions into
// one-line messages and exit codes, and checks that standard output reached its destination.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <streambuf>
#include <vector>

#include "command.h"
#include "qorkit/rtl/exceptions.h"

namespace qorkit::tool {

namespace {

// The name of the running command, for `ReportError`.
std::string_view gRunning = "qorkit";

// Standard output as a buffer over descriptor 1 that keeps the reason of the first failed
// write, so that the final check can name it.
class StdoutBuffer : public std::streambuf {
  public:
    StdoutBuffer() { setp(FBuffer, FBuffer + sizeof FBuffer); }
    int Error() const { return FError; }

  protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }

  private:
    bool Drain() {
        const char* p = pbase();
        while (p < pptr() && FError == 0) {
            const ssize_t n = ::write(STDOUT_FILENO, p, static_cast<std::size_t>(pptr() - p));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0)
                FError = n < 0 ? errno : EIO;
            else
                p += n;
        }
        setp(FBuffer, FBuffer + sizeof FBuffer);
        return FError == 0;
    }

    char FBuffer[1 << 16];
    int FError = 0;
};

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        lines.push_back(text.substr(0, nl));
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    }
    return lines;
}

// "; usage: ..." for a one-line usage, a pointer to --help for several forms.
std::string UsageHint(const Command& c) {
    if (c.Usage.find('\n') == std::string_view::npos) return "; usage: " + std::string(c.Usage);
    return "; see 'qorkit " + std::string(c.Name) + " --help'";
}

bool AsksForHelp(Args args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

const Command* FindCommand(std::string_view name) {
    static const std::vector<Command> all = Commands();
    const auto it =
        std::find_if(all.begin(), all.end(), [name](const Command& c) { return c.Name == name; });
    return it == all.end() ? nullptr : &*it;
}

int RunCommand(const Command& c, Args args, std::ostream& out, std::ostream& err) {
    try {
        return c.Run(args, out, err);
    } catch (const UsageFailure& e) {
        err << "qorkit: " << c.Name << ": " << e.what() << UsageHint(c) << "\n";
        return 2;
    } catch (const std::bad_alloc&) {
        return ReportError(err, "out of memory");
    } catch (const std::exception& e) {
        return ReportError(err, e.what());
    }
}

}  // namespace

int UsageError(const Command& c, std::ostream& err) {
    err << "qorkit: " << c.Name << ": usage: ";
    const std::vector<std::string_view> forms = Lines(c.Usage);
    for (std::size_t i = 0; i < forms.size(); ++i) {
        std::string_view form = forms[i];
        form.remove_prefix(std::min(form.find_first_not_of(' '), form.size()));
        err << (i > 0 ? " | " : "") << form;
    }
    err << "\n";
    return 2;
}

int ReportError(std::ostream& err, std::string_view message) {
    err << "qorkit: " << gRunning << ": " << message << "\n";
    return 1;
}

void PrintCommandList(std::ostream& out) {
    const std::vector<Command> all = Commands();
    constexpr std::size_t kMaxColumn = 40;
    std::size_t column = 0;
    for (const Command& c : all)
        for (std::string_view line : Lines(c.Usage))
            if (line.size() <= kMaxColumn) column = std::max(column, line.size());
    out << "qorkit - the Qorkit library's services from the shell\n\n"
           "usage: qorkit COMMAND [ARGUMENTS...]   ('qorkit COMMAND --help' for one command)\n"
           "       qorkit --help | --version\n\ncommands:\n";
    for (const Command& c : all) {
        const std::vector<std::string_view> lines = Lines(c.Usage);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string_view line = lines[i];
            line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
            out << "  " << line;
            if (i > 0) {
                out << "\n";
                continue;
            }
            if (line.size() > column)
                out << "\n  " << std::string(column, ' ');
            else
                out << std::string(column - line.size(), ' ');
            out << "  " << c.Summary << "\n";
        }
    }
}

void PrintCommandHelp(const Command& c, std::ostream& out) {
    const std::vector<std::string_view> forms = Lines(c.Usage);
    for (std::size_t i = 0; i < forms.size(); ++i) {
        std::string_view form = forms[i];
        form.remove_prefix(std::min(form.find_first_not_of(' '), form.size()));
        out << (i == 0 ? "usage: " : "       ") << form << "\n";
    }
    out << "\n" << c.Summary << "\n";
    if (!c.Help.empty()) {
        out << "\n" << c.Help;
        if (!c.Help.ends_with('\n')) out << "\n";
    }
}

int RunTool(Args args) {
    // Installed for this run only: the standard streams outlive every static object, so the
    // old buffer goes back before the function returns.
    static StdoutBuffer buffer;
    std::streambuf* const previous = std::cout.rdbuf(&buffer);
    std::ostream& out = std::cout;
    std::ostream& err = std::cerr;

    std::string_view name = args.empty() ? "help" : std::string_view(args[0]);
    Args rest = args.empty() ? Args{} : args.subspan(1);
    if (name == "--help" || name == "-h") name = "help";
    if (name == "--version") name = "version";
    const Command* c = FindCommand(name);
    int status = 2;
    if (c == nullptr) {
        err << "qorkit: " << (name.starts_with('-') ? "unknown option '" : "unknown command '")
            << name << "'; try 'qorkit help'\n";
    } else {
        gRunning = c->Name;
        if (AsksForHelp(rest)) {
            PrintCommandHelp(*c, out);
            status = 0;
        } else {
            status = RunCommand(*c, rest, out, err);
        }
    }
    out.flush();
    std::cout.rdbuf(previous);
    if (buffer.Error() != 0 || !out || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = buffer.Error() != 0 ? buffer.Error() : EIO;
        // A reader that closed the pipe wanted no more: the output ends quietly, as with the
        // familiar filters. A command that failed has already said why in its one line.
        if (error == EPIPE || status != 0) return status;
        err << "qorkit: " << gRunning << ": write error: " << std::strerror(error) << "\n";
        return 1;
    }
    return status;
}

}  // namespace qorkit::tool
