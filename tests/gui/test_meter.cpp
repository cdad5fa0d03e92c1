// The meter's model: layout geometry, conversions, tick spacing, setters and events.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "gui/NUV_Meter.h"

namespace nuv {
namespace {

// A meter on a host surface, so that its setters really paint.
struct MeterHost : ::testing::Test {
  MeterHost() {
    Host.SetBounds(0, 0, 400, 300);
    Meter = new TMeter(nullptr);
    Meter->SetName("Meter1");
    Meter->SetParent(&Host);
    Meter->SetBounds(0, 0, 297, 209);
    Meter->OnMeterRendered = [this](TObject*, TCanvas*) { Log.push_back("paint"); };
    Meter->OnOverFlow = [this](TObject*) { Log.push_back("over"); };
    Meter->OnUnderFlow = [this](TObject*) { Log.push_back("under"); };
    Meter->OnNormalRange = [this](TObject*) { Log.push_back("normal"); };
  }
  TCustomControl Host{nullptr};
  TMeter* Meter;  // the host deletes it
  std::vector<std::string> Log;
};

// ---------------------------------------------------------------- geometry

TEST(MeterGeometry, ConstructionComputesTheLayoutWithZeroRims) {
  TMeter M(nullptr);
  EXPECT_EQ(M.GetWidth(), 297);
  EXPECT_EQ(M.GetHeight(), 209);
  EXPECT_EQ(M.GetScaleAngle(), 90);
  EXPECT_DOUBLE_EQ(M.GetScaleRadius(), 193);
  EXPECT_EQ(M.GetCenterX(), 148);
  EXPECT_EQ(M.GetCenterY(), 201);
  EXPECT_EQ(M.GetRimTop(), 8);
  EXPECT_EQ(M.GetRimBottom(), 10);
  EXPECT_EQ(M.GetRimSide(), 10);
}

struct LayoutCase {
  TMeterLayout Layout;
  int A;
  double R;
  int cx, cy;
};

TEST(MeterGeometry, LayoutParametersOfEveryLayout) {
  const LayoutCase Cases[] = {
      {mlCirc90, 90, 175, 148, 191},
      {mlCirc120, 120, (148.5 - 10 - 8) * 1.1547, 148, 191},
      {mlCirc180, 180, 130, 148, 191},
      {mlCirc270, 270, 175 / 1.7071, 148, 119},
      {mlCirc300, 300, 175 / 1.866, 148, 110},
      {mlCirc360, 360, 87.5, 148, 104},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(int(c.Layout));
    TMeter M(nullptr);
    M.SetMeterLayout(c.Layout);
    M.SetBounds(0, 0, 297, 209);
    EXPECT_EQ(M.GetScaleAngle(), c.A);
    EXPECT_NEAR(M.GetScaleRadius(), c.R, 1e-9);
    EXPECT_EQ(M.GetCenterX(), c.cx);
    EXPECT_EQ(M.GetCenterY(), c.cy);
  }
  TMeter M(nullptr);
  M.SetMeterLayout(mlCirc120);
  M.SetBounds(0, 0, 297, 209);
  EXPECT_NEAR(M.GetScaleRadius(), 150.68835, 5e-6);
  M.SetMeterLayout(mlCirc300);
  EXPECT_NEAR(M.GetScaleRadius(), 93.78349, 5e-6);
}

TEST(MeterGeometry, EveryLayoutKeepsTheScaleInsideTheRims) {
  for (TMeterLayout L : {mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360}) {
    for (auto [W, H] : {std::pair{297, 209}, {200, 300}, {500, 200}}) {
      SCOPED_TRACE(std::to_string(L) + " " + std::to_string(W) + "x" + std::to_string(H));
      TMeter M(nullptr);
      M.SetMeterLayout(L);
      M.SetBounds(0, 0, W, H);
      if (L == mlCirc90 && W < H) continue;  // the 90 degree scale follows the height only
      for (double v = 0; v <= 1.0001; v += 0.05) {
        int X, Y;
        // The bands reach 4 pixels beyond the scale line.
        M.ConvertToPixelCoords(v, 100 * (M.GetScaleRadius() + 4) / M.GetScaleRadius(), X, Y);
        EXPECT_GE(X, M.GetRimSide());
        EXPECT_LT(X, W - M.GetRimSide());
        EXPECT_GE(Y, M.GetRimTop());
        EXPECT_LT(Y, H - M.GetRimBottom());
      }
    }
  }
}

TEST(MeterGeometry, SetBoundsRecomputesRimsDoNot) {
  TMeter M(nullptr);
  M.SetBounds(0, 0, 297, 209);
  M.SetRimTop(30);
  EXPECT_DOUBLE_EQ(M.GetScaleRadius(), 175);
  M.SetBounds(5, 5, 297, 209);
  EXPECT_DOUBLE_EQ(M.GetScaleRadius(), 153);
}

// ---------------------------------------------------------------- conversions

TEST(MeterConversions, AnglesAndPixels) {
  TMeter M(nullptr);
  M.SetBounds(0, 0, 297, 209);  // A 90, R 175, centre (148, 191)
  struct {
    double v, NeedleAngle, Theta;
  } Cases[] = {{0, 135, 135}, {0.5, 180, 90}, {1, 225, 45}, {0.25, 157.5, 112.5}};
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.v);
    EXPECT_DOUBLE_EQ(M.CalcNeedleAngle(c.v), c.NeedleAngle);
    // theta(v) = -90 - CalcNeedleAngle(v) modulo 360
    EXPECT_NEAR(std::fmod(-90 - c.NeedleAngle + 720, 360), c.Theta, 1e-12);
    int X, Y;
    M.ConvertToPixelCoords(c.v, 100, X, Y);
    double t = c.Theta / 57.29577951308232;
    EXPECT_EQ(X, RoundInt(148 + std::cos(t) * 175));
    EXPECT_EQ(Y, RoundInt(191 - std::sin(t) * 175));
  }
  int X, Y;
  M.ConvertToPixelCoords(0.5, 50, X, Y);
  EXPECT_EQ(X, 148);
  EXPECT_EQ(Y, RoundInt(191 - 87.5));  // 103.5 rounds to the even 104
  EXPECT_EQ(Y, 104);
}

