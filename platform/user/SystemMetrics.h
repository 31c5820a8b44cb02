#pragma once
// System metrics and parameters: the classic (pre-theme) platform values at 96 dpi, all from
// one table in SystemMetrics.cpp. The screen metrics follow the display back end; the work
// area is the whole screen (there is no task bar).
#include "platform/gdi/FontEngine.h"
#include "platform/user/WinUser.h"

constexpr Integer SM_CXSCREEN = 0;
constexpr Integer SM_CYSCREEN = 1;
constexpr Integer SM_CXVSCROLL = 2;
constexpr Integer SM_CYHSCROLL = 3;
constexpr Integer SM_CYCAPTION = 4;
constexpr Integer SM_CXBORDER = 5;
constexpr Integer SM_CYBORDER = 6;
constexpr Integer SM_CXDLGFRAME = 7;
constexpr Integer SM_CYDLGFRAME = 8;
constexpr Integer SM_CYVTHUMB = 9;
constexpr Integer SM_CXHTHUMB = 10;
constexpr Integer SM_CXICON = 11;
constexpr Integer SM_CYICON = 12;
constexpr Integer SM_CXCURSOR = 13;
constexpr Integer SM_CYCURSOR = 14;
constexpr Integer SM_CYMENU = 15;
constexpr Integer SM_CXFULLSCREEN = 16;
constexpr Integer SM_CYFULLSCREEN = 17;
constexpr Integer SM_CYKANJIWINDOW = 18;
constexpr Integer SM_MOUSEPRESENT = 19;
constexpr Integer SM_CYVSCROLL = 20;
constexpr Integer SM_CXHSCROLL = 21;
constexpr Integer SM_DEBUG = 22;
constexpr Integer SM_SWAPBUTTON = 23;
constexpr Integer SM_CXMIN = 28;
constexpr Integer SM_CYMIN = 29;
constexpr Integer SM_CXSIZE = 30;
constexpr Integer SM_CYSIZE = 31;
constexpr Integer SM_CXFRAME = 32;
constexpr Integer SM_CYFRAME = 33;
constexpr Integer SM_CXMINTRACK = 34;
constexpr Integer SM_CYMINTRACK = 35;
constexpr Integer SM_CXDOUBLECLK = 36;
constexpr Integer SM_CYDOUBLECLK = 37;
constexpr Integer SM_CXICONSPACING = 38;
constexpr Integer SM_CYICONSPACING = 39;
constexpr Integer SM_MENUDROPALIGNMENT = 40;
constexpr Integer SM_PENWINDOWS = 41;
constexpr Integer SM_DBCSENABLED = 42;
constexpr Integer SM_CMOUSEBUTTONS = 43;
constexpr Integer SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr Integer SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr Integer SM_CXSIZEFRAME = SM_CXFRAME;
constexpr Integer SM_CYSIZEFRAME = SM_CYFRAME;
constexpr Integer SM_SECURE = 44;
constexpr Integer SM_CXEDGE = 45;
constexpr Integer SM_CYEDGE = 46;
constexpr Integer SM_CXMINSPACING = 47;
constexpr Integer SM_CYMINSPACING = 48;
constexpr Integer SM_CXSMICON = 49;
constexpr Integer SM_CYSMICON = 50;
constexpr Integer SM_CYSMCAPTION = 51;
constexpr Integer SM_CXSMSIZE = 52;
constexpr Integer SM_CYSMSIZE = 53;
constexpr Integer SM_CXMENUSIZE = 54;
constexpr Integer SM_CYMENUSIZE = 55;
constexpr Integer SM_ARRANGE = 56;
constexpr Integer SM_CXMINIMIZED = 57;
constexpr Integer SM_CYMINIMIZED = 58;
constexpr Integer SM_CXMAXTRACK = 59;
constexpr Integer SM_CYMAXTRACK = 60;
constexpr Integer SM_CXMAXIMIZED = 61;
constexpr Integer SM_CYMAXIMIZED = 62;
constexpr Integer SM_NETWORK = 63;
constexpr Integer SM_CLEANBOOT = 67;
constexpr Integer SM_CXDRAG = 68;
constexpr Integer SM_CYDRAG = 69;
constexpr Integer SM_SHOWSOUNDS = 70;
constexpr Integer SM_CXMENUCHECK = 71;
constexpr Integer SM_CYMENUCHECK = 72;
constexpr Integer SM_SLOWMACHINE = 73;
constexpr Integer SM_MIDEASTENABLED = 74;
constexpr Integer SM_MOUSEWHEELPRESENT = 75;
constexpr Integer SM_XVIRTUALSCREEN = 76;
constexpr Integer SM_YVIRTUALSCREEN = 77;
constexpr Integer SM_CXVIRTUALSCREEN = 78;
constexpr Integer SM_CYVIRTUALSCREEN = 79;
constexpr Integer SM_CMONITORS = 80;
constexpr Integer SM_SAMEDISPLAYFORMAT = 81;
constexpr Integer SM_IMMENABLED = 82;
constexpr Integer SM_CXFOCUSBORDER = 83;
constexpr Integer SM_CYFOCUSBORDER = 84;
constexpr Integer SM_TABLETPC = 86;
constexpr Integer SM_MEDIACENTER = 87;
constexpr Integer SM_STARTER = 88;
constexpr Integer SM_SERVERR2 = 89;
constexpr Integer SM_MOUSEHORIZONTALWHEELPRESENT = 91;
constexpr Integer SM_CXPADDEDBORDER = 92;
constexpr Integer SM_REMOTESESSION = 0x1000;

