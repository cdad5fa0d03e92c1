// The canvas: drawing rules checked pixel by pixel, mix modes, raster operations,
// stretching, clipping and placement.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/NUV_Graphics.h"

namespace nuv {
namespace {

// The bitmap as rows of characters: '.' white, '#' black, 'o' red, '?' anything else.
std::string Picture(TBitmap& B) {
  std::string s;
  for (int y = 0; y < B.GetHeight(); ++y) {
    for (int x = 0; x < B.GetWidth(); ++x) {
      TColor c = B.GetCanvas()->GetPixel(x, y);
      s += c == clWhite ? '.' : c == clBlack ? '#' : c == clRed ? 'o' : '?';
    }
    s += '\n';
  }
  return s;
}

std::string Rows(std::initializer_list<const char*> Lines) {
  std::string s;
  for (const char* l : Lines) (s += l) += '\n';
  return s;
}

struct PrimitiveCase {
  const char* Name;
  std::function<void(TCanvas&)> Draw;
  std::string Expected;
};

// Black pen of width 1, red solid brush, on a white 12 x 10 bitmap.
TEST(Canvas, PrimitivesFollowTheClassicRules) {
  const PrimitiveCase cases[] = {
      {"LineTo leaves out the end pixel",
       [](TCanvas& c) { c.MoveTo(1, 1); c.LineTo(5, 1); },
       Rows({"............", ".####.......", "............"})},
      {"LineTo backwards and diagonal",
       [](TCanvas& c) { c.MoveTo(5, 2); c.LineTo(1, 2); c.MoveTo(7, 0); c.LineTo(10, 3); },
       Rows({".......#....", "........#...", "..####...#..", "............"})},
      {"Polyline is a chain of LineTo",
       [](TCanvas& c) { c.Polyline({{1, 0}, {4, 0}, {4, 2}}); },
       Rows({".####.......", "....#.......", "............"})},
      {"Rectangle covers x1..x2-1 with the pen outside and the brush inside",
       [](TCanvas& c) { c.Rectangle(1, 0, 6, 4); },
       Rows({".#####......", ".#ooo#......", ".#ooo#......", ".#####......", "............"})},
      {"Rectangle corners are normalised",
       [](TCanvas& c) { c.Rectangle(6, 4, 1, 0); },
       Rows({".#####......", ".#ooo#......", ".#ooo#......", ".#####......", "............"})},
      {"Rectangle with a clear brush keeps the inside",
       [](TCanvas& c) { c.GetBrush()->SetStyle(bsClear); c.Rectangle(1, 0, 5, 3); },
       Rows({".####.......", ".#..#.......", ".####.......", "............"})},
      {"Rectangle with a clear pen fills the whole box",
       [](TCanvas& c) { c.GetPen()->SetStyle(psClear); c.Rectangle(1, 0, 4, 2); },
       Rows({".ooo........", ".ooo........", "............"})},
      {"A wide pen stays inside the rectangle",
       [](TCanvas& c) { c.GetPen()->SetWidth(2); c.Rectangle(0, 0, 6, 6); },
       Rows({"######......", "######......", "##oo##......", "##oo##......", "######......",
             "######......", "............"})},
      {"FillRect uses the brush only",
       [](TCanvas& c) { c.FillRect(Rect(2, 1, 5, 3)); },
       Rows({"............", "..ooo.......", "..ooo.......", "............"})},
      {"FrameRect is one pixel in the brush colour",
       [](TCanvas& c) { c.FrameRect(Rect(0, 0, 4, 3)); },
       Rows({"oooo........", "o..o........", "oooo........", "............"})},
      {"Ellipse fills its box symmetrically",
       [](TCanvas& c) { c.Ellipse(1, 1, 11, 9); },
       Rows({"............", "....####....", "..##oooo##..", ".#oooooooo#.", ".#oooooooo#.",
             ".#oooooooo#.", ".#oooooooo#.", "..##oooo##..", "....####....", "............"})},
      {"RoundRect rounds the corners",
       [](TCanvas& c) { c.RoundRect(1, 1, 11, 9, 4, 4); },
       Rows({"............", "..########..", ".#oooooooo#.", ".#oooooooo#.", ".#oooooooo#.",
             ".#oooooooo#.", ".#oooooooo#.", ".#oooooooo#.", "..########..", "............"})},
      {"Arc runs counter-clockwise from the start ray (right) to the end ray (up)",
       [](TCanvas& c) { c.Arc(1, 1, 11, 9, 11, 5, 6, 0); },
       Rows({"............", "......##....", "........##..", "..........#.", "..........#.",
             "............"})},
      {"Pie closes the sector through the centre and fills it",
       [](TCanvas& c) { c.Pie(1, 1, 11, 9, 11, 5, 6, 0); },
       Rows({"............", "......##....", "......#o##..", "......#ooo#.", "......#ooo#.",
             "......#####.", "............"})},
      {"Chord closes the arc with a straight line",
       [](TCanvas& c) { c.Chord(1, 1, 11, 9, 11, 5, 1, 5); },
       Rows({"............", "....####....", "..##oooo##..", ".#oooooooo#.", ".#oooooooo#.",
             ".##########.", "............"})},
      {"A width-3 pen is centred on the line with round ends",
       [](TCanvas& c) { c.GetPen()->SetWidth(3); c.MoveTo(2, 2); c.LineTo(8, 2); },
       Rows({"............", ".#########..", ".#########..", ".#########..", "............"})},
      {"Polygon outlines and fills",
       [](TCanvas& c) { c.Polygon({{1, 1}, {10, 1}, {1, 8}}); },
       Rows({"............", ".##########.", ".#ooooooo#..", ".#ooooo##...", ".#oooo#.....",
             ".#ooo#......", ".#o##.......", ".##.........", ".#..........", "............"})},
      {"Dashes of a width-1 pen: 18 on, 6 off; gaps take a solid brush",
       [](TCanvas& c) {
         c.GetPen()->SetStyle(psDot);
         c.MoveTo(0, 0); c.LineTo(12, 0);
         c.GetBrush()->SetStyle(bsClear);
         c.MoveTo(0, 1); c.LineTo(12, 1);
       },
       Rows({"###ooo###ooo", "###...###...", "............"})},
      {"A clear pen draws no line",
       [](TCanvas& c) { c.GetPen()->SetStyle(psClear); c.MoveTo(0, 0); c.LineTo(12, 0); },
       Rows({"............"})},
  };
  for (const PrimitiveCase& k : cases) {
    TBitmap B;
    B.SetSize(12, 10);
    TCanvas& c = *B.GetCanvas();
    c.GetBrush()->SetColor(clRed);
    k.Draw(c);
    std::string got = Picture(B).substr(0, k.Expected.size());
    EXPECT_EQ(got, k.Expected) << k.Name << "\n" << Picture(B);
  }
}

TEST(Canvas, LineToMovesThePenPosition) {
  TBitmap B;
  B.SetSize(4, 4);
  B.GetCanvas()->MoveTo(1, 1);
  B.GetCanvas()->LineTo(3, 2);
  EXPECT_EQ(B.GetCanvas()->GetPenPos(), Point(3, 2));
}

TEST(Canvas, DashPatternOfLongerStyles) {
  TBitmap B;
  B.SetSize(48, 2);
  TCanvas& c = *B.GetCanvas();
  c.GetBrush()->SetStyle(bsClear);
  c.GetPen()->SetStyle(psDash);
  c.MoveTo(0, 0);
  c.LineTo(48, 0);
  c.GetPen()->SetStyle(psDashDot);
  c.MoveTo(0, 1);
  c.LineTo(48, 1);
  std::string row0, row1;
  for (int x = 0; x < 48; ++x) {
    row0 += c.GetPixel(x, 0) == clBlack ? '#' : '.';
    row1 += c.GetPixel(x, 1) == clBlack ? '#' : '.';
  }
  EXPECT_EQ(row0, std::string(18, '#') + std::string(6, '.') + std::string(18, '#') + std::string(6, '.'));
  EXPECT_EQ(row1, "#########......###......#########......###......");
}

TEST(Canvas, ArcRunsCounterClockwise) {
  // An arc from the ray pointing up to the ray pointing right covers three quadrants:
  // everything but the upper right.
  TBitmap B;
  B.SetSize(41, 41);
  TCanvas& c = *B.GetCanvas();
  c.Arc(0, 0, 41, 41, 20, 0, 41, 20);
  int ur = 0, ul = 0, ll = 0, lr = 0;
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x) {
      if (c.GetPixel(x, y) != clBlack) continue;
      if (x > 22 && y < 18) ++ur;
      if (x < 18 && y < 18) ++ul;
      if (x < 18 && y > 22) ++ll;
      if (x > 22 && y > 22) ++lr;
    }
  EXPECT_EQ(ur, 0);
  EXPECT_GT(ul, 10);
  EXPECT_GT(ll, 10);
  EXPECT_GT(lr, 10);
}

TEST(Canvas, EqualRaysDrawTheFullEllipse) {
  TBitmap A, B;
  A.SetSize(30, 20);
  B.SetSize(30, 20);
  A.GetCanvas()->Arc(2, 3, 27, 18, 30, 10, 30, 10);
  B.GetCanvas()->GetBrush()->SetStyle(bsClear);
  B.GetCanvas()->Ellipse(2, 3, 27, 18);
  EXPECT_EQ(Picture(A), Picture(B));
}

TEST(Canvas, PolygonFillsEvenOdd) {
  // A five-pointed star drawn as one self-crossing polygon: the points are filled, the
  // pentagon in the middle (crossed twice) is not.
  TBitmap B;
  B.SetSize(60, 60);
  TCanvas& c = *B.GetCanvas();
  c.GetPen()->SetStyle(psClear);
  c.GetBrush()->SetColor(clRed);
  c.Polygon({{30, 2}, {47, 56}, {2, 22}, {58, 22}, {13, 56}});
  EXPECT_EQ(c.GetPixel(30, 32), clWhite);  // the middle
  EXPECT_EQ(c.GetPixel(30, 12), clRed);    // the top point
  EXPECT_EQ(c.GetPixel(10, 24), clRed);    // the left point
  EXPECT_EQ(c.GetPixel(2, 50), clWhite);   // outside
}

TEST(Canvas, XorDrawnTwiceRestores) {
  const std::function<void(TCanvas&)> shapes[] = {
      [](TCanvas& c) { c.MoveTo(1, 2); c.LineTo(37, 25); c.LineTo(3, 28); },
      [](TCanvas& c) { c.Rectangle(3, 4, 30, 20); },
      [](TCanvas& c) { c.Ellipse(2, 2, 35, 27); },
      [](TCanvas& c) { c.RoundRect(2, 2, 35, 27, 10, 8); },
      [](TCanvas& c) { c.Pie(2, 2, 35, 27, 0, 0, 40, 30); },
      [](TCanvas& c) { c.Chord(2, 2, 35, 27, 0, 30, 40, 0); },
      [](TCanvas& c) { c.Polygon({{1, 1}, {38, 5}, {20, 28}, {20, 2}}); },
      [](TCanvas& c) { c.GetPen()->SetWidth(5); c.MoveTo(4, 4); c.LineTo(33, 22); },
      [](TCanvas& c) { c.GetPen()->SetStyle(psDashDotDot); c.MoveTo(0, 15); c.LineTo(40, 16); },
  };
  for (size_t i = 0; i < std::size(shapes); ++i) {
    TBitmap B;
    B.SetSize(40, 30);
    TCanvas& c = *B.GetCanvas();
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) c.SetPixel(x, y, RGB(x * 6, y * 8, (x * y) & 255));
    const std::string before = Picture(B);
    TBitmap Orig;
    Orig.Assign(&B);
    c.GetPen()->SetColor(clYellow);
    c.GetPen()->SetMode(pmXor);
    c.GetBrush()->SetColor(clBlue);
    shapes[i](c);
    EXPECT_NE(std::memcmp(B.ScanLine(0), Orig.ScanLine(0), 40 * 30 * 4), 0) << "shape " << i;
    shapes[i](c);
    EXPECT_EQ(std::memcmp(B.ScanLine(0), Orig.ScanLine(0), 40 * 30 * 4), 0) << "shape " << i;
  }
}

