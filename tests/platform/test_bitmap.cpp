// The bitmap: pixels, copies, BMP and PNG files (round trips, hand-made variants,
// malformed files) and the clipboard.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/NUV_Clipbrd.h"
#include "platform/NUV_Graphics.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

void Put16(std::string& S, uint32_t V) { S += char(V & 0xFF); S += char((V >> 8) & 0xFF); }
void Put32(std::string& S, uint32_t V) { Put16(S, V & 0xFFFF); Put16(S, V >> 16); }

// A BMP file: file header, info header of InfoSize bytes (12, 40, 108 or 124), masks,
// palette (colours, stored B, G, R[, 0]) and pixel data as given.
std::string MakeBmp(int InfoSize, int W, int H, int Bpp, uint32_t Compression,
                    const std::vector<uint32_t>& Palette, const std::string& Data,
                    const std::vector<uint32_t>& Masks = {}) {
  std::string info;
  Put32(info, uint32_t(InfoSize));
  if (InfoSize == 12) {
    Put16(info, uint32_t(W));
    Put16(info, uint32_t(H));
    Put16(info, 1);
    Put16(info, uint32_t(Bpp));
  } else {
    Put32(info, uint32_t(W));
    Put32(info, uint32_t(H));
    Put16(info, 1);
    Put16(info, uint32_t(Bpp));
    Put32(info, Compression);
    Put32(info, uint32_t(Data.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, uint32_t(Palette.size()));
    Put32(info, 0);
    if (InfoSize > 40)
      for (size_t i = 0; i < 4; ++i) Put32(info, i < Masks.size() ? Masks[i] : 0);
  }
  info.resize(size_t(InfoSize), '\0');
  if (InfoSize == 40)
    for (uint32_t m : Masks) Put32(info, m);
  std::string pal;
  for (TColor c : Palette) {
    pal += char(GetBValue(c));
    pal += char(GetGValue(c));
    pal += char(GetRValue(c));
    if (InfoSize != 12) pal += '\0';
  }
  std::string f = "BM";
  uint32_t off = uint32_t(14 + info.size() + pal.size());
  Put32(f, uint32_t(off + Data.size()));
  Put32(f, 0);
  Put32(f, off);
  return f + info + pal + Data;
}

void LoadInto(TBitmap& B, const std::string& Bytes) {
  TStringStream S(Bytes);
  B.LoadFromStream(S);
}

void Load(const std::string& Bytes) {
  TBitmap B;
  LoadInto(B, Bytes);
}

std::string Save(const TBitmap& B) {
  TStringStream S;
  B.SaveToStream(S);
  return S.DataString();
}

TColor Px(TBitmap& B, int X, int Y) { return B.GetCanvas()->GetPixel(X, Y); }

TEST(Bitmap, NewPixelsAreWhiteAndResizeKeepsTheRest) {
  TBitmap B;
  EXPECT_TRUE(B.GetEmpty());
  B.SetSize(3, 2);
  EXPECT_EQ(Px(B, 2, 1), clWhite);
  B.GetCanvas()->SetPixel(1, 1, clRed);
  B.SetSize(5, 4);
  EXPECT_EQ(Px(B, 1, 1), clRed);
  EXPECT_EQ(Px(B, 4, 3), clWhite);
  B.SetWidth(1);
  EXPECT_EQ(B.GetWidth(), 1);
  EXPECT_EQ(B.GetHeight(), 4);
  B.SetSize(-3, 2);
  EXPECT_TRUE(B.GetEmpty());
  EXPECT_THROW(B.SetSize(100000, 100000), EOutOfMemory);
}

TEST(Bitmap, AssignCopiesDeeply) {
  TBitmap A, B;
  A.SetSize(2, 2);
  A.SetPixelFormat(pf8bit);
  A.GetCanvas()->SetPixel(0, 0, clBlue);
  B.Assign(&A);
  A.GetCanvas()->SetPixel(0, 0, clRed);
  EXPECT_EQ(Px(B, 0, 0), clBlue);
  EXPECT_EQ(B.GetPixelFormat(), pf8bit);
  EXPECT_EQ(B.GetCanvas()->GetTarget(), &B);
  B.Assign(nullptr);
  EXPECT_TRUE(B.GetEmpty());
  TStringList L;
  EXPECT_THROW(B.Assign(&L), EConvertError);
}

TEST(Bitmap, ScanLineHoldsBlueGreenRed) {
  TBitmap B;
  B.SetSize(2, 3);
  B.GetCanvas()->SetPixel(1, 2, RGB(0x11, 0x22, 0x33));
  const auto* row = reinterpret_cast<const uint8_t*>(B.ScanLine(2));
  EXPECT_EQ(row[4], 0x33);
  EXPECT_EQ(row[5], 0x22);
  EXPECT_EQ(row[6], 0x11);
  EXPECT_THROW(B.ScanLine(3), EInvalidGraphic);
  EXPECT_THROW(B.ScanLine(-1), EInvalidGraphic);
}

// Channel values that survive 5 and 6 bits.
uint8_t Bits5(int V) { return uint8_t((V * 255 + 15) / 31); }
uint8_t Bits6(int V) { return uint8_t((V * 255 + 31) / 63); }

TEST(Bitmap, RoundTripOfEachDepth) {
  struct Case {
    TPixelFormat Format;
    int Bits;
    int Colours;
  };
  const Case cases[] = {{pf1bit, 1, 2},   {pf4bit, 4, 16},  {pf8bit, 8, 256}, {pf15bit, 16, 0},
                        {pf16bit, 16, 0}, {pf24bit, 24, 0}, {pf32bit, 32, 0}, {pfDevice, 24, 0}};
  for (const Case& k : cases) {
    TBitmap B;
    B.SetSize(13, 7);  // odd width: rows need padding
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) {
        int i = y * 13 + x;
        TColor c;
        if (k.Colours > 0) {
          int n = i % k.Colours;
          c = RGB(uint8_t(n * 37), uint8_t(255 - n), uint8_t(n * 11));
        } else if (k.Format == pf15bit) {
          c = RGB(Bits5(i % 32), Bits5((i * 7) % 32), Bits5((i * 3) % 32));
        } else if (k.Format == pf16bit) {
          c = RGB(Bits5(i % 32), Bits6((i * 7) % 64), Bits5((i * 3) % 32));
        } else {
          c = RGB(uint8_t(i * 3), uint8_t(i * 5), uint8_t(i * 7));
        }
        B.GetCanvas()->SetPixel(x, y, c);
      }
    B.SetPixelFormat(k.Format);
    std::string bytes = Save(B);
    EXPECT_EQ(uint8_t(bytes[28]), k.Bits) << int(k.Format);
    TBitmap L;
    LoadInto(L, bytes);
    ASSERT_EQ(L.GetWidth(), 13);
    ASSERT_EQ(L.GetHeight(), 7);
    EXPECT_EQ(std::memcmp(L.ScanLine(0), B.ScanLine(0), 13 * 7 * 4), 0) << int(k.Format);
    if (k.Format != pfDevice) {
      EXPECT_EQ(L.GetPixelFormat(), k.Format);
    }
  }
}

