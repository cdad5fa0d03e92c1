#include "platform/NUV_Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace nuv {

// ---------------------------------------------------------------- TStream

int64_t TStream::GetSize() {
  const int64_t pos = Seek(0, soCurrent);
  const int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count < 0 || Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count < 0 || Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.GetSize();
  }
  char buf[65536];
  int64_t left = Count;
  while (left > 0) {
    const int64_t n = std::min<int64_t>(left, sizeof buf);
    Source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    left -= n;
  }
  return Count;
}

namespace {

int64_t NewPosition(int64_t Current, int64_t Size, int64_t Offset, TSeekOrigin Origin) {
  const int64_t base = Origin == soBeginning ? 0 : (Origin == soCurrent ? Current : Size);
  if ((Offset < 0 && base + Offset < 0) || (Offset > 0 && base > INT64_MAX - Offset))
    throw EStreamError("Invalid stream position");
  return base + Offset;
}

}  // namespace

// ---------------------------------------------------------------- TFileStream

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : FFileName(FileName) {
  const std::string path = NativePath(FileName);
  int flags;
  if (Mode == fmCreate) {
    flags = O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (Mode & 3) {
      case fmOpenWrite: flags = O_WRONLY; break;
      case fmOpenReadWrite: flags = O_RDWR; break;
      default: flags = O_RDONLY; break;
    }
  }
  FHandle = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  struct stat st {};
  if (FHandle >= 0 && (fstat(FHandle, &st) != 0 || S_ISDIR(st.st_mode))) {
    ::close(FHandle);
    FHandle = -1;
    errno = EISDIR;
  }
  if (FHandle < 0) {
    const std::string reason = std::strerror(errno);
    throw EFOpenError(std::string(Mode == fmCreate ? "Cannot create file \"" : "Cannot open file \"") +
                      FileName + "\". " + reason);
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  int64_t done = 0;
  while (done < Count) {
    const ssize_t n = ::read(FHandle, static_cast<char*>(Buffer) + done, Count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  int64_t done = 0;
  while (done < Count) {
    const ssize_t n = ::write(FHandle, static_cast<const char*>(Buffer) + done, Count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int whence = Origin == soBeginning ? SEEK_SET : (Origin == soCurrent ? SEEK_CUR : SEEK_END);
  const off_t r = ::lseek(FHandle, Offset, whence);
  if (r < 0) throw EStreamError("Invalid stream position in \"" + FFileName + "\"");
  return r;
}

int64_t TFileStream::GetSize() {
  struct stat st {};
  if (fstat(FHandle, &st) != 0) throw EStreamError("Cannot read the size of \"" + FFileName + "\"");
  return st.st_size;
}

void TFileStream::SetSize(int64_t NewSize) {
  if (NewSize < 0 || ::ftruncate(FHandle, NewSize) != 0)
    throw EStreamError("Cannot set the size of \"" + FFileName + "\"");
  if (GetPosition() > NewSize) SetPosition(NewSize);
}

void TFileStream::Flush() {
  if (::fsync(FHandle) != 0) throw EWriteError("Cannot write \"" + FFileName + "\"");
}

// ---------------------------------------------------------------- memory buffers

namespace {

// The memory and string streams differ only in their container.
template <typename Buffer>
int64_t ReadBuf(const Buffer& Data, int64_t& Pos, void* Out, int64_t Count) {
  const int64_t size = static_cast<int64_t>(Data.size());
  if (Count <= 0 || Pos >= size) return 0;
  const int64_t n = std::min(Count, size - Pos);
  std::memcpy(Out, Data.data() + Pos, static_cast<size_t>(n));
  Pos += n;
  return n;
}

template <typename Buffer>
int64_t WriteBuf(Buffer& Data, int64_t& Pos, const void* In, int64_t Count) {
  if (Count <= 0) return 0;
  if (Pos + Count > static_cast<int64_t>(Data.size())) Data.resize(static_cast<size_t>(Pos + Count));
  std::memcpy(Data.data() + Pos, In, static_cast<size_t>(Count));
  Pos += Count;
  return Count;
}

template <typename Buffer>
void ResizeBuf(Buffer& Data, int64_t& Pos, int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Invalid stream size");
  Data.resize(static_cast<size_t>(NewSize));
  Pos = std::min(Pos, NewSize);
}

}  // namespace

// ---------------------------------------------------------------- TMemoryStream

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) { return ReadBuf(FData, FPosition, Buffer, Count); }

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  return WriteBuf(FData, FPosition, Buffer, Count);
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  FPosition = NewPosition(FPosition, GetSize(), Offset, Origin);
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) { ResizeBuf(FData, FPosition, NewSize); }

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Source) {
  Source.SetPosition(0);
  const int64_t size = Source.GetSize();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  Source.ReadBuffer(data.data(), size);
  FData = std::move(data);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead);
  LoadFromStream(f);
}

void TMemoryStream::SaveToStream(TStream& Dest) {
  Dest.WriteBuffer(FData.data(), GetSize());
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
  const std::string temp = FileName + ".tmp~";
  try {
    TFileStream f(temp, fmCreate);
    SaveToStream(f);
    f.Flush();
  } catch (...) {
    std::remove(NativePath(temp).c_str());
    throw;
  }
  if (std::rename(NativePath(temp).c_str(), NativePath(FileName).c_str()) != 0) {
    std::remove(NativePath(temp).c_str());
    throw EFOpenError("Cannot create file \"" + FileName + "\". " + std::strerror(errno));
  }
}

// ---------------------------------------------------------------- TStringStream

int64_t TStringStream::Read(void* Buffer, int64_t Count) { return ReadBuf(FData, FPosition, Buffer, Count); }

int64_t TStringStream::Write(const void* Buffer, int64_t Count) {
  return WriteBuf(FData, FPosition, Buffer, Count);
}

int64_t TStringStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  FPosition = NewPosition(FPosition, GetSize(), Offset, Origin);
  return FPosition;
}

