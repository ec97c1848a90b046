// TStringArray ordering and searching: the comb sort and its pass sequence, key handlers,
// progress reports, the permutation operations and the linear and binary cell searches.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dstruct/string_table_model.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/strings/number_format.h"

namespace qorkit {
namespace {

using model::Snapshot;

// A table whose column 1 holds `col1` and, when given, column 2 holds `col2`.
void Load(TStringArray& t, const std::vector<std::string>& col1,
          const std::vector<std::string>& col2 = {}) {
    ASSERT_TRUE(t.Resize(col2.empty() ? 1 : 2, static_cast<std::int32_t>(col1.size())));
    t.Clear();  // physical order and empty cells, whatever the table held
    for (std::size_t i = 0; i < col1.size(); ++i) {
        t.SetString(1, static_cast<std::int32_t>(i + 1), col1[i]);
        if (!col2.empty()) t.SetString(2, static_cast<std::int32_t>(i + 1), col2[i]);
    }
}

std::vector<std::string> Column(const TStringArray& t, std::int32_t c) {
    std::vector<std::string> v;
    for (std::int32_t r = 1; r <= t.NrOfRows(); ++r)
        v.push_back(t.GetString(c, r));
    return v;
}

std::vector<std::int32_t> Order(const TStringArray& t) {
    std::vector<std::int32_t> v;
    for (std::int32_t r = 1; r <= t.NrOfRows(); ++r)
        v.push_back(t.GetSortOrder(r));
    return v;
}

using S = std::vector<std::string>;
using I = std::vector<std::int32_t>;

struct Events {
    std::int32_t changes = 0;
    std::vector<std::int32_t> percent;
    explicit Events(TStringArray& t) {
        t.SetOnChange([this](TObject*) { ++changes; });
        t.SetOnPercentDone([this](TObject*, std::int32_t p) { percent.push_back(p); });
    }
};

bool IsPermutation(const TStringArray& t) {
    std::vector<std::int32_t> v = Order(t);
    std::sort(v.begin(), v.end());
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i] != static_cast<std::int32_t>(i + 1)) return false;
    return true;
}

// ---- sorting ---------------------------------------------------------------------------------

TEST(TStringArray_Sort, OneRowReportsProgressButNoChange) {
    TStringArray t;
    t.SetString(1, 1, "only");
    Events ev(t);
    std::int32_t keys = 0;
    t.SetOnBeforeSortExchange([&](TObject*, const String&, String&) { ++keys; });
    t.Sort(1, 0, true);
    EXPECT_EQ(ev.percent, (I{0, 100}));
    EXPECT_EQ(ev.changes, 0);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(t.GetSortOrder(1), 1);
    EXPECT_EQ(t.GetString(1, 1), "only");
}

TEST(TStringArray_Sort, CaseOfAsciiLettersIsIgnored) {
    TStringArray t;
    Load(t, {"A", "b", "a", "C"});
    Events ev(t);
    t.Sort(1, 0, true);
    EXPECT_EQ(Column(t, 1), (S{"A", "a", "b", "C"}));
    EXPECT_EQ(Order(t), (I{1, 3, 2, 4}));
    EXPECT_EQ(ev.percent, (I{0, 10, 30, 60, 90, 100}));  // T = 10; K = 1, 3, 6, 9
    EXPECT_EQ(ev.changes, 1);
    t.UnSort();
    ev.percent.clear();
    t.Sort(1, 0, false);
    EXPECT_EQ(Column(t, 1), (S{"C", "b", "a", "A"}));
    EXPECT_EQ(Order(t), (I{4, 2, 3, 1}));
    EXPECT_EQ(ev.percent, (I{0, 10, 30, 60, 100}));
    EXPECT_EQ(ev.changes, 3);
}

TEST(TStringArray_Sort, NumbersSortAsText) {
    TStringArray t;
    Load(t, {"10", "9", "100"});
    t.Sort(1, 0, true);
    EXPECT_EQ(Column(t, 1), (S{"10", "100", "9"}));
    t.Sort(1, 0, false);
    EXPECT_EQ(Column(t, 1), (S{"9", "100", "10"}));
}

TEST(TStringArray_Sort, KeysCompareAsSixteenBitCodeUnits) {
    TStringArray t;
    // Euro sign (U+20AC) is byte 0x80 but sorts after y-diaeresis (U+00FF, byte 0xFF); only
    // A to Z fold, so E-acute keeps its case and "_" falls between "Z" and "a" unfolded.
    Load(t, {"\x80", "\xFF", "z", "\xC9", "\xE9", "Z_", "_", "a"});
    t.Sort(1, 0, true);
    EXPECT_EQ(Column(t, 1), (S{"_", "a", "z", "Z_", "\xC9", "\xE9", "\xFF", "\x80"}));
}

