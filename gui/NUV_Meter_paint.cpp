// The meter's picture, composed on an off-screen bitmap and copied in one operation.
#include <cmath>
#include <numbers>

#include "common/NUV_NumFormats.h"
#include "gui/NUV_Meter.h"

namespace nuv {

namespace {

constexpr TColor BevelLight = 0xFFFFFF, BevelShadow = 0x808080;

void SetPenAndBrush(TCanvas* C, TColor Color) {
  C->GetPen()->SetColor(Color);
  C->GetBrush()->SetColor(Color);
}

void Line(TCanvas* C, TColor Color, std::initializer_list<TPoint> Points) {
  C->GetPen()->SetColor(Color);
  auto It = Points.begin();
  C->MoveTo(It->X, It->Y);
  for (++It; It != Points.end(); ++It) C->LineTo(It->X, It->Y);
}

}  // namespace

void TMeter::Paint() {
  if (FScaleRadius <= 0 || IsLoading() || !GetParent()) return;
  if (!IsShowing() && !GetComponentState().contains(csDesigning)) return;
  TBitmap Picture;
  Picture.SetSize(GetWidth(), GetHeight());
  TCanvas* C = Picture.GetCanvas();
  PaintBackground(C);
  if (FScaleBkVisible) PaintScaleBands(C);
  C->GetBrush()->SetStyle(bsClear);
  if (FScaleVisible) PaintScale(C);
  PaintCaption(C);
  // The second needle lies under the primary one.
  if (FNeedleLayoutSec->GetVisible())
    PaintNeedle(C, *FNeedleLayoutSec, std::fmin(std::fmax(FValueSec, FMeterMinValue), FMeterMaxValue));
  bool NeedleDrawn = false;
  if (OnBeforeDrawNeedle) OnBeforeDrawNeedle(this, C, NeedleDrawn);
  if (!NeedleDrawn) PaintNeedle(C, *FNeedleLayout, FValue);
  PaintRims(C);
  PaintAnchor(C);
  if (FLimWatchHighOn) PaintLamp(C, GetWidth() - FRimSide - 18, FOverflow);
  if (FLimWatchLowOn) PaintLamp(C, FRimSide + 8, FUnderflow);
  if (OnMeterRendered) OnMeterRendered(this, C);
  PaintFrame(C);
  TCanvas* Target = GetCanvas();
  Target->SetCopyMode(cmSrcCopy);
  Target->Draw(0, 0, &Picture);
}

void TMeter::PaintBackground(TCanvas* C) {
  int W = GetWidth(), H = GetHeight();
  if (FBackGroundImg.empty()) {
    C->SetFont(GetFont());
    SetPenAndBrush(C, FColorBakG);
    C->Rectangle(0, 0, W, H);
    return;
  }
  TBitmap* Image = FBackGround.get();
  switch (FBkgndFillMode) {
    case bkfTopLeft:
      C->Rectangle(0, 0, W, H);
      C->Draw(0, 0, Image);
      break;
    case bkfStretch:
      C->StretchDraw(Rect(0, 0, W, H), Image);
      break;
    case bkfTile: {
      int w = Image->GetWidth(), h = Image->GetHeight();
      if (w <= 0 || h <= 0) break;
      // Enough rows and columns to cover the whole control.
      int nx = (W - 1) / w + 1, ny = (H - 1) / h + 1;
      for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j)
          C->StretchDraw(Rect(w * (i - 1), h * (j - 1), w * i, h * j), Image);
      break;
    }
  }
}

