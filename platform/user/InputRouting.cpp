// Mouse events to mouse messages: hit testing, mouse activation, WM_SETCURSOR, double-clicks,
// capture; the cursor position, injected mouse input and DragDetect.
#include <algorithm>
#include <cstdlib>

#include "platform/system/Clock.h"
#include "platform/user/Cursors.h"
#include "platform/user/InputState.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"

namespace {

struct THit {
  HWND Wnd = nullptr;
  LRESULT Code = HTNOWHERE;
};

// The window that gets a mouse event at Screen and its hit code. A window answering
// HTTRANSPARENT passes the point on to the windows below it; a disabled window takes the
// point without being asked and gets HTERROR (no mouse input).
THit HitTestAt(TPoint Screen) {
  for (HWND H : WindowsAtPoint(Screen)) {
    TWindow* W = PeekWindow(H);
    if (W == nullptr) continue;
    if (W->Style & WS_DISABLED) return {H, HTERROR};
    const LRESULT Code = SendTo(W, WM_NCHITTEST, 0, MAKELPARAM(Screen.X, Screen.Y));
    if (Code != HTTRANSPARENT && PeekWindow(H) != nullptr) return {H, Code};
  }
  return {};
}

TPoint ClampToScreen(TPoint P) {
  const TInputState& S = InputState();
  TRect Area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (S.ClipOn) Area = S.Clip;
  return {std::clamp(P.X, Area.Left, std::max(Area.Left, Area.Right - 1)),
          std::clamp(P.Y, Area.Top, std::max(Area.Top, Area.Bottom - 1))};
}

WORD ButtonKey(TInputButton B) {
  switch (B) {
    case TInputButton::Right:
      return VK_RBUTTON;
    case TInputButton::Middle:
      return VK_MBUTTON;
    case TInputButton::X1:
      return VK_XBUTTON1;
    case TInputButton::X2:
      return VK_XBUTTON2;
    default:
      return VK_LBUTTON;
  }
}

UINT ButtonMessage(TInputButton B, bool Down) {
  switch (B) {
    case TInputButton::Right:
      return Down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case TInputButton::Middle:
      return Down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case TInputButton::X1:
    case TInputButton::X2:
      return Down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
    default:
      return Down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
  }
}

bool IsButtonDown(UINT Msg) {
  return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN || Msg == WM_XBUTTONDOWN;
}

// A button down becomes a double-click when the same button went down on the same window
// within the double-click time and box; client double-clicks only for CS_DBLCLKS classes. The
// click after a double-click starts afresh.
UINT ClickMessage(HWND Wnd, UINT Down, bool Client, TPoint P, DWORD Time) {
  TInputState& S = InputState();
  const TWindow* W = PeekWindow(Wnd);
  const bool Allowed = !Client || (W != nullptr && (W->Class->Style & CS_DBLCLKS));
  const bool Double = Allowed && S.ClickMsg == Down && S.ClickWnd == Wnd &&
                      Time - S.ClickTime <= S.DoubleClickTime &&
                      std::abs(P.X - S.ClickPos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                      std::abs(P.Y - S.ClickPos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (Double) {
    S.ClickMsg = 0;
    return Down + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
  }
  S.ClickMsg = Down;
  S.ClickWnd = Wnd;
  S.ClickTime = Time;
  S.ClickPos = P;
  return Down;
}

void QueueMouse(HWND Wnd, UINT Msg, bool Client, LRESULT Hit, TPoint P, WORD XButton, DWORD Time) {
  TWindow* W = PeekWindow(Wnd);
  if (W == nullptr) return;
  if (Client) {
    const TPoint O = ClientOriginOnScreen(W);
    QueueInputMessage(Wnd, Msg, MAKEWPARAM(static_cast<Integer>(MouseKeyFlags()), XButton),
                      MAKELPARAM(P.X - O.X, P.Y - O.Y), P, Time);
  } else {
    QueueInputMessage(Wnd, Msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE,
                      MAKEWPARAM(static_cast<Integer>(Hit), XButton), MAKELPARAM(P.X, P.Y), P, Time);
  }
}

void DeliverMouse(UINT Msg, TPoint P, WORD XButton) {
  TInputState& S = InputState();
  const DWORD Time = GetTickCount();
  const bool Down = IsButtonDown(Msg);
  if (const HWND C = GetCapture()) {
    // Everything goes to the capture window, in its client coordinates.
    if (Down) Msg = ClickMessage(C, Msg, true, P, Time);
    QueueMouse(C, Msg, true, HTCLIENT, P, XButton, Time);
    return;
  }
  const THit T = HitTestAt(P);
  UpdateMouseTracking(T.Wnd, T.Code, P);
  S.MouseWnd = T.Wnd;
  S.MouseHit = T.Code;
  TWindow* W = PeekWindow(T.Wnd);
  if (W == nullptr) {
    // The empty screen shows the arrow; a click there takes the activation away.
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (Down) {
      S.ClickMsg = 0;
      ActivateWindow(nullptr, WA_ACTIVE);
    }
    return;
  }
  if (T.Code == HTERROR) {
    SendTo(W, WM_SETCURSOR, reinterpret_cast<WPARAM>(T.Wnd), MAKELPARAM(HTERROR, Msg));
    return;
  }
  bool Eat = false;
  if (Down) {
    const HWND Top = TopLevelOf(W)->Handle;
    if (TopLevelOf(W)->Parent == DesktopWindow() && Top != GetActiveWindow()) {
      const LRESULT R = SendTo(W, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Top), MAKELPARAM(T.Code, Msg));
      Eat = R == MA_ACTIVATEANDEAT || R == MA_NOACTIVATEANDEAT;
      const TWindow* TopW = PeekWindow(Top);
      if (R != MA_NOACTIVATE && R != MA_NOACTIVATEANDEAT && TopW != nullptr &&
          !(TopW->ExStyle & WS_EX_NOACTIVATE))
        ActivateWindow(Top, WA_CLICKACTIVE);
      if ((W = PeekWindow(T.Wnd)) == nullptr) return;
    }
  }
  // Sent for every mouse event, eaten clicks too.
  SendTo(W, WM_SETCURSOR, reinterpret_cast<WPARAM>(T.Wnd), MAKELPARAM(T.Code, Msg));
  if (Eat || PeekWindow(T.Wnd) == nullptr) return;
  const bool Client = T.Code == HTCLIENT;
  if (Down) Msg = ClickMessage(T.Wnd, Msg, Client, P, Time);
  QueueMouse(T.Wnd, Msg, Client, T.Code, P, XButton, Time);
}

void DeliverWheel(const TInputEvent& Ev, TPoint P) {
  HWND Target = GetFocus();
  if (Target == nullptr) Target = GetActiveWindow();
  if (Target == nullptr) return;
  QueueInputMessage(Target, Ev.Horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL,
                    MAKEWPARAM(static_cast<Integer>(MouseKeyFlags()), Ev.WheelDelta), MAKELPARAM(P.X, P.Y),
                    P);
}

void RouteMouse(TInputEventKind Kind, TPoint P, TInputButton Button = TInputButton::Left, Integer Delta = 0,
                bool Horizontal = false) {
  TInputEvent Ev;
  Ev.Kind = Kind;
  Ev.X = P.X;
  Ev.Y = P.Y;
  Ev.Button = Button;
  Ev.WheelDelta = Delta;
  Ev.Horizontal = Horizontal;
  if (InputEventHandler != nullptr) InputEventHandler(Ev);
}

}  // namespace

void RouteMouseEvent(const TInputEvent& Ev) {
  TInputState& S = InputState();
  const TPoint P = ClampToScreen({Ev.X, Ev.Y});
  SetLastMousePosition(P);
  switch (Ev.Kind) {
    case TInputEventKind::Wheel:
      DeliverWheel(Ev, P);
      return;
    case TInputEventKind::ButtonDown:
    case TInputEventKind::ButtonUp: {
      const bool Down = Ev.Kind == TInputEventKind::ButtonDown;
      BYTE& Key = S.Keys[ButtonKey(Ev.Button)];
      if (Down) {
        Key = static_cast<BYTE>((Key ^ 0x01) | 0x80);
        S.AltAlone = false;
      } else {
        Key &= 0x01;
      }
      const WORD X = Ev.Button == TInputButton::X1 ? XBUTTON1 : Ev.Button == TInputButton::X2 ? XBUTTON2 : 0;
      DeliverMouse(ButtonMessage(Ev.Button, Down), P, X);
      return;
    }
    default:
      DeliverMouse(WM_MOUSEMOVE, P, 0);
      return;
  }
}

LRESULT DefRButtonUp(TWindow* W, UINT, WPARAM, LPARAM LParam) {
  const TPoint O = ClientOriginOnScreen(W);
  SendTo(W, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(W->Handle),
         MAKELPARAM(O.X + GET_X_LPARAM(LParam), O.Y + GET_Y_LPARAM(LParam)));
  return 0;
}

BOOL GetCursorPos(POINT* Point) {
  if (Point == nullptr) return FALSE;
  *Point = LastMousePosition();
  return TRUE;
}

BOOL SetCursorPos(Integer X, Integer Y) {
  if (InputState().Installed)
    RouteMouse(TInputEventKind::MouseMove, {X, Y});
  else
    SetLastMousePosition(ClampToScreen({X, Y}));
  return TRUE;
}

BOOL ClipCursor(const RECT* Rect) {
  TInputState& S = InputState();
  S.ClipOn = Rect != nullptr && Rect->Right > Rect->Left && Rect->Bottom > Rect->Top;
  if (S.ClipOn) {
    S.Clip = *Rect;
    SetLastMousePosition(ClampToScreen(LastMousePosition()));
  }
  return TRUE;
}

BOOL GetClipCursor(RECT* Rect) {
  if (Rect == nullptr) return FALSE;
  const TInputState& S = InputState();
  *Rect = S.ClipOn ? S.Clip : TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return TRUE;
}

BOOL DragDetect(HWND Wnd, POINT Point) {
  if (WindowFromHandle(Wnd) == nullptr || !(GetKeyState(VK_LBUTTON) & 0x8000)) return FALSE;
  const Integer Dx = GetSystemMetrics(SM_CXDRAG) / 2, Dy = GetSystemMetrics(SM_CYDRAG) / 2;
  SetCapture(Wnd);
  auto Done = [](BOOL Result) {
    ReleaseCapture();
    return Result;
  };
  for (;;) {
    if (GetCapture() != Wnd) return FALSE;
    MSG M;
    if (PeekMessage(&M, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
      if (M.message == WM_LBUTTONUP) return Done(FALSE);
      if (M.message == WM_MOUSEMOVE && (std::abs(M.pt.X - Point.X) > Dx || std::abs(M.pt.Y - Point.Y) > Dy))
        return Done(TRUE);
      continue;
    }
    if (PeekMessage(&M, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
      if (M.wParam == VK_ESCAPE) return Done(FALSE);
      continue;
    }
    ModalLoopIdle();
    if (AnyMessagePending()) {
      // Only messages this loop does not take wait: give the input time to arrive.
      if (TDisplayBackend* B = GetDisplayBackend())
        B->WaitInput(10);
      else
        WaitNullDisplay(10);
    } else {
      WaitMessage();
    }
  }
}

void mouse_event(DWORD Flags, DWORD Dx, DWORD Dy, DWORD Data, ULONG_PTR) {
  TPoint P = LastMousePosition();
  if (Flags & MOUSEEVENTF_MOVE) {
    if (Flags & MOUSEEVENTF_ABSOLUTE) {
      P = {static_cast<Integer>(static_cast<Int64>(Dx & 0xFFFF) * GetSystemMetrics(SM_CXSCREEN) / 65536),
           static_cast<Integer>(static_cast<Int64>(Dy & 0xFFFF) * GetSystemMetrics(SM_CYSCREEN) / 65536)};
    } else {
      P.X += static_cast<LONG>(Dx);
      P.Y += static_cast<LONG>(Dy);
    }
    RouteMouse(TInputEventKind::MouseMove, P);
    P = LastMousePosition();
  }
  struct TButtonFlag {
    DWORD Flag;
    TInputEventKind Kind;
    TInputButton Button;
  };
  const TInputButton X = (Data & XBUTTON2) ? TInputButton::X2 : TInputButton::X1;
  const TButtonFlag Buttons[] = {
      {MOUSEEVENTF_LEFTDOWN, TInputEventKind::ButtonDown, TInputButton::Left},
      {MOUSEEVENTF_LEFTUP, TInputEventKind::ButtonUp, TInputButton::Left},
      {MOUSEEVENTF_RIGHTDOWN, TInputEventKind::ButtonDown, TInputButton::Right},
      {MOUSEEVENTF_RIGHTUP, TInputEventKind::ButtonUp, TInputButton::Right},
      {MOUSEEVENTF_MIDDLEDOWN, TInputEventKind::ButtonDown, TInputButton::Middle},
      {MOUSEEVENTF_MIDDLEUP, TInputEventKind::ButtonUp, TInputButton::Middle},
      {MOUSEEVENTF_XDOWN, TInputEventKind::ButtonDown, X},
      {MOUSEEVENTF_XUP, TInputEventKind::ButtonUp, X},
  };
  for (const TButtonFlag& B : Buttons)
    if (Flags & B.Flag) RouteMouse(B.Kind, P, B.Button);
  const Integer Delta = static_cast<Integer>(static_cast<std::int32_t>(Data));
  if (Flags & MOUSEEVENTF_WHEEL) RouteMouse(TInputEventKind::Wheel, P, TInputButton::Left, Delta);
  if (Flags & MOUSEEVENTF_HWHEEL) RouteMouse(TInputEventKind::Wheel, P, TInputButton::Left, Delta, true);
}

UINT GetDoubleClickTime() {
  return InputState().DoubleClickTime;
}

BOOL SetDoubleClickTime(UINT Milliseconds) {
  InputState().DoubleClickTime = Milliseconds != 0 ? Milliseconds : 500;
  return TRUE;
}

BOOL SwapMouseButton(BOOL) {
  return FALSE;
}

BOOL MessageBeep(UINT) {
  return TRUE;
}
