// TStringArray: pooled cell storage, cell access, attributes, shape and whole-table work.
#include "qorkit/dstruct/string_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <typeinfo>

#include "assign_to.h"
#include "qorkit/core/errors.h"
#include "qorkit/rtl/sysutils.h"
#include "qorkit/strings/string_search.h"

namespace qorkit {

namespace {

constexpr std::uint32_t kOffsetMask = 0xFFFF;

std::unique_ptr<TStringPool> NewPool() {
    return std::make_unique<TStringPool>();
}

/// True for text of the form [sign] digits [. digits] [exponent], with at least one digit
/// in the mantissa: the only numbers a cell may hold.
bool IsDecimalNumber(std::u16string_view s) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9')
            ++i;
        return i - from;
    };
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

/// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double v) {
    const double low = std::floor(v);
    const double diff = v - low;
    if (diff < 0.5) return low;
    if (diff > 0.5) return low + 1;
    return std::fmod(low, 2.0) == 0 ? low : low + 1;
}

}  // namespace

// ---- construction -----------------------------------------------------------------------

TStringArray::TStringArray(TComponent* AOwner) : TComponent(AOwner) {
    GuardAllocation<EQORDStructError>(u"Class TStringArray: failed to initialize (out of memory)",
                                      [&] {
                                          FRAllocated = 10;
                                          FPoiArray.assign(2, THandleColumn(10, 0));
                                          FSortIx.resize(10);
                                          FRowAttrib.assign(10, 0);
                                          FColAttrib.assign(1, 0);
                                          FStgPool.push_back(NewPool());
                                          FFirstFree.assign(1, 1);
                                          FNumPoolAddr = 1;
                                          RebuildFreeIndex();
                                      });
    for (std::int32_t i = 0; i < FRAllocated; ++i)
        FSortIx[i] = i + 1;
}

TStringArray::~TStringArray() = default;

// ---- pools ------------------------------------------------------------------------------

const std::uint8_t* TStringArray::Slot(std::uint32_t Handle) const noexcept {
    if (Handle == 0) return nullptr;
    return FStgPool[(Handle >> 16) - 1]->data() + (Handle & kOffsetMask) - 1;
}

std::string_view TStringArray::HandleText(std::uint32_t Handle) const noexcept {
    const std::uint8_t* slot = Slot(Handle);
    if (slot == nullptr) return {};
    return {reinterpret_cast<const char*>(slot + 1), slot[0]};
}

void TStringArray::RebuildFreeIndex() {
    std::int32_t leaves = 1;
    while (leaves < FNumPoolAddr)
        leaves *= 2;
    FFreeTree.assign(2 * static_cast<std::size_t>(leaves), 0);
    for (std::int32_t i = 0; i < FNumPoolAddr; ++i)
        FFreeTree[leaves + i] = static_cast<std::uint16_t>(kStringPoolSize - FFirstFree[i]);
    for (std::int32_t i = leaves - 1; i >= 1; --i)
        FFreeTree[i] = std::max(FFreeTree[2 * i], FFreeTree[2 * i + 1]);
}

void TStringArray::UpdateFreeIndex(std::int32_t PoolIx) {
    std::size_t at = FreeLeaves() + static_cast<std::size_t>(PoolIx);
    FFreeTree[at] = static_cast<std::uint16_t>(kStringPoolSize - FFirstFree[PoolIx]);
    // Ancestors whose maximum does not change need no visit.
    for (at /= 2; at >= 1; at /= 2) {
        const std::uint16_t largest = std::max(FFreeTree[2 * at], FFreeTree[2 * at + 1]);
        if (FFreeTree[at] == largest) break;
        FFreeTree[at] = largest;
    }
}

std::int32_t TStringArray::FirstFit(std::size_t Length) const noexcept {
    // The last byte of a pool stays unused: a pool fits when its free space exceeds the length.
    if (FFreeTree[1] <= Length) return -1;
    std::size_t at = 1;
    while (at < FreeLeaves())
        at = FFreeTree[2 * at] > Length ? 2 * at : 2 * at + 1;
    return static_cast<std::int32_t>(at - FreeLeaves());
}

