#pragma once
// Window geometry: position, size, z-order and show state, coordinates, hit testing, window
// regions and deferred positioning.
#include "platform/gdi/Regions.h"
#include "platform/user/WinUser.h"

// Sends WM_WINDOWPOSCHANGING (the handler may change the WINDOWPOS), WM_NCCALCSIZE when the
// size or frame changes, then WM_WINDOWPOSCHANGED, whose default handling sends WM_MOVE and
// WM_SIZE. Z-order keeps the topmost band (HWND_TOPMOST/NOTOPMOST) and owned windows above
// their owners (unless SWP_NOOWNERZORDER). SWP_ASYNCWINDOWPOS acts at once (one thread).
BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, Integer X, Integer Y, Integer Cx, Integer Cy, UINT Flags);
BOOL MoveWindow(HWND Wnd, Integer X, Integer Y, Integer Width, Integer Height, BOOL Repaint);
BOOL BringWindowToTop(HWND Wnd);
// Returns TRUE when the window was visible before. Minimized top-level windows line up in a
// strip of SM_CXMINIMIZED x SM_CYMINIMIZED slots along the bottom of the work area; maximized
// ones fill the work area with their sizing frame outside it (MINMAXINFO's default).
// SW_MINIMIZE, SW_SHOWMINNOACTIVE and SW_FORCEMINIMIZE of the active window activate the next
// top-level window that is visible, enabled and not minimized (its owner first).
BOOL ShowWindow(HWND Wnd, Integer CmdShow);
BOOL GetWindowPlacement(HWND Wnd, WINDOWPLACEMENT* Placement);
BOOL SetWindowPlacement(HWND Wnd, const WINDOWPLACEMENT* Placement);

BOOL GetWindowRect(HWND Wnd, RECT* Rect);  // screen coordinates
BOOL GetClientRect(HWND Wnd, RECT* Rect);  // (0, 0, width, height)
BOOL ClientToScreen(HWND Wnd, POINT* Point);
BOOL ScreenToClient(HWND Wnd, POINT* Point);
// Null windows mean the screen. Returns the offset moved by, packed as MAKELONG(dx, dy).
Integer MapWindowPoints(HWND From, HWND To, POINT* Points, UINT Count);

// The deepest visible window at a screen point, through window regions; layered windows with
// WS_EX_TRANSPARENT are clicked through, and windows answering WM_NCHITTEST with
// HTTRANSPARENT pass the point to the windows below them.
HWND WindowFromPoint(POINT Point);
// Point in Parent's client coordinates; the topmost child there (CWP_SKIPINVISIBLE,
// CWP_SKIPDISABLED, CWP_SKIPTRANSPARENT skip those), else Parent; null outside Parent.
HWND ChildWindowFromPoint(HWND Parent, POINT Point);
HWND ChildWindowFromPointEx(HWND Parent, POINT Point, UINT Flags);

// The window takes the region over (window coordinates) and frees it; null removes it.
// Returns nonzero on success.
Integer SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw);
// Copies the window region into Rgn; returns its complexity, ERROR when there is none.
Integer GetWindowRgn(HWND Wnd, HRGN Rgn);
Integer GetWindowRgnBox(HWND Wnd, RECT* Rect);

// Collects positions and applies them in order in EndDeferWindowPos.
HDWP BeginDeferWindowPos(Integer NumWindows);
HDWP DeferWindowPos(HDWP WinPosInfo, HWND Wnd, HWND InsertAfter, Integer X, Integer Y, Integer Cx, Integer Cy,
                    UINT Flags);
BOOL EndDeferWindowPos(HDWP WinPosInfo);
