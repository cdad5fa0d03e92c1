// The custom-drawn numeric field TNumIO2: typing per format, the fixed-point overwrite,
// clipboard keys, read-only behaviour, the caret timer, setters, mouse and pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/NUV_NumIO.h"
#include "platform/NUV_Clipbrd.h"
#include "platform/NUV_Forms.h"
#include "platform/NUV_Input.h"
#include "platform/NUV_Messages.h"

namespace nuv {
namespace {

// A field that counts its paints.
class TCountingField : public TNumIO2 {
 public:
  using TNumIO2::TNumIO2;
  void Paint() override {
    ++Paints;
    TNumIO2::Paint();
  }
  int Paints = 0;
};

class NumIO2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClock([this] { return static_cast<double>(FMs) / 86400000.0; });
    Input->Reset();
    SetTimerLimit(10000);
    Application->OnException = nullptr;
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 100);
    Form->Show();
    Field = new TCountingField(Form.get());
    Field->SetParent(Form.get());
    Field->SetBounds(10, 10, 160, 28);
    Field->SetName("Field1");
    Field->SetBeep(true);
    Field->OnChange = [this](TObject*) { ++Changes; };
    Field->SetFocus();
  }
  void TearDown() override {
    Form.reset();
    SetClock({});
  }
  void Advance(int64_t Ms) { FMs += Ms; }
  // Types Keys: characters as on a keyboard, '\1' for Home, '\2' for Left, '\3' for Right.
  void Type(const std::string& Keys) {
    for (char C : Keys) {
      if (C == '\1') Input->PressKey(VK_HOME);
      else if (C == '\2') Input->PressKey(VK_LEFT);
      else if (C == '\3') Input->PressKey(VK_RIGHT);
      else Input->TypeText(std::string(1, C));
    }
  }
  int64_t Beeps() const { return MessageBeepCount() - FBeeps0; }
  TColor BoxPixel(int X, int Y) const { return Field->GetCanvas()->GetPixel(Field->GetLeftSpace() + X, Y); }
  // Whether any pixel of the number's area has this colour.
  bool TextHasColor(TColor Color) const {
    const int LS = Field->GetLeftSpace();
    for (int Y = 2; Y < Field->GetHeight() - 3; ++Y)
      for (int X = LS + 3; X < LS + Field->GetTextBoxWidth() - 1; ++X)
        if (Field->GetCanvas()->GetPixel(X, Y) == Color) return true;
    return false;
  }

  std::unique_ptr<TForm> Form;
  TCountingField* Field = nullptr;
  int Changes = 0;

 private:
  int64_t FMs = int64_t(46000) * 86400000;
  int64_t FBeeps0 = MessageBeepCount();
};

struct TTypingCase {
  TInFormat Format;
  std::string Keys;
  std::string Text;
  int Beeps;
  int Changes;
};

TEST_F(NumIO2Test, TypingAcceptsOnlyValidTextAndBeepsOnRefusal) {
  const TTypingCase Cases[] = {
      {itFloat, "-12", "-12", 0, 3},
      {itFloat, "-12-", "-12", 1, 3},
      {itFloat, "1.5.", "1.5", 1, 3},
      {itExp, "1E", "1", 1, 1},
      {itExp, "15\2E", "1E5", 0, 3},
      {itDynamic, "$", "", 1, 0},
      {itDynamic, "1F", "1", 1, 1},
      {itDynamic, "12\1$", "$12", 0, 3},
      {itHex, "fG", "F", 1, 1},
      {itBin, "102", "10", 1, 2},
      {itInt, "+7 ", "+7", 1, 2},
      {itInt, "-*", "-8", 0, 2},  // shifted digits other than 4, 5 and 6 stay digits
  };
  for (const TTypingCase& C : Cases) {
    SCOPED_TRACE(C.Keys);
    Field->SetInputFormat(C.Format);
    Field->SetText("");
    const int64_t Before = Beeps();
    Changes = 0;
    Type(C.Keys);
    EXPECT_EQ(Field->GetText(), C.Text);
    EXPECT_EQ(Beeps() - Before, C.Beeps);
    EXPECT_EQ(Changes, C.Changes);
  }
  EXPECT_DOUBLE_EQ(Field->GetValue(), -8);
  Field->SetInputFormat(itDynamic);
  Field->SetText("$12");
  EXPECT_DOUBLE_EQ(Field->GetValue(), 18);
  // Without Beep, refusals are silent.
  Field->SetBeep(false);
  const int64_t Before = Beeps();
  Type("G");
  EXPECT_EQ(Beeps(), Before);
}