TEST(Bitmap, TooManyColoursForThePaletteUseTheNearestOfAFixedOne) {
  TBitmap B;
  B.SetSize(64, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 64; ++x) B.GetCanvas()->SetPixel(x, y, RGB(uint8_t(x * 4), uint8_t(y * 32), 77));
  B.SetPixelFormat(pf8bit);
  TBitmap L;
    LoadInto(L, Save(B));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 64; ++x) {
      TColor a = Px(B, x, y), b = Px(L, x, y);
      EXPECT_LE(std::abs(GetRValue(a) - GetRValue(b)), 26);
      EXPECT_LE(std::abs(GetGValue(a) - GetGValue(b)), 26);
      EXPECT_LE(std::abs(GetBValue(a) - GetBValue(b)), 26);
    }
}

TEST(Bitmap, ReadsHandMadeVariants) {
  // Pixel rows are given bottom-up unless the height is negative.
  {  // 12-byte core header, 24 bits, 2 x 2
    std::string data = std::string("\x00\x00\xFF" "\xFF\x00\x00" "\0\0", 8) +
                       std::string("\x00\xFF\x00" "\x00\x00\x00" "\0\0", 8);
    TBitmap B;
    LoadInto(B, MakeBmp(12, 2, 2, 24, 0, {}, data));
    EXPECT_EQ(Px(B, 0, 1), clRed);
    EXPECT_EQ(Px(B, 1, 1), clBlue);
    EXPECT_EQ(Px(B, 0, 0), clLime);
    EXPECT_EQ(Px(B, 1, 0), clBlack);
    EXPECT_EQ(B.GetPixelFormat(), pf24bit);
  }
  {  // core header, 8 bits, a palette shorter than 256 colours
    TBitmap B;
    LoadInto(B, MakeBmp(12, 2, 1, 8, 0, {clBlack, clRed, clBlue}, std::string("\x02\x01\0\0", 4)));
    EXPECT_EQ(Px(B, 0, 0), clBlue);
    EXPECT_EQ(Px(B, 1, 0), clRed);
  }
  {  // top-down, 40-byte header
    std::string data = std::string("\x00\x00\xFF" "\0", 4) + std::string("\xFF\x00\x00" "\0", 4);
    TBitmap B;
    LoadInto(B, MakeBmp(40, 1, -2, 24, 0, {}, data));
    EXPECT_EQ(Px(B, 0, 0), clRed);
    EXPECT_EQ(Px(B, 0, 1), clBlue);
  }
  {  // 124-byte header, 32 bits with bit fields in the header (R in the low byte)
    std::string data = std::string("\x11\x22\x33\x00", 4);
    TBitmap B;
    LoadInto(B, MakeBmp(124, 1, 1, 32, 3, {}, data, {0x000000FF, 0x0000FF00, 0x00FF0000}));
    EXPECT_EQ(Px(B, 0, 0), RGB(0x11, 0x22, 0x33));
  }
  {  // 108-byte header, 16 bits 5-6-5
    std::string data;
    Put16(data, 0xF800);  // red
    Put16(data, 0x07E0);  // green
    TBitmap B;
    LoadInto(B, MakeBmp(108, 2, 1, 16, 3, {}, data, {0xF800, 0x07E0, 0x001F}));
    EXPECT_EQ(Px(B, 0, 0), clRed);
    EXPECT_EQ(Px(B, 1, 0), clLime);
    EXPECT_EQ(B.GetPixelFormat(), pf16bit);
  }
  {  // 40-byte header with the masks after it
    std::string data;
    Put16(data, 0x001F);
    Put16(data, 0);
    TBitmap B;
    LoadInto(B, MakeBmp(40, 1, 1, 16, 3, {}, data, {0xF800, 0x07E0, 0x001F}));
    EXPECT_EQ(Px(B, 0, 0), clBlue);
  }
  {  // 16 bits without masks: 5-5-5
    std::string data;
    Put16(data, 0x7C00);
    Put16(data, 0);
    TBitmap B;
    LoadInto(B, MakeBmp(40, 1, 1, 16, 0, {}, data));
    EXPECT_EQ(Px(B, 0, 0), clRed);
    EXPECT_EQ(B.GetPixelFormat(), pf15bit);
  }
  {  // 1 and 4 bits with palettes
    TBitmap B;
    LoadInto(B, MakeBmp(40, 3, 1, 1, 0, {clBlack, clRed}, std::string("\xA0\0\0\0", 4)));
    EXPECT_EQ(Px(B, 0, 0), clRed);
    EXPECT_EQ(Px(B, 1, 0), clBlack);
    EXPECT_EQ(Px(B, 2, 0), clRed);
    TBitmap C;
    LoadInto(C, MakeBmp(40, 3, 1, 4, 0, {clBlack, clRed, clBlue}, std::string("\x21\x00\0\0", 4)));
    EXPECT_EQ(Px(C, 0, 0), clBlue);
    EXPECT_EQ(Px(C, 1, 0), clRed);
    EXPECT_EQ(Px(C, 2, 0), clBlack);
  }
  {  // RLE8: a run, end of line, an absolute run, a run, end of bitmap
    std::string data("\x04\x01" "\x00\x00" "\x00\x03\x00\x01\x02\x00" "\x01\x02" "\x00\x01", 14);
    TBitmap B;
    LoadInto(B, MakeBmp(40, 4, 2, 8, 1, {clBlack, clRed, clBlue}, data));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(B, x, 1), clRed) << x;
    EXPECT_EQ(Px(B, 0, 0), clBlack);
    EXPECT_EQ(Px(B, 1, 0), clRed);
    EXPECT_EQ(Px(B, 2, 0), clBlue);
    EXPECT_EQ(Px(B, 3, 0), clBlue);
  }
  {  // RLE4: a run of alternating nibbles, a delta, an absolute run
    std::string data("\x03\x12" "\x00\x02\x01\x00" "\x00\x03\x21\x20" "\x00\x01", 12);
    TBitmap B;
    LoadInto(B, MakeBmp(40, 7, 1, 4, 2, {clBlack, clRed, clBlue}, data));
    EXPECT_EQ(Px(B, 0, 0), clRed);
    EXPECT_EQ(Px(B, 1, 0), clBlue);
    EXPECT_EQ(Px(B, 2, 0), clRed);
    EXPECT_EQ(Px(B, 3, 0), clBlack);  // skipped by the delta
    EXPECT_EQ(Px(B, 4, 0), clBlue);
    EXPECT_EQ(Px(B, 5, 0), clRed);
  }
}

