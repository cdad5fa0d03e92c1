// Streams, the text file and the file helpers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/NUV_Streams.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

TEST(Streams, MemoryAndStringStreamsReadWriteSeekAndGrow) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  m.SetPosition(10);
  m.WriteBuffer("!", 1);  // writing past the end grows with zeros
  EXPECT_EQ(m.GetSize(), 11);
  char buf[16] = {};
  m.SetPosition(0);
  EXPECT_EQ(m.Read(buf, 16), 11);
  EXPECT_EQ(std::string(buf, 5), "hello");
  EXPECT_EQ(buf[7], 0);
  EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);
  EXPECT_THROW(m.Seek(-1, soBeginning), EStreamError);

  TStringStream s("abc");
  s.Seek(0, soEnd);
  s.WriteString("def");
  EXPECT_EQ(s.DataString(), "abcdef");
  s.SetSize(2);
  EXPECT_EQ(s.DataString(), "ab");
  EXPECT_EQ(s.GetPosition(), 2);
}

TEST(Streams, FileStreamModesAndErrors) {
  TempDir dir;
  const std::string name = dir.File("data.bin");
  EXPECT_THROW(TFileStream(name, fmOpenRead), EFOpenError);
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("0123456789", 10);
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    EXPECT_EQ(f.GetSize(), 10);
    f.Seek(-3, soEnd);
    f.WriteBuffer("xyz", 3);
    f.SetSize(12);
  }
  EXPECT_EQ(ReadFileBytes(name), std::string("0123456xyz\0\0", 12));
  EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);  // a folder is not a file
  TMemoryStream m;
  m.LoadFromFile(name);
  EXPECT_EQ(m.GetSize(), 12);
  TMemoryStream copy;
  copy.CopyFrom(m, 0);
  EXPECT_EQ(copy.Data(), m.Data());
}

TEST(TextFile, ReadsEveryLineEndAndALastLineWithoutEnd) {
  TempDir dir;
  const std::string name = dir.File("t.txt");
  WriteFileBytes(name, "one\r\ntwo\rthree\n\nlast");
  TTextFile f(name);
  f.Reset();
  std::vector<std::string> lines;
  while (!f.Eof()) lines.push_back(f.ReadLn());
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "", "last"}));
  f.Close();
  EXPECT_FALSE(f.IsOpen());
}

TEST(TextFile, FreeFormatNumbersCanStayWithinTheLine) {
  TempDir dir;
  const std::string name = dir.File("n.txt");
  WriteFileBytes(name, "  12  -3.5e2\r\n\r\n  7 x nan 1e999\n$$$$\n");
  TTextFile f(name);
  f.Reset();
  int64_t i = 0;
  double d = 0;
  EXPECT_TRUE(f.ReadInteger(i, true));
  EXPECT_EQ(i, 12);
  EXPECT_TRUE(f.ReadFloat(d, true));
  EXPECT_EQ(d, -350);
  EXPECT_FALSE(f.ReadFloat(d, true));  // nothing left on this line
  EXPECT_EQ(f.ReadLn(), "");           // the rest of the first line
  EXPECT_EQ(f.ReadToken(true), "");    // an empty line stays empty
  f.ReadLn();
  EXPECT_TRUE(f.ReadInteger(i, false));
  EXPECT_EQ(i, 7);
  EXPECT_FALSE(f.ReadInteger(i, true));  // "x"
  EXPECT_FALSE(f.ReadFloat(d, true));    // "nan"
  EXPECT_FALSE(f.ReadFloat(d, true));    // overflow
  f.ReadLn();
  EXPECT_EQ(f.ReadLn(), "$$$$");
  EXPECT_TRUE(f.Eof());
  EXPECT_THROW(f.ReadChar(), EInOutError);
}

TEST(TextFile, RewriteReplacesTheFileOnlyWhenClosed) {
  TempDir dir;
  const std::string name = dir.File("keep.txt");
  WriteFileBytes(name, "old\n");
  {
    TTextFile f(name);
    f.Rewrite();
    f.WriteLn("new");
    EXPECT_EQ(ReadFileBytes(name), "old\n");
    // Destroyed without Close: as if writing failed midway.
  }
  EXPECT_EQ(ReadFileBytes(name), "old\n");
  EXPECT_FALSE(FileExists(name + ".tmp~"));
  TTextFile f(name);
  f.Rewrite();
  f.WriteLn("new");
  f.Close();
  EXPECT_EQ(ReadFileBytes(name), "new\n");
  f.Append();
  f.Write("more");
  f.Close();
  EXPECT_EQ(ReadFileBytes(name), "new\nmore");
  TTextFile missing(dir.File("none/x.txt"));
  EXPECT_THROW(missing.Reset(), EInOutError);
  EXPECT_THROW(missing.Rewrite(), EInOutError);
  EXPECT_THROW(missing.WriteLn("x"), EInOutError);  // not open
}

TEST(Files, ExistenceSizeRenameAndDelete) {
  TempDir dir;
  const std::string a = dir.File("a.txt"), b = dir.File("b.txt");
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(FileSize(a), -1);
  WriteFileBytes(a, "12345");
  EXPECT_TRUE(FileExists(a));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_TRUE(DirectoryExists(dir.Path()));
  EXPECT_EQ(FileSize(a), 5);
  WriteFileBytes(b, "x");
  EXPECT_FALSE(RenameFile(a, b));  // never replaces
  EXPECT_TRUE(DeleteFile(b));
  EXPECT_TRUE(RenameFile(a, b));
  EXPECT_TRUE(ForceDirectories(dir.File("x/y/z")));
  EXPECT_TRUE(DirectoryExists(dir.File("x\\y\\z")));
}

}  // namespace
}  // namespace nuv
