#include "platform/NUV_Controls.h"

#include <algorithm>

#include "platform/NUV_Forms.h"
#include "platform/NUV_Input.h"
#include "platform/NUV_Menus.h"

namespace nuv {

namespace {

TControl* GCapture = nullptr;

// Controls waiting for a paint, and those being painted by ProcessPaintRequests.
std::vector<TControl*>& Pending() {
  static auto* V = new std::vector<TControl*>;
  return *V;
}
std::vector<TControl*>& Working() {
  static auto* V = new std::vector<TControl*>;
  return *V;
}

bool Contains(const std::vector<TControl*>& V, const TControl* C) {
  return std::find(V.begin(), V.end(), C) != V.end();
}

void ForgetPaint(const TControl* C) {
  std::erase(Pending(), C);
  std::erase(Working(), C);
}

// Clears a flag when the scope ends, also by an exception.
struct TFlagScope {
  bool& Flag;
  explicit TFlagScope(bool& F) : Flag(F) { Flag = true; }
  ~TFlagScope() { Flag = false; }
};

bool HasButtons(TShiftState Keys) {
  return Keys.contains(ssLeft) || Keys.contains(ssRight) || Keys.contains(ssMiddle);
}

}  // namespace

TControl* GetCaptureControl() { return GCapture; }
void SetCaptureControl(TControl* Control) { GCapture = Control; }

TWinControl* FindFocusedControl() { return Screen->GetActiveControl(); }

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = [this](TObject*) { FontChangedHandler(); };
}

TControl::~TControl() {
  ForgetPaint(this);
  if (GCapture == this) GCapture = nullptr;
  Input->ControlDestroyed(this);
  if (FParent) FParent->RemoveControl(this);
  FFont->OnChange = nullptr;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const TRect Old = GetBoundsRect();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  BoundsChanged(Old);
  if (FParent && FAlign != alNone && FParent->FAligning == 0) FParent->Realign();
  if (Old.Width() != FWidth || Old.Height() != FHeight) Resize();
}

void TControl::BoundsChanged(const TRect&) {}

TPoint TControl::ClientToScreen(TPoint P) const {
  for (const TControl* C = this; C; C = C->FParent) {
    P.X += C->FLeft;
    P.Y += C->FTop;
  }
  return P;
}

TPoint TControl::ScreenToClient(TPoint P) const {
  const TPoint Origin = ClientToScreen(Point(0, 0));
  return Point(P.X - Origin.X, P.Y - Origin.Y);
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent == this || (AParent && dynamic_cast<TWinControl*>(this) &&
                          static_cast<TWinControl*>(this)->ContainsControl(AParent)))
    throw EInvalidOperation("A control cannot be a parent of itself");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
  if (FParentFont) ParentFontChanged();
  ShowingChanged();
  Invalidate();
}

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  if (FParent) {
    if (FAlign != alNone) FParent->Realign();
    if (!Value) {
      if (TForm* Form = GetParentForm(FParent)) Form->ControlRemoving(this);
      if (!dynamic_cast<TWinControl*>(this)) FParent->Invalidate();
    }
  }
  ShowingChanged();
  if (Value) Invalidate();
}

bool TControl::IsShowing() const {
  for (const TControl* C = this; C; C = C->FParent) {
    if (!C->FParent && dynamic_cast<const TForm*>(C)) return true;
    if (!C->FVisible) return false;
  }
  return true;
}

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  if (!Value && FParent)
    if (TForm* Form = GetParentForm(FParent)) Form->ControlRemoving(this);
  Invalidate();
}

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  if (Value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FFontFromParent = true;
  try {
    FFont->Assign(FParent->GetFont());
  } catch (...) {
    FFontFromParent = false;
    throw;
  }
  FFontFromParent = false;
}

void TControl::FontChangedHandler() {
  if (!FFontFromParent) FParentFont = false;
  FontChanged();
}

void TControl::FontChanged() { Invalidate(); }

void TControl::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Invalidate();
}

void TControl::SetAlign(TAlign Value) {
  if (Value == FAlign) return;
  FAlign = Value;
  if (FParent) FParent->Realign();
}

void TControl::Invalidate() {
  if (FPainting || Contains(Pending(), this)) return;
  Pending().push_back(this);
}

void TControl::Repaint() {}

void TControl::Update() {
  if (Contains(Pending(), this)) Repaint();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::MouseMessage(TWMMouse& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(Message); break;
    case WM_MBUTTONDOWN: WMMButtonDown(Message); break;
    case WM_MBUTTONUP: WMMButtonUp(Message); break;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(Message); break;
    case CM_MOUSEENTER: MouseEnter(); break;
    case CM_MOUSELEAVE: MouseLeave(); break;
    default: break;
  }
}

