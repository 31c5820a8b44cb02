// The LISTBOX control's input: keys, type-ahead, the mouse, the wheel and the scroll bars.
#include <algorithm>

#include "platform/system/Clock.h"
#include "platform/system/Strings.h"
#include "platform/user/Input.h"
#include "platform/user/ListBoxControl.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

constexpr DWORD kTypeAheadPause = 1000;  // ms after which typing starts a new search

bool Alive(const TListBoxData& D) {
  return ListDataOf(D.Wnd) == &D;
}

// Selects by the mouse at the tracked point, held inside the client area.
void TrackTo(TListBoxData& D) {
  const TRect C = ClientRectOf(D.Wnd);
  TPoint P = D.TrackPoint;
  P.Y = std::clamp(P.Y, C.Top, std::max(C.Top, C.Bottom - 1));
  const Integer I = ListItemFromPoint(D, P);
  if (I < 0) return;
  const DWORD Style = ListStyle(D);
  if (Style & (LBS_NOSEL | LBS_MULTIPLESEL)) return;
  if (Style & LBS_EXTENDEDSEL)
    D.TrackChanged |= ListSelectRange(D, D.Anchor, I, true, true);
  else
    D.TrackChanged |= ListSetCurSel(D, I);
  ListSetCaret(D, I, false);
}

void ToggleCaret(TListBoxData& D) {
  const Integer I = D.Caret;
  if (I < 0 || I >= ItemCount(D)) return;
  const DWORD Style = ListStyle(D);
  bool Changed = false;
  if (Style & LBS_MULTIPLESEL) {
    Changed = ListSetSel(D, I, !IsSelected(D, I));
  } else if (Style & LBS_EXTENDEDSEL) {
    if (KeyIsDown(VK_CONTROL)) {
      Changed = ListSetSel(D, I, !IsSelected(D, I));
      D.Anchor = I;
    } else if (KeyIsDown(VK_SHIFT)) {
      Changed = ListSelectRange(D, D.Anchor, I, true, true);
    } else {
      Changed = ListSelectRange(D, I, I, true, true);
      D.Anchor = I;
    }
  }
  if (Changed) ListNotify(D, LBN_SELCHANGE);
}

}  // namespace

void ListUserMove(TListBoxData& D, Integer Index, bool Shift, bool Ctrl) {
  if (ItemCount(D) == 0) return;
  Index = std::clamp(Index, 0, ItemCount(D) - 1);
  const DWORD Style = ListStyle(D);
  bool Changed = false;
  if (Style & (LBS_NOSEL | LBS_MULTIPLESEL)) {
    ListSetCaret(D, Index, true);
  } else if (Style & LBS_EXTENDEDSEL) {
    if (Shift) {
      Changed = ListSelectRange(D, D.Anchor, Index, true, !Ctrl);
    } else if (!Ctrl) {
      Changed = ListSelectRange(D, Index, Index, true, true);
      D.Anchor = Index;
    }
    ListSetCaret(D, Index, true);
  } else {
    Changed = ListSetCurSel(D, Index);
    ListShow(D, Index);
  }
  if (Changed) ListNotify(D, LBN_SELCHANGE);
}

bool ListKeyDown(TListBoxData& D, WPARAM Key) {
  if (ListStyle(D) & LBS_WANTKEYBOARDINPUT) {
    const TOwnerInfo O = ListOwner(D);
    const LRESULT R = O.Target != nullptr ? SendMessage(O.Target, WM_VKEYTOITEM, MAKEWPARAM(Key, D.Caret),
                                                        reinterpret_cast<LPARAM>(D.Wnd))
                                          : -1;
    if (!Alive(D) || R == -2) return true;
    if (R >= 0) {
      ListUserMove(D, static_cast<Integer>(R), false, false);
      return true;
    }
  }
  const Integer N = ItemCount(D);
  const bool Shift = KeyIsDown(VK_SHIFT), Ctrl = KeyIsDown(VK_CONTROL);
  const Integer C = D.Caret, Page = ListPageSize(D);
  Integer To = -1;
  switch (Key) {
    case VK_UP:
    case VK_LEFT:
      To = C - 1;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      To = C + 1;
      break;
    case VK_PRIOR:
      To = C > D.Top ? D.Top : C - (Page - 1);
      break;
    case VK_NEXT: {
      const Integer Last = D.Top + Page - 1;
      To = C < Last ? Last : C + (Page - 1);
      break;
    }
    case VK_HOME:
      To = 0;
      break;
    case VK_END:
      To = N - 1;
      break;
    case VK_SPACE:
      ToggleCaret(D);
      return true;
    default:
      return false;
  }
  if (N == 0) return true;
  // A single-selection list with nothing selected starts at the caret itself.
  if (!IsMultiSel(D) && D.CurSel < 0 && (Key == VK_DOWN || Key == VK_RIGHT || Key == VK_UP || Key == VK_LEFT))
    To = C;
  ListUserMove(D, std::clamp(To, 0, N - 1), Shift, Ctrl);
  return true;
}