TEST(TStringArray_Sort, SecondColumnBreaksTies) {
    TStringArray t;
    Load(t, {"x", "y", "X", "x"}, {"3", "1", "2", "1"});
    t.Sort(1, 2, true);
    EXPECT_EQ(Column(t, 2), (S{"1", "2", "3", "1"}));
    EXPECT_EQ(Column(t, 1), (S{"x", "X", "x", "y"}));
    t.Sort(1, 2, false);
    EXPECT_EQ(Column(t, 1), (S{"y", "x", "X", "x"}));
    EXPECT_EQ(Column(t, 2), (S{"1", "3", "2", "1"}));
    // Without a second column the tied rows stay where the passes leave them: the gap-2 pass
    // exchanges rows 2 and 4 and nothing else moves.
    t.UnSort();
    t.Sort(1, 0, true);
    EXPECT_EQ(Order(t), (I{1, 4, 3, 2}));
    EXPECT_EQ(Column(t, 2), (S{"3", "1", "2", "1"}));
    // A second column out of range reads empty keys and decides nothing.
    t.UnSort();
    t.Sort(1, 3, true);
    EXPECT_EQ(Order(t), (I{1, 4, 3, 2}));
}

TEST(TStringArray_Sort, ColumnOutOfRangeKeepsOrderUnlessSecondDecides) {
    TStringArray t;
    Load(t, {"c", "a", "b"}, {"2", "3", "1"});
    Events ev(t);
    t.Sort(3, 0, true);
    EXPECT_EQ(Order(t), (I{1, 2, 3}));
    EXPECT_EQ(ev.changes, 1);
    t.Sort(INT_MIN, 0, false);
    EXPECT_EQ(Order(t), (I{1, 2, 3}));
    t.Sort(-1, 1, true);
    EXPECT_EQ(Column(t, 1), (S{"a", "b", "c"}));
    t.UnSort();
    t.Sort(INT_MAX, 2, false);
    EXPECT_EQ(Column(t, 2), (S{"3", "2", "1"}));
    t.UnSort();
    t.Sort(0, 1, true);  // column 0 is empty everywhere: column 1 decides
    EXPECT_EQ(Column(t, 1), (S{"a", "b", "c"}));
}

TEST(TStringArray_Sort, OnlyThePermutationChanges) {
    TStringArray t;
    Load(t, {"d", "b", "a", "c"}, {"4", "2", "1", "3"});
    for (std::int32_t r = 1; r <= 4; ++r)
        t.SetRowAttrib(r, static_cast<std::uint8_t>(10 * r));
    t.SetColAttrib(2, 7);
    const std::int32_t pools = t.NumBuffers(), firstFree = t.PoolFirstFree(1);
    t.Sort(1, 0, true);
    EXPECT_EQ(Column(t, 1), (S{"a", "b", "c", "d"}));
    EXPECT_EQ(Column(t, 2), (S{"1", "2", "3", "4"}));
    EXPECT_EQ(Order(t), (I{3, 2, 4, 1}));
    // Row attributes travel with their rows.
    EXPECT_EQ(t.GetRowAttrib(1), 30);
    EXPECT_EQ(t.GetRowAttrib(4), 10);
    EXPECT_EQ(t.GetColAttrib(2), 7);
    EXPECT_EQ(t.NumBuffers(), pools);
    EXPECT_EQ(t.PoolFirstFree(1), firstFree);
    // Writes go to the shown row.
    t.SetString(2, 1, "one");
    t.SetRowAttrib(2, 99);
    t.UnSort();
    EXPECT_EQ(Column(t, 2), (S{"4", "2", "one", "3"}));
    EXPECT_EQ(t.GetRowAttrib(2), 99);
}