TEST_F(NumIO2Test, FixedPointDigitsAfterThePointOverwriteAndNothingIsSelectedPastTheEnd) {
  Field->SetInputFormat(itFixPoint);
  Field->SetText("3.14");
  Type("\1\3\3");
  EXPECT_EQ(Field->GetCaretPos(), 2);
  EXPECT_EQ(Field->GetSelBegin(), 2);
  EXPECT_EQ(Field->GetSelEnd(), 3);
  Type("5");
  EXPECT_EQ(Field->GetText(), "3.54");
  EXPECT_EQ(Field->GetSelBegin(), 3);
  EXPECT_EQ(Field->GetSelEnd(), 4);
  Type("6");
  EXPECT_EQ(Field->GetText(), "3.56");
  EXPECT_EQ(Field->GetCaretPos(), 4);
  EXPECT_EQ(Field->GetSelBegin(), 4);
  EXPECT_EQ(Field->GetSelEnd(), 4);
  const int64_t Before = Beeps();
  Type("7");
  EXPECT_EQ(Field->GetText(), "3.56");
  EXPECT_EQ(Beeps(), Before + 1);
}

TEST_F(NumIO2Test, ClipboardKeys) {
  // Ctrl+X of the whole text leaves the format's zero.
  Field->SetText("12.50");
  Field->SetSelBegin(0);
  Field->SetSelEnd(5);
  Changes = 0;
  Input->PressKey('X', {ssCtrl});
  EXPECT_EQ(Clipboard().GetAsText(), "12.50");
  EXPECT_EQ(Field->GetText(), "0.00");
  EXPECT_EQ(Field->GetCaretPos(), 0);
  EXPECT_EQ(Changes, 1);
  // Ctrl+V inserts at the caret; text that would be invalid is refused as a whole.
  Field->SetInputFormat(itInt);
  Field->SetText("12");
  Type("\3");
  Clipboard().SetAsText("34");
  Input->PressKey('V', {ssCtrl});
  EXPECT_EQ(Field->GetText(), "1342");
  EXPECT_EQ(Field->GetCaretPos(), 3);
  Clipboard().SetAsText("abc");
  const int64_t Before = Beeps();
  Input->PressKey('V', {ssCtrl});
  EXPECT_EQ(Field->GetText(), "1342");
  EXPECT_EQ(Field->GetCaretPos(), 3);
  EXPECT_EQ(Beeps(), Before + 1);
  // Ctrl+C copies the selection.
  Field->SetSelBegin(1);
  Field->SetSelEnd(3);
  Input->PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard().GetAsText(), "34");
}

TEST_F(NumIO2Test, ReadOnlyFieldCopiesButIgnoresEveryOtherKeyWithoutRepainting) {
  Field->SetText("42.00");
  Field->SetSelBegin(0);
  Field->SetSelEnd(2);
  const int Timers = ActiveTimerCount();
  Field->SetReadOnly(true);
  EXPECT_EQ(ActiveTimerCount(), Timers - 1);
  EXPECT_FALSE(Field->GetCaretVisible());
  Clipboard().SetAsText("");
  const int Paints = Field->Paints;
  const int64_t Before = Beeps();
  Input->PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard().GetAsText(), "42");
  Type("9\1");
  Input->PressKey(VK_DELETE);
  Input->PressKey('X', {ssCtrl});
  EXPECT_EQ(Field->GetText(), "42.00");
  EXPECT_EQ(Field->Paints, Paints);
  EXPECT_EQ(Beeps(), Before);
  EXPECT_FALSE(Field->GetCaretVisible());
  Field->SetReadOnly(false);
  EXPECT_EQ(ActiveTimerCount(), Timers);
}

