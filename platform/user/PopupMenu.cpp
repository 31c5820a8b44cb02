// The "#32768" popup menu windows: their class, placement and painting.
#include <algorithm>

#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

// Window extra bytes: the menu shown and the window that owns the loop.
constexpr Integer MenuOffset = 0;
constexpr Integer OwnerOffset = static_cast<Integer>(sizeof(LONG_PTR));

struct TPopupCreate {
  HMENU Menu;
  HWND Owner;
};

LRESULT PopupMenuProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_NCCREATE: {
      const auto* CS = reinterpret_cast<const CREATESTRUCT*>(LParam);
      const auto* P = static_cast<const TPopupCreate*>(CS->lpCreateParams);
      SetWindowLongPtr(Wnd, MenuOffset, reinterpret_cast<LONG_PTR>(P->Menu));
      SetWindowLongPtr(Wnd, OwnerOffset, reinterpret_cast<LONG_PTR>(P->Owner));
      break;
    }
    case MN_GETHMENU:
      return GetWindowLongPtr(Wnd, MenuOffset);
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT PS;
      HDC DC = BeginPaint(Wnd, &PS);
      if (TMenuObject* M = MenuFromHandle(reinterpret_cast<HMENU>(GetWindowLongPtr(Wnd, MenuOffset))))
        DrawPopupMenu(DC, *M, reinterpret_cast<HWND>(GetWindowLongPtr(Wnd, OwnerOffset)));
      EndPaint(Wnd, &PS);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

}  // namespace

void RegisterPopupMenuClass() {
  static const bool Registered = [] {
    WNDCLASS WC;
    WC.style = CS_SAVEBITS | CS_DBLCLKS;
    WC.lpfnWndProc = MakeWndProc(PopupMenuProc);
    WC.cbWndExtra = 2 * static_cast<Integer>(sizeof(LONG_PTR));
    WC.lpszClassName = PopupMenuClass;
    return RegisterClass(&WC) != 0;
  }();
  (void)Registered;
}

HWND ShowPopupMenu(TMenuObject& M, HWND Owner, TPoint At, UINT Flags, const TRect* Avoid, bool Horizontal) {
  RegisterPopupMenuClass();
  LayoutPopupMenu(M, Owner);
  const Integer W = M.PopupSize.cx, H = M.PopupSize.cy;
  Integer X = At.X, Y = At.Y;
  if (Flags & TPM_CENTERALIGN)
    X -= W / 2;
  else if (Flags & TPM_RIGHTALIGN)
    X -= W;
  if (Flags & TPM_VCENTERALIGN)
    Y -= H / 2;
  else if (Flags & TPM_BOTTOMALIGN)
    Y -= H;
  const TRect Screen = WorkArea();
  if (X + W > Screen.Right) X = (Avoid != nullptr && Horizontal) ? Avoid->Left - W : X - W;
  if (Y + H > Screen.Bottom) Y = (Avoid != nullptr && !Horizontal) ? Avoid->Top - H : Y - H;
  X = std::max(Screen.Left, std::min(X, Screen.Right - W));
  Y = std::max(Screen.Top, std::min(Y, Screen.Bottom - H));

  TWindow* O = PeekWindow(Owner);
  while (O != nullptr && O->IsChild()) O = O->Parent;
  TPopupCreate P{M.Handle, Owner};
  const HWND Wnd = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, PopupMenuClass, "",
                                  WS_POPUP | WS_CLIPSIBLINGS, X, Y, W, H, O != nullptr ? O->Handle : nullptr,
                                  nullptr, nullptr, &P);
  if (Wnd == nullptr) return nullptr;
  M.PopupWnd = Wnd;
  SetWindowPos(Wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(Wnd);
  return Wnd;
}

void HidePopupMenu(TMenuObject& M) {
  const HWND Wnd = M.PopupWnd;
  M.PopupWnd = nullptr;
  if (Wnd != nullptr) DestroyWindow(Wnd);
}
