// TFeatureMatrix: shape, property objects, checked and typed value access, clearing, moves.
#include "qorkit/dstruct/feature_matrix.h"

#include <algorithm>
#include <new>
#include <typeinfo>
#include <unordered_set>
#include <utility>

#include "assign_to.h"
#include "qorkit/core/errors.h"
#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/format_settings.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

namespace {

constexpr std::u16string_view kKindNames[] = {u"fkUndefined", u"fkInteger", u"fkDouble",
                                              u"fkString", u"fkTriState"};

bool IsDigit(Char c) noexcept {
    return c >= u'0' && c <= u'9';
}

/// The cleared value of a kind.
String ClearedValue(TFeatKind Kind) {
    return Kind == fkInteger || Kind == fkDouble ? String(u"0") : String();
}

String Quote(const String& s) {
    return u"\"" + s + u"\"";
}

const char16_t* TriStateText(TTriState t) noexcept {
    return t == tsTrue ? u"true" : t == tsFalse ? u"false" : u"";
}

}  // namespace

std::u16string_view FeatKindName(TFeatKind Kind) noexcept {
    return Kind <= fkTriState ? kKindNames[Kind] : kKindNames[fkUndefined];
}

bool IsFeatIntegerText(std::u16string_view S) noexcept {
    std::size_t i = 0;
    if (i < S.size() && (S[i] == u'+' || S[i] == u'-')) ++i;
    if (i == S.size()) return false;
    for (; i < S.size(); ++i)
        if (!IsDigit(S[i])) return false;
    return true;
}

bool IsFeatFloatText(std::u16string_view S) noexcept {
    enum State : std::uint8_t {
        stStart,
        stSign,
        stInteger,
        stPoint,
        stFraction,
        stExp,
        stExpSign,
        stExpDigits
    };
    enum Class : std::uint8_t { ccSpace, ccSign, ccDigit, ccPoint, ccE, ccOther };
    constexpr int kReject = -1;
    constexpr int kAccept = -2;
    constexpr int kNext[8][6] = {
        // space    sign        digit        point     E         other/end
        {stStart, stSign, stInteger, stPoint, kReject, kReject},       // start
        {kReject, kReject, stInteger, stPoint, kReject, kReject},      // sign
        {kAccept, kAccept, stInteger, stPoint, stExp, kAccept},        // integer
        {kAccept, kAccept, stFraction, kReject, stExp, kAccept},       // point
        {kAccept, kAccept, stFraction, kReject, stExp, kAccept},       // fraction
        {kReject, stExpSign, stExpDigits, kReject, kReject, kAccept},  // exponent
        {kReject, kReject, stExpDigits, kReject, kReject, kAccept},    // exponent sign
        {kAccept, kAccept, stExpDigits, kAccept, kAccept, kAccept},    // exponent digits
    };
    if (S.empty()) return false;
    int state = stStart;
    std::int32_t exponent = 0;
    for (std::size_t i = 0; i <= S.size(); ++i) {
        const Char c = i < S.size() ? S[i] : Char(0);
        Class cls = ccOther;
        if (i < S.size()) {
            if (c == u' ')
                cls = ccSpace;
            else if (c == u'+' || c == u'-')
                cls = ccSign;
            else if (IsDigit(c))
                cls = ccDigit;
            else if (c == u'.')
                cls = ccPoint;
            else if (c == u'E' || c == u'e')
                cls = ccE;
        }
        const int next = kNext[state][cls];
        if (next == kReject) return false;
        if (next == kAccept) return true;
        if (next == stExpDigits && cls == ccDigit) {
            exponent = exponent * 10 + (c - u'0');
            if (exponent > 4200) return false;
        }
        state = next;
    }
    return false;  // not reached: the end of the text always decides
}

bool IsFeatTriStateText(std::u16string_view S) noexcept {
    const String lower = LowerCase(S);
    return lower.empty() || lower == u"true" || lower == u"false";
}

// ---- TFeatMatProps ------------------------------------------------------------------------

TFeatMatProps::TFeatMatProps(TComponent*) : TComponent(nullptr) {
    Clear();
}

void TFeatMatProps::Clear() {
    FFeatNum = 0;
    FFeatName = u"undefined";
    FFeatKind = fkUndefined;
    FComment.clear();
    FPresetValues.clear();
    FSorted = false;
    FGUIElem = nullptr;
}

