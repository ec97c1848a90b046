// TStringArray: a table of short 8-bit strings packed into 32 KiB string pools, with a row
// permutation for sorting, row and column attributes, searching and XML persistence.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "qorkit/core/types.h"
#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/system.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

/// Size of one string pool in bytes. The last byte of a pool is never used.
inline constexpr std::int32_t kStringPoolSize = 32768;

/// One string pool: stored strings, each a length byte followed by its characters.
using TStringPool = std::array<std::uint8_t, kStringPoolSize>;

/// Called by the sort for every key it reads: `OutString` starts as a copy of `InString` and
/// what the handler leaves in it is the key (before lower-casing).
using TBeforeSortExchgEvent =
    std::function<void(TObject* Sender, const String& InString, String& OutString)>;

/// A two-dimensional table of short 8-bit strings (0 to 255 Windows-1252 characters each),
/// addressed by column 0..`NrOfColumns()` and row 1..`NrOfRows()`.
///
/// Storage: cell texts are not allocated one by one. They are appended to string pools of
/// 32768 bytes and each cell holds a 32-bit handle, pool number (1-based) in the high 16 bits
/// and 1-based offset in the low 16 bits; 0 means "never written" and reads as empty. A write
/// reuses the cell's slot when the new text is not longer than the text stored there;
/// otherwise it appends to the first pool with room (first fit), or to a new pool. Replaced
/// slots become garbage until `GarbageCollection` or `Clear`.
///
/// Rows: every row number a caller gives is a shown row, mapped through a permutation to the
/// physical row that holds its handles and its attribute. `Sort` changes only that
/// permutation; `CommitSorting` makes the shown order physical; every change of shape returns
/// the view to the physical order. Column 0 holds text like the others but has no attribute,
/// cannot be inserted or removed, and is ignored by `RowEmpty`.
///
/// Bad indices never raise and never touch memory outside the table: reads give empty text,
/// 0 or -1, writes and shape operations do nothing. `OnChange` is sent by every accepted write
/// (one per cell), attribute change, change of shape, `Sort` and `UnSort`; `Clear`,
/// `GarbageCollection`, `Assign`, `CommitSorting`, `SetSortOrder` and `SetAllocRowsBy` send
/// none. One thread at a time; handlers run on the caller's thread inside the operation.
///
/// Owned by `AOwner` when one is given (allocate with `new`), else by the caller.
class TStringArray : public TComponent {
  public:
    /// Cells are at most this long; longer texts are cut on writing.
    static constexpr std::int32_t kMaxCellLength = 255;
    /// A pool number must fit the 16 high bits of a handle.
    static constexpr std::int32_t kMaxPools = 65535;

    /// One column, one row, `AllocRowsBy` 10 (10 rows allocated), one empty pool, every cell
    /// empty, every attribute 0, no handlers. Raises `EQORDStructError` "Class TStringArray:
    /// failed to initialize (out of memory)" when the allocations fail.
    explicit TStringArray(TComponent* AOwner = nullptr);
    ~TStringArray() override;

    // ---- cells ----------------------------------------------------------------------------

    /// The 8-bit text of cell (`c`, `r`); empty for an empty cell and for `c` outside
    /// 0..NrOfColumns or `r` outside 1..NrOfRows.
    AnsiString GetString(std::int32_t c, std::int32_t r) const;
    /// Stores a copy of `s` (cut to 255 bytes) in cell (`c`, `r`) and notifies; does nothing
    /// out of range. Raises `EQORDStructError` "Class TStringArray: no room for another string
    /// pool" when all 65535 pools are full (the cell is then unchanged).
    void SetString(std::int32_t c, std::int32_t r, std::string_view s);
    /// The default array property: the same as `GetString`.
    AnsiString Elem(std::int32_t c, std::int32_t r) const { return GetString(c, r); }
    /// The same as `SetString`.
    void SetElem(std::int32_t c, std::int32_t r, std::string_view s) { SetString(c, r, s); }
    /// The cell as 16-bit text (Windows-1252 decoded).
    String Text(std::int32_t c, std::int32_t r) const;
    /// Writes 16-bit text: encoded as Windows-1252 (unmappable characters become "?") and cut
    /// to 255 characters, then stored as by `SetString`.
    void SetText(std::int32_t c, std::int32_t r, std::u16string_view s);

