// The COMBOBOX control's behaviour: the drop-down list, selection, keys, mouse and focus.
#include <algorithm>

#include "platform/user/ComboBoxControl.h"
#include "platform/user/Input.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

bool Alive(const TComboData& D) {
  return ComboDataOf(D.Wnd) == &D;
}

void InvalidateParts(TComboData& D) {
  const TRect F = ComboFieldRect(D), B = ComboButtonRect(D);
  InvalidateRect(D.Wnd, &F, FALSE);
  InvalidateRect(D.Wnd, &B, FALSE);
}

// Sets the list's selection without telling anyone.
void SetListSel(TComboData& D, Integer Index) {
  if (TListBoxData* L = ComboList(D)) {
    ListSetCurSel(*L, Index);
    if (Index >= 0) ListShow(*L, Index);
  }
}

// A point of the combo's client area in the list's client coordinates.
TPoint ToListClient(const TComboData& D, TPoint P) {
  ClientToScreen(D.Wnd, &P);
  ScreenToClient(D.List, &P);
  return P;
}

// The user took Index from the open list.
void Choose(TComboData& D, Integer Index) {
  SetListSel(D, Index);
  ComboShowSelection(D);
  NotifyCommand(D.Wnd, CBN_SELCHANGE);
  if (Alive(D)) ComboCloseUp(D.Wnd, TComboClose::Accept);
}

// The item under a point of the list's client area; -1 outside it.
Integer ItemInList(TListBoxData& L, TPoint P) {
  bool Outside = false;
  const Integer I = ListItemFromPoint(L, P, &Outside);
  return Outside ? -1 : I;
}

void Hover(TListBoxData& L, TPoint P) {
  const Integer I = ItemInList(L, P);
  if (I >= 0 && I != L.CurSel) ListSetCurSel(L, I);
}

}  // namespace

void ComboShowSelection(TComboData& D) {
  const Integer I = ComboCurSel(D);
  D.ShownIndex = I;
  if (D.Edit != nullptr) {
    const TListBoxData* L = ComboList(D);
    const std::string Text =
        I >= 0 && L != nullptr && HasStrings(*L) ? L->Items[static_cast<std::size_t>(I)].Text : "";
    D.EditQuiet = true;
    SetWindowText(D.Edit, Text.c_str());
    D.EditQuiet = false;
    SendMessage(D.Edit, EM_SETSEL, 0, -1);
  }
  InvalidateParts(D);
}

void ComboSelect(TComboData& D, Integer Index, bool Notify) {
  const Integer Old = ComboCurSel(D);
  SetListSel(D, Index);
  ComboShowSelection(D);
  if (Notify && Old != ComboCurSel(D)) NotifyCommand(D.Wnd, CBN_SELCHANGE);
}

