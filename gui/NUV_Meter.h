// The analog panel meter: a needle (and an optional second needle) turning over a circular
// scale, with coloured scale bands, two limit lamps, a caption, an anchor cover over the
// pivot and a frame.
//
// Geometry. The scale runs clockwise from MeterMinValue on the left to MeterMaxValue on the
// right, symmetric about the vertical through the centre (cx, cy). In the mathematical
// sense (counter-clockwise from the positive x axis, y up) value v points in the direction
// theta(v) = A/2 + 90 - A * (v - Min) / (Max - Min) degrees, A being the scale angle of the
// layout; the point at distance rho in direction theta is
// (Round(cx + cos(theta) * rho), Round(cy - sin(theta) * rho)) in client pixels.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contracts/base/NUV_Base.h"
#include "platform/NUV_Controls.h"
#include "platform/NUV_Graphics.h"

namespace nuv {

// Raised by the meter for values it cannot show (not-a-number, infinite range ends).
NUV_EXCEPTION(ENUVMeterError, ENUVError)

// The scale layouts: the number is the scale angle in degrees. 90, 120 and 180 put the
// pivot near the bottom (half-round anchor on a stem); 270, 300 and 360 put it in the dial
// (round anchor).
enum TMeterLayout : uint8_t { mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360 };

// The look of a needle. Every setter stores a changed value and calls Changed, which fires
// OnChange (the owning meter repaints there).
class TNeedleLayout : public TPersistent {
 public:
  TNeedleLayout() = default;
  // Copies every setting except OnChange from another needle layout, then calls Changed
  // once.
  void Assign(TPersistent* Source) override;
  void Changed();

  int GetHeadSize() const { return FHeadSize; }
  void SetHeadSize(int Value);
  int GetHeadAngle() const { return FHeadAngle; }
  void SetHeadAngle(int Value);  // full opening angle in degrees, clamped to 0..180
  int GetHeadMidLeng() const { return FHeadMidLeng; }
  void SetHeadMidLeng(int Value);
  int GetThickness() const { return FThickness; }
  void SetThickness(int Value);
  TColor GetColorBody() const { return FColorBody; }
  void SetColorBody(TColor Value);
  TColor GetColorOutline() const { return FColorOutline; }
  void SetColorOutline(TColor Value);
  int GetPercentNeedleLength() const { return FPercentNeedleLength; }
  void SetPercentNeedleLength(int Value);  // percent of (R - 4), clamped to 0..100
  int GetShadowDx() const { return FShadowDx; }
  void SetShadowDx(int Value);
  int GetShadowDy() const { return FShadowDy; }
  void SetShadowDy(int Value);
  TColor GetShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);

  TNotifyEvent OnChange;

 private:
  friend class TMeter;
  int FHeadSize = 20;
  int FHeadAngle = 30;
  int FHeadMidLeng = 20;
  int FThickness = 0;
  TColor FColorBody = 0xC0C0C0;
  TColor FColorOutline = clBlack;
  int FPercentNeedleLength = 100;
  int FShadowDx = 0;
  int FShadowDy = 0;
  TColor FShadowColor = 0x808080;
  bool FVisible = true;
};

// The scale's tick spacing: the first major tick, the (signed) major step and the number of
// minor divisions per major step. A step of 0 means a scale without extent (one tick).
struct TMeterTickSpacing {
  double First = 0;
  double Step = 0;
  int MinorDivisions = 1;
};

// The largest of 1, 2 or 5 times a power of ten that does not exceed |Hi - Lo| / NrTicks,
// and the first multiple of it not below Lo by more than a thousandth of a step.
TMeterTickSpacing MeterTickSpacing(double Lo, double Hi, int NrTicks);
// Major tick values: First + i * Step up to Hi (a thousandth of a step of tolerance); the
// first is always there.
std::vector<double> MeterMajorTicks(const TMeterTickSpacing& Spacing, double Hi);
// Minor tick values between Lo and Hi, leaving out those that fall on a major tick.
std::vector<double> MeterMinorTicks(const TMeterTickSpacing& Spacing, double Lo, double Hi);

using TMouseMoveInMeterEvent =
    std::function<void(TObject* Sender, bool WithinRange, TShiftState Shift, double MeterValue)>;
using TmtBeforeDrawScaleLabelEvent = std::function<void(
    TObject* Sender, TCanvas* Canvas, std::string& CurrentTickLabel, int ChartX, int ChartY)>;
using TBeforeDrawNeedleEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, bool& NeedleDrawn)>;
using TMeterRenderedEvent = std::function<void(TObject* Sender, TCanvas* Canvas)>;

class TMeter : public TGraphicControl {
 public:
  explicit TMeter(TComponent* AOwner);
  ~TMeter() override;

