// Number formats of the numeric fields: the format enumeration, the scanners that read
// numbers out of text, the validity rules applied while the user types, and the writers
// that turn numbers back into text. Pure functions of strings and numbers.
//
// Positions are 1-based character indexes (in/out). A position below 1 starts at 1; a
// position past the end reads as the end of the text (length + 1). No routine raises:
// scanners give 0 for text that is not a number of their kind, validity rules give false.
#pragma once

#include <cstdint>
#include <string>

namespace nuv {

// Stored by the fields as its ordinal: the values must keep their numbers.
enum TInFormat : uint8_t {
  itExp = 0,       // decimal number with optional exponent ("1.5E+03")
  itFloat = 1,     // decimal number without exponent
  itFixPoint = 2,  // decimal number with a fixed count of decimal places
  itInt = 3,       // signed decimal integer
  itHex = 4,       // hexadecimal digits
  itOct = 5,       // octal digits
  itBin = 6,       // binary digits
  itDynamic = 7    // first character selects the base: "$" hex, "%" binary, "&" octal
};

// ------------------------------------------------------------ decimal separators
//
// A separator mode says which characters separate the decimals: 1 only ".", 2 only ",",
// 3 both. The fields' DecPlaceSep (ordinals 0..3) adds 0, "follow DecimalSeparator",
// which is resolved differently by the validity rules and by the edit-based field's
// conversion:

// Validity rules: 0 gives 1 when DecimalSeparator is ".", otherwise 2.
int ValiditySepMode(int DecPSep);
// Edit-based field's conversion: 0 gives 2 when DecimalSeparator is ",", otherwise 1.
// In both, 1 and 2 stay, 3 and any other ordinal give 3.
int ConversionSepMode(int DecPSep);

// ------------------------------------------------------------ scanners

// Decimal number starting at Pos: leading blanks, optional sign, digits, a separator of
// SepMode (1, 2, any other value: both), digits and, when ExpAllowed, "E"/"e", optional
// sign and exponent digits. Exponent digits are taken while the exponent stays at or below
// 4200 (the rest are consumed and ignored). The result is the correctly rounded double of
// the text read, clamped to the largest finite double; 0 when the text is not a number
// (including a lone sign and an unfinished exponent such as "1E+"). Pos ends on the
// character that ended or broke the number (length + 1 for the end of the text).
double ScanFloatNum(const std::string& Text, bool ExpAllowed, int SepMode, int& Pos);

// Signed decimal integer: blanks are skipped while Pos is before the last character, then
// an optional sign and decimal digits. 32-bit arithmetic that wraps silently. An empty text
// gives 0 and leaves Pos.
int32_t ScanIntNum(const std::string& Text, int& Pos);

// Unsigned digits of base 16, 8 or 2 (blanks skipped as in ScanIntNum, no sign), taken as a
// 32-bit pattern that wraps silently and is returned as a signed integer ("FFFFFFFF" is -1).
// ScanHexNum also skips a "$" at position 1 and reads "a".."f" like "A".."F".
int32_t ScanHexNum(const std::string& Text, int& Pos);
int32_t ScanOctNum(const std::string& Text, int& Pos);
int32_t ScanBinNum(const std::string& Text, int& Pos);

// ------------------------------------------------------------ validity rules
//
// Each is false for the empty text. DecPSep is the field's ordinal 0..3, resolved by
// ValiditySepMode.

// Valid when ScanFloatNum's state machine ends the number without error and no exponent
// digit pushes the exponent past 4200. Text after the number is not examined ("1.5A" is
// valid); a lone sign, blanks only and "1E", "1E-" are not.
bool IsValidExpNum(const std::string& Text, bool ExpAllowed, int DecPSep);
// Sign, digits, one separator, digits, each part optional in that order, nothing else:
// "-", ".", "-." and "5." are valid; "1e5", " 1", "1-" and "1.2.3" are not.
bool IsValidFloatNum(const std::string& Text, int DecPSep);
// "+", "-" or a digit, then digits only (a lone sign is valid).
bool IsValidIntNum(const std::string& Text);
bool IsValidHexNum(const std::string& Text);  // "0".."9", "a".."f", "A".."F" only
bool IsValidOctNum(const std::string& Text);  // "0".."7" only
bool IsValidBinNum(const std::string& Text);  // "0" and "1" only

// ------------------------------------------------------------ writers

// FormatRealNum(Width, Decimals, Value), always with "." as separator:
// - Decimals >= 0: fixed notation with exactly that many decimals, rounded (ties of the
//   exact binary value to even), "-" for negative values unless every digit written is 0
//   (-0.001 with 2 decimals is "0.00"), right-aligned in Width (no blanks for width 1).
//   Decimals 0: the integer alone.
// - Decimals -1: the long exponent form. A sign position (blank, or "-" for negatives),
//   one digit, ".", Width - 9 decimals, "E", exponent sign, four exponent digits: Width
//   characters. Width 22 gives " 1.5000000000000E+0000".
// - Decimals -2 (and any other negative count): the short exponent form. As above with
//   Width - 7 decimals and the exponent cut to two digits ("1234.56" in width 10 is
//   " 1.235E+03"). An exponent of 100 or more in magnitude (after rounding) gives Width
//   asterisks instead.
// - The exponent forms have a smallest width, 9 for the long form and 7 for the short one
//   (no decimals: " 5.E-01"); a smaller Width writes that smallest form.
// - Not-a-number is "NAN", the infinities "INF" and "-INF", right-aligned in the width the
//   form would have.
// - Width and Decimals above 255 count as 255.
std::string FormatRealNum(int Width, int Decimals, double Value);

// Exactly Digits digits (clamped to 1..8, 1..11, 1..32), most significant first, with
// leading zeros and upper-case letters: FormatHexDigits(0xFFFFFFFF, 8) is "FFFFFFFF",
// FormatOctDigits(10, 11) is "00000000012".
std::string FormatHexDigits(uint32_t Value, int Digits);
std::string FormatOctDigits(uint32_t Value, int Digits);
std::string FormatBinDigits(uint32_t Value, int Digits);

// The 32-bit pattern the digit writers show for a double: the value rounded to a 64-bit
// integer (ties to even; not-a-number 0; beyond the 64-bit range saturated), low 32 bits.
uint32_t DigitPattern(double Value);

// ------------------------------------------------------------ the two numeric fields
//
// What each field uses per format, so that both fields share one tested implementation.
// DecPSep is the field's DecPlaceSep ordinal; FixPointDecPlaces its decimal places.

// Custom-drawn field: is Text acceptable in Format? itFixPoint also needs the first "." at
// position length - FixPointDecPlaces (a text without "." is refused). itDynamic: "$",
// "%" or "&" and digits of that base (a lone prefix is refused), or a decimal integer.
bool NumIO2IsValidText(const std::string& Text, TInFormat Format, int DecPSep,
                       int FixPointDecPlaces);
// Custom-drawn field: the value of Text, the number at its start. Decimal formats read
// with both separators whatever DecPSep says. itInt and un-prefixed itDynamic text read as
// a decimal integer saturated to the 32-bit range (a lone sign is 0); the digit formats
// and prefixed itDynamic text as the signed 32-bit pattern of their digits ("FFFFFFFF"
// is -1). Empty text: 0.
double NumIO2TextValue(const std::string& Text, TInFormat Format);
// Custom-drawn field: the text that shows Value in Format (itExp in width 10, itFloat and
// itFixPoint with FixPointDecPlaces decimals, itInt and itDynamic as the rounded 64-bit
// integer, then 8 hex, 11 octal or 32 binary digits).
std::string NumIO2ValueText(double Value, TInFormat Format, int FixPointDecPlaces);

// Edit-based field: checks and converts Text. False for the empty text (Value untouched),
// for text with a blank after its leading blanks, and for text the format's scanner does
// not wholly consume; otherwise true. For any other than the empty text, Value becomes 0
// and then what the scanner returned, also when the result is false ("12a" in itInt: 12).
// Incomplete input met while typing is accepted:
// "-", "." and a trailing "e", "e-" or "e+" (cut off) in itExp. itHex, itOct, itBin and
// prefixed itDynamic text are the digits of that base (a lone prefix gives true, value 0).
bool ConvertNumString(const std::string& Text, TInFormat Format, int DecPSep, double& Value);
// Edit-based field: the text that shows Value in Format (itExp and itDynamic in width 12,
// itFloat with 8 decimals, itFixPoint with FixPointDecPlaces, itInt as an integer, the
// digit formats with 8 digits each).
std::string NumIOValueText(double Value, TInFormat Format, int FixPointDecPlaces);

}  // namespace nuv
