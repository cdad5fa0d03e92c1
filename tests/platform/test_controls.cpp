// Controls: mouse messages with capture and click synthesis, focus and keys, deferred
// painting, graphic-control canvases, alignment, popup menus.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/NUV_Controls.h"
#include "platform/NUV_Menus.h"
#include "test_controls_support.h"

namespace nuv {
namespace {

using Log = std::vector<std::string>;

// A windowed control that records its mouse and key events and counts its paints.
class TProbe : public TCustomControl {
 public:
  TProbe(TWinControl* Parent, Log& L, const std::string& Name, TRect R) : TCustomControl(nullptr), FLog(L), FName(Name) {
    SetParent(Parent);
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
    OnMouseDown = [this](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
      Add("down" + Btn(B) + (S.contains(ssDouble) ? " dbl" : "") + At(X, Y));
    };
    OnMouseUp = [this](TObject*, TMouseButton B, TShiftState, int X, int Y) { Add("up" + Btn(B) + At(X, Y)); };
    OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { Add("move" + At(X, Y)); };
    OnClick = [this](TObject*) { Add("click"); };
    OnDblClick = [this](TObject*) { Add("dblclick"); };
    OnEnter = [this](TObject*) { Add("enter"); };
    OnExit = [this](TObject*) { Add("exit"); };
    OnKeyDown = [this](TObject*, uint16_t& K, TShiftState S) {
      Add("keydown " + std::to_string(K) + (S.contains(ssShift) ? " shift" : "") + (S.contains(ssCtrl) ? " ctrl" : ""));
      if (K == ZeroKey) K = 0;
    };
    OnKeyPress = [this](TObject*, char& C) { Add("char " + std::to_string(static_cast<unsigned char>(C))); };
    OnKeyUp = [this](TObject*, uint16_t& K, TShiftState) { Add("keyup " + std::to_string(K)); };
  }
  void Paint() override { ++Paints; }
  int Paints = 0;
  uint16_t ZeroKey = 0;

 protected:
  void CNKeyDown(TWMKey& M) override {
    Add("cn " + std::to_string(M.CharCode));
    TCustomControl::CNKeyDown(M);
  }

 private:
  void Add(const std::string& S) { FLog.push_back(FName + ": " + S); }
  static std::string Btn(TMouseButton B) { return B == mbLeft ? "" : B == mbRight ? " right" : " middle"; }
  static std::string At(int X, int Y) { return " " + std::to_string(X) + "," + std::to_string(Y); }
  Log& FLog;
  std::string FName;
};

class ControlsFixture : public test::ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(100, 50, 300, 200);
    A = new TProbe(Form.get(), L, "A", Rect(10, 10, 60, 40));
    B = new TProbe(Form.get(), L, "B", Rect(100, 10, 150, 40));
    Form->Show();
  }
  std::unique_ptr<TForm> Form;
  Log L;
  TProbe* A = nullptr;
  TProbe* B = nullptr;
};

TEST_F(ControlsFixture, ClickIsPressAndReleaseInsideInThisOrder) {
  Input->Click(A, 5, 6);
  EXPECT_EQ(L, (Log{"A: move 5,6", "A: down 5,6", "A: click", "A: up 5,6"}));
  // Screen coordinates: the form's client area starts at its Left, Top.
  L.clear();
  Input->Click(100 + 100 + 1, 50 + 10 + 2);
  EXPECT_EQ(L, (Log{"B: move 1,2", "B: down 1,2", "B: click", "B: up 1,2"}));
}

TEST_F(ControlsFixture, ThePressingControlKeepsTheMouseUntilRelease) {
  Input->MouseDown(A, mbLeft, 5, 5);
  Input->MouseMove(B, 3, 4);  // over B, but A holds the capture
  Input->MouseUp(B, mbLeft, 3, 4);
  EXPECT_EQ(L, (Log{"A: move 5,5", "A: down 5,5", "A: move 93,4", "A: up 93,4"}));  // released outside: no click
  EXPECT_EQ(GetCaptureControl(), nullptr);
  L.clear();
  Input->MouseMove(B, 4, 4);
  EXPECT_EQ(L, (Log{"B: move 4,4"}));
}

TEST_F(ControlsFixture, DoubleClickNeedsTheSameSpotWithinTheDoubleClickTime) {
  Input->MouseMove(A, 5, 5);
  L.clear();
  Input->Click(A, 5, 5);
  Advance(400);
  Input->Click(A, 5, 5);
  EXPECT_EQ(L, (Log{"A: down 5,5", "A: click", "A: up 5,5", "A: dblclick", "A: down dbl 5,5", "A: up 5,5"}));
  // A third press starts over.
  L.clear();
  Input->Click(A, 5, 5);
  EXPECT_EQ(L, (Log{"A: down 5,5", "A: click", "A: up 5,5"}));
  // Too late, or too far away: two single clicks.
  Advance(501);
  L.clear();
  Input->Click(A, 5, 5);
  EXPECT_EQ(L, (Log{"A: down 5,5", "A: click", "A: up 5,5"}));
  Advance(10);
  Input->Click(A, 8, 5);
  EXPECT_EQ(L.at(4), "A: down 8,5");
}

