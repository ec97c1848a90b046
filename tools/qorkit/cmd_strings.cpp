// String-utility subcommands (words, translit, hexchars) and the tour section about them.
#include "command.h"
#include "qorkit/qorkit.h"
#include "qorkit/rtl/codepage.h"

namespace qorkit::tool {

namespace {

int Words(Args args, std::ostream& out, std::ostream& err);
int Translit(Args args, std::ostream& out, std::ostream& err);
int HexChars(Args args, std::ostream& out, std::ostream& err);

const Command kWords{"words", "qorkit words [--utf8] FILE...",
                     "count words per file (bytes read as Windows-1252, or UTF-8)", Words};
const Command kTranslit{"translit", "qorkit translit TEXT...",
                        "spell out German letters; also the A-Z/0-9 and 8.3-safe forms", Translit};
const Command kHexChars{"hexchars", "qorkit hexchars TEXT...",
                        "resolve the escapes \\#hh (hex code) and \\\\ in TEXT", HexChars};

// Counts the words of each file as CountWords does: a word is a run of two or more
// non-separators followed by a separator, so a word at the very end of a file that does not
// end in a separator (such as a line end) is not counted.
int Words(Args args, std::ostream& out, std::ostream& err) {
    bool utf8 = false;
    if (!args.empty() && args[0] == "--utf8") {
        utf8 = true;
        args = args.subspan(1);
    }
    if (args.empty()) return UsageError(kWords, err);
    int status = 0;
    std::int64_t total = 0;
    for (const std::string& name : args) {
        std::string bytes;
        if (!ReadFileBytes(name, bytes)) {
            err << "qorkit words: cannot read '" << name << "'\n";
            status = 1;
            continue;
        }
        const std::int32_t n = CountWords(utf8 ? FromUtf8(bytes) : Win1252ToString(bytes));
        total += n;
        out << n << "\t" << name << "\n";
    }
    if (args.size() > 1) out << total << "\ttotal\n";
    return status;
}

int Translit(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return UsageError(kTranslit, err);
    const String expanded = ExpandDiphthongs(JoinArgs(args));
    out << "expanded: " << ToUtf8(expanded) << "\n";
    out << "az09:     " << ToUtf8(ReduceStringToAZ09(expanded)) << "\n";
    out << "fn83:     " << ToUtf8(ReduceStringToFN83CompliantChars(expanded)) << "\n";
    return 0;
}

int HexChars(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return UsageError(kHexChars, err);
    out << ToUtf8(ProcessHexChars(JoinArgs(args))) << "\n";
    return 0;
}

void ShowStrings(std::ostream& out) {
    const auto q = [](std::u16string_view s) { return "\"" + ToUtf8(s) + "\""; };
    const String line = u"  Die Straße nach Köln, über Äcker und Felder.  ";
    out << "StripLTBlanks(" << q(line) << ") = " << q(StripLTBlanks(line)) << "\n";
    out << "CountWords of it: " << CountWords(line) << " (a word needs two characters and a "
        << "following separator)\n";
    out << "ExpandDiphthongs: " << q(ExpandDiphthongs(StripLTBlanks(line))) << "\n";
    out << "ReduceStringToFN83CompliantChars(\"Report: Q3/2024 *final*.txt\") = "
        << q(ReduceStringToFN83CompliantChars(u"Report: Q3/2024 *final*.txt")) << "\n";
    out << "ReplaceStringInString(\"aXa\", \"a\", \"aa\") = "
        << q(ReplaceStringInString(u"aXa", u"a", u"aa", false))
        << " (inserted text is not searched again)\n";
    out << "NumberedPos(\"ab\", \"xxabyyab\", 1, 2) = "
        << NumberedPos(u"ab", u"xxabyyab", 1, 2, false)
        << ", PosLast(\"aa\", \"aaa\") = " << PosLast(u"aa", u"aaa") << "\n";
    out << "[" << ToUtf8(CenterString(u"ab", 6)) << "] [" << ToUtf8(LeftString(u"ab", 4)) << "] ["
        << ToUtf8(RightString(u"ab", 4)) << "] " << q(AbbrevString(u"abcdefgh", 5)) << "\n";
    out << "CapitalizeString(\"hello wORLD-x2y\") = " << q(CapitalizeString(u"hello wORLD-x2y"))
        << ", ChangeCase(\"Ärger\") = " << q(ChangeCase(u"Ärger")) << "\n";
    out << std::boolalpha << "IsAbbreviation: USA " << IsAbbreviation(u"USA") << ", CPUs "
        << IsAbbreviation(u"CPUs") << ", PhD " << IsAbbreviation(u"PhD") << "\n";
    out << "StringContainsOtherThan(\"-12.5\", \"//dig.-\") = "
        << StringContainsOtherThan(u"-12.5", u"//dig.-") << "\n";
    out << "ProcessHexChars(" << q(u"A\\#41\\\\#42")
        << ") = " << q(ProcessHexChars(u"A\\#41\\\\#42")) << "\n";
}

const RegisterCommand kRegisterWords(kWords);
const RegisterCommand kRegisterTranslit(kTranslit);
const RegisterCommand kRegisterHexChars(kHexChars);
const RegisterTourSection kSection({20, "String utilities", ShowStrings});

}  // namespace

}  // namespace qorkit::tool