TEST(MeterConversions, PixelToValue) {
  TMeter M(nullptr);
  M.SetBounds(0, 0, 297, 209);
  struct {
    int X, Y;
    bool Within;
    double v;
  } Cases[] = {
      {148, 50, true, 0.5},     // straight above the centre
      {148, 250, false, 0},     // straight below
      {48, 91, true, 0},        // 45 degrees to the upper left: the minimum
      {248, 91, true, 1},       // upper right: the maximum
      {20, 191, false, 0},      // level with the centre, outside the 90 degree scale
      {148 + 1000, 191 - 1000, true, 1},  // the distance does not matter
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
    double v = -1;
    EXPECT_EQ(M.ConvertPixelToValue(c.X, c.Y, v), c.Within);
    EXPECT_NEAR(v, c.v, 1e-12);
  }
  M.SetMeterLayout(mlCirc360);
  double v = -1;
  EXPECT_TRUE(M.ConvertPixelToValue(M.GetCenterX(), M.GetCenterY() + 10, v));
  EXPECT_NEAR(v, 0, 1e-12);
  EXPECT_TRUE(M.ConvertPixelToValue(M.GetCenterX() - 10, M.GetCenterY(), v));
  EXPECT_NEAR(v, 0.25, 1e-12);
}

// ---------------------------------------------------------------- tick spacing

