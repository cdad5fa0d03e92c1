// Shared helpers of the test suites.
#pragma once

#include <string>

namespace nuv::test {

// The folder tests/fixtures of the source tree.
std::string FixturesDir();

// A fresh, empty temporary folder, removed with everything in it when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& Name) const { return FPath + "/" + Name; }

 private:
  std::string FPath;
};

// Whole file as bytes ("" when it does not exist) and writing bytes to a file.
std::string ReadFileBytes(const std::string& FileName);
void WriteFileBytes(const std::string& FileName, const std::string& Bytes);

}  // namespace nuv::test
