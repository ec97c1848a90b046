// TStringArray storage: cells and pools, numbers, attributes, changes of shape, row and column
// operations, clearing and filling, compaction, copying, notifications, and a long random run
// against a reference model.
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dstruct/string_table_model.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/string_list.h"

namespace qorkit {
namespace {

using model::Snapshot;

constexpr std::int32_t kExtremes[] = {0, -1, INT_MIN, INT_MAX, INT_MIN + 1, 65536};

// Counts OnChange calls of one table.
struct ChangeCount {
    std::int32_t n = 0;
    explicit ChangeCount(TStringArray& t) {
        t.SetOnChange([this](TObject*) { ++n; });
    }
};

// A table with `cols` ordinary columns and `rows` rows; cell (c, r) holds "c:r".
void Number(TStringArray& t, std::int32_t cols, std::int32_t rows) {
    ASSERT_TRUE(t.Resize(cols, rows));
    for (std::int32_t c = 0; c <= cols; ++c)
        for (std::int32_t r = 1; r <= rows; ++r)
            t.SetString(c, r, std::to_string(c) + ":" + std::to_string(r));
}

// The texts of column `c`, rows shown in order.
std::vector<std::string> Column(const TStringArray& t, std::int32_t c) {
    std::vector<std::string> v;
    for (std::int32_t r = 1; r <= t.NrOfRows(); ++r)
        v.push_back(t.GetString(c, r));
    return v;
}

std::vector<std::string> Strs(std::initializer_list<const char*> l) {
    return std::vector<std::string>(l.begin(), l.end());
}

std::int64_t PoolBytes(const TStringArray& t) {
    return model::OpRunner::PoolBytes(t);
}

// ---- a new table and single cells -----------------------------------------------------------

TEST(TStringArray_New, OneEmptyCellInOnePool) {
    TStringArray t;
    EXPECT_EQ(t.NrOfColumns(), 1);
    EXPECT_EQ(t.NrOfRows(), 1);
    EXPECT_EQ(t.AllocRowsBy(), 10);
    EXPECT_EQ(t.RowsAllocated(), 10);
    EXPECT_EQ(t.NumBuffers(), 1);
    EXPECT_EQ(t.PoolFirstFree(1), 1);
    EXPECT_EQ(t.PoolFirstFree(0), 0);
    EXPECT_EQ(t.PoolFirstFree(2), 0);
    EXPECT_EQ(t.GetString(0, 1), "");
    EXPECT_EQ(t.GetString(1, 1), "");
    EXPECT_EQ(t.Elem(1, 1), "");
    EXPECT_EQ(t.GetRowAttrib(1), 0);
    EXPECT_EQ(t.GetColAttrib(1), 0);
    EXPECT_EQ(t.GetSortOrder(1), 1);
    EXPECT_FALSE(t.OnChange());
    EXPECT_FALSE(t.OnPercentDone());
    EXPECT_FALSE(t.OnBeforeSortExchange());
    for (std::int32_t x : kExtremes) {
        EXPECT_EQ(t.GetString(x == 0 ? 2 : x, 1), "");
        EXPECT_EQ(t.GetString(0, x), "");
        EXPECT_EQ(t.GetRowAttrib(x), 0);
        EXPECT_EQ(t.GetSortOrder(x), -1);
    }
}

TEST(TStringArray_New, OwnerDestroysTable) {
    TComponent owner(nullptr);
    auto* t = new TStringArray(&owner);
    t->SetString(1, 1, "owned");
    EXPECT_EQ(t->GetString(1, 1), "owned");
    // Destroying the owner releases the table; the sanitizer build reports a leak otherwise.
}

TEST(TStringArray_Cells, ColumnZeroHoldsTextButNoAttribute) {
    TStringArray t;
    ChangeCount changes(t);
    t.SetString(0, 1, "zero");
    t.SetElem(1, 1, "one");
    EXPECT_EQ(t.GetString(0, 1), "zero");
    EXPECT_EQ(t.Elem(1, 1), "one");
    EXPECT_EQ(changes.n, 2);
    t.SetColAttrib(0, 7);
    EXPECT_EQ(t.GetColAttrib(0), 0);
    EXPECT_EQ(changes.n, 2);
    t.SetColAttrib(1, 9);
    EXPECT_EQ(t.GetColAttrib(1), 9);
    EXPECT_EQ(t.ColAttrib(1), 9);
    EXPECT_EQ(changes.n, 3);
    t.SetRowAttrib(1, 200);
    EXPECT_EQ(t.GetRowAttrib(1), 200);
    EXPECT_EQ(changes.n, 4);
}

TEST(TStringArray_Cells, OutOfRangeWritesChangeNothing) {
    TStringArray t;
    Number(t, 2, 3);
    ChangeCount changes(t);
    const std::string before = Snapshot(t);
    for (std::int32_t x : kExtremes) {
        t.SetString(x == 0 ? 3 : x, 1, "bad");
        t.SetString(0, x == 0 ? 4 : x, "bad");
        t.SetText(x == 0 ? -1 : x, x, u"bad");
        t.SetRowAttrib(x == 0 ? 4 : x, 5);
        t.SetColAttrib(x == 0 ? 3 : x, 5);
    }
    EXPECT_EQ(Snapshot(t), before);
    EXPECT_EQ(changes.n, 0);
}

TEST(TStringArray_Cells, TextsAreCutTo255Characters) {
    TStringArray t;
    t.SetString(1, 1, std::string(300, 'x'));
    EXPECT_EQ(t.GetString(1, 1), std::string(255, 'x'));
    EXPECT_EQ(t.PoolFirstFree(1), 257);
    t.SetText(0, 1, std::u16string(300, u'y'));
    EXPECT_EQ(t.GetString(0, 1), std::string(255, 'y'));
    EXPECT_EQ(t.Text(0, 1), std::u16string(255, u'y'));
    EXPECT_EQ(t.PoolFirstFree(1), 513);
}

TEST(TStringArray_Cells, SixteenBitTextIsWindows1252) {
    TStringArray t;
    t.SetText(1, 1, u"\u20AC5 caf\u00E9");
    EXPECT_EQ(t.GetString(1, 1),
              "\x80"
              "5 caf\xE9");
    EXPECT_EQ(t.Text(1, 1), u"\u20AC5 caf\u00E9");
    t.SetText(1, 1, u"\u4E2D!");
    EXPECT_EQ(t.GetString(1, 1), "?!");
    t.SetString(0, 1, std::string("\x9F\x00z", 3));
    EXPECT_EQ(t.Text(0, 1), std::u16string(u"\u0178\0z", 3));
    // 300 characters of which the first 255 survive; the cut happens after encoding.
    std::u16string longText(299, u'a');
    longText.insert(0, u"\u20AC");
    t.SetText(1, 1, longText);
    EXPECT_EQ(t.GetString(1, 1), "\x80" + std::string(254, 'a'));
}

// ---- pools -----------------------------------------------------------------------------------

TEST(TStringArray_Pools, OverwriteReusesSlotOfLastWrittenLength) {
    TStringArray t;
    t.SetString(1, 1, "abcde");
    EXPECT_EQ(t.PoolFirstFree(1), 7);
    t.SetString(1, 1, "xyz");  // fits the 5-byte slot
    EXPECT_EQ(t.GetString(1, 1), "xyz");
    EXPECT_EQ(t.NumBuffers(), 1);
    EXPECT_EQ(t.PoolFirstFree(1), 7);
    t.SetString(1, 1, "wxyz");  // the slot now holds 3: a new slot at offset 7
    EXPECT_EQ(t.GetString(1, 1), "wxyz");
    EXPECT_EQ(t.PoolFirstFree(1), 12);
    t.SetString(1, 1, "ab");
    EXPECT_EQ(t.PoolFirstFree(1), 12);
    t.SetString(1, 1, "abc");
    EXPECT_EQ(t.GetString(1, 1), "abc");
    EXPECT_EQ(t.PoolFirstFree(1), 16);
    t.SetString(1, 1, "");
    t.SetString(1, 1, "a");
    EXPECT_EQ(t.PoolFirstFree(1), 18);
    // Neighbouring slots are not disturbed by in-place writes.
    t.SetString(0, 1, "12345");
    t.SetString(1, 1, "Z");
    EXPECT_EQ(t.GetString(0, 1), "12345");
    EXPECT_EQ(t.GetString(1, 1), "Z");
}

TEST(TStringArray_Pools, EmptyTextInNewCellTakesOneByte) {
    TStringArray t;
    t.SetString(1, 1, "");
    EXPECT_EQ(t.PoolFirstFree(1), 2);
    t.SetString(1, 1, "");
    EXPECT_EQ(t.PoolFirstFree(1), 2);
    t.SetString(0, 1, "");
    EXPECT_EQ(t.PoolFirstFree(1), 3);
    t.GarbageCollection();
    EXPECT_EQ(t.PoolFirstFree(1), 3);
}

TEST(TStringArray_Pools, TextGoesToFirstPoolWithRoom) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(1, 400));
    const std::string s255(255, 'p');
    for (std::int32_t r = 1; r <= 127; ++r)
        t.SetString(1, r, s255);
    ASSERT_EQ(t.NumBuffers(), 1);
    ASSERT_EQ(t.PoolFirstFree(1), 32513);  // 255 bytes left below the unused last byte
    t.SetString(1, 128, s255);             // 32768 - 32513 > 255 fails: a new pool
    EXPECT_EQ(t.NumBuffers(), 2);
    EXPECT_EQ(t.PoolFirstFree(1), 32513);
    EXPECT_EQ(t.PoolFirstFree(2), 257);
    t.SetString(1, 129, std::string(254, 'q'));  // first fit: still room in pool 1
    EXPECT_EQ(t.PoolFirstFree(1), 32768);
    EXPECT_EQ(t.PoolFirstFree(2), 257);
    t.SetString(1, 130, "");  // even one byte does not fit in pool 1 now
    EXPECT_EQ(t.PoolFirstFree(1), 32768);
    EXPECT_EQ(t.PoolFirstFree(2), 258);
    t.SetString(1, 131, "x");
    EXPECT_EQ(t.PoolFirstFree(2), 260);
    // Pool 2 full as well: 127 more long texts leave 32768 - f = 255 - 3 there.
    for (std::int32_t r = 132; r < 132 + 126; ++r)
        t.SetString(1, r, s255);
    EXPECT_EQ(t.NumBuffers(), 2);
    EXPECT_EQ(t.PoolFirstFree(2), 260 + 126 * 256);  // 32516: 252 bytes of room
    t.SetString(1, 258, std::string(252, 'r'));      // 32768 - 32516 > 252 fails
    EXPECT_EQ(t.NumBuffers(), 3);
    EXPECT_EQ(t.PoolFirstFree(3), 254);
    t.SetString(1, 259, std::string(251, 's'));  // fits pool 2 exactly to its last byte
    EXPECT_EQ(t.NumBuffers(), 3);
    EXPECT_EQ(t.PoolFirstFree(2), 32768);
    EXPECT_EQ(t.PoolFirstFree(3), 254);
    t.SetString(1, 260, "t");
    EXPECT_EQ(t.PoolFirstFree(3), 256);

