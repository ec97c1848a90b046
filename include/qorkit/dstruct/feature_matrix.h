// TFeatureMatrix: objects (rows) described by typed features (columns), every value kept as
// text, with its own line-oriented text file format.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "qorkit/core/types.h"
#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/system.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

/// Kind of a feature's values.
enum TFeatKind : std::uint8_t { fkUndefined, fkInteger, fkDouble, fkString, fkTriState };

/// Display names of the kinds, in the order of `TFeatKind`. The file format writes the
/// enumeration names ("fkInteger") instead.
inline constexpr std::array<std::u16string_view, 5> FEATKINDIDS = {
    u"undefined", u"integer", u"double", u"string", u"tristate"};

/// The enumeration name of `Kind` as the file format writes it ("fkDouble"); "fkUndefined"
/// for values outside the enumeration.
std::u16string_view FeatKindName(TFeatKind Kind) noexcept;

/// True for an integer text as the matrix checks it: an optional "+" or "-" and one or more
/// decimal digits, nothing else ("+007" yes; "", "-", " 1", "1.0" no).
bool IsFeatIntegerText(std::u16string_view S) noexcept;
/// True when the floating-point scan accepts `S`: a valid prefix is enough ("12abc", "1 2",
/// "1E", "." and "-." pass; "", blanks only, a lone sign, "E5" and "1..2" do not). The
/// separator is "."; exponent digits above 4200 reject.
bool IsFeatFloatText(std::u16string_view S) noexcept;
/// True for "true", "false" or "" in any case of A to Z.
bool IsFeatTriStateText(std::u16string_view S) noexcept;

/// The properties of one feature: number, name, kind, comment, preset values, sorted flag and
/// a pointer for the caller's user interface.
class TFeatMatProps : public TComponent {
  public:
    /// An object with the defaults of `Clear`. `AOwner` is accepted for symmetry with other
    /// components but does not take ownership: the object is not registered with it.
    explicit TFeatMatProps(TComponent* AOwner = nullptr);

    /// Restores the defaults: number 0, name "undefined", kind `fkUndefined`, empty comment
    /// and presets, not sorted, no GUI element.
    void Clear();

    std::int32_t FeatNum() const noexcept { return FFeatNum; }
    void SetFeatNum(std::int32_t Value) noexcept { FFeatNum = Value; }
    const String& FeatName() const noexcept { return FFeatName; }
    void SetFeatName(const String& Value) { FFeatName = Value; }
    TFeatKind FeatKind() const noexcept { return FFeatKind; }
    void SetFeatKind(TFeatKind Value) noexcept { FFeatKind = Value; }
    const String& Comment() const noexcept { return FComment; }
    void SetComment(const String& Value) { FComment = Value; }
    /// Free text, stored and saved but not interpreted.
    const String& PresetValues() const noexcept { return FPresetValues; }
    void SetPresetValues(const String& Value) { FPresetValues = Value; }
    /// A flag, stored and saved but not interpreted.
    bool Sorted() const noexcept { return FSorted; }
    void SetSorted(bool Value) noexcept { FSorted = Value; }
    /// A reference for the caller's user interface: neither owned nor saved.
    void* GUIElem() const noexcept { return FGUIElem; }
    void SetGUIElem(void* Value) noexcept { FGUIElem = Value; }

    /// From another `TFeatMatProps`: all seven fields (the GUI pointer as a pointer). Other
    /// sources go to the inherited `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Copies into a `TFeatMatProps` of this class or the library's class; otherwise the
    /// inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;

  private:
    std::int32_t FFeatNum = 0;
    String FFeatName;
    TFeatKind FFeatKind = fkUndefined;
    String FComment;
    String FPresetValues;
    bool FSorted = false;
    void* FGUIElem = nullptr;
};

/// A data table of objects 1..`NObjects()` described by features 1..`NFeatures()`. Each
/// feature has a `TFeatMatProps` and a kind that decides which texts the setters accept and
/// how the typed getters convert; every value is kept as a string, the empty string meaning
/// "no value".
///
/// Property objects are held by shared ownership: `FeatProps` hands out a reference that stays
/// valid as long as the caller keeps it, and `SetFeatProps` makes the feature share the
/// caller's object, so one object given to two features (or twice) is shared, never freed
/// twice.
///
/// Out-of-range feature or object numbers make writes do nothing and reads give the empty
/// string, 0, 0.0 or `tsUndefined`. Errors are `EQORDStructError` with messages of the form
/// `Component "<Name>": ...`; a failed write changes nothing. `OnChange` is sent by every
/// value write, `Fill`, clearing, copying, insertion, removal, count change, `Clear`,
/// `SetFeatProps` and at the end of every read (see each operation for the counts); the range
/// operations and direct changes of property objects send nothing. One thread at a time.
class TFeatureMatrix : public TComponent {
  public:
    /// Largest feature count the reader accepts.
    static constexpr std::int32_t kMaxReadFeatures = 1 << 20;
    /// Largest number of values (features x objects) the reader accepts.
    static constexpr std::int64_t kMaxReadValues = std::int64_t{1} << 25;