    /// The cell read as a number: blanks (only U+0020) around it are ignored, commas read as
    /// decimal points ("3,5" is 3.5), and an empty or blank cell is 0. Out-of-range cells read
    /// empty, so 0. Otherwise the whole text must be a decimal number (optional sign, digits
    /// with an optional point, optional exponent); anything else raises `EQORDStructError`
    /// "Class TStringArray: invalid numeric string: [c,r]: <text>".
    double GetAsNumber(std::int32_t c, std::int32_t r) const;
    /// The same as `GetAsNumber`.
    double AsNumber(std::int32_t c, std::int32_t r) const { return GetAsNumber(c, r); }
    /// `GetAsNumber` rounded to the nearest integer, halves to even, limited to
    /// -2147483647..2147483647. Raises as `GetAsNumber`.
    std::int32_t GetAsInteger(std::int32_t c, std::int32_t r) const;
    /// The same as `GetAsInteger`.
    std::int32_t AsInteger(std::int32_t c, std::int32_t r) const { return GetAsInteger(c, r); }

    // ---- attributes -----------------------------------------------------------------------

    /// Attribute of the row shown as `r`; 0 out of range. It travels with its row when sorted.
    std::uint8_t GetRowAttrib(std::int32_t r) const;
    /// Sets the attribute of the row shown as `r` and notifies; nothing out of range.
    void SetRowAttrib(std::int32_t r, std::uint8_t b);
    std::uint8_t RowAttrib(std::int32_t r) const { return GetRowAttrib(r); }
    /// Attribute of column `c` in 1..NrOfColumns; 0 otherwise (column 0 has none).
    std::uint8_t GetColAttrib(std::int32_t c) const;
    /// Sets the attribute of column `c` in 1..NrOfColumns and notifies; nothing otherwise.
    void SetColAttrib(std::int32_t c, std::uint8_t b);
    std::uint8_t ColAttrib(std::int32_t c) const { return GetColAttrib(c); }

    // ---- shape ----------------------------------------------------------------------------

    /// Number of ordinary columns (column 0 comes in addition).
    std::int32_t NrOfColumns() const noexcept { return FNCol; }
    /// `Resize(Value, NrOfRows())`.
    void SetNrOfColumns(std::int32_t Value) { Resize(Value, FNRow); }
    /// Number of rows.
    std::int32_t NrOfRows() const noexcept { return FNRow; }
    /// `Resize(NrOfColumns(), Value)`.
    void SetNrOfRows(std::int32_t Value) { Resize(FNCol, Value); }
    /// Rows are allocated in multiples of this step (10 at first).
    std::int32_t AllocRowsBy() const noexcept { return FAllocRowsBy; }
    /// Sets the row allocation step used by the next reallocation. A value below 1 would
    /// leave no valid step and is ignored (the step keeps its value). No notification.
    void SetAllocRowsBy(std::int32_t Value) noexcept;
    /// Number of rows for which space is allocated (at least `NrOfRows()`).
    std::int32_t RowsAllocated() const noexcept { return FRAllocated; }
    /// Number of string pools (at least 1).
    std::int32_t NumBuffers() const noexcept { return FNumPoolAddr; }
    /// The 1-based offset of the first free byte of pool `Pool` (1..NumBuffers); 0 out of
    /// range. For diagnostics of pool use.
    std::int32_t PoolFirstFree(std::int32_t Pool) const noexcept;

