#include "contracts/base/NUV_BaseDraw.h"

#include <algorithm>
#include <vector>

namespace nuv {

namespace {

// Keeps the pen's colour, width and style (and the brush) for the scope, and sets a solid
// pen of width 1.
class TPenScope {
 public:
  explicit TPenScope(TCanvas* C)
      : FCanvas(C),
        FColor(C->GetPen()->GetColor()),
        FWidth(C->GetPen()->GetWidth()),
        FStyle(C->GetPen()->GetStyle()),
        FBrushColor(C->GetBrush()->GetColor()),
        FBrushStyle(C->GetBrush()->GetStyle()) {
    C->GetPen()->SetWidth(1);
    C->GetPen()->SetStyle(psSolid);
  }
  ~TPenScope() {
    FCanvas->GetPen()->SetColor(FColor);
    FCanvas->GetPen()->SetWidth(FWidth);
    FCanvas->GetPen()->SetStyle(FStyle);
    FCanvas->GetBrush()->SetColor(FBrushColor);
    FCanvas->GetBrush()->SetStyle(FBrushStyle);
  }
  TPenScope(const TPenScope&) = delete;
  TPenScope& operator=(const TPenScope&) = delete;
  TColor PenColor() const { return FColor; }

 private:
  TCanvas* FCanvas;
  TColor FColor;
  int FWidth;
  TPenStyle FStyle;
  TColor FBrushColor;
  TBrushStyle FBrushStyle;
};

int Sign(int V) { return (V > 0) - (V < 0); }

// A line with both end points, for horizontal, vertical and 45-degree lines.
void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  const int SX = Sign(X2 - X1), SY = Sign(Y2 - Y1);
  C->LineTo(X2 + (SX == 0 && SY == 0 ? 1 : SX), Y2 + SY);
}

// One ring of a 3-D frame: top and left edges in TL, bottom and right edges in BR.
void Ring(TCanvas* C, int L, int T, int R, int B, TColor TL, TColor BR) {
  C->GetPen()->SetColor(TL);
  C->MoveTo(L, B - 1);
  C->LineTo(L, T);
  C->LineTo(R, T);
  C->GetPen()->SetColor(BR);
  C->MoveTo(R, T);
  C->LineTo(R, B);
  C->LineTo(L - 1, B);
}

}  // namespace

void DrawRectangle(TCanvas* Canvas, int L, int T, int R, int B) {
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  if (L == R || T == B) {
    Line(Canvas, L, T, R, B);
    return;
  }
  Canvas->MoveTo(L, T);
  Canvas->LineTo(R, T);
  Canvas->LineTo(R, B);
  Canvas->LineTo(L, B);
  Canvas->LineTo(L, T);
}

void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int L, int T, int R, int B, TColor Highlight,
               TColor Light, TColor Shadow, TColor Dark, TColor LineColor) {
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  TPenScope Scope(Canvas);
  TPen* Pen = Canvas->GetPen();
  switch (Style) {
    case frsNone:
      break;
    case frsLine:
      Pen->SetColor(LineColor);
      DrawRectangle(Canvas, L, T, R, B);
      break;
    case frsSunken:
      Ring(Canvas, L, T, R, B, Shadow, Highlight);
      Ring(Canvas, L + 1, T + 1, R - 1, B - 1, Dark, Light);
      break;
    case frsRaised:
      Ring(Canvas, L, T, R, B, Light, Dark);
      Ring(Canvas, L + 1, T + 1, R - 1, B - 1, Highlight, Shadow);
      break;
    case frsEmbossed:
    case frsEngraved: {
      const bool Ridge = Style == frsEmbossed;
      Pen->SetColor(Ridge ? Shadow : Highlight);
      DrawRectangle(Canvas, L + 1, T + 1, R, B);
      Pen->SetColor(Ridge ? Highlight : Shadow);
      DrawRectangle(Canvas, L, T, R - 1, B - 1);
      break;
    }
  }
}

namespace {

enum TFill : uint8_t { Hollow, Filled };

void Shape(TCanvas* C, TFill Fill) {
  if (Fill == Filled)
    C->GetBrush()->SetColor(C->GetPen()->GetColor());
  else
    C->GetBrush()->SetStyle(bsClear);
}

void Square(TCanvas* C, int X, int Y, int R, TFill Fill) {
  Shape(C, Fill);
  C->Rectangle(X - R, Y - R, X + R + 1, Y + R + 1);
}

void Circle(TCanvas* C, int X, int Y, int R, TFill Fill) {
  Shape(C, Fill);
  C->Ellipse(X - R, Y - R, X + R + 1, Y + R + 1);
}

void Poly(TCanvas* C, std::vector<TPoint> P, TFill Fill) {
  Shape(C, Fill);
  C->Polygon(P);
}

void Plus(TCanvas* C, int X, int Y, int R) {
  Line(C, X - R, Y, X + R, Y);
  Line(C, X, Y - R, X, Y + R);
}

void Cross(TCanvas* C, int X, int Y, int R) {
  Line(C, X - R, Y - R, X + R, Y + R);
  Line(C, X - R, Y + R, X + R, Y - R);
}

void Diamond(TCanvas* C, int X, int Y, int R, TFill Fill) {
  Poly(C, {{X, Y - R}, {X + R, Y}, {X, Y + R}, {X - R, Y}}, Fill);
}

// A triangle pointing in direction D (0 up, 1 down, 2 left, 3 right).
void Triangle(TCanvas* C, int X, int Y, int R, int D, TFill Fill) {
  const int H = R - 1;
  switch (D) {
    case 0: Poly(C, {{X, Y - R}, {X + R, Y + H}, {X - R, Y + H}}, Fill); break;
    case 1: Poly(C, {{X, Y + R}, {X - R, Y - H}, {X + R, Y - H}}, Fill); break;
    case 2: Poly(C, {{X - R, Y}, {X + H, Y - R}, {X + H, Y + R}}, Fill); break;
    default: Poly(C, {{X + R, Y}, {X - H, Y + R}, {X - H, Y - R}}, Fill); break;
  }
}

void Hexagon(TCanvas* C, int X, int Y, TFill Fill) {
  Poly(C, {{X - 2, Y - 4}, {X + 2, Y - 4}, {X + 4, Y}, {X + 2, Y + 4}, {X - 2, Y + 4}, {X - 4, Y}}, Fill);
}

// An arrow of half length 5 pointing in direction D (0 up, 1 down, 2 left, 3 right).
void Arrow(TCanvas* C, int X, int Y, int D) {
  const int DX = D == 2 ? -1 : D == 3 ? 1 : 0, DY = D == 0 ? -1 : D == 1 ? 1 : 0;
  Line(C, X - 5 * DX, Y - 5 * DY, X + 5 * DX, Y + 5 * DY);
  const int TX = X + 5 * DX, TY = Y + 5 * DY;
  // The two strokes of the head, 3 pixels back and 3 to each side.
  Line(C, TX, TY, TX - 3 * DX + 3 * DY, TY - 3 * DY + 3 * DX);
  Line(C, TX, TY, TX - 3 * DX - 3 * DY, TY - 3 * DY - 3 * DX);
}

}  // namespace

