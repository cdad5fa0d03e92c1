#include "contracts/math/NUV_CurveFit.h"

#include <algorithm>
#include <cmath>

#include "contracts/math/NUV_Math.h"

namespace nuv {

namespace {

double Mean(const std::vector<double>& V) {
  double s = 0;
  for (double v : V) s += v;
  return V.empty() ? 0 : s / static_cast<double>(V.size());
}

int CountDistinct(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return static_cast<int>(std::unique(V.begin(), V.end()) - V.begin());
}

}  // namespace

TCurveFit::TCurveFit(TComponent* AOwner) : TComponent(AOwner) {}

void TCurveFit::Init() {
  FX.clear();
  FY.clear();
}

void TCurveFit::EnterStatValue(double X, double Y) {
  if (!std::isfinite(X) || !std::isfinite(Y)) return;
  FX.push_back(X);
  FY.push_back(Y);
}

bool TCurveFit::CalcLinFit(double& Slope, double& Intercept) const {
  Slope = 0;
  Intercept = Mean(FY);
  const double mx = Mean(FX), my = Intercept;
  double sxx = 0, sxy = 0;
  for (size_t i = 0; i < FX.size(); ++i) {
    sxx += (FX[i] - mx) * (FX[i] - mx);
    sxy += (FX[i] - mx) * (FY[i] - my);
  }
  if (!(sxx > 0)) return false;
  const double slope = sxy / sxx, intercept = my - slope * mx;
  if (!std::isfinite(slope) || !std::isfinite(intercept)) return false;
  Slope = slope;
  Intercept = intercept;
  return true;
}

bool TCurveFit::CalcParabolFit(double& C0, double& C1, double& C2) const {
  C2 = 0;
  if (CountDistinct(FX) >= 3) {
    // Fit in t = (x - m) / s, which keeps the columns 1, t, t^2 of similar size.
    const double m = Mean(FX);
    double s = 0;
    for (double x : FX) s = std::max(s, std::fabs(x - m));
    const int n = GetNumData();
    TMatrix design;
    TVector y, coef;
    design.Resize(3, n);
    y.SetVecSize(n);
    for (int i = 1; i <= n; ++i) {
      const double t = (FX[static_cast<size_t>(i) - 1] - m) / s;
      design.SetVal(1, i, 1);
      design.SetVal(2, i, t);
      design.SetVal(3, i, t * t);
      y.SetVal(i, FY[static_cast<size_t>(i) - 1]);
    }
    if (MultiLinReg(design, y, coef)) {
      const double a = coef.GetVal(1), b = coef.GetVal(2), c = coef.GetVal(3);
      const double c2 = c / (s * s), c1 = b / s - 2 * c * m / (s * s);
      const double c0 = a - b * m / s + c * m * m / (s * s);
      if (std::isfinite(c0) && std::isfinite(c1) && std::isfinite(c2)) {
        C0 = c0;
        C1 = c1;
        C2 = c2;
        return true;
      }
    }
  }
  CalcLinFit(C1, C0);
  return false;
}

void TCurveFit::CalcStatistics(int& NumData, double& MeanX, double& MeanY, double& StdDevX,
                               double& StdDevY, double& CorrCoeff, double& RmsDiff) const {
  NumData = GetNumData();
  MeanX = Mean(FX);
  MeanY = Mean(FY);
  double sxx = 0, syy = 0, sxy = 0, sdd = 0;
  for (size_t i = 0; i < FX.size(); ++i) {
    const double dx = FX[i] - MeanX, dy = FY[i] - MeanY, d = FY[i] - FX[i];
    sxx += dx * dx;
    syy += dy * dy;
    sxy += dx * dy;
    sdd += d * d;
  }
  const double n = NumData;
  StdDevX = NumData >= 2 ? std::sqrt(sxx / (n - 1)) : 0;
  StdDevY = NumData >= 2 ? std::sqrt(syy / (n - 1)) : 0;
  CorrCoeff = (sxx > 0 && syy > 0) ? std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0) : 0;
  if (!std::isfinite(CorrCoeff)) CorrCoeff = 0;
  RmsDiff = NumData >= 1 ? std::sqrt(sdd / n) : 0;
}

}  // namespace nuv
