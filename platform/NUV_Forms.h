// Forms, the screen and the application of the platform layer.
//
// A form is a top-level windowed control. Forms start hidden; Show makes a form visible,
// brings it to the front and makes it the active form, whose focused control gets the
// keys. The headless platform draws no window frame: a form's client area is the whole
// form, at screen position (Left, Top).
//
// The message loop. Application->ProcessMessages() handles everything waiting: posted
// messages in order, then due timers, then the paints that Invalidate asked for, until
// nothing is left. HandleMessage() handles one message, or, when nothing waits, lets the
// application idle (OnIdle) and waits for the next timer. The headless platform has no
// input of its own: when nothing waits, no timer runs and OnIdle is not set, HandleMessage
// raises EInvalidOperation instead of waiting for ever. With a replaced clock, timers come
// due only as the clock advances, so a modal loop driven by a test sets OnIdle to advance
// the clock or send input.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/NUV_Controls.h"
#include "platform/NUV_Graphics.h"

namespace nuv {

enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                       mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9,
                       mrYesToAll = 10, mrClose = 11;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
  TCanvas* GetCanvas() const { return SurfaceCanvas(); }

  // Asks OnCloseQuery, then OnClose (action caHide; caFree for the main form). caHide
  // hides the form, caFree releases it; closing the main form terminates the application.
  // A modal form closes by getting the ModalResult mrCancel.
  void Close();
  // Shows the form modally: the other forms get no input until the form closes, which it
  // does when ModalResult becomes non-zero (and OnCloseQuery agrees). Returns ModalResult.
  // Raises EInvalidOperation for a form that is already visible.
  TModalResult ShowModal();
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool IsModal() const { return FModal; }
  // Deletes the form from the message loop, once the current message is handled.
  void Release();

  // The control that has (or gets, when the form becomes active) the focus; nullptr
  // for the form itself. Raises EInvalidOperation when the form is active and the
  // control cannot take the focus.
  TWinControl* GetActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  // Focuses Control (the form itself for this), activating the form; the old control
  // gets OnExit, then the new one OnEnter.
  void FocusControl(TWinControl* Control);
  // Focuses the next (or previous) control with TabStop after Current, in tab order.
  void SelectNext(TWinControl* Current, bool GoForward);
  bool IsActive() const;
  // Brings the shown form to the front and makes it the active form (OnDeactivate of the
  // previous one, then OnActivate); without an active control it focuses the first one
  // with TabStop.
  void Activate();

  // The form and its windowed children composed as they are shown, after the paints that
  // wait for them. The caller owns the bitmap.
  std::unique_ptr<TBitmap> GetFormImage();

  TNotifyEvent OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  void Paint() override;
  void ShowingChanged() override;

 private:
  friend class TScreen;
  friend class TControl;
  friend class TWinControl;
  bool CloseQuery();
  void ControlRemoving(TControl* Control);
  std::vector<TWinControl*> TabSequence() const;

  std::string FCaption;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FShown = false;
  TWinControl* FActiveControl = nullptr;
};

// The form a control lies on (the nearest form among it and its parents), or nullptr.
TForm* GetParentForm(const TControl* Control);

class TScreen : public TObject {
 public:
  // The forms, front first.
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TForm* Forms(int Index) const;  // raises EListError outside
  TForm* GetActiveForm() const { return FActiveForm; }
  TWinControl* GetActiveControl() const;
  // The form shown modally last (nullptr for none).
  TForm* GetModalForm() const { return FModal.empty() ? nullptr : FModal.back(); }

  // The application-wide cursor (crDefault: each control shows its own).
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  // What the mouse shows now: Cursor, else the cursor of the control under the mouse
  // (crArrow where that is crDefault or there is no control).
  TCursor GetCurrentCursor() const;
  // The headless desktop's size.
  int GetWidth() const { return 1920; }
  int GetHeight() const { return 1080; }

 private:
  friend class TForm;
  void AddForm(TForm* Form);
  void RemoveForm(TForm* Form);
  void BringToFront(TForm* Form);
  void SetActiveForm(TForm* Form);
  // The front visible form other than Except, for activation.
  TForm* NextActiveForm(const TForm* Except) const;

  std::vector<TForm*> FForms;
  std::vector<TForm*> FModal;
  TForm* FActiveForm = nullptr;
  TCursor FCursor = crDefault;
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Handles everything that waits (messages, due timers, paints), then returns.
  void ProcessMessages();
  // Handles one message; idles when there is none (see above).
  void HandleMessage();
  // Shows the main form and handles messages until Terminate.
  void Run();
  void Terminate() { FTerminated = true; }
  bool GetTerminated() const { return FTerminated; }
  // Starts over after Terminate (for programs and tests that run several loops).
  void ResetTerminated() { FTerminated = false; }

  // Call inside a catch block: hands the exception being handled to OnException, or, when
  // that is not set, to ShowException.
  void HandleException(TObject* Sender);
  // The headless platform writes the message to standard error.
  void ShowException(const std::exception& E);

  // The first form created with CreateForm (or set here); closing it ends Run.
  TForm* GetMainForm() const { return FMainForm; }
  void SetMainForm(TForm* Form) { FMainForm = Form; }
  template <typename T>
  T* CreateForm() {
    T* Form = new T(this);
    if (!FMainForm) FMainForm = Form;
    return Form;
  }
  const std::string& GetTitle() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }

  TExceptionEvent OnException;
  TIdleEvent OnIdle;

 private:
  friend class TForm;
  bool HandleOne();
  void Idle();
  void WndProc(TMessage& Message);

  HWND FHandle = nullptr;
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  std::string FTitle;
};

extern TApplication* const Application;
extern TScreen* const Screen;

}  // namespace nuv
