// The list view's window procedure: its messages, handed to its items, columns, geometry and input.
#include "platform/user/ListViewControl.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/ControlText.h"
#include "platform/user/HeaderControl.h"
#include "platform/user/ListViewInternals.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

LRESULT SetImageList(HWND Wnd, TListViewData& D, Integer Kind, HIMAGELIST List) {
  if (Kind < LVSIL_NORMAL || Kind > LVSIL_STATE) return 0;
  const HIMAGELIST Old = D.Images[Kind];
  D.Images[Kind] = List;
  if (Kind == LVSIL_SMALL && IsWindow(D.Header))
    SendMessage(D.Header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(List));
  ItemsChanged(Wnd);
  return reinterpret_cast<LRESULT>(Old);
}

// Items in a spatial direction from I (LVNI_ABOVE .. LVNI_TORIGHT), as the arrow keys move.
Integer Neighbour(HWND Wnd, TListViewData& D, Integer I, UINT Direction) {
  const TLvGeometry G = GeometryOf(Wnd, D);
  Integer Step = 1;
  bool Forward = true;
  switch (G.View) {
    case LVS_REPORT:
      if (Direction & (LVNI_TOLEFT | LVNI_TORIGHT)) return -1;
      Forward = Direction & LVNI_BELOW;
      break;
    case LVS_LIST:
      Forward = Direction & (LVNI_BELOW | LVNI_TORIGHT);
      if (Direction & (LVNI_TOLEFT | LVNI_TORIGHT)) Step = G.RowsPerColumn;
      break;
    default:
      Forward = Direction & (LVNI_BELOW | LVNI_TORIGHT);
      if (Direction & (LVNI_ABOVE | LVNI_BELOW)) Step = G.ItemsPerRow;
      break;
  }
  const Integer Next = Forward ? I + Step : I - Step;
  return ValidItem(D, Next) ? Next : -1;
}

Integer GetNextItem(HWND Wnd, TListViewData& D, Integer Start, UINT Flags) {
  const UINT Direction = Flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT);
  const UINT Wanted = Flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
  auto Matches = [&](Integer I) { return (StateOf(D, I) & Wanted) == Wanted; };
  if (Direction != 0) {
    for (Integer I = Neighbour(Wnd, D, Start, Direction); I >= 0; I = Neighbour(Wnd, D, I, Direction))
      if (Matches(I)) return I;
    return -1;
  }
  if (Wanted == LVNI_FOCUSED) return D.Focus > Start ? D.Focus : -1;
  const Integer N = ItemCount(D);
  for (Integer I = std::max(0, Start + 1); I < N; ++I)
    if (Matches(I)) return I;
  return -1;
}

void SortItems(HWND Wnd, TListViewData& D, LPARAM Sort, PFNLVCOMPARE Compare) {
  if (Compare == nullptr || IsOwnerData(Wnd)) return;
  const LPARAM FocusParam = ValidItem(D, D.Focus) ? D.Items[D.Focus].Param : 0;
  const bool HadFocus = ValidItem(D, D.Focus);
  std::stable_sort(D.Items.begin(), D.Items.end(),
                   [&](const TLvItem& A, const TLvItem& B) { return Compare(A.Param, B.Param, Sort) < 0; });
  if (HadFocus)
    for (Integer I = 0; I < static_cast<Integer>(D.Items.size()); ++I)
      if ((D.Items[I].State & LVIS_FOCUSED) && D.Items[I].Param == FocusParam) D.Focus = I;
  InvalidateRect(Wnd, nullptr, TRUE);
}

