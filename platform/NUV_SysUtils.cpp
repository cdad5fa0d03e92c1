#include "platform/NUV_SysUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace nuv {

char DecimalSeparator = '.';
char DateSeparator = '-';
char TimeSeparator = ':';
std::string ShortDateFormat = "yyyy-mm-dd";
std::string LongDateFormat = "dddd, d mmmm yyyy";
std::string ShortTimeFormat = "hh:nn";
std::string LongTimeFormat = "hh:nn:ss";

// ---------------------------------------------------------------- clock

namespace {

TClockFunc& ClockSlot() {
  static TClockFunc clock;
  return clock;
}

// 1970-01-01 as a TDateTime.
constexpr double UnixEpochDays = 25569.0;
constexpr double MSecsPerDay = 86400000.0;

TDateTime SystemNow() {
  using namespace std::chrono;
  auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  // Local time: the offset of the process's time zone at this moment.
  time_t secs = static_cast<time_t>(ms / 1000);
  struct tm local {};
  localtime_r(&secs, &local);
  return UnixEpochDays + (static_cast<double>(ms) + local.tm_gmtoff * 1000.0) / MSecsPerDay;
}

}  // namespace

void SetClock(TClockFunc Clock) { ClockSlot() = std::move(Clock); }

TDateTime Now() { return ClockSlot() ? ClockSlot()() : SystemNow(); }

TDateTime Date() { return std::floor(Now()); }

int64_t GetTickCount64() { return Round(Now() * MSecsPerDay); }

// ---------------------------------------------------------------- rounding

namespace {

template <typename Int>
Int Saturate(double X) {
  if (std::isnan(X)) return 0;
  // The limits as doubles: the upper one is 2^63 (or 2^31) and is itself out of range.
  constexpr double hi = -static_cast<double>(std::numeric_limits<Int>::min());
  if (X >= hi) return std::numeric_limits<Int>::max();
  if (X < -hi) return std::numeric_limits<Int>::min();
  return static_cast<Int>(X);
}

}  // namespace

int64_t Round(double X) { return Saturate<int64_t>(std::nearbyint(X)); }
int64_t Trunc(double X) { return Saturate<int64_t>(std::trunc(X)); }
int RoundInt(double X) { return Saturate<int>(std::nearbyint(X)); }
int TruncInt(double X) { return Saturate<int>(std::trunc(X)); }

// ---------------------------------------------------------------- dates

const char* const LongMonthNames[12] = {"January", "February", "March",     "April",
                                        "May",     "June",     "July",      "August",
                                        "September", "October", "November", "December"};
const char* const ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
const char* const ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool IsLeapYear(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

int DaysInMonth(int Year, int Month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

namespace {

// Days from 0001-01-01 to the given date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;  // days since 1970-01-01
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
      Day > DaysInMonth(Year, Month))
    return false;
  Result = static_cast<double>(DaysFromCivil(Year, Month, Day)) + UnixEpochDays;
  return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Result) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 ||
      MSec > 999)
    return false;
  Result = (((Hour * 60.0 + Min) * 60.0 + Sec) * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime r;
  if (!TryEncodeDate(Year, Month, Day, r))
    throw EConvertError("Invalid argument to date encode");
  return r;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime r;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, r))
    throw EConvertError("Invalid argument to time encode");
  return r;
}

namespace {

// Whole milliseconds of a date-time: days and the time of day, rounded once so that
// 23:59:59.9996 becomes the next day instead of a time of 24:00.
void SplitDateTime(TDateTime DT, int64_t& Days, int64_t& MSecOfDay) {
  if (!std::isfinite(DT)) DT = 0;
  const int64_t total = Round(DT * MSecsPerDay);
  Days = total >= 0 ? total / 86400000 : -((-total + 86400000 - 1) / 86400000);
  MSecOfDay = total - Days * 86400000;
}

}  // namespace

void DecodeDate(TDateTime D, int& Year, int& Month, int& Day) {
  int64_t days, ms;
  SplitDateTime(D, days, ms);
  CivilFromDays(days - static_cast<int64_t>(UnixEpochDays), Year, Month, Day);
}

void DecodeTime(TDateTime T, int& Hour, int& Min, int& Sec, int& MSec) {
  int64_t days, ms;
  SplitDateTime(T, days, ms);
  Hour = static_cast<int>(ms / 3600000);
  Min = static_cast<int>(ms / 60000 % 60);
  Sec = static_cast<int>(ms / 1000 % 60);
  MSec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime D) {
  int64_t days, ms;
  SplitDateTime(D, days, ms);
  // 1899-12-30 was a Saturday (7).
  return static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
}