TEST(Bitmap, MalformedFilesAreRejected) {
  const std::string good = MakeBmp(40, 4, 3, 24, 0, {}, std::string(12 * 3, '\x40'));
  const std::string rle = MakeBmp(40, 4, 2, 8, 1, {clBlack, clRed}, std::string("\x04\x01\x00\x00\x04\x01\x00\x01", 8));
  auto patch32 = [](std::string S, size_t At, uint32_t V) {
    std::string v;
    Put32(v, V);
    return S.replace(At, 4, v);
  };
  auto patch16 = [](std::string S, size_t At, uint32_t V) {
    std::string v;
    Put16(v, V);
    return S.replace(At, 2, v);
  };
  const std::pair<const char*, std::string> bad[] = {
      {"empty", ""},
      {"cut in the file header", good.substr(0, 10)},
      {"cut in the info header", good.substr(0, 30)},
      {"cut in the pixels", good.substr(0, good.size() - 1)},
      {"signature", "BX" + good.substr(2)},
      {"header size", patch32(good, 14, 41)},
      {"width 0", patch32(good, 18, 0)},
      {"negative width", patch32(good, 18, uint32_t(-4))},
      {"height 0", patch32(good, 22, 0)},
      {"huge width", patch32(good, 18, 3000000)},
      {"huge area", patch32(patch32(good, 18, 60000), 22, 60000)},
      {"planes", patch16(good, 26, 2)},
      {"bit count", patch16(good, 28, 7)},
      {"compression", patch32(good, 30, 9)},
      {"RLE with 24 bits", patch32(good, 30, 1)},
      {"offset inside the header", patch32(good, 10, 20)},
      {"offset beyond the file", patch32(good, 10, 1000000000)},
      {"palette too large", patch32(rle, 46, 300)},
      {"palette beyond the file", patch32(rle, 46, 200)},
      {"top-down RLE", patch32(rle, 22, uint32_t(-2))},
      {"RLE data cut", rle.substr(0, rle.size() - 3)},
      {"RLE size beyond the file", patch32(rle, 34, 5000)},
      {"bit fields not contiguous",
       MakeBmp(40, 1, 1, 32, 3, {}, std::string(4, '\0'), {0xF0F0, 0xFF0000, 0xFF})},
  };
  for (const auto& [name, bytes] : bad) {
    TBitmap B;
    B.SetSize(2, 2);
    B.GetCanvas()->SetPixel(0, 0, clRed);
    TStringStream S(bytes);
    EXPECT_THROW(B.LoadFromStream(S), EInvalidGraphic) << name;
    EXPECT_EQ(B.GetWidth(), 2) << name;
    EXPECT_EQ(Px(B, 0, 0), clRed) << name;
  }
  EXPECT_NO_THROW(Load(good));
  EXPECT_NO_THROW(Load(rle));
}

