// The JPEG image: a picture encoded with libjpeg decodes within two levels, progress is
// reported, malformed data are refused before or during decoding.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/NUV_Jpeg.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

// The test picture, 64 x 48: four blocks of colour over a grey ramp (what survives the
// colour transform of the format within a level or two).
TColor Expected(int X, int Y) {
  static const TColor blocks[4] = {RGB(200, 40, 40), RGB(40, 160, 60), RGB(30, 60, 200),
                                   RGB(220, 200, 40)};
  if (Y < 16) return blocks[X / 16];
  uint8_t g = uint8_t(40 + X + 2 * (Y - 16));
  return RGB(g, g, g);
}

// The test picture encoded with libjpeg at the highest quality.
std::string SmoothJpeg() {
  TBitmap B;
  B.SetSize(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) B.GetCanvas()->SetPixel(x, y, Expected(x, y));
  TJPEGImage J;
  J.Assign(&B);
  J.SetCompressionQuality(100);
  TStringStream S;
  J.SaveToStream(S);
  return S.DataString();
}

TEST(Jpeg, DecodesWithinTwoLevels) {
  const std::string bytes = SmoothJpeg();
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xD8");
  TJPEGImage J;
  TStringStream S(bytes);
  J.LoadFromStream(S);
  EXPECT_EQ(J.GetWidth(), 64);
  EXPECT_EQ(J.GetHeight(), 48);
  TBitmap B;
  B.Assign(&J);
  ASSERT_EQ(B.GetWidth(), 64);
  int worst = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      TColor c = B.GetCanvas()->GetPixel(x, y), e = Expected(x, y);
      worst = std::max({worst, std::abs(GetRValue(c) - GetRValue(e)),
                        std::abs(GetGValue(c) - GetGValue(e)), std::abs(GetBValue(c) - GetBValue(e))});
    }
  EXPECT_LE(worst, 2);
  // Drawn onto a canvas as well.
  TBitmap D;
  D.SetSize(64, 48);
  D.GetCanvas()->Draw(0, 0, &J);
  EXPECT_EQ(D.GetCanvas()->GetPixel(10, 10), B.GetCanvas()->GetPixel(10, 10));
}

TEST(Jpeg, ReportsProgress) {
  nuv::test::TempDir dir;
  nuv::test::WriteFileBytes(dir.File("a.jpg"), SmoothJpeg());
  TJPEGImage J;
  std::vector<std::pair<TProgressStage, int>> seen;
  J.OnProgress = [&](TObject* Sender, TProgressStage Stage, uint8_t Percent, bool,
                     const TRect&, const std::string&) {
    EXPECT_EQ(Sender, &J);
    seen.push_back({Stage, Percent});
  };
  J.LoadFromFile(dir.File("a.jpg"));
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front().first, psStarting);
  EXPECT_EQ(seen.back(), std::make_pair(psEnding, 100));
  for (size_t i = 1; i + 1 < seen.size(); ++i) {
    EXPECT_EQ(seen[i].first, psRunning);
    EXPECT_GE(seen[i].second, seen[i - 1].second);
  }
}

TEST(Jpeg, MalformedDataRaise) {
  const std::string good = SmoothJpeg();
  // The frame header (SOF0) holds the height and width after its marker, length and
  // precision.
  size_t sof = good.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  std::string huge = good;
  huge[sof + 5] = huge[sof + 6] = huge[sof + 7] = huge[sof + 8] = '\xFF';
  std::string zero = good;
  zero[sof + 5] = zero[sof + 6] = '\0';
  std::string scrambled = good;
  for (size_t i = good.size() / 2; i < good.size() - 2; ++i) scrambled[i] = char(i * 37);
  const std::pair<const char*, std::string> bad[] = {
      {"empty", ""},
      {"not a JPEG", "BM not a jpeg"},
      {"only the signature", "\xFF\xD8\xFF"},
      {"truncated", good.substr(0, good.size() / 2)},
      {"huge dimensions", huge},
      {"height zero", zero},
      {"scrambled data", scrambled},
  };
  for (const auto& [name, bytes] : bad) {
    TJPEGImage J;
    TStringStream ok(good);
    J.LoadFromStream(ok);
    TStringStream S(bytes);
    EXPECT_THROW(J.LoadFromStream(S), EInvalidGraphic) << name;
    EXPECT_EQ(J.GetWidth(), 64) << name;  // unchanged
  }
}

TEST(Jpeg, DamagedBytesNeverCrash) {
  const std::string good = SmoothJpeg();
  int failures = 0, loads = 0;
  for (size_t i = 2; i < good.size(); i += 5)
    for (int v : {0x00, 0xFF, 0x5A}) {
      std::string m = good;
      m[i] = char(v);
      TJPEGImage J;
      TStringStream S(m);
      try {
        J.LoadFromStream(S);
        ++loads;
        EXPECT_EQ(J.GetWidth() > 0, J.GetHeight() > 0);
      } catch (const EInvalidGraphic&) {
        ++failures;
      }
    }
  EXPECT_GT(failures, 0);
  EXPECT_GT(loads, 0);
}

TEST(Jpeg, SizeQueryAndAssignment) {
  const std::string good = SmoothJpeg();
  TStringStream S(good);
  int w = 0, h = 0;
  ASSERT_TRUE(ReadJPEGStreamSize(S, w, h));
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 48);
  EXPECT_EQ(S.GetPosition(), 0);
  TStringStream B("garbage");
  EXPECT_FALSE(ReadJPEGStreamSize(B, w, h));
  TJPEGImage A, C;
  A.LoadFromStream(S);
  C.Assign(&A);
  EXPECT_EQ(C.GetHeight(), 48);
  TJPEGImage empty;
  TStringStream out;
  EXPECT_THROW(empty.SaveToStream(out), EInvalidGraphic);
}

}  // namespace
}  // namespace nuv
