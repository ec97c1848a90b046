#include "qorkit/filesys/save_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "qorkit/core/errors.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

std::string Message(const std::function<void()>& work) {
    try {
        work();
    } catch (const EQORFileSysError& e) {
        return e.what();
    }
    return "(no error)";
}

// One run of the event-driven choice: the handlers answer from these lists in turn.
struct EventScript {
    const char* Case;
    std::vector<std::pair<TModalResult, String>> Selects;
    std::vector<TModalResult> Forbidden;                 // empty: no OnForbiddenDir handler
    std::optional<std::vector<bool>> Exists;             // nullopt: no OnFileCheck handler
    std::optional<std::vector<TModalResult>> Overwrite;  // nullopt: no OnOverwrite handler
    std::string Expect;                                  // "true", "false" or the error message
    std::size_t SelectCalls;
};

}  // namespace

TEST(TUnivSaveDialog_Events, EveryReplyOfEveryHandler) {
    const String ok = u"/data/new.txt";
    const String bad = u"/Forbidden/x.txt";
    const std::string pre = "Component \"Dlg\": ";
    const auto no = std::nullopt;
    using B = std::vector<bool>;
    using R = std::vector<TModalResult>;
    // clang-format off
    const std::vector<EventScript> scripts = {
        {"accepted new file", {{mrOk, ok}}, {}, B{false}, no, "true", 1},
        {"cancelled", {{mrCancel, ok}}, {}, no, no, "false", 1},
        {"only mrOk accepts", {{mrYes, ok}}, {}, no, no, "false", 1},
        {"no file check: new", {{mrOk, ok}}, {}, no, no, "true", 1},
        {"forbidden, no handler: go on", {{mrOk, bad}}, {}, no, no, "true", 1},
        {"forbidden: mrNo chooses again", {{mrOk, bad}, {mrOk, ok}}, {mrNo}, no, no, "true", 2},
        {"forbidden: mrCancel", {{mrOk, bad}}, {mrCancel}, no, no, "false", 1},
        {"forbidden: mrYes then overwrite", {{mrOk, bad}}, {mrYes}, B{true}, R{mrYes}, "true", 1},
        {"exists: replace", {{mrOk, ok}}, {}, B{true}, R{mrYes}, "true", 1},
        {"exists: no, then a new one", {{mrOk, ok}, {mrOk, ok}}, {}, B{true, false}, R{mrNo}, "true", 2},
        {"exists: cancel", {{mrOk, ok}}, {}, B{true}, R{mrCancel}, "false", 1},
        {"exists: no overwrite handler", {{mrOk, ok}}, {}, B{true}, no, pre + "Overwrite dialog is not assigned", 1},
        {"exists: invalid reply", {{mrOk, ok}}, {}, B{true}, R{mrOk}, pre + "Invalid reply argument from overwrite dialog", 1},
    };
    // clang-format on
    for (const EventScript& s : scripts) {
        SCOPED_TRACE(s.Case);
        TUnivSaveDialog dlg;
        dlg.SetName(u"Dlg");
        dlg.SetUseStandardDialog(false);
        dlg.SetForbiddenDir(u"/forbidden");
        dlg.SetParameters(u"caption=\"x\"");
        dlg.SetFileName(u"first.txt");
        std::size_t selects = 0, forbidden = 0, checks = 0, overwrites = 0;
        String lastName = u"first.txt";
        dlg.SetOnFileSelect(
            [&](TObject* sender, const String& params, TModalResult& reply, String& name) {
                EXPECT_EQ(sender, &dlg);
                EXPECT_EQ(params, u"caption=\"x\"");
                EXPECT_EQ(reply, mrCancel);
                EXPECT_EQ(name, lastName);  // the previous choice comes back
                ASSERT_LT(selects, s.Selects.size());
                reply = s.Selects[selects].first;
                name = lastName = s.Selects[selects].second;
                ++selects;
            });
        if (!s.Forbidden.empty())
            dlg.SetOnForbiddenDir([&](TObject*, const String& path, TModalResult& reply) {
                EXPECT_EQ(path, u"/Forbidden/");
                EXPECT_EQ(reply, mrYes);
                ASSERT_LT(forbidden, s.Forbidden.size());
                reply = s.Forbidden[forbidden++];
            });
        if (s.Exists)
            dlg.SetOnFileCheck([&](TObject*, const String& name, bool& exists) {
                EXPECT_EQ(name, lastName);
                EXPECT_FALSE(exists);
                ASSERT_LT(checks, s.Exists->size());
                exists = (*s.Exists)[checks++];
            });
        if (s.Overwrite)
            dlg.SetOnOverwrite([&](TObject*, const String& name, TModalResult& reply) {
                EXPECT_EQ(name, lastName);
                EXPECT_EQ(reply, mrNo);
                ASSERT_LT(overwrites, s.Overwrite->size());
                reply = (*s.Overwrite)[overwrites++];
            });
        std::string got;
        const std::string err = Message([&] { got = dlg.Execute() ? "true" : "false"; });
        EXPECT_EQ(err == "(no error)" ? got : err, s.Expect);
        EXPECT_EQ(selects, s.SelectCalls);
        EXPECT_EQ(dlg.FileName(), lastName);
    }
    TUnivSaveDialog none;
    none.SetName(u"D2");
    none.SetUseStandardDialog(false);
    EXPECT_EQ(Message([&] { none.Execute(); }),
              "Component \"D2\": File select dialog is not assigned");
}

