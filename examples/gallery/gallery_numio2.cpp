// The custom-drawn numeric field: its states, frame styles and alignments.
#include "Gallery.h"
#include "gui/NUV_NumIO.h"

namespace nuv::gallery {

namespace {

TNumIO2* Field(TForm* Form, int X, int Y, const std::string& Left, const std::string& Right) {
  auto* F = new TNumIO2(Form);
  F->SetParent(Form);
  F->SetBounds(X, Y, 230, 28);
  F->SetLeftSpace(80);
  F->SetTextBoxWidth(90);
  F->SetLeftText(Left);
  F->SetRightText(Right);
  return F;
}

void BuildStates(TForm* Form) {
  Form->SetBounds(0, 0, 520, 300);
  SetCaptions(Form, {{12, 10, "TNumIO2: typical states", true},
                     {262, 52, "normal, itFloat"},
                     {262, 88, "value out of range 0..100"},
                     {262, 124, "disabled"},
                     {262, 160, "focused, text selected"},
                     {262, 196, "itExp, read-only"},
                     {262, 232, "itHex and itInt"}});
  Field(Form, 20, 46, "Length", "mm")->SetValue(12.5);

  TNumIO2* Temp = Field(Form, 20, 82, "Temperature", "\xB0" "C");
  Temp->SetRangeLow(0);
  Temp->SetRangeHigh(100);
  Temp->SetValue(120.5);

  TNumIO2* Speed = Field(Form, 20, 118, "Speed", "m/s");
  Speed->SetValue(3);
  Speed->SetEnabled(false);

  TNumIO2* Mass = Field(Form, 20, 154, "Mass", "kg");
  Mass->SetInputFormat(itFixPoint);
  Mass->SetFixPointDecPlaces(3);
  Mass->SetValue(1234.567);
  Mass->SetFocus();
  Mass->SetSelBegin(1);
  Mass->SetSelEnd(4);

  TNumIO2* Energy = Field(Form, 20, 190, "Energy", "J");
  Energy->SetInputFormat(itExp);
  Energy->SetValue(6.02214e23);
  Energy->SetReadOnly(true);

  TNumIO2* Address = Field(Form, 20, 226, "Address", "hex");
  Address->SetInputFormat(itHex);
  Address->SetValue(48879);
  TNumIO2* Count = Field(Form, 20, 262, "Count", "");
  Count->SetInputFormat(itInt);
  Count->SetValue(-42);
}

void BuildFrames(TForm* Form) {
  Form->SetBounds(0, 0, 520, 300);
  static const char* const Names[] = {"frsNone", "frsLine", "frsSunken", "frsRaised", "frsEmbossed", "frsEngraved"};
  std::vector<TCaption> Captions{{12, 10, "TNumIO2: frame styles", true}};
  for (int i = 0; i < 6; ++i) {
    TNumIO2* F = Field(Form, 20, 46 + 36 * i, Names[i], "V");
    F->SetFrameStyle(static_cast<TFrameStyle>(i));
    F->SetValue(230.0 + i);
    TNumIO2* W = Field(Form, 270, 46 + 36 * i, "warning", "V");
    W->SetFrameStyle(static_cast<TFrameStyle>(i));
    W->SetRangeHigh(100);
    W->SetValue(230.0 + i);
  }
  Captions.push_back({360, 10, "out of range"});
  SetCaptions(Form, Captions);
}

void BuildAlignment(TForm* Form) {
  Form->SetBounds(0, 0, 520, 250);
  SetCaptions(Form, {{12, 10, "TNumIO2: alignment of the number and of the side texts", true},
                     {270, 52, "Alignment: the number in the box"},
                     {12, 154, "LeftTextAlignment and RightTextAlignment"}});
  static const char* const Names[] = {"left", "right", "centre"};
  for (int i = 0; i < 3; ++i) {
    TNumIO2* F = Field(Form, 20, 46 + 36 * i, Names[i], "mm");
    F->SetAlignment(static_cast<TAlignment>(i));
    F->SetValue(3.14159);
  }
  for (int i = 0; i < 3; ++i) {
    TNumIO2* S = Field(Form, 20 + 250 * (i / 2), 176 + 36 * (i % 2), Names[i], Names[i]);
    S->SetWidth(240);
    S->SetLeftSpace(80);
    S->SetTextBoxWidth(70);
    S->SetLeftTextAlignment(static_cast<TAlignment>(i));
    S->SetRightTextAlignment(static_cast<TAlignment>(i));
    S->SetValue(i + 1);
  }
  TNumIO2* Colors = Field(Form, 270, 212, "colours", "%");
  Colors->SetWidth(240);
  Colors->SetTextBoxWidth(70);
  Colors->SetColorOutBG(0xF0E0D0);
  Colors->SetColorBoxBG(0xE0FFFF);
  Colors->SetColorBoxText(clNavy);
  Colors->SetValue(87.5);
}

const bool Registered = RegisterForm("numio2_states", BuildStates) &&
                        RegisterForm("numio2_frames", BuildFrames) &&
                        RegisterForm("numio2_alignment", BuildAlignment);

}  // namespace

}  // namespace nuv::gallery
