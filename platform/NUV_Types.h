// Colours, points and rectangles.
#pragma once

#include <cstdint>
#include <string>

namespace nuv {

// $00BBGGRR. A high byte $FF names a system colour by its low byte; ColorToRGB resolves it.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
                 clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080,
                 clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0,
                 clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6,
                 clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

// System colours (high byte $FF, low byte the index into the system-colour table).
constexpr TColor clScrollBar = 0xFF000000, clBackground = 0xFF000001,
                 clActiveCaption = 0xFF000002, clInactiveCaption = 0xFF000003,
                 clMenu = 0xFF000004, clWindow = 0xFF000005, clWindowFrame = 0xFF000006,
                 clMenuText = 0xFF000007, clWindowText = 0xFF000008,
                 clCaptionText = 0xFF000009, clActiveBorder = 0xFF00000A,
                 clInactiveBorder = 0xFF00000B, clAppWorkSpace = 0xFF00000C,
                 clHighlight = 0xFF00000D, clHighlightText = 0xFF00000E,
                 clBtnFace = 0xFF00000F, clBtnShadow = 0xFF000010, clGrayText = 0xFF000011,
                 clBtnText = 0xFF000012, clInactiveCaptionText = 0xFF000013,
                 clBtnHighlight = 0xFF000014, cl3DDkShadow = 0xFF000015,
                 cl3DLight = 0xFF000016, clInfoText = 0xFF000017, clInfoBk = 0xFF000018,
                 clHotLight = 0xFF00001A, clGradientActiveCaption = 0xFF00001B,
                 clGradientInactiveCaption = 0xFF00001C, clMenuHighlight = 0xFF00001D,
                 clMenuBar = 0xFF00001E;
constexpr int SystemColorCount = 31;  // index 25 names no colour and gives black

// The RGB word of a colour: system colours through the fixed classic desktop table
// (button face $C0C0C0, shadow $808080, highlight $FFFFFF, window $FFFFFF, window text
// $000000, highlight $800000, highlight text $FFFFFF, ...); any other word gives its low
// 24 bits.
TColor ColorToRGB(TColor Color);
// "clRed", "clBtnFace", ... for the named colours, otherwise "$00BBGGRR".
std::string ColorToString(TColor Color);
// Names (ignoring case), "$hex" and decimal; false when the text is none of them.
bool IdentToColor(const std::string& Text, TColor& Color);
// Raises EConvertError for a text that is not a colour.
TColor StringToColor(const std::string& Text);
inline uint8_t GetRValue(TColor C) { return C & 0xFF; }
inline uint8_t GetGValue(TColor C) { return (C >> 8) & 0xFF; }
inline uint8_t GetBValue(TColor C) { return (C >> 16) & 0xFF; }
inline TColor RGB(uint8_t R, uint8_t G, uint8_t B) { return R | (G << 8) | (TColor(B) << 16); }

struct TPoint {
  int X = 0, Y = 0;
  constexpr bool operator==(const TPoint&) const = default;
};

// Right and Bottom are exclusive: the rectangle covers Left..Right-1 x Top..Bottom-1.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(int X, int Y) { return {X, Y}; }
constexpr TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
constexpr TRect Bounds(int Left, int Top, int Width, int Height) {
  return {Left, Top, Left + Width, Top + Height};
}
bool PtInRect(const TRect& R, TPoint P);
bool IsRectEmpty(const TRect& R);
// The common part of A and B; false (and an empty Dest) when they do not overlap.
bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B);
TRect UnionRect(const TRect& A, const TRect& B);
void OffsetRect(TRect& R, int DX, int DY);
void InflateRect(TRect& R, int DX, int DY);

}  // namespace nuv