    /// Sets the shape to `Nc` ordinary columns and `Nr` rows and returns true; texts and
    /// attributes keep their column and physical row, new cells are empty and new attributes
    /// 0, and the view returns to the physical order. The current shape returns true without
    /// notification; `Nc` <= 0 or `Nr` <= 0 return false and change nothing. Growing beyond
    /// the allocated rows or changing the column count reallocates, to `Nr` rounded up to a
    /// multiple of `AllocRowsBy`; when that fails the result is false and the shape is kept.
    /// Notifies whenever it got past the checks, also after a failed reallocation.
    bool Resize(std::int32_t Nc, std::int32_t Nr);
    /// Appends an empty row; returns the new row count.
    std::int32_t AddRow();
    /// Inserts an empty row at shown row `r` (1..NrOfRows, else nothing). The view becomes the
    /// physical order with the new row shown at `r`; on a sorted table the new row is placed
    /// physically where the row shown at `r` was, and the permutation keeps mapping `r` there.
    void InsertRow(std::int32_t r);
    /// Removes shown row `r` (1..NrOfRows, else nothing); the last row is emptied instead of
    /// removed. The view returns to the physical order of the remaining rows.
    void RemoveRow(std::int32_t r);
    /// Copies the texts (columns 0..NrOfColumns) and the attribute of row `Source` to row
    /// `Target`; both must be in 1..NrOfRows, else nothing.
    void CopyRow(std::int32_t Source, std::int32_t Target);
    /// Inserts an empty column at `c` (1..NrOfColumns, else nothing).
    void InsertColumn(std::int32_t c);
    /// Removes column `c` (1..NrOfColumns, else nothing); the only column is emptied instead.
    void RemoveColumn(std::int32_t c);

    // ---- whole table ----------------------------------------------------------------------

    /// Empties every cell and attribute, releases all pools but the first and returns to the
    /// physical order; keeps the shape. No notification.
    void Clear();
    /// Writes `s` into every cell of columns 0..NrOfColumns; an empty `s` calls `Clear`.
    void Fill(std::string_view s);
    /// True when no cell of column `ACol` holds a character other than a blank; true out of
    /// range.
    bool ColumnEmpty(std::int32_t ACol) const;
    /// True when no cell of columns 1..NrOfColumns of row `ARow` holds a character other than
    /// a blank (column 0 is not looked at); true out of range.
    bool RowEmpty(std::int32_t ARow) const;
    /// Compacts every pool: live strings are copied together in cell order (column by column,
    /// physical rows ascending), so each pool's first-free offset becomes 1 plus the sum of
    /// (length + 1) over its live strings. Pools are kept even when empty. Linear in the
    /// number of cells plus pools. No notification.
    void GarbageCollection();

    /// From another `TStringArray`: an exact, independent copy (shape, allocation step, pools
    /// byte for byte, handles, permutation, attributes and the three event handlers), without
    /// notification. Any other source goes to the inherited `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Copies into `Dest` when it is a `TStringArray`; otherwise the inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;
    /// Calls `OnChange(this)` when a handler is set.
    void Changed();

    // ---- sorting --------------------------------------------------------------------------

    /// Sorts the shown rows by column `Col` (ties broken by column `ColSec` when it is 1 or
    /// more) with a comb sort, shrink factor 1.3. Keys are the cell texts passed through
    /// `BeforeSortExchange`, lower-cased A to Z only, compared by 16-bit code units (no
    /// locale, no numbers: "10" < "100" < "9"). Only the permutation changes. Not stable: equal
    /// keys keep the order the fixed pass sequence leaves. `OnPercentDone` gets 0, a value per
    /// pass and 100; `OnChange` is sent once at the end when there are two rows or more.
    void Sort(std::int32_t Col, std::int32_t ColSec, bool Ascending);
    /// Shows the physical order again and notifies.
    void UnSort();
    /// Makes the shown order the physical order (handles and row attributes move, texts stay
    /// in their pools) and resets the permutation. No notification. A permutation broken by
    /// `SetSortOrder` (a physical row shown twice) gives the repeated row's cells their own
    /// copies of the texts, so no two cells ever share a slot.
    void CommitSorting();
    /// The physical row shown at `ix` (1..NrOfRows); -1 otherwise.
    std::int32_t GetSortOrder(std::int32_t ix) const noexcept;
    /// Shows physical row `position` at `ix` when both lie in 1..NrOfRows; otherwise nothing.
    /// Does not check that the permutation stays a permutation. No notification.
    void SetSortOrder(std::int32_t ix, std::int32_t position) noexcept;
    std::int32_t SortOrder(std::int32_t ix) const noexcept { return GetSortOrder(ix); }
    /// Sets `OutString` to `InString`, then lets `OnBeforeSortExchange` change it.
    void BeforeSortExchange(const String& InString, String& OutString);

