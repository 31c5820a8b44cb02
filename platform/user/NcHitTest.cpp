// WM_NCHITTEST: which part of the classic frame a screen point is on.
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"

namespace {

// The sizing edge at P (window coordinates) in the outer frame of a sizable window. Corners
// reach SM_CYCAPTION pixels along each edge from the window's corner.
LRESULT SizingEdge(const TNcLayout& L, TPoint P) {
  const Integer Wd = L.Window.Width(), Ht = L.Window.Height();
  const bool OnLeft = P.X < L.Inside.Left, OnRight = P.X >= L.Inside.Right;
  const bool OnTop = P.Y < L.Inside.Top, OnBottom = P.Y >= L.Inside.Bottom;
  if (!(OnLeft || OnRight || OnTop || OnBottom)) return HTNOWHERE;
  const Integer Corner = GetSystemMetrics(SM_CYCAPTION);
  const bool NearLeft = P.X < Corner, NearRight = P.X >= Wd - Corner;
  const bool NearTop = P.Y < Corner, NearBottom = P.Y >= Ht - Corner;
  if (OnTop) return NearLeft ? HTTOPLEFT : NearRight ? HTTOPRIGHT : HTTOP;
  if (OnBottom) return NearLeft ? HTBOTTOMLEFT : NearRight ? HTBOTTOMRIGHT : HTBOTTOM;
  if (OnLeft) return NearTop ? HTTOPLEFT : NearBottom ? HTBOTTOMLEFT : HTLEFT;
  return NearTop ? HTTOPRIGHT : NearBottom ? HTBOTTOMRIGHT : HTRIGHT;
}

}  // namespace

LRESULT NcHitTest(TWindow* W, TPoint Screen) {
  const TPoint O = WindowOriginOnScreen(W);
  const TPoint P{Screen.X - O.X, Screen.Y - O.Y};
  const TNcLayout L = NcLayoutOf(W);
  if (!InRect(L.Window, P)) return HTNOWHERE;
  if (W->WindowRgn && !W->WindowRgn->Contains(P.X, P.Y)) return HTNOWHERE;
  if (InRect(L.Client, P)) return HTCLIENT;
  // A minimized window is all caption, its buttons and icon aside.
  const bool Min = (W->Style & WS_MINIMIZE) != 0;
  if (!InRect(L.Inside, P)) {
    if ((W->Style & WS_THICKFRAME) && !(W->Style & (WS_MAXIMIZE | WS_MINIMIZE))) return SizingEdge(L, P);
    return Min ? HTCAPTION : HTBORDER;
  }
  if (P.Y < L.Caption.Bottom + 1 && !IsEmptyRect(L.Caption)) {
    if (InRect(L.CloseBtn, P)) return HTCLOSE;
    if (InRect(L.MaxBtn, P)) return HTMAXBUTTON;
    if (InRect(L.MinBtn, P)) return HTMINBUTTON;
    if (InRect(L.HelpBtn, P)) return HTHELP;
    if (InRect(L.Icon, P)) return HTSYSMENU;
    return HTCAPTION;
  }
  if (Min) return HTCAPTION;
  if (InRect(L.MenuBar, P)) return HTMENU;
  if (InRect(L.SizeBox, P))
    return ((W->Style & WS_THICKFRAME) && !(W->Style & WS_MAXIMIZE)) ? HTBOTTOMRIGHT : HTGROWBOX;
  if (InRect(L.VScroll, P)) return HTVSCROLL;
  if (InRect(L.HScroll, P)) return HTHSCROLL;
  return HTBORDER;
}

LRESULT NcHitTestDefault(TWindow* W, UINT, WPARAM, LPARAM LParam) {
  return NcHitTest(W, PointOf(LParam));
}
