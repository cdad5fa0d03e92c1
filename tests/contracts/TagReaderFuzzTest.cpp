// Random documents with a fixed seed: the file and stream tag readers must read the same
// tags, always come to the end of the input, and line reading must lose nothing but line
// ends and control characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "contracts/base/NUV_Base.h"
#include "tests/contracts/TagTest.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

const std::vector<std::string> GeoTags = {
    "geomap",   "/geomap", "calline",   "corners",    "resolution", "gmlandmarks", "/gmlandmarks",
    "landmark", "calquads", "lmsymbols", "/lmsymbols", "symbol",     "invalidtag"};
constexpr int kEnd = 12;

const std::vector<std::string> Fragments = {
    "<geomap id=\"a\">", "</geomap>", "<landmark lat=\"1\" />", "<Symbol\tsize=\"3\"/>",
    "<corners>",         "</corners>", "<!-- x <calline> -->",  "<!--",
    "-->",               "<?xml version=\"1.0\"?>", "[1,2] ", "text",
    "\r\n",              "\n",         "\r",                    "\t",
    "<",                 ">",          "/",                     " ",
    "<unknown a=\"b\">", "<resolution>", "\x01",               "<calline\n type=\"x\">"};

std::string RandomDocument(std::mt19937& Rng) {
  std::uniform_int_distribution<int> Count(0, 16);
  std::uniform_int_distribution<size_t> Pick(0, Fragments.size() - 1);
  std::string Doc;
  for (int I = Count(Rng); I > 0; --I) Doc += Fragments[Pick(Rng)];
  return Doc;
}

using test::TTag;

TEST(TagReaderFuzz, FileAndStreamReadersAgreeAndReachTheEnd) {
  std::mt19937 Rng(7405);
  test::TempDir Dir;
  const std::string FileName = Dir.File("doc.xml");
  for (int Round = 0; Round < 400; ++Round) {
    const std::string Doc = RandomDocument(Rng);
    SCOPED_TRACE(Doc);
    // Every call but the last consumes a "<", so the end comes within this many calls.
    const size_t MaxCalls = Doc.size() + 2;

    std::vector<TTag> FromStream;
    TStringStream S(Doc);
    for (size_t Call = 0; Call < MaxCalls; ++Call) {
      TTag T;
      T.Index = ReadNextTagInStream(S, GeoTags, T.Attributes, T.Content);
      FromStream.push_back(T);
      ASSERT_GE(T.Index, 0);
      ASSERT_LE(T.Index, kEnd);
      EXPECT_EQ(T.Attributes.find_first_of("\r\n\t"), std::string::npos);
      EXPECT_EQ(T.Content.find_first_of("\r\n\t<"), std::string::npos);
      const int64_t P = S.GetPosition();
      ASSERT_LE(P, static_cast<int64_t>(Doc.size()));
      if (T.Index == kEnd) {
        EXPECT_EQ(T, (TTag{kEnd, "", ""}));
        break;
      }
      // The stream waits at the next tag or at the end.
      if (P < static_cast<int64_t>(Doc.size())) {
        EXPECT_EQ(Doc[static_cast<size_t>(P)], '<');
      }
    }
    ASSERT_EQ(FromStream.back().Index, kEnd);

    test::WriteFileBytes(FileName, Doc);
    TTextFile F(FileName);
    F.Reset();
    std::vector<TTag> FromFile;
    for (size_t Call = 0; Call < FromStream.size(); ++Call) {
      TTag T;
      T.Index = ReadNextTagInTextFile(F, GeoTags, T.Attributes, T.Content);
      FromFile.push_back(T);
    }
    F.Close();
    EXPECT_EQ(FromFile, FromStream);
  }
}

TEST(ReadLnStreamFuzz, LinesHoldEverythingButLineEndsAndControlCharacters) {
  std::mt19937 Rng(1101);
  for (int Round = 0; Round < 1500; ++Round) {
    const std::string Doc = RandomDocument(Rng);
    SCOPED_TRACE(Doc);
    TStringStream S(Doc);
    std::string Joined;
    bool AtEnd = false;
    for (size_t Call = 0; Call <= Doc.size() && !AtEnd; ++Call) {
      Joined += ReadLnStream(S, AtEnd, 0);
      EXPECT_EQ(AtEnd, S.GetPosition() == static_cast<int64_t>(Doc.size()));
    }
    EXPECT_TRUE(AtEnd);
    std::string Expected;
    for (const char C : Doc)
      if (static_cast<unsigned char>(C) >= 32 || C == '\t') Expected += C;
    EXPECT_EQ(Joined, Expected);
  }
}

}  // namespace
}  // namespace nuv