TEST(TStringArray_Sort, CommitMakesShownOrderPhysical) {
    TStringArray t;
    Load(t, {"d", "b", "a", "c"});
    for (std::int32_t r = 1; r <= 4; ++r)
        t.SetRowAttrib(r, static_cast<std::uint8_t>(r));
    t.Sort(1, 0, false);
    ASSERT_EQ(Column(t, 1), (S{"d", "c", "b", "a"}));
    Events ev(t);
    const std::int32_t firstFree = t.PoolFirstFree(1);
    t.CommitSorting();
    EXPECT_EQ(ev.changes, 0);
    EXPECT_EQ(Order(t), (I{1, 2, 3, 4}));
    EXPECT_EQ(Column(t, 1), (S{"d", "c", "b", "a"}));
    EXPECT_EQ(t.GetRowAttrib(2), 4);
    EXPECT_EQ(t.PoolFirstFree(1), firstFree);  // handles move, texts stay
    t.UnSort();
    EXPECT_EQ(ev.changes, 1);
    EXPECT_EQ(Column(t, 1), (S{"d", "c", "b", "a"}));
    // Every slot still belongs to exactly one cell.
    t.SetString(1, 1, "z");
    EXPECT_EQ(Column(t, 1), (S{"z", "c", "b", "a"}));
}

TEST(TStringArray_Sort, AddRowAfterSortShowsPhysicalOrder) {
    TStringArray t;
    Load(t, {"b", "c", "a"});
    t.Sort(1, 0, true);
    ASSERT_EQ(Column(t, 1), (S{"a", "b", "c"}));
    EXPECT_EQ(t.AddRow(), 4);
    EXPECT_EQ(Column(t, 1), (S{"b", "c", "a", ""}));
    EXPECT_EQ(Order(t), (I{1, 2, 3, 4}));
}

