#include "common/NUV_TrimBlanks.h"

namespace nuv {

std::string TrimBlanks(const std::string& Text) {
  const size_t First = Text.find_first_not_of(' ');
  if (First == std::string::npos) return "";
  return Text.substr(First, Text.find_last_not_of(' ') - First + 1);
}

}  // namespace nuv
