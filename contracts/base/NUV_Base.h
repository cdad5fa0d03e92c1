// The base pack (nuvbase): shared types, name and colour tables, string and stream
// helpers, the line-oriented tag reader, TStringArray and TBitFld, and the drawing
// routines of NUV_BaseDraw.h.
#pragma once

#include <string>
#include <vector>

#include "contracts/base/NUV_BaseTypes.h"
#include "contracts/base/NUV_BitFld.h"
#include "contracts/base/NUV_StringArray.h"
#include "platform/NUV_Streams.h"
#include "platform/NUV_Types.h"

namespace nuv {

// ---------------------------------------------------------------- name tables

// Month and week-day names by language: [Language][Index], both 1-based. Language 1 is
// English, 2 German. Months 1..12; week days 1 Sunday .. 7 Saturday (as DayOfWeek).
// Index 0 of either dimension holds empty texts.
constexpr int NrOfLanguages = 2;
extern const char* const MonthLong[NrOfLanguages + 1][13];
extern const char* const MonthShort[NrOfLanguages + 1][13];
extern const char* const WeekDayLong[NrOfLanguages + 1][8];
extern const char* const WeekDayShort[NrOfLanguages + 1][8];

// ---------------------------------------------------------------- colour catalogue

// 0..15 the sixteen basic VGA colours (black, maroon, green, olive, navy, purple, teal,
// gray, silver, red, lime, yellow, blue, fuchsia, aqua, white); 16..19 money green, sky
// blue, cream, medium gray; 20..46 system colours: the platform's 25 (scroll bar ..
// info background, in index order) followed by $FF00001A (hot light) and $FF00001B
// (gradient active caption).
constexpr int NrOfPredefinedColors = 47;
extern const TColor PredefinedColors[NrOfPredefinedColors];

// ---------------------------------------------------------------- strings

// X in fixed-point notation with D decimals (D < 0 counts as 0, D > 30 as 30), "." as
// decimal point, right-justified with blanks to at least W characters. Not-a-number and
// the infinities give "NAN", "INF" and "-INF" (also padded).
std::string strff(double X, int W, int D);
// S cut or padded with blanks on the right to exactly W characters ("" for W <= 0).
std::string LeftString(const std::string& S, int W);
// The position (1-based) of the N-th occurrence of Sub in S, counting from position
// Start (occurrences that begin at Start or later; they do not overlap). IgnoreCase
// compares 'A'..'Z' as 'a'..'z'. 0 when there is no such occurrence, when Sub is empty
// or N < 1; Start < 1 counts as 1.
int NumberedPos(const std::string& Sub, const std::string& S, int Start, int N,
                bool IgnoreCase);
// S with C appended unless S already ends with C; "" gives the single character.
std::string EnsureTrailingChar(const std::string& S, char C);
// S with every OldChar replaced by NewChar.
std::string ReplaceCharInString(const std::string& S, char OldChar, char NewChar);
// S without leading and trailing blanks (code 32 only).
std::string StripLTBlanks(const std::string& S);
// Style 1: "T" / "F"; style 0 and every other style: "TRUE" / "FALSE".
std::string BoolToStr(bool B, int Style);
// Keeps the characters allowed in short (8.3) file names: ASCII letters and digits, the
// period, and ! # $ % & ' ( ) - @ ^ _ ` { } ~. Blanks, path separators, drive colons,
// control characters and bytes above 127 are dropped, so the result is a bare name.
std::string ReduceStringToFN83CompliantChars(const std::string& S);
// FileName without its extension (ExtractFileExt of the platform); the path stays.
std::string StripExtension(const std::string& FileName);
// A random text of N letters and digits (the platform's Random), at most 255
// characters; "" for N <= 0.
std::string InventPassword(int N);
// Appends Line and LF to the text file, creating it when missing. False when the file
// cannot be opened or written; no exception.
bool AppendToTextFile(const std::string& FileName, const std::string& Line);

// ---------------------------------------------------------------- streams

// The next line of Stream from its position: the bytes up to LF, which is consumed and
// not returned. Mode 0 drops CR and every other control character (below 32, and 127)
// except TAB; mode 1 keeps everything except LF and the CR right before it; other modes
// act as 0. AtEnd becomes true when no byte is left after this line (the last line is
// still returned, with or without a final LF), false otherwise. The stream is left
// right after the LF.
std::string ReadLnStream(TStream& Stream, bool& AtEnd, int Mode = 0);
// Writes Text and LF.
void WriteLnStream(TStream& Stream, const std::string& Text);

// ---------------------------------------------------------------- tag reader

// Reads the next tag whose name is in TagList and returns its index (0-based) in the
// list; the last index of the list (TagList.size() - 1) stands for "end of input".
//
// - Text before the next "<" is skipped. The tag name runs from after "<" to the first
//   blank, TAB, line end or ">", or to a "/" that is not its first character; it is
//   lower-cased and compared with the lower-cased words of TagList ("/corners" is the
//   name of a closing tag).
// - Tags whose name is not in the list are skipped with their content: closing tags
//   that are not listed, the declaration «<?xml ...?>», and comments «<!-- ... -->»
//   (which end only at "-->", whatever they hold).
// - Attributes: the text after the name up to ">", without the "/" of a self-closing
//   tag and without surrounding blanks. Content: the text after ">" up to the next "<"
//   (not consumed: the next call starts there) or the end of the input. In both, line
//   ends (LF, CR or CR LF) and TABs become single blanks; the texts may run across
//   lines. Character references such as "&lt;" are not decoded.
// - At the end of the input, also when it ends inside a tag, the result is the last
//   index with empty Attributes and Content. An empty TagList gives -1.
//
// Both readers continue from the position of the file or stream (for instance after
// the root line read with ReadLn / ReadLnStream) and leave it at the "<" of the next tag.
int ReadNextTagInTextFile(TTextFile& F, const std::vector<std::string>& TagList,
                          std::string& Attributes, std::string& Content);
int ReadNextTagInStream(TStream& Stream, const std::vector<std::string>& TagList,
                        std::string& Attributes, std::string& Content);

}  // namespace nuv

// The drawing routines of the base pack (DrawFrame, DrawRectangle, DrawMarkOnCanvas) need
// the platform's canvas; their header joins this one once it is part of the source tree.
#if __has_include("contracts/base/NUV_BaseDraw.h")
#include "contracts/base/NUV_BaseDraw.h"
#endif
