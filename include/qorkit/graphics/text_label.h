// TCustomTextLabel: a free text label placed on a chart, with colours, shadow, font and
// alignment, written to and read from an open text file as an XML-like element.
#pragma once

#include <cstdint>

#include "qorkit/core/types.h"
#include "qorkit/rtl/graphics_tools.h"
#include "qorkit/rtl/graphics_types.h"
#include "qorkit/rtl/text_file.h"

namespace qorkit {

/// A text label's settings. Initially at (100, 10) on layer 1, no shadow offset, grey shadow,
/// centred above its anchor (`vaBottom`), attached to nothing, silver background, black border,
/// opaque, visible, empty caption, frame style `tlsimple`, and a font with the platform's
/// defaults. The label owns its font and frees it.
///
/// Every setter stores its value and fires `OnChange`, always, except `SetTxtLblLayer`, which
/// ignores values outside 1..16.
class TCustomTextLabel : public TPersistent {
  public:
    TCustomTextLabel() = default;
    TCustomTextLabel(const TCustomTextLabel&) = delete;
    TCustomTextLabel& operator=(const TCustomTextLabel&) = delete;

    double PosX() const noexcept { return FPosX; }
    double PosY() const noexcept { return FPosY; }
    std::int32_t Layer() const noexcept { return FLayer; }
    std::int32_t ShadowDx() const noexcept { return FXShadow; }
    std::int32_t ShadowDy() const noexcept { return FYShadow; }
    TColor ColorShadow() const noexcept { return FColorShadow; }
    TAlignment Alignment() const noexcept { return FAlignment; }
    TVerticalAlignment VertAlignment() const noexcept { return FVertAlign; }
    TTxtLblAttachMode AttachMode() const noexcept { return FAttachDat; }
    TColor ColorBkg() const noexcept { return FColorBkg; }
    TColor ColorBrd() const noexcept { return FColorBrd; }
    bool Transparent() const noexcept { return FTransPar; }
    /// The label's own font. Changing it directly does not notify; `SetTxtLblFont` does.
    TFont& Font() noexcept { return FFont; }
    const TFont& Font() const noexcept { return FFont; }
    const String& Caption() const noexcept { return FCaption; }
    TTxtLblMode Mode() const noexcept { return FMode; }
    bool Visible() const noexcept { return FVisible; }

    void SetTxtLblPosX(double Value);
    void SetTxtLblPosY(double Value);
    void SetTxtLblColorBkg(TColor Value);
    void SetTxtLblColorBrd(TColor Value);
    void SetTxtLblColorShadow(TColor Value);
    void SetTxtLblShadowDx(std::int32_t Value);
    void SetTxtLblShadowDy(std::int32_t Value);
    void SetTxtLblVisible(bool Value);
    void SetTxtLblTranspar(bool Value);
    void SetTxtLblMode(TTxtLblMode Value);
    void SetTxtLblAlignment(TAlignment Value);
    void SetTxtLblVertAlignment(TVerticalAlignment Value);
    /// Sets which coordinates are attached to the data.
    void SetTxtLblScreenPos(TTxtLblAttachMode Value);
    /// Stores and notifies for 1 <= `Value` <= 16; other values are ignored.
    void SetTxtLblLayer(std::int32_t Value);
    /// Copies the settings of `Value` into the label's own font (`TFont::Assign`), then
    /// notifies. The label never keeps `Value` itself; a null font raises `EQORError`.
    void SetTxtLblFont(const TFont* Value);
    /// Stores `Value` with every character below 32 except line feed replaced by a blank, then
    /// notifies. Line feeds stay, so a caption may have several lines.
    void SetTxtLblCaption(const String& Value);
    /// Fires `OnChange(this)` when assigned.
    void Changed();

    /// From a `TCustomTextLabel`: copies every setting (the font through `TFont::Assign`), the
    /// caption and the `OnChange` handler without notifying. Other sources go to the inherited
    /// `Assign`.
    void Assign(const TPersistent* Source) override;
    /// Into a `TCustomTextLabel` of exactly this class or of this object's own class:
    /// `Dest->Assign(this)`; otherwise the inherited `AssignTo`.
    void AssignTo(TPersistent* Dest) const override;

    /// Writes the label as one `custtextlbl` element into `F`, open for writing: with `Header`
    /// an XML declaration first, then an empty line, a comment line, the start tag with the
    /// signature, version 1.0 and `Id`, one child element per property and the end tag, each
    /// line indented by `Indent` blanks (clamped to 1..255). Positions are written in the
    /// 12-character exponent form (four significant digits), colours as "$" and six upper-case
    /// hexadecimal digits (BBGGRR), enumerations by their names from the lookup tables.
    ///
    /// A caption holding "&", "<", ">" or a character outside printable ASCII is written
    /// escaped (character references, marked by the attribute `enc=xml` on its element), so it
    /// reads back unchanged and cannot disturb the elements after it; any other caption is
    /// written as it stands. `Id` must read back as written: an id with a leading or trailing
    /// blank, a double quote, a character below 32 or a character that the file's code page
    /// (Windows-1252) cannot hold raises `EQORError` before anything is written.
    /// Errors of the text file (`EInOutError`) pass through.
    void WriteToOpenXMLFile(TextFile& F, bool Header, const String& Id, std::int32_t Indent) const;

    /// Searches `F`, open for reading, from its current line for the label element whose id
    /// equals `Id` (ignoring case; an empty `Id` takes the first label element) and reads it.
    /// Children may come in any order, missing ones keep their fields, unknown ones are
    /// skipped; values that do not parse give 0 (numbers, colours) or leave the field as it is
    /// (names). The fields are set directly, without the setters' checks, so a layer of 40 is
    /// stored as 40; attach mode, font and frame style are restored from their names too.
    /// Returns true, after one notification, when the end tag was reached; false when the file
    /// ended first (no label found: nothing changed; inside the element: the fields read so far
    /// keep their new values, no notification). Errors of the text file pass through.
    bool ReadFromOpenXMLFile(TextFile& F, const String& Id);

    TNotifyEvent OnChange;

  private:
    double FPosX = 100.0;
    double FPosY = 10.0;
    std::int32_t FLayer = 1;
    std::int32_t FXShadow = 0;
    std::int32_t FYShadow = 0;
    TColor FColorShadow = 0x808080;
    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVertAlign = vaBottom;
    TTxtLblAttachMode FAttachDat = tlamNone;
    TColor FColorBkg = 0xC0C0C0;
    TColor FColorBrd = 0;
    bool FTransPar = false;
    TFont FFont;
    String FCaption;
    TTxtLblMode FMode = tlsimple;
    bool FVisible = true;
};

}  // namespace qorkit