TEST_F(ControlsFixture, DisabledAndHiddenControlsAreNotHit) {
  auto* G = new TGraphicControl(nullptr);
  G->SetParent(A);
  G->SetBounds(0, 0, 20, 20);
  bool GClicked = false;
  G->OnClick = [&](TObject*) { GClicked = true; };
  Input->Click(A, 5, 5);
  EXPECT_TRUE(GClicked);
  // A disabled graphic control lets its parent have the click.
  G->SetEnabled(false);
  L.clear();
  Input->Click(A, 5, 5);
  EXPECT_EQ(L, (Log{"A: down 5,5", "A: click", "A: up 5,5"}));
  // A hidden control lets the form have it; a disabled windowed control swallows it.
  A->Hide();
  bool FormClicked = false;
  Form->OnClick = [&](TObject*) { FormClicked = true; };
  Input->Click(Form.get(), 15, 15);
  EXPECT_TRUE(FormClicked);
  B->SetEnabled(false);
  L.clear();
  FormClicked = false;
  Input->Click(Form.get(), 110, 15);
  EXPECT_TRUE(L.empty());
  EXPECT_FALSE(FormClicked);
}

TEST_F(ControlsFixture, RightClickOpensTheNearestPopupMenu) {
  TPopupMenu Menu(nullptr);
  auto* Item = new TMenuItem(nullptr);
  Item->SetCaption("&Copy");
  Menu.GetItems()->Add(Item);
  int Popups = 0, Clicks = 0;
  Menu.OnPopup = [&](TObject*) { ++Popups; };
  Item->OnClick = [&](TObject*) { ++Clicks; };
  Form->SetPopupMenu(&Menu);
  Input->Click(A, 7, 8, mbRight);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(Menu.GetPopupPoint(), Point(100 + 10 + 7, 50 + 10 + 8));
  EXPECT_EQ(Menu.GetPopupComponent(), Form.get());
  Menu.GetItems()->Find("copy")->Click();
  Item->SetEnabled(false);
  Item->Click();
  EXPECT_EQ(Clicks, 1);
  Input->Click(A, 7, 8);  // the left button opens nothing
  EXPECT_EQ(Popups, 1);
}

TEST_F(ControlsFixture, FocusMovesWithExitBeforeEnterAndTabFollowsTheTabOrder) {
  A->SetTabStop(true);
  B->SetTabStop(true);
  A->SetFocus();
  EXPECT_TRUE(A->Focused());
  B->SetFocus();
  EXPECT_EQ(L, (Log{"A: enter", "A: exit", "B: enter"}));
  EXPECT_EQ(Screen->GetActiveControl(), B);
  L.clear();
  Input->PressKey(VK_TAB);  // handled by the platform: no key events
  EXPECT_EQ(L, (Log{"B: cn 9", "B: exit", "A: enter", "A: keyup 9"}));
  B->SetTabOrder(0);
  Input->PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(B->Focused());
  // Hidden or disabled controls cannot take the focus; hiding the focused one drops it.
  B->Hide();
  EXPECT_FALSE(B->CanFocus());
  EXPECT_THROW(B->SetFocus(), EInvalidOperation);
  EXPECT_EQ(Screen->GetActiveControl(), nullptr);
}

TEST_F(ControlsFixture, KeysGoToTheFocusedControlWithModifiersAsKeysOfTheirOwn) {
  A->SetFocus();
  L.clear();
  Input->TypeText("a");
  EXPECT_EQ(L, (Log{"A: cn 65", "A: keydown 65", "A: char 97", "A: keyup 65"}));
  L.clear();
  Input->PressKey('C', {ssCtrl});
  EXPECT_EQ(L, (Log{"A: cn 17", "A: keydown 17 ctrl", "A: cn 67", "A: keydown 67 ctrl", "A: char 3", "A: keyup 67",
                    "A: keyup 17"}));
  L.clear();
  Input->TypeText("$");
  EXPECT_EQ(L, (Log{"A: cn 16", "A: keydown 16 shift", "A: cn 52", "A: keydown 52 shift", "A: char 36",
                    "A: keyup 52", "A: keyup 16"}));
  // A key zeroed in OnKeyDown makes no character.
  A->ZeroKey = 'X';
  L.clear();
  Input->PressKey('X');
  EXPECT_EQ(L, (Log{"A: cn 88", "A: keydown 88", "A: keyup 88"}));
}

