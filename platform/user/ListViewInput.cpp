// The list view's mouse, keyboard, scroll bars and label editing.
#include <algorithm>

#include "platform/system/Clock.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/ControlText.h"
#include "platform/user/Input.h"
#include "platform/user/ListViewInternals.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"
#include "platform/user/WndProc.h"

namespace {

constexpr DWORD SearchPause = 1000;  // ms between typed characters of one search
constexpr Integer WheelLines = 3;

void ToggleCheck(HWND Wnd, Integer I) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return;
  const UINT Image = (StateOf(*D, I) & LVIS_STATEIMAGEMASK) >> 12;
  SetItemState(Wnd, I, INDEXTOSTATEIMAGEMASK(Image == 2 ? 1 : 2), LVIS_STATEIMAGEMASK);
}

void Activate(HWND Wnd, Integer I) {
  NMITEMACTIVATE N;
  N.iItem = I;
  NotifyParent(Wnd, LVN_ITEMACTIVATE, &N.hdr);
}

void MouseDown(HWND Wnd, TListViewData& D, TPoint P, WPARAM Keys, bool Right, bool Double) {
  if (D.Edit != nullptr) EndLabelEdit(Wnd, false);
  if (GetFocus() != Wnd) SetFocus(Wnd);
  TListViewData* Dp = ListData(Wnd);
  if (Dp == nullptr) return;
  UINT Flags = 0;
  const Integer I = HitTestItem(Wnd, *Dp, P, Flags, nullptr);
  if (Double && I >= 0 && (Flags & LVHT_ONITEMSTATEICON) && (Dp->ExStyle & LVS_EX_CHECKBOXES) && !Right) {
    ToggleCheck(Wnd, I);  // a quick second click on a check box toggles it again
    return;
  }
  if (Double) {
    NMITEMACTIVATE N;
    N.iItem = I;
    N.ptAction = P;
    NotifyParent(Wnd, Right ? NM_RDBLCLK : NM_DBLCLK, &N.hdr);
    if (!Right && I >= 0) Activate(Wnd, I);
    return;
  }
  if (I < 0) {
    if (!(Keys & (MK_CONTROL | MK_SHIFT))) SetItemState(Wnd, -1, 0, LVIS_SELECTED);
  } else if ((Flags & LVHT_ONITEMSTATEICON) && (Dp->ExStyle & LVS_EX_CHECKBOXES) && !Right) {
    ToggleCheck(Wnd, I);
  } else if (Right) {
    if (!(StateOf(*Dp, I) & LVIS_SELECTED)) SelectByUser(Wnd, I, false, false, false);
  } else {
    SelectByUser(Wnd, I, Keys & MK_SHIFT, (Keys & MK_CONTROL) && !(Keys & MK_SHIFT), false);
  }
  if ((Dp = ListData(Wnd)) == nullptr) return;
  if (Right) {
    NMITEMACTIVATE N;
    N.iItem = I;
    N.ptAction = P;
    NotifyParent(Wnd, NM_RCLICK, &N.hdr);
    return;
  }
  Dp->Pressed = true;
  SetCapture(Wnd);
}

void MouseUp(HWND Wnd, TPoint P) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !D->Pressed) return;
  D->Pressed = false;
  if (GetCapture() == Wnd) ReleaseCapture();
  UINT Flags = 0;
  NMITEMACTIVATE N;
  N.iItem = HitTestItem(Wnd, *D, P, Flags, &N.iSubItem);
  N.ptAction = P;
  NotifyParent(Wnd, NM_CLICK, &N.hdr);
}

// The item a navigation key moves the focus to; -1 for none.
Integer KeyTarget(HWND Wnd, TListViewData& D, WORD Key) {
  const Integer N = ItemCount(D);
  if (N == 0) return -1;
  const Integer From = ValidItem(D, D.Focus) ? D.Focus : -1;
  if (From < 0) return 0;
  const TLvGeometry G = GeometryOf(Wnd, D);
  const Integer Page = std::max(1, G.View == LVS_REPORT ? CountPerPage(D, G) : G.RowsPerColumn);
  Integer To = From;
  switch (Key) {
    case VK_HOME:
      To = 0;
      break;
    case VK_END:
      To = N - 1;
      break;
    case VK_PRIOR:
      To = From - Page + (G.View == LVS_REPORT ? 1 : 0);
      if (G.View == LVS_REPORT && From != D.ScrollY) To = D.ScrollY;
      break;
    case VK_NEXT:
      To = From + Page - (G.View == LVS_REPORT ? 1 : 0);
      if (G.View == LVS_REPORT && From != D.ScrollY + Page - 1) To = std::min(N - 1, D.ScrollY + Page - 1);
      break;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT: {
      UINT Direction = LVNI_BELOW;
      if (Key == VK_UP) Direction = LVNI_ABOVE;
      if (Key == VK_LEFT) Direction = LVNI_TOLEFT;
      if (Key == VK_RIGHT) Direction = LVNI_TORIGHT;
      if (G.View == LVS_REPORT && (Key == VK_LEFT || Key == VK_RIGHT)) return -2;  // scrolls instead
      Integer Step = 1;
      if (G.View == LVS_LIST && (Key == VK_LEFT || Key == VK_RIGHT)) Step = G.RowsPerColumn;
      if ((G.View == LVS_ICON || G.View == LVS_SMALLICON) && (Key == VK_UP || Key == VK_DOWN))
        Step = G.ItemsPerRow;
      To = (Direction & (LVNI_BELOW | LVNI_TORIGHT)) ? From + Step : From - Step;
      if (To < 0 || To >= N) return -1;
      break;
    }
    default:
      return -1;
  }
  return std::clamp(To, 0, N - 1);
}

