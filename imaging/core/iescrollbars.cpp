#include "imaging/core/iescrollbars.h"

#include "platform/user/FlatScrollBars.h"
#include "platform/user/ScrollInfo.h"

namespace {

SCROLLINFO MakeScrollInfo(UINT Mask, Integer Min, Integer Max, Integer Page, Integer Pos) {
  SCROLLINFO Info;
  Info.cbSize = 28;
  Info.fMask = Mask;
  Info.nMin = Min;
  Info.nMax = Max;
  Info.nPage = static_cast<UINT>(Page);
  Info.nPos = Pos;
  return Info;
}

}  // namespace

void IESetScrollInfo(HWND Handle, Integer Bar, Integer Min, Integer Max, Integer Page, Integer Pos,
                     bool Redraw, bool Flat) {
  IESetScrollInfoEx(Handle, Bar, MakeScrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS, Min, Max, Page, Pos), Redraw,
                    Flat);
}

void IESetScrollRange(HWND Handle, Integer Bar, Integer Min, Integer Max, bool Redraw, bool Flat) {
  IESetScrollInfoEx(Handle, Bar, MakeScrollInfo(SIF_RANGE, Min, Max, 0, 0), Redraw, Flat);
}

void IESetScrollPos(HWND Handle, Integer Bar, Integer Pos, bool Redraw, bool Flat) {
  IESetScrollInfoEx(Handle, Bar, MakeScrollInfo(SIF_POS, 0, 0, 0, Pos), Redraw, Flat);
}

void IESetScrollInfoEx(HWND Handle, Integer Bar, const SCROLLINFO& ScrollInfo, bool Redraw, bool Flat) {
  const BOOL Repaint = Redraw ? TRUE : FALSE;
  if (Flat)
    FlatSB_SetScrollInfo(Handle, Bar, &ScrollInfo, Repaint);
  else
    SetScrollInfo(Handle, Bar, &ScrollInfo, Repaint);
}

void IEEnableScrollBar(HWND Handle, Integer Bar, UINT Arrows, bool Flat) {
  if (Flat)
    FlatSB_EnableScrollBar(Handle, Bar, Arrows);
  else
    EnableScrollBar(Handle, static_cast<UINT>(Bar), Arrows);
}

void IEShowScrollBar(HWND Handle, Integer Bar, bool Show, bool Flat) {
  const BOOL Shown = Show ? TRUE : FALSE;
  if (Flat)
    FlatSB_ShowScrollBar(Handle, Bar, Shown);
  else
    ShowScrollBar(Handle, Bar, Shown);
}