TEST(Canvas, SixteenPenModes) {
  const uint32_t P = 0x0F0F33, D = 0x3355AA;  // TColor words
  const std::pair<TPenMode, uint32_t> modes[] = {
      {pmBlack, 0},          {pmWhite, 0xFFFFFF},        {pmNop, D},
      {pmNot, ~D},           {pmCopy, P},                {pmNotCopy, ~P},
      {pmMergePenNot, P | ~D}, {pmMaskPenNot, P & ~D},   {pmMergeNotPen, ~P | D},
      {pmMaskNotPen, ~P & D}, {pmMerge, P | D},          {pmNotMerge, ~(P | D)},
      {pmMask, P & D},       {pmNotMask, ~(P & D)},      {pmXor, P ^ D},
      {pmNotXor, ~(P ^ D)}};
  for (auto [mode, expected] : modes) {
    TBitmap B;
    B.SetSize(3, 1);
    TCanvas& c = *B.GetCanvas();
    c.SetPixel(0, 0, D);
    c.GetPen()->SetColor(P);
    c.GetPen()->SetMode(mode);
    c.MoveTo(0, 0);
    c.LineTo(1, 0);
    EXPECT_EQ(c.GetPixel(0, 0), expected & 0xFFFFFF) << int(mode);
    EXPECT_EQ(c.GetPixel(1, 0), clWhite);
  }
}

