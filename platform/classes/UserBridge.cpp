// The window-layer calls the class library reaches through UserBridge.h.
#include "platform/classes/UserBridge.h"

#include "platform/user/ScrollBars.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowMessages.h"

namespace UserLayer {

Integer SetScrollInfo(HWND Wnd, Integer Bar, const SCROLLINFO* Info, BOOL Redraw) {
  return ::SetScrollInfo(Wnd, Bar, Info, Redraw);
}
BOOL GetScrollInfo(HWND Wnd, Integer Bar, SCROLLINFO* Info) { return ::GetScrollInfo(Wnd, Bar, Info); }
BOOL ShowScrollBar(HWND Wnd, Integer Bar, BOOL Show) { return ::ShowScrollBar(Wnd, Bar, Show); }

TPoint LastMousePosition() { return ::LastMousePosition(); }
void ModalLoopIdle() { ::ModalLoopIdle(); }
bool AnyMessagePending() { return ::AnyMessagePending(); }

}  // namespace UserLayer
