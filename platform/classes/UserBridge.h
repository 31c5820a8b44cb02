#pragma once
// What the class library needs of the window layer beyond the headers it can include next to
// its own: the loop's internals (last mouse position, pending messages, the modal test hook)
// and window scroll bars (ScrollBars.h brings the window manager's internal header, whose
// names clash with the class library's). Focus, capture, key state and cursors are the window
// layer's public calls (Input.h, Cursors.h), included here for the class library's files.
#include "platform/user/ControlMessages.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"
#include "platform/user/WinUser.h"

namespace UserLayer {

// Window scroll bars (SB_HORZ, SB_VERT): the window layer's calls.
Integer SetScrollInfo(HWND Wnd, Integer Bar, const SCROLLINFO* Info, BOOL Redraw);
BOOL GetScrollInfo(HWND Wnd, Integer Bar, SCROLLINFO* Info);
BOOL ShowScrollBar(HWND Wnd, Integer Bar, BOOL Show);
// The last mouse position the loop saw (screen coordinates).
TPoint LastMousePosition();
// Runs the test hook of modal loops (ShowModal's loop calls it when its queue is empty).
void ModalLoopIdle();
// Messages, paints or due timers wait.
bool AnyMessagePending();

}  // namespace UserLayer
