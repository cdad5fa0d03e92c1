#include "gui/NUV_NumIO.h"

#include <algorithm>
#include <cmath>

#include "contracts/base/NUV_Base.h"
#include "platform/NUV_Clipbrd.h"
#include "platform/NUV_Forms.h"
#include "platform/NUV_Graphics.h"

namespace nuv {

namespace {

constexpr uintptr_t CaretTimerID = 1;
constexpr unsigned CaretTimerPeriod = 500;
// The characters whose cell height places the texts: ( 8 g ] } and the codes 220, 196, 167.
const std::string HeightSample = "(8g]}\xDC\xC4\xA7";

int Len(const std::string& S) { return static_cast<int>(S.size()); }

// The separator character of a TDecPSep ordinal.
char SeparatorChar(TDecPSep Sep) {
  switch (Sep) {
    case dpsSystem: return DecimalSeparator;
    case dpsComma: return ',';
    default: return '.';
  }
}

}  // namespace

TNumIO2::TNumIO2(TComponent* AOwner)
    : TCustomControl(AOwner), FRangeHigh(uc_MaxDouble), FRangeLow(-uc_MaxDouble) {
  SetBounds(GetLeft(), GetTop(), 160, 28);
  FTimer.Handle = AllocateHWnd([this](TMessage& M) { TimerProc(M); });
  UpdateTimer();
}

TNumIO2::~TNumIO2() = default;

// ---------------------------------------------------------------- timer

void TNumIO2::UpdateTimer() {
  StopTimer();
  if (SetTimer(FTimer.Handle, CaretTimerID, CaretTimerPeriod) == 0)
    throw ENUVNumIO2Error("Component \"" + GetName() + "\": no timer available");
}

void TNumIO2::StopTimer() { KillTimer(FTimer.Handle, CaretTimerID); }

void TNumIO2::TimerProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProc(FTimer.Handle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    if (Focused()) {
      FCaretVisible = !FCaretVisible;
    } else {
      StopTimer();
      FCaretVisible = false;
    }
    Paint();
  } catch (...) {
    Application->HandleException(this);
  }
}

// ---------------------------------------------------------------- property setters

void TNumIO2::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Paint();
}

void TNumIO2::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  Paint();
}

void TNumIO2::SetBeep(bool Value) {
  if (Value == FBeep) return;
  FBeep = Value;
  Paint();
}

void TNumIO2::SetColorBoxBG(TColor Value) {
  if (Value == FColorBoxBG) return;
  FColorBoxBG = Value;
  Paint();
}

void TNumIO2::SetColorBoxText(TColor Value) {
  if (Value == FColorBoxText) return;
  FColorBoxText = Value;
  Paint();
}

void TNumIO2::SetColorOutBG(TColor Value) {
  if (Value == FColorOutBG) return;
  FColorOutBG = Value;
  Paint();
}

void TNumIO2::SetColorOutText(TColor Value) {
  if (Value == FColorOutText) return;
  FColorOutText = Value;
  Paint();
}

void TNumIO2::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  FFrameShadow = Value == csmGray ? TColor(0x808080) : clBtnShadow;
  FFrameHighlight = Value == csmGray ? TColor(0xFFFFFF) : clBtnHighlight;
  Paint();
}

void TNumIO2::SetColorWarnBG(TColor Value) {
  FColorWarnBG = Value;
  Paint();
}

void TNumIO2::SetColorWarnText(TColor Value) {
  FColorWarnText = Value;
  Paint();
}

void TNumIO2::SetDecPlaceSep(TDecPSep Value) {
  if (Value == FDecPlaceSep) return;
  const TDecPSep Old = FDecPlaceSep;
  if (Value != dpsBoth) {
    const char New = SeparatorChar(Value);
    if (Old == dpsBoth) {
      FText = ReplaceCharInString(ReplaceCharInString(FText, '.', New), ',', New);
    } else if (SeparatorChar(Old) != New) {
      FText = ReplaceCharInString(FText, SeparatorChar(Old), New);
    }
  }
  FDecPlaceSep = Value;
  Paint();
}

void TNumIO2::SetEnabled(bool Value) {
  TCustomControl::SetEnabled(Value);
  Refresh();
}

void TNumIO2::SetFixPointDecPlaces(int Value) {
  if (Value < 1) return;
  Value = std::min(Value, 15);
  if (Value == FFixPointDecPlaces) return;
  const double V = GetNioValue();
  FFixPointDecPlaces = Value;
  SetNioValue(V);
}

void TNumIO2::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle) return;
  FFrameStyle = Value;
  Paint();
}

