// The gallery's registry of forms. Each component adds its forms from a file of its own
// (gallery_<component>.cpp) with a registration at namespace scope:
//
//   static const bool Registered = nuv::gallery::RegisterForm("numio2_states", BuildStates);
//
// The gallery creates a shown form for each registration, lets the builder lay out the
// components on it (and size it), runs the message loop and writes <name>.png.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/NUV_Forms.h"

namespace nuv::gallery {

using TFormBuilder = std::function<void(TForm* Form)>;

struct TFormEntry {
  std::string Name;
  TFormBuilder Build;
};

bool RegisterForm(const std::string& Name, TFormBuilder Build);
// The registered forms, ordered by name.
std::vector<TFormEntry> Forms();

// Draws the form's title and captions on its surface, under its controls.
struct TCaption {
  int X, Y;
  std::string Text;
  bool Bold = false;
};
void SetCaptions(TForm* Form, std::vector<TCaption> Captions);

}  // namespace nuv::gallery