std::uint32_t TStringArray::Append(std::string_view s) {
    std::int32_t pool = FirstFit(s.size());
    if (pool < 0) {
        if (FNumPoolAddr >= kMaxPools)
            throw EQORDStructError(u"Class TStringArray: no room for another string pool");
        GuardAllocation<EQORDStructError>(
            u"Class TStringArray: not enough memory for a string pool", [&] {
                // Every allocation first, so that a failure leaves the pools as they were.
                auto fresh = NewPool();
                FFirstFree.reserve(FNumPoolAddr + 1);
                if (std::size_t(FNumPoolAddr) + 1 > FreeLeaves())
                    FFreeTree.reserve(4 * FreeLeaves());
                FStgPool.push_back(std::move(fresh));
                FFirstFree.push_back(1);
            });
        pool = FNumPoolAddr++;
        if (static_cast<std::size_t>(FNumPoolAddr) > FreeLeaves())
            RebuildFreeIndex();
        else
            UpdateFreeIndex(pool);
    }
    const std::int32_t offset = FFirstFree[pool];
    std::uint8_t* slot = FStgPool[pool]->data() + offset - 1;
    slot[0] = static_cast<std::uint8_t>(s.size());
    if (!s.empty()) std::memmove(slot + 1, s.data(), s.size());
    FFirstFree[pool] = offset + static_cast<std::int32_t>(s.size()) + 1;
    UpdateFreeIndex(pool);
    return (static_cast<std::uint32_t>(pool + 1) << 16) | static_cast<std::uint32_t>(offset);
}

std::uint32_t TStringArray::Store(std::uint32_t Handle, std::string_view s) {
    if (Handle != 0) {
        std::uint8_t* slot = FStgPool[(Handle >> 16) - 1]->data() + (Handle & kOffsetMask) - 1;
        if (slot[0] >= s.size()) {
            // memmove: the text may come from this very slot.
            if (!s.empty()) std::memmove(slot + 1, s.data(), s.size());
            slot[0] = static_cast<std::uint8_t>(s.size());
            return Handle;
        }
    }
    return Append(s);
}

std::int32_t TStringArray::PoolFirstFree(std::int32_t Pool) const noexcept {
    if (Pool < 1 || Pool > FNumPoolAddr) return 0;
    return FFirstFree[Pool - 1];
}

// ---- cells ------------------------------------------------------------------------------

AnsiString TStringArray::GetString(std::int32_t c, std::int32_t r) const {
    if (!InRange(c, r)) return {};
    return AnsiString(PhysicalText(c, Physical(r)));
}

void TStringArray::SetString(std::int32_t c, std::int32_t r, std::string_view s) {
    if (!InRange(c, r)) return;
    if (s.size() > kMaxCellLength) s = s.substr(0, kMaxCellLength);
    std::uint32_t& handle = FPoiArray[c][Physical(r) - 1];
    handle = Store(handle, s);
    Changed();
}

String TStringArray::Text(std::int32_t c, std::int32_t r) const {
    if (!InRange(c, r)) return {};
    return Win1252ToString(PhysicalText(c, Physical(r)));
}

void TStringArray::SetText(std::int32_t c, std::int32_t r, std::u16string_view s) {
    if (!InRange(c, r)) return;
    SetString(c, r, StringToWin1252(s.substr(0, std::min<std::size_t>(s.size(), kMaxCellLength))));
}

double TStringArray::ParseCellNumber(std::int32_t c, std::int32_t r) const {
    const String raw = Text(c, r);
    std::u16string_view trimmed = raw;
    while (!trimmed.empty() && trimmed.front() == u' ')
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == u' ')
        trimmed.remove_suffix(1);
    const String number = ReplaceCharInString(trimmed, u',', u'.');
    if (number.empty()) return 0;
    long double value = 0;
    if (!IsDecimalNumber(number) || !TryStrToFloat(number, value))
        throw EQORDStructError(u"Class TStringArray: invalid numeric string: [" + IntToStr(c) +
                               u"," + IntToStr(r) + u"]: " + raw);
    return static_cast<double>(value);
}

double TStringArray::GetAsNumber(std::int32_t c, std::int32_t r) const {
    return ParseCellNumber(c, r);
}

std::int32_t TStringArray::GetAsInteger(std::int32_t c, std::int32_t r) const {
    constexpr double kLimit = 2147483647.0;
    const double value = ParseCellNumber(c, r);
    if (value < -kLimit) return -2147483647;
    if (value > kLimit) return 2147483647;
    return static_cast<std::int32_t>(RoundHalfEven(value));
}

// ---- attributes -------------------------------------------------------------------------

std::uint8_t TStringArray::GetRowAttrib(std::int32_t r) const {
    if (r < 1 || r > FNRow) return 0;
    return FRowAttrib[Physical(r) - 1];
}

void TStringArray::SetRowAttrib(std::int32_t r, std::uint8_t b) {
    if (r < 1 || r > FNRow) return;
    FRowAttrib[Physical(r) - 1] = b;
    Changed();
}

