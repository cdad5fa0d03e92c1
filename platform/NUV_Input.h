// Mouse and keyboard input of the platform layer.
//
// Input arrives here, from a window backend or from a program or test driving the
// headless platform, and goes to the controls along one path:
// - Mouse: the message goes to the control holding the capture, else to the topmost
//   enabled control under the point on the topmost shown form (a disabled windowed control
//   swallows it; while a form is modal, other forms get nothing). A button press captures
//   the mouse for controls with csCaptureMouse until the buttons are released. A second
//   press of the same button on the same control within the double-click time (500 ms of
//   the process clock at first) and within 2 pixels becomes a double-click message; a third
//   press starts over. The control under the mouse gets CM_MOUSEENTER and CM_MOUSELEAVE.
//   A press activates the form it lands on; it does not move the focus by itself: a
//   control that wants the focus when clicked calls SetFocus (as TNumIO2 does in Click).
// - Keys: Shift, Ctrl and Alt are keys of their own; their state forms the shift state
//   together with the mouse buttons. A key goes to the focused control (else the active
//   form): CN_KEYDOWN first; unless handled, WM_KEYDOWN (KeyDown, OnKeyDown); unless the
//   key was zeroed, the character it makes (US layout) as WM_CHAR (KeyPress, OnKeyPress).
//   A key release gives CN_KEYUP, then WM_KEYUP.
// Exceptions raised by handlers go to Application->HandleException, as in the message loop.
// Deferred paints wait for the message loop (Application->ProcessMessages()).
#pragma once

#include <cstdint>
#include <string>

#include "platform/NUV_Controls.h"

namespace nuv {

class TInput {
 public:
  // At screen coordinates (a form's client area starts at its Left, Top).
  void MouseMove(int X, int Y);
  void MouseDown(TMouseButton Button, int X, int Y);
  void MouseUp(TMouseButton Button, int X, int Y);
  // Press and release at the point.
  void Click(int X, int Y, TMouseButton Button = mbLeft);
  // Two clicks at the same point and the same clock time.
  void DblClick(int X, int Y);

  // The same at a point of a control's client area.
  void MouseMove(TControl* Control, int X, int Y);
  void MouseDown(TControl* Control, TMouseButton Button, int X, int Y);
  void MouseUp(TControl* Control, TMouseButton Button, int X, int Y);
  void Click(TControl* Control, int X, int Y, TMouseButton Button = mbLeft);
  void DblClick(TControl* Control, int X, int Y);

  void KeyDown(uint16_t Key);
  void KeyUp(uint16_t Key);
  // The modifiers of Shift (ssShift, ssCtrl, ssAlt) go down, the key goes down and up,
  // then the modifiers go up again.
  void PressKey(uint16_t Key, TShiftState Shift = {});
  // Each character as the key presses that make it on a US keyboard; a character no key
  // makes arrives as WM_CHAR alone.
  void TypeText(const std::string& Text);

  // The modifiers held and the mouse buttons down.
  TShiftState GetShiftState() const;
  TPoint GetCursorPos() const { return FCursorPos; }
  // The control under the mouse at the last mouse message.
  TControl* GetMouseControl() const { return FMouseControl; }
  int GetDoubleClickTime() const { return FDoubleClickTime; }
  void SetDoubleClickTime(int MilliSeconds) { FDoubleClickTime = MilliSeconds; }
  // Lets all keys and buttons go without sending messages (for a fresh start in tests).
  void Reset();

  // Called by a control's destructor.
  void ControlDestroyed(TControl* Control);

 private:
  TControl* Target(int X, int Y) const;
  void TrackMouseControl(int X, int Y);
  void SendMouse(TControl* Control, unsigned Msg, int X, int Y);
  void SendKey(TWinControl* Control, unsigned Msg, uint16_t Code, bool& Handled);
  TWinControl* KeyTarget() const;

  TPoint FCursorPos;
  TControl* FMouseControl = nullptr;
  bool FShift = false, FCtrl = false, FAlt = false;
  bool FLeft = false, FRight = false, FMiddle = false;
  int FDoubleClickTime = 500;
  // The last press, for the double-click synthesis.
  TControl* FLastDownControl = nullptr;
  TMouseButton FLastDownButton = mbLeft;
  int64_t FLastDownTime = 0;
  TPoint FLastDownPos;
  bool FLastWasDouble = false;
  // The control a key is being delivered to (cleared when it is destroyed meanwhile).
  TWinControl* FKeyTarget = nullptr;
};

// The process's input.
extern TInput* const Input;

}  // namespace nuv
