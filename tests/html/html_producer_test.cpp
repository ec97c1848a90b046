// THtmlProducer: the template language, reading templates, the stream and the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "qorkit/Qor_htmlsupport.h"
#include "qorkit/rtl/exceptions.h"
#include "rtl/temp_dir.h"

namespace qorkit {
namespace {

// A handler that shows what it was given: "[name|params]".
void Show(TObject*, const String& name, const String& params, String& replacement) {
    replacement = u"[" + name + u"|" + params + u"]";
}

TEST(THtmlProducer_Convert, TagsNamesAndParameters) {
    struct Case {
        const char16_t* tpl;
        const char16_t* expected;
    };
    const std::vector<Case> cases = {
        {u"<p><#date></p>", u"<p>[date|]</p>"},
        {u"<#Value  x=1 >", u"[value|x=1]"},
        {u"a < b", u"a < b"},
        {u"a<b", u"a<b"},
        {u"ends with <", u"ends with <"},
        {u"<#open", u"[open|]"},
        {u"x<#open a b ", u"x[open|a b]"},
        {u"<#a q=\">\">", u"[a|q=\"]\">"},
        {u"<#>", u"[|]"},
        {u"<# p>", u"[|p]"},
        {u"<<#a>>", u"<[a|]>"},
        {u"<#A\tB c>", u"[a\tb|c]"},
        {u"<#x><#Y>", u"[x|][y|]"},
        {u"<#", u"[|]"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        THtmlProducer p;
        p.SetTemplate(c.tpl);
        EXPECT_EQ(p.Convert(), c.tpl) << "without a handler";
        p.SetOnHTMLTag(Show);
        EXPECT_EQ(p.Convert(), c.expected) << ToUtf8(c.tpl);
        EXPECT_EQ(p.ConvertedHTML(), c.expected);
        EXPECT_EQ(p.ScanPosition(), static_cast<std::int32_t>(p.Template().size()));
    }
}

TEST(THtmlProducer_Convert, WithoutHandlerOrUnchangedReplacementTheTemplateStays) {
    for (const char16_t* tpl : {u"<p><#date></p>", u"<#open x", u"a<#b c=\"d\">e<"}) {
        THtmlProducer p;
        p.SetTemplate(tpl);
        EXPECT_EQ(p.Convert(), tpl);
        p.SetOnHTMLTag([](TObject*, const String&, const String&, String&) {});
        EXPECT_EQ(p.Convert(), tpl);
    }
    THtmlProducer p;
    EXPECT_EQ(p.ScanPosition(), 0);
    EXPECT_EQ(p.ConvertedHTML(), u"");
}

TEST(THtmlProducer_Convert, HandlerSeesSenderAndPositionAndMayReenter) {
    THtmlProducer p;
    p.SetTemplate(u"ab<#date>c<#x>");
    std::vector<std::int32_t> positions;
    p.SetOnHTMLTag([&](TObject* sender, const String& name, const String&, String& r) {
        EXPECT_EQ(sender, &p);
        positions.push_back(p.ScanPosition());
        if (name == u"date") {
            r = u"1 May";
            // Changing the template and converting again inside the handler leave the running
            // conversion alone.
            p.SetTemplate(u"other");
            EXPECT_EQ(p.Convert(), u"other");
        }
    });
    EXPECT_EQ(p.Convert(), u"ab1 Mayc<#x>");
    EXPECT_EQ(positions, (std::vector<std::int32_t>{3, 11}));
    EXPECT_EQ(p.Template(), u"other");
}

TEST(THtmlProducer_Convert, FailingHandlerKeepsTheLastResult) {
    THtmlProducer p;
    p.SetTemplate(u"old");
    p.Convert();
    p.SetTemplate(u"x<#boom>y");
    p.SetOnHTMLTag([](TObject*, const String&, const String&, String&) {
        throw std::runtime_error("handler failed");
    });
    EXPECT_THROW(p.Convert(), std::runtime_error);
    EXPECT_EQ(p.ConvertedHTML(), u"old");
}

TEST(THtmlProducer_Read, TemplateFromFileEndsEveryLineWithCrLf) {
    test::TempDir dir;
    dir.Put("t.html", "a\r\nb\n\xE4<#x>\n\nlast");
    THtmlProducer p;
    p.ReadTemplateFromFile(dir.Name("t.html"));
    EXPECT_EQ(p.Template(), u"a\r\nb\r\n\u00E4<#x>\r\n\r\nlast\r\n");
    dir.Put("empty.html", "");
    p.ReadTemplateFromFile(dir.Name("empty.html"));
    EXPECT_EQ(p.Template(), u"");

    p.SetTemplate(u"kept");
    try {
        p.ReadTemplateFromFile(dir.Name("missing.html"));
        FAIL() << "no error for a missing file";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
        EXPECT_NE(e.Message().find(u"missing.html"), String::npos);
    }
    EXPECT_EQ(p.Template(), u"kept");
}

TEST(THtmlProducer_Read, TemplateFromStreamReadsUtf16FromTheStart) {
    TMemoryStream m;
    const char16_t text[] = u"<p>\u20AC<#v></p>";
    m.WriteBuffer(text, sizeof text - sizeof(char16_t));
    ASSERT_EQ(m.Position(), m.Size());
    THtmlProducer p;
    p.ReadTemplateFromStream(m);
    EXPECT_EQ(p.Template(), text);
}

TEST(THtmlProducer_Output, StreamHoldsTheResultAndIsReplacedByTheNextCall) {
    THtmlProducer p;
    p.SetTemplate(u"\u00E4 \u20AC \u0416");
    p.Convert();
    TStringStream* first = p.ConvertedHTMLAsStream();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Position(), 0);
    EXPECT_EQ(first->DataBytes(), "\xE4 \x80 ?");  // Windows-1252, '?' for what it lacks
    first->SetPosition(2);
    p.SetTemplate(u"next");
    p.Convert();
    TStringStream* second = p.ConvertedHTMLAsStream();  // frees the first (checked by ASan)
    EXPECT_EQ(second->Position(), 0);
    EXPECT_EQ(second->DataBytes(), "next");
}

TEST(THtmlProducer_Output, FileGetsTheResultAsItIsAndFailuresLeaveNoTrace) {
    test::TempDir dir;
    THtmlProducer p;
    p.SetTemplate(u"<p>\u00E9</p>\n<#x>");
    p.Convert();
    dir.Put("out.html", "an older and longer file");
    p.WriteConvertedHTMLToFile(dir.Name("out.html"));
    EXPECT_EQ(dir.Get("out.html"), "<p>\xE9</p>\n<#x>");

    // A directory in the way: the rename fails, the temporary file goes, the directory stays.
    std::filesystem::create_directory(dir.Path() / "taken");
    try {
        p.WriteConvertedHTMLToFile(dir.Name("taken"));
        FAIL() << "no error when the target is a directory";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message().rfind(u"Cannot save \"" + dir.Name("taken") + u"\": ", 0), 0u)
            << e.what();
    }
    EXPECT_THROW(p.WriteConvertedHTMLToFile(dir.Name("no/such/dir.html")), EInOutError);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2u);  // out.html and taken, no temporary file
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "taken"));
}

}  // namespace
}  // namespace qorkit