    /// No features, no objects, no handler. Owned by `AOwner` when one is given.
    explicit TFeatureMatrix(TComponent* AOwner = nullptr);

    // ---- shape ------------------------------------------------------------------------------

    std::int32_t NFeatures() const noexcept { return FNFeats; }
    std::int32_t NObjects() const noexcept { return FNObjs; }
    /// The same as `NFeatures`.
    std::int32_t GetNFeats() const noexcept { return FNFeats; }
    /// The same as `NObjects`.
    std::int32_t GetNObjs() const noexcept { return FNObjs; }
    /// Sets the feature count: surplus features are released, new ones get default properties
    /// and empty values; values keep their places. Notifies once. Raises `EQORDStructError`
    /// ": invalid number of features" for a negative count and ": not enough memory" when
    /// memory runs out (the matrix is then unchanged, no notification).
    void SetNFeats(std::int32_t n);
    /// Sets the object count; new values are empty. Notifies once. Raises as `SetNFeats`
    /// (": invalid number of objects").
    void SetNObjs(std::int32_t n);
    /// Sets the object count, then the feature count, then notifies again: three
    /// notifications. With a negative count nothing changes, nothing is sent and the result
    /// is false; when memory runs out the result is false and what was set before stays.
    bool Resize(std::int32_t NFeats, std::int32_t NObjs);
    /// Releases every feature and object; notifies once.
    void Clear();

    // ---- properties -------------------------------------------------------------------------

    /// The property object of feature `fix`; for `fix` outside 1..NFeatures a new object with
    /// defaults that belongs to the caller alone.
    std::shared_ptr<TFeatMatProps> GetFeatProps(std::int32_t fix) const;
    /// The same as `GetFeatProps`.
    std::shared_ptr<TFeatMatProps> FeatProps(std::int32_t fix) const { return GetFeatProps(fix); }
    /// Makes feature `fix` refer to `FeatMatProps` from now on (shared with the caller and with
    /// any other feature given the same object); the object it replaces is released when no
    /// one else holds it. Notifies. Nothing for `fix` out of range or a null pointer.
    void SetFeatProps(std::int32_t fix, std::shared_ptr<TFeatMatProps> FeatMatProps);

    // ---- values -----------------------------------------------------------------------------

    /// The stored text. Raises ": feature <fix> is undefined" for a feature of kind
    /// `fkUndefined`.
    String GetFeatValStr(std::int32_t fix, std::int32_t obj) const;
    /// Stores `FeatVal` after checking it against the feature's kind: `fkUndefined` raises
    /// "is undefined"; `fkInteger` takes "" or an integer text, `fkDouble` "" or a
    /// floating-point text, `fkTriState` "true", "false" or "" in any case (stored as given),
    /// `fkString` anything. A rejected text raises ": feature value "<text>" is not a valid
    /// integer number" (or "floating point number", "tri-state value"). Notifies.
    void SetFeatValStr(std::int32_t fix, std::int32_t obj, const String& FeatVal);
    /// The default array property: the same as `GetFeatValStr`.
    String FeatVal(std::int32_t fix, std::int32_t obj) const { return GetFeatValStr(fix, obj); }
    void SetFeatVal(std::int32_t fix, std::int32_t obj, const String& v) {
        SetFeatValStr(fix, obj, v);
    }
    /// The value read as a 64-bit integer (any kind). Raises ": feature is not an integer"
    /// unless the text is an integer text, and `EConvertError` beyond the 64-bit range.
    std::int64_t GetFeatValInt(std::int32_t fix, std::int32_t obj) const;
    /// Stores the decimal text of `Value`; kinds `fkInteger`, `fkDouble` and `fkString` only,
    /// else ": feature is not of numeric or string type". Notifies.
    void SetFeatValint(std::int32_t fix, std::int32_t obj, std::int64_t Value);
    /// The value as a double (any kind): it must pass the floating-point scan, else ": feature
    /// is not a floating point number"; it is converted with `FormatSettings`, and text that
    /// the scan accepts but that is not wholly a number raises `EConvertError`.
    double GetFeatValDouble(std::int32_t fix, std::int32_t obj) const;
    /// Stores `FloatToStr(Value, FormatSettings)`; kinds `fkDouble` and `fkString` only, else
    /// ": feature is not a floating point or string type". Notifies.
    void SetFeatValDouble(std::int32_t fix, std::int32_t obj, double Value);
    /// "true" gives `tsTrue`, "false" `tsFalse`, "" `tsUndefined` (case ignored, any kind);
    /// other text raises ": feature is not a tri-state value".
    TTriState GetFeatValTriState(std::int32_t fix, std::int32_t obj) const;
    /// Stores "true", "false" or ""; kinds `fkTriState` and `fkString` only, else ": feature
    /// is not a tri-state or string type". Notifies.
    void SetFeatValTriState(std::int32_t fix, std::int32_t obj, TTriState Value);
    std::int64_t FeatValAsInt(std::int32_t fix, std::int32_t obj) const {
        return GetFeatValInt(fix, obj);
    }
    double FeatValAsDouble(std::int32_t fix, std::int32_t obj) const {
        return GetFeatValDouble(fix, obj);
    }
    TTriState FeatValAsTriState(std::int32_t fix, std::int32_t obj) const {
        return GetFeatValTriState(fix, obj);
    }