    // Every text reads back, and compaction after freeing a slot in pool 1 lets pool 1 take
    // a long text again.
    EXPECT_EQ(t.GetString(1, 1), s255);
    EXPECT_EQ(t.GetString(1, 129), std::string(254, 'q'));
    EXPECT_EQ(t.GetString(1, 259), std::string(251, 's'));
    t.SetString(1, 1, s255 + "!");  // cut to 255: fits in place, nothing moves
    EXPECT_EQ(t.PoolFirstFree(1), 32768);
    t.SetString(1, 2, "");  // in place; 255 bytes become garbage after compaction
    t.GarbageCollection();
    EXPECT_EQ(t.NumBuffers(), 3);
    EXPECT_EQ(t.PoolFirstFree(1), 1 + 126 * 256 + 1 + 255);
    EXPECT_EQ(t.PoolFirstFree(2), 32768);
    EXPECT_EQ(t.PoolFirstFree(3), 256);
    t.SetString(1, 261, s255);  // 32768 - 32513 > 255 fails again...
    EXPECT_EQ(t.PoolFirstFree(3), 512);
    t.SetString(1, 262, std::string(254, 'u'));  // ...but 254 fits pool 1
    EXPECT_EQ(t.PoolFirstFree(1), 32768);
    EXPECT_EQ(t.GetString(1, 262), std::string(254, 'u'));
    EXPECT_EQ(t.GetString(1, 2), "");
    EXPECT_EQ(t.GetString(1, 128), s255);
}

