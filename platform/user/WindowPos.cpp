// SetWindowPos and what is built on it: moving, sizing, z-order, showing, minimizing and
// maximizing, placement, coordinate mapping, window regions and deferred positioning.
#include "platform/user/WindowPos.h"

#include <algorithm>
#include <memory>
#include <set>

#include "platform/gdi/GdiObjects.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

// The area a window covered in its parent (parent-client coordinates... as window coordinates
// of the parent's client area) is repainted by the parent, or recomposed on the screen.
void ExposeArea(TWindow* Parent, const TRect& R, const std::optional<TRegionData>& Shape) {
  if (Parent == nullptr) return;
  if (Parent == DesktopWindow()) {
    DamageScreen(R);
    return;
  }
  if (Parent->Parent == nullptr) return;  // message-only windows show nothing
  TRegionData Area(R);
  if (Shape) {
    TRegionData S = *Shape;
    S.Offset(R.Left, R.Top);
    Area.Combine(Area, S, RGN_AND);
  }
  const TRect C = ClientInWindow(Parent);
  Area.Offset(C.Left, C.Top);
  InvalidateWindowRegion(Parent, Area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

TRect MinimizedSlot(TWindow* W) {
  // The first free slot of the strip along the bottom of the work area (or of the parent's
  // client area for child windows).
  const TRect Area =
      IsTopLevel(W) ? WorkArea() : TRect{0, 0, W->Parent->Client.Width(), W->Parent->Client.Height()};
  const Integer CX = GetSystemMetrics(SM_CXMINIMIZED), CY = GetSystemMetrics(SM_CYMINIMIZED);
  const Integer PerRow = std::max(1, Area.Width() / CX);
  std::set<std::pair<Integer, Integer>> Taken;
  for (TWindow* S : W->Parent->Children)
    if (S != W && (S->Style & WS_MINIMIZE)) Taken.insert({S->Rect.Left, S->Rect.Top});
  for (Integer I = 0;; ++I) {
    const Integer X = Area.Left + (I % PerRow) * CX;
    const Integer Y = Area.Bottom - (I / PerRow + 1) * CY;
    if (!Taken.count({X, Y}) || I > 1000) return TRect{X, Y, X + CX, Y + CY};
  }
}

struct TDeferList {
  std::vector<WINDOWPOS> Items;
};

std::set<TDeferList*>& DeferLists() {
  static std::set<TDeferList*> Lists;
  return Lists;
}

}  // namespace

MINMAXINFO GetMinMaxInfo(TWindow* W) {
  MINMAXINFO MM;
  // The outer frame hangs outside the work area when maximized.
  Integer XInc = 0, YInc = 0;
  if (W->Style & WS_THICKFRAME)
    XInc = GetSystemMetrics(SM_CXFRAME), YInc = GetSystemMetrics(SM_CYFRAME);
  else if ((W->ExStyle & WS_EX_DLGMODALFRAME) || (W->Style & WS_DLGFRAME))
    XInc = GetSystemMetrics(SM_CXDLGFRAME), YInc = GetSystemMetrics(SM_CYDLGFRAME);
  else if (W->Style & WS_BORDER)
    XInc = GetSystemMetrics(SM_CXBORDER), YInc = GetSystemMetrics(SM_CYBORDER);
  const TRect Area =
      IsTopLevel(W) ? WorkArea() : TRect{0, 0, W->Parent->Client.Width(), W->Parent->Client.Height()};
  MM.ptReserved = {W->Rect.Left, W->Rect.Top};
  MM.ptMaxSize = {Area.Width() + 2 * XInc, Area.Height() + 2 * YInc};
  MM.ptMaxPosition = {-XInc, -YInc};
  MM.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  MM.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendTo(W, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&MM));
  MM.ptMaxTrackSize.X = std::max(MM.ptMaxTrackSize.X, MM.ptMinTrackSize.X);
  MM.ptMaxTrackSize.Y = std::max(MM.ptMaxTrackSize.Y, MM.ptMinTrackSize.Y);
  return MM;
}

