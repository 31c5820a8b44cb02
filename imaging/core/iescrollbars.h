#pragma once
// The image view's scroll-bar calls, each going to the flat scroll bars when Flat is set and
// to the standard ones otherwise.
#include "platform/user/WinUser.h"

void IESetScrollInfo(HWND Handle, Integer Bar, Integer Min, Integer Max, Integer Page, Integer Pos,
                     bool Redraw, bool Flat);
void IESetScrollRange(HWND Handle, Integer Bar, Integer Min, Integer Max, bool Redraw, bool Flat);
void IESetScrollPos(HWND Handle, Integer Bar, Integer Pos, bool Redraw, bool Flat);
// The path the three above take.
void IESetScrollInfoEx(HWND Handle, Integer Bar, const SCROLLINFO& ScrollInfo, bool Redraw, bool Flat);
void IEEnableScrollBar(HWND Handle, Integer Bar, UINT Arrows, bool Flat);
void IEShowScrollBar(HWND Handle, Integer Bar, bool Show, bool Flat);
