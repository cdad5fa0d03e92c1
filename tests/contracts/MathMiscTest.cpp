#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "contracts/math/NUV_Math.h"

namespace nuv {
namespace {

TEST(SphereGreatCircleDist, KnownDistances) {
  const double R = 6378000;
  // A quarter of the equator, a pole to the equator, antipodes.
  EXPECT_NEAR(SphereGreatCircleDist(R, 0, 0, 0, 90), R * std::numbers::pi / 2, 1e-6);
  EXPECT_NEAR(SphereGreatCircleDist(1, 90, 0, 0, 123), std::numbers::pi / 2, 1e-12);
  EXPECT_NEAR(SphereGreatCircleDist(1, 10, 20, -10, -160), std::numbers::pi, 1e-12);
  // One metre along a meridian stays accurate (a bare arc cosine loses it).
  const double deg = 1 / (R * std::numbers::pi / 180);
  EXPECT_NEAR(SphereGreatCircleDist(R, 47.0, 16.0, 47.0 + deg, 16.0), 1.0, 1e-6);
  EXPECT_EQ(SphereGreatCircleDist(R, 47, 16, 47, 16), 0);
}

TEST(DegreeToStr, Formats) {
  struct Case {
    double Value;
    TDegreeFormat Format;
    int Prec;
    const char* Expected;
  } cases[] = {
      {47.5, dfDegMin, 0, "47\xB0" "30'"},
      {47.5, dfDegMinSec, 0, "47\xB0" "30'00\""},
      {16.2625, dfDegMinSec, 1, "16\xB0" "15'45.0\""},
      {9.99999, dfDegMin, 0, "10\xB0" "00'"},  // rounded as a whole: no 60
      {-3.25, dfDegMin, 1, "-3\xB0" "15.0'"},
      {-0.0001, dfDegMin, 0, "0\xB0" "00'"},
      {47.5, dfDecimal, 2, "47.50\xB0"},
      {0.05, dfDegMinSec, 0, "0\xB0" "03'00\""},
      {NAN, dfDegMin, 0, "NAN"},
      {-INFINITY, dfDegMin, 0, "-INF"},
      {1e300, dfDegMin, 0, nullptr},
  };
  for (const Case& c : cases) {
    const std::string s = DegreeToStr(c.Value, c.Format, c.Prec);
    if (c.Expected)
      EXPECT_EQ(s, c.Expected) << c.Value;
    else
      EXPECT_EQ(s.back(), '\xB0');  // too large for minutes: decimal form
  }
}

TEST(HexAndScanners, HexGivesExactlyTheDigits) {
  EXPECT_EQ(Hex(0xFF0000, 8), "00FF0000");
  EXPECT_EQ(Hex(0x12345, 2), "45");
  EXPECT_EQ(Hex(-1, 4), "FFFF");
  EXPECT_EQ(Hex(10, 0), "");
  EXPECT_EQ(Hex(10, 40), "000000000000000A");
}

TEST(HexAndScanners, ScanHexAndDecimal) {
  int pos = 1;
  EXPECT_EQ(ScanHex("00ff0000", pos), 0xFF0000);
  EXPECT_EQ(pos, 9);
  pos = 3;
  EXPECT_EQ(ScanHex("x=1aZ", pos), 0x1A);
  EXPECT_EQ(pos, 5);
  pos = 1;
  EXPECT_EQ(ScanHex("zz", pos), 0);
  EXPECT_EQ(pos, 1);
  pos = 3;
  EXPECT_EQ(ScanDecimal("H)12O", pos), 12);
  EXPECT_EQ(pos, 5);
  pos = 2;
  EXPECT_EQ(ScanDecimal("H)O", pos), 0);
  EXPECT_EQ(pos, 2);
  pos = 7;
  EXPECT_EQ(ScanDecimal("12", pos), 0);
  EXPECT_EQ(pos, 7);
  pos = 0;
  EXPECT_EQ(ScanDecimal("99999999999999999999999x", pos), INT64_MAX);
  EXPECT_EQ(pos, 24);
  pos = 1;
  EXPECT_EQ(ScanDecimal("-5", pos), 0);  // no sign
}

TEST(SmallHelpers, ExChangeAndBRandom) {
  double a = 1, b = 2;
  ExChange(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
  int i = 3, j = 4;
  ExChange(i, j);
  EXPECT_EQ(i, 4);
  RandSeed = 7;
  int hits = 0;
  for (int k = 0; k < 2000; ++k) hits += BRandom(0.25);
  EXPECT_NEAR(hits, 500, 80);
  for (int k = 0; k < 100; ++k) {
    EXPECT_FALSE(BRandom(0));
    EXPECT_TRUE(BRandom(1));
  }
}

TEST(ArrayRoutines, SortArray) {
  std::vector<double> a = {3, 1, NAN, 2, 9};
  SortArray(a, 3, true);  // only a[0..3]
  EXPECT_EQ(a[0], 1);
  EXPECT_EQ(a[1], 2);
  EXPECT_EQ(a[2], 3);
  EXPECT_TRUE(std::isnan(a[3]));
  EXPECT_EQ(a[4], 9);
  std::vector<int> b = {1, 5, 3};
  SortArray(b, 10, false);
  EXPECT_EQ(b, (std::vector<int>{5, 3, 1}));
  SortArray(b, -1, true);
  EXPECT_EQ(b, (std::vector<int>{5, 3, 1}));
}

TEST(ArrayRoutines, SortIntoArrayKeepsTheSmallestEntries) {
  // The six-nearest list of the structure display: ascending, starting full of a big value.
  std::vector<int> dist(6, 2000000000), atom(6, 0);
  const int d[] = {50, 20, 50, 70, 10, 90, 60, 80, 5};
  std::vector<int> results;
  for (int i = 0; i < 9; ++i) {
    const int k = SortIntoArray(dist, 5, d[i], true, true);
    results.push_back(k);
    if (k >= 0) InsertIntoArray(atom, 5, i + 1, k);
  }
  EXPECT_EQ(dist, (std::vector<int>{5, 10, 20, 50, 50, 60}));
  EXPECT_EQ(atom, (std::vector<int>{9, 5, 2, 1, 3, 7}));  // the equal 50 of atom 3 after atom 1
  EXPECT_EQ(results, (std::vector<int>{0, 0, 2, 3, 0, 5, 4, -1, 0}));
}

TEST(ArrayRoutines, SortIntoArrayVariants) {
  std::vector<double> a = {1, 3, 5};
  EXPECT_EQ(SortIntoArray(a, 2, 3, true, false), -1);  // no duplicates wanted
  EXPECT_EQ(a, (std::vector<double>{1, 3, 5}));
  EXPECT_EQ(SortIntoArray(a, 2, 6, true, true), -1);  // after the last: does not belong
  EXPECT_EQ(SortIntoArray(a, 2, 3, true, true), 2);
  EXPECT_EQ(a, (std::vector<double>{1, 3, 3}));
  std::vector<double> desc = {9, 5, 1};
  EXPECT_EQ(SortIntoArray(desc, 2, 5, false, true), 2);
  EXPECT_EQ(desc, (std::vector<double>{9, 5, 5}));
  EXPECT_EQ(SortIntoArray(desc, 2, NAN, false, true), -1);
  std::vector<int> empty;
  EXPECT_EQ(SortIntoArray(empty, 5, 1, true, true), -1);
}

TEST(ArrayRoutines, InsertIntoArray) {
  std::vector<int> a = {1, 2, 3, 4};
  InsertIntoArray(a, 3, 9, 1);
  EXPECT_EQ(a, (std::vector<int>{1, 9, 2, 3}));
  InsertIntoArray(a, 2, 7, 2);  // only a[0..2] take part
  EXPECT_EQ(a, (std::vector<int>{1, 9, 7, 3}));
  InsertIntoArray(a, 3, 5, 4);
  InsertIntoArray(a, 3, 5, -1);
  EXPECT_EQ(a, (std::vector<int>{1, 9, 7, 3}));
}

}  // namespace
}  // namespace nuv
