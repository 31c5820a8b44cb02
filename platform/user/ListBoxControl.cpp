// The LISTBOX control's window procedure: creation, items, selection and the LB_* messages.
#include "platform/user/ListBoxControl.h"

#include <algorithm>
#include <cstring>

#include "platform/system/Strings.h"
#include "platform/user/ComboBoxControl.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

bool Valid(const TListBoxData& D, Integer Index) {
  return Index >= 0 && Index < ItemCount(D);
}

void SendDeleteItem(TListBoxData& D, Integer Index) {
  const TListBoxItem& It = D.Items[static_cast<std::size_t>(Index)];
  if (!IsOwnerDraw(D) && It.Data == 0) return;
  const TOwnerInfo O = ListOwner(D);
  if (O.Target == nullptr) return;
  DELETEITEMSTRUCT DI;
  DI.CtlType = O.CtlType;
  DI.CtlID = O.CtlID;
  DI.itemID = static_cast<UINT>(Index);
  DI.hwndItem = O.Item;
  DI.itemData = It.Data;
  SendMessage(O.Target, WM_DELETEITEM, O.CtlID, reinterpret_cast<LPARAM>(&DI));
}

// Where a sorted list takes a new item: after the equal ones.
Integer SortedPosition(TListBoxData& D, const TListBoxItem& Item) {
  Integer Lo = 0, Hi = ItemCount(D);
  const bool Strings = HasStrings(D);
  const TOwnerInfo O = Strings ? TOwnerInfo() : ListOwner(D);
  while (Lo < Hi) {
    const Integer Mid = (Lo + Hi) / 2;
    const TListBoxItem& M = D.Items[static_cast<std::size_t>(Mid)];
    Integer Cmp;
    if (Strings) {
      Cmp = AnsiCompareText(M.Text, Item.Text);
    } else {
      COMPAREITEMSTRUCT CI;
      CI.CtlType = O.CtlType;
      CI.CtlID = O.CtlID;
      CI.hwndItem = O.Item;
      CI.itemID1 = static_cast<UINT>(Mid);
      CI.itemData1 = M.Data;
      CI.itemID2 = static_cast<UINT>(-1);
      CI.itemData2 = Item.Data;
      Cmp = O.Target != nullptr ? static_cast<Integer>(SendMessage(O.Target, WM_COMPAREITEM, O.CtlID,
                                                                   reinterpret_cast<LPARAM>(&CI)))
                                : 0;
    }
    if (Cmp <= 0)
      Lo = Mid + 1;
    else
      Hi = Mid;
  }
  return Lo;
}

LRESULT InsertItem(TListBoxData& D, Integer Index, LPARAM LParam, bool Sorted) {
  TListBoxItem Item;
  if (HasStrings(D)) {
    const char* S = reinterpret_cast<const char*>(LParam);
    Item.Text = S != nullptr ? S : "";
    Item.Key = AnsiLowerCase(Item.Text);
  } else {
    Item.Data = static_cast<ULONG_PTR>(LParam);
  }
  const Integer N = ItemCount(D);
  if (Sorted)
    Index = SortedPosition(D, Item);
  else if (Index == -1)
    Index = N;
  else if (Index < 0 || Index > N)
    return LB_ERR;
  Item.Height = D.ItemHeight;
  D.Items.insert(D.Items.begin() + Index, std::move(Item));
  if (D.CurSel >= Index) ++D.CurSel;
  if (N > 0 && D.Caret >= Index) ++D.Caret;
  if (N > 0 && D.Anchor >= Index) ++D.Anchor;
  if (IsVariable(D)) {
    const TOwnerInfo O = ListOwner(D);
    MEASUREITEMSTRUCT MI;
    MI.CtlType = O.CtlType;
    MI.CtlID = O.CtlID;
    MI.itemID = static_cast<UINT>(Index);
    MI.itemWidth = static_cast<UINT>(ClientRectOf(D.Wnd).Width());
    MI.itemHeight = static_cast<UINT>(D.ItemHeight);
    MI.itemData = static_cast<ULONG_PTR>(LParam);
    if (O.Target != nullptr) SendMessage(O.Target, WM_MEASUREITEM, O.CtlID, reinterpret_cast<LPARAM>(&MI));
    if (Valid(D, Index))
      D.Items[static_cast<std::size_t>(Index)].Height =
          std::max<Integer>(1, static_cast<Integer>(MI.itemHeight));
  }
  ListUpdateScrollBars(D);
  ListInvalidate(D);
  return Index;
}

