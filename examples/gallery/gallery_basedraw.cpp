// The base pack's frames and marker symbols.
#include "Gallery.h"
#include "contracts/base/NUV_BaseDraw.h"

namespace nuv::gallery {

namespace {

void BuildBaseDraw(TForm* Form) {
  Form->SetBounds(0, 0, 520, 330);
  static const char* const Names[] = {"frsNone", "frsLine", "frsSunken", "frsRaised", "frsEmbossed", "frsEngraved"};
  Form->OnPaint = [Form](TObject*) {
    TCanvas* C = Form->GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    C->GetFont()->SetColor(clBlack);
    C->GetFont()->SetStyle({fsBold});
    C->TextOut(12, 10, "DrawFrame: the six frame styles");
    C->TextOut(12, 120, "DrawMarkOnCanvas: marker kinds 1 to 47");
    C->GetFont()->SetStyle({});
    for (int i = 0; i < 6; ++i) {
      const int X = 12 + 84 * i;
      DrawFrame(C, static_cast<TFrameStyle>(i), X, 34, X + 75, 84, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000, 0x000000);
      C->TextOut(X + 4, 90, Names[i]);
    }
    C->GetPen()->SetColor(clNavy);
    for (int Kind = 1; Kind <= NrOfMarkKinds; ++Kind) {
      const int Col = (Kind - 1) % 12, Row = (Kind - 1) / 12;
      const int X = 30 + 40 * Col, Y = 160 + 42 * Row;
      DrawMarkOnCanvas(C, Kind, X, Y);
      C->TextOut(X - C->TextWidth(IntToStr(Kind)) / 2, Y + 9, IntToStr(Kind));
    }
  };
}

const bool Registered = RegisterForm("basedraw", BuildBaseDraw);

}  // namespace

}  // namespace nuv::gallery
