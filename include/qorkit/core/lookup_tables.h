// Constant lookup tables: month, weekday and number names in four languages, language names
// and codes, the names that files use for enumeration values, CSV delimiters, distance
// measures and the HTML Latin-1 entities.
#pragma once

#include <array>
#include <string_view>

#include "qorkit/core/short_string_table.h"
#include "qorkit/core/types.h"
#include "qorkit/rtl/graphics_types.h"

namespace qorkit {

constexpr std::size_t kLanguageCount = 5;

// Language tables: first index a TLanguage, second the month (1..12, January first), the
// weekday (1..7, Monday first), the number (0..12) or a second TLanguage. Entries are 8-bit
// Windows-1252 texts in fixed slots; indexing yields 16-bit text, an index out of range the
// empty string. The lgUnknown row holds neutral placeholders ("M01", "D01", "N00", "???").

/// Short month names, at most 4 characters: `MonthShort[lgFrench][6]` is "juin".
extern const TShortStringTable<4, kLanguageCount, 1, 12> MonthShort;
/// Long month names, at most 10 characters: `MonthLong[lgGerman][1]` is "Jänner".
extern const TShortStringTable<10, kLanguageCount, 1, 12> MonthLong;
/// Short weekday names, at most 3 characters, Monday first.
extern const TShortStringTable<3, kLanguageCount, 1, 7> WeekDayShort;
/// Long weekday names, at most 10 characters, Monday first.
extern const TShortStringTable<10, kLanguageCount, 1, 7> WeekDayLong;
/// Words for the numbers 0 to 12, at most 6 characters.
extern const TShortStringTable<6, kLanguageCount, 0, 12> NumWords;
/// `LanguageID[written in][named]`: the name of a language, at most 15 characters.
extern const TShortStringTable<15, kLanguageCount, 0, 4> LanguageID;
/// Two-letter language codes by TLanguage: "??", "en", "de", "fr", "es".
extern const TShortStringArray<2, 0, 4> ISO639_2Char;
/// Three-letter language codes by TLanguage: "???", "eng", "ger", "fre", "spa".
extern const TShortStringArray<3, 0, 4> ISO639_3Char;

// Names written into files for enumeration values, indexed by the enumeration's ordinal.
extern const std::array<std::u16string_view, 3> xmlVerticalAlignment;  ///< TVerticalAlignment
extern const std::array<std::u16string_view, 3> xmlAlignment;          ///< TAlignment
extern const std::array<std::u16string_view, 3> xmlBkgFill;            ///< TBkgFill
extern const std::array<std::u16string_view, 3> xmlBoundingBox;        ///< TBoundingBox
extern const std::array<std::u16string_view, 2> xmlColorScheme;        ///< TColorScheme
extern const std::array<std::u16string_view, 5> xmlFigType;            ///< TFigType
extern const std::array<std::u16string_view, 4> xmlScaleType;          ///< TScaleType
extern const std::array<std::u16string_view, 3> xmlYearLength;         ///< TYearLength
extern const std::array<std::u16string_view, 3> xmlDateOrder;          ///< TDateOrder
extern const std::array<std::u16string_view, 4> xmlDateForTime;        ///< TDateForTime
extern const std::array<std::u16string_view, 2> xmlShadowStyle;        ///< TShadowStyle
extern const std::array<std::u16string_view, 6> xmlFrameStyle;         ///< TFrameStyle
extern const std::array<std::u16string_view, 3> xmlTimeFormat;         ///< TTimeFormat
extern const std::array<std::u16string_view, 4> xmlDirection;          ///< TDirection
extern const std::array<std::u16string_view, 5> xmlLanguage;           ///< TLanguage
/// TVarKind; note "bool" in lower case for the value `Bool`.
extern const std::array<std::u16string_view, 7> xmlVarKind;
extern const std::array<std::u16string_view, 4> xmlMouseBoxState;     ///< TMouseBoxState
extern const std::array<std::u16string_view, 19> xmlMouseActMode;     ///< TMouseActMode
extern const std::array<std::u16string_view, 2> xmlZoomState;         ///< TZoomState
extern const std::array<std::u16string_view, 6> xmlCrossHMode;        ///< TCrossHMode
extern const std::array<std::u16string_view, 5> xmlTxtLblMode;        ///< TTxtLblMode
extern const std::array<std::u16string_view, 4> xmlTxtLblAttachMode;  ///< TTxtLblAttachMode
extern const std::array<std::u16string_view, 4> xmlFontStyle;         ///< TFontStyle

/// The delimiter character of each TCSVDelimiters value: NUL, blank, ';', ',', ':', tab.
extern const std::array<Char, 6> CSVDELIMITERS;
/// Display names of the TCSVDelimiters values: "undefined", "blank", "semicolon", ...
extern const std::array<std::u16string_view, 6> CSVDELIMITERIDS;
/// Display names of the TDistMode values: "Jaccard coefficient", "Manhattan", ...
extern const std::array<std::u16string_view, 6> DistModeId;

/// The HTML 4 named entities of the Latin-1 characters 160..255, each written out with its
/// ampersand and semicolon ("&nbsp;" for 160, "&yuml;" for 255): `HTMLLat1Entities[169]`
/// is "&copy;". An index outside 160..255 gives the empty view.
class THTMLLat1EntityTable {
  public:
    static constexpr int kFirst = 160;
    static constexpr int kLast = 255;
    constexpr explicit THTMLLat1EntityTable(std::array<std::u16string_view, 96> Names)
        : FNames(Names) {}
    constexpr std::u16string_view operator[](int Code) const {
        if (Code < kFirst || Code > kLast) return {};
        return FNames[static_cast<std::size_t>(Code - kFirst)];
    }

  private:
    std::array<std::u16string_view, 96> FNames;
};
extern const THTMLLat1EntityTable HTMLLat1Entities;

/// The TCSVDelimiters value whose `CSVDELIMITERS` entry is `Ch`, searching csvBlank to
/// csvTab; any other character (NUL included) gives csvUnknown.
TCSVDelimiters ResolveCSVDelimiter(Char Ch) noexcept;

}  // namespace qorkit
