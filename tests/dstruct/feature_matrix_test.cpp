#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

#include "qorkit/core/errors.h"
#include "qorkit/dstruct/feature_matrix.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/format_settings.h"
#include "qorkit/rtl/sysutils.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;

namespace {

// The message of the EQORDStructError that `f` raises; "" when it raises none.
std::string Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const EQORDStructError& e) {
        return e.what();
    }
    return "";
}

// A named matrix with features of the given kinds and `objs` objects, counting notifications.
struct Fixture {
    TFeatureMatrix m;
    int changes = 0;
    explicit Fixture(std::initializer_list<TFeatKind> kinds, std::int32_t objs = 2) {
        m.SetName(u"FM");
        m.Resize(static_cast<std::int32_t>(kinds.size()), objs);
        std::int32_t f = 1;
        for (const TFeatKind k : kinds)
            m.SetFeatType(f, f, k), ++f;
        m.SetOnChange([this](TObject*) { ++changes; });
    }
    int Count(const std::function<void()>& f) {
        changes = 0;
        f();
        return changes;
    }
};

}  // namespace

TEST(TFeatureMatrix_Text, IntegerFloatAndTriStateTexts) {
    for (const char16_t* s : {u"7", u"-12", u"+007"})
        EXPECT_TRUE(IsFeatIntegerText(s)) << ToUtf8(s);
    for (const char16_t* s : {u"", u"-", u" 1", u"1 ", u"1.0"})
        EXPECT_FALSE(IsFeatIntegerText(s)) << ToUtf8(s);
    for (const char16_t* s : {u"12abc", u"1 2", u"1E", u".", u"-.", u"  3", u"1e-5", u"2.5E+3x",
                              u"1E4200", u"1e5.", u"5-"})
        EXPECT_TRUE(IsFeatFloatText(s)) << ToUtf8(s);
    for (const char16_t* s : {u"", u"   ", u"+", u"E5", u"1..2", u"1E4201", u"1E 5", u"- 1", u"x"})
        EXPECT_FALSE(IsFeatFloatText(s)) << ToUtf8(s);
    EXPECT_TRUE(IsFeatTriStateText(u"TrUe"));
    EXPECT_TRUE(IsFeatTriStateText(u""));
    EXPECT_FALSE(IsFeatTriStateText(u"yes"));
}

TEST(TFeatureMatrix, NewAndResizedMatrices) {
    TFeatureMatrix m;
    EXPECT_EQ(m.NFeatures(), 0);
    EXPECT_EQ(m.FeatVal(1, 1), u"");
    EXPECT_EQ(m.FeatValAsTriState(1, 1), tsUndefined);
    EXPECT_EQ(m.FeatValAsInt(1, 1), 0);
    int changes = 0;
    m.SetOnChange([&](TObject*) { ++changes; });
    EXPECT_TRUE(m.Resize(2, 3));
    EXPECT_EQ(changes, 3);  // objects, features, and once more
    EXPECT_FALSE(m.Resize(-1, 3));
    EXPECT_FALSE(m.Resize(2, -3));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(m.NObjects(), 3);
    EXPECT_EQ(m.FeatProps(2)->FeatName(), u"undefined");
    EXPECT_EQ(m.FeatProps(2)->FeatKind(), fkUndefined);
    EXPECT_THROW(m.SetFeatValStr(1, 1, u"x"), EQORDStructError);
    EXPECT_THROW(m.SetNFeats(-1), EQORDStructError);
    // Out of range: a fresh object the caller owns alone.
    auto outside = m.FeatProps(9);
    outside->SetFeatName(u"mine");
    EXPECT_EQ(m.FindFeatName(u"mine"), -1);
}