bool KeyDown(HWND Wnd, WORD Key) {
  NMLVKEYDOWN K;
  K.wVKey = Key;
  NotifyParent(Wnd, LVN_KEYDOWN, &K.hdr);
  TListViewData* Dp = ListData(Wnd);
  if (Dp == nullptr) return true;
  const bool Shift = KeyIsDown(VK_SHIFT), Ctrl = KeyIsDown(VK_CONTROL);
  switch (Key) {
    case VK_SPACE:
      if (ValidItem(*Dp, Dp->Focus)) {
        if (Dp->ExStyle & LVS_EX_CHECKBOXES)
          ToggleCheck(Wnd, Dp->Focus);
        else if (Ctrl)
          SelectByUser(Wnd, Dp->Focus, false, true, false);
        else
          SelectByUser(Wnd, Dp->Focus, false, false, false);
      }
      return true;
    case VK_RETURN:
      NotifyParent(Wnd, NM_RETURN);
      if ((Dp = ListData(Wnd)) != nullptr && ValidItem(*Dp, Dp->Focus)) Activate(Wnd, Dp->Focus);
      return true;
    default:
      break;
  }
  const Integer To = KeyTarget(Wnd, *Dp, Key);
  if (To == -2) {
    const TLvGeometry G = GeometryOf(Wnd, *Dp);
    ScrollTo(Wnd, Dp->ScrollX + (Key == VK_LEFT ? -1 : 1) * G.LineHeight, Dp->ScrollY);
    return true;
  }
  if (To < 0) return To == -1 && (Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT);
  SelectByUser(Wnd, To, Shift, false, Ctrl && !Shift);
  return true;
}

// Typing finds the next item whose text starts with what was typed (wrapping round).
void TypeSearch(HWND Wnd, TListViewData& D, char C) {
  const DWORD Now = GetTickCount();
  const bool Continue = !D.Search.empty() && Now - D.SearchTime < SearchPause;
  D.Search = Continue ? D.Search + C : std::string(1, C);
  D.SearchTime = Now;
  LVFINDINFO F;
  F.flags = LVFI_PARTIAL | LVFI_WRAP;
  const std::string Wanted = D.Search;
  F.psz = Wanted.c_str();
  // A continued search may stay on the focused item; a new one starts after it.
  const Integer Start = Continue ? D.Focus - 1 : D.Focus;
  const Integer Found = FindItem(Wnd, Start, F);
  if (Found >= 0) SelectByUser(Wnd, Found, false, false, false);
}

void ScrollBarRequest(HWND Wnd, TListViewData& D, bool Vertical, WORD Code) {
  const TLvGeometry G = GeometryOf(Wnd, D);
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  GetScrollInfo(Wnd, Vertical ? SB_VERT : SB_HORZ, &Info);
  Integer Line = 1;
  if (!Vertical && G.View == LVS_REPORT) Line = G.LineHeight;
  if (G.View == LVS_ICON || G.View == LVS_SMALLICON) Line = Vertical ? G.RowHeight : G.LineHeight;
  const Integer Pos = Vertical ? D.ScrollY : D.ScrollX;
  Integer Target = Pos;
  if (!ScrollRequestTarget(Code, Pos, Line, std::max(1, static_cast<Integer>(Info.nPage)), Info.nMax,
                           Info.nTrackPos, Target))
    return;
  if (Vertical)
    ScrollTo(Wnd, D.ScrollX, Target);
  else
    ScrollTo(Wnd, Target, D.ScrollY);
}

// ---- Label editing ----------------------------------------------------------------------------

LRESULT LabelEditProc(HWND Edit, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const HWND View = GetParent(Edit);
  TListViewData* D = ListData(View);
  const WNDPROC Old = D != nullptr ? D->EditProc : nullptr;
  if (D != nullptr && D->Edit == Edit) {
    if (Msg == WM_KEYDOWN && (WParam == VK_RETURN || WParam == VK_ESCAPE)) {
      EndLabelEdit(View, WParam == VK_ESCAPE);
      return 0;
    }
    if (Msg == WM_CHAR && (WParam == '\r' || WParam == 27)) return 0;
    if (Msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS | CallWindowProc(Old, Edit, Msg, WParam, LParam);
  }
  return Old != nullptr ? CallWindowProc(Old, Edit, Msg, WParam, LParam)
                        : DefWindowProc(Edit, Msg, WParam, LParam);
}

}  // namespace

