// Line reading and writing on streams, and the tag reader.
#include <algorithm>

#include "contracts/base/NUV_Base.h"

namespace nuv {

namespace {

// Reads a stream through a small buffer; Release() moves the stream back to the first
// byte not taken, so callers see the stream positioned exactly after what was consumed.
class TStreamSource {
 public:
  explicit TStreamSource(TStream& S) : FStream(S) {}
  int Peek() {
    if (FPos == FLen && !Fill()) return -1;
    return static_cast<unsigned char>(FBuf[FPos]);
  }
  int Get() {
    const int c = Peek();
    if (c >= 0) ++FPos;
    return c;
  }
  void Release() {
    if (FLen > FPos) FStream.Seek(-static_cast<int64_t>(FLen - FPos), soCurrent);
    FPos = FLen = 0;
  }

 private:
  bool Fill() {
    const int64_t n = FStream.Read(FBuf, sizeof FBuf);
    FPos = 0;
    FLen = n > 0 ? static_cast<size_t>(n) : 0;
    return FLen > 0;
  }
  TStream& FStream;
  char FBuf[512];
  size_t FPos = 0, FLen = 0;
};

class TTextFileSource {
 public:
  explicit TTextFileSource(TTextFile& F) : FFile(F) {}
  int Peek() { return FFile.PeekChar(); }
  int Get() { return FFile.Eof() ? -1 : static_cast<unsigned char>(FFile.ReadChar()); }

 private:
  TTextFile& FFile;
};

bool IsLineEndOrTab(int C) { return C == '\r' || C == '\n' || C == '\t'; }

// The next character with a line end (CR, LF or CR LF) or a TAB read as one blank.
template <typename Source>
int GetFolded(Source& Src) {
  const int c = Src.Get();
  if (c == '\r' && Src.Peek() == '\n') Src.Get();
  return IsLineEndOrTab(c) ? ' ' : c;
}

// Skips the rest of a comment up to and including "-->"; false at the end of input.
template <typename Source>
bool SkipComment(Source& Src) {
  int dashes = 0;
  for (int c = Src.Get(); c >= 0; c = Src.Get()) {
    if (c == '>' && dashes >= 2) return true;
    dashes = c == '-' ? dashes + 1 : 0;
  }
  return false;
}

std::string TrimBlanks(const std::string& S) {
  const size_t first = S.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return S.substr(first, S.find_last_not_of(' ') - first + 1);
}

std::string CleanAttributes(const std::string& Raw) {
  std::string a = TrimBlanks(Raw);
  if (!a.empty() && a.back() == '/') a = TrimBlanks(a.substr(0, a.size() - 1));
  return a;
}

template <typename Source>
int ReadNextTag(Source& Src, const std::vector<std::string>& TagList, std::string& Attributes,
                std::string& Content) {
  Attributes.clear();
  Content.clear();
  if (TagList.empty()) return -1;
  const int endIndex = static_cast<int>(TagList.size()) - 1;
  for (;;) {
    int c;
    while ((c = Src.Get()) >= 0 && c != '<') {
    }
    if (c < 0) return endIndex;

    std::string name;
    while ((c = Src.Peek()) >= 0 && c != ' ' && !IsLineEndOrTab(c) && c != '>' &&
           !(c == '/' && !name.empty()) && name != "!--")
      name += static_cast<char>(Src.Get());
    if (name == "!--") {
      if (!SkipComment(Src)) return endIndex;
      continue;
    }

    std::string attributes;
    while ((c = GetFolded(Src)) >= 0 && c != '>') attributes += static_cast<char>(c);
    if (c < 0) return endIndex;

    std::string content;
    while ((c = Src.Peek()) >= 0 && c != '<') content += static_cast<char>(GetFolded(Src));

    const std::string lowered = LowerCase(name);
    for (int i = 0; i < static_cast<int>(TagList.size()); ++i) {
      if (LowerCase(TagList[static_cast<size_t>(i)]) == lowered) {
        Attributes = CleanAttributes(attributes);
        Content = std::move(content);
        return i;
      }
    }
  }
}

}  // namespace

std::string ReadLnStream(TStream& Stream, bool& AtEnd, int Mode) {
  TStreamSource src(Stream);
  std::string line;
  for (int c = src.Get(); c >= 0 && c != '\n'; c = src.Get()) line += static_cast<char>(c);
  AtEnd = src.Peek() < 0;
  src.Release();
  if (Mode == 1) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  std::erase_if(line, [](char ch) {
    const auto u = static_cast<unsigned char>(ch);
    return (u < 32 && u != '\t') || u == 127;
  });
  return line;
}

void WriteLnStream(TStream& Stream, const std::string& Text) {
  const std::string line = Text + '\n';
  Stream.WriteBuffer(line.data(), static_cast<int64_t>(line.size()));
}

int ReadNextTagInTextFile(TTextFile& F, const std::vector<std::string>& TagList,
                          std::string& Attributes, std::string& Content) {
  TTextFileSource src(F);
  return ReadNextTag(src, TagList, Attributes, Content);
}

int ReadNextTagInStream(TStream& Stream, const std::vector<std::string>& TagList,
                        std::string& Attributes, std::string& Content) {
  TStreamSource src(Stream);
  const int result = ReadNextTag(src, TagList, Attributes, Content);
  src.Release();
  return result;
}

}  // namespace nuv