TEST(TFeatureMatrix, EveryMessage) {
    Fixture x({fkUndefined, fkInteger, fkDouble, fkString, fkTriState});
    TFeatureMatrix& m = x.m;
    m.SetFeatValStr(4, 1, u"abc");
    x.changes = 0;
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { m.GetFeatValInt(4, 1); }, ": feature is not an integer"},
        {[&] { m.SetFeatValint(1, 1, 1); }, ": feature is not of numeric or string type"},
        {[&] { m.SetFeatValint(5, 1, 1); }, ": feature is not of numeric or string type"},
        {[&] { m.GetFeatValDouble(4, 1); }, ": feature is not a floating point number"},
        {[&] { m.SetFeatValDouble(2, 1, 1); }, ": feature is not a floating point or string type"},
        {[&] { m.GetFeatValTriState(4, 1); }, ": feature is not a tri-state value"},
        {[&] { m.SetFeatValTriState(2, 1, tsTrue); },
         ": feature is not a tri-state or string type"},
        {[&] { m.GetFeatValStr(1, 1); }, ": feature 1 is undefined"},
        {[&] { m.SetFeatValStr(1, 2, u""); }, ": feature 1 is undefined"},
        {[&] { m.Fill(1, u"x"); }, ": feature 1 is undefined"},
        {[&] { m.SetFeatValStr(2, 1, u"1.5"); },
         ": feature value \"1.5\" is not a valid integer number"},
        {[&] { m.Fill(2, u""); }, ": feature value \"\" is not a valid integer number"},
        {[&] { m.SetFeatValStr(3, 1, u"E5"); },
         ": feature value \"E5\" is not a valid floating point number"},
        {[&] { m.Fill(3, u""); }, ": feature value \"\" is not a valid floating point number"},
        {[&] { m.SetFeatValStr(5, 1, u"yes"); },
         ": feature value \"yes\" is not a valid tri-state value"},
        {[&] { m.Fill(3, std::int64_t{1}); }, ": feature 3 is not an integer number"},
        {[&] { m.Fill(2, 1.5); }, ": feature 2 is not floating point number"},
        {[&] { m.Fill(4, tsTrue); }, ": feature 4 is not a tri-state value"},
    };
    for (const auto& [f, text] : cases)
        EXPECT_EQ(Message(f), std::string("Component \"FM\"") + text);
    EXPECT_EQ(x.changes, 0);  // a failed write changes nothing and sends nothing
    EXPECT_EQ(m.FeatVal(4, 1), u"abc");
}