LRESULT DeleteItem(TListBoxData& D, Integer Index) {
  if (!Valid(D, Index)) return LB_ERR;
  SendDeleteItem(D, Index);
  if (!Valid(D, Index)) return LB_ERR;
  D.Items.erase(D.Items.begin() + Index);
  const Integer N = ItemCount(D);
  if (D.CurSel == Index)
    D.CurSel = -1;
  else if (D.CurSel > Index)
    --D.CurSel;
  auto Shift = [&](Integer& I) {
    if (I > Index) --I;
    I = std::clamp(I, 0, std::max(0, N - 1));
  };
  Shift(D.Caret);
  Shift(D.Anchor);
  D.Top = std::clamp(D.Top, 0, ListMaxTop(D));
  ListUpdateScrollBars(D);
  ListInvalidate(D);
  return N;
}

void DeleteAll(TListBoxData& D) {
  for (Integer I = 0; I < ItemCount(D); ++I) SendDeleteItem(D, I);
  D.Items.clear();
  D.Top = D.Caret = D.Anchor = 0;
  D.CurSel = -1;
}

void Create(TListBoxData& D, const CREATESTRUCT* CS) {
  const DWORD Style = ListStyle(D);
  D.VScroll = (Style & WS_VSCROLL) != 0;
  D.HScroll = (Style & WS_HSCROLL) != 0;
  // A combo's list learns its combo from the creation parameter (a pop-up's owner is the
  // combo's top-level window, not the combo).
  if ((Style & LBS_COMBOBOX) && CS != nullptr)
    D.Combo = CS->lpCreateParams != nullptr ? static_cast<HWND>(CS->lpCreateParams) : CS->hwndParent;
  D.Metrics = FontMetricsOf(D.Font);
  D.ItemHeight = ListDefaultItemHeight(D);
  if (Style & LBS_OWNERDRAWFIXED) {
    const TOwnerInfo O = ListOwner(D);
    MEASUREITEMSTRUCT MI;
    MI.CtlType = O.CtlType;
    MI.CtlID = O.CtlID;
    MI.itemID = 0;
    MI.itemWidth = static_cast<UINT>(ClientRectOf(D.Wnd).Width());
    MI.itemHeight = static_cast<UINT>(D.ItemHeight);
    if (O.Target != nullptr) SendMessage(O.Target, WM_MEASUREITEM, O.CtlID, reinterpret_cast<LPARAM>(&MI));
    if (MI.itemHeight > 0) D.ItemHeight = static_cast<Integer>(MI.itemHeight);
  }
  ListUpdateScrollBars(D);
}

void FocusChanged(TListBoxData& D, bool Focused) {
  D.Focused = Focused;
  if (!Focused) ListStopTracking(D);
  ListRepaintItem(D, ItemCount(D) > 0 ? D.Caret : -1, ODA_FOCUS);
  ListNotify(D, Focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

LRESULT GetText(const TListBoxData& D, Integer Index, char* Buffer) {
  if (!Valid(D, Index)) return LB_ERR;
  const TListBoxItem& It = D.Items[static_cast<std::size_t>(Index)];
  if (!HasStrings(D)) {
    if (Buffer != nullptr) std::memcpy(Buffer, &It.Data, sizeof(It.Data));
    return sizeof(It.Data);
  }
  if (Buffer != nullptr) {
    std::memcpy(Buffer, It.Text.data(), It.Text.size());
    Buffer[It.Text.size()] = 0;
  }
  return static_cast<LRESULT>(It.Text.size());
}

LRESULT SelectString(TListBoxData& D, Integer Start, LPARAM L) {
  const char* S = reinterpret_cast<const char*>(L);
  const Integer I = ListFind(D, Start, S != nullptr ? S : "", static_cast<ULONG_PTR>(L), false);
  if (I < 0) return LB_ERR;
  if (IsMultiSel(D)) {
    ListSetSel(D, I, true);
    ListSetCaret(D, I, true);
  } else {
    ListSetCurSel(D, I);
    ListShow(D, I);
  }
  return I;
}

LRESULT SetItemHeight(TListBoxData& D, Integer Index, Integer Height) {
  if (Height <= 0 || Height > 255) return LB_ERR;
  if (IsVariable(D)) {
    if (!Valid(D, Index)) return LB_ERR;
    D.Items[static_cast<std::size_t>(Index)].Height = Height;
  } else {
    D.ItemHeight = Height;
  }
  ListSized(D, false);
  return LB_OKAY;
}

LRESULT GetSelItems(const TListBoxData& D, WPARAM Max, Integer* Out) {
  if (!IsMultiSel(D)) return LB_ERR;
  Integer N = 0;
  for (Integer I = 0; I < ItemCount(D) && static_cast<WPARAM>(N) < Max; ++I)
    if (D.Items[static_cast<std::size_t>(I)].Selected) {
      if (Out != nullptr) Out[N] = I;
      ++N;
    }
  return N;
}

LRESULT ItemFromPoint(const TListBoxData& D, LPARAM L) {
  bool Outside = false;
  const Integer I = ListItemFromPoint(D, {GET_X_LPARAM(L), GET_Y_LPARAM(L)}, &Outside);
  if (I < 0) return static_cast<LRESULT>(MAKELONG(0, 1));
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(I), Outside ? 1 : 0));
}

