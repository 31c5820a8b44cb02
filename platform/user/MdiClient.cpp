// The MDI client window and the default procedure of its children.
#include "platform/user/MdiClient.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/gdi/SysColors.h"
#include "platform/user/Input.h"
#include "platform/user/NativeControlCommon.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"
#include "platform/user/WndProc.h"

namespace {

struct TMdiClientState {
  std::vector<HWND> Children;  // z-order, the active one first
  HWND Active = nullptr;
};

std::map<HWND, TMdiClientState> Clients;

TMdiClientState& StateOf(HWND Client) {
  return Clients[Client];
}

// Children destroyed without WM_MDIDESTROY drop out here.
void Prune(HWND Client, TMdiClientState& S) {
  std::erase_if(S.Children, [&](HWND C) { return !IsWindow(C) || GetParent(C) != Client; });
  if (S.Active != nullptr && std::find(S.Children.begin(), S.Children.end(), S.Active) == S.Children.end())
    S.Active = nullptr;
}

// The children that take part in switching and arranging, in z-order.
std::vector<HWND> ShownChildren(const TMdiClientState& S, bool SkipDisabled = false) {
  std::vector<HWND> Result;
  for (HWND C : S.Children)
    if (IsWindowVisible(C) && (!SkipDisabled || IsWindowEnabled(C))) Result.push_back(C);
  return Result;
}

void MoveToFront(TMdiClientState& S, HWND Child) {
  std::erase(S.Children, Child);
  S.Children.insert(S.Children.begin(), Child);
}

LRESULT Activate(HWND Client, HWND Child) {
  TMdiClientState& S = StateOf(Client);
  Prune(Client, S);
  if (Child == nullptr || std::find(S.Children.begin(), S.Children.end(), Child) == S.Children.end())
    return 0;
  const HWND Old = S.Active;
  MoveToFront(S, Child);
  SetWindowPos(Child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (Old == Child) return 0;
  S.Active = Child;
  // A maximized child hands its state on: the new one shows maximized, the old one restored.
  if (Old != nullptr && IsZoomed(Old)) {
    ShowWindow(Child, SW_SHOWMAXIMIZED);
    ShowWindow(Old, SW_RESTORE);
  }
  if (Old != nullptr) SendMessage(Old, WM_NCACTIVATE, FALSE, 0);
  SendMessage(Child, WM_NCACTIVATE, TRUE, 0);
  if (Old != nullptr)
    SendMessage(Old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Old), reinterpret_cast<LPARAM>(Child));
  SendMessage(Child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Old), reinterpret_cast<LPARAM>(Child));
  // The keyboard goes to the child unless it is inside it already.
  const HWND Frame = GetParent(Client);
  const HWND Focus = GetFocus();
  if (Frame != nullptr && GetActiveWindow() == Frame && Focus != Child && !IsChild(Child, Focus))
    SetFocus(Child);
  return 0;
}

LRESULT Create(HWND Client, const MDICREATESTRUCT* CS) {
  if (CS == nullptr) return 0;
  TMdiClientState& S = StateOf(Client);
  Prune(Client, S);
  RECT Area;
  GetClientRect(Client, &Area);
  // Default places step down from the top left, one caption apart.
  const Integer Step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const Integer Slot = static_cast<Integer>(S.Children.size()) % 8;
  const Integer X = CS->x == CW_USEDEFAULT ? Slot * Step : CS->x;
  const Integer Y = CS->y == CW_USEDEFAULT ? Slot * Step : CS->y;
  const Integer Cx = CS->cx == CW_USEDEFAULT ? Area.Width() * 3 / 4 : CS->cx;
  const Integer Cy = CS->cy == CW_USEDEFAULT ? Area.Height() * 3 / 4 : CS->cy;
  const DWORD Style = (CS->style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
  const HWND Child = CreateWindowEx(WS_EX_MDICHILD, CS->szClass, CS->szTitle, Style, X, Y, Cx, Cy, Client,
                                    nullptr, nullptr, reinterpret_cast<void*>(CS->lParam));
  if (Child == nullptr) return 0;
  S.Children.push_back(Child);
  if (Style & WS_VISIBLE) Activate(Client, Child);
  return reinterpret_cast<LRESULT>(Child);
}

LRESULT Destroy(HWND Client, HWND Child) {
  TMdiClientState& S = StateOf(Client);
  const bool WasActive = S.Active == Child;
  std::erase(S.Children, Child);
  if (WasActive) {
    S.Active = nullptr;
    SendMessage(Child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Child), 0);
  }
  if (IsWindow(Child)) DestroyWindow(Child);
  Prune(Client, S);
  if (WasActive) {
    const std::vector<HWND> Shown = ShownChildren(S);
    if (!Shown.empty()) Activate(Client, Shown.front());
  }
  return 0;
}

