#include "common/NUV_NumFormats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/NUV_SysUtils.h"

namespace nuv {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Sets the process decimal separator for one test and puts the old one back.
class DecimalSeparatorScope {
 public:
  explicit DecimalSeparatorScope(char C) : FOld(DecimalSeparator) { DecimalSeparator = C; }
  ~DecimalSeparatorScope() { DecimalSeparator = FOld; }

 private:
  char FOld;
};

// ------------------------------------------------------------ ScanFloatNum

struct FloatScanCase {
  std::string Text;
  bool ExpAllowed;
  int SepMode;
  int StartPos;
  double Value;
  int EndPos;
};

TEST(ScanFloatNum, StateMachineValuesAndPositions) {
  const std::vector<FloatScanCase> Cases = {
      {"12.5E3", true, 1, 1, 12500, 7},
      {"12.5E3", false, 1, 1, 12.5, 5},   // stops on the "E"
      {"1.5E", false, 1, 1, 1.5, 4},
      {"3,5", true, 1, 1, 3, 2},          // "," is no separator in mode 1
      {"3,5", true, 2, 1, 3.5, 4},
      {"3,5", true, 3, 1, 3.5, 4},
      {"3.5", true, 2, 1, 3, 2},          // nor "." in mode 2
      {"1.5,2", true, 3, 1, 1.5, 4},      // a second separator ends the number in mode 3
      {"1.5.2", true, 1, 1, 0, 4},        // ... and is an error in modes 1 and 2
      {"1,5,2", true, 2, 1, 0, 4},
      {"1..", true, 1, 1, 0, 3},          // separator right after a separator
      {" 42", true, 1, 1, 42, 4},         // leading blanks belong to the number
      {"4 2", true, 1, 1, 4, 2},
      {".", true, 1, 1, 0, 2},
      {"-.", true, 1, 1, 0, 3},
      {"5.", true, 1, 1, 5, 3},
      {"5.E3", true, 1, 1, 5000, 5},
      {".E5", true, 1, 1, 0, 4},          // done, but no mantissa digits
      {"+.5", true, 1, 1, 0.5, 4},
      {"+7", true, 1, 1, 7, 3},
      {"-", true, 1, 1, 0, 2},            // incomplete: value 0, but wholly consumed
      {"1E", true, 1, 1, 0, 3},
      {"1E+", true, 1, 1, 0, 4},
      {"", true, 1, 1, 0, 1},
      {"abc", true, 1, 1, 0, 1},
      {"--1", true, 1, 1, 0, 2},
      {"1-2", true, 1, 1, 1, 2},
      {"1e5", true, 1, 1, 1e5, 4},        // lower-case exponent mark
      {"1E5.3", true, 1, 1, 1e5, 4},
      {"1E 5", true, 1, 1, 0, 3},
      {"  -3.25e-2xyz", true, 1, 1, -0.0325, 11},
      {"xx1E5", true, 1, 3, 1e5, 6},      // scanning from inside a text
      {"12", true, 1, 0, 12, 3},          // a position below 1 starts at 1
      {"12", true, 1, 10, 0, 3},          // past the end reads as the end
      {"1E99999", true, 1, 1, kMax, 8},   // exponent 999: clamped
      {"-1E99999", true, 1, 1, -kMax, 9},
      {"1E-99999", true, 1, 1, 0, 9},
      {"1E4200", true, 1, 1, kMax, 7},
      {"1.7976931348623157E308", true, 1, 1, kMax, 23},
      {"1.7976931348623159E308", true, 1, 1, kMax, 23},  // rounds beyond the largest double
      {"-1.8E308", true, 1, 1, -kMax, 9},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("\"" + C.Text + "\" mode " + std::to_string(C.SepMode));
    int Pos = C.StartPos;
    EXPECT_EQ(ScanFloatNum(C.Text, C.ExpAllowed, C.SepMode, Pos), C.Value);
    EXPECT_EQ(Pos, C.EndPos);
  }
}

TEST(ScanFloatNum, ConversionIsCorrectlyRounded) {
  const std::vector<std::pair<std::string, double>> Cases = {
      {"0.1", 0.1},
      {"9007199254740993", 9007199254740992.0},  // a tie goes to the even neighbour
      {"9007199254740995", 9007199254740996.0},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"2.2250738585072011E-308", 2.2250738585072011e-308},
      {"4.9406564584124654E-324", 4.9406564584124654e-324},
      {"2.4703282292062328E-324", 4.9406564584124654e-324},  // just above half the least
      {"2.4703282292062327E-324", 0.0},                        // just below it
      {"0.000000000000000000000000000001234", 1.234e-30},
  };
  for (const auto& [Text, Expected] : Cases) {
    SCOPED_TRACE(Text);
    int Pos = 1;
    EXPECT_EQ(ScanFloatNum(Text, true, 1, Pos), Expected);
    EXPECT_EQ(Pos, static_cast<int>(Text.size()) + 1);
  }
}