TEST(MeterTicks, SpacingTable) {
  struct {
    double Lo, Hi;
    int n;
    double First, Step;
    int k;
  } Cases[] = {
      {0, 1, 3, 0, 0.2, 4},      {0, 100, 3, 0, 20, 4},   {-0.7, 0.7, 3, -0.6, 0.2, 4},
      {0, 10, 3, 0, 2, 4},       {0, 10, 2, 0, 5, 5},     {0, 10, 10, 0, 1, 5},
      {0, 1000, 2, 0, 500, 5},   {3, 4, 21, 3, 0.02, 4},  {1, 0, 3, 1, -0.2, 4},
      {-5, 5, 5, -4, 2, 4},      {0.001, 0.002, 3, 0.001, 0.0002, 4},
      {0, 1, 5, 0, 0.2, 4},      {0, 1, 2, 0, 0.5, 5},    {0, 1, 10, 0, 0.1, 5},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(std::to_string(c.Lo) + ".." + std::to_string(c.Hi) + "/" + std::to_string(c.n));
    TMeterTickSpacing S = MeterTickSpacing(c.Lo, c.Hi, c.n);
    EXPECT_NEAR(S.Step, c.Step, 1e-12 * std::fabs(c.Step));
    EXPECT_NEAR(S.First, c.First, 1e-12 * std::fabs(c.Step));
    EXPECT_EQ(S.MinorDivisions, c.k);
  }
}

