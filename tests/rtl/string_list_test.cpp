#include "qorkit/rtl/string_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "qorkit/rtl/memory_stream.h"

using namespace qorkit;

namespace {

std::vector<String> Items(const TStringList& l) {
    std::vector<String> v;
    for (std::int32_t i = 0; i < l.Count(); ++i)
        v.push_back(l.Strings(i));
    return v;
}

TStringList Make(std::initializer_list<const char16_t*> items) {
    TStringList l;
    for (const char16_t* s : items)
        l.Add(s);
    return l;
}

class TNotAList : public TPersistent {};

// A fresh directory below the system's temporary directory, removed afterwards.
class TempDir {
  public:
    TempDir() {
        Path = std::filesystem::temp_directory_path() /
               ("qorkit-sl-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    String File(const std::string& name) const { return FromUtf8((Path / name).string()); }
    std::filesystem::path Path;
};

}  // namespace

TEST(TStringList_Basics, AddInsertDeleteAndIndexErrors) {
    TStringList l;
    EXPECT_EQ(l.Add(u"b"), 0);
    EXPECT_EQ(l.Add(u"a"), 1);  // unsorted: appended
    l.Insert(0, u"first");
    l.Insert(3, u"last");
    EXPECT_EQ(Items(l), (std::vector<String>{u"first", u"b", u"a", u"last"}));
    l.Delete(1);
    l.SetStrings(0, u"FIRST");
    l.Exchange(0, 2);
    EXPECT_EQ(Items(l), (std::vector<String>{u"last", u"a", u"FIRST"}));

    try {
        (void)l.Strings(3);
        FAIL() << "no exception";
    } catch (const EStringListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    EXPECT_THROW((void)l.Strings(-1), EStringListError);
    EXPECT_THROW(l.Delete(3), EStringListError);
    EXPECT_THROW(l.Insert(4, u"x"), EStringListError);
    EXPECT_THROW(l.Insert(-1, u"x"), EStringListError);
    EXPECT_THROW(l.SetStrings(3, u"x"), EStringListError);
    EXPECT_THROW(l.Exchange(0, 3), EStringListError);
    EXPECT_EQ(l.Count(), 3);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
}

TEST(TStringList_Search, IndexOfFoldsOnlyAsciiLettersUnlessCaseSensitive) {
    TStringList l = Make({u"alpha", u"Beta", u"\u00E9t\u00E9", u"beta"});
    EXPECT_EQ(l.IndexOf(u"ALPHA"), 0);
    EXPECT_EQ(l.IndexOf(u"beta"), 1);            // the first equal one
    EXPECT_EQ(l.IndexOf(u"\u00C9T\u00C9"), -1);  // no folding beyond A-Z
    EXPECT_EQ(l.IndexOf(u"gamma"), -1);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf(u"ALPHA"), -1);
    EXPECT_EQ(l.IndexOf(u"beta"), 3);
    std::int32_t at = -5;
    EXPECT_FALSE(l.Find(u"zzz", at));  // unsorted: linear search
    EXPECT_EQ(at, 4);
}

TEST(TStringList_Sorted, AddKeepsOrderAndAppliesDuplicates) {
    TStringList l;
    l.SetSorted(true);
    EXPECT_EQ(l.Add(u"m"), 0);
    EXPECT_EQ(l.Add(u"B"), 0);
    EXPECT_EQ(l.Add(u"z"), 2);
    EXPECT_EQ(l.Add(u"a"), 0);
    EXPECT_EQ(Items(l), (std::vector<String>{u"a", u"B", u"m", u"z"}));

    // dupIgnore (the default): the index of the one present, nothing added.
    EXPECT_EQ(l.Add(u"M"), 2);
    EXPECT_EQ(l.Count(), 4);
    l.SetDuplicates(dupError);
    EXPECT_THROW(l.Add(u"Z"), EStringListError);
    EXPECT_EQ(l.Count(), 4);
    l.SetDuplicates(dupAccept);
    EXPECT_EQ(l.Add(u"M"), 2);
    EXPECT_EQ(Items(l), (std::vector<String>{u"a", u"B", u"M", u"m", u"z"}));

    std::int32_t at = -1;
    EXPECT_TRUE(l.Find(u"m", at));
    EXPECT_EQ(at, 2);  // the first of the equals
    EXPECT_FALSE(l.Find(u"c", at));
    EXPECT_EQ(at, 2);  // where "c" would go
    EXPECT_FALSE(l.Find(u"zz", at));
    EXPECT_EQ(at, 5);
    EXPECT_EQ(l.IndexOf(u"Z"), 4);

    EXPECT_THROW(l.Insert(0, u"x"), EStringListError);
    EXPECT_THROW(l.SetStrings(0, u"x"), EStringListError);
    EXPECT_THROW(l.Exchange(0, 1), EStringListError);
}

TEST(TStringList_Sorted, FoldsToUpperCaseAndSortsStably) {
    // Folding to upper case puts letters before "_" (0x5F); code units put "_" before "a".
    TStringList l = Make({u"_x", u"b", u"A", u"a", u"B"});
    l.Sort();
    EXPECT_EQ(Items(l), (std::vector<String>{u"A", u"a", u"b", u"B", u"_x"}));
    EXPECT_FALSE(l.Sorted());

    l.SetCaseSensitive(true);
    l.SetSorted(true);
    EXPECT_EQ(Items(l), (std::vector<String>{u"A", u"B", u"_x", u"a", u"b"}));
    // Switching the comparison re-sorts a sorted list.
    l.SetCaseSensitive(false);
    EXPECT_EQ(Items(l), (std::vector<String>{u"A", u"a", u"B", u"b", u"_x"}));

    // A prefix sorts first; duplicates present before sorting stay.
    TStringList p = Make({u"abc", u"ab", u"ab"});
    p.SetSorted(true);
    EXPECT_EQ(Items(p), (std::vector<String>{u"ab", u"ab", u"abc"}));
}

TEST(TStringList_Text, SplitsAtEveryLineEndAndJoinsWithCrLf) {
    TStringList l;
    l.SetText(u"a\r\nb\nc\rd");
    EXPECT_EQ(Items(l), (std::vector<String>{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(l.Text(), u"a\r\nb\r\nc\r\nd\r\n");

    l.SetText(u"a\r\n");
    EXPECT_EQ(Items(l), (std::vector<String>{u"a"}));
    l.SetText(u"a\r\n\r\n");
    EXPECT_EQ(Items(l), (std::vector<String>{u"a", u""}));
    l.SetText(u"\n\r");  // LF then a lone CR: two empty lines
    EXPECT_EQ(Items(l), (std::vector<String>{u"", u""}));
    l.SetText(u"\r\n");
    EXPECT_EQ(Items(l), (std::vector<String>{u""}));
    l.SetText(u"");
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.Text(), u"");

    TStringList s;
    s.SetSorted(true);
    s.SetText(u"b\na\nB\n");
    EXPECT_EQ(Items(s), (std::vector<String>{u"a", u"b"}));
}

TEST(TStringList_Streams, Windows1252TextFromThePositionOn) {
    TStringList l = Make({u"\u00E9t\u00E9", u"\u20AC 5", u"\u4E2D"});
    TMemoryStream m;
    l.SaveToStream(m);
    const std::string bytes(static_cast<const char*>(m.Memory()),
                            static_cast<std::size_t>(m.Size()));
    EXPECT_EQ(bytes, "\xE9t\xE9\r\n\x80 5\r\n?\r\n");

    TMemoryStream in;
    const std::string data = "skip\r\nx\xFCy\nz";
    in.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    in.SetPosition(6);
    TStringList r = Make({u"old"});
    r.LoadFromStream(in);
    EXPECT_EQ(Items(r), (std::vector<String>{u"x\u00FCy", u"z"}));
}

TEST(TStringList_Files, RoundTripAndErrorsNameTheFile) {
    TempDir dir;
    const String name = dir.File("list.txt");
    TStringList l = Make({u"one", u"\u00C4two", u""});
    l.SaveToFile(name);
    std::ifstream f(dir.Path / "list.txt", std::ios::binary);
    const std::string raw((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(raw, "one\r\n\xC4two\r\n\r\n");

    TStringList r;
    r.LoadFromFile(name);
    EXPECT_EQ(Items(r), Items(l));

    const String missing = dir.File("missing.txt");
    try {
        r.LoadFromFile(missing);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(missing), String::npos) << e.what();
    }
    EXPECT_EQ(r.Count(), 3);  // a failed load leaves the list alone
    EXPECT_THROW(l.SaveToFile(dir.File("no/such/dir.txt")), EFCreateError);
}

TEST(TStringList_Change, NotifiesOncePerChangeAndOncePerUpdate) {
    TStringList l;
    int calls = 0;
    TObject* sender = nullptr;
    l.SetOnChange([&](TObject* s) {
        ++calls;
        sender = s;
    });
    l.Add(u"a");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sender, &l);
    l.Insert(0, u"b");
    l.SetStrings(0, u"c");
    l.Exchange(0, 1);
    l.Delete(0);
    EXPECT_EQ(calls, 5);
    l.Clear();
    l.Clear();  // nothing left to clear: no call
    EXPECT_EQ(calls, 6);

    l.SetSorted(true);  // sorting an empty list still counts as a change
    const int afterSort = calls;
    l.Add(u"x");
    l.Add(u"X");  // ignored duplicate: no change, no call
    EXPECT_EQ(calls, afterSort + 1);

    calls = 0;
    l.BeginUpdate();
    l.BeginUpdate();
    l.Add(u"y");
    l.Add(u"z");
    l.EndUpdate();
    EXPECT_EQ(calls, 0);
    l.EndUpdate();
    EXPECT_EQ(calls, 1);
    l.EndUpdate();  // unmatched: ignored
    l.BeginUpdate();
    l.EndUpdate();  // nothing changed: no call
    EXPECT_EQ(calls, 1);

    calls = 0;
    l.SetText(u"p\nq\nr");
    EXPECT_EQ(calls, 1);
    l.AddStrings(Make({u"s", u"t"}));
    EXPECT_EQ(calls, 2);

    // A failed add under dupError keeps the strings added before it and still notifies
    // exactly once for the operation.
    l.SetDuplicates(dupError);
    calls = 0;
    EXPECT_THROW(l.AddStrings(Make({u"u", u"p"})), EStringListError);
    EXPECT_EQ(l.IndexOf(u"u"), 5);
    EXPECT_EQ(calls, 1);
}

TEST(TStringList_Assign, CopiesStringsAndSettingsButNotTheHandler) {
    TStringList src = Make({u"b", u"a"});
    src.SetSorted(true);
    src.SetCaseSensitive(true);
    src.SetDuplicates(dupAccept);
    int srcCalls = 0;
    src.SetOnChange([&](TObject*) { ++srcCalls; });

    TStringList dst = Make({u"old"});
    int dstCalls = 0;
    dst.SetOnChange([&](TObject*) { ++dstCalls; });
    dst.Assign(&src);
    EXPECT_EQ(Items(dst), (std::vector<String>{u"a", u"b"}));
    EXPECT_TRUE(dst.Sorted());
    EXPECT_TRUE(dst.CaseSensitive());
    EXPECT_EQ(dst.Duplicates(), dupAccept);
    EXPECT_EQ(dstCalls, 1);
    dst.Add(u"c");
    EXPECT_EQ(srcCalls, 0);
    EXPECT_EQ(src.Count(), 2);

    TStringList copy(src);
    copy.Add(u"d");
    EXPECT_EQ(srcCalls, 0);
    EXPECT_EQ(src.Count(), 2);
    EXPECT_TRUE(copy.Sorted());

    TNotAList other;
    EXPECT_THROW(dst.Assign(&other), EConvertError);
    EXPECT_THROW(dst.Assign(nullptr), EConvertError);
    dst.Assign(&dst);
    EXPECT_EQ(dst.Count(), 3);

    TStringList twice = Make({u"x", u"y"});
    twice.AddStrings(twice);
    EXPECT_EQ(Items(twice), (std::vector<String>{u"x", u"y", u"x", u"y"}));
}
