// Writes one PNG per registered gallery form into the folder given as first argument.
#include <algorithm>
#include <cstdio>
#include <exception>

#include "Gallery.h"
#include "platform/NUV_SysUtils.h"

namespace nuv::gallery {

namespace {
std::vector<TFormEntry>& Registry() {
  static std::vector<TFormEntry> R;
  return R;
}
}  // namespace

bool RegisterForm(const std::string& Name, TFormBuilder Build) {
  Registry().push_back({Name, std::move(Build)});
  return true;
}

std::vector<TFormEntry> Forms() {
  std::vector<TFormEntry> R = Registry();
  std::sort(R.begin(), R.end(), [](const TFormEntry& a, const TFormEntry& b) { return a.Name < b.Name; });
  return R;
}

void SetCaptions(TForm* Form, std::vector<TCaption> Captions) {
  Form->OnPaint = [Form, Captions = std::move(Captions)](TObject*) {
    TCanvas* C = Form->GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    for (const TCaption& Cap : Captions) {
      C->GetFont()->SetStyle(Cap.Bold ? TFontStyles{fsBold} : TFontStyles{});
      C->GetFont()->SetColor(clBlack);
      C->TextOut(Cap.X, Cap.Y, Cap.Text);
    }
    C->GetFont()->SetStyle({});
  };
}

}  // namespace nuv::gallery

int main(int argc, char** argv) {
  using namespace nuv;
  if (argc < 2) {
    std::fprintf(stderr, "usage: gallery <output folder>\n");
    return 2;
  }
  const std::string Dir = argv[1];
  if (!ForceDirectories(Dir)) {
    std::fprintf(stderr, "gallery: cannot create the folder %s\n", Dir.c_str());
    return 1;
  }
  // A clock of the gallery's own, so that blinking carets and other timers come out the
  // same on every run: each form is shown as it looks one second after it opened.
  TDateTime Clock = EncodeDate(2026, 1, 1);
  SetClock([&Clock] { return Clock; });
  int Failed = 0;
  for (const gallery::TFormEntry& Entry : gallery::Forms()) {
    const std::string FileName = IncludeTrailingPathDelimiter(Dir) + Entry.Name + ".png";
    try {
      auto* Form = new TForm(Application);
      Form->SetCaption(Entry.Name);
      Form->Show();
      Entry.Build(Form);
      for (int Step = 0; Step < 2; ++Step) {
        Application->ProcessMessages();
        Clock += 0.5 / 86400;
      }
      Application->ProcessMessages();
      Form->GetFormImage()->SaveToPNGFile(FileName);
      delete Form;
      std::printf("%s\n", FileName.c_str());
    } catch (const std::exception& E) {
      std::fprintf(stderr, "gallery: %s: %s\n", Entry.Name.c_str(), E.what());
      ++Failed;
    }
  }
  return Failed == 0 ? 0 : 1;
}
