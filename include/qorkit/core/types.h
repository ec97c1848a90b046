// Shared array, record, enumeration and callback types of the library.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "qorkit/rtl/graphics_types.h"
#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/system.h"
#include "qorkit/rtl/variant.h"

namespace qorkit {

// Dynamic arrays: zero-based, length set by the caller; nested types are arrays of rows, and
// rows may differ in length.
using TDoubleArray = std::vector<double>;
using TDouble2DArray = std::vector<TDoubleArray>;
using TDouble3DArray = std::vector<TDouble2DArray>;
using TDouble4DArray = std::vector<TDouble3DArray>;
using TSingleArray = std::vector<float>;
using TIntArray = std::vector<std::int32_t>;
using TInt2DArray = std::vector<TIntArray>;
using TInt3DArray = std::vector<TInt2DArray>;
using TInt4DArray = std::vector<TInt3DArray>;
/// Booleans; `std::vector<bool>` stores them packed, reached by value or proxy reference.
using TBoolArray = std::vector<bool>;
using TBool2DArray = std::vector<TBoolArray>;
using TStrArray = std::vector<String>;
using TStr2DArray = std::vector<TStrArray>;
using TVariantArray = std::vector<Variant>;

/// A point with floating-point coordinates.
struct TPointDouble {
    double X = 0.0;
    double Y = 0.0;
    friend bool operator==(const TPointDouble&, const TPointDouble&) = default;
};

/// A rectangle with floating-point edges. `TopLeft()` and `BottomRight()` view the edges as
/// two corner points; the setters write the corners back into the edges.
struct TRectDouble {
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;