TEST(TStringArray_Pools, CompactionKeepsTextsAndCountsLiveSlots) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(5, 60));
    t.Fill("-");
    std::mt19937 gen(7);
    // Overwrites of growing and shrinking length leave plenty of garbage in several pools.
    for (int i = 0; i < 3000; ++i) {
        const auto c = static_cast<std::int32_t>(gen() % 6);
        const auto r = static_cast<std::int32_t>(1 + gen() % 60);
        t.SetString(c, r, std::string(gen() % 256, static_cast<char>('a' + gen() % 26)));
    }
    ASSERT_GE(t.NumBuffers(), 3);
    std::vector<std::string> texts;
    std::int64_t live = 0;
    for (std::int32_t c = 0; c <= 5; ++c)
        for (std::int32_t r = 1; r <= 60; ++r) {
            texts.push_back(t.GetString(c, r));
            live += static_cast<std::int64_t>(texts.back().size()) + 1;  // every cell has a slot
        }
    const std::int32_t pools = t.NumBuffers();
    ChangeCount changes(t);
    t.GarbageCollection();
    EXPECT_EQ(changes.n, 0);
    EXPECT_EQ(t.NumBuffers(), pools);
    EXPECT_EQ(PoolBytes(t), live);
    for (std::int32_t p = 1; p <= pools; ++p) {
        EXPECT_GE(t.PoolFirstFree(p), 1);
        EXPECT_LE(t.PoolFirstFree(p), 32768);
    }
    std::size_t i = 0;
    for (std::int32_t c = 0; c <= 5; ++c)
        for (std::int32_t r = 1; r <= 60; ++r)
            EXPECT_EQ(t.GetString(c, r), texts[i++]) << c << "," << r;
    // A second compaction has nothing left to do.
    const std::string once = Snapshot(t);
    t.GarbageCollection();
    EXPECT_EQ(Snapshot(t), once);
    // Writes after compaction do not overwrite moved texts.
    for (std::int32_t r = 1; r <= 60; ++r)
        t.SetString(1, r, std::string(200, '#'));
    i = 0;
    for (std::int32_t c = 0; c <= 5; ++c)
        for (std::int32_t r = 1; r <= 60; ++r, ++i)
            if (c != 1) {
                EXPECT_EQ(t.GetString(c, r), texts[i]) << c << "," << r;
            }
}

TEST(TStringArray_Pools, FirstFitOverManyPoolsMatchesModel) {
    // Dozens of pools with uneven room in each: every write must land in the first pool with
    // room, also after compactions have opened room in early pools again.
    TStringArray t;
    model::StringTableModel m;
    ASSERT_TRUE(t.Resize(3, 1500));
    m.Resize(3, 1500);
    std::mt19937 gen(99);
    for (int step = 1; step <= 30000; ++step) {
        const auto c = static_cast<std::int32_t>(gen() % 4);
        const auto r = static_cast<std::int32_t>(1 + gen() % 1500);
        // Mostly long texts so that pools fill, now and then short ones that fit the gaps.
        const std::size_t len = gen() % 4 == 0 ? gen() % 8 : 100 + gen() % 156;
        const std::string s(len, static_cast<char>('A' + step % 26));
        t.SetString(c, r, s);
        m.SetString(c, r, s);
        if (step % 7000 == 0) {
            t.GarbageCollection();
            m.GarbageCollection();
        }
        if (step % 1000 == 0) {
            ASSERT_EQ(model::OpRunner::Compare(t, m), "") << "step " << step;
        }
    }
    EXPECT_GE(t.NumBuffers(), 30);
}

TEST(TStringArray_Pools, CompactionIgnoresCellsOutsideTheShape) {
    TStringArray t;
    Number(t, 2, 11);
    ASSERT_TRUE(t.Resize(2, 5));  // rows 6..11 leave use; their slots are garbage now
    t.GarbageCollection();
    std::int64_t live = 0;
    for (std::int32_t c = 0; c <= 2; ++c)
        for (std::int32_t r = 1; r <= 5; ++r)
            live += static_cast<std::int64_t>(t.GetString(c, r).size()) + 1;
    EXPECT_EQ(PoolBytes(t), live);
    ASSERT_TRUE(t.Resize(1, 5));  // column 2 leaves as well
    t.GarbageCollection();
    EXPECT_EQ(PoolBytes(t), live - 5 * 4);
}

// ---- shape -----------------------------------------------------------------------------------

TEST(TStringArray_Resize, RejectsNonPositiveSizes) {
    TStringArray t;
    Number(t, 2, 3);
    ChangeCount changes(t);
    const std::string before = Snapshot(t);
    EXPECT_FALSE(t.Resize(0, 5));
    EXPECT_FALSE(t.Resize(5, -1));
    EXPECT_FALSE(t.Resize(2, 0));
    EXPECT_FALSE(t.Resize(INT_MIN, 3));
    EXPECT_FALSE(t.Resize(2, INT_MIN));
    EXPECT_FALSE(t.Resize(-1, -1));
    t.SetNrOfColumns(0);
    t.SetNrOfRows(-3);
    EXPECT_EQ(Snapshot(t), before);
    EXPECT_EQ(changes.n, 0);
}

TEST(TStringArray_Resize, CurrentShapeIsANoOp) {
    TStringArray t;
    Number(t, 2, 3);
    t.SetAllocRowsBy(3);
    ChangeCount changes(t);
    const std::string before = Snapshot(t);
    EXPECT_TRUE(t.Resize(2, 3));
    t.SetNrOfColumns(2);
    t.SetNrOfRows(3);
    EXPECT_EQ(changes.n, 0);
    EXPECT_EQ(Snapshot(t), before);
}

TEST(TStringArray_Resize, AllocatesRowsInSteps) {
    TStringArray t;
    ChangeCount changes(t);
    t.SetString(1, 1, "keep");
    t.SetRowAttrib(1, 4);
    changes.n = 0;
    EXPECT_TRUE(t.Resize(1, 11));
    EXPECT_EQ(changes.n, 1);
    EXPECT_EQ(t.NrOfRows(), 11);
    EXPECT_EQ(t.RowsAllocated(), 20);
    EXPECT_EQ(t.GetString(1, 1), "keep");
    EXPECT_EQ(t.GetRowAttrib(1), 4);
    EXPECT_EQ(t.GetString(1, 11), "");
    EXPECT_EQ(t.GetRowAttrib(11), 0);
    EXPECT_TRUE(t.Resize(1, 20));
    EXPECT_EQ(t.RowsAllocated(), 20);
    EXPECT_TRUE(t.Resize(1, 21));
    EXPECT_EQ(t.RowsAllocated(), 30);
    EXPECT_TRUE(t.Resize(1, 2));  // same columns, within the allocation: no reallocation
    EXPECT_EQ(t.RowsAllocated(), 30);
    EXPECT_TRUE(t.Resize(2, 2));  // a column change reallocates to the rounded row count
    EXPECT_EQ(t.RowsAllocated(), 10);
    t.SetAllocRowsBy(7);
    EXPECT_EQ(t.AllocRowsBy(), 7);
    EXPECT_TRUE(t.Resize(2, 15));
    EXPECT_EQ(t.RowsAllocated(), 21);
    t.SetAllocRowsBy(1);
    EXPECT_TRUE(t.Resize(3, 15));
    EXPECT_EQ(t.RowsAllocated(), 15);
    t.SetNrOfRows(16);
    EXPECT_EQ(t.RowsAllocated(), 16);
    t.SetNrOfColumns(4);
    EXPECT_EQ(t.NrOfColumns(), 4);
    EXPECT_EQ(t.GetString(1, 1), "keep");
    EXPECT_EQ(changes.n, 9);
}

