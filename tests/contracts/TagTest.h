// One tag as the tag readers return it, comparable and printable in test failures.
#pragma once

#include <ostream>
#include <string>

namespace nuv::test {

struct TTag {
  int Index;
  std::string Attributes, Content;
  bool operator==(const TTag&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TTag& t) {
  return os << t.Index << " [" << t.Attributes << "] [" << t.Content << "]";
}

}  // namespace nuv::test