TEST(MeterTicks, MajorAndMinorTicksOfZeroToTen) {
  TMeterTickSpacing S = MeterTickSpacing(0, 10, 3);
  std::vector<double> Major = MeterMajorTicks(S, 10);
  ASSERT_EQ(Major.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(Major[i], 2 * i);
  std::vector<double> Minor = MeterMinorTicks(S, 0, 10);
  ASSERT_EQ(Minor.size(), 15u);  // three between each pair of major ticks
  std::vector<double> Expected;
  for (int i = 1; i < 20; ++i)
    if (i % 4 != 0) Expected.push_back(0.5 * i);
  for (size_t i = 0; i < Minor.size(); ++i) EXPECT_NEAR(Minor[i], Expected[i], 1e-12);
}

TEST(MeterTicks, MinorTicksStartAtTheLowEndEvenWithRoundingErrors) {
  // -0.8 + 2 * 0.05 lies a rounding error below -0.7.
  TMeterTickSpacing S = MeterTickSpacing(-0.7, 0.7, 3);
  std::vector<double> Minor = MeterMinorTicks(S, -0.7, 0.7);
  ASSERT_FALSE(Minor.empty());
  EXPECT_NEAR(Minor.front(), -0.7, 1e-12);
  EXPECT_NEAR(Minor.back(), 0.7, 1e-12);
  std::vector<double> Major = MeterMajorTicks(S, 0.7);
  EXPECT_EQ(Major.size(), 7u);
  EXPECT_EQ(Major[3], 0.0);  // exactly zero: the label reads "0.0", not "-0.0"
}

TEST(MeterTicks, DegenerateRangesStayBounded) {
  TMeterTickSpacing Flat = MeterTickSpacing(5, 5, 3);
  EXPECT_EQ(Flat.Step, 0);
  EXPECT_EQ(Flat.First, 5);
  EXPECT_EQ(MeterMajorTicks(Flat, 5), std::vector<double>{5});
  EXPECT_TRUE(MeterMinorTicks(Flat, 5, 5).empty());

  const double Huge = 1e300;
  struct {
    double Lo, Hi;
  } Cases[] = {{-DBL_MAX, DBL_MAX},
               {Huge, std::nextafter(Huge, DBL_MAX)},
               {0, std::numeric_limits<double>::denorm_min()},
               {1e15, 1e15 + 0.125},
               {-DBL_MAX, std::nextafter(-DBL_MAX, 0)}};
  for (const auto& c : Cases) {
    SCOPED_TRACE(std::to_string(c.Lo));
    for (int n : {2, 21}) {
      TMeterTickSpacing S = MeterTickSpacing(c.Lo, c.Hi, n);
      EXPECT_TRUE(std::isfinite(S.First));
      EXPECT_TRUE(std::isfinite(S.Step));
      EXPECT_LE(MeterMajorTicks(S, c.Hi).size(), 1000u);
      EXPECT_LE(MeterMinorTicks(S, c.Lo, c.Hi).size(), 1000u);
    }
  }
  // A full-range scale still has a sensible step.
  TMeterTickSpacing Full = MeterTickSpacing(-DBL_MAX, DBL_MAX, 3);
  EXPECT_DOUBLE_EQ(Full.Step, 1e308);
  EXPECT_EQ(MeterMajorTicks(Full, DBL_MAX), (std::vector<double>{-1e308, 0, 1e308}));
  std::vector<double> FullMinor = MeterMinorTicks(Full, -DBL_MAX, DBL_MAX);
  EXPECT_GE(FullMinor.size(), 10u);
  for (double v : FullMinor) EXPECT_TRUE(std::isfinite(v));
}

TEST(MeterTicks, LabelDecimals) {
  TMeter M(nullptr);
  struct {
    int Places;
    double a, b;
    int m;
  } Cases[] = {{-2, 0, 10, 1},  {-2, 0, 1, 2},       {-2, 0, 0.1, 3},  {-2, 0, 50, 0},
               {-2, 0, 100, 0}, {-2, 0, 1000000, -1}, {-2, 1, 1, -1},   {-2, 0, 0.0001, -1},
               {3, 0, 10, 3},   {0, 5, 6, 0}};
  for (const auto& c : Cases) EXPECT_EQ(M.CalcM(c.Places, c.a, c.b), c.m) << c.b;
}

// ---------------------------------------------------------------- setters and events

TEST_F(MeterHost, ClampingSetters) {
  Meter->SetMeterNrTicks(1);
  EXPECT_EQ(Meter->GetMeterNrTicks(), 2);
  Meter->SetMeterNrTicks(30);
  EXPECT_EQ(Meter->GetMeterNrTicks(), 21);
  Meter->SetMeterDecPlaces(-2);
  EXPECT_EQ(Meter->GetMeterDecPlaces(), 0);
  Meter->SetMeterDecPlaces(9);
  EXPECT_EQ(Meter->GetMeterDecPlaces(), 4);
  Meter->SetScaleBkWidth(150);
  EXPECT_EQ(Meter->GetScaleBkWidth(), 100);
  Meter->SetScaleBkWidth(-1);
  EXPECT_EQ(Meter->GetScaleBkWidth(), 0);
  TNeedleLayout* N = Meter->GetNeedleLayout();
  N->SetHeadAngle(200);
  EXPECT_EQ(N->GetHeadAngle(), 180);
  N->SetHeadAngle(-5);
  EXPECT_EQ(N->GetHeadAngle(), 0);
  N->SetPercentNeedleLength(150);
  EXPECT_EQ(N->GetPercentNeedleLength(), 100);
  N->SetPercentNeedleLength(-1);
  EXPECT_EQ(N->GetPercentNeedleLength(), 0);
}

TEST_F(MeterHost, MaximumBelowMinimumPullsEverythingDown) {
  Meter->SetThresholdLow(0.2);
  Meter->SetThresholdHigh(0.8);
  Meter->SetValue(0.5);
  Log.clear();
  Meter->SetMeterMaxValue(-5);
  EXPECT_EQ(Meter->GetMeterMinValue(), -6);
  EXPECT_EQ(Meter->GetMeterMaxValue(), -5);
  EXPECT_EQ(Meter->GetValue(), -5);
  EXPECT_EQ(Meter->GetThresholdLow(), -5);
  EXPECT_EQ(Meter->GetThresholdHigh(), -5);
  EXPECT_EQ(Log, std::vector<std::string>{"paint"});  // no range events

  Meter->SetMeterMinValue(10);
  EXPECT_EQ(Meter->GetMeterMaxValue(), 11);
  EXPECT_EQ(Meter->GetValue(), 10);
  EXPECT_EQ(Meter->GetThresholdLow(), 10);
  EXPECT_EQ(Meter->GetThresholdHigh(), 10);
}

TEST_F(MeterHost, RangeEndsStayFiniteAndApart) {
  for (double Bad : {std::nan(""), double(INFINITY), -double(INFINITY)}) {
    EXPECT_THROW(Meter->SetMeterMinValue(Bad), ENUVMeterError);
    EXPECT_THROW(Meter->SetMeterMaxValue(Bad), ENUVMeterError);
  }
  try {
    Meter->SetMeterMinValue(INFINITY);
    FAIL();
  } catch (const ENUVError& E) {
    EXPECT_EQ(E.Message(), "Component \"Meter1\": MeterMinValue is not a finite number");
  }
  EXPECT_EQ(Meter->GetMeterMinValue(), 0);
  EXPECT_EQ(Meter->GetMeterMaxValue(), 1);

  // Where x + 1 equals x the next double above is taken.
  Meter->SetMeterMinValue(1e300);
  EXPECT_GT(Meter->GetMeterMaxValue(), 1e300);
  EXPECT_EQ(Meter->GetMeterMaxValue(), std::nextafter(1e300, DBL_MAX));
  Meter->SetMeterMaxValue(-1e300);
  EXPECT_LT(Meter->GetMeterMinValue(), -1e300);
  EXPECT_EQ(Meter->GetMeterMinValue(), std::nextafter(-1e300, -DBL_MAX));
  // No larger double exists above the largest one.
  EXPECT_THROW(Meter->SetMeterMinValue(DBL_MAX), ENUVMeterError);
  EXPECT_THROW(Meter->SetMeterMaxValue(-DBL_MAX), ENUVMeterError);
  EXPECT_LT(Meter->GetMeterMinValue(), Meter->GetMeterMaxValue());
  // The whole range of doubles still paints.
  Meter->SetMeterMinValue(-DBL_MAX);
  Meter->SetMeterMaxValue(DBL_MAX);
  Meter->SetValue(0);
  EXPECT_EQ(Meter->GetValue(), 0);

  EXPECT_THROW(Meter->SetValue(std::nan("")), ENUVMeterError);
  EXPECT_THROW(Meter->SetValueSec(std::nan("")), ENUVMeterError);
  EXPECT_THROW(Meter->SetThresholdLow(std::nan("")), ENUVMeterError);
  EXPECT_THROW(Meter->SetThresholdHigh(std::nan("")), ENUVMeterError);
}

TEST_F(MeterHost, ValueEventsFireBeforeThePaint) {
  Meter->SetThresholdLow(0.2);
  Meter->SetThresholdHigh(0.8);
  struct {
    double v;
    const char* Event;
    bool Over, Under;
  } Cases[] = {{0.8, "over", true, false},   {0.5, "normal", false, false},
               {0.2, "under", false, true},  {0.9, "over", true, false},
               {-3, "under", false, true},   {7, "over", true, false}};
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.v);
    Log.clear();
    Meter->SetValue(c.v);
    EXPECT_EQ(Log, (std::vector<std::string>{c.Event, "paint"}));
    EXPECT_EQ(Meter->GetOverflow(), c.Over);
    EXPECT_EQ(Meter->GetUnderflow(), c.Under);
  }
  EXPECT_EQ(Meter->GetValue(), 1);  // clamped
  // The same value again: no event, no paint.
  Log.clear();
  Meter->SetValue(1);
  EXPECT_TRUE(Log.empty());
  // A hidden primary needle still moves and paints, without events or lamps.
  Meter->GetNeedleLayout()->SetVisible(false);
  Log.clear();
  Meter->SetValue(0.9);
  EXPECT_EQ(Log, std::vector<std::string>{"paint"});
  EXPECT_FALSE(Meter->GetOverflow());
}