Integer ListTypeAhead(TListBoxData& D, char16_t Char) {
  const DWORD Now = GetTickCount();
  if (D.Typed.empty() || Now - D.TypedTick >= kTypeAheadPause) D.Typed.clear();
  D.TypedTick = Now;
  D.Typed += Char;
  const bool Repeated =
      std::all_of(D.Typed.begin(), D.Typed.end(), [&](char16_t C) { return C == D.Typed[0]; });
  const Integer Current = IsMultiSel(D) ? D.Caret : D.CurSel;
  // One letter (or the same one again) walks on from the current item; a longer prefix may
  // keep it.
  Integer Start = Repeated ? Current : Current - 1;
  if (Current < 0) Start = -1;
  const std::string Prefix = Utf16ToUtf8(Repeated ? D.Typed.substr(0, 1) : D.Typed);
  return ListFind(D, Start, Prefix, 0, false);
}

LRESULT ListChar(TListBoxData& D, WPARAM WParam) {
  const char16_t Ch = static_cast<char16_t>(WParam);
  if (!HasStrings(D)) {
    if (!(ListStyle(D) & LBS_WANTKEYBOARDINPUT)) return 0;
    const TOwnerInfo O = ListOwner(D);
    if (O.Target == nullptr) return 0;
    const LRESULT R =
        SendMessage(O.Target, WM_CHARTOITEM, MAKEWPARAM(Ch, D.Caret), reinterpret_cast<LPARAM>(D.Wnd));
    if (Alive(D) && R >= 0) ListUserMove(D, static_cast<Integer>(R), false, false);
    return 0;
  }
  if (Ch < 0x20 || (Ch == u' ' && IsMultiSel(D))) return 0;
  const Integer I = ListTypeAhead(D, Ch);
  if (I >= 0) ListUserMove(D, I, false, false);
  return 0;
}

LRESULT ListMouse(TListBoxData& D, UINT Msg, WPARAM Keys, LPARAM Pos) {
  const TPoint P = MousePoint(Pos);
  switch (Msg) {
    case WM_LBUTTONDOWN: {
      if (!D.Focused) {
        SetFocus(D.Combo != nullptr ? D.Combo : D.Wnd);
        if (!Alive(D)) return 0;
      }
      const Integer I = ListItemFromPoint(D, P);
      if (I < 0) return 0;
      const DWORD Style = ListStyle(D);
      const bool Shift = (Keys & MK_SHIFT) != 0, Ctrl = (Keys & MK_CONTROL) != 0;
      if (Style & LBS_NOSEL) {
        ListSetCaret(D, I, true);
      } else if (Style & LBS_EXTENDEDSEL) {
        if (Shift)
          ListSelectRange(D, D.Anchor, I, true, !Ctrl);
        else if (Ctrl)
          ListSetSel(D, I, !IsSelected(D, I));
        else
          ListSelectRange(D, I, I, true, true);
        if (!Shift) D.Anchor = I;
        ListSetCaret(D, I, true);
      } else if (Style & LBS_MULTIPLESEL) {
        ListSetSel(D, I, !IsSelected(D, I));
        D.Anchor = I;
        ListSetCaret(D, I, true);
      } else {
        ListSetCurSel(D, I);
        ListShow(D, I);
      }
      // The platform reports every click, changed or not, when the button goes up.
      D.TrackChanged = !(Style & LBS_NOSEL);
      D.Tracking = true;
      D.TrackPoint = P;
      SetCapture(D.Wnd);
      SetTimer(D.Wnd, kListTrackTimer, 50, nullptr);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (D.Tracking) {
        D.TrackPoint = P;
        TrackTo(D);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!D.Tracking) return 0;
      const bool Changed = D.TrackChanged;
      ListStopTracking(D);
      if (Changed && Alive(D)) ListNotify(D, LBN_SELCHANGE);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      ListNotify(D, LBN_DBLCLK);
      return 0;
    default:
      return 0;
  }
}

void ListTimer(TListBoxData& D) {
  if (!D.Tracking) {
    KillTimer(D.Wnd, kListTrackTimer);
    return;
  }
  const TRect C = ClientRectOf(D.Wnd);
  if (D.TrackPoint.Y < C.Top)
    ListSetTop(D, D.Top - 1);
  else if (D.TrackPoint.Y >= C.Bottom)
    ListSetTop(D, D.Top + 1);
  else
    return;
  TrackTo(D);
}

void ListStopTracking(TListBoxData& D) {
  if (!D.Tracking) return;
  D.Tracking = false;
  D.TrackChanged = false;
  KillTimer(D.Wnd, kListTrackTimer);
  if (GetCapture() == D.Wnd) ReleaseCapture();
}

LRESULT ListWheel(TListBoxData& D, WPARAM WParam) {
  const Integer Step = WheelLinesPerNotch(ListPageSize(D));
  const Integer Notches = TakeWheelNotches(D.WheelRest, WParam);
  if (Notches != 0 && Step > 0) ListSetTop(D, D.Top - Notches * Step);
  return 0;
}

LRESULT ListScroll(TListBoxData& D, UINT Msg, WORD Code, Integer Thumb) {
  if (Msg == WM_VSCROLL) {
    Integer Top;
    if (ScrollRequestTarget(Code, D.Top, 1, ListPageSize(D), ItemCount(D), Thumb, Top)) ListSetTop(D, Top);
    return 0;
  }
  const Integer Width = ClientRectOf(D.Wnd).Width(), Step = std::max(1, D.Metrics.AveCharWidth);
  Integer X;
  if (!ScrollRequestTarget(Code, D.HorzPos, Step, Width, D.HorzExtent, Thumb, X)) return 0;
  ListSetHorzPos(D, X);
  return 0;
}
