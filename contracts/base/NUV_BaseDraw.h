// Drawing routines of the base pack: frames, rectangle outlines and marker symbols.
//
// Frame geometry. DrawFrame(Canvas, Style, L, T, R, B, ...) draws on the pixels of the
// rectangle L..R x T..B, both corners included (callers pass 0, 0, W - 1, H - 1 to frame
// a control of W x H pixels). Corners are normalised. The five colours are, in order:
// highlight (usually $FFFFFF), light ($C0C0C0), shadow ($808080), dark ($000000) and the
// line colour. Per style:
//   0 frsNone      nothing.
//   1 frsLine      a one-pixel outline of the rectangle in the line colour.
//   2 frsSunken    two pixels deep: the outer ring has its top and left edges in shadow
//                  and its bottom and right edges in highlight; the ring inside it has its
//                  top and left edges in dark and its bottom and right edges in light.
//   3 frsRaised    the same rings with outer top-left light, outer bottom-right dark,
//                  inner top-left highlight and inner bottom-right shadow.
//   4 frsEmbossed  an outline of (L+1, T+1)-(R, B) in shadow, and over it an outline of
//                  (L, T)-(R-1, B-1) in highlight: a ridge, light outside.
//   5 frsEngraved  style 4 with highlight and shadow swapped: a groove.
// The top and left edges of a ring run from its top-left corner to one pixel before the
// opposite corners; the bottom and right edges cover the rest. The frame is drawn with a
// solid pen of width 1 in the canvas's pen mode; the pen's colour, width and style are
// restored afterwards.
#pragma once

#include <cstdint>

#include "contracts/base/NUV_BaseTypes.h"
#include "platform/NUV_Graphics.h"

namespace nuv {

void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int L, int T, int R, int B, TColor Highlight,
               TColor Light, TColor Shadow, TColor Dark, TColor Line);

// The outline of L..R x T..B (both corners included) with the current pen; every pixel
// of the outline is drawn once, so an XOR pen drawn twice restores the picture.
void DrawRectangle(TCanvas* Canvas, int L, int T, int R, int B);

// The number of marker kinds; kinds 1..NrOfMarkKinds draw, 0 and larger ones do nothing.
constexpr int NrOfMarkKinds = 47;

// Marker symbol Kind centred on (X, Y) in the pen colour (width 1, solid, the canvas's
// pen mode); most symbols fit into 9 x 9 pixels, the large ones (18..25, 41..47) into
// 11 x 11 (13 x 13 for the large diamond). Filled symbols use the pen colour as
// brush. Pen and brush are restored afterwards.
//    1 plus          2 cross (x)        3 star (plus and cross)
//    4 square        5 filled square    6 circle           7 filled circle
//    8 diamond       9 filled diamond  10 triangle up     11 filled triangle up
//   12 triangle down 13 filled triangle down              14 triangle left
//   15 filled triangle left           16 triangle right  17 filled triangle right
//   18 large plus   19 large cross     20 large star      21 large square
//   22 large circle 23 large diamond   24 large triangle up 25 large triangle down
//   26 square with centre dot         27 circle with centre dot
//   28 circle with plus               29 circle with cross
//   30 square with cross              31 square with plus 32 diamond with plus
//   33 horizontal bar                 34 vertical bar     35 dot (one pixel)
//   36 small filled square (3 x 3)    37 hourglass        38 bow tie
//   39 hexagon      40 filled hexagon  41 arrow up         42 arrow down
//   43 arrow left   44 arrow right     45 two squares      46 two circles
//   47 bull's eye
void DrawMarkOnCanvas(TCanvas* Canvas, int Kind, int X, int Y);

}  // namespace nuv