TEST(Bitmap, DamagedBytesNeverCrash) {
  // Every byte of small files of each kind replaced by a few values: the load either
  // works or raises EInvalidGraphic.
  TBitmap src;
  src.SetSize(5, 3);
  for (int x = 0; x < 5; ++x) src.GetCanvas()->SetPixel(x, x % 3, RGB(uint8_t(x * 50), 0, 200));
  std::vector<std::string> files;
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit}) {
    src.SetPixelFormat(f);
    files.push_back(Save(src));
  }
  files.push_back(MakeBmp(40, 7, 2, 4, 2, {clBlack, clRed}, std::string("\x03\x12\x00\x00\x00\x03\x21\x20\x00\x00\x00\x01", 12)));
  files.push_back(MakeBmp(40, 4, 2, 8, 1, {clBlack, clRed}, std::string("\x04\x01\x00\x00\x00\x02\x05\x01\x00\x01", 10)));
  int failures = 0, loads = 0;
  for (const std::string& f : files)
    for (size_t i = 0; i < f.size(); ++i)
      for (int v : {0x00, 0x01, 0x7F, 0xFF}) {
        std::string m = f;
        m[i] = char(v);
        try {
          Load(m);
          ++loads;
        } catch (const EInvalidGraphic&) {
          ++failures;
        }
      }
  EXPECT_GT(failures, 0);
  EXPECT_GT(loads, 0);
}

