// TStringList: an ordered list of strings, optionally kept sorted, with text and file I/O.
#pragma once

#include <cstdint>
#include <vector>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/stream.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Raised for misuse of a `TStringList`: an index out of bounds, `Insert` into a sorted list,
/// a duplicate where duplicates are refused.
class EStringListError : public Exception {
  public:
    using Exception::Exception;
};

/// What a sorted `TStringList` does when a string equal to one it holds is added.
enum TDuplicates : std::uint8_t {
    dupIgnore,  ///< the string is not added; `Add` returns the index of the one present
    dupAccept,  ///< the string is added next to its equals
    dupError    ///< `Add` raises `EStringListError`
};

/// An ordered list of strings, indexed from 0.
///
/// Comparison: without `CaseSensitive` two strings compare by their code units after folding
/// a-z to A-Z (so "a" sorts before "_"); with it, by plain code units. No locale is consulted.
///
/// A `Sorted` list keeps its strings in that order: `Add` inserts at the sorted place and
/// applies `Duplicates`, `IndexOf` and `Find` search by bisection, and operations that would
/// break the order (`Insert`, `SetStrings`, `Exchange`) raise `EStringListError`.
///
/// `OnChange` is called after every operation that changes the list. Between `BeginUpdate`
/// and the matching `EndUpdate` the calls are held back, and one call follows at the end if
/// anything changed. Copies (constructor and assignment) take the strings and settings but
/// not the handler.
class TStringList : public TPersistent {
  public:
    /// An empty, unsorted, case-insensitive list with `dupIgnore`.
    TStringList() = default;
    /// Copies strings and settings (`Sorted`, `Duplicates`, `CaseSensitive`), not `OnChange`.
    TStringList(const TStringList& Other);
    /// Copies strings and settings, not `OnChange`; calls this list's `OnChange`.
    TStringList& operator=(const TStringList& Other);
    /// Releases the strings; `OnChange` is not called.
    ~TStringList() override = default;

    /// Appends `S` (or, when `Sorted`, inserts it at its sorted place after applying
    /// `Duplicates`) and returns its index. Raises `EStringListError` for a duplicate under
    /// `dupError`.
    std::int32_t Add(const String& S);
    /// Adds every string of `Source` as `Add` does (adding a list to itself doubles it). Under
    /// `dupError` the strings before the offending one stay added.
    void AddStrings(const TStringList& Source);
    /// Inserts `S` before position `Index` (0..Count()). Raises `EStringListError` for an
    /// index out of bounds and on a sorted list.
    void Insert(std::int32_t Index, const String& S);
    /// Removes the string at `Index`. Raises `EStringListError` for an index out of bounds.
    void Delete(std::int32_t Index);
    /// Removes every string (calls `OnChange` only if there were any).
    void Clear();
    /// The number of strings.
    std::int32_t Count() const noexcept { return static_cast<std::int32_t>(FItems.size()); }
    /// The string at `Index`. Raises `EStringListError` "List index out of bounds (N)".
    const String& Strings(std::int32_t Index) const;
    /// Replaces the string at `Index`. Raises `EStringListError` for an index out of bounds
    /// and on a sorted list.
    void SetStrings(std::int32_t Index, const String& S);
    /// Index of the first string equal to `S` under the list's comparison; -1 if none.
    std::int32_t IndexOf(const String& S) const;
    /// Looks `S` up. On a sorted list: bisection; true with `Index` at the first equal string,
    /// or false with `Index` where `S` would be inserted. On an unsorted list it searches
    /// linearly and, when `S` is absent, sets `Index` to `Count()`.
    bool Find(const String& S, std::int32_t& Index) const;
    /// Sorts the strings (stable: equal strings keep their order). `Sorted` is not changed.
    void Sort();
    /// Whether the list keeps itself sorted.
    bool Sorted() const noexcept { return FSorted; }
    /// Switching sorting on sorts the list; duplicates already present stay.
    void SetSorted(bool Value);
    /// How a sorted list treats duplicates.
    TDuplicates Duplicates() const noexcept { return FDuplicates; }
    /// Sets the duplicate rule for later additions; strings present are not touched.
    void SetDuplicates(TDuplicates Value) noexcept { FDuplicates = Value; }
    /// Whether comparisons tell upper-case a-z from lower-case.
    bool CaseSensitive() const noexcept { return FCaseSensitive; }
    /// Changes the comparison; a sorted list is sorted again.
    void SetCaseSensitive(bool Value);
    /// Swaps the strings at `Index1` and `Index2`. Raises `EStringListError` for an index out
    /// of bounds and on a sorted list.
    void Exchange(std::int32_t Index1, std::int32_t Index2);

    /// All strings, each followed by CR LF.
    String Text() const;
    /// Replaces the contents by the lines of `Value`, split at CR LF, LF or CR; a line end at
    /// the very end does not add an empty line. A sorted list adds them as `Add` does.
    void SetText(const String& Value);

    /// Replaces the contents by the text from `Stream`'s position to its end, read as
    /// Windows-1252 and split as `SetText` does.
    void LoadFromStream(TStream& Stream);
    /// Writes `Text()` to `Stream` as Windows-1252 (characters outside it become '?').
    void SaveToStream(TStream& Stream) const;
    /// Replaces the contents by the lines of file `FileName` (Windows-1252). Raises
    /// `EFOpenError` naming the file and the system's reason when it cannot be opened.
    void LoadFromFile(const String& FileName);
    /// Writes the list to file `FileName` (created or truncated) as Windows-1252 lines ending
    /// in CR LF. Raises `EFCreateError` naming the file when it cannot be created.
    void SaveToFile(const String& FileName) const;

    /// Copies strings and settings (`Sorted`, `Duplicates`, `CaseSensitive`) from another
    /// `TStringList`; other sources go to the inherited `Assign` (which raises
    /// `EConvertError`).
    void Assign(const TPersistent* Source) override;

    /// Holds back `OnChange` calls until the matching `EndUpdate`; calls nest.
    void BeginUpdate() noexcept { ++FUpdateCount; }
    /// Ends one `BeginUpdate`; at the outermost one, calls `OnChange` once if the list
    /// changed meanwhile. An unmatched call does nothing.
    void EndUpdate();
    /// The change handler (may be empty).
    const TNotifyEvent& OnChange() const noexcept { return FOnChange; }
    /// Sets the change handler, called with this list as sender after each change.
    void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }

  private:
    int Compare(const String& A, const String& B) const noexcept;
    void CheckIndex(std::int32_t Index) const;
    void CheckUnsorted() const;
    void Changed();
    void SortItems();
    std::int32_t AddNoNotify(const String& S);
    void CopyFrom(const TStringList& Other);

    std::vector<String> FItems;
    TNotifyEvent FOnChange;
    std::int32_t FUpdateCount = 0;
    bool FChangedInUpdate = false;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = dupIgnore;
};

}  // namespace qorkit