void TFeatMatProps::Assign(const TPersistent* Source) {
    const auto* src = dynamic_cast<const TFeatMatProps*>(Source);
    if (src == nullptr) {
        TComponent::Assign(Source);
        return;
    }
    if (src == this) return;
    FFeatNum = src->FFeatNum;
    FFeatName = src->FFeatName;
    FFeatKind = src->FFeatKind;
    FComment = src->FComment;
    FPresetValues = src->FPresetValues;
    FSorted = src->FSorted;
    FGUIElem = src->FGUIElem;
}

void TFeatMatProps::AssignTo(TPersistent* Dest) const {
    if (!detail::AssignToOwnClass(*this, Dest)) TComponent::AssignTo(Dest);
}

// ---- TFeatureMatrix: shape ----------------------------------------------------------------

TFeatureMatrix::TFeatureMatrix(TComponent* AOwner) : TComponent(AOwner) {}

void TFeatureMatrix::Fail(std::u16string_view Text) const {
    throw EQORDStructError(ComponentMessage(*this, Text));
}

void TFeatureMatrix::Reshape(std::int32_t NFeats, std::int32_t NObjs) {
    if (NFeats < 0) Fail(u": invalid number of features");
    if (NObjs < 0) Fail(u": invalid number of objects");
    GuardAllocation<EQORDStructError>(ComponentMessage(*this, kMsgNoMemory), [&] {
        // Built aside and swapped in, so that running out of memory changes nothing.
        std::vector<std::shared_ptr<TFeatMatProps>> props;
        props.reserve(static_cast<std::size_t>(NFeats));
        for (std::int32_t f = 0; f < NFeats; ++f)
            props.push_back(f < FNFeats ? FFeatProps[static_cast<std::size_t>(f)]
                                        : std::make_shared<TFeatMatProps>());
        std::vector<std::vector<String>> vals(static_cast<std::size_t>(NFeats));
        for (std::int32_t f = 0; f < NFeats; ++f) {
            auto& column = vals[static_cast<std::size_t>(f)];
            if (f < FNFeats) {
                auto& old = FFeatVals[static_cast<std::size_t>(f)];
                column.reserve(static_cast<std::size_t>(NObjs));
                const std::int32_t kept = std::min(NObjs, FNObjs);
                for (std::int32_t o = 0; o < kept; ++o)
                    column.push_back(old[static_cast<std::size_t>(o)]);
            }
            column.resize(static_cast<std::size_t>(NObjs));
        }
        FFeatProps = std::move(props);
        FFeatVals = std::move(vals);
        FNFeats = NFeats;
        FNObjs = NObjs;
    });
}

void TFeatureMatrix::SetNFeats(std::int32_t n) {
    Reshape(n, FNObjs);
    Changed();
}

void TFeatureMatrix::SetNObjs(std::int32_t n) {
    Reshape(FNFeats, n);
    Changed();
}

bool TFeatureMatrix::Resize(std::int32_t NFeats, std::int32_t NObjs) {
    if (NFeats < 0 || NObjs < 0) return false;
    try {
        Reshape(FNFeats, NObjs);
    } catch (const EQORDStructError&) {
        return false;
    }
    Changed();
    try {
        Reshape(NFeats, NObjs);
    } catch (const EQORDStructError&) {
        return false;
    }
    Changed();
    Changed();
    return true;
}

void TFeatureMatrix::Clear() {
    FFeatProps.clear();
    FFeatVals.clear();
    FNFeats = 0;
    FNObjs = 0;
    Changed();
}

// ---- properties -----------------------------------------------------------------------------

std::shared_ptr<TFeatMatProps> TFeatureMatrix::GetFeatProps(std::int32_t fix) const {
    if (!ValidFeat(fix)) return std::make_shared<TFeatMatProps>();
    return FFeatProps[static_cast<std::size_t>(fix - 1)];
}

void TFeatureMatrix::SetFeatProps(std::int32_t fix, std::shared_ptr<TFeatMatProps> FeatMatProps) {
    if (!ValidFeat(fix) || FeatMatProps == nullptr) return;
    FFeatProps[static_cast<std::size_t>(fix - 1)] = std::move(FeatMatProps);
    Changed();
}

