// Moves, sizes, system commands and activation made by the desktop on a top-level window.
#include "platform/user/DesktopWindowEvents.h"

#include "platform/user/InputState.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"

void RouteDesktopWindowEvent(const TInputEvent& Ev) {
  if (Ev.Kind == TInputEventKind::AppDeactivated) {
    // Another program's window took the focus: ours all become inactive (WM_ACTIVATEAPP).
    ActivateWindow(nullptr, WA_INACTIVE);
    return;
  }
  TWindow* W = PeekWindow(Ev.Window);
  if (W == nullptr || W->Parent != DesktopWindow()) return;
  switch (Ev.Kind) {
    case TInputEventKind::WindowMoved:
      if (W->Rect.TopLeft() != TPoint{Ev.X, Ev.Y})
        SetWindowPos(Ev.Window, nullptr, Ev.X, Ev.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case TInputEventKind::WindowResized:
      if (Ev.X > 0 && Ev.Y > 0 && (W->Rect.Width() != Ev.X || W->Rect.Height() != Ev.Y))
        SetWindowPos(Ev.Window, nullptr, 0, 0, Ev.X, Ev.Y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case TInputEventKind::WindowCommand:
      // Posted, as the frame's own buttons do: a close may ask the user first.
      PostMessage(Ev.Window, WM_SYSCOMMAND, Ev.SysCommand, 0);
      break;
    case TInputEventKind::WindowActivated:
      if (GetActiveWindow() != Ev.Window && CanActivate(W)) ActivateWindow(Ev.Window, WA_ACTIVE);
      break;
    default:
      break;
  }
}
