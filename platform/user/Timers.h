#pragma once
// Timers of the user-interface thread. A due timer makes one WM_TIMER at a time (a timer that
// falls behind does not queue up messages); the interval restarts when the message is taken
// from the queue. Time comes from the replaceable clock (platform/system/Clock.h), so a test
// with a TFakeClock makes timers due by advancing it.
#include "platform/user/WinUser.h"

// A window timer (Wnd, Id) is replaced when set again; a thread timer (Wnd null) gets a new id
// unless Id names one of the thread timers. Intervals below USER_TIMER_MINIMUM (10 ms) are
// raised to it. A Proc is called by DispatchMessage instead of the window procedure. Returns
// the timer id (window timers: Id, or 1 for Id 0), 0 on failure.
UINT_PTR SetTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc);
BOOL KillTimer(HWND Wnd, UINT_PTR Id);
