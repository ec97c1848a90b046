// TDTLabel: how date and time tick labels are formatted.
#pragma once

#include "qorkit/core/types.h"

namespace qorkit {

/// Date and time label settings. Initially `tfHHMMSS`, "." and ":" as separators, `ylYYYY`,
/// no month names, `doYYMMDD` and `dtOnePerChart`. `SetTimeFormat` and `SetDAteOrder` notify
/// always; the other setters only when the value changes.
class TDTLabel : public TPersistent {
  public:
    /// Clears `OnChange` before the object goes away.
    ~TDTLabel() override;

    TTimeFormat TimeFormat() const noexcept { return FTimeFormat; }
    Char DateSeparator() const noexcept { return FDateSeparator; }
    Char TimeSeparator() const noexcept { return FTimeSeparator; }
    TYearLength YearLength() const noexcept { return FYearLength; }
    bool MonthName() const noexcept { return FMonthName; }
    TDateOrder DateOrder() const noexcept { return FDateOrder; }
    TDateForTime DateForTime() const noexcept { return FDateForTime; }

    void SetTimeFormat(TTimeFormat Value);
    void SetDAteOrder(TDateOrder Value);
    void SetDateSeparator(Char Value);
    void SetTimeSeparator(Char Value);
    void SetYearLength(TYearLength Value);
    void SetDateForTime(TDateForTime Value);
    void SetMonthName(bool Value);
    /// Fires `OnChange(this)` when assigned.
    void Changed();
    /// From a `TDTLabel`: copies the seven settings and the `OnChange` handler without
    /// notifying. Other sources go to the inherited `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Into a `TDTLabel` of exactly this class or of this object's own class:
    /// `Dest->Assign(this)`; otherwise the inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;

    TNotifyEvent OnChange;

  private:
    template <class T>
    void Store(T& field, T value);
    TTimeFormat FTimeFormat = tfHHMMSS;
    Char FDateSeparator = u'.';
    Char FTimeSeparator = u':';
    TYearLength FYearLength = ylYYYY;
    bool FMonthName = false;
    TDateOrder FDateOrder = doYYMMDD;
    TDateForTime FDateForTime = dtOnePerChart;
};

}  // namespace qorkit