// An unknown index gives 0.
Integer GetSystemMetrics(Integer Index);

constexpr UINT SPI_GETBEEP = 0x0001;
constexpr UINT SPI_GETMOUSE = 0x0003;
constexpr UINT SPI_GETBORDER = 0x0005;
constexpr UINT SPI_GETKEYBOARDSPEED = 0x000A;
constexpr UINT SPI_ICONHORIZONTALSPACING = 0x000D;
constexpr UINT SPI_GETSCREENSAVETIMEOUT = 0x000E;
constexpr UINT SPI_GETSCREENSAVEACTIVE = 0x0010;
constexpr UINT SPI_GETKEYBOARDDELAY = 0x0016;
constexpr UINT SPI_ICONVERTICALSPACING = 0x0018;
constexpr UINT SPI_GETICONTITLEWRAP = 0x0019;
constexpr UINT SPI_GETMENUDROPALIGNMENT = 0x001B;
constexpr UINT SPI_GETICONTITLELOGFONT = 0x001F;
constexpr UINT SPI_GETFASTTASKSWITCH = 0x0023;
constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETMINIMIZEDMETRICS = 0x002B;
constexpr UINT SPI_GETICONMETRICS = 0x002D;
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETHIGHCONTRAST = 0x0042;
constexpr UINT SPI_GETKEYBOARDPREF = 0x0044;
constexpr UINT SPI_GETSCREENREADER = 0x0046;
constexpr UINT SPI_GETANIMATION = 0x0048;
constexpr UINT SPI_GETFONTSMOOTHING = 0x004A;
constexpr UINT SPI_GETSHOWSOUNDS = 0x0038;
constexpr UINT SPI_GETSNAPTODEFBUTTON = 0x005F;
constexpr UINT SPI_GETMOUSEHOVERWIDTH = 0x0062;
constexpr UINT SPI_GETMOUSEHOVERHEIGHT = 0x0064;
constexpr UINT SPI_GETMOUSEHOVERTIME = 0x0066;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT SPI_GETMENUSHOWDELAY = 0x006A;
constexpr UINT SPI_GETWHEELSCROLLCHARS = 0x006C;
constexpr UINT SPI_GETSHOWIMEUI = 0x006E;
constexpr UINT SPI_GETMOUSESPEED = 0x0070;
constexpr UINT SPI_GETSCREENSAVERRUNNING = 0x0072;
constexpr UINT SPI_GETACTIVEWINDOWTRACKING = 0x1000;
constexpr UINT SPI_GETMENUANIMATION = 0x1002;
constexpr UINT SPI_GETCOMBOBOXANIMATION = 0x1004;
constexpr UINT SPI_GETLISTBOXSMOOTHSCROLLING = 0x1006;
constexpr UINT SPI_GETGRADIENTCAPTIONS = 0x1008;
constexpr UINT SPI_GETKEYBOARDCUES = 0x100A;
constexpr UINT SPI_GETMENUUNDERLINES = SPI_GETKEYBOARDCUES;
constexpr UINT SPI_GETHOTTRACKING = 0x100E;
constexpr UINT SPI_GETMENUFADE = 0x1012;
constexpr UINT SPI_GETSELECTIONFADE = 0x1014;
constexpr UINT SPI_GETTOOLTIPANIMATION = 0x1016;
constexpr UINT SPI_GETTOOLTIPFADE = 0x1018;
constexpr UINT SPI_GETCURSORSHADOW = 0x101A;
constexpr UINT SPI_GETFLATMENU = 0x1022;
constexpr UINT SPI_GETDROPSHADOW = 0x1024;
constexpr UINT SPI_GETUIEFFECTS = 0x103E;
constexpr UINT SPI_GETFOREGROUNDLOCKTIMEOUT = 0x2000;
constexpr UINT SPI_GETCARETWIDTH = 0x2006;
constexpr UINT SPI_GETFOCUSBORDERWIDTH = 0x200E;
constexpr UINT SPI_GETFOCUSBORDERHEIGHT = 0x2010;
constexpr UINT SPI_GETFONTSMOOTHINGTYPE = 0x200A;
constexpr UINT SPI_SETWORKAREA = 0x002F;
constexpr UINT SPI_SETDRAGFULLWINDOWS = 0x0025;
constexpr UINT SPIF_UPDATEINIFILE = 0x0001;
constexpr UINT SPIF_SENDCHANGE = 0x0002;

