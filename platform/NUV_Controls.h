// Controls of the platform layer: TControl, TGraphicControl, TWinControl, TCustomControl,
// virtual key codes, shift states, cursors and the mouse and key messages.
//
// Surfaces. Every windowed control (TWinControl and its descendants) owns a surface, a
// bitmap of its size. A graphic control (TGraphicControl) has none: its canvas draws into
// its parent's surface at the control's offset, clipped to its bounds, so a setter may
// paint at once, outside any paint cycle. A form composes its surface and those of its
// windowed children into one image (TForm::GetFormImage).
//
// Painting. Invalidate only asks for a paint: the application's message loop performs it
// (TApplication::ProcessMessages). Repaint and Refresh paint at once. A windowed control
// paints by filling its surface with Color, calling Paint, then painting its visible
// graphic children in z-order. Controls that are hidden (or whose parents are hidden) are
// not painted by the loop; a form itself is painted whether it is shown or not, so that its
// image can be taken headless.
//
// Parents delete their child controls: a control that has a parent must not also be held
// by a std::unique_ptr.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/NUV_Classes.h"
#include "platform/NUV_Graphics.h"
#include "platform/NUV_Messages.h"
#include "platform/NUV_Types.h"

namespace nuv {

class TWinControl;
class TPopupMenu;

// ---------------------------------------------------------------- keys, shift, cursors

// Virtual key codes. Digits and letters are their upper-case ASCII codes ('0'..'9',
// 'A'..'Z').
constexpr uint16_t VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
                   VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D,
                   VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13,
                   VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21,
                   VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25,
                   VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SELECT = 0x29,
                   VK_PRINT = 0x2A, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D,
                   VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B, VK_RWIN = 0x5C,
                   VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_NUMPAD1 = 0x61, VK_NUMPAD2 = 0x62,
                   VK_NUMPAD3 = 0x63, VK_NUMPAD4 = 0x64, VK_NUMPAD5 = 0x65,
                   VK_NUMPAD6 = 0x66, VK_NUMPAD7 = 0x67, VK_NUMPAD8 = 0x68,
                   VK_NUMPAD9 = 0x69, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C,
                   VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
                   VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75,
                   VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A,
                   VK_F12 = 0x7B, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
                   VK_OEM_1 = 0xBA,       // ";:" on a US keyboard
                   VK_OEM_PLUS = 0xBB,    // "=+"
                   VK_OEM_COMMA = 0xBC,   // ",<"
                   VK_OEM_MINUS = 0xBD,   // "-_"
                   VK_OEM_PERIOD = 0xBE,  // ".>"
                   VK_OEM_2 = 0xBF,       // "/?"
                   VK_OEM_3 = 0xC0,       // "`~"
                   VK_OEM_4 = 0xDB,       // "[{"
                   VK_OEM_5 = 0xDC,       // "\|"
                   VK_OEM_6 = 0xDD,       // "]}"
                   VK_OEM_7 = 0xDE;       // "'\""

enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Cursors: the classic numbers of the standard shapes.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                  crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                  crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                  crSizeAll = -22, crSize = crSizeAll;

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Alignment of a text in its space.
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

// Behaviour switches of a control class.
enum TControlStyleItem : uint8_t {
  csCaptureMouse,  // a button press captures the mouse until the buttons are released
  csClickEvents,   // press and release of the left button inside give Click
  csDoubleClicks,  // a second press in the double-click time gives DblClick (else a press)
  csOpaque,        // the control paints every pixel of its bounds (graphic controls)
};
using TControlStyle = TSet<TControlStyleItem>;

// ---------------------------------------------------------------- messages

// Notification messages to a control itself: the key notifications, sent before the key
// messages, and the mouse entering and leaving the control.
enum : unsigned { CN_KEYDOWN = 0xBD00, CN_KEYUP = 0xBD01, CM_MOUSEENTER = 0xB013, CM_MOUSELEAVE = 0xB014 };

// A mouse message; coordinates are relative to the control that receives it (they may lie
// outside it while the control holds the capture). Keys holds the modifiers and the
// buttons down.
struct TWMMouse {
  unsigned Msg = WM_NULL;
  TShiftState Keys;
  int XPos = 0, YPos = 0;
  intptr_t Result = 0;
};

// A key message: CN_KEYDOWN, CN_KEYUP, WM_KEYDOWN, WM_KEYUP with the virtual key code, or
// WM_CHAR with the character code. A handler sets Result to non-zero to stop further
// handling of the key.
struct TWMKey {
  unsigned Msg = WM_NULL;
  uint16_t CharCode = 0;
  intptr_t Result = 0;
};

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// ---------------------------------------------------------------- TControl

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // Bounds, in the parent's client coordinates.
  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  // Negative sizes count as 0.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  TRect GetClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int GetClientWidth() const { return FWidth; }
  int GetClientHeight() const { return FHeight; }
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;

  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);

  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent visible up to (not including) the form.
  bool IsShowing() const;
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  // The control's font. ParentFont (true at first) follows the parent's font; changing the
  // font clears it.
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor GetColor() const { return FColor; }
  virtual void SetColor(TColor Value);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value) { FPopupMenu = Value; }
  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign Value);
  // Edges of the parent the control keeps its distance to when the parent is resized.
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value) { FAnchors = Value; }
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value) { FParentShowHint = Value; }
  int GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  TControlStyle GetControlStyle() const { return FControlStyle; }

  // Painting: Invalidate asks the message loop for a paint; Repaint and Refresh paint at
  // once; Update performs a paint that is waiting.
  void Invalidate();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void Update();
  // Draws the control's picture. Called by the paint cycle and by the control itself.
  virtual void Paint() {}

  // Hands a mouse message to the control's handlers (the input system's entry).
  void MouseMessage(TWMMouse& Message);

  TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave, OnResize;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 protected:
  friend class TWinControl;
  friend class TGraphicControl;

  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Click();
  virtual void DblClick();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Resize();
  // Called after the font changed (also through ParentFont); asks for a paint.
  virtual void FontChanged();

  // Message handlers: the platform's handling of each mouse message.
  virtual void WMMouseMove(TWMMouse& Message);
  virtual void WMLButtonDown(TWMMouse& Message);
  virtual void WMLButtonUp(TWMMouse& Message);
  virtual void WMLButtonDblClk(TWMMouse& Message);
  virtual void WMRButtonDown(TWMMouse& Message);
  virtual void WMRButtonUp(TWMMouse& Message);
  virtual void WMRButtonDblClk(TWMMouse& Message);
  virtual void WMMButtonDown(TWMMouse& Message);
  virtual void WMMButtonUp(TWMMouse& Message);
  virtual void WMMButtonDblClk(TWMMouse& Message);

  // Called when the bounds changed (the new ones are stored; Old holds the previous).
  virtual void BoundsChanged(const TRect& Old);
  // Called after Visible or the parent changed.
  virtual void ShowingChanged() {}
  bool IsPainting() const { return FPainting; }

  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};

 private:
  void DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Extra);
  void DoMouseUp(TWMMouse& Message, TMouseButton Button);
  void ParentFontChanged();
  void FontChangedHandler();

  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TWinControl* FParent = nullptr;
  bool FVisible = true;
  bool FEnabled = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FFontFromParent = false;
  TColor FColor = clBtnFace;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  int FHelpContext = 0;
  bool FClicked = false;
  bool FPainting = false;
};

