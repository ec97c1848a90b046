// Folder-walk subcommands: find and count files by a Windows-style mask, copy and delete
// folder trees, move files to the trash.
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "command.h"
#include "command_line.h"
#include "progress_bar.h"
#include "qorkit/Qor_filesys.h"
#include "qorkit/rtl/exceptions.h"

namespace qorkit::tool {

namespace {

int Find(Args args, std::ostream& out, std::ostream& err);
int Count(Args args, std::ostream& out, std::ostream& err);
int CopyTree(Args args, std::ostream& out, std::ostream& err);
int DelTree(Args args, std::ostream& out, std::ostream& err);
int Trash(Args args, std::ostream& out, std::ostream& err);

const Command kFind{
    "find", "qorkit find MASK [-r]",
    "paths of the files matching MASK (\"*.txt\", \"data\\\\a?.*\"), -r: subfolders too", Find};
const Command kCount{"count", "qorkit count MASK [-r]",
                     "the number of files matching MASK, -r: subfolders too", Count};
const Command kCopyTree{
    "copytree", "qorkit copytree SRC DST [-a]",
    "copy the folder SRC with everything in it into DST (created as needed)", CopyTree,
    "  -a, --attributes  also copy the permission bits (made writable for the owner)\n"
    "Symbolic links are copied as links. A progress bar is shown when standard error is a\n"
    "terminal. DST inside SRC is refused.\n"};
const Command kDelTree{"deltree", "qorkit deltree DIR [--yes]",
                       "delete the folder DIR with everything in it", DelTree,
                       "  -y, --yes  delete without asking (required when standard input or\n"
                       "             standard error is not a terminal)\n"
                       "A symbolic link is deleted as a link, never what it points to.\n"};
const Command kTrash{
    "trash", "qorkit trash FILE...",
    "move files (or the files matching masks) to the desktop's trash", Trash,
    "Files go to $XDG_DATA_HOME/Trash (~/.local/share/Trash) with a record a file\n"
    "manager can restore them from. Folders are not moved; a file on another file\n"
    "system than the trash is refused.\n"};

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

// Where a file of the tree copy stands, for the progress bar (the callback is a plain
// function).
ProgressBar* gBar = nullptr;
std::int64_t gTotalFiles = 0;

void ShowCopyProgress(std::int64_t, std::int64_t, const String& name, std::int32_t files) {
    if (gBar != nullptr) gBar->Show(files, gTotalFiles, ToUtf8(name));
}

std::string CopyProblem(std::int32_t code) {
    switch (code) {
        case fcIntoItself:
            return "DST lies inside SRC";
        case fcAborted:
            return "stopped";
        case fcSourceNotOpened:
            return "some entries could not be read";
        case fcDestNotCreated:
            return "some entries could not be created";
        case fcReadFailed:
            return "a read failed";
        default:
            return "a write failed";
    }
}

bool IsFolder(const std::string& name) {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int CopyTree(Args args, std::ostream&, std::ostream& err) {
    bool attributes = false;
    const std::vector<std::string> ops =
        OptionParser().Flag("-a,--attributes", attributes).Parse(args, 2, 2);
    if (!IsFolder(ops[0])) return ReportError(err, ops[0] + ": no such folder");
    ProgressBar bar(err);
    gBar = &bar;
    gTotalFiles = CountFiles64(FromUtf8(ops[0]) + PathDelim + u"*.*", true, nullptr);
    const std::int32_t result =
        CopyFileTree64(FromUtf8(ops[0]), FromUtf8(ops[1]), attributes, ShowCopyProgress);
    bar.Finish();
    gBar = nullptr;
    if (result != 0) return ReportError(err, ops[1] + ": " + CopyProblem(result));
    return 0;
}

int DelTree(Args args, std::ostream&, std::ostream& err) {
    bool yes = false;
    const std::vector<std::string> ops = OptionParser().Flag("-y,--yes", yes).Parse(args, 1, 1);
    const std::string& dir = ops[0];
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !(S_ISDIR(st.st_mode) || S_ISLNK(st.st_mode)) ||
        (S_ISLNK(st.st_mode) && !IsFolder(dir)))
        return ReportError(err, dir + ": no such folder");
    if (ExpandFileName(FromUtf8(dir)) == u"/") return ReportError(err, "refusing to delete /");
    if (!yes) {
        if (::isatty(STDIN_FILENO) != 1 || ::isatty(STDERR_FILENO) != 1)
            throw UsageFailure("not a terminal: give --yes to delete without asking");
        err << "qorkit: delete " << dir << " and everything in it? [y/N] " << std::flush;
        std::string answer;
        std::getline(std::cin, answer);
        if (answer != "y" && answer != "Y" && answer != "yes")
            return ReportError(err, dir + ": not deleted");
    }
    const String failed = DelDirTree(FromUtf8(dir));
    if (!failed.empty()) return ReportError(err, ToUtf8(failed) + ": cannot be deleted");
    return 0;
}

int Trash(Args args, std::ostream&, std::ostream& err) {
    const std::vector<std::string> ops = OptionParser().Parse(args, 1, OptionParser::kMany);
    // Every operand is checked before anything is moved.
    for (const std::string& op : ops) {
        if (IsFolder(op)) return ReportError(err, op + ": is a folder");
        if (ExtractFileName(FromUtf8(op)).starts_with(u"."))
            return ReportError(err, op + ": names starting with \".\" are not moved");
        if (CountFiles64(FromUtf8(op), false, nullptr) == 0)
            return ReportError(err, op + ": no such file");
    }
    int status = 0;
    for (const std::string& op : ops)
        if (MoveToRecycleBin(FromUtf8(op)) == 0)
            status = ReportError(err, op + ": not moved (hidden, or on another file system)");
    return status;
}

const RegisterCommand kRegisterFind(kFind);
const RegisterCommand kRegisterCount(kCount);
const RegisterCommand kRegisterCopyTree(kCopyTree);
const RegisterCommand kRegisterDelTree(kDelTree);
const RegisterCommand kRegisterTrash(kTrash);

}  // namespace

}  // namespace qorkit::tool
