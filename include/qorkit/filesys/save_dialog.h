// TUnivSaveDialog: a save-file component that shows the standard save dialog or lets event
// handlers choose the file, with forbidden folders and the overwrite question handled.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "qorkit/rtl/file_dialogs.h"
#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Chooses the file instead of the standard dialog: receives `Parameters`, sets `UserAction`
/// (preset to mrCancel; mrOk accepts) and `SelectedFileName` (preset to the current name).
using TOnFileSelectEvent = std::function<void(TObject* Sender, const String& Parameters,
                                              TModalResult& UserAction, String& SelectedFileName)>;
/// Tells whether `FileName` exists when the file is chosen by events (preset to false).
using TOnFileCheckEvent =
    std::function<void(TObject* Sender, const String& FileName, bool& FileDoesExist)>;
/// Asks whether an existing `FileName` may be replaced; the reply is preset to mrNo.
using TOnOverwriteEvent =
    std::function<void(TObject* Sender, const String& FileName, TModalResult& OverwriteReply)>;
/// Decides about a chosen file in a forbidden folder `Path`; the reply is preset to mrYes.
using TOnForbiddenDirEvent =
    std::function<void(TObject* Sender, const String& Path, TModalResult& ForbiddenDirReply)>;

/// The save-file component.
///
/// Its options come as attribute text in `Parameters`, e.g.
/// `filter="Text files|*.txt|All files|*.*" ext="txt" caption="Save the table" initialdir="/tmp"`:
/// "filter" holds display name and mask pairs separated by "|", "ext" the extension that the
/// chosen name always gets, "caption" the dialog's title and "initialdir" its folder.
///
/// `Execute` repeats the choice until it is settled:
/// - With `UseStandardDialog` (the default) the standard save dialog (`TFileSaveDialog`, shown
///   by `DialogBackend`, or the backend that fits the process when none is set) offers the
///   file types with `FilterIndex` preselected and `FileName` proposed. A failing dialog raises
///   `EQORFileSysError` `Component "<Name>": Error in standard dialog (errnum = $XXXX).` with
///   its code in 4 upper-case hexadecimal digits; a cancel ends with false. On an accept
///   `FileName` and `FilterIndex` take the choice, and with a non-empty "ext" the name's
///   extension is replaced by it. A cancelled dialog leaves both as they were.
/// - Otherwise `OnFileSelect` chooses (unassigned: `EQORFileSysError` "... File select dialog
///   is not assigned"); a reply other than mrOk ends with false.
/// - A name in a forbidden folder (`IsForbiddenDir` of its folder part) asks `OnForbiddenDir`
///   (reply preset to mrYes): mrCancel ends with false, mrYes goes on, anything else chooses
///   again.
/// - The file exists by `FileExists` (standard dialog) or by `OnFileCheck` (events; false
///   when unassigned). A new file ends with true. For an existing one `OnOverwrite` must be
///   assigned ("... Overwrite dialog is not assigned"); its reply (preset to mrNo) mrYes ends
///   with true, mrCancel with false, mrNo chooses again, and any other value raises "...
///   Invalid reply argument from overwrite dialog".
class TUnivSaveDialog : public TCommonDialog {
  public:
    /// Creates the component owned by `AOwner` (see `TComponent`): the standard dialog on,
    /// `ParentWnd` 0, `FilterIndex` 1, no forbidden folder, no events.
    explicit TUnivSaveDialog(TComponent* AOwner = nullptr);
    ~TUnivSaveDialog() override;

