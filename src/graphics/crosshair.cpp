#include "qorkit/graphics/crosshair.h"

#include <typeinfo>

namespace qorkit {

void TCrossHair::Changed() {
    if (OnChange) OnChange(this);
}

void TCrossHair::SetCrossHPosX(double Value) {
    FPosX = Value;
    Changed();
}
void TCrossHair::SetCrossHPosY(double Value) {
    FPosY = Value;
    Changed();
}
void TCrossHair::SetCrossHColor(TColor Value) {
    FColor = Value;
    Changed();
}
void TCrossHair::SetCrossHMode(TCrossHMode Value) {
    FMode = Value;
    Changed();
}
void TCrossHair::SetCrossHLineType(TPenStyle Value) {
    FLineType = Value;
    Changed();
}
void TCrossHair::SetCrossHLineWid(std::int32_t Value) {
    FLineWid = Value;
    Changed();
}
void TCrossHair::SetCrossHLayer(std::int32_t Value) {
    FLayer = Value < 1 ? 1 : (Value > 2 ? 2 : Value);
    Changed();
}

void TCrossHair::SetPos(double XPos, double YPos) {
    if (XPos == FPosX && YPos == FPosY) return;
    FPosX = XPos;
    FPosY = YPos;
    Changed();
}

void TCrossHair::Assign(const TPersistent* Source) {
    if (const auto* s = dynamic_cast<const TCrossHair*>(Source)) {
        FPosX = s->FPosX;
        FPosY = s->FPosY;
        FColor = s->FColor;
        FMode = s->FMode;
        FLineType = s->FLineType;
        FLineWid = s->FLineWid;
        FLayer = s->FLayer;
        OnChange = s->OnChange;
        return;
    }
    TPersistent::Assign(Source);
}

void TCrossHair::AssignTo(TPersistent* Dest) const {
    if (Dest && (typeid(*Dest) == typeid(TCrossHair) || typeid(*Dest) == typeid(*this))) {
        Dest->Assign(this);
        return;
    }
    TPersistent::AssignTo(Dest);
}

}  // namespace qorkit