TEST(Canvas, CopyModes) {
  const uint32_t S = 0x0F0F33, D = 0x3355AA, Pt = 0x00F0C3;  // source, destination, brush
  const std::pair<TCopyMode, uint32_t> modes[] = {
      {cmSrcCopy, S},          {cmSrcAnd, S & D},       {cmSrcPaint, S | D},
      {cmSrcInvert, S ^ D},    {cmSrcErase, S & ~D},    {cmNotSrcCopy, ~S},
      {cmNotSrcErase, ~(S | D)}, {cmMergeCopy, Pt & S}, {cmMergePaint, ~S | D},
      {cmPatCopy, Pt},         {cmPatPaint, Pt | ~S | D}, {cmPatInvert, Pt ^ D},
      {cmDstInvert, ~D},       {cmBlackness, 0},        {cmWhiteness, 0xFFFFFF}};
  TBitmap Src;
  Src.SetSize(2, 2);
  Src.GetCanvas()->GetBrush()->SetColor(S);
  Src.GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  for (auto [mode, expected] : modes) {
    TBitmap B;
    B.SetSize(2, 2);
    TCanvas& c = *B.GetCanvas();
    c.GetBrush()->SetColor(D);
    c.FillRect(Rect(0, 0, 2, 2));
    c.GetBrush()->SetColor(Pt);
    c.SetCopyMode(mode);
    c.CopyRect(Rect(0, 0, 1, 2), Src.GetCanvas(), Rect(0, 0, 1, 2));
    EXPECT_EQ(c.GetPixel(0, 1), expected & 0xFFFFFF) << std::hex << mode;
    EXPECT_EQ(c.GetPixel(1, 1), D) << std::hex << mode;
  }
}

