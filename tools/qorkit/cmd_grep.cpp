// The grep subcommand (TGrep over the lines of files or standard input) and its tour section.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "command.h"
#include "qorkit/qorkit.h"
#include "qorkit/rtl/codepage.h"

namespace qorkit::tool {

namespace {

int Grep(Args args, std::ostream& out, std::ostream& err);

const Command kGrep{"grep", "qorkit grep [-i] [-o] [-n] PATTERN [FILE...] | --explain [-i] PATTERN",
                    "print lines (UTF-8) matching a TGrep pattern; --explain lists its tokens",
                    Grep};

struct Options {
    bool ignoreCase = false, onlyMatching = false, lineNumbers = false, explain = false;
};

// The PrintRegExp listing, through a private temporary file.
int Explain(TGrep& g, std::ostream& out, std::ostream& err) {
    std::string name = (std::filesystem::temp_directory_path() / "qorkit-grep-XXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        err << "qorkit grep: cannot create a temporary file\n";
        return 2;
    }
    ::close(fd);
    try {
        g.PrintRegExp(FromUtf8(name));
    } catch (const Exception& e) {
        std::remove(name.c_str());
        err << "qorkit grep: " << e.what() << "\n";
        return 2;
    }
    std::ifstream in(name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::remove(name.c_str());
    String text = Win1252ToString(bytes);
    for (std::size_t p = text.find(u"\r\n"); p != String::npos; p = text.find(u"\r\n", p))
        text.erase(p, 1);
    out << ToUtf8(text);
    return g.LastError() == 0 ? 0 : 1;
}

// Prints the matches of one line; true when it matched.
bool GrepLine(TGrep& g, const Options& o, const std::string& prefix, std::int64_t lineNo,
              const String& line, std::ostream& out) {
    const auto L = static_cast<std::int32_t>(line.size());
    std::string head = prefix;
    if (o.lineNumbers) head += std::to_string(lineNo) + ":";
    std::int32_t from = 1, pos = 0;
    bool any = false;
    while (from <= L + 1) {
        g.SetSearchStartPos(from);
        if (!g.MatchString(line, pos)) break;
        any = true;
        if (!o.onlyMatching) break;
        const std::int32_t start = g.MatchStartPos(), end = g.MatchEndPos();
        if (end >= start)
            out << head
                << ToUtf8(
                       std::u16string_view(line).substr(static_cast<std::size_t>(start - 1),
                                                        static_cast<std::size_t>(end - start + 1)))
                << "\n";
        // Always move on, also after an empty match.
        from = std::max(from + 1, end >= start ? end + 1 : start + 1);
    }
    if (any && !o.onlyMatching) out << head << ToUtf8(line) << "\n";
    return any;
}

bool GrepStream(TGrep& g, const Options& o, const std::string& prefix, std::istream& in,
                std::ostream& out) {
    bool any = false;
    std::string raw;
    std::int64_t lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        any |= GrepLine(g, o, prefix, lineNo, FromUtf8(raw), out);
    }
    return any;
}

int Grep(Args args, std::ostream& out, std::ostream& err) {
    Options o;
    std::size_t i = 0;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        if (args[i] == "-i")
            o.ignoreCase = true;
        else if (args[i] == "-o")
            o.onlyMatching = true;
        else if (args[i] == "-n")
            o.lineNumbers = true;
        else if (args[i] == "--explain")
            o.explain = true;
        else if (args[i] == "--") {
            ++i;
            break;
        } else
            return UsageError(kGrep, err);
    }
    if (i >= args.size() || (o.explain && args.size() - i != 1)) return UsageError(kGrep, err);
    TGrep g;
    g.SetName(u"grep");
    g.SetStopOnError(false);
    g.SetIgnoreCase(o.ignoreCase);
    g.SetRegExp(FromUtf8(args[i]));
    if (o.explain) return Explain(g, out, err);
    if (g.LastError() != 0) {
        err << "qorkit grep: error in regular expression - " << ToUtf8(GrepErrorText(g.LastError()))
            << "\n";
        return 2;
    }
    const Args files = args.subspan(i + 1);
    if (files.empty()) return GrepStream(g, o, "", std::cin, out) ? 0 : 1;
    bool any = false, failed = false;
    for (const std::string& name : files) {
        std::error_code ec;
        std::ifstream in;
        if (!std::filesystem::is_directory(name, ec)) in.open(name, std::ios::binary);
        if (!in.is_open()) {
            err << "qorkit grep: cannot read '" << name << "'\n";
            failed = true;
            continue;
        }
        any |= GrepStream(g, o, files.size() > 1 ? name + ":" : "", in, out);
    }
    return failed ? 2 : (any ? 0 : 1);
}

void ShowGrep(std::ostream& out) {
    TGrep g;
    const auto show = [&](std::u16string_view pat, std::u16string_view text) {
        g.SetStopOnError(false);
        g.SetRegExp(String(pat));
        std::int32_t pos = 0;
        out << "\"" << ToUtf8(pat) << "\" on \"" << ToUtf8(text) << "\": ";
        if (g.LastError() != 0)
            out << "error " << g.LastError() << " (" << ToUtf8(GrepErrorText(g.LastError()))
                << ")\n";
        else if (g.MatchString(text, pos))
            out << "match " << pos << ".." << g.MatchEndPos() << " \""
                << ToUtf8(text.substr(static_cast<std::size_t>(pos - 1),
                                      static_cast<std::size_t>(g.MatchEndPos() - pos + 1)))
                << "\"\n";
        else
            out << "no match\n";
    };
    out << "TGrep compiles a small dialect into at most 64 tokens and matches in linear time.\n";
    show(u"a.*c", u"xabcbc");  // inner repetitions take as little as they can
    show(u"ab*", u"abbbx");    // a final one takes as much as it can
    show(u"[0-9]+$", u"ab12");
    show(u"(ab)?c", u"abc");
    show(u"\\#41[^a-z]", u"xA1");
    show(u"a**", u"aa");
    String as(100000, u'a');
    g.SetRegExp(u"(a)*(a)*(a)*(a)*(a)*(a)*b");
    std::int32_t pos = 0;
    out << "\"(a)*(a)*(a)*(a)*(a)*(a)*b\" on 100,000 \"a\": "
        << (g.MatchString(as, pos) ? "match" : "no match") << " (no catastrophic backtracking)\n";
}

const RegisterCommand kRegisterGrep(kGrep);
const RegisterTourSection kSection({30, "Pattern matcher", ShowGrep});

}  // namespace

}  // namespace qorkit::tool
