#pragma once
// System colours: the classic "Windows Standard" scheme, in one table. The window layer and
// the edge/frame-control drawing read them from here.
#include "platform/gdi/GdiObjects.h"

constexpr Integer COLOR_SCROLLBAR = 0;
constexpr Integer COLOR_BACKGROUND = 1;
constexpr Integer COLOR_DESKTOP = COLOR_BACKGROUND;
constexpr Integer COLOR_ACTIVECAPTION = 2;
constexpr Integer COLOR_INACTIVECAPTION = 3;
constexpr Integer COLOR_MENU = 4;
constexpr Integer COLOR_WINDOW = 5;
constexpr Integer COLOR_WINDOWFRAME = 6;
constexpr Integer COLOR_MENUTEXT = 7;
constexpr Integer COLOR_WINDOWTEXT = 8;
constexpr Integer COLOR_CAPTIONTEXT = 9;
constexpr Integer COLOR_ACTIVEBORDER = 10;
constexpr Integer COLOR_INACTIVEBORDER = 11;
constexpr Integer COLOR_APPWORKSPACE = 12;
constexpr Integer COLOR_HIGHLIGHT = 13;
constexpr Integer COLOR_HIGHLIGHTTEXT = 14;
constexpr Integer COLOR_BTNFACE = 15;
constexpr Integer COLOR_3DFACE = COLOR_BTNFACE;
constexpr Integer COLOR_BTNSHADOW = 16;
constexpr Integer COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr Integer COLOR_GRAYTEXT = 17;
constexpr Integer COLOR_BTNTEXT = 18;
constexpr Integer COLOR_INACTIVECAPTIONTEXT = 19;
constexpr Integer COLOR_BTNHIGHLIGHT = 20;
constexpr Integer COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr Integer COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr Integer COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr Integer COLOR_3DDKSHADOW = 21;
constexpr Integer COLOR_3DLIGHT = 22;
constexpr Integer COLOR_INFOTEXT = 23;
constexpr Integer COLOR_INFOBK = 24;
constexpr Integer COLOR_HOTLIGHT = 26;
constexpr Integer COLOR_GRADIENTACTIVECAPTION = 27;
constexpr Integer COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr Integer COLOR_MENUHILIGHT = 29;
constexpr Integer COLOR_MENUBAR = 30;
constexpr Integer SysColorCount = 31;

// 0 for an index out of range.
DWORD GetSysColor(Integer Index);
// A brush of the system colour, owned by the system (DeleteObject ignores it); null out of
// range. It follows later SetSysColors calls.
HBRUSH GetSysColorBrush(Integer Index);
BOOL SetSysColors(Integer Count, const Integer* Indices, const COLORREF* Colors);
