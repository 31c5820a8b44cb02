// The default window procedure: a table of handlers per message. The core installs the ones
// below; the non-client and input parts replace or chain theirs (SetDefWindowProcHandler).
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/gdi/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

LRESULT OnNcCreate(TWindow* W, UINT, WPARAM, LPARAM L) {
  const auto* CS = reinterpret_cast<const CREATESTRUCT*>(L);
  if (CS != nullptr && CS->lpszName != nullptr && !IS_INTRESOURCE(CS->lpszName)) W->Text = CS->lpszName;
  return TRUE;
}

LRESULT OnNcCalcSize(TWindow* W, UINT, WPARAM WParam, LPARAM L) {
  RECT* R = WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(L)->rgrc[0] : reinterpret_cast<RECT*>(L);
  if (R == nullptr || (W->Style & WS_MINIMIZE)) return 0;
  const TRect I = FrameInsets(W->Style, W->ExStyle);
  R->Left += I.Left;
  R->Top += I.Top;
  R->Right -= I.Right;
  R->Bottom -= I.Bottom;
  if (R->Right < R->Left) R->Right = R->Left;
  if (R->Bottom < R->Top) R->Bottom = R->Top;
  return 0;
}

// A plain hit test of the classic frame; the non-client part replaces it.
LRESULT OnNcHitTest(TWindow* W, UINT, WPARAM, LPARAM L) {
  const TPoint O = WindowOriginOnScreen(W);
  const Integer X = GET_X_LPARAM(L) - O.X, Y = GET_Y_LPARAM(L) - O.Y;
  const Integer Wd = W->Rect.Width(), Ht = W->Rect.Height();
  if (X < 0 || Y < 0 || X >= Wd || Y >= Ht) return HTNOWHERE;
  if (W->WindowRgn && !W->WindowRgn->Contains(X, Y)) return HTNOWHERE;
  const TRect C = ClientInWindow(W);
  if (X >= C.Left && X < C.Right && Y >= C.Top && Y < C.Bottom) return HTCLIENT;
  if (W->Style & WS_MINIMIZE) return HTCAPTION;
  if ((W->Style & WS_THICKFRAME) && !(W->Style & WS_MAXIMIZE)) {
    const Integer F = GetSystemMetrics(SM_CXFRAME), Corner = GetSystemMetrics(SM_CYCAPTION);
    const bool L0 = X < F, R0 = X >= Wd - F, T0 = Y < F, B0 = Y >= Ht - F;
    if (L0 || R0 || T0 || B0) {
      const bool Left = X < Corner, Right = X >= Wd - Corner, Top = Y < Corner, Bottom = Y >= Ht - Corner;
      if (T0) return Left ? HTTOPLEFT : Right ? HTTOPRIGHT : HTTOP;
      if (B0) return Left ? HTBOTTOMLEFT : Right ? HTBOTTOMRIGHT : HTBOTTOM;
      if (L0) return Top ? HTTOPLEFT : Bottom ? HTBOTTOMLEFT : HTLEFT;
      return Top ? HTTOPRIGHT : Bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
  }
  if ((W->Style & WS_VSCROLL) && X >= C.Right && Y >= C.Top && Y < C.Bottom) return HTVSCROLL;
  if ((W->Style & WS_HSCROLL) && Y >= C.Bottom && X >= C.Left && X < C.Right) return HTHSCROLL;
  if ((W->Style & WS_CAPTION) == WS_CAPTION && Y < C.Top) return HTCAPTION;
  return HTBORDER;
}

LRESULT OnWindowPosChanging(TWindow* W, UINT, WPARAM, LPARAM L) {
  auto* Pos = reinterpret_cast<WINDOWPOS*>(L);
  if (Pos == nullptr || (Pos->flags & SWP_NOSIZE)) return 0;
  if ((W->Style & WS_THICKFRAME) || !(W->Style & (WS_POPUP | WS_CHILD))) {
    const MINMAXINFO MM = GetMinMaxInfo(W);
    Pos->cx = std::min(Pos->cx, MM.ptMaxTrackSize.X);
    Pos->cy = std::min(Pos->cy, MM.ptMaxTrackSize.Y);
    if (!(W->Style & WS_MINIMIZE)) {
      Pos->cx = std::max(Pos->cx, MM.ptMinTrackSize.X);
      Pos->cy = std::max(Pos->cy, MM.ptMinTrackSize.Y);
    }
  }
  return 0;
}

LRESULT OnWindowPosChanged(TWindow* W, UINT, WPARAM, LPARAM L) {
  const auto* Pos = reinterpret_cast<const WINDOWPOS*>(L);
  if (Pos == nullptr) return 0;
  const HWND H = W->Handle;
  if (!(Pos->flags & SWP_NOCLIENTMOVE)) {
    SendTo(W, WM_MOVE, 0, MAKELPARAM(W->Client.Left, W->Client.Top));
    if ((W = PeekWindow(H)) == nullptr) return 0;
  }
  if (!(Pos->flags & SWP_NOCLIENTSIZE) || (Pos->flags & SWP_STATECHANGED)) {
    const WPARAM Type = (W->Style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                        : (W->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                   : SIZE_RESTORED;
    W->NeedSizeMessages = false;
    SendTo(W, WM_SIZE, Type, MAKELPARAM(W->Client.Width(), W->Client.Height()));
  }
  return 0;
}

LRESULT OnSetText(TWindow* W, UINT, WPARAM, LPARAM L) {
  const char* Text = reinterpret_cast<const char*>(L);
  W->Text = Text != nullptr ? Text : "";
  // The caption is repainted at once (a frame owed to the next paint has no update region to
  // draw in, and a busy program may not paint for long).
  if ((W->Style & WS_CAPTION) == WS_CAPTION && IsReallyVisible(W)) SendTo(W, WM_NCPAINT, 1, 0);
  return TRUE;
}

LRESULT OnGetText(TWindow* W, UINT, WPARAM WParam, LPARAM L) {
  char* Buffer = reinterpret_cast<char*>(L);
  if (Buffer == nullptr || WParam == 0) return 0;
  const std::size_t N = std::min<std::size_t>(W->Text.size(), WParam - 1);
  std::memcpy(Buffer, W->Text.data(), N);
  Buffer[N] = 0;
  return static_cast<LRESULT>(N);
}

LRESULT OnGetTextLength(TWindow* W, UINT, WPARAM, LPARAM) {
  return static_cast<LRESULT>(W->Text.size());
}

LRESULT OnPaint(TWindow* W, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT PS;
  if (BeginPaint(W->Handle, &PS) != nullptr) EndPaint(W->Handle, &PS);
  return 0;
}

LRESULT OnEraseBkgnd(TWindow* W, UINT, WPARAM WParam, LPARAM) {
  HBRUSH Brush = W->Class->Background;
  HDC DC = reinterpret_cast<HDC>(WParam);
  if (Brush == nullptr || DC == nullptr) return 0;
  RECT R;
  GetClipBox(DC, &R);
  FillRect(DC, &R, Brush);
  return 1;
}

LRESULT OnPrint(TWindow* W, UINT, WPARAM WParam, LPARAM Flags) {
  HDC DC = reinterpret_cast<HDC>(WParam);
  const HWND H = W->Handle;
  if (DC == nullptr) return 0;
  if ((Flags & PRF_CHECKVISIBLE) && !IsReallyVisible(W)) return 0;
  const Integer Saved = SaveDC(DC);
  if (Flags & PRF_NONCLIENT) {
    if (NcPrintHook != nullptr) NcPrintHook(W, DC);
    if ((W = PeekWindow(H)) == nullptr) return 0;
    const TRect C = ClientInWindow(W);
    OffsetViewportOrgEx(DC, C.Left, C.Top, nullptr);
    IntersectClipRect(DC, 0, 0, C.Width(), C.Height());
  }
  if (Flags & PRF_ERASEBKGND) SendTo(W, WM_ERASEBKGND, WParam, 0);
  if ((W = PeekWindow(H)) != nullptr && (Flags & PRF_CLIENT)) SendTo(W, WM_PRINTCLIENT, WParam, Flags);
  if ((W = PeekWindow(H)) != nullptr && (Flags & PRF_CHILDREN)) {
    std::vector<HWND> Kids;
    for (auto It = W->Children.rbegin(); It != W->Children.rend(); ++It) Kids.push_back((*It)->Handle);
    for (HWND K : Kids) {
      TWindow* C = PeekWindow(K);
      if (C == nullptr || !(C->Style & WS_VISIBLE)) continue;
      const Integer S = SaveDC(DC);
      OffsetViewportOrgEx(DC, C->Rect.Left, C->Rect.Top, nullptr);
      IntersectClipRect(DC, 0, 0, C->Rect.Width(), C->Rect.Height());
      SendTo(C, WM_PRINT, WParam, Flags | PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT);
      RestoreDC(DC, S);
    }
  }
  RestoreDC(DC, Saved);
  return 0;
}

LRESULT OnSetRedraw(TWindow* W, UINT, WPARAM WParam, LPARAM) {
  W->RedrawOff = WParam == 0;
  RefreshWindowDCs();
  return 0;
}

LRESULT OnClose(TWindow* W, UINT, WPARAM, LPARAM) {
  DestroyWindow(W->Handle);
  return 0;
}

// Messages a child passes to its parent first.
LRESULT ToParent(TWindow* W, UINT Msg, WPARAM WParam, LPARAM L) {
  if ((W->Style & WS_CHILD) && W->Parent != nullptr && W->Parent->Parent != nullptr)
    return SendTo(W->Parent, Msg, WParam, L);
  return 0;
}

LRESULT OnMouseActivate(TWindow* W, UINT Msg, WPARAM WParam, LPARAM L) {
  if (const LRESULT R = ToParent(W, Msg, WParam, L)) return R;
  return MA_ACTIVATE;
}

LRESULT OnSysCommand(TWindow* W, UINT, WPARAM WParam, LPARAM) {
  switch (WParam & 0xFFF0) {
    case SC_CLOSE:
      SendTo(W, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
      ShowWindow(W->Handle, SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      ShowWindow(W->Handle, SW_MAXIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(W->Handle, SW_RESTORE);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT OnCtlColor(TWindow*, UINT Msg, WPARAM WParam, LPARAM) {
  HDC DC = reinterpret_cast<HDC>(WParam);
  if (Msg == WM_CTLCOLORSCROLLBAR) {
    if (DC != nullptr) {
      SetTextColor(DC, GetSysColor(COLOR_3DFACE));
      SetBkColor(DC, GetSysColor(COLOR_3DHILIGHT));
    }
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_SCROLLBAR));
  }
  const Integer Back = (Msg == WM_CTLCOLOREDIT || Msg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_3DFACE;
  if (DC != nullptr) {
    SetTextColor(DC, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(DC, GetSysColor(Back));
  }
  return reinterpret_cast<LRESULT>(GetSysColorBrush(Back));
}

LRESULT ReturnTrue(TWindow*, UINT, WPARAM, LPARAM) {
  return TRUE;
}

std::array<TDefWindowProcHandler, WM_USER>& Handlers() {
  static std::array<TDefWindowProcHandler, WM_USER> Table = [] {
    std::array<TDefWindowProcHandler, WM_USER> T{};
    T[WM_NCCREATE] = OnNcCreate;
    T[WM_NCCALCSIZE] = OnNcCalcSize;
    T[WM_NCHITTEST] = OnNcHitTest;
    T[WM_WINDOWPOSCHANGING] = OnWindowPosChanging;
    T[WM_WINDOWPOSCHANGED] = OnWindowPosChanged;
    T[WM_SETTEXT] = OnSetText;
    T[WM_GETTEXT] = OnGetText;
    T[WM_GETTEXTLENGTH] = OnGetTextLength;
    T[WM_PAINT] = OnPaint;
    T[WM_ERASEBKGND] = OnEraseBkgnd;
    T[WM_PRINT] = OnPrint;
    T[WM_SETREDRAW] = OnSetRedraw;
    T[WM_CLOSE] = OnClose;
    T[WM_MOUSEACTIVATE] = OnMouseActivate;
    T[WM_SETCURSOR] = ToParent;
    T[WM_MOUSEWHEEL] = ToParent;
    T[WM_MOUSEHWHEEL] = ToParent;
    T[WM_CONTEXTMENU] = ToParent;
    T[WM_SYSCOMMAND] = OnSysCommand;
    T[WM_NCACTIVATE] = ReturnTrue;
    T[WM_QUERYOPEN] = ReturnTrue;
    T[WM_QUERYENDSESSION] = ReturnTrue;
    for (UINT M = WM_CTLCOLORMSGBOX; M <= WM_CTLCOLORSTATIC; ++M) T[M] = OnCtlColor;
    return T;
  }();
  return Table;
}

}  // namespace

TNcPrintHook NcPrintHook = nullptr;

TDefWindowProcHandler SetDefWindowProcHandler(UINT Msg, TDefWindowProcHandler Handler) {
  if (Msg >= WM_USER) return nullptr;
  const TDefWindowProcHandler Old = Handlers()[Msg];
  Handlers()[Msg] = Handler;
  return Old;
}

TDefWindowProcHandler GetDefWindowProcHandler(UINT Msg) {
  return Msg < WM_USER ? Handlers()[Msg] : nullptr;
}

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg >= WM_USER) return 0;
  const TDefWindowProcHandler H = Handlers()[Msg];
  if (H == nullptr) return 0;
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  return H(W, Msg, WParam, LParam);
}
