// Non-client mouse messages: presses on the caption, frame, menu bar, scroll bars and caption
// buttons, and double-clicks on the caption and the system-menu icon.
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/NonClient.h"
#include "platform/user/WindowMessages.h"

namespace {

struct TButtonTrack {
  HWND Wnd;
  bool Done = false;
};

bool ButtonLoopStops(void* Ctx) {
  auto* T = static_cast<TButtonTrack*>(Ctx);
  return T->Done || PeekWindow(T->Wnd) == nullptr || GetCapture() != T->Wnd;
}

TRect ButtonRect(const TNcLayout& L, LRESULT Hit) {
  switch (Hit) {
    case HTCLOSE:
      return L.CloseBtn;
    case HTMAXBUTTON:
      return L.MaxBtn;
    case HTMINBUTTON:
      return L.MinBtn;
    case HTHELP:
      return L.HelpBtn;
    default:
      return {};
  }
}

bool ButtonEnabled(TWindow* W, LRESULT Hit) {
  switch (Hit) {
    case HTMINBUTTON:
      return (W->Style & WS_MINIMIZEBOX) != 0;
    case HTMAXBUTTON:
      return (W->Style & WS_MAXIMIZEBOX) != 0;
    case HTCLOSE: {
      if (W->Class != nullptr && (W->Class->Style & CS_NOCLOSE)) return false;
      const TNcState& S = NcStateOf(W);
      if (S.SystemMenu == nullptr) return true;
      const UINT State = GetMenuState(S.SystemMenu, static_cast<UINT>(SC_CLOSE), MF_BYCOMMAND);
      return State == static_cast<UINT>(-1) || !(State & (MF_GRAYED | MF_DISABLED));
    }
    default:
      return true;
  }
}

WPARAM ButtonCommand(TWindow* W, LRESULT Hit) {
  switch (Hit) {
    case HTCLOSE:
      return SC_CLOSE;
    case HTMINBUTTON:
      return (W->Style & WS_MINIMIZE) ? SC_RESTORE : SC_MINIMIZE;
    case HTMAXBUTTON:
      return (W->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
    default:
      return SC_CONTEXTHELP;
  }
}

void SetPushed(TWindow* W, LRESULT Hit) {
  TNcState& S = NcStateOf(W);
  if (S.Pushed == Hit) return;
  S.Pushed = Hit;
  RedrawFrameNow(W);
}

// Holds a caption button down while the mouse button is: pushed while the mouse is on it; a
// release on it sends the button's command.
void TrackCaptionButton(TWindow* W, LRESULT Hit, TPoint Start) {
  if (!ButtonEnabled(W, Hit)) return;
  TButtonTrack T{W->Handle};
  auto Inside = [&](TPoint P) {
    TWindow* Now = PeekWindow(T.Wnd);
    if (Now == nullptr) return false;
    const TPoint O = WindowOriginOnScreen(Now);
    return InRect(ButtonRect(NcLayoutOf(Now), Hit), TPoint{P.X - O.X, P.Y - O.Y});
  };
  bool In = Inside(Start);
  SetPushed(W, In ? Hit : HTNOWHERE);
  SetCapture(T.Wnd);
  TPoint Last = Start;
  MSG M;
  while (ModalNextMessage(M, ButtonLoopStops, &T)) {
    if (M.message == WM_MOUSEMOVE || M.message == WM_NCMOUSEMOVE || M.message == WM_LBUTTONUP ||
        M.message == WM_NCLBUTTONUP) {
      Last = M.pt;
      In = Inside(M.pt);
      if (TWindow* Now = PeekWindow(T.Wnd)) SetPushed(Now, In ? Hit : HTNOWHERE);
      if (M.message == WM_LBUTTONUP || M.message == WM_NCLBUTTONUP) T.Done = true;
    } else if (!IsMouseMsg(M.message) && !IsKeyMsg(M.message)) {
      DispatchMessage(&M);
    }
  }
  if (TWindow* Now = PeekWindow(T.Wnd)) SetPushed(Now, HTNOWHERE);
  if (GetCapture() == T.Wnd) ReleaseCapture();
  if (!T.Done || !In) return;
  if (TWindow* Now = PeekWindow(T.Wnd))
    SendTo(Now, WM_SYSCOMMAND, ButtonCommand(Now, Hit), MAKELPARAM(Last.X, Last.Y));
}

LRESULT ButtonDown(TWindow* W, WPARAM Hit, LPARAM LParam) {
  switch (static_cast<LRESULT>(Hit)) {
    case HTCAPTION:
      return SendTo(W, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, LParam);
    case HTSYSMENU:
      if (W->Style & WS_SYSMENU) SendTo(W, WM_SYSCOMMAND, SC_MOUSEMENU + HTSYSMENU, LParam);
      return 0;
    case HTMENU:
      return SendTo(W, WM_SYSCOMMAND, SC_MOUSEMENU + HTMENU, LParam);
    case HTHSCROLL:
      return SendTo(W, WM_SYSCOMMAND, SC_HSCROLL + HTHSCROLL, LParam);
    case HTVSCROLL:
      return SendTo(W, WM_SYSCOMMAND, SC_VSCROLL + HTVSCROLL, LParam);
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
      TrackCaptionButton(W, static_cast<LRESULT>(Hit), PointOf(LParam));
      return 0;
    case HTGROWBOX:
      return SendTo(W, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, LParam);
    default:
      if (static_cast<LRESULT>(Hit) >= HTLEFT && static_cast<LRESULT>(Hit) <= HTBOTTOMRIGHT)
        return SendTo(W, WM_SYSCOMMAND, SC_SIZE + (Hit - HTLEFT + WMSZ_LEFT), LParam);
      return 0;
  }
}

LRESULT DoubleClick(TWindow* W, WPARAM Hit, LPARAM LParam) {
  switch (static_cast<LRESULT>(Hit)) {
    case HTCAPTION:
      if (W->Style & WS_MINIMIZE) return SendTo(W, WM_SYSCOMMAND, SC_RESTORE, LParam);
      if (W->Style & WS_MAXIMIZEBOX)
        return SendTo(W, WM_SYSCOMMAND, (W->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, LParam);
      return 0;
    case HTSYSMENU:
      if ((W->Style & WS_SYSMENU) && ButtonEnabled(W, HTCLOSE))
        return SendTo(W, WM_SYSCOMMAND, SC_CLOSE, LParam);
      return 0;
    case HTHSCROLL:
    case HTVSCROLL:
      return ButtonDown(W, Hit, LParam);
    default:
      return 0;
  }
}

}  // namespace

LRESULT NcButtonDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_NCLBUTTONDOWN:
      return ButtonDown(W, WParam, LParam);
    case WM_NCLBUTTONDBLCLK:
      return DoubleClick(W, WParam, LParam);
    case WM_NCRBUTTONUP:
      return SendTo(W, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(W->Handle), LParam);
    default:
      return 0;
  }
}
