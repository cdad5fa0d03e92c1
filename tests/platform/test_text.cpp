// Text on the canvas with DejaVu fonts: metrics, cell placement, aliased glyphs, styles,
// Windows-1252 characters, clipping and rotation.
#include <gtest/gtest.h>

#include "platform/NUV_Graphics.h"

namespace nuv {
namespace {

// The bounding box of the pixels that are not white; empty when there are none.
TRect Ink(TBitmap& B) {
  TRect r{B.GetWidth(), B.GetHeight(), 0, 0};
  for (int y = 0; y < B.GetHeight(); ++y)
    for (int x = 0; x < B.GetWidth(); ++x)
      if (B.GetCanvas()->GetPixel(x, y) != clWhite) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

struct TextBitmap {
  TBitmap B;
  TCanvas& C;
  TextBitmap(int W, int H) : C(*B.GetCanvas()) {
    B.SetSize(W, H);
    C.GetBrush()->SetStyle(bsClear);
    C.GetFont()->SetColor(clBlack);
  }
};

TEST(Text, FontDefaultsAndSizes) {
  TFont F;
  EXPECT_EQ(F.GetName(), "DejaVu Sans");
  EXPECT_EQ(F.GetSize(), 8);
  EXPECT_EQ(F.GetHeight(), -11);
  F.SetHeight(-16);
  EXPECT_EQ(F.GetSize(), 12);
  F.SetSize(10);
  EXPECT_EQ(F.GetHeight(), -13);
  EXPECT_TRUE(F.GetStyle().empty());
  int changes = 0;
  F.OnChange = [&](TObject*) { ++changes; };
  F.SetSize(10);
  F.SetStyle({fsBold});
  F.SetOrientation(3600 + 450);
  EXPECT_EQ(F.GetOrientation(), 450);
  EXPECT_EQ(changes, 2);
}

TEST(Text, MetricsGrowWithTheTextAndTheCellStays) {
  TCanvas c;  // measuring needs no surface
  EXPECT_EQ(c.TextWidth(""), 0);
  EXPECT_LT(c.TextWidth("a"), c.TextWidth("ab"));
  EXPECT_LT(c.TextWidth("ab"), c.TextWidth("abc"));
  EXPECT_LT(c.TextWidth("iiii"), c.TextWidth("WWWW"));
  const int h = c.TextHeight("x");
  EXPECT_GE(h, 12);
  EXPECT_LE(h, 16);
  EXPECT_EQ(c.TextHeight(""), h);
  EXPECT_EQ(c.TextHeight("\xC9gjpq|"), h);
  EXPECT_EQ(c.TextExtent("abc"), (TSize{c.TextWidth("abc"), h}));
  c.GetFont()->SetSize(16);
  EXPECT_GT(c.TextHeight("x"), h + 6);
  c.GetFont()->SetHeight(30);  // a positive height is the cell height
  EXPECT_EQ(c.TextHeight("x"), 30);
  c.GetFont()->SetSize(16);
  const int regular = c.TextWidth("Hello world");
  c.GetFont()->SetStyle({fsBold});
  EXPECT_GT(c.TextWidth("Hello world"), regular);
  c.GetFont()->SetStyle({});
  c.GetFont()->SetName("DejaVu Sans Mono");
  EXPECT_EQ(c.TextWidth("iiii"), c.TextWidth("WWWW"));
}

TEST(Text, TextOutPutsTheCellTopLeftAtThePoint) {
  TextBitmap t(120, 40);
  const std::string s = "Hgjq";
  const int w = t.C.TextWidth(s), h = t.C.TextHeight(s);
  t.C.TextOut(10, 5, s);
  TRect ink = Ink(t.B);
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Left, 12);
  EXPECT_GE(ink.Top, 5);
  EXPECT_LE(ink.Right, 10 + w);
  EXPECT_LE(ink.Bottom, 5 + h);
  EXPECT_GT(ink.Bottom, 5 + h - 5);  // the descenders reach down into the cell
  EXPECT_EQ(t.C.GetPenPos(), Point(10 + w, 5));
  // One-bit glyphs: only the font colour and the background.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      TColor c = t.C.GetPixel(x, y);
      EXPECT_TRUE(c == clBlack || c == clWhite) << x << "," << y;
    }
}

TEST(Text, ASolidBrushFillsTheCell) {
  TextBitmap t(60, 30);
  t.C.GetBrush()->SetColor(clYellow);
  t.C.GetFont()->SetColor(clRed);
  const int w = t.C.TextWidth("Ab"), h = t.C.TextHeight("Ab");
  t.C.TextOut(3, 4, "Ab");
  int yellow = 0, red = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      TColor c = t.C.GetPixel(x, y);
      bool inCell = x >= 3 && x < 3 + w && y >= 4 && y < 4 + h;
      if (!inCell) {
        EXPECT_EQ(c, clWhite) << x << "," << y;
      }
      yellow += inCell && c == clYellow;
      red += inCell && c == clRed;
    }
  EXPECT_GT(red, 10);
  EXPECT_EQ(yellow + red, w * h);
}

