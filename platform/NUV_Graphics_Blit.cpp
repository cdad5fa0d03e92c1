// Copying images onto a canvas: Draw, StretchDraw, CopyRect and StretchBlt, with the
// raster operations and the stretch modes.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/NUV_Graphics.h"
#include "platform/NUV_Graphics_Raster.h"

namespace nuv {

namespace {

// Whether a ternary raster operation reads the source (its result depends on S).
bool UsesSource(uint8_t Code) { return ((Code >> 2) ^ Code) & 0x33; }

// The source columns (or rows) that land on destination positions First..Last of a
// destination extent N taken from source extent SN starting at S0: [Lo, Hi) per position,
// Lo == Hi for nearest-pixel picking (one pixel, Lo). When shrinking by area, [From, To)
// is the exact source interval, giving each source pixel the share it covers.
struct Sampling {
  std::vector<int64_t> Lo, Hi;
  std::vector<double> From, To;
  double Weight(size_t I, int64_t K) const {
    return std::max(0.0, std::min(To[I], double(K + 1)) - std::max(From[I], double(K)));
  }
};

Sampling Sample(int64_t First, int64_t Last, int64_t N, int64_t S0, int64_t SN, bool Flip,
                bool Area) {
  Sampling R;
  size_t count = size_t(Last - First + 1);
  R.Lo.resize(count);
  R.Hi.resize(count);
  R.From.resize(count);
  R.To.resize(count);
  for (size_t i = 0; i < count; ++i) {
    int64_t u = First + int64_t(i);
    if (Flip) u = N - 1 - u;
    using i128 = __int128;  // positions and extents may each use 33 bits
    if (Area && SN > N) {
      int64_t a = int64_t((i128(u) * SN) / N), b = int64_t(((i128(u) + 1) * SN + N - 1) / N);
      R.Lo[i] = S0 + a;
      R.Hi[i] = S0 + std::max(b, a + 1);
      R.From[i] = double(S0) + double(u) * double(SN) / double(N);
      R.To[i] = double(S0) + double(u + 1) * double(SN) / double(N);
    } else {
      int64_t s = S0 + int64_t(((2 * i128(u) + 1) * SN) / (2 * i128(N)));
      R.Lo[i] = s;
      R.Hi[i] = s;
      R.From[i] = double(s);
      R.To[i] = double(s + 1);
    }
  }
  return R;
}

}  // namespace

void StretchPixels(TCanvas& Dest, int64_t X, int64_t Y, int64_t W, int64_t H,
                   const TImagePixels& Source, int64_t SX, int64_t SY, int64_t SW,
                   int64_t SH, TCopyMode Rop) {
  raster::Target T = TCanvasAccess::Resolve(Dest);
  if (T.Empty() || Source.Pixels == nullptr) return;
  bool flipX = false, flipY = false;
  if (W < 0) { X += W; W = -W; flipX = !flipX; }
  if (H < 0) { Y += H; H = -H; flipY = !flipY; }
  if (SW < 0) { SX += SW; SW = -SW; flipX = !flipX; }
  if (SH < 0) { SY += SH; SH = -SH; flipY = !flipY; }
  if (W == 0 || H == 0 || SW == 0 || SH == 0) return;
  X += T.OX;
  Y += T.OY;
  int64_t x0 = std::max(X, T.CL), x1 = std::min(X + W, T.CR) - 1;
  int64_t y0 = std::max(Y, T.CT), y1 = std::min(Y + H, T.CB) - 1;
  if (x0 > x1 || y0 > y1) return;

  // Reading and writing the same pixels: take the source from a copy.
  TImagePixels Src = Source;
  std::vector<uint32_t> copy;
  if (Src.Pixels == T.Pixels) {
    copy.assign(Src.Pixels, Src.Pixels + size_t(Src.Width) * Src.Height);
    Src.Pixels = copy.data();
  }

  const uint8_t code = (Rop >> 16) & 0xFF;
  const uint32_t pat = raster::ToPixel(Dest.GetBrush()->GetColor());
  if (!UsesSource(code)) {
    for (int64_t y = y0; y <= y1; ++y)
      for (int64_t x = x0; x <= x1; ++x) {
        uint32_t& d = T.At(x, y);
        d = raster::Rop3(code, pat, 0, d);
      }
    return;
  }

  // A plain copy of the same size: whole rows.
  if (code == 0xCC && W == SW && H == SH && !flipX && !flipY && !Src.Transparent &&
      SX >= 0 && SY >= 0 && SX + SW <= Src.Width && SY + SH <= Src.Height) {
    for (int64_t y = y0; y <= y1; ++y) {
      const uint32_t* s = Src.Pixels + (SY + (y - Y)) * Src.Width + SX + (x0 - X);
      std::memcpy(&T.At(x0, y), s, size_t(x1 - x0 + 1) * sizeof(uint32_t));
    }
    return;
  }

  const int mode = Dest.GetStretchBltMode();
  const bool area = mode != COLORONCOLOR;
  Sampling cols = Sample(x0 - X, x1 - X, W, SX, SW, flipX, area);
  Sampling rows = Sample(y0 - Y, y1 - Y, H, SY, SH, flipY, area);
  for (int64_t y = y0; y <= y1; ++y) {
    size_t ry = size_t(y - y0);
    int64_t sy0 = std::max<int64_t>(rows.Lo[ry], 0);
    int64_t sy1 = std::min<int64_t>(std::max(rows.Hi[ry], rows.Lo[ry] + 1), Src.Height);
    if (sy0 >= sy1) continue;
    for (int64_t x = x0; x <= x1; ++x) {
      size_t rx = size_t(x - x0);
      int64_t sx0 = std::max<int64_t>(cols.Lo[rx], 0);
      int64_t sx1 = std::min<int64_t>(std::max(cols.Hi[rx], cols.Lo[rx] + 1), Src.Width);
      if (sx0 >= sx1) continue;
      uint32_t s;
      if (sx1 - sx0 == 1 && sy1 - sy0 == 1) {
        s = Src.Pixels[sy0 * Src.Width + sx0] & 0xFFFFFF;
        if (Src.Transparent && s == Src.TransparentPixel) continue;
      } else {
        // Several source pixels fall on this one: average them by the share of the pixel
        // each covers (HALFTONE), or AND or OR them.
        double r = 0, g = 0, b = 0, n = 0;
        uint32_t andv = 0xFFFFFF, orv = 0;
        for (int64_t sy = sy0; sy < sy1; ++sy) {
          const double wy = rows.Weight(ry, sy);
          for (int64_t sx = sx0; sx < sx1; ++sx) {
            uint32_t p = Src.Pixels[sy * Src.Width + sx] & 0xFFFFFF;
            if (Src.Transparent && p == Src.TransparentPixel) continue;
            const double w = wy * cols.Weight(rx, sx);
            if (w <= 0) continue;
            b += w * (p & 0xFF);
            g += w * ((p >> 8) & 0xFF);
            r += w * ((p >> 16) & 0xFF);
            andv &= p;
            orv |= p;
            n += w;
          }
        }
        if (n <= 0) continue;
        if (mode == BLACKONWHITE) {
          s = andv;
        } else if (mode == WHITEONBLACK) {
          s = orv;
        } else {
          auto level = [n](double v) { return uint32_t(std::clamp(std::lround(v / n), 0L, 255L)); };
          s = level(b) | level(g) << 8 | level(r) << 16;
        }
      }
      uint32_t& d = T.At(x, y);
      d = raster::Rop3(code, pat, s, d & 0xFFFFFF);
    }
  }
}

namespace {

TImagePixels SurfacePixels(const TCanvas& C, int64_t& SX, int64_t& SY) {
  TImagePixels P;
  TBitmap* B = C.GetTarget();
  if (B == nullptr || B->GetEmpty()) return P;
  P.Pixels = B->ScanLine(0);
  P.Width = B->GetWidth();
  P.Height = B->GetHeight();
  SX += C.GetOrigin().X;
  SY += C.GetOrigin().Y;
  return P;
}

}  // namespace

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->GetEmpty()) return;
  Graphic->Draw(*this, Bounds(X, Y, Graphic->GetWidth(), Graphic->GetHeight()));
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->GetEmpty()) return;
  Graphic->Draw(*this, Rect);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (Canvas == nullptr) return;
  int64_t sx = Source.Left, sy = Source.Top;
  TImagePixels P = SurfacePixels(*Canvas, sx, sy);
  if (P.Pixels == nullptr) return;
  StretchPixels(*this, Dest.Left, Dest.Top, int64_t(Dest.Right) - Dest.Left,
                int64_t(Dest.Bottom) - Dest.Top, P, sx, sy,
                int64_t(Source.Right) - Source.Left, int64_t(Source.Bottom) - Source.Top,
                FCopyMode);
}

bool StretchBlt(TCanvas* Dest, int X, int Y, int Width, int Height, TCanvas* Source, int SX,
                int SY, int SWidth, int SHeight, TCopyMode Rop) {
  if (Dest == nullptr || Source == nullptr) return false;
  int64_t sx = SX, sy = SY;
  TImagePixels P = SurfacePixels(*Source, sx, sy);
  if (P.Pixels == nullptr || SWidth == 0 || SHeight == 0) return false;
  StretchPixels(*Dest, X, Y, Width, Height, P, sx, sy, SWidth, SHeight, Rop);
  return true;
}

}  // namespace nuv
