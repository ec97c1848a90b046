// TBitFld, TByteMatrix, TFifo and TStringAccu: documented edges, the mended faults, the
// messages, and random operation streams against reference models.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>

#include "../../src/dstruct/bit_count.h"
#include "bit_byte_model.h"
#include "failing_allocation.h"
#include "qorkit/Qor_dstruct.h"
#include "qorkit/rtl/exceptions.h"

// The replacement below pairs malloc with free on purpose; GCC sees only the inlined pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace qorkit::testing {
std::atomic<std::size_t> gFailAllocationsFrom{0};
}  // namespace qorkit::testing

// Every unaligned form is replaced, so that no allocation made by one runtime (a sanitizer's, say)
// is ever released by the other.
namespace {
void* AllocateOrNull(std::size_t n) noexcept {
    const std::size_t limit = qorkit::testing::gFailAllocationsFrom.load();
    if (limit != 0 && n >= limit) return nullptr;
    return std::malloc(n == 0 ? 1 : n);
}
void* AllocateOrThrow(std::size_t n) {
    if (void* p = AllocateOrNull(n)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t n) {
    return AllocateOrThrow(n);
}
void* operator new[](std::size_t n) {
    return AllocateOrThrow(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return AllocateOrNull(n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return AllocateOrNull(n);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace qorkit {
namespace {

using testing::FailAllocationsFrom;

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EQORDStructError& e) {
        return e.what();
    }
    return "(nothing raised)";
}

TEST(TBitFld_Basics, SizePlusOneBitsAndTheirQueries) {
    TBitFld f;
    EXPECT_EQ(f.Size(), 1000);
    EXPECT_EQ(f.BitArray().size(), 127u);
    EXPECT_EQ(f.FirstTrueBit(), -1);
    TIntArray list{42};
    f.MakeListOfBits(list, true);
    EXPECT_TRUE(list.empty());
    f.MakeListOfBits(list, false);
    ASSERT_EQ(list.size(), 1001u);
    EXPECT_EQ(list.front(), 0);
    EXPECT_EQ(list.back(), 1000);

    f.SetBit(1000, true);
    EXPECT_TRUE(f.GetBit(1000));
    EXPECT_EQ(f.CountTrueBits(), 1);
    EXPECT_EQ(f.FirstTrueBit(), 1000);
    for (std::int32_t ix : {1001, -1, 1 << 30, -2147483647 - 1}) {
        f.SetBit(ix, true);
        f.ToggleBit(ix);
        EXPECT_FALSE(f.GetBit(ix));
    }
    EXPECT_EQ(f.CountTrueBits(), 1);
    f.SetBit(65, true);
    f.ToggleBit(3);
    EXPECT_EQ(f.FirstTrueBit(), 3);
    f.MakeListOfBits(list, true);
    EXPECT_EQ(list, (TIntArray{3, 65, 1000}));
    f.SetBit(3, false);
    EXPECT_EQ(f.FirstTrueBit(), 65);
    f.Clear();
    EXPECT_EQ(f.CountTrueBits(), 0);

    f.SetSize(0);
    f.SetSize(-5);
    EXPECT_EQ(f.Size(), 1000);
    f.SetSize(7);
    EXPECT_EQ(f.BitArray().size(), 2u);
}

TEST(TBitFld_Basics, CombineWithEveryOperation) {
    // Own bits 0011, other 0101 (bit 0 first) over a field of Size 3.
    const bool want[6][4] = {{0, 0, 0, 1}, {0, 1, 1, 1}, {0, 1, 1, 0},
                             {0, 0, 1, 0}, {1, 0, 1, 1}, {1, 0, 0, 1}};
    for (int op = 0; op < 6; ++op) {
        TBitFld a, b;
        a.SetSize(3);
        b.SetSize(3);
        a.SetBit(2, true), a.SetBit(3, true);
        b.SetBit(1, true), b.SetBit(3, true);
        a.CombineWith(&b, static_cast<TLogicOp>(op));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(a.GetBit(i), want[op][i]) << "op " << op << " bit " << i;
        EXPECT_EQ(a.BitArray()[0] >> 4, 0) << "padding set by op " << op;
    }
    // With itself: and, or keep; xor, and-not clear; or-not, xor-not set all Size + 1 bits.
    for (int op = 0; op < 6; ++op) {
        TBitFld self;
        self.SetSize(20);
        self.SetBit(4, true);
        self.CombineWith(&self, static_cast<TLogicOp>(op));
        EXPECT_EQ(self.CountTrueBits(), (op < 2 ? 1 : op < 4 ? 0 : 21)) << "op " << op;
        EXPECT_EQ(self.BitArray()[2] >> 5, 0);
    }
    TByteMatrix m;
    m.SetByte(1, 1, 0x5A);
    m.CombineWith(&m, loXORNot);
    EXPECT_EQ(m.GetByte(1, 1), 0xFF);

    TBitFld a, other;
    other.SetSize(999);
    a.SetBit(5, true);
    a.CombineWith(&other, loAND);
    a.CombineWith(nullptr, loAND);
    a.CombineWith(&a, static_cast<TLogicOp>(9));
    EXPECT_TRUE(a.GetBit(5));
}

TEST(TBitFld_Padding, StaysClearSoAGrownFieldShowsNoStrayBits) {
    // Invert, an OR NOT combination and a random fill of almost all bits would set the bits
    // beyond Size; after growing, the new range must read false.
    const std::function<void(TBitFld&)> fills[] = {
        [](TBitFld& f) { f.Invert(); },
        [](TBitFld& f) {
            TBitFld empty;
            empty.SetSize(f.Size());
            f.CombineWith(&empty, loORNot);
        },
        [](TBitFld& f) { f.RandomFill(f.Size()); },
        [](TBitFld& f) { f.SetRandBitsIntern(f.Size() + 1); },
    };
    for (const auto& fill : fills) {
        TBitFld f;
        f.SetSize(10);
        fill(f);
        EXPECT_GE(f.CountTrueBits(), 10);
        f.SetSize(100);
        for (int ix = 11; ix <= 100; ++ix)
            ASSERT_FALSE(f.GetBit(ix)) << ix;
    }
    // Shrinking keeps no bits above the new size either.
    TBitFld f;
    f.Invert();
    f.SetSize(12);
    EXPECT_EQ(f.CountTrueBits(), 13);
    f.SetSize(40);
    EXPECT_EQ(f.CountTrueBits(), 13);
    EXPECT_EQ(f.FirstTrueBit(), 0);
}

TEST(TBitFld_Random, FixedSeedGivesTheDocumentedDraws) {
    // Computed independently from the recurrence s := s * 134775813 + 1 and ix = round(s /
    // 2^32 x Size), halves to even.
    TBitFld f;
    f.SetSize(20);
    RandSeed = 1;
    f.RandomFill(5);
    TIntArray list;
    f.MakeListOfBits(list, true);
    EXPECT_EQ(list, (TIntArray{1, 4, 5, 13, 17}));
    EXPECT_EQ(RandSeed, 2884733762u);
    RandSeed = 1;
    f.RandomFill(15);  // more than half: all set, then cleared down to 15
    f.MakeListOfBits(list, false);
    EXPECT_EQ(list, (TIntArray{1, 4, 5, 6, 13, 17}));
    EXPECT_EQ(RandSeed, 1368768587u);
}

TEST(TBitFld_Random, CountsAreClampedAndExact) {
    TBitFld f;
    struct Case {
        std::function<void()> fill;
        std::int32_t trues;
    };
    for (const Case& c : std::vector<Case>{
             {[&] { f.RandomFill(1000); }, 1000},
             {[&] { f.RandomFill(2000); }, 1000},
             {[&] { f.RandomFill(0); }, 0},
             {[&] { f.RandomFill(-3); }, 0},
             {[&] { f.RandomFill(150.0); }, 1000},
             {[&] { f.RandomFill(-1.0); }, 0},
             {[&] { f.RandomFill(0.05); }, 0},  // 0.5 rounds to even
             {[&] { f.RandomFill(0.15); }, 2},  // 1.5 rounds to even
             {[&] { f.RandomFill(33.3); }, 333},
             {[&] { f.RandomFill(std::nan("")); }, 0},
             {[&] { f.SetRandBitsIntern(1001); }, 1001},
             {[&] { f.SetRandBitsIntern(5000); }, 1001},  // would never end unclamped
             {[&] { f.SetRandBitsIntern(-9); }, 0},
             {[&] { f.SetRandBitsIntern(501); }, 501},
             {[&] { f.SetRandBitsIntern(500); }, 500},
         }) {
        f.Invert();  // leftovers must not survive a fill
        c.fill();
        EXPECT_EQ(f.CountTrueBits(), c.trues);
    }
}

TEST(TBitFld_Count, ProcessorAndTablePathsAgree) {
    std::mt19937 gen(7);
    std::vector<std::uint8_t> bytes(1000);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(gen());
    for (std::size_t len : {0u, 1u, 7u, 8u, 31u, 32u, 33u, 999u, 1000u}) {
        std::uint64_t slow = 0;
        for (std::size_t i = 0; i < len; ++i)
            slow += static_cast<std::uint64_t>(std::popcount(bytes[i]));
        EXPECT_EQ(detail::CountBitsTable(bytes.data(), len), slow);
        EXPECT_EQ(detail::CountBits(bytes.data(), len), slow);
    }
    EXPECT_STRNE(BitCountImplementation(), "");
}

TEST(TBitFld_Copy, CloneAssignAndAssignTo) {
    TBitFld a, b;
    a.SetSize(77);
    a.SetBit(76, true);
    b.Assign(&a);
    EXPECT_EQ(b.Size(), 77);
    EXPECT_TRUE(b.GetBit(76));
    TBitFld c;
    c.Clone(nullptr);
    EXPECT_EQ(c.Size(), 1000);
    a.AssignTo(&c);
    EXPECT_EQ(c.BitArray(), a.BitArray());
    TByteMatrix m;
    EXPECT_THROW(c.Assign(&m), EConvertError);
    EXPECT_THROW(m.Assign(&c), EConvertError);
}

TEST(TByteMatrix_Basics, CellsBitsDefaultsAndNotifications) {
    TByteMatrix m;
    int changes = 0;
    TObject* sender = nullptr;
    m.SetOnChange([&](TObject* s) {
        sender = s;
        ++changes;
    });
    EXPECT_EQ(m.NrOfColumns(), 1);
    EXPECT_EQ(m.GetByte(1, 1), 0);
    EXPECT_FALSE(m.Resize(1, 1));
    EXPECT_FALSE(m.Resize(0, 3));
    EXPECT_FALSE(m.Resize(3, -1));
    EXPECT_EQ(changes, 0);
    ASSERT_TRUE(m.Resize(3, 2));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &m);
    m.SetByte(3, 2, 0x81);
    m.SetByte(4, 1, 9);  // out of range: ignored, no notification
    EXPECT_EQ(changes, 2);
    m.SetDefaultValue(8);
    EXPECT_EQ(m.GetByte(0, 0), 8);
    EXPECT_TRUE(m.GetBit(0, 0, 3));
    EXPECT_FALSE(m.GetBit(0, 0, 2));
    EXPECT_FALSE(m.GetBit(0, 0, 8));
    EXPECT_TRUE(m.GetBit(3, 2, 7));
    m.SetBit(3, 2, 7, false);
    m.ToggleBit(3, 2, 1);
    m.SetBit(3, 2, 8, true);
    m.ToggleBit(3, 3, 1);
    EXPECT_EQ(m.GetByte(3, 2), 0x03);
    EXPECT_EQ(changes, 4);

    m.SetNrCols(0);  // one column
    EXPECT_EQ(m.NrOfColumns(), 1);
    m.SetNrRows(3);
    m.SetByte(1, 3, 7);
    m.SetByte(1, 1, 5);
    m.MirrorRows();
    EXPECT_EQ(m.GetByte(1, 1), 7);
    EXPECT_EQ(m.GetByte(1, 3), 5);
    m.Resize(3, 3);  // new cells 0, not DefaultValue
    EXPECT_EQ(m.GetByte(3, 3), 0);
    m.SetByte(1, 2, 4);
    m.MirrorColumns();
    EXPECT_EQ(m.GetByte(3, 1), 7);
    EXPECT_EQ(m.GetByte(3, 2), 4);
    EXPECT_EQ(m.GetByte(1, 1), 0);
    const int before = changes;
    m.Fill(0x0F);
    EXPECT_EQ(changes, before + 1);

    TByteMatrix other;
    other.Resize(3, 3);
    other.Fill(0x3C);
    m.CombineWith(&other, loXOR);
    EXPECT_EQ(m.GetByte(2, 2), 0x33);
    other.SetNrRows(4);
    m.CombineWith(&other, loAND);
    EXPECT_EQ(m.GetByte(2, 2), 0x33);
    EXPECT_EQ(changes, before + 1);  // combinations send nothing

    TByteMatrix copy;
    copy.Assign(&m);
    EXPECT_EQ(changes, before + 1);
    EXPECT_EQ(copy.NrOfRows(), 3);
    EXPECT_EQ(copy.DefaultValue(), 8);
    copy.SetByte(1, 1, 1);  // the handler came along
    EXPECT_EQ(changes, before + 2);
    EXPECT_EQ(sender, &copy);
}

TEST(TFifo_Ring, FullQueueForceLoadBackAndSense) {
    TFifo q;
    EXPECT_EQ(q.Size(), 256);
    std::uint8_t b = 77;
    EXPECT_FALSE(q.SenseByte(0, b));
    EXPECT_FALSE(q.SenseByte(-1, b));
    EXPECT_FALSE(q.GetByte(b));
    EXPECT_EQ(b, 77);
    for (int i = 0; i < 255; ++i)
        ASSERT_TRUE(q.PutByte(static_cast<std::uint8_t>(i)));
    EXPECT_FALSE(q.PutByte(200));
    EXPECT_FALSE(q.LoadBack(200));
    EXPECT_TRUE(q.ForceByte(255));
    EXPECT_EQ(q.CountBytes(), 255);
    ASSERT_TRUE(q.SenseByte(0, b));
    EXPECT_EQ(b, 1);
    ASSERT_TRUE(q.SenseByte(254, b));
    EXPECT_EQ(b, 255);
    EXPECT_FALSE(q.SenseByte(255, b));
    q.Clear();
    EXPECT_EQ(q.CountBytes(), 0);

    q.PutByte(1);
    q.PutByte(2);
    q.LoadBack(9);
    std::vector<int> out;
    while (q.GetByte(b))
        out.push_back(b);
    EXPECT_EQ(out, (std::vector<int>{9, 1, 2}));
    EXPECT_FALSE(q.ForceByte(3));
}

TEST(TFifo_Ring, SetSizeKeepsQueuedBytesInOrder) {
    TFifo q;
    q.SetSize(8);
    for (int i = 0; i < 6; ++i)
        q.PutByte(static_cast<std::uint8_t>(i));
    std::uint8_t b;
    for (int i = 0; i < 5; ++i)
        q.GetByte(b);
    for (int i = 6; i < 11; ++i)
        q.PutByte(static_cast<std::uint8_t>(i));  // wraps: indices now 3 (in) and 5 (out)
    const auto contents = [&] {
        std::vector<int> v;
        for (int i = 0; q.SenseByte(i, b); ++i)
            v.push_back(b);
        return v;
    };
    ASSERT_EQ(contents(), (std::vector<int>{5, 6, 7, 8, 9, 10}));
    q.SetSize(20);
    EXPECT_EQ(contents(), (std::vector<int>{5, 6, 7, 8, 9, 10}));
    q.SetSize(4);  // room for 3: the oldest stay
    EXPECT_EQ(contents(), (std::vector<int>{5, 6, 7}));
    EXPECT_FALSE(q.PutByte(1));
    q.SetSize(0);
    q.SetSize(-1);
    EXPECT_EQ(q.Size(), 4);
    q.SetSize(1);  // holds nothing
    EXPECT_EQ(q.CountBytes(), 0);
    EXPECT_FALSE(q.PutByte(1));
    EXPECT_TRUE(q.ForceByte(1));
    EXPECT_EQ(q.CountBytes(), 0);
}

TEST(TStringAccu_Counts, ExactComparisonInOrderOfFirstAddition) {
    TStringAccu a;
    a.Add(u"a");
    a.Add(u"A");
    a.Add(u"a");
    a.Add(u"");
    EXPECT_EQ(a.Size(), 3);
    EXPECT_EQ(a.Elem(1), u"a");
    EXPECT_EQ(a.Count(1), 2);
    EXPECT_EQ(a.GetString(2), u"A");
    EXPECT_EQ(a.GetCount(2), 1);
    EXPECT_EQ(a.GetCount(3), 1);
    EXPECT_EQ(a.GetString(4), u"");
    EXPECT_EQ(a.GetCount(0), 0);
    a.Clear();
    EXPECT_EQ(a.Size(), 0);
    EXPECT_EQ(a.GetCount(1), 0);
}

TEST(Containers_Messages, AllocationFailuresNameTheComponentAndChangeNothing) {
    TBitFld f;
    f.SetName(u"Bits");
    EXPECT_EQ(MessageOf([&] { f.SetSize(2147483647); }), "Component \"Bits\": not enough memory");
    {
        const FailAllocationsFrom fail(1 << 20);
        EXPECT_EQ(MessageOf([&] { f.SetSize(100000000); }),
                  "Component \"Bits\": not enough memory");
    }
    EXPECT_EQ(f.Size(), 1000);

    TByteMatrix m;
    m.SetName(u"Mat");
    m.Resize(2, 2);
    EXPECT_EQ(MessageOf([&] { m.Resize(65536, 65536); }),
              "Component \"Mat\": not enough memory on heap");
    {
        const FailAllocationsFrom fail(1 << 20);
        EXPECT_EQ(MessageOf([&] { m.Resize(2000, 2000); }),
                  "Component \"Mat\": not enough memory on heap");
    }
    EXPECT_EQ(m.NrOfColumns(), 2);

    TFifo q;
    q.SetName(u"Queue");
    q.PutByte(5);
    {
        const FailAllocationsFrom fail(1 << 20);
        EXPECT_EQ(MessageOf([&] { q.SetSize(1 << 24); }),
                  "Component \"Queue\": FIFO structure too large");
    }
    EXPECT_EQ(q.Size(), 256);
    EXPECT_EQ(q.CountBytes(), 1);

    TStringAccu a;
    a.SetName(u"Acc");
    const String longText(300, u'x');
    {
        // Above the message's own size, below the string's.
        const FailAllocationsFrom fail(200);
        EXPECT_EQ(MessageOf([&] { a.Add(longText); }), "Component \"Acc\": not enough memory");
    }
    EXPECT_EQ(a.Size(), 0);
}

TEST(Containers_Model, RandomOperationStreamsMatchTheModels) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 gen(seed);
        std::vector<std::uint8_t> bytes(6000);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(gen());
        model::ContainerOpRunner runner;
        ASSERT_EQ(runner.Run(bytes.data(), bytes.size(), 1500), "") << "seed " << seed;
    }
}

}  // namespace
}  // namespace qorkit
