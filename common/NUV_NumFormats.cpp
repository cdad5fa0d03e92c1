#include "common/NUV_NumFormats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <system_error>

#include "contracts/base/NUV_BaseTypes.h"
#include "platform/NUV_SysUtils.h"

namespace nuv {

namespace {

constexpr int kMaxExponent = 4200;  // larger decimal exponents are cut
constexpr int kMaxTextWidth = 255;

// A position below 1 starts at 1; one past the end stands for every later position.
int StartPos(const std::string& Text, int Pos) {
  return std::clamp(Pos, 1, static_cast<int>(Text.size()) + 1);
}

// ------------------------------------------------------------ the decimal state machine

enum TCharClass { ccSep, ccSign, ccSpace, ccDigit, ccExp, ccOther, ccCount };

// States 1..8 of the machine; the two final states and two that depend on the arguments.
constexpr int8_t sError = 0;
constexpr int8_t sDone = 9;
constexpr int8_t sExpOrDone = 10;  // 6 when exponents are allowed, otherwise done
constexpr int8_t sSepAfterFrac = 11;  // a second separator: done in mode 3, otherwise error

constexpr int8_t kNext[8][ccCount] = {
    //  SEP  SIGN  SPACE  DIGIT  EXP  END/OTHER
    {4, 2, 1, 3, sError, sError},                                  // 1 start
    {4, sError, sError, 3, sError, sError},                        // 2 after sign
    {4, sDone, sDone, 3, sExpOrDone, sDone},                       // 3 integer digits
    {sError, sDone, sDone, 5, sExpOrDone, sDone},                  // 4 after separator
    {sSepAfterFrac, sDone, sDone, 5, sExpOrDone, sDone},           // 5 fraction digits
    {sError, 7, sError, 8, sError, sError},                        // 6 after exponent mark
    {sError, sError, sError, 8, sError, sError},                   // 7 after exponent sign
    {sDone, sDone, sDone, 8, sDone, sDone},                        // 8 exponent digits
};

constexpr bool IsSeparator(char C, int SepMode) {
  if (SepMode == 1) return C == '.';
  if (SepMode == 2) return C == ',';
  return C == '.' || C == ',';
}

// The class of every byte in separator modes 1, 2 and 3: one look-up per character.
struct TClassTable {
  uint8_t Of[3][256];
};

constexpr TClassTable MakeClassTable() {
  TClassTable T{};
  for (int Mode = 1; Mode <= 3; ++Mode) {
    for (int B = 0; B < 256; ++B) {
      const char C = static_cast<char>(B);
      TCharClass Class = ccOther;
      if (IsSeparator(C, Mode)) Class = ccSep;
      else if (C == '+' || C == '-') Class = ccSign;
      else if (C == ' ') Class = ccSpace;
      else if (C >= '0' && C <= '9') Class = ccDigit;
      else if (C == 'E' || C == 'e') Class = ccExp;
      T.Of[Mode - 1][B] = static_cast<uint8_t>(Class);
    }
  }
  return T;
}

constexpr TClassTable kClasses = MakeClassTable();

// kNext with the entries that depend on the arguments resolved, by exponents allowed and
// by a single separator (modes 1 and 2).
struct TNextTables {
  int8_t Of[2][2][8][ccCount];
};

constexpr TNextTables MakeNextTables() {
  TNextTables T{};
  for (int ExpAllowed = 0; ExpAllowed < 2; ++ExpAllowed) {
    for (int Single = 0; Single < 2; ++Single) {
      for (int S = 0; S < 8; ++S) {
        for (int K = 0; K < ccCount; ++K) {
          const int8_t N = kNext[S][K];
          T.Of[ExpAllowed][Single][S][K] = N == sExpOrDone      ? (ExpAllowed ? 6 : sDone)
                                           : N == sSepAfterFrac ? (Single ? sError : sDone)
                                                                : N;
        }
      }
    }
  }
  return T;
}

constexpr TNextTables kResolvedNext = MakeNextTables();

// The copy of the number (sign, digits, separator, digits, exponent mark, sign, exponent
// digits kept) is always one slice of the text: leading blanks come before it and dropped
// exponent digits after it. Only a "," separator has to read differently, as ".".
struct TFloatScan {
  bool Done = false;         // the machine ended in done (otherwise in error)
  bool ExponentCut = false;  // an exponent digit was dropped because of the 4200 limit
  int Pos = 1;               // the character that ended or broke the number
  size_t Start = 0;          // the copy: Length characters of the text from index Start
  size_t Length = 0;
  bool CommaSeparator = false;
};

// Runs the machine from Pos. With StopAtCut the run ends (not done) at the first exponent
// digit that would exceed the limit, as the validity rule needs.
TFloatScan RunFloatMachine(const std::string& Text, bool ExpAllowed, int SepMode, int Pos,
                           bool StopAtCut) {
  const bool SingleSeparator = SepMode == 1 || SepMode == 2;
  const auto& Table = kResolvedNext.Of[ExpAllowed][SingleSeparator];
  const uint8_t* Classes = kClasses.Of[SingleSeparator ? SepMode - 1 : 2];

  TFloatScan R;
  const int Len = static_cast<int>(Text.size());
  int P = StartPos(Text, Pos);
  int State = 1;
  int Exponent = 0;  // gathered exponent digits, held at kMaxExponent + 1 once past it
  while (true) {
    const char C = P <= Len ? Text[P - 1] : '\0';
    const int Class = P <= Len ? int{Classes[static_cast<uint8_t>(C)]} : int{ccOther};
    ++P;
    const int Next = Table[State - 1][Class];
    if (Next == sError || Next == sDone) {
      R.Done = Next == sDone;
      break;
    }
    State = Next;
    if (State == 8 && Class == ccDigit) {
      Exponent = std::min(Exponent * 10 + (C - '0'), kMaxExponent + 1);
      if (Exponent > kMaxExponent) {
        R.ExponentCut = true;
        if (StopAtCut) break;
        continue;
      }
    }
    if (Class == ccSpace) continue;  // leading blanks carry no value
    if (R.Length == 0) R.Start = static_cast<size_t>(P - 2);
    ++R.Length;
    if (Class == ccSep && C == ',') R.CommaSeparator = true;
  }
  R.Pos = P - 1;
  return R;
}

// For a copy that does not fit a double: true when it is too large, false when too small.
// The decimal magnitude of the first significant digit plus the exponent decides.
bool CopyOverflows(std::string_view Copy) {
  long long Magnitude = 0;
  bool Significant = false, Fraction = false;
  size_t I = 0;
  for (; I < Copy.size() && Copy[I] != 'E' && Copy[I] != 'e'; ++I) {
    const char C = Copy[I];
    if (C == '.') {
      Fraction = true;
    } else if (C >= '0' && C <= '9') {
      if (Significant) {
        if (!Fraction) ++Magnitude;
      } else if (Fraction) {
        --Magnitude;
        Significant = C != '0';
      } else {
        Significant = C != '0';
      }
    }
  }
  long long Exponent = 0;
  bool Negative = false;
  for (++I; I < Copy.size(); ++I) {
    if (Copy[I] == '-') Negative = true;
    if (Copy[I] >= '0' && Copy[I] <= '9') Exponent = Exponent * 10 + (Copy[I] - '0');
  }
  return Magnitude + (Negative ? -Exponent : Exponent) > 0;
}

// The nearest double of the collected copy, clamped to the largest finite double. A copy
// ending in "." reads as if a "0" followed; one without mantissa digits ("." or "-.E5")
// does not convert and gives 0.
double ConvertCopy(std::string_view Copy) {
  const char* First = Copy.data();
  const char* Last = First + Copy.size();
  if (First != Last && *First == '+') ++First;
  const bool Negative = First != Last && *First == '-';
  double Value = 0;
  const auto [Ptr, Ec] = std::from_chars(First, Last, Value, std::chars_format::general);
  if (Ec == std::errc::result_out_of_range) {
    Value = CopyOverflows(Copy) ? uc_MaxDouble : 0.0;
    if (Negative) Value = -Value;
  } else if (Ec != std::errc()) {
    Value = 0;
  }
  return std::clamp(Value, -uc_MaxDouble, uc_MaxDouble);
}

// ------------------------------------------------------------ digit scanners

// Skips blanks while the position is before the last character.
int SkipBlanks(const std::string& Text, int Pos) {
  const int Len = static_cast<int>(Text.size());
  while (Pos < Len && Text[Pos - 1] == ' ') ++Pos;
  return Pos;
}

int DigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return 99;  // no digit of any base
}

// Digits of Base from Pos on, 32-bit wrapping.
uint32_t ScanDigits(const std::string& Text, uint32_t Base, int& Pos) {
  const int Len = static_cast<int>(Text.size());
  uint32_t Value = 0;
  while (Pos <= Len) {
    const int D = DigitValue(Text[Pos - 1]);
    if (D >= static_cast<int>(Base)) break;
    Value = Value * Base + static_cast<uint32_t>(D);
    ++Pos;
  }
  return Value;
}

// Blanks, then digits of Base: the digit scanners without ScanHexNum's "$".
int32_t ScanBase(const std::string& Text, uint32_t Base, int& Pos) {
  Pos = SkipBlanks(Text, StartPos(Text, Pos));
  return static_cast<int32_t>(ScanDigits(Text, Base, Pos));
}

bool AllDigitsOfBase(const std::string& Text, uint32_t Base) {
  return !Text.empty() && std::all_of(Text.begin(), Text.end(), [Base](char C) {
    return DigitValue(C) < static_cast<int>(Base);
  });
}

// ------------------------------------------------------------ writers

std::string PadLeft(std::string S, int Width) {
  if (static_cast<int>(S.size()) < Width) S.insert(0, Width - S.size(), ' ');
  return S;
}

std::string NotFiniteText(double Value) {
  if (std::isnan(Value)) return "NAN";
  return Value < 0 ? "-INF" : "INF";
}

// Sign position, one digit, ".", Decimals decimals, "E", exponent sign, four digits.
std::string LongExponentForm(int Decimals, double Value) {
  char Buf[400];
  const auto R = std::to_chars(Buf, Buf + sizeof Buf, std::fabs(Value),
                               std::chars_format::scientific, Decimals);
  const std::string Sci(Buf, R.ptr);  // d[.ddd]e±xx
  const size_t E = Sci.find('e');
  std::string Out = Value < 0 ? "-" : " ";
  Out += Sci[0];
  Out += '.';
  if (E > 1) Out.append(Sci, 2, E - 2);
  Out += 'E';
  Out += Sci[E + 1];
  const std::string Digits = Sci.substr(E + 2);
  Out.append(4 - std::min<size_t>(Digits.size(), 4), '0');
  Out += Digits;
  return Out;
}

char DigitChar(uint32_t D) { return "0123456789ABCDEF"[D]; }

std::string FormatDigits(uint32_t Value, int Digits, int MaxDigits, int BitsPerDigit) {
  const int N = std::clamp(Digits, 1, MaxDigits);
  const uint32_t Mask = (1u << BitsPerDigit) - 1;
  std::string S(static_cast<size_t>(N), '0');
  uint64_t V = Value;
  for (int I = N - 1; I >= 0; --I) {
    S[static_cast<size_t>(I)] = DigitChar(static_cast<uint32_t>(V & Mask));
    V >>= BitsPerDigit;
  }
  return S;
}

// ------------------------------------------------------------ field helpers

// A decimal integer at the start of Text, saturated to the 32-bit range.
int32_t SaturatedDecimal(const std::string& Text) {
  size_t I = 0;
  const bool Negative = !Text.empty() && Text[0] == '-';
  if (!Text.empty() && (Text[0] == '-' || Text[0] == '+')) I = 1;
  const int64_t Limit = int64_t{1} << 31;
  int64_t Value = 0;
  for (; I < Text.size() && Text[I] >= '0' && Text[I] <= '9'; ++I)
    Value = std::min(Value * 10 + (Text[I] - '0'), Limit);
  if (Negative) return static_cast<int32_t>(-Value);
  return static_cast<int32_t>(std::min(Value, Limit - 1));
}

// The prefix of itDynamic text selects a digit format; itInt stands for "no prefix".
TInFormat DynamicPrefixFormat(const std::string& Text) {
  if (Text.empty()) return itInt;
  switch (Text[0]) {
    case '$': return itHex;
    case '%': return itBin;
    case '&': return itOct;
    default: return itInt;
  }
}

uint32_t DigitBase(TInFormat Format) {
  return Format == itHex ? 16 : Format == itOct ? 8 : 2;
}

bool WhollyConsumed(const std::string& Text, int Pos) {
  return Pos == static_cast<int>(Text.size()) + 1;
}

}  // namespace

