// The list view: items, columns, states and the messages that reach them.
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

constexpr Integer HeaderId = 0;
constexpr Integer DispTextSize = 260;
constexpr Integer AutoSizeMargin = 12;

bool OwnerData(HWND Wnd) {
  return LiveWindowStyle(Wnd) & LVS_OWNERDATA;
}

// ---- Texts from the parent --------------------------------------------------------------------

// LVN_GETDISPINFO for Mask of item I (sub-item Sub); the answer in Item.
void AskDispInfo(HWND Wnd, Integer I, Integer Sub, UINT Mask, NMLVDISPINFO& Info, char* Buffer) {
  Info.item.mask = Mask;
  Info.item.iItem = I;
  Info.item.iSubItem = Sub;
  Info.item.pszText = Buffer;
  Info.item.cchTextMax = DispTextSize;
  Buffer[0] = '\0';
  if (TListViewData* D = ListData(Wnd)) {
    if (OwnerData(Wnd)) {
      Info.item.state = StateOf(*D, I);
    } else if (ValidItem(*D, I)) {
      Info.item.lParam = D->Items[I].Param;
      Info.item.iImage = D->Items[I].Image;
    }
  }
  NotifyParent(Wnd, LVN_GETDISPINFO, &Info.hdr);
}

}  // namespace

std::string ItemText(HWND Wnd, Integer I, Integer Sub) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return {};
  if (!OwnerData(Wnd)) {
    const TLvItem& It = D->Items[I];
    if (Sub == 0 && !It.TextCallback) return It.Text;
    const bool SubCallback =
        Sub > 0 && Sub <= static_cast<Integer>(It.SubCallbacks.size()) && It.SubCallbacks[Sub - 1];
    if (Sub > 0 && !SubCallback)
      return Sub <= static_cast<Integer>(It.SubTexts.size()) ? It.SubTexts[Sub - 1] : std::string();
  }
  NMLVDISPINFO Info;
  char Buffer[DispTextSize];
  AskDispInfo(Wnd, I, Sub, LVIF_TEXT, Info, Buffer);
  if (Info.item.pszText == nullptr || Info.item.pszText == LPSTR_TEXTCALLBACK) return {};
  return std::string(Info.item.pszText, strnlen(Info.item.pszText, 4096));
}

Integer ItemImage(HWND Wnd, Integer I) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return -1;
  if (!OwnerData(Wnd) && D->Items[I].Image != I_IMAGECALLBACK) return D->Items[I].Image;
  NMLVDISPINFO Info;
  char Buffer[DispTextSize];
  AskDispInfo(Wnd, I, 0, LVIF_IMAGE, Info, Buffer);
  return Info.item.iImage;
}

// ---- States -----------------------------------------------------------------------------------