namespace {

std::string Pad(int Value, int Width) {
  std::string s = std::to_string(Value);
  if (static_cast<int>(s.size()) < Width) s.insert(0, Width - s.size(), '0');
  return s;
}

bool StartsWithNoCase(const std::string& S, size_t Pos, const char* Word) {
  for (size_t i = 0; Word[i]; ++i) {
    if (Pos + i >= S.size()) return false;
    char a = S[Pos + i], b = Word[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
    if (a != b) return false;
  }
  return true;
}

void AppendDateTime(std::string& Out, const std::string& Fmt, TDateTime DT, int Depth) {
  int year, month, day, hour, minute, sec, msec;
  DecodeDate(DT, year, month, day);
  DecodeTime(DT, hour, minute, sec, msec);
  const std::string lower = LowerCase(Fmt);
  const bool hasAmPm = lower.find("am/pm") != std::string::npos ||
                       lower.find("a/p") != std::string::npos ||
                       lower.find("ampm") != std::string::npos;
  const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
  bool lastWasHour = false;
  size_t i = 0;
  while (i < Fmt.size()) {
    const char c = Fmt[i];
    const char lc = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    size_t run = 1;
    while (i + run < Fmt.size() &&
           ((Fmt[i + run] >= 'A' && Fmt[i + run] <= 'Z') ? Fmt[i + run] + 32 : Fmt[i + run]) == lc)
      ++run;
    if (c == '"' || c == '\'') {
      size_t end = Fmt.find(c, i + 1);
      if (end == std::string::npos) end = Fmt.size();
      Out += Fmt.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (StartsWithNoCase(Fmt, i, "am/pm")) {
      Out += hour < 12 ? "am" : "pm";
      if (Fmt[i] == 'A') Out.replace(Out.size() - 2, 2, hour < 12 ? "AM" : "PM");
      i += 5;
      continue;
    }
    if (StartsWithNoCase(Fmt, i, "a/p")) {
      Out += hour < 12 ? (Fmt[i] == 'A' ? "A" : "a") : (Fmt[i] == 'A' ? "P" : "p");
      i += 3;
      continue;
    }
    if (StartsWithNoCase(Fmt, i, "ampm")) {
      Out += hour < 12 ? "AM" : "PM";
      i += 4;
      continue;
    }
    const int h = hasAmPm ? hour12 : hour;
    switch (lc) {
      case 'y':
        Out += run <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
        break;
      case 'm':
        if (lastWasHour && run <= 2) {
          Out += run == 1 ? std::to_string(minute) : Pad(minute, 2);
        } else if (run == 1) {
          Out += std::to_string(month);
        } else if (run == 2) {
          Out += Pad(month, 2);
        } else if (run == 3) {
          Out += ShortMonthNames[month - 1];
        } else {
          Out += LongMonthNames[month - 1];
        }
        break;
      case 'd': {
        const int dow = DayOfWeek(DT) - 1;
        if (run == 1) Out += std::to_string(day);
        else if (run == 2) Out += Pad(day, 2);
        else if (run == 3) Out += ShortDayNames[dow];
        else if (run == 4) Out += LongDayNames[dow];
        else if (Depth == 0) AppendDateTime(Out, run == 5 ? ShortDateFormat : LongDateFormat, DT, 1);
        break;
      }
      case 'h':
        Out += run == 1 ? std::to_string(h) : Pad(h, 2);
        break;
      case 'n':
        Out += run == 1 ? std::to_string(minute) : Pad(minute, 2);
        break;
      case 's':
        Out += run == 1 ? std::to_string(sec) : Pad(sec, 2);
        break;
      case 'z':
        Out += run < 3 ? std::to_string(msec) : Pad(msec, 3);
        break;
      case 't':
        if (Depth == 0) AppendDateTime(Out, run == 1 ? ShortTimeFormat : LongTimeFormat, DT, 1);
        break;
      case 'c':
        if (Depth == 0) {
          AppendDateTime(Out, ShortDateFormat, DT, 1);
          if (hour || minute || sec || msec) {
            Out += ' ';
            AppendDateTime(Out, LongTimeFormat, DT, 1);
          }
        }
        break;
      case '/':
        Out.append(run, DateSeparator);
        break;
      case ':':
        Out.append(run, TimeSeparator);
        break;
      default:
        Out.append(Fmt, i, run);
        break;
    }
    if (lc == 'h') lastWasHour = true;
    else if (lc != ' ' && lc != ':') lastWasHour = false;
    i += run;
  }
}

}  // namespace

std::string FormatDateTime(const std::string& Format, TDateTime DateTime) {
  std::string out;
  AppendDateTime(out, Format.empty() ? "c" : Format, DateTime, 0);
  return out;
}

// ---------------------------------------------------------------- random numbers

uint32_t RandSeed = 0;

void Randomize() { RandSeed = static_cast<uint32_t>(GetTickCount64()); }

namespace {
uint32_t NextRandom() {
  RandSeed = RandSeed * 134775813u + 1u;
  return RandSeed;
}
}  // namespace

int Random(int Range) {
  if (Range <= 0) return 0;
  return static_cast<int>((static_cast<uint64_t>(NextRandom()) * static_cast<uint64_t>(Range)) >> 32);
}

double Random() { return NextRandom() / 4294967296.0; }

// ---------------------------------------------------------------- text

std::string LowerCase(const std::string& S) {
  std::string r = S;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

std::string UpperCase(const std::string& S) {
  std::string r = S;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

int CompareText(const std::string& A, const std::string& B) {
  const std::string a = UpperCase(A), b = UpperCase(B);
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool SameText(const std::string& A, const std::string& B) { return CompareText(A, B) == 0; }

namespace {
bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

std::string TrimLeft(const std::string& S) {
  size_t i = 0;
  while (i < S.size() && IsSpaceOrControl(S[i])) ++i;
  return S.substr(i);
}

std::string TrimRight(const std::string& S) {
  size_t n = S.size();
  while (n > 0 && IsSpaceOrControl(S[n - 1])) --n;
  return S.substr(0, n);
}

std::string Trim(const std::string& S) { return TrimLeft(TrimRight(S)); }

std::string IntToStr(int64_t Value) { return std::to_string(Value); }

std::string IntToHex(uint64_t Value, int Digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", Digits < 0 ? 0 : (Digits > 16 ? 16 : Digits),
                static_cast<unsigned long long>(Value));
  return buf;
}

bool TryStrToInt(const std::string& S, int64_t& Value) {
  const std::string t = Trim(S);
  if (t.empty()) return false;
  size_t i = 0;
  bool neg = false;
  if (t[i] == '+' || t[i] == '-') neg = t[i++] == '-';
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return false;
  uint64_t mag = 0;
  const char* first = t.data() + i;
  const char* last = t.data() + t.size();
  auto [p, ec] = std::from_chars(first, last, mag, base);
  if (ec != std::errc() || p != last) return false;
  if (neg) {
    if (mag > uint64_t(std::numeric_limits<int64_t>::max()) + 1) return false;
    Value = static_cast<int64_t>(0 - mag);
  } else {
    if (mag > uint64_t(std::numeric_limits<int64_t>::max())) return false;
    Value = static_cast<int64_t>(mag);
  }
  return true;
}

int64_t StrToInt(const std::string& S) {
  int64_t v;
  if (!TryStrToInt(S, v)) throw EConvertError("'" + S + "' is not a valid integer value");
  return v;
}

int64_t StrToIntDef(const std::string& S, int64_t Default) {
  int64_t v;
  return TryStrToInt(S, v) ? v : Default;
}

bool TryStrToFloat(const std::string& S, double& Value) {
  std::string t = Trim(S);
  if (t.empty()) return false;
  for (char& c : t) {
    if (c == DecimalSeparator) c = '.';
    else if (c == '.') return false;  // only the configured separator counts
  }
  if (t[0] == '+') t.erase(0, 1);
  for (char c : t)
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
      return false;  // refuses "nan", "inf", hex floats
  double v = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || p != t.data() + t.size() || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

double StrToFloat(const std::string& S) {
  double v;
  if (!TryStrToFloat(S, v)) throw EConvertError("'" + S + "' is not a valid floating point value");
  return v;
}

std::string FloatToStr(double Value) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  if (Value == 0) return "0";
  // 15 significant digits in scientific form tell the decimal exponent after rounding.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14E", Value);
  std::string s = buf;
  const size_t epos = s.find('E');
  const int exp10 = std::atoi(s.c_str() + epos + 1);
  std::string mant = s.substr(0, epos);  // "-d.dddddddddddddd"
  const bool neg = mant[0] == '-';
  if (neg) mant.erase(0, 1);
  std::string digits = mant.substr(0, 1) + mant.substr(2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = neg ? "-" : "";
  if (exp10 >= 15 || exp10 < -5) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += DecimalSeparator + digits.substr(1);
    out += "E" + std::to_string(exp10);
  } else if (exp10 >= 0) {
    if (static_cast<int>(digits.size()) <= exp10 + 1) {
      out += digits + std::string(exp10 + 1 - digits.size(), '0');
    } else {
      out += digits.substr(0, exp10 + 1) + DecimalSeparator + digits.substr(exp10 + 1);
    }
  } else {
    out += std::string("0") + DecimalSeparator + std::string(-exp10 - 1, '0') + digits;
  }
  return out;
}

// ---------------------------------------------------------------- Windows-1252

namespace {

// Code points of the bytes 0x80..0x9F; 0xFFFD marks the five bytes without a character.
const char32_t Cp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& Out, char32_t C) {
  if (C < 0x80) {
    Out += static_cast<char>(C);
  } else if (C < 0x800) {
    Out += static_cast<char>(0xC0 | (C >> 6));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    Out += static_cast<char>(0xE0 | (C >> 12));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (C >> 18));
    Out += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  }
}

char UnicodeToAnsi(char32_t C) {
  if (C < 0x80 || (C >= 0xA0 && C <= 0xFF)) return static_cast<char>(C);
  for (int i = 0; i < 32; ++i)
    if (Cp1252High[i] == C && C != 0xFFFD) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

char32_t AnsiCharToUnicode(unsigned char C) {
  return (C >= 0x80 && C < 0xA0) ? Cp1252High[C - 0x80] : static_cast<char32_t>(C);
}

std::string AnsiToUtf8(const std::string& S) {
  std::string out;
  out.reserve(S.size());
  for (unsigned char c : S) {
    const char32_t u = AnsiCharToUnicode(c);
    AppendUtf8(out, u == 0xFFFD ? U'?' : u);
  }
  return out;
}

std::string Utf8ToAnsi(const std::string& S) {
  std::string out;
  out.reserve(S.size());
  size_t i = 0;
  while (i < S.size()) {
    const unsigned char c = static_cast<unsigned char>(S[i]);
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > S.size()) {
      out += '?';
      ++i;
      continue;
    }
    char32_t cp = len == 1 ? c : c & (0x7F >> len);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      const unsigned char cc = static_cast<unsigned char>(S[i + k]);
      if ((cc & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms and surrogates are malformed.
    static const char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += '?';
      ++i;
      continue;
    }
    out += UnicodeToAnsi(cp);
    i += len;
  }
  return out;
}

// ---------------------------------------------------------------- files and paths

namespace {
bool IsSep(char c) { return c == '/' || c == '\\'; }
size_t LastSep(const std::string& S) {
  for (size_t i = S.size(); i > 0; --i)
    if (IsSep(S[i - 1])) return i - 1;
  return std::string::npos;
}
}  // namespace

std::string NativePath(const std::string& FileName) {
  std::string r = FileName;
  for (char& c : r)
    if (c == '\\') c = '/';
  return r;
}

bool FileExists(const std::string& FileName) {
  struct stat st {};
  return stat(NativePath(FileName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& Dir) {
  struct stat st {};
  return stat(NativePath(Dir).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& FileName) {
  return FileExists(FileName) && std::remove(NativePath(FileName).c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName) {
  // Never replaces an existing file, like the classic call.
  if (FileExists(NewName) || DirectoryExists(NewName)) return false;
  return std::rename(NativePath(OldName).c_str(), NativePath(NewName).c_str()) == 0;
}

bool ForceDirectories(const std::string& Dir) {
  if (Dir.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(NativePath(Dir), ec);
  return DirectoryExists(Dir);
}

int64_t FileSize(const std::string& FileName) {
  struct stat st {};
  if (stat(NativePath(FileName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

std::string GetCurrentDir() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}

std::string ExtractFilePath(const std::string& FileName) {
  const size_t p = LastSep(FileName);
  return p == std::string::npos ? std::string() : FileName.substr(0, p + 1);
}

std::string ExtractFileDir(const std::string& FileName) {
  const size_t p = LastSep(FileName);
  if (p == std::string::npos) return {};
  return p == 0 ? FileName.substr(0, 1) : FileName.substr(0, p);
}

std::string ExtractFileName(const std::string& FileName) {
  const size_t p = LastSep(FileName);
  return p == std::string::npos ? FileName : FileName.substr(p + 1);
}

std::string ExtractFileExt(const std::string& FileName) {
  const std::string name = ExtractFileName(FileName);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Ext) {
  const std::string ext = ExtractFileExt(FileName);
  return FileName.substr(0, FileName.size() - ext.size()) + Ext;
}

std::string IncludeTrailingPathDelimiter(const std::string& Dir) {
  if (!Dir.empty() && IsSep(Dir.back())) return Dir;
  return Dir + "/";
}

}  // namespace nuv