// ------------------------------------------------------------ separators

int ValiditySepMode(int DecPSep) {
  if (DecPSep == 0) return DecimalSeparator == '.' ? 1 : 2;
  return DecPSep == 1 || DecPSep == 2 ? DecPSep : 3;
}

int ConversionSepMode(int DecPSep) {
  if (DecPSep == 0) return DecimalSeparator == ',' ? 2 : 1;
  return DecPSep == 1 || DecPSep == 2 ? DecPSep : 3;
}

// ------------------------------------------------------------ scanners

double ScanFloatNum(const std::string& Text, bool ExpAllowed, int SepMode, int& Pos) {
  const TFloatScan R = RunFloatMachine(Text, ExpAllowed, SepMode, Pos, false);
  Pos = R.Pos;
  if (!R.Done) return 0.0;
  const std::string_view Copy = std::string_view(Text).substr(R.Start, R.Length);
  if (!R.CommaSeparator) return ConvertCopy(Copy);
  std::string Dotted(Copy);
  std::replace(Dotted.begin(), Dotted.end(), ',', '.');
  return ConvertCopy(Dotted);
}

int32_t ScanIntNum(const std::string& Text, int& Pos) {
  if (Text.empty()) return 0;
  Pos = SkipBlanks(Text, StartPos(Text, Pos));
  bool Negative = false;
  if (Pos <= static_cast<int>(Text.size()) && (Text[Pos - 1] == '-' || Text[Pos - 1] == '+')) {
    Negative = Text[Pos - 1] == '-';
    ++Pos;
  }
  const uint32_t Value = ScanDigits(Text, 10, Pos);
  return static_cast<int32_t>(Negative ? 0u - Value : Value);
}

