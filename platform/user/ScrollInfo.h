#pragma once
// The scroll-bar calls: a window's own bars (WS_HSCROLL / WS_VSCROLL) and scroll-bar controls,
// with the controls' styles and messages. How the values are clamped and the bars drawn and
// tracked: ScrollBars.h.
#include "platform/user/WinUser.h"

// Scroll-bar control styles and messages
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
constexpr DWORD SBS_TOPALIGN = 0x0002;
constexpr DWORD SBS_LEFTALIGN = 0x0002;
constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
constexpr DWORD SBS_RIGHTALIGN = 0x0004;
constexpr DWORD SBS_SIZEBOXTOPLEFTALIGN = 0x0002;
constexpr DWORD SBS_SIZEBOXBOTTOMRIGHTALIGN = 0x0004;
constexpr DWORD SBS_SIZEBOX = 0x0008;
constexpr DWORD SBS_SIZEGRIP = 0x0010;
constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETRANGE = 0x00E2;
constexpr UINT SBM_GETRANGE = 0x00E3;
constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;
constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
constexpr UINT SBM_GETSCROLLINFO = 0x00EA;
constexpr UINT SBM_GETSCROLLBARINFO = 0x00EB;

// ---- The calls --------------------------------------------------------------------------
// Bar: SB_HORZ, SB_VERT (the window's own bars) or SB_CTL (Wnd is a scroll-bar control; the
// call goes to it as the SBM_* message). Returns the new position.
Integer SetScrollInfo(HWND Wnd, Integer Bar, const SCROLLINFO* Info, BOOL Redraw);
BOOL GetScrollInfo(HWND Wnd, Integer Bar, SCROLLINFO* Info);
// Returns the previous position.
Integer SetScrollPos(HWND Wnd, Integer Bar, Integer Pos, BOOL Redraw);
Integer GetScrollPos(HWND Wnd, Integer Bar);
// Min = Max hides a window scroll bar.
BOOL SetScrollRange(HWND Wnd, Integer Bar, Integer Min, Integer Max, BOOL Redraw);
BOOL GetScrollRange(HWND Wnd, Integer Bar, Integer* Min, Integer* Max);
// Adds or removes WS_HSCROLL / WS_VSCROLL (SB_BOTH: both) and recalculates the frame.
BOOL ShowScrollBar(HWND Wnd, Integer Bar, BOOL Show);
// Arrows: ESB_*; FALSE when they are so already.
BOOL EnableScrollBar(HWND Wnd, UINT Bar, UINT Arrows);
// Object: OBJID_HSCROLL, OBJID_VSCROLL, or OBJID_CLIENT for a scroll-bar control.
BOOL GetScrollBarInfo(HWND Wnd, LONG Object, SCROLLBARINFO* Info);