TEST(TFeatureMatrix, TypedAccessByKind) {
    Fixture x({fkInteger, fkDouble, fkString, fkTriState});
    TFeatureMatrix& m = x.m;
    m.SetFeatValStr(1, 1, u"");  // clears
    EXPECT_EQ(m.FeatVal(1, 1), u"");
    m.SetFeatValint(1, 1, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(m.FeatValAsInt(1, 1), std::numeric_limits<std::int64_t>::min());  // full range
    m.SetFeatValStr(1, 2, u"+99999999999999999999");
    EXPECT_THROW(m.FeatValAsInt(1, 2), EConvertError);
    m.SetFeatValStr(2, 1, u"12abc");  // a valid prefix is enough to store
    EXPECT_THROW(m.FeatValAsDouble(2, 1), EConvertError);
    m.SetFeatValDouble(2, 1, 2.5);
    EXPECT_EQ(m.FeatVal(2, 1), u"2.5");
    m.SetFeatValint(2, 2, -3);
    EXPECT_DOUBLE_EQ(m.FeatValAsDouble(2, 2), -3.0);
    m.SetFeatValint(3, 1, 5);
    m.SetFeatValDouble(3, 1, 0.25);
    m.SetFeatValTriState(3, 1, tsFalse);
    EXPECT_EQ(m.FeatVal(3, 1), u"false");
    m.SetFeatValStr(4, 1, u"TRUE");
    EXPECT_EQ(m.FeatVal(4, 1), u"TRUE");  // stored as given
    EXPECT_EQ(m.FeatValAsTriState(4, 1), tsTrue);
    // The library's own decimal separator, never the process locale.
    FormatSettings.DecimalSeparator = u',';
    m.SetFeatValDouble(2, 1, 1.5);
    const String stored = m.FeatVal(2, 1);
    const double back = m.FeatValAsDouble(2, 1);
    FormatSettings.DecimalSeparator = u'.';
    EXPECT_EQ(stored, u"1,5");
    EXPECT_DOUBLE_EQ(back, 1.5);

    EXPECT_EQ(x.Count([&] { EXPECT_TRUE(m.Fill(1, std::int32_t{7})); }), 1);
    EXPECT_EQ(m.FeatVal(1, 2), u"7");
    EXPECT_TRUE(m.Fill(2, 0.5));
    EXPECT_TRUE(m.Fill(4, tsUndefined));
    EXPECT_TRUE(m.Fill(4, u"False"));
    EXPECT_EQ(m.FeatVal(4, 2), u"False");
    EXPECT_FALSE(m.Fill(9, u"x"));
}

TEST(TFeatureMatrix, ClearingMovingAndTheirNotifications) {
    Fixture x({fkInteger, fkString, fkDouble}, 3);
    TFeatureMatrix& m = x.m;
    for (std::int32_t o = 1; o <= 3; ++o) {
        m.SetFeatValint(1, o, o);
        m.SetFeatValStr(2, o, u"s" + IntToStr(o));
    }
    EXPECT_EQ(x.Count([&] { m.ClearObject(2); }), 1);
    EXPECT_EQ(m.FeatVal(1, 2), u"0");
    EXPECT_EQ(m.FeatVal(2, 2), u"");
    EXPECT_EQ(m.FeatVal(3, 2), u"0");
    EXPECT_EQ(x.Count([&] { m.InsertObject(1); }), 3);
    EXPECT_EQ(m.FeatVal(2, 1), u"");
    EXPECT_EQ(m.FeatVal(2, 2), u"s1");
    EXPECT_EQ(x.Count([&] { m.InsertObject(5); }), 0);  // NObjects + 1 does nothing
    EXPECT_EQ(x.Count([&] { m.RemoveObject(1); }), 2);
    EXPECT_EQ(m.FeatVal(2, 1), u"s1");
    EXPECT_EQ(x.Count([&] { m.CopyObject(1, 3); }), 1);
    EXPECT_EQ(m.FeatVal(2, 3), u"s1");

    auto second = m.FeatProps(2);
    second->SetFeatName(u"second");
    EXPECT_EQ(x.Count([&] { m.InsertFeature(4); }), 2);  // appends
    EXPECT_EQ(m.NFeatures(), 4);
    EXPECT_EQ(x.Count([&] { m.InsertFeature(1); }), 2);
    EXPECT_EQ(m.FeatProps(1)->FeatName(), u"undefined");
    EXPECT_EQ(m.FeatProps(1)->FeatKind(), fkUndefined);
    m.SetFeatType(1, 1, fkInteger);
    EXPECT_EQ(m.FeatVal(1, 1), u"");                // emptied whatever kind it gets later
    EXPECT_EQ(m.FeatProps(3).get(), second.get());  // properties travel with their feature
    EXPECT_EQ(m.FeatVal(3, 1), u"s1");
    EXPECT_EQ(x.Count([&] { m.RemoveFeature(1); }), 2);
    EXPECT_EQ(m.FindFeatName(u"SECOND"), 2);
    EXPECT_EQ(x.Count([&] { m.ResetToDefault(); }), 3);  // one per object
    EXPECT_EQ(m.FeatVal(1, 3), u"0");
    EXPECT_EQ(x.Count([&] { m.ClearFeature(2); }), 1);
    EXPECT_EQ(x.Count([&] { m.ClearFeature(0); }), 0);
    EXPECT_EQ(x.Count([&] { m.Clear(); }), 1);
    EXPECT_EQ(m.NFeatures(), 0);
    EXPECT_EQ(second->FeatName(), u"second");  // the caller's reference stays valid
    EXPECT_EQ(x.Count([&] { m.ResetToDefault(); }), 0);
}

TEST(TFeatureMatrix, SharedPropertyObjectsAreNeverFreedTwice) {
    TFeatureMatrix m;
    m.Resize(3, 1);
    auto p = std::make_shared<TFeatMatProps>();
    p->SetFeatName(u"shared");
    m.SetFeatProps(1, p);
    m.SetFeatProps(2, p);
    m.SetFeatProps(2, p);
    m.SetFeatProps(3, nullptr);
    EXPECT_EQ(m.FeatProps(2)->FeatName(), u"shared");
    m.FeatProps(1)->SetFeatKind(fkString);
    EXPECT_EQ(m.FeatProps(2)->FeatKind(), fkString);
    TFeatureMatrix copy;
    copy.Resize(3, 1);
    copy.SetFeatProps(1, p);
    copy.SetFeatProps(2, p);
    copy.Assign(&m);  // the copy gets objects of its own
    EXPECT_NE(copy.FeatProps(1).get(), copy.FeatProps(2).get());
    EXPECT_EQ(copy.FeatProps(2)->FeatName(), u"shared");
    m.RemoveFeature(1);
    m.Clear();
    copy.Clear();
    EXPECT_EQ(p->FeatName(), u"shared");
    EXPECT_EQ(p.use_count(), 1);
}

TEST(TFeatureMatrix, RangesNamesAndSearches) {
    TFeatureMatrix m;
    m.Resize(3, 1);
    m.SetFeatType(9, -4, fkDouble);  // clamped and swapped
    EXPECT_EQ(m.FeatProps(3)->FeatKind(), fkDouble);
    m.RenumberFeatures(0, 0, 10, -2);
    EXPECT_EQ(m.FeatProps(3)->FeatNum(), 6);
    EXPECT_EQ(m.FindFeatNum(8), 2);
    EXPECT_EQ(m.FindFeatNum(7), -1);
    const auto names = [&] {
        std::string s;
        for (std::int32_t f = 1; f <= 3; ++f)
            s += ToUtf8(m.FeatProps(f)->FeatName()) + "|";
        return s;
    };
    EXPECT_EQ(m.GenerateFeatNames(u"F<%D3%>", 0, 0, 1, 1), 0);
    EXPECT_EQ(names(), "F  1|F  2|F  3|");
    EXPECT_EQ(m.GenerateFeatNames(u"F<%d-3%>", 1, 3, 1, 1), 0);
    EXPECT_EQ(names(), "F001|F002|F003|");
    EXPECT_EQ(m.GenerateFeatNames(u"<%D-2%>/<%D2%>/<%i%>", 1, 3, -123, 1), 0);
    EXPECT_EQ(names(), "-23/23/1|-22/22/2|-21/21/3|");
    EXPECT_EQ(m.GenerateFeatNames(u"<%H2%><%H 0%><%H12%>", 1, 1, 255, 0), 0);
    EXPECT_EQ(m.GenerateFeatNames(u"<%H4%>", 2, 2, -1, 0), 0);
    EXPECT_EQ(names(), "FFF000000FF|FFFF|-21/21/3|");
    EXPECT_EQ(m.GenerateFeatNames(u"<%Tyyyy%>", 3, 3, 0, 0), 0);
    EXPECT_EQ(m.FeatProps(3)->FeatName().size(), 4u);
    EXPECT_EQ(m.GenerateFeatNames(u"a<%X%>", 1, 3, 1, 1), -2);
    EXPECT_EQ(m.GenerateFeatNames(u"a%><%D%>", 1, 3, 1, 1), -2);
    EXPECT_EQ(m.GenerateFeatNames(u"<%D", 1, 3, 1, 1), -2);
    EXPECT_EQ(m.GenerateFeatNames(u"<%D99999999%>", 1, 3, 1, 1), -2);
    EXPECT_EQ(m.FeatProps(1)->FeatName(), u"FFF000000FF");  // the failing feature keeps its name
    EXPECT_EQ(m.GenerateFeatNames(u"x", 1, 4, 1, 1), -1);
    EXPECT_EQ(m.GenerateFeatNames(u"x", 0, 2, 1, 1), -1);
    m.FeatProps(3)->SetFeatName(u"FFF000000ff");
    EXPECT_EQ(m.FindFeatName(u"fff000000FF"), 1);  // the first of two equal names
    EXPECT_EQ(m.FindFeatName(u"none"), -1);
}

TEST(TFeatureMatrix_File, SavesTheExactFormatAndReadsItBack) {
    TempDir dir;
    TFeatureMatrix m;
    m.Resize(2, 1);
    m.SetFeatType(1, 1, fkInteger);
    m.SetFeatType(2, 2, fkString);
    m.FeatProps(2)->SetFeatName(u"  lead trail  ");
    m.FeatProps(2)->SetComment(u"\u00C4 \u4E2D");
    m.FeatProps(2)->SetSorted(true);
    m.FeatProps(2)->SetFeatNum(-5);
    m.SetFeatValint(1, 1, 42);
    m.SetFeatValStr(2, 1, u" abc ");
    m.Save(dir.Name("m.fm"));
    EXPECT_EQ(dir.Get("m.fm"),
              "#featdef 2 1\r\n1 fplFeatNum 0\r\n1 fplFeatName undefined\r\n"
              "1 fplFeatKind fkInteger\r\n1 fplComment \r\n1 fplPresets \r\n1 fplSorted FALSE\r\n"
              "2 fplFeatNum -5\r\n2 fplFeatName   lead trail  \r\n2 fplFeatKind fkString\r\n"
              "2 fplComment \xC4 ?\r\n2 fplPresets \r\n2 fplSorted TRUE\r\n#featvals 2 1\r\n"
              "1 1 42\r\n2 1  abc \r\n#featend\r\n");
    TFeatureMatrix back;
    int changes = 0;
    back.SetOnChange([&](TObject*) { ++changes; });
    EXPECT_EQ(back.Load(dir.Name("m.fm")), 0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(back.NFeatures(), 2);
    EXPECT_EQ(back.FeatProps(2)->FeatName(), u"  lead trail");  // leading blanks stay
    EXPECT_EQ(back.FeatProps(2)->FeatNum(), -5);
    EXPECT_TRUE(back.FeatProps(2)->Sorted());
    EXPECT_EQ(back.FeatProps(1)->FeatKind(), fkInteger);
    EXPECT_EQ(back.FeatVal(2, 1), u"abc");
    EXPECT_EQ(back.FeatValAsInt(1, 1), 42);

    m.FeatProps(1)->SetFeatName(u"");
    m.Save(dir.Name("m.fm"));
    back.Load(dir.Name("m.fm"));
    EXPECT_EQ(back.FeatProps(1)->FeatName(), u"undefined");
}

TEST(TFeatureMatrix_File, LineBreaksAreRefusedAndTheOldFileStays) {
    TempDir dir;
    TFeatureMatrix m;
    m.SetName(u"FM");
    m.Resize(1, 2);
    m.SetFeatType(1, 1, fkString);
    m.Save(dir.Name("keep.fm"));
    const std::string before = dir.Get("keep.fm");
    m.SetFeatValStr(1, 2, u"two\r\nlines");
    EXPECT_EQ(Message([&] { m.Save(dir.Name("keep.fm")); }),
              "Component \"FM\": the value of feature 1, object 2 holds a line break, which the "
              "file format cannot carry");
    m.SetFeatValStr(1, 2, u"");
    for (const auto& set : std::initializer_list<std::function<void(TFeatMatProps&)>>{
             [](TFeatMatProps& p) { p.SetFeatName(u"a\nb"); },
             [](TFeatMatProps& p) { p.SetComment(u"a\rb"); },
             [](TFeatMatProps& p) { p.SetPresetValues(u"\n"); }}) {
        TFeatureMatrix c;
        c.Assign(&m);
        set(*c.FeatProps(1));
        EXPECT_THROW(c.Save(dir.Name("keep.fm")), EQORDStructError);
    }
    EXPECT_EQ(dir.Get("keep.fm"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    EXPECT_THROW(m.Save(dir.Name("no/such/dir.fm")), EInOutError);
}

TEST(TFeatureMatrix_File, ReadResultsAndRepairs) {
    TempDir dir;
    struct Case {
        const char* text;
        std::int32_t result;
        std::int32_t feats, objs;
    };
    const Case cases[] = {
        {"nothing here\r\n", -2, 0, 0},
        {"#featvals 2 x\r\n", -3, 0, 0},
        {"#featdef 2 1\r\n1 fplFeatNum 3\r\n", -3, 2, 0},
        {"#featdef 1 2\r\n#featvals 1 1\r\n1 1 v\r\n", 0, 1, 1},
        // More value features than definitions: default properties for the rest.
        {"#featdef 1 1\r\n1 fplFeatKind fkstring\r\n1 a b\r\n1 c d\r\n1 e f\r\n1 g h\r\n1 i j\r\n"
         "#featvals 3 2\r\n3 2 x\r\n9 1 ignored\r\n\r\n1 1 after the empty line\r\n",
         0, 3, 2},
        // Fewer: the surplus definitions go.
        {"#featdef 2 1\r\n1 x\r\n1 x\r\n1 x\r\n1 x\r\n1 x\r\n1 x\r\n2 x\r\n2 x\r\n2 x\r\n2 x\r\n"
         "2 x\r\n2 fplFeatName two\r\n#featvals 1 1\r\n",
         0, 1, 1},
        {"#FEATVALS 0 5\r\n#featend\r\n", 0, 0, 5},
        {"#featvals -1 5\r\n", -3, 0, 0},
        {"#featvals 100000 100000\r\n", -3, 0, 0},
        {"#featdef 3 1\r\n", -3, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dir.Put("f.fm", c.text);
        TFeatureMatrix m;
        EXPECT_EQ(m.Load(dir.Name("f.fm")), c.result);
        EXPECT_EQ(m.NFeatures(), c.feats);
        EXPECT_EQ(m.NObjects(), c.objs);
        for (std::int32_t f = 1; f <= m.NFeatures(); ++f)
            EXPECT_NE(m.FeatProps(f), nullptr);
        for (std::int32_t f = 0; f <= m.NFeatures() + 1; ++f)
            m.ClearFeature(f);  // never indexes outside
    }
    dir.Put("f.fm",
            "#featdef 1 1\r\n1 fplFeatKind fkstring\r\n1 a b\r\n1 c d\r\n1 e f\r\n"
            "1 g h\r\n1 i j\r\n#featvals 3 2\r\n3 2 x\r\n1 1 y\r\n");
    TFeatureMatrix m;
    ASSERT_EQ(m.Load(dir.Name("f.fm")), 0);
    EXPECT_EQ(m.FeatProps(1)->FeatKind(), fkString);
    EXPECT_EQ(m.FeatProps(3)->FeatName(), u"undefined");
    EXPECT_EQ(m.FeatVal(1, 1), u"y");
    EXPECT_EQ(m.Load(dir.Name("missing.fm")), -1);
}