LRESULT Next(HWND Client, HWND From, bool Previous) {
  TMdiClientState& S = StateOf(Client);
  Prune(Client, S);
  const std::vector<HWND> Shown = ShownChildren(S, true);
  if (From == nullptr) From = S.Active;
  const auto It = std::find(Shown.begin(), Shown.end(), From);
  if (Shown.size() < 2 || It == Shown.end()) return 0;
  if (Previous) return Activate(Client, Shown.back());
  // The one after it comes forward; it goes to the bottom, so Next cycles through all.
  const HWND Target = std::next(It) != Shown.end() ? *std::next(It) : Shown.front();
  Activate(Client, Target);
  std::erase(S.Children, From);
  S.Children.push_back(From);
  SetWindowPos(From, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return 0;
}

// Arranging restores a maximized child first and leaves minimized ones alone.
std::vector<HWND> ArrangedChildren(HWND Client, bool SkipDisabled) {
  TMdiClientState& S = StateOf(Client);
  Prune(Client, S);
  std::vector<HWND> Result;
  for (HWND C : ShownChildren(S, SkipDisabled)) {
    if (IsIconic(C)) continue;
    if (IsZoomed(C)) ShowWindow(C, SW_RESTORE);
    Result.push_back(C);
  }
  return Result;
}

LRESULT Cascade(HWND Client, WPARAM Flags) {
  const std::vector<HWND> Children = ArrangedChildren(Client, Flags & MDITILE_SKIPDISABLED);
  RECT Area;
  GetClientRect(Client, &Area);
  const Integer Step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const Integer N = static_cast<Integer>(Children.size());
  const Integer Width = std::max(Area.Width() - Step * (N - 1), Area.Width() / 4);
  const Integer Height = std::max(Area.Height() - Step * (N - 1), Area.Height() / 4);
  // The bottom one at the top left, the active one last and in front.
  for (Integer I = 0; I < N; ++I)
    SetWindowPos(Children[static_cast<size_t>(N - 1 - I)], HWND_TOP, I * Step, I * Step, Width, Height,
                 SWP_NOACTIVATE);
  return N > 0;
}

LRESULT Tile(HWND Client, WPARAM Flags) {
  const std::vector<HWND> Children = ArrangedChildren(Client, Flags & MDITILE_SKIPDISABLED);
  RECT Area;
  GetClientRect(Client, &Area);
  const Integer N = static_cast<Integer>(Children.size());
  const bool Rows = (Flags & MDITILE_HORIZONTAL) != 0;
  for (Integer I = 0; I < N; ++I) {
    const HWND C = Children[static_cast<size_t>(I)];
    if (Rows) {
      const Integer Top = Area.Height() * I / N;
      SetWindowPos(C, nullptr, 0, Top, Area.Width(), Area.Height() * (I + 1) / N - Top,
                   SWP_NOACTIVATE | SWP_NOZORDER);
    } else {
      const Integer Left = Area.Width() * I / N;
      SetWindowPos(C, nullptr, Left, 0, Area.Width() * (I + 1) / N - Left, Area.Height(),
                   SWP_NOACTIVATE | SWP_NOZORDER);
    }
  }
  return N > 0;
}

// Minimized children line up along the bottom, left to right.
LRESULT ArrangeIcons(HWND Client) {
  TMdiClientState& S = StateOf(Client);
  Prune(Client, S);
  RECT Area;
  GetClientRect(Client, &Area);
  Integer X = 0;
  for (auto It = S.Children.rbegin(); It != S.Children.rend(); ++It) {
    if (!IsIconic(*It) || !IsWindowVisible(*It)) continue;
    RECT R;
    GetWindowRect(*It, &R);
    SetWindowPos(*It, nullptr, X, Area.Bottom - R.Height(), 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
    X += R.Width();
  }
  return 0;
}

LRESULT MDIClientWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_CREATE:
      StateOf(Wnd);
      return 0;
    case WM_NCDESTROY:
      Clients.erase(Wnd);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_MDICREATE:
      return Create(Wnd, reinterpret_cast<const MDICREATESTRUCT*>(LParam));
    case WM_MDIDESTROY:
      return Destroy(Wnd, reinterpret_cast<HWND>(WParam));
    case WM_MDIACTIVATE:
      return Activate(Wnd, reinterpret_cast<HWND>(WParam));
    case WM_MDIGETACTIVE: {
      TMdiClientState& S = StateOf(Wnd);
      Prune(Wnd, S);
      if (LParam != 0) *reinterpret_cast<BOOL*>(LParam) = S.Active != nullptr && IsZoomed(S.Active);
      return reinterpret_cast<LRESULT>(S.Active);
    }
    case WM_MDIMAXIMIZE:
      ShowWindow(reinterpret_cast<HWND>(WParam), SW_SHOWMAXIMIZED);
      return 0;
    case WM_MDIRESTORE:
      ShowWindow(reinterpret_cast<HWND>(WParam), SW_RESTORE);
      return 0;
    case WM_MDINEXT:
      return Next(Wnd, reinterpret_cast<HWND>(WParam), LParam != 0);
    case WM_MDICASCADE:
      return Cascade(Wnd, WParam);
    case WM_MDITILE:
      return Tile(Wnd, WParam);
    case WM_MDIICONARRANGE:
      return ArrangeIcons(Wnd);
    case WM_MDISETMENU:
    case WM_MDIREFRESHMENU:
      return 0;  // the frame's menu is the class library's
    case WM_SIZE: {
      // A maximized child keeps filling the client.
      TMdiClientState& S = StateOf(Wnd);
      Prune(Wnd, S);
      for (HWND C : S.Children)
        if (IsZoomed(C)) ShowWindow(C, SW_SHOWMAXIMIZED);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterMDIClientClass() {
  RegisterControlClass(MDICLIENT_CLASS, MDIClientWndProc, 0, COLOR_APPWORKSPACE);
}

LRESULT DefMDIChildProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const HWND Client = GetParent(Wnd);
  switch (Msg) {
    case WM_GETMINMAXINFO: {
      const LRESULT Result = DefWindowProc(Wnd, Msg, WParam, LParam);
      auto* Info = reinterpret_cast<MINMAXINFO*>(LParam);
      if (Info == nullptr || Client == nullptr) return Result;
      // Maximized, the frame lies outside the client: the child's client area fills it.
      RECT R;
      GetClientRect(Client, &R);
      AdjustWindowRectEx(&R, static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE)) & ~WS_MAXIMIZE, FALSE,
                         static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_EXSTYLE)));
      Info->ptMaxPosition = {R.Left, R.Top};
      Info->ptMaxSize = {R.Width(), R.Height()};
      Info->ptMaxTrackSize.X = std::max(Info->ptMaxTrackSize.X, R.Width());
      Info->ptMaxTrackSize.Y = std::max(Info->ptMaxTrackSize.Y, R.Height());
      return Result;
    }
    case WM_CHILDACTIVATE:
    case WM_MOUSEACTIVATE:
      // A click on a document window makes it the active one.
      if (Client != nullptr) SendMessage(Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Wnd), 0);
      return Msg == WM_MOUSEACTIVATE ? MA_ACTIVATE : 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}