TEST(TUnivSaveDialog_Defaults, ConstructorAndForbiddenFolders) {
    TComponent owner;
    auto* dlg = new TUnivSaveDialog(&owner);
    EXPECT_TRUE(dlg->UseStandardDialog());
    EXPECT_EQ(dlg->ParentWnd(), 0u);
    EXPECT_EQ(dlg->FilterIndex(), 1);
    EXPECT_TRUE(dlg->ForbiddenDir().empty());
    EXPECT_FALSE(dlg->OnFileSelect() || dlg->OnFileCheck() || dlg->OnOverwrite() ||
                 dlg->OnForbiddenDir());
    EXPECT_EQ(owner.ComponentCount(), 1);
    struct Case {
        const char16_t* Forbidden;
        const char16_t* Path;
        bool Expect;
    };
    for (const Case& c :
         {Case{u"c:\\windows", u"C:\\Windows\\Temp\\", true},
          Case{u"c:\\windows", u"c:\\win", false}, Case{u"C:\\WIN", u"c:\\windows\\", true},
          Case{u"c:\\windows", u"", false}, Case{u"", u"/any/where/", false},
          Case{u"/data/\u00c4", u"/data/\u00e4/", false}}) {
        dlg->SetForbiddenDir(c.Forbidden);
        EXPECT_EQ(dlg->IsForbiddenDir(c.Path), c.Expect) << ToUtf8(c.Path);
    }
}

TEST(TUnivSaveDialog_Params, StringsIntegersAndNumbers) {
    TUnivSaveDialog dlg;
    dlg.SetName(u"P");
    dlg.SetParameters(
        u"caption=\"Save it\" n=\"  -42px\" big=99999999999 neg=-99999999999 "
        u"x=\"2,5E2\" y=.5 z=abc empty=\"\"");
    EXPECT_EQ(dlg.ExtractParamAsString(u"CAPTION"), u"Save it");
    EXPECT_EQ(dlg.ExtractParamAsString(u"missing"), u"");
    EXPECT_EQ(dlg.ExtractParamAsInt(u"n"), -42);
    EXPECT_EQ(dlg.ExtractParamAsInt(u"big"), 2147483647);
    EXPECT_EQ(dlg.ExtractParamAsInt(u"neg"), -2147483647 - 1);
    EXPECT_EQ(dlg.ExtractParamAsInt(u"z"), 0);
    EXPECT_DOUBLE_EQ(dlg.ExtractParamAsDouble(u"x"), 250.0);
    EXPECT_DOUBLE_EQ(dlg.ExtractParamAsDouble(u"y"), 0.5);
    EXPECT_DOUBLE_EQ(dlg.ExtractParamAsDouble(u"z"), 0.0);
    for (const char16_t* name : {u"empty", u"width"}) {
        const std::string want =
            "Component \"P\": " + ToUtf8(name) + " is not specified in property Parameters";
        EXPECT_EQ(Message([&] { dlg.ExtractParamAsInt(name); }), want);
        EXPECT_EQ(Message([&] { dlg.ExtractParamAsDouble(name); }), want);
    }
}

namespace {

// A dialog service that records what it was shown and answers as told; it can select another
// file type first, as a user would.
class ScriptedBackend : public TFileDialogBackend {
  public:
    TFileDialogAnswer Answer;
    std::int32_t SelectType = 0;  // > 0: select this type before answering
    TUnivSaveDialog* Owner = nullptr;
    // What the dialog looked like.
    String Title, Folder, Name, Typed;
    std::vector<TFileTypeItem> Types;
    std::int32_t Index = 0, OwnedWhileShown = 0;
    HWND Parent = 0;

    TFileDialogAnswer Show(TFileSaveDialog& d, HWND parent) override {
        Title = d.Title();
        Folder = d.DefaultFolder();
        Name = d.FileName();
        Types = d.FileTypes();
        Index = d.FileTypeIndex();
        Parent = parent;
        if (Owner != nullptr) OwnedWhileShown = Owner->ComponentCount();
        if (SelectType > 0) d.ChangeFileType(SelectType);
        Typed = d.TypedFileName();
        return Answer;
    }
};

}  // namespace