TEST(TStringArray_Resize, AllocationStepBelowOneIsIgnored) {
    TStringArray t;
    ChangeCount changes(t);
    t.SetAllocRowsBy(0);
    EXPECT_EQ(t.AllocRowsBy(), 10);
    t.SetAllocRowsBy(-5);
    t.SetAllocRowsBy(INT_MIN);
    EXPECT_EQ(t.AllocRowsBy(), 10);
    EXPECT_EQ(changes.n, 0);
    EXPECT_TRUE(t.Resize(1, 12));
    EXPECT_EQ(t.RowsAllocated(), 20);
}

TEST(TStringArray_Resize, RowsLeavingAndReturningReadEmpty) {
    TStringArray t;
    Number(t, 2, 11);
    for (std::int32_t r = 1; r <= 11; ++r)
        t.SetRowAttrib(r, static_cast<std::uint8_t>(r));
    ASSERT_EQ(t.RowsAllocated(), 20);
    EXPECT_TRUE(t.Resize(2, 5));
    EXPECT_EQ(t.RowsAllocated(), 20);
    EXPECT_EQ(t.GetString(1, 6), "");
    EXPECT_TRUE(t.Resize(2, 11));
    for (std::int32_t r = 1; r <= 11; ++r) {
        const bool kept = r <= 5;
        EXPECT_EQ(t.GetString(0, r), kept ? "0:" + std::to_string(r) : "") << r;
        EXPECT_EQ(t.GetString(2, r), kept ? "2:" + std::to_string(r) : "") << r;
        EXPECT_EQ(t.GetRowAttrib(r), kept ? r : 0) << r;
    }
    // The same through a reallocation that drops and re-creates rows together with a column.
    EXPECT_TRUE(t.Resize(1, 3));
    EXPECT_TRUE(t.Resize(2, 11));
    EXPECT_EQ(t.GetString(1, 3), "1:3");
    EXPECT_EQ(t.GetString(1, 4), "");
    EXPECT_EQ(t.GetString(2, 1), "");
    EXPECT_EQ(t.GetRowAttrib(4), 0);
    EXPECT_EQ(t.GetRowAttrib(3), 3);
}

TEST(TStringArray_Resize, ColumnsKeepTextsAndAttributes) {
    TStringArray t;
    Number(t, 3, 4);
    t.SetColAttrib(1, 11);
    t.SetColAttrib(2, 22);
    t.SetColAttrib(3, 33);
    EXPECT_TRUE(t.Resize(2, 4));
    EXPECT_EQ(t.GetColAttrib(3), 0);
    EXPECT_EQ(t.GetString(3, 1), "");
    EXPECT_TRUE(t.Resize(5, 6));
    EXPECT_EQ(t.GetColAttrib(1), 11);
    EXPECT_EQ(t.GetColAttrib(2), 22);
    EXPECT_EQ(t.GetColAttrib(3), 0);
    EXPECT_EQ(t.GetColAttrib(5), 0);
    EXPECT_EQ(t.GetString(2, 4), "2:4");
    EXPECT_EQ(t.GetString(0, 4), "0:4");
    EXPECT_EQ(t.GetString(3, 4), "");
    EXPECT_EQ(t.GetString(5, 6), "");
    EXPECT_EQ(t.GetString(1, 6), "");
}

TEST(TStringArray_Resize, DiscardsPendingOrder) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(1, 3));
    t.SetString(1, 1, "c");
    t.SetString(1, 2, "b");
    t.SetString(1, 3, "a");
    t.Sort(1, 0, true);
    ASSERT_EQ(Column(t, 1), Strs({"a", "b", "c"}));
    EXPECT_TRUE(t.Resize(2, 3));
    EXPECT_EQ(Column(t, 1), Strs({"c", "b", "a"}));
    t.Sort(1, 0, true);
    EXPECT_TRUE(t.Resize(2, 4));
    EXPECT_EQ(Column(t, 1), Strs({"c", "b", "a", ""}));
    t.Sort(1, 0, true);
    EXPECT_EQ(t.AddRow(), 5);
    EXPECT_EQ(Column(t, 1), Strs({"c", "b", "a", "", ""}));
    for (std::int32_t r = 1; r <= 5; ++r)
        EXPECT_EQ(t.GetSortOrder(r), r);
}

// ---- rows ------------------------------------------------------------------------------------

TEST(TStringArray_Rows, AddRowAppendsEmptyRow) {
    TStringArray t;
    ChangeCount changes(t);
    EXPECT_EQ(t.AddRow(), 2);
    EXPECT_EQ(t.AddRow(), 3);
    EXPECT_EQ(changes.n, 2);
    EXPECT_EQ(t.NrOfRows(), 3);
    for (int i = 0; i < 8; ++i)
        t.AddRow();
    EXPECT_EQ(t.NrOfRows(), 11);
    EXPECT_EQ(t.RowsAllocated(), 20);
}

TEST(TStringArray_Rows, InsertRowShiftsRowsDown) {
    TStringArray t;
    Number(t, 2, 3);
    for (std::int32_t r = 1; r <= 3; ++r)
        t.SetRowAttrib(r, static_cast<std::uint8_t>(10 * r));
    t.InsertRow(2);
    EXPECT_EQ(t.NrOfRows(), 4);
    EXPECT_EQ(Column(t, 0), Strs({"0:1", "", "0:2", "0:3"}));
    EXPECT_EQ(Column(t, 2), Strs({"2:1", "", "2:2", "2:3"}));
    EXPECT_EQ(t.GetRowAttrib(1), 10);
    EXPECT_EQ(t.GetRowAttrib(2), 0);
    EXPECT_EQ(t.GetRowAttrib(3), 20);
    EXPECT_EQ(t.GetRowAttrib(4), 30);
    t.InsertRow(1);
    EXPECT_EQ(Column(t, 1), Strs({"", "1:1", "", "1:2", "1:3"}));
    t.InsertRow(5);  // before the last row; there is no insertion after it
    EXPECT_EQ(Column(t, 1), Strs({"", "1:1", "", "1:2", "", "1:3"}));
    EXPECT_EQ(t.GetRowAttrib(6), 30);
    for (std::int32_t r = 1; r <= 6; ++r)
        EXPECT_EQ(t.GetSortOrder(r), r);
}

TEST(TStringArray_Rows, InsertRowOnSortedTableShowsPhysicalOrderWithNewRow) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(1, 3));
    t.SetString(1, 1, "c");
    t.SetString(1, 2, "a");
    t.SetString(1, 3, "b");
    t.SetRowAttrib(1, 3);
    t.Sort(1, 0, true);
    ASSERT_EQ(Column(t, 1), Strs({"a", "b", "c"}));  // shown: physical rows 2, 3, 1
    t.InsertRow(3);  // shown row 3 is physical row 1: the empty row goes there physically
    EXPECT_EQ(t.NrOfRows(), 4);
    EXPECT_EQ(Column(t, 1), Strs({"c", "a", "", "b"}));
    EXPECT_EQ(t.GetSortOrder(1), 2);
    EXPECT_EQ(t.GetSortOrder(2), 3);
    EXPECT_EQ(t.GetSortOrder(3), 1);
    EXPECT_EQ(t.GetSortOrder(4), 4);
    EXPECT_EQ(t.GetRowAttrib(1), 3);
    EXPECT_EQ(t.GetRowAttrib(3), 0);
    TStringArray u;
    u.Assign(&t);
    u.UnSort();
    EXPECT_EQ(Column(u, 1), Strs({"", "c", "a", "b"}));
    t.CommitSorting();
    EXPECT_EQ(Column(t, 1), Strs({"c", "a", "", "b"}));
    for (std::int32_t r = 1; r <= 4; ++r)
        EXPECT_EQ(t.GetSortOrder(r), r);
}