TEST_F(MeterHost, SecondNeedle) {
  Meter->SetThresholdLow(0.2);
  Meter->SetThresholdHigh(0.8);
  Meter->SetValue(0.9);
  ASSERT_TRUE(Meter->GetOverflow());
  // Hidden: the value is kept (clamped), the primary's lamps stay, nothing fires or paints.
  Log.clear();
  Meter->SetValueSec(0.1);
  EXPECT_EQ(Meter->GetValueSec(), 0.1);
  EXPECT_TRUE(Meter->GetOverflow());
  EXPECT_TRUE(Log.empty());
  Meter->SetValueSec(5);
  EXPECT_EQ(Meter->GetValueSec(), 1);
  // Visible: the same three-way test on the second value.
  Meter->GetNeedleLayoutSec()->SetVisible(true);
  Log.clear();
  Meter->SetValueSec(0.1);
  EXPECT_EQ(Log, (std::vector<std::string>{"under", "paint"}));
  EXPECT_FALSE(Meter->GetOverflow());
  EXPECT_TRUE(Meter->GetUnderflow());
  Log.clear();
  Meter->SetValueSec(0.5);
  EXPECT_EQ(Log, (std::vector<std::string>{"normal", "paint"}));
  EXPECT_FALSE(Meter->GetUnderflow());
}