    // ---- searching ------------------------------------------------------------------------

    /// Finds the first cell, row by row and left to right within a row, whose text contains
    /// `FindStr` (an empty `FindStr` never matches); A to Z case is ignored unless `MatchCase`.
    /// Columns: -1 for `ColLow` or `ColHigh` means all (0..NrOfColumns), else each is clamped
    /// and the two are ordered. Rows: both -1 means all, else each is clamped to 1..NrOfRows
    /// and the two are ordered. On a match sets `Col` and `row` and returns true; otherwise
    /// returns false and leaves them unchanged.
    bool FindCell(const String& FindStr, bool MatchCase, std::int32_t ColLow, std::int32_t ColHigh,
                  std::int32_t RowLow, std::int32_t RowHigh, std::int32_t& Col,
                  std::int32_t& row) const;
    /// As `FindCell`, for a cell whose text equals `FindStr` (an empty `FindStr` finds the
    /// first empty cell).
    bool FindCellExact(const String& FindStr, bool MatchCase, std::int32_t ColLow,
                       std::int32_t ColHigh, std::int32_t RowLow, std::int32_t RowHigh,
                       std::int32_t& Col, std::int32_t& row) const;
    /// The search behind both: `Exact` selects equality (true) or containment (false).
    bool FindCellIntern(const String& FindStr, bool MatchCase, std::int32_t ColLow,
                        std::int32_t ColHigh, std::int32_t RowLow, std::int32_t RowHigh,
                        std::int32_t& Col, std::int32_t& row, bool Exact) const;
    /// Binary search for a cell equal to `FindStr` in column `ColIx` (clamped), rows as for
    /// `FindCell`, the column being sorted ascending or descending by 16-bit code units (after
    /// lower-casing A to Z on both sides unless `MatchCase`). On a match returns true with
    /// `row` at the first row of the run of equal cells (the walk back may pass `RowLow`, never
    /// row 1); otherwise false with `row` at the last row examined.
    bool FindCellInSortedColumn(const String& FindStr, bool MatchCase, std::int32_t ColIx,
                                std::int32_t RowLow, std::int32_t RowHigh, bool ColIsAscending,
                                std::int32_t& row) const;

    // ---- XML persistence ------------------------------------------------------------------

    /// Writes the table as a complete XML file `FName` (header line included) under the
    /// identifier `DataID`. The file is written beside the target under a temporary name and
    /// renamed over it at the end, so a failure leaves an existing file as it was. Raises
    /// `EInOutError` for failures of the file system.
    void SaveAsXMLFile(const String& FName, const String& DataID);
    /// Writes the table as one "strarray" element into a text file open for writing; with
    /// `CreateHeader` an XML declaration line goes first. Several tables with different
    /// identifiers may share one file. Errors of the text file pass through.
    void WriteToOpenXMLFile(TextFile& F, bool CreateHeader, const String& DataID);
    /// Reads the table written under `DataID` (compared ignoring A to Z case; an empty
    /// `DataID` takes the first table) from file `FName`. Returns false when there is no
    /// such table or the element is malformed or truncated; the table is then unchanged.
    /// Raises `EInOutError` when the file cannot be opened or read.
    bool LoadFromXMLFile(const String& FName, const String& DataID);
    /// As `LoadFromXMLFile` on a text file open for reading: searches from the current line
    /// and leaves the file after the element's end tag (or at its end). On success the table
    /// is replaced as a whole and notifies once; on failure it is unchanged.
    bool ReadFromOpenXMLFile(TextFile& F, const String& DataID);

    // ---- events ---------------------------------------------------------------------------