TEST_F(NumIO2Test, CaretBlinksWhileFocusedAndTheTimerStopsWithoutFocus) {
  Type("1");
  EXPECT_TRUE(Field->GetCaretVisible());
  Advance(500);
  Application->ProcessMessages();
  EXPECT_FALSE(Field->GetCaretVisible());
  Advance(500);
  Application->ProcessMessages();
  EXPECT_TRUE(Field->GetCaretVisible());
  // Another control takes the focus: the next tick hides the caret and stops the timer.
  auto* Other = new TNumIO2(Form.get());
  Other->SetParent(Form.get());
  Other->SetTop(50);
  Other->SetFocus();
  const int Timers = ActiveTimerCount();
  Advance(500);
  Application->ProcessMessages();
  EXPECT_FALSE(Field->GetCaretVisible());
  EXPECT_EQ(ActiveTimerCount(), Timers - 1);
  // A click takes the focus back and starts the timer again.
  Input->Click(Field, 60, 10);
  EXPECT_TRUE(Field->Focused());
  EXPECT_TRUE(Field->GetCaretVisible());
  EXPECT_EQ(ActiveTimerCount(), Timers);
}

TEST_F(NumIO2Test, RefusedTimerRaisesTheComponentError) {
  SetTimerLimit(0);
  try {
    TNumIO2 F(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const ENUVNumIO2Error& E) {
    EXPECT_EQ(E.Message(), "Component \"\": no timer available");
  }
  EXPECT_THROW(Field->UpdateTimer(), ENUVNumIO2Error);
  // From a click, the error reaches the application's handler.
  std::string Seen;
  Application->OnException = [&](TObject*, const std::exception& E) { Seen = E.what(); };
  Input->Click(Field, 60, 10);
  EXPECT_EQ(Seen, "Component \"Field1\": no timer available");
  Field->SetReadOnly(true);
  EXPECT_THROW(Field->SetReadOnly(false), ENUVNumIO2Error);
  SetTimerLimit(10000);
}

TEST_F(NumIO2Test, SettersClampAndKeepTheTextConsistent) {
  Field->SetLeftSpace(-5);
  EXPECT_EQ(Field->GetLeftSpace(), 35);
  Field->SetLeftSpace(1000);
  EXPECT_EQ(Field->GetLeftSpace(), 160);
  Field->SetLeftSpace(35);
  Field->SetFixPointDecPlaces(20);
  EXPECT_EQ(Field->GetFixPointDecPlaces(), 15);
  Field->SetFixPointDecPlaces(0);
  EXPECT_EQ(Field->GetFixPointDecPlaces(), 15);
  Field->SetFixPointDecPlaces(2);
  Field->SetRangeHigh(5);
  Field->SetRangeLow(10);
  EXPECT_EQ(Field->GetRangeHigh(), 10);
  Field->SetRangeHigh(0);
  EXPECT_EQ(Field->GetRangeLow(), 0);
  EXPECT_EQ(Field->GetRangeHigh(), 0);
  // Text: invalid text is ignored, valid text resets caret and selection.
  Field->SetText("12.5");
  Field->SetText("12x");
  EXPECT_EQ(Field->GetText(), "12.5");
  // A shorter text keeps caret and selection inside it.
  Type("\3\3\3\3");
  Field->SetSelBegin(2);
  Field->SetSelEnd(4);
  Field->SetInputFormat(itInt);
  EXPECT_EQ(Field->GetText(), "12");
  EXPECT_LE(Field->GetCaretPos(), 2);
  EXPECT_LE(Field->GetSelEnd(), 2);
  Field->SetInputFormat(itHex);
  EXPECT_EQ(Field->GetText(), "0000000C");
  // Separators convert when one is chosen.
  Field->SetInputFormat(itFloat);
  Field->SetText("3,14");
  Field->SetDecPlaceSep(dpsPoint);
  EXPECT_EQ(Field->GetText(), "3.14");
  Field->SetDecPlaceSep(dpsComma);
  EXPECT_EQ(Field->GetText(), "3,14");
}

TEST_F(NumIO2Test, MousePutsTheCaretAtTheNearestCharacterAndDragSelects) {
  Field->SetInputFormat(itInt);
  Field->SetText("123456");  // digits of equal width: the average width is exact
  EXPECT_EQ(Field->XCoordsToCharPos(0), 0);
  Input->Click(Field, 150, 10);
  EXPECT_EQ(Field->GetCaretPos(), 6);
  EXPECT_EQ(Field->GetSelBegin(), 6);
  EXPECT_EQ(Field->GetSelEnd(), 6);
  // The average width never gives a position past the end of the text.
  Field->SetInputFormat(itFloat);
  for (const char* T : {"-.", "1.", ".5", "-1.", "11.1", "1.1"}) {
    Field->SetText(T);
    EXPECT_EQ(Field->XCoordsToCharPos(1000), static_cast<int>(std::string(T).size())) << T;
  }
  Field->SetText("123456");
  for (TAlignment A : {taLeftJustify, taRightJustify, taCenter}) {
    Field->SetAlignment(A);
    for (int K = 0; K <= 6; ++K) EXPECT_EQ(Field->XCoordsToCharPos(Field->CharPosToXCoords(K)), K);
  }
  const int X1 = Field->CharPosToXCoords(1), X4 = Field->CharPosToXCoords(4);
  Input->MouseDown(Field, mbLeft, X1, 10);
  Input->MouseMove(Field, X4, 10);
  Input->MouseUp(Field, mbLeft, X4, 10);
  EXPECT_EQ(Field->GetSelBegin(), 1);
  EXPECT_EQ(Field->GetSelEnd(), 4);
  // The selection shows inverted in the box.
  const int Mid = (X1 + X4) / 2;
  bool Inverted = false;
  for (int Y = 3; Y < Field->GetHeight() - 3; ++Y)
    Inverted |= Field->GetCanvas()->GetPixel(Mid, Y) == clBlack;
  EXPECT_TRUE(Inverted);
}

TEST_F(NumIO2Test, BoxShowsWarningColoursOutOfRangeAndSilverWhenDisabled) {
  Field->SetReadOnly(true);  // no caret in the way
  Field->SetValue(50);
  EXPECT_EQ(BoxPixel(5, 5), clWhite);
  EXPECT_TRUE(TextHasColor(clBlack));
  // Sunken frame: shadow outline, black inner top-left, highlight bottom and right.
  EXPECT_EQ(BoxPixel(0, 0), 0x808080u);
  EXPECT_EQ(BoxPixel(1, 5), clBlack);
  EXPECT_EQ(BoxPixel(5, 27), clWhite);
  EXPECT_EQ(BoxPixel(82, 5), clWhite);

  Field->SetRangeHigh(10);
  EXPECT_EQ(BoxPixel(5, 5), ColorToRGB(0x6088FFF0));
  EXPECT_TRUE(TextHasColor(clRed));
  EXPECT_FALSE(TextHasColor(clBlack));

  Field->SetEnabled(false);
  EXPECT_EQ(BoxPixel(5, 5), clSilver);
  EXPECT_TRUE(TextHasColor(0x808080));
  EXPECT_FALSE(TextHasColor(clRed));
  // The left text is engraved: grey with a white shadow.
  Field->SetLeftText("Mass");
  bool Grey = false, White = false;
  for (int Y = 0; Y < 28; ++Y)
    for (int X = 0; X < 35; ++X) {
      Grey |= Field->GetCanvas()->GetPixel(X, Y) == 0x808080u;
      White |= Field->GetCanvas()->GetPixel(X, Y) == clWhite;
    }
  EXPECT_TRUE(Grey && White);
  // The same shows in the form's image.
  EXPECT_EQ(Form->GetFormImage()->GetCanvas()->GetPixel(10 + 35 + 5, 10 + 5), clSilver);
}

TEST_F(NumIO2Test, AssignCopiesFromAnotherFieldAndRefusesOtherClasses) {
  Field->SetText("7.25");
  Field->SetFrameStyle(frsRaised);
  Field->SetColorScheme(csmSystem);
  Field->SetRangeLow(-3);
  TNumIO2 Copy(nullptr);
  Copy.Assign(Field);
  EXPECT_EQ(Copy.GetText(), "7.25");
  EXPECT_EQ(Copy.GetFrameStyle(), frsRaised);
  EXPECT_EQ(Copy.GetFrameShadowColor(), clBtnShadow);
  EXPECT_EQ(Copy.GetRangeLow(), -3);
  EXPECT_TRUE(Copy.GetBeep());
  // A target that is not a numeric field gets the platform's error, not a loop.
  TCustomControl Plain(nullptr);
  EXPECT_THROW(Plain.Assign(Field), EConvertError);
  TStringList List;
  EXPECT_THROW(List.Assign(Field), EConvertError);
}

}  // namespace
}  // namespace nuv
