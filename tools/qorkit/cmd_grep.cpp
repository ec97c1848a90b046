// The grep subcommand (TGrep over the lines of files or standard input) and its tour section.
#include <string>

#include "command.h"
#include "qorkit/qorkit.h"
#include "qorkit/rtl/codepage.h"

namespace qorkit::tool {

namespace {

int Grep(Args args, std::ostream& out, std::ostream& err);

const Command kGrep{"grep",
                    "qorkit grep [-i] [-o] [-n] PATTERN [FILE...]\n"
                    "qorkit grep --explain [-i] PATTERN",
                    "print lines (UTF-8) matching a TGrep pattern, or list its tokens", Grep,
                    "  -i, --ignore-case    fold A-Z on both sides\n"
                    "  -o, --only-matching  print each match on a line of its own\n"
                    "  -n, --line-number    put the line number before each output line\n"
                    "  --explain            print the compiled token table\n"
                    "FILE is read from standard input when it is - or missing. Exit status: 0 a\n"
                    "line matched, 1 none did, 2 an error.\n"};

struct Options {
    bool ignoreCase = false, onlyMatching = false, lineNumbers = false, explain = false;
};

// The PrintRegExp listing, through a private temporary file.
int Explain(TGrep& g, std::ostream& out) {
    const TemporaryFile listing;
    g.PrintRegExp(FromUtf8(listing.Name()));
    String text = Win1252ToString(listing.Contents());
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

int Grep(Args args, std::ostream& out, std::ostream& err) {
    Options o;
    const std::vector<std::string> operands = OptionParser()
                                                  .Flag("-i,--ignore-case", o.ignoreCase)
                                                  .Flag("-o,--only-matching", o.onlyMatching)
                                                  .Flag("-n,--line-number", o.lineNumbers)
                                                  .Flag("--explain", o.explain)
                                                  .Parse(args, 1, OptionParser::kMany);
    if (o.explain && operands.size() != 1) throw UsageFailure("--explain takes only PATTERN");
    TGrep g;
    g.SetName(u"grep");
    g.SetStopOnError(false);
    g.SetIgnoreCase(o.ignoreCase);
    g.SetRegExp(FromUtf8(operands[0]));
    if (o.explain) return Explain(g, out);
    if (g.LastError() != 0)
        throw UsageFailure("error in pattern: " + ToUtf8(GrepErrorText(g.LastError())));
    const Args files = Args(operands).subspan(1);
    bool any = false;
    const int failed = ForEachInput(
        files,
        [&](const std::string& name, TStream& in) {
            const std::string prefix = files.size() > 1 ? name + ":" : "";
            std::int64_t lineNo = 0;
            ForEachLine(in, [&](std::string_view raw) {
                any |= GrepLine(g, o, prefix, ++lineNo, FromUtf8(raw), out);
            });
        },
        err);
    return failed != 0 ? 2 : (any ? 0 : 1);
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