struct NONCLIENTMETRICS {
  UINT cbSize = sizeof(NONCLIENTMETRICS);
  Integer iBorderWidth = 0;
  Integer iScrollWidth = 0;
  Integer iScrollHeight = 0;
  Integer iCaptionWidth = 0;
  Integer iCaptionHeight = 0;
  LOGFONT lfCaptionFont;
  Integer iSmCaptionWidth = 0;
  Integer iSmCaptionHeight = 0;
  LOGFONT lfSmCaptionFont;
  Integer iMenuWidth = 0;
  Integer iMenuHeight = 0;
  LOGFONT lfMenuFont;
  LOGFONT lfStatusFont;
  LOGFONT lfMessageFont;
  Integer iPaddedBorderWidth = 0;
};

struct ICONMETRICS {
  UINT cbSize = sizeof(ICONMETRICS);
  Integer iHorzSpacing = 0;
  Integer iVertSpacing = 0;
  Integer iTitleWrap = 0;
  LOGFONT lfFont;
};

struct MINIMIZEDMETRICS {
  UINT cbSize = sizeof(MINIMIZEDMETRICS);
  Integer iWidth = 0;
  Integer iHorzGap = 0;
  Integer iVertGap = 0;
  Integer iArrange = 0;
};

// The GET queries fill the structure or value PvParam points to (BOOL, UINT, Integer, RECT,
// NONCLIENTMETRICS, ICONMETRICS, MINIMIZEDMETRICS, LOGFONT); SPI_SETWORKAREA and
// SPI_SETDRAGFULLWINDOWS change this process's values. FALSE for unknown actions.
BOOL SystemParametersInfo(UINT Action, UINT UiParam, void* PvParam, UINT WinIni);

// ---- Monitors: one monitor, the screen ------------------------------------------------------
HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags);
HMONITOR MonitorFromPoint(POINT Pt, DWORD Flags);
HMONITOR MonitorFromRect(const RECT* Rect, DWORD Flags);
BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO* Info);
// The work area (screen coordinates).
TRect WorkArea();