void TNumIO2::SetHideSelection(bool Value) {
  if (Value == FHideSelection) return;
  FHideSelection = Value;
  Paint();
}

void TNumIO2::SetInputFormat(TInFormat Value) {
  if (Value == FInputFormat) return;
  const double V = GetNioValue();
  FInputFormat = Value;
  SetNioValue(V);
}

void TNumIO2::SetLeftSpace(int Value) {
  if (Value < 0 || Value == FLeftSpace) return;
  FLeftSpace = std::min(Value, GetWidth());
  Paint();
}

void TNumIO2::SetLeftText(const std::string& Value) {
  if (Value == FLeftText) return;
  FLeftText = Value;
  Paint();
}

void TNumIO2::SetRightText(const std::string& Value) {
  if (Value == FRightText) return;
  FRightText = Value;
  Paint();
}

void TNumIO2::SetLeftTextAlignment(TAlignment Value) {
  if (Value == FLeftTextAlignment) return;
  FLeftTextAlignment = Value;
  Paint();
}

void TNumIO2::SetRightTextAlignment(TAlignment Value) {
  if (Value == FRightTextAlignment) return;
  FRightTextAlignment = Value;
  Paint();
}

void TNumIO2::SetRangeHigh(double Value) {
  FRangeHigh = Value;
  if (Value < FRangeLow) FRangeLow = Value;
  Paint();
}

void TNumIO2::SetRangeLow(double Value) {
  FRangeLow = Value;
  if (FRangeHigh < Value) FRangeHigh = Value;
  Paint();
}

void TNumIO2::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  if (Value) {
    StopTimer();
    FCaretVisible = false;
  } else {
    UpdateTimer();
  }
  Paint();
}

void TNumIO2::SetText(const std::string& Value) {
  if (!Value.empty() && !CheckValidity(Value)) return;
  FText = Value;
  FCaret = FSelBegin = FSelEnd = 0;
  Paint();
}

void TNumIO2::SetTextBoxWidth(int Value) {
  if (Value == FTextBoxWidth) return;
  FTextBoxWidth = Value;
  Paint();
}

// ---------------------------------------------------------------- value and positions

bool TNumIO2::CheckValidity(const std::string& AText) const {
  return NumIO2IsValidText(AText, FInputFormat, FDecPlaceSep, FFixPointDecPlaces);
}

double TNumIO2::GetNioValue() const { return NumIO2TextValue(FText, FInputFormat); }

void TNumIO2::SetNioValue(double Value) {
  FText = NumIO2ValueText(Value, FInputFormat, FFixPointDecPlaces);
  ClampPositions();
  Paint();
}

void TNumIO2::ClampPositions() {
  FCaret = std::clamp(FCaret, 0, Len(FText));
  FSelBegin = std::clamp(FSelBegin, 0, Len(FText));
  FSelEnd = std::clamp(FSelEnd, 0, Len(FText));
}

void TNumIO2::SetSelBegin(int N) {
  N = std::clamp(N, 0, Len(FText));
  FSelBegin = N;
  FCaret = N;
  if (FSelEnd < N) FSelEnd = N;
  Paint();
}

void TNumIO2::SetSelEnd(int N) {
  N = std::clamp(N, 0, Len(FText));
  FSelEnd = N;
  FCaret = N;
  if (N < FSelBegin) FSelBegin = N;
  Paint();
}

int TNumIO2::CharPosToXCoords(int Pos) {
  TCanvas* C = GetCanvas();
  const int Wk = C->TextWidth(FText.substr(0, static_cast<size_t>(std::clamp(Pos, 0, Len(FText)))));
  const int Wt = C->TextWidth(FText);
  switch (FAlignment) {
    case taLeftJustify: return Wk + FLeftSpace + 4;
    case taRightJustify: return Wk + FLeftSpace + FTextBoxWidth - 2 - Wt;
    default: return Wk + FLeftSpace + 2 + (FTextBoxWidth - Wt) / 2;
  }
}

int TNumIO2::XCoordsToCharPos(int X) {
  if (FText.empty()) return 0;
  const int Wt = GetCanvas()->TextWidth(FText);
  // The average character width; a text narrower than its length counts 1 per character.
  const int C = std::max(Wt / Len(FText), 1);
  int D;
  switch (FAlignment) {
    case taLeftJustify: D = X - FLeftSpace - 3; break;
    case taRightJustify: D = X - FLeftSpace - FTextBoxWidth + 3 + Wt; break;
    default: D = X - FLeftSpace - 1 - (FTextBoxWidth - Wt) / 2; break;
  }
  D = std::clamp(D, 0, Wt);
  return std::min((D + C / 2) / C, Len(FText));
}

