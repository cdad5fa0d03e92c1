#include <gtest/gtest.h>

#include "contracts/base/NUV_Base.h"
#include "tests/contracts/TagTest.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

TEST(ReadLnStream, LineEndsAndTheEndFlag) {
  TStringStream s("first\r\nsecond\n\nlast");
  bool atEnd = true;
  EXPECT_EQ(ReadLnStream(s, atEnd, 0), "first");
  EXPECT_FALSE(atEnd);
  EXPECT_EQ(ReadLnStream(s, atEnd, 0), "second");
  EXPECT_FALSE(atEnd);
  EXPECT_EQ(ReadLnStream(s, atEnd, 0), "");
  EXPECT_FALSE(atEnd);
  EXPECT_EQ(ReadLnStream(s, atEnd, 0), "last");
  EXPECT_TRUE(atEnd);
  EXPECT_EQ(ReadLnStream(s, atEnd, 0), "");
  EXPECT_TRUE(atEnd);
}

TEST(ReadLnStream, FinalLineEndLeavesNothing) {
  TStringStream s("only\n");
  bool atEnd = false;
  EXPECT_EQ(ReadLnStream(s, atEnd, 0), "only");
  EXPECT_TRUE(atEnd);
  TStringStream empty("");
  atEnd = false;
  EXPECT_EQ(ReadLnStream(empty, atEnd, 0), "");
  EXPECT_TRUE(atEnd);
}

TEST(ReadLnStream, ModesAndControlCharacters) {
  const std::string text = "a\x01\tb\x7F\r\rc\r\nnext";
  TStringStream s0(text), s1(text);
  bool atEnd;
  EXPECT_EQ(ReadLnStream(s0, atEnd, 0), "a\tbc");
  EXPECT_EQ(ReadLnStream(s1, atEnd, 1), "a\x01\tb\x7F\r\rc");
  EXPECT_EQ(ReadLnStream(s1, atEnd, 1), "next");
}

TEST(ReadLnStream, LeavesTheStreamRightAfterTheLine) {
  test::TempDir dir;
  const std::string longLine(1500, 'x');
  test::WriteFileBytes(dir.File("lines.txt"), longLine + "\nab\ncd");
  TFileStream f(dir.File("lines.txt"), fmOpenRead);
  bool atEnd;
  EXPECT_EQ(ReadLnStream(f, atEnd, 0), longLine);
  EXPECT_EQ(f.GetPosition(), 1501);
  EXPECT_EQ(ReadLnStream(f, atEnd, 0), "ab");
  char c = 0;
  f.ReadBuffer(&c, 1);
  EXPECT_EQ(c, 'c');
}

TEST(WriteLnStream, WritesTextAndLineFeed) {
  TStringStream s;
  WriteLnStream(s, "<geomap>");
  WriteLnStream(s, "");
  EXPECT_EQ(s.DataString(), "<geomap>\n\n");
}

// The geo tag list: the last word stands for the end of the input.
const std::vector<std::string> GeoTags = {
    "geomap",   "/geomap", "calline",   "corners",    "resolution", "gmlandmarks", "/gmlandmarks",
    "landmark", "calquads", "lmsymbols", "/lmsymbols", "symbol",     "invalidtag"};

const char* const CalibDocument =
    "<?xml version=\"1.0\"?>\n"
    "\n"
    "<!-- TGeoMap Calibration / Nuvkitset -->\n"
    "<geomap sig=\"NuvKitset\" vers=\"1.0\" id=\"alps\" model=\"biquadraticpn\">\n"
    "<corners>\n"
    "[47.50000,16.25000] [46.00000,16.25000] \n"
    "</corners>\n"
    "<resolution>12.500</resolution>\n"
    "<CalLine\ttype=\"meridian\" value=\"10\"\n"
    "  npoints=\"3\">\n"
    "[100,10] [100,20]\t[100,30] \n"
    "</calline>\n"
    "<!-- a <tricky> comment -- with dashes -->\n"
    "<calquads npoints=\"1\">\n"
    "[47.5,16.25,100,200] \n"
    "</calquads>\n"
    "<landmark lat=\"47.5\" long=\"16.25\" element=\"Cross\" />\n"
    "</geomap>";