int32_t ScanHexNum(const std::string& Text, int& Pos) {
  Pos = SkipBlanks(Text, StartPos(Text, Pos));
  if (Pos == 1 && !Text.empty() && Text[0] == '$') Pos = 2;
  return static_cast<int32_t>(ScanDigits(Text, 16, Pos));
}

int32_t ScanOctNum(const std::string& Text, int& Pos) { return ScanBase(Text, 8, Pos); }

int32_t ScanBinNum(const std::string& Text, int& Pos) { return ScanBase(Text, 2, Pos); }

// ------------------------------------------------------------ validity rules

bool IsValidExpNum(const std::string& Text, bool ExpAllowed, int DecPSep) {
  if (Text.empty()) return false;
  const TFloatScan R = RunFloatMachine(Text, ExpAllowed, ValiditySepMode(DecPSep), 1, true);
  return R.Done && !R.ExponentCut;
}

bool IsValidFloatNum(const std::string& Text, int DecPSep) {
  if (Text.empty()) return false;
  const int SepMode = ValiditySepMode(DecPSep);
  enum { vStart, vSign, vSep, vInt, vFrac, vInvalid };
  int State = vStart;
  for (const char C : Text) {
    const bool Sign = C == '+' || C == '-';
    const bool Sep = IsSeparator(C, SepMode);
    const bool Digit = C >= '0' && C <= '9';
    switch (State) {
      case vStart: State = Sign ? vSign : Sep ? vSep : Digit ? vInt : vInvalid; break;
      case vSign: State = Sep ? vSep : Digit ? vInt : vInvalid; break;
      case vSep: State = Digit ? vFrac : vInvalid; break;
      case vInt: State = Sep ? vSep : Digit ? vInt : vInvalid; break;
      case vFrac: State = Digit ? vFrac : vInvalid; break;
    }
    if (State == vInvalid) return false;
  }
  return true;
}