TEST(TStringArray_Sort, ProgressFollowsThePasses) {
    // n = 10: gaps 7, 5, 3, 2, 1 with 3, 5, 7, 8 and 9 comparisons; T = 32 + 10 = 42.
    TStringArray t;
    Load(t, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    Events ev(t);
    t.Sort(1, 0, true);
    EXPECT_EQ(ev.percent, (I{0, 7, 19, 36, 55, 76, 100}));
    // One element out of place needs a second pass at gap 1: K = 41, 41/42 -> 98.
    Load(t, {"b", "c", "d", "e", "f", "g", "h", "i", "j", "a"});
    std::int32_t keys = 0;
    t.SetOnBeforeSortExchange([&](TObject*, const String&, String&) { ++keys; });
    ev.percent.clear();
    t.Sort(1, 0, true);
    EXPECT_EQ(ev.percent, (I{0, 7, 19, 36, 55, 76, 98, 100}));
    EXPECT_EQ(keys, 82);
    EXPECT_EQ(Column(t, 1), (S{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
    // n = 2: one pass at gap 1 (T = 1 + 2), then a second one when the first exchanged.
    Load(t, {"b", "a"});
    ev.percent.clear();
    t.Sort(1, 0, true);
    EXPECT_EQ(ev.percent, (I{0, 33, 67, 100}));
}

TEST(TStringArray_Sort, ProgressMayPassOneHundredBeforeTheEnd) {
    // Shuffles of ten rows until one needs more passes at gap 1 than the estimate allows.
    std::mt19937 gen(5);
    std::vector<std::string> keys{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    bool seen = false;
    for (int attempt = 0; attempt < 2000 && !seen; ++attempt) {
        std::shuffle(keys.begin(), keys.end(), gen);
        TStringArray t;
        Load(t, keys);
        model::StringTableModel m;
        m.Resize(1, 10);
        for (std::int32_t r = 1; r <= 10; ++r)
            m.SetString(1, r, keys[static_cast<std::size_t>(r - 1)]);
        const auto run = m.Sort(1, 0, true, model::KeyHandler::None);
        if (*std::max_element(run.percent.begin(), run.percent.end() - 1) <= 100) continue;
        seen = true;
        Events ev(t);
        t.Sort(1, 0, true);
        EXPECT_EQ(ev.percent, run.percent);
        EXPECT_EQ(Column(t, 1), (S{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
    }
    EXPECT_TRUE(seen);
}

TEST(TStringArray_Sort, HandlerRunsTwicePerComparisonAndTwiceMoreForTies) {
    TStringArray t;
    Load(t, {"A", "b", "a", "C"});
    std::int32_t calls = 0;
    std::vector<String> seen;
    TObject* sender = nullptr;
    t.SetOnBeforeSortExchange([&](TObject* s, const String& in, String& out) {
        EXPECT_EQ(out, in);  // the key starts as the text itself
        sender = s;
        seen.push_back(in);
        ++calls;
    });
    t.Sort(1, 0, true);  // 9 comparisons
    EXPECT_EQ(calls, 18);
    EXPECT_EQ(sender, &t);
    EXPECT_EQ(seen.front(), u"A");
    t.UnSort();
    calls = 0;
    // With a second column, the two ties (the gap-2 pass and the second gap-1 pass) read two
    // more keys each.
    t.Sort(1, 1, true);
    EXPECT_EQ(calls, 22);
    EXPECT_EQ(Column(t, 1), (S{"A", "a", "b", "C"}));
    // Three tied rows decided by column 2: every comparison reads four keys.
    Load(t, {"x", "x", "x"}, {"c", "b", "a"});
    calls = 0;
    t.Sort(1, 2, true);
    EXPECT_EQ(calls, 12);
    EXPECT_EQ(Column(t, 2), (S{"a", "b", "c"}));
    // The key is what the handler leaves, before case folding.
    Load(t, {"\x80", "b", "a"});
    t.SetOnBeforeSortExchange(
        [](TObject*, const String& in, String& out) { out = in == u"\u20AC" ? u"A" : in; });
    t.Sort(1, 0, true);
    EXPECT_EQ(Column(t, 1), (S{"\x80", "a", "b"}));
    String out = u"junk";
    t.BeforeSortExchange(u"\u20AC", out);
    EXPECT_EQ(out, u"A");
    t.SetOnBeforeSortExchange(nullptr);
    t.BeforeSortExchange(u"same", out);
    EXPECT_EQ(out, u"same");
}

TEST(TStringArray_Sort, HandlerCanSortNumbersByValue) {
    TStringArray t;
    Load(t, {"10.0", "9.0", "100.0", "2.5", " 33.75"});
    t.SetOnBeforeSortExchange(
        [](TObject*, const String& in, String& out) { out = SortableNumericString(in, u'.', 6); });
    t.Sort(1, 0, true);
    EXPECT_EQ(Column(t, 1), (S{"2.5", "9.0", "10.0", " 33.75", "100.0"}));
    t.Sort(1, 0, false);
    EXPECT_EQ(Column(t, 1), (S{"100.0", " 33.75", "10.0", "9.0", "2.5"}));
}

TEST(TStringArray_Sort, ThrowingHandlerLeavesAPermutation) {
    for (std::int32_t stopAt = 1; stopAt <= 100; stopAt += 7) {
        TStringArray t;
        Load(t, {"j", "i", "h", "g", "f", "e", "d", "c", "b", "a", "k", "a"});
        Events ev(t);
        std::int32_t calls = 0;
        t.SetOnBeforeSortExchange([&](TObject*, const String&, String&) {
            if (++calls == stopAt) throw std::runtime_error("stop");
        });
        EXPECT_THROW(t.Sort(1, 0, true), std::runtime_error) << stopAt;
        EXPECT_TRUE(IsPermutation(t)) << stopAt;
        EXPECT_EQ(ev.changes, 0);
        ASSERT_FALSE(ev.percent.empty());
        EXPECT_EQ(ev.percent.front(), 0);
        EXPECT_NE(ev.percent.back(), 100);
        // The table stays usable.
        t.SetOnBeforeSortExchange(nullptr);
        t.Sort(1, 0, true);
        EXPECT_EQ(Column(t, 1), (S{"a", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}));
    }
}

TEST(TStringArray_Sort, OrderMatchesLiteralCombSort) {
    // The same order with and without a handler, ties and second columns included, as the
    // reference comb sort that reads every key anew.
    std::mt19937 gen(11);
    for (int round = 0; round < 300; ++round) {
        const auto n = static_cast<std::int32_t>(1 + gen() % 40);
        TStringArray t;
        model::StringTableModel m;
        ASSERT_TRUE(t.Resize(2, n));
        m.Resize(2, n);
        for (std::int32_t c = 0; c <= 2; ++c)
            for (std::int32_t r = 1; r <= n; ++r) {
                std::string s(gen() % 3, ' ');
                for (auto& ch : s)
                    ch = "aAbBc\xE9\xC9"[gen() % 7];
                t.SetString(c, r, s);
                m.SetString(c, r, s);
            }
        if (gen() % 2) {
            t.Sort(2, 0, true);  // start from some other order
            m.Sort(2, 0, true, model::KeyHandler::None);
        }
        const auto col = static_cast<std::int32_t>(gen() % 3);
        const auto sec = static_cast<std::int32_t>(gen() % 4) - 1;
        const bool asc = gen() % 2;
        const auto h = static_cast<model::KeyHandler>(gen() % 3);
        std::int64_t calls = 0;
        if (h != model::KeyHandler::None)
            t.SetOnBeforeSortExchange([&](TObject*, const String& in, String& out) {
                ++calls;
                out = model::ApplyHandler(h, in);
            });
        std::vector<std::int32_t> percent;
        t.SetOnPercentDone([&](TObject*, std::int32_t p) { percent.push_back(p); });
        t.Sort(col, sec, asc);
        const auto run = m.Sort(col, sec, asc, h);
        ASSERT_EQ(model::OpRunner::Compare(t, m), "")
            << "round " << round << " n " << n << " col " << col << " sec " << sec;
        EXPECT_EQ(percent, run.percent) << round;
        if (h != model::KeyHandler::None) {
            EXPECT_EQ(calls, run.handlerCalls) << round;
        }
    }
}

TEST(TStringArray_Sort, LongTiedKeysMatchLiteralCombSort) {
    // Larger tables without a progress handler, so that the sort may finish the gap-1 passes
    // in one go and skip the passes over rows already in order: keys share long prefixes (in
    // either case), tie a lot, run past the sixteen characters read ahead, and come in random,
    // sorted and reversed order; a second column breaks some ties.
    std::mt19937 gen(23);
    const std::string stems[] = {"", "Shared-Prefix-", "shared-prefix-of-thirty-chars-",
                                 "SHARED-PREFIX-OF-THIRTY-CHARS-and-more-than-sixteen-"};
    for (int round = 0; round < 60; ++round) {
        const auto n = static_cast<std::int32_t>(2 + gen() % 1500);
        const std::string& stem = stems[gen() % 4];
        const bool oneStem = gen() % 2;  // otherwise every row picks its own stem
        const std::size_t tail = 1 + gen() % 24;
        const auto alphabet = static_cast<std::size_t>(2 + gen() % 5);
        TStringArray t;
        model::StringTableModel m;
        ASSERT_TRUE(t.Resize(2, n));
        m.Resize(2, n);
        for (std::int32_t r = 1; r <= n; ++r) {
            std::string s = oneStem ? stem : stems[gen() % 4];
            for (char& ch : s)
                if (gen() % 2) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            for (std::size_t k = gen() % (tail + 1); k > 0; --k)
                s += "aBc\x8A\xE9"[gen() % alphabet];
            const std::string second(1, static_cast<char>('a' + gen() % 3));
            t.SetString(1, r, s);
            m.SetString(1, r, s);
            t.SetString(2, r, second);
            m.SetString(2, r, second);
        }
        const auto sec = static_cast<std::int32_t>(gen() % 3) * 2 - 2;  // -2, 0 or 2
        const bool asc = gen() % 2;
        const unsigned start = gen() % 3;  // random, sorted or reversed order first
        if (start > 0) {
            t.Sort(1, sec, start == 1 ? asc : !asc);
            m.Sort(1, sec, start == 1 ? asc : !asc, model::KeyHandler::None);
            ASSERT_EQ(model::OpRunner::Compare(t, m), "") << "round " << round << " (first)";
        }
        t.Sort(1, sec, asc);
        m.Sort(1, sec, asc, model::KeyHandler::None);
        ASSERT_EQ(model::OpRunner::Compare(t, m), "")
            << "round " << round << " n " << n << " sec " << sec << " start " << start;
    }
}

// ---- the permutation -------------------------------------------------------------------------

TEST(TStringArray_SortOrder, ReadsAndSetsShownRows) {
    TStringArray t;
    Load(t, {"a", "b", "c"});
    Events ev(t);
    for (std::int32_t x : {0, -1, 4, INT_MIN, INT_MAX})
        EXPECT_EQ(t.GetSortOrder(x), -1);
    t.SetSortOrder(1, 3);
    t.SetSortOrder(3, 1);
    EXPECT_EQ(t.SortOrder(1), 3);
    EXPECT_EQ(Column(t, 1), (S{"c", "b", "a"}));
    const std::string before = Snapshot(t);
    for (std::int32_t x : {0, -1, 4, INT_MIN, INT_MAX}) {
        t.SetSortOrder(x, 1);
        t.SetSortOrder(1, x);
    }
    EXPECT_EQ(Snapshot(t), before);
    EXPECT_EQ(ev.changes, 0);
    t.CommitSorting();
    EXPECT_EQ(ev.changes, 0);
    t.UnSort();
    EXPECT_EQ(Column(t, 1), (S{"c", "b", "a"}));
    EXPECT_EQ(ev.changes, 1);
    t.UnSort();  // also when nothing is pending
    EXPECT_EQ(ev.changes, 2);
}

TEST(TStringArray_SortOrder, CommitOfRepeatedRowGivesOwnCopies) {
    TStringArray t;
    Load(t, {"a", "b", "c"}, {"A", "", "C"});
    t.SetString(0, 3, "zero");
    t.SetRowAttrib(1, 5);
    t.SetSortOrder(2, 1);  // physical row 1 shown twice, row 2 not at all
    EXPECT_EQ(Column(t, 1), (S{"a", "a", "c"}));
    t.CommitSorting();
    EXPECT_EQ(Order(t), (I{1, 2, 3}));
    EXPECT_EQ(Column(t, 1), (S{"a", "a", "c"}));
    EXPECT_EQ(Column(t, 2), (S{"A", "A", "C"}));
    EXPECT_EQ(t.GetRowAttrib(2), 5);
    // Writing either copy, in place or not, leaves the other alone.
    t.SetString(1, 1, "x");
    t.SetString(2, 2, "Y");
    EXPECT_EQ(Column(t, 1), (S{"x", "a", "c"}));
    EXPECT_EQ(Column(t, 2), (S{"A", "Y", "C"}));
    t.SetString(1, 2, "longer text");
    EXPECT_EQ(t.GetString(1, 1), "x");
    // Compaction counts every cell's own slot once.
    t.GarbageCollection();
    EXPECT_EQ(model::OpRunner::PoolBytes(t), 2 + 12 + 2 + 2 + 2 + 2 + 5);
    EXPECT_EQ(Column(t, 1), (S{"x", "longer text", "c"}));
    EXPECT_EQ(Column(t, 0), (S{"", "", "zero"}));
}

// ---- linear search ---------------------------------------------------------------------------

class TStringArray_Find : public ::testing::Test {
  protected:
    // Columns 0..3, rows 1..6.
    void SetUp() override {
        ASSERT_TRUE(t.Resize(3, 6));
        t.SetString(0, 4, "needle in col 0");
        t.SetString(3, 2, "Needle");
        t.SetString(1, 6, "needle");
        t.SetString(2, 1, "hay");
        t.SetString(1, 1, "HAYSTACK");
        t.SetString(2, 5, "\xC9t\xE9");
    }
    bool Find(const String& s, bool mc, std::int32_t cl, std::int32_t ch, std::int32_t rl,
              std::int32_t rh) {
        col = -9;
        row = -9;
        return t.FindCell(s, mc, cl, ch, rl, rh, col, row);
    }
    bool Exact(const String& s, bool mc, std::int32_t cl, std::int32_t ch, std::int32_t rl,
               std::int32_t rh) {
        col = -9;
        row = -9;
        return t.FindCellExact(s, mc, cl, ch, rl, rh, col, row);
    }
    TStringArray t;
    std::int32_t col = -9, row = -9;
};

TEST_F(TStringArray_Find, VisitsRowsThenColumns) {
    EXPECT_TRUE(Find(u"needle", false, 0, 3, 1, 6));
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 2);
    EXPECT_TRUE(Find(u"needle", true, 0, 3, 1, 6));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 4);
    EXPECT_TRUE(Find(u"STACK", true, 0, 3, 1, 6));
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 1);
    EXPECT_TRUE(Find(u"hay", false, 0, 3, 1, 1));  // "HAYSTACK" comes before "hay" in row 1
    EXPECT_EQ(col, 1);
    EXPECT_TRUE(Find(u"hay", true, 0, 3, 1, 1));
    EXPECT_EQ(col, 2);
}

TEST_F(TStringArray_Find, ClampsColumnsAndRows) {
    // ColLow = -1 means every column whatever ColHigh is.
    EXPECT_TRUE(Find(u"needle", true, -1, 1, 1, 6));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 4);
    EXPECT_TRUE(Find(u"Needle", true, 2, -1, -1, -1));
    EXPECT_EQ(col, 3);
    // Each bound is clamped and the pair ordered.
    EXPECT_TRUE(Find(u"Needle", true, 99, 2, 1, 6));
    EXPECT_EQ(col, 3);
    EXPECT_FALSE(Find(u"Needle", true, 2, 1, 1, 6));
    EXPECT_TRUE(Find(u"needle", true, INT_MAX, INT_MIN, INT_MAX, INT_MIN));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 4);
    // RowLow = 5 with RowHigh = -1 searches rows 1..5.
    EXPECT_FALSE(Find(u"needle", true, 1, 1, 5, -1));
    EXPECT_EQ(col, -9);
    EXPECT_EQ(row, -9);
    EXPECT_TRUE(Find(u"needle", true, 1, 1, 7, -1));
    EXPECT_EQ(row, 6);
    EXPECT_TRUE(Find(u"needle", false, 0, 3, 6, 3));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 4);
    EXPECT_TRUE(Find(u"needle", false, 1, 1, -1, -1));
    EXPECT_EQ(row, 6);
}

TEST_F(TStringArray_Find, EmptyTextAndExactMatches) {
    EXPECT_FALSE(Find(u"", false, -1, -1, -1, -1));
    EXPECT_EQ(col, -9);
    EXPECT_EQ(row, -9);
    EXPECT_TRUE(Exact(u"", false, -1, -1, -1, -1));  // the first empty cell
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 1);
    EXPECT_TRUE(Exact(u"", false, 1, 3, 1, 1));
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(Exact(u"needl", false, -1, -1, -1, -1));
    EXPECT_TRUE(Exact(u"NEEDLE", false, -1, -1, -1, -1));
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 2);
    EXPECT_TRUE(Exact(u"needle", true, -1, -1, -1, -1));
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 6);
    EXPECT_TRUE(t.FindCellIntern(u"hay", false, -1, -1, -1, -1, col, row, true));
    EXPECT_EQ(col, 2);
    EXPECT_TRUE(t.FindCellIntern(u"hay", false, -1, -1, -1, -1, col, row, false));
    EXPECT_EQ(col, 1);
}