TEST(TStringArray_Rows, RemoveRowShiftsRowsUp) {
    TStringArray t;
    Number(t, 2, 4);
    for (std::int32_t r = 1; r <= 4; ++r)
        t.SetRowAttrib(r, static_cast<std::uint8_t>(r));
    t.RemoveRow(2);
    EXPECT_EQ(t.NrOfRows(), 3);
    EXPECT_EQ(Column(t, 0), Strs({"0:1", "0:3", "0:4"}));
    EXPECT_EQ(Column(t, 2), Strs({"2:1", "2:3", "2:4"}));
    EXPECT_EQ(t.GetRowAttrib(2), 3);
    t.RemoveRow(3);
    EXPECT_EQ(Column(t, 1), Strs({"1:1", "1:3"}));
    t.RemoveRow(1);
    EXPECT_EQ(Column(t, 1), Strs({"1:3"}));
    EXPECT_EQ(t.GetRowAttrib(1), 3);
    // A row that comes back is empty.
    t.AddRow();
    EXPECT_EQ(Column(t, 1), Strs({"1:3", ""}));
    EXPECT_EQ(t.GetRowAttrib(2), 0);
}

TEST(TStringArray_Rows, RemoveRowOnSortedTableRemovesShownRow) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(1, 3));
    t.SetString(1, 1, "c");
    t.SetString(1, 2, "a");
    t.SetString(1, 3, "b");
    t.Sort(1, 0, true);
    t.RemoveRow(1);  // "a", physical row 2
    EXPECT_EQ(Column(t, 1), Strs({"c", "b"}));
    EXPECT_EQ(t.GetSortOrder(1), 1);
    EXPECT_EQ(t.GetSortOrder(2), 2);
}

TEST(TStringArray_Rows, RemovingOnlyRowEmptiesIt) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(2, 1));
    t.SetString(1, 1, "abc");
    t.SetRowAttrib(1, 9);
    ASSERT_EQ(t.PoolFirstFree(1), 5);
    t.RemoveRow(1);
    EXPECT_EQ(t.NrOfRows(), 1);
    EXPECT_EQ(t.GetString(0, 1), "");
    EXPECT_EQ(t.GetString(1, 1), "");
    EXPECT_EQ(t.GetString(2, 1), "");
    EXPECT_EQ(t.GetRowAttrib(1), 0);
    // The cells are written empty: the two that never held text take one byte each.
    EXPECT_EQ(t.PoolFirstFree(1), 7);
    t.GarbageCollection();
    EXPECT_EQ(t.PoolFirstFree(1), 4);
}

TEST(TStringArray_Rows, CopyRowCopiesTextsAndAttribute) {
    TStringArray t;
    Number(t, 2, 3);
    t.SetRowAttrib(1, 5);
    t.SetRowAttrib(3, 6);
    t.CopyRow(1, 3);
    EXPECT_EQ(t.GetString(0, 3), "0:1");
    EXPECT_EQ(t.GetString(2, 3), "2:1");
    EXPECT_EQ(t.GetRowAttrib(3), 5);
    EXPECT_EQ(t.GetString(2, 1), "2:1");
    // The copies are the target's own: writing one leaves the other.
    t.SetString(1, 3, "x");
    EXPECT_EQ(t.GetString(1, 1), "1:1");
    const std::string before = Snapshot(t);
    t.CopyRow(2, 2);
    EXPECT_EQ(Snapshot(t), before);
    // Copying an empty row over a full one writes empty texts.
    t.AddRow();
    t.CopyRow(4, 1);
    EXPECT_EQ(t.GetString(0, 1), "");
    EXPECT_EQ(t.GetString(2, 1), "");
    EXPECT_EQ(t.GetRowAttrib(1), 0);
}

TEST(TStringArray_Rows, CopyRowUsesShownRows) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(1, 3));
    t.SetString(1, 1, "c");
    t.SetString(1, 2, "a");
    t.SetString(1, 3, "b");
    t.Sort(1, 0, true);  // shows a, b, c
    t.CopyRow(1, 3);
    EXPECT_EQ(Column(t, 1), Strs({"a", "b", "a"}));
    t.UnSort();
    EXPECT_EQ(Column(t, 1), Strs({"a", "a", "b"}));
}

TEST(TStringArray_Shape, OutOfRangeArgumentsChangeNothing) {
    TStringArray t;
    Number(t, 3, 4);
    t.SetRowAttrib(2, 8);
    t.SetColAttrib(3, 9);
    ChangeCount changes(t);
    const std::string before = Snapshot(t);
    for (std::int32_t x : {0, -1, 5, INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1}) {
        t.InsertRow(x);
        t.RemoveRow(x);
        t.CopyRow(x, 1);
        t.CopyRow(1, x);
        t.CopyRow(x, x);
    }
    for (std::int32_t x : {0, -1, 4, INT_MIN, INT_MAX}) {
        t.InsertColumn(x);
        t.RemoveColumn(x);
    }
    EXPECT_EQ(Snapshot(t), before);
    EXPECT_EQ(changes.n, 0);
}

// ---- columns ---------------------------------------------------------------------------------

TEST(TStringArray_Columns, InsertColumnShiftsTextsAndAttributes) {
    TStringArray t;
    Number(t, 3, 2);
    t.SetColAttrib(1, 1);
    t.SetColAttrib(2, 2);
    t.SetColAttrib(3, 3);
    t.InsertColumn(2);
    ASSERT_EQ(t.NrOfColumns(), 4);
    EXPECT_EQ(Column(t, 0), Strs({"0:1", "0:2"}));
    EXPECT_EQ(Column(t, 1), Strs({"1:1", "1:2"}));
    EXPECT_EQ(Column(t, 2), Strs({"", ""}));
    EXPECT_EQ(Column(t, 3), Strs({"2:1", "2:2"}));
    EXPECT_EQ(Column(t, 4), Strs({"3:1", "3:2"}));
    EXPECT_EQ(t.GetColAttrib(1), 1);
    EXPECT_EQ(t.GetColAttrib(2), 0);
    EXPECT_EQ(t.GetColAttrib(3), 2);
    EXPECT_EQ(t.GetColAttrib(4), 3);
    t.InsertColumn(1);
    EXPECT_EQ(Column(t, 0), Strs({"0:1", "0:2"}));
    EXPECT_EQ(Column(t, 1), Strs({"", ""}));
    EXPECT_EQ(Column(t, 2), Strs({"1:1", "1:2"}));
    EXPECT_EQ(Column(t, 5), Strs({"3:1", "3:2"}));
    EXPECT_EQ(t.GetColAttrib(5), 3);
}

