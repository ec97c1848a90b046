// Folder-walk subcommands: find and count files by a Windows-style mask.
#include "command.h"
#include "command_line.h"
#include "qorkit/Qor_filesys.h"
#include "qorkit/rtl/exceptions.h"

namespace qorkit::tool {

namespace {

int Find(Args args, std::ostream& out, std::ostream& err);
int Count(Args args, std::ostream& out, std::ostream& err);

const Command kFind{
    "find", "qorkit find MASK [-r]",
    "paths of the files matching MASK (\"*.txt\", \"data\\\\a?.*\"), -r: subfolders too", Find};
const Command kCount{"count", "qorkit count MASK [-r]",
                     "the number of files matching MASK, -r: subfolders too", Count};

// The mask and the recursion switch of a walk command, or the exit status of a usage error or
// a help request.
struct WalkLine {
    String Mask;
    bool Recursive = false;
    int Exit = -1;  // >= 0: stop with this status
};

WalkLine ParseWalk(const Command& c, Args args, std::ostream& out, std::ostream& err) {
    WalkLine w;
    const CommandLine cl = ParseCommandLine(args, {"-r", "--recursive"}, {});
    if (cl.Help) {
        out << "usage: " << c.Usage << "\n"
            << c.Summary
            << ". Masks follow the Windows rules without regard to case: \"*.*\" matches every "
               "name, \"?\" one character; \"\\\" and \"/\" separate folders. Links to folders "
               "are not entered.\n";
        w.Exit = 0;
    } else if (!cl.Problem.empty()) {
        w.Exit = UsageProblem(c, cl.Problem, err);
    } else if (cl.Operands.size() != 1) {
        w.Exit = UsageProblem(c, cl.Operands.empty() ? "missing MASK" : "one MASK only", err);
    } else {
        w.Mask = FromUtf8(cl.Operands[0]);
        w.Recursive = !cl.Options.empty();
        const String folder = ExtractFilePath(w.Mask);
        if (!folder.empty() && !DirExists(folder)) {
            err << "qorkit: " << c.Name << ": " << ToUtf8(folder) << ": no such folder\n";
            w.Exit = 1;
        }
    }
    return w;
}

int Find(Args args, std::ostream& out, std::ostream& err) {
    const WalkLine w = ParseWalk(kFind, args, out, err);
    if (w.Exit >= 0) return w.Exit;
    TStringList list;
    ScanFilesToStrList(w.Mask, w.Recursive, &list, nullptr);
    for (std::int32_t i = 0; i < list.Count(); ++i)
        out << ToUtf8(list.Strings(i)) << "\n";
    return FinishOutput(kFind, out, err, 0);
}

int Count(Args args, std::ostream& out, std::ostream& err) {
    const WalkLine w = ParseWalk(kCount, args, out, err);
    if (w.Exit >= 0) return w.Exit;
    out << CountFiles64(w.Mask, w.Recursive, nullptr) << "\n";
    return FinishOutput(kCount, out, err, 0);
}

const RegisterCommand kRegisterFind(kFind);
const RegisterCommand kRegisterCount(kCount);

}  // namespace

}  // namespace qorkit::tool
