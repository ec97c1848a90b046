#include "qorkit/graphics/text_label.h"

#include <typeinfo>

#include "qorkit/core/errors.h"

namespace qorkit {

void TCustomTextLabel::Changed() {
    if (OnChange) OnChange(this);
}

namespace {
// Stores `value` and notifies: the rule of every setter but the layer's.
template <class T>
void StoreAndNotify(TCustomTextLabel& label, T& field, T value) {
    field = value;
    label.Changed();
}
}  // namespace

void TCustomTextLabel::SetTxtLblPosX(double Value) {
    StoreAndNotify(*this, FPosX, Value);
}
void TCustomTextLabel::SetTxtLblPosY(double Value) {
    StoreAndNotify(*this, FPosY, Value);
}
void TCustomTextLabel::SetTxtLblColorBkg(TColor Value) {
    StoreAndNotify(*this, FColorBkg, Value);
}
void TCustomTextLabel::SetTxtLblColorBrd(TColor Value) {
    StoreAndNotify(*this, FColorBrd, Value);
}
void TCustomTextLabel::SetTxtLblColorShadow(TColor Value) {
    StoreAndNotify(*this, FColorShadow, Value);
}
void TCustomTextLabel::SetTxtLblShadowDx(std::int32_t Value) {
    StoreAndNotify(*this, FXShadow, Value);
}
void TCustomTextLabel::SetTxtLblShadowDy(std::int32_t Value) {
    StoreAndNotify(*this, FYShadow, Value);
}
void TCustomTextLabel::SetTxtLblVisible(bool Value) {
    StoreAndNotify(*this, FVisible, Value);
}
void TCustomTextLabel::SetTxtLblTranspar(bool Value) {
    StoreAndNotify(*this, FTransPar, Value);
}
void TCustomTextLabel::SetTxtLblMode(TTxtLblMode Value) {
    StoreAndNotify(*this, FMode, Value);
}
void TCustomTextLabel::SetTxtLblAlignment(TAlignment Value) {
    StoreAndNotify(*this, FAlignment, Value);
}
void TCustomTextLabel::SetTxtLblVertAlignment(TVerticalAlignment Value) {
    StoreAndNotify(*this, FVertAlign, Value);
}
void TCustomTextLabel::SetTxtLblScreenPos(TTxtLblAttachMode Value) {
    StoreAndNotify(*this, FAttachDat, Value);
}

void TCustomTextLabel::SetTxtLblLayer(std::int32_t Value) {
    if (Value < 1 || Value > 16) return;
    StoreAndNotify(*this, FLayer, Value);
}

void TCustomTextLabel::SetTxtLblFont(const TFont* Value) {
    if (!Value) throw EQORError(u"SetTxtLblFont: no font given");
    if (Value != &FFont) FFont.Assign(Value);
    Changed();
}

void TCustomTextLabel::SetTxtLblCaption(const String& Value) {
    String caption = Value;
    for (Char& c : caption)
        if (c < 32 && c != u'\n') c = u' ';
    FCaption = std::move(caption);
    Changed();
}

void TCustomTextLabel::Assign(const TPersistent* Source) {
    if (const auto* s = dynamic_cast<const TCustomTextLabel*>(Source)) {
        if (s == this) return;
        FPosX = s->FPosX;
        FPosY = s->FPosY;
        FLayer = s->FLayer;
        FXShadow = s->FXShadow;
        FYShadow = s->FYShadow;
        FColorShadow = s->FColorShadow;
        FAlignment = s->FAlignment;
        FVertAlign = s->FVertAlign;
        FAttachDat = s->FAttachDat;
        FColorBkg = s->FColorBkg;
        FColorBrd = s->FColorBrd;
        FTransPar = s->FTransPar;
        FFont.Assign(&s->FFont);
        FCaption = s->FCaption;
        FMode = s->FMode;
        FVisible = s->FVisible;
        OnChange = s->OnChange;
        return;
    }
    TPersistent::Assign(Source);
}

void TCustomTextLabel::AssignTo(TPersistent* Dest) const {
    if (Dest && (typeid(*Dest) == typeid(TCustomTextLabel) || typeid(*Dest) == typeid(*this))) {
        Dest->Assign(this);
        return;
    }
    TPersistent::AssignTo(Dest);
}

}  // namespace qorkit
