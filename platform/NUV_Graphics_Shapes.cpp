// Curved shapes, polygons and flood fill.
//
// Ellipses and rounded rectangles are rasterised row by row: a pixel belongs to the shape
// when its centre lies inside the ideal curve of the box. The pen outline of width w is the
// part of the shape outside the interior of the same shape inset by w - 1 (for w = 1: the
// shape's pixels that have a 4-neighbour outside it). Arcs, pies and chords keep the
// outline (and interior) pixels inside their angle range, tested by exact cross products.
#include <cmath>

#include "platform/NUV_Graphics.h"
#include "platform/NUV_Graphics_Raster.h"

namespace nuv {

using raster::Target;

namespace {

struct RowSpan {
  int64_t L = 1, R = 0;  // inclusive; empty when L > R
  bool Empty() const { return L > R; }
};

struct Box {
  int64_t L, T, R, B;  // R and B exclusive
  bool Empty() const { return L >= R || T >= B; }
};

// The row of the ellipse inscribed in the box.
RowSpan EllipseRow(const Box& b, int64_t y) {
  RowSpan s;
  if (b.Empty() || y < b.T || y >= b.B) return s;
  const double a = (b.R - b.L) / 2.0, h = (b.B - b.T) / 2.0;
  const double cx = (b.L + b.R) / 2.0, cy = (b.T + b.B) / 2.0;
  const double dy = (y + 0.5 - cy) / h;
  const double q = 1 - dy * dy;
  if (q < 0) return s;
  const double hw = a * std::sqrt(q);
  double l = std::ceil(cx - hw - 0.5), r = std::floor(cx + hw - 0.5);
  if (l > r) return s;
  s.L = int64_t(l);
  s.R = int64_t(r);
  return s;
}

// A rectangle whose corners are rounded by an ellipse of CW x CH.
struct RoundShape {
  Box B;
  int64_t CW = 0, CH = 0;
  RowSpan Row(int64_t y) const {
    RowSpan s;
    if (B.Empty() || y < B.T || y >= B.B) return s;
    int64_t cw = std::min(CW, B.R - B.L), ch = std::min(CH, B.B - B.T);
    if (cw <= 0 || ch <= 0) return RowSpan{B.L, B.R - 1};
    int64_t ey;
    if (y - B.T < ch / 2) {
      ey = y;
    } else if (B.B - 1 - y < ch / 2) {
      ey = y - (B.B - B.T - ch);
    } else {
      return RowSpan{B.L, B.R - 1};
    }
    RowSpan e = EllipseRow(Box{B.L, B.T, B.L + cw, B.T + ch}, ey);
    if (e.Empty()) return e;
    return RowSpan{e.L, e.R + (B.R - B.L - cw)};
  }
  RoundShape Inset(int64_t d) const {
    return RoundShape{Box{B.L + d, B.T + d, B.R - d, B.B - d}, CW - 2 * d, CH - 2 * d};
  }
};

RoundShape EllipseShape(const Box& b) {
  return RoundShape{b, b.R - b.L, b.B - b.T};
}

// The interior (pixels with all four neighbours in the shape) of row y.
RowSpan InteriorRow(const RoundShape& S, int64_t y) {
  RowSpan c = S.Row(y), u = S.Row(y - 1), d = S.Row(y + 1);
  if (c.Empty() || u.Empty() || d.Empty()) return RowSpan{};
  return RowSpan{std::max({c.L + 1, u.L, d.L}), std::min({c.R - 1, u.R, d.R})};
}

Box NormBox(const Target& T, int X1, int Y1, int X2, int Y2) {
  return Box{std::min(X1, X2) + T.OX, std::min(Y1, Y2) + T.OY, std::max(X1, X2) + T.OX,
             std::max(Y1, Y2) + T.OY};
}

// Which pixels of the shape an arc-like figure keeps.
struct PixelFilter {
  virtual ~PixelFilter() = default;
  virtual bool Outline(int64_t X, int64_t Y) const = 0;
  virtual bool Inside(int64_t X, int64_t Y) const = 0;
};

// Outline and interior of the shape: the pen on the outline, the brush inside. Filter
// (may be null) restricts both.
void DrawShape(const Target& T, const RoundShape& Outer, const raster::Stroke* Pen,
               const raster::BrushPaint& Brush, const PixelFilter* Filter) {
  if (T.Empty() || Outer.B.Empty()) return;
  const int64_t w = Pen ? Pen->Width : 0;
  RoundShape inner = w > 0 ? Outer.Inset(w - 1) : Outer;
  int64_t y0 = std::max(Outer.B.T, T.CT), y1 = std::min(Outer.B.B, T.CB);
  auto pen = [&](int64_t y, int64_t a, int64_t b) {
    if (a > b) return;
    if (Filter == nullptr) {
      T.Span(y, a, b, Pen->Color, Pen->Mode);
      return;
    }
    a = std::max(a, T.CL);
    b = std::min(b, T.CR - 1);
    for (int64_t x = a; x <= b; ++x)
      if (Filter->Outline(x, y)) T.Plot(x, y, Pen->Color, Pen->Mode);
  };
  auto fill = [&](int64_t y, int64_t a, int64_t b) {
    if (a > b || !Brush.Visible()) return;
    if (Filter == nullptr) {
      Brush.Span(T, y, a, b);
      return;
    }
    a = std::max(a, T.CL);
    b = std::min(b, T.CR - 1);
    for (int64_t x = a; x <= b; ++x)
      if (Filter->Inside(x, y)) Brush.Pixel(T, x, y);
  };
  for (int64_t y = y0; y < y1; ++y) {
    RowSpan o = Outer.Row(y);
    if (o.Empty()) continue;
    if (Pen == nullptr) {
      fill(y, o.L, o.R);
      continue;
    }
    RowSpan in = InteriorRow(inner, y);
    if (in.Empty()) {
      pen(y, o.L, o.R);
      continue;
    }
    in.L = std::max(in.L, o.L);
    in.R = std::min(in.R, o.R);
    pen(y, o.L, in.L - 1);
    fill(y, in.L, in.R);
    pen(y, in.R + 1, o.R);
  }
}

// The angle range of Arc, Pie and Chord: counter-clockwise (on screen) from the start ray
// to the end ray, rays from the centre of the box.
struct Sweep {
  double CX, CY;   // centre in surface coordinates
  double SX, SY;   // start and end directions, y pointing up
  double EX, EY;
  bool Full = false;

