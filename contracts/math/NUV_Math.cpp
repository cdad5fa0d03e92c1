// Angles, distances, number texts, random decisions and the small array routines.
#include "contracts/math/NUV_Math.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <type_traits>
#include <limits>
#include <numbers>

namespace nuv {

// ---------------------------------------------------------------- geometry and angles

double SphereGreatCircleDist(double Radius, double Lat1, double Long1, double Lat2,
                             double Long2) {
  constexpr double Rad = std::numbers::pi / 180;
  const double p1 = Lat1 * Rad, p2 = Lat2 * Rad, dl = (Long2 - Long1) * Rad;
  const double y = std::hypot(std::cos(p2) * std::sin(dl),
                              std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
  const double x = std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl);
  return Radius * std::atan2(y, x);
}

namespace {

std::string DecimalDegrees(double A, int Prec) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f\xB0", Prec, A);
  return buf;
}

std::string TwoDigits(int64_t V) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", static_cast<int>(V));
  return buf;
}

// Whole part of V / 10^Prec with two digits, then the Prec decimals.
std::string PartText(int64_t V, int64_t Unit, int Prec) {
  std::string s = TwoDigits(V / Unit);
  if (Prec > 0) {
    const std::string frac = IntToStr(V % Unit);
    s += "." + std::string(static_cast<size_t>(Prec) - frac.size(), '0') + frac;
  }
  return s;
}

}  // namespace

std::string DegreeToStr(double Value, TDegreeFormat Format, int Prec) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value > 0 ? "INF" : "-INF";
  const int prec = std::clamp(Prec, 0, 9);
  const double a = std::fabs(Value);
  int64_t unit = 1;
  for (int i = 0; i < prec; ++i) unit *= 10;
  const int64_t perDegree = Format == dfDegMin ? 60 : (Format == dfDegMinSec ? 3600 : 1);
  const double scaled = a * static_cast<double>(perDegree * unit);
  std::string text;
  bool zero;
  if (perDegree == 1 || !(scaled < 9e15)) {
    text = DecimalDegrees(a, prec);
    zero = text.find_first_not_of("0.\xB0") == std::string::npos;
  } else {
    const int64_t units = Round(scaled);
    zero = units == 0;
    const int64_t degUnits = perDegree * unit;
    const int64_t rest = units % degUnits;
    text = IntToStr(units / degUnits) + "\xB0";
    if (Format == dfDegMin) {
      text += PartText(rest, unit, prec) + "'";
    } else {
      text += TwoDigits(rest / (60 * unit)) + "'" + PartText(rest % (60 * unit), unit, prec) + "\"";
    }
  }
  return (Value < 0 && !zero) ? "-" + text : text;
}

// ---------------------------------------------------------------- number texts

std::string Hex(int64_t Value, int Digits) {
  static const char HexDigits[] = "0123456789ABCDEF";
  const int d = std::clamp(Digits, 0, 16);
  const uint64_t u = static_cast<uint64_t>(Value);
  std::string s(static_cast<size_t>(d), '0');
  for (int i = 0; i < d; ++i) s[static_cast<size_t>(d - 1 - i)] = HexDigits[(u >> (4 * i)) & 15];
  return s;
}

namespace {

int HexDigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

int DecDigitValue(char C) { return (C >= '0' && C <= '9') ? C - '0' : -1; }

int64_t ScanDigits(const std::string& S, int& Pos, int Base, int (*Digit)(char)) {
  constexpr int64_t Max = std::numeric_limits<int64_t>::max();
  const size_t start = Pos < 1 ? 0 : static_cast<size_t>(Pos) - 1;
  int64_t value = 0;
  size_t i = start;
  for (; i < S.size(); ++i) {
    const int d = Digit(S[i]);
    if (d < 0) break;
    value = value > (Max - d) / Base ? Max : value * Base + d;
  }
  if (i > start) Pos = static_cast<int>(i) + 1;
  return value;
}

}  // namespace

int64_t ScanHex(const std::string& S, int& Pos) { return ScanDigits(S, Pos, 16, HexDigitValue); }

int64_t ScanDecimal(const std::string& S, int& Pos) {
  return ScanDigits(S, Pos, 10, DecDigitValue);
}

// ---------------------------------------------------------------- small helpers

void ExChange(double& A, double& B) { std::swap(A, B); }
void ExChange(int& A, int& B) { std::swap(A, B); }

bool BRandom(double P) { return Random() < P; }

namespace {

template <typename T>
int ClampLast(std::span<T> A, int Last) {
  return std::min(Last, static_cast<int>(A.size()) - 1);
}

// Not-a-number goes last in either direction, so that sorting stays well defined.
template <typename T>
bool Before(T A, T B, bool Ascending) {
  if constexpr (std::is_floating_point_v<T>) {
    if (std::isnan(B)) return !std::isnan(A);
    if (std::isnan(A)) return false;
  }
  return Ascending ? A < B : B < A;
}

template <typename T>
void SortArrayT(std::span<T> A, int Last, bool Ascending) {
  const int last = ClampLast(A, Last);
  if (last < 0) return;
  std::sort(A.begin(), A.begin() + last + 1, [Ascending](T a, T b) { return Before(a, b, Ascending); });
}

template <typename T>
void InsertIntoArrayT(std::span<T> A, int Last, T X, int Index) {
  const int last = ClampLast(A, Last);
  if (Index < 0 || Index > last) return;
  for (int i = last; i > Index; --i) A[static_cast<size_t>(i)] = A[static_cast<size_t>(i) - 1];
  A[static_cast<size_t>(Index)] = X;
}

template <typename T>
int SortIntoArrayT(std::span<T> A, int Last, T X, bool Ascending, bool Dups) {
  const int last = ClampLast(A, Last);
  if (last < 0) return -1;
  const auto first = A.begin(), end = A.begin() + last + 1;
  if (!Dups && std::find(first, end, X) != end) return -1;
  const auto at = std::find_if(first, end, [&](T v) { return Before(X, v, Ascending); });
  if (at == end) return -1;
  const int index = static_cast<int>(at - first);
  InsertIntoArrayT(A, last, X, index);
  return index;
}

}  // namespace

void SortArray(std::span<double> A, int Last, bool Ascending) { SortArrayT(A, Last, Ascending); }
void SortArray(std::span<int> A, int Last, bool Ascending) { SortArrayT(A, Last, Ascending); }

int SortIntoArray(std::span<double> A, int Last, double X, bool Ascending, bool Dups) {
  return SortIntoArrayT(A, Last, X, Ascending, Dups);
}
int SortIntoArray(std::span<int> A, int Last, int X, bool Ascending, bool Dups) {
  return SortIntoArrayT(A, Last, X, Ascending, Dups);
}

void InsertIntoArray(std::span<double> A, int Last, double X, int Index) {
  InsertIntoArrayT(A, Last, X, Index);
}
void InsertIntoArray(std::span<int> A, int Last, int X, int Index) {
  InsertIntoArrayT(A, Last, X, Index);
}

}  // namespace nuv
