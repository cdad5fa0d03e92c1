#include "platform/NUV_Input.h"

#include <cstdlib>

#include "platform/NUV_Forms.h"
#include "platform/NUV_SysUtils.h"

namespace nuv {

namespace {

TInput GInput;

// The key and shift that make a character on a US keyboard; false for none.
bool CharToKey(char Ch, uint16_t& Key, bool& Shift) {
  static const char* const Digits = ")!@#$%^&*(";
  struct TPair { uint16_t Key; char Plain, Shifted; };
  static const TPair Punct[] = {
      {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'},
      {VK_OEM_MINUS, '-', '_'},  {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
      {VK_OEM_3, '`', '~'},      {VK_OEM_4, '[', '{'},    {VK_OEM_5, '\\', '|'},
      {VK_OEM_6, ']', '}'},      {VK_OEM_7, '\'', '"'}};
  Shift = false;
  if (Ch >= 'a' && Ch <= 'z') { Key = static_cast<uint16_t>(Ch - 'a' + 'A'); return true; }
  if (Ch >= 'A' && Ch <= 'Z') { Key = static_cast<uint16_t>(Ch); Shift = true; return true; }
  if (Ch >= '0' && Ch <= '9') { Key = static_cast<uint16_t>(Ch); return true; }
  for (int i = 0; i < 10; ++i)
    if (Digits[i] == Ch) { Key = static_cast<uint16_t>('0' + i); Shift = true; return true; }
  for (const TPair& P : Punct) {
    if (P.Plain == Ch) { Key = P.Key; return true; }
    if (P.Shifted == Ch) { Key = P.Key; Shift = true; return true; }
  }
  switch (Ch) {
    case ' ': Key = VK_SPACE; return true;
    case '\r': Key = VK_RETURN; return true;
    case '\t': Key = VK_TAB; return true;
    case '\b': Key = VK_BACK; return true;
    case 27: Key = VK_ESCAPE; return true;
    default: return false;
  }
}

// The character a key makes (0 for none), US layout.
char KeyToChar(uint16_t Key, bool Shift, bool Ctrl, bool Alt) {
  if (Alt) return 0;
  if (Key >= 'A' && Key <= 'Z') {
    if (Ctrl) return static_cast<char>(Key - 'A' + 1);
    return static_cast<char>(Shift ? Key : Key - 'A' + 'a');
  }
  if (Ctrl) return 0;
  if (Key >= '0' && Key <= '9') return Shift ? ")!@#$%^&*("[Key - '0'] : static_cast<char>(Key);
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return static_cast<char>('0' + Key - VK_NUMPAD0);
  switch (Key) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_TAB: return '\t';
    case VK_BACK: return '\b';
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    default: break;
  }
  uint16_t K;
  bool S;
  for (int c = 33; c < 127; ++c)
    if (CharToKey(static_cast<char>(c), K, S) && K == Key && K >= VK_OEM_1 && S == Shift) return static_cast<char>(c);
  return 0;
}

unsigned DownMessage(TMouseButton B, bool Double) {
  switch (B) {
    case mbLeft: return Double ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    case mbRight: return Double ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    default: return Double ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
  }
}

unsigned UpMessage(TMouseButton B) {
  switch (B) {
    case mbLeft: return WM_LBUTTONUP;
    case mbRight: return WM_RBUTTONUP;
    default: return WM_MBUTTONUP;
  }
}

// The deepest control at P (client coordinates of W) that takes mouse input.
TControl* DeepestAt(TWinControl* W, TPoint P) {
  for (;;) {
    if (!W->GetEnabled()) return nullptr;
    TControl* C = W->ControlAtPos(P, true);
    if (!C) return W;
    auto* Child = dynamic_cast<TWinControl*>(C);
    if (!Child) {
      if (C->GetEnabled()) return C;
      C = W->ControlAtPos(P, false);
      return C && !dynamic_cast<TWinControl*>(C) ? C : W;
    }
    P = Point(P.X - Child->GetLeft(), P.Y - Child->GetTop());
    W = Child;
  }
}

}  // namespace

TInput* const Input = &GInput;

TShiftState TInput::GetShiftState() const {
  TShiftState S;
  if (FShift) S.include(ssShift);
  if (FAlt) S.include(ssAlt);
  if (FCtrl) S.include(ssCtrl);
  if (FLeft) S.include(ssLeft);
  if (FRight) S.include(ssRight);
  if (FMiddle) S.include(ssMiddle);
  return S;
}

void TInput::Reset() {
  FShift = FCtrl = FAlt = false;
  FLeft = FRight = FMiddle = false;
  FLastDownControl = nullptr;
  FLastWasDouble = false;
  SetCaptureControl(nullptr);
}

void TInput::ControlDestroyed(TControl* Control) {
  if (FMouseControl == Control) FMouseControl = nullptr;
  if (FLastDownControl == Control) FLastDownControl = nullptr;
  if (FKeyTarget == Control) FKeyTarget = nullptr;
}

TControl* TInput::Target(int X, int Y) const {
  if (TControl* C = GetCaptureControl()) return C;
  TForm* Modal = Screen->GetModalForm();
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TForm* F = Screen->Forms(i);
    if (!F->GetVisible() || !PtInRect(F->GetBoundsRect(), Point(X, Y))) continue;
    if (Modal && F != Modal) return nullptr;
    return DeepestAt(F, F->ScreenToClient(Point(X, Y)));
  }
  return nullptr;
}

void TInput::SendMouse(TControl* Control, unsigned Msg, int X, int Y) {
  const TPoint P = Control->ScreenToClient(Point(X, Y));
  TWMMouse M;
  M.Msg = Msg;
  M.Keys = GetShiftState();
  M.XPos = P.X;
  M.YPos = P.Y;
  try {
    Control->MouseMessage(M);
  } catch (...) {
    Application->HandleException(Control);
  }
}

void TInput::TrackMouseControl(int X, int Y) {
  FCursorPos = Point(X, Y);
  TControl* Under = nullptr;
  {
    // The control under the mouse, whatever holds the capture.
    TControl* Capture = GetCaptureControl();
    SetCaptureControl(nullptr);
    Under = Target(X, Y);
    SetCaptureControl(Capture);
  }
  if (Under == FMouseControl) return;
  TControl* Old = FMouseControl;
  FMouseControl = Under;
  if (Old) SendMouse(Old, CM_MOUSELEAVE, X, Y);
  if (Under && Under == FMouseControl) SendMouse(Under, CM_MOUSEENTER, X, Y);
}

void TInput::MouseMove(int X, int Y) {
  TrackMouseControl(X, Y);
  if (TControl* C = Target(X, Y)) SendMouse(C, WM_MOUSEMOVE, X, Y);
}

void TInput::MouseDown(TMouseButton Button, int X, int Y) {
  if (FCursorPos != Point(X, Y)) MouseMove(X, Y);
  (Button == mbLeft ? FLeft : Button == mbRight ? FRight : FMiddle) = true;
  TControl* C = Target(X, Y);
  if (!C) return;
  if (TForm* Form = GetParentForm(C); Form && !Form->IsActive()) Form->Activate();
  const int64_t Now = GetTickCount64();
  const bool Double = !FLastWasDouble && FLastDownControl == C && FLastDownButton == Button &&
                      Now - FLastDownTime <= FDoubleClickTime && std::abs(X - FLastDownPos.X) <= 2 &&
                      std::abs(Y - FLastDownPos.Y) <= 2 && C->GetControlStyle().contains(csDoubleClicks);
  FLastDownControl = C;
  FLastDownButton = Button;
  FLastDownTime = Now;
  FLastDownPos = Point(X, Y);
  FLastWasDouble = Double;
  SendMouse(C, DownMessage(Button, Double), X, Y);
}

void TInput::MouseUp(TMouseButton Button, int X, int Y) {
  if (FCursorPos != Point(X, Y)) MouseMove(X, Y);
  (Button == mbLeft ? FLeft : Button == mbRight ? FRight : FMiddle) = false;
  if (TControl* C = Target(X, Y)) SendMouse(C, UpMessage(Button), X, Y);
}

void TInput::Click(int X, int Y, TMouseButton Button) {
  MouseDown(Button, X, Y);
  MouseUp(Button, X, Y);
}

void TInput::DblClick(int X, int Y) {
  Click(X, Y);
  Click(X, Y);
}

void TInput::MouseMove(TControl* Control, int X, int Y) {
  const TPoint P = Control->ClientToScreen(Point(X, Y));
  MouseMove(P.X, P.Y);
}

void TInput::MouseDown(TControl* Control, TMouseButton Button, int X, int Y) {
  const TPoint P = Control->ClientToScreen(Point(X, Y));
  MouseDown(Button, P.X, P.Y);
}

void TInput::MouseUp(TControl* Control, TMouseButton Button, int X, int Y) {
  const TPoint P = Control->ClientToScreen(Point(X, Y));
  MouseUp(Button, P.X, P.Y);
}

void TInput::Click(TControl* Control, int X, int Y, TMouseButton Button) {
  const TPoint P = Control->ClientToScreen(Point(X, Y));
  Click(P.X, P.Y, Button);
}

void TInput::DblClick(TControl* Control, int X, int Y) {
  const TPoint P = Control->ClientToScreen(Point(X, Y));
  DblClick(P.X, P.Y);
}

TWinControl* TInput::KeyTarget() const {
  if (TWinControl* C = FindFocusedControl()) return C;
  return Screen->GetActiveForm();
}

void TInput::SendKey(TWinControl* Control, unsigned Msg, uint16_t Code, bool& Handled) {
  TWMKey M;
  M.Msg = Msg;
  M.CharCode = Code;
  try {
    Control->KeyMessage(M);
  } catch (...) {
    Application->HandleException(Control);
  }
  Handled = M.Result != 0;
}

void TInput::KeyDown(uint16_t Key) {
  if (Key == VK_SHIFT) FShift = true;
  if (Key == VK_CONTROL) FCtrl = true;
  if (Key == VK_MENU) FAlt = true;
  FKeyTarget = KeyTarget();
  bool Handled = false;
  if (FKeyTarget) SendKey(FKeyTarget, CN_KEYDOWN, Key, Handled);
  if (FKeyTarget && !Handled) SendKey(FKeyTarget, WM_KEYDOWN, Key, Handled);
  const char Ch = KeyToChar(Key, FShift, FCtrl, FAlt);
  if (FKeyTarget && !Handled && Ch != 0) SendKey(FKeyTarget, WM_CHAR, static_cast<uint8_t>(Ch), Handled);
  FKeyTarget = nullptr;
}

void TInput::KeyUp(uint16_t Key) {
  if (Key == VK_SHIFT) FShift = false;
  if (Key == VK_CONTROL) FCtrl = false;
  if (Key == VK_MENU) FAlt = false;
  FKeyTarget = KeyTarget();
  bool Handled = false;
  if (FKeyTarget) SendKey(FKeyTarget, CN_KEYUP, Key, Handled);
  if (FKeyTarget && !Handled) SendKey(FKeyTarget, WM_KEYUP, Key, Handled);
  FKeyTarget = nullptr;
}

void TInput::PressKey(uint16_t Key, TShiftState Shift) {
  const uint16_t Mods[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
  const TShiftStateItem Items[] = {ssShift, ssCtrl, ssAlt};
  for (int i = 0; i < 3; ++i)
    if (Shift.contains(Items[i])) KeyDown(Mods[i]);
  KeyDown(Key);
  KeyUp(Key);
  for (int i = 2; i >= 0; --i)
    if (Shift.contains(Items[i])) KeyUp(Mods[i]);
}

void TInput::TypeText(const std::string& Text) {
  for (char Ch : Text) {
    uint16_t Key;
    bool Shift;
    if (CharToKey(Ch, Key, Shift)) {
      const bool WasShift = FShift;
      if (Shift && !WasShift) KeyDown(VK_SHIFT);
      if (!Shift && WasShift) KeyUp(VK_SHIFT);
      KeyDown(Key);
      KeyUp(Key);
      if (Shift && !WasShift) KeyUp(VK_SHIFT);
      if (!Shift && WasShift) KeyDown(VK_SHIFT);
      continue;
    }
    if (TWinControl* C = KeyTarget()) {
      bool Handled;
      SendKey(C, WM_CHAR, static_cast<uint8_t>(Ch), Handled);
    }
  }
}

}  // namespace nuv