TRect MinMaximize(TWindow* W, Integer Cmd) {
  const bool Normal = !(W->Style & (WS_MINIMIZE | WS_MAXIMIZE));
  if (Normal) W->NormalRect = W->Rect;
  switch (Cmd) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: {
      if (W->Style & WS_MINIMIZE) return W->Rect;
      W->RestoreToMaximized = (W->Style & WS_MAXIMIZE) != 0;
      W->Style = (W->Style & ~WS_MAXIMIZE) | WS_MINIMIZE;
      const TRect R = MinimizedSlot(W);
      W->MinPosition = R.TopLeft();
      return R;
    }
    case SW_MAXIMIZE: {
      const HWND H = W->Handle;
      const MINMAXINFO MM = GetMinMaxInfo(W);
      if ((W = PeekWindow(H)) == nullptr) return {};
      W->Style = (W->Style & ~WS_MINIMIZE) | WS_MAXIMIZE;
      const TRect Area = IsTopLevel(W) ? WorkArea() : TRect{0, 0, 0, 0};
      W->MaxPosition = MM.ptMaxPosition;
      return Bounds(Area.Left + MM.ptMaxPosition.X, Area.Top + MM.ptMaxPosition.Y, MM.ptMaxSize.X,
                    MM.ptMaxSize.Y);
    }
    default:  // restore
      if ((W->Style & WS_MINIMIZE) && W->RestoreToMaximized) {
        W->Style = (W->Style & ~WS_MINIMIZE) | WS_MAXIMIZE;  // keeps the normal rectangle
        return MinMaximize(W, SW_MAXIMIZE);
      }
      W->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
      return W->NormalRect;
  }
}

BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, Integer X, Integer Y, Integer Cx, Integer Cy, UINT Flags) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || W->Parent == nullptr) return FALSE;
  const bool TopLevel = IsTopLevel(W);
  WINDOWPOS Pos{Wnd, InsertAfter, X, Y, std::max(Cx, 0), std::max(Cy, 0), Flags & ~SWP_ASYNCWINDOWPOS};
  // Flags the platform fixes before anything is sent.
  if (W->Style & WS_VISIBLE)
    Pos.flags &= ~SWP_SHOWWINDOW;
  else
    Pos.flags &= ~SWP_HIDEWINDOW;
  if ((Pos.flags & SWP_SHOWWINDOW) && (Pos.flags & SWP_HIDEWINDOW)) Pos.flags &= ~SWP_HIDEWINDOW;
  if (Pos.cx == W->Rect.Width() && Pos.cy == W->Rect.Height()) Pos.flags |= SWP_NOSIZE;
  if (Pos.x == W->Rect.Left && Pos.y == W->Rect.Top) Pos.flags |= SWP_NOMOVE;
  if (!(Pos.flags & SWP_NOZORDER)) {
    if (InsertAfter == Wnd)
      Pos.flags |= SWP_NOZORDER;
    else if (!TopLevel && (InsertAfter == HWND_TOPMOST || InsertAfter == HWND_NOTOPMOST))
      Pos.hwndInsertAfter = HWND_TOP;
    else if (InsertAfter != HWND_TOP && InsertAfter != HWND_BOTTOM && InsertAfter != HWND_TOPMOST &&
             InsertAfter != HWND_NOTOPMOST) {
      TWindow* S = PeekWindow(InsertAfter);
      if (S == nullptr || S->Parent != W->Parent) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
    }
  }
  if (!(Pos.flags & SWP_NOSENDCHANGING)) {
    SendTo(W, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&Pos));
    if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
    Pos.cx = std::max(Pos.cx, 0);
    Pos.cy = std::max(Pos.cy, 0);
  }
  const TRect OldRect = W->Rect, OldClient = W->Client;
  const bool WasVisible = W->Style & WS_VISIBLE;
  TRect NewRect = OldRect;
  if (!(Pos.flags & SWP_NOMOVE)) NewRect = Bounds(Pos.x, Pos.y, NewRect.Width(), NewRect.Height());
  if (!(Pos.flags & SWP_NOSIZE)) NewRect.Right = NewRect.Left + Pos.cx, NewRect.Bottom = NewRect.Top + Pos.cy;
  TRect NewClient;
  if (!(Pos.flags & SWP_NOSIZE) || (Pos.flags & SWP_FRAMECHANGED)) {
    NewClient = CalcClientRect(W, NewRect, &Pos);
    if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
  } else {
    const Integer Dx = NewRect.Left - OldRect.Left, Dy = NewRect.Top - OldRect.Top;
    NewClient = TRect{OldClient.Left + Dx, OldClient.Top + Dy, OldClient.Right + Dx, OldClient.Bottom + Dy};
  }
  const std::optional<TRegionData> OldShape = W->WindowRgn;
  W->Rect = NewRect;
  W->Client = NewClient;
  if (!(Pos.flags & SWP_NOZORDER)) {
    LinkWindow(W, W->Parent, Pos.hwndInsertAfter, !(Pos.flags & SWP_NOOWNERZORDER));
    if (TopLevel) NotifyWindowEvent(W, TWindowEvent::ZOrderChanged);
    if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
  }
  if (Pos.flags & SWP_SHOWWINDOW) W->Style |= WS_VISIBLE;
  if (Pos.flags & SWP_HIDEWINDOW) W->Style &= ~WS_VISIBLE;
  const bool Visible = W->Style & WS_VISIBLE;
  const bool Sized = NewRect.Width() != OldRect.Width() || NewRect.Height() != OldRect.Height();
  const bool Moved = NewRect.Left != OldRect.Left || NewRect.Top != OldRect.Top;
  if (TopLevel && W->Surface && Sized && !W->LayeredUpdate)
    W->Surface->Resize(NewRect.Width(), NewRect.Height());
  if (!(OldClient.Width() != NewClient.Width() || OldClient.Height() != NewClient.Height()))
    Pos.flags |= SWP_NOCLIENTSIZE;
  if (OldClient.Left == NewClient.Left && OldClient.Top == NewClient.Top) Pos.flags |= SWP_NOCLIENTMOVE;
  RefreshWindowDCs();

  // Repainting: what the window left is exposed; the window itself is painted afresh where
  // its content is new. A top-level window keeps its pixels when it only moves.
  const bool ZChanged = !(Pos.flags & SWP_NOZORDER);
  if (!(Pos.flags & SWP_NOREDRAW)) {
    if (WasVisible && (Moved || Sized || !Visible || (ZChanged && !TopLevel)))
      ExposeArea(W->Parent, OldRect, OldShape);
    if (Visible) {
      if (TopLevel) DamageScreen(NewRect);
      const bool Fresh =
          !WasVisible || Sized || (Pos.flags & SWP_FRAMECHANGED) || (!TopLevel && (Moved || ZChanged));
      if (Fresh)
        InvalidateWindowRegion(W, TRegionData(TRect{0, 0, NewRect.Width(), NewRect.Height()}),
                               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
  } else if (TopLevel && (WasVisible || Visible)) {
    // The screen still follows a top-level window; nothing is repainted.
    DamageScreen(OldRect);
    DamageScreen(NewRect);
  }
  if (!WasVisible && Visible)
    NotifyWindowEvent(W, TWindowEvent::Shown);
  else if (WasVisible && !Visible)
    NotifyWindowEvent(W, TWindowEvent::Hidden);
  if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
  if (TopLevel && Visible && !(Pos.flags & SWP_NOACTIVATE) && ((Pos.flags & SWP_SHOWWINDOW) || ZChanged))
    NotifyWindowEvent(W, TWindowEvent::ActivateRequested);
  if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
  Pos.x = NewRect.Left;
  Pos.y = NewRect.Top;
  Pos.cx = NewRect.Width();
  Pos.cy = NewRect.Height();
  SendTo(W, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&Pos));
  return TRUE;
}

