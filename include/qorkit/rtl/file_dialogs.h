// The platform's file dialogs: the dialog base TCommonDialog, the standard save dialog
// TFileSaveDialog, and the dialog services that show it.
//
// A save dialog does not draw anything itself: a dialog backend shows it and gives back the
// user's answer. The library brings three backends - the desktop file chooser (zenity), a
// prompt on the terminal, and the absence of both (which reports a dialog error) - and
// `DefaultFileDialogBackend` picks the one that fits the process at the moment `Execute`
// runs. Callers and tests may hand any other backend to a dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// The reply code of a dialog.
using TModalResult = std::int32_t;
inline constexpr TModalResult mrNone = 0;    ///< no reply yet
inline constexpr TModalResult mrOk = 1;      ///< accepted
inline constexpr TModalResult mrCancel = 2;  ///< cancelled
inline constexpr TModalResult mrAbort = 3;   ///< abort
inline constexpr TModalResult mrRetry = 4;   ///< retry
inline constexpr TModalResult mrIgnore = 5;  ///< ignore
inline constexpr TModalResult mrYes = 6;     ///< yes
inline constexpr TModalResult mrNo = 7;      ///< no

/// A window handle; on X11 the window's id (the desktop chooser is attached to it).
using HWND = std::uintptr_t;

/// Dialog error codes, as `TFileSaveDialog::ErrorCode` reports them.
/// No dialog could be shown: no desktop chooser and no terminal, or the chooser broke off.
inline constexpr std::uint32_t cdDialogFailure = 0xFFFF;
/// The desktop chooser could not be started or could not open the display.
inline constexpr std::uint32_t cdInitialization = 0x0002;

