#pragma once
// Hidden windows that only receive messages for an object (timers, the popup-menu list, the
// application's helpers): the platform's AllocateHWnd and DeallocateHWnd.
#include "platform/system/Delegates.h"
#include "platform/user/Messages.h"
#include "platform/user/WinUser.h"

// A hidden, zero-sized top-level tool window whose messages go to Method. The caller frees it
// with DeallocateHWnd.
HWND AllocateHWnd(TDelegate<void(TMessage&)> Method);
// Destroys the window and frees its procedure.
void DeallocateHWnd(HWND Wnd);