    /// Sets feature `fix` of every object to `FeatVal`, checked as `SetFeatValStr` checks
    /// except that `fkInteger` and `fkDouble` refuse the empty string too. Notifies once and
    /// returns true; false for `fix` out of range.
    bool Fill(std::int32_t fix, const String& FeatVal);
    /// The same with a null-terminated text.
    bool Fill(std::int32_t fix, const char16_t* FeatVal) { return Fill(fix, String(FeatVal)); }
    /// Fills with the decimal text of `FeatVal`; the kind must be `fkInteger`, else
    /// ": feature <fix> is not an integer number".
    bool Fill(std::int32_t fix, std::int64_t FeatVal);
    /// The same for 32-bit arguments.
    bool Fill(std::int32_t fix, std::int32_t FeatVal) {
        return Fill(fix, static_cast<std::int64_t>(FeatVal));
    }
    /// Fills with `FloatToStr(FeatVal, FormatSettings)`; the kind must be `fkDouble`, else
    /// ": feature <fix> is not floating point number".
    bool Fill(std::int32_t fix, double FeatVal);
    /// Fills with "true", "false" or ""; the kind must be `fkTriState`, else ": feature <fix>
    /// is not a tri-state value".
    bool Fill(std::int32_t fix, TTriState FeatVal);

    // ---- clearing, objects and features -----------------------------------------------------

    /// Every value becomes the cleared value of its kind ("0" for integer and double features,
    /// "" otherwise), object by object, with one notification after each object.
    void ResetToDefault();
    /// The values of object `obj` become the cleared values of their kinds; notifies once.
    void ClearObject(std::int32_t obj);
    /// Every value of feature `feat` becomes the cleared value of its kind; notifies once.
    void ClearFeature(std::int32_t feat);
    /// Copies all values of object `Source` to object `Target`; notifies once.
    void CopyObject(std::int32_t Source, std::int32_t Target);
    /// Inserts a cleared object at `obj` (1..NObjects): three notifications (count, clearing,
    /// end).
    void InsertObject(std::int32_t obj);
    /// Removes object `obj`: two notifications (count, end).
    void RemoveObject(std::int32_t obj);
    /// Inserts a feature at `feat` (1..NFeatures + 1, so it can append) with empty values and
    /// default properties; the property objects of the features behind it move with their
    /// features. Two notifications (count, end).
    void InsertFeature(std::int32_t feat);
    /// Removes feature `feat`; its property object is released (when no one else holds it).
    /// Two notifications.
    void RemoveFeature(std::int32_t feat);

    // ---- feature ranges ---------------------------------------------------------------------

    /// Sets the kind of features IxFrom..IxTo (both 0: all; bounds clamped to 1..NFeatures and
    /// swapped when reversed) without touching their values. No notification.
    void SetFeatType(std::int32_t IxFrom, std::int32_t IxTo, TFeatKind FeatKind);
    /// Numbers the range (as `SetFeatType`): feature i gets FirstNum + (i - low) x Delta
    /// (32-bit arithmetic that wraps). No notification.
    void RenumberFeatures(std::int32_t IxFrom, std::int32_t IxTo, std::int32_t FirstNum,
                          std::int32_t Delta);
    /// Names features IxFrom..IxTo (both 0: all) from `Template`, where "<%D n%>" is k =
    /// FirstNum + (i - low) x Delta in decimal (n > 0 right-aligned in n characters, the last
    /// n kept; n < 0 exactly |n| digits with leading zeros, "-" in front when negative),
    /// "<%I n%>" the same for the feature number i, "<%H n%>" k in n (1..8) upper-case
    /// hexadecimal digits, "<%T fmt%>" the date and time of the call by `FormatDateTime`.
    /// Returns 0; -1 when a bound lies outside 1..NFeatures (nothing changes); -2 when a
    /// template fails (an unknown letter, a missing "%>", a field wider than 1000, or an
    /// expansion that does not end within 65536 characters), the features before it keeping
    /// their new names. No notification.
    std::int32_t GenerateFeatNames(const String& Template, std::int32_t IxFrom, std::int32_t IxTo,
                                   std::int32_t FirstNum, std::int32_t Delta);
    /// The first feature whose name equals `Name` ignoring A to Z case; -1 if none.
    std::int32_t FindFeatName(const String& Name) const;
    /// The first feature whose number is `Num`; -1 if none.
    std::int32_t FindFeatNum(std::int32_t Num) const;

