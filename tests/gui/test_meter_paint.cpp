// The meter's picture: pixel probes at the positions the drawing rules give.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gui/NUV_Meter.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

constexpr TColor White = 0xFFFFFF, Gray = 0x808080, Silver = 0xC0C0C0, Black = 0;

struct MeterPicture : ::testing::Test {
  MeterPicture() {
    Host.SetBounds(0, 0, 400, 300);
    Meter = new TMeter(nullptr);
    Meter->SetName("Meter1");
    Meter->SetParent(&Host);
    Meter->SetBounds(0, 0, 297, 209);  // A 90, R 175, centre (148, 191)
    Meter->Paint();
  }
  TColor Pixel(int X, int Y) const { return Host.GetSurface()->GetCanvas()->GetPixel(X, Y); }
  // The pixel at value v, distance Rho from the centre.
  TColor PixelAt(double v, double Rho) const {
    int X, Y;
    Meter->ConvertToPixelCoords(v, 100 * Rho / Meter->GetScaleRadius(), X, Y);
    return Pixel(X, Y);
  }
  int CountColor(TRect R, TColor C) const {
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x) n += Pixel(x, y) == C;
    return n;
  }
  std::string WriteBmp(const std::string& Name, int W, int H,
                       const std::function<TColor(int, int)>& Color) {
    TBitmap B;
    B.SetSize(W, H);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) B.GetCanvas()->SetPixel(x, y, Color(x, y));
    std::string File = Dir.File(Name);
    B.SaveToFile(File);
    return File;
  }
  // Width of a text in the meter's font.
  int TextW(const std::string& S) const {
    TBitmap B;
    B.GetCanvas()->SetFont(Meter->GetFont());
    return B.GetCanvas()->TextWidth(S);
  }
  test::TempDir Dir;
  TCustomControl Host{nullptr};
  TMeter* Meter;
};

TEST_F(MeterPicture, LampsPassiveAndActive) {
  const int Low = 18, High = 297 - 10 - 18, Top = 16;  // x0 and y0 of the two lamps
  for (int X0 : {Low, High}) {
    SCOPED_TRACE(X0);
    EXPECT_EQ(Pixel(X0 + 4, Top + 4), Gray);  // passive fill
    EXPECT_EQ(Pixel(X0, Top), Black);         // outline top-left
    EXPECT_EQ(Pixel(X0 + 9, Top), Black);
    EXPECT_EQ(Pixel(X0 + 1, Top + 9), White);  // bevel: white bottom and right
    EXPECT_EQ(Pixel(X0 + 9, Top + 5), White);
    EXPECT_EQ(Pixel(X0 + 2, Top + 8), Silver);
    EXPECT_EQ(Pixel(X0 + 8, Top + 5), Silver);
    EXPECT_EQ(Pixel(X0 + 1, Top + 5), Gray);  // grey left and top inner lines
    EXPECT_EQ(Pixel(X0 + 5, Top + 1), Gray);
  }
  Meter->SetThresholdLow(0.2);
  Meter->SetThresholdHigh(0.8);
  Meter->SetValue(0.9);
  EXPECT_EQ(Pixel(High + 4, Top + 4), 0x0000FFu);
  EXPECT_EQ(Pixel(Low + 4, Top + 4), Gray);
  Meter->SetValue(0.1);
  EXPECT_EQ(Pixel(High + 4, Top + 4), Gray);
  EXPECT_EQ(Pixel(Low + 4, Top + 4), 0x0000FFu);
  Meter->SetLimWatchActColor(0x00FF00);
  EXPECT_EQ(Pixel(Low + 4, Top + 4), 0x00FF00u);
  Meter->SetLimWatchLowOn(false);
  EXPECT_EQ(Pixel(Low + 4, Top + 4), White);  // the dial shows there
}