TEST(ScanFloatNum, ExponentDigitsAreCutAt4200) {
  // 0.000...01 with the 1 at the 4196th decimal: the exponent used decides the value.
  const std::string Mantissa = "0." + std::string(4195, '0') + "1";
  const std::vector<std::pair<std::string, double>> Cases = {
      {"E4200", 1e4},    // the largest exponent taken whole
      {"E42001", 1e4},   // the fifth digit would exceed 4200: dropped
      {"E4201", 0.0},    // "1" would exceed 4200: exponent 420, far too small
      {"E0004200", 1e4},  // leading zeros do not count
      {"E4199", 1e3},
  };
  for (const auto& [Exponent, Expected] : Cases) {
    SCOPED_TRACE(Exponent);
    const std::string Text = Mantissa + Exponent;
    int Pos = 1;
    EXPECT_EQ(ScanFloatNum(Text, true, 1, Pos), Expected);
    EXPECT_EQ(Pos, static_cast<int>(Text.size()) + 1);  // cut digits are still consumed
  }
}

TEST(ScanFloatNum, LeavesTheTextUnchanged) {
  const std::string Text = "  1,5e3";
  int Pos = 1;
  EXPECT_EQ(ScanFloatNum(Text, true, 3, Pos), 1500);
  EXPECT_EQ(Text, "  1,5e3");
}

// ------------------------------------------------------------ integer and digit scanners

struct IntScanCase {
  std::string Text;
  int StartPos;
  int32_t Value;
  int EndPos;
};

TEST(ScanIntNum, SignDigitsAndWrapping) {
  const std::vector<IntScanCase> Cases = {
      {"", 1, 0, 1},
      {"", 5, 0, 5},              // empty text: the position stays
      {"123", 1, 123, 4},
      {"  -45x", 1, -45, 6},
      {"+7", 1, 7, 3},
      {"+", 1, 0, 2},
      {"x", 1, 0, 1},
      {"   ", 1, 0, 3},           // blanks are skipped only up to the last character
      {"- 1", 1, 0, 2},
      {"12", 0, 12, 3},
      {"12", 9, 0, 3},
      {"2147483647", 1, 2147483647, 11},
      {"2147483648", 1, INT32_MIN, 11},  // 32-bit arithmetic wraps
      {"4294967297", 1, 1, 11},
      {"-2147483648", 1, INT32_MIN, 12},
      {"a12", 2, 12, 4},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("\"" + C.Text + "\" from " + std::to_string(C.StartPos));
    int Pos = C.StartPos;
    EXPECT_EQ(ScanIntNum(C.Text, Pos), C.Value);
    EXPECT_EQ(Pos, C.EndPos);
  }
}

TEST(ScanDigits, HexOctalAndBinary) {
  using Scanner = int32_t (*)(const std::string&, int&);
  struct Case {
    Scanner Scan;
    const char* Name;
    std::string Text;
    int StartPos;
    int32_t Value;
    int EndPos;
  };
  const std::vector<Case> Cases = {
      {ScanHexNum, "hex", "$1f", 1, 31, 4},
      {ScanHexNum, "hex", "FFFFFFFF", 1, -1, 9},
      {ScanHexNum, "hex", "1FFFFFFFF", 1, -1, 10},  // wraps to the low 32 bits
      {ScanHexNum, "hex", "7fffffff", 1, INT32_MAX, 9},
      {ScanHexNum, "hex", " ab", 1, 171, 4},
      {ScanHexNum, "hex", "x$1", 2, 0, 2},   // "$" is skipped only at position 1
      {ScanHexNum, "hex", "$", 1, 0, 2},
      {ScanHexNum, "hex", "12g", 1, 18, 3},
      {ScanHexNum, "hex", "-1", 1, 0, 1},    // no sign
      {ScanHexNum, "hex", "", 1, 0, 1},
      {ScanOctNum, "oct", "777", 1, 511, 4},
      {ScanOctNum, "oct", "37777777777", 1, -1, 12},
      {ScanOctNum, "oct", "8", 1, 0, 1},
      {ScanOctNum, "oct", "$7", 1, 0, 1},
      {ScanOctNum, "oct", "  17", 1, 15, 5},
      {ScanBinNum, "bin", "1012", 1, 5, 4},
      {ScanBinNum, "bin", std::string(33, '1'), 1, -1, 34},
      {ScanBinNum, "bin", "10", 7, 0, 3},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Name) + " \"" + C.Text + "\"");
    int Pos = C.StartPos;
    EXPECT_EQ(C.Scan(C.Text, Pos), C.Value);
    EXPECT_EQ(Pos, C.EndPos);
  }
}

