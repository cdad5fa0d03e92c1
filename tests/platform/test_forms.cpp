// Timers on the replaceable clock, the message loop, modal forms, exceptions and beeps.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/NUV_Forms.h"
#include "platform/NUV_Messages.h"
#include "test_controls_support.h"

namespace nuv {
namespace {

using FormsTest = test::ControlsTest;

TEST_F(FormsTest, TimersComeDueOnTheProcessClockOnceHoweverLateTheLoopIs) {
  std::vector<uintptr_t> Ticks;
  HWND W = AllocateHWnd([&](TMessage& M) {
    if (M.Msg == WM_TIMER) Ticks.push_back(M.WParam);
  });
  ASSERT_EQ(SetTimer(W, 7, 500), 7u);
  Advance(499);
  Application->ProcessMessages();
  EXPECT_TRUE(Ticks.empty());
  Advance(1);
  Application->ProcessMessages();
  EXPECT_EQ(Ticks, (std::vector<uintptr_t>{7}));
  Advance(1700);  // late: one tick, the next one 500 ms after it
  Application->ProcessMessages();
  EXPECT_EQ(Ticks.size(), 2u);
  Advance(499);
  Application->ProcessMessages();
  EXPECT_EQ(Ticks.size(), 2u);
  Advance(1);
  Application->ProcessMessages();
  EXPECT_EQ(Ticks.size(), 3u);
  EXPECT_TRUE(KillTimer(W, 7));
  EXPECT_FALSE(KillTimer(W, 7));
  Advance(5000);
  Application->ProcessMessages();
  EXPECT_EQ(Ticks.size(), 3u);
  // Freeing the window stops its timers.
  SetTimer(W, 8, 100);
  const int Before = ActiveTimerCount();
  DeallocateHWnd(W);
  EXPECT_EQ(ActiveTimerCount(), Before - 1);
}

TEST_F(FormsTest, TheTimerLimitRefusesNewTimersOnly) {
  HWND W = AllocateHWnd([](TMessage&) {});
  ASSERT_NE(SetTimer(W, 1, 100), 0u);
  SetTimerLimit(0);
  EXPECT_EQ(SetTimer(W, 2, 100), 0u);
  EXPECT_EQ(SetTimer(W, 1, 200), 1u);  // restarting a running timer is not a new one
  EXPECT_EQ(SetTimer(nullptr, 3, 100), 0u);
  SetTimerLimit(10000);
  EXPECT_EQ(SetTimer(W, 2, 100), 2u);
  DeallocateHWnd(W);
}

TEST_F(FormsTest, ExceptionsInMessageHandlersGoToTheApplication) {
  HWND W = AllocateHWnd([](TMessage& M) {
    if (M.Msg == WM_USER) throw EConvertError("bad message");
  });
  std::vector<std::string> Seen;
  Application->OnException = [&](TObject*, const std::exception& E) { Seen.push_back(E.what()); };
  PostMessage(W, WM_USER, 0, 0);
  PostMessage(W, WM_USER + 1, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(Seen, (std::vector<std::string>{"bad message"}));
  DeallocateHWnd(W);
  EXPECT_FALSE(PostMessage(W, WM_USER, 0, 0));
}

TEST_F(FormsTest, MessageBeepIsCountedAndReported) {
  std::vector<unsigned> Hooked;
  SetMessageBeepHook([&](unsigned T) { Hooked.push_back(T); });
  const int64_t Before = MessageBeepCount();
  MessageBeep(0);
  MessageBeep(0x30);
  EXPECT_EQ(MessageBeepCount(), Before + 2);
  EXPECT_EQ(Hooked, (std::vector<unsigned>{0, 0x30}));
  SetMessageBeepHook(nullptr);
}

TEST_F(FormsTest, ShowModalRunsTheLoopUntilModalResultAndBlocksOtherForms) {
  TForm Main(nullptr);
  Main.Show();
  bool MainClicked = false;
  Main.OnClick = [&](TObject*) { MainClicked = true; };
  TForm Dialog(nullptr);
  Dialog.SetBounds(500, 400, 100, 80);
  int Idles = 0;
  bool Asked = false;
  Dialog.OnCloseQuery = [&](TObject*, bool& CanClose) {
    CanClose = Asked;
    Asked = true;
  };
  Application->OnIdle = [&](TObject*, bool&) {
    ++Idles;
    Input->Click(10, 10);  // on the main form, which the modal dialog disables
    Dialog.SetModalResult(mrOk);
  };
  EXPECT_EQ(Dialog.ShowModal(), mrOk);
  EXPECT_EQ(Idles, 2);  // the first close was refused
  EXPECT_FALSE(MainClicked);
  EXPECT_FALSE(Dialog.GetVisible());
  EXPECT_TRUE(Main.IsActive());
  Dialog.Show();
  EXPECT_THROW(Dialog.ShowModal(), EInvalidOperation);
}

TEST_F(FormsTest, HandleMessageRefusesToWaitForInputThatCannotCome) {
  EXPECT_THROW(Application->HandleMessage(), EInvalidOperation);
}

TEST_F(FormsTest, FormImageComposesWindowedChildrenAndReleaseDeletesLater) {
  auto* Form = new TForm(nullptr);
  Form->SetBounds(0, 0, 60, 40);
  Form->SetColor(clWhite);
  auto* Outer = new TCustomControl(nullptr);
  Outer->SetParent(Form);
  Outer->SetBounds(10, 10, 30, 20);
  Outer->SetColor(clRed);
  auto* Inner = new TCustomControl(nullptr);
  Inner->SetParent(Outer);
  Inner->SetBounds(25, 5, 20, 10);  // sticks out of Outer: clipped to it
  Inner->SetColor(clBlue);
  auto Image = Form->GetFormImage();
  TCanvas* C = Image->GetCanvas();
  EXPECT_EQ(C->GetPixel(9, 9), clWhite);
  EXPECT_EQ(C->GetPixel(10, 10), clRed);
  EXPECT_EQ(C->GetPixel(35, 15), clBlue);
  EXPECT_EQ(C->GetPixel(39, 15), clBlue);
  EXPECT_EQ(C->GetPixel(40, 15), clWhite);
  Inner->Hide();
  EXPECT_EQ(Form->GetFormImage()->GetCanvas()->GetPixel(35, 15), clRed);
  const int Forms = Screen->FormCount();
  Form->Release();
  EXPECT_EQ(Screen->FormCount(), Forms);
  Application->ProcessMessages();
  EXPECT_EQ(Screen->FormCount(), Forms - 1);
}

}  // namespace
}  // namespace nuv