TEST_F(MeterPicture, FramesRimsAndBevel) {
  // Raised frame (ordinal 3): light top and left, shadow bottom and right.
  EXPECT_EQ(Pixel(0, 100), White);
  EXPECT_EQ(Pixel(100, 0), White);
  EXPECT_EQ(Pixel(296, 100), Gray);
  EXPECT_EQ(Pixel(100, 208), Gray);
  // Rims in the cover colour, bevel inside them: grey top and left, white bottom and right.
  EXPECT_EQ(Pixel(4, 100), Silver);
  EXPECT_EQ(Pixel(100, 4), Silver);
  EXPECT_EQ(Pixel(292, 100), Silver);
  EXPECT_EQ(Pixel(60, 204), Silver);
  EXPECT_EQ(Pixel(9, 100), Gray);
  EXPECT_EQ(Pixel(100, 8), Gray);
  EXPECT_EQ(Pixel(287, 100), White);
  EXPECT_EQ(Pixel(60, 199), White);
  EXPECT_EQ(Pixel(100, 100), White);  // the dial

  struct {
    TFrameStyle Style;
    TColor TopLeft, Inner, BottomRight, InnerBR;
  } Cases[] = {
      {frsNone, Silver, Silver, Silver, Silver},
      {frsLine, White, Silver, White, Silver},
      {frsSunken, Gray, Silver, White, Silver},
      {frsEmbossed, White, Gray, Gray, White},
      {frsEngraved, Gray, White, White, Gray},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(int(c.Style));
    Meter->SetFrameStyle(c.Style);
    EXPECT_EQ(Pixel(0, 100), c.TopLeft);
    EXPECT_EQ(Pixel(1, 100), c.Inner);
    EXPECT_EQ(Pixel(296, 100), c.BottomRight);
    EXPECT_EQ(Pixel(295, 100), c.InnerBR);
  }
  Meter->SetFrameStyle(frsLine);
  Meter->SetColorBakG(0x00FFFF);
  EXPECT_EQ(Pixel(0, 100), 0x00FFFFu);  // the line frame takes the background colour
  Meter->SetColorCover(0x404040);
  EXPECT_EQ(Pixel(4, 100), 0x404040u);
}

TEST_F(MeterPicture, NothingIsDrawnWhenTheRadiusIsNotPositive) {
  Meter->SetBounds(0, 0, 100, 30);  // R = 30 - 10 - 8 - 16 < 0
  EXPECT_LE(Meter->GetScaleRadius(), 0);
  Host.GetSurface()->GetCanvas()->GetBrush()->SetColor(0x123456);
  Host.GetSurface()->GetCanvas()->FillRect(Rect(0, 0, 400, 300));
  Meter->Paint();
  EXPECT_EQ(Pixel(50, 15), 0x123456u);
}