TEST_F(ControlsFixture, InvalidatePaintsOnceFromTheLoopAndRepaintAtOnce) {
  Application->ProcessMessages();
  A->Paints = 0;
  A->Invalidate();
  A->Invalidate();
  EXPECT_EQ(A->Paints, 0);
  Application->ProcessMessages();
  EXPECT_EQ(A->Paints, 1);
  A->Repaint();
  EXPECT_EQ(A->Paints, 2);
  // Hidden controls are not painted; a control deleted while waiting is forgotten.
  A->Hide();
  A->Invalidate();
  Application->ProcessMessages();
  EXPECT_EQ(A->Paints, 2);
  B->Invalidate();
  delete B;
  Application->ProcessMessages();
  // The form's image shows the child's surface where the child is.
  A->Show();
  A->SetColor(clRed);
  auto Image = Form->GetFormImage();
  EXPECT_EQ(Image->GetCanvas()->GetPixel(10, 10), clRed);
  EXPECT_EQ(Image->GetCanvas()->GetPixel(59, 39), clRed);
  EXPECT_EQ(Image->GetCanvas()->GetPixel(60, 40), ColorToRGB(clBtnFace));
}

TEST_F(ControlsFixture, GraphicControlDrawsIntoItsParentClippedToItsBounds) {
  auto* G = new TGraphicControl(nullptr);
  G->SetParent(A);
  G->SetBounds(5, 6, 10, 8);
  Application->ProcessMessages();
  TCanvas* C = G->GetCanvas();
  C->GetBrush()->SetColor(clBlue);
  C->FillRect(Rect(-100, -100, 100, 100));
  TCanvas* S = A->GetCanvas();
  EXPECT_EQ(S->GetPixel(5, 6), clBlue);
  EXPECT_EQ(S->GetPixel(14, 13), clBlue);
  EXPECT_NE(S->GetPixel(15, 13), clBlue);
  EXPECT_NE(S->GetPixel(14, 14), clBlue);
  EXPECT_NE(S->GetPixel(4, 6), clBlue);
  // Moving the control moves its canvas.
  G->SetLeft(20);
  C->SetPixel(0, 0, clLime);
  EXPECT_EQ(S->GetPixel(20, 6), clLime);
}

TEST_F(ControlsFixture, AlignedChildrenShareTheClientAreaAndAnchorsFollowResizes) {
  auto* Panel = new TCustomControl(nullptr);
  Panel->SetParent(Form.get());
  Panel->SetBounds(0, 0, 200, 100);
  auto Child = [&](TAlign Al, int W, int H) {
    auto* C = new TCustomControl(nullptr);
    C->SetParent(Panel);
    C->SetBounds(0, 0, W, H);
    C->SetAlign(Al);
    return C;
  };
  TControl* Top = Child(alTop, 10, 20);
  TControl* Left = Child(alLeft, 30, 10);
  TControl* Client = Child(alClient, 1, 1);
  TControl* Bottom = Child(alBottom, 10, 15);
  EXPECT_EQ(Top->GetBoundsRect(), Rect(0, 0, 200, 20));
  EXPECT_EQ(Bottom->GetBoundsRect(), Rect(0, 85, 200, 100));
  EXPECT_EQ(Left->GetBoundsRect(), Rect(0, 20, 30, 85));
  EXPECT_EQ(Client->GetBoundsRect(), Rect(30, 20, 200, 85));
  auto* Anchored = new TCustomControl(nullptr);
  Anchored->SetParent(Form.get());
  Anchored->SetBounds(250, 150, 20, 20);
  Anchored->SetAnchors({akRight, akBottom});
  Panel->SetWidth(300);
  EXPECT_EQ(Client->GetBoundsRect(), Rect(30, 20, 300, 85));
  Form->SetBounds(100, 50, 340, 210);
  EXPECT_EQ(Anchored->GetBoundsRect(), Rect(290, 160, 310, 180));
}

}  // namespace
}  // namespace nuv

namespace nuv {
namespace {

TEST_F(ControlsFixture, ParentFontFollowsTheParentUntilTheControlGetsAFontOfItsOwn) {
  Form->GetFont()->SetSize(12);
  EXPECT_EQ(A->GetFont()->GetSize(), 12);
  EXPECT_TRUE(A->GetParentFont());
  // The canvas measures with the control's font.
  const int Wide = A->GetCanvas()->TextWidth("0000");
  A->GetFont()->SetSize(8);
  EXPECT_FALSE(A->GetParentFont());
  EXPECT_LT(A->GetCanvas()->TextWidth("0000"), Wide);
  Form->GetFont()->SetSize(14);
  EXPECT_EQ(A->GetFont()->GetSize(), 8);
  EXPECT_EQ(B->GetFont()->GetSize(), 14);
  A->SetParentFont(true);
  EXPECT_EQ(A->GetFont()->GetSize(), 14);
}

}  // namespace
}  // namespace nuv
