// Creating and destroying windows, and the frame geometry they are created with.
#include <algorithm>
#include <cstring>

#include "platform/system/KernelObjects.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Threads.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

// Never destroyed: windows destroyed without a later message pump stay listed (and reachable)
// through the program's exit.
std::vector<TWindow*>& DestroyedWindows() {
  static auto* List = new std::vector<TWindow*>;
  return *List;
}

void NotifyParents(TWindow* W, UINT Event) {
  // Each parent in turn, while the window notifying is a child without WS_EX_NOPARENTNOTIFY.
  const HWND Origin = W->Handle;
  const WPARAM WParam = MAKEWPARAM(static_cast<Integer>(Event), static_cast<Integer>(W->Id));
  for (TWindow* C = W; C != nullptr && (C->Style & WS_CHILD) && !(C->ExStyle & WS_EX_NOPARENTNOTIFY);) {
    TWindow* P = C->Parent;
    if (P == nullptr || P->Parent == nullptr) break;
    const HWND PH = P->Handle;
    SendTo(P, WM_PARENTNOTIFY, WParam, reinterpret_cast<LPARAM>(Origin));
    C = PeekWindow(PH);
  }
}

void SendDestroyMessages(HWND H) {
  TWindow* W = PeekWindow(H);
  if (W == nullptr) return;
  W->Destroying = true;
  SendTo(W, WM_DESTROY, 0, 0);
  if ((W = PeekWindow(H)) == nullptr) return;
  std::vector<HWND> Kids;
  for (TWindow* C : W->Children) Kids.push_back(C->Handle);
  for (HWND K : Kids) SendDestroyMessages(K);
}

// Children first, then the window: WM_NCDESTROY, then the object leaves the tree.
void FreeWindow(HWND H) {
  TWindow* W = PeekWindow(H);
  if (W == nullptr) return;
  W->Destroying = true;
  std::vector<HWND> Kids;
  for (TWindow* C : W->Children) Kids.push_back(C->Handle);
  for (HWND K : Kids) FreeWindow(K);
  if ((W = PeekWindow(H)) == nullptr) return;
  SendTo(W, WM_NCDESTROY, 0, 0);
  if ((W = PeekWindow(H)) == nullptr) return;
  RemoveWindowTimers(H);
  if (W->InPaintList) {
    W->UpdateRgn.SetEmpty();
    W->NeedErase = W->NeedNcPaint = W->InternalPaint = false;
    UpdatePaintState(W);
  }
  // Windows it still owns (not destroyed through it) lose their owner.
  for (TWindow* T : DesktopWindow()->Children)
    if (T->Owner == W) T->Owner = nullptr;
  if (LockedWindow() == W) LockedWindow() = nullptr;
  UnlinkWindow(W);
  ReleaseWindowHandle(W);
  RefreshWindowDCs();
  W->Class->Windows--;
  DestroyedWindows().push_back(W);
}

Integer CascadeIndex = 0;

}  // namespace

void FreeDestroyedWindows() {
  auto& L = DestroyedWindows();
  if (L.empty()) return;
  std::vector<TWindow*> Gone;
  Gone.swap(L);
  for (TWindow* W : Gone) delete W;
}

