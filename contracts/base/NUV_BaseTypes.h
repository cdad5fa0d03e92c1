// Types, enumerations and constants of the base pack shared by all components.
#pragma once

#include <cfloat>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/NUV_Classes.h"
#include "platform/NUV_SysUtils.h"
#include "platform/NUV_Types.h"

namespace nuv {

// The suite's exception; every unit's error class derives from it.
NUV_EXCEPTION(ENUVError, Exception)

// Frame look of the framed controls (drawn by DrawFrame). 4 and 5 draw two outlines;
// 4 starts with the light colour outside, 5 is 4 with light and shadow swapped.
enum TFrameStyle : uint8_t {
  frsNone,      // 0 no frame
  frsLine,      // 1 a single line
  frsSunken,    // 2
  frsRaised,    // 3
  frsEmbossed,  // 4 two outlines, light outside
  frsEngraved,  // 5 two outlines, shadow outside
};

// Frame colours: csmGray gives shadow $808080 and highlight $FFFFFF; csmSystem the
// platform's button-shadow and button-highlight system colours.
enum TColorScheme : uint8_t { csmGray, csmSystem };

// Decimal separator accepted by the numeric fields: the system's (DecimalSeparator),
// ".", ",", or both "." and ",".
enum TDecPSep : uint8_t { dpsSystem, dpsPoint, dpsComma, dpsBoth };

// Growth direction of a bar: up from the bottom, down from the top, to the left from the
// right, to the right from the left.
enum TDirection : uint8_t { dirUp, dirDown, dirLeft, dirRight };

// How a background image fills a control: in its own size at the top left, stretched
// to the control, or tiled.
enum TBkgFill : uint8_t { bkfTopLeft, bkfStretch, bkfTile };

// What dragging the mouse does on a map. Ordinals 5 and 7 exist for compatibility of
// stored values and do nothing.
enum TMouseActMode : uint8_t {
  maNone,        // 0
  maPan,         // 1 both directions
  maPanHoriz,    // 2 pan across only
  maPanVert,     // 3 pan up and down only
  maRubberBand,  // 4 rubber-band line
  maReserved5,   // 5
  maZoomBox,     // 6
  maReserved7,   // 7
  maDragZoom,    // 8 zoom by dragging
};

// Text form of an angle (DegreeToStr of the math pack), Prec decimals on the last part:
// dfDecimal «47.50°», dfDegMin «47°30'», dfDegMinSec «47°30'15"». The degree sign is
// the Windows-1252 byte 176; minutes and seconds have two integer digits.
enum TDegreeFormat : uint8_t { dfDecimal, dfDegMin, dfDegMinSec };

struct TRectDouble {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr bool operator==(const TRectDouble&) const = default;
};

// Progress of a long operation, Percent 0..100.
using TOnPercentDoneEvent = std::function<void(TObject* Sender, int Percent)>;
// Sort-key hook of TStringArray::Sort: Text is the cell text, Text2 arrives equal to it
// and what the handler leaves in Text2 is the key the row is sorted by.
using TBeforeSortExchgEvent =
    std::function<void(TObject* Sender, const std::string& Text, std::string& Text2)>;

// The largest finite double.
constexpr double uc_MaxDouble = DBL_MAX;

}  // namespace nuv
