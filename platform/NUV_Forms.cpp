#include "platform/NUV_Forms.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/NUV_Input.h"

namespace nuv {

namespace {

// Asks the application's message window to delete a form (TForm::Release).
constexpr unsigned CM_RELEASE = 0xB021;

// Copies W's surface and, over it, those of its shown windowed children onto Dest at
// (X, Y), within Clip (coordinates of Dest).
void Compose(TWinControl* W, TBitmap& Dest, int X, int Y, const TRect& Clip);

}  // namespace

// ---------------------------------------------------------------- TForm

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  SetBounds(0, 0, 400, 300);
  Screen->AddForm(this);
}

TForm::~TForm() {
  DestroyControls();
  FActiveControl = nullptr;
  if (Application->GetMainForm() == this) Application->SetMainForm(nullptr);
  Screen->RemoveForm(this);
}

void TForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TForm::ShowingChanged() {
  TWinControl::ShowingChanged();
  if (GetVisible() && !FShown) {
    FShown = true;
    if (OnShow) OnShow(this);
    Activate();
    Invalidate();
  } else if (!GetVisible() && FShown) {
    FShown = false;
    if (OnHide) OnHide(this);
    if (IsActive()) Screen->SetActiveForm(Screen->NextActiveForm(this));
  }
}

bool TForm::IsActive() const { return Screen->GetActiveForm() == this; }

void TForm::Activate() {
  if (!GetVisible()) return;
  Screen->BringToFront(this);
  Screen->SetActiveForm(this);
  if (!FActiveControl) SelectNext(nullptr, true);
}

void TForm::FocusControl(TWinControl* Control) {
  if (!IsActive()) {
    Screen->BringToFront(this);
    Screen->SetActiveForm(this);
  }
  TWinControl* Target = Control == this ? nullptr : Control;
  if (Target == FActiveControl) return;
  TWinControl* Old = FActiveControl;
  FActiveControl = Target;
  if (Old) Old->DoExit();
  if (Target) Target->DoEnter();
}

void TForm::SetActiveControl(TWinControl* Control) {
  if (Control == FActiveControl) return;
  if (!IsActive()) {
    FActiveControl = Control;
    return;
  }
  if (Control && !Control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FocusControl(Control ? Control : this);
}

void TForm::ControlRemoving(TControl* Control) {
  if (!FActiveControl) return;
  auto* W = dynamic_cast<TWinControl*>(Control);
  if (FActiveControl == Control || (W && W->ContainsControl(FActiveControl))) FActiveControl = nullptr;
}

std::vector<TWinControl*> TForm::TabSequence() const {
  std::vector<TWinControl*> Seq;
  std::function<void(const TWinControl*)> Walk = [&](const TWinControl* W) {
    for (TWinControl* C : W->FTabList) {
      if (C->GetTabStop() && C->CanFocus()) Seq.push_back(C);
      Walk(C);
    }
  };
  Walk(this);
  return Seq;
}

void TForm::SelectNext(TWinControl* Current, bool GoForward) {
  const std::vector<TWinControl*> Seq = TabSequence();
  if (Seq.empty()) return;
  const int N = static_cast<int>(Seq.size());
  const auto It = std::find(Seq.begin(), Seq.end(), Current);
  int I = It == Seq.end() ? (GoForward ? -1 : N) : static_cast<int>(It - Seq.begin());
  I = GoForward ? (I + 1) % N : (I - 1 + N) % N;
  Seq[static_cast<size_t>(I)]->SetFocus();
}

bool TForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  const bool IsMain = Application->GetMainForm() == this;
  TCloseAction Action = IsMain ? caFree : caHide;
  if (OnClose) OnClose(this, Action);
  if (Action == caNone) return;
  if (IsMain) {
    Application->Terminate();
    Hide();
  } else if (Action == caFree) {
    Release();
  } else {
    Hide();
  }
}