TEST_F(TStringArray_Find, FoldsOnlyAsciiLettersAndUsesShownRows) {
    EXPECT_TRUE(Exact(u"\u00C9T\u00E9", false, -1, -1, -1, -1));
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 5);
    EXPECT_FALSE(Exact(u"\u00E9t\u00E9", false, -1, -1, -1, -1));
    EXPECT_FALSE(Find(u"\u00E9t", false, -1, -1, -1, -1));
    t.Sort(1, 0, false);  // "needle" first, then "HAYSTACK", then the empty rows
    EXPECT_TRUE(Exact(u"needle", true, 1, 1, -1, -1));
    EXPECT_EQ(row, 1);
    EXPECT_TRUE(Find(u"stack", false, 1, 1, -1, -1));
    EXPECT_EQ(row, 2);
}

// ---- binary search ---------------------------------------------------------------------------

struct TStringArray_FindSorted : ::testing::Test {
    bool Search(const String& s, bool mc, std::int32_t colIx, std::int32_t lo, std::int32_t hi,
                bool asc) {
        row = -9;
        return t.FindCellInSortedColumn(s, mc, colIx, lo, hi, asc, row);
    }
    TStringArray t;
    std::int32_t row = -9;
};

TEST_F(TStringArray_FindSorted, FindsFirstOfARun) {
    Load(t, {"a", "b", "b", "b", "c"});
    EXPECT_TRUE(Search(u"b", true, 1, -1, -1, true));
    EXPECT_EQ(row, 2);
    // The walk back is not held by RowLow.
    EXPECT_TRUE(Search(u"b", true, 1, 4, 5, true));
    EXPECT_EQ(row, 2);
    EXPECT_TRUE(Search(u"a", true, 1, 1, 5, true));
    EXPECT_EQ(row, 1);
    EXPECT_TRUE(Search(u"c", true, 1, 1, 5, true));
    EXPECT_EQ(row, 5);
}

