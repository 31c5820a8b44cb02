// Keyboard focus and window activation. The focus window always lies inside the active window
// (or there is none); activation is per application, and there is one application here.
#include <algorithm>

#include "platform/user/InputState.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

HWND Alive(HWND H) {
  return PeekWindow(H) != nullptr ? H : nullptr;
}

WPARAM MinimizedWord(const TWindow* W) {
  return (W->Style & WS_MINIMIZE) ? 1 : 0;
}

// The focus moves to New (may be null): WM_KILLFOCUS to the old window, then WM_SETFOCUS to the
// new one. GetFocus already gives the new window while the old one hears of it; when its
// handler moves the focus on, WM_SETFOCUS is not sent.
void ChangeFocus(HWND New) {
  TInputState& S = InputState();
  const HWND Old = Alive(S.Focus);
  if (Old == New) return;
  S.Focus = New;
  if (TWindow* O = PeekWindow(Old)) {
    SendTo(O, WM_KILLFOCUS, reinterpret_cast<WPARAM>(New), 0);
    if (S.Focus != New) return;
  }
  if (TWindow* N = PeekWindow(New)) SendTo(N, WM_SETFOCUS, reinterpret_cast<WPARAM>(Old), 0);
}

void SendActivateApp(bool Active) {
  std::vector<HWND> Tops;
  for (const TWindow* T : DesktopWindow()->Children) Tops.push_back(T->Handle);
  for (HWND H : Tops)
    if (TWindow* T = PeekWindow(H)) SendTo(T, WM_ACTIVATEAPP, Active ? TRUE : FALSE, 0);
}

bool OwnedBy(const TWindow* W, const TWindow* Owner) {
  for (const TWindow* O = W->Owner; O != nullptr; O = O->Owner)
    if (O == Owner) return true;
  return false;
}

// Brings an activated window to the top of its band unless it is already there (windows it
// owns may stay above it).
void BringToTop(TWindow* W) {
  const bool Topmost = (W->ExStyle & WS_EX_TOPMOST) != 0;
  for (const TWindow* C : DesktopWindow()->Children) {
    if (C == W) return;
    if (!(C->Style & WS_VISIBLE) || OwnedBy(C, W)) continue;
    if ((C->ExStyle & WS_EX_TOPMOST) && !Topmost) continue;
    SetWindowPos(W->Handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
}

// The window that takes over when the active window W goes away (or is minimized, when
// minimized windows are passed over too): its owner, else the next window below it, else the
// topmost one that can be active.
void ActivateOther(TWindow* W, bool SkipMinimized) {
  auto Fits = [W, SkipMinimized](const TWindow* C) {
    return C != W && CanActivate(C) && !(SkipMinimized && (C->Style & WS_MINIMIZE));
  };
  if (W->Owner != nullptr && Fits(W->Owner)) return ActivateWindow(W->Owner->Handle, WA_ACTIVE);
  const auto& Tops = DesktopWindow()->Children;
  auto It = std::find(Tops.begin(), Tops.end(), W);
  if (It != Tops.end())
    for (auto Below = std::next(It); Below != Tops.end(); ++Below)
      if (Fits(*Below)) return ActivateWindow((*Below)->Handle, WA_ACTIVE);
  for (const TWindow* C : Tops)
    if (Fits(C)) return ActivateWindow(C->Handle, WA_ACTIVE);
  ActivateWindow(nullptr, WA_ACTIVE);
}

// The focus leaves W and its descendants: to W's parent for a child window, else nowhere.
void MoveFocusOutOf(TWindow* W) {
  if (!IsWithin(W, InputState().Focus)) return;
  if (!IsTopLevel(W) && W->Parent != nullptr && SetFocus(W->Parent->Handle) != nullptr) return;
  if (IsWithin(W, InputState().Focus)) ChangeFocus(nullptr);
}

}  // namespace

bool CanActivate(const TWindow* W) {
  return W != nullptr && W->Parent == DesktopWindow() && !W->Destroying && (W->Style & WS_VISIBLE) &&
         !(W->Style & WS_DISABLED) && !(W->ExStyle & WS_EX_NOACTIVATE);
}

void ActivateWindow(HWND NewWnd, WORD How) {
  TInputState& S = InputState();
  if (NewWnd != nullptr && PeekWindow(NewWnd) == nullptr) return;
  const HWND OldWnd = Alive(S.Active);
  if (OldWnd == NewWnd) return;
  // Modes of the window losing the activation end (a drag with the capture, a menu).
  if (TWindow* C = PeekWindow(S.Capture); C != nullptr && TopLevelOf(C)->Handle != NewWnd) {
    SendTo(C, WM_CANCELMODE, 0, 0);
    if (Alive(S.Active) != OldWnd) return;
  }
  if (TWindow* Old = PeekWindow(OldWnd)) {
    SendTo(Old, WM_NCACTIVATE, FALSE, 0);
    if ((Old = PeekWindow(OldWnd)) != nullptr)
      SendTo(Old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, MinimizedWord(Old)), reinterpret_cast<LPARAM>(NewWnd));
    if (Alive(S.Active) != OldWnd) return;  // a handler activated another window
  }
  NewWnd = Alive(NewWnd);
  S.Active = NewWnd;
  if (NewWnd != nullptr) {
    std::erase(S.ActiveHistory, NewWnd);
    S.ActiveHistory.push_back(NewWnd);
    BringToTop(PeekWindow(NewWnd));
  }
  if ((NewWnd != nullptr) != S.AppActive) {
    S.AppActive = NewWnd != nullptr;
    SendActivateApp(S.AppActive);
  }
  if (TWindow* New = PeekWindow(NewWnd)) {
    SendTo(New, WM_NCACTIVATE, TRUE, 0);
    if ((New = PeekWindow(NewWnd)) != nullptr)
      SendTo(New, WM_ACTIVATE, MAKEWPARAM(How, MinimizedWord(New)), reinterpret_cast<LPARAM>(OldWnd));
  }
  if (Alive(S.Active) != NewWnd) return;
  // The focus stays inside the active window (DefWindowProc(WM_ACTIVATE) has usually put it there).
  const TWindow* New = PeekWindow(NewWnd);
  if (S.Focus != nullptr && (New == nullptr || !IsWithin(New, S.Focus))) ChangeFocus(nullptr);
}