LRESULT ListWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TListBoxData* PD = ListDataOf(Wnd);
  if (PD == nullptr) return DefWindowProc(Wnd, Msg, WParam, LParam);
  TListBoxData& D = *PD;
  const Integer Index = static_cast<Integer>(WParam);
  switch (Msg) {
    case WM_CREATE:
      Create(D, reinterpret_cast<const CREATESTRUCT*>(LParam));
      return 0;
    case WM_DESTROY:
      ListStopTracking(D);
      DeleteAll(D);
      return 0;
    case WM_SIZE:
      ListSized(D, true);
      return 0;
    case WM_SETFONT:
      D.Font = reinterpret_cast<HFONT>(WParam);
      D.Metrics = FontMetricsOf(D.Font);
      if (!IsOwnerDraw(D)) D.ItemHeight = ListDefaultItemHeight(D);
      ListSized(D, false);
      if (LOWORD(static_cast<std::uintptr_t>(LParam)) != 0) ListInvalidate(D);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(D.Font);
    case WM_SETREDRAW:
      D.NoRedraw = WParam == 0;
      DefWindowProc(Wnd, Msg, WParam, LParam);
      if (!D.NoRedraw) {
        ListUpdateScrollBars(D);
        ListInvalidate(D);
      }
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, ListPaint);
    case WM_ERASEBKGND:
      ListEraseBackground(D, reinterpret_cast<HDC>(WParam));
      return 1;
    case WM_SETFOCUS:
      FocusChanged(D, true);
      return 0;
    case WM_KILLFOCUS:
      FocusChanged(D, false);
      return 0;
    case WM_ENABLE:
      ListInvalidate(D);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      if (ListKeyDown(D, WParam)) return 0;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_CHAR:
      return ListChar(D, WParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      if (D.Combo != nullptr && (ListStyle(D) & WS_POPUP)) return ComboListMouse(D, Msg, WParam, LParam);
      return ListMouse(D, Msg, WParam, LParam);
    case WM_CAPTURECHANGED:
      if (D.Combo != nullptr && (ListStyle(D) & WS_POPUP))
        ComboListCaptureLost(D, reinterpret_cast<HWND>(LParam));
      else if (reinterpret_cast<HWND>(LParam) != Wnd)
        ListStopTracking(D);
      return 0;
    case WM_TIMER:
      if (WParam == kListTrackTimer) {
        ListTimer(D);
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_MOUSEWHEEL:
      return ListWheel(D, WParam);
    case WM_VSCROLL:
    case WM_HSCROLL:
      return ListScroll(D, Msg, LOWORD(WParam), HIWORD(WParam));
    case WM_MOUSEACTIVATE:
      if (D.Combo != nullptr && (ListStyle(D) & WS_POPUP)) return MA_NOACTIVATE;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_CANCELMODE:
      ListStopTracking(D);
      if (D.Combo != nullptr && (ListStyle(D) & WS_POPUP)) ComboCloseUp(D.Combo, TComboClose::Cancel);
      return DefWindowProc(Wnd, Msg, WParam, LParam);

    case LB_ADDSTRING:
      return InsertItem(D, -1, LParam, (ListStyle(D) & LBS_SORT) != 0);
    case LB_INSERTSTRING:
      return InsertItem(D, Index, LParam, false);
    case LB_DELETESTRING:
      return DeleteItem(D, Index);
    case LB_RESETCONTENT:
      DeleteAll(D);
      ListUpdateScrollBars(D);
      ListInvalidate(D);
      return LB_OKAY;
    case LB_GETCOUNT:
      return ItemCount(D);
    case LB_GETTEXT:
      return GetText(D, Index, reinterpret_cast<char*>(LParam));
    case LB_GETTEXTLEN:
      if (!Valid(D, Index)) return LB_ERR;
      return HasStrings(D) ? static_cast<LRESULT>(D.Items[static_cast<std::size_t>(Index)].Text.size())
                           : static_cast<LRESULT>(sizeof(ULONG_PTR));
    case LB_SETITEMDATA:
      if (!Valid(D, Index)) return LB_ERR;
      D.Items[static_cast<std::size_t>(Index)].Data = static_cast<ULONG_PTR>(LParam);
      return TRUE;
    case LB_GETITEMDATA:
      if (!Valid(D, Index)) return LB_ERR;
      return static_cast<LRESULT>(D.Items[static_cast<std::size_t>(Index)].Data);
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT: {
      const char* S = reinterpret_cast<const char*>(LParam);
      const Integer I = ListFind(D, Index, S != nullptr && HasStrings(D) ? S : "",
                                 static_cast<ULONG_PTR>(LParam), Msg == LB_FINDSTRINGEXACT);
      return I < 0 ? LB_ERR : I;
    }
    case LB_SELECTSTRING:
      return SelectString(D, Index, LParam);
    case LB_SETCURSEL:
      if (IsMultiSel(D)) return LB_ERR;
      if (Index == -1) {
        ListSetCurSel(D, -1);
        return LB_ERR;
      }
      if (!Valid(D, Index)) return LB_ERR;
      ListSetCurSel(D, Index);
      ListShow(D, Index);
      return Index;
    case LB_GETCURSEL:
      if (IsMultiSel(D)) return ItemCount(D) > 0 ? D.Caret : LB_ERR;
      return D.CurSel >= 0 ? D.CurSel : LB_ERR;
    case LB_SETSEL: {
      if (!IsMultiSel(D)) return LB_ERR;
      const Integer I = static_cast<Integer>(LParam);
      if (I == -1) {
        ListSelectRange(D, 0, ItemCount(D) - 1, WParam != 0, false);
        return LB_OKAY;
      }
      if (!Valid(D, I)) return LB_ERR;
      ListSetSel(D, I, WParam != 0);
      return LB_OKAY;
    }
    case LB_GETSEL:
      if (!Valid(D, Index)) return LB_ERR;
      return IsSelected(D, Index) ? 1 : 0;
    case LB_GETSELCOUNT:
      return IsMultiSel(D) ? GetSelItems(D, static_cast<WPARAM>(ItemCount(D)), nullptr) : LB_ERR;
    case LB_GETSELITEMS:
      return GetSelItems(D, WParam, reinterpret_cast<Integer*>(LParam));
    case LB_SELITEMRANGE: {
      if (!IsMultiSel(D)) return LB_ERR;
      const Integer A = LOWORD(static_cast<std::uintptr_t>(LParam)),
                    B = HIWORD(static_cast<std::uintptr_t>(LParam));
      ListSelectRange(D, std::min(A, B), std::max(A, B), WParam != 0, false);
      return LB_OKAY;
    }
    case LB_SELITEMRANGEEX: {
      if (!IsMultiSel(D)) return LB_ERR;
      const Integer A = Index, B = static_cast<Integer>(LParam);
      if (A <= B)
        ListSelectRange(D, A, B, true, false);
      else
        ListSelectRange(D, B, A, false, false);
      return LB_OKAY;
    }
    case LB_SETCARETINDEX:
      if (!Valid(D, Index)) return LB_ERR;
      ListSetCaret(D, Index, false);
      ListShow(D, Index, LOWORD(static_cast<std::uintptr_t>(LParam)) == 0);
      return LB_OKAY;
    case LB_GETCARETINDEX:
      return D.Caret;
    case LB_SETANCHORINDEX:
      if (!Valid(D, Index)) return LB_ERR;
      D.Anchor = Index;
      return LB_OKAY;
    case LB_GETANCHORINDEX:
      return D.Anchor;
    case LB_GETTOPINDEX:
      return D.Top;
    case LB_SETTOPINDEX:
      if (Index < 0 || (Index >= ItemCount(D) && Index > 0)) return LB_ERR;
      ListSetTop(D, Index);
      return LB_OKAY;
    case LB_GETITEMRECT:
      if (Index < 0 || Index >= std::max(1, ItemCount(D)) || LParam == 0) return LB_ERR;
      *reinterpret_cast<RECT*>(LParam) = ListItemRect(D, Index);
      return LB_OKAY;
    case LB_ITEMFROMPOINT:
      return ItemFromPoint(D, LParam);
    case LB_SETITEMHEIGHT:
      return SetItemHeight(D, Index, LOWORD(static_cast<std::uintptr_t>(LParam)));
    case LB_GETITEMHEIGHT:
      if (IsVariable(D)) return Valid(D, Index) ? ListItemHeight(D, Index) : LB_ERR;
      return D.ItemHeight;
    case LB_SETHORIZONTALEXTENT:
      D.HorzExtent = std::max(0, Index);
      ListSetHorzPos(D, D.HorzPos);
      ListUpdateScrollBars(D);
      return 0;
    case LB_GETHORIZONTALEXTENT:
      return D.HorzExtent;
    case LB_SETTABSTOPS: {
      D.TabStops.clear();
      const Integer* Stops = reinterpret_cast<const Integer*>(LParam);
      if (Stops != nullptr)
        for (WPARAM I = 0; I < WParam; ++I) D.TabStops.push_back(Stops[I]);
      ListInvalidate(D);
      return TRUE;
    }
    case LB_INITSTORAGE:
      D.Items.reserve(D.Items.size() + WParam);
      return static_cast<LRESULT>(D.Items.capacity());
    case LB_GETLISTBOXINFO:
      return ListPageSize(D);
    case LB_SETCOLUMNWIDTH:
      return 0;
    case LB_SETLOCALE:
    case LB_GETLOCALE:
      return 0x0409;
    case LB_SETCOUNT:
    case LB_DIR:
    case LB_ADDFILE:
      return LB_ERR;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

// A parent that leaves WM_VKEYTOITEM / WM_CHARTOITEM to the default procedure asks for the
// list's own handling (-1).
LRESULT DefKeyToItem(TWindow*, UINT, WPARAM, LPARAM) {
  return -1;
}

void RegisterListClass(const char* Name, UINT Style) {
  if (FindWindowClass(Name) != nullptr) return;
  WNDCLASSEX WC;
  WC.style = Style | CS_DBLCLKS | CS_GLOBALCLASS;
  WC.lpfnWndProc = MakeWndProc(ListWndProc);
  WC.hCursor = LoadCursor(nullptr, IDC_ARROW);
  WC.lpszClassName = Name;
  RegisterClassEx(&WC);
}

}  // namespace

TListBoxData* ListDataOf(HWND Wnd) {
  return BoundControlData<TListBoxData>(Wnd);
}

DWORD ListStyle(const TListBoxData& D) {
  return LiveWindowStyle(D.Wnd);
}

bool IsOwnerDraw(const TListBoxData& D) {
  return (ListStyle(D) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}
bool HasStrings(const TListBoxData& D) {
  return !IsOwnerDraw(D) || (ListStyle(D) & LBS_HASSTRINGS) != 0;
}
bool IsVariable(const TListBoxData& D) {
  return (ListStyle(D) & LBS_OWNERDRAWVARIABLE) != 0;
}
bool IsMultiSel(const TListBoxData& D) {
  return (ListStyle(D) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

bool IsSelected(const TListBoxData& D, Integer Index) {
  if (Index < 0 || Index >= ItemCount(D)) return false;
  return IsMultiSel(D) ? D.Items[static_cast<std::size_t>(Index)].Selected : Index == D.CurSel;
}

TOwnerInfo ListOwner(const TListBoxData& D) {
  TOwnerInfo O;
  if (D.Combo != nullptr) {
    O.Target = GetParent(D.Combo);
    O.CtlType = ODT_COMBOBOX;
    O.CtlID = static_cast<UINT>(GetDlgCtrlID(D.Combo));
    O.Item = D.Combo;
  } else {
    O.Target = GetParent(D.Wnd);
    O.CtlID = static_cast<UINT>(GetDlgCtrlID(D.Wnd));
    O.Item = D.Wnd;
  }
  return O;
}

Integer ListFind(const TListBoxData& D, Integer Start, const std::string& Text, ULONG_PTR Data, bool Exact) {
  const Integer N = ItemCount(D);
  if (N == 0) return -1;
  if (Start < 0 || Start >= N) Start = -1;
  const bool Strings = HasStrings(D);
  const std::string Key = Strings ? AnsiLowerCase(Text) : std::string();
  for (Integer K = 1; K <= N; ++K) {
    const Integer I = (Start + K) % N;
    const TListBoxItem& It = D.Items[static_cast<std::size_t>(I)];
    const bool Match = !Strings ? It.Data == Data
                       : Exact  ? It.Key == Key
                                : It.Key.compare(0, Key.size(), Key) == 0;
    if (Match) return I;
  }
  return -1;
}

bool ListSetCurSel(TListBoxData& D, Integer Index) {
  const Integer Old = D.CurSel, OldCaret = D.Caret;
  D.CurSel = Index;
  if (Index >= 0) D.Caret = D.Anchor = Index;
  if (Old != Index) {
    ListRepaintItem(D, Old, ODA_SELECT);
    ListRepaintItem(D, Index, ODA_SELECT);
  }
  if (OldCaret != D.Caret && D.Focused) {
    ListRepaintItem(D, OldCaret, ODA_FOCUS);
    ListRepaintItem(D, D.Caret, ODA_FOCUS);
  }
  return Old != Index;
}

bool ListSetSel(TListBoxData& D, Integer Index, bool Select) {
  if (Index < 0 || Index >= ItemCount(D)) return false;
  TListBoxItem& It = D.Items[static_cast<std::size_t>(Index)];
  if (It.Selected == Select) return false;
  It.Selected = Select;
  ListRepaintItem(D, Index, ODA_SELECT);
  return true;
}

bool ListSelectRange(TListBoxData& D, Integer First, Integer Last, bool Select, bool ClearOthers) {
  if (First > Last) std::swap(First, Last);
  bool Changed = false;
  for (Integer I = 0; I < ItemCount(D); ++I) {
    const bool In = I >= First && I <= Last;
    if (In)
      Changed |= ListSetSel(D, I, Select);
    else if (ClearOthers)
      Changed |= ListSetSel(D, I, false);
  }
  return Changed;
}

void ListSetCaret(TListBoxData& D, Integer Index, bool Scroll) {
  if (Index < 0 || Index >= ItemCount(D)) return;
  const Integer Old = D.Caret;
  D.Caret = Index;
  if (Old != Index && D.Focused) {
    ListRepaintItem(D, Old, ODA_FOCUS);
    ListRepaintItem(D, Index, ODA_FOCUS);
  }
  if (Scroll) ListShow(D, Index);
}

void ListNotify(TListBoxData& D, WORD Code) {
  if (!(ListStyle(D) & LBS_NOTIFY)) return;
  if (D.Combo == nullptr)
    NotifyCommand(D.Wnd, Code);
  else
    SendMessage(D.Combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(D.Wnd), Code), reinterpret_cast<LPARAM>(D.Wnd));
}

HBRUSH ListColors(TListBoxData& D, HDC DC) {
  if (D.Combo == nullptr) return ControlColorBrush(D.Wnd, DC, WM_CTLCOLORLISTBOX);
  // A combo's list asks the combo, which asks its parent.
  const LRESULT R =
      SendMessage(D.Combo, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(D.Wnd));
  if (R != 0) return reinterpret_cast<HBRUSH>(R);
  return reinterpret_cast<HBRUSH>(DefWindowProc(D.Wnd, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(DC),
                                                reinterpret_cast<LPARAM>(D.Wnd)));
}

void RegisterListBoxClass() {
  RegisterListClass("LISTBOX", 0);
  RegisterListClass("ComboLBox", CS_SAVEBITS);
  if (GetDefWindowProcHandler(WM_VKEYTOITEM) == nullptr) SetDefWindowProcHandler(WM_VKEYTOITEM, DefKeyToItem);
  if (GetDefWindowProcHandler(WM_CHARTOITEM) == nullptr) SetDefWindowProcHandler(WM_CHARTOITEM, DefKeyToItem);
}

void RegisterNativeControlClasses() {
  RegisterEditClass();
  RegisterListBoxClass();
  RegisterComboBoxClass();
}
