// Fixed-slot tables of short 8-bit texts, indexed like two-dimensional arrays.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "qorkit/rtl/codepage.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// A text of at most `MaxLen` Windows-1252 bytes, stored in a fixed slot with a length byte.
/// Built at compile time from a UTF-8 literal whose characters lie in U+0000..U+007F or
/// U+00A0..U+00FF (where Windows-1252 and Unicode agree); a literal longer than the slot, or
/// with other characters, does not compile.
template <std::size_t MaxLen>
struct TShortString {
    static_assert(MaxLen <= 255, "a short string holds at most 255 bytes");
    std::uint8_t Len = 0;
    std::array<char, MaxLen> Bytes{};

    consteval TShortString(const char8_t* Text) {  // NOLINT: implicit from literals by design
        std::size_t n = 0;
        for (std::size_t i = 0; Text[i] != u8'\0'; ++i) {
            unsigned code = Text[i];
            if (code >= 0x80) {  // two-byte UTF-8 sequence of U+00A0..U+00FF
                if ((code & 0xE0) != 0xC0 || (Text[i + 1] & 0xC0) != 0x80)
                    throw "only Latin-1 characters fit a short-string slot";
                code = ((code & 0x1F) << 6) | (Text[i + 1] & 0x3F);
                ++i;
                if (code < 0xA0 || code > 0xFF)
                    throw "only Latin-1 characters fit a short-string slot";
            }
            if (n == MaxLen) throw "text longer than its slot";
            Bytes[n++] = static_cast<char>(code);
        }
        Len = static_cast<std::uint8_t>(n);
    }

    /// The text as 16-bit characters (decoded from Windows-1252).
    String Str() const { return Win1252ToString({Bytes.data(), Len}); }
    operator String() const { return Str(); }  // NOLINT: reads like the table's element type
};

/// One row of a `TShortStringTable`: `Row[i]` is entry i as 16-bit text, the empty string
/// for an index outside `Lo`..`Hi`.
template <std::size_t MaxLen, int Lo, int Hi>
class TShortStringRow {
  public:
    explicit constexpr TShortStringRow(const TShortString<MaxLen>* Cells) : FCells(Cells) {}
    String operator[](int Index) const {
        if (FCells == nullptr || Index < Lo || Index > Hi) return String();
        return FCells[Index - Lo].Str();
    }

  private:
    const TShortString<MaxLen>* FCells;
};

/// A constant table of short texts with `Rows` rows (indexed 0..Rows-1, usually by an
/// enumeration) and columns `Lo`..`Hi`: `Table[row][column]` gives 16-bit text; an index
/// out of range gives the empty string.
template <std::size_t MaxLen, std::size_t Rows, int Lo, int Hi>
class TShortStringTable {
  public:
    static constexpr std::size_t kCols = static_cast<std::size_t>(Hi - Lo + 1);
    using Row = std::array<TShortString<MaxLen>, kCols>;

    constexpr TShortStringTable(std::array<Row, Rows> Cells) : FCells(Cells) {}

    TShortStringRow<MaxLen, Lo, Hi> operator[](std::size_t RowIndex) const {
        if (RowIndex >= Rows) return TShortStringRow<MaxLen, Lo, Hi>(nullptr);
        return TShortStringRow<MaxLen, Lo, Hi>(FCells[RowIndex].data());
    }
    /// The stored slot itself (length byte and bytes); `Column` must be in range.
    constexpr const TShortString<MaxLen>& Slot(std::size_t RowIndex, int Column) const {
        return FCells[RowIndex][static_cast<std::size_t>(Column - Lo)];
    }

  private:
    std::array<Row, Rows> FCells;
};

/// A constant one-dimensional table of short texts indexed `Lo`..`Hi`: `Table[i]` gives
/// 16-bit text, the empty string for an index out of range.
template <std::size_t MaxLen, int Lo, int Hi>
class TShortStringArray {
  public:
    static constexpr std::size_t kCount = static_cast<std::size_t>(Hi - Lo + 1);

    constexpr TShortStringArray(std::array<TShortString<MaxLen>, kCount> Cells) : FCells(Cells) {}

    String operator[](int Index) const {
        return TShortStringRow<MaxLen, Lo, Hi>(FCells.data())[Index];
    }

  private:
    std::array<TShortString<MaxLen>, kCount> FCells;
};

}  // namespace qorkit
