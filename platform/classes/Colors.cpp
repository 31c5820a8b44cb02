#include "platform/classes/Colors.h"

#include <iterator>

#include "platform/gdi/SysColors.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"
#include "platform/system/Strings.h"

namespace {

struct TColorName {
  TColor Color;
  const char* Name;
};

// Looked up first to last: $C0C0C0 is "clSilver" and $808080 "clGray"; the two aliases at the
// end are only read.
constexpr TColorName ColorNames[] = {
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
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};

}  // namespace

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color);
}

bool IdentToColor(std::string_view Ident, Integer& Color) {
  for (const TColorName& N : ColorNames)
    if (SameText(Ident, N.Name)) {
      Color = N.Color;
      return true;
    }
  return false;
}

bool ColorToIdent(Integer Color, std::string& Ident) {
  for (const TColorName& N : ColorNames)
    if (N.Color == Color) {
      Ident = N.Name;
      return true;
    }
  return false;
}

std::string ColorToString(TColor Color) {
  std::string Name;
  if (ColorToIdent(Color, Name)) return Name;
  return "$" + IntToHex(static_cast<Cardinal>(Color), 8);
}

TColor StringToColor(std::string_view S) {
  Integer Color;
  if (IdentToColor(S, Color)) return Color;
  // Hexadecimal values run up to $FFFFFFFF (system colours are written that way).
  Int64 V;
  if (TryStrToInt64(S, V) && V >= -0x80000000LL && V <= 0xFFFFFFFFLL)
    return static_cast<TColor>(static_cast<Cardinal>(V));
  throw EConvertError(Format("'%s' is not a valid integer value", {S}));
}
