// Frames, rectangle outlines and marker symbols of the base pack, pixel by pixel.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "contracts/base/NUV_BaseDraw.h"
#include "platform/NUV_Graphics.h"

namespace nuv {
namespace {

constexpr TColor Hi = 0x111111, Li = 0x222222, Sh = 0x333333, Dk = 0x444444, Ln = 0x555555, Bg = clWhite;

struct TFramePixel {
  TFrameStyle Style;
  int X, Y;
  TColor Color;
};

TEST(DrawFrame, GeometryOfEachStyleOnTheIncludedRectangle) {
  // The frame of a 20 x 12 bitmap: DrawFrame(0, 0, 19, 11).
  const TFramePixel Cases[] = {
      {frsNone, 0, 0, Bg},       {frsNone, 19, 11, Bg},
      {frsLine, 0, 0, Ln},       {frsLine, 19, 11, Ln},    {frsLine, 10, 11, Ln},  {frsLine, 1, 1, Bg},
      {frsSunken, 0, 0, Sh},     {frsSunken, 18, 0, Sh},   {frsSunken, 19, 0, Hi}, {frsSunken, 0, 10, Sh},
      {frsSunken, 0, 11, Hi},    {frsSunken, 19, 11, Hi},  {frsSunken, 1, 1, Dk},  {frsSunken, 17, 1, Dk},
      {frsSunken, 18, 1, Li},    {frsSunken, 1, 10, Li},   {frsSunken, 18, 10, Li}, {frsSunken, 2, 2, Bg},
      {frsRaised, 0, 0, Li},     {frsRaised, 19, 11, Dk},  {frsRaised, 1, 1, Hi},  {frsRaised, 18, 10, Sh},
      {frsEmbossed, 0, 0, Hi},   {frsEmbossed, 18, 10, Hi}, {frsEmbossed, 19, 0, Bg}, {frsEmbossed, 1, 1, Sh},
      {frsEmbossed, 19, 11, Sh}, {frsEmbossed, 18, 1, Hi}, {frsEmbossed, 2, 2, Bg},
      {frsEngraved, 0, 0, Sh},   {frsEngraved, 18, 10, Sh}, {frsEngraved, 1, 1, Hi}, {frsEngraved, 19, 11, Hi},
  };
  for (const TFramePixel& C : Cases) {
    TBitmap B;
    B.SetSize(20, 12);
    B.GetCanvas()->GetPen()->SetColor(clRed);
    DrawFrame(B.GetCanvas(), C.Style, 0, 0, 19, 11, Hi, Li, Sh, Dk, Ln);
    EXPECT_EQ(B.GetCanvas()->GetPixel(C.X, C.Y), C.Color) << int(C.Style) << " at " << C.X << "," << C.Y;
    EXPECT_EQ(B.GetCanvas()->GetPen()->GetColor(), clRed);
  }
}

TEST(DrawRectangle, EveryOutlinePixelOnceSoXorTwiceRestores) {
  TBitmap B;
  B.SetSize(10, 10);
  TCanvas* C = B.GetCanvas();
  C->GetPen()->SetColor(clWhite);
  C->GetPen()->SetMode(pmXor);
  DrawRectangle(C, 7, 8, 2, 1);  // corners in any order
  for (auto [X, Y] : std::vector<std::pair<int, int>>{{2, 1}, {7, 1}, {7, 8}, {2, 8}, {5, 1}, {2, 4}})
    EXPECT_EQ(C->GetPixel(X, Y), clBlack) << X << "," << Y;
  EXPECT_EQ(C->GetPixel(3, 2), clWhite);
  EXPECT_EQ(C->GetPixel(8, 8), clWhite);
  DrawRectangle(C, 2, 1, 7, 8);
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 10; ++X) ASSERT_EQ(C->GetPixel(X, Y), clWhite);
  DrawRectangle(C, 4, 4, 4, 4);
  EXPECT_EQ(C->GetPixel(4, 4), clBlack);
}

// The pixels a marker kind sets on a white 40 x 40 bitmap at (20, 20) in red.
std::set<std::pair<int, int>> MarkPixels(int Kind) {
  TBitmap B;
  B.SetSize(40, 40);
  TCanvas* C = B.GetCanvas();
  C->GetPen()->SetColor(clRed);
  C->GetBrush()->SetColor(clLime);
  DrawMarkOnCanvas(C, Kind, 20, 20);
  EXPECT_EQ(C->GetPen()->GetColor(), clRed);
  EXPECT_EQ(C->GetBrush()->GetColor(), clLime);
  EXPECT_EQ(C->GetBrush()->GetStyle(), bsSolid);
  std::set<std::pair<int, int>> P;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X) {
      const TColor Px = C->GetPixel(X, Y);
      if (Px == clWhite) continue;
      EXPECT_EQ(Px, clRed) << "kind " << Kind;
      P.insert({X, Y});
    }
  return P;
}

TEST(DrawMarkOnCanvas, FortySevenDistinctSymbolsCentredInThePenColour) {
  for (int Kind : {-1, 0, 48, 255}) EXPECT_TRUE(MarkPixels(Kind).empty()) << Kind;
  std::set<std::set<std::pair<int, int>>> Shapes;
  for (int Kind = 1; Kind <= NrOfMarkKinds; ++Kind) {
    const auto P = MarkPixels(Kind);
    ASSERT_FALSE(P.empty()) << Kind;
    int X0 = 99, X1 = -1, Y0 = 99, Y1 = -1;
    for (auto [X, Y] : P) {
      X0 = std::min(X0, X), X1 = std::max(X1, X), Y0 = std::min(Y0, Y), Y1 = std::max(Y1, Y);
    }
    EXPECT_LE(X1 - X0, 12) << Kind;
    EXPECT_LE(Y1 - Y0, 12) << Kind;
    EXPECT_LE(std::abs(X0 + X1 - 40), 1) << Kind;  // centred within half a pixel
    EXPECT_LE(std::abs(Y0 + Y1 - 40), 1) << Kind;
    Shapes.insert(P);
  }
  EXPECT_EQ(Shapes.size(), 47u);
}

}  // namespace
}  // namespace nuv