    TPointDouble TopLeft() const { return {Left, Top}; }
    TPointDouble BottomRight() const { return {Right, Bottom}; }
    void SetTopLeft(TPointDouble P) {
        Left = P.X;
        Top = P.Y;
    }
    void SetBottomRight(TPointDouble P) {
        Right = P.X;
        Bottom = P.Y;
    }
    friend bool operator==(const TRectDouble&, const TRectDouble&) = default;
};

/// A point with a flag word and a colour.
struct TColoredPoint {
    double X = 0.0;
    double Y = 0.0;
    std::uint16_t Flag = 0;
    TColor Color = 0;
    friend bool operator==(const TColoredPoint&, const TColoredPoint&) = default;
};

/// A cell of a four-dimensional grid; the letters match `dimX`, `dimY`, `dimL`, `dimT`.
struct TCellPosition4D {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t L = 0;
    std::int32_t T = 0;
    friend bool operator==(const TCellPosition4D&, const TCellPosition4D&) = default;
};

/// Four corner points.
using TQuad = std::array<TPoint, 4>;
using TPDblArray = std::vector<TPointDouble>;
using TPIntArray = std::vector<TPoint>;

/// A fixed buffer of 4096 bytes.
using TBuf4096 = std::array<std::uint8_t, 4096>;
/// A fixed buffer of 16384 bytes.
using TBuf16K = std::array<std::uint8_t, 16384>;
/// Bytes of a buffer of any length, indexed through a pointer (never allocated as such).
using TDataBuffer = std::uint8_t[];
/// Pointer through which a `TDataBuffer` is indexed.
using PDataBuffer = std::uint8_t*;

// Enumerations: one byte each, values in ordinal order from 0.
enum TBkgFill : std::uint8_t { bfSimple, bfStretch, bfTile };
enum TBoundingBox : std::uint8_t { bbNone, bbFrame, bbFaces };
enum TColorScheme : std::uint8_t { csBWG, csSystem };
enum TDecPSep : std::uint8_t { dsSystem, dsDot, dsComma, dsBoth };
enum TFigType : std::uint8_t { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
enum TScaleType : std::uint8_t { sctXB, sctXT, sctYL, sctYR };
enum TVerticalAlignment : std::uint8_t { vaTop, vaCenter, vaBottom };
enum TYearLength : std::uint8_t { ylNone, ylYY, ylYYYY };
enum TDateOrder : std::uint8_t { doMMDDYY, doDDMMYY, doYYMMDD };
enum TDateForTime : std::uint8_t { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };
enum TShadowStyle : std::uint8_t { ssFlying, ssBox };
enum TFrameStyle : std::uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
enum TDistMode : std::uint8_t { dmJaccard, dmManhattan, dmEuclid, dmEuclidSqr, dmDice, dmUserDef };
enum TTimeFormat : std::uint8_t { tfHHMMSS, tfHHhMM, tfAMPM };
enum TDirection : std::uint8_t { dirUpward, dirDownward, dirLeftward, dirRightward };
enum TOrientation : std::uint8_t { orVert, orHoriz };
enum TEdgeOp : std::uint8_t { eopMin, eopMax, eopSum, eopMean };
enum TAxis : std::uint8_t { atXAxis, atYAxis, atZAxis };
enum TDims : std::uint8_t { dimX, dimY, dimL, dimT };
/// Three-valued logic.
enum TTriState : std::uint8_t { tsFalse, tsTrue, tsUndefined };
enum TCrossHMode : std::uint8_t { chOff, chHoriz, chVert, chBoth, chCrossBox, chBox };
enum TTxtLblAttachMode : std::uint8_t { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };
enum TTxtLblMode : std::uint8_t { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };
enum TDegreeFormat : std::uint8_t { dfDeg, dfDegMin, dfDegMinSec, dfNumeric };
enum TCSVDelimiters : std::uint8_t {
    csvUnknown,
    csvBlank,
    csvSemicolon,
    csvComma,
    csvColon,
    csvTab
};
enum TZoomPanMode : std::uint8_t { zpmPan, zpmColZoomLeft, zpmColZoomRight };
enum TLanguage : std::uint8_t { lgUnknown, lgEnglish, lgGerman, lgFrench, lgSpanish };
enum TVarKind : std::uint8_t { rnum, dnum, snum, inum, lnum, Bool, strg };
enum TMouseBoxState : std::uint8_t { msNormal, msFirstCorner, msRectDraw, msFinished };
enum TMouseActMode : std::uint8_t {
    maNone,
    maPan,
    maPanHoriz,
    maPanVert,
    maPanGrid,
    maRubberBand,
    maZoom,
    maZoomWind,
    maZoomWindPos,
    maZoomDrag,
    maDragCrossH,
    maDragLabel,
    maRotate,
    maRotAndZoom,
    maRotXOnly,
    maRotZOnly,
    maSelectRect,
    maDrawMTrace,
    maZoomPanColors
};
enum TZoomState : std::uint8_t { zsNormal, zsDrawWin };

// Events (bound handlers) and plain procedure types.

/// Progress of a long operation in percent.
using TOnPercentDoneEvent = std::function<void(TObject* Sender, std::int32_t PercentDone)>;
/// Asks whether to abort; the handler sets `Abort` to true to request it.
using TOnCheckAbortEvent = std::function<void(TObject* Sender, bool& Abort)>;
/// Called before a sort exchanges two items.
using TSortExchgEvent =
    std::function<void(TObject* Sender, std::uint8_t ExchgWhat, std::int32_t index1,
                       std::int32_t index2, std::int32_t first, std::int32_t last)>;
/// A zoom or pan happened.
using TZoomPanEvent = std::function<void(TObject* Sender)>;
/// A rectangle was selected on a layer.
using TSelectRectEvent = std::function<void(TObject* Sender, std::int32_t Layer, double LoX,
                                            double LoY, double HiX, double HiY)>;
/// A rubber-band action ended at a point.
using TOnRubberBandActionEvent = std::function<void(TObject* Sender, TPoint APoint)>;
/// Progress report of a long routine.
using TFeedbackProc = void (*)(TObject* Sender, double StateCnt, double PercentDone);
/// Progress report of a long numerical routine.
using FeedBackProcType = void (*)(double StateCnt);

}  // namespace qorkit
