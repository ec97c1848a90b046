#include "qorkit/rtl/file_dialogs.h"

#include <unistd.h>

#include <cstdlib>

#include "child_process.h"
#include "file_dialog_detail.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/file_search.h"

namespace qorkit {

namespace detail {

std::vector<String> SplitFileMasks(const String& MaskList) {
    std::vector<String> masks;
    std::size_t start = 0;
    while (start <= MaskList.size()) {
        std::size_t end = MaskList.find(u';', start);
        if (end == String::npos) end = MaskList.size();
        std::size_t a = start;
        std::size_t b = end;
        while (a < b && MaskList[a] == u' ')
            ++a;
        while (b > a && MaskList[b - 1] == u' ')
            --b;
        if (b > a) masks.push_back(MaskList.substr(a, b - a));
        start = end + 1;
    }
    return masks;
}

std::int32_t PreselectedFileType(const TFileSaveDialog& Dialog) {
    const auto n = static_cast<std::int32_t>(Dialog.FileTypes().size());
    if (n == 0) return 0;
    const std::int32_t i = Dialog.FileTypeIndex();
    return i >= 1 && i <= n ? i : 1;
}

std::int32_t FileTypeOfName(const TFileSaveDialog& Dialog, const String& FileName) {
    const std::int32_t pre = PreselectedFileType(Dialog);
    const String name = ExtractFileName(FileName);
    const auto& types = Dialog.FileTypes();
    const auto matches = [&](std::int32_t i) {
        for (const String& m : SplitFileMasks(types[static_cast<std::size_t>(i - 1)].FileMask))
            if (MatchesMask(name, m)) return true;
        return false;
    };
    if (pre == 0 || matches(pre)) return pre;
    for (std::int32_t i = 1; i <= static_cast<std::int32_t>(types.size()); ++i)
        if (i != pre && matches(i)) return i;
    return pre;
}

String StartFolder(const TFileSaveDialog& Dialog) {
    String folder = ExtractFilePath(Dialog.FileName());
    if (folder.empty()) folder = Dialog.DefaultFolder();
    if (folder.empty()) folder = u".";
    folder = ExpandFileName(folder);
    if (folder.empty() || folder.back() != PathDelim) folder += PathDelim;
    return folder;
}

String NameInFolder(const String& Folder, const String& Name) {
    if (!Name.empty() && (Name.front() == u'/' || Name.front() == u'\\'))
        return ExpandFileName(Name);
    return ExpandFileName(Folder + Name);
}

}  // namespace detail

namespace {

// Neither a display with the chooser nor a terminal: every answer is an error.
class NoDialogBackend final : public TFileDialogBackend {
  public:
    TFileDialogAnswer Show(TFileSaveDialog&, HWND) override {
        TFileDialogAnswer a;
        a.ErrorCode = cdDialogFailure;
        a.ErrorText =
            u"no desktop file chooser (DISPLAY or WAYLAND_DISPLAY with zenity) and no "
            u"terminal on standard input";
        return a;
    }
};

bool EnvSet(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

}  // namespace

std::shared_ptr<TFileDialogBackend> DefaultFileDialogBackend() {
    if ((EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY")) && !detail::FindProgram("zenity").empty())
        return ZenityFileDialogBackend();
    if (::isatty(0) == 1) return TerminalFileDialogBackend(0, 2);
    return std::make_shared<NoDialogBackend>();
}

bool TFileSaveDialog::Execute(HWND ParentWnd) {
    FErrorCode = 0;
    FErrorText.clear();
    FTypedFileName = ExtractFileName(FFileName);
    const std::shared_ptr<TFileDialogBackend> backend =
        FBackend ? FBackend : DefaultFileDialogBackend();
    const TFileDialogAnswer a = backend->Show(*this, ParentWnd);
    if (a.ErrorCode != 0) {
        FErrorCode = a.ErrorCode;
        FErrorText = a.ErrorText;
        return false;
    }
    if (a.Result != mrOk) return false;
    FFileName = a.FileName;
    if (a.FileTypeIndex > 0) FFileTypeIndex = a.FileTypeIndex;
    return true;
}

void TFileSaveDialog::ChangeFileType(std::int32_t Index) {
    FFileTypeIndex = Index;
    if (FOnTypeChange) FOnTypeChange(this);
}

}  // namespace qorkit
