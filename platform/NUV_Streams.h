// Streams and the text file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/NUV_Classes.h"

namespace nuv {

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  // Read and Write move up to Count bytes and return how many moved.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // Returns the new position; positions before 0 are refused with EStreamError.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  virtual int64_t GetSize();
  virtual void SetSize(int64_t NewSize) = 0;
  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  // All or nothing: EReadError / EWriteError when fewer bytes move.
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source's position (Count 0: all of Source from its start).
  int64_t CopyFrom(TStream& Source, int64_t Count);
};

enum TFileMode : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmCreate = 0xFF00,  // create, or truncate an existing file, for reading and writing
};

// A file opened in one of the modes above; EFOpenError when it cannot be opened.
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t GetSize() override;
  void SetSize(int64_t NewSize) override;
  // Pushes written data to the operating system (fsync); raises EWriteError on failure.
  void Flush();
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
  int FHandle = -1;
};

class TMemoryStream : public TStream {
 public:
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t GetSize() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  void Clear();
  void* Memory() { return FData.data(); }
  const std::vector<uint8_t>& Data() const { return FData; }
  void LoadFromStream(TStream& Source);  // replaces the content; position 0
  void LoadFromFile(const std::string& FileName);
  void SaveToStream(TStream& Dest);
  // Written to a temporary file first, so a failure keeps the old file.
  void SaveToFile(const std::string& FileName);

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

class TStringStream : public TStream {
 public:
  explicit TStringStream(std::string Data = {}) : FData(std::move(Data)) {}
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t GetSize() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  const std::string& DataString() const { return FData; }
  void WriteString(const std::string& S) { Write(S.data(), static_cast<int64_t>(S.size())); }

 private:
  std::string FData;
  int64_t FPosition = 0;
};

// A text file in the classic sense: Assign a name, then Reset (read), Rewrite (write
// anew) or Append. Errors raise EInOutError with the file name.
//
// Reading accepts lines ending in CR, LF or CR LF, and a last line without an end.
// Rewrite writes into a temporary file beside the target that replaces the target only
// at Close(); destroying the object without Close() leaves the old file as it was.
// Lines are written with LF.
class TTextFile {
 public:
  TTextFile() = default;
  explicit TTextFile(const std::string& FileName) : FFileName(FileName) {}
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;
  ~TTextFile();

  void Assign(const std::string& FileName);
  const std::string& FileName() const { return FFileName; }
  void Reset();
  void Rewrite();
  void Append();
  void Close();
  bool IsOpen() const { return FMode != Mode::Closed; }

  // Reading
  bool Eof() const;              // no character left
  bool Eoln() const;             // at a line end or at the end
  int PeekChar() const;          // the next character (0..255) or -1 at the end
  char ReadChar();               // the next character; a line end reads as '\r' or '\n'
  std::string ReadLn();          // the rest of the line; moves past its end
  void SkipLineEnd();            // moves past the line end at the position, if any
  // Free-format reads: skip blanks and tabs (and, unless WithinLine, line ends), then
  // take the characters up to the next blank, tab or line end. "" when nothing is left
  // (on this line, with WithinLine).
  std::string ReadToken(bool WithinLine);
  // ReadToken converted; false (the token is consumed) when it is missing or is not a
  // finite number of the kind. Integers are decimal with an optional sign.
  bool ReadInteger(int64_t& Value, bool WithinLine);
  bool ReadFloat(double& Value, bool WithinLine);  // '.' as decimal point

  // Writing
  void Write(const std::string& S);
  void WriteLn(const std::string& S = {});

 private:
  enum class Mode { Closed, Reading, Writing };
  void Require(Mode M) const;
  [[noreturn]] void Fail(const std::string& What) const;
  std::string FFileName;
  std::string FTempName;
  Mode FMode = Mode::Closed;
  std::string FBuffer;  // whole file when reading
  size_t FPos = 0;
  std::FILE* FOut = nullptr;
};

}  // namespace nuv