    /// Runs the choice described above; true when a file name was accepted (in `FileName`).
    bool Execute() override;
    /// True when the lower-cased `ForbiddenDir` starts the lower-cased `Path` (A-Z folded);
    /// false for an empty `Path` or an empty `ForbiddenDir`.
    bool IsForbiddenDir(const String& Path) const;
    /// Handler of the standard dialog's file-type change: gives the name being typed (or the
    /// dialog's file name when nothing is typed) the extension of the new type's first mask
    /// ("*.txt" gives ".txt"). A mask whose extension is empty or holds a wildcard ("*.*",
    /// "*", "*.htm*") leaves the name alone. Does nothing while no dialog is shown or when
    /// `Sender` is not the dialog.
    void SaveDiagTypeChange(TObject* Sender);
    /// The value of parameter `ParName` in `Parameters`; empty when absent.
    String ExtractParamAsString(const String& ParName) const;
    /// The parameter as a decimal integer (leading blanks, optional sign, the digits up to the
    /// first other character; values beyond 32 bits saturate). Raises `EQORFileSysError`
    /// "... <ParName> is not specified in property Parameters" when it is empty.
    std::int32_t ExtractParamAsInt(const String& ParName) const;
    /// The parameter as a number (exponent allowed, point or comma as separator; malformed
    /// text gives 0). Raises as `ExtractParamAsInt` when it is empty.
    double ExtractParamAsDouble(const String& ParName) const;

    const String& Parameters() const noexcept { return FParams; }
    void SetParameters(const String& Value) { FParams = Value; }
    const String& FileName() const noexcept { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    std::int32_t FilterIndex() const noexcept { return FFilterIndex; }
    void SetFilterIndex(std::int32_t Value) noexcept { FFilterIndex = Value; }
    /// The folder whose files the user is warned about (see `IsForbiddenDir`).
    const String& ForbiddenDir() const noexcept { return FForbiddenDir; }
    void SetForbiddenDir(const String& Value) { FForbiddenDir = Value; }
    HWND ParentWnd() const noexcept { return FParentWnd; }
    void SetParentWnd(HWND Value) noexcept { FParentWnd = Value; }
    bool UseStandardDialog() const noexcept { return FUseStdDiag; }
    void SetUseStandardDialog(bool Value) noexcept { FUseStdDiag = Value; }
    const TOnFileSelectEvent& OnFileSelect() const noexcept { return FOnFileSelect; }
    void SetOnFileSelect(TOnFileSelectEvent Value) { FOnFileSelect = std::move(Value); }
    const TOnFileCheckEvent& OnFileCheck() const noexcept { return FOnFileCheck; }
    void SetOnFileCheck(TOnFileCheckEvent Value) { FOnFileCheck = std::move(Value); }
    const TOnOverwriteEvent& OnOverwrite() const noexcept { return FOnOverwrite; }
    void SetOnOverwrite(TOnOverwriteEvent Value) { FOnOverwrite = std::move(Value); }
    const TOnForbiddenDirEvent& OnForbiddenDir() const noexcept { return FOnForbiddenDir; }
    void SetOnForbiddenDir(TOnForbiddenDirEvent Value) { FOnForbiddenDir = std::move(Value); }
    /// The service that shows the standard dialog; null (the default) picks the one that fits
    /// the process at each `Execute` (`DefaultFileDialogBackend`).
    const std::shared_ptr<TFileDialogBackend>& DialogBackend() const noexcept { return FBackend; }
    void SetDialogBackend(std::shared_ptr<TFileDialogBackend> Value) {
        FBackend = std::move(Value);
    }

  private:
    String FParams;
    String FFileName;
    HWND FParentWnd = 0;
    TOnFileSelectEvent FOnFileSelect;
    TOnFileCheckEvent FOnFileCheck;
    TOnOverwriteEvent FOnOverwrite;
    TOnForbiddenDirEvent FOnForbiddenDir;
    bool FUseStdDiag = true;
    std::int32_t FFilterIndex = 1;
    String FForbiddenDir;
    /// The standard dialog, alive only during `Execute`.
    TFileSaveDialog* SDiag = nullptr;
    std::shared_ptr<TFileDialogBackend> FBackend;

    /// Shows the standard dialog once; the reply is mrOk or mrCancel.
    TModalResult RunStandardDialog();
    [[noreturn]] void Fail(const String& Text) const;
};

}  // namespace qorkit