LRESULT ListViewWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (Msg == WM_SETFONT) {
    HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result);
    D->LineHeight = 0;
    NoteItemText(*D, nullptr);
    if (IsWindow(D->Header)) SendMessage(D->Header, WM_SETFONT, WParam, LParam);
    UpdateScrolling(Wnd);
    return 0;
  }
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  bool Handled = false;
  Result = ListViewInput(Wnd, *D, Msg, WParam, LParam, Handled);
  if (Handled) return Result;
  if ((D = ListData(Wnd)) == nullptr) return 0;
  switch (Msg) {
    case WM_CREATE:
      CreateHeader(Wnd);
      UpdateScrolling(Wnd);
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, PaintListView);
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrolling(Wnd);
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_STYLECHANGED:
      CreateHeader(Wnd);
      ItemsChanged(Wnd);
      return 0;
    case WM_NOTIFY:
      return HeaderNotify(Wnd, *D, reinterpret_cast<NMHDR*>(LParam));
    case WM_DESTROY:
      if (D->Edit != nullptr) EndLabelEdit(Wnd, true);
      return 0;
    case LVM_GETBKCOLOR:
      return D->BkColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : D->BkColor;
    case LVM_SETBKCOLOR:
      D->BkColor = static_cast<COLORREF>(LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return TRUE;
    case LVM_GETTEXTCOLOR:
      return D->TextColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : D->TextColor;
    case LVM_SETTEXTCOLOR:
      D->TextColor = static_cast<COLORREF>(LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return TRUE;
    case LVM_GETTEXTBKCOLOR:
      return D->TextBkColor;
    case LVM_SETTEXTBKCOLOR:
      D->TextBkColor = static_cast<COLORREF>(LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return TRUE;
    case LVM_GETIMAGELIST:
      return static_cast<Integer>(WParam) >= 0 && WParam <= LVSIL_STATE
                 ? reinterpret_cast<LRESULT>(D->Images[WParam])
                 : 0;
    case LVM_SETIMAGELIST:
      return SetImageList(Wnd, *D, static_cast<Integer>(WParam), reinterpret_cast<HIMAGELIST>(LParam));
    case LVM_GETITEMCOUNT:
      return ItemCount(*D);
    case LVM_SETITEMCOUNT:
      if (IsOwnerData(Wnd)) {
        D->OwnerCount = std::max(0, static_cast<Integer>(WParam));
        D->OwnerStates.resize(D->OwnerCount, 0);
        if (D->Focus >= D->OwnerCount) D->Focus = -1;
        if (D->Mark >= D->OwnerCount) D->Mark = -1;
        ItemsChanged(Wnd);
      } else {
        D->Items.reserve(WParam);
      }
      return TRUE;
    case LVM_GETITEM:
      return GetItem(Wnd, reinterpret_cast<LVITEM*>(LParam)) ? TRUE : FALSE;
    case LVM_SETITEM:
      return SetItem(Wnd, reinterpret_cast<const LVITEM*>(LParam)) ? TRUE : FALSE;
    case LVM_INSERTITEM:
      return InsertItem(Wnd, reinterpret_cast<const LVITEM*>(LParam));
    case LVM_DELETEITEM:
      return DeleteItem(Wnd, static_cast<Integer>(WParam)) ? TRUE : FALSE;
    case LVM_DELETEALLITEMS:
      return DeleteAll(Wnd) ? TRUE : FALSE;
    case LVM_GETITEMTEXT: {
      auto* It = reinterpret_cast<LVITEM*>(LParam);
      if (It == nullptr || !ValidItem(*D, static_cast<Integer>(WParam))) return 0;
      return CopyItemText(ItemText(Wnd, static_cast<Integer>(WParam), It->iSubItem), It->pszText,
                          It->cchTextMax);
    }
    case LVM_SETITEMTEXT: {
      auto* It = reinterpret_cast<LVITEM*>(LParam);
      if (It == nullptr) return FALSE;
      LVITEM Set = *It;
      Set.mask = LVIF_TEXT;
      Set.iItem = static_cast<Integer>(WParam);
      return SetItem(Wnd, &Set) ? TRUE : FALSE;
    }
    case LVM_SETITEMSTATE: {
      auto* It = reinterpret_cast<const LVITEM*>(LParam);
      if (It == nullptr) return FALSE;
      return SetItemState(Wnd, static_cast<Integer>(WParam), It->state, It->stateMask) ? TRUE : FALSE;
    }
    case LVM_GETITEMSTATE:
      return StateOf(*D, static_cast<Integer>(WParam)) & static_cast<UINT>(LParam);
    case LVM_GETCALLBACKMASK:
      return D->CallbackMask;
    case LVM_SETCALLBACKMASK:
      D->CallbackMask = static_cast<UINT>(WParam);
      return TRUE;
    case LVM_GETNEXTITEM:
      return GetNextItem(Wnd, *D, static_cast<Integer>(static_cast<std::intptr_t>(WParam)),
                         static_cast<UINT>(LParam));
    case LVM_FINDITEM: {
      auto* F = reinterpret_cast<const LVFINDINFO*>(LParam);
      return F != nullptr ? FindItem(Wnd, static_cast<Integer>(static_cast<std::intptr_t>(WParam)), *F) : -1;
    }
    case LVM_GETITEMRECT: {
      auto* R = reinterpret_cast<RECT*>(LParam);
      if (R == nullptr || !ValidItem(*D, static_cast<Integer>(WParam))) return FALSE;
      const Integer Code = R->Left;
      if (Code < LVIR_BOUNDS || Code > LVIR_SELECTBOUNDS) return FALSE;
      *R = ItemRect(*D, GeometryOf(Wnd, *D), static_cast<Integer>(WParam), Code);
      return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
      auto* R = reinterpret_cast<RECT*>(LParam);
      const Integer I = static_cast<Integer>(WParam);
      if (R == nullptr || !ValidItem(*D, I)) return FALSE;
      const TLvGeometry G = GeometryOf(Wnd, *D);
      if (R->Top == 0) {
        *R = ItemRect(*D, G, I, R->Left == LVIR_BOUNDS ? LVIR_BOUNDS : R->Left);
        return TRUE;
      }
      if (G.View != LVS_REPORT) return FALSE;
      *R = SubItemRect(*D, G, I, R->Top);
      return TRUE;
    }
    case LVM_GETSTRINGWIDTH:
      return LParam != 0 ? ControlTextWidth(*D, reinterpret_cast<const char*>(LParam)) : 0;
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
      auto* H = reinterpret_cast<LVHITTESTINFO*>(LParam);
      if (H == nullptr) return -1;
      H->iItem = HitTestItem(Wnd, *D, H->pt, H->flags, Msg == LVM_SUBITEMHITTEST ? &H->iSubItem : nullptr);
      return H->iItem;
    }
    case LVM_ENSUREVISIBLE:
      EnsureVisible(Wnd, static_cast<Integer>(WParam), LParam != 0);
      return TRUE;
    case LVM_SCROLL: {
      const TLvGeometry G = GeometryOf(Wnd, *D);
      const Integer Dx = static_cast<Integer>(WParam), Dy = static_cast<Integer>(LParam);
      if (G.View == LVS_REPORT)
        ScrollTo(Wnd, D->ScrollX + Dx, D->ScrollY + Dy / G.RowHeight);
      else if (G.View == LVS_LIST)
        ScrollTo(Wnd, D->ScrollX + Dx / G.ColumnWidth, D->ScrollY);
      else
        ScrollTo(Wnd, D->ScrollX + Dx, D->ScrollY + Dy);
      return TRUE;
    }
    case LVM_REDRAWITEMS:
    case LVM_UPDATE:
      InvalidateRect(Wnd, nullptr, TRUE);
      return TRUE;
    case LVM_ARRANGE:
      return TRUE;
    case LVM_EDITLABEL:
      if (static_cast<Integer>(WParam) < 0) {
        EndLabelEdit(Wnd, true);
        return 0;
      }
      BeginLabelEdit(Wnd, static_cast<Integer>(WParam));
      return (D = ListData(Wnd)) != nullptr ? reinterpret_cast<LRESULT>(D->Edit) : 0;
    case LVM_GETEDITCONTROL:
      return reinterpret_cast<LRESULT>(D->Edit);
    case LVM_GETCOLUMN: {
      auto* C = reinterpret_cast<LVCOLUMN*>(LParam);
      const Integer I = static_cast<Integer>(WParam);
      if (C == nullptr || I < 0 || I >= static_cast<Integer>(D->Columns.size())) return FALSE;
      const TLvColumn& Col = D->Columns[I];
      if (C->mask & LVCF_FMT) C->fmt = Col.Format;
      if (C->mask & LVCF_WIDTH) C->cx = Col.Width;
      if (C->mask & LVCF_TEXT) CopyItemText(Col.Text, C->pszText, C->cchTextMax);
      if (C->mask & LVCF_SUBITEM) C->iSubItem = Col.SubItem;
      if (C->mask & LVCF_IMAGE) C->iImage = Col.Image;
      if (C->mask & LVCF_ORDER)
        C->iOrder = static_cast<Integer>(std::find(D->Order.begin(), D->Order.end(), I) - D->Order.begin());
      return TRUE;
    }
    case LVM_SETCOLUMN:
      return SetColumn(Wnd, static_cast<Integer>(WParam), reinterpret_cast<const LVCOLUMN*>(LParam)) ? TRUE
                                                                                                     : FALSE;
    case LVM_INSERTCOLUMN:
      return InsertColumn(Wnd, static_cast<Integer>(WParam), reinterpret_cast<const LVCOLUMN*>(LParam));
    case LVM_DELETECOLUMN:
      return DeleteColumn(Wnd, static_cast<Integer>(WParam)) ? TRUE : FALSE;
    case LVM_GETCOLUMNWIDTH: {
      const Integer I = static_cast<Integer>(WParam);
      if (ViewOf(Wnd) == LVS_LIST) return GeometryOf(Wnd, *D).ColumnWidth;
      return I >= 0 && I < static_cast<Integer>(D->Columns.size()) ? D->Columns[I].Width : 0;
    }
    case LVM_SETCOLUMNWIDTH:
      return SetColumnWidth(Wnd, static_cast<Integer>(WParam), static_cast<SHORT>(LOWORD(LParam))) ? TRUE
                                                                                                   : FALSE;
    case LVM_GETHEADER:
      return reinterpret_cast<LRESULT>(D->Header);
    case LVM_SETCOLUMNORDERARRAY: {
      auto* Order = reinterpret_cast<const Integer*>(LParam);
      if (Order == nullptr || WParam != D->Columns.size()) return FALSE;
      std::vector<Integer> New(Order, Order + WParam), Sorted = New;
      std::sort(Sorted.begin(), Sorted.end());
      for (Integer K = 0; K < static_cast<Integer>(Sorted.size()); ++K)
        if (Sorted[K] != K) return FALSE;
      D->Order = New;
      if (IsWindow(D->Header)) SendMessage(D->Header, HDM_SETORDERARRAY, WParam, LParam);
      ItemsChanged(Wnd);
      return TRUE;
    }
    case LVM_GETCOLUMNORDERARRAY: {
      auto* Out = reinterpret_cast<Integer*>(LParam);
      if (Out == nullptr || WParam < D->Order.size()) return FALSE;
      std::copy(D->Order.begin(), D->Order.end(), Out);
      return TRUE;
    }
    case LVM_GETVIEWRECT: {
      auto* R = reinterpret_cast<RECT*>(LParam);
      const TLvGeometry G = GeometryOf(Wnd, *D);
      if (R == nullptr || G.View == LVS_REPORT || G.View == LVS_LIST) return FALSE;
      *R = RECT{};
      for (Integer I = 0; I < ItemCount(*D); ++I) {
        const TRect B = ItemRect(*D, G, I, LVIR_BOUNDS);
        *R = I == 0 ? RECT(B)
                    : RECT{std::min(R->Left, B.Left), std::min(R->Top, B.Top), std::max(R->Right, B.Right),
                           std::max(R->Bottom, B.Bottom)};
      }
      return TRUE;
    }
    case LVM_GETORIGIN: {
      auto* P = reinterpret_cast<POINT*>(LParam);
      const DWORD View = ViewOf(Wnd);
      if (P == nullptr) return FALSE;
      *P = (View == LVS_ICON || View == LVS_SMALLICON) ? POINT{D->ScrollX, D->ScrollY} : POINT{0, 0};
      return View == LVS_ICON || View == LVS_SMALLICON;
    }
    case LVM_GETTOPINDEX: {
      const TLvGeometry G = GeometryOf(Wnd, *D);
      if (G.View == LVS_REPORT) return D->ScrollY;
      if (G.View == LVS_LIST) return D->ScrollX * G.RowsPerColumn;
      return 0;
    }
    case LVM_GETCOUNTPERPAGE:
      return CountPerPage(*D, GeometryOf(Wnd, *D));
    case LVM_SORTITEMS:
      SortItems(Wnd, *D, static_cast<LPARAM>(WParam), reinterpret_cast<PFNLVCOMPARE>(LParam));
      return TRUE;
    case LVM_GETSELECTEDCOUNT: {
      Integer N = 0;
      for (Integer I = 0; I < ItemCount(*D); ++I)
        if (StateOf(*D, I) & LVIS_SELECTED) ++N;
      return N;
    }
    case LVM_GETITEMSPACING: {
      const TLvGeometry G = GeometryOf(Wnd, *D);
      if (WParam) return MAKELONG(G.ColumnWidth, G.RowHeight);
      const Integer Cx = D->IconSpacing.cx > 0 ? D->IconSpacing.cx : std::max(G.Large.cx, 32) + 43;
      const Integer Cy = D->IconSpacing.cy > 0 ? D->IconSpacing.cy : G.Large.cy + 8 + 2 * G.LineHeight;
      return MAKELONG(Cx, Cy);
    }
    case LVM_SETICONSPACING: {
      const LRESULT Old = MAKELONG(D->IconSpacing.cx, D->IconSpacing.cy);
      const Integer Cx = static_cast<SHORT>(LOWORD(LParam)), Cy = static_cast<SHORT>(HIWORD(LParam));
      D->IconSpacing = {Cx > 0 ? Cx : 0, Cy > 0 ? Cy : 0};
      ItemsChanged(Wnd);
      return Old;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      const DWORD Old = D->ExStyle;
      const DWORD Mask = WParam != 0 ? static_cast<DWORD>(WParam) : 0xFFFFFFFFu;
      D->ExStyle = (Old & ~Mask) | (static_cast<DWORD>(LParam) & Mask);
      ItemsChanged(Wnd);
      return Old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return D->ExStyle;
    case LVM_GETSELECTIONMARK:
      return D->Mark;
    case LVM_SETSELECTIONMARK: {
      const Integer Old = D->Mark;
      D->Mark = static_cast<Integer>(LParam);
      return Old;
    }
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterListViewClass() {
  RegisterHeaderClass();
  RegisterControlClass(WC_LISTVIEW, ListViewWndProc, CS_DBLCLKS, -1);
}
