// TByteMatrix: a two-dimensional matrix of bytes whose bits can be addressed one by one.
#pragma once

#include <cstdint>
#include <vector>

#include "qorkit/dstruct/logic_op.h"
#include "qorkit/rtl/objects.h"

namespace qorkit {

/// A matrix of bytes addressed by column 1..`NrOfColumns()` and row 1..`NrOfRows()`; bit
/// 0..7 of a cell is bit `ixBit` of its byte (bit 0 the least significant).
///
/// Cells out of range never raise: reads give `DefaultValue()` (and its bits), writes do
/// nothing. Every accepted write (`SetByte`, `SetBit`, `ToggleBit`, `Fill`, the mirrors and a
/// `Resize` that changed the shape) calls `Changed`, which sends `OnChange`; `CombineWith`,
/// `Assign` and `SetDefaultValue` send nothing. The cells are held column by column in one
/// block of memory, at most 2^31 - 1 of them.
///
/// Owned by `AOwner` when one is given (allocate with `new`), else by the caller.
class TByteMatrix : public TComponent {
  public:
    /// The largest number of cells, `NrOfColumns` x `NrOfRows`.
    static constexpr std::int64_t kMaxCells = 2147483647;

    /// A 1 x 1 matrix holding 0, `DefaultValue` 0. Raises `EQORDStructError` "Component
    /// "<Name>": not enough memory on heap" when the cell cannot be allocated.
    explicit TByteMatrix(TComponent* AOwner = nullptr);

    /// Reshapes the matrix to `NrColumns` x `NrRows`: cells whose column and row both remain
    /// keep their values, new cells are 0 (not `DefaultValue`); `Changed` follows and the result
    /// is true. False, with no change, for the current shape or a count <= 0. Raises
    /// `EQORDStructError` "Component "<Name>": not enough memory on heap", the matrix unchanged,
    /// when the cells cannot be allocated or would number more than `kMaxCells`.
    bool Resize(std::int32_t NrColumns, std::int32_t NrRows);

    std::int32_t NrOfColumns() const noexcept { return FNrCols; }
    std::int32_t NrOfRows() const noexcept { return FNrRows; }
    /// `Resize` with the row count unchanged; a count below 1 is taken as 1.
    void SetNrCols(std::int32_t Value);
    /// `Resize` with the column count unchanged; a count below 1 is taken as 1.
    void SetNrRows(std::int32_t Value);

    /// The value read for cells out of range.
    std::uint8_t DefaultValue() const noexcept { return FDefaultVal; }
    void SetDefaultValue(std::uint8_t Value) noexcept { FDefaultVal = Value; }

    /// Cell (`ix`, `iy`); `DefaultValue` when either index is out of range.
    std::uint8_t GetByte(std::int32_t ix, std::int32_t iy) const noexcept;
    /// Sets cell (`ix`, `iy`) and calls `Changed`; nothing out of range.
    void SetByte(std::int32_t ix, std::int32_t iy, std::uint8_t Value);
    /// Bit `ixBit` of `GetByte(ix, iy)`; false for `ixBit` outside 0..7.
    bool GetBit(std::int32_t ix, std::int32_t iy, std::int32_t ixBit) const noexcept;
    /// Sets or clears bit `ixBit` of a cell and calls `Changed`; nothing when the cell is out of
    /// range or `ixBit` outside 0..7.
    void SetBit(std::int32_t ix, std::int32_t iy, std::int32_t ixBit, bool Value);
    /// Inverts bit `ixBit` of a cell and calls `Changed`; same ranges as `SetBit`.
    void ToggleBit(std::int32_t col, std::int32_t row, std::int32_t ixBit);

    /// Every cell := `Value`; `Changed`.
    void Fill(std::uint8_t Value);
    /// Column c and column `NrOfColumns` + 1 - c exchange their contents; `Changed`.
    void MirrorColumns();
    /// Row r and row `NrOfRows` + 1 - r exchange their contents; `Changed`.
    void MirrorRows();
    /// When `SecondByteMatrix` has the same shape: every cell becomes `Operation` of itself and
    /// the other matrix's cell. Nothing for a null or differently shaped matrix or an unknown
    /// operation; no notification.
    void CombineWith(const TByteMatrix* SecondByteMatrix, TLogicOp Operation) noexcept;

    /// From a `TByteMatrix`: copies the shape, `DefaultValue`, the cells and the `OnChange`
    /// handler, without notification; other sources go to the inherited `Assign`. Raises like
    /// `Resize`, the matrix unchanged.
    void Assign(const TPersistent* Source) override;
    /// Copies into a `TByteMatrix` of exactly the library's class or of this object's own
    /// class; other destinations go to the inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;

    const TNotifyEvent& OnChange() const noexcept { return FOnChange; }
    void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }
    /// Calls `OnChange(this)` when a handler is set.
    void Changed();

  private:
    // The offset of cell (ix, iy), or -1 when it is out of range.
    std::int64_t Offset(std::int32_t ix, std::int32_t iy) const noexcept;

    std::int32_t FNrCols = 1;
    std::int32_t FNrRows = 1;
    std::vector<std::uint8_t> FByteMat;  // column by column: cell (c, r) at (c-1) x rows + r-1
    TNotifyEvent FOnChange;
    std::uint8_t FDefaultVal = 0;
};

}  // namespace qorkit