    const TNotifyEvent& OnChange() const noexcept { return FOnChange; }
    void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }
    const TOnPercentDoneEvent& OnPercentDone() const noexcept { return FOnPercentDone; }
    void SetOnPercentDone(TOnPercentDoneEvent Handler) { FOnPercentDone = std::move(Handler); }
    const TBeforeSortExchgEvent& OnBeforeSortExchange() const noexcept { return FOnBefSortExc; }
    void SetOnBeforeSortExchange(TBeforeSortExchgEvent Handler) {
        FOnBefSortExc = std::move(Handler);
    }

  private:
    using THandleColumn = std::vector<std::uint32_t>;

    bool InRange(std::int32_t c, std::int32_t r) const noexcept {
        return c >= 0 && c <= FNCol && r >= 1 && r <= FNRow;
    }
    /// The physical row (1-based) shown as `r`, which must be in range.
    std::int32_t Physical(std::int32_t r) const noexcept {
        return FSortIx[static_cast<std::size_t>(r - 1)];
    }
    /// The stored bytes of a handle (length byte first); null for handle 0.
    const std::uint8_t* Slot(std::uint32_t Handle) const noexcept;
    /// The text behind a handle.
    std::string_view HandleText(std::uint32_t Handle) const noexcept;
    /// The text of column `c`, physical row `p`.
    std::string_view PhysicalText(std::int32_t c, std::int32_t p) const noexcept {
        return HandleText(FPoiArray[static_cast<std::size_t>(c)][static_cast<std::size_t>(p - 1)]);
    }
    /// Stores `s` for a cell holding `Handle`: in its slot when the slot is long enough,
    /// else appended. Returns the cell's new handle.
    std::uint32_t Store(std::uint32_t Handle, std::string_view s);
    /// Appends `s` to the first pool with room, or to a new pool, and returns its handle.
    std::uint32_t Append(std::string_view s);
    /// The 0-based index of the first pool with more than `Length` free bytes, or -1.
    std::int32_t FirstFit(std::size_t Length) const noexcept;
    void RebuildFreeIndex();
    /// Number of leaves of the free-space tree (a power of two, at least the pool count).
    std::size_t FreeLeaves() const noexcept { return FFreeTree.size() / 2; }
    void UpdateFreeIndex(std::int32_t PoolIx);
    /// Compacts pools `First`..`Last` (0-based) in one walk over the cells.
    void CompactPools(std::int32_t First, std::int32_t Last);

    std::int32_t RowCapacity(std::int32_t Nr) const noexcept;
    /// Reallocation step of `Resize`; false (table unchanged) when memory runs out.
    bool Reallocate(std::int32_t Nc, std::int32_t Nr);
    void ResetSortIx() noexcept;
    void EmptyRow(std::int32_t r);
    void CopyColumn(std::int32_t Source, std::int32_t Target);
    void EmptyColumn(std::int32_t c);
    double ParseCellNumber(std::int32_t c, std::int32_t r) const;

    /// The sort key of shown row `r` in column `c`, read through `BeforeSortExchange`.
    String SortKey(std::int32_t c, std::int32_t r);
    /// The comb sort reading keys through `BeforeSortExchange` for every comparison.
    void SortThroughHandler(std::int32_t Col, std::int32_t ColSec, bool Ascending,
                            std::int64_t Work);
    /// The same comb sort on keys computed once per row (no handler to call).
    void SortOnPrefixes(std::int32_t Col, std::int32_t ColSec, bool Ascending, std::int64_t Work);
    /// Reports the share of `Work` that `Done` comparisons are, when a handler is set.
    void ReportProgress(std::int64_t Done, std::int64_t Work);

    std::int32_t FNCol = 1;
    std::int32_t FNRow = 1;
    std::int32_t FAllocRowsBy = 10;
    std::int32_t FRAllocated = 0;
    std::int32_t FNumPoolAddr = 0;
    std::vector<std::int32_t> FFirstFree;
    std::vector<THandleColumn> FPoiArray;
    std::vector<std::int32_t> FSortIx;
    std::vector<std::unique_ptr<TStringPool>> FStgPool;
    std::vector<std::uint8_t> FRowAttrib;
    std::vector<std::uint8_t> FColAttrib;
    /// Largest free space per pool range (a max tree over the pools), for first-fit search
    /// in logarithmic time.
    std::vector<std::uint16_t> FFreeTree;
    TNotifyEvent FOnChange;
    TBeforeSortExchgEvent FOnBefSortExc;
    TOnPercentDoneEvent FOnPercentDone;
};

}  // namespace qorkit