TEST(Text, StylesChangeTheInk) {
  auto ink = [](TFontStyles Style, const std::string& S) {
    TextBitmap t(120, 30);
    t.C.GetFont()->SetStyle(Style);
    t.C.TextOut(2, 2, S);
    int n = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) n += t.C.GetPixel(x, y) == clBlack;
    return std::make_pair(n, Ink(t.B));
  };
  auto [plain, plainBox] = ink({}, "Mill");
  EXPECT_GT(ink({fsBold}, "Mill").first, plain);
  EXPECT_NE(ink({fsItalic}, "Mill").second, plainBox);
  // Underline: a full row of ink below the baseline.
  TextBitmap t(80, 30);
  t.C.GetFont()->SetStyle({fsUnderline});
  t.C.TextOut(2, 2, "ab");
  const int w = t.C.TextWidth("ab");
  bool fullRow = false;
  for (int y = 2; y < 30; ++y) {
    int n = 0;
    for (int x = 2; x < 2 + w; ++x) n += t.C.GetPixel(x, y) == clBlack;
    fullRow = fullRow || n == w;
  }
  EXPECT_TRUE(fullRow);
  EXPECT_GT(ink({fsStrikeOut}, "ab").first, ink({}, "ab").first);
}

TEST(Text, Windows1252CharactersHaveTheirGlyphs) {
  auto inkOf = [](const std::string& S) {
    TextBitmap t(40, 30);
    t.C.TextOut(2, 2, S);
    std::vector<uint32_t> px(t.B.ScanLine(0), t.B.ScanLine(0) + 40 * 30);
    return px;
  };
  EXPECT_NE(inkOf("\xE4"), inkOf("a"));     // a umlaut
  EXPECT_NE(inkOf("\x80"), inkOf("?"));     // euro sign
  EXPECT_NE(inkOf("\xB0"), inkOf(""));      // degree sign
  TCanvas c;
  EXPECT_GT(c.TextWidth("\xB0"), 0);
}

TEST(Text, TextRectClipsAndFills) {
  TextBitmap t(80, 30);
  t.C.GetBrush()->SetColor(clAqua);
  t.C.TextRect(Rect(10, 5, 20, 15), 5, 0, "WWWWWW");
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      bool inside = x >= 10 && x < 20 && y >= 5 && y < 15;
      if (!inside) {
        EXPECT_EQ(t.C.GetPixel(x, y), clWhite) << x << "," << y;
      }
    }
  int black = 0;
  for (int y = 5; y < 15; ++y)
    for (int x = 10; x < 20; ++x) black += t.C.GetPixel(x, y) == clBlack;
  EXPECT_GT(black, 5);
  // The canvas's own clip is back.
  EXPECT_EQ(t.C.GetClipRect(), Rect(0, 0, 80, 30));
}

TEST(Text, RotatedTextLiesAlongItsDirection) {
  const std::string s = "Rotated text";
  TCanvas m;
  const int w = m.TextWidth(s), h = m.TextHeight(s);
  {
    // 90 degrees counter-clockwise: the text runs upwards from (40, 150), its cell to the
    // right of the point, the tops of the letters facing left.
    TextBitmap t(100, 160);
    t.C.GetFont()->SetOrientation(900);
    EXPECT_EQ(t.C.TextWidth(s), w);  // measured unrotated
    t.C.TextOut(40, 150, s);
    TRect ink = Ink(t.B);
    EXPECT_GE(ink.Left, 40 - 1);
    EXPECT_LE(ink.Right, 40 + h + 1);
    EXPECT_LE(ink.Bottom, 150 + 1);
    EXPECT_GE(ink.Top, 150 - w - 1);
    EXPECT_GT(ink.Height(), w - 8);
    EXPECT_LT(ink.Width(), h + 2);
  }
  {
    // 180 degrees: upside down, to the left of and above the point.
    TextBitmap t(160, 60);
    t.C.GetFont()->SetOrientation(1800);
    t.C.TextOut(140, 40, s);
    TRect ink = Ink(t.B);
    EXPECT_LE(ink.Right, 141);
    EXPECT_GE(ink.Left, 140 - w - 1);
    EXPECT_LE(ink.Bottom, 41);
    EXPECT_GE(ink.Top, 40 - h - 1);
    EXPECT_GT(ink.Width(), w - 8);
  }
  {
    // 45 degrees with a solid brush: the filled cell is a slanted band.
    TextBitmap t(160, 160);
    t.C.GetBrush()->SetColor(clYellow);
    t.C.GetFont()->SetOrientation(450);
    t.C.TextOut(20, 130, s);
    EXPECT_EQ(t.C.GetPixel(20 + 2, 130 + 1), clYellow);  // just inside the corner
    const int d = w / 2;
    EXPECT_NE(t.C.GetPixel(20 + d * 7 / 10 + 3, 130 - d * 7 / 10 + 3), clWhite);  // along the base
    EXPECT_EQ(t.C.GetPixel(20 + d, 130), clWhite);  // off the band
  }
}

}  // namespace
}  // namespace nuv
