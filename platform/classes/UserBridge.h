#pragma once
// What the class library needs of the window layer beyond its public headers: the loop's
// internals (last mouse position, pending messages), whose internal header has names that clash
// with the class library's. Focus, capture, key state, cursors, the scroll-bar calls and the
// modal test hook are the window layer's public calls (Input.h, Cursors.h, ScrollInfo.h,
// WindowMessages.h), included here for the class library's files.
#include "platform/user/ControlMessages.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowMessages.h"

namespace UserLayer {

// Public calls under the names the class library's files used for them.
using ::GetScrollInfo;
using ::ModalLoopIdle;
using ::SetScrollInfo;
using ::ShowScrollBar;
// The last mouse position the loop saw (screen coordinates).
TPoint LastMousePosition();
// Messages, paints or due timers wait.
bool AnyMessagePending();

}  // namespace UserLayer