  Sweep(const Box& b, int64_t X3, int64_t Y3, int64_t X4, int64_t Y4) {
    CX = (b.L + b.R) / 2.0;
    CY = (b.T + b.B) / 2.0;
    SX = X3 + 0.5 - CX;
    SY = CY - (Y3 + 0.5);
    EX = X4 + 0.5 - CX;
    EY = CY - (Y4 + 0.5);
    if (SX == 0 && SY == 0) SX = 1;
    if (EX == 0 && EY == 0) EX = 1;
    Full = Cross(SX, SY, EX, EY) == 0 && SX * EX + SY * EY > 0;
  }
  static double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }
  bool Contains(int64_t X, int64_t Y) const {
    if (Full) return true;
    double px = X + 0.5 - CX, py = CY - (Y + 0.5);
    double se = Cross(SX, SY, EX, EY);
    bool afterStart = Cross(SX, SY, px, py) >= 0, beforeEnd = Cross(px, py, EX, EY) >= 0;
    if (se > 0) return afterStart && beforeEnd;
    if (se < 0) return afterStart || beforeEnd;
    return afterStart;  // opposite rays: the half on the left of the start ray
  }
  // Where a ray meets the ellipse of the box, as a pixel.
  static TPoint OnEllipse(const Box& b, double CX, double CY, double DX, double DY) {
    double a = (b.R - b.L) / 2.0, h = (b.B - b.T) / 2.0;
    double k = 1 / std::sqrt((DX / a) * (DX / a) + (DY / h) * (DY / h));
    double x = CX + k * DX - 0.5, y = CY - k * DY - 0.5;
    x = std::clamp(x, double(b.L), double(b.R - 1));
    y = std::clamp(y, double(b.T), double(b.B - 1));
    return TPoint{int(std::lround(x)), int(std::lround(y))};
  }
  TPoint StartPoint(const Box& b) const { return OnEllipse(b, CX, CY, SX, SY); }
  TPoint EndPoint(const Box& b) const { return OnEllipse(b, CX, CY, EX, EY); }
};

struct ArcFilter : PixelFilter {
  const Sweep& S;
  explicit ArcFilter(const Sweep& s) : S(s) {}
  bool Outline(int64_t X, int64_t Y) const override { return S.Contains(X, Y); }
  bool Inside(int64_t X, int64_t Y) const override { return S.Contains(X, Y); }
};

// Chord: the outline along the arc, the interior on the arc's side of the chord.
struct ChordFilter : PixelFilter {
  const Sweep& S;
  double AX, AY, BX, BY;  // chord from the end point A to the start point B, pixel centres
  ChordFilter(const Sweep& s, TPoint Start, TPoint End) : S(s) {
    AX = End.X + 0.5;
    AY = End.Y + 0.5;
    BX = Start.X + 0.5;
    BY = Start.Y + 0.5;
  }
  bool Outline(int64_t X, int64_t Y) const override { return S.Contains(X, Y); }
  bool Inside(int64_t X, int64_t Y) const override {
    if (S.Full) return true;
    // Left of A -> B with y pointing up is right of it with y pointing down.
    double c = (BX - AX) * (Y + 0.5 - AY) - (BY - AY) * (X + 0.5 - AX);
    return c <= 0;
  }
};

enum class ArcKind { Arc, Pie, Chord };

}  // namespace

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Target T = TCanvasAccess::Resolve(*this);
  if (T.Empty()) return;
  raster::Stroke S = raster::StrokeOf(*this);
  DrawShape(T, EllipseShape(NormBox(T, X1, Y1, X2, Y2)),
            FPen->GetStyle() == psClear ? nullptr : &S,
            TCanvasAccess::Brush(*this, FPen->GetMode()), nullptr);
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Target T = TCanvasAccess::Resolve(*this);
  if (T.Empty()) return;
  raster::Stroke S = raster::StrokeOf(*this);
  RoundShape R{NormBox(T, X1, Y1, X2, Y2), std::abs(int64_t(X3)), std::abs(int64_t(Y3))};
  DrawShape(T, R, FPen->GetStyle() == psClear ? nullptr : &S,
            TCanvasAccess::Brush(*this, FPen->GetMode()), nullptr);
}

