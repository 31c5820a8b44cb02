// The metrics table: the classic platform values at 96 dpi. Screen-dependent entries are
// computed from the screen surface's size.
#include "platform/user/SystemMetrics.h"

#include <algorithm>

#include "platform/user/WindowInternals.h"

namespace {

struct TMetric {
  Integer Index;
  Integer Value;
};

// Fixed values; the screen-dependent ones are filled in by GetSystemMetrics.
constexpr TMetric Metrics[] = {
    {SM_CXVSCROLL, 16},
    {SM_CYHSCROLL, 16},
    {SM_CYCAPTION, 19},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 16},
    {SM_CXHTHUMB, 16},
    {SM_CXICON, 32},
    {SM_CYICON, 32},
    {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},
    {SM_CYMENU, 19},
    {SM_MOUSEPRESENT, 1},
    {SM_CYVSCROLL, 16},
    {SM_CXHSCROLL, 16},
    {SM_CXMIN, 112},
    {SM_CYMIN, 27},
    {SM_CXSIZE, 18},
    {SM_CYSIZE, 18},
    {SM_CXFRAME, 4},
    {SM_CYFRAME, 4},
    {SM_CXMINTRACK, 112},
    {SM_CYMINTRACK, 27},
    {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4},
    {SM_CXICONSPACING, 75},
    {SM_CYICONSPACING, 75},
    {SM_CMOUSEBUTTONS, 3},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
    {SM_CXMINSPACING, 160},
    {SM_CYMINSPACING, 24},
    {SM_CXSMICON, 16},
    {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 16},
    {SM_CXSMSIZE, 12},
    {SM_CYSMSIZE, 15},
    {SM_CXMENUSIZE, 18},
    {SM_CYMENUSIZE, 18},
    {SM_ARRANGE, 8},
    {SM_CXMINIMIZED, 160},
    {SM_CYMINIMIZED, 24},
    {SM_NETWORK, 3},
    {SM_CXDRAG, 4},
    {SM_CYDRAG, 4},
    {SM_CXMENUCHECK, 13},
    {SM_CYMENUCHECK, 13},
    {SM_MOUSEWHEELPRESENT, 1},
    {SM_CMONITORS, 1},
    {SM_SAMEDISPLAYFORMAT, 1},
    {SM_CXFOCUSBORDER, 1},
    {SM_CYFOCUSBORDER, 1},
    {SM_MOUSEHORIZONTALWHEELPRESENT, 1},
};

TRect GWorkArea{0, 0, 0, 0};
bool GWorkAreaSet = false;
BOOL GDragFullWindows = TRUE;

LOGFONT UiFont(LONG Weight) {
  LOGFONT F;
  F.lfHeight = -11;  // 8 points at 96 dpi
  F.lfWeight = Weight;
  F.lfCharSet = DEFAULT_CHARSET;
  F.lfFaceName = "Tahoma";
  return F;
}

template <class T>
bool Fill(void* P, const T& Value) {
  if (P == nullptr) return false;
  *static_cast<T*>(P) = Value;
  return true;
}

HMONITOR PrimaryMonitor() {
  return reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(0x10001));
}

}  // namespace

TRect WorkArea() {
  const TSurface& S = ScreenSurface();
  if (GWorkAreaSet) return GWorkArea;
  if (TDisplayBackend* B = GetDisplayBackend()) {
    const TRect Desk = B->WorkArea();
    if (Desk.Right > Desk.Left && Desk.Bottom > Desk.Top) return Desk;
  }
  return TRect{0, 0, S.Width, S.Height};
}

Integer GetSystemMetrics(Integer Index) {
  const TSurface& S = ScreenSurface();
  const TRect Work = WorkArea();
  switch (Index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
      return S.Width;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return S.Height;
    case SM_CXFULLSCREEN:
      return Work.Width();
    case SM_CYFULLSCREEN:
      return Work.Height() - 19;
    case SM_CXMAXTRACK:
      return S.Width + 12;
    case SM_CYMAXTRACK:
      return S.Height + 12;
    case SM_CXMAXIMIZED:
      return Work.Width() + 8;
    case SM_CYMAXIMIZED:
      return Work.Height() + 8;
    default:
      break;
  }
  for (const TMetric& M : Metrics)
    if (M.Index == Index) return M.Value;
  return 0;
}

DWORD DesktopPixel() {
  const COLORREF C = GetSysColor(COLOR_DESKTOP);
  return (static_cast<DWORD>(GetRValue(C)) << 16) | (static_cast<DWORD>(GetGValue(C)) << 8) | GetBValue(C);
}