TFeatKind TFeatureMatrix::Kind(std::int32_t fix) const noexcept {
    return FFeatProps[static_cast<std::size_t>(fix - 1)]->FeatKind();
}

// ---- values ---------------------------------------------------------------------------------

const String& TFeatureMatrix::RawValue(std::int32_t fix, std::int32_t obj) const {
    static const String kEmpty;
    if (!ValidFeat(fix) || !ValidObj(obj)) return kEmpty;
    return Cell(fix, obj);
}

String TFeatureMatrix::GetFeatValStr(std::int32_t fix, std::int32_t obj) const {
    if (!ValidFeat(fix) || !ValidObj(obj)) return {};
    if (Kind(fix) == fkUndefined) Fail(u": feature " + IntToStr(fix) + u" is undefined");
    return Cell(fix, obj);
}

void TFeatureMatrix::CheckText(std::int32_t fix, const String& FeatVal, bool EmptyNumber) const {
    switch (Kind(fix)) {
        case fkUndefined:
            Fail(u": feature " + IntToStr(fix) + u" is undefined");
        case fkInteger:
            if (!(EmptyNumber && FeatVal.empty()) && !IsFeatIntegerText(FeatVal))
                Fail(u": feature value " + Quote(FeatVal) + u" is not a valid integer number");
            break;
        case fkDouble:
            if (!(EmptyNumber && FeatVal.empty()) && !IsFeatFloatText(FeatVal))
                Fail(u": feature value " + Quote(FeatVal) +
                     u" is not a valid floating point number");
            break;
        case fkTriState:
            if (!IsFeatTriStateText(FeatVal))
                Fail(u": feature value " + Quote(FeatVal) + u" is not a valid tri-state value");
            break;
        case fkString:
            break;
    }
}

void TFeatureMatrix::SetFeatValStr(std::int32_t fix, std::int32_t obj, const String& FeatVal) {
    if (!ValidFeat(fix) || !ValidObj(obj)) return;
    CheckText(fix, FeatVal, true);
    Cell(fix, obj) = FeatVal;
    Changed();
}

std::int64_t TFeatureMatrix::GetFeatValInt(std::int32_t fix, std::int32_t obj) const {
    if (!ValidFeat(fix) || !ValidObj(obj)) return 0;
    const String& s = Cell(fix, obj);
    if (!IsFeatIntegerText(s)) Fail(u": feature is not an integer");
    return StrToInt64(s);  // the full 64-bit range; beyond it EConvertError
}

void TFeatureMatrix::SetFeatValint(std::int32_t fix, std::int32_t obj, std::int64_t Value) {
    if (!ValidFeat(fix) || !ValidObj(obj)) return;
    const TFeatKind k = Kind(fix);
    if (k != fkInteger && k != fkDouble && k != fkString)
        Fail(u": feature is not of numeric or string type");
    Cell(fix, obj) = IntToStr(Value);
    Changed();
}

double TFeatureMatrix::GetFeatValDouble(std::int32_t fix, std::int32_t obj) const {
    if (!ValidFeat(fix) || !ValidObj(obj)) return 0.0;
    const String& s = Cell(fix, obj);
    if (!IsFeatFloatText(s)) Fail(u": feature is not a floating point number");
    return static_cast<double>(StrToFloat(s, FormatSettings));
}

void TFeatureMatrix::SetFeatValDouble(std::int32_t fix, std::int32_t obj, double Value) {
    if (!ValidFeat(fix) || !ValidObj(obj)) return;
    const TFeatKind k = Kind(fix);
    if (k != fkDouble && k != fkString) Fail(u": feature is not a floating point or string type");
    Cell(fix, obj) = FloatToStr(Value, FormatSettings);
    Changed();
}

TTriState TFeatureMatrix::GetFeatValTriState(std::int32_t fix, std::int32_t obj) const {
    const String lower = LowerCase(RawValue(fix, obj));
    if (lower.empty()) return tsUndefined;
    if (lower == u"true") return tsTrue;
    if (lower == u"false") return tsFalse;
    Fail(u": feature is not a tri-state value");
}