  // ------------------------------------------------------------ range and values
  // MeterMinValue and MeterMaxValue raise ENUVMeterError for values that are not finite
  // (and for the one extreme where no larger maximum, or smaller minimum, exists).
  // Value, ValueSec and the thresholds raise it for not-a-number.
  double GetMeterMinValue() const { return FMeterMinValue; }
  void SetMeterMinValue(double Value);
  double GetMeterMaxValue() const { return FMeterMaxValue; }
  void SetMeterMaxValue(double Value);
  double GetValue() const { return FValue; }
  void SetValue(double Value);
  double GetValueSec() const { return FValueSec; }
  void SetValueSec(double Value);
  double GetThresholdLow() const { return FThresholdLow; }
  void SetThresholdLow(double Value);
  double GetThresholdHigh() const { return FThresholdHigh; }
  void SetThresholdHigh(double Value);
  // The limit lamps' flags.
  bool GetOverflow() const { return FOverflow; }
  bool GetUnderflow() const { return FUnderflow; }

  // ------------------------------------------------------------ scale
  TMeterLayout GetMeterLayout() const { return FMeterLayout; }
  void SetMeterLayout(TMeterLayout Value);
  int GetMeterNrTicks() const { return FMeterNrTicks; }
  void SetMeterNrTicks(int Value);  // clamped to 2..21
  int GetMeterDecPlaces() const { return FMeterDecPlaces; }
  void SetMeterDecPlaces(int Value);  // clamped to 0..4
  bool GetMeterShortTicks() const { return FMeterShortTicks; }
  void SetMeterShortTicks(bool Value);
  bool GetMeterScaleLine() const { return FMeterScaleLine; }
  void SetMeterScaleLine(bool Value);
  bool GetScaleVisible() const { return FScaleVisible; }
  void SetScaleVisible(bool Value);
  bool GetScaleBkVisible() const { return FScaleBkVisible; }
  void SetScaleBkVisible(bool Value);
  double GetScaleBkWidth() const { return FScaleBkWidth; }
  void SetScaleBkWidth(double Value);  // percent of R, clamped to 0..100

  // ------------------------------------------------------------ colours and frame
  TColor GetColorScale() const { return FColorScale; }
  void SetColorScale(TColor Value);
  TColor GetColorSclBkLow() const { return FColorSclBkLow; }
  void SetColorSclBkLow(TColor Value);
  TColor GetColorSclBkNorm() const { return FColorSclBkNorm; }
  void SetColorSclBkNorm(TColor Value);
  TColor GetColorSclBkHigh() const { return FColorSclBkHigh; }
  void SetColorSclBkHigh(TColor Value);
  TColor GetColorBakG() const { return FColorBakG; }
  void SetColorBakG(TColor Value);
  TColor GetColorCover() const { return FColorCover; }
  void SetColorCover(TColor Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  // The frame colours that ColorScheme sets.
  TColor GetFrameShadowColor() const { return FFrameShadow; }
  TColor GetFrameLightColor() const { return FFrameLight; }
  int GetRimTop() const { return FRimTop; }
  void SetRimTop(int Value);
  int GetRimBottom() const { return FRimBottom; }
  void SetRimBottom(int Value);
  int GetRimSide() const { return FRimSide; }
  void SetRimSide(int Value);

  // ------------------------------------------------------------ anchor, images, caption
  bool GetAnchorCovered() const { return FAnchorCovered; }
  void SetAnchorCovered(bool Value);
  int GetAnchorSize() const { return FAnchorSize; }
  void SetAnchorSize(int Value);
  // A BMP file whose black pixels are transparent, drawn centred on the pivot. A missing
  // file clears the name; a file that does not load keeps the previous image and name.
  const std::string& GetAnchorImage() const { return FAnchorImage; }
  void SetAnchorImage(const std::string& Value);
  // A BMP file drawn as background by BkgndFillMode. A missing file clears the name; a
  // file that does not load raises the load error and keeps the previous image and name.
  const std::string& GetBackGroundImg() const { return FBackGroundImg; }
  void SetBackGroundImg(const std::string& Value);
  TBkgFill GetBkgndFillMode() const { return FBkgndFillMode; }
  void SetBkgndFillMode(TBkgFill Value);
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  TFont* GetFontCaption() const { return FFontCaption.get(); }
  void SetFontCaption(TFont* Value);  // copies the font

  // ------------------------------------------------------------ limit lamps
  bool GetLimWatchHighOn() const { return FLimWatchHighOn; }
  void SetLimWatchHighOn(bool Value);
  bool GetLimWatchLowOn() const { return FLimWatchLowOn; }
  void SetLimWatchLowOn(bool Value);
  TColor GetLimWatchActColor() const { return FLimWatchActColor; }
  void SetLimWatchActColor(TColor Value);
  TColor GetLimWatchPsvColor() const { return FLimWatchPsvColor; }
  void SetLimWatchPsvColor(TColor Value);

  // ------------------------------------------------------------ needles
  // The meter keeps its own layout objects; setting copies the given settings.
  TNeedleLayout* GetNeedleLayout() const { return FNeedleLayout.get(); }
  void SetNeedleLayout(TNeedleLayout* Value);
  TNeedleLayout* GetNeedleLayoutSec() const { return FNeedleLayoutSec.get(); }
  void SetNeedleLayoutSec(TNeedleLayout* Value);

  // ------------------------------------------------------------ geometry
  // Computes the scale angle, radius and centre from the size, the rims and the layout.
  void CalcMeterLayoutParams();
  int GetScaleAngle() const { return FScaleAngle; }
  double GetScaleRadius() const { return FScaleRadius; }
  int GetCenterX() const { return FCenterX; }
  int GetCenterY() const { return FCenterY; }
  // 180 - A/2 + A * (value - Min) / (Max - Min), in degrees.
  double CalcNeedleAngle(double AValue) const;
  // The pixel at AValue on the circle of radius R * LengthPercent / 100.
  void ConvertToPixelCoords(double AValue, double LengthPercent, int& X, int& Y) const;
  // The value shown at pixel (X, Y); false (and 0) outside the scale's angle.
  bool ConvertPixelToValue(int X, int Y, double& AValue) const;
  // Label decimals: Places, or for -2 a count chosen from |A - B|.
  int CalcM(int Places, double A, double B) const;

  void DoOverFlowEvent();
  void DoUnderFlowEvent();
  void DoNormalRangeEvent();
  void MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue);
  // The needle layouts' change handler: repaint.
  void StyleChanged(TObject* Sender);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Paint() override;