// ------------------------------------------------------------ separator modes

TEST(DecimalSeparatorModes, RulesVAndCResolveTheSystemSetting) {
  struct Case {
    char System;
    int Ordinal;
    int ModeV;
    int ModeC;
  };
  const std::vector<Case> Cases = {
      {'.', 0, 1, 1}, {',', 0, 2, 2}, {';', 0, 2, 1},  // the two rules differ here
      {',', 1, 1, 1}, {'.', 2, 2, 2}, {'.', 3, 3, 3}, {'.', 7, 3, 3}, {'.', -1, 3, 3},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string("system '") + C.System + "' ordinal " + std::to_string(C.Ordinal));
    DecimalSeparatorScope Scope(C.System);
    EXPECT_EQ(ValiditySepMode(C.Ordinal), C.ModeV);
    EXPECT_EQ(ConversionSepMode(C.Ordinal), C.ModeC);
  }
}

TEST(DecimalSeparatorModes, SystemSettingReachesValidityAndConversion) {
  {
    DecimalSeparatorScope Scope(',');
    EXPECT_TRUE(IsValidFloatNum("3,14", 0));
    EXPECT_FALSE(IsValidFloatNum("3.14", 0));
    double V = 0;
    EXPECT_TRUE(ConvertNumString("3,5", itFloat, 0, V));
    EXPECT_EQ(V, 3.5);
    EXPECT_FALSE(ConvertNumString("3.5", itFloat, 0, V));
  }
  {
    DecimalSeparatorScope Scope('.');
    EXPECT_FALSE(IsValidFloatNum("3,14", 0));
    EXPECT_TRUE(IsValidFloatNum("3.14", 0));
    double V = 0;
    EXPECT_TRUE(ConvertNumString("3.5", itFloat, 0, V));
    EXPECT_EQ(V, 3.5);
  }
  {
    // Neither "." nor ",": validity follows ",", conversion follows ".".
    DecimalSeparatorScope Scope(';');
    EXPECT_TRUE(IsValidFloatNum("3,14", 0));
    double V = 0;
    EXPECT_TRUE(ConvertNumString("3.5", itFloat, 0, V));
    EXPECT_FALSE(ConvertNumString("3,5", itFloat, 0, V));
  }
}

// ------------------------------------------------------------ validity rules

