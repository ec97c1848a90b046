// TCrossHair: the settings of a crosshair cursor at a position in data coordinates.
#pragma once

#include <cstdint>

#include "qorkit/core/types.h"
#include "qorkit/rtl/graphics_types.h"

namespace qorkit {

/// A crosshair's position, colour, mode, line type and width, and chart layer. Every field
/// starts at zero (layer 0 until set; the setter keeps it in 1..2). The setters store the value
/// and fire `OnChange`, always.
class TCrossHair : public TPersistent {
  public:
    double PosX() const noexcept { return FPosX; }
    double PosY() const noexcept { return FPosY; }
    TColor Color() const noexcept { return FColor; }
    TCrossHMode Mode() const noexcept { return FMode; }
    TPenStyle LineType() const noexcept { return FLineType; }
    std::int32_t LineWid() const noexcept { return FLineWid; }
    std::int32_t Layer() const noexcept { return FLayer; }

    void SetCrossHPosX(double Value);
    void SetCrossHPosY(double Value);
    void SetCrossHColor(TColor Value);
    void SetCrossHMode(TCrossHMode Value);
    void SetCrossHLineType(TPenStyle Value);
    void SetCrossHLineWid(std::int32_t Value);
    /// Stores `Value` clamped to 1..2 and notifies.
    void SetCrossHLayer(std::int32_t Value);
    /// Stores both coordinates and notifies once when either differs from the stored one;
    /// otherwise does nothing.
    void SetPos(double XPos, double YPos);
    /// Fires `OnChange(this)` when assigned.
    void Changed();
    /// From a `TCrossHair`: copies position, colour, mode, line type, line width, layer and the
    /// `OnChange` handler without notifying. Other sources go to the inherited `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Into a `TCrossHair` of exactly this class or of this object's own class:
    /// `Dest->Assign(this)`; otherwise the inherited `AssignTo` (which raises `EConvertError`).
    void AssignTo(TPersistent* Dest) const override;

    TNotifyEvent OnChange;

  private:
    double FPosX = 0;
    double FPosY = 0;
    TColor FColor = 0;
    TCrossHMode FMode = chOff;
    TPenStyle FLineType = psSolid;
    std::int32_t FLineWid = 0;
    std::int32_t FLayer = 0;
};

}  // namespace qorkit