TEST(TStringArray_Columns, InsertColumnWritesEmptyCells) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(1, 3));
    t.InsertColumn(1);  // column 2 receives three empty texts, column 1 is written empty
    t.GarbageCollection();
    EXPECT_EQ(PoolBytes(t), 6);
}

TEST(TStringArray_Columns, RemoveColumnShiftsTextsAndAttributes) {
    TStringArray t;
    Number(t, 3, 2);
    t.SetColAttrib(1, 1);
    t.SetColAttrib(2, 2);
    t.SetColAttrib(3, 3);
    t.RemoveColumn(1);
    ASSERT_EQ(t.NrOfColumns(), 2);
    EXPECT_EQ(Column(t, 0), Strs({"0:1", "0:2"}));
    EXPECT_EQ(Column(t, 1), Strs({"2:1", "2:2"}));
    EXPECT_EQ(Column(t, 2), Strs({"3:1", "3:2"}));
    EXPECT_EQ(t.GetColAttrib(1), 2);
    EXPECT_EQ(t.GetColAttrib(2), 3);
    t.RemoveColumn(2);
    ASSERT_EQ(t.NrOfColumns(), 1);
    EXPECT_EQ(Column(t, 1), Strs({"2:1", "2:2"}));
    EXPECT_EQ(t.GetColAttrib(1), 2);
}

TEST(TStringArray_Columns, RemovingOnlyColumnEmptiesIt) {
    TStringArray t;
    Number(t, 1, 3);
    t.SetColAttrib(1, 7);
    t.RemoveColumn(1);
    EXPECT_EQ(t.NrOfColumns(), 1);
    EXPECT_EQ(t.NrOfRows(), 3);
    EXPECT_EQ(Column(t, 1), Strs({"", "", ""}));
    EXPECT_EQ(Column(t, 0), Strs({"0:1", "0:2", "0:3"}));
    EXPECT_EQ(t.GetColAttrib(1), 0);
}

TEST(TStringArray_Columns, RemoveColumnOnSortedTable) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(2, 3));
    for (std::int32_t r = 1; r <= 3; ++r) {
        t.SetString(1, r, std::string(1, static_cast<char>('d' - r)));  // c, b, a
        t.SetString(2, r, "x" + std::to_string(r));
    }
    t.Sort(1, 0, true);
    t.RemoveColumn(1);
    EXPECT_EQ(Column(t, 1), Strs({"x1", "x2", "x3"}));
    EXPECT_EQ(t.GetSortOrder(1), 1);
}

// ---- whole table -----------------------------------------------------------------------------

TEST(TStringArray_Clear, EmptiesCellsAndPoolsButKeepsShape) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(3, 200));
    t.Fill(std::string(200, 'f'));
    ASSERT_GT(t.NumBuffers(), 1);
    t.SetColAttrib(2, 4);
    t.SetRowAttrib(7, 4);
    t.Sort(0, 0, false);
    ChangeCount changes(t);
    t.Clear();
    EXPECT_EQ(changes.n, 0);
    EXPECT_EQ(t.NrOfColumns(), 3);
    EXPECT_EQ(t.NrOfRows(), 200);
    EXPECT_EQ(t.NumBuffers(), 1);
    EXPECT_EQ(t.PoolFirstFree(1), 1);
    EXPECT_EQ(t.PoolFirstFree(2), 0);
    EXPECT_EQ(t.GetColAttrib(2), 0);
    EXPECT_EQ(t.GetRowAttrib(7), 0);
    for (std::int32_t r = 1; r <= 200; ++r) {
        EXPECT_EQ(t.GetSortOrder(r), r);
        for (std::int32_t c = 0; c <= 3; ++c)
            ASSERT_EQ(t.GetString(c, r), "");
    }
    t.SetString(2, 5, "again");
    EXPECT_EQ(t.PoolFirstFree(1), 7);
    EXPECT_EQ(t.GetString(2, 5), "again");
}

TEST(TStringArray_Fill, WritesEveryCellAndNotifiesPerCell) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(2, 3));
    ChangeCount changes(t);
    t.Fill("ab");
    EXPECT_EQ(changes.n, 9);
    for (std::int32_t c = 0; c <= 2; ++c)
        EXPECT_EQ(Column(t, c), Strs({"ab", "ab", "ab"}));
    EXPECT_EQ(t.PoolFirstFree(1), 1 + 9 * 3);
    t.Fill("x");  // in place everywhere
    EXPECT_EQ(t.PoolFirstFree(1), 1 + 9 * 3);
    EXPECT_EQ(t.GetString(2, 3), "x");
    EXPECT_EQ(changes.n, 18);
}

TEST(TStringArray_Fill, EmptyTextClears) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(2, 300));
    t.Fill(std::string(255, 'z'));
    t.SetRowAttrib(1, 1);
    ASSERT_GT(t.NumBuffers(), 1);
    ChangeCount changes(t);
    t.Fill("");
    EXPECT_EQ(changes.n, 0);
    EXPECT_EQ(t.NumBuffers(), 1);
    EXPECT_EQ(t.PoolFirstFree(1), 1);
    EXPECT_EQ(t.GetString(1, 1), "");
    EXPECT_EQ(t.GetRowAttrib(1), 0);
    EXPECT_EQ(t.NrOfRows(), 300);
}

TEST(TStringArray_Empty, BlanksCountAsEmpty) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(2, 3));
    EXPECT_TRUE(t.ColumnEmpty(0));
    EXPECT_TRUE(t.ColumnEmpty(2));
    EXPECT_TRUE(t.RowEmpty(2));
    t.SetString(1, 2, "   ");
    t.SetString(2, 3, "");
    EXPECT_TRUE(t.ColumnEmpty(1));
    EXPECT_TRUE(t.RowEmpty(2));
    t.SetString(0, 2, "zero");  // column 0 does not count for a row
    EXPECT_TRUE(t.RowEmpty(2));
    EXPECT_FALSE(t.ColumnEmpty(0));
    t.SetString(2, 2, " \t ");  // a tab is not a blank
    EXPECT_FALSE(t.RowEmpty(2));
    EXPECT_FALSE(t.ColumnEmpty(2));
    t.SetString(2, 2, "\xA0");  // nor is a no-break space
    EXPECT_FALSE(t.RowEmpty(2));
    t.SetString(1, 3, " . ");
    EXPECT_FALSE(t.ColumnEmpty(1));
    EXPECT_FALSE(t.RowEmpty(3));
    EXPECT_TRUE(t.RowEmpty(1));
    for (std::int32_t x : {-1, 3, INT_MIN, INT_MAX}) {
        EXPECT_TRUE(t.ColumnEmpty(x));
        EXPECT_TRUE(t.RowEmpty(x == 3 ? 4 : x));
    }
    EXPECT_TRUE(t.RowEmpty(0));
}