namespace {

void InvalidateItem(HWND Wnd, TListViewData& D, Integer I) {
  const TLvGeometry G = GeometryOf(Wnd, D);
  RECT R = ItemRect(D, G, I, LVIR_BOUNDS);
  if (G.View == LVS_REPORT) R.Right = std::max<Integer>(R.Right, G.Client.cx);
  InvalidateRect(Wnd, &R, TRUE);
}

LRESULT NotifyItemChange(HWND Wnd, UINT Code, Integer I, UINT Old, UINT New, UINT Changed, LPARAM Param) {
  NMLISTVIEW N;
  N.iItem = I;
  N.uOldState = Old;
  N.uNewState = New;
  N.uChanged = Changed;
  N.lParam = Param;
  return NotifyParent(Wnd, Code, &N.hdr);
}

bool SetOneState(HWND Wnd, Integer I, UINT State, UINT Mask) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return false;
  const UINT Old = StateOf(*D, I);
  const UINT New = (Old & ~Mask) | (State & Mask);
  if (New == Old) return true;
  const bool Owner = OwnerData(Wnd);
  const LPARAM Param = Owner ? 0 : D->Items[I].Param;
  if (!Owner && NotifyItemChange(Wnd, LVN_ITEMCHANGING, I, Old, New, LVIF_STATE, Param) != 0) return false;
  if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, I)) return false;
  if (Owner) {
    if (D->OwnerStates.size() < static_cast<std::size_t>(D->OwnerCount))
      D->OwnerStates.resize(D->OwnerCount, 0);
    D->OwnerStates[I] = New;
  } else {
    D->Items[I].State = New;
  }
  // One focused item; one selected item in a single-selection view.
  if ((New & LVIS_FOCUSED) && !(Old & LVIS_FOCUSED)) {
    const Integer Before = D->Focus;
    D->Focus = I;
    if (Before != I && ValidItem(*D, Before)) SetOneState(Wnd, Before, 0, LVIS_FOCUSED);
  } else if (!(New & LVIS_FOCUSED) && D->Focus == I) {
    D->Focus = -1;
  }
  if ((D = ListData(Wnd)) == nullptr) return false;
  if ((New & LVIS_SELECTED) && !(Old & LVIS_SELECTED) && (LiveWindowStyle(Wnd) & LVS_SINGLESEL)) {
    const Integer N = ItemCount(*D);
    for (Integer K = 0; K < N; ++K)
      if (K != I && (StateOf(*D, K) & LVIS_SELECTED)) {
        SetOneState(Wnd, K, 0, LVIS_SELECTED);
        if ((D = ListData(Wnd)) == nullptr) return false;
      }
  }
  InvalidateItem(Wnd, *D, I);
  NotifyItemChange(Wnd, LVN_ITEMCHANGED, I, Old, New, LVIF_STATE, Param);
  return true;
}

}  // namespace

bool SetItemState(HWND Wnd, Integer I, UINT State, UINT Mask) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr) return false;
  if (I >= 0) return SetOneState(Wnd, I, State, Mask);
  if (OwnerData(Wnd)) {
    // Owner data: one notification for every item.
    D->OwnerStates.resize(D->OwnerCount, 0);
    for (UINT& S : D->OwnerStates) S = (S & ~Mask) | (State & Mask);
    if ((Mask & LVIS_FOCUSED) && !(State & LVIS_FOCUSED)) D->Focus = -1;
    InvalidateRect(Wnd, nullptr, TRUE);
    NotifyItemChange(Wnd, LVN_ITEMCHANGED, -1, 0, State & Mask, LVIF_STATE, 0);
    return true;
  }
  bool All = true;
  for (Integer K = 0; (D = ListData(Wnd)) != nullptr && K < ItemCount(*D); ++K)
    All = SetOneState(Wnd, K, State, Mask) && All;
  return All;
}