/// Base of the dialog components.
class TCommonDialog : public TComponent {
  public:
    /// Creates the dialog owned by `AOwner` (may be null; see `TComponent`).
    explicit TCommonDialog(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    /// Shows the dialog; true when the user accepted it.
    virtual bool Execute() = 0;
};

/// One entry of the file-type list of a file dialog: a name for people and a mask such as
/// "*.txt" or "*.htm;*.html".
struct TFileTypeItem {
    String DisplayName;
    String FileMask;
};

class TFileSaveDialog;

/// The answer of a dialog backend.
struct TFileDialogAnswer {
    TModalResult Result = mrCancel;  ///< mrOk or mrCancel
    String FileName;                 ///< the chosen file (absolute) when `Result` is mrOk
    std::int32_t FileTypeIndex = 0;  ///< the chosen file type (from 1); 0 keeps the dialog's
    std::uint32_t ErrorCode = 0;     ///< a dialog error (`cdDialogFailure`, ...) or 0
    String ErrorText;                ///< what went wrong, for people, when `ErrorCode` is set
};

/// A service that shows a save dialog. `Show` reads the dialog's title, folder, file name,
/// file types and preselected type, asks the user, and returns the answer. While it runs it
/// may report a change of the file type through `TFileSaveDialog::ChangeFileType`, keeping the
/// name being typed in `TypedFileName`.
class TFileDialogBackend {
  public:
    virtual ~TFileDialogBackend() = default;
    /// Shows `Dialog` with `ParentWnd` as owner window (0: none).
    virtual TFileDialogAnswer Show(TFileSaveDialog& Dialog, HWND ParentWnd) = 0;
};

/// Settings of the desktop chooser backend.
struct TZenityOptions {
    /// The program: a path, or a name looked up in PATH.
    String Program = u"zenity";
    /// With a value above 0 the chooser closes itself after that many seconds, which counts
    /// as a cancel (and it is killed 5 seconds later should it still run). 0: no limit.
    std::int32_t TimeoutSeconds = 0;
};

/// The desktop file chooser: runs `zenity --file-selection --save` (no shell; every value is
/// one argument; `--confirm-overwrite` with `OverwritePrompt`) with the title, the file types as
/// filters (the preselected one first, since the chooser starts on its first filter; masks matched
/// without regard to A-Z case) and the folder and name; the chosen path is read from its output.
/// Exit status 1 (and the timeout's 5) is a cancel; a chooser that cannot be started or cannot
/// open the display gives `cdInitialization`, any other end `cdDialogFailure`. The chooser
/// does not say which filter was active, so the answer's file type is the first one (from the
/// preselected one on) whose mask matches the chosen name, or the preselected one.
std::shared_ptr<TFileDialogBackend> ZenityFileDialogBackend(const TZenityOptions& Options = {});

/// A prompt on a terminal: reads answers from descriptor `InFd` and writes the prompts to
/// `OutFd` (UTF-8). It shows the title and folder, lists the file types and asks for one (when
/// there are several; Enter keeps the preselected one and a change is reported to the
/// dialog), then for the file name (Enter keeps the proposed one; a relative name is taken in
/// the folder). With `OverwritePrompt` an existing file is accepted only after a "y" to the
/// question that follows.
/// The end of input (Ctrl-D) is a cancel; a read error gives `cdDialogFailure`.
std::shared_ptr<TFileDialogBackend> TerminalFileDialogBackend(int InFd = 0, int OutFd = 2);

/// The backend that fits the process now: the desktop chooser when DISPLAY or WAYLAND_DISPLAY
/// is set and zenity is found in PATH, else the terminal prompt when standard input is a
/// terminal (prompts on standard error), else a backend whose every answer is the error
/// `cdDialogFailure`.
std::shared_ptr<TFileDialogBackend> DefaultFileDialogBackend();

/// The standard save dialog. Set the title, folder, file name, file types and the preselected
/// type, then call `Execute`; afterwards `FileName` and `FileTypeIndex` hold the choice.
/// Ownership: see `TComponent`; the backend is shared with the caller.
class TFileSaveDialog : public TComponent {
  public:
    explicit TFileSaveDialog(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    const String& Title() const noexcept { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    /// The folder the dialog starts in (empty: the folder of `FileName`, or the current one).
    const String& DefaultFolder() const noexcept { return FDefaultFolder; }
    void SetDefaultFolder(const String& Value) { FDefaultFolder = Value; }
    /// The proposed file name before `Execute`, the chosen one (absolute) after an accept.
    const String& FileName() const noexcept { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    /// The file types offered, in order.
    const std::vector<TFileTypeItem>& FileTypes() const noexcept { return FFileTypes; }
    /// Appends a file type.
    void AddFileType(const String& DisplayName, const String& FileMask) {
        FFileTypes.push_back({DisplayName, FileMask});
    }
    /// The selected file type, from 1 (values outside the list select the first type).
    std::int32_t FileTypeIndex() const noexcept { return FFileTypeIndex; }
    void SetFileTypeIndex(std::int32_t Value) noexcept { FFileTypeIndex = Value; }
    /// When set, the dialog asks before it accepts the name of an existing file (default: off,
    /// since the caller usually asks itself, as `TUnivSaveDialog` does through `OnOverwrite`).
    bool OverwritePrompt() const noexcept { return FOverwritePrompt; }
    void SetOverwritePrompt(bool Value) noexcept { FOverwritePrompt = Value; }
    /// Called after the user selected another file type while the dialog is shown.
    const TNotifyEvent& OnTypeChange() const noexcept { return FOnTypeChange; }
    void SetOnTypeChange(TNotifyEvent Value) { FOnTypeChange = std::move(Value); }

    /// The backend that shows the dialog; null (the default) uses `DefaultFileDialogBackend`.
    const std::shared_ptr<TFileDialogBackend>& Backend() const noexcept { return FBackend; }
    void SetBackend(std::shared_ptr<TFileDialogBackend> Value) { FBackend = std::move(Value); }

    /// Shows the dialog. True when the user accepted a file: `FileName` and `FileTypeIndex`
    /// then hold the choice. False on a cancel and on a failure, which `ErrorCode` tells apart.
    bool Execute(HWND ParentWnd = 0);
    /// The error of the last `Execute` (0: none); `ErrorText` says more.
    std::uint32_t ErrorCode() const noexcept { return FErrorCode; }
    const String& ErrorText() const noexcept { return FErrorText; }

    /// For backends: the name the user is typing, as the type-change handler reads and sets it.
    const String& TypedFileName() const noexcept { return FTypedFileName; }
    void SetTypedFileName(const String& Value) { FTypedFileName = Value; }
    /// For backends: selects file type `Index` (from 1) and fires `OnTypeChange`.
    void ChangeFileType(std::int32_t Index);

  private:
    String FTitle;
    String FDefaultFolder;
    String FFileName;
    String FTypedFileName;
    std::vector<TFileTypeItem> FFileTypes;
    std::int32_t FFileTypeIndex = 1;
    bool FOverwritePrompt = false;
    TNotifyEvent FOnTypeChange;
    std::shared_ptr<TFileDialogBackend> FBackend;
    std::uint32_t FErrorCode = 0;
    String FErrorText;
};

}  // namespace qorkit