TEST(Canvas, BrushColourMakesAClearBrushSolid) {
  TBrush b;
  b.SetStyle(bsClear);
  b.SetColor(clRed);
  EXPECT_EQ(b.GetStyle(), bsSolid);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.SetColor(clRed);
  EXPECT_EQ(changes, 0);
  b.SetStyle(bsCross);
  EXPECT_EQ(changes, 1);
}

TEST(Canvas, HatchedBrushDrawsOnlyItsLines) {
  TBitmap B;
  B.SetSize(16, 16);
  TCanvas& c = *B.GetCanvas();
  c.GetBrush()->SetColor(clRed);
  c.GetBrush()->SetStyle(bsHorizontal);
  c.FillRect(Rect(0, 0, 16, 16));
  for (int y = 0; y < 16; ++y) {
    int red = 0;
    for (int x = 0; x < 16; ++x) red += c.GetPixel(x, y) == clRed;
    EXPECT_TRUE(red == 0 || red == 16) << y;
    EXPECT_EQ(red == 16, y % 8 == 7) << y;
  }
}

TEST(Canvas, FloodFillSurfaceAndBorder) {
  TBitmap B;
  B.SetSize(20, 20);
  TCanvas& c = *B.GetCanvas();
  c.GetBrush()->SetStyle(bsClear);
  c.Rectangle(2, 2, 12, 12);
  c.GetBrush()->SetColor(clRed);
  c.FloodFill(5, 5, clWhite, fsSurface);
  EXPECT_EQ(c.GetPixel(3, 3), clRed);
  EXPECT_EQ(c.GetPixel(10, 10), clRed);
  EXPECT_EQ(c.GetPixel(2, 5), clBlack);
  EXPECT_EQ(c.GetPixel(15, 15), clWhite);
  // Filling a region with its own colour ends.
  c.FloodFill(5, 5, clRed, fsSurface);
  EXPECT_EQ(c.GetPixel(5, 5), clRed);
  // fsBorder fills up to the black border, whatever lies inside.
  c.SetPixel(6, 6, clBlue);
  c.GetBrush()->SetColor(clLime);
  c.FloodFill(4, 4, clBlack, fsBorder);
  EXPECT_EQ(c.GetPixel(6, 6), clLime);
  EXPECT_EQ(c.GetPixel(15, 15), clWhite);
}

