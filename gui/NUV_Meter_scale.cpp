// The meter's geometry: layout parameters, value/angle/pixel conversions, tick spacing and
// label decimals.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "gui/NUV_Meter.h"

namespace nuv {

namespace {

constexpr double DegPerRad = 57.29577951308232;
// More ticks than any scale of 2..21 divisions can have; only a degenerate range reaches it.
constexpr int MaxTickCount = 1000;

}  // namespace

// ---------------------------------------------------------------- tick spacing

TMeterTickSpacing MeterTickSpacing(double Lo, double Hi, int NrTicks) {
  TMeterTickSpacing S;
  S.First = Lo;
  if (Lo == Hi || NrTicks < 1) return S;
  double Sign = Lo < Hi ? 1 : -1;
  // log10 of the span taken apart, so that neither a span beyond the largest double nor
  // one below the smallest one turns into infinity or zero.
  double Span = std::fabs(Hi - Lo);
  double LogSpan = std::isfinite(Span) ? std::log10(Span)
                                       : std::log10(std::fabs(Hi / 2 - Lo / 2)) + std::log10(2.0);
  double t = LogSpan - std::log10(double(NrTicks));
  double f = t - std::trunc(t);
  if (std::fabs(f) < 1e-10 || std::fabs(f) >= 0.9999999999) {
    f = 0;
    t = std::round(t);
  }
  if (t < 0 && f != 0) t -= 1;
  if (f < 0) f += 1;
  // The tolerance lets a quotient of exactly 2 or 5, give or take rounding, take that
  // mantissa: the step is the largest that does not exceed the quotient.
  const double c = 1e-10;
  double Mantissa;
  if (f < std::log10(2.0) - c) {
    Mantissa = 1;
    S.MinorDivisions = 5;
  } else if (f < std::log10(5.0) - c) {
    Mantissa = 2;
    S.MinorDivisions = 4;
  } else {
    Mantissa = 5;
    S.MinorDivisions = 5;
  }
  double Step = Sign * Mantissa * std::pow(10.0, std::trunc(t));
  if (Step == 0 || !std::isfinite(Step)) {
    S.MinorDivisions = 1;
    return S;
  }
  S.Step = Step;
  // The first multiple of the step not below Lo by more than a thousandth of a step.
  S.First = std::ceil(Lo / Step - 0.001) * Step;
  return S;
}

// Ticks are whole multiples of the step (of the minor step), so that a tick at 0 is exactly
// 0 and no sum overflows on the way to the largest double.
std::vector<double> MeterMajorTicks(const TMeterTickSpacing& Spacing, double Hi) {
  std::vector<double> Ticks{Spacing.First};
  if (Spacing.Step == 0) return Ticks;
  double FirstIndex = std::round(Spacing.First / Spacing.Step);
  double Limit = Hi + 0.001 * Spacing.Step;
  if (!std::isfinite(Limit)) Limit = Hi;  // a step near the largest double
  for (int i = 1; i < MaxTickCount; ++i) {
    double v = (FirstIndex + i) * Spacing.Step;
    if (v > Limit) break;
    Ticks.push_back(v);
  }
  return Ticks;
}

std::vector<double> MeterMinorTicks(const TMeterTickSpacing& Spacing, double Lo, double Hi) {
  std::vector<double> Ticks;
  if (Spacing.Step == 0 || Spacing.MinorDivisions < 2) return Ticks;
  int k = Spacing.MinorDivisions;
  double Minor = Spacing.Step / k;
  double Tolerance = 0.001 * std::fabs(Minor);
  double Limit = Hi + 0.001 * Minor;
  if (!std::isfinite(Limit)) Limit = Hi;
  double StartIndex = (std::round(Spacing.First / Spacing.Step) - 1) * k;
  for (int j = 0; j < MaxTickCount; ++j) {
    double v = (StartIndex + j) * Minor;
    if (v > Limit) break;
    // Every k-th position is a major tick; positions a rounding error below Lo still count.
    if (j % k == 0 || !std::isfinite(v) || v < Lo - Tolerance) continue;
    Ticks.push_back(v);
  }
  return Ticks;
}

int TMeter::CalcM(int Places, double A, double B) const {
  if (Places != -2) return Places;
  double d = std::fabs(A - B);
  if (d >= 1000000 || d <= 0.0001) return -1;
  if (d >= 100) return 0;
  return 2 - RoundInt(std::log(d) / 2.5);
}

// ---------------------------------------------------------------- layout parameters

void TMeter::CalcMeterLayoutParams() {
  int W = GetWidth(), H = GetHeight();
  double Vertical = H - FRimBottom - FRimTop - 16;  // room between the rims
  double HalfWidth = (W / 2) - FRimSide - 8;        // room beside the centre
  auto CentreInDial = [&](double Factor) {
    FScaleRadius = std::min(HalfWidth, Vertical / Factor);
    FCenterY = RoundInt(FRimTop + 8 + FScaleRadius);
  };
  FCenterX = W / 2;
  switch (FMeterLayout) {
    case mlCirc90:
      FScaleAngle = 90;
      FScaleRadius = Vertical;
      FCenterY = H - FRimBottom - 8;
      break;
    case mlCirc120:
      FScaleAngle = 120;
      FScaleRadius = std::min(Vertical, (W / 2.0 - FRimSide - 8) * 1.1547);
      FCenterY = H - FRimBottom - 8;
      break;
    case mlCirc180:
      FScaleAngle = 180;
      FScaleRadius = std::min(Vertical, HalfWidth);
      FCenterY = H - FRimBottom - 8;
      break;
    case mlCirc270:
      // The scale ends 45 degrees below the horizontal: 1 + sin 45 of R in height.
      FScaleAngle = 270;
      CentreInDial(1.7071);
      break;
    case mlCirc300:
      FScaleAngle = 300;
      CentreInDial(1.866);
      break;
    case mlCirc360:
      FScaleAngle = 360;
      CentreInDial(2);
      break;
  }
}

// ---------------------------------------------------------------- conversions

double TMeter::ValueFraction(double AValue) const {
  double Span = FMeterMaxValue - FMeterMinValue;
  if (Span == 0) return 0;
  if (std::isfinite(Span)) return (AValue - FMeterMinValue) / Span;
  return (AValue / 2 - FMeterMinValue / 2) / (FMeterMaxValue / 2 - FMeterMinValue / 2);
}

double TMeter::Theta(double AValue) const {
  return (FScaleAngle / 2.0 + 90 - FScaleAngle * ValueFraction(AValue)) / DegPerRad;
}

TPoint TMeter::PointAt(double ThetaRad, double Rho) const {
  return {RoundInt(FCenterX + std::cos(ThetaRad) * Rho),
          RoundInt(FCenterY - std::sin(ThetaRad) * Rho)};
}

double TMeter::CalcNeedleAngle(double AValue) const {
  return 180 - FScaleAngle / 2.0 + FScaleAngle * ValueFraction(AValue);
}

void TMeter::ConvertToPixelCoords(double AValue, double LengthPercent, int& X, int& Y) const {
  TPoint P = PointAt(Theta(AValue), FScaleRadius * LengthPercent / 100);
  X = P.X;
  Y = P.Y;
}

bool TMeter::ConvertPixelToValue(int X, int Y, double& AValue) const {
  const double Pi = std::numbers::pi;
  double dx = double(X) - FCenterX, dy = double(Y) - FCenterY;
  double Angle;
  if (dx == 0) {
    Angle = dy > 0 ? Pi / 2 : 3 * Pi / 2;
  } else {
    Angle = std::atan(dy / dx);
    if (dx < 0) Angle += Pi;
    if (Angle < 0) Angle += 2 * Pi;
  }
  double g = Angle * DegPerRad - 90;
  if (g < 0) g += 360;
  double e = 180 - FScaleAngle / 2.0, d = 180 + FScaleAngle / 2.0;
  if (g < e || g > d) {
    AValue = 0;
    return false;
  }
  double Fraction = (g - e) / (d - e);
  double Span = FMeterMaxValue - FMeterMinValue;
  AValue = std::isfinite(Span) ? FMeterMinValue + Fraction * Span
                               : FMeterMinValue * (1 - Fraction) + FMeterMaxValue * Fraction;
  return true;
}

}  // namespace nuv
