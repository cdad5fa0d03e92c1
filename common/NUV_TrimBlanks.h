// Blank trimming shared by the report list and the geographic readers.
#pragma once

#include <string>

namespace nuv {

// Text without its leading and trailing blanks (character 32 only: tabs and other white
// space stay). A text of blanks only becomes empty.
std::string TrimBlanks(const std::string& Text);

}  // namespace nuv