TEST_F(TStringArray_FindSorted, LastRowAndOneRowRanges) {
    Load(t, {"a", "b", "c", "d", "e"});
    EXPECT_TRUE(Search(u"e", true, 1, 1, 5, true));
    EXPECT_EQ(row, 5);
    EXPECT_TRUE(Search(u"d", true, 1, 1, 4, true));
    EXPECT_EQ(row, 4);
    EXPECT_TRUE(Search(u"c", true, 1, 3, 3, true));
    EXPECT_EQ(row, 3);
    EXPECT_FALSE(Search(u"x", true, 1, 3, 3, true));
    EXPECT_EQ(row, 3);
    EXPECT_FALSE(Search(u"e", true, 1, 1, 4, true));  // outside the range
    // Clamped and ordered bounds; RowHigh = -1 alone becomes 1.
    EXPECT_TRUE(Search(u"e", true, 1, INT_MAX, 2, true));
    EXPECT_EQ(row, 5);
    EXPECT_TRUE(Search(u"a", true, 1, 3, -1, true));
    EXPECT_EQ(row, 1);
    // The column index is clamped as well.
    EXPECT_TRUE(Search(u"b", true, 7, -1, -1, true));
    EXPECT_EQ(row, 2);
}

TEST_F(TStringArray_FindSorted, NotFoundLeavesLastRowExamined) {
    Load(t, {"a", "c", "e", "g", "i"});
    EXPECT_FALSE(Search(u"d", true, 1, -1, -1, true));  // rows 3, then 2
    EXPECT_EQ(row, 2);
    EXPECT_FALSE(Search(u"z", true, 1, -1, -1, true));  // rows 3, 5
    EXPECT_EQ(row, 5);
    EXPECT_FALSE(Search(u"0", true, 1, -1, -1, true));  // rows 3, 2, 1
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(Search(u"h", true, 1, -1, -1, true));  // rows 3, 5, 4
    EXPECT_EQ(row, 4);
}

