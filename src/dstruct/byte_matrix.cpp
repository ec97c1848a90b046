// TByteMatrix: the cells in one column-major block.
#include "qorkit/dstruct/byte_matrix.h"

#include <algorithm>
#include <cstring>

#include "assign_same_class.h"
#include "combine_bytes.h"
#include "qorkit/core/errors.h"

namespace qorkit {

TByteMatrix::TByteMatrix(TComponent* AOwner) : TComponent(AOwner) {
    GuardAllocation<EQORDStructError>(ComponentMessage(*this, kMsgNoHeapMemory),
                                      [&] { FByteMat.assign(1, 0); });
}

std::int64_t TByteMatrix::Offset(std::int32_t ix, std::int32_t iy) const noexcept {
    if (ix < 1 || ix > FNrCols || iy < 1 || iy > FNrRows) return -1;
    return std::int64_t{ix - 1} * FNrRows + (iy - 1);
}

bool TByteMatrix::Resize(std::int32_t NrColumns, std::int32_t NrRows) {
    if (NrColumns <= 0 || NrRows <= 0 || (NrColumns == FNrCols && NrRows == FNrRows)) return false;
    const String message = ComponentMessage(*this, kMsgNoHeapMemory);
    if (std::int64_t{NrColumns} * NrRows > kMaxCells) throw EQORDStructError(message);
    std::vector<std::uint8_t> cells;
    GuardAllocation<EQORDStructError>(message, [&] {
        cells.assign(static_cast<std::size_t>(NrColumns) * static_cast<std::size_t>(NrRows), 0);
    });
    const std::size_t keepRows = static_cast<std::size_t>(std::min(NrRows, FNrRows));
    for (std::int32_t c = 0; c < std::min(NrColumns, FNrCols); ++c)
        std::memcpy(
            cells.data() + static_cast<std::size_t>(c) * static_cast<std::size_t>(NrRows),
            FByteMat.data() + static_cast<std::size_t>(c) * static_cast<std::size_t>(FNrRows),
            keepRows);
    FByteMat.swap(cells);
    FNrCols = NrColumns;
    FNrRows = NrRows;
    Changed();
    return true;
}

void TByteMatrix::SetNrCols(std::int32_t Value) {
    Resize(std::max(Value, 1), FNrRows);
}

void TByteMatrix::SetNrRows(std::int32_t Value) {
    Resize(FNrCols, std::max(Value, 1));
}

std::uint8_t TByteMatrix::GetByte(std::int32_t ix, std::int32_t iy) const noexcept {
    const std::int64_t at = Offset(ix, iy);
    return at < 0 ? FDefaultVal : FByteMat[static_cast<std::size_t>(at)];
}

void TByteMatrix::SetByte(std::int32_t ix, std::int32_t iy, std::uint8_t Value) {
    const std::int64_t at = Offset(ix, iy);
    if (at < 0) return;
    FByteMat[static_cast<std::size_t>(at)] = Value;
    Changed();
}

bool TByteMatrix::GetBit(std::int32_t ix, std::int32_t iy, std::int32_t ixBit) const noexcept {
    if (ixBit < 0 || ixBit > 7) return false;
    return (GetByte(ix, iy) >> ixBit & 1) != 0;
}

void TByteMatrix::SetBit(std::int32_t ix, std::int32_t iy, std::int32_t ixBit, bool Value) {
    const std::int64_t at = Offset(ix, iy);
    if (at < 0 || ixBit < 0 || ixBit > 7) return;
    std::uint8_t& b = FByteMat[static_cast<std::size_t>(at)];
    const auto mask = static_cast<std::uint8_t>(1u << ixBit);
    b = static_cast<std::uint8_t>(Value ? (b | mask) : (b & ~mask));
    Changed();
}

void TByteMatrix::ToggleBit(std::int32_t col, std::int32_t row, std::int32_t ixBit) {
    const std::int64_t at = Offset(col, row);
    if (at < 0 || ixBit < 0 || ixBit > 7) return;
    FByteMat[static_cast<std::size_t>(at)] ^= static_cast<std::uint8_t>(1u << ixBit);
    Changed();
}

void TByteMatrix::Fill(std::uint8_t Value) {
    std::fill(FByteMat.begin(), FByteMat.end(), Value);
    Changed();
}

void TByteMatrix::MirrorColumns() {
    const auto rows = static_cast<std::ptrdiff_t>(FNrRows);
    for (std::ptrdiff_t c = 0, d = FNrCols - 1; c < d; ++c, --d)
        std::swap_ranges(FByteMat.begin() + c * rows, FByteMat.begin() + (c + 1) * rows,
                         FByteMat.begin() + d * rows);
    Changed();
}

void TByteMatrix::MirrorRows() {
    const auto rows = static_cast<std::ptrdiff_t>(FNrRows);
    for (std::ptrdiff_t c = 0; c < FNrCols; ++c)
        std::reverse(FByteMat.begin() + c * rows, FByteMat.begin() + (c + 1) * rows);
    Changed();
}

void TByteMatrix::CombineWith(const TByteMatrix* SecondByteMatrix, TLogicOp Operation) noexcept {
    if (SecondByteMatrix == nullptr || SecondByteMatrix->FNrCols != FNrCols ||
        SecondByteMatrix->FNrRows != FNrRows)
        return;
    detail::CombineBytes(FByteMat.data(), SecondByteMatrix->FByteMat.data(), FByteMat.size(),
                         Operation);
}

void TByteMatrix::Assign(const TPersistent* Source) {
    const auto* other = dynamic_cast<const TByteMatrix*>(Source);
    if (other == nullptr) {
        TComponent::Assign(Source);
        return;
    }
    if (other == this) return;
    std::vector<std::uint8_t> cells;
    TNotifyEvent handler;
    GuardAllocation<EQORDStructError>(ComponentMessage(*this, kMsgNoHeapMemory), [&] {
        cells = other->FByteMat;
        handler = other->FOnChange;
    });
    FByteMat.swap(cells);
    FOnChange.swap(handler);
    FNrCols = other->FNrCols;
    FNrRows = other->FNrRows;
    FDefaultVal = other->FDefaultVal;
}

void TByteMatrix::AssignTo(TPersistent* Dest) const {
    if (!detail::AssignToSameClass(*this, Dest)) TComponent::AssignTo(Dest);
}

void TByteMatrix::Changed() {
    if (FOnChange) FOnChange(this);
}

}  // namespace qorkit
