// String-utility subcommands (words, translit, hexchars) and the tour section about them.
#include "command.h"
#include "qorkit/qorkit.h"
#include "qorkit/rtl/codepage.h"

namespace qorkit::tool {

namespace {

int Words(Args args, std::ostream& out, std::ostream& err);
int Translit(Args args, std::ostream& out, std::ostream& err);
int HexChars(Args args, std::ostream& out, std::ostream& err);

const Command kWords{"words", "qorkit words [--utf8] [FILE...]",
                     "count words per file (bytes read as Windows-1252, or UTF-8)", Words,
                     "  --utf8  read the bytes as UTF-8\n"
                     "FILE is read from standard input when it is - or missing.\n"};
const Command kTranslit{"translit", "qorkit translit TEXT...",
                        "spell out German letters; also the A-Z/0-9 and 8.3-safe forms", Translit};
const Command kHexChars{"hexchars", "qorkit hexchars TEXT...",
                        "resolve the escapes \\#hh (hex code) and \\\\ in TEXT", HexChars};

// True for a byte that separates words in Windows-1252 and in UTF-8 alike: the separators
// are ASCII, and ASCII bytes never occur inside a UTF-8 sequence.
bool IsAsciiSeparator(char b) {
    const auto u = static_cast<unsigned char>(b);
    return u < 128 && WordSeps[u];
}

// Counts words as CountWords does over the whole input, block by block: each piece ends at a
// separator, so no word is split; the unfinished run after the last separator is carried on.
// A run longer than the carry limit is cut to its last characters, as only whether it holds
// two of them matters.
class StreamingWordCount {
  public:
    explicit StreamingWordCount(bool utf8) : FUtf8(utf8) {}

    void Add(std::string_view block) {
        std::size_t last = block.size();
        while (last > 0 && !IsAsciiSeparator(block[last - 1]))
            --last;
        if (last == 0) {
            FCarry.append(block);
            Shorten();
            return;
        }
        FCarry.append(block.substr(0, last));
        FWords += CountWords(Decode(FCarry));
        FCarry.assign(block.substr(last));
    }

    std::int64_t Words() const { return FWords; }

  private:
    String Decode(const std::string& bytes) const {
        return FUtf8 ? FromUtf8(bytes) : Win1252ToString(bytes);
    }
    void Shorten() {
        constexpr std::size_t kLimit = 1 << 16, kKeep = 16;
        if (FCarry.size() <= kLimit) return;
        std::size_t from = FCarry.size() - kKeep;
        // Start at the first byte of a character (not a UTF-8 continuation byte).
        while (from < FCarry.size() && (static_cast<unsigned char>(FCarry[from]) & 0xC0) == 0x80)
            ++from;
        FCarry.erase(0, from);
    }

    bool FUtf8;
    std::string FCarry;
    std::int64_t FWords = 0;
};

// Counts the words of each file as CountWords does: a word is a run of two or more
// non-separators followed by a separator, so a word at the very end of a file that does not
// end in a separator (such as a line end) is not counted.
int Words(Args args, std::ostream& out, std::ostream& err) {
    bool utf8 = false;
    const std::vector<std::string> files =
        OptionParser().Flag("--utf8", utf8).Parse(args, 0, OptionParser::kMany);
    std::int64_t total = 0;
    const int status = ForEachInput(
        files,
        [&](const std::string& name, TStream& in) {
            StreamingWordCount count(utf8);
            ForEachBlock(in, [&count](std::string_view b) { count.Add(b); });
            total += count.Words();
            out << count.Words() << "\t" << name << "\n";
        },
        err);
    if (files.size() > 1) out << total << "\ttotal\n";
    return status;
}

int Translit(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> text = OptionParser().Parse(args, 1, OptionParser::kMany);
    const String expanded = ExpandDiphthongs(JoinArgs(text));
    out << "expanded: " << ToUtf8(expanded) << "\n";
    out << "az09:     " << ToUtf8(ReduceStringToAZ09(expanded)) << "\n";
    out << "fn83:     " << ToUtf8(ReduceStringToFN83CompliantChars(expanded)) << "\n";
    return 0;
}

int HexChars(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> text = OptionParser().Parse(args, 1, OptionParser::kMany);
    out << ToUtf8(ProcessHexChars(JoinArgs(text))) << "\n";
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