BOOL SystemParametersInfo(UINT Action, UINT, void* P, UINT) {
  switch (Action) {
    case SPI_GETWORKAREA:
      return Fill(P, WorkArea());
    case SPI_SETWORKAREA:
      if (P == nullptr) {
        GWorkAreaSet = false;
      } else {
        GWorkArea = *static_cast<const RECT*>(P);
        GWorkAreaSet = true;
      }
      return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
      return Fill(P, GDragFullWindows);
    case SPI_SETDRAGFULLWINDOWS:
      GDragFullWindows = P != nullptr ? *static_cast<const BOOL*>(P) : FALSE;
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      if (P == nullptr) return FALSE;
      auto* M = static_cast<NONCLIENTMETRICS*>(P);
      M->iBorderWidth = 1;
      M->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      M->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      M->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      M->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
      M->lfCaptionFont = UiFont(FW_BOLD);
      M->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      M->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
      M->lfSmCaptionFont = UiFont(FW_BOLD);
      M->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      M->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      M->lfMenuFont = UiFont(FW_NORMAL);
      M->lfStatusFont = UiFont(FW_NORMAL);
      M->lfMessageFont = UiFont(FW_NORMAL);
      M->iPaddedBorderWidth = 0;
      return TRUE;
    }
    case SPI_GETICONMETRICS: {
      if (P == nullptr) return FALSE;
      auto* M = static_cast<ICONMETRICS*>(P);
      M->iHorzSpacing = GetSystemMetrics(SM_CXICONSPACING);
      M->iVertSpacing = GetSystemMetrics(SM_CYICONSPACING);
      M->iTitleWrap = 1;
      M->lfFont = UiFont(FW_NORMAL);
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      return Fill(P, UiFont(FW_NORMAL));
    case SPI_GETMINIMIZEDMETRICS: {
      if (P == nullptr) return FALSE;
      auto* M = static_cast<MINIMIZEDMETRICS*>(P);
      M->iWidth = GetSystemMetrics(SM_CXMINIMIZED);
      M->iHorzGap = 0;
      M->iVertGap = 0;
      M->iArrange = GetSystemMetrics(SM_ARRANGE);
      return TRUE;
    }
    case SPI_ICONHORIZONTALSPACING:
      return P == nullptr ? TRUE : Fill(P, GetSystemMetrics(SM_CXICONSPACING));
    case SPI_ICONVERTICALSPACING:
      return P == nullptr ? TRUE : Fill(P, GetSystemMetrics(SM_CYICONSPACING));
    case SPI_GETWHEELSCROLLLINES:
    case SPI_GETWHEELSCROLLCHARS:
      return Fill(P, UINT{3});
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT:
      return Fill(P, UINT{4});
    case SPI_GETMOUSEHOVERTIME:
    case SPI_GETMENUSHOWDELAY:
      return Fill(P, UINT{400});
    case SPI_GETKEYBOARDDELAY:
      return Fill(P, Integer{1});
    case SPI_GETKEYBOARDSPEED:
      return Fill(P, DWORD{31});
    case SPI_GETCARETWIDTH:
    case SPI_GETFOCUSBORDERWIDTH:
    case SPI_GETFOCUSBORDERHEIGHT:
      return Fill(P, DWORD{1});
    case SPI_GETBORDER:
      return Fill(P, Integer{1});
    case SPI_GETMOUSESPEED:
      return Fill(P, Integer{10});
    case SPI_GETFOREGROUNDLOCKTIMEOUT:
      return Fill(P, DWORD{0});
    case SPI_GETFONTSMOOTHINGTYPE:
      return Fill(P, UINT{1});
    case SPI_GETFONTSMOOTHING:
    case SPI_GETBEEP:
    case SPI_GETICONTITLEWRAP:
    case SPI_GETKEYBOARDCUES:
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETUIEFFECTS:
      return Fill(P, BOOL{TRUE});
    case SPI_GETMENUDROPALIGNMENT:
    case SPI_GETSCREENSAVEACTIVE:
    case SPI_GETSCREENSAVERRUNNING:
    case SPI_GETSCREENREADER:
    case SPI_GETSHOWSOUNDS:
    case SPI_GETKEYBOARDPREF:
    case SPI_GETSNAPTODEFBUTTON:
    case SPI_GETACTIVEWINDOWTRACKING:
    case SPI_GETMENUANIMATION:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETHOTTRACKING:
    case SPI_GETMENUFADE:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETCURSORSHADOW:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
    case SPI_GETSHOWIMEUI:
    case SPI_GETFASTTASKSWITCH:
      return Fill(P, BOOL{FALSE});
    case SPI_GETSCREENSAVETIMEOUT:
      return Fill(P, Integer{0});
    default:
      return FALSE;
  }
}

HMONITOR MonitorFromPoint(POINT Pt, DWORD Flags) {
  const TSurface& S = ScreenSurface();
  if (Flags == MONITOR_DEFAULTTONULL && !S.Contains(Pt.X, Pt.Y)) return nullptr;
  return PrimaryMonitor();
}

HMONITOR MonitorFromRect(const RECT* R, DWORD Flags) {
  const TSurface& S = ScreenSurface();
  if (R == nullptr) return nullptr;
  if (Flags == MONITOR_DEFAULTTONULL && (R->Right <= 0 || R->Bottom <= 0 || R->Left >= S.Width ||
                                         R->Top >= S.Height || R->Left >= R->Right || R->Top >= R->Bottom))
    return nullptr;
  return PrimaryMonitor();
}

HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return Flags == MONITOR_DEFAULTTONULL ? nullptr : PrimaryMonitor();
  const TPoint O = WindowOriginOnScreen(W);
  const TRect R{O.X, O.Y, O.X + W->Rect.Width(), O.Y + W->Rect.Height()};
  return MonitorFromRect(&R, Flags);
}

BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO* Info) {
  if (Monitor != PrimaryMonitor() || Info == nullptr) return FALSE;
  const TSurface& S = ScreenSurface();
  Info->rcMonitor = TRect{0, 0, S.Width, S.Height};
  Info->rcWork = WorkArea();
  Info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}
