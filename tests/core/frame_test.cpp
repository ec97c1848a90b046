#include <gtest/gtest.h>

#include <memory>
#include <new>

#include "qorkit/Qor_qorbase.h"
#include "qorkit/qorkit.h"

using namespace qorkit;

TEST(Frame, HooksHaveTheirLoadValues) {
    EXPECT_EQ(ProcStat, 0.0);
    EXPECT_EQ(LastProcStat, 0.0);
    EXPECT_EQ(AbortMathProc, 0);
    EXPECT_EQ(MathFeedBackProc, nullptr);
    static_assert(sizeof(AbortMathProc) == 4);
}

TEST(Frame, EveryUnitStartedOnceAtLoad) {
    const auto table = GetPackageInfoTable();
    ASSERT_EQ(table.size(), 6u);
    for (std::int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(UnitWorkCounts(i).Starts, 1) << table[i].Name;
        EXPECT_EQ(UnitWorkCounts(i).Stops, 0) << table[i].Name;
    }
    EXPECT_EQ(UnitWorkCounts(6).Starts, 0);
    EXPECT_EQ(UnitWorkCounts(-1).Starts, 0);
}

TEST(Frame, ErrorTreeIsCaughtByItsBase) {
    const auto caughtAsBase = [](auto error) {
        try {
            throw error;
        } catch (const EQORError& e) {
            return e.Message() == u"boom";
        } catch (...) {
            return false;
        }
    };
    EXPECT_TRUE(caughtAsBase(EQORColArrayError(u"boom")));
    EXPECT_TRUE(caughtAsBase(EQORStringlError(u"boom")));
    EXPECT_TRUE(caughtAsBase(EQORDStructError(u"boom")));
    EXPECT_TRUE(caughtAsBase(EQORFileSysError(u"boom")));
    EXPECT_TRUE(caughtAsBase(EQORCpuIdError(u"boom")));
    EXPECT_TRUE(caughtAsBase(EQORError(u"boom")));
    // And everything is a std::exception with a UTF-8 message.
    try {
        throw EQORCpuIdError(u"CPUID: execution level not supported \u00E9");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "CPUID: execution level not supported \xC3\xA9");
    }
}

TEST(Frame, AllocationFailureBecomesTheUnitsError) {
    TComponent table(nullptr);
    table.SetName(u"Table1");
    const String msg = ComponentMessage(table, kMsgNoMemory);
    EXPECT_EQ(msg, u"Component \"Table1\": not enough memory");
    try {
        GuardAllocation<EQORDStructError>(msg, []() -> int { throw std::bad_alloc(); });
        FAIL() << "no exception";
    } catch (const EQORDStructError& e) {
        EXPECT_EQ(e.Message(), msg);
    }
    EXPECT_EQ(GuardAllocation<EQORDStructError>(msg, [] { return 7; }), 7);
}

TEST(Frame, SharedTypesHaveTheirShapes) {
    static_assert(sizeof(TTriState) == 1 && sizeof(TMouseActMode) == 1);
    static_assert(maZoomPanColors == 18, "TMouseActMode has 19 values");
    static_assert(tsUndefined == 2 && csvTab == 5 && lgSpanish == 4 && strg == 6);
    TRectDouble r{1, 2, 3, 4};
    EXPECT_EQ(r.TopLeft(), (TPointDouble{1, 2}));
    r.SetBottomRight({7, 8});
    EXPECT_EQ(r.Right, 7);
    EXPECT_EQ(r.Bottom, 8);
    TDouble2DArray ragged = {{1.0}, {1.0, 2.0, 3.0}};
    EXPECT_EQ(ragged[1].size(), 3u);
}