  TNotifyEvent OnOverFlow, OnUnderFlow, OnNormalRange;
  TMouseMoveInMeterEvent OnMouseMoveInMeter;
  TmtBeforeDrawScaleLabelEvent OnBeforeDrawScaleLabel;
  TBeforeDrawNeedleEvent OnBeforeDrawNeedle;
  TMeterRenderedEvent OnMeterRendered;

 protected:
  void Loaded() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  bool IsLoading() const { return GetComponentState().contains(csLoading); }
  [[noreturn]] void Error(const std::string& Text) const;
  void CheckNumber(double Value, const char* Property) const;
  // (v - Min) / (Max - Min), 0 for a range without extent.
  double ValueFraction(double AValue) const;
  // Direction theta(v) in radians.
  double Theta(double AValue) const;
  TPoint PointAt(double ThetaRad, double Rho) const;
  // Three-way test of a needle value against the thresholds: sets a flag, fires an event.
  void TestRange(double AValue);
  void LoadBackground(const std::string& FileName);
  bool LoadAnchorImage(const std::string& FileName);

  // Paint steps, each drawing on the off-screen bitmap.
  void PaintBackground(TCanvas* C);
  void PaintScaleBands(TCanvas* C);
  void PaintScale(TCanvas* C);
  void PaintCaption(TCanvas* C);
  void PaintNeedle(TCanvas* C, const TNeedleLayout& Layout, double AValue);
  void PaintRims(TCanvas* C);
  void PaintBevel(TCanvas* C);
  void PaintAnchor(TCanvas* C);
  void PaintLamp(TCanvas* C, int X0, bool Active);
  void PaintFrame(TCanvas* C);

  // Layout parameters.
  int FScaleAngle = 90;
  double FScaleRadius = 0;
  int FCenterX = 0, FCenterY = 0;
  // Range state.
  bool FOverflow = false, FUnderflow = false;

  double FMeterMinValue = 0, FMeterMaxValue = 1;
  double FValue = 0, FValueSec = 0;
  double FThresholdLow = 0, FThresholdHigh = 1;
  TMeterLayout FMeterLayout = mlCirc90;
  int FMeterNrTicks = 3;
  int FMeterDecPlaces = 1;
  bool FMeterShortTicks = true;
  bool FMeterScaleLine = true;
  bool FScaleVisible = true;
  bool FScaleBkVisible = false;
  double FScaleBkWidth = 0;
  TColor FColorScale = 0x800000;
  TColor FColorSclBkLow = 0x00FF00;
  TColor FColorSclBkNorm = 0x0080FF;
  TColor FColorSclBkHigh = 0x0000FF;
  TColor FColorBakG = 0xFFFFFF;
  TColor FColorCover = clBtnFace;
  TColorScheme FColorScheme = csmGray;
  TColor FFrameShadow = 0x808080, FFrameLight = 0xFFFFFF;
  TFrameStyle FFrameStyle = frsRaised;
  int FRimTop = 0, FRimBottom = 0, FRimSide = 0;
  bool FAnchorCovered = true;
  int FAnchorSize = 24;
  std::string FAnchorImage;
  std::string FBackGroundImg;
  TBkgFill FBkgndFillMode = bkfTopLeft;
  std::string FCaption;
  std::unique_ptr<TFont> FFontCaption;
  bool FLimWatchHighOn = true, FLimWatchLowOn = true;
  TColor FLimWatchActColor = 0x0000FF;
  TColor FLimWatchPsvColor = 0x808080;
  std::unique_ptr<TNeedleLayout> FNeedleLayout;
  std::unique_ptr<TNeedleLayout> FNeedleLayoutSec;
  std::unique_ptr<TBitmap> FBackGround;
  std::unique_ptr<TBitmap> FAnchorCover;
  std::unique_ptr<TBitmap> FAnchorMask;
};

}  // namespace nuv