void ComboDropDown(TComboData& D) {
  if (D.Dropped || ComboType(D) == CBS_SIMPLE || D.List == nullptr || !IsWindowEnabled(D.Wnd)) return;
  NotifyCommand(D.Wnd, CBN_DROPDOWN);
  if (!Alive(D) || D.Dropped) return;
  D.DroppedIndex = ComboCurSel(D);
  const TRect R = ComboDropRect(D);
  SetWindowPos(D.List, HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (TListBoxData* L = ComboList(D)) {
    L->PressedInside = false;
    if (D.DroppedIndex >= 0) {
      ListSetTop(*L, D.DroppedIndex);
      ListSetCaret(*L, D.DroppedIndex, true);
    }
  }
  D.Dropped = true;
  InvalidateParts(D);
  D.Closing = true;
  SetCapture(D.List);
  D.Closing = false;
}

void ComboCloseUp(HWND Combo, TComboClose How) {
  TComboData* PD = ComboDataOf(Combo);
  if (PD == nullptr || !PD->Dropped) return;
  TComboData& D = *PD;
  D.Dropped = false;
  D.Tracking = false;
  D.ButtonDown = false;
  if (How == TComboClose::Cancel) {
    if (ComboCurSel(D) != D.DroppedIndex) SetListSel(D, D.DroppedIndex);
    if (D.ShownIndex != ComboCurSel(D)) ComboShowSelection(D);
  }
  D.Closing = true;
  SetWindowPos(D.List, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  const HWND Cap = GetCapture();
  if (Cap == D.List || Cap == D.Wnd) ReleaseCapture();
  D.Closing = false;
  InvalidateParts(D);
  // A row reached by hovering and taken with Enter is a change like a click.
  if (How == TComboClose::Accept && D.ShownIndex != ComboCurSel(D)) {
    ComboShowSelection(D);
    NotifyCommand(Combo, CBN_SELCHANGE);
    if (!Alive(D)) return;
  }
  NotifyCommand(Combo, CBN_CLOSEUP);
  if (!Alive(D)) return;
  NotifyCommand(Combo, How == TComboClose::Accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
}

void ComboFocus(TComboData& D, bool Focused) {
  if (D.Focused == Focused) return;
  D.Focused = Focused;
  if (!Focused && D.Dropped) ComboCloseUp(D.Wnd, TComboClose::Cancel);
  if (!Alive(D)) return;
  // Focus selects the edit's whole text; leaving it takes the selection away.
  if (D.Edit != nullptr) {
    if (Focused)
      SendMessage(D.Edit, EM_SETSEL, 0, -1);
    else
      SendMessage(D.Edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  }
  InvalidateParts(D);
  NotifyCommand(D.Wnd, Focused ? CBN_SETFOCUS : CBN_KILLFOCUS);
}

bool ComboKeyDown(TComboData& D, WPARAM Key, bool Alt) {
  const DWORD Type = ComboType(D);
  if (Type != CBS_SIMPLE) {
    const bool Toggle = (Key == VK_F4 && !Alt && !D.ExtendedUI) || (Alt && (Key == VK_UP || Key == VK_DOWN));
    if (Toggle) {
      if (D.Dropped)
        ComboCloseUp(D.Wnd, TComboClose::Accept);
      else
        ComboDropDown(D);
      return true;
    }
    if (D.Dropped && Key == VK_RETURN) {
      ComboCloseUp(D.Wnd, TComboClose::Accept);
      return true;
    }
    if (D.Dropped && Key == VK_ESCAPE) {
      ComboCloseUp(D.Wnd, TComboClose::Cancel);
      return true;
    }
    if (D.ExtendedUI && !D.Dropped && Key == VK_DOWN) {
      ComboDropDown(D);
      return true;
    }
  }
  TListBoxData* L = ComboList(D);
  if (L == nullptr) return false;
  const Integer N = ItemCount(*L), Cur = L->CurSel, Page = std::max(1, ListPageSize(*L));
  const bool FieldKeys = Type == CBS_DROPDOWNLIST;  // the edit keeps Left, Right, Home, End
  Integer To;
  switch (Key) {
    case VK_UP:
      To = Cur < 0 ? 0 : Cur - 1;
      break;
    case VK_DOWN:
      To = Cur < 0 ? 0 : Cur + 1;
      break;
    case VK_LEFT:
      if (!FieldKeys) return false;
      To = Cur < 0 ? 0 : Cur - 1;
      break;
    case VK_RIGHT:
      if (!FieldKeys) return false;
      To = Cur < 0 ? 0 : Cur + 1;
      break;
    case VK_PRIOR:
      To = Cur - (Page - 1);
      break;
    case VK_NEXT:
      To = Cur + (Page - 1);
      break;
    case VK_HOME:
      if (!FieldKeys) return false;
      To = 0;
      break;
    case VK_END:
      if (!FieldKeys) return false;
      To = N - 1;
      break;
    default:
      return false;
  }
  if (N == 0) return true;
  ComboSelect(D, std::clamp(To, 0, N - 1), true);
  return true;
}

LRESULT ComboChar(TComboData& D, WPARAM WParam) {
  const char16_t Ch = static_cast<char16_t>(WParam);
  TListBoxData* L = ComboList(D);
  if (ComboType(D) != CBS_DROPDOWNLIST || L == nullptr || Ch < 0x20 || !HasStrings(*L)) return 0;
  const Integer I = ListTypeAhead(*L, Ch);
  if (I >= 0) ComboSelect(D, I, true);
  return 0;
}

LRESULT ComboMouse(TComboData& D, UINT Msg, WPARAM, LPARAM Pos) {
  const TPoint P = MousePoint(Pos);
  const DWORD Type = ComboType(D);
  switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!D.Focused) {
        SetFocus(D.Wnd);
        if (!Alive(D)) return 0;
      }
      if (Type == CBS_SIMPLE) return 0;
      if (Type != CBS_DROPDOWNLIST && !RectContains(ComboButtonRect(D), P)) return 0;
      if (D.Dropped) {
        ComboCloseUp(D.Wnd, TComboClose::Cancel);
        return 0;
      }
      ComboDropDown(D);
      if (!Alive(D) || !D.Dropped) return 0;
      D.ButtonDown = true;
      D.Tracking = true;
      D.Closing = true;
      SetCapture(D.Wnd);
      D.Closing = false;
      InvalidateParts(D);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!D.Tracking) return 0;
      const bool OnButton = RectContains(ComboButtonRect(D), P) ||
                            (Type == CBS_DROPDOWNLIST && RectContains(ClientRectOf(D.Wnd), P));
      if (OnButton != D.ButtonDown) {
        D.ButtonDown = OnButton;
        InvalidateParts(D);
      }
      if (TListBoxData* L = ComboList(D)) Hover(*L, ToListClient(D, P));
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!D.Tracking) return 0;
      D.Tracking = false;
      D.ButtonDown = false;
      InvalidateParts(D);
      TListBoxData* L = ComboList(D);
      const Integer I = L != nullptr && D.Dropped ? ItemInList(*L, ToListClient(D, P)) : -1;
      if (I >= 0) {
        Choose(D, I);
        return 0;
      }
      // Released elsewhere: the list stays open and watches the mouse itself.
      if (D.Dropped) {
        D.Closing = true;
        SetCapture(D.List);
        D.Closing = false;
      }
      return 0;
    }
    default:
      return 0;
  }
}

