// Random texts and values with a fixed seed: the scanners, validity rules and writers
// must agree with each other and with the C library's conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "common/NUV_NumFormats.h"

namespace nuv {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr int kRounds = 20000;

std::string RandomText(std::mt19937& Rng, const std::string& Alphabet, int MaxLength) {
  std::uniform_int_distribution<int> Length(0, MaxLength);
  std::uniform_int_distribution<size_t> Pick(0, Alphabet.size() - 1);
  std::string S(static_cast<size_t>(Length(Rng)), ' ');
  for (char& C : S) C = Alphabet[Pick(Rng)];
  return S;
}

// The C library's value of a decimal text read with "," as ".", clamped like the scanner.
double LibraryValue(std::string S) {
  std::replace(S.begin(), S.end(), ',', '.');
  const double V = std::strtod(S.c_str(), nullptr);
  return std::clamp(V, -kMax, kMax);
}

// True when an exponent mark is followed by four or more digits, which the 4200 limit
// may cut.
bool HasLongExponent(const std::string& S) {
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] != 'e' && S[I] != 'E') continue;
    size_t J = I + 1;
    if (J < S.size() && (S[J] == '+' || S[J] == '-')) ++J;
    size_t Digits = 0;
    while (J + Digits < S.size() && S[J + Digits] >= '0' && S[J + Digits] <= '9') ++Digits;
    if (Digits >= 4) return true;
  }
  return false;
}

TEST(NumFormatsFuzz, DecimalScannerAgreesWithValidityAndTheLibrary) {
  std::mt19937 Rng(20261211);
  const std::string Alphabet = " +-.,0123456789eEx";
  for (int Round = 0; Round < kRounds; ++Round) {
    const std::string Text = RandomText(Rng, Alphabet, 12);
    const bool ExpAllowed = Rng() % 2 == 0;
    const int Mode = static_cast<int>(Rng() % 3) + 1;
    SCOPED_TRACE("\"" + Text + "\" exp " + std::to_string(ExpAllowed) + " mode " +
                 std::to_string(Mode));
    const int Len = static_cast<int>(Text.size());

    int Pos = 1;
    const double Value = ScanFloatNum(Text, ExpAllowed, Mode, Pos);
    ASSERT_GE(Pos, 1);
    ASSERT_LE(Pos, Len + 1);
    ASSERT_TRUE(std::isfinite(Value));
    // The number ends on the character at Pos: the text before it is what was read.
    if (IsValidExpNum(Text, ExpAllowed, Mode)) {
      EXPECT_EQ(Value, LibraryValue(Text.substr(0, static_cast<size_t>(Pos) - 1)));
    } else if (!HasLongExponent(Text)) {
      EXPECT_EQ(Value, 0.0);
    }

    // Scanning from inside a text is scanning the rest of it.
    const int Start = static_cast<int>(Rng() % static_cast<unsigned>(Len + 1)) + 1;
    int Inner = Start;
    const double InnerValue = ScanFloatNum(Text, ExpAllowed, Mode, Inner);
    int Rest = 1;
    const double RestValue =
        ScanFloatNum(Text.substr(static_cast<size_t>(Start) - 1), ExpAllowed, Mode, Rest);
    EXPECT_EQ(InnerValue, RestValue);
    EXPECT_EQ(Inner, Start - 1 + Rest);

    // A text the float rule accepts is a whole number of that mode.
    if (IsValidFloatNum(Text, Mode)) {
      int P = 1;
      EXPECT_EQ(ScanFloatNum(Text, false, Mode, P), LibraryValue(Text));
      EXPECT_EQ(P, Len + 1);
      double Converted = 99;
      EXPECT_TRUE(ConvertNumString(Text, itFloat, Mode, Converted));
      EXPECT_EQ(Converted, LibraryValue(Text));
    }
  }
}

TEST(NumFormatsFuzz, DigitScannersAgreeWithValidityAndWriters) {
  std::mt19937 Rng(4200);
  const std::string Alphabet = "0123456789abcdefgABCDEFG$ +-";
  for (int Round = 0; Round < kRounds; ++Round) {
    const std::string Text = RandomText(Rng, Alphabet, 10);
    SCOPED_TRACE("\"" + Text + "\"");
    const int Len = static_cast<int>(Text.size());
    std::string Upper = Text;
    std::transform(Upper.begin(), Upper.end(), Upper.begin(),
                   [](char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C; });

    int PosHex = 1, PosOct = 1, PosBin = 1, PosInt = 1;
    const auto Hex = static_cast<uint32_t>(ScanHexNum(Text, PosHex));
    const auto Oct = static_cast<uint32_t>(ScanOctNum(Text, PosOct));
    const auto Bin = static_cast<uint32_t>(ScanBinNum(Text, PosBin));
    const int32_t Int = ScanIntNum(Text, PosInt);
    for (const int P : {PosHex, PosOct, PosBin, PosInt}) {
      ASSERT_GE(P, 1);
      ASSERT_LE(P, Len + 1);
    }
    if (IsValidHexNum(Text)) {
      EXPECT_EQ(PosHex, Len + 1);
      if (Len <= 8) {
        EXPECT_EQ(FormatHexDigits(Hex, Len), Upper);
      }
    }
    if (IsValidOctNum(Text)) {
      EXPECT_EQ(PosOct, Len + 1);
      EXPECT_EQ(FormatOctDigits(Oct, Len), Text);
    }
    if (IsValidBinNum(Text)) {
      EXPECT_EQ(PosBin, Len + 1);
      EXPECT_EQ(FormatBinDigits(Bin, Len), Text);
    }
    if (IsValidIntNum(Text)) {
      EXPECT_EQ(PosInt, Len + 1);
      const long long Wide = std::strtoll(Text.c_str(), nullptr, 10);
      EXPECT_EQ(Int, static_cast<int32_t>(static_cast<uint32_t>(Wide)));
      double Converted = 99;
      EXPECT_TRUE(ConvertNumString(Text, itInt, 1, Converted));
      EXPECT_EQ(Converted, Int);
    }
  }
}

