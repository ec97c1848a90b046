// TColorArray: a resizable palette of colours with a backup copy, filling by interpolation, a
// logarithmic stretch, nearest-colour search and a small text-file format.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qorkit/core/errors.h"
#include "qorkit/rtl/graphics_types.h"
#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

/// A list of colours indexed 1..`Size` (never fewer than one) with a backup copy of the same
/// length. A new array holds 1000 colours of `ColorArray_Rainbow` and an equal backup.
///
/// Every change of the colours calls `OnChange(this)` (see each method); `Backup` and `Assign`
/// do not. Reads out of range are clamped (`GetColorElem`), writes out of range are ignored.
///
/// Colour-array text file, CR LF line ends:
/// ```
/// 1 1000        first and last index
/// 00400020      one line per colour: 8 upper-case hexadecimal digits of the 32-bit value
/// ...
/// ```
/// File operations never raise; they report through their Boolean result, and a failed read
/// leaves the colours as they were.
class TColorArray : public TComponent {
  public:
    /// Largest size a file read with `AdjustSize` may give the array (the file's last index).
    static constexpr std::int32_t kMaxFileSize = 1 << 24;

    /// 1000 rainbow colours, backed up. Raises `EQORColArrayError` `Component "<Name>": not
    /// enough memory on heap` when the arrays cannot be allocated.
    explicit TColorArray(TComponent* AOwner = nullptr);
    ~TColorArray() override;

    /// From another `TColorArray`: copies its size, colours and backup (no notification);
    /// otherwise the inherited `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Into a `TColorArray` of this class or of the library's own class: `Dest->Assign(this)`;
    /// otherwise the inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;

    /// The number of colours.
    std::int32_t Size() const noexcept { return FNColors; }
    /// `Resize(n)` when n > 0 and differs from `Size`; otherwise nothing.
    void SetSize(std::int32_t n);
    /// Sets the number of colours to `n`: true at once when n equals `Size`, false for n < 1;
    /// otherwise kept colours stay, new ones are black (also in the backup), notifies and
    /// returns true. Raises `EQORColArrayError` `Component "<Name>": not enough memory` when
    /// the memory is lacking; the array is then unchanged.
    bool Resize(std::int32_t n);

    /// Colour `ix`; below 1 the first colour, above `Size` the last.
    TColor GetColorElem(std::int32_t ix) const noexcept;
    /// Stores `Value` as colour `ix` and notifies, only for 1 <= ix <= `Size`.
    void SetColorElem(std::int32_t ix, TColor Value);
    /// True when `OtherColorArray` has the same size and the same colours (backups are not
    /// compared); false for null.
    bool IsEqual(const TColorArray* OtherColorArray) const noexcept;

    /// Every colour becomes `Color`; notifies.
    void Fill(TColor Color);
    /// Spreads `Colors` (at least one entry; `Colors` may be this array's own storage) over
    /// the array by linear interpolation: the last element gets the last entry exactly. With
    /// `DiscreteLevels` > 0 the scale is quantised into that many equal steps. A single entry
    /// fills every element with it; an empty list changes nothing and does not notify.
    /// Otherwise notifies.
    void FillByInterpolation(std::int32_t DiscreteLevels, std::span<const TColor> Colors);
    /// Stretches the start of the scale logarithmically: colour i becomes colour
    /// rnd(ln(i) * Gamma * N / ln(N) + (1 - Gamma) * (i - 1)) + 1 (capped at N), Gamma clamped
    /// to 0..1; 0 leaves the colours unchanged, and so does an array of one colour. Notifies.
    void LogTransform(double Gamma);
    /// The index of the colour nearest to `cl` by `RGBColorDistance` (the first of equally near
    /// ones), with that distance in `distance`; 1 and distance 1 when none is nearer than 1.
    std::int32_t ColorToIndex(TColor cl, double& distance) const;
    /// Copies the source colours `SourceElemLo`..`SourceElemHi` (each clamped to the source's
    /// range, swapped when reversed) to this array from index `DestElem` on, skipping targets
    /// outside 1..`Size`; the source may be this array, also with overlapping ranges. Nothing
    /// at all happens for a null source; otherwise notifies.
    void CopyFrom(const TColorArray* ColArraySource, std::int32_t SourceElemLo,
                  std::int32_t SourceElemHi, std::int32_t DestElem);
    /// Reverses the order of the colours; notifies.
    void MirrorColors();
    /// Replaces each colour by `InvertColor`; notifies.
    void InvertColors();
    /// Replaces each colour by `ReverseRGBColor`; notifies.
    void ReverseRGB();
    /// Copies the colours into the backup; does not notify.
    void Backup();
    /// Copies the backup back into the colours; notifies.
    void Restore();
    /// Calls `OnChange(this)` when a handler is set.
    void Changed();

    /// Writes colours `FirstElem`..`LastElem` in the text format to the open file `F`: the
    /// bounds are swapped when reversed, then limited to 1..`Size`, and the header carries the
    /// limited values. Flushes `F` at the end; returns false when writing fails.
    bool WriteToOpenTextFile(TextFile& F, std::int32_t FirstElem, std::int32_t LastElem);
    /// Writes the file `FileName` as `WriteToOpenTextFile` does, atomically: a failed write
    /// returns false and leaves any earlier file of that name untouched.
    bool StoreOnFile(std::int32_t FirstElem, std::int32_t LastElem, const String& FileName);
    /// Reads the text format from the open file `F`. With `AdjustSize` the array is first
    /// resized to the file's last index (at most `kMaxFileSize`). Returns false, changing
    /// nothing, when the header is unreadable, when the last index exceeds the size (then it
    /// still notifies once), or when the file ends or fails before the last colour line. On
    /// success every colour is stored through `SetColorElem` (indices outside 1..`Size` are
    /// read and skipped) and the array notifies once more. A colour line is read as: leading
    /// blanks skipped, a "$" in the first column skipped, hexadecimal digits up to the first
    /// other character (an empty line gives 0).
    bool ReadFromOpenTextFile(TextFile& F, bool AdjustSize);
    /// Opens `FileName`, reads it with `ReadFromOpenTextFile` and closes it; false when the
    /// file cannot be opened or read.
    bool LoadFromFile(const String& FileName, bool AdjustSize);

    const TNotifyEvent& OnChange() const noexcept { return FOnChange; }
    void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }

  private:
    void WriteColors(TextFile& F, std::int32_t FirstElem, std::int32_t LastElem) const;

    std::int32_t FNColors = 0;
    std::vector<TColor> FColArray;
    std::vector<TColor> FColArrayBak;
    TNotifyEvent FOnChange;
};

}  // namespace qorkit