TEST(ValidityRules, ExponentNumbers) {
  DecimalSeparatorScope Scope('.');
  struct Case {
    std::string Text;
    bool ExpAllowed;
    int DecPSep;
    bool Valid;
  };
  const std::vector<Case> Cases = {
      {"1E5", true, 1, true},     {"1E", true, 1, false},      {"1E-", true, 1, false},
      {"-", true, 1, false},      {"   ", true, 1, false},     {"", true, 1, false},
      {"1.5x", true, 1, true},    {"1E4200", true, 1, true},   {"1E4201", true, 1, false},
      {"1E42001", true, 1, false}, {"1E0004200", true, 1, true}, {"1E5", false, 1, true},
      {".5", true, 1, true},      {" 1", true, 1, true},       {"1.5.2", true, 1, false},
      {"3,14", true, 2, true},    {"3,14", true, 1, true},     // the "," merely ends the number
      {"1,5,2", true, 2, false},  {"1.5,2", true, 3, true},    {"1.5", true, 0, true},
      {"x", true, 1, false},      {"+", true, 1, false},       {"1E+5", true, 3, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("\"" + C.Text + "\" ordinal " + std::to_string(C.DecPSep));
    EXPECT_EQ(IsValidExpNum(C.Text, C.ExpAllowed, C.DecPSep), C.Valid);
  }
}

TEST(ValidityRules, FloatNumbers) {
  DecimalSeparatorScope Scope('.');
  struct Case {
    std::string Text;
    int DecPSep;
    bool Valid;
  };
  const std::vector<Case> Cases = {
      {"3,14", 2, true},  {"3.14", 2, false}, {"3,14", 3, true},  {"3.14", 3, true},
      {"3.1,4", 3, false}, {"3.14", 1, true},  {"3,14", 1, false}, {"-", 1, true},
      {".", 1, true},     {"-.", 1, true},    {"5.", 1, true},    {"+5", 1, true},
      {"1e5", 1, false},  {" 1", 1, false},   {"1-", 1, false},   {"1.2.3", 1, false},
      {"--5", 1, false},  {"", 1, false},     {"3.14", 0, true},  {"-.5", 1, true},
      {".-5", 1, false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("\"" + C.Text + "\" ordinal " + std::to_string(C.DecPSep));
    EXPECT_EQ(IsValidFloatNum(C.Text, C.DecPSep), C.Valid);
  }
}

TEST(ValidityRules, IntegerAndDigitTexts) {
  using Rule = bool (*)(const std::string&);
  struct Case {
    Rule IsValid;
    const char* Name;
    std::string Text;
    bool Valid;
  };
  const std::vector<Case> Cases = {
      {IsValidIntNum, "int", "12", true},     {IsValidIntNum, "int", "-12", true},
      {IsValidIntNum, "int", "+", true},      {IsValidIntNum, "int", "-", true},
      {IsValidIntNum, "int", "", false},      {IsValidIntNum, "int", "1-", false},
      {IsValidIntNum, "int", " 1", false},    {IsValidIntNum, "int", "1.0", false},
      {IsValidIntNum, "int", "a", false},     {IsValidHexNum, "hex", "09afAF", true},
      {IsValidHexNum, "hex", "g", false},     {IsValidHexNum, "hex", "$1f", false},
      {IsValidHexNum, "hex", "", false},      {IsValidOctNum, "oct", "01234567", true},
      {IsValidOctNum, "oct", "18", false},    {IsValidOctNum, "oct", "", false},
      {IsValidBinNum, "bin", "0101", true},   {IsValidBinNum, "bin", "012", false},
      {IsValidBinNum, "bin", "", false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Name) + " \"" + C.Text + "\"");
    EXPECT_EQ(C.IsValid(C.Text), C.Valid);
  }
}

// ------------------------------------------------------------ FormatRealNum

struct RealFormatCase {
  int Width;
  int Decimals;
  double Value;
  std::string Text;
};

TEST(FormatRealNum, FixedNotation) {
  const std::vector<RealFormatCase> Cases = {
      {1, 2, 3.14159, "3.14"},      {1, 0, 2.5, "2"},          {1, 0, 3.5, "4"},
      {1, 0, -2.5, "-2"},           {1, 0, -7, "-7"},          {1, 2, 0, "0.00"},
      {1, 2, -0.0, "0.00"},         {1, 2, -0.001, "0.00"},   {1, 5, 47.5, "47.50000"},
      {1, 3, 1.0005, "1.000"},      // 1.0005 is stored just below the half
      {1, 8, 255, "255.00000000"},  {1, 0, 1e20, "100000000000000000000"},
      {8, 2, 1.5, "    1.50"},      {0, 1, -1.25, "-1.2"},     {3, 2, 123.456, "123.46"},
      {1, 1, -1e-17, "0.0"},        {1, 0, -0.4, "0"},         {1, 0, -0.6, "-1"},
      {1, 2, -0.005, "-0.01"},      // -0.005 is stored just beyond the half
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Width) + ", " + std::to_string(C.Decimals) + ", " +
                 std::to_string(C.Value));
    EXPECT_EQ(FormatRealNum(C.Width, C.Decimals, C.Value), C.Text);
  }
}

