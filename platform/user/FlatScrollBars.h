#pragma once
// The common controls' flat scroll bars. InitializeFlatSB gives a window flat scroll bars with
// their properties (sizes, colours, styles); the FlatSB_* calls then work on them, and on a
// window without them they are the standard scroll-bar calls. As with the platform's
// version 6 common controls, a flat bar is the window's own scroll bar (WS_HSCROLL /
// WS_VSCROLL): one state, drawn and tracked as a standard bar whatever style it is given.
#include "platform/system/Environment.h"
#include "platform/user/ScrollInfo.h"

// Property indexes of FlatSB_GetScrollProp / FlatSB_SetScrollProp.
constexpr UINT WSB_PROP_CYVSCROLL = 0x00000001;
constexpr UINT WSB_PROP_CXHSCROLL = 0x00000002;
constexpr UINT WSB_PROP_CYHSCROLL = 0x00000004;
constexpr UINT WSB_PROP_CXVSCROLL = 0x00000008;
constexpr UINT WSB_PROP_CXHTHUMB = 0x00000010;
constexpr UINT WSB_PROP_CYVTHUMB = 0x00000020;
constexpr UINT WSB_PROP_VBKGCOLOR = 0x00000040;
constexpr UINT WSB_PROP_HBKGCOLOR = 0x00000080;
constexpr UINT WSB_PROP_VSTYLE = 0x00000100;
constexpr UINT WSB_PROP_HSTYLE = 0x00000200;
constexpr UINT WSB_PROP_WINSTYLE = 0x00000400;  // read only: the WS_HSCROLL / WS_VSCROLL bits
constexpr UINT WSB_PROP_PALETTE = 0x00000800;
constexpr UINT WSB_PROP_MASK = 0x00000FFF;

// Values of WSB_PROP_VSTYLE and WSB_PROP_HSTYLE.
constexpr INT_PTR FSB_REGULAR_MODE = 0;
constexpr INT_PTR FSB_ENCARTA_MODE = 1;
constexpr INT_PTR FSB_FLAT_MODE = 2;

// TRUE when Wnd has flat scroll bars now (also when it had them already); they start in
// FSB_FLAT_MODE with the system's scroll-bar sizes and COLOR_SCROLLBAR backgrounds.
BOOL InitializeFlatSB(HWND Wnd);
// Gives the window back its standard bars: S_OK, S_FALSE when it had no flat bars, E_FAIL
// while one of its bars is being dragged.
HRESULT UninitializeFlatSB(HWND Wnd);
// FALSE for a window without flat bars, an unknown index or a read-only one.
BOOL FlatSB_SetScrollProp(HWND Wnd, UINT Index, INT_PTR NewValue, BOOL Redraw);
BOOL FlatSB_GetScrollProp(HWND Wnd, UINT Index, INT_PTR* Value);

// The scroll-bar calls (ScrollInfo.h) on the flat bars: SB_HORZ, SB_VERT or SB_BOTH where
// the standard call takes it.
Integer FlatSB_SetScrollInfo(HWND Wnd, Integer Bar, const SCROLLINFO* Info, BOOL Redraw);
BOOL FlatSB_GetScrollInfo(HWND Wnd, Integer Bar, SCROLLINFO* Info);
Integer FlatSB_SetScrollPos(HWND Wnd, Integer Bar, Integer Pos, BOOL Redraw);
Integer FlatSB_GetScrollPos(HWND Wnd, Integer Bar);
Integer FlatSB_SetScrollRange(HWND Wnd, Integer Bar, Integer Min, Integer Max, BOOL Redraw);
BOOL FlatSB_GetScrollRange(HWND Wnd, Integer Bar, Integer* Min, Integer* Max);
BOOL FlatSB_ShowScrollBar(HWND Wnd, Integer Bar, BOOL Show);
BOOL FlatSB_EnableScrollBar(HWND Wnd, Integer Bar, UINT Arrows);