TEST_F(TStringArray_FindSorted, EmptyTextAtTheTopTerminates) {
    Load(t, {"", "", "", "a", "b"});
    EXPECT_TRUE(Search(u"", true, 1, -1, -1, true));
    EXPECT_EQ(row, 1);
    EXPECT_TRUE(Search(u"", false, 1, 3, 5, true));
    EXPECT_EQ(row, 1);
    Load(t, {"", ""});
    EXPECT_TRUE(Search(u"", true, 1, -1, -1, true));
    EXPECT_EQ(row, 1);
}

TEST_F(TStringArray_FindSorted, DescendingColumns) {
    Load(t, {"e", "d", "c", "b", "b", "a"});
    EXPECT_TRUE(Search(u"b", true, 1, -1, -1, false));
    EXPECT_EQ(row, 4);
    EXPECT_TRUE(Search(u"e", true, 1, -1, -1, false));
    EXPECT_EQ(row, 1);
    EXPECT_TRUE(Search(u"a", true, 1, -1, -1, false));
    EXPECT_EQ(row, 6);
    EXPECT_FALSE(Search(u"bb", true, 1, -1, -1, false));  // rows 4, then 3
    EXPECT_EQ(row, 3);
    // Searching a descending column as ascending goes the wrong way.
    EXPECT_FALSE(Search(u"e", true, 1, -1, -1, true));
}