TEST_F(MeterHost, ThresholdSetters) {
  Meter->SetValue(0.5);
  Log.clear();
  Meter->SetThresholdLow(0.5);  // a value equal to the low threshold is underflow
  EXPECT_EQ(Log, (std::vector<std::string>{"under", "paint"}));
  EXPECT_TRUE(Meter->GetUnderflow());
  Log.clear();
  Meter->SetThresholdLow(0.3);
  EXPECT_EQ(Log, std::vector<std::string>{"paint"});
  EXPECT_FALSE(Meter->GetUnderflow());
  Log.clear();
  Meter->SetThresholdHigh(0.5);
  EXPECT_EQ(Log, (std::vector<std::string>{"over", "paint"}));
  EXPECT_TRUE(Meter->GetOverflow());
  Meter->SetThresholdHigh(7);
  EXPECT_EQ(Meter->GetThresholdHigh(), 1);
  EXPECT_FALSE(Meter->GetOverflow());
  Meter->SetThresholdLow(-7);
  EXPECT_EQ(Meter->GetThresholdLow(), 0);
}

TEST_F(MeterHost, ThresholdThatMovesTheOtherUpdatesBothLamps) {
  Meter->SetThresholdLow(0.2);
  Meter->SetThresholdHigh(0.8);
  Meter->SetValue(0.85);
  ASSERT_TRUE(Meter->GetOverflow());
  // The high threshold follows up to 0.9, above the value: the overflow lamp goes out.
  Log.clear();
  Meter->SetThresholdLow(0.9);
  EXPECT_EQ(Meter->GetThresholdHigh(), 0.9);
  EXPECT_TRUE(Meter->GetUnderflow());
  EXPECT_FALSE(Meter->GetOverflow());
  EXPECT_EQ(Log, (std::vector<std::string>{"under", "paint"}));
  // The low threshold follows down to 0.1, below the value: the underflow lamp goes out.
  Log.clear();
  Meter->SetThresholdHigh(0.1);
  EXPECT_EQ(Meter->GetThresholdLow(), 0.1);
  EXPECT_TRUE(Meter->GetOverflow());
  EXPECT_FALSE(Meter->GetUnderflow());
  EXPECT_EQ(Log, (std::vector<std::string>{"over", "paint"}));
}

TEST_F(MeterHost, SettersThatRepaintWithoutComparing) {
  Meter->SetCaption("");
  Meter->SetScaleVisible(true);
  Meter->SetScaleBkVisible(false);
  Meter->SetScaleBkWidth(0);
  Meter->SetBkgndFillMode(bkfTopLeft);
  Meter->SetFontCaption(Meter->GetFontCaption());
  EXPECT_EQ(Log.size(), 6u);
  Log.clear();
  Meter->SetMeterShortTicks(true);
  Meter->SetColorScale(Meter->GetColorScale());
  Meter->SetMeterLayout(mlCirc90);
  Meter->SetRimSide(10);
  Meter->GetNeedleLayout()->SetHeadSize(20);
  EXPECT_TRUE(Log.empty());
  Meter->GetNeedleLayout()->SetHeadSize(25);
  EXPECT_EQ(Log.size(), 1u);
}

TEST_F(MeterHost, ColorSchemeSetsTheFrameColours) {
  EXPECT_EQ(Meter->GetFrameShadowColor(), 0x808080u);
  EXPECT_EQ(Meter->GetFrameLightColor(), 0xFFFFFFu);
  Meter->SetColorScheme(csmSystem);
  EXPECT_EQ(Meter->GetFrameShadowColor(), clBtnShadow);
  EXPECT_EQ(Meter->GetFrameLightColor(), clBtnHighlight);
}