bool IsValidIntNum(const std::string& Text) {
  if (Text.empty()) return false;
  const char First = Text[0];
  if (First != '+' && First != '-' && !(First >= '0' && First <= '9')) return false;
  return std::all_of(Text.begin() + 1, Text.end(), [](char C) { return C >= '0' && C <= '9'; });
}

bool IsValidHexNum(const std::string& Text) { return AllDigitsOfBase(Text, 16); }
bool IsValidOctNum(const std::string& Text) { return AllDigitsOfBase(Text, 8); }
bool IsValidBinNum(const std::string& Text) { return AllDigitsOfBase(Text, 2); }

// ------------------------------------------------------------ writers

std::string FormatRealNum(int Width, int Decimals, double Value) {
  Width = std::min(Width, kMaxTextWidth);
  Decimals = std::min(Decimals, kMaxTextWidth);
  if (Value == 0) Value = 0.0;  // no sign for a negative zero
  if (Decimals >= 0) {
    if (!std::isfinite(Value)) return PadLeft(NotFiniteText(Value), Width);
    char Buf[700];  // 309 integer digits, the point and 255 decimals at most
    const auto R = std::to_chars(Buf, Buf + sizeof Buf, Value, std::chars_format::fixed, Decimals);
    std::string S(Buf, R.ptr);
    // A value that rounds to zero is written without sign (a tick at -1E-17 reads "0.0").
    if (S[0] == '-' && S.find_first_of("123456789") == std::string::npos) S.erase(0, 1);
    return PadLeft(S, Width);
  }
  if (Decimals == -1) {
    Width = std::max(Width, 9);
    if (!std::isfinite(Value)) return PadLeft(NotFiniteText(Value), Width);
    return LongExponentForm(Width - 9, Value);
  }
  Width = std::max(Width, 7);
  if (!std::isfinite(Value)) return PadLeft(NotFiniteText(Value), Width);
  std::string S = LongExponentForm(Width - 7, Value);  // Width + 2 characters
  const size_t E = S.size() - 4;                      // first of the four exponent digits
  if (S[E] != '0' || S[E + 1] != '0') return std::string(static_cast<size_t>(Width), '*');
  return S.erase(E, 2);
}

