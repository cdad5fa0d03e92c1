#include <cstdio>

#include "platform/NUV_Classes.h"

int main() {
  nuv::TComponent form(nullptr);
  auto* child = new nuv::TComponent(&form);
  child->SetName("Child1");
  std::printf("%s %s\n", form.FindComponent("child1") == child ? "ok" : "broken",
              nuv::FloatToStr(2.5).c_str());
  return form.FindComponent("child1") == child ? 0 : 1;
}