void SelectByUser(HWND Wnd, Integer I, bool Extend, bool Toggle, bool MoveFocusOnly) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return;
  const bool Single = LiveWindowStyle(Wnd) & LVS_SINGLESEL;
  if (Single) Extend = Toggle = MoveFocusOnly = false;
  if (MoveFocusOnly) {
    SetOneState(Wnd, I, LVIS_FOCUSED, LVIS_FOCUSED);
  } else if (Toggle) {
    SetOneState(Wnd, I, (StateOf(*D, I) & LVIS_SELECTED) ? LVIS_FOCUSED : LVIS_SELECTED | LVIS_FOCUSED,
                LVIS_SELECTED | LVIS_FOCUSED);
    if ((D = ListData(Wnd)) != nullptr) D->Mark = I;
  } else {
    const Integer Mark = Extend && ValidItem(*D, D->Mark) ? D->Mark : I;
    const Integer Lo = std::min(Mark, I), Hi = std::max(Mark, I);
    const Integer N = ItemCount(*D);
    for (Integer K = 0; K < N; ++K) {
      if ((D = ListData(Wnd)) == nullptr) return;
      const bool Want = K >= Lo && K <= Hi;
      if (Want != static_cast<bool>(StateOf(*D, K) & LVIS_SELECTED))
        SetOneState(Wnd, K, Want ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    SetOneState(Wnd, I, LVIS_FOCUSED, LVIS_FOCUSED);
    if ((D = ListData(Wnd)) != nullptr) D->Mark = Mark;
  }
  EnsureVisible(Wnd, I, false);
}

// ---- Finding ----------------------------------------------------------------------------------

namespace {

bool StartsWithNoCase(const std::string& S, const std::string& Prefix) {
  if (Prefix.size() > S.size()) return false;
  for (std::size_t K = 0; K < Prefix.size(); ++K)
    if (std::tolower(static_cast<unsigned char>(S[K])) != std::tolower(static_cast<unsigned char>(Prefix[K])))
      return false;
  return true;
}

}  // namespace

Integer FindItem(HWND Wnd, Integer Start, const LVFINDINFO& Find) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr) return -1;
  if (OwnerData(Wnd)) {
    NMLVFINDITEM N;
    N.iStart = Start + 1;
    N.lvfi = Find;
    return static_cast<Integer>(NotifyParent(Wnd, LVN_ODFINDITEM, &N.hdr));
  }
  const Integer Count = ItemCount(*D);
  const std::string Wanted = (Find.flags & (LVFI_STRING | LVFI_PARTIAL)) && Find.psz ? Find.psz : "";
  const Integer From = std::clamp(Start + 1, 0, Count);
  const Integer Steps = (Find.flags & LVFI_WRAP) ? Count : Count - From;
  for (Integer K = 0; K < Steps; ++K) {
    const Integer I = (From + K) % std::max(1, Count);
    if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, I)) return -1;
    if (Find.flags & LVFI_PARAM) {
      if (D->Items[I].Param == Find.lParam) return I;
      continue;
    }
    const std::string Text = ItemText(Wnd, I, 0);
    if (Find.flags & LVFI_PARTIAL) {
      if (StartsWithNoCase(Text, Wanted)) return I;
    } else if (Text.size() == Wanted.size() && StartsWithNoCase(Text, Wanted)) {
      return I;
    }
  }
  return -1;
}

// ---- Items and columns ------------------------------------------------------------------------

namespace {

void ItemsChanged(HWND Wnd) {
  UpdateScrolling(Wnd);
  InvalidateRect(Wnd, nullptr, TRUE);
}

void TakeItem(TLvItem& It, const LVITEM& In) {
  if (In.mask & LVIF_TEXT) {
    It.TextCallback = In.pszText == LPSTR_TEXTCALLBACK;
    It.Text = (In.pszText != nullptr && !It.TextCallback) ? In.pszText : "";
  }
  if (In.mask & LVIF_IMAGE) It.Image = In.iImage;
  if (In.mask & LVIF_PARAM) It.Param = In.lParam;
  if (In.mask & LVIF_INDENT) It.Indent = In.iIndent;
}

Integer InsertItem(HWND Wnd, const LVITEM* In) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || In == nullptr || OwnerData(Wnd)) return -1;
  TLvItem It;
  TakeItem(It, *In);
  Integer At = std::clamp(In->iItem, 0, static_cast<Integer>(D->Items.size()));
  const DWORD Style = LiveWindowStyle(Wnd);
  if (Style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
    const bool Up = Style & LVS_SORTASCENDING;
    At = 0;
    while (At < static_cast<Integer>(D->Items.size()) &&
           (Up ? D->Items[At].Text <= It.Text : D->Items[At].Text >= It.Text))
      ++At;
  }
  D->Items.insert(D->Items.begin() + At, It);
  NoteItemText(*D, It.TextCallback ? nullptr : &It.Text);
  if (D->Focus >= At) ++D->Focus;
  if (D->Mark >= At) ++D->Mark;
  if (In->mask & LVIF_STATE) D->Items[At].State = In->state & In->stateMask & ~LVIS_FOCUSED;
  ItemsChanged(Wnd);
  NotifyItemChange(Wnd, LVN_INSERTITEM, At, 0, 0, 0, It.Param);
  if ((In->mask & LVIF_STATE) && (In->stateMask & In->state & LVIS_FOCUSED))
    SetItemState(Wnd, At, LVIS_FOCUSED, LVIS_FOCUSED);
  return At;
}