void TFeatureMatrix::SetFeatValTriState(std::int32_t fix, std::int32_t obj, TTriState Value) {
    if (!ValidFeat(fix) || !ValidObj(obj)) return;
    const TFeatKind k = Kind(fix);
    if (k != fkTriState && k != fkString) Fail(u": feature is not a tri-state or string type");
    Cell(fix, obj) = TriStateText(Value);
    Changed();
}

// ---- Fill -----------------------------------------------------------------------------------

void TFeatureMatrix::FillWith(std::int32_t fix, const String& Text) {
    for (String& v : FFeatVals[static_cast<std::size_t>(fix - 1)])
        v = Text;
    Changed();
}

bool TFeatureMatrix::Fill(std::int32_t fix, const String& FeatVal) {
    if (!ValidFeat(fix)) return false;
    CheckText(fix, FeatVal, false);
    FillWith(fix, FeatVal);
    return true;
}

bool TFeatureMatrix::Fill(std::int32_t fix, std::int64_t FeatVal) {
    if (!ValidFeat(fix)) return false;
    if (Kind(fix) != fkInteger) Fail(u": feature " + IntToStr(fix) + u" is not an integer number");
    FillWith(fix, IntToStr(FeatVal));
    return true;
}

bool TFeatureMatrix::Fill(std::int32_t fix, double FeatVal) {
    if (!ValidFeat(fix)) return false;
    if (Kind(fix) != fkDouble)
        Fail(u": feature " + IntToStr(fix) + u" is not floating point number");
    FillWith(fix, FloatToStr(FeatVal, FormatSettings));
    return true;
}

bool TFeatureMatrix::Fill(std::int32_t fix, TTriState FeatVal) {
    if (!ValidFeat(fix)) return false;
    if (Kind(fix) != fkTriState) Fail(u": feature " + IntToStr(fix) + u" is not a tri-state value");
    FillWith(fix, TriStateText(FeatVal));
    return true;
}

// ---- clearing, objects, features ------------------------------------------------------------

void TFeatureMatrix::ResetToDefault() {
    for (std::int32_t o = 1; o <= FNObjs; ++o) {
        for (std::int32_t f = 1; f <= FNFeats; ++f)
            Cell(f, o) = ClearedValue(Kind(f));
        Changed();
    }
}

void TFeatureMatrix::ClearObject(std::int32_t obj) {
    if (!ValidObj(obj)) return;
    for (std::int32_t f = 1; f <= FNFeats; ++f)
        Cell(f, obj) = ClearedValue(Kind(f));
    Changed();
}

void TFeatureMatrix::ClearFeature(std::int32_t feat) {
    if (!ValidFeat(feat)) return;
    const String cleared = ClearedValue(Kind(feat));
    for (String& v : FFeatVals[static_cast<std::size_t>(feat - 1)])
        v = cleared;
    Changed();
}

void TFeatureMatrix::CopyObject(std::int32_t Source, std::int32_t Target) {
    if (!ValidObj(Source) || !ValidObj(Target)) return;
    for (std::int32_t f = 1; f <= FNFeats; ++f)
        Cell(f, Target) = Cell(f, Source);
    Changed();
}

void TFeatureMatrix::InsertObject(std::int32_t obj) {
    if (!ValidObj(obj)) return;
    SetNObjs(FNObjs + 1);
    for (auto& column : FFeatVals)
        std::rotate(column.begin() + (obj - 1), column.end() - 1, column.end());
    ClearObject(obj);
    Changed();
}

void TFeatureMatrix::RemoveObject(std::int32_t obj) {
    if (!ValidObj(obj)) return;
    for (auto& column : FFeatVals)
        std::rotate(column.begin() + (obj - 1), column.begin() + obj, column.end());
    SetNObjs(FNObjs - 1);
    Changed();
}

void TFeatureMatrix::InsertFeature(std::int32_t feat) {
    if (feat < 1 || feat > FNFeats + 1) return;
    SetNFeats(FNFeats + 1);
    const auto at = static_cast<std::ptrdiff_t>(feat - 1);
    std::rotate(FFeatProps.begin() + at, FFeatProps.end() - 1, FFeatProps.end());
    std::rotate(FFeatVals.begin() + at, FFeatVals.end() - 1, FFeatVals.end());
    // The new feature gets an object of its own: the one rotated here is the fresh object
    // that the count change made, so no caller holds it.
    FFeatProps[static_cast<std::size_t>(at)]->Clear();
    for (String& v : FFeatVals[static_cast<std::size_t>(at)])
        v.clear();
    Changed();
}