namespace {

void ArcShape(TCanvas& C, ArcKind Kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4,
              int Y4) {
  Target T = TCanvasAccess::Resolve(C);
  if (T.Empty()) return;
  Box b = NormBox(T, X1, Y1, X2, Y2);
  if (b.Empty()) return;
  Sweep sw(b, X3 + T.OX, Y3 + T.OY, X4 + T.OX, Y4 + T.OY);
  raster::Stroke S = raster::StrokeOf(C);
  const bool pen = C.GetPen()->GetStyle() != psClear;
  raster::BrushPaint brush = TCanvasAccess::Brush(C, C.GetPen()->GetMode());
  if (Kind == ArcKind::Arc) brush.Style = bsClear;
  TPoint ps = sw.StartPoint(b), pe = sw.EndPoint(b);
  ArcFilter af(sw);
  ChordFilter cf(sw, ps, pe);
  const PixelFilter* filter = Kind == ArcKind::Chord ? static_cast<const PixelFilter*>(&cf) : &af;
  DrawShape(T, EllipseShape(b), pen ? &S : nullptr, brush, sw.Full && Kind != ArcKind::Pie ? nullptr : filter);
  if (!pen) return;
  if (Kind == ArcKind::Pie) {
    int64_t cx = (b.L + b.R) / 2, cy = (b.T + b.B) / 2;
    raster::StrokeSegment(T, cx, cy, ps.X, ps.Y, S, true);
    if (!sw.Full) raster::StrokeSegment(T, cx, cy, pe.X, pe.Y, S, true);
  } else if (Kind == ArcKind::Chord && !sw.Full) {
    raster::StrokeSegment(T, pe.X, pe.Y, ps.X, ps.Y, S, true);
  }
}

}  // namespace

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  ArcShape(*this, ArcKind::Arc, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  ArcShape(*this, ArcKind::Pie, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  ArcShape(*this, ArcKind::Chord, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

// ---------------------------------------------------------------- polygons

void raster::FillPolygon(const Target& T, const PointF* P, int N, const BrushPaint& B) {
  if (T.Empty() || N < 3 || !B.Visible()) return;
  double minY = P[0].Y, maxY = P[0].Y;
  for (int i = 1; i < N; ++i) {
    minY = std::min(minY, P[i].Y);
    maxY = std::max(maxY, P[i].Y);
  }
  double fy0 = std::max(double(T.CT), std::floor(minY - 0.5));
  double fy1 = std::min(double(T.CB - 1), std::ceil(maxY));
  if (fy0 > fy1) return;
  // Edges sorted by their top; each row looks only at the edges that can cross it.
  struct Edge {
    double Top, Bottom, X0, Slope;  // x = X0 + (y - Top) * Slope
  };
  std::vector<Edge> edges;
  for (int i = 0; i < N; ++i) {
    const PointF& a = P[i];
    const PointF& b = P[(i + 1) % N];
    if (a.Y == b.Y) continue;
    const PointF& t = a.Y < b.Y ? a : b;
    const PointF& u = a.Y < b.Y ? b : a;
    edges.push_back({t.Y, u.Y, t.X, (u.X - t.X) / (u.Y - t.Y)});
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.Top < b.Top; });
  std::vector<const Edge*> active;
  size_t next = 0;
  std::vector<double> xs;
  for (int64_t y = int64_t(fy0); y <= int64_t(fy1); ++y) {
    const double yc = y + 0.5;
    while (next < edges.size() && edges[next].Top <= yc) active.push_back(&edges[next++]);
    std::erase_if(active, [yc](const Edge* e) { return e->Bottom <= yc; });
    xs.clear();
    for (const Edge* e : active) xs.push_back(e->X0 + (yc - e->Top) * e->Slope);
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2) {
      double l = std::max(std::ceil(xs[k] - 0.5), double(T.CL));
      double r = std::min(std::ceil(xs[k + 1] - 0.5) - 1, double(T.CR - 1));
      if (l <= r) B.Span(T, y, int64_t(l), int64_t(r));
    }
  }
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  if (Points == nullptr || Count <= 0) return;
  Target T = TCanvasAccess::Resolve(*this);
  if (!T.Empty()) {
    // Vertices at pixel centres, where the outline runs through them.
    std::vector<raster::PointF> pts(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i)
      pts[size_t(i)] = {double(Points[i].X + T.OX) + 0.5, double(Points[i].Y + T.OY) + 0.5};
    raster::FillPolygon(T, pts.data(), Count, TCanvasAccess::Brush(*this, FPen->GetMode()));
    if (FPen->GetStyle() != psClear) {
      raster::Stroke S = raster::StrokeOf(*this);
      for (int i = 0; i < Count; ++i) {
        const TPoint& a = Points[i];
        const TPoint& b = Points[(i + 1) % Count];
        raster::StrokeSegment(T, a.X + T.OX, a.Y + T.OY, b.X + T.OX, b.Y + T.OY, S,
                              Count == 1);
      }
    }
  }
  FPenPos = Points[Count - 1];
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  Polygon(Points.data(), static_cast<int>(Points.size()));
}

// ---------------------------------------------------------------- flood fill

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  Target T = TCanvasAccess::Resolve(*this);
  if (T.Empty()) return;
  const int64_t sx = X + T.OX, sy = Y + T.OY;
  if (!T.Inside(sx, sy)) return;
  const uint32_t c = raster::ToPixel(Color);
  auto inRegion = [&](int64_t x, int64_t y) {
    bool same = (T.At(x, y) & 0xFFFFFF) == c;
    return FillStyle == fsSurface ? same : !same;
  };
  if (!inRegion(sx, sy)) return;
  // Find the whole region first, then paint it: the brush may have the region's colour.
  const int64_t w = T.CR - T.CL, h = T.CB - T.CT;
  std::vector<uint8_t> mark(size_t(w * h), 0);
  auto marked = [&](int64_t x, int64_t y) -> uint8_t& {
    return mark[size_t((y - T.CT) * w + (x - T.CL))];
  };
  std::vector<std::pair<int64_t, int64_t>> stack{{sx, sy}};
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    if (marked(x, y) || !inRegion(x, y)) continue;
    int64_t l = x, r = x;
    while (l > T.CL && !marked(l - 1, y) && inRegion(l - 1, y)) --l;
    while (r < T.CR - 1 && !marked(r + 1, y) && inRegion(r + 1, y)) ++r;
    for (int64_t i = l; i <= r; ++i) marked(i, y) = 1;
    for (int64_t ny : {y - 1, y + 1}) {
      if (ny < T.CT || ny >= T.CB) continue;
      bool open = false;
      for (int64_t i = l; i <= r; ++i) {
        bool can = !marked(i, ny) && inRegion(i, ny);
        if (can && !open) stack.push_back({i, ny});
        open = can;
      }
    }
  }
  raster::BrushPaint B = TCanvasAccess::Brush(*this, pmCopy);
  for (int64_t y = T.CT; y < T.CB; ++y)
    for (int64_t x = T.CL; x < T.CR; ++x)
      if (marked(x, y)) B.Pixel(T, x, y);
}

}  // namespace nuv