std::string FormatHexDigits(uint32_t Value, int Digits) { return FormatDigits(Value, Digits, 8, 4); }
std::string FormatOctDigits(uint32_t Value, int Digits) { return FormatDigits(Value, Digits, 11, 3); }
std::string FormatBinDigits(uint32_t Value, int Digits) { return FormatDigits(Value, Digits, 32, 1); }

uint32_t DigitPattern(double Value) { return static_cast<uint32_t>(static_cast<uint64_t>(Round(Value))); }

// ------------------------------------------------------------ the two numeric fields

bool NumIO2IsValidText(const std::string& Text, TInFormat Format, int DecPSep,
                       int FixPointDecPlaces) {
  switch (Format) {
    case itExp: return IsValidExpNum(Text, true, DecPSep);
    case itFloat: return IsValidFloatNum(Text, DecPSep);
    case itFixPoint: {
      const size_t Point = Text.find('.');
      return IsValidFloatNum(Text, DecPSep) && Point != std::string::npos &&
             static_cast<long long>(Point) + 1 ==
                 static_cast<long long>(Text.size()) - FixPointDecPlaces;
    }
    case itInt: return IsValidIntNum(Text);
    case itHex: return IsValidHexNum(Text);
    case itOct: return IsValidOctNum(Text);
    case itBin: return IsValidBinNum(Text);
    case itDynamic: {
      const TInFormat Prefixed = DynamicPrefixFormat(Text);
      if (Prefixed == itInt) return IsValidIntNum(Text);
      return AllDigitsOfBase(Text.substr(1), DigitBase(Prefixed));
    }
  }
  return false;
}

