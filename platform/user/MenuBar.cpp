// Menu bars in the window frame, item rectangles and hit testing, and the system menu.
#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

void FrameChanged(HWND Wnd) {
  SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The screen origin of the coordinates M's item rectangles are in, when it is shown as Wnd's
// bar or as a popup; false when it is neither.
bool ItemOrigin(HWND Wnd, TMenuObject* M, TPoint& Origin) {
  if (M->PopupWnd != nullptr) {
    if (TWindow* P = PeekWindow(M->PopupWnd)) {
      Origin = ClientOriginOnScreen(P);
      return true;
    }
  }
  TWindow* W = PeekWindow(Wnd);
  if (W == nullptr || WindowMenuBar(W) != M->Handle) return false;
  MenuBarHeight(W, W->Rect.Width());
  Origin = WindowOriginOnScreen(W);
  return true;
}

}  // namespace

BOOL SetMenu(HWND Wnd, HMENU Menu) {
  InstallNonClient();
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return FALSE;
  TMenuObject* M = MenuFromHandle(Menu);
  if (W->IsChild() || (Menu != nullptr && M == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (TMenuObject* Old = MenuFromHandle(WindowMenuBar(W))) Old->BarWnd = nullptr;
  W->Id = reinterpret_cast<LONG_PTR>(Menu);
  if (M != nullptr) {
    M->BarWnd = Wnd;
    MenuChanged(M);
  }
  FrameChanged(Wnd);
  return TRUE;
}

HMENU GetMenu(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || W->IsChild()) return nullptr;
  return reinterpret_cast<HMENU>(W->Id);
}

BOOL DrawMenuBar(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return FALSE;
  TMenuObject* M = MenuFromHandle(WindowMenuBar(W));
  if (M == nullptr) return FALSE;
  MenuChanged(M);
  FrameChanged(Wnd);
  return TRUE;
}

void RedrawMenuBar(TWindow* W) {
  TMenuObject* M = MenuFromHandle(WindowMenuBar(W));
  if (M == nullptr || !IsReallyVisible(W)) return;
  const TNcLayout L = NcLayoutOf(W);
  if (IsEmptyRect(L.MenuBar)) return;
  HDC DC = GetDCEx(W->Handle, nullptr, DCX_WINDOW | DCX_CACHE | DCX_USESTYLE);
  if (DC == nullptr) return;
  DrawMenuBarItems(DC, *M, W->Handle, L.MenuBar);
  ReleaseDC(W->Handle, DC);
}

BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, RECT* Rect) {
  TMenuObject* M = MenuFromHandle(Menu);
  TPoint O;
  if (M == nullptr || Rect == nullptr || Item >= M->Items.size() || !ItemOrigin(Wnd, M, O)) return FALSE;
  *Rect = Moved(M->Items[Item].Rect, O.X, O.Y);
  return TRUE;
}

Integer MenuItemFromPoint(HWND Wnd, HMENU Menu, POINT Screen) {
  TMenuObject* M = MenuFromHandle(Menu);
  TPoint O;
  if (M == nullptr || !ItemOrigin(Wnd, M, O)) return -1;
  const TPoint P{Screen.X - O.X, Screen.Y - O.Y};
  for (std::size_t I = 0; I < M->Items.size(); ++I)
    if (InRect(M->Items[I].Rect, P)) return static_cast<Integer>(I);
  return -1;
}

HMENU GetSystemMenu(HWND Wnd, BOOL Revert) {
  InstallNonClient();
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return nullptr;
  TNcState& S = NcStateOf(W);
  if (Revert) {
    if (S.SystemMenu != nullptr) DestroyMenu(S.SystemMenu);
    S.SystemMenu = nullptr;
    return nullptr;
  }
  if (S.SystemMenu != nullptr && IsMenu(S.SystemMenu)) return S.SystemMenu;
  const HMENU M = CreatePopupMenu();
  AppendMenu(M, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(M, MF_STRING, SC_MOVE, "&Move");
  AppendMenu(M, MF_STRING, SC_SIZE, "&Size");
  AppendMenu(M, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenu(M, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(M, MF_SEPARATOR, 0, nullptr);
  AppendMenu(M, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  SetMenuDefaultItem(M, static_cast<UINT>(SC_CLOSE), FALSE);
  MenuFromHandle(M)->System = true;
  S.SystemMenu = M;
  return M;
}

void UpdateSystemMenu(TWindow* W, HMENU Menu) {
  const DWORD Style = W->Style;
  const bool Min = Style & WS_MINIMIZE, Max = Style & WS_MAXIMIZE;
  auto Enable = [&](WPARAM Id, bool On) {
    EnableMenuItem(Menu, static_cast<UINT>(Id), On ? MF_ENABLED : MF_GRAYED);
  };
  Enable(SC_RESTORE, Min || Max);
  Enable(SC_MOVE, !Max);
  Enable(SC_SIZE, (Style & WS_THICKFRAME) && !Min && !Max);
  Enable(SC_MINIMIZE, (Style & WS_MINIMIZEBOX) && !Min);
  Enable(SC_MAXIMIZE, (Style & WS_MAXIMIZEBOX) && !Max);
  if (W->Class != nullptr && (W->Class->Style & CS_NOCLOSE)) Enable(SC_CLOSE, false);
}
