// Internal to the graphics unit: the raster target a canvas resolves for each drawing
// call, pixel mixing and span filling. Coordinates here are surface coordinates in 64 bits.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/NUV_Graphics.h"

namespace nuv::raster {

// A pixel word in memory order B, G, R, 0 read as a little-endian 32-bit value.
inline uint32_t ToPixel(TColor C) {
  C = ColorToRGB(C);
  return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}
inline TColor ToColor(uint32_t P) {
  return ((P & 0xFF) << 16) | (P & 0xFF00) | ((P >> 16) & 0xFF);
}

// Sets N pixels to C: a few by hand, the rest by doubling copies (memcpy is vectorised).
inline void FillPixels(uint32_t* P, size_t N, uint32_t C) {
  size_t k = std::min<size_t>(N, 16);
  for (size_t i = 0; i < k; ++i) P[i] = C;
  while (k < N) {
    size_t n = std::min(k, N - k);
    std::memcpy(P + k, P, n * sizeof(uint32_t));
    k += n;
  }
}

// The pen mix modes on 24-bit words.
inline uint32_t Mix(TPenMode Mode, uint32_t P, uint32_t D) {
  uint32_t R;
  switch (Mode) {
    case pmBlack: R = 0; break;
    case pmWhite: R = 0xFFFFFF; break;
    case pmNop: R = D; break;
    case pmNot: R = ~D; break;
    case pmCopy: R = P; break;
    case pmNotCopy: R = ~P; break;
    case pmMergePenNot: R = P | ~D; break;
    case pmMaskPenNot: R = P & ~D; break;
    case pmMergeNotPen: R = ~P | D; break;
    case pmMaskNotPen: R = ~P & D; break;
    case pmMerge: R = P | D; break;
    case pmNotMerge: R = ~(P | D); break;
    case pmMask: R = P & D; break;
    case pmNotMask: R = ~(P & D); break;
    case pmXor: R = P ^ D; break;
    case pmNotXor: R = ~(P ^ D); break;
    default: R = P; break;
  }
  return R & 0xFFFFFF;
}

// A ternary raster operation (the high word's low byte of a TCopyMode) on pattern P,
// source S and destination D: bit (P<<2 | S<<1 | D) of the code gives each result bit.
inline uint32_t Rop3(uint8_t Code, uint32_t P, uint32_t S, uint32_t D) {
  switch (Code) {
    case 0xCC: return S;
    case 0x88: return S & D;
    case 0xEE: return S | D;
    case 0x66: return S ^ D;
    case 0x33: return ~S & 0xFFFFFF;
    default: break;
  }
  uint32_t R = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(Code & (1 << i))) continue;
    uint32_t m = ((i & 4) ? P : ~P) & ((i & 2) ? S : ~S) & ((i & 1) ? D : ~D);
    R |= m;
  }
  return R & 0xFFFFFF;
}

// Whether a hatch brush sets the pixel (surface coordinates, brush origin at 0, 0).
inline bool HatchOn(TBrushStyle Style, int64_t X, int64_t Y) {
  switch (Style) {
    case bsHorizontal: return (Y & 7) == 7;
    case bsVertical: return (X & 7) == 7;
    case bsFDiagonal: return ((X - Y) & 7) == 0;
    case bsBDiagonal: return ((X + Y) & 7) == 7;
    case bsCross: return (Y & 7) == 7 || (X & 7) == 7;
    case bsDiagCross: return ((X - Y) & 7) == 0 || ((X + Y) & 7) == 7;
    default: return true;
  }
}

// What one drawing call writes to: the surface pixels and the clip in surface
// coordinates (Right and Bottom exclusive), plus the canvas origin.
struct Target {
  uint32_t* Pixels = nullptr;
  int64_t Stride = 0;
  int64_t OX = 0, OY = 0;
  int64_t CL = 0, CT = 0, CR = 0, CB = 0;
  bool Empty() const { return Pixels == nullptr || CL >= CR || CT >= CB; }
  bool Inside(int64_t X, int64_t Y) const { return X >= CL && X < CR && Y >= CT && Y < CB; }
  uint32_t& At(int64_t X, int64_t Y) const { return Pixels[Y * Stride + X]; }

  void Plot(int64_t X, int64_t Y, uint32_t C, TPenMode Mode) const {
    if (!Inside(X, Y)) return;
    uint32_t& D = At(X, Y);
    D = Mode == pmCopy ? C : Mix(Mode, C, D);
  }
  // Pixels X0..X1 (inclusive) of row Y.
  void Span(int64_t Y, int64_t X0, int64_t X1, uint32_t C, TPenMode Mode) const {
    if (Y < CT || Y >= CB) return;
    X0 = std::max(X0, CL);
    X1 = std::min(X1, CR - 1);
    if (X0 > X1) return;
    uint32_t* p = &At(X0, Y);
    uint32_t* e = p + (X1 - X0 + 1);
    if (Mode == pmCopy) {
      FillPixels(p, size_t(e - p), C);
    } else {
      for (; p != e; ++p) *p = Mix(Mode, C, *p);
    }
  }
  // Rows Y0..Y1 and columns X0..X1 (inclusive): the first row is filled, the others copy it.
  void Block(int64_t Y0, int64_t Y1, int64_t X0, int64_t X1, uint32_t C, TPenMode Mode) const {
    Y0 = std::max(Y0, CT);
    Y1 = std::min(Y1, CB - 1);
    X0 = std::max(X0, CL);
    X1 = std::min(X1, CR - 1);
    if (Y0 > Y1 || X0 > X1) return;
    if (Mode != pmCopy) {
      for (int64_t y = Y0; y <= Y1; ++y) Span(y, X0, X1, C, Mode);
      return;
    }
    const size_t n = size_t(X1 - X0 + 1);
    FillPixels(&At(X0, Y0), n, C);
    for (int64_t y = Y0 + 1; y <= Y1; ++y) std::memcpy(&At(X0, y), &At(X0, Y0), n * sizeof(uint32_t));
  }
};