bool SetItem(HWND Wnd, const LVITEM* In) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || In == nullptr || !ValidItem(*D, In->iItem)) return false;
  if (In->mask & LVIF_STATE) SetItemState(Wnd, In->iItem, In->state, In->stateMask);
  if (OwnerData(Wnd) || (D = ListData(Wnd)) == nullptr || !ValidItem(*D, In->iItem)) return true;
  TLvItem& It = D->Items[In->iItem];
  if (In->iSubItem > 0) {
    if (In->mask & LVIF_TEXT) {
      if (static_cast<Integer>(It.SubTexts.size()) < In->iSubItem) {
        It.SubTexts.resize(In->iSubItem);
        It.SubCallbacks.resize(In->iSubItem, false);
      }
      It.SubCallbacks[In->iSubItem - 1] = In->pszText == LPSTR_TEXTCALLBACK;
      It.SubTexts[In->iSubItem - 1] =
          In->pszText != nullptr && In->pszText != LPSTR_TEXTCALLBACK ? In->pszText : "";
    }
  } else {
    TakeItem(It, *In);
    if (In->mask & LVIF_TEXT) NoteItemText(*D, nullptr);
  }
  InvalidateItem(Wnd, *D, In->iItem);
  return true;
}

bool GetItem(HWND Wnd, LVITEM* Out) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || Out == nullptr || !ValidItem(*D, Out->iItem)) return false;
  if (Out->mask & LVIF_TEXT)
    CopyItemText(ItemText(Wnd, Out->iItem, Out->iSubItem), Out->pszText, Out->cchTextMax);
  if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, Out->iItem)) return false;
  if (Out->mask & LVIF_STATE) Out->state = StateOf(*D, Out->iItem) & Out->stateMask;
  if (Out->mask & LVIF_IMAGE) Out->iImage = ItemImage(Wnd, Out->iItem);
  if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, Out->iItem)) return false;
  if (!OwnerData(Wnd)) {
    if (Out->mask & LVIF_PARAM) Out->lParam = D->Items[Out->iItem].Param;
    if (Out->mask & LVIF_INDENT) Out->iIndent = D->Items[Out->iItem].Indent;
  }
  return true;
}

bool DeleteItem(HWND Wnd, Integer I) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return false;
  if (D->Edit != nullptr) EndLabelEdit(Wnd, true);
  if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, I)) return false;
  const LPARAM Param = OwnerData(Wnd) ? 0 : D->Items[I].Param;
  NotifyItemChange(Wnd, LVN_DELETEITEM, I, 0, 0, 0, Param);
  if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, I)) return false;
  if (OwnerData(Wnd)) {
    --D->OwnerCount;
    if (static_cast<std::size_t>(I) < D->OwnerStates.size()) D->OwnerStates.erase(D->OwnerStates.begin() + I);
  } else {
    D->Items.erase(D->Items.begin() + I);
    NoteItemText(*D, nullptr);
  }
  if (D->Focus == I) D->Focus = -1;
  if (D->Focus > I) --D->Focus;
  if (D->Mark == I) D->Mark = -1;
  if (D->Mark > I) --D->Mark;
  ItemsChanged(Wnd);
  return true;
}

bool DeleteAll(HWND Wnd) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr) return false;
  if (D->Edit != nullptr) EndLabelEdit(Wnd, true);
  // A TRUE answer spares the per-item notifications.
  const bool Quiet = NotifyItemChange(Wnd, LVN_DELETEALLITEMS, -1, 0, 0, 0, 0) != 0;
  if ((D = ListData(Wnd)) == nullptr) return false;
  if (!Quiet && !OwnerData(Wnd))
    for (Integer I = 0; (D = ListData(Wnd)) != nullptr && I < static_cast<Integer>(D->Items.size()); ++I)
      NotifyItemChange(Wnd, LVN_DELETEITEM, I, 0, 0, 0, D->Items[I].Param);
  if ((D = ListData(Wnd)) == nullptr) return false;
  D->Items.clear();
  NoteItemText(*D, nullptr);
  D->OwnerCount = 0;
  D->OwnerStates.clear();
  D->Focus = D->Mark = -1;
  D->ScrollX = D->ScrollY = 0;
  ItemsChanged(Wnd);
  return true;
}