bool BeginLabelEdit(HWND Wnd, Integer I) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return false;
  if (D->Edit != nullptr) EndLabelEdit(Wnd, false);
  NMLVDISPINFO Info;
  Info.item.mask = LVIF_TEXT | LVIF_PARAM;
  Info.item.iItem = I;
  if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, I)) return false;
  if (!IsOwnerData(Wnd)) Info.item.lParam = D->Items[I].Param;
  if (NotifyParent(Wnd, LVN_BEGINLABELEDIT, &Info.hdr) != 0) return false;
  if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, I)) return false;
  EnsureVisible(Wnd, I, false);
  const TLvGeometry G = GeometryOf(Wnd, *D);
  const TRect R = ItemRect(*D, G, I, LVIR_LABEL);
  const std::string Text = ItemText(Wnd, I, 0);
  RegisterEditClass();
  const HWND Edit =
      CreateWindowEx(0, "Edit", Text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, R.Left,
                     R.Top, std::max<Integer>(R.Width(), 40), R.Height(), Wnd, nullptr, nullptr, nullptr);
  if ((D = ListData(Wnd)) == nullptr || !IsWindow(Edit)) return false;
  if (D->Font != nullptr) SendMessage(Edit, WM_SETFONT, reinterpret_cast<WPARAM>(D->Font), FALSE);
  D->Edit = Edit;
  D->EditItem = I;
  D->EditProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(Edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(LabelEditProc))));
  SendMessage(Edit, EM_SETSEL, 0, -1);
  SetFocus(Edit);
  return true;
}

void EndLabelEdit(HWND Wnd, bool Cancel) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || D->Edit == nullptr) return;
  const HWND Edit = D->Edit;
  const Integer I = D->EditItem;
  D->Edit = nullptr;  // ends once, even when the notification moves the focus
  D->EditItem = -1;
  std::string Text;
  if (!Cancel) {
    const Integer Len = GetWindowTextLength(Edit);
    Text.resize(static_cast<std::size_t>(Len) + 1);
    GetWindowText(Edit, Text.data(), Len + 1);
    Text.resize(static_cast<std::size_t>(Len));
  }
  NMLVDISPINFO Info;
  Info.item.mask = LVIF_TEXT;
  Info.item.iItem = I;
  Info.item.pszText = Cancel ? nullptr : Text.data();
  Info.item.cchTextMax = static_cast<Integer>(Text.size()) + 1;
  const bool Keep = NotifyParent(Wnd, LVN_ENDLABELEDIT, &Info.hdr) != 0;
  if (IsWindow(Edit)) DestroyWindow(Edit);
  if ((D = ListData(Wnd)) == nullptr) return;
  if (Keep && !Cancel && !IsOwnerData(Wnd) && ValidItem(*D, I) && !D->Items[I].TextCallback) {
    D->Items[I].Text = Text;
    NoteItemText(*D, nullptr);
    InvalidateRect(Wnd, nullptr, TRUE);
  }
  if (GetFocus() == nullptr) SetFocus(Wnd);
}

LRESULT ListViewInput(HWND Wnd, TListViewData& D, UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled) {
  Handled = true;
  switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      MouseDown(Wnd, D, MousePoint(LParam), WParam, Msg == WM_RBUTTONDOWN || Msg == WM_RBUTTONDBLCLK,
                Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      MouseUp(Wnd, MousePoint(LParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(LParam) != Wnd) D.Pressed = false;
      return 0;
    case WM_KEYDOWN:
      if (!KeyDown(Wnd, static_cast<WORD>(WParam))) return DefWindowProc(Wnd, Msg, WParam, LParam);
      return 0;
    case WM_CHAR:
      if (WParam > ' ' && WParam < 0x7F) TypeSearch(Wnd, D, static_cast<char>(WParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      D.Focused = Msg == WM_SETFOCUS;
      InvalidateRect(Wnd, nullptr, TRUE);
      NotifyParent(Wnd, Msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
      return 0;
    case WM_COMMAND:
      if (D.Edit != nullptr && reinterpret_cast<HWND>(LParam) == D.Edit && HIWORD(WParam) == EN_KILLFOCUS)
        EndLabelEdit(Wnd, false);
      return 0;
    case WM_MOUSEWHEEL: {
      const Integer Notches = TakeWheelNotches(D.WheelRest, WParam);
      if (Notches == 0) return 0;
      const TLvGeometry G = GeometryOf(Wnd, D);
      const Integer Lines = Notches * WheelLines;
      if (G.View == LVS_REPORT)
        ScrollTo(Wnd, D.ScrollX, D.ScrollY - Lines);
      else if (G.View == LVS_LIST)
        ScrollTo(Wnd, D.ScrollX - Notches, D.ScrollY);
      else
        ScrollTo(Wnd, D.ScrollX, D.ScrollY - Lines * G.RowHeight);
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (LParam == 0) ScrollBarRequest(Wnd, D, Msg == WM_VSCROLL, LOWORD(WParam));
      return 0;
    default:
      Handled = false;
      return 0;
  }
}