void TNumIO2::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- mouse

void TNumIO2::Click() {
  if (CanFocus()) SetFocus();
  if (!FReadOnly) UpdateTimer();
  TCustomControl::Click();
}

void TNumIO2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!FReadOnly) {
    FCaretVisible = true;
    const int P = XCoordsToCharPos(X);
    FCaret = P;
    FSelBegin = P;
    SetSelEnd(P);
    Paint();
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TNumIO2::MouseMove(TShiftState Shift, int X, int Y) {
  if (Shift.contains(ssLeft)) {
    const int P = XCoordsToCharPos(X);
    if (P > FSelBegin)
      SetSelEnd(P);
    else
      SetSelBegin(P);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

// ---------------------------------------------------------------- keys

void TNumIO2::DoBeep() const {
  if (FBeep) MessageBeep(0);
}

void TNumIO2::DeleteSelection() {
  FText.erase(static_cast<size_t>(FSelBegin), static_cast<size_t>(FSelEnd - FSelBegin));
  if (FText.empty()) SetNioValue(0);
  FCaret = FSelEnd = FSelBegin;
}

char TNumIO2::KeyChar(uint16_t Key) const {
  if (Key >= '0' && Key <= '9') {
    if (FShiftDown && Key == '4') return '$';
    if (FShiftDown && Key == '5') return '%';
    if (FShiftDown && Key == '6') return '&';
    return static_cast<char>(Key);
  }
  if (Key >= 'A' && Key <= 'F') return static_cast<char>(Key);
  switch (Key) {
    case VK_OEM_PLUS: return '+';
    case VK_OEM_COMMA: return ',';
    case VK_OEM_MINUS: return '-';
    case VK_OEM_PERIOD: return '.';
    default: return 0;
  }
}

void TNumIO2::CNKeyDown(TWMKey& Message) {
  const uint16_t Key = Message.CharCode;
  if (Key == VK_SHIFT) {
    FShiftDown = true;
    return;
  }
  if (Key == VK_CONTROL) {
    FCtrlDown = true;
    return;
  }
  const bool Copy = FCtrlDown && Key == 'C';
  if (FReadOnly) {
    // A read-only field only copies; it keeps its caret hidden and does not repaint.
    if (Copy && HasSelection())
      Clipboard().SetAsText(FText.substr(static_cast<size_t>(FSelBegin), static_cast<size_t>(FSelEnd - FSelBegin)));
    return;
  }
  const std::string OldText = FText;
  const int OldCaret = FCaret;
  bool IsChanged = false;
  if (FCtrlDown) {
    switch (Key) {
      case 'C':
        if (HasSelection())
          Clipboard().SetAsText(FText.substr(static_cast<size_t>(FSelBegin), static_cast<size_t>(FSelEnd - FSelBegin)));
        break;
      case 'V':
        if (Clipboard().HasFormat(CF_TEXT)) {
          const std::string S = Clipboard().GetAsText();
          FText.insert(static_cast<size_t>(FCaret), S);
          FCaret += Len(S);
          IsChanged = true;
        }
        break;
      case 'X':
        if (HasSelection()) {
          Clipboard().SetAsText(FText.substr(static_cast<size_t>(FSelBegin), static_cast<size_t>(FSelEnd - FSelBegin)));
          DeleteSelection();
          IsChanged = true;
        }
        break;
      default:
        DoBeep();
        break;
    }
  } else {
    switch (Key) {
      case VK_BACK:
        if (HasSelection()) {
          DeleteSelection();
          IsChanged = true;
        } else if (FCaret > 0) {
          FText.erase(static_cast<size_t>(FCaret - 1), 1);
          --FCaret;
          IsChanged = true;
        }
        break;
      case VK_DELETE:
        if (HasSelection()) {
          DeleteSelection();
          IsChanged = true;
        } else if (FCaret < Len(FText)) {
          FText.erase(static_cast<size_t>(FCaret), 1);
          IsChanged = true;
        }
        break;
      case VK_END: FCaret = Len(FText); break;
      case VK_HOME: FCaret = 0; break;
      case VK_LEFT:
      case VK_UP:
        if (FCaret > 0) --FCaret;
        break;
      case VK_RIGHT:
      case VK_DOWN:
        if (FCaret < Len(FText)) ++FCaret;
        break;
      default:
        if (const char Ch = KeyChar(Key)) {
          if (HasSelection()) {
            FText.erase(static_cast<size_t>(FSelBegin), static_cast<size_t>(FSelEnd - FSelBegin));
            FCaret = FSelEnd = FSelBegin;
          }
          FText.insert(static_cast<size_t>(FCaret), 1, Ch);
          ++FCaret;
          IsChanged = true;
        } else {
          DoBeep();
        }
        break;
    }
  }
  if (!FText.empty() && !CheckValidity(FText)) {
    FText = OldText;
    FCaret = OldCaret;
    IsChanged = false;
    DoBeep();
  }
  if (FInputFormat == itFixPoint) {
    if (FCaret > Len(FText) - FFixPointDecPlaces - 1 && FCaret < Len(FText)) {
      // After the decimal point the next digit overwrites the character after the caret.
      FSelBegin = FCaret;
      FSelEnd = FCaret + 1;
    } else if (FCaret >= Len(FText)) {
      FSelBegin = FSelEnd = FCaret;
    } else {
      FSelBegin = FSelEnd;
    }
  }
  FCaretVisible = true;
  if (IsChanged) Changed();
  Paint();
}

void TNumIO2::CNKeyUp(TWMKey& Message) {
  if (Message.CharCode == VK_SHIFT) FShiftDown = false;
  if (Message.CharCode == VK_CONTROL) FCtrlDown = false;
}

// ---------------------------------------------------------------- assign

void TNumIO2::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TNumIO2*>(Source);
  if (!S) {
    TCustomControl::Assign(Source);
    return;
  }
  FLeftSpace = S->FLeftSpace;
  FTextBoxWidth = S->FTextBoxWidth;
  FFixPointDecPlaces = S->FFixPointDecPlaces;
  FLeftText = S->FLeftText;
  FRightText = S->FRightText;
  FFrameStyle = S->FFrameStyle;
  FAlignment = S->FAlignment;
  FRightTextAlignment = S->FRightTextAlignment;
  FLeftTextAlignment = S->FLeftTextAlignment;
  FColorBoxBG = S->FColorBoxBG;
  FColorBoxText = S->FColorBoxText;
  FColorOutBG = S->FColorOutBG;
  FColorOutText = S->FColorOutText;
  FFrameShadow = S->FFrameShadow;
  FFrameHighlight = S->FFrameHighlight;
  FFrameDark = S->FFrameDark;
  FColorScheme = S->FColorScheme;
  FInputFormat = S->FInputFormat;
  FText = S->FText;
  FCaret = S->FCaret;
  FCaretVisible = S->FCaretVisible;
  FColorWarnBG = S->FColorWarnBG;
  FColorWarnText = S->FColorWarnText;
  FSelBegin = S->FSelBegin;
  FSelEnd = S->FSelEnd;
  FDecPlaceSep = S->FDecPlaceSep;
  FShiftDown = S->FShiftDown;
  FCtrlDown = S->FCtrlDown;
  FHideSelection = S->FHideSelection;
  FRangeHigh = S->FRangeHigh;
  FRangeLow = S->FRangeLow;
  FBeep = S->FBeep;
  FReadOnly = S->FReadOnly;
  FAutoSize = S->FAutoSize;
  Paint();
}

void TNumIO2::AssignTo(TPersistent* Dest) {
  if (auto* D = dynamic_cast<TNumIO2*>(Dest)) {
    D->Assign(this);
    return;
  }
  TCustomControl::AssignTo(Dest);
}

// ---------------------------------------------------------------- paint

bool TNumIO2::IsOutOfRange() const {
  const double V = GetNioValue();
  return std::isnan(V) || V < FRangeLow || V > FRangeHigh;
}

void TNumIO2::Paint() {
  if (!GetVisible() && !GetComponentState().contains(csDesigning)) return;
  const int H0 = GetHeight();
  const int Q = H0 - 4;
  TBitmap Bmp;
  TCanvas* C = Bmp.GetCanvas();
  C->SetFont(GetFont());
  if (FAutoSize) SetHeight(C->TextHeight("E0") + 6);
  const int W = GetWidth(), H = GetHeight();
  Bmp.SetSize(W, H);
  const int Th = C->TextHeight(HeightSample);
  const int Ty = (H - Th) / 2;
  const int LS = FLeftSpace, TBW = FTextBoxWidth;
  const bool Enabled = GetEnabled();

  // 1. Background.
  C->GetPen()->SetColor(FColorOutBG);
  C->GetBrush()->SetColor(FColorOutBG);
  C->Rectangle(0, 0, W, H);

  // 2, 3. Left and right texts; disabled ones engraved in white and grey.
  auto SideText = [&](const std::string& S, int X) {
    if (Enabled) {
      C->GetFont()->SetColor(FColorOutText);
      C->TextOut(X, Ty, S);
      return;
    }
    C->GetBrush()->SetStyle(bsClear);
    C->GetFont()->SetColor(clWhite);
    C->TextOut(X + 1, Ty + 1, S);
    C->GetFont()->SetColor(0x808080);
    C->TextOut(X, Ty, S);
  };
  const int WL = C->TextWidth(FLeftText), WR = C->TextWidth(FRightText);
  switch (FLeftTextAlignment) {
    case taLeftJustify: SideText(FLeftText, 7); break;
    case taRightJustify: SideText(FLeftText, LS - WL - 5); break;
    default: SideText(FLeftText, (LS - WL) / 2); break;
  }
  switch (FRightTextAlignment) {
    case taLeftJustify: SideText(FRightText, LS + TBW + 7); break;
    case taRightJustify: SideText(FRightText, W - WR - 6); break;
    default: SideText(FRightText, (W - LS - TBW - WR) / 2 + LS + TBW + 1); break;
  }

  // 4, 5. Box pen and brush.
  if (FFrameStyle == frsNone)
    C->GetPen()->SetColor(Enabled ? FColorBoxBG : clSilver);
  else if (FFrameStyle == frsEmbossed)
    C->GetPen()->SetColor(FFrameHighlight);
  else
    C->GetPen()->SetColor(FFrameShadow);
  const bool OutOfRange = IsOutOfRange();
  if (OutOfRange) {
    C->GetBrush()->SetColor(FColorWarnBG);
    if (FFrameStyle == frsNone && Enabled) C->GetPen()->SetColor(FColorWarnBG);
  } else {
    C->GetBrush()->SetColor(FColorBoxBG);
  }
  if (!Enabled) C->GetBrush()->SetColor(clSilver);

  // 6. Box.
  if (FFrameStyle == frsNone || FFrameStyle == frsLine) {
    C->Rectangle(LS, 0, LS + TBW + 2, H);
  } else {
    C->Rectangle(LS, 0, LS + TBW + 2, H - 1);
    TColor UpperLeft, LowerRight;
    switch (FFrameStyle) {
      case frsSunken: UpperLeft = FFrameDark; LowerRight = FFrameHighlight; break;
      case frsRaised: UpperLeft = FFrameHighlight; LowerRight = FFrameDark; break;
      case frsEmbossed: UpperLeft = LowerRight = FFrameShadow; break;
      default: UpperLeft = LowerRight = FFrameHighlight; break;
    }
    C->GetPen()->SetColor(UpperLeft);
    C->Polyline({{LS + 1, Q + 1}, {LS + 1, 1}, {LS + TBW + 1, 1}});
    C->GetPen()->SetColor(LowerRight);
    C->Polyline({{LS + 1, Q + 3}, {LS + TBW + 2, Q + 3}, {LS + TBW + 2, 0}});
  }

  // 7. Number text.
  C->GetFont()->SetColor(!Enabled ? TColor(0x808080) : OutOfRange ? FColorWarnText : FColorBoxText);
  const int Wt = C->TextWidth(FText);
  const int Wc = C->TextWidth(FText.substr(0, static_cast<size_t>(std::clamp(FCaret, 0, Len(FText)))));
  int X, K;
  switch (FAlignment) {
    case taLeftJustify: X = LS + 4; K = Wc + 3; break;
    case taRightJustify: X = LS + TBW - 2 - Wt; K = TBW - 3 - Wt + Wc; break;
    default: X = LS + 2 + (TBW - Wt) / 2; K = Wc + 1 + (TBW - Wt) / 2; break;
  }
  C->TextRect(Rect(LS + 3, 2, LS + TBW - 1, Q + 1), X, Ty, FText);

  // 8. Caret.
  if (K > 0 && K < TBW && FCaretVisible) {
    C->GetPen()->SetColor(clBlack);
    C->MoveTo(LS + K, 3);
    C->LineTo(LS + K, H - 3);
  }

  // 9. Selection, inverted.
  if (HasSelection() && (Focused() || !FHideSelection)) {
    const int X1 = std::clamp(CharPosToXCoords(FSelBegin), LS, LS + TBW);
    const int X2 = std::clamp(CharPosToXCoords(FSelEnd), LS, LS + TBW);
    const TRect R = Rect(X1, 3, X2, H - 3);
    C->SetCopyMode(cmNotSrcCopy);
    C->CopyRect(R, C, R);
    C->SetCopyMode(cmSrcCopy);
  }

  // 10. Onto the control in one copy.
  GetCanvas()->SetCopyMode(cmSrcCopy);
  GetCanvas()->Draw(0, 0, &Bmp);
}

}  // namespace nuv
