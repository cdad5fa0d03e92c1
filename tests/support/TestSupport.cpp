#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace nuv::test {

std::string FixturesDir() {
  const char* dir = std::getenv("NUV_FIXTURES");
  return dir ? dir : NUV_SOURCE_DIR "/tests/fixtures";
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "nuvtest-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  FPath = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(FPath, ec);
}

std::string ReadFileBytes(const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& FileName, const std::string& Bytes) {
  std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
  out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + FileName);
}

}  // namespace nuv::test