void TMeter::PaintScaleBands(TCanvas* C) {
  const double R = FScaleRadius;
  int cx = FCenterX, cy = FCenterY;
  int ro = RoundInt(R + 4), ri = RoundInt((100 - FScaleBkWidth) * R / 100);
  auto Band = [&](double From, double To, TColor Color) {
    double a1 = Theta(From), a2 = Theta(To);
    double Sweep = std::fabs(a1 - a2);
    if (Sweep <= 1e-6) return;
    TPoint P1 = PointAt(a1, R), P2 = PointAt(a2, R);
    // Equal start and end rays draw the whole disc: right for a full turn, wrong for a
    // band too narrow to reach from one pixel to the next.
    if (P1 == P2 && Sweep < std::numbers::pi) return;
    SetPenAndBrush(C, Color);
    C->Pie(cx - ro, cy - ro, cx + ro + 1, cy + ro, P1.X, P1.Y, P2.X, P2.Y);
  };
  Band(FThresholdLow, FMeterMinValue, FColorSclBkLow);
  Band(FThresholdHigh, FThresholdLow, FColorSclBkNorm);
  Band(FMeterMaxValue, FThresholdHigh, FColorSclBkHigh);
  SetPenAndBrush(C, FColorBakG);
  C->Ellipse(cx - ri, cy - ri, cx + ri + 1, cy + ri);
}

void TMeter::PaintScale(TCanvas* C) {
  const double R = FScaleRadius;
  int cx = FCenterX, cy = FCenterY;
  C->GetPen()->SetColor(FColorScale);
  if (FMeterScaleLine) {
    int r = RoundInt(R);
    TPoint P1 = PointAt(Theta(FMeterMaxValue), R), P2 = PointAt(Theta(FMeterMinValue), R);
    C->Arc(cx - r, cy - r, cx + r + 1, cy + r, P1.X, P1.Y, P2.X, P2.Y);
  }
  auto Tick = [&](double v, double Length) {
    double a = Theta(v);
    TPoint Outer = PointAt(a, R), Inner = PointAt(a, R - Length);
    C->MoveTo(Outer.X, Outer.Y);
    C->LineTo(Inner.X, Inner.Y);
  };
  TMeterTickSpacing Spacing = MeterTickSpacing(FMeterMinValue, FMeterMaxValue, FMeterNrTicks);
  if (FMeterShortTicks)
    for (double v : MeterMinorTicks(Spacing, FMeterMinValue, FMeterMaxValue)) Tick(v, 4);

  int m = CalcM(FMeterDecPlaces, FMeterMinValue, FMeterMaxValue);
  C->SetFont(GetFont());
  std::string MaxText = FormatRealNum(1, m, FMeterMaxValue);
  double dx = C->TextWidth(MaxText) / 2.0 + 15, dy = C->TextHeight(MaxText) / 2.0 + 15;
  std::vector<double> Majors = MeterMajorTicks(Spacing, FMeterMaxValue);
  const double FirstTheta = Theta(Majors.front());
  for (size_t i = 0; i < Majors.size(); ++i) {
    double v = Majors[i], a = Theta(v);
    // On a full circle the last tick can fall on the first: one tick and label there.
    if (i > 0 && std::fabs(std::fabs(a - FirstTheta) - 2 * std::numbers::pi) < 1e-9) continue;
    Tick(v, 8);
    int lx = RoundInt(cx + std::cos(a) * (R - dx)), ly = RoundInt(cy - std::sin(a) * (R - dy));
    std::string Text = FormatRealNum(1, m, v);
    if (OnBeforeDrawScaleLabel) {
      int tw = C->TextWidth(Text), th = C->TextHeight(Text);
      OnBeforeDrawScaleLabel(this, C, Text, lx - tw / 2, ly - th / 2);
    }
    if (!Text.empty()) C->TextOut(lx - C->TextWidth(Text) / 2, ly - C->TextHeight(Text) / 2, Text);
  }
}

void TMeter::PaintCaption(TCanvas* C) {
  if (FCaption.empty()) return;
  C->SetFont(FFontCaption.get());
  C->GetBrush()->SetStyle(bsClear);
  int tw = C->TextWidth(FCaption), th = C->TextHeight(FCaption);
  C->TextOut(FCenterX - tw / 2, FCenterY - RoundInt(FScaleRadius / 3) - th / 2, FCaption);
}

