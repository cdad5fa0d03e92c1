// Uses one component of each library through the installed headers.
#include <cstdio>

#include "chem/NUV_cstruct.h"
#include "geo/NUV_GeoDB.h"
#include "gui/NUV_Meter.h"
#include "platform/NUV_Forms.h"

int main() {
  auto* form = new nuv::TForm(nuv::Application);
  auto* meter = new nuv::TMeter(form);
  meter->SetParent(form);
  meter->SetBounds(0, 0, 200, 120);
  nuv::TGeoDB db(nullptr);
  nuv::TCTab tab(nullptr);
  std::printf("install check: %s\n", meter->GetOwner() == form ? "ok" : "broken");
  delete form;
  return 0;
}
