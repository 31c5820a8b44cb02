// The list view's items: texts from the parent, states and their notifications, finding, and
// inserting, changing and deleting items.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/user/ListViewInternals.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer DispTextSize = 260;

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
    if (IsOwnerData(Wnd)) {
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
  if (!IsOwnerData(Wnd)) {
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
  if (!IsOwnerData(Wnd) && D->Items[I].Image != I_IMAGECALLBACK) return D->Items[I].Image;
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

}  // namespace

LRESULT NotifyItemChange(HWND Wnd, UINT Code, Integer I, UINT Old, UINT New, UINT Changed, LPARAM Param) {
  NMLISTVIEW N;
  N.iItem = I;
  N.uOldState = Old;
  N.uNewState = New;
  N.uChanged = Changed;
  N.lParam = Param;
  return NotifyParent(Wnd, Code, &N.hdr);
}

namespace {

bool SetOneState(HWND Wnd, Integer I, UINT State, UINT Mask) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || !ValidItem(*D, I)) return false;
  const UINT Old = StateOf(*D, I);
  const UINT New = (Old & ~Mask) | (State & Mask);
  if (New == Old) return true;
  const bool Owner = IsOwnerData(Wnd);
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
  if (IsOwnerData(Wnd)) {
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
  if (IsOwnerData(Wnd)) {
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

void ItemsChanged(HWND Wnd) {
  UpdateScrolling(Wnd);
  InvalidateRect(Wnd, nullptr, TRUE);
}

namespace {

void TakeItem(TLvItem& It, const LVITEM& In) {
  if (In.mask & LVIF_TEXT) {
    It.TextCallback = In.pszText == LPSTR_TEXTCALLBACK;
    It.Text = (In.pszText != nullptr && !It.TextCallback) ? In.pszText : "";
  }
  if (In.mask & LVIF_IMAGE) It.Image = In.iImage;
  if (In.mask & LVIF_PARAM) It.Param = In.lParam;
  if (In.mask & LVIF_INDENT) It.Indent = In.iIndent;
}

}  // namespace

Integer InsertItem(HWND Wnd, const LVITEM* In) {
  TListViewData* D = ListData(Wnd);
  if (D == nullptr || In == nullptr || IsOwnerData(Wnd)) return -1;
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
  if (IsOwnerData(Wnd) || (D = ListData(Wnd)) == nullptr || !ValidItem(*D, In->iItem)) return true;
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
  if (!IsOwnerData(Wnd)) {
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
  const LPARAM Param = IsOwnerData(Wnd) ? 0 : D->Items[I].Param;
  NotifyItemChange(Wnd, LVN_DELETEITEM, I, 0, 0, 0, Param);
  if ((D = ListData(Wnd)) == nullptr || !ValidItem(*D, I)) return false;
  if (IsOwnerData(Wnd)) {
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
  if (!Quiet && !IsOwnerData(Wnd))
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
