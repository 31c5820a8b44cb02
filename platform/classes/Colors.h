#pragma once
// TColor: a COLORREF (0x00BBGGRR) or, with the top bit set, a system colour whose low byte is
// the COLOR_* index. clNone and clDefault are markers, never drawn as such.
#include <string>
#include <string_view>

#include "platform/system/WinTypes.h"

using TColor = Integer;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor SysColor(Integer Index) {
  return static_cast<TColor>(0x80000000u | static_cast<Cardinal>(Index));
}

constexpr TColor clScrollBar = SysColor(0);
constexpr TColor clBackground = SysColor(1);
constexpr TColor clActiveCaption = SysColor(2);
constexpr TColor clInactiveCaption = SysColor(3);
constexpr TColor clMenu = SysColor(4);
constexpr TColor clWindow = SysColor(5);
constexpr TColor clWindowFrame = SysColor(6);
constexpr TColor clMenuText = SysColor(7);
constexpr TColor clWindowText = SysColor(8);
constexpr TColor clCaptionText = SysColor(9);
constexpr TColor clActiveBorder = SysColor(10);
constexpr TColor clInactiveBorder = SysColor(11);
constexpr TColor clAppWorkSpace = SysColor(12);
constexpr TColor clHighlight = SysColor(13);
constexpr TColor clHighlightText = SysColor(14);
constexpr TColor clBtnFace = SysColor(15);
constexpr TColor clBtnShadow = SysColor(16);
constexpr TColor clGrayText = SysColor(17);
constexpr TColor clBtnText = SysColor(18);
constexpr TColor clInactiveCaptionText = SysColor(19);
constexpr TColor clBtnHighlight = SysColor(20);
constexpr TColor cl3DDkShadow = SysColor(21);
constexpr TColor cl3DLight = SysColor(22);
constexpr TColor clInfoText = SysColor(23);
constexpr TColor clInfoBk = SysColor(24);
constexpr TColor clHotLight = SysColor(26);
constexpr TColor clGradientActiveCaption = SysColor(27);
constexpr TColor clGradientInactiveCaption = SysColor(28);
constexpr TColor clMenuHighlight = SysColor(29);
constexpr TColor clMenuBar = SysColor(30);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB a colour stands for: system colours through GetSysColor, others unchanged.
COLORREF ColorToRGB(TColor Color);

// "clRed" for a named colour, else "$" and eight hexadecimal digits.
std::string ColorToString(TColor Color);
// A colour name (any letter case) or an integer (decimal or "$" hexadecimal); raises
// EConvertError for anything else.
TColor StringToColor(std::string_view S);
// The colour of a name; false when the name is no colour.
bool IdentToColor(std::string_view Ident, Integer& Color);
bool ColorToIdent(Integer Color, std::string& Ident);
