// Installing the input part into the window manager's hooks, and the state its files share.
#include <utility>

#include "platform/user/Caret.h"
#include "platform/user/DesktopWindowEvents.h"
#include "platform/user/InputState.h"

namespace {

struct TSavedHooks {
  TInputEventHandler Input = nullptr;
  TTranslateMessageHook Translate = nullptr;
  TCaretPaintHook Caret = nullptr;
};
TSavedHooks GSaved;

struct TDefault {
  UINT Msg;
  TDefWindowProcHandler Handler;
};
constexpr TDefault Defaults[] = {
    {WM_SETCURSOR, DefSetCursor},   {WM_ACTIVATE, DefActivate},   {WM_CANCELMODE, DefCancelMode},
    {WM_SYSKEYDOWN, DefSysKeyDown}, {WM_SYSKEYUP, DefSysKeyUp},   {WM_SYSCHAR, DefSysChar},
    {WM_KEYUP, DefKeyUp},           {WM_RBUTTONUP, DefRButtonUp},
};

bool TranslateHook(const MSG& Msg) {
  return TranslateKeyMessage(Msg);
}

void OnWindowEvent(TWindow* W, TWindowEvent Event) {
  if (!InputState().Installed) return;
  const HWND H = W->Handle;
  switch (Event) {
    case TWindowEvent::Destroying:
      ReleaseCaptureWithin(W);
      if ((W = PeekWindow(H)) == nullptr) return;
      DestroyCaretWithin(W);
      if (IsWithin(W, InputState().MouseWnd)) StopMouseTracking();
      FocusWindowEvent(W, Event);
      break;
    case TWindowEvent::Hidden:
      ReleaseCaptureWithin(W);
      if ((W = PeekWindow(H)) == nullptr) return;
      FocusWindowEvent(W, Event);
      break;
    case TWindowEvent::ActivateRequested:
    case TWindowEvent::Disabled:
    case TWindowEvent::Minimized:
      FocusWindowEvent(W, Event);
      break;
    default:
      break;
  }
}

}  // namespace

TInputState& InputState() {
  static TInputState State;
  return State;
}

bool IsWithin(const TWindow* W, HWND H) {
  for (const TWindow* P = PeekWindow(H); P != nullptr; P = P->Parent)
    if (P == W) return true;
  return false;
}

WPARAM MouseKeyFlags() {
  constexpr std::pair<WORD, WPARAM> Flags[] = {{VK_LBUTTON, MK_LBUTTON},   {VK_RBUTTON, MK_RBUTTON},
                                               {VK_MBUTTON, MK_MBUTTON},   {VK_XBUTTON1, MK_XBUTTON1},
                                               {VK_XBUTTON2, MK_XBUTTON2}, {VK_SHIFT, MK_SHIFT},
                                               {VK_CONTROL, MK_CONTROL}};
  const auto& Keys = InputState().Keys;
  WPARAM Result = 0;
  for (const auto& [Vk, Flag] : Flags)
    if (Keys[Vk] & 0x80) Result |= Flag;
  return Result;
}

void RouteInputEvent(const TInputEvent& Ev) {
  switch (Ev.Kind) {
    case TInputEventKind::MouseMove:
    case TInputEventKind::ButtonDown:
    case TInputEventKind::ButtonUp:
    case TInputEventKind::Wheel:
      RouteMouseEvent(Ev);
      break;
    case TInputEventKind::KeyDown:
    case TInputEventKind::KeyUp:
      RouteKeyEvent(Ev);
      break;
    case TInputEventKind::Text:
      RouteText(Ev.Text);
      break;
    case TInputEventKind::WindowMoved:
    case TInputEventKind::WindowResized:
    case TInputEventKind::WindowCommand:
    case TInputEventKind::WindowActivated:
    case TInputEventKind::AppDeactivated:
      RouteDesktopWindowEvent(Ev);
      break;
    default:
      // Close requests and screen changes stay with the window manager.
      if (GSaved.Input != nullptr) GSaved.Input(Ev);
      break;
  }
}

void InstallWindowInput() {
  TInputState& S = InputState();
  if (S.Installed) return;
  S.Installed = true;
  GSaved.Input = InputEventHandler;
  GSaved.Translate = TranslateMessageHook;
  GSaved.Caret = CaretPaintHook;
  InputEventHandler = RouteInputEvent;
  TranslateMessageHook = TranslateHook;
  CaretPaintHook = CaretPaint;
  for (const TDefault& D : Defaults) S.Previous[D.Msg] = SetDefWindowProcHandler(D.Msg, D.Handler);
  static const bool HookAdded = (AddWindowEventHook(OnWindowEvent), true);
  (void)HookAdded;
}

void UninstallWindowInput() {
  TInputState& S = InputState();
  if (!S.Installed) return;
  DestroyCaret();
  StopMouseTracking();
  ResetFocusState();
  ResetKeyboardState();
  if (InputEventHandler == RouteInputEvent) InputEventHandler = GSaved.Input;
  if (TranslateMessageHook == TranslateHook) TranslateMessageHook = GSaved.Translate;
  if (CaretPaintHook == CaretPaint) CaretPaintHook = GSaved.Caret;
  for (const TDefault& D : Defaults)
    if (GetDefWindowProcHandler(D.Msg) == D.Handler) SetDefWindowProcHandler(D.Msg, S.Previous[D.Msg]);
  S = TInputState{};
}