TEST(FormatRealNum, ExponentForms) {
  const std::vector<RealFormatCase> Cases = {
      // short form: two exponent digits, asterisks when three are needed
      {10, -2, 1234.56, " 1.235E+03"},
      {10, -2, -0.05, "-5.000E-02"},
      {10, -2, 0, " 0.000E+00"},
      {10, -2, -0.0, " 0.000E+00"},
      {10, -2, 9.99e99, " 9.990E+99"},
      {10, -2, 1e100, "**********"},
      {10, -2, 9.9999e99, "**********"},  // the rounding carries the exponent to 100
      {10, -2, 1e-100, "**********"},
      {10, -2, 5e-324, "**********"},
      {12, -2, 255, " 2.55000E+02"},
      {7, -2, 0.5, " 5.E-01"},            // the smallest short form: no decimals
      {1, -2, 0.5, " 5.E-01"},
      {1, -2, -123456.7, "-1.E+05"},
      {1, -2, 1e200, "*******"},
      {10, -5, 1234.56, " 1.235E+03"},    // other negative counts write the short form
      // long form: four exponent digits
      {22, -1, 1.5, " 1.5000000000000E+0000"},
      {22, -1, -2.5e-300, "-2.5000000000000E-0300"},
      {22, -1, 1e100, " 1.0000000000000E+0100"},
      {22, -1, 5e-324, " 4.9406564584125E-0324"},
      {22, -1, kMax, " 1.7976931348623E+0308"},
      {9, -1, 0.5, " 5.E-0001"},
      {1, -1, -0.5, "-5.E-0001"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Width) + ", " + std::to_string(C.Decimals) + ", " +
                 std::to_string(C.Value));
    EXPECT_EQ(FormatRealNum(C.Width, C.Decimals, C.Value), C.Text);
  }
}

TEST(FormatRealNum, NotANumberAndInfinities) {
  const std::vector<RealFormatCase> Cases = {
      {1, 2, kNaN, "NAN"},           {1, 0, kInf, "INF"},           {1, 8, -kInf, "-INF"},
      {6, 2, kNaN, "   NAN"},        {10, -2, kNaN, "       NAN"},  {10, -2, -kInf, "      -INF"},
      {1, -2, kInf, "    INF"},      {1, -1, kNaN, "      NAN"},
      {22, -1, -kInf, std::string(18, ' ') + "-INF"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Width) + ", " + std::to_string(C.Decimals));
    EXPECT_EQ(FormatRealNum(C.Width, C.Decimals, C.Value), C.Text);
  }
}

TEST(FormatRealNum, ExponentFormsReadBack) {
  const std::vector<double> Values = {1.5, -2.5e-300, 0.1, 6.02214076e23, kMax, 5e-324, -0.0};
  for (const double V : Values) {
    SCOPED_TRACE(V);
    const std::string Long = FormatRealNum(22, -1, V);
    int Pos = 1;
    const double Back = ScanFloatNum(Long, true, 1, Pos);
    EXPECT_EQ(Pos, 23);
    EXPECT_NEAR(Back, V, std::fabs(V) * 1e-13);
    const std::string Smallest = FormatRealNum(1, -1, V);
    EXPECT_TRUE(IsValidExpNum(Smallest, true, 1)) << Smallest;
  }
}

TEST(FormatRealNum, OversizedArgumentsAreCapped) {
  EXPECT_EQ(FormatRealNum(1, 100000, 1.0), "1." + std::string(255, '0'));
  EXPECT_EQ(FormatRealNum(100000, 0, 1.0), std::string(254, ' ') + "1");
  EXPECT_EQ(FormatRealNum(100000, -2, 1.0).size(), 255u);
  EXPECT_EQ(FormatRealNum(-5, 1, 2.0), "2.0");
}

// ------------------------------------------------------------ digit writers

TEST(DigitWriters, DigitsCountsAndPatterns) {
  struct Case {
    std::string Text;
    std::string Expected;
  };
  const std::vector<Case> Cases = {
      {FormatHexDigits(0xFFFFFFFFu, 8), "FFFFFFFF"},
      {FormatHexDigits(0xABCu, 20), "00000ABC"},  // at most 8 digits
      {FormatHexDigits(0x1Fu, 0), "F"},           // at least one
      {FormatHexDigits(255, -3), "F"},
      {FormatHexDigits(0xDEADBEEFu, 4), "BEEF"},
      {FormatOctDigits(10, 11), "00000000012"},
      {FormatOctDigits(0xFFFFFFFFu, 11), "37777777777"},
      {FormatOctDigits(0xFFFFFFFFu, 40), "37777777777"},
      {FormatOctDigits(255, 8), "00000377"},
      {FormatBinDigits(5, 8), "00000101"},
      {FormatBinDigits(255, 8), "11111111"},
      {FormatBinDigits(0xFFFFFFFFu, 40), std::string(32, '1')},
      {FormatBinDigits(0, 0), "0"},
  };
  for (const auto& C : Cases) EXPECT_EQ(C.Text, C.Expected);
}

