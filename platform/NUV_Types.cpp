#include "platform/NUV_Types.h"

#include <algorithm>
#include <cstdio>

#include "platform/NUV_SysUtils.h"

namespace nuv {

namespace {

// The classic desktop scheme, indexed by the low byte of a system colour.
const TColor SystemColors[SystemColorCount] = {
    0xC0C0C0,  // scroll bar
    0x808000,  // background (desktop)
    0x800000,  // active caption
    0x808080,  // inactive caption
    0xC0C0C0,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC0C0C0,  // active border
    0xC0C0C0,  // inactive border
    0x808080,  // application work space
    0x800000,  // highlight
    0xFFFFFF,  // highlight text
    0xC0C0C0,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC0C0C0,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x000000,  // 3D dark shadow
    0xDFDFDF,  // 3D light
    0x000000,  // info text
    0xE1FFFF,  // info background
    0x000000,  // (unassigned)
    0x800000,  // hot-tracked item
    0xF0CAA6,  // gradient of the active caption
    0xC0C0C0,  // gradient of the inactive caption
    0x800000,  // menu highlight
    0xC0C0C0,  // menu bar
};

struct NamedColor {
  TColor Color;
  const char* Name;
};

const NamedColor ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

}  // namespace

TColor ColorToRGB(TColor Color) {
  if ((Color >> 24) == 0xFF) {
    const unsigned index = Color & 0xFF;
    return index < SystemColorCount ? SystemColors[index] : 0x000000;
  }
  return Color & 0x00FFFFFF;
}

std::string ColorToString(TColor Color) {
  for (const NamedColor& n : ColorNames)
    if (n.Color == Color) return n.Name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", Color);
  return buf;
}

bool IdentToColor(const std::string& Text, TColor& Color) {
  const std::string t = Trim(Text);
  for (const NamedColor& n : ColorNames)
    if (SameText(t, n.Name)) {
      Color = n.Color;
      return true;
    }
  int64_t v;
  if (!TryStrToInt(t, v) || v < -2147483648LL || v > 0xFFFFFFFFLL) return false;
  Color = static_cast<TColor>(v);
  return true;
}

TColor StringToColor(const std::string& Text) {
  TColor c;
  if (!IdentToColor(Text, c)) throw EConvertError("'" + Text + "' is not a valid colour");
  return c;
}

bool PtInRect(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

bool IsRectEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B) {
  TRect r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
  if (IsRectEmpty(r)) {
    Dest = TRect{};
    return false;
  }
  Dest = r;
  return true;
}

TRect UnionRect(const TRect& A, const TRect& B) {
  if (IsRectEmpty(A)) return B;
  if (IsRectEmpty(B)) return A;
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
          std::max(A.Bottom, B.Bottom)};
}

void OffsetRect(TRect& R, int DX, int DY) {
  R.Left += DX;
  R.Right += DX;
  R.Top += DY;
  R.Bottom += DY;
}

void InflateRect(TRect& R, int DX, int DY) {
  R.Left -= DX;
  R.Right += DX;
  R.Top -= DY;
  R.Bottom += DY;
}

}  // namespace nuv