TRect FrameInsets(DWORD Style, DWORD ExStyle) {
  TRect I{0, 0, 0, 0};
  auto Grow = [&](Integer X, Integer Y) {
    I.Left += X;
    I.Right += X;
    I.Top += Y;
    I.Bottom += Y;
  };
  // The outer frame: sizing, dialog or thin border.
  const bool Thick = (Style & WS_THICKFRAME) != 0;
  const bool Dialog = (ExStyle & WS_EX_DLGMODALFRAME) || (Style & WS_DLGFRAME);
  if (Thick)
    Grow(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME));
  else if (Dialog)
    Grow(GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME));
  else if (Style & WS_BORDER)
    Grow(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
  if ((Style & WS_CAPTION) == WS_CAPTION)
    I.Top += GetSystemMetrics((ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  // The inner edges and scroll bars.
  if (ExStyle & WS_EX_CLIENTEDGE) Grow(GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
  if (ExStyle & WS_EX_STATICEDGE) Grow(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
  if (Style & WS_VSCROLL) I.Right += GetSystemMetrics(SM_CXVSCROLL);
  if (Style & WS_HSCROLL) I.Bottom += GetSystemMetrics(SM_CYHSCROLL);
  return I;
}

BOOL AdjustWindowRectEx(RECT* Rect, DWORD Style, BOOL Menu, DWORD ExStyle) {
  if (Rect == nullptr) return FALSE;
  // Scroll bars are not part of the adjustment, as on the platform.
  const TRect I = FrameInsets(Style & ~(WS_VSCROLL | WS_HSCROLL), ExStyle);
  Rect->Left -= I.Left;
  Rect->Top -= I.Top;
  Rect->Right += I.Right;
  Rect->Bottom += I.Bottom;
  if (Menu) Rect->Top -= GetSystemMetrics(SM_CYMENU);
  return TRUE;
}

TRect CalcClientRect(TWindow* W, const TRect& NewRect, WINDOWPOS* Pos) {
  const HWND H = W->Handle;
  TRect Client;
  if (Pos == nullptr) {
    RECT R = NewRect;
    SendTo(W, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&R));
    Client = R;
  } else {
    NCCALCSIZE_PARAMS P;
    P.rgrc[0] = NewRect;
    P.rgrc[1] = W->Rect;
    P.rgrc[2] = W->Client;
    P.lppos = Pos;
    SendTo(W, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&P));
    Client = P.rgrc[0];
  }
  if (PeekWindow(H) == nullptr) return NewRect;
  // A client area never leaves the window rectangle.
  Client.Left = std::clamp(Client.Left, NewRect.Left, NewRect.Right);
  Client.Right = std::clamp(Client.Right, Client.Left, NewRect.Right);
  Client.Top = std::clamp(Client.Top, NewRect.Top, NewRect.Bottom);
  Client.Bottom = std::clamp(Client.Bottom, Client.Top, NewRect.Bottom);
  return Client;
}

HWND CreateWindowEx(DWORD ExStyle, LPCSTR ClassName, LPCSTR WindowName, DWORD Style, Integer X, Integer Y,
                    Integer Width, Integer Height, HWND ParentWnd, HMENU Menu, HINSTANCE Instance,
                    void* Param) {
  if (!IsMainThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return nullptr;
  }
  StartWindowLayer();
  TWindowClass* Class = FindWindowClass(ClassName);
  if (Class == nullptr) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  TWindow* Parent = DesktopWindow();
  TWindow* Owner = nullptr;
  if (ParentWnd == HWND_MESSAGE) {
    Parent = MessageRootWindow();
  } else if (Style & WS_CHILD) {
    if (ParentWnd == nullptr) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
    Parent = WindowFromHandle(ParentWnd);
    if (Parent == nullptr) return nullptr;
  } else if (ParentWnd != nullptr) {
    Owner = WindowFromHandle(ParentWnd);
    if (Owner == nullptr) return nullptr;
    Owner = TopLevelOf(Owner);
    if (Owner == DesktopWindow()) Owner = nullptr;
  }
  const bool TopLevel = Parent->Parent == nullptr;

  // The platform's style fix-ups.
  if (TopLevel) {
    Style |= WS_CLIPSIBLINGS;
    if (!(Style & WS_POPUP)) Style |= WS_CAPTION;
  }
  if ((ExStyle & WS_EX_DLGMODALFRAME) || (Style & WS_THICKFRAME) || (Style & WS_CAPTION) == WS_DLGFRAME ||
      ((Style & WS_CAPTION) == WS_CAPTION))
    ExStyle |= WS_EX_WINDOWEDGE;
  else
    ExStyle &= ~WS_EX_WINDOWEDGE;

  // Default positions and sizes.
  const TRect Work = WorkArea();
  if (X == CW_USEDEFAULT) {
    if (TopLevel && !(Style & WS_POPUP)) {
      const Integer Step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
      X = Work.Left + Step * (CascadeIndex % 8);
      Y = Work.Top + Step * (CascadeIndex % 8);
      ++CascadeIndex;
    } else {
      X = Y = 0;
    }
  }
  if (Width == CW_USEDEFAULT) {
    if (TopLevel && !(Style & WS_POPUP)) {
      Width = Work.Width() * 3 / 4;
      Height = Work.Height() * 3 / 4;
    } else {
      Width = Height = 0;
    }
  }

  auto* W = new TWindow;
  W->Class = Class;
  Class->Windows++;
  W->WndProc = Class->WndProc;
  const DWORD Requested = Style;
  W->Style = Style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  W->ExStyle = ExStyle;
  W->Id = reinterpret_cast<LONG_PTR>(Menu);
  W->Instance = Instance;
  W->Owner = Owner;
  W->ThreadId = GetCurrentThreadId();
  W->Extra.assign(static_cast<std::size_t>(Class->WndExtra), 0);
  AllocateWindowHandle(W);
  const HWND H = W->Handle;
  // New top-level windows go on top; new children go below their siblings, so that creation
  // order is z-order and tab order, as dialogs and grouped buttons expect.
  const bool Child = (Style & WS_CHILD) && Parent != DesktopWindow();
  LinkWindow(W, Parent, (ExStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : Child ? HWND_BOTTOM : HWND_TOP);

  CREATESTRUCT CS;
  CS.lpCreateParams = Param;
  CS.hInstance = Instance;
  CS.hMenu = Menu;
  CS.hwndParent = TopLevel ? (Owner != nullptr ? Owner->Handle : nullptr) : Parent->Handle;
  CS.x = X;
  CS.y = Y;
  CS.cx = Width;
  CS.cy = Height;
  CS.style = static_cast<LONG>(Requested);
  CS.lpszName = WindowName;
  CS.lpszClass = ClassName;
  CS.dwExStyle = ExStyle;

  auto Fail = [&]() -> HWND {
    if (PeekWindow(H) != nullptr) DestroyWindow(H);
    return nullptr;
  };

  // A window that fails half-made is destroyed; the paths that return early have lost it already.
  auto Undo = ScopeExit(Fail);
  if (TopLevel || (Style & WS_THICKFRAME)) {
    const MINMAXINFO MM = GetMinMaxInfo(W);
    if (PeekWindow(H) == nullptr) return nullptr;
    CS.cx = std::min(CS.cx, MM.ptMaxTrackSize.X);
    CS.cy = std::min(CS.cy, MM.ptMaxTrackSize.Y);
  }
  CS.cx = std::max(CS.cx, 0);
  CS.cy = std::max(CS.cy, 0);
  W->Rect = W->Client = W->NormalRect = Bounds(CS.x, CS.y, CS.cx, CS.cy);
  if (TopLevel) {
    W->Surface = std::make_unique<TWindowSurface>();
    W->Surface->Resize(CS.cx, CS.cy);
  }
  if (!SendTo(W, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&CS))) {
    // The window never existed for its creator: WM_NCDESTROY only.
    if (PeekWindow(H) != nullptr) FreeWindow(H);
    return nullptr;
  }
  if ((W = PeekWindow(H)) == nullptr) return nullptr;
  W->Client = CalcClientRect(W, W->Rect, nullptr);
  if ((W = PeekWindow(H)) == nullptr) return nullptr;
  if (SendTo(W, WM_CREATE, 0, reinterpret_cast<LPARAM>(&CS)) == -1) return Fail();
  if ((W = PeekWindow(H)) == nullptr) return nullptr;
  if (TopLevel) {
    W->NeedSizeMessages = true;
  } else {
    SendTo(W, WM_SIZE, SIZE_RESTORED, MAKELPARAM(W->Client.Width(), W->Client.Height()));
    if ((W = PeekWindow(H)) == nullptr) return nullptr;
    SendTo(W, WM_MOVE, 0, MAKELPARAM(W->Client.Left, W->Client.Top));
    if ((W = PeekWindow(H)) == nullptr) return nullptr;
  }
  if ((Requested & (WS_MINIMIZE | WS_MAXIMIZE)) && !(Requested & WS_VISIBLE)) {
    // Created minimized or maximized but hidden: the state is taken now.
    const TRect R = MinMaximize(W, (Requested & WS_MINIMIZE) ? SW_MINIMIZE : SW_MAXIMIZE);
    SetWindowPos(H, nullptr, R.Left, R.Top, R.Width(), R.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_STATECHANGED);
    if ((W = PeekWindow(H)) == nullptr) return nullptr;
  }
  NotifyParents(W, WM_CREATE);
  if ((W = PeekWindow(H)) == nullptr) return nullptr;
  NotifyWindowEvent(W, TWindowEvent::Created);
  if ((W = PeekWindow(H)) == nullptr) return nullptr;
  if (Requested & WS_VISIBLE) {
    const Integer Cmd = (Requested & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                        : (Requested & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                    : SW_SHOW;
    ShowWindow(H, Cmd);
    if (PeekWindow(H) == nullptr) return nullptr;
  }
  Undo.Release();
  return H;
}

BOOL DestroyWindow(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || W->Parent == nullptr) return FALSE;
  if (W->Destroying) return TRUE;
  W->Destroying = true;
  NotifyWindowEvent(W, TWindowEvent::Destroying);
  if ((W = PeekWindow(Wnd)) == nullptr) return TRUE;
  const bool TopLevel = IsTopLevel(W);
  if (!TopLevel && !(W->ExStyle & WS_EX_NOPARENTNOTIFY)) {
    NotifyParents(W, WM_DESTROY);
    if ((W = PeekWindow(Wnd)) == nullptr) return TRUE;
  }
  if (W->Style & WS_VISIBLE) {
    if (!TopLevel)
      ShowWindow(Wnd, SW_HIDE);
    else
      SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if ((W = PeekWindow(Wnd)) == nullptr) return TRUE;
  }
  if (TopLevel) {
    // Owned windows go first.
    for (;;) {
      TWindow* Owned = nullptr;
      for (TWindow* T : W->Parent->Children)
        if (T->Owner == W && !T->Destroying) {
          Owned = T;
          break;
        }
      if (Owned == nullptr) break;
      DestroyWindow(Owned->Handle);
      if ((W = PeekWindow(Wnd)) == nullptr) return TRUE;
    }
  }
  SendDestroyMessages(Wnd);
  if ((W = PeekWindow(Wnd)) == nullptr) return TRUE;
  TWindow* Parent = W->Parent;
  const TRect Rect = W->Rect;
  FreeWindow(Wnd);
  if (Parent == DesktopWindow()) DamageScreen(Rect);
  return TRUE;
}