// The brush as a span painter: solid, hatched (lines only) or nothing.
struct BrushPaint {
  uint32_t Color = 0;
  TBrushStyle Style = bsSolid;
  TPenMode Mode = pmCopy;
  bool Visible() const { return Style != bsClear; }
  void Span(const Target& T, int64_t Y, int64_t X0, int64_t X1) const {
    if (Style == bsClear) return;
    if (Style == bsSolid) {
      T.Span(Y, X0, X1, Color, Mode);
      return;
    }
    if (Y < T.CT || Y >= T.CB) return;
    X0 = std::max(X0, T.CL);
    X1 = std::min(X1, T.CR - 1);
    for (int64_t x = X0; x <= X1; ++x)
      if (HatchOn(Style, x, Y)) T.Plot(x, Y, Color, Mode);
  }
  void Block(const Target& T, int64_t Y0, int64_t Y1, int64_t X0, int64_t X1) const {
    if (Style == bsSolid) {
      T.Block(Y0, Y1, X0, X1, Color, Mode);
    } else {
      for (int64_t y = std::max(Y0, T.CT); y <= std::min(Y1, T.CB - 1); ++y) Span(T, y, X0, X1);
    }
  }
  void Pixel(const Target& T, int64_t X, int64_t Y) const {
    if (Style == bsClear) return;
    if (Style == bsSolid || HatchOn(Style, X, Y)) T.Plot(X, Y, Color, Mode);
  }
};

// Dash patterns of width-1 pens: alternating on and off runs.
struct Dash {
  const int* Runs = nullptr;
  int Count = 0;
  int Total = 0;
  bool On(int64_t Step) const {
    if (Count == 0) return true;
    int64_t p = Step % Total;
    if (p < 0) p += Total;
    for (int i = 0; i < Count; ++i) {
      if (p < Runs[i]) return (i & 1) == 0;
      p -= Runs[i];
    }
    return true;
  }
};

// The pen of one drawing call: colour and mode, width, dashes, and the background that
// fills dash gaps (a solid brush) or none.
struct Stroke {
  uint32_t Color = 0;
  TPenMode Mode = pmCopy;
  int Width = 1;
  Dash Pattern;
  bool Opaque = false;
  uint32_t Back = 0;
  int64_t Phase = 0;  // dash position carried along a chain of lines
};

// A point in surface coordinates where pixel (x, y) spans [x, x+1) x [y, y+1).
struct PointF {
  double X = 0, Y = 0;
};
// Fills the pixels whose centres lie inside the polygon (even-odd rule).
void FillPolygon(const Target& T, const PointF* P, int N, const BrushPaint& B);

Stroke StrokeOf(const TCanvas& C);
// One pen segment in surface coordinates. Width-1 lines leave out the end pixel unless
// IncludeEnd; wider pens draw a round-ended band centred on the segment.
void StrokeSegment(const Target& T, int64_t X0, int64_t Y0, int64_t X1, int64_t Y1,
                   Stroke& S, bool IncludeEnd);

}  // namespace nuv::raster

namespace nuv {

// Gives the unit's source files access to a canvas's state.
class TCanvasAccess {
 public:
  static raster::Target Resolve(const TCanvas& C);
  static raster::BrushPaint Brush(const TCanvas& C, TPenMode Mode);
  static const void*& FontInstance(TCanvas& C) { return C.FFontInstance; }
  static uint64_t& FontRevision(TCanvas& C) { return C.FFontRevision; }
  static TPoint& PenPos(TCanvas& C) { return C.FPenPos; }
};

class TBitmapAccess {
 public:
  static std::vector<uint32_t>& Pixels(TBitmap& B) { return B.FPixels; }
  static const std::vector<uint32_t>& Pixels(const TBitmap& B) { return B.FPixels; }
  // Takes over pixels of the given size (Pixels.size() == W * H) and a pixel format.
  static void Adopt(TBitmap& B, int W, int H, std::vector<uint32_t>&& Pixels,
                    TPixelFormat Format);
};

// The pixels of an image to draw: a bitmap or a decoded JPEG.
struct TImagePixels {
  const uint32_t* Pixels = nullptr;
  int Width = 0, Height = 0;
  bool Transparent = false;
  uint32_t TransparentPixel = 0;
};
// Stretches Src's rectangle (SX, SY, SW, SH) onto (X, Y, W, H) of the canvas with the
// raster operation and the canvas's stretch mode. Negative sizes mirror.
void StretchPixels(TCanvas& Dest, int64_t X, int64_t Y, int64_t W, int64_t H,
                   const TImagePixels& Src, int64_t SX, int64_t SY, int64_t SW, int64_t SH,
                   TCopyMode Rop);

}  // namespace nuv