void FocusWindowEvent(TWindow* W, TWindowEvent Event) {
  TInputState& S = InputState();
  const HWND H = W->Handle;
  switch (Event) {
    case TWindowEvent::ActivateRequested:
      if (CanActivate(W)) ActivateWindow(H, WA_ACTIVE);
      break;
    case TWindowEvent::Minimized:
      if (H == S.Active) ActivateOther(W, true);
      break;
    case TWindowEvent::Disabled:
      // No window takes over: the focus is nowhere, the active window stays active.
      if (IsWithin(W, S.Focus)) ChangeFocus(nullptr);
      break;
    case TWindowEvent::Destroying:
      // A visible window moves focus and activation on when it is hidden on its way out.
      if (IsReallyVisible(W)) break;
      [[fallthrough]];
    case TWindowEvent::Hidden:
      if (H == S.Active) ActivateOther(W, false);
      if ((W = PeekWindow(H)) != nullptr) MoveFocusOutOf(W);
      break;
    default:
      break;
  }
}

void ResetFocusState() {
  TInputState& S = InputState();
  S.Focus = S.Active = nullptr;
  S.ActiveHistory.clear();
  S.AppActive = false;
}

LRESULT DefActivate(TWindow* W, UINT, WPARAM WParam, LPARAM) {
  if (LOWORD(WParam) != WA_INACTIVE && HIWORD(WParam) == 0 && !IsWithin(W, InputState().Focus))
    SetFocus(W->Handle);
  return 0;
}

HWND SetFocus(HWND Wnd) {
  InstallWindowInput();
  TInputState& S = InputState();
  const HWND Old = Alive(S.Focus);
  if (Wnd == nullptr) {
    ChangeFocus(nullptr);
    return Old;
  }
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || W->Parent == nullptr) return nullptr;
  for (const TWindow* P = W; P->Parent != nullptr; P = P->Parent)
    if (P->Style & (WS_DISABLED | WS_MINIMIZE)) return nullptr;
  if (Wnd == Old) return Old;
  TWindow* Top = TopLevelOf(W);
  if (Top->Parent == DesktopWindow() && Top->Handle != Alive(S.Active)) {
    const HWND TopWnd = Top->Handle;
    ActivateWindow(TopWnd, WA_ACTIVE);
    // No focus for a window whose top-level window did not become active.
    if (PeekWindow(Wnd) == nullptr || Alive(S.Active) != TopWnd) return nullptr;
  }
  ChangeFocus(Wnd);
  return Old;
}

HWND GetFocus() {
  return Alive(InputState().Focus);
}

HWND SetActiveWindow(HWND Wnd) {
  InstallWindowInput();
  const HWND Old = GetActiveWindow();
  if (Wnd != nullptr) {
    TWindow* W = WindowFromHandle(Wnd);
    if (W == nullptr) return nullptr;
    if (W->Parent != DesktopWindow()) return Old;  // child windows are not activated
  }
  ActivateWindow(Wnd, WA_ACTIVE);
  return Old;
}

HWND GetActiveWindow() {
  return Alive(InputState().Active);
}

BOOL SetForegroundWindow(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || W->Parent == nullptr) return FALSE;
  SetActiveWindow(TopLevelOf(W)->Handle);
  return TRUE;
}

HWND GetForegroundWindow() {
  return GetActiveWindow();
}

HWND GetLastActivePopup(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return nullptr;
  const auto& History = InputState().ActiveHistory;
  for (auto It = History.rbegin(); It != History.rend(); ++It) {
    const TWindow* C = PeekWindow(*It);
    if (C == nullptr || (C != W && !OwnedBy(C, W))) continue;
    if ((C->Style & WS_VISIBLE) && !(C->Style & WS_DISABLED)) return C->Handle;
  }
  return Wnd;
}