TEST_F(MeterPicture, LabelsGoThroughTheCanvasAndTheHandler) {
  std::vector<std::string> Texts;
  std::vector<TPoint> Corners;
  Meter->OnBeforeDrawScaleLabel = [&](TObject*, TCanvas* C, std::string& Text, int X, int Y) {
    EXPECT_NE(C, nullptr);
    Texts.push_back(Text);
    Corners.push_back({X, Y});
  };
  Meter->Paint();
  EXPECT_EQ(Texts, (std::vector<std::string>{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
  // The label of 0.5 would stand straight above the centre; 0.4 and 0.6 are symmetric.
  ASSERT_EQ(Corners.size(), 6u);
  EXPECT_EQ(Corners[2].Y, Corners[3].Y);
  EXPECT_NEAR(Corners[2].X + Corners[3].X + TextW("0.4"), 2 * 148, 2);
  // The text is black on the dial around the corner the handler got.
  TRect Box = Rect(Corners[2].X, Corners[2].Y, Corners[2].X + 20, Corners[2].Y + 14);
  EXPECT_GT(CountColor(Box, Black), 5);

  // Emptied text: no label. Changed text: centred on the same point.
  Meter->OnBeforeDrawScaleLabel = [&](TObject*, TCanvas*, std::string& Text, int, int) {
    if (Text == "0.4") Text.clear();
    if (Text == "0.6") Text = "WWWWWW";
  };
  Meter->Paint();
  EXPECT_EQ(CountColor(Box, Black), 0);
  TRect Wide = Rect(Corners[3].X - 40, Corners[3].Y - 4, Corners[3].X + 80, Corners[3].Y + 16);
  int MinX = 1000, MaxX = -1;
  for (int y = Wide.Top; y < Wide.Bottom; ++y)
    for (int x = Wide.Left; x < Wide.Right; ++x)
      if (Pixel(x, y) == Black) {
        MinX = std::min(MinX, x);
        MaxX = std::max(MaxX, x);
      }
  ASSERT_GE(MaxX, 0);
  int OldCentre = Corners[3].X + TextW("0.6") / 2;
  EXPECT_NEAR((MinX + MaxX) / 2.0, OldCentre, 2.5);
  EXPECT_GT(MaxX - MinX, 40);  // six wide letters
}

TEST_F(MeterPicture, NeedleAndItsShadow) {
  Meter->SetValue(0.5);  // straight up from (148, 191)
  EXPECT_EQ(Pixel(148, 131), Black);  // the shaft of a needle of thickness 0 is its outline
  EXPECT_EQ(Pixel(145, 131), White);
  TNeedleLayout* N = Meter->GetNeedleLayout();
  N->SetShadowDx(3);
  N->SetShadowColor(0x00FF00);
  EXPECT_EQ(Pixel(145, 131), 0x00FF00u);  // 3 pixels to the left
  EXPECT_EQ(Pixel(148, 131), Black);
  EXPECT_EQ(Pixel(151, 131), White);
  // The head: the tip at R - 4 = 171 above the centre, the body colour inside.
  EXPECT_EQ(Pixel(148, 191 - 171), Black);
  N->SetColorBody(0xFF0000);
  EXPECT_EQ(Pixel(148, 191 - 171 + 12), 0xFF0000u);
  // Thickness widens the shaft.
  N->SetThickness(8);
  EXPECT_EQ(Pixel(148, 131), 0xFF0000u);
}

TEST_F(MeterPicture, SuppressedNeedleKeepsWhatIsDrawnAfterIt) {
  Meter->SetValue(0.5);
  bool Called = false;
  Meter->OnBeforeDrawNeedle = [&](TObject*, TCanvas* C, bool& NeedleDrawn) {
    Called = true;
    C->GetPen()->SetColor(0x00FF00);
    C->MoveTo(20, 100);
    C->LineTo(40, 100);
    NeedleDrawn = true;
  };
  Meter->Paint();
  EXPECT_TRUE(Called);
  EXPECT_EQ(Pixel(148, 131), White);        // no needle
  EXPECT_EQ(Pixel(30, 100), 0x00FF00u);     // the handler's drawing
  EXPECT_EQ(Pixel(4, 100), Silver);         // rims
  EXPECT_EQ(Pixel(148, 185), Silver);       // anchor
  EXPECT_EQ(Pixel(22, 20), Gray);           // lamp
  std::vector<TCanvas*> Rendered;
  Meter->OnMeterRendered = [&](TObject*, TCanvas* C) {
    Rendered.push_back(C);
    C->GetPen()->SetColor(0xFF00FF);
    C->MoveTo(0, 50);  // over the frame position: the frame comes after
    C->LineTo(3, 50);
  };
  Meter->Paint();
  ASSERT_EQ(Rendered.size(), 1u);
  EXPECT_EQ(Pixel(0, 50), White);       // frame drawn after the event
  EXPECT_EQ(Pixel(1, 50), 0xFF00FFu);
}

TEST_F(MeterPicture, SecondNeedleLiesUnderRimsAndAnchor) {
  TNeedleLayout* S = Meter->GetNeedleLayoutSec();
  S->SetColorBody(0x0000FF);
  S->SetThickness(10);
  S->SetVisible(true);
  Meter->SetValueSec(0.5);  // straight up, to 171 pixels above the centre
  EXPECT_EQ(Pixel(148, 100), 0x0000FFu);
  Meter->SetRimTop(60);  // the rim now covers the needle's tip region
  EXPECT_EQ(Pixel(148, 40), Silver);
  EXPECT_EQ(Pixel(148, 100), 0x0000FFu);
  EXPECT_EQ(Pixel(148, 181), Silver);  // under the anchor
  // The primary needle is drawn over it.
  Meter->SetValue(0.5);
  EXPECT_EQ(Pixel(148, 100), Black);
  // Hidden: gone.
  S->SetVisible(false);
  Meter->SetValue(0);
  EXPECT_EQ(Pixel(148, 100), White);
}

TEST_F(MeterPicture, ScaleBands) {
  Meter->SetThresholdLow(0.3);
  Meter->SetThresholdHigh(0.7);
  Meter->SetScaleBkWidth(10);
  Meter->SetScaleBkVisible(true);
  const double R = 175;
  EXPECT_EQ(PixelAt(0.1, R - 12), 0x00FF00u);
  EXPECT_EQ(PixelAt(0.5, R - 12), 0x0080FFu);
  EXPECT_EQ(PixelAt(0.9, R - 12), 0x0000FFu);
  EXPECT_EQ(PixelAt(0.5, R + 2), 0x0080FFu);  // the ring reaches 4 pixels beyond the line
  EXPECT_EQ(PixelAt(0.5, R - 25), White);     // inside the ring
  // No low band when the low threshold is the minimum.
  Meter->SetThresholdLow(0);
  EXPECT_EQ(PixelAt(0.1, R - 12), 0x0080FFu);
  // A band too narrow to span a pixel is left out rather than drawn as a whole disc.
  Meter->SetThresholdLow(1e-4);
  EXPECT_EQ(PixelAt(0.1, R - 12), 0x0080FFu);
  EXPECT_EQ(PixelAt(-0.05, R - 12), White);  // beyond the scale's end
  // Width 0: only the 4-pixel ring outside the scale line.
  Meter->SetScaleBkWidth(0);
  EXPECT_EQ(PixelAt(0.475, R + 2), 0x0080FFu);
  EXPECT_EQ(PixelAt(0.475, R - 3), White);
}

TEST_F(MeterPicture, FullCircleBandAndSingleLabel) {
  Meter->SetMeterLayout(mlCirc360);
  Meter->SetScaleBkVisible(true);
  Meter->SetScaleBkWidth(10);
  double R = Meter->GetScaleRadius();
  for (double v : {0.025, 0.525, 0.975}) EXPECT_EQ(PixelAt(v, R - 5), 0x0080FFu) << v;
  std::vector<std::string> Texts;
  Meter->OnBeforeDrawScaleLabel = [&](TObject*, TCanvas*, std::string& Text, int, int) {
    Texts.push_back(Text);
  };
  Meter->Paint();
  // 1.0 would fall on 0.0.
  EXPECT_EQ(Texts, (std::vector<std::string>{"0.0", "0.2", "0.4", "0.6", "0.8"}));
}

TEST_F(MeterPicture, AnchorVariants) {
  // Half-round anchor on a stem (default layout): cover colour, grey right and white left
  // edges of the stem, white arc on top.
  const int cx = 148, cy = 191, AS = 24;
  EXPECT_EQ(Pixel(cx, cy - 10), Silver);
  EXPECT_EQ(Pixel(cx, cy + 5), Silver);
  EXPECT_EQ(Pixel(cx + AS - 1, cy + 5), Gray);
  EXPECT_EQ(Pixel(cx - AS, cy + 5), White);
  EXPECT_EQ(Pixel(cx, cy - AS), White);
  // Round anchor: white upper-left half, grey lower-right half.
  Meter->SetMeterLayout(mlCirc300);
  int x = Meter->GetCenterX(), y = Meter->GetCenterY();
  EXPECT_EQ(Pixel(x, y), Silver);
  EXPECT_EQ(Pixel(x, y - AS), White);
  EXPECT_EQ(Pixel(x - AS, y), White);
  EXPECT_EQ(Pixel(x, y + AS - 1), Gray);
  EXPECT_EQ(Pixel(x + AS - 1, y), Gray);
  // No cover: the needle shows down to the pivot.
  Meter->SetValue(0.5);
  Meter->SetAnchorCovered(false);
  EXPECT_EQ(Pixel(x, y - 5), Black);
  EXPECT_EQ(Pixel(9, 100), Gray);  // the bevel is still there
}

TEST_F(MeterPicture, AnchorImageWithItsMask) {
  // A 20 x 20 cover: black (transparent) outside, red 10 x 10 in the middle.
  std::string File = WriteBmp("cover.bmp", 20, 20, [](int x, int y) {
    return (x >= 5 && x < 15 && y >= 5 && y < 15) ? TColor(0x0000FF) : TColor(0);
  });
  Meter->SetMeterLayout(mlCirc300);
  Meter->SetValue(0.5);
  int x = Meter->GetCenterX(), y = Meter->GetCenterY();
  Meter->SetAnchorImage(File);
  EXPECT_EQ(Meter->GetAnchorImage(), File);
  EXPECT_EQ(Pixel(x, y), 0x0000FFu);       // the cover's red
  EXPECT_EQ(Pixel(x - 8, y - 8), White);   // the dial through a black pixel
  EXPECT_EQ(Pixel(x, y - 8), Black);       // the needle through a black pixel
  // A file that does not load keeps the cover; a missing one clears the name.
  std::string Bad = Dir.File("bad.bmp");
  test::WriteFileBytes(Bad, "BM not really a bitmap");
  EXPECT_NO_THROW(Meter->SetAnchorImage(Bad));
  EXPECT_EQ(Meter->GetAnchorImage(), File);
  EXPECT_EQ(Pixel(x, y), 0x0000FFu);
  Meter->SetAnchorImage(Dir.File("missing.bmp"));
  EXPECT_EQ(Meter->GetAnchorImage(), "");
  EXPECT_EQ(Pixel(x, y), Silver);  // the drawn round anchor again
}

TEST_F(MeterPicture, BackgroundFillModes) {
  // 100 x 100 tiles, yellow with a magenta pixel at (5, 5).
  std::string File = WriteBmp("tile.bmp", 100, 100, [](int x, int y) {
    return (x == 5 && y == 5) ? TColor(0xFF00FF) : TColor(0x00FFFF);
  });
  Meter->SetRimTop(0);
  Meter->SetRimBottom(0);
  Meter->SetRimSide(0);
  Meter->SetFrameStyle(frsNone);
  Meter->SetAnchorCovered(false);
  Meter->SetLimWatchHighOn(false);
  Meter->SetLimWatchLowOn(false);
  Meter->SetBackGroundImg(File);
  EXPECT_EQ(Meter->GetBackGroundImg(), File);
  // Own size at the top left: white around it.
  EXPECT_EQ(Pixel(5, 5), 0xFF00FFu);
  EXPECT_EQ(Pixel(30, 30), 0x00FFFFu);
  EXPECT_EQ(Pixel(250, 150), White);
  // Tiled: 3 columns and 3 rows cover 297 x 209, the last row too.
  Meter->SetBkgndFillMode(bkfTile);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(Pixel(100 * i + 5, 100 * j + 5), 0xFF00FFu) << i << j;
  EXPECT_EQ(Pixel(250, 205), 0x00FFFFu);
  // Stretched over the whole control: the magenta pixel grows to about 3 x 2 pixels.
  Meter->SetBkgndFillMode(bkfStretch);
  EXPECT_EQ(Pixel(16, 11), 0xFF00FFu);
  EXPECT_EQ(Pixel(5, 5), 0x00FFFFu);
  EXPECT_EQ(Pixel(250, 205), 0x00FFFFu);

  // A file that exists but does not load raises, and the old picture stays.
  std::string Bad = Dir.File("bad.bmp");
  test::WriteFileBytes(Bad, "BM not really a bitmap");
  EXPECT_THROW(Meter->SetBackGroundImg(Bad), Exception);
  EXPECT_EQ(Meter->GetBackGroundImg(), File);
  Meter->Paint();
  EXPECT_EQ(Pixel(16, 11), 0xFF00FFu);
  // A missing file clears the name: the plain background colour.
  Meter->SetBackGroundImg(Dir.File("missing.bmp"));
  EXPECT_EQ(Meter->GetBackGroundImg(), "");
  EXPECT_EQ(Pixel(16, 11), White);
}

TEST_F(MeterPicture, LoadedLoadsTheStoredImagesAndClearsBadNames) {
  std::string File = WriteBmp("bk.bmp", 10, 10, [](int, int) { return TColor(0x00FFFF); });
  std::string Bad = Dir.File("bad.bmp");
  test::WriteFileBytes(Bad, "BM not really a bitmap");
  Meter->BeginLoading();
  Meter->SetBkgndFillMode(bkfStretch);
  Meter->SetBackGroundImg(File);
  Meter->SetAnchorImage(Bad);
  Meter->EndLoading();
  EXPECT_EQ(Meter->GetBackGroundImg(), File);
  EXPECT_EQ(Meter->GetAnchorImage(), "");
  EXPECT_EQ(Pixel(100, 100), 0x00FFFFu);
  Meter->BeginLoading();
  Meter->SetBackGroundImg(Bad);
  EXPECT_NO_THROW(Meter->EndLoading());
  EXPECT_EQ(Meter->GetBackGroundImg(), "");
}

TEST_F(MeterPicture, CaptionInItsOwnFont) {
  TFont F;
  F.SetColor(0x0000FF);
  F.SetSize(14);
  Meter->SetFontCaption(&F);
  Meter->SetCaption("VOLT");
  // Centred at cy - Round(R / 3) = 191 - 58 = 133.
  EXPECT_GT(CountColor(Rect(118, 123, 178, 143), 0x0000FF), 20);
  EXPECT_EQ(CountColor(Rect(20, 123, 100, 143), 0x0000FF), 0);
}

}  // namespace
}  // namespace nuv
