#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <set>

#include "contracts/base/NUV_Base.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

TEST(BaseStrings, StrffWritesFixedPointRightJustified) {
  struct Case {
    double X;
    int W, D;
    const char* Expected;
  } cases[] = {
      {7, 1, 0, "7"},          {7, 1, 3, "7.000"},     {3.14159, 8, 2, "    3.14"},
      {-2.5, 1, 1, "-2.5"},    {2.5, 1, 0, "2"},       {1234.5, 3, 1, "1234.5"},
      {1.0, 1, -3, "1"},       {NAN, 5, 2, "  NAN"},   {-INFINITY, 1, 2, "-INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(strff(c.X, c.W, c.D), c.Expected) << c.X;
  EXPECT_EQ(strff(uc_MaxDouble, 1, 0).size(), 309u);
}

TEST(BaseStrings, LeftStringPadsOrCuts) {
  EXPECT_EQ(LeftString("ab", 4), "ab  ");
  EXPECT_EQ(LeftString("abcdef", 3), "abc");
  EXPECT_EQ(LeftString("abc", 0), "");
  EXPECT_EQ(LeftString("abc", -2), "");
}

TEST(BaseStrings, NumberedPosCountsFromStart) {
  const std::string line = R"(<root id=" Abc " x="1">)";
  const int p = NumberedPos("id=\"", line, 1, 1, false);
  EXPECT_EQ(p, 7);
  // The first quote counted from p is the one of id=", the second closes the value.
  EXPECT_EQ(NumberedPos("\"", line, p, 2, false), 16);
  EXPECT_EQ(NumberedPos(".", "1.2.3", 3, 1, true), 4);
  EXPECT_EQ(NumberedPos(".", "1.2", 3, 1, true), 0);
  EXPECT_EQ(NumberedPos("AB", "xabab", 1, 2, true), 4);
  EXPECT_EQ(NumberedPos("AB", "xabab", 1, 1, false), 0);
  EXPECT_EQ(NumberedPos("aa", "aaaa", 1, 2, false), 3);  // occurrences do not overlap
  EXPECT_EQ(NumberedPos("a", "aaa", 0, 1, false), 1);
  EXPECT_EQ(NumberedPos("a", "aaa", 9, 1, false), 0);
  EXPECT_EQ(NumberedPos("", "aaa", 1, 1, false), 0);
  EXPECT_EQ(NumberedPos("a", "aaa", 1, 0, false), 0);
}

TEST(BaseStrings, SmallTextHelpers) {
  EXPECT_EQ(EnsureTrailingChar("", '|'), "|");
  EXPECT_EQ(EnsureTrailingChar("a|b", '|'), "a|b|");
  EXPECT_EQ(EnsureTrailingChar("a|", '|'), "a|");
  EXPECT_EQ(ReplaceCharInString("1,5,7", ',', '.'), "1.5.7");
  EXPECT_EQ(StripLTBlanks("  a b \t "), "a b \t");
  EXPECT_EQ(StripLTBlanks("   "), "");
  EXPECT_EQ(BoolToStr(true, 0), "TRUE");
  EXPECT_EQ(BoolToStr(false, 0), "FALSE");
  EXPECT_EQ(BoolToStr(true, 1), "T");
  EXPECT_EQ(BoolToStr(false, 1), "F");
  EXPECT_EQ(BoolToStr(true, 7), "TRUE");
}

TEST(BaseStrings, FileNameHelpers) {
  EXPECT_EQ(ReduceStringToFN83CompliantChars("My map (v2).bmp"), "Mymap(v2).bmp");
  EXPECT_EQ(ReduceStringToFN83CompliantChars("..\\dir/x:y\xE4z*?"), "..dirxyz");
  EXPECT_EQ(StripExtension("c:\\maps\\alps.bmp"), "c:\\maps\\alps");
  EXPECT_EQ(StripExtension("maps.v2/alps"), "maps.v2/alps");
  EXPECT_EQ(StripExtension("db.items"), "db");
}

TEST(BaseStrings, InventPasswordLengthAndAlphabet) {
  EXPECT_EQ(InventPassword(0), "");
  EXPECT_EQ(InventPassword(-4), "");
  EXPECT_EQ(InventPassword(1000).size(), 255u);
  RandSeed = 42;
  const std::string a = InventPassword(40);
  RandSeed = 42;
  EXPECT_EQ(InventPassword(40), a);
  ASSERT_EQ(a.size(), 40u);
  std::set<char> distinct(a.begin(), a.end());
  EXPECT_GT(distinct.size(), 10u);
  for (char c : a) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << c;
}

TEST(BaseStrings, AppendToTextFileCreatesAndAppends) {
  test::TempDir dir;
  const std::string name = dir.File("trace.txt");
  EXPECT_TRUE(AppendToTextFile(name, "level=1"));
  EXPECT_TRUE(AppendToTextFile(name, "final: T"));
  EXPECT_EQ(test::ReadFileBytes(name), "level=1\nfinal: T\n");
  EXPECT_FALSE(AppendToTextFile(dir.File("missing/dir/x.txt"), "x"));
}

TEST(BaseTables, NamesAndColours) {
  EXPECT_STREQ(MonthLong[1][1], "January");
  EXPECT_STREQ(MonthShort[1][12], "Dec");
  EXPECT_STREQ(WeekDayLong[1][1], "Sunday");
  EXPECT_STREQ(WeekDayShort[1][7], "Sat");
  EXPECT_STREQ(MonthLong[2][3], "M\xE4rz");
  EXPECT_EQ(PredefinedColors[0], clBlack);
  EXPECT_EQ(PredefinedColors[12], clBlue);
  EXPECT_EQ(PredefinedColors[15], clWhite);
  EXPECT_EQ(PredefinedColors[19], clMedGray);
  EXPECT_EQ(PredefinedColors[20], clScrollBar);
  EXPECT_EQ(PredefinedColors[35], clBtnFace);
  std::set<TColor> distinct(std::begin(PredefinedColors), std::end(PredefinedColors));
  EXPECT_EQ(distinct.size(), 47u);
  for (int i = 20; i < 47; ++i) EXPECT_EQ(PredefinedColors[i] >> 24, 0xFFu) << i;
}

}  // namespace
}  // namespace nuv
