#include "platform/user/ViewControlCommon.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/ControlText.h"
#include "platform/user/ImageLists.h"

LRESULT SendCustomDraw(HWND Ctl, NMCUSTOMDRAW& Draw, DWORD Stage) {
  Draw.dwDrawStage = Stage;
  return NotifyParent(Ctl, NM_CUSTOMDRAW, &Draw.hdr);
}

Integer ControlLineHeight(const TNativeControlData& D) {
  HDC DC = CreateCompatibleDC(nullptr);
  const HGDIOBJ Old = SelectControlFont(DC, D);
  TEXTMETRICA TM{};
  GetTextMetrics(DC, &TM);
  SelectObject(DC, Old);
  DeleteDC(DC);
  return std::max<Integer>(1, TM.tmHeight);
}

Integer ControlTextWidth(const TNativeControlData& D, const std::string& Text) {
  HDC DC = CreateCompatibleDC(nullptr);
  const HGDIOBJ Old = SelectControlFont(DC, D);
  SIZE S{};
  GetTextExtentPoint32A(DC, Text.c_str(), static_cast<Integer>(Text.size()), &S);
  SelectObject(DC, Old);
  DeleteDC(DC);
  return S.cx;
}

Integer CopyItemText(const std::string& Text, char* Buffer, Integer Max) {
  if (Buffer == nullptr || Max <= 0 || Buffer == LPSTR_TEXTCALLBACK) return 0;
  return CopyTextOut(Text, Buffer, static_cast<std::size_t>(Max));
}

TSize ImageListSize(HIMAGELIST List) {
  Integer Cx = 0, Cy = 0;
  if (List == nullptr || !ImageList_GetIconSize(List, &Cx, &Cy)) return {0, 0};
  return {Cx, Cy};
}

void DrawCellText(HDC DC, const std::string& Text, const TRect& Box, UINT Align, COLORREF Color) {
  if (Text.empty() || Box.Right <= Box.Left) return;
  const Integer OldMode = SetBkMode(DC, TRANSPARENT);
  const COLORREF OldColor = SetTextColor(DC, Color);
  RECT R = Box;
  DrawText(DC, Text.c_str(), static_cast<Integer>(Text.size()), &R,
           Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetTextColor(DC, OldColor);
  SetBkMode(DC, OldMode);
}