void TFeatureMatrix::RemoveFeature(std::int32_t feat) {
    if (!ValidFeat(feat)) return;
    const auto at = static_cast<std::ptrdiff_t>(feat - 1);
    std::rotate(FFeatProps.begin() + at, FFeatProps.begin() + at + 1, FFeatProps.end());
    std::rotate(FFeatVals.begin() + at, FFeatVals.begin() + at + 1, FFeatVals.end());
    SetNFeats(FNFeats - 1);
    Changed();
}

// ---- ranges and searches --------------------------------------------------------------------

namespace {

/// The clamped range of `SetFeatType` and `RenumberFeatures`; false when there is none.
bool ClampedRange(std::int32_t n, std::int32_t& lo, std::int32_t& hi) {
    if (n < 1) return false;
    if (lo == 0 && hi == 0) {
        lo = 1;
        hi = n;
        return true;
    }
    lo = std::clamp(lo, 1, n);
    hi = std::clamp(hi, 1, n);
    if (lo > hi) std::swap(lo, hi);
    return true;
}

}  // namespace

void TFeatureMatrix::SetFeatType(std::int32_t IxFrom, std::int32_t IxTo, TFeatKind FeatKind) {
    if (!ClampedRange(FNFeats, IxFrom, IxTo)) return;
    for (std::int32_t f = IxFrom; f <= IxTo; ++f)
        FFeatProps[static_cast<std::size_t>(f - 1)]->SetFeatKind(FeatKind);
}

void TFeatureMatrix::RenumberFeatures(std::int32_t IxFrom, std::int32_t IxTo, std::int32_t FirstNum,
                                      std::int32_t Delta) {
    if (!ClampedRange(FNFeats, IxFrom, IxTo)) return;
    for (std::int32_t f = IxFrom; f <= IxTo; ++f) {
        const auto num = static_cast<std::uint32_t>(FirstNum) +
                         static_cast<std::uint32_t>(f - IxFrom) * static_cast<std::uint32_t>(Delta);
        FFeatProps[static_cast<std::size_t>(f - 1)]->SetFeatNum(static_cast<std::int32_t>(num));
    }
}

std::int32_t TFeatureMatrix::FindFeatName(const String& Name) const {
    const String wanted = LowerCase(Name);
    for (std::int32_t f = 1; f <= FNFeats; ++f)
        if (LowerCase(FFeatProps[static_cast<std::size_t>(f - 1)]->FeatName()) == wanted) return f;
    return -1;
}

std::int32_t TFeatureMatrix::FindFeatNum(std::int32_t Num) const {
    for (std::int32_t f = 1; f <= FNFeats; ++f)
        if (FFeatProps[static_cast<std::size_t>(f - 1)]->FeatNum() == Num) return f;
    return -1;
}

// ---- copying --------------------------------------------------------------------------------

void TFeatureMatrix::Assign(const TPersistent* Source) {
    const auto* src = dynamic_cast<const TFeatureMatrix*>(Source);
    if (src == nullptr) {
        TComponent::Assign(Source);
        return;
    }
    if (src == this) return;
    SetNFeats(src->FNFeats);
    Reshape(src->FNFeats, src->FNObjs);
    std::unordered_set<const TFeatMatProps*> seen;
    for (std::int32_t f = 1; f <= FNFeats; ++f) {
        const auto i = static_cast<std::size_t>(f - 1);
        // An object that two features of this matrix share would take the properties of
        // both: the later feature gets an object of its own first.
        if (!seen.insert(FFeatProps[i].get()).second)
            FFeatProps[i] = std::make_shared<TFeatMatProps>();
        FFeatProps[i]->Assign(src->FFeatProps[i].get());
        FFeatVals[i] = src->FFeatVals[i];
    }
    FOnChange = src->FOnChange;
}

void TFeatureMatrix::AssignTo(TPersistent* Dest) const {
    if (!detail::AssignToOwnClass(*this, Dest)) TComponent::AssignTo(Dest);
}

void TFeatureMatrix::Changed() {
    if (FOnChange) FOnChange(this);
}

}  // namespace qorkit