void DrawMarkOnCanvas(TCanvas* Canvas, int Kind, int X, int Y) {
  if (Kind < 1 || Kind > NrOfMarkKinds) return;
  TPenScope Scope(Canvas);
  TCanvas* C = Canvas;
  switch (Kind) {
    case 1: Plus(C, X, Y, 3); break;
    case 2: Cross(C, X, Y, 3); break;
    case 3: Plus(C, X, Y, 4); Cross(C, X, Y, 3); break;
    case 4: Square(C, X, Y, 3, Hollow); break;
    case 5: Square(C, X, Y, 3, Filled); break;
    case 6: Circle(C, X, Y, 3, Hollow); break;
    case 7: Circle(C, X, Y, 3, Filled); break;
    case 8: Diamond(C, X, Y, 4, Hollow); break;
    case 9: Diamond(C, X, Y, 4, Filled); break;
    case 10: Triangle(C, X, Y, 4, 0, Hollow); break;
    case 11: Triangle(C, X, Y, 4, 0, Filled); break;
    case 12: Triangle(C, X, Y, 4, 1, Hollow); break;
    case 13: Triangle(C, X, Y, 4, 1, Filled); break;
    case 14: Triangle(C, X, Y, 4, 2, Hollow); break;
    case 15: Triangle(C, X, Y, 4, 2, Filled); break;
    case 16: Triangle(C, X, Y, 4, 3, Hollow); break;
    case 17: Triangle(C, X, Y, 4, 3, Filled); break;
    case 18: Plus(C, X, Y, 5); break;
    case 19: Cross(C, X, Y, 5); break;
    case 20: Plus(C, X, Y, 5); Cross(C, X, Y, 4); break;
    case 21: Square(C, X, Y, 5, Hollow); break;
    case 22: Circle(C, X, Y, 5, Hollow); break;
    case 23: Diamond(C, X, Y, 6, Hollow); break;
    case 24: Triangle(C, X, Y, 5, 0, Hollow); break;
    case 25: Triangle(C, X, Y, 5, 1, Hollow); break;
    case 26: Square(C, X, Y, 3, Hollow); Line(C, X, Y, X, Y); break;
    case 27: Circle(C, X, Y, 3, Hollow); Line(C, X, Y, X, Y); break;
    case 28: Circle(C, X, Y, 4, Hollow); Plus(C, X, Y, 4); break;
    case 29: Circle(C, X, Y, 4, Hollow); Cross(C, X, Y, 2); break;
    case 30: Square(C, X, Y, 3, Hollow); Cross(C, X, Y, 3); break;
    case 31: Square(C, X, Y, 3, Hollow); Plus(C, X, Y, 3); break;
    case 32: Diamond(C, X, Y, 4, Hollow); Plus(C, X, Y, 4); break;
    case 33: Line(C, X - 4, Y, X + 4, Y); break;
    case 34: Line(C, X, Y - 4, X, Y + 4); break;
    case 35: Line(C, X, Y, X, Y); break;
    case 36: Square(C, X, Y, 1, Filled); break;
    case 37: Poly(C, {{X - 4, Y - 4}, {X + 4, Y - 4}, {X - 4, Y + 4}, {X + 4, Y + 4}}, Filled); break;
    case 38: Poly(C, {{X - 4, Y - 4}, {X + 4, Y + 4}, {X + 4, Y - 4}, {X - 4, Y + 4}}, Filled); break;
    case 39: Hexagon(C, X, Y, Hollow); break;
    case 40: Hexagon(C, X, Y, Filled); break;
    case 41: Arrow(C, X, Y, 0); break;
    case 42: Arrow(C, X, Y, 1); break;
    case 43: Arrow(C, X, Y, 2); break;
    case 44: Arrow(C, X, Y, 3); break;
    case 45: Square(C, X, Y, 5, Hollow); Square(C, X, Y, 2, Hollow); break;
    case 46: Circle(C, X, Y, 5, Hollow); Circle(C, X, Y, 2, Hollow); break;
    default: Circle(C, X, Y, 5, Hollow); Circle(C, X, Y, 2, Filled); break;
  }
}

}  // namespace nuv
