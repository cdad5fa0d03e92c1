// Numeric input fields: TNumIO2, a field that draws itself completely (a left text, an
// input box and a right text in one control).
//
// TNumIO2 accepts only text that is valid in its number format while the user types: each
// key gives a candidate text that is refused (optionally with a beep) when it is not
// valid. The box shows warning colours while the value lies outside RangeLow..RangeHigh.
// The field draws its own caret, which blinks from a 500 ms timer on a private message
// window, and its own selection. Every change repaints the whole control at once.
#pragma once

#include <cstdint>
#include <string>

#include "common/NUV_NumFormats.h"
#include "contracts/base/NUV_BaseTypes.h"
#include "platform/NUV_Controls.h"
#include "platform/NUV_Messages.h"

namespace nuv {

NUV_EXCEPTION(ENUVNumIO2Error, ENUVError)

class TNumIO2 : public TCustomControl {
 public:
  explicit TNumIO2(TComponent* AOwner);
  ~TNumIO2() override;

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // When true, each paint sets the height to the font's height of "E0" plus 6.
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  // Beep on refused keys.
  bool GetBeep() const { return FBeep; }
  void SetBeep(bool Value);
  TColor GetColorBoxBG() const { return FColorBoxBG; }
  void SetColorBoxBG(TColor Value);
  TColor GetColorBoxText() const { return FColorBoxText; }
  void SetColorBoxText(TColor Value);
  TColor GetColorOutBG() const { return FColorOutBG; }
  void SetColorOutBG(TColor Value);
  TColor GetColorOutText() const { return FColorOutText; }
  void SetColorOutText(TColor Value);
  // csmGray: frame shadow $808080 and highlight $FFFFFF; otherwise the system's button
  // shadow and highlight colours.
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  // Box colours while the value is out of range (set and painted even when unchanged).
  TColor GetColorWarnBG() const { return FColorWarnBG; }
  void SetColorWarnBG(TColor Value);
  TColor GetColorWarnText() const { return FColorWarnText; }
  void SetColorWarnText(TColor Value);
  // Converts the separators in the text to the new one (dpsBoth only stores).
  TDecPSep GetDecPlaceSep() const { return FDecPlaceSep; }
  void SetDecPlaceSep(TDecPSep Value);
  // Stores, applies the platform's enabled state and repaints (also when unchanged).
  void SetEnabled(bool Value) override;
  // 1..15 (larger values become 15, smaller ones are ignored); the value is written again
  // with the new count.
  int GetFixPointDecPlaces() const { return FFixPointDecPlaces; }
  void SetFixPointDecPlaces(int Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  // When true, the selection shows only while the field has the focus.
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // Reads the value in the old format and writes it back in the new one.
  TInFormat GetInputFormat() const { return FInputFormat; }
  void SetInputFormat(TInFormat Value);
  // The x of the box's left edge (negative values are ignored; at most Width).
  int GetLeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int Value);
  const std::string& GetLeftText() const { return FLeftText; }
  void SetLeftText(const std::string& Value);
  const std::string& GetRightText() const { return FRightText; }
  void SetRightText(const std::string& Value);
  TAlignment GetLeftTextAlignment() const { return FLeftTextAlignment; }
  void SetLeftTextAlignment(TAlignment Value);
  TAlignment GetRightTextAlignment() const { return FRightTextAlignment; }
  void SetRightTextAlignment(TAlignment Value);
  // A new high below RangeLow pulls RangeLow down to it, a new low above RangeHigh pulls
  // RangeHigh up; both paint even when unchanged.
  double GetRangeHigh() const { return FRangeHigh; }
  void SetRangeHigh(double Value);
  double GetRangeLow() const { return FRangeLow; }
  void SetRangeLow(double Value);
  // True stops the caret timer and hides the caret; false starts the timer again.
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Accepted when empty or valid in the format, otherwise ignored. On acceptance the caret
  // and the selection go to 0 and the field paints.
  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);
  int GetTextBoxWidth() const { return FTextBoxWidth; }
  void SetTextBoxWidth(int Value);
  double GetValue() const { return GetNioValue(); }
  void SetValue(double Value) { SetNioValue(Value); }