void TControl::DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Extra) {
  if (FControlStyle.contains(csCaptureMouse)) GCapture = this;
  MouseDown(Button, Message.Keys | Extra, Message.XPos, Message.YPos);
}

void TControl::DoMouseUp(TWMMouse& Message, TMouseButton Button) {
  if (GCapture == this && !HasButtons(Message.Keys)) GCapture = nullptr;
  MouseUp(Button, Message.Keys, Message.XPos, Message.YPos);
}

void TControl::WMMouseMove(TWMMouse& Message) { MouseMove(Message.Keys, Message.XPos, Message.YPos); }

void TControl::WMLButtonDown(TWMMouse& Message) {
  if (FControlStyle.contains(csClickEvents)) FClicked = true;
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TWMMouse& Message) {
  if (FControlStyle.contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TWMMouse& Message) {
  if (FClicked) {
    FClicked = false;
    if (PtInRect(GetClientRect(), Point(Message.XPos, Message.YPos))) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TWMMouse& Message) { DoMouseDown(Message, mbRight, {}); }
void TControl::WMRButtonDblClk(TWMMouse& Message) { DoMouseDown(Message, mbRight, {ssDouble}); }

void TControl::WMRButtonUp(TWMMouse& Message) {
  DoMouseUp(Message, mbRight);
  if (Message.Result != 0) return;
  // The context menu: this control's popup menu, else the nearest parent's.
  for (TControl* C = this; C; C = C->FParent) {
    TPopupMenu* Menu = C->FPopupMenu;
    if (!Menu) continue;
    if (Menu->GetAutoPopup()) {
      const TPoint P = ClientToScreen(Point(Message.XPos, Message.YPos));
      Menu->SetPopupComponent(C);
      Menu->Popup(P.X, P.Y);
    }
    return;
  }
}

void TControl::WMMButtonDown(TWMMouse& Message) { DoMouseDown(Message, mbMiddle, {}); }
void TControl::WMMButtonDblClk(TWMMouse& Message) { DoMouseDown(Message, mbMiddle, {ssDouble}); }
void TControl::WMMButtonUp(TWMMouse& Message) { DoMouseUp(Message, mbMiddle); }

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
  FCanvas->SetFont(GetFont());
}

TGraphicControl::~TGraphicControl() {
  // The parent repaints the place the control leaves.
  if (GetParent() && GetVisible()) GetParent()->Invalidate();
}

void TGraphicControl::SetParent(TWinControl* AParent) {
  TWinControl* Old = GetParent();
  TControl::SetParent(AParent);
  UpdateCanvasTarget();
  if (Old && Old != AParent) Old->Invalidate();
}

void TGraphicControl::UpdateCanvasTarget() {
  if (GetParent())
    FCanvas->SetTarget(GetParent()->GetSurface(), Point(GetLeft(), GetTop()),
                       Rect(0, 0, GetWidth(), GetHeight()));
  else
    FCanvas->SetTarget(nullptr);
}

void TGraphicControl::BoundsChanged(const TRect&) {
  UpdateCanvasTarget();
  if (GetParent()) GetParent()->Invalidate();
}

void TGraphicControl::FontChanged() {
  FCanvas->SetFont(GetFont());
  TControl::FontChanged();
}

void TGraphicControl::Repaint() {
  if (!GetParent() || !IsShowing()) return;
  if (!FControlStyle.contains(csOpaque)) {
    GetParent()->Repaint();
    return;
  }
  ForgetPaint(this);
  TFlagScope Painting(FPainting);
  Paint();
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FSurface(std::make_unique<TBitmap>()) {
  SurfaceCanvas()->SetFont(GetFont());
}

TWinControl::~TWinControl() { DestroyControls(); }

void TWinControl::DestroyControls() {
  FDestroying = true;
  while (!FControls.empty()) {
    TControl* C = FControls.back();
    FControls.pop_back();
    std::erase(FTabList, C);
    C->FParent = nullptr;
    delete C;
  }
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FControls[static_cast<size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* C = Control ? Control->FParent : nullptr; C; C = C->FParent)
    if (C == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled) const {
  // Windowed children lie above the graphic ones.
  for (int Pass = 0; Pass < 2; ++Pass) {
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
      TControl* C = *It;
      const bool Windowed = dynamic_cast<TWinControl*>(C) != nullptr;
      if (Windowed != (Pass == 0)) continue;
      if (!C->FVisible || (!AllowDisabled && !C->FEnabled)) continue;
      if (PtInRect(C->GetBoundsRect(), P)) return C;
    }
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl* Control) {
  FControls.push_back(Control);
  Control->FParent = this;
  if (auto* W = dynamic_cast<TWinControl*>(Control)) FTabList.push_back(W);
  if (Control->FAlign != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* Control) {
  if (!FDestroying)
    if (TForm* Form = GetParentForm(this)) Form->ControlRemoving(Control);
  std::erase(FControls, Control);
  std::erase(FTabList, Control);
  Control->FParent = nullptr;
  if (!FDestroying) {
    if (Control->FAlign != alNone) Realign();
    if (!dynamic_cast<TWinControl*>(Control) && Control->FVisible) Invalidate();
  }
}

void TWinControl::BringToFront(TControl* Control) {
  auto It = std::find(FControls.begin(), FControls.end(), Control);
  if (It == FControls.end()) return;
  FControls.erase(It);
  FControls.push_back(Control);
  Invalidate();
}

void TWinControl::SendToBack(TControl* Control) {
  auto It = std::find(FControls.begin(), FControls.end(), Control);
  if (It == FControls.end()) return;
  FControls.erase(It);
  FControls.insert(FControls.begin(), Control);
  Invalidate();
}

bool TWinControl::CanFocus() const {
  const TForm* Form = GetParentForm(this);
  if (!Form) return false;
  for (const TControl* C = this; C; C = C->FParent)
    if (!C->FVisible || !C->FEnabled) return false;
  return true;
}

bool TWinControl::Focused() const {
  const TForm* Form = GetParentForm(this);
  if (!Form || !Form->IsActive()) return false;
  return Form == this ? Form->GetActiveControl() == nullptr : Form->GetActiveControl() == this;
}

void TWinControl::SetFocus() {
  TForm* Form = GetParentForm(this);
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  Form->FocusControl(this);
}

int TWinControl::GetTabOrder() const {
  if (!GetParent()) return -1;
  const auto& L = GetParent()->FTabList;
  return static_cast<int>(std::find(L.begin(), L.end(), this) - L.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!GetParent()) return;
  auto& L = GetParent()->FTabList;
  std::erase(L, this);
  const int N = static_cast<int>(L.size());
  Value = std::clamp(Value, 0, N);
  L.insert(L.begin() + Value, this);
}

void TWinControl::Realign() {
  if (FAligning > 0 || FDestroying) return;
  ++FAligning;
  try {
    TRect R = GetClientRect();
    AlignControls(R);
  } catch (...) {
    --FAligning;
    throw;
  }
  --FAligning;
}

void TWinControl::AlignControls(TRect& R) {
  auto Aligned = [&](TAlign A) {
    std::vector<TControl*> V;
    for (TControl* C : FControls)
      if (C->FVisible && C->FAlign == A) V.push_back(C);
    auto Key = [A](const TControl* C) {
      switch (A) {
        case alTop: return C->FTop;
        case alBottom: return -(C->FTop + C->FHeight);
        case alLeft: return C->FLeft;
        case alRight: return -(C->FLeft + C->FWidth);
        default: return 0;
      }
    };
    std::stable_sort(V.begin(), V.end(), [&](const TControl* a, const TControl* b) { return Key(a) < Key(b); });
    return V;
  };
  for (TControl* C : Aligned(alTop)) {
    C->SetBounds(R.Left, R.Top, R.Width(), C->FHeight);
    R.Top += C->FHeight;
  }
  for (TControl* C : Aligned(alBottom)) {
    C->SetBounds(R.Left, R.Bottom - C->FHeight, R.Width(), C->FHeight);
    R.Bottom -= C->FHeight;
  }
  for (TControl* C : Aligned(alLeft)) {
    C->SetBounds(R.Left, R.Top, C->FWidth, R.Height());
    R.Left += C->FWidth;
  }
  for (TControl* C : Aligned(alRight)) {
    C->SetBounds(R.Right - C->FWidth, R.Top, C->FWidth, R.Height());
    R.Right -= C->FWidth;
  }
  for (TControl* C : Aligned(alClient)) C->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TWinControl::AnchorChildren(int OldWidth, int OldHeight) {
  const int DX = GetWidth() - OldWidth, DY = GetHeight() - OldHeight;
  for (TControl* C : FControls) {
    if (C->FAlign != alNone) continue;
    int L = C->FLeft, T = C->FTop, W = C->FWidth, H = C->FHeight;
    if (C->FAnchors.contains(akRight)) (C->FAnchors.contains(akLeft) ? W : L) += DX;
    if (C->FAnchors.contains(akBottom)) (C->FAnchors.contains(akTop) ? H : T) += DY;
    C->SetBounds(L, T, W, H);
  }
}

void TWinControl::BoundsChanged(const TRect& Old) {
  if (Old.Width() == GetWidth() && Old.Height() == GetHeight()) return;
  FSurface->SetSize(GetWidth(), GetHeight());
  ++FAligning;
  try {
    AnchorChildren(Old.Width(), Old.Height());
  } catch (...) {
    --FAligning;
    throw;
  }
  --FAligning;
  Realign();
  Invalidate();
}

void TWinControl::FontChanged() {
  SurfaceCanvas()->SetFont(GetFont());
  for (TControl* C : FControls) C->ParentFontChanged();
  TControl::FontChanged();
}

void TWinControl::ShowingChanged() {
  for (TControl* C : FControls) C->ShowingChanged();
}

void TWinControl::Repaint() {
  if (!IsShowing()) return;
  ForgetPaint(this);
  {
    TFlagScope Painting(FPainting);
    // The background, without touching the canvas's brush.
    TCanvas* C = SurfaceCanvas();
    const TColor OldColor = C->GetBrush()->GetColor();
    const TBrushStyle OldStyle = C->GetBrush()->GetStyle();
    C->GetBrush()->SetColor(GetColor());
    C->FillRect(GetClientRect());
    C->GetBrush()->SetColor(OldColor);
    C->GetBrush()->SetStyle(OldStyle);
    Paint();
  }
  PaintGraphicChildren();
}

void TWinControl::PaintGraphicChildren() {
  for (size_t i = 0; i < FControls.size(); ++i) {
    TControl* C = FControls[i];
    if (dynamic_cast<TWinControl*>(C) || !C->FVisible) continue;
    ForgetPaint(C);
    TFlagScope Painting(C->FPainting);
    C->Paint();
  }
}

void TWinControl::KeyMessage(TWMKey& Message) {
  switch (Message.Msg) {
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case CN_KEYUP: CNKeyUp(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    default: break;
  }
}

void TWinControl::CNKeyDown(TWMKey& Message) {
  const TShiftState Shift = Input->GetShiftState();
  if (Message.CharCode != VK_TAB || Shift.contains(ssCtrl) || Shift.contains(ssAlt)) return;
  if (TForm* Form = GetParentForm(this)) {
    Form->SelectNext(this, !Shift.contains(ssShift));
    Message.Result = 1;
  }
}

void TWinControl::CNKeyUp(TWMKey&) {}

void TWinControl::WMKeyDown(TWMKey& Message) {
  uint16_t Key = Message.CharCode;
  KeyDown(Key, Input->GetShiftState());
  Message.CharCode = Key;
  if (Key == 0) Message.Result = 1;
}

void TWinControl::WMKeyUp(TWMKey& Message) {
  uint16_t Key = Message.CharCode;
  KeyUp(Key, Input->GetShiftState());
  Message.CharCode = Key;
  if (Key == 0) Message.Result = 1;
}

void TWinControl::WMChar(TWMKey& Message) {
  char Key = static_cast<char>(Message.CharCode);
  KeyPress(Key);
  Message.CharCode = static_cast<uint8_t>(Key);
  if (Key == 0) Message.Result = 1;
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---------------------------------------------------------------- paint requests

bool HasPaintRequests() { return !Pending().empty(); }

namespace {

// Paints the waiting controls of Work: windowed ones first (they paint their graphic
// children too), then graphic controls whose parent did not paint.
void PaintAll(std::vector<TControl*> Work) {
  Working() = std::move(Work);
  for (int Pass = 0; Pass < 2; ++Pass) {
    // A paint may take other entries off the list, so each step searches it afresh.
    for (;;) {
      auto& W = Working();
      auto It = std::find_if(W.begin(), W.end(), [Pass](TControl* C) {
        return (dynamic_cast<TWinControl*>(C) != nullptr) == (Pass == 0);
      });
      if (It == W.end()) break;
      TControl* C = *It;
      W.erase(It);
      if (C->IsShowing()) C->Repaint();
    }
  }
  Working().clear();
}

}  // namespace

void ProcessPaintRequests() {
  std::vector<TControl*> Work;
  Work.swap(Pending());
  PaintAll(std::move(Work));
}

void ProcessPaintRequests(TControl* Root) {
  std::vector<TControl*> Work;
  auto* W = dynamic_cast<TWinControl*>(Root);
  for (TControl* C : Pending())
    if (C == Root || (W && W->ContainsControl(C))) Work.push_back(C);
  for (TControl* C : Work) std::erase(Pending(), C);
  PaintAll(std::move(Work));
}

}  // namespace nuv
