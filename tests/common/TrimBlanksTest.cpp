#include "common/NUV_TrimBlanks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nuv {
namespace {

TEST(TrimBlanks, RemovesOnlyBlanksAtBothEnds) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"", ""},         {"   ", ""},           {"x", "x"},
      {"  a b  ", "a b"}, {"\ta\t", "\ta\t"},  // tabs are not blanks
      {" \tx\r ", "\tx\r"}, {"id ", "id"},      {" id", "id"},
  };
  for (const auto& [Text, Expected] : Cases) {
    SCOPED_TRACE("\"" + Text + "\"");
    EXPECT_EQ(TrimBlanks(Text), Expected);
  }
}

}  // namespace
}  // namespace nuv
