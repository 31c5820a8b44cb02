// The minimal routing of back-end input the core does until the input part replaces it:
// mouse events go to the window under the cursor, keys and text to the focus window.
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"

namespace {

TPoint GMouse{0, 0};
WPARAM GButtons = 0;  // MK_* of the buttons held
bool GShift = false, GControl = false;

WPARAM KeyState() { return GButtons | (GShift ? MK_SHIFT : 0) | (GControl ? MK_CONTROL : 0); }

HWND DefaultFocus() {
  for (TWindow* T : DesktopWindow()->Children)
    if ((T->Style & WS_VISIBLE) && !(T->Style & WS_DISABLED)) return T->Handle;
  return nullptr;
}

HWND FocusTarget() {
  const HWND H = FocusWindowHook != nullptr ? FocusWindowHook() : nullptr;
  return H != nullptr ? H : DefaultFocus();
}

UINT ButtonMessage(TInputButton B, bool Down) {
  switch (B) {
    case TInputButton::Right: return Down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case TInputButton::Middle: return Down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case TInputButton::X1:
    case TInputButton::X2: return Down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
    default: return Down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
  }
}

WPARAM ButtonFlag(TInputButton B) {
  switch (B) {
    case TInputButton::Right: return MK_RBUTTON;
    case TInputButton::Middle: return MK_MBUTTON;
    case TInputButton::X1: return MK_XBUTTON1;
    case TInputButton::X2: return MK_XBUTTON2;
    default: return MK_LBUTTON;
  }
}

void QueueMouse(UINT ClientMsg, WPARAM Extra) {
  const HWND H = WindowFromPoint(GMouse);
  TWindow* W = PeekWindow(H);
  if (W == nullptr) return;
  const LRESULT Hit = SendTo(W, WM_NCHITTEST, 0, MAKELPARAM(GMouse.X, GMouse.Y));
  if (PeekWindow(H) == nullptr) return;
  MSG M;
  M.hwnd = H;
  M.pt = GMouse;
  if (Hit == HTCLIENT) {
    const TPoint O = ClientOriginOnScreen(W);
    M.message = ClientMsg;
    M.wParam = KeyState() | Extra;
    M.lParam = MAKELPARAM(GMouse.X - O.X, GMouse.Y - O.Y);
  } else {
    M.message = ClientMsg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    M.wParam = static_cast<WPARAM>(Hit) | Extra;
    M.lParam = MAKELPARAM(GMouse.X, GMouse.Y);
  }
  QueueInputMessage(M);
}

void QueueKey(UINT Msg, WPARAM WParam, LPARAM LParam) {
  const HWND H = FocusTarget();
  if (H == nullptr) return;
  MSG M;
  M.hwnd = H;
  M.message = Msg;
  M.wParam = WParam;
  M.lParam = LParam;
  M.pt = GMouse;
  QueueInputMessage(M);
}

void DefaultInput(const TInputEvent& Ev) {
  switch (Ev.Kind) {
    case TInputEventKind::MouseMove:
      GMouse = {Ev.X, Ev.Y};
      QueueMouse(WM_MOUSEMOVE, 0);
      break;
    case TInputEventKind::ButtonDown:
    case TInputEventKind::ButtonUp: {
      GMouse = {Ev.X, Ev.Y};
      const bool Down = Ev.Kind == TInputEventKind::ButtonDown;
      if (Down) GButtons |= ButtonFlag(Ev.Button);
      else GButtons &= ~ButtonFlag(Ev.Button);
      const WPARAM X = Ev.Button == TInputButton::X1 ? MAKEWPARAM(0, XBUTTON1)
                       : Ev.Button == TInputButton::X2 ? MAKEWPARAM(0, XBUTTON2)
                                                       : 0;
      QueueMouse(ButtonMessage(Ev.Button, Down), X);
      break;
    }
    case TInputEventKind::Wheel: {
      GMouse = {Ev.X, Ev.Y};
      MSG M;
      M.hwnd = FocusTarget();
      if (M.hwnd == nullptr) break;
      M.message = Ev.Horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
      M.wParam = MAKEWPARAM(static_cast<Integer>(KeyState()), Ev.WheelDelta);
      M.lParam = MAKELPARAM(GMouse.X, GMouse.Y);
      M.pt = GMouse;
      QueueInputMessage(M);
      break;
    }
    case TInputEventKind::KeyDown:
    case TInputEventKind::KeyUp: {
      const bool Down = Ev.Kind == TInputEventKind::KeyDown;
      if (Ev.VirtualKey == VK_SHIFT) GShift = Down;
      if (Ev.VirtualKey == VK_CONTROL) GControl = Down;
      LPARAM L = 1 | (static_cast<LPARAM>(Ev.ScanCode & 0xFF) << 16);
      if (Down && Ev.Repeat) L |= 0x40000000;
      if (!Down) L |= static_cast<LPARAM>(0xC0000000u);
      QueueKey(Down ? WM_KEYDOWN : WM_KEYUP, Ev.VirtualKey, L);
      break;
    }
    case TInputEventKind::Text: {
      // UTF-8 to UTF-16 units, one WM_CHAR each.
      const std::string& S = Ev.Text;
      for (std::size_t I = 0; I < S.size();) {
        const unsigned char C = static_cast<unsigned char>(S[I]);
        UINT Cp = C;
        std::size_t N = 1;
        if (C >= 0xF0) Cp = C & 0x07, N = 4;
        else if (C >= 0xE0) Cp = C & 0x0F, N = 3;
        else if (C >= 0xC0) Cp = C & 0x1F, N = 2;
        for (std::size_t K = 1; K < N && I + K < S.size(); ++K) Cp = (Cp << 6) | (static_cast<unsigned char>(S[I + K]) & 0x3F);
        I += N;
        if (Cp >= 0x10000) {
          Cp -= 0x10000;
          QueueKey(WM_CHAR, 0xD800 + (Cp >> 10), 1);
          QueueKey(WM_CHAR, 0xDC00 + (Cp & 0x3FF), 1);
        } else {
          QueueKey(WM_CHAR, Cp, 1);
        }
      }
      break;
    }
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
  }
}

}  // namespace

TInputEventHandler InputEventHandler = DefaultInput;
TFocusWindowHook FocusWindowHook = nullptr;
TTranslateMessageHook TranslateMessageHook = nullptr;

TPoint LastMousePosition() { return GMouse; }
void SetLastMousePosition(TPoint P) { GMouse = P; }
