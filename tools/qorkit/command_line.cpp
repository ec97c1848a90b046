#include "command_line.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace qorkit::tool {

CommandLine ParseCommandLine(Args args, const std::vector<std::string>& flags,
                             const std::vector<std::string>& valued) {
    CommandLine cl;
    const auto known = [](const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            cl.Operands.insert(cl.Operands.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                               args.end());
            break;
        }
        if (a == "-h" || a == "--help") {
            cl.Help = true;
        } else if (a.size() < 2 || a[0] != '-') {
            cl.Operands.push_back(a);
        } else if (known(flags, a)) {
            cl.Options.emplace_back(a, "");
        } else if (const std::size_t eq = a.find('='); known(valued, a.substr(0, eq))) {
            if (eq != std::string::npos) {
                cl.Options.emplace_back(a.substr(0, eq), a.substr(eq + 1));
            } else if (i + 1 < args.size()) {
                cl.Options.emplace_back(a, args[++i]);
            } else if (cl.Problem.empty()) {
                cl.Problem = "option " + a + " needs a value";
            }
        } else if (cl.Problem.empty()) {
            cl.Problem = "unknown option '" + a + "'";
        }
    }
    return cl;
}

std::optional<std::int32_t> BoundedNumber(const std::string& text, std::int32_t lo,
                                          std::int32_t hi) {
    std::int32_t v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end || v < lo || v > hi) return std::nullopt;
    return v;
}

int UsageProblem(const Command& c, const std::string& problem, std::ostream& err) {
    err << "qorkit: " << c.Name << ": " << problem << " (usage: " << c.Usage << ")\n";
    return 2;
}

int FinishOutput(const Command& c, std::ostream& out, std::ostream& err, int status) {
    out.flush();
    if (!out) {
        err << "qorkit: " << c.Name << ": cannot write to standard output: " << std::strerror(errno)
            << "\n";
        return 1;
    }
    return status;
}

}  // namespace qorkit::tool
