#include "qorkit/filesys/save_dialog.h"

#include <limits>

#include "../core/leading_integer.h"
#include "../rtl/file_dialog_detail.h"
#include "qorkit/core/errors.h"
#include "qorkit/filesys/file_scan.h"
#include "qorkit/filesys/path_names.h"
#include "qorkit/rtl/file_paths.h"
#include "qorkit/rtl/memory_stream.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/streams/number_scan.h"
#include "qorkit/streams/tag_scan.h"
#include "qorkit/strings/tokens.h"

namespace qorkit {

TUnivSaveDialog::TUnivSaveDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TUnivSaveDialog::~TUnivSaveDialog() = default;

void TUnivSaveDialog::Fail(const String& Text) const {
    throw EQORFileSysError(ComponentMessage(*this, u": " + Text));
}

TModalResult TUnivSaveDialog::RunStandardDialog() {
    // The dialog is owned by this component while it lives and destroyed on every way out.
    struct Release {
        TFileSaveDialog*& Dialog;
        ~Release() {
            delete Dialog;
            Dialog = nullptr;
        }
    };
    SDiag = new TFileSaveDialog(this);
    const Release release{SDiag};
    TOpenStringArray tokens;
    Tokenize(ExtractParamAsString(u"filter"), u"|", tokens);
    for (std::size_t i = 0; i + 1 < tokens.size(); i += 2)
        SDiag->AddFileType(tokens[i], tokens[i + 1]);
    const String ext = ExtractParamAsString(u"ext");
    SDiag->SetTitle(ExtractParamAsString(u"caption"));
    SDiag->SetDefaultFolder(ExtractParamAsString(u"initialdir"));
    SDiag->SetFileTypeIndex(FFilterIndex);
    SDiag->SetFileName(FFileName);
    SDiag->SetOnTypeChange([this](TObject* Sender) { SaveDiagTypeChange(Sender); });
    SDiag->SetBackend(FBackend);
    if (!SDiag->Execute(FParentWnd)) {
        if (SDiag->ErrorCode() != 0)
            Fail(u"Error in standard dialog (errnum = $" +
                 IntToHex(static_cast<std::int64_t>(SDiag->ErrorCode()), 4) + u").");
        return mrCancel;
    }
    FFileName = SDiag->FileName();
    FFilterIndex = SDiag->FileTypeIndex();
    if (!ext.empty()) FFileName = StripExtension(FFileName) + u"." + ext;
    return mrOk;
}

bool TUnivSaveDialog::Execute() {
    for (;;) {
        TModalResult reply = mrCancel;
        if (FUseStdDiag) {
            reply = RunStandardDialog();
        } else {
            if (!FOnFileSelect) Fail(u"File select dialog is not assigned");
            FOnFileSelect(this, FParams, reply, FFileName);
        }
        if (reply != mrOk) return false;

        const String dir = ExtractFilePath(FFileName);
        if (IsForbiddenDir(dir)) {
            TModalResult answer = mrYes;
            if (FOnForbiddenDir) FOnForbiddenDir(this, dir, answer);
            if (answer == mrCancel) return false;
            if (answer != mrYes) continue;
        }

        bool exists = false;
        if (FUseStdDiag)
            exists = FileExists(FFileName);
        else if (FOnFileCheck)
            FOnFileCheck(this, FFileName, exists);
        if (!exists) return true;
        if (!FOnOverwrite) Fail(u"Overwrite dialog is not assigned");
        TModalResult answer = mrNo;
        FOnOverwrite(this, FFileName, answer);
        if (answer == mrYes) return true;
        if (answer == mrCancel) return false;
        if (answer != mrNo) Fail(u"Invalid reply argument from overwrite dialog");
    }
}

bool TUnivSaveDialog::IsForbiddenDir(const String& Path) const {
    if (Path.empty() || FForbiddenDir.empty()) return false;
    return LowerCase(Path).starts_with(LowerCase(FForbiddenDir));
}

void TUnivSaveDialog::SaveDiagTypeChange(TObject* Sender) {
    if (SDiag == nullptr || Sender != SDiag) return;
    const std::int32_t index = SDiag->FileTypeIndex();
    const auto& types = SDiag->FileTypes();
    if (index < 1 || index > static_cast<std::int32_t>(types.size())) return;
    // Only the first mask of a list gives the extension: "*.htm;*.html" means ".htm".
    const std::vector<String> masks =
        detail::SplitFileMasks(types[static_cast<std::size_t>(index - 1)].FileMask);
    if (masks.empty()) return;
    const String ext = masks.front().substr(1);
    if (ext.empty() || ext.find_first_of(u"*?") != String::npos) return;
    String name = SDiag->TypedFileName();
    if (name.empty()) name = SDiag->FileName();
    if (name.empty()) return;
    SDiag->SetTypedFileName(StripExtension(ExtractFileName(name)) + ext);
}

String TUnivSaveDialog::ExtractParamAsString(const String& ParName) const {
    return ScanForXMLAttrib(FParams, ParName);
}

std::int32_t TUnivSaveDialog::ExtractParamAsInt(const String& ParName) const {
    const String value = ExtractParamAsString(ParName);
    if (value.empty()) Fail(ParName + u" is not specified in property Parameters");
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    bool overflow = false;
    const std::int64_t v = detail::ReadLeadingInteger(value, kMax, overflow);
    return static_cast<std::int32_t>(v > kMax ? kMax : v);
}

double TUnivSaveDialog::ExtractParamAsDouble(const String& ParName) const {
    const String value = ExtractParamAsString(ParName);
    if (value.empty()) Fail(ParName + u" is not specified in property Parameters");
    TStringStream text(value);
    return ScanStreamFPNum(text, true, dpPointOrComma);
}

}  // namespace qorkit
