// The analog meter: every scale layout, both needles, bands and lamps, background images
// and the anchor variants.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "Gallery.h"
#include "gui/NUV_Meter.h"

namespace nuv::gallery {

namespace {

constexpr int MW = 297, MH = 209;  // the meter's own size

TMeter* Meter(TForm* Form, int X, int Y, TMeterLayout Layout) {
  auto* M = new TMeter(Form);
  M->SetParent(Form);
  M->SetMeterLayout(Layout);
  M->SetBounds(X, Y, MW, MH);
  return M;
}

// Coloured bands: green below the low threshold, amber between, red above the high one.
void Bands(TMeter* M, double Low, double High) {
  M->SetThresholdLow(Low);
  M->SetThresholdHigh(High);
  M->SetColorSclBkLow(0x70D070);
  M->SetColorSclBkNorm(0x60C8F0);
  M->SetColorSclBkHigh(0x5050E0);
  M->SetScaleBkWidth(7);
  M->SetScaleBkVisible(true);
}

std::string GalleryFile(const std::string& Name) {
  return (std::filesystem::temp_directory_path() / ("nuv_gallery_" + Name)).string();
}

// The meter keeps its own copy of a loaded image: the file can go at once.
void SetBackGround(TMeter* M, const std::string& File) {
  M->SetBackGroundImg(File);
  std::filesystem::remove(File);
}

// Pale graph paper, W x H, with a darker line every 24 pixels (a 24 x 24 one tiles).
std::string MakeGrid(int W, int H) {
  TBitmap B;
  B.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      TColor C = 0xF2F8FC;
      if (x % 24 == 0 || y % 24 == 0) C = 0xD8E4EE;
      else if (x % 6 == 0 || y % 6 == 0) C = 0xE8F0F6;
      B.GetCanvas()->SetPixel(x, y, C);
    }
  std::string File = GalleryFile("meter_grid_" + std::to_string(W) + ".bmp");
  B.SaveToFile(File);
  return File;
}

// A vertical cream-to-sand gradient, stretched over the dial.
std::string MakeGradient() {
  TBitmap B;
  B.SetSize(8, 64);
  for (int y = 0; y < 64; ++y) {
    uint8_t r = uint8_t(255 - y), g = uint8_t(250 - y), b = uint8_t(232 - y * 2);
    for (int x = 0; x < 8; ++x) B.GetCanvas()->SetPixel(x, y, RGB(r, g, b));
  }
  std::string File = GalleryFile("meter_gradient.bmp");
  B.SaveToFile(File);
  return File;
}

// A round brass knob on black (black is transparent in a cover image).
std::string MakeKnob() {
  const int S = 37;
  TBitmap B;
  B.SetSize(S, S);
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) {
      double dx = x - S / 2, dy = y - S / 2, d = std::sqrt(dx * dx + dy * dy);
      TColor C = 0;
      if (d <= S / 2 - 0.5) {
        // Lit from the upper left; a darker ring at the edge.
        double Light = 0.55 + 0.45 * (-(dx + dy) / (S * 0.7));
        if (d > S / 2 - 3) Light *= 0.6;
        auto Ch = [&](double v) { return uint8_t(std::clamp(v * Light, 8.0, 255.0)); };
        C = RGB(Ch(230), Ch(190), Ch(90));
      }
      B.GetCanvas()->SetPixel(x, y, C);
    }
  std::string File = GalleryFile("meter_knob.bmp");
  B.SaveToFile(File);
  return File;
}

void BuildLayouts(TForm* Form) {
  Form->SetBounds(0, 0, 3 * (MW + 16) + 8, 2 * (MH + 30) + 40);
  const TMeterLayout Layouts[] = {mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360};
  const char* const Names[] = {"mlCirc90, half-round anchor", "mlCirc120, high lamp lit",
                               "mlCirc180, low lamp lit",     "mlCirc270, round anchor",
                               "mlCirc300, two needles",      "mlCirc360, full circle"};
  std::vector<TCaption> Caps{{12, 8, "TMeter: the six scale layouts", true}};
  for (int i = 0; i < 6; ++i) {
    int X = 12 + (i % 3) * (MW + 16), Y = 50 + (i / 3) * (MH + 30);
    Caps.push_back({X, Y - 18, Names[i]});
    TMeter* M = Meter(Form, X, Y, Layouts[i]);
    switch (i) {
      case 0:
        M->SetValue(0.35);
        break;
      case 1:
        M->SetMeterMaxValue(100);
        M->SetMeterDecPlaces(0);
        Bands(M, 30, 80);
        M->SetValue(88);
        M->SetCaption("kPa");
        break;
      case 2:
        M->SetMeterMinValue(-40);
        M->SetMeterMaxValue(40);
        M->SetMeterNrTicks(8);
        M->SetMeterDecPlaces(0);
        Bands(M, -25, 25);
        M->SetValue(-32);
        M->SetCaption("\xB0" "C");
        break;
      case 3:
        M->SetMeterMaxValue(8);
        M->SetMeterNrTicks(8);
        M->SetMeterDecPlaces(0);
        Bands(M, 0, 6.5);
        M->SetValue(4.2);
        M->SetCaption("x1000 rpm");
        break;
      case 4: {
        M->SetMeterMaxValue(50);
        M->SetMeterNrTicks(5);
        M->SetMeterDecPlaces(0);
        M->SetThresholdLow(5);
        M->SetThresholdHigh(45);
        M->SetValue(31);
        TNeedleLayout* S = M->GetNeedleLayoutSec();
        S->SetColorBody(0x3030D0);
        S->SetColorOutline(0x101080);
        S->SetPercentNeedleLength(80);
        S->SetHeadSize(14);
        S->SetVisible(true);
        M->SetValueSec(12);
        M->SetCaption("A  /  B");
        break;
      }
      case 5:
        M->SetMeterMaxValue(100);
        M->SetMeterNrTicks(10);
        M->SetMeterDecPlaces(0);
        M->SetThresholdHigh(100);
        M->SetValue(72);
        M->SetCaption("level %");
        break;
    }
  }
  SetCaptions(Form, Caps);
}

