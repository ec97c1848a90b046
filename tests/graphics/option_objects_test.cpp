// TCrossHair and TDTLabel: initial values, the notify rule of every setter, Assign/AssignTo.
#include <gtest/gtest.h>

#include "qorkit/Qor_qorbase.h"
#include "qorkit/rtl/string_list.h"

namespace qorkit {
namespace {

TEST(TCrossHair, SettersNotifyAlwaysAndLayerIsClamped) {
    TCrossHair h;
    EXPECT_EQ(h.Layer(), 0);
    EXPECT_EQ(h.Mode(), chOff);
    EXPECT_EQ(h.LineType(), psSolid);
    int n = 0;
    TObject* last = nullptr;
    h.OnChange = [&](TObject* sender) {
        last = sender;
        ++n;
    };
    h.SetCrossHPosX(0);  // the stored value: still notifies
    h.SetCrossHPosY(2.5);
    h.SetCrossHColor(0xFF);
    h.SetCrossHMode(chBox);
    h.SetCrossHLineType(psDot);
    h.SetCrossHLineWid(3);
    EXPECT_EQ(n, 6);
    EXPECT_EQ(last, &h);
    h.SetCrossHLayer(5);
    EXPECT_EQ(h.Layer(), 2);
    h.SetCrossHLayer(-7);
    EXPECT_EQ(h.Layer(), 1);
    EXPECT_EQ(n, 8);
    h.SetPos(0, 2.5);  // unchanged: no notification
    EXPECT_EQ(n, 8);
    h.SetPos(0, 3);
    EXPECT_EQ(n, 9);
    EXPECT_EQ(h.PosY(), 3);

    TCrossHair copy;
    copy.Assign(&h);  // no notification, handler copied
    EXPECT_EQ(n, 9);
    EXPECT_EQ(copy.Mode(), chBox);
    EXPECT_EQ(copy.LineWid(), 3);
    EXPECT_EQ(copy.Color(), 0xFF);
    copy.SetCrossHPosX(1);
    EXPECT_EQ(n, 10);
    EXPECT_EQ(last, &copy);
    TStringList other;
    EXPECT_THROW(copy.Assign(&other), EConvertError);
    EXPECT_THROW(other.Assign(&copy), EConvertError);
    TCrossHair into;
    h.AssignTo(&into);
    EXPECT_EQ(into.PosY(), 3);
}

TEST(TDTLabel, NotifyOnlyOnChangeExceptTwoSetters) {
    TDTLabel l;
    EXPECT_EQ(l.TimeFormat(), tfHHMMSS);
    EXPECT_EQ(l.DateSeparator(), u'.');
    EXPECT_EQ(l.TimeSeparator(), u':');
    EXPECT_EQ(l.YearLength(), ylYYYY);
    EXPECT_FALSE(l.MonthName());
    EXPECT_EQ(l.DateOrder(), doYYMMDD);
    EXPECT_EQ(l.DateForTime(), dtOnePerChart);
    int n = 0;
    l.OnChange = [&](TObject*) { ++n; };
    l.SetTimeFormat(tfHHMMSS);
    l.SetDAteOrder(doYYMMDD);
    EXPECT_EQ(n, 2);  // these two notify always
    l.SetDateSeparator(u'.');
    l.SetTimeSeparator(u':');
    l.SetYearLength(ylYYYY);
    l.SetDateForTime(dtOnePerChart);
    l.SetMonthName(false);
    EXPECT_EQ(n, 2);  // the others only on a change
    l.SetDateSeparator(u'/');
    l.SetTimeSeparator(u'h');
    l.SetYearLength(ylYY);
    l.SetDateForTime(dtAllTicks);
    l.SetMonthName(true);
    EXPECT_EQ(n, 7);
    TDTLabel copy;
    copy.Assign(&l);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(copy.DateSeparator(), u'/');
    EXPECT_EQ(copy.YearLength(), ylYY);
    EXPECT_TRUE(copy.MonthName());
    copy.SetTimeFormat(tfAMPM);  // the copied handler
    EXPECT_EQ(n, 8);
    TCrossHair other;
    EXPECT_THROW(copy.Assign(&other), EConvertError);
}

}  // namespace
}  // namespace qorkit