TEST(Bitmap, SizeQueryReadsTheHeaderOnly) {
  nuv::test::TempDir dir;
  TBitmap B;
  B.SetSize(17, 9);
  B.SaveToFile(dir.File("a.bmp"));
  int w = 0, h = 0;
  ASSERT_TRUE(ReadBitmapFileSize(dir.File("a.bmp"), w, h));
  EXPECT_EQ(w, 17);
  EXPECT_EQ(h, 9);
  // Only the header is needed.
  std::string head = nuv::test::ReadFileBytes(dir.File("a.bmp")).substr(0, 54);
  TStringStream S(head);
  ASSERT_TRUE(ReadBitmapStreamSize(S, w, h));
  EXPECT_EQ(S.GetPosition(), 0);
  EXPECT_FALSE(ReadBitmapFileSize(dir.File("missing.bmp"), w, h));
  nuv::test::WriteFileBytes(dir.File("bad.bmp"), "BM nonsense");
  EXPECT_FALSE(ReadBitmapFileSize(dir.File("bad.bmp"), w, h));
  TBitmap L;
  L.LoadFromFile(dir.File("a.bmp"));
  EXPECT_EQ(L.GetWidth(), 17);
  EXPECT_THROW(L.LoadFromFile(dir.File("missing.bmp")), EFOpenError);
}

TEST(Bitmap, PngRoundTrip) {
  nuv::test::TempDir dir;
  TBitmap B;
  B.SetSize(9, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 9; ++x) B.GetCanvas()->SetPixel(x, y, RGB(uint8_t(x * 28), uint8_t(y * 60), 99));
  B.SaveToPNGFile(dir.File("a.png"));
  EXPECT_EQ(nuv::test::ReadFileBytes(dir.File("a.png")).substr(0, 8), "\x89PNG\r\n\x1A\n");
  TBitmap L;
  L.LoadFromPNGFile(dir.File("a.png"));
  ASSERT_EQ(L.GetWidth(), 9);
  EXPECT_EQ(std::memcmp(L.ScanLine(0), B.ScanLine(0), 9 * 4 * 4), 0);
  std::string png = nuv::test::ReadFileBytes(dir.File("a.png"));
  TStringStream cut(png.substr(0, png.size() / 2));
  EXPECT_THROW(L.LoadFromPNGStream(cut), EInvalidGraphic);
  EXPECT_EQ(L.GetWidth(), 9);
  TBitmap empty;
  TStringStream out;
  EXPECT_THROW(empty.SaveToPNGStream(out), EInvalidGraphic);
}

TEST(Bitmap, ClipboardHoldsBmpBytes) {
  TBitmap B;
  B.SetSize(3, 2);
  B.GetCanvas()->SetPixel(2, 1, clNavy);
  CopyBitmapToClipboard(B);
  ASSERT_TRUE(Clipboard().HasFormat(CF_BITMAP));
  EXPECT_EQ(Clipboard().GetData(CF_BITMAP).substr(0, 2), "BM");
  TBitmap P;
  ASSERT_TRUE(PasteBitmapFromClipboard(P));
  EXPECT_EQ(Px(P, 2, 1), clNavy);
  Clipboard().SetAsText("text");
  EXPECT_FALSE(PasteBitmapFromClipboard(P));
  EXPECT_EQ(P.GetWidth(), 3);
}

}  // namespace
}  // namespace nuv
