// Pens, brushes, fonts, the image base class and the canvas: targets, pixels, lines and
// rectangles. Curves and polygons are in NUV_Graphics_Shapes.cpp, image copies in
// NUV_Graphics_Blit.cpp, text in NUV_Graphics_Text.cpp, files in NUV_Graphics_Bmp.cpp and
// NUV_Graphics_Png.cpp.
#include "platform/NUV_Graphics.h"

#include <cmath>
#include <cstdlib>

#include "platform/NUV_Graphics_Raster.h"

namespace nuv {

using raster::Target;

// ---------------------------------------------------------------- graphics objects

void TGraphicsObject::Changed() {
  ++FRevision;
  if (OnChange) OnChange(this);
}

void TPen::Assign(TPersistent* Source) {
  if (auto* P = dynamic_cast<TPen*>(Source)) {
    if (P == this) return;
    FColor = P->FColor;
    FWidth = P->FWidth;
    FStyle = P->FStyle;
    FMode = P->FMode;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  Value = std::max(Value, 1);
  if (Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TBrush*>(Source)) {
    if (B == this) return;
    FColor = B->FColor;
    FStyle = B->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

namespace {
// a * b / c rounded half away from zero, as the classic MulDiv.
int MulDiv(int A, int B, int C) {
  int64_t n = int64_t(A) * B;
  int64_t q = (std::llabs(n) * 2 + C) / (2 * int64_t(C));
  return static_cast<int>(n < 0 ? -q : q);
}
}  // namespace

void TFont::Assign(TPersistent* Source) {
  if (auto* F = dynamic_cast<TFont*>(Source)) {
    if (F == this) return;
    FName = F->FName;
    FHeight = F->FHeight;
    FColor = F->FColor;
    FStyle = F->FStyle;
    FOrientation = F->FOrientation;
    FPitch = F->FPitch;
    FCharset = F->FCharset;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TFont::SetName(const std::string& Value) {
  if (Value == FName || Value.empty()) return;
  FName = Value;
  Changed();
}

int TFont::GetSize() const { return -MulDiv(FHeight, 72, ScreenPixelsPerInch); }

void TFont::SetSize(int Value) {
  Value = std::clamp(Value, -MaxFontHeight, MaxFontHeight);
  SetHeight(-MulDiv(Value, ScreenPixelsPerInch, 72));
}

void TFont::SetHeight(int Value) {
  Value = std::clamp(Value, -MaxFontHeight, MaxFontHeight);
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TFont::SetOrientation(int Value) {
  Value %= 3600;
  if (Value == FOrientation) return;
  FOrientation = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}

// ---------------------------------------------------------------- TGraphic

void TGraphic::LoadFromFile(const std::string& FileName) {
  TFileStream S(FileName, fmOpenRead);
  LoadFromStream(S);
}

void TGraphic::SaveToFile(const std::string& FileName) const {
  TMemoryStream M;
  SaveToStream(M);
  M.SaveToFile(FileName);
}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphic::Progress(TProgressStage Stage, uint8_t PercentDone, const std::string& Msg) {
  if (OnProgress) OnProgress(this, Stage, PercentDone, false, TRect{}, Msg);
}

// ---------------------------------------------------------------- canvas: target

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>()) {}

TCanvas::TCanvas(TBitmap* Surface) : TCanvas() { FSurface = Surface; }

TCanvas::~TCanvas() = default;

void TCanvas::SetTarget(TBitmap* Surface, TPoint Origin, const TRect& Clip) {
  FSurface = Surface;
  FOrigin = Origin;
  SetClipRect(Clip);
}

void TCanvas::SetTarget(TBitmap* Surface) {
  FSurface = Surface;
  FOrigin = TPoint{};
  FHasClip = false;
}

void TCanvas::SetClipRect(const TRect& Clip) {
  FClip = Clip;
  FHasClip = true;
}

void TCanvas::ResetClip() { FHasClip = false; }

Target TCanvasAccess::Resolve(const TCanvas& C) {
  Target T;
  if (C.FSurface == nullptr || C.FSurface->FPixels.empty()) return T;
  T.Pixels = C.FSurface->FPixels.data();
  T.Stride = C.FSurface->FWidth;
  T.OX = C.FOrigin.X;
  T.OY = C.FOrigin.Y;
  T.CL = 0;
  T.CT = 0;
  T.CR = C.FSurface->FWidth;
  T.CB = C.FSurface->FHeight;
  if (C.FHasClip) {
    T.CL = std::max<int64_t>(T.CL, C.FClip.Left + T.OX);
    T.CT = std::max<int64_t>(T.CT, C.FClip.Top + T.OY);
    T.CR = std::min<int64_t>(T.CR, C.FClip.Right + T.OX);
    T.CB = std::min<int64_t>(T.CB, C.FClip.Bottom + T.OY);
  }
  return T;
}

raster::BrushPaint TCanvasAccess::Brush(const TCanvas& C, TPenMode Mode) {
  raster::BrushPaint B;
  B.Color = raster::ToPixel(C.FBrush->GetColor());
  B.Style = C.FBrush->GetStyle();
  B.Mode = Mode;
  return B;
}

TRect TCanvas::GetClipRect() const {
  Target T = TCanvasAccess::Resolve(*this);
  if (T.Pixels == nullptr) return FHasClip ? FClip : TRect{};
  if (T.Empty()) return TRect{};
  auto c = [](int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  return TRect{c(T.CL - T.OX), c(T.CT - T.OY), c(T.CR - T.OX), c(T.CB - T.OY)};
}

int TCanvas::SetStretchBltMode(int Mode) {
  if (Mode < BLACKONWHITE || Mode > HALFTONE) return 0;
  int Old = FStretchMode;
  FStretchMode = Mode;
  return Old;
}

int SetStretchBltMode(TCanvas* Canvas, int Mode) {
  return Canvas ? Canvas->SetStretchBltMode(Mode) : 0;
}

// ---------------------------------------------------------------- pixels

TColor TCanvas::GetPixel(int X, int Y) const {
  Target T = TCanvasAccess::Resolve(*this);
  int64_t x = X + T.OX, y = Y + T.OY;
  if (T.Empty() || !T.Inside(x, y)) return TColor(-1);
  return raster::ToColor(T.At(x, y));
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  Target T = TCanvasAccess::Resolve(*this);
  if (T.Empty()) return;
  T.Plot(X + T.OX, Y + T.OY, raster::ToPixel(Color), pmCopy);
}

// ---------------------------------------------------------------- lines

namespace {

using i128 = __int128;

i128 FloorDiv(i128 A, i128 B) {  // B > 0
  i128 q = A / B;
  if ((A % B) != 0 && A < 0) --q;
  return q;
}
i128 CeilDiv(i128 A, i128 B) { return -FloorDiv(-A, B); }

raster::Dash DashOf(TPenStyle Style) {
  static const int kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6},
                   kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (Style) {
    case psDash: return {kDash, 2, 24};
    case psDot: return {kDot, 2, 6};
    case psDashDot: return {kDashDot, 4, 24};
    case psDashDotDot: return {kDashDotDot, 6, 24};
    default: return {};
  }
}

}  // namespace

namespace raster {

Stroke StrokeOf(const TCanvas& C) {
  Stroke S;
  const TPen* P = C.GetPen();
  S.Color = raster::ToPixel(P->GetColor());
  S.Mode = P->GetMode();
  S.Width = P->GetWidth();
  if (S.Width == 1) S.Pattern = DashOf(P->GetStyle());
  S.Opaque = C.GetBrush()->GetStyle() == bsSolid;
  S.Back = raster::ToPixel(C.GetBrush()->GetColor());
  return S;
}

namespace {

// A width-1 line from (X0, Y0) towards (X1, Y1), the end pixel left out. Pixel i of the
// n = max(|dx|, |dy|) steps lies at minor offset floor((2 i A + B) / 2B) (A, B the minor and
// major extents), whatever part of the line the clip lets through.
void CosmeticLine(const Target& T, int64_t X0, int64_t Y0, int64_t X1, int64_t Y1,
                  Stroke& S) {
  int64_t dx = X1 - X0, dy = Y1 - Y0;
  int64_t n = std::max(std::llabs(dx), std::llabs(dy));
  if (n == 0) return;
  int64_t start = S.Phase;
  S.Phase += n;
  if (T.Empty()) return;
  bool xMajor = std::llabs(dx) >= std::llabs(dy);
  int64_t maj0 = xMajor ? X0 : Y0, min0 = xMajor ? Y0 : X0;
  int64_t dMaj = xMajor ? dx : dy, dMin = xMajor ? dy : dx;
  int64_t sMaj = dMaj > 0 ? 1 : -1, sMin = dMin >= 0 ? 1 : -1;
  int64_t A = std::llabs(dMin), B = n;
  int64_t majLo = xMajor ? T.CL : T.CT, majHi = (xMajor ? T.CR : T.CB) - 1;
  int64_t minLo = xMajor ? T.CT : T.CL, minHi = (xMajor ? T.CB : T.CR) - 1;
  // Steps whose major coordinate is inside.
  i128 lo = 0, hi = n - 1;
  if (sMaj > 0) {
    lo = std::max<i128>(lo, majLo - maj0);
    hi = std::min<i128>(hi, majHi - maj0);
  } else {
    lo = std::max<i128>(lo, maj0 - majHi);
    hi = std::min<i128>(hi, maj0 - majLo);
  }
  // Steps whose minor offset is inside [m, M].
  i128 m = sMin > 0 ? minLo - min0 : min0 - minHi;
  i128 M = sMin > 0 ? minHi - min0 : min0 - minLo;
  if (A == 0) {
    if (m > 0 || M < 0) return;
  } else {
    lo = std::max(lo, CeilDiv(2 * i128(B) * m - B, 2 * i128(A)));
    hi = std::min(hi, CeilDiv(2 * i128(B) * (M + 1) - B, 2 * i128(A)) - 1);
  }
  if (lo > hi) return;
  i128 num = 2 * lo * A + B;
  int64_t q = static_cast<int64_t>(FloorDiv(num, 2 * i128(B)));
  int64_t r = static_cast<int64_t>(num - i128(q) * 2 * B);
  const bool plain = S.Pattern.Count == 0;
  for (int64_t i = static_cast<int64_t>(lo); i <= static_cast<int64_t>(hi); ++i) {
    int64_t a = maj0 + sMaj * i, b = min0 + sMin * q;
    int64_t x = xMajor ? a : b, y = xMajor ? b : a;
    if (plain || S.Pattern.On(start + i)) {
      T.Plot(x, y, S.Color, S.Mode);
    } else if (S.Opaque) {
      T.Plot(x, y, S.Back, S.Mode);
    }
    r += 2 * A;
    if (r >= 2 * B) {
      r -= 2 * B;
      ++q;
    }
  }
}

// A pen of width W > 1 from P0 to P1: every pixel whose centre lies within W/2 of the
// segment (round ends). Odd widths centre on the pixel centres of the path, even widths on
// their top-left corners, so that a width-w line covers w rows or columns.
void WideLine(const Target& T, int64_t X0, int64_t Y0, int64_t X1, int64_t Y1, uint32_t C,
              TPenMode Mode, int W) {
  if (T.Empty()) return;
  const double r = W / 2.0;
  const double off = (W & 1) ? 0.5 : 0.0;
  const double ax = X0 + off, ay = Y0 + off, bx = X1 + off, by = Y1 + off;
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy, len = std::sqrt(len2);
  int64_t yTop = std::max<int64_t>(T.CT, static_cast<int64_t>(std::floor(std::min(ay, by) - r)) - 1);
  int64_t yBot = std::min<int64_t>(T.CB - 1, static_cast<int64_t>(std::ceil(std::max(ay, by) + r)) + 1);
  for (int64_t y = yTop; y <= yBot; ++y) {
    const double yc = y + 0.5;
    double lo = INFINITY, hi = -INFINITY;
    auto disk = [&](double cx, double cy) {
      double h = r * r - (yc - cy) * (yc - cy);
      if (h < 0) return;
      double s = std::sqrt(h);
      lo = std::min(lo, cx - s);
      hi = std::max(hi, cx + s);
    };
    disk(ax, ay);
    disk(bx, by);
    if (len2 > 0) {
      // |dx (yc - ay) - dy (x - ax)| <= r len and 0 <= dx (x - ax) + dy (yc - ay) <= len2.
      double l = -INFINITY, h = INFINITY;
      auto bound = [&](double k, double c, double vmin, double vmax) {  // vmin <= k x + c <= vmax
        if (k == 0) {
          if (c < vmin || c > vmax) { l = INFINITY; h = -INFINITY; }
          return;
        }
        double p = (vmin - c) / k, q = (vmax - c) / k;
        if (p > q) std::swap(p, q);
        l = std::max(l, p);
        h = std::min(h, q);
      };
      bound(-dy, dx * (yc - ay) + dy * ax, -r * len, r * len);
      bound(dx, -dx * ax + dy * (yc - ay), 0, len2);
      if (l <= h) {
        lo = std::min(lo, l);
        hi = std::max(hi, h);
      }
    }
    if (lo > hi) continue;
    double fx0 = std::ceil(lo - 0.5), fx1 = std::floor(hi - 0.5);
    if (fx0 > fx1) continue;
    int64_t x0 = static_cast<int64_t>(std::max<double>(fx0, double(T.CL)));
    int64_t x1 = static_cast<int64_t>(std::min<double>(fx1, double(T.CR - 1)));
    T.Span(y, x0, x1, C, Mode);
  }
}

}  // namespace

void StrokeSegment(const Target& T, int64_t X0, int64_t Y0, int64_t X1, int64_t Y1,
                   Stroke& S, bool IncludeEnd) {
  if (S.Width > 1) {
    WideLine(T, X0, Y0, X1, Y1, S.Color, S.Mode, S.Width);
    return;
  }
  CosmeticLine(T, X0, Y0, X1, Y1, S);
  if (IncludeEnd && !T.Empty()) {
    if (S.Pattern.Count == 0 || S.Pattern.On(S.Phase))
      T.Plot(X1, Y1, S.Color, S.Mode);
    else if (S.Opaque)
      T.Plot(X1, Y1, S.Back, S.Mode);
  }
}

}  // namespace raster

using raster::Stroke;
using raster::StrokeOf;
using raster::StrokeSegment;

void TCanvas::MoveTo(int X, int Y) { FPenPos = Point(X, Y); }

void TCanvas::LineTo(int X, int Y) {
  if (FPen->GetStyle() != psClear) {
    Target T = TCanvasAccess::Resolve(*this);
    Stroke S = StrokeOf(*this);
    StrokeSegment(T, FPenPos.X + T.OX, FPenPos.Y + T.OY, X + T.OX, Y + T.OY, S, false);
  }
  FPenPos = Point(X, Y);
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
  if (Points == nullptr || Count <= 0) return;
  if (FPen->GetStyle() != psClear && Count > 1) {
    Target T = TCanvasAccess::Resolve(*this);
    Stroke S = StrokeOf(*this);
    for (int i = 1; i < Count; ++i)
      StrokeSegment(T, Points[i - 1].X + T.OX, Points[i - 1].Y + T.OY, Points[i].X + T.OX,
                    Points[i].Y + T.OY, S, false);
  }
  FPenPos = Points[Count - 1];
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  Polyline(Points.data(), static_cast<int>(Points.size()));
}

// ---------------------------------------------------------------- rectangles

namespace {

struct Box {
  int64_t L, T, R, B;  // surface coordinates, R and B exclusive, normalised
  bool Empty() const { return L >= R || T >= B; }
};

Box NormBox(const Target& T, int X1, int Y1, int X2, int Y2) {
  Box b{std::min(X1, X2) + T.OX, std::min(Y1, Y2) + T.OY, std::max(X1, X2) + T.OX,
        std::max(Y1, Y2) + T.OY};
  return b;
}

void FillBox(const Target& T, const Box& b, const raster::BrushPaint& P) {
  if (T.Empty() || b.Empty() || !P.Visible()) return;
  P.Block(T, b.T, b.B - 1, b.L, b.R - 1);
}

}  // namespace

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Target T = TCanvasAccess::Resolve(*this);
  if (T.Empty()) return;
  Box b = NormBox(T, X1, Y1, X2, Y2);
  if (b.Empty()) return;
  TPenMode Mode = FPen->GetMode();
  raster::BrushPaint P = TCanvasAccess::Brush(*this, Mode);
  if (FPen->GetStyle() == psClear) {
    FillBox(T, b, P);
    return;
  }
  int64_t w = FPen->GetWidth();
  Stroke S = StrokeOf(*this);
  if (w == 1 && S.Pattern.Count != 0) {
    // A dashed frame: one closed chain around the edge pixels.
    int64_t r = b.R - 1, btm = b.B - 1;
    if (r == b.L || btm == b.T) {
      StrokeSegment(T, b.L, b.T, r, btm, S, true);
    } else {
      StrokeSegment(T, b.L, b.T, r, b.T, S, false);
      StrokeSegment(T, r, b.T, r, btm, S, false);
      StrokeSegment(T, r, btm, b.L, btm, S, false);
      StrokeSegment(T, b.L, btm, b.L, b.T, S, false);
    }
    FillBox(T, Box{b.L + 1, b.T + 1, b.R - 1, b.B - 1}, P);
    return;
  }
  // A solid frame of w pixels inside the box, the brush inside the frame.
  Box in{b.L + w, b.T + w, b.R - w, b.B - w};
  int64_t y0 = std::max(b.T, T.CT), y1 = std::min(b.B, T.CB);
  for (int64_t y = y0; y < y1; ++y) {
    if (in.Empty() || y < in.T || y >= in.B) {
      T.Span(y, b.L, b.R - 1, S.Color, Mode);
    } else {
      T.Span(y, b.L, in.L - 1, S.Color, Mode);
      P.Span(T, y, in.L, in.R - 1);
      T.Span(y, in.R, b.R - 1, S.Color, Mode);
    }
  }
}

void TCanvas::FillRect(const TRect& R) {
  Target T = TCanvasAccess::Resolve(*this);
  FillBox(T, NormBox(T, R.Left, R.Top, R.Right, R.Bottom), TCanvasAccess::Brush(*this, pmCopy));
}

void TCanvas::FrameRect(const TRect& R) {
  Target T = TCanvasAccess::Resolve(*this);
  if (T.Empty()) return;
  Box b = NormBox(T, R.Left, R.Top, R.Right, R.Bottom);
  if (b.Empty()) return;
  raster::BrushPaint P = TCanvasAccess::Brush(*this, pmCopy);
  FillBox(T, Box{b.L, b.T, b.R, b.T + 1}, P);
  if (b.B - 1 > b.T) FillBox(T, Box{b.L, b.B - 1, b.R, b.B}, P);
  FillBox(T, Box{b.L, b.T + 1, b.L + 1, b.B - 1}, P);
  if (b.R - 1 > b.L) FillBox(T, Box{b.R - 1, b.T + 1, b.R, b.B - 1}, P);
}

}  // namespace nuv