void TMeter::PaintNeedle(TCanvas* C, const TNeedleLayout& Layout, double AValue) {
  double a = Theta(AValue);
  double Rho = Layout.FPercentNeedleLength * (FScaleRadius - 4) * 0.01;
  TPoint Tip = PointAt(a, Rho);
  double Tx = Tip.X, Ty = Tip.Y;
  double Alpha = Layout.FHeadAngle / 57.29577951308232;
  double HS = Layout.FHeadSize, ML = Layout.FHeadMidLeng;
  double hx = std::sin(a) * Layout.FThickness / 2, hy = std::cos(a) * Layout.FThickness / 2;
  double ca = std::cos(a), sa = std::sin(a);
  const double Points[7][2] = {
      {Tx - std::cos(a + Alpha / 2) * HS, Ty + std::sin(a + Alpha / 2) * HS},
      {Tx, Ty},
      {Tx - std::cos(a - Alpha / 2) * HS, Ty + std::sin(a - Alpha / 2) * HS},
      {Tx - hx - ca * ML, Ty - hy + sa * ML},
      {FCenterX - hx, FCenterY - hy},
      {FCenterX + hx, FCenterY + hy},
      {Tx + hx - ca * ML, Ty + hy + sa * ML},
  };
  auto Shape = [&](int DX, int DY) {
    std::vector<TPoint> P;
    for (const auto& Pt : Points) P.push_back({RoundInt(Pt[0]) + DX, RoundInt(Pt[1]) + DY});
    return P;
  };
  C->GetBrush()->SetStyle(bsSolid);
  if (Layout.FShadowDx != 0 || Layout.FShadowDy != 0) {
    SetPenAndBrush(C, Layout.FShadowColor);
    C->Polygon(Shape(-Layout.FShadowDx, -Layout.FShadowDy));
  }
  C->GetPen()->SetColor(Layout.FColorOutline);
  C->GetBrush()->SetColor(Layout.FColorBody);
  C->Polygon(Shape(0, 0));
}

void TMeter::PaintRims(TCanvas* C) {
  int W = GetWidth(), H = GetHeight();
  SetPenAndBrush(C, FColorCover);
  C->Rectangle(0, 0, FRimSide - 1, H);
  C->Rectangle(0, 0, W, FRimTop);
  C->Rectangle(W - FRimSide, 0, W, H);
  C->Rectangle(0, H - FRimBottom, W, H);
}

void TMeter::PaintBevel(TCanvas* C) {
  int W = GetWidth(), H = GetHeight();
  int Left = FRimSide - 1, Right = W - FRimSide, Top = FRimTop, Bottom = H - FRimBottom;
  Line(C, BevelLight, {{Left, Bottom}, {Right, Bottom}, {Right, Top}});
  Line(C, BevelShadow, {{Right, Top}, {Left, Top}, {Left, Bottom}});
}