// ---- copying ---------------------------------------------------------------------------------

TEST(TStringArray_Assign, MakesExactIndependentCopy) {
    TStringArray a;
    ASSERT_TRUE(a.Resize(3, 140));
    a.SetAllocRowsBy(7);
    a.Fill(std::string(100, 'g'));  // several pools
    for (std::int32_t r = 1; r <= 140; r += 3)
        a.SetString(r % 4, r, "short" + std::to_string(r));
    a.SetString(1, 2, std::string(150, 'G'));  // garbage behind it
    a.SetColAttrib(3, 33);
    a.SetRowAttrib(5, 55);
    a.Sort(0, 1, false);  // a pending order is copied as it is
    TStringArray b;
    ASSERT_TRUE(b.Resize(1, 2));
    b.SetString(1, 1, "old");
    ChangeCount changesA(a);
    ChangeCount changesB(b);
    b.Assign(&a);
    EXPECT_EQ(changesA.n + changesB.n, 0);
    EXPECT_EQ(Snapshot(b), Snapshot(a));
    EXPECT_GT(b.NumBuffers(), 1);
    EXPECT_EQ(b.AllocRowsBy(), 7);
    EXPECT_EQ(b.RowsAllocated(), a.RowsAllocated());
    // Garbage is copied too: the same writes place texts at the same offsets in both.
    a.SetString(2, 9, std::string(120, '1'));
    b.SetString(2, 9, std::string(120, '1'));
    a.GarbageCollection();
    b.GarbageCollection();
    EXPECT_EQ(Snapshot(b), Snapshot(a));
    // Independence, including in-place overwrites of slots that were copied.
    const std::string before = Snapshot(a);
    b.SetString(1, 2, "X");
    b.SetString(0, 1, std::string(255, 'Y'));
    b.SetRowAttrib(1, 1);
    b.SetColAttrib(1, 1);
    b.UnSort();
    EXPECT_EQ(Snapshot(a), before);
    const std::string copy = Snapshot(b);
    a.Fill("A");
    a.SetString(1, 2, "Q");
    EXPECT_EQ(Snapshot(b), copy);
}

TEST(TStringArray_Assign, CopiesEventHandlers) {
    TStringArray a;
    ASSERT_TRUE(a.Resize(1, 3));
    std::int32_t changes = 0, percents = 0, keys = 0;
    a.SetOnChange([&](TObject*) { ++changes; });
    a.SetOnPercentDone([&](TObject*, std::int32_t) { ++percents; });
    a.SetOnBeforeSortExchange([&](TObject*, const String&, String&) { ++keys; });
    TStringArray b;
    b.Assign(&a);
    EXPECT_EQ(changes, 0);
    b.SetString(1, 1, "x");
    EXPECT_EQ(changes, 1);
    b.Sort(1, 0, true);
    EXPECT_EQ(changes, 2);
    EXPECT_GT(percents, 2);
    EXPECT_GT(keys, 0);
    // The handlers that Assign delivers are called with the copy as sender.
    TObject* sender = nullptr;
    a.SetOnChange([&](TObject* s) { sender = s; });
    b.Assign(&a);
    b.SetString(1, 2, "y");
    EXPECT_EQ(sender, &b);
}

TEST(TStringArray_Assign, SelfAssignmentKeepsTable) {
    TStringArray a;
    Number(a, 2, 12);
    a.Sort(1, 0, false);
    const std::string before = Snapshot(a);
    a.Assign(&a);
    EXPECT_EQ(Snapshot(a), before);
}

TEST(TStringArray_Assign, OtherClassesRaiseConvertError) {
    TStringArray t;
    t.SetString(1, 1, "stay");
    TStringList list;
    list.Add(u"line");
    EXPECT_THROW(t.Assign(&list), EConvertError);
    EXPECT_EQ(t.GetString(1, 1), "stay");
    EXPECT_THROW(t.AssignTo(&list), EConvertError);
    EXPECT_THROW(list.Assign(&t), EConvertError);
    try {
        t.Assign(&list);
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a TStringList to a TStringArray");
    }
}

TEST(TStringArray_Assign, AssignToCopiesIntoAnotherTable) {
    TStringArray a, b;
    Number(a, 2, 4);
    a.SetRowAttrib(2, 2);
    a.AssignTo(&b);
    EXPECT_EQ(Snapshot(b), Snapshot(a));
    b.SetString(1, 1, "b");
    EXPECT_EQ(a.GetString(1, 1), "1:1");
}

// ---- numbers ---------------------------------------------------------------------------------

TEST(TStringArray_Numbers, ReadsDecimalTextWithCommaOrPoint) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(2, 2));
    auto num = [&](const char* s) {
        t.SetString(1, 1, s);
        return t.GetAsNumber(1, 1);
    };
    auto integer = [&](const char* s) {
        t.SetString(1, 1, s);
        return t.GetAsInteger(1, 1);
    };
    EXPECT_EQ(integer(" 2,5 "), 2);
    EXPECT_DOUBLE_EQ(num(" 2,5 "), 2.5);
    EXPECT_EQ(integer("3.5"), 4);
    EXPECT_EQ(integer("-2.5"), -2);
    EXPECT_EQ(integer("-3.5"), -4);
    EXPECT_EQ(integer("0.5"), 0);
    EXPECT_EQ(integer("2.5000001"), 3);
    EXPECT_EQ(integer("-0.4"), 0);
    EXPECT_DOUBLE_EQ(num(""), 0.0);
    EXPECT_DOUBLE_EQ(num("    "), 0.0);
    EXPECT_EQ(integer("   "), 0);
    EXPECT_DOUBLE_EQ(num("+7"), 7.0);
    EXPECT_DOUBLE_EQ(num("-1,25E2"), -125.0);
    EXPECT_DOUBLE_EQ(num("1e-3"), 0.001);
    EXPECT_DOUBLE_EQ(num("  42"), 42.0);
    EXPECT_EQ(integer("1e12"), 2147483647);
    EXPECT_EQ(integer("-1e12"), -2147483647);
    EXPECT_EQ(integer("2147483647.4"), 2147483647);
    EXPECT_EQ(integer("-2147483647"), -2147483647);
    EXPECT_EQ(integer("-2147483648"), -2147483647);
    EXPECT_EQ(integer("-2147483646.6"), -2147483647);
    EXPECT_DOUBLE_EQ(num("1e12"), 1e12);
    // Column 0 and shown rows.
    t.SetString(0, 2, "9,75");
    EXPECT_DOUBLE_EQ(t.AsNumber(0, 2), 9.75);
    EXPECT_EQ(t.AsInteger(0, 2), 10);
    // Outside the table the empty text reads as 0.
    EXPECT_DOUBLE_EQ(t.GetAsNumber(3, 1), 0.0);
    EXPECT_EQ(t.GetAsInteger(1, INT_MIN), 0);
}