// A random double over the whole range: a random mantissa and decimal exponent.
double RandomValue(std::mt19937& Rng) {
  std::uniform_real_distribution<double> Mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> Exponent(-330, 308);
  const double V = Mantissa(Rng) * std::pow(10.0, Exponent(Rng));
  const double Clamped = std::isfinite(V) ? V : kMax;
  return Rng() % 2 ? Clamped : -Clamped;
}

TEST(NumFormatsFuzz, WrittenNumbersReadBack) {
  std::mt19937 Rng(1234);
  for (int Round = 0; Round < kRounds; ++Round) {
    const double V = RandomValue(Rng);
    SCOPED_TRACE(V);

    // Fixed notation: a valid float text within half a unit of the last decimal.
    const int Decimals = static_cast<int>(Rng() % 9);
    const std::string Fixed = FormatRealNum(1, Decimals, V);
    ASSERT_TRUE(IsValidFloatNum(Fixed, 1)) << Fixed;
    int P = 1;
    const double FixedBack = ScanFloatNum(Fixed, false, 1, P);
    EXPECT_EQ(P, static_cast<int>(Fixed.size()) + 1) << Fixed;
    EXPECT_LE(std::fabs(FixedBack - V), 0.5 * std::pow(10.0, -Decimals) + std::fabs(V) * 1e-15)
        << Fixed;

    // Short exponent form: exactly the width; asterisks only for exponents beyond two
    // digits, otherwise a valid exponent text close to the value.
    const int Width = static_cast<int>(Rng() % 14) + 7;
    const std::string Short = FormatRealNum(Width, -2, V);
    ASSERT_EQ(static_cast<int>(Short.size()), Width) << Short;
    if (Short == std::string(static_cast<size_t>(Width), '*')) {
      EXPECT_TRUE(std::fabs(V) > 9e99 || std::fabs(V) < 1.1e-99) << Short;
    } else {
      EXPECT_TRUE(IsValidExpNum(Short, true, 1)) << Short;
      P = 1;
      const double Back = ScanFloatNum(Short, true, 1, P);
      EXPECT_EQ(P, Width + 1) << Short;
      EXPECT_LE(std::fabs(Back - V), std::fabs(V) * 0.51 * std::pow(10.0, 7 - Width)) << Short;
    }

    // Long exponent form: every double fits.
    const int LongWidth = static_cast<int>(Rng() % 20) + 9;
    const std::string Long = FormatRealNum(LongWidth, -1, V);
    ASSERT_EQ(static_cast<int>(Long.size()), LongWidth) << Long;
    P = 1;
    const double LongBack = ScanFloatNum(Long, true, 1, P);
    EXPECT_EQ(P, LongWidth + 1) << Long;
    EXPECT_LE(std::fabs(LongBack - V), std::fabs(V) * 0.51 * std::pow(10.0, 9 - LongWidth))
        << Long;
  }
}


// Whatever a field writes for a value, the same field accepts as its text again (the
// asterisks of an exponent too large for two digits excepted).
TEST(NumFormatsFuzz, FieldsAcceptTheTextsTheyWrite) {
  std::mt19937 Rng(2026);
  for (int Round = 0; Round < kRounds / 4; ++Round) {
    const double V = RandomValue(Rng);
    const int Places = static_cast<int>(Rng() % 8) + 1;
    for (int F = itExp; F <= itDynamic; ++F) {
      const auto Format = static_cast<TInFormat>(F);
      SCOPED_TRACE("format " + std::to_string(F) + " value " + std::to_string(V));
      const std::string Custom = NumIO2ValueText(V, Format, Places);
      if (Custom.find('*') == std::string::npos) {
        EXPECT_TRUE(NumIO2IsValidText(Custom, Format, 1, Places)) << Custom;
      }
      const std::string Edit = NumIOValueText(V, Format, Places);
      double Back = 0;
      if (Edit.find('*') == std::string::npos) {
        EXPECT_TRUE(ConvertNumString(Edit, Format, 1, Back)) << Edit;
      }
    }
  }
}

}  // namespace
}  // namespace nuv
