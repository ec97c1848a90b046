#include "qorkit/graphics/dt_label.h"

#include <typeinfo>

namespace qorkit {

TDTLabel::~TDTLabel() {
    OnChange = nullptr;
}

void TDTLabel::Changed() {
    if (OnChange) OnChange(this);
}

// Stores `value` and notifies, only when it differs from the stored one.
template <class T>
void TDTLabel::Store(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
}

void TDTLabel::SetTimeFormat(TTimeFormat Value) {
    FTimeFormat = Value;
    Changed();
}
void TDTLabel::SetDAteOrder(TDateOrder Value) {
    FDateOrder = Value;
    Changed();
}
void TDTLabel::SetDateSeparator(Char Value) {
    Store(FDateSeparator, Value);
}
void TDTLabel::SetTimeSeparator(Char Value) {
    Store(FTimeSeparator, Value);
}
void TDTLabel::SetYearLength(TYearLength Value) {
    Store(FYearLength, Value);
}
void TDTLabel::SetDateForTime(TDateForTime Value) {
    Store(FDateForTime, Value);
}
void TDTLabel::SetMonthName(bool Value) {
    Store(FMonthName, Value);
}

void TDTLabel::Assign(const TPersistent* Source) {
    if (const auto* s = dynamic_cast<const TDTLabel*>(Source)) {
        FTimeFormat = s->FTimeFormat;
        FDateSeparator = s->FDateSeparator;
        FTimeSeparator = s->FTimeSeparator;
        FYearLength = s->FYearLength;
        FMonthName = s->FMonthName;
        FDateOrder = s->FDateOrder;
        FDateForTime = s->FDateForTime;
        OnChange = s->OnChange;
        return;
    }
    TPersistent::Assign(Source);
}

void TDTLabel::AssignTo(TPersistent* Dest) const {
    if (Dest && (typeid(*Dest) == typeid(TDTLabel) || typeid(*Dest) == typeid(*this))) {
        Dest->Assign(this);
        return;
    }
    TPersistent::AssignTo(Dest);
}

}  // namespace qorkit