void SyncHeaderItem(TListViewData& D, Integer C, bool Insert) {
  if (!IsWindow(D.Header)) return;
  const TLvColumn& Col = D.Columns[C];
  HDITEM H;
  H.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
  H.pszText = const_cast<char*>(Col.Text.c_str());
  H.cxy = Col.Width;
  H.fmt = HDF_STRING | (Col.Format & LVCFMT_JUSTIFYMASK);
  if (Col.Image >= 0 && (Col.Format & LVCFMT_IMAGE)) {
    H.mask |= HDI_IMAGE;
    H.fmt |= HDF_IMAGE;
    H.iImage = Col.Image;
  }
  H.lParam = Col.SubItem;
  SendMessage(D.Header, Insert ? HDM_INSERTITEM : HDM_SETITEM, static_cast<WPARAM>(C),
              reinterpret_cast<LPARAM>(&H));
}

void TakeColumn(TLvColumn& Col, const LVCOLUMN& In) {
  if (In.mask & LVCF_FMT) Col.Format = In.fmt;
  if (In.mask & LVCF_WIDTH) Col.Width = std::max(0, In.cx);
  if ((In.mask & LVCF_TEXT) && In.pszText != nullptr) Col.Text = In.pszText;
  if (In.mask & LVCF_SUBITEM) Col.SubItem = In.iSubItem;
  if (In.mask & LVCF_IMAGE) Col.Image = In.iImage;
}

Integer InsertColumn(HWND Wnd, Integer At, const LVCOLUMN* In) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || In == nullptr) return -1;
  At = std::clamp(At, 0, static_cast<Integer>(D->Columns.size()));
  TLvColumn Col;
  Col.SubItem = At;
  TakeColumn(Col, *In);
  D->Columns.insert(D->Columns.begin() + At, Col);
  for (Integer& K : D->Order)
    if (K >= At) ++K;
  D->Order.insert(D->Order.begin() + At, At);
  SyncHeaderItem(*D, At, true);
  ItemsChanged(Wnd);
  return At;
}

bool DeleteColumn(HWND Wnd, Integer C) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || C < 0 || C >= static_cast<Integer>(D->Columns.size())) return false;
  D->Columns.erase(D->Columns.begin() + C);
  D->Order.erase(std::find(D->Order.begin(), D->Order.end(), C));
  for (Integer& K : D->Order)
    if (K > C) --K;
  if (IsWindow(D->Header)) SendMessage(D->Header, HDM_DELETEITEM, static_cast<WPARAM>(C), 0);
  ItemsChanged(Wnd);
  return true;
}

bool SetColumnWidth(HWND Wnd, Integer C, Integer Width) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr) return false;
  if (ViewOf(Wnd) == LVS_LIST) {
    if (C != 0) return false;
    D->ListColumnWidth = std::max(0, Width);
    ItemsChanged(Wnd);
    return true;
  }
  if (C < 0 || C >= static_cast<Integer>(D->Columns.size())) return false;
  if (Width == LVSCW_AUTOSIZE || Width == LVSCW_AUTOSIZE_USEHEADER) {
    const Integer Sub = D->Columns[C].SubItem;
    Integer W = Width == LVSCW_AUTOSIZE_USEHEADER ? ControlTextWidth(*D, D->Columns[C].Text) : 0;
    for (Integer I = 0; (D = ListData(Wnd)) != nullptr && I < ItemCount(*D); ++I)
      W = std::max(W, ControlTextWidth(*D, ItemText(Wnd, I, Sub)));
    if ((D = ListData(Wnd)) == nullptr) return false;
    W += AutoSizeMargin;
    if (Sub == 0) {
      const TLvGeometry G = GeometryOf(Wnd, *D);
      W += G.Small.cx + G.State.cx;
    }
    // The last column fills the rest of the view when it asks for the header's width.
    if (Width == LVSCW_AUTOSIZE_USEHEADER && !D->Order.empty() && D->Order.back() == C) {
      const Integer Rest = ClientRectOf(Wnd).Width() - (TotalColumnsWidth(*D) - D->Columns[C].Width);
      W = std::max(W, Rest);
    }
    Width = W;
  }
  D->Columns[C].Width = std::max(0, Width);
  SyncHeaderItem(*D, C, false);
  ItemsChanged(Wnd);
  return true;
}