std::uint8_t TStringArray::GetColAttrib(std::int32_t c) const {
    if (c < 1 || c > FNCol) return 0;
    return FColAttrib[c - 1];
}

void TStringArray::SetColAttrib(std::int32_t c, std::uint8_t b) {
    if (c < 1 || c > FNCol) return;
    FColAttrib[c - 1] = b;
    Changed();
}

// ---- shape ------------------------------------------------------------------------------

void TStringArray::SetAllocRowsBy(std::int32_t Value) noexcept {
    if (Value >= 1) FAllocRowsBy = Value;
}

void TStringArray::ResetSortIx() noexcept {
    for (std::int32_t i = 0; i < FNRow; ++i)
        FSortIx[i] = i + 1;
}

std::int32_t TStringArray::RowCapacity(std::int32_t Nr) const noexcept {
    const std::int64_t step = FAllocRowsBy;
    const std::int64_t capacity = step * ((Nr - 1) / step + 1);
    // A step that would carry the capacity past the integer range allocates exactly.
    return capacity > std::numeric_limits<std::int32_t>::max()
               ? Nr
               : static_cast<std::int32_t>(capacity);
}

bool TStringArray::Reallocate(std::int32_t Nc, std::int32_t Nr) {
    const auto capacity = static_cast<std::size_t>(RowCapacity(Nr));
    const auto oldCapacity = static_cast<std::size_t>(FRAllocated);
    const std::int32_t kept = std::min(FNCol, Nc);
    std::vector<THandleColumn> added;
    // Everything that can fail comes first; a failure undoes the growth and keeps the table.
    try {
        for (std::int32_t c = FNCol + 1; c <= Nc; ++c)
            added.emplace_back(capacity, 0);
        FPoiArray.reserve(static_cast<std::size_t>(Nc) + 1);
        FColAttrib.reserve(static_cast<std::size_t>(Nc));
        if (capacity > oldCapacity) {
            for (std::int32_t c = 0; c <= kept; ++c)
                FPoiArray[c].resize(capacity, 0);
            FSortIx.resize(capacity);
            FRowAttrib.resize(capacity, 0);
        }
    } catch (const std::bad_alloc&) {
        for (std::int32_t c = 0; c <= kept; ++c)
            if (FPoiArray[c].size() > oldCapacity) FPoiArray[c].resize(oldCapacity);
        if (FSortIx.size() > oldCapacity) FSortIx.resize(oldCapacity);
        if (FRowAttrib.size() > oldCapacity) FRowAttrib.resize(oldCapacity);
        return false;
    }
    // From here on nothing allocates.
    if (Nc < FNCol) FPoiArray.erase(FPoiArray.begin() + Nc + 1, FPoiArray.end());
    for (auto& column : added)
        FPoiArray.push_back(std::move(column));
    FColAttrib.resize(static_cast<std::size_t>(Nc), 0);
    // Rows beyond the row count hold no handles; rows coming into use start with attribute 0.
    for (std::int32_t c = 0; c <= kept; ++c)
        for (std::int32_t p = Nr; p < FNRow; ++p)
            FPoiArray[c][p] = 0;
    for (std::int32_t p = FNRow; p < Nr; ++p)
        FRowAttrib[p] = 0;
    if (capacity < oldCapacity) {
        for (std::int32_t c = 0; c <= kept; ++c)
            FPoiArray[c].resize(capacity);
        FSortIx.resize(capacity);
        FRowAttrib.resize(capacity);
    }
    FNCol = Nc;
    FNRow = Nr;
    FRAllocated = static_cast<std::int32_t>(capacity);
    ResetSortIx();
    return true;
}

bool TStringArray::Resize(std::int32_t Nc, std::int32_t Nr) {
    if (Nc == FNCol && Nr == FNRow) return true;
    if (Nc <= 0 || Nr <= 0) return false;
    bool ok = true;
    if (Nc != FNCol || Nr > FRAllocated) {
        ok = Reallocate(Nc, Nr);
    } else {
        const std::int32_t low = std::min(Nr, FNRow);
        const std::int32_t high = std::max(Nr, FNRow);
        for (auto& column : FPoiArray)
            std::fill(column.begin() + low, column.begin() + high, 0);
        if (Nr > FNRow) std::fill(FRowAttrib.begin() + FNRow, FRowAttrib.begin() + Nr, 0);
        FNRow = Nr;
        ResetSortIx();
    }
    Changed();
    return ok;
}

std::int32_t TStringArray::AddRow() {
    if (FNRow < std::numeric_limits<std::int32_t>::max()) Resize(FNCol, FNRow + 1);
    return FNRow;
}