TEST_F(TStringArray_FindSorted, CaseFoldingAndSortedTables) {
    Load(t, {"Cherry", "apple", "Banana", "date"});
    t.Sort(1, 0, true);
    ASSERT_EQ(Column(t, 1), (S{"apple", "Banana", "Cherry", "date"}));
    EXPECT_TRUE(Search(u"CHERRY", false, 1, -1, -1, true));
    EXPECT_EQ(row, 3);
    EXPECT_TRUE(Search(u"banana", false, 1, -1, -1, true));
    EXPECT_EQ(row, 2);
    // With MatchCase the upper-case texts are out of ordinal order and can be missed.
    EXPECT_FALSE(Search(u"apple", true, 1, -1, -1, true));
    EXPECT_TRUE(Search(u"date", true, 1, -1, -1, true));
    EXPECT_EQ(row, 4);
}

TEST_F(TStringArray_FindSorted, AgreesWithModelOnRandomColumns) {
    std::mt19937 gen(3);
    for (int round = 0; round < 400; ++round) {
        const auto n = static_cast<std::int32_t>(1 + gen() % 20);
        model::StringTableModel m;
        std::vector<std::string> col;
        for (std::int32_t r = 0; r < n; ++r)
            col.push_back(std::string(gen() % 2, "aAbB"[gen() % 4]));
        Load(t, col);
        m.Resize(1, n);
        for (std::int32_t r = 1; r <= n; ++r)
            m.SetString(1, r, col[static_cast<std::size_t>(r - 1)]);
        const bool asc = gen() % 2;
        if (gen() % 4) {
            t.Sort(1, 0, asc);
            m.Sort(1, 0, asc, model::KeyHandler::None);
        }
        const String f = Win1252ToString(std::string(gen() % 2, "aAbBc"[gen() % 5]));
        const bool mc = gen() % 2;
        const auto lo = static_cast<std::int32_t>(gen() % (n + 2)) - 1;
        const auto hi = static_cast<std::int32_t>(gen() % (n + 2)) - 1;
        std::int32_t want = -9;
        const bool found = m.FindCellInSortedColumn(f, mc, 1, lo, hi, asc, want);
        EXPECT_EQ(Search(f, mc, 1, lo, hi, asc), found) << round;
        EXPECT_EQ(row, want) << round;
    }
}

}  // namespace
}  // namespace qorkit