// ---- The header -------------------------------------------------------------------------------

void CreateHeader(HWND Wnd) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || IsWindow(D->Header)) return;
  RegisterHeaderClass();
  const DWORD Style = LiveWindowStyle(Wnd);
  DWORD HeaderStyle = WS_CHILD | HDS_HORZ | HDS_FULLDRAG;
  if (!(Style & LVS_NOSORTHEADER)) HeaderStyle |= HDS_BUTTONS;
  if (D->ExStyle & LVS_EX_HEADERDRAGDROP) HeaderStyle |= HDS_DRAGDROP;
  if ((Style & LVS_TYPEMASK) == LVS_REPORT && !(Style & LVS_NOCOLUMNHEADER)) HeaderStyle |= WS_VISIBLE;
  // Created as the view's child, so that the view hears WM_PARENTNOTIFY.
  const HWND H =
      CreateWindowEx(0, WC_HEADER, "", HeaderStyle, 0, 0, ClientRectOf(Wnd).Width(), 0, Wnd,
                     reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(HeaderId)), nullptr, nullptr);
  if ((D = ListData(Wnd)) == nullptr) return;
  D->Header = H;
  if (D->Font != nullptr) SendMessage(H, WM_SETFONT, reinterpret_cast<WPARAM>(D->Font), FALSE);
  if ((D = ListData(Wnd)) == nullptr) return;
  SendMessage(H, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(D->Images[LVSIL_SMALL]));
  for (Integer C = 0; (D = ListData(Wnd)) != nullptr && C < static_cast<Integer>(D->Columns.size()); ++C)
    SyncHeaderItem(*D, C, true);
  if ((D = ListData(Wnd)) != nullptr && !D->Order.empty())
    SendMessage(H, HDM_SETORDERARRAY, D->Order.size(), reinterpret_cast<LPARAM>(D->Order.data()));
}

LRESULT HeaderNotify(HWND Wnd, TListViewData& D, NMHDR* H) {
  if (H == nullptr || H->hwndFrom != D.Header) return 0;
  auto* N = reinterpret_cast<NMHEADER*>(H);
  switch (H->code) {
    case HDN_ITEMCHANGED:
      if (N->pitem != nullptr && (N->pitem->mask & HDI_WIDTH) && N->iItem >= 0 &&
          N->iItem < static_cast<Integer>(D.Columns.size())) {
        D.Columns[N->iItem].Width = N->pitem->cxy;
        ItemsChanged(Wnd);
      }
      return 0;
    case HDN_ITEMCLICK: {
      NMLISTVIEW L;
      L.iItem = -1;
      L.iSubItem = N->iItem;
      return NotifyParent(Wnd, LVN_COLUMNCLICK, &L.hdr);
    }
    case HDN_DIVIDERDBLCLICK:
      SetColumnWidth(Wnd, N->iItem, LVSCW_AUTOSIZE);
      return 0;
    default:
      return 0;
  }
}

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
  if (Compare == nullptr || OwnerData(Wnd)) return;
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
      if (OwnerData(Wnd)) {
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
    case LVM_SETCOLUMN: {
      auto* C = reinterpret_cast<const LVCOLUMN*>(LParam);
      const Integer I = static_cast<Integer>(WParam);
      if (C == nullptr || I < 0 || I >= static_cast<Integer>(D->Columns.size())) return FALSE;
      TakeColumn(D->Columns[I], *C);
      SyncHeaderItem(*D, I, false);
      ItemsChanged(Wnd);
      return TRUE;
    }
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