void TStringStream::SetSize(int64_t NewSize) { ResizeBuf(FData, FPosition, NewSize); }

// ---------------------------------------------------------------- TTextFile

TTextFile::~TTextFile() {
  if (FOut) std::fclose(FOut);
  if (!FTempName.empty()) std::remove(NativePath(FTempName).c_str());
}

void TTextFile::Assign(const std::string& FileName) {
  if (IsOpen()) Fail("file is open");
  FFileName = FileName;
}

void TTextFile::Fail(const std::string& What) const {
  throw EInOutError("I/O error on \"" + FFileName + "\": " + What);
}

void TTextFile::Require(Mode M) const {
  if (FMode != M) Fail(M == Mode::Reading ? "file not open for input" : "file not open for output");
}

void TTextFile::Reset() {
  if (IsOpen()) Close();
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(FFileName, fmOpenRead);
  } catch (const EFOpenError& e) {
    throw EInOutError(e.Message());
  }
  const int64_t size = file->GetSize();
  FBuffer.assign(static_cast<size_t>(size), '\0');
  if (file->Read(FBuffer.data(), size) != size) Fail("read error");
  FPos = 0;
  FMode = Mode::Reading;
}

void TTextFile::Rewrite() {
  if (IsOpen()) Close();
  FTempName = FFileName + ".tmp~";
  FOut = std::fopen(NativePath(FTempName).c_str(), "wb");
  if (!FOut) {
    FTempName.clear();
    Fail(std::strerror(errno));
  }
  FMode = Mode::Writing;
}

void TTextFile::Append() {
  if (IsOpen()) Close();
  FOut = std::fopen(NativePath(FFileName).c_str(), "ab");
  if (!FOut) Fail(std::strerror(errno));
  FMode = Mode::Writing;
}

void TTextFile::Close() {
  const Mode was = FMode;
  FMode = Mode::Closed;
  FBuffer.clear();
  FPos = 0;
  if (was != Mode::Writing) return;
  const bool ok = std::fflush(FOut) == 0 && !std::ferror(FOut);
  const bool closed = std::fclose(FOut) == 0;
  FOut = nullptr;
  std::string temp;
  std::swap(temp, FTempName);
  if (!ok || !closed) {
    if (!temp.empty()) std::remove(NativePath(temp).c_str());
    Fail("write error");
  }
  if (!temp.empty() && std::rename(NativePath(temp).c_str(), NativePath(FFileName).c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(NativePath(temp).c_str());
    Fail(reason);
  }
}

bool TTextFile::Eof() const {
  Require(Mode::Reading);
  return FPos >= FBuffer.size();
}

bool TTextFile::Eoln() const {
  Require(Mode::Reading);
  return FPos >= FBuffer.size() || FBuffer[FPos] == '\r' || FBuffer[FPos] == '\n';
}

int TTextFile::PeekChar() const {
  Require(Mode::Reading);
  return FPos < FBuffer.size() ? static_cast<unsigned char>(FBuffer[FPos]) : -1;
}

char TTextFile::ReadChar() {
  Require(Mode::Reading);
  if (FPos >= FBuffer.size()) Fail("read beyond end of file");
  return FBuffer[FPos++];
}

void TTextFile::SkipLineEnd() {
  Require(Mode::Reading);
  if (FPos < FBuffer.size() && FBuffer[FPos] == '\r') ++FPos;
  if (FPos < FBuffer.size() && FBuffer[FPos] == '\n') ++FPos;
}

std::string TTextFile::ReadLn() {
  Require(Mode::Reading);
  const size_t start = FPos;
  while (FPos < FBuffer.size() && FBuffer[FPos] != '\r' && FBuffer[FPos] != '\n') ++FPos;
  std::string line = FBuffer.substr(start, FPos - start);
  SkipLineEnd();
  return line;
}

std::string TTextFile::ReadToken(bool WithinLine) {
  Require(Mode::Reading);
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  auto lineEnd = [](char c) { return c == '\r' || c == '\n'; };
  while (FPos < FBuffer.size() && (blank(FBuffer[FPos]) || (!WithinLine && lineEnd(FBuffer[FPos]))))
    ++FPos;
  const size_t start = FPos;
  while (FPos < FBuffer.size() && !blank(FBuffer[FPos]) && !lineEnd(FBuffer[FPos])) ++FPos;
  return FBuffer.substr(start, FPos - start);
}

bool TTextFile::ReadInteger(int64_t& Value, bool WithinLine) {
  std::string t = ReadToken(WithinLine);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  int64_t v = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || p != t.data() + t.size()) return false;
  Value = v;
  return true;
}

bool TTextFile::ReadFloat(double& Value, bool WithinLine) {
  std::string t = ReadToken(WithinLine);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  double v = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
  if (t.empty() || ec != std::errc() || p != t.data() + t.size() || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

void TTextFile::Write(const std::string& S) {
  Require(Mode::Writing);
  if (std::fwrite(S.data(), 1, S.size(), FOut) != S.size()) Fail("write error");
}

void TTextFile::WriteLn(const std::string& S) {
  Write(S);
  Write("\n");
}

}  // namespace nuv
