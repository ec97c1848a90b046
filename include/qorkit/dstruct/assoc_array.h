// TAssocArray: string keys mapped to variants, in insertion order, with a hash index.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"
#include "qorkit/rtl/variant.h"

namespace qorkit {

/// An associative array: entries 1..`NumEntries()`, each a key and a `Variant` value, kept in
/// the order of insertion (`Remove` moves the last entry into the gap).
///
/// Keys compare exactly, or with `IgnoreCase()` (the default) after folding A to Z only; `Add`
/// with `IgnoreCase()` stores the key lower-cased. A lookup finds the first entry (lowest
/// index) whose key matches under the comparison in force at the time of the lookup, so keys
/// stored through `SetKeys` or before `IgnoreCase` was switched may match more than once and
/// the first wins. Lookups run in constant average time: an index maps each key, folded A to
/// Z, to the entries that carry it, whatever the comparison in force.
///
/// Missing keys and out-of-range indices never raise. One thread at a time. Owned by `AOwner`
/// when one is given (allocate with `new`), else by the caller.
class TAssocArray : public TComponent {
  public:
    /// An empty array: `Granularity` 1024, `IgnoreCase` true, `DataID` empty.
    explicit TAssocArray(TComponent* AOwner = nullptr);

    /// Number of entries in use.
    std::int32_t NumEntries() const noexcept { return static_cast<std::int32_t>(FKeyArray.size()); }
    /// Growth step of the entry arrays. Values below 1 are taken as 1 when room is made.
    std::int32_t Granularity() const noexcept { return FGranularity; }
    /// Sets the growth step; no check (see `Granularity`).
    void SetGranularity(std::int32_t Value) noexcept { FGranularity = Value; }
    /// Whether keys compare ignoring the case of A to Z.
    bool IgnoreCase() const noexcept { return FIgnoreCase; }
    /// Switches the comparison for later calls; stored keys are not touched.
    void SetIgnoreCase(bool Value) noexcept { FIgnoreCase = Value; }
    /// An identifier kept with the array, copied by `Assign` and written by the XML writer.
    const String& DataID() const noexcept { return FDataID; }
    void SetDataID(const String& Value) { FDataID = Value; }

    /// Replaces the value of the entry whose key matches `Key` (it keeps its place), or
    /// appends a new entry. With `IgnoreCase()` the key is stored lower-cased (A to Z).
    /// Amortised constant time.
    void Add(const String& Key, const Variant& Value);
    /// Removes the entry of `Key`; the last entry moves into its place. False when there is
    /// none.
    bool Remove(const String& Key);
    /// A copy of the value stored for `Key`; Null when there is none.
    Variant Resolve(const String& Key) const;
    /// The value as text (`Variant::AsString`); empty for a missing key or a Null value.
    /// Raises the variant's conversion error for values that have no text (errors, arrays).
    String ResolveAsString(const String& Key) const;
    /// The value as a number: numeric variants (type codes 2 to 6 and 16 to 20) are converted;
    /// strings (256, 258) are scanned from their start: blanks, optional sign, digits with "."
    /// or "," as the decimal separator, optional exponent ("E" or "e", optional sign, at least
    /// one digit), up to the first character that does not fit ("1.5e3xyz" gives 1500, "3,5"
    /// 3.5, "abc" 0). Every other type, a missing key and Null give 0.
    double ResolveAsNumber(const String& Key) const;
    /// The value as an integer: codes 2, 3 and 16 to 20 converted (an out-of-range value
    /// raises `EVariantOverflowError`); single and double rounded half to even; strings give
    /// their leading integer (blanks, optional sign, digits; none give 0; beyond the 32-bit
    /// range raises `EVariantOverflowError`). Every other type, currency included, a missing
    /// key and Null give 0.
    std::int32_t ResolveAsInt(const String& Key) const;

    /// Key of entry `ix` (1..NumEntries); empty out of range.
    String GetKeys(std::int32_t ix) const;
    /// Sets the key of entry `ix` as given (no lower-casing, duplicates allowed); nothing out
    /// of range.
    void SetKeys(std::int32_t ix, const String& Value);
    /// Value of entry `ix`; out of range a variant holding the empty string (not Null).
    Variant GetValues(std::int32_t ix) const;
    /// Sets the value of entry `ix`; nothing out of range.
    void SetValues(std::int32_t ix, const Variant& Value);
    String Keys(std::int32_t ix) const { return GetKeys(ix); }
    Variant Values(std::int32_t ix) const { return GetValues(ix); }

    /// Removes every entry.
    void Clear();

    /// From another `TAssocArray`: entries, `Granularity`, `IgnoreCase` and `DataID`, keys as
    /// stored. Any other source goes to the inherited `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Copies into `Dest` when it is a `TAssocArray` of this class or the library's class;
    /// otherwise the inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;

    /// Writes the array as one "assocarray" element, one line per item, lines ended by CR LF:
    /// the XML declaration first when `CreateHeader`, then the start tag with the signature,
    /// `DataID` as id and the comparison mode, "numentries", one "assoc" line per entry
    /// (key, value type and value) and "/assocarray". The bytes are pure ASCII: characters
    /// outside it are character references, and a text that XML cannot carry (control
    /// characters, unpaired surrogates) is written as hexadecimal UTF-16 code units. Raises
    /// `EQORDStructError` before writing anything when a value is an array or an error value;
    /// stream errors pass through.
    void WriteToXMLStream(TStream& OutStream, bool CreateHeader, const String& DataID) const;
    /// Reads the next "assocarray" element whose id equals `DataID` (A to Z case ignored; an
    /// empty `DataID` takes the first), skipping what comes before. Strict and transactional:
    /// on success the entries, `IgnoreCase` and `DataID` are those of the file (keys exactly
    /// as written) and the result is true; on any malformation, a count that does not match,
    /// or a missing element the array is unchanged and the result is false. Stream errors
    /// pass through.
    bool ReadFromXMLStream(TStream& InStream, const String& DataID);
    /// Adds an entry (`Add`) for every attribute of `Attributes`, text such as
    /// `a="1" b=two c="x &amp; y"`: names are the keys, values (unescaped) are stored as
    /// strings. Returns the number of entries added or replaced; -1 when the text is
    /// malformed (nothing is added then).
    std::int32_t AddXMLAttributes(const String& Attributes);

  private:
    /// Hash and equality of keys folded A to Z, computed on the fly.
    struct TFoldHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view s) const noexcept;
    };
    struct TFoldEqual {
        using is_transparent = void;
        bool operator()(std::u16string_view a, std::u16string_view b) const noexcept;
    };
    /// The 0-based entries whose folded key is the same; usually one.
    struct TPositions {
        std::int32_t First = -1;
        std::vector<std::int32_t> More;
    };

    std::int32_t Find(std::u16string_view Key) const;
    void IndexAdd(std::int32_t Pos);
    void IndexRemove(std::u16string_view Key, std::int32_t Pos);
    void IndexMove(std::u16string_view Key, std::int32_t From, std::int32_t To);
    void Reindex();
    void MakeRoom();

    std::vector<Variant> FDataArray;
    std::vector<String> FKeyArray;
    std::int32_t FGranularity = 1024;
    bool FIgnoreCase = true;
    String FDataID;
    std::unordered_map<String, TPositions, TFoldHash, TFoldEqual> FIndex;
};

}  // namespace qorkit