TEST(Canvas, PixelsOutsideReadMinusOne) {
  TBitmap B;
  B.SetSize(3, 3);
  TCanvas& c = *B.GetCanvas();
  EXPECT_EQ(c.GetPixel(-1, 0), TColor(-1));
  EXPECT_EQ(c.GetPixel(3, 0), TColor(-1));
  c.SetPixel(5, 5, clRed);  // ignored
  c.SetPixel(2, 2, clRed);
  EXPECT_EQ(c.GetPixel(2, 2), clRed);
  TCanvas detached;
  EXPECT_EQ(detached.GetPixel(0, 0), TColor(-1));
  detached.Rectangle(0, 0, 5, 5);  // draws nothing, fails nothing
}

TEST(Canvas, ClippingStaysExactFarOutside) {
  TBitmap B;
  B.SetSize(64, 48);
  TCanvas& c = *B.GetCanvas();
  // A long line whose visible part must land where the whole line's pixels are.
  const int64_t x0 = -2000000000, y0 = -1500000007, x1 = 2100000000, y1 = 1575000007;
  c.MoveTo(int(x0), int(y0));
  c.LineTo(int(x1), int(y1));
  const __int128 dx = x1 - x0, dy = y1 - y0;
  int ink = 0;
  for (int x = 0; x < 64; ++x) {
    __int128 num = 2 * (__int128(x) - x0) * dy + dx;
    int64_t y = int64_t(y0 + num / (2 * dx));
    for (int yy = 0; yy < 48; ++yy) {
      bool on = c.GetPixel(x, yy) == clBlack;
      EXPECT_EQ(on, yy == y) << x << "," << yy;
      ink += on;
    }
  }
  EXPECT_GT(ink, 40);
  // Shapes as large as the coordinate range.
  c.GetBrush()->SetColor(clRed);
  c.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ(c.GetPixel(0, 0), clRed);
  EXPECT_EQ(c.GetPixel(63, 47), clRed);
  c.GetBrush()->SetColor(clBlue);
  c.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000);
  EXPECT_EQ(c.GetPixel(10, 10), clBlue);
  c.Polygon({{INT32_MIN, 0}, {INT32_MAX, 0}, {0, INT32_MAX}});
  c.GetPen()->SetWidth(9);
  c.MoveTo(INT32_MIN, INT32_MIN);
  c.LineTo(INT32_MAX, INT32_MAX);
  EXPECT_EQ(c.GetPixel(20, 20), clBlack);
}

TEST(Canvas, OriginAndClipPlaceAChildCanvas) {
  TBitmap Parent;
  Parent.SetSize(20, 20);
  TCanvas child;
  child.SetTarget(&Parent, Point(5, 4), Rect(0, 0, 6, 3));
  EXPECT_EQ(child.GetClipRect(), Rect(0, 0, 6, 3));
  child.GetBrush()->SetColor(clRed);
  child.FillRect(Rect(-100, -100, 100, 100));
  int red = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      bool inside = x >= 5 && x < 11 && y >= 4 && y < 7;
      EXPECT_EQ(Parent.GetCanvas()->GetPixel(x, y) == clRed, inside) << x << "," << y;
      red += inside;
    }
  EXPECT_EQ(red, 18);
  EXPECT_EQ(child.GetPixel(0, 0), clRed);
  EXPECT_EQ(child.GetPixel(6, 0), TColor(-1));  // outside the clip
  // A clip beyond the surface is cut to it.
  child.SetTarget(&Parent, Point(15, 15), Rect(0, 0, 10, 10));
  EXPECT_EQ(child.GetClipRect(), Rect(0, 0, 5, 5));
  child.ResetClip();
  EXPECT_EQ(child.GetClipRect(), Rect(-15, -15, 5, 5));
}

