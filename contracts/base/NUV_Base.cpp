#include "contracts/base/NUV_Base.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace nuv {

// ---------------------------------------------------------------- name tables

const char* const MonthLong[NrOfLanguages + 1][13] = {
    {"", "", "", "", "", "", "", "", "", "", "", "", ""},
    {"", "January", "February", "March", "April", "May", "June", "July", "August",
     "September", "October", "November", "December"},
    {"", "Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni", "Juli", "August",
     "September", "Oktober", "November", "Dezember"},
};
const char* const MonthShort[NrOfLanguages + 1][13] = {
    {"", "", "", "", "", "", "", "", "", "", "", "", ""},
    {"", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"", "Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
};
const char* const WeekDayLong[NrOfLanguages + 1][8] = {
    {"", "", "", "", "", "", "", ""},
    {"", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"", "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
};
const char* const WeekDayShort[NrOfLanguages + 1][8] = {
    {"", "", "", "", "", "", "", ""},
    {"", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    {"", "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"},
};

// ---------------------------------------------------------------- colour catalogue

const TColor PredefinedColors[NrOfPredefinedColors] = {
    clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
    clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite,
    clMoneyGreen, clSkyBlue, clCream, clMedGray,
    clScrollBar, clBackground, clActiveCaption, clInactiveCaption, clMenu, clWindow,
    clWindowFrame, clMenuText, clWindowText, clCaptionText, clActiveBorder,
    clInactiveBorder, clAppWorkSpace, clHighlight, clHighlightText, clBtnFace,
    clBtnShadow, clGrayText, clBtnText, clInactiveCaptionText, clBtnHighlight,
    cl3DDkShadow, cl3DLight, clInfoText, clInfoBk,
    0xFF00001A, 0xFF00001B,
};

// ---------------------------------------------------------------- strings

namespace {

char LowerChar(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; }

std::string PadLeft(const std::string& S, int W) {
  if (W <= static_cast<int>(S.size())) return S;
  return std::string(static_cast<size_t>(W) - S.size(), ' ') + S;
}

}  // namespace

std::string strff(double X, int W, int D) {
  if (std::isnan(X)) return PadLeft("NAN", W);
  if (std::isinf(X)) return PadLeft(X > 0 ? "INF" : "-INF", W);
  const int decimals = D < 0 ? 0 : (D > 30 ? 30 : D);
  // %f of the largest double needs 309 digits before the point.
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, X);
  return PadLeft(buf, W);
}

std::string LeftString(const std::string& S, int W) {
  if (W <= 0) return {};
  const size_t w = static_cast<size_t>(W);
  if (S.size() >= w) return S.substr(0, w);
  return S + std::string(w - S.size(), ' ');
}

int NumberedPos(const std::string& Sub, const std::string& S, int Start, int N,
                bool IgnoreCase) {
  if (Sub.empty() || N < 1) return 0;
  const auto same = [IgnoreCase](char A, char B) {
    return IgnoreCase ? LowerChar(A) == LowerChar(B) : A == B;
  };
  size_t pos = Start < 1 ? 0 : static_cast<size_t>(Start) - 1;
  int found = 0;
  while (pos + Sub.size() <= S.size()) {
    bool match = true;
    for (size_t i = 0; i < Sub.size() && match; ++i) match = same(S[pos + i], Sub[i]);
    if (match) {
      if (++found == N) return static_cast<int>(pos) + 1;
      pos += Sub.size();
    } else {
      ++pos;
    }
  }
  return 0;
}

std::string EnsureTrailingChar(const std::string& S, char C) {
  if (!S.empty() && S.back() == C) return S;
  return S + C;
}

std::string ReplaceCharInString(const std::string& S, char OldChar, char NewChar) {
  std::string r = S;
  for (char& c : r)
    if (c == OldChar) c = NewChar;
  return r;
}

std::string StripLTBlanks(const std::string& S) {
  const size_t first = S.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = S.find_last_not_of(' ');
  return S.substr(first, last - first + 1);
}

std::string BoolToStr(bool B, int Style) {
  if (Style == 1) return B ? "T" : "F";
  return B ? "TRUE" : "FALSE";
}

std::string ReduceStringToFN83CompliantChars(const std::string& S) {
  static const char* const Specials = ".!#$%&'()-@^_`{}~";
  std::string r;
  for (char c : S) {
    const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (alnum || (c != '\0' && std::strchr(Specials, c) != nullptr)) r += c;
  }
  return r;
}

std::string StripExtension(const std::string& FileName) {
  return FileName.substr(0, FileName.size() - ExtractFileExt(FileName).size());
}

std::string InventPassword(int N) {
  static const char Chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  constexpr int NrChars = sizeof Chars - 1;
  if (N <= 0) return {};
  const int n = N > 255 ? 255 : N;
  std::string r;
  r.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) r += Chars[Random(NrChars)];
  return r;
}

bool AppendToTextFile(const std::string& FileName, const std::string& Line) {
  std::FILE* f = std::fopen(NativePath(FileName).c_str(), "ab");
  if (f == nullptr) return false;
  const bool written = std::fwrite(Line.data(), 1, Line.size(), f) == Line.size() &&
                       std::fputc('\n', f) != EOF;
  const bool closed = std::fclose(f) == 0;
  return written && closed;
}

}  // namespace nuv
