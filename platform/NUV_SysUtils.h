// Exceptions, process settings, text and number conversion, dates, random numbers and
// file-name helpers of the platform layer.
//
// Strings are std::string of single-byte Windows-1252 characters; positions are byte
// positions. Utf8ToAnsi / AnsiToUtf8 convert at the edges (OS clipboard, window titles,
// applications that hold UTF-8).
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

namespace nuv {

// ---------------------------------------------------------------- exceptions

class Exception : public std::exception {
 public:
  explicit Exception(std::string Msg) : FMessage(std::move(Msg)) {}
  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

#define NUV_EXCEPTION(Name, Base) \
  class Name : public Base {      \
   public:                        \
    using Base::Base;             \
  };

NUV_EXCEPTION(EConvertError, Exception)      // a text or value that does not convert
NUV_EXCEPTION(EInOutError, Exception)        // a file that cannot be opened, read or written
NUV_EXCEPTION(EInvalidGraphic, Exception)    // an image file that is malformed or unsupported
NUV_EXCEPTION(EOutOfMemory, Exception)       // an allocation the platform refuses
NUV_EXCEPTION(EInvalidOperation, Exception)  // an operation the object's state does not allow
NUV_EXCEPTION(EComponentError, Exception)    // component naming and ownership
NUV_EXCEPTION(EListError, Exception)         // an index outside a list
NUV_EXCEPTION(EStreamError, Exception)       // stream reads and writes
NUV_EXCEPTION(EFOpenError, EStreamError)     // a file stream that cannot be opened
NUV_EXCEPTION(EReadError, EStreamError)      // ReadBuffer past the end
NUV_EXCEPTION(EWriteError, EStreamError)     // WriteBuffer that could not write everything

// ---------------------------------------------------------------- process settings

// The decimal separator of the number formats and of FloatToStr. Default ".".
extern char DecimalSeparator;
// Date and time settings used by FormatDateTime ("c", "ddddd", "t", "tt", "/" and ":").
extern char DateSeparator;          // default "-"
extern char TimeSeparator;          // default ":"
extern std::string ShortDateFormat;  // default "yyyy-mm-dd"
extern std::string LongDateFormat;   // default "dddd, d mmmm yyyy"
extern std::string ShortTimeFormat;  // default "hh:nn"
extern std::string LongTimeFormat;   // default "hh:nn:ss"

// ---------------------------------------------------------------- clock

// Days since 1899-12-30 00:00; the fraction is the time of day.
using TDateTime = double;

// The process clock. Now(), GetTickCount64() and the timer service read it; tests (and
// replays) install their own. An empty function restores the system clock.
using TClockFunc = std::function<TDateTime()>;
void SetClock(TClockFunc Clock);
TDateTime Now();
TDateTime Date();  // today, time 0
// Milliseconds of the process clock, monotone as long as the clock is.
int64_t GetTickCount64();

// ---------------------------------------------------------------- dates

bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);
// Raise EConvertError for a date or time that does not exist.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Result);
void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);
int DayOfWeek(TDateTime Date);  // 1 Sunday .. 7 Saturday
// Format pictures: d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz
// t tt c am/pm a/p ampm / : and quoted text ("..." or '...'). "m" right after "h"/"hh"
// means minutes. Month and day names are English.
std::string FormatDateTime(const std::string& Format, TDateTime DateTime);
extern const char* const LongMonthNames[12];
extern const char* const ShortMonthNames[12];
extern const char* const LongDayNames[7];   // Sunday first
extern const char* const ShortDayNames[7];

// ---------------------------------------------------------------- rounding

// "Rounded": to the nearest integer, halves to the even neighbour. Trunc: towards zero.
// Not-a-number gives 0; values beyond the range of the result saturate at its limits.
// (Integer div and mod are C++'s / and %: truncating, the remainder keeping the sign of
// the dividend.)
int64_t Round(double X);
int64_t Trunc(double X);
int RoundInt(double X);
int TruncInt(double X);

// ---------------------------------------------------------------- random numbers

// A seedable linear congruential generator (seed * 134775813 + 1 mod 2^32): the same seed
// gives the same sequence on every machine.
extern uint32_t RandSeed;
void Randomize();             // seeds from the process clock
int Random(int Range);        // 0 <= result < Range; 0 when Range <= 0
double Random();              // 0 <= result < 1

// ---------------------------------------------------------------- text

// Byte-wise: only 'A'..'Z' and 'a'..'z' change.
std::string LowerCase(const std::string& S);
std::string UpperCase(const std::string& S);
int CompareText(const std::string& A, const std::string& B);  // byte-wise, ignoring case
bool SameText(const std::string& A, const std::string& B);
// Remove control characters and blanks (bytes <= 32) at the ends.
std::string Trim(const std::string& S);
std::string TrimLeft(const std::string& S);
std::string TrimRight(const std::string& S);

std::string IntToStr(int64_t Value);
std::string IntToHex(uint64_t Value, int Digits);  // upper-case, at least Digits digits
// Decimal, optional sign, surrounding blanks allowed; "$" prefix for hexadecimal.
// StrToInt raises EConvertError ("'x' is not a valid integer value").
int64_t StrToInt(const std::string& S);
int64_t StrToIntDef(const std::string& S, int64_t Default);
bool TryStrToInt(const std::string& S, int64_t& Value);
// Decimal text with DecimalSeparator, optional exponent; not-a-number and infinities are
// refused. StrToFloat raises EConvertError ("'x' is not a valid floating point value").
double StrToFloat(const std::string& S);
bool TryStrToFloat(const std::string& S, double& Value);
// General form with 15 significant digits: fixed-point while the value has at most 15
// integer digits and is at least 1E-5 in magnitude, otherwise "d.dddE[-]x" (no "+", no
// leading exponent zeros). Trailing zeros are dropped; DecimalSeparator is used.
// Not-a-number gives "NAN", the infinities "INF" and "-INF".
std::string FloatToStr(double Value);

// Windows-1252 <-> UTF-8. Code points that Windows-1252 cannot hold become '?', and so
// do malformed UTF-8 sequences.
std::string Utf8ToAnsi(const std::string& S);
std::string AnsiToUtf8(const std::string& S);
// The Unicode code point of a Windows-1252 byte (the five unused bytes map to U+FFFD).
char32_t AnsiCharToUnicode(unsigned char C);

// ---------------------------------------------------------------- files and paths

// Paths accept both '/' and '\' as separators; the helpers return them unchanged.
bool FileExists(const std::string& FileName);
bool DirectoryExists(const std::string& Dir);
bool DeleteFile(const std::string& FileName);
bool RenameFile(const std::string& OldName, const std::string& NewName);
bool ForceDirectories(const std::string& Dir);
int64_t FileSize(const std::string& FileName);  // -1 when the file does not exist
std::string GetCurrentDir();
std::string ExtractFilePath(const std::string& FileName);  // with the trailing separator
std::string ExtractFileDir(const std::string& FileName);   // without it
std::string ExtractFileName(const std::string& FileName);
std::string ExtractFileExt(const std::string& FileName);   // with the dot, "" when none
std::string ChangeFileExt(const std::string& FileName, const std::string& Ext);
std::string IncludeTrailingPathDelimiter(const std::string& Dir);  // adds '/' when missing
// Converts '\' to '/' so the path can be handed to the operating system.
std::string NativePath(const std::string& FileName);

}  // namespace nuv