void ComboCaptureChanged(TComboData& D, HWND NewCapture) {
  if (D.Closing || !D.Tracking) return;
  D.Tracking = false;
  D.ButtonDown = false;
  InvalidateParts(D);
  if (D.Dropped && NewCapture != D.List) ComboCloseUp(D.Wnd, TComboClose::Cancel);
}

LRESULT ComboWheel(TComboData& D, WPARAM WParam, LPARAM LParam) {
  if (D.Dropped || ComboType(D) == CBS_SIMPLE) {
    if (D.List != nullptr) SendMessage(D.List, WM_MOUSEWHEEL, WParam, LParam);
    return 0;
  }
  const Integer Notches = TakeWheelNotches(D.WheelRest, WParam);
  TListBoxData* L = ComboList(D);
  if (Notches == 0 || L == nullptr || ItemCount(*L) == 0) return 0;
  const Integer Cur = std::max(0, L->CurSel);
  ComboSelect(D, std::clamp(Cur - Notches, 0, ItemCount(*L) - 1), true);
  return 0;
}

void ComboChildCommand(TComboData& D, WORD Code, HWND Child) {
  if (Child != nullptr && Child == D.Edit) {
    switch (Code) {
      case EN_SETFOCUS:
        ComboFocus(D, true);
        break;
      case EN_KILLFOCUS: {
        const HWND New = GetFocus();
        if (New != D.Wnd && New != D.Edit) ComboFocus(D, false);
        break;
      }
      case EN_UPDATE:
        if (!D.EditQuiet) NotifyCommand(D.Wnd, CBN_EDITUPDATE);
        break;
      case EN_CHANGE:
        if (D.EditQuiet) break;
        // The open list follows what is typed.
        if (TListBoxData* L = ComboList(D); L != nullptr && (D.Dropped || ComboType(D) == CBS_SIMPLE)) {
          const std::string Text = GetWindowTextString(D.Edit);
          const Integer I = Text.empty() ? -1 : ListFind(*L, -1, Text, 0, false);
          ListSetCurSel(*L, I);
          if (I >= 0) ListShow(*L, I);
        }
        NotifyCommand(D.Wnd, CBN_EDITCHANGE);
        break;
      default:
        break;
    }
    return;
  }
  if (Child != nullptr && Child == D.List) {
    if (Code == LBN_SELCHANGE) {
      ComboShowSelection(D);
      NotifyCommand(D.Wnd, CBN_SELCHANGE);
    } else if (Code == LBN_DBLCLK) {
      NotifyCommand(D.Wnd, CBN_DBLCLK);
    }
  }
}

LRESULT ComboListMouse(TListBoxData& L, UINT Msg, WPARAM, LPARAM Pos) {
  TComboData* PD = ComboDataOf(L.Combo);
  if (PD == nullptr || !PD->Dropped) return 0;
  TComboData& D = *PD;
  const TPoint P = MousePoint(Pos);
  const bool Inside = RectContains(ClientRectOf(L.Wnd), P);
  switch (Msg) {
    case WM_MOUSEMOVE:
      if (Inside) Hover(L, P);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (Inside) {
        L.PressedInside = true;
        Hover(L, P);
        return 0;
      }
      POINT S = P;
      ClientToScreen(L.Wnd, &S);
      RECT W;
      GetWindowRect(L.Wnd, &W);
      if (RectContains(W, S)) {
        // The list's own scroll bar: let it track, then watch the mouse again.
        const LRESULT Hit = SendMessage(L.Wnd, WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y));
        L.InScrollBar = true;
        SendMessage(L.Wnd, WM_NCLBUTTONDOWN, static_cast<WPARAM>(Hit), MAKELPARAM(S.X, S.Y));
        if (ListDataOf(L.Wnd) != &L) return 0;
        L.InScrollBar = false;
        if (D.Dropped && Alive(D)) {
          D.Closing = true;
          SetCapture(L.Wnd);
          D.Closing = false;
        }
        return 0;
      }
      ComboCloseUp(D.Wnd, TComboClose::Cancel);  // a click elsewhere ends the list and goes no further
      return 0;
    }
    case WM_LBUTTONUP: {
      const bool Pressed = L.PressedInside;
      L.PressedInside = false;
      const Integer I = Inside ? ItemInList(L, P) : -1;
      if (Pressed && I >= 0) Choose(D, I);
      return 0;
    }
    default:
      return 0;
  }
}

void ComboListCaptureLost(TListBoxData& L, HWND NewCapture) {
  if (L.InScrollBar) return;
  TComboData* D = ComboDataOf(L.Combo);
  if (D == nullptr || !D->Dropped || D->Closing || NewCapture == D->Wnd || NewCapture == L.Wnd) return;
  ComboCloseUp(D->Wnd, TComboClose::Cancel);
}