  // The frame colours.
  TColor GetFrameShadowColor() const { return FFrameShadow; }
  TColor GetFrameHighlightColor() const { return FFrameHighlight; }

  // The caret stands before character CaretPos + 1; the selected characters are
  // SelBegin + 1 .. SelEnd (a selection exists while SelBegin < SelEnd).
  int GetCaretPos() const { return FCaret; }
  int GetSelBegin() const { return FSelBegin; }
  int GetSelEnd() const { return FSelEnd; }
  bool GetCaretVisible() const { return FCaretVisible; }

  bool CheckValidity(const std::string& AText) const;
  double GetNioValue() const;
  // Replaces the text by the format's text of Value (no validity check, no OnChange);
  // caret and selection are kept within the new text; paints.
  void SetNioValue(double Value);
  // Clamp N to the text; selection begin (or end) and caret := N, the other end follows
  // when needed; paints.
  void SetSelBegin(int N);
  void SetSelEnd(int N);
  // x of the boundary before character Pos + 1, and the caret position nearest to x.
  int CharPosToXCoords(int Pos);
  int XCoordsToCharPos(int X);
  // Stops the caret timer and starts it again; raises ENUVNumIO2Error when the platform
  // refuses the timer.
  void UpdateTimer();
  // Fires OnChange.
  void Changed();

  // From another TNumIO2: everything but the timer window and Enabled, then paints.
  void Assign(TPersistent* Source) override;
  void Paint() override;

  // Fired after a key press that changed the text.
  TNotifyEvent OnChange;

 protected:
  // Hands over to another TNumIO2 (or a descendant); anything else raises EConvertError.
  void AssignTo(TPersistent* Dest) override;
  void Click() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CNKeyDown(TWMKey& Message) override;
  void CNKeyUp(TWMKey& Message) override;

 private:
  // The private message window of the caret timer, freed with the field.
  struct TTimerWindow {
    HWND Handle = nullptr;
    ~TTimerWindow() { DeallocateHWnd(Handle); }
  };

  void TimerProc(TMessage& Message);
  void StopTimer();
  void DoBeep() const;
  bool HasSelection() const { return FSelBegin < FSelEnd; }
  // Deletes the selection; an emptied text becomes the format's zero. Caret and selection
  // end go to the selection begin.
  void DeleteSelection();
  void ClampPositions();
  bool IsOutOfRange() const;
  // The character a key gives, 0 for a key that gives none.
  char KeyChar(uint16_t Key) const;

  std::string FText;
  int FCaret = 0, FSelBegin = 0, FSelEnd = 0;
  bool FCaretVisible = true;
  bool FShiftDown = false, FCtrlDown = false;
  TTimerWindow FTimer;
  TColor FFrameShadow = 0x808080, FFrameHighlight = 0xFFFFFF, FFrameDark = clBlack;

  TAlignment FAlignment = taCenter;
  bool FAutoSize = false;
  bool FBeep = false;
  TColor FColorBoxBG = 0xFFFFFF, FColorBoxText = clBlack, FColorOutBG = clBtnFace,
         FColorOutText = clBlack, FColorWarnBG = 0x6088FFF0, FColorWarnText = 0x0000FF;
  TColorScheme FColorScheme = csmGray;
  TDecPSep FDecPlaceSep = dpsBoth;
  int FFixPointDecPlaces = 2;
  TFrameStyle FFrameStyle = frsSunken;
  bool FHideSelection = true;
  TInFormat FInputFormat = itFloat;
  int FLeftSpace = 35;
  std::string FLeftText, FRightText;
  TAlignment FLeftTextAlignment = taRightJustify, FRightTextAlignment = taLeftJustify;
  double FRangeHigh, FRangeLow;
  bool FReadOnly = false;
  int FTextBoxWidth = 80;
};

}  // namespace nuv