BOOL MoveWindow(HWND Wnd, Integer X, Integer Y, Integer Width, Integer Height, BOOL Repaint) {
  return SetWindowPos(Wnd, nullptr, X, Y, Width, Height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (Repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND Wnd) {
  return SetWindowPos(Wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND Wnd, Integer Cmd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || W->Parent == nullptr) return FALSE;
  const bool WasVisible = W->Style & WS_VISIBLE;
  const bool Child = !IsTopLevel(W);
  UINT Swp = 0;
  TRect NewRect = W->Rect;
  bool ShowFlag = true;
  switch (Cmd) {
    case SW_HIDE:
      if (!WasVisible) return FALSE;
      ShowFlag = false;
      Swp = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
    case SW_SHOWMINIMIZED:
      Swp = SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_STATECHANGED;
      if (Cmd != SW_SHOWMINIMIZED) Swp |= SWP_NOACTIVATE;
      if (W->Style & WS_MINIMIZE) Swp |= SWP_NOSIZE | SWP_NOMOVE;
      NewRect = MinMaximize(W, Cmd);
      break;
    case SW_SHOWMAXIMIZED:
      Swp = SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_STATECHANGED;
      NewRect = MinMaximize(W, SW_MAXIMIZE);
      break;
    case SW_SHOWNA:
      Swp = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
      if (Child) Swp |= SWP_NOZORDER;
      break;
    case SW_SHOW:
      if (WasVisible) return TRUE;
      Swp = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
      if (Child) Swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWNOACTIVATE:
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
    default:
      Swp = SWP_SHOWWINDOW;
      if (Cmd == SW_SHOWNOACTIVATE) Swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      if (W->Style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        Swp |= SWP_FRAMECHANGED | SWP_STATECHANGED;
        NewRect = MinMaximize(W, SW_RESTORE);
      } else {
        Swp |= SWP_NOSIZE | SWP_NOMOVE;
      }
      if (Child) Swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
  }
  if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
  if (ShowFlag != WasVisible) {
    SendTo(W, WM_SHOWWINDOW, ShowFlag ? TRUE : FALSE, 0);
    if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
  }
  if (Child && !IsReallyVisible(W->Parent)) {
    // Under a hidden parent only the flag changes; the window shows with its parent.
    if (ShowFlag)
      W->Style |= WS_VISIBLE;
    else
      W->Style &= ~WS_VISIBLE;
    if (Swp & SWP_STATECHANGED) {
      W->Rect = NewRect;
      W->Client = CalcClientRect(W, NewRect, nullptr);
    }
  } else {
    SetWindowPos(Wnd, HWND_TOP, NewRect.Left, NewRect.Top, NewRect.Width(), NewRect.Height(), Swp);
  }
  if ((W = PeekWindow(Wnd)) == nullptr) return WasVisible;
  if (!Child && (Swp & SWP_NOACTIVATE) && (W->Style & WS_MINIMIZE) && (W->Style & WS_VISIBLE)) {
    NotifyWindowEvent(W, TWindowEvent::Minimized);
    if ((W = PeekWindow(Wnd)) == nullptr) return WasVisible;
  }
  if (W->NeedSizeMessages && (W->Style & WS_VISIBLE)) {
    // The size messages a top-level window did not get at creation.
    W->NeedSizeMessages = false;
    const WPARAM Type = (W->Style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                        : (W->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                   : SIZE_RESTORED;
    SendTo(W, WM_SIZE, Type, MAKELPARAM(W->Client.Width(), W->Client.Height()));
    if ((W = PeekWindow(Wnd)) == nullptr) return WasVisible;
    SendTo(W, WM_MOVE, 0, MAKELPARAM(W->Client.Left, W->Client.Top));
  }
  return WasVisible ? TRUE : FALSE;
}

BOOL GetWindowPlacement(HWND Wnd, WINDOWPLACEMENT* P) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || P == nullptr) return FALSE;
  P->length = sizeof(WINDOWPLACEMENT);
  P->flags = ((W->Style & WS_MINIMIZE) && W->RestoreToMaximized) ? WPF_RESTORETOMAXIMIZED : 0;
  P->showCmd = (W->Style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
               : (W->Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                          : SW_SHOWNORMAL;
  P->ptMinPosition = W->MinPosition;
  P->ptMaxPosition = W->MaxPosition;
  TRect N = (W->Style & (WS_MINIMIZE | WS_MAXIMIZE)) ? W->NormalRect : W->Rect;
  if (IsTopLevel(W)) {
    // Workspace coordinates: relative to the work area.
    const TRect Work = WorkArea();
    N = TRect{N.Left - Work.Left, N.Top - Work.Top, N.Right - Work.Left, N.Bottom - Work.Top};
  }
  P->rcNormalPosition = N;
  return TRUE;
}

BOOL SetWindowPlacement(HWND Wnd, const WINDOWPLACEMENT* P) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || P == nullptr) return FALSE;
  TRect N = P->rcNormalPosition;
  if (IsTopLevel(W)) {
    const TRect Work = WorkArea();
    N = TRect{N.Left + Work.Left, N.Top + Work.Top, N.Right + Work.Left, N.Bottom + Work.Top};
  }
  W->NormalRect = N;
  if (P->flags & WPF_SETMINPOSITION) W->MinPosition = P->ptMinPosition;
  W->RestoreToMaximized = (P->flags & WPF_RESTORETOMAXIMIZED) != 0;
  if (!(W->Style & (WS_MINIMIZE | WS_MAXIMIZE)))
    SetWindowPos(Wnd, nullptr, N.Left, N.Top, N.Width(), N.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (PeekWindow(Wnd) == nullptr) return FALSE;
  ShowWindow(Wnd, static_cast<Integer>(P->showCmd));
  return TRUE;
}

// ---- Coordinates --------------------------------------------------------------------------

BOOL GetWindowRect(HWND Wnd, RECT* Rect) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Rect == nullptr) return FALSE;
  const TPoint O = WindowOriginOnScreen(W);
  *Rect = Bounds(O.X, O.Y, W->Rect.Width(), W->Rect.Height());
  return TRUE;
}

BOOL GetClientRect(HWND Wnd, RECT* Rect) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Rect == nullptr) return FALSE;
  *Rect = TRect{0, 0, W->Client.Width(), W->Client.Height()};
  return TRUE;
}

