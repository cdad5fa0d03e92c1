#include <gtest/gtest.h>

#include <cmath>

#include "contracts/math/NUV_Math.h"

namespace nuv {
namespace {

TEST(CurveFit, LinearFitOfAKnownLine) {
  TCurveFit f;
  for (int i = 0; i < 10; ++i) f.EnterStatValue(i, 2.5 * i - 4);
  double k = 0, d = 0;
  EXPECT_TRUE(f.CalcLinFit(k, d));
  EXPECT_NEAR(k, 2.5, 1e-12);
  EXPECT_NEAR(d, -4, 1e-12);
}

TEST(CurveFit, LinearFitOfDegenerateData) {
  TCurveFit f;
  double k = 9, d = 9;
  EXPECT_FALSE(f.CalcLinFit(k, d));  // no pairs
  EXPECT_EQ(k, 0);
  EXPECT_EQ(d, 0);
  f.EnterStatValue(3, 7);
  EXPECT_FALSE(f.CalcLinFit(k, d));  // one pair
  EXPECT_EQ(k, 0);
  EXPECT_EQ(d, 7);
  f.EnterStatValue(3, 9);  // equal X: zero variance
  EXPECT_FALSE(f.CalcLinFit(k, d));
  EXPECT_EQ(k, 0);
  EXPECT_EQ(d, 8);
  f.EnterStatValue(NAN, 1);  // ignored
  EXPECT_EQ(f.GetNumData(), 2);
  f.Init();
  EXPECT_EQ(f.GetNumData(), 0);
}

TEST(CurveFit, ParabolaThroughPixelSizedCoordinates) {
  // A graticule curve y = 120 + 0.25 x - 0.0004 x^2 over pixel columns 0..4000.
  TCurveFit f;
  for (int x = 0; x <= 4000; x += 500) f.EnterStatValue(x, 120 + 0.25 * x - 0.0004 * x * x);
  double c0, c1, c2;
  EXPECT_TRUE(f.CalcParabolFit(c0, c1, c2));
  EXPECT_NEAR(c0, 120, 1e-8);
  EXPECT_NEAR(c1, 0.25, 1e-11);
  EXPECT_NEAR(c2, -0.0004, 1e-14);
}

TEST(CurveFit, ParabolaLeastSquaresOfScatteredPoints) {
  // Exact least-squares solution of x = 0..4, y = 1, 0, 3, 11, 20:
  // c0 = 27/35, c1 = -157/70, c2 = 25/14.
  TCurveFit f;
  const double y[] = {1, 0, 3, 11, 20};
  for (int x = 0; x < 5; ++x) f.EnterStatValue(x, y[x]);
  double c0, c1, c2;
  EXPECT_TRUE(f.CalcParabolFit(c0, c1, c2));
  EXPECT_NEAR(c0, 27.0 / 35, 1e-12);
  EXPECT_NEAR(c1, -157.0 / 70, 1e-12);
  EXPECT_NEAR(c2, 25.0 / 14, 1e-12);
}

TEST(CurveFit, ParabolaOfTooFewDistinctPointsFallsBackToALine) {
  TCurveFit f;
  double c0 = 9, c1 = 9, c2 = 9;
  EXPECT_FALSE(f.CalcParabolFit(c0, c1, c2));
  EXPECT_EQ(c0, 0);
  EXPECT_EQ(c1, 0);
  EXPECT_EQ(c2, 0);
  f.EnterStatValue(1, 1);
  f.EnterStatValue(2, 3);
  f.EnterStatValue(2, 3);  // a repeated point is not a third point
  EXPECT_FALSE(f.CalcParabolFit(c0, c1, c2));
  EXPECT_NEAR(c1, 2, 1e-12);
  EXPECT_NEAR(c0, -1, 1e-12);
  EXPECT_EQ(c2, 0);
}

TEST(CurveFit, Statistics) {
  TCurveFit f;
  int n;
  double mx, my, sx, sy, r, rms;
  f.CalcStatistics(n, mx, my, sx, sy, r, rms);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(rms, 0);
  EXPECT_EQ(r, 0);
  // measured X, computed Y: differences 1, -1, 1, -1.
  const double xs[] = {10, 20, 30, 40}, ys[] = {11, 19, 31, 39};
  for (int i = 0; i < 4; ++i) f.EnterStatValue(xs[i], ys[i]);
  f.CalcStatistics(n, mx, my, sx, sy, r, rms);
  EXPECT_EQ(n, 4);
  EXPECT_DOUBLE_EQ(mx, 25);
  EXPECT_DOUBLE_EQ(my, 25);
  EXPECT_NEAR(sx, std::sqrt(500.0 / 3), 1e-12);
  EXPECT_NEAR(sy, std::sqrt(464.0 / 3), 1e-12);
  EXPECT_NEAR(r, 480 / std::sqrt(500.0 * 464), 1e-12);
  EXPECT_DOUBLE_EQ(rms, 1);
  f.Init();
  f.EnterStatValue(5, 5);
  f.EnterStatValue(5, 6);
  f.CalcStatistics(n, mx, my, sx, sy, r, rms);
  EXPECT_EQ(sx, 0);
  EXPECT_EQ(r, 0);  // zero variance in X
  EXPECT_NEAR(rms, std::sqrt(0.5), 1e-12);
}

// Design rows (1, x, y, x^2, xy, y^2) of a grid of points.
void Biquadratic(TMatrix& X, TVector& Y, int N, const double* A) {
  X.Resize(6, N * N);
  Y.SetVecSize(N * N);
  int row = 0;
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) {
      const double x = 100.0 * i + 7, y = 80.0 * j + 3;
      const double terms[] = {1, x, y, x * x, x * y, y * y};
      ++row;
      double v = 0;
      for (int k = 0; k < 6; ++k) {
        X.SetVal(k + 1, row, terms[k]);
        v += A[k] * terms[k];
      }
      Y.SetVal(row, v);
    }
}

TEST(MultiLinReg, RecoversKnownCoefficients) {
  const double a[] = {47.2, -1.5e-3, 2.25e-3, 3e-8, -4e-8, 5e-8};
  TMatrix x;
  TVector y, coef;
  Biquadratic(x, y, 4, a);
  ASSERT_TRUE(MultiLinReg(x, y, coef));
  ASSERT_EQ(coef.GetVecSize(), 6);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(coef.GetVal(k + 1), a[k], 1e-9 * std::fabs(a[k]) + 1e-14) << k;
}

TEST(MultiLinReg, LeastSquaresOfAnOverdeterminedLine) {
  // y = c1 + c2 x through (0, 1), (1, 3), (2, 2), (3, 5): c1 = 1.1, c2 = 1.1.
  TMatrix x;
  TVector y, coef;
  x.Resize(2, 4);
  y.SetVecSize(4);
  const double ys[] = {1, 3, 2, 5};
  for (int r = 1; r <= 4; ++r) {
    x.SetVal(1, r, 1);
    x.SetVal(2, r, r - 1);
    y.SetVal(r, ys[r - 1]);
  }
  ASSERT_TRUE(MultiLinReg(x, y, coef));
  EXPECT_NEAR(coef.GetVal(1), 1.1, 1e-12);
  EXPECT_NEAR(coef.GetVal(2), 1.1, 1e-12);
}

TEST(MultiLinReg, RefusesUnderdeterminedAndRankDeficientDesigns) {
  const double a[] = {1, 2, 3, 4, 5, 6};
  TMatrix x;
  TVector y, coef;
  Biquadratic(x, y, 2, a);  // 4 rows, 6 columns
  EXPECT_FALSE(MultiLinReg(x, y, coef));
  EXPECT_EQ(coef.GetVecSize(), 6);
  EXPECT_EQ(coef.GetVal(1), 0);

  // All points on one line x = y: the columns x and y are equal.
  x.Resize(3, 5);
  y.SetVecSize(5);
  for (int r = 1; r <= 5; ++r) {
    x.SetVal(1, r, 1);
    x.SetVal(2, r, r * 10);
    x.SetVal(3, r, r * 10);
    y.SetVal(r, r);
  }
  EXPECT_FALSE(MultiLinReg(x, y, coef));
  x.SetVal(3, 2, 25);  // now independent
  EXPECT_TRUE(MultiLinReg(x, y, coef));
  y.SetVecSize(4);  // wrong length
  EXPECT_FALSE(MultiLinReg(x, y, coef));
  TMatrix empty;
  EXPECT_FALSE(MultiLinReg(empty, y, coef));
}

}  // namespace
}  // namespace nuv