TEST(Canvas, DrawAndStretch) {
  TBitmap Src;
  Src.SetSize(2, 2);
  Src.GetCanvas()->SetPixel(0, 0, clBlack);
  Src.GetCanvas()->SetPixel(1, 1, clBlack);
  TBitmap B;
  B.SetSize(6, 4);
  TCanvas& c = *B.GetCanvas();
  c.StretchDraw(Rect(0, 0, 4, 4), &Src);
  EXPECT_EQ(Picture(B), Rows({"##....", "##....", "..##..", "..##.."}));
  c.Draw(4, 0, &Src);
  EXPECT_EQ(Picture(B), Rows({"##..#.", "##...#", "..##..", "..##.."}));
  // Negative width mirrors.
  TBitmap M;
  M.SetSize(2, 2);
  M.GetCanvas()->StretchDraw(Rect(2, 0, 0, 2), &Src);
  EXPECT_EQ(Picture(M), Rows({".#", "#."}));
}

TEST(Canvas, HalftoneAveragesWhenShrinking) {
  TBitmap Src;
  Src.SetSize(4, 2);
  for (int x = 0; x < 4; x += 2) {
    Src.GetCanvas()->SetPixel(x, 0, clBlack);
    Src.GetCanvas()->SetPixel(x + 1, 1, clBlack);
  }
  TBitmap B;
  B.SetSize(1, 1);
  TCanvas& c = *B.GetCanvas();
  EXPECT_EQ(SetStretchBltMode(&c, HALFTONE), COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(&c, 0, 0, 1, 1, Src.GetCanvas(), 0, 0, 4, 2, cmSrcCopy));
  TColor g = c.GetPixel(0, 0);
  EXPECT_NEAR(GetRValue(g), 128, 1);
  EXPECT_EQ(GetRValue(g), GetBValue(g));
  SetStretchBltMode(&c, COLORONCOLOR);
  StretchBlt(&c, 0, 0, 1, 1, Src.GetCanvas(), 0, 0, 4, 2, cmSrcCopy);
  TColor n = c.GetPixel(0, 0);
  EXPECT_TRUE(n == clBlack || n == clWhite);
  EXPECT_FALSE(StretchBlt(&c, 0, 0, 1, 1, nullptr, 0, 0, 1, 1, cmSrcCopy));
  EXPECT_EQ(SetStretchBltMode(&c, 9), 0);
}

TEST(Canvas, TransparentBitmapLeavesItsColourOut) {
  TBitmap Src;
  Src.SetSize(3, 1);
  Src.GetCanvas()->SetPixel(1, 0, clRed);
  Src.SetTransparent(true);  // bottom-left pixel (white) is the transparent colour
  TBitmap B;
  B.SetSize(3, 1);
  B.GetCanvas()->GetBrush()->SetColor(clBlue);
  B.GetCanvas()->FillRect(Rect(0, 0, 3, 1));
  B.GetCanvas()->Draw(0, 0, &Src);
  EXPECT_EQ(B.GetCanvas()->GetPixel(0, 0), clBlue);
  EXPECT_EQ(B.GetCanvas()->GetPixel(1, 0), clRed);
  EXPECT_EQ(B.GetCanvas()->GetPixel(2, 0), clBlue);
}

TEST(Canvas, CopyRectWithinOneBitmapOverlapping) {
  TBitmap B;
  B.SetSize(6, 1);
  TCanvas& c = *B.GetCanvas();
  for (int x = 0; x < 6; ++x) c.SetPixel(x, 0, RGB(uint8_t(x * 10), 0, 0));
  c.CopyRect(Rect(1, 0, 6, 1), &c, Rect(0, 0, 5, 1));
  for (int x = 1; x < 6; ++x) EXPECT_EQ(GetRValue(c.GetPixel(x, 0)), (x - 1) * 10);
}

TEST(Canvas, SystemColoursResolve) {
  TBitmap B;
  B.SetSize(1, 1);
  B.GetCanvas()->SetPixel(0, 0, clBtnFace);
  EXPECT_EQ(B.GetCanvas()->GetPixel(0, 0), clSilver);
}

}  // namespace
}  // namespace nuv
