// Window data: the GWL_* values and extra bytes, window text, and moving a window to another
// parent.
#include <algorithm>
#include <cstring>

#include "platform/user/WindowInternals.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

DWORD ChangeStyle(TWindow* W, Integer Index, DWORD New) {
  const HWND H = W->Handle;
  const DWORD Old = Index == GWL_STYLE ? W->Style : W->ExStyle;
  STYLESTRUCT SS{Old, New};
  SendTo(W, WM_STYLECHANGING, static_cast<WPARAM>(static_cast<std::intptr_t>(Index)),
         reinterpret_cast<LPARAM>(&SS));
  if ((W = PeekWindow(H)) == nullptr) return Old;
  if (Index == GWL_STYLE) {
    W->Style = SS.styleNew;
  } else {
    // The topmost band is changed through SetWindowPos only.
    const DWORD NewEx = (SS.styleNew & ~WS_EX_TOPMOST) | (W->ExStyle & WS_EX_TOPMOST);
    const bool WasLayered = W->ExStyle & WS_EX_LAYERED;
    W->ExStyle = NewEx;
    const bool Layered = NewEx & WS_EX_LAYERED;
    if (WasLayered != Layered) {
      // A window made layered shows nothing until its layered attributes are given; one made
      // plain again is painted afresh.
      W->LayeredUpdate = W->PerPixelAlpha = false;
      W->LayeredFlags = 0;
      W->LayeredAlpha = 255;
      if (IsTopLevel(W)) DamageScreen(W->Rect);
      if (!Layered)
        RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
  }
  SendTo(W, WM_STYLECHANGED, static_cast<WPARAM>(static_cast<std::intptr_t>(Index)),
         reinterpret_cast<LPARAM>(&SS));
  return Old;
}

}  // namespace

LONG_PTR GetWindowLongPtr(HWND Wnd, Integer Index) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  switch (Index) {
    case GWL_STYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(W->Style));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(W->ExStyle));
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(W->WndProc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(W->Instance);
    case GWLP_ID:
      return W->Id;
    case GWLP_USERDATA:
      return W->UserData;
    case GWLP_HWNDPARENT:
      if (IsTopLevel(W)) return W->Owner != nullptr ? reinterpret_cast<LONG_PTR>(W->Owner->Handle) : 0;
      return W->Parent != nullptr ? reinterpret_cast<LONG_PTR>(W->Parent->Handle) : 0;
    default: {
      // A LONG_PTR where 8 bytes fit, else 32 bits.
      LONG_PTR V;
      if (ReadExtra(W->Extra, Index, V)) return V;
      LONG V32;
      if (ReadExtra(W->Extra, Index, V32)) return V32;
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
  }
}

LONG_PTR SetWindowLongPtr(HWND Wnd, Integer Index, LONG_PTR New) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  const LONG_PTR Old = GetWindowLongPtr(Wnd, Index);
  switch (Index) {
    case GWL_STYLE:
    case GWL_EXSTYLE:
      ChangeStyle(W, Index, static_cast<DWORD>(New));
      return Old;
    case GWLP_WNDPROC:
      if (New == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      W->WndProc = reinterpret_cast<WNDPROC>(New);
      return Old;
    case GWLP_HINSTANCE:
      W->Instance = reinterpret_cast<HINSTANCE>(New);
      return Old;
    case GWLP_ID:
      W->Id = New;
      return Old;
    case GWLP_USERDATA:
      W->UserData = New;
      return Old;
    case GWLP_HWNDPARENT:
      if (IsTopLevel(W)) {
        TWindow* O = New != 0 ? PeekWindow(reinterpret_cast<HWND>(New)) : nullptr;
        if (O != nullptr) O = TopLevelOf(O);
        // An owner chain never loops back to the window.
        for (TWindow* C = O; C != nullptr; C = C->Owner)
          if (C == W) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
          }
        W->Owner = (O == DesktopWindow()) ? nullptr : O;
        return Old;
      }
      SetParent(Wnd, reinterpret_cast<HWND>(New));
      return Old;
    default:
      if (!WriteExtra(W->Extra, Index, New) && !WriteExtra(W->Extra, Index, static_cast<LONG>(New))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
      }
      return Old;
  }
}