void TMeter::PaintAnchor(TCanvas* C) {
  int W = GetWidth(), H = GetHeight();
  int cx = FCenterX, cy = FCenterY, AS = FAnchorSize;
  if (!FAnchorCovered) {
    PaintBevel(C);
    return;
  }
  if (!FAnchorImage.empty()) {
    PaintBevel(C);
    int x = cx - FAnchorCover->GetWidth() / 2, y = cy - FAnchorCover->GetHeight() / 2;
    C->SetCopyMode(cmSrcAnd);
    C->Draw(x, y, FAnchorMask.get());
    C->SetCopyMode(cmSrcPaint);
    C->Draw(x, y, FAnchorCover.get());
    C->SetCopyMode(cmSrcCopy);
    return;
  }
  if (FMeterLayout == mlCirc270 || FMeterLayout == mlCirc300 || FMeterLayout == mlCirc360) {
    C->Ellipse(cx - AS, cy - AS, cx + AS, cy + AS);
    PaintBevel(C);
    C->GetPen()->SetColor(BevelLight);
    C->Arc(cx - AS, cy - AS, cx + AS, cy + AS, cx + AS, cy - AS, cx - AS, cy + AS);
    C->GetPen()->SetColor(BevelShadow);
    C->Arc(cx - AS, cy - AS, cx + AS, cy + AS, cx - AS, cy + AS, cx + AS, cy - AS);
    return;
  }
  // A half disc on a stem that runs down into the bottom rim; the bevel goes round both.
  int Left = FRimSide - 1, Right = W - FRimSide, Top = FRimTop, Bottom = H - FRimBottom;
  C->Pie(cx - AS, cy - AS, cx + AS, cy + AS, W, cy, 0, cy);
  C->Rectangle(cx - AS, Bottom, cx + AS, cy);
  Line(C, BevelShadow, {{cx + AS - 1, cy}, {cx + AS - 1, Bottom}});
  Line(C, BevelLight, {{cx + AS - 1, Bottom}, {Right, Bottom}, {Right, Top}});
  Line(C, BevelShadow, {{Right, Top}, {Left, Top}, {Left, Bottom}});
  Line(C, BevelLight, {{Left, Bottom}, {cx - AS, Bottom}, {cx - AS, cy - 1}});
  C->GetPen()->SetColor(BevelLight);
  C->Arc(cx - AS, cy - AS, cx + AS, cy + AS, W, cy, 0, cy);
  C->GetPen()->SetColor(BevelShadow);
  C->Arc(cx - AS, cy - AS, cx + AS, cy + AS, cx + AS, cy, cx + AS, cy - AS);
}

void TMeter::PaintLamp(TCanvas* C, int X0, bool Active) {
  int Y0 = FRimTop + 8, X1 = X0 + 10, Y1 = Y0 + 10;
  C->GetPen()->SetColor(clBlack);
  C->GetBrush()->SetColor(Active ? FLimWatchActColor : FLimWatchPsvColor);
  C->Rectangle(X0, Y1, X1, Y0);
  Line(C, 0xFFFFFF, {{X0 + 1, Y1 - 1}, {X1 - 1, Y1 - 1}, {X1 - 1, Y0}});
  Line(C, 0xC0C0C0, {{X0 + 2, Y1 - 2}, {X1 - 2, Y1 - 2}, {X1 - 2, Y0 + 1}});
  Line(C, 0x808080, {{X0 + 1, Y1 - 2}, {X0 + 1, Y0 + 1}, {X1 - 1, Y0 + 1}});
}

void TMeter::PaintFrame(TCanvas* C) {
  int W = GetWidth(), H = GetHeight();
  TColor Light = FFrameLight, Shadow = FFrameShadow;
  switch (FFrameStyle) {
    case frsNone:
      break;
    case frsLine:
      Line(C, FColorBakG, {{0, H - 1}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
      break;
    case frsSunken:
    case frsRaised: {
      TColor First = FFrameStyle == frsRaised ? Light : Shadow;
      TColor Second = FFrameStyle == frsRaised ? Shadow : Light;
      Line(C, First, {{0, H - 1}, {0, 0}, {W - 1, 0}});
      Line(C, Second, {{W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
      break;
    }
    case frsEmbossed:
    case frsEngraved: {
      TColor Outer = FFrameStyle == frsEmbossed ? Light : Shadow;
      TColor Inner = FFrameStyle == frsEmbossed ? Shadow : Light;
      Line(C, Outer, {{0, 0}, {W - 2, 0}, {W - 2, H - 2}, {0, H - 2}, {0, 0}});
      Line(C, Inner, {{1, H - 3}, {1, 1}, {W - 2, 1}});
      Line(C, Inner, {{1, H - 1}, {W - 1, H - 1}, {W - 1, 0}});
      break;
    }
  }
}

}  // namespace nuv