TEST(TUnivSaveDialog_Standard, DialogSetUpAnswerTakenBackAndErrors) {
    TempDir dir;
    auto backend = std::make_shared<ScriptedBackend>();
    TUnivSaveDialog dlg;
    dlg.SetName(u"S");
    dlg.SetDialogBackend(backend);
    backend->Owner = &dlg;
    dlg.SetParameters(
        u"filter=\"Text files|*.txt|Tables|*.csv;*.tsv|odd\" ext=\"dat\" "
        u"caption=\"Save the table\" initialdir=\"/tmp/x\"");
    dlg.SetFilterIndex(2);
    dlg.SetParentWnd(77);
    dlg.SetFileName(u"old.csv");
    backend->Answer = {mrOk, dir.Name("chosen.tsv"), 2, 0, u""};
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(backend->Title, u"Save the table");
    EXPECT_EQ(backend->Folder, u"/tmp/x");
    EXPECT_EQ(backend->Name, u"old.csv");
    ASSERT_EQ(backend->Types.size(), 2u);  // the unpaired "odd" is no type
    EXPECT_EQ(backend->Types[1].DisplayName, u"Tables");
    EXPECT_EQ(backend->Types[1].FileMask, u"*.csv;*.tsv");
    EXPECT_EQ(backend->Index, 2);
    EXPECT_EQ(backend->Parent, 77u);
    EXPECT_EQ(backend->OwnedWhileShown, 1);  // the dialog lives only during Execute
    EXPECT_EQ(dlg.ComponentCount(), 0);
    EXPECT_EQ(dlg.FileName(), dir.Name("chosen.dat"));  // "ext" replaces the extension
    EXPECT_EQ(dlg.FilterIndex(), 2);

    // A cancel leaves the name and type; a failure raises with the code in four digits.
    backend->Answer = {mrCancel, u"ignored", 1, 0, u""};
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.FileName(), dir.Name("chosen.dat"));
    EXPECT_EQ(dlg.FilterIndex(), 2);
    backend->Answer = {mrCancel, u"", 0, cdDialogFailure, u"none"};
    EXPECT_EQ(Message([&] { dlg.Execute(); }),
              "Component \"S\": Error in standard dialog (errnum = $FFFF).");
    backend->Answer.ErrorCode = cdInitialization;
    EXPECT_EQ(Message([&] { dlg.Execute(); }),
              "Component \"S\": Error in standard dialog (errnum = $0002).");
    EXPECT_EQ(dlg.ComponentCount(), 0);

    // An existing file needs the overwrite handler, asked with the final name.
    dir.Put("chosen.dat", "x");
    backend->Answer = {mrOk, dir.Name("chosen.tsv"), 0, 0, u""};
    EXPECT_EQ(Message([&] { dlg.Execute(); }), "Component \"S\": Overwrite dialog is not assigned");
    String asked;
    dlg.SetOnOverwrite([&](TObject*, const String& name, TModalResult& reply) {
        asked = name;
        reply = mrYes;
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(asked, dir.Name("chosen.dat"));
}

TEST(TUnivSaveDialog_Standard, TypeChangeGivesTheTypedNameTheNewExtension) {
    struct Case {
        const char16_t* Mask;
        const char16_t* FileName;
        const char16_t* Expect;
    };
    for (const Case& c :
         {Case{u"*.csv", u"dir/report.txt", u"report.csv"},
          Case{u"*.htm;*.html", u"page.txt", u"page.htm"}, Case{u"*.csv", u"noext", u"noext.csv"},
          Case{u"*.*", u"keep.txt", u"keep.txt"}, Case{u"*", u"keep.txt", u"keep.txt"},
          Case{u"*.htm*", u"keep.txt", u"keep.txt"}, Case{u"*.csv", u"", u""}}) {
        auto backend = std::make_shared<ScriptedBackend>();
        backend->SelectType = 2;
        TUnivSaveDialog dlg;
        dlg.SetDialogBackend(backend);
        dlg.SetParameters(u"filter=\"Text|*.txt|Other|" + String(c.Mask) + u"\"");
        dlg.SetFileName(c.FileName);
        EXPECT_FALSE(dlg.Execute());  // the scripted answer is a cancel
        EXPECT_EQ(backend->Typed, c.Expect) << ToUtf8(c.Mask) << " " << ToUtf8(c.FileName);
    }
    // Outside Execute, and for another sender, the handler does nothing.
    TUnivSaveDialog idle;
    idle.SaveDiagTypeChange(&idle);
    TFileSaveDialog other;
    idle.SaveDiagTypeChange(&other);
}