BOOL ClientToScreen(HWND Wnd, POINT* P) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || P == nullptr) return FALSE;
  const TPoint O = ClientOriginOnScreen(W);
  P->X += O.X;
  P->Y += O.Y;
  return TRUE;
}

BOOL ScreenToClient(HWND Wnd, POINT* P) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || P == nullptr) return FALSE;
  const TPoint O = ClientOriginOnScreen(W);
  P->X -= O.X;
  P->Y -= O.Y;
  return TRUE;
}

Integer MapWindowPoints(HWND From, HWND To, POINT* Points, UINT Count) {
  TPoint A{0, 0}, B{0, 0};
  if (From != nullptr) {
    TWindow* W = WindowFromHandle(From);
    if (W == nullptr) return 0;
    A = ClientOriginOnScreen(W);
  }
  if (To != nullptr) {
    TWindow* W = WindowFromHandle(To);
    if (W == nullptr) return 0;
    B = ClientOriginOnScreen(W);
  }
  const Integer Dx = A.X - B.X, Dy = A.Y - B.Y;
  for (UINT I = 0; Points != nullptr && I < Count; ++I) {
    Points[I].X += Dx;
    Points[I].Y += Dy;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<Integer>(MAKELONG(static_cast<WORD>(Dx), static_cast<WORD>(Dy)));
}

// ---- Hit testing --------------------------------------------------------------------------

namespace {

// P in the parent's client coordinates.
bool PointInWindow(const TWindow* W, TPoint P) {
  if (!(W->Style & WS_VISIBLE)) return false;
  if ((W->ExStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT)) return false;
  if (P.X < W->Rect.Left || P.X >= W->Rect.Right || P.Y < W->Rect.Top || P.Y >= W->Rect.Bottom) return false;
  return !W->WindowRgn || W->WindowRgn->Contains(P.X - W->Rect.Left, P.Y - W->Rect.Top);
}

void CollectAt(const TWindow* Parent, TPoint P, std::vector<HWND>& Out) {
  for (const TWindow* C : Parent->Children) {
    if (!PointInWindow(C, P)) continue;
    const bool InClient =
        P.X >= C->Client.Left && P.X < C->Client.Right && P.Y >= C->Client.Top && P.Y < C->Client.Bottom;
    if (InClient && !(C->Style & (WS_MINIMIZE | WS_DISABLED)))
      CollectAt(C, TPoint{P.X - C->Client.Left, P.Y - C->Client.Top}, Out);
    Out.push_back(C->Handle);
  }
}

}  // namespace

std::vector<HWND> WindowsAtPoint(TPoint Screen) {
  std::vector<HWND> List;
  CollectAt(DesktopWindow(), Screen, List);
  return List;
}

HWND WindowFromPoint(POINT Pt) {
  for (HWND H : WindowsAtPoint(Pt)) {
    TWindow* W = PeekWindow(H);
    if (W == nullptr) continue;
    if (SendTo(W, WM_NCHITTEST, 0, MAKELPARAM(Pt.X, Pt.Y)) != HTTRANSPARENT) return H;
  }
  return nullptr;
}

HWND ChildWindowFromPointEx(HWND Parent, POINT Pt, UINT Flags) {
  TWindow* P = WindowFromHandle(Parent);
  if (P == nullptr) return nullptr;
  if (Pt.X < 0 || Pt.Y < 0 || Pt.X >= P->Client.Width() || Pt.Y >= P->Client.Height()) return nullptr;
  for (TWindow* C : P->Children) {
    if (Pt.X < C->Rect.Left || Pt.X >= C->Rect.Right || Pt.Y < C->Rect.Top || Pt.Y >= C->Rect.Bottom)
      continue;
    if (C->WindowRgn && !C->WindowRgn->Contains(Pt.X - C->Rect.Left, Pt.Y - C->Rect.Top)) continue;
    if ((Flags & CWP_SKIPINVISIBLE) && !(C->Style & WS_VISIBLE)) continue;
    if ((Flags & CWP_SKIPDISABLED) && (C->Style & WS_DISABLED)) continue;
    if ((Flags & CWP_SKIPTRANSPARENT) && (C->ExStyle & WS_EX_TRANSPARENT)) continue;
    return C->Handle;
  }
  return Parent;
}

HWND ChildWindowFromPoint(HWND Parent, POINT Pt) {
  return ChildWindowFromPointEx(Parent, Pt, CWP_ALL);
}

// ---- Window regions -----------------------------------------------------------------------

Integer SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  const bool Visible = IsReallyVisible(W);
  const TRect Old = W->Rect;
  const std::optional<TRegionData> OldShape = W->WindowRgn;
  if (Rgn != nullptr) {
    W->WindowRgn = Rgn->Data;
    DeleteObject(Rgn);  // the window owns the region from now on
  } else {
    W->WindowRgn.reset();
  }
  SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                   (Redraw ? 0 : SWP_NOREDRAW));
  if ((W = PeekWindow(Wnd)) != nullptr && Visible && Redraw) ExposeArea(W->Parent, Old, OldShape);
  RefreshWindowDCs();
  return 1;
}

