#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "contracts/math/NUV_Math.h"

namespace nuv {
namespace {

// Points of an ellipse with half-axes 40 and 10, rotated by 30 degrees and moved to
// (500, 300), in the columns x, y, z = 0 (as a 2D structure is handed over).
void EllipseCloud(TMatrix& M, int N) {
  const double phi = std::numbers::pi / 6;
  M.Resize(3, N);
  for (int i = 1; i <= N; ++i) {
    const double t = 2 * std::numbers::pi * i / N;
    const double u = 40 * std::cos(t), v = 10 * std::sin(t);
    M.SetVal(1, i, 500 + u * std::cos(phi) - v * std::sin(phi));
    M.SetVal(2, i, 300 + u * std::sin(phi) + v * std::cos(phi));
    M.SetVal(3, i, 0);
  }
}

TEST(PrincComp, AxesOfARotatedEllipse) {
  TMatrix m;
  EllipseCloud(m, 36);
  ASSERT_TRUE(CalcPrincComp(m, 1, 3, 1, 36, 1));
  // Variances of u = 40 cos t and v = 10 sin t over a full period: 800 and 50.
  EXPECT_NEAR(GetEigenValue(1), 800, 1e-9);
  EXPECT_NEAR(GetEigenValue(2), 50, 1e-9);
  EXPECT_NEAR(GetEigenValue(3), 0, 1e-9);
  // First axis along 30 degrees, second perpendicular, each with its largest component
  // positive; the third is z.
  EXPECT_NEAR(GetEigenResult(1, 1), std::cos(std::numbers::pi / 6), 1e-9);
  EXPECT_NEAR(GetEigenResult(1, 2), 0.5, 1e-9);
  EXPECT_NEAR(GetEigenResult(2, 1), -0.5, 1e-9);
  EXPECT_NEAR(GetEigenResult(2, 2), std::cos(std::numbers::pi / 6), 1e-9);
  EXPECT_NEAR(GetEigenResult(3, 3), 1, 1e-12);
  EXPECT_EQ(GetEigenResult(4, 1), 0);
  EXPECT_EQ(GetEigenResult(1, 0), 0);
  // Mode 1 centred the matrix in place, so the projection is centred at the origin and
  // lies along the axes.
  double sumX = 0;
  for (int i = 1; i <= 36; ++i) sumX += m.GetVal(1, i);
  EXPECT_NEAR(sumX, 0, 1e-9);
  const int i = 36;  // t = 2 pi: u = 40, v = 0
  double p1 = 0, p2 = 0;
  for (int j = 1; j <= 3; ++j) {
    p1 += m.GetVal(j, i) * GetEigenResult(1, j);
    p2 += m.GetVal(j, i) * GetEigenResult(2, j);
  }
  EXPECT_NEAR(p1, 40, 1e-9);
  EXPECT_NEAR(p2, 0, 1e-9);
}

TEST(PrincComp, ModesDecideWhatHappensToTheMatrix) {
  TMatrix m;
  EllipseCloud(m, 36);
  ASSERT_TRUE(CalcPrincComp(m, 1, 2, 1, 36, 0));
  EXPECT_NEAR(m.GetVal(1, 36), 500 + 40 * std::cos(std::numbers::pi / 6), 1e-9);
  EXPECT_NEAR(GetEigenValue(1), 800, 1e-9);
  ASSERT_TRUE(CalcPrincComp(m, 1, 2, 1, 36, 2));
  double ss = 0;
  for (int i = 1; i <= 36; ++i) ss += m.GetVal(2, i) * m.GetVal(2, i);
  EXPECT_NEAR(ss / 36, 1, 1e-12);  // scaled to unit variance
  EXPECT_NEAR(GetEigenValue(1) + GetEigenValue(2), 2, 1e-12);  // trace of a correlation
}

TEST(PrincComp, RefusesBadArgumentsAndClearsTheResults) {
  TMatrix m;
  EllipseCloud(m, 8);
  ASSERT_TRUE(CalcPrincComp(m, 1, 2, 1, 8, 0));
  EXPECT_NE(GetEigenResult(1, 1), 0);
  EXPECT_FALSE(CalcPrincComp(m, 1, 4, 1, 8, 0));
  EXPECT_EQ(GetEigenResult(1, 1), 0);
  EXPECT_FALSE(CalcPrincComp(m, 2, 1, 1, 8, 0));
  EXPECT_FALSE(CalcPrincComp(m, 1, 2, 0, 8, 0));
  EXPECT_FALSE(CalcPrincComp(m, 1, 2, 1, 8, 3));
  m.SetVal(1, 1, NAN);
  EXPECT_FALSE(CalcPrincComp(m, 1, 2, 1, 8, 1));
  // A single point: zero spread, the unit axes.
  EXPECT_TRUE(CalcPrincComp(m, 1, 2, 2, 2, 1));
  EXPECT_EQ(GetEigenValue(1), 0);
  EXPECT_EQ(GetEigenResult(1, 1), 1);
  EXPECT_EQ(GetEigenResult(2, 2), 1);
}

}  // namespace
}  // namespace nuv
