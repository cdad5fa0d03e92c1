// TCurveFit: straight-line and parabola least-squares fits and pair statistics.
#pragma once

#include <vector>

#include "platform/NUV_Classes.h"

namespace nuv {

// Collects (X, Y) pairs and fits them. Degenerate data never divide by zero: every
// output is defined, and finite for data whose squares are finite; the fits report
// false when the data do not determine the curve.
class TCurveFit : public TComponent {
 public:
  explicit TCurveFit(TComponent* AOwner = nullptr);

  // Forgets all pairs.
  void Init();
  // Adds a pair; pairs with a non-finite X or Y are ignored.
  void EnterStatValue(double X, double Y);
  int GetNumData() const { return static_cast<int>(FX.size()); }

  // Y = Slope * X + Intercept by least squares. With no pairs: 0 and 0. When all X are
  // equal (also a single pair): Slope 0 and Intercept the mean of Y. False in those
  // cases, true otherwise.
  bool CalcLinFit(double& Slope, double& Intercept) const;
  // Y = C0 + C1 * X + C2 * X^2 by least squares (orthogonal factorisation, not normal
  // equations). When fewer than 3 distinct X values exist the result is the straight-
  // line fit with C2 = 0 (see CalcLinFit) and false; otherwise true.
  bool CalcParabolFit(double& C0, double& C1, double& C2) const;
  // Statistics of the pairs, in this order: the number of pairs; the means of X and Y;
  // the sample standard deviations of X and Y (n - 1 in the denominator; 0 with fewer
  // than 2 pairs); the correlation coefficient of X and Y (0 when either deviation is
  // 0); the root mean square of the differences Y - X (0 with no pairs). That last
  // output measures how well computed values (Y) reproduce measured ones (X).
  void CalcStatistics(int& NumData, double& MeanX, double& MeanY, double& StdDevX,
                      double& StdDevY, double& CorrCoeff, double& RmsDiff) const;

 private:
  std::vector<double> FX, FY;
};

}  // namespace nuv