TEST_F(MeterHost, NeedleLayoutIsCopiedIntoTheMeterOwnObject) {
  TNeedleLayout Given;
  Given.SetHeadSize(7);
  Given.SetColorBody(0x123456);
  Given.SetShadowDx(2);
  Given.SetVisible(false);
  TNotifyEvent Foreign = [](TObject*) {};
  Given.OnChange = Foreign;
  TNeedleLayout* Own = Meter->GetNeedleLayout();
  Log.clear();
  Meter->SetNeedleLayout(&Given);
  EXPECT_EQ(Meter->GetNeedleLayout(), Own);
  EXPECT_EQ(Own->GetHeadSize(), 7);
  EXPECT_EQ(Own->GetColorBody(), 0x123456u);
  EXPECT_EQ(Own->GetShadowDx(), 2);
  EXPECT_FALSE(Own->GetVisible());
  EXPECT_EQ(Log, std::vector<std::string>{"paint"});  // one repaint
  // The meter's handler stays: a later change still repaints.
  Own->SetHeadSize(9);
  EXPECT_EQ(Log.size(), 2u);

  TNeedleLayout Defaults;
  EXPECT_TRUE(Defaults.GetVisible());
  EXPECT_FALSE(Meter->GetNeedleLayoutSec()->GetVisible());
  EXPECT_EQ(Defaults.GetHeadSize(), 20);
  EXPECT_EQ(Defaults.GetHeadAngle(), 30);
  EXPECT_EQ(Defaults.GetHeadMidLeng(), 20);
  EXPECT_EQ(Defaults.GetColorBody(), 0xC0C0C0u);
  EXPECT_EQ(Defaults.GetShadowColor(), 0x808080u);
}

TEST_F(MeterHost, LoadingStoresOnlyAndLoadedClampsTheValue) {
  Meter->BeginLoading();
  Meter->SetMeterMinValue(5);
  Meter->SetMeterMaxValue(8);
  Meter->SetValue(20);
  Meter->SetValueSec(-3);
  Meter->SetThresholdLow(100);
  EXPECT_EQ(Meter->GetValue(), 20);
  EXPECT_TRUE(Log.empty());
  Meter->EndLoading();
  EXPECT_EQ(Meter->GetMeterMinValue(), 5);
  EXPECT_EQ(Meter->GetMeterMaxValue(), 8);
  EXPECT_EQ(Meter->GetValue(), 8);
  EXPECT_EQ(Meter->GetValueSec(), -3);       // not clamped after loading
  EXPECT_EQ(Meter->GetThresholdLow(), 100);  // neither
  EXPECT_EQ(Log, std::vector<std::string>{"paint"});
}

TEST_F(MeterHost, LoadingWithAnEmptyRangeStillPaints) {
  Meter->BeginLoading();
  Meter->SetMeterMinValue(3);
  Meter->SetMeterMaxValue(3);
  Meter->EndLoading();
  EXPECT_EQ(Log, std::vector<std::string>{"paint"});
  EXPECT_DOUBLE_EQ(Meter->CalcNeedleAngle(3), 135);
}

TEST_F(MeterHost, MouseMoveReportsTheValueAfterOnMouseMove) {
  std::vector<std::string> Calls;
  Meter->OnMouseMove = [&](TObject*, TShiftState, int X, int Y) {
    Calls.push_back("move " + std::to_string(X) + "," + std::to_string(Y));
  };
  double Reported = -1;
  bool Within = false;
  TShiftState Shift;
  Meter->OnMouseMoveInMeter = [&](TObject* Sender, bool W, TShiftState S, double v) {
    EXPECT_EQ(Sender, Meter);
    Calls.push_back("meter");
    Within = W;
    Shift = S;
    Reported = v;
  };
  TWMMouse Msg;
  Msg.Msg = WM_MOUSEMOVE;
  Msg.Keys = TShiftState{ssShift};
  Msg.XPos = 148;
  Msg.YPos = 50;
  Meter->MouseMessage(Msg);
  EXPECT_EQ(Calls, (std::vector<std::string>{"move 148,50", "meter"}));
  EXPECT_TRUE(Within);
  EXPECT_TRUE(Shift.contains(ssShift));
  EXPECT_NEAR(Reported, 0.5, 1e-12);
  Msg.YPos = 205;
  Meter->MouseMessage(Msg);
  EXPECT_FALSE(Within);
  EXPECT_EQ(Reported, 0);
}

}  // namespace
}  // namespace nuv