WORD GetWindowWord(HWND Wnd, Integer Index) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  WORD V;
  if (!ReadExtra(W->Extra, Index, V)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return V;
}

WORD SetWindowWord(HWND Wnd, Integer Index, WORD New) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  WORD Old;
  if (!ReadExtra(W->Extra, Index, Old)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  WriteExtra(W->Extra, Index, New);
  return Old;
}

// ---- Text ---------------------------------------------------------------------------------

BOOL SetWindowText(HWND Wnd, LPCSTR Text) {
  if (WindowFromHandle(Wnd) == nullptr) return FALSE;
  return SendMessage(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text != nullptr ? Text : "")) ? TRUE
                                                                                                : FALSE;
}

Integer GetWindowText(HWND Wnd, char* Buffer, Integer MaxCount) {
  if (Buffer == nullptr || MaxCount <= 0 || WindowFromHandle(Wnd) == nullptr) return 0;
  Buffer[0] = 0;
  return static_cast<Integer>(
      SendMessage(Wnd, WM_GETTEXT, static_cast<WPARAM>(MaxCount), reinterpret_cast<LPARAM>(Buffer)));
}

Integer GetWindowTextLength(HWND Wnd) {
  if (WindowFromHandle(Wnd) == nullptr) return 0;
  return static_cast<Integer>(SendMessage(Wnd, WM_GETTEXTLENGTH, 0, 0));
}

std::string GetWindowTextString(HWND Wnd) {
  const Integer N = GetWindowTextLength(Wnd);
  if (N <= 0) return {};
  std::string S(static_cast<std::size_t>(N) + 1, '\0');
  const Integer Got = GetWindowText(Wnd, S.data(), N + 1);
  S.resize(static_cast<std::size_t>(std::clamp(Got, 0, N)));
  return S;
}

// ---- Parent -------------------------------------------------------------------------------

HWND SetParent(HWND Child, HWND NewParent) {
  TWindow* W = WindowFromHandle(Child);
  if (W == nullptr || W->Parent == nullptr) return nullptr;
  TWindow* P = NewParent == nullptr        ? DesktopWindow()
               : NewParent == HWND_MESSAGE ? MessageRootWindow()
                                           : WindowFromHandle(NewParent);
  if (P == nullptr) return nullptr;
  for (TWindow* A = P; A != nullptr; A = A->Parent)
    if (A == W) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  const HWND Old = W->Parent->Handle;
  if (P == W->Parent) return Old;
  const bool WasVisible = W->Style & WS_VISIBLE;
  if (WasVisible) {
    SetWindowPos(Child, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if ((W = PeekWindow(Child)) == nullptr || (P = PeekWindow(P->Handle)) == nullptr) return nullptr;
  }
  const bool WasTop = IsTopLevel(W);
  LinkWindow(W, P, HWND_TOP);
  const bool Top = IsTopLevel(W);
  if (Top && !WasTop) {
    W->Surface = std::make_unique<TWindowSurface>();
    W->Surface->Resize(W->Rect.Width(), W->Rect.Height());
  } else if (!Top) {
    W->Surface.reset();
    W->Owner = nullptr;
    W->LayeredUpdate = W->PerPixelAlpha = false;
  }
  // The same coordinates, now in the new parent's client area.
  SetWindowPos(Child, HWND_TOP, W->Rect.Left, W->Rect.Top, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | (WasVisible ? SWP_SHOWWINDOW : 0));
  if ((W = PeekWindow(Child)) != nullptr)
    RedrawWindow(Child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return Old;
}
