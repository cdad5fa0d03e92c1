// TNeedleLayout and TMeter: construction, published properties, range setters, images and
// events. Geometry and tick spacing are in NUV_Meter_scale.cpp, painting in
// NUV_Meter_paint.cpp.
#include "gui/NUV_Meter.h"

#include <cfloat>
#include <cmath>

namespace nuv {

namespace {

// Clamp that tolerates a reversed range (stored values read while loading may be).
double ClampTo(double X, double Lo, double Hi) {
  if (X < Lo) return Lo;
  if (X > Hi) return Hi;
  return X;
}

int ClampInt(int X, int Lo, int Hi) { return X < Lo ? Lo : (X > Hi ? Hi : X); }

template <typename T>
bool Store(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace

// ---------------------------------------------------------------- TNeedleLayout

void TNeedleLayout::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TNeedleLayout*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  FHeadSize = Src->FHeadSize;
  FHeadAngle = Src->FHeadAngle;
  FHeadMidLeng = Src->FHeadMidLeng;
  FThickness = Src->FThickness;
  FColorBody = Src->FColorBody;
  FColorOutline = Src->FColorOutline;
  FPercentNeedleLength = Src->FPercentNeedleLength;
  FShadowDx = Src->FShadowDx;
  FShadowDy = Src->FShadowDy;
  FShadowColor = Src->FShadowColor;
  FVisible = Src->FVisible;
  Changed();
}

void TNeedleLayout::Changed() {
  if (OnChange) OnChange(this);
}

void TNeedleLayout::SetHeadSize(int Value) {
  if (Store(FHeadSize, Value)) Changed();
}
void TNeedleLayout::SetHeadAngle(int Value) {
  if (Store(FHeadAngle, ClampInt(Value, 0, 180))) Changed();
}
void TNeedleLayout::SetHeadMidLeng(int Value) {
  if (Store(FHeadMidLeng, Value)) Changed();
}
void TNeedleLayout::SetThickness(int Value) {
  if (Store(FThickness, Value)) Changed();
}
void TNeedleLayout::SetColorBody(TColor Value) {
  if (Store(FColorBody, Value)) Changed();
}
void TNeedleLayout::SetColorOutline(TColor Value) {
  if (Store(FColorOutline, Value)) Changed();
}
void TNeedleLayout::SetPercentNeedleLength(int Value) {
  if (Store(FPercentNeedleLength, ClampInt(Value, 0, 100))) Changed();
}
void TNeedleLayout::SetShadowDx(int Value) {
  if (Store(FShadowDx, Value)) Changed();
}
void TNeedleLayout::SetShadowDy(int Value) {
  if (Store(FShadowDy, Value)) Changed();
}
void TNeedleLayout::SetShadowColor(TColor Value) {
  if (Store(FShadowColor, Value)) Changed();
}
void TNeedleLayout::SetVisible(bool Value) {
  if (Store(FVisible, Value)) Changed();
}

// ---------------------------------------------------------------- TMeter: lifecycle

TMeter::TMeter(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.include(csOpaque);
  // The layout is computed while the rims are still 0, as the stored rims arrive later.
  SetBounds(GetLeft(), GetTop(), 297, 209);
  FRimTop = 8;
  FRimBottom = 10;
  FRimSide = 10;
  auto Handler = [this](TObject* Sender) { StyleChanged(Sender); };
  FNeedleLayout = std::make_unique<TNeedleLayout>();
  FNeedleLayout->OnChange = Handler;
  FNeedleLayoutSec = std::make_unique<TNeedleLayout>();
  FNeedleLayoutSec->FVisible = false;
  FNeedleLayoutSec->OnChange = Handler;
  FFontCaption = std::make_unique<TFont>();
  FFontCaption->Assign(GetFont());
  FBackGround = std::make_unique<TBitmap>();
  FBackGround->SetSize(10, 10);
  FAnchorCover = std::make_unique<TBitmap>();
  FAnchorCover->SetSize(10, 10);
  FAnchorMask = std::make_unique<TBitmap>();
  FAnchorMask->SetSize(10, 10);
}

TMeter::~TMeter() = default;

void TMeter::Loaded() {
  TGraphicControl::Loaded();
  if (FValue > FMeterMaxValue)
    FValue = FMeterMaxValue;
  else if (FValue < FMeterMinValue)
    FValue = FMeterMinValue;
  if (!FBackGroundImg.empty()) {
    try {
      LoadBackground(FBackGroundImg);
    } catch (const Exception&) {
      FBackGroundImg.clear();
    }
  }
  if (!FAnchorImage.empty() && !LoadAnchorImage(FAnchorImage)) FAnchorImage.clear();
  Paint();
}

void TMeter::Error(const std::string& Text) const {
  throw ENUVMeterError("Component \"" + GetName() + "\"" + Text);
}

void TMeter::CheckNumber(double Value, const char* Property) const {
  if (std::isnan(Value)) Error(std::string(": ") + Property + " is not a number");
}

// ---------------------------------------------------------------- range and values

void TMeter::SetMeterMinValue(double Value) {
  if (!std::isfinite(Value)) Error(": MeterMinValue is not a finite number");
  if (IsLoading()) {
    FMeterMinValue = Value;
    return;
  }
  if (Value == FMeterMinValue) return;
  if (FMeterMaxValue <= Value) {
    if (Value == DBL_MAX) Error(": MeterMinValue leaves no room for a larger MeterMaxValue");
    double Above = Value + 1;
    if (!(Above > Value)) Above = std::nextafter(Value, DBL_MAX);
    FMeterMaxValue = Above;
  }
  FMeterMinValue = Value;
  if (FValue < Value) FValue = Value;
  if (FThresholdLow < Value) FThresholdLow = Value;
  if (FThresholdHigh < Value) FThresholdHigh = Value;
  Paint();
}

void TMeter::SetMeterMaxValue(double Value) {
  if (!std::isfinite(Value)) Error(": MeterMaxValue is not a finite number");
  if (IsLoading()) {
    FMeterMaxValue = Value;
    return;
  }
  if (Value == FMeterMaxValue) return;
  if (Value <= FMeterMinValue) {
    if (Value == -DBL_MAX) Error(": MeterMaxValue leaves no room for a smaller MeterMinValue");
    double Below = Value - 1;
    if (!(Below < Value)) Below = std::nextafter(Value, -DBL_MAX);
    FMeterMinValue = Below;
  }
  FMeterMaxValue = Value;
  if (FValue > Value) FValue = Value;
  if (FThresholdLow > Value) FThresholdLow = Value;
  if (FThresholdHigh > Value) FThresholdHigh = Value;
  Paint();
}

void TMeter::TestRange(double AValue) {
  if (AValue >= FThresholdHigh) {
    FOverflow = true;
    DoOverFlowEvent();
  } else if (AValue > FThresholdLow) {
    DoNormalRangeEvent();
  } else {
    FUnderflow = true;
    DoUnderFlowEvent();
  }
}

void TMeter::SetValue(double Value) {
  CheckNumber(Value, "Value");
  if (IsLoading()) {
    FValue = Value;
    return;
  }
  if (Value == FValue) return;
  FValue = ClampTo(Value, FMeterMinValue, FMeterMaxValue);
  FOverflow = false;
  FUnderflow = false;
  if (FNeedleLayout->GetVisible()) TestRange(FValue);
  Paint();
}

void TMeter::SetValueSec(double Value) {
  CheckNumber(Value, "ValueSec");
  if (IsLoading()) {
    FValueSec = Value;
    return;
  }
  if (Value == FValueSec) return;
  FValueSec = ClampTo(Value, FMeterMinValue, FMeterMaxValue);
  // A hidden second needle leaves the lamps to the primary needle.
  if (!FNeedleLayoutSec->GetVisible()) return;
  FOverflow = false;
  FUnderflow = false;
  TestRange(FValueSec);
  Paint();
}

void TMeter::SetThresholdLow(double Value) {
  CheckNumber(Value, "ThresholdLow");
  if (IsLoading()) {
    FThresholdLow = Value;
    return;
  }
  if (Value == FThresholdLow) return;
  FThresholdLow = ClampTo(Value, FMeterMinValue, FMeterMaxValue);
  if (FThresholdLow > FThresholdHigh) {
    FThresholdHigh = FThresholdLow;
    FOverflow = FValue >= FThresholdHigh;
  }
  FUnderflow = FValue <= FThresholdLow;
  if (FUnderflow) DoUnderFlowEvent();
  Paint();
}

void TMeter::SetThresholdHigh(double Value) {
  CheckNumber(Value, "ThresholdHigh");
  if (IsLoading()) {
    FThresholdHigh = Value;
    return;
  }
  if (Value == FThresholdHigh) return;
  FThresholdHigh = ClampTo(Value, FMeterMinValue, FMeterMaxValue);
  if (FThresholdHigh < FThresholdLow) {
    FThresholdLow = FThresholdHigh;
    FUnderflow = FValue <= FThresholdLow;
  }
  FOverflow = FValue >= FThresholdHigh;
  if (FOverflow) DoOverFlowEvent();
  Paint();
}

// ---------------------------------------------------------------- scale properties

void TMeter::SetMeterLayout(TMeterLayout Value) {
  if (!Store(FMeterLayout, Value)) return;
  CalcMeterLayoutParams();
  Paint();
}

void TMeter::SetMeterNrTicks(int Value) {
  if (Store(FMeterNrTicks, ClampInt(Value, 2, 21))) Paint();
}
void TMeter::SetMeterDecPlaces(int Value) {
  if (Store(FMeterDecPlaces, ClampInt(Value, 0, 4))) Paint();
}
void TMeter::SetMeterShortTicks(bool Value) {
  if (Store(FMeterShortTicks, Value)) Paint();
}
void TMeter::SetMeterScaleLine(bool Value) {
  if (Store(FMeterScaleLine, Value)) Paint();
}
void TMeter::SetScaleVisible(bool Value) {
  FScaleVisible = Value;
  Paint();
}
void TMeter::SetScaleBkVisible(bool Value) {
  FScaleBkVisible = Value;
  Paint();
}
void TMeter::SetScaleBkWidth(double Value) {
  CheckNumber(Value, "ScaleBkWidth");
  FScaleBkWidth = ClampTo(Value, 0, 100);
  Paint();
}

// ---------------------------------------------------------------- colours and frame

void TMeter::SetColorScale(TColor Value) {
  if (Store(FColorScale, Value)) Paint();
}
void TMeter::SetColorSclBkLow(TColor Value) {
  if (Store(FColorSclBkLow, Value)) Paint();
}
void TMeter::SetColorSclBkNorm(TColor Value) {
  if (Store(FColorSclBkNorm, Value)) Paint();
}
void TMeter::SetColorSclBkHigh(TColor Value) {
  if (Store(FColorSclBkHigh, Value)) Paint();
}
void TMeter::SetColorBakG(TColor Value) {
  if (Store(FColorBakG, Value)) Paint();
}
void TMeter::SetColorCover(TColor Value) {
  if (Store(FColorCover, Value)) Paint();
}

void TMeter::SetColorScheme(TColorScheme Value) {
  if (!Store(FColorScheme, Value)) return;
  if (Value == csmGray) {
    FFrameShadow = 0x808080;
    FFrameLight = 0xFFFFFF;
  } else {
    FFrameShadow = clBtnShadow;
    FFrameLight = clBtnHighlight;
  }
  Paint();
}

void TMeter::SetFrameStyle(TFrameStyle Value) {
  if (Store(FFrameStyle, Value)) Paint();
}
void TMeter::SetRimTop(int Value) {
  if (Store(FRimTop, Value)) Paint();
}
void TMeter::SetRimBottom(int Value) {
  if (Store(FRimBottom, Value)) Paint();
}
void TMeter::SetRimSide(int Value) {
  if (Store(FRimSide, Value)) Paint();
}

// ---------------------------------------------------------------- anchor, images, caption

void TMeter::SetAnchorCovered(bool Value) {
  if (Store(FAnchorCovered, Value)) Paint();
}
void TMeter::SetAnchorSize(int Value) {
  if (Store(FAnchorSize, Value)) Paint();
}

void TMeter::LoadBackground(const std::string& FileName) {
  // Loaded aside, so that a file that fails keeps the picture shown so far.
  auto Image = std::make_unique<TBitmap>();
  Image->LoadFromFile(FileName);
  FBackGround = std::move(Image);
}

bool TMeter::LoadAnchorImage(const std::string& FileName) {
  auto Cover = std::make_unique<TBitmap>();
  try {
    Cover->LoadFromFile(FileName);
  } catch (const Exception&) {
    return false;
  }
  // The mask is white where the cover is black (those pixels let the dial show through,
  // drawn AND-ed) and black elsewhere (where the cover is OR-ed in).
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetSize(Cover->GetWidth(), Cover->GetHeight());
  for (int y = 0; y < Cover->GetHeight(); ++y) {
    const uint32_t* Src = Cover->ScanLine(y);
    uint32_t* Dst = Mask->ScanLine(y);
    for (int x = 0; x < Cover->GetWidth(); ++x) Dst[x] = (Src[x] & 0xFFFFFF) == 0 ? 0xFFFFFF : 0;
  }
  FAnchorCover = std::move(Cover);
  FAnchorMask = std::move(Mask);
  return true;
}

void TMeter::SetAnchorImage(const std::string& Value) {
  if (IsLoading()) {
    FAnchorImage = Value;
    return;
  }
  if (!FileExists(Value))
    FAnchorImage.clear();
  else if (LoadAnchorImage(Value))
    FAnchorImage = Value;
  Paint();
}

void TMeter::SetBackGroundImg(const std::string& Value) {
  if (IsLoading()) {
    FBackGroundImg = Value;
    return;
  }
  if (!FileExists(Value)) {
    FBackGroundImg.clear();
  } else {
    LoadBackground(Value);
    FBackGroundImg = Value;
  }
  Paint();
}

void TMeter::SetBkgndFillMode(TBkgFill Value) {
  FBkgndFillMode = Value;
  Paint();
}

void TMeter::SetCaption(const std::string& Value) {
  FCaption = Value;
  Paint();
}

void TMeter::SetFontCaption(TFont* Value) {
  FFontCaption->Assign(Value);
  Paint();
}

// ---------------------------------------------------------------- lamps and needles

void TMeter::SetLimWatchHighOn(bool Value) {
  if (Store(FLimWatchHighOn, Value)) Paint();
}
void TMeter::SetLimWatchLowOn(bool Value) {
  if (Store(FLimWatchLowOn, Value)) Paint();
}
void TMeter::SetLimWatchActColor(TColor Value) {
  if (Store(FLimWatchActColor, Value)) Paint();
}
void TMeter::SetLimWatchPsvColor(TColor Value) {
  if (Store(FLimWatchPsvColor, Value)) Paint();
}

// Assign fires the layout's OnChange once, which repaints.
void TMeter::SetNeedleLayout(TNeedleLayout* Value) { FNeedleLayout->Assign(Value); }
void TMeter::SetNeedleLayoutSec(TNeedleLayout* Value) { FNeedleLayoutSec->Assign(Value); }

void TMeter::StyleChanged(TObject*) { Paint(); }

// ---------------------------------------------------------------- events

void TMeter::DoOverFlowEvent() {
  if (OnOverFlow) OnOverFlow(this);
}
void TMeter::DoUnderFlowEvent() {
  if (OnUnderFlow) OnUnderFlow(this);
}
void TMeter::DoNormalRangeEvent() {
  if (OnNormalRange) OnNormalRange(this);
}
void TMeter::MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue) {
  if (OnMouseMoveInMeter) OnMouseMoveInMeter(this, WithinRange, Shift, MeterValue);
}

void TMeter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  double MeterValue = 0;
  bool Within = ConvertPixelToValue(X, Y, MeterValue);
  MouseMoveInMeter(Within, Shift, MeterValue);
}

void TMeter::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  CalcMeterLayoutParams();
}

}  // namespace nuv