void BuildFeatures(TForm* Form) {
  Form->SetBounds(0, 0, 3 * (MW + 16) + 8, 2 * (MH + 30) + 40);
  std::vector<TCaption> Caps{{12, 8, "TMeter: needles, images, anchors and frames", true}};
  auto Place = [&](int i, TMeterLayout Layout, const std::string& Text) {
    int X = 12 + (i % 3) * (MW + 16), Y = 50 + (i / 3) * (MH + 30);
    Caps.push_back({X, Y - 18, Text});
    return Meter(Form, X, Y, Layout);
  };

  // Shadowed, thick needle over a tiled graph-paper dial.
  TMeter* A = Place(0, mlCirc120, "shadows, tiled background");
  A->SetBkgndFillMode(bkfTile);
  SetBackGround(A, MakeGrid(24, 24));
  A->SetMeterMaxValue(10);
  A->SetThresholdLow(2);
  A->SetThresholdHigh(8);
  A->SetValue(6.4);
  TNeedleLayout* N = A->GetNeedleLayout();
  N->SetThickness(5);
  N->SetColorBody(0x204080);
  N->SetShadowDx(-3);
  N->SetShadowDy(-3);
  N->SetShadowColor(0xA0A0A0);

  // Two needles, both with shadows, on a stretched gradient, knob cover image.
  TMeter* B = Place(1, mlCirc300, "two needles, gradient, cover image");
  B->SetBkgndFillMode(bkfStretch);
  SetBackGround(B, MakeGradient());
  B->SetColorBakG(RGB(255, 250, 232));
  B->SetMeterMinValue(-1);
  B->SetMeterMaxValue(1);
  B->SetMeterNrTicks(4);
  std::string Knob = MakeKnob();
  B->SetAnchorImage(Knob);
  std::filesystem::remove(Knob);
  B->SetValue(0.55);
  B->GetNeedleLayout()->SetShadowDx(-2);
  B->GetNeedleLayout()->SetShadowDy(-2);
  TNeedleLayout* S = B->GetNeedleLayoutSec();
  S->SetColorBody(0x2020C0);
  S->SetThickness(3);
  S->SetHeadSize(12);
  S->SetPercentNeedleLength(70);
  S->SetShadowDx(-2);
  S->SetShadowDy(-2);
  S->SetVisible(true);
  B->SetValueSec(-0.4);

  // No cover: the pivot shows; sunken frame and a dark cover colour.
  TMeter* C = Place(2, mlCirc90, "anchor uncovered, sunken frame");
  C->SetAnchorCovered(false);
  C->SetFrameStyle(frsSunken);
  C->SetColorCover(0x505050);
  C->SetColorScale(0x000000);
  C->GetNeedleLayout()->SetColorBody(0x0000C0);
  C->GetNeedleLayout()->SetThickness(3);
  C->SetValue(0.62);

  // Round anchor, system colours, embossed frame, no scale line, the high lamp lit.
  TMeter* D = Place(3, mlCirc270, "round anchor, frsEmbossed, high lamp");
  D->SetColorScheme(csmSystem);
  D->SetFrameStyle(frsEmbossed);
  D->SetMeterScaleLine(false);
  D->SetMeterMaxValue(200);
  D->SetMeterNrTicks(10);
  D->SetMeterDecPlaces(0);
  Bands(D, 40, 160);
  D->SetScaleBkWidth(12);
  D->SetValue(180);
  D->SetCaption("km/h");

  // Half-round anchor with a larger stem, engraved frame, labels replaced by the handler.
  TMeter* E = Place(4, mlCirc180, "frsEngraved, labels from the handler");
  E->SetFrameStyle(frsEngraved);
  E->SetAnchorSize(30);
  E->SetMeterNrTicks(2);
  E->OnBeforeDrawScaleLabel = [](TObject*, TCanvas*, std::string& Text, int, int) {
    if (Text == "0.0") Text = "E";
    else if (Text == "1.0") Text = "F";
    else if (Text == "0.5") Text = "1/2";
    else Text.clear();
  };
  E->SetThresholdLow(0.15);
  E->SetThresholdHigh(1);
  E->SetColorSclBkLow(0x4040E0);
  E->SetColorSclBkNorm(0xE0E0E0);
  E->SetScaleBkWidth(6);
  E->SetScaleBkVisible(true);
  E->SetValue(0.7);
  E->SetCaption("FUEL");

  // Full circle, own-size background image at the top left, line frame.
  TMeter* F = Place(5, mlCirc360, "mlCirc360, image at its own size");
  SetBackGround(F, MakeGrid(193, 145));
  F->SetFrameStyle(frsLine);
  F->SetMeterMaxValue(12);
  F->SetMeterNrTicks(12);
  F->SetMeterDecPlaces(0);
  F->SetMeterShortTicks(false);
  F->SetValue(7.5);
  SetCaptions(Form, Caps);
}

const bool RegisteredLayouts = RegisterForm("meter_layouts", BuildLayouts);
const bool RegisteredFeatures = RegisterForm("meter_features", BuildFeatures);

}  // namespace

}  // namespace nuv::gallery
