// TStringAccu: a counted set of strings.
#pragma once

#include <cstdint>
#include <vector>

#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// Counts how often each distinct string was added. The strings are kept in the order of
/// their first addition and addressed 1..`Size()`; indices out of range give the empty string
/// and the count 0. Strings are compared exactly (case-sensitive), by a linear search.
///
/// Owned by `AOwner` when one is given (allocate with `new`), else by the caller.
class TStringAccu : public TComponent {
  public:
    /// An empty accumulator.
    explicit TStringAccu(TComponent* AOwner = nullptr);

    /// The number of distinct strings.
    std::int32_t Size() const noexcept { return FSize; }
    /// Counts `AString` once more, appending it with count 1 when it is new. A count stops at
    /// 2^31 - 1. Raises `EQORDStructError` "Component "<Name>": not enough memory" (nothing
    /// changed) when a new string cannot be stored.
    void Add(const String& AString);
    /// The `ix`-th distinct string, 1..`Size`; empty otherwise.
    String GetString(std::int32_t ix) const;
    /// How often the `ix`-th string was added; 0 out of range.
    std::int32_t GetCount(std::int32_t ix) const noexcept;
    /// Same as `GetString`.
    String Elem(std::int32_t ix) const { return GetString(ix); }
    /// Same as `GetCount`.
    std::int32_t Count(std::int32_t ix) const noexcept { return GetCount(ix); }
    /// Forgets every string.
    void Clear() noexcept;

  private:
    std::int32_t FSize = 0;
    std::vector<String> FStrArray;
    std::vector<std::int32_t> FCntArray;
};

}  // namespace qorkit