TModalResult TForm::ShowModal() {
  if (GetVisible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
  SetCaptureControl(nullptr);
  FModalResult = mrNone;
  FModal = true;
  Screen->FModal.push_back(this);
  TCloseAction Action = caHide;
  auto Restore = [this] {
    FModal = false;
    std::erase(Screen->FModal, this);
    Hide();
  };
  try {
    Show();
    for (;;) {
      Application->HandleMessage();
      if (Application->GetTerminated()) {
        if (FModalResult == mrNone) FModalResult = mrCancel;
        break;
      }
      if (FModalResult == mrNone) continue;
      if (CloseQuery()) {
        Action = caHide;
        if (OnClose) OnClose(this, Action);
        if (Action != caNone) break;
      }
      FModalResult = mrNone;
    }
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
  if (Action == caFree) Release();
  return FModalResult;
}

void TForm::Release() {
  PostMessage(Application->FHandle, CM_RELEASE, 0, reinterpret_cast<intptr_t>(this));
}

std::unique_ptr<TBitmap> TForm::GetFormImage() {
  ProcessPaintRequests(this);
  auto Image = std::make_unique<TBitmap>();
  Image->SetSize(GetWidth(), GetHeight());
  Compose(this, *Image, 0, 0, GetClientRect());
  return Image;
}

namespace {

void Compose(TWinControl* W, TBitmap& Dest, int X, int Y, const TRect& Clip) {
  TCanvas* C = Dest.GetCanvas();
  C->SetClipRect(Clip);
  C->SetCopyMode(cmSrcCopy);
  C->CopyRect(Bounds(X, Y, W->GetWidth(), W->GetHeight()), W->GetSurface()->GetCanvas(),
              Rect(0, 0, W->GetWidth(), W->GetHeight()));
  C->ResetClip();
  for (int i = 0; i < W->ControlCount(); ++i) {
    auto* Child = dynamic_cast<TWinControl*>(W->Controls(i));
    if (!Child || !Child->GetVisible()) continue;
    const int CX = X + Child->GetLeft(), CY = Y + Child->GetTop();
    TRect ChildClip;
    if (IntersectRect(ChildClip, Clip, Bounds(CX, CY, Child->GetWidth(), Child->GetHeight())))
      Compose(Child, Dest, CX, CY, ChildClip);
  }
}

}  // namespace

TForm* GetParentForm(const TControl* Control) {
  for (const TControl* C = Control; C; C = C->GetParent())
    if (auto* F = dynamic_cast<const TForm*>(C)) return const_cast<TForm*>(F);
  return nullptr;
}

// ---------------------------------------------------------------- TScreen

TForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FForms[static_cast<size_t>(Index)];
}

TWinControl* TScreen::GetActiveControl() const {
  return FActiveForm ? FActiveForm->GetActiveControl() : nullptr;
}

TCursor TScreen::GetCurrentCursor() const {
  if (FCursor != crDefault) return FCursor;
  const TControl* C = Input->GetMouseControl();
  return C && C->GetCursor() != crDefault ? C->GetCursor() : crArrow;
}

void TScreen::AddForm(TForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TForm* Form) {
  std::erase(FForms, Form);
  std::erase(FModal, Form);
  if (FActiveForm == Form) {
    FActiveForm = nullptr;
    SetActiveForm(NextActiveForm(Form));
  }
}

void TScreen::BringToFront(TForm* Form) {
  std::erase(FForms, Form);
  FForms.insert(FForms.begin(), Form);
}

void TScreen::SetActiveForm(TForm* Form) {
  if (Form == FActiveForm) return;
  TForm* Old = FActiveForm;
  FActiveForm = Form;
  if (Old && Old->OnDeactivate) Old->OnDeactivate(Old);
  if (Form && Form->OnActivate) Form->OnActivate(Form);
}

TForm* TScreen::NextActiveForm(const TForm* Except) const {
  for (TForm* F : FForms)
    if (F != Except && F->GetVisible()) return F;
  return nullptr;
}

// ---------------------------------------------------------------- TApplication

// The screen is never destroyed: forms deleted during program exit still unregister.
TScreen* const Screen = new TScreen;
namespace {
TApplication GApplication;
}  // namespace
TApplication* const Application = &GApplication;

TApplication::TApplication() : TComponent(nullptr) {
  FHandle = AllocateHWnd([this](TMessage& M) { WndProc(M); });
}

TApplication::~TApplication() {
  // The forms go while the application is whole.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  DeallocateHWnd(FHandle);
}

void TApplication::WndProc(TMessage& Message) {
  if (Message.Msg != CM_RELEASE) return;
  auto* Form = reinterpret_cast<TForm*>(Message.LParam);
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (Screen->Forms(i) == Form) {
      delete Form;
      return;
    }
}

bool TApplication::HandleOne() {
  TMsg M;
  if (PeekMessage(M, true)) {
    try {
      DispatchMessage(M);
    } catch (...) {
      HandleException(this);
    }
    return true;
  }
  if (!HasPaintRequests()) return false;
  try {
    ProcessPaintRequests();
  } catch (...) {
    HandleException(this);
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (HandleOne()) {
  }
}

void TApplication::HandleMessage() {
  if (!HandleOne()) Idle();
}

void TApplication::Idle() {
  bool Done = true;
  if (OnIdle) OnIdle(this, Done);
  if (!Done) return;
  TMsg M;
  if (PeekMessage(M, false) || HasPaintRequests()) return;
  const int64_t Due = NextTimerDue();
  if (Due < 0) {
    if (OnIdle) return;
    throw EInvalidOperation("No message can arrive: no input, no timer and no OnIdle handler");
  }
  const int64_t Wait = std::clamp<int64_t>(Due - GetTickCount64(), 0, 10);
  std::this_thread::sleep_for(std::chrono::milliseconds(Wait));
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr P = std::current_exception();
  if (!P) return;
  try {
    std::rethrow_exception(P);
  } catch (const std::exception& E) {
    if (OnException)
      OnException(Sender, E);
    else
      ShowException(E);
  } catch (...) {
    const Exception E("Unknown exception");
    if (OnException)
      OnException(Sender, E);
    else
      ShowException(E);
  }
}

void TApplication::ShowException(const std::exception& E) { std::fprintf(stderr, "%s\n", E.what()); }

}  // namespace nuv