double NumIO2TextValue(const std::string& Text, TInFormat Format) {
  int Pos = 1;
  switch (Format) {
    case itExp:
    case itFloat:
    case itFixPoint: return ScanFloatNum(Text, true, 3, Pos);
    case itInt: return SaturatedDecimal(Text);
    case itHex:
    case itOct:
    case itBin: return ScanBase(Text, DigitBase(Format), Pos);
    case itDynamic: {
      const TInFormat Prefixed = DynamicPrefixFormat(Text);
      if (Prefixed == itInt) return SaturatedDecimal(Text);
      return ScanBase(Text.substr(1), DigitBase(Prefixed), Pos);
    }
  }
  return 0;
}

std::string NumIO2ValueText(double Value, TInFormat Format, int FixPointDecPlaces) {
  switch (Format) {
    case itExp: return FormatRealNum(10, -2, Value);
    case itFloat:
    case itFixPoint: return FormatRealNum(1, FixPointDecPlaces, Value);
    case itInt:
    case itDynamic: return IntToStr(Round(Value));
    case itHex: return FormatHexDigits(DigitPattern(Value), 8);
    case itOct: return FormatOctDigits(DigitPattern(Value), 11);
    case itBin: return FormatBinDigits(DigitPattern(Value), 32);
  }
  return "";
}

bool ConvertNumString(const std::string& Text, TInFormat Format, int DecPSep, double& Value) {
  if (Text.empty()) return false;
  Value = 0;
  const int SepMode = ConversionSepMode(DecPSep);
  std::string S = LowerCase(Text.substr(std::min(Text.find_first_not_of(' '), Text.size())));
  if (S.find(' ') != std::string::npos) return false;
  if (S.empty()) return true;
  if (Format == itDynamic) {
    Format = DynamicPrefixFormat(S);
    if (Format == itInt) {
      Format = itExp;
    } else {
      S.erase(0, 1);  // the digits follow the prefix
    }
  }
  int Pos = 1;
  switch (Format) {
    case itExp: {
      const size_t E = S.rfind('e');
      if (E != std::string::npos && (E + 1 == S.size() || (E + 2 == S.size() &&
                                                            (S[E + 1] == '-' || S[E + 1] == '+'))))
        S.erase(E);
      Value = ScanFloatNum(S, true, SepMode, Pos);
      break;
    }
    case itFloat:
    case itFixPoint: Value = ScanFloatNum(S, false, SepMode, Pos); break;
    case itInt: Value = ScanIntNum(S, Pos); break;
    case itHex:
    case itOct:
    case itBin: Value = ScanBase(S, DigitBase(Format), Pos); break;
    case itDynamic: break;  // resolved above
  }
  return WhollyConsumed(S, Pos);
}

std::string NumIOValueText(double Value, TInFormat Format, int FixPointDecPlaces) {
  switch (Format) {
    case itExp:
    case itDynamic: return FormatRealNum(12, -2, Value);
    case itFloat: return FormatRealNum(1, 8, Value);
    case itFixPoint: return FormatRealNum(1, FixPointDecPlaces, Value);
    case itInt: return FormatRealNum(1, 0, Value);
    case itHex: return FormatHexDigits(DigitPattern(Value), 8);
    case itOct: return FormatOctDigits(DigitPattern(Value), 8);
    case itBin: return FormatBinDigits(DigitPattern(Value), 8);
  }
  return "";
}

}  // namespace nuv