TEST(DigitWriters, DoublesRoundToTheLow32Bits) {
  const std::vector<std::pair<double, uint32_t>> Cases = {
      {255.5, 256u},          {254.5, 254u},        {-1, 0xFFFFFFFFu},
      {-0.5, 0u},             {4294967301.0, 5u},   {kNaN, 0u},
      {1e30, 0xFFFFFFFFu},    {-1e30, 0u},          {kInf, 0xFFFFFFFFu},
  };
  for (const auto& [Value, Pattern] : Cases) {
    SCOPED_TRACE(Value);
    EXPECT_EQ(DigitPattern(Value), Pattern);
  }
}

// ------------------------------------------------------------ the custom-drawn field

TEST(NumIO2Formats, Validity) {
  DecimalSeparatorScope Scope('.');
  struct Case {
    TInFormat Format;
    std::string Text;
    bool Valid;
  };
  const std::vector<Case> Cases = {
      {itExp, "1E5", true},        {itExp, "1E", false},         {itFloat, "5.", true},
      {itFloat, "1e5", false},     {itFixPoint, "3.14", true},   {itFixPoint, "3.1", false},
      {itFixPoint, "3.141", false}, {itFixPoint, "314", false},  {itFixPoint, "", false},
      {itFixPoint, "12", false},   {itFixPoint, ".14", true},    {itFixPoint, "-3.14", true},
      {itFixPoint, "3.1.", false}, {itInt, "-", true},           {itInt, "1f", false},
      {itHex, "1f", true},         {itOct, "8", false},          {itBin, "10", true},
      {itDynamic, "$", false},     {itDynamic, "$1f", true},     {itDynamic, "%101", true},
      {itDynamic, "%102", false},  {itDynamic, "&17", true},     {itDynamic, "&8", false},
      {itDynamic, "12", true},     {itDynamic, "1f", false},     {itDynamic, "-12", true},
      {itDynamic, "", false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("format " + std::to_string(C.Format) + " \"" + C.Text + "\"");
    EXPECT_EQ(NumIO2IsValidText(C.Text, C.Format, 1, 2), C.Valid);
  }
}

TEST(NumIO2Formats, ValueOfTheText) {
  struct Case {
    TInFormat Format;
    std::string Text;
    double Value;
  };
  const std::vector<Case> Cases = {
      {itExp, "1.5E3", 1500},         {itExp, "2.5x", 2.5},          {itFloat, "3,5", 3.5},
      {itFixPoint, "3.14", 3.14},     {itExp, "", 0},                {itInt, "", 0},
      {itInt, "-", 0},                {itInt, "-123", -123},         {itInt, "99999999999", INT32_MAX},
      {itInt, "-99999999999", INT32_MIN}, {itInt, "-2147483648", INT32_MIN},
      {itInt, "9223372036854775807", INT32_MAX},
      {itHex, "FF", 255},             {itHex, "FFFFFFFF", -1},       {itOct, "377", 255},
      {itBin, "11111111", 255},       {itDynamic, "$12", 18},        {itDynamic, "%101", 5},
      {itDynamic, "&17", 15},         {itDynamic, "42", 42},         {itDynamic, "", 0},
      {itDynamic, "$", 0},            {itDynamic, "-", 0},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("format " + std::to_string(C.Format) + " \"" + C.Text + "\"");
    EXPECT_EQ(NumIO2TextValue(C.Text, C.Format), C.Value);
  }
}

TEST(NumIO2Formats, TextOfAValueReadsBack) {
  struct Case {
    TInFormat Format;
    double Value;
    std::string Text;
  };
  const std::vector<Case> Cases = {
      {itExp, 255, " 2.550E+02"},
      {itFloat, 255, "255.00"},
      {itFixPoint, 1.239, "1.24"},
      {itInt, 255, "255"},
      {itInt, 2.5, "2"},
      {itInt, -3.5, "-4"},
      {itInt, kNaN, "0"},
      {itInt, 1e30, "9223372036854775807"},
      {itDynamic, 255, "255"},
      {itHex, 255, "000000FF"},
      {itOct, 255, "00000000377"},
      {itBin, 255, "00000000000000000000000011111111"},
      {itHex, -1, "FFFFFFFF"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("format " + std::to_string(C.Format));
    const std::string Text = NumIO2ValueText(C.Value, C.Format, 2);
    EXPECT_EQ(Text, C.Text);
    EXPECT_TRUE(NumIO2IsValidText(TrimLeft(Text), C.Format, 1, 2)) << Text;
  }
}

// ------------------------------------------------------------ the edit-based field

TEST(ConvertNumString, ChecksAndConverts) {
  DecimalSeparatorScope Scope('.');
  struct Case {
    TInFormat Format;
    std::string Text;
    int DecPSep;
    bool Ok;
    double Value;
  };
  const std::vector<Case> Cases = {
      {itExp, "", 0, false, 99},      // empty: the value is left as it was
      {itExp, "2e", 0, true, 2},      {itExp, "2e-", 0, true, 2},     {itExp, "2E+", 0, true, 2},
      {itExp, "-", 0, true, 0},       {itExp, "1 2", 0, false, 0},    {itExp, "  7", 0, true, 7},
      {itExp, "   ", 0, true, 0},     {itExp, "1.5e3", 0, true, 1500}, {itExp, "1e5x", 0, false, 1e5},
      {itExp, "e", 0, true, 0},       {itExp, ".", 1, true, 0},        {itExp, ",", 1, false, 0},
      {itExp, "1,5", 3, true, 1.5},   {itExp, "7 ", 0, false, 0},
      {itFloat, "1e5", 0, false, 1},  {itFloat, "3,5", 2, true, 3.5},  {itFloat, "3,5", 1, false, 3},
      {itFloat, "-", 0, true, 0},     {itFixPoint, "2.25", 1, true, 2.25},
      {itInt, "+", 0, true, 0},       {itInt, "12a", 0, false, 12},   {itInt, "-12", 0, true, -12},
      {itInt, "1.5", 0, false, 1},
      {itHex, "ff", 0, true, 255},    {itHex, "FF", 0, true, 255},    {itHex, "fg", 0, false, 15},
      {itHex, "ffffffff", 0, true, -1},
      {itOct, "17", 0, true, 15},     {itOct, "18", 0, false, 1},     {itBin, "101", 0, true, 5},
      {itDynamic, "$ff", 0, true, 255}, {itDynamic, "%101", 0, true, 5}, {itDynamic, "&17", 0, true, 15},
      {itDynamic, "$", 0, true, 0},   {itDynamic, "$fg", 0, false, 15}, {itDynamic, "$$1", 0, false, 0},
      {itDynamic, "1.5e2", 0, true, 150}, {itDynamic, "  $ff", 0, true, 255},
      {itDynamic, "2e", 0, true, 2},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("format " + std::to_string(C.Format) + " \"" + C.Text + "\"");
    double Value = 99;
    EXPECT_EQ(ConvertNumString(C.Text, C.Format, C.DecPSep, Value), C.Ok);
    EXPECT_EQ(Value, C.Value);
  }
}

TEST(ConvertNumString, AcceptsEveryTextTheFieldWrites) {
  const std::vector<double> Values = {255, -1.5, 0, 1e-7, 123456.789, -2e30};
  for (int F = itExp; F <= itDynamic; ++F) {
    const auto Format = static_cast<TInFormat>(F);
    for (const double V : Values) {
      SCOPED_TRACE("format " + std::to_string(F) + " value " + std::to_string(V));
      const std::string Text = NumIOValueText(V, Format, 3);
      double Back = 99;
      EXPECT_TRUE(ConvertNumString(Text, Format, 1, Back)) << Text;
      if (Format == itExp || Format == itDynamic) {
        EXPECT_NEAR(Back, V, std::fabs(V) * 1e-5);
      }
    }
  }
}

TEST(NumIOFormats, TextOfAValue) {
  struct Case {
    TInFormat Format;
    std::string Text;
  };
  const std::vector<Case> Cases = {
      {itHex, "000000FF"},     {itOct, "00000377"},      {itBin, "11111111"},
      {itInt, "255"},          {itFloat, "255.00000000"}, {itFixPoint, "255.00"},
      {itExp, " 2.55000E+02"}, {itDynamic, " 2.55000E+02"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE("format " + std::to_string(C.Format));
    EXPECT_EQ(NumIOValueText(255, C.Format, 2), C.Text);
  }
}

}  // namespace
}  // namespace nuv