Integer GetWindowRgn(HWND Wnd, HRGN Rgn) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Rgn == nullptr || !W->WindowRgn) return ERROR;
  Rgn->Data = *W->WindowRgn;
  return Rgn->Data.Complexity();
}

Integer GetWindowRgnBox(HWND Wnd, RECT* Rect) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Rect == nullptr || !W->WindowRgn) return ERROR;
  *Rect = W->WindowRgn->Box();
  return W->WindowRgn->Complexity();
}

// ---- Deferred positioning -----------------------------------------------------------------

HDWP BeginDeferWindowPos(Integer NumWindows) {
  if (NumWindows < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* L = new TDeferList;
  L->Items.reserve(static_cast<std::size_t>(NumWindows));
  DeferLists().insert(L);
  return reinterpret_cast<HDWP>(L);
}

HDWP DeferWindowPos(HDWP Info, HWND Wnd, HWND InsertAfter, Integer X, Integer Y, Integer Cx, Integer Cy,
                    UINT Flags) {
  auto* L = reinterpret_cast<TDeferList*>(Info);
  if (!DeferLists().count(L)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (WindowFromHandle(Wnd) == nullptr) {
    // The platform frees the whole list when one entry is bad.
    DeferLists().erase(L);
    delete L;
    return nullptr;
  }
  // A window given twice keeps one entry, updated by the later call.
  for (WINDOWPOS& P : L->Items)
    if (P.hwnd == Wnd) {
      if (!(Flags & SWP_NOZORDER)) P.hwndInsertAfter = InsertAfter, P.flags &= ~SWP_NOZORDER;
      if (!(Flags & SWP_NOMOVE)) P.x = X, P.y = Y, P.flags &= ~SWP_NOMOVE;
      if (!(Flags & SWP_NOSIZE)) P.cx = Cx, P.cy = Cy, P.flags &= ~SWP_NOSIZE;
      P.flags |= Flags & ~(SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
      return Info;
    }
  L->Items.push_back(WINDOWPOS{Wnd, InsertAfter, X, Y, Cx, Cy, Flags});
  return Info;
}

BOOL EndDeferWindowPos(HDWP Info) {
  auto* L = reinterpret_cast<TDeferList*>(Info);
  if (!DeferLists().count(L)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DeferLists().erase(L);
  std::unique_ptr<TDeferList> Owned(L);
  BOOL Ok = TRUE;
  for (const WINDOWPOS& P : L->Items)
    if (!SetWindowPos(P.hwnd, P.hwndInsertAfter, P.x, P.y, P.cx, P.cy, P.flags)) Ok = FALSE;
  return Ok;
}