void TStringArray::InsertRow(std::int32_t r) {
    if (r < 1 || r > FNRow || FNRow == std::numeric_limits<std::int32_t>::max()) return;
    const std::int32_t p = Physical(r);
    const std::int32_t oldRows = FNRow;
    if (!Resize(FNCol, FNRow + 1)) return;
    // Handles and attributes move; the texts stay where they are in the pools.
    for (auto& column : FPoiArray) {
        std::copy_backward(column.begin() + p - 1, column.begin() + oldRows,
                           column.begin() + oldRows + 1);
        column[p - 1] = 0;
    }
    std::copy_backward(FRowAttrib.begin() + p - 1, FRowAttrib.begin() + oldRows,
                       FRowAttrib.begin() + oldRows + 1);
    FRowAttrib[p - 1] = 0;
    // The empty row is shown at r; the other rows follow in their physical order around it.
    std::int32_t next = 1;
    for (std::int32_t shown = 1; shown <= FNRow; ++shown) {
        if (shown == r) {
            FSortIx[shown - 1] = p;
            continue;
        }
        if (next == p) ++next;
        FSortIx[shown - 1] = next++;
    }
    Changed();
}

void TStringArray::RemoveRow(std::int32_t r) {
    if (r < 1 || r > FNRow) return;
    if (FNRow == 1) {
        EmptyRow(1);
        return;
    }
    const std::int32_t p = Physical(r);
    for (auto& column : FPoiArray)
        std::copy(column.begin() + p, column.begin() + FNRow, column.begin() + p - 1);
    std::copy(FRowAttrib.begin() + p, FRowAttrib.begin() + FNRow, FRowAttrib.begin() + p - 1);
    // Shrinking within the allocation cannot fail; it clears the last row and the permutation.
    Resize(FNCol, FNRow - 1);
}

void TStringArray::EmptyRow(std::int32_t r) {
    for (std::int32_t c = 0; c <= FNCol; ++c)
        SetString(c, r, {});
    SetRowAttrib(r, 0);
}

void TStringArray::CopyRow(std::int32_t Source, std::int32_t Target) {
    if (Source < 1 || Source > FNRow || Target < 1 || Target > FNRow) return;
    for (std::int32_t c = 0; c <= FNCol; ++c)
        SetString(c, Target, GetString(c, Source));
    SetRowAttrib(Target, GetRowAttrib(Source));
}

void TStringArray::CopyColumn(std::int32_t Source, std::int32_t Target) {
    for (std::int32_t r = 1; r <= FNRow; ++r)
        SetString(Target, r, GetString(Source, r));
    SetColAttrib(Target, GetColAttrib(Source));
}

void TStringArray::EmptyColumn(std::int32_t c) {
    for (std::int32_t r = 1; r <= FNRow; ++r)
        SetString(c, r, {});
    SetColAttrib(c, 0);
}

void TStringArray::InsertColumn(std::int32_t c) {
    if (c < 1 || c > FNCol || FNCol == std::numeric_limits<std::int32_t>::max() - 1) return;
    const std::int32_t oldColumns = FNCol;
    if (!Resize(FNCol + 1, FNRow)) return;
    for (std::int32_t from = oldColumns; from >= c; --from)
        CopyColumn(from, from + 1);
    EmptyColumn(c);
}

void TStringArray::RemoveColumn(std::int32_t c) {
    if (c < 1 || c > FNCol) return;
    if (FNCol == 1) {
        EmptyColumn(1);
        return;
    }
    for (std::int32_t to = c; to < FNCol; ++to)
        CopyColumn(to + 1, to);
    Resize(FNCol - 1, FNRow);
}

// ---- whole table ------------------------------------------------------------------------

void TStringArray::Clear() {
    for (auto& column : FPoiArray)
        std::fill(column.begin(), column.begin() + FNRow, 0);
    ResetSortIx();
    std::fill(FRowAttrib.begin(), FRowAttrib.begin() + FNRow, 0);
    std::fill(FColAttrib.begin(), FColAttrib.end(), 0);
    FStgPool.resize(1);
    FFirstFree.resize(1);
    FFirstFree[0] = 1;
    FNumPoolAddr = 1;
    RebuildFreeIndex();
}

void TStringArray::Fill(std::string_view s) {
    if (s.empty()) {
        Clear();
        return;
    }
    for (std::int32_t c = 0; c <= FNCol; ++c)
        for (std::int32_t r = 1; r <= FNRow; ++r)
            SetString(c, r, s);
}