// ---------------------------------------------------------------- TGraphicControl

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  // Draws into the parent's surface, clipped to this control; without a parent it draws
  // nothing.
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  // Opaque controls paint themselves; others have their parent repaint.
  void Repaint() override;
  void SetParent(TWinControl* AParent) override;

 protected:
  void BoundsChanged(const TRect& Old) override;
  void FontChanged() override;

 private:
  void UpdateCanvasTarget();
  std::unique_ptr<TCanvas> FCanvas;
};

// ---------------------------------------------------------------- TWinControl

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // Child controls, in z-order (the last is on top).
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const;  // 0-based; raises EListError outside
  bool ContainsControl(const TControl* Control) const;  // child or deeper
  // The topmost visible child at P (client coordinates), nullptr for none. Disabled
  // children count only when AllowDisabled.
  TControl* ControlAtPos(TPoint P, bool AllowDisabled) const;
  void BringToFront(TControl* Control);
  void SendToBack(TControl* Control);

  // The bitmap the control and its graphic children draw on.
  TBitmap* GetSurface() const { return FSurface.get(); }

  // Focus. CanFocus: the control, its parents and its form are visible and enabled.
  // SetFocus raises EInvalidOperation when the control cannot take the focus.
  bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  // Position among the parent's windowed children in the tab sequence.
  int GetTabOrder() const;
  void SetTabOrder(int Value);
  // Lays out the aligned children again.
  void Realign();

  void Repaint() override;

  // Hands a key message to the control's handlers (the input system's entry).
  void KeyMessage(TWMKey& Message);

  TNotifyEvent OnEnter, OnExit;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  friend class TControl;
  friend class TForm;

  // Key notifications, sent first; the default handles Tab (focus moves to the next or,
  // with Shift, the previous control of the form) and leaves other keys to the key
  // messages.
  virtual void CNKeyDown(TWMKey& Message);
  virtual void CNKeyUp(TWMKey& Message);
  // The key messages: they call KeyDown, KeyUp and KeyPress.
  virtual void WMKeyDown(TWMKey& Message);
  virtual void WMKeyUp(TWMKey& Message);
  virtual void WMChar(TWMKey& Message);
  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // Lays out the children with Align in Rect (client coordinates), shrinking it: the top
  // ones in order of Top, then bottom, left, right, and the client one in what is left.
  virtual void AlignControls(TRect& Rect);

  void BoundsChanged(const TRect& Old) override;
  void FontChanged() override;
  void ShowingChanged() override;

  // The canvas of the surface (published by TCustomControl and TForm).
  TCanvas* SurfaceCanvas() const { return FSurface->GetCanvas(); }

 private:
  void InsertControl(TControl* Control);
  void RemoveControl(TControl* Control);
  void AnchorChildren(int OldWidth, int OldHeight);
  void PaintGraphicChildren();
  // Deletes the child controls (a form calls it while it is still whole).
  void DestroyControls();

  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  std::unique_ptr<TBitmap> FSurface;
  bool FTabStop = false;
  bool FDestroying = false;
  int FAligning = 0;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
  TCanvas* GetCanvas() const { return SurfaceCanvas(); }
};

// The control that holds the mouse capture (nullptr for none).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control that has the focus: the active form's active control (nullptr for none).
TWinControl* FindFocusedControl();

// Paints waiting for the message loop, performed by TApplication::ProcessMessages.
bool HasPaintRequests();
void ProcessPaintRequests();
// Performs the waiting paints of Control and everything inside it.
void ProcessPaintRequests(TControl* Root);

}  // namespace nuv
