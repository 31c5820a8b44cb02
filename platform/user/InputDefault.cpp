// What the core does with back-end input itself: close requests and screen changes. Mouse and
// key events become messages in the input part, which is in place before the first window
// (StartWindowLayer) and hands these two kinds back.
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowMessages.h"

namespace {

TPoint GMouse{0, 0};

void DefaultInput(const TInputEvent& Ev) {
  switch (Ev.Kind) {
    case TInputEventKind::CloseRequest:
      for (TWindow* T : DesktopWindow()->Children)
        if ((T->Style & WS_VISIBLE) && T->Owner == nullptr) {
          PostMessage(T->Handle, WM_CLOSE, 0, 0);
          break;
        }
      break;
    case TInputEventKind::ScreenResize:
      ScreenSizeChanged();
      break;
    case TInputEventKind::MouseMove:
    case TInputEventKind::ButtonDown:
    case TInputEventKind::ButtonUp:
    case TInputEventKind::Wheel:
      GMouse = {Ev.X, Ev.Y};
      break;
    default:
      break;
  }
}

}  // namespace

TInputEventHandler InputEventHandler = DefaultInput;
TTranslateMessageHook TranslateMessageHook = nullptr;

TPoint LastMousePosition() {
  return GMouse;
}
void SetLastMousePosition(TPoint P) {
  GMouse = P;
}