using test::TTag;

const std::vector<TTag> ExpectedTags = {
    {3, "", " [47.50000,16.25000] [46.00000,16.25000]  "},
    {4, "", "12.500"},
    {2, "type=\"meridian\" value=\"10\"   npoints=\"3\"", " [100,10] [100,20] [100,30]  "},
    {8, "npoints=\"1\"", " [47.5,16.25,100,200]  "},
    {7, "lat=\"47.5\" long=\"16.25\" element=\"Cross\"", " "},
    {1, "", ""},
    {12, "", ""},
    {12, "", ""},
};

TEST(TagReader, ReadsACalibrationDocumentFromATextFile) {
  test::TempDir dir;
  test::WriteFileBytes(dir.File("cal.xml"), CalibDocument);
  TTextFile f(dir.File("cal.xml"));
  f.Reset();
  std::string line;
  while (!f.Eof() && LowerCase(line).find("<geomap") == std::string::npos) line = f.ReadLn();
  std::vector<TTag> tags;
  for (size_t i = 0; i < ExpectedTags.size(); ++i) {
    TTag t;
    t.Index = ReadNextTagInTextFile(f, GeoTags, t.Attributes, t.Content);
    tags.push_back(t);
  }
  f.Close();
  EXPECT_EQ(tags, ExpectedTags);
}

TEST(TagReader, ReadsTheSameFromAStreamWithCrLf) {
  std::string text;
  for (const char* p = CalibDocument; *p; ++p) text += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
  TStringStream s(text);
  bool atEnd = false;
  std::string line;
  while (!atEnd && LowerCase(line).find("<geomap") == std::string::npos) line = ReadLnStream(s, atEnd, 0);
  std::vector<TTag> tags;
  for (size_t i = 0; i < ExpectedTags.size(); ++i) {
    TTag t;
    t.Index = ReadNextTagInStream(s, GeoTags, t.Attributes, t.Content);
    tags.push_back(t);
  }
  EXPECT_EQ(tags, ExpectedTags);
}

TEST(TagReader, StopsAtTheNextTagSoLineReadingCanContinue) {
  TStringStream s("<corners>[1,2]<resolution>5</resolution>\nrest");
  std::string a, c;
  EXPECT_EQ(ReadNextTagInStream(s, GeoTags, a, c), 3);
  EXPECT_EQ(c, "[1,2]");
  bool atEnd;
  EXPECT_EQ(ReadLnStream(s, atEnd, 0), "<resolution>5</resolution>");
  EXPECT_EQ(ReadLnStream(s, atEnd, 0), "rest");
}

TEST(TagReader, EndOfInputInsideATagGivesTheLastIndex) {
  const char* inputs[] = {"<landmark lat=\"1\"", "<landmark", "<", "<!-- open comment >",
                          "text only", ""};
  for (const char* input : inputs) {
    TStringStream s(input);
    std::string a = "x", c = "y";
    EXPECT_EQ(ReadNextTagInStream(s, GeoTags, a, c), 12) << input;
    EXPECT_EQ(a, "") << input;
    EXPECT_EQ(c, "") << input;
  }
  TStringStream s("<geomap>");
  std::string a, c;
  EXPECT_EQ(ReadNextTagInStream(s, {}, a, c), -1);
}

TEST(TagReader, UnlistedTagsAreSkippedWithTheirContent) {
  TStringStream s("<unknown a=\"1\">skipped</unknown><symbol element=\"Cross\"/>after");
  std::string a, c;
  EXPECT_EQ(ReadNextTagInStream(s, GeoTags, a, c), 11);
  EXPECT_EQ(a, "element=\"Cross\"");
  EXPECT_EQ(c, "after");
}

}  // namespace
}  // namespace nuv