TEST(TStringArray_Numbers, InvalidTextRaisesWithCellPosition) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(2, 3));
    t.SetString(1, 2, "12abc");
    try {
        (void)t.GetAsNumber(1, 2);
        ADD_FAILURE() << "no exception";
    } catch (const EQORDStructError& e) {
        EXPECT_EQ(e.Message(), u"Class TStringArray: invalid numeric string: [1,2]: 12abc");
        EXPECT_STREQ(e.what(), "Class TStringArray: invalid numeric string: [1,2]: 12abc");
    }
    EXPECT_THROW((void)t.GetAsInteger(1, 2), EQORDStructError);
    // The message shows the text as stored, before blanks and commas are dealt with.
    t.SetString(2, 3, " 1,2,3 ");
    try {
        (void)t.GetAsInteger(2, 3);
        ADD_FAILURE() << "no exception";
    } catch (const EQORDStructError& e) {
        EXPECT_EQ(e.Message(), u"Class TStringArray: invalid numeric string: [2,3]:  1,2,3 ");
    }
    t.SetString(0, 1, "\x80");
    try {
        (void)t.GetAsNumber(0, 1);
        ADD_FAILURE() << "no exception";
    } catch (const EQORDStructError& e) {
        EXPECT_EQ(e.Message(), u"Class TStringArray: invalid numeric string: [0,1]: \u20AC");
    }
    for (const char* bad :
         {"\t5", "5\t", "1 000", "inf", "-inf", "INF",  "nan", "NaN", "infinity", "0x10",
          "1e",  "e5",  ".",     "-",   "+",    "1..2", "--1", "1e+", "abc",      "5\xA0"}) {
        t.SetString(1, 1, bad);
        EXPECT_THROW((void)t.GetAsNumber(1, 1), EQORDStructError) << bad;
        EXPECT_THROW((void)t.GetAsInteger(1, 1), EQORDStructError) << bad;
    }
}

// ---- notifications ---------------------------------------------------------------------------

TEST(TStringArray_Notifications, OneChangePerWriteAndShapeChange) {
    TStringArray t;
    ASSERT_TRUE(t.Resize(2, 3));
    ChangeCount changes(t);
    auto count = [&](auto&& op) {
        const std::int32_t before = changes.n;
        op();
        return changes.n - before;
    };
    EXPECT_EQ(count([&] { t.SetString(1, 1, "a"); }), 1);
    EXPECT_EQ(count([&] { t.SetString(1, 1, "a"); }), 1);  // the same text still counts
    EXPECT_EQ(count([&] { t.SetText(2, 2, u"b"); }), 1);
    EXPECT_EQ(count([&] { t.SetRowAttrib(3, 1); }), 1);
    EXPECT_EQ(count([&] { t.SetColAttrib(2, 1); }), 1);
    EXPECT_EQ(count([&] { t.Resize(2, 4); }), 1);
    EXPECT_EQ(count([&] { t.AddRow(); }), 1);
    EXPECT_EQ(count([&] { t.SetNrOfRows(3); }), 1);
    EXPECT_EQ(count([&] { t.GarbageCollection(); }), 0);
    EXPECT_EQ(count([&] { t.SetAllocRowsBy(4); }), 0);
    EXPECT_EQ(count([&] { t.Fill("f"); }), 9);
    EXPECT_EQ(count([&] { t.CopyRow(1, 2); }), 4);  // one per cell and one for the attribute
    EXPECT_EQ(count([&] { t.Sort(1, 0, true); }), 1);
    EXPECT_EQ(count([&] { t.SetSortOrder(1, 2); }), 0);
    EXPECT_EQ(count([&] { t.CommitSorting(); }), 0);
    EXPECT_EQ(count([&] { t.UnSort(); }), 1);
    // Rows move as a whole: the resize and the new view.
    EXPECT_EQ(count([&] { t.InsertRow(2); }), 2);
    EXPECT_EQ(count([&] { t.RemoveRow(2); }), 1);
    // Columns move through their cells and attributes: 3 rows x 2 moved columns, 3 empty
    // cells, 3 attributes and a resize; removal moves 2 columns and resizes.
    EXPECT_EQ(count([&] { t.InsertColumn(1); }), 13);
    EXPECT_EQ(count([&] { t.RemoveColumn(1); }), 9);
    EXPECT_EQ(count([&] { t.Clear(); }), 0);
    EXPECT_EQ(count([&] { (void)t.Resize(2, 3); }), 0);
    TStringArray u;
    EXPECT_EQ(count([&] { u.Assign(&t); }), 0);
    EXPECT_EQ(count([&] { t.Resize(1, 1); }), 1);
    EXPECT_EQ(count([&] { t.RemoveRow(1); }), 3);     // two cells and the attribute
    EXPECT_EQ(count([&] { t.RemoveColumn(1); }), 2);  // one cell and the attribute
    EXPECT_EQ(count([&] { t.Sort(1, 1, true); }), 0);
    EXPECT_EQ(count([&] { t.Changed(); }), 1);
    t.SetOnChange(nullptr);
    t.Changed();
    t.SetString(1, 1, "quiet");
    EXPECT_EQ(t.GetString(1, 1), "quiet");
}

// ---- against the reference model -------------------------------------------------------------

TEST(TStringArray_Model, RandomOperationsMatchReferenceModel) {
    for (std::uint32_t seed : {20240601u, 77u, 31337u}) {
        std::mt19937 gen(seed);
        std::vector<std::uint8_t> bytes(120000);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(gen() >> 24);
        model::OpRunner runner;
        EXPECT_EQ(runner.Run(bytes.data(), bytes.size(), 3000), "") << "seed " << seed;
    }
}

TEST(TStringArray_Model, ModelNoticesDifferences) {
    // The comparison is only worth something if it sees a difference.
    TStringArray t;
    model::StringTableModel m;
    EXPECT_EQ(model::OpRunner::Compare(t, m), "");
    m.SetString(1, 1, "x");
    EXPECT_NE(model::OpRunner::Compare(t, m), "");
    t.SetString(1, 1, "x");
    EXPECT_EQ(model::OpRunner::Compare(t, m), "");
    t.SetRowAttrib(1, 3);
    EXPECT_NE(model::OpRunner::Compare(t, m), "");
    m.SetRowAttrib(1, 3);
    m.SetString(0, 1, "y");
    t.SetString(0, 1, "yy");
    EXPECT_NE(model::OpRunner::Compare(t, m), "");
}

}  // namespace
}  // namespace qorkit
