// The combinations, permutations and nearest subcommands and the tour section about
// combinatorics and nearest values.
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "command.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit::tool {

namespace {

int Combinations(Args args, std::ostream& out, std::ostream& err);
int Permutations(Args args, std::ostream& out, std::ostream& err);
int Nearest(Args args, std::ostream& out, std::ostream& err);

const Command kCombinations{"combinations", "qorkit combinations K M",
                            "every K-element combination of 1..M, in lexicographic order",
                            Combinations};
const Command kPermutations{"permutations", "qorkit permutations N",
                            "every permutation of 1..N, in the level order", Permutations};
const Command kNearest{"nearest", "qorkit nearest X VALUE...",
                       "0-based index and value of the VALUE nearest to X", Nearest};

// A whole decimal Integer, nothing else.
bool ParseInt(const std::string& s, std::int32_t& v) {
    const char* const end = s.data() + s.size();
    const auto [p, ec] = std::from_chars(s.data(), end, v);
    return ec == std::errc() && p == end;
}

// A decimal count in lo..hi; a usage error otherwise.
std::int32_t Count(const std::string& text, const char* what, int lo, int hi) {
    std::int32_t value = 0;
    if (ParseInt(text, value) && value >= lo && value <= hi) return value;
    throw UsageFailure(std::string(what) + " must be a whole number in " + std::to_string(lo) +
                       ".." + std::to_string(hi) + ", not '" + text + "'");
}

// Lines of bytes 1..n of a TCombination, written in large blocks. A reader that stops reading
// (a closed pipe) ends the output quietly; another write error is reported.
class LineWriter {
  public:
    LineWriter(std::ostream& Out, std::ostream& Err, std::string_view Cmd)
        : FOut(Out), FErr(Err), FCmd(Cmd) {
        // A closed pipe must come back as a write error, not end the program unseen.
        std::signal(SIGPIPE, SIG_IGN);
        FBuffer.reserve(kBlock + 1024);
    }
    /// False once output has failed.
    bool Line(const TCombination& c) {
        for (std::size_t i = 1; i <= c[0]; ++i) {
            if (i > 1) FBuffer += ' ';
            char digits[4];
            const auto r = std::to_chars(digits, digits + 4, c[i]);
            FBuffer.append(digits, r.ptr);
        }
        FBuffer += '\n';
        return FBuffer.size() < kBlock || Flush();
    }
    /// Writes what is pending; the exit status of the command.
    int Finish() {
        if (Flush() || FPipeClosed) return 0;
        FErr << "qorkit: " << FCmd << ": standard output: " << std::strerror(FErrno) << "\n";
        return 1;
    }

  private:
    static constexpr std::size_t kBlock = 1 << 16;

    bool Flush() {
        if (FFailed) return false;
        errno = 0;
        FOut.write(FBuffer.data(), static_cast<std::streamsize>(FBuffer.size()));
        FOut.flush();
        FBuffer.clear();
        if (FOut) return true;
        FFailed = true;
        FErrno = errno != 0 ? errno : EIO;
        FPipeClosed = FErrno == EPIPE;
        return false;
    }

    std::ostream& FOut;
    std::ostream& FErr;
    std::string_view FCmd;
    std::string FBuffer;
    bool FFailed = false, FPipeClosed = false;
    int FErrno = 0;
};

int Combinations(Args args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> ops = OptionParser().Parse(args, 2, 2);
    const std::int32_t k = Count(ops[0], "K", 1, 255);
    const std::int32_t m = Count(ops[1], "M", k, 255);
    TCombination c{};
    c[0] = static_cast<std::uint8_t>(k);
    for (int i = 1; i <= k; ++i)
        c[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    LineWriter w(out, err, kCombinations.Name);
    while (w.Line(c) && NextCombination(c, m)) {
    }
    return w.Finish();
}

int Permutations(Args args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> ops = OptionParser().Parse(args, 1, 1);
    const std::int32_t n = Count(ops[0], "N", 1, 255);
    TCombination p{};
    p[0] = static_cast<std::uint8_t>(n);
    for (int i = 1; i <= n; ++i)
        p[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    LineWriter w(out, err, kPermutations.Name);
    while (w.Line(p) && NextPermutation(p)) {
    }
    return w.Finish();
}

int Nearest(Args args, std::ostream& out, std::ostream&) {
    const std::vector<std::string> ops = OptionParser().Parse(args, 2, OptionParser::kMany);
    // Whole numbers throughout take the exact integer search; otherwise all are reals.
    std::vector<std::int32_t> ints(ops.size());
    bool integral = true;
    for (std::size_t i = 0; i < ops.size() && integral; ++i)
        integral = ParseInt(ops[i], ints[i]);
    std::int32_t ix = -1;
    if (integral) {
        ix = IndexOfNearestArrayValue(ints[0], std::span(ints).subspan(1));
    } else {
        std::vector<double> reals(ops.size());
        for (std::size_t i = 0; i < ops.size(); ++i) {
            long double v = 0;
            if (!TryStrToFloat(FromUtf8(ops[i]), v))
                throw UsageFailure("not a number: '" + ops[i] + "'");
            reals[i] = static_cast<double>(v);
        }
        ix = IndexOfNearestArrayValue(reals[0], std::span(reals).subspan(1));
    }
    if (ix < 0) throw Failure("no value lies at a finite distance from " + ops[0]);
    out << ix << "\t" << ops[static_cast<std::size_t>(ix) + 1] << "\n";
    return 0;
}

void ShowCombinatorics(std::ostream& out) {
    TCombination c{};
    c[0] = 2, c[1] = 1, c[2] = 2;
    out << "NextCombination, 2 of 4:";
    do
        out << " " << int{c[1]} << int{c[2]};
    while (NextCombination(c, 4));
    TCombination p{};
    p[0] = 3, p[1] = 1, p[2] = 2, p[3] = 3;
    out << "\nNextPermutation, level order of 3:";
    do
        out << " " << int{p[1]} << int{p[2]} << int{p[3]};
    while (NextPermutation(p));
    const double values[] = {1, 2, 3};
    const std::int32_t ints[] = {2147483647, 0};
    out << "\nIndexOfNearestArrayValue(2.5, {1, 2, 3}) = " << IndexOfNearestArrayValue(2.5, values)
        << " (the first of two equally near)\n"
        << "IndexOfNearestArrayValue(-2147483648, {2147483647, 0}) = "
        << IndexOfNearestArrayValue(-2147483647 - 1, ints) << " (exact distances, no overflow)\n";
}

const RegisterCommand kRegisterCombinations(kCombinations);
const RegisterCommand kRegisterPermutations(kPermutations);
const RegisterCommand kRegisterNearest(kNearest);
const RegisterTourSection kSection({70, "Combinations, permutations and nearest values",
                                    ShowCombinatorics});

}  // namespace

}  // namespace qorkit::tool