    // ---- files ------------------------------------------------------------------------------

    /// Saves the matrix in its text format (see `SaveToOpenFile`) through a temporary sibling
    /// renamed over `FName`, so a failure never leaves a half-written file in its place.
    /// Raises what `SaveToOpenFile` raises and `EInOutError` naming `FName`.
    void Save(const String& FName) const;
    /// Writes the text format, Windows-1252 with CR LF: "#featdef <n> 1", six lines
    /// "<i> <key> <value>" per feature (fplFeatNum, fplFeatName, fplFeatKind, fplComment,
    /// fplPresets, fplSorted), "#featvals <n> <m>", one line "<f> <o> <value>" per non-empty
    /// value (objects outer, features inner), "#featend". A name, comment, preset text or
    /// value holding CR or LF cannot be written as one line: such a matrix raises
    /// `EQORDStructError` naming the item before anything is written. Characters outside
    /// Windows-1252 are written as "?". I/O errors raise `EInOutError`.
    void SaveToOpenFile(TextFile& F) const;
    /// Reads a file: 0 when it was read; -1 when it does not exist; -2 when it has no "featdef"
    /// or "featvals" keyword line; -3 when the read failed (what was read so far stays).
    /// Errors while opening or closing raise `EInOutError`.
    std::int32_t Load(const String& FName);
    /// Reads the text format from `F`: 0 when a "featdef" or "featvals" section was read, -1
    /// when none was found, -2 when reading failed (a bad number, a count beyond the reader's
    /// limits, an I/O error); what was read so far stays. Notifies twice (the clearing at the
    /// start and the end of the read). Afterwards the property objects always match the
    /// feature count.
    std::int32_t LoadFromOpenFile(TextFile& F);

    // ---- copying ----------------------------------------------------------------------------

    /// From another `TFeatureMatrix`: counts, values, a copy of every property object and the
    /// `OnChange` handler. One notification (from the count change, sent before the copy).
    /// Other sources go to the inherited `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Copies into a `TFeatureMatrix` of this class or the library's class; otherwise the
    /// inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;

    /// Calls `OnChange(this)` when a handler is set.
    void Changed();
    const TNotifyEvent& OnChange() const noexcept { return FOnChange; }
    void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }

  private:
    bool ValidFeat(std::int32_t fix) const noexcept { return fix >= 1 && fix <= FNFeats; }
    bool ValidObj(std::int32_t obj) const noexcept { return obj >= 1 && obj <= FNObjs; }
    TFeatKind Kind(std::int32_t fix) const noexcept;
    String& Cell(std::int32_t fix, std::int32_t obj) {
        return FFeatVals[static_cast<std::size_t>(fix - 1)][static_cast<std::size_t>(obj - 1)];
    }
    const String& Cell(std::int32_t fix, std::int32_t obj) const {
        return FFeatVals[static_cast<std::size_t>(fix - 1)][static_cast<std::size_t>(obj - 1)];
    }
    /// The stored text for the typed reads: empty out of range, no kind check.
    const String& RawValue(std::int32_t fix, std::int32_t obj) const;
    [[noreturn]] void Fail(std::u16string_view Text) const;
    /// Raises the error of a text that the kind of `fix` refuses; `EmptyNumber` lets integer
    /// and double features take the empty string.
    void CheckText(std::int32_t fix, const String& FeatVal, bool EmptyNumber) const;
    /// Sets both counts without notification (strong guarantee).
    void Reshape(std::int32_t NFeats, std::int32_t NObjs);
    void FillWith(std::int32_t fix, const String& Text);
    std::int32_t ReadFile(TextFile& F);

    std::int32_t FNFeats = 0;
    std::int32_t FNObjs = 0;
    std::vector<std::shared_ptr<TFeatMatProps>> FFeatProps;
    std::vector<std::vector<String>> FFeatVals;
    TNotifyEvent FOnChange;
};

}  // namespace qorkit