bool TStringArray::ColumnEmpty(std::int32_t ACol) const {
    if (ACol < 0 || ACol > FNCol) return true;
    for (std::int32_t r = 1; r <= FNRow; ++r)
        if (PhysicalText(ACol, Physical(r)).find_first_not_of(' ') != std::string_view::npos)
            return false;
    return true;
}

bool TStringArray::RowEmpty(std::int32_t ARow) const {
    if (ARow < 1 || ARow > FNRow) return true;
    const std::int32_t p = Physical(ARow);
    for (std::int32_t c = 1; c <= FNCol; ++c)
        if (PhysicalText(c, p).find_first_not_of(' ') != std::string_view::npos) return false;
    return true;
}

void TStringArray::CompactPools(std::int32_t First, std::int32_t Last) {
    const std::int32_t count = Last - First + 1;
    std::vector<std::unique_ptr<TStringPool>> fresh(static_cast<std::size_t>(count));
    for (auto& pool : fresh)
        pool = NewPool();
    std::vector<std::int32_t> next(static_cast<std::size_t>(count), 1);
    // One walk over the cells serves every pool of the range: each pool receives its live
    // strings in cell order (column by column, physical rows ascending).
    for (auto& column : FPoiArray) {
        for (std::int32_t p = 0; p < FNRow; ++p) {
            const std::uint32_t handle = column[p];
            const std::int32_t pool = static_cast<std::int32_t>(handle >> 16) - 1;
            if (handle == 0 || pool < First || pool > Last) continue;
            const std::uint8_t* from = Slot(handle);
            std::int32_t& offset = next[pool - First];
            std::memcpy(fresh[pool - First]->data() + offset - 1, from, from[0] + 1u);
            column[p] = (handle & ~kOffsetMask) | static_cast<std::uint32_t>(offset);
            offset += from[0] + 1;
        }
    }
    for (std::int32_t i = 0; i < count; ++i) {
        FStgPool[First + i] = std::move(fresh[i]);
        FFirstFree[First + i] = next[i];
    }
}

void TStringArray::GarbageCollection() {
    try {
        CompactPools(0, FNumPoolAddr - 1);
    } catch (const std::bad_alloc&) {
        // Not enough memory for a second set of pools: one pool at a time, which needs only
        // one spare pool but walks the cells once per pool.
        for (std::int32_t pool = 0; pool < FNumPoolAddr; ++pool)
            GuardAllocation<EQORDStructError>(
                u"Class TStringArray: not enough memory to collect garbage",
                [&] { CompactPools(pool, pool); });
    }
    RebuildFreeIndex();
}

void TStringArray::Assign(const TPersistent* Source) {
    const auto* other = dynamic_cast<const TStringArray*>(Source);
    if (other == nullptr) {
        TComponent::Assign(Source);
        return;
    }
    if (other == this) return;
    // Build the copy aside, so that running out of memory leaves this table as it was.
    std::vector<std::unique_ptr<TStringPool>> pools;
    GuardAllocation<EQORDStructError>(u"Class TStringArray: not enough memory to copy", [&] {
        pools.reserve(other->FStgPool.size());
        for (const auto& pool : other->FStgPool)
            pools.push_back(std::make_unique<TStringPool>(*pool));
        auto handles = other->FPoiArray;
        auto sortIx = other->FSortIx;
        auto rowAttrib = other->FRowAttrib;
        auto colAttrib = other->FColAttrib;
        auto firstFree = other->FFirstFree;
        auto freeTree = other->FFreeTree;
        TNotifyEvent onChange = other->FOnChange;
        TBeforeSortExchgEvent onBefore = other->FOnBefSortExc;
        TOnPercentDoneEvent onPercent = other->FOnPercentDone;
        FPoiArray.swap(handles);
        FSortIx.swap(sortIx);
        FRowAttrib.swap(rowAttrib);
        FColAttrib.swap(colAttrib);
        FFirstFree.swap(firstFree);
        FFreeTree.swap(freeTree);
        FStgPool.swap(pools);
        FOnChange.swap(onChange);
        FOnBefSortExc.swap(onBefore);
        FOnPercentDone.swap(onPercent);
    });
    FNCol = other->FNCol;
    FNRow = other->FNRow;
    FAllocRowsBy = other->FAllocRowsBy;
    FRAllocated = other->FRAllocated;
    FNumPoolAddr = other->FNumPoolAddr;
}

void TStringArray::AssignTo(TPersistent* Dest) const {
    if (!detail::AssignToOwnClass(*this, Dest)) TComponent::AssignTo(Dest);
}

void TStringArray::Changed() {
    if (FOnChange) FOnChange(this);
}

}  // namespace qorkit
