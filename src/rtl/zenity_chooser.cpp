// The desktop file chooser: the save dialog shown by zenity, started without a shell.
#include <string>
#include <vector>

#include "child_process.h"
#include "file_dialog_detail.h"
#include "qorkit/rtl/file_dialogs.h"
#include "qorkit/rtl/file_paths.h"

namespace qorkit {

namespace {

// A Windows mask as a chooser pattern: "*.*" is every name, letters match either case, a blank
// (which would split the pattern list) matches any one character and "[" stands for itself.
std::string ChooserPattern(const String& Mask) {
    if (Mask == u"*.*") return "*";
    String p;
    for (const Char c : Mask) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            const Char lower = c | 0x20;
            p += u'[';
            p += lower;
            p += static_cast<Char>(lower - 0x20);
            p += u']';
        } else if (c == u' ') {
            p += u'?';
        } else if (c == u'[') {
            p += u"[[]";
        } else {
            p += c;
        }
    }
    return ToUtf8(p);
}

std::string FilterArgument(const TFileTypeItem& Type) {
    std::string patterns;
    for (const String& m : detail::SplitFileMasks(Type.FileMask)) {
        if (!patterns.empty()) patterns += ' ';
        patterns += ChooserPattern(m);
    }
    if (patterns.empty()) patterns = "*";
    std::string name = ToUtf8(Type.DisplayName);
    if (name.find_first_not_of(' ') == std::string::npos) name = patterns;
    return "--file-filter=" + name + " | " + patterns;
}

// The last line that the chooser wrote on its error output, for the error text.
String LastLine(const std::string& Text) {
    std::size_t end = Text.find_last_not_of("\r\n");
    if (end == std::string::npos) return {};
    const std::size_t start = Text.rfind('\n', end);
    return FromUtf8(Text.substr(start == std::string::npos ? 0 : start + 1,
                                end - (start == std::string::npos ? 0 : start + 1) + 1));
}

class ZenityBackend final : public TFileDialogBackend {
  public:
    explicit ZenityBackend(TZenityOptions Options) : FOptions(std::move(Options)) {}

    TFileDialogAnswer Show(TFileSaveDialog& Dialog, HWND ParentWnd) override {
        TFileDialogAnswer a;
        const std::string program = detail::FindProgram(ToUtf8(FOptions.Program));
        if (program.empty()) {
            a.ErrorCode = cdInitialization;
            a.ErrorText = u"the file chooser \"" + FOptions.Program + u"\" was not found";
            return a;
        }
        std::vector<std::string> args = {"--file-selection", "--save"};
        if (Dialog.OverwritePrompt()) args.push_back("--confirm-overwrite");
        if (!Dialog.Title().empty()) args.push_back("--title=" + ToUtf8(Dialog.Title()));
        args.push_back("--filename=" +
                       ToUtf8(detail::StartFolder(Dialog) + ExtractFileName(Dialog.FileName())));
        // The chooser starts on its first filter, so the preselected type goes first.
        const std::int32_t pre = detail::PreselectedFileType(Dialog);
        const auto& types = Dialog.FileTypes();
        if (pre > 0) args.push_back(FilterArgument(types[static_cast<std::size_t>(pre - 1)]));
        for (std::int32_t i = 1; i <= static_cast<std::int32_t>(types.size()); ++i)
            if (i != pre) args.push_back(FilterArgument(types[static_cast<std::size_t>(i - 1)]));
        if (ParentWnd != 0) args.push_back("--attach=" + std::to_string(ParentWnd));
        if (FOptions.TimeoutSeconds > 0)
            args.push_back("--timeout=" + std::to_string(FOptions.TimeoutSeconds));

        detail::ChildProcess child(program, args);
        const detail::ChildResult r =
            child.Wait(FOptions.TimeoutSeconds > 0 ? (FOptions.TimeoutSeconds + 5) * 1000 : -1);
        if (!r.Started || (r.Exited && r.ExitCode == 127) ||
            (r.Exited && r.ExitCode == 1 &&
             r.Err.find("cannot open display") != std::string::npos)) {
            a.ErrorCode = cdInitialization;
            a.ErrorText = u"the file chooser could not be started";
            if (!r.Started)
                a.ErrorText += u" (errno " + FromUtf8(std::to_string(r.SpawnError)) + u")";
            else if (!r.Err.empty())
                a.ErrorText += u": " + LastLine(r.Err);
            return a;
        }
        if (r.Exited && (r.ExitCode == 1 || r.ExitCode == 5)) return a;  // cancel, timeout
        std::string out = r.Out;
        if (!out.empty() && out.back() == '\n') out.pop_back();
        if (!r.Exited || r.ExitCode != 0 || out.empty()) {
            a.ErrorCode = cdDialogFailure;
            a.ErrorText =
                r.Exited
                    ? u"the file chooser ended with status " + FromUtf8(std::to_string(r.ExitCode))
                    : u"the file chooser was ended by signal " + FromUtf8(std::to_string(r.Signal));
            if (!r.Err.empty()) a.ErrorText += u": " + LastLine(r.Err);
            return a;
        }
        a.Result = mrOk;
        a.FileName = FromUtf8(out);
        a.FileTypeIndex = detail::FileTypeOfName(Dialog, a.FileName);
        return a;
    }

  private:
    TZenityOptions FOptions;
};

}  // namespace

std::shared_ptr<TFileDialogBackend> ZenityFileDialogBackend(const TZenityOptions& Options) {
    return std::make_shared<ZenityBackend>(Options);
}

}  // namespace qorkit
