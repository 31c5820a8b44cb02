// Menu handles and items: creation, destruction, item insertion and changes, queries.
#include <algorithm>
#include <cstring>
#include <set>
#include <unordered_map>

#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/Windows.h"

namespace {

struct TMenuTable {
  std::unordered_map<std::uintptr_t, std::unique_ptr<TMenuObject>> Menus;
  std::uintptr_t Next = 0x10000;  // handles are not reused
};

TMenuTable& Table() {
  static TMenuTable T;
  return T;
}

HMENU NewMenu(bool Popup) {
  InstallNonClient();
  TMenuTable& T = Table();
  auto M = std::make_unique<TMenuObject>();
  M->Handle = reinterpret_cast<HMENU>(T.Next += 4);
  M->Popup = Popup;
  const HMENU H = M->Handle;
  T.Menus.emplace(reinterpret_cast<std::uintptr_t>(H), std::move(M));
  return H;
}

void DestroyTree(HMENU Menu, std::set<HMENU>& Seen) {
  if (!Seen.insert(Menu).second) return;
  TMenuObject* M = MenuFromHandle(Menu);
  if (M == nullptr) return;
  for (const TMenuItemData& I : M->Items)
    if (I.SubMenu != nullptr) DestroyTree(I.SubMenu, Seen);
  if (M->PopupWnd != nullptr) DestroyWindow(M->PopupWnd);
  Table().Menus.erase(reinterpret_cast<std::uintptr_t>(Menu));
}

// The item AppendMenu, InsertMenu and ModifyMenu describe.
bool ItemFromFlags(UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem, TMenuItemData& I) {
  I.Type =
      Flags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY);
  I.State = Flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  I.Id = static_cast<UINT>(IdNewItem);
  I.SubMenu = nullptr;
  if (Flags & MF_POPUP) {
    I.SubMenu = reinterpret_cast<HMENU>(IdNewItem);
    if (MenuFromHandle(I.SubMenu) == nullptr) return false;
  }
  I.Text.clear();
  I.Bitmap = nullptr;
  if (I.Type & MF_SEPARATOR) return true;
  if (I.Type & MF_BITMAP)
    I.Bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(NewItem));
  else if (I.Type & MF_OWNERDRAW)
    I.Data = reinterpret_cast<ULONG_PTR>(NewItem);
  else if (NewItem != nullptr)
    I.Text = NewItem;
  return true;
}

bool ApplyItemInfo(TMenuItemData& I, const MENUITEMINFO& Info) {
  const UINT Mask = Info.fMask;
  if ((Mask & MIIM_SUBMENU) && Info.hSubMenu != nullptr && MenuFromHandle(Info.hSubMenu) == nullptr)
    return false;
  if (Mask & MIIM_TYPE) {
    I.Type = Info.fType;
    if (I.Type & MFT_BITMAP) {
      I.Bitmap = reinterpret_cast<HBITMAP>(Info.dwTypeData);
      I.Text.clear();
    } else if (I.Type & MFT_SEPARATOR) {
      I.Text.clear();
    } else {
      I.Text = Info.dwTypeData != nullptr ? Info.dwTypeData : "";
    }
  }
  if (Mask & MIIM_FTYPE) I.Type = (Info.fType & ~MFT_BITMAP) | (I.Type & MFT_BITMAP);
  if (Mask & MIIM_STRING) I.Text = Info.dwTypeData != nullptr ? Info.dwTypeData : "";
  if (Mask & MIIM_STATE) I.State = Info.fState & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
  if (Mask & MIIM_ID) I.Id = Info.wID;
  if (Mask & MIIM_SUBMENU) I.SubMenu = Info.hSubMenu;
  if (Mask & MIIM_CHECKMARKS) {
    I.CheckedBmp = Info.hbmpChecked;
    I.UncheckedBmp = Info.hbmpUnchecked;
  }
  if (Mask & MIIM_DATA) I.Data = Info.dwItemData;
  if (Mask & MIIM_BITMAP) I.Bitmap = Info.hbmpItem;
  return true;
}

// Copies Text into a caller's buffer as GetMenuItemInfo does.
void CopyText(const std::string& Text, MENUITEMINFO& Info) {
  if (Info.dwTypeData == nullptr || Info.cch == 0) {
    Info.cch = static_cast<UINT>(Text.size());
    return;
  }
  const std::size_t N = std::min<std::size_t>(Text.size(), Info.cch - 1);
  std::memcpy(Info.dwTypeData, Text.data(), N);
  Info.dwTypeData[N] = 0;
  Info.cch = static_cast<UINT>(N);
}

// Where a new item goes: an index of Menu (MF_BYPOSITION; past the end appends) or before the
// item with that id (searched in submenus too); the menu receiving it.
bool InsertionPoint(HMENU Menu, UINT Position, bool ByPosition, TMenuObject*& Target, std::size_t& Index) {
  Target = MenuFromHandle(Menu);
  if (Target == nullptr) return false;
  if (ByPosition) {
    Index = std::min<std::size_t>(Position, Target->Items.size());
    return true;
  }
  Integer At = -1;
  if (FindMenuItem(Menu, Position, MF_BYCOMMAND, &Target, &At) == nullptr) return false;
  Index = static_cast<std::size_t>(At);
  return true;
}

bool Insert(HMENU Menu, UINT Position, bool ByPosition, const TMenuItemData& Item) {
  TMenuObject* Target = nullptr;
  std::size_t Index = 0;
  if (!InsertionPoint(Menu, Position, ByPosition, Target, Index)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  Target->Items.insert(Target->Items.begin() + static_cast<std::ptrdiff_t>(Index), Item);
  MenuChanged(Target);
  return true;
}

TMenuItemData* FindIn(TMenuObject* M, UINT Id, Integer Depth, TMenuObject** Owner, Integer* Index) {
  if (M == nullptr || Depth > 32) return nullptr;
  TMenuItemData* Fallback = nullptr;
  TMenuObject* FallbackOwner = nullptr;
  Integer FallbackIndex = -1;
  for (std::size_t I = 0; I < M->Items.size(); ++I) {
    TMenuItemData& It = M->Items[I];
    if (It.SubMenu == nullptr) {
      if (It.Id == Id) {
        if (Owner) *Owner = M;
        if (Index) *Index = static_cast<Integer>(I);
        return &It;
      }
      continue;
    }
    if (TMenuItemData* Found = FindIn(MenuFromHandle(It.SubMenu), Id, Depth + 1, Owner, Index)) return Found;
    if (It.Id == Id && Fallback == nullptr) {
      Fallback = &It;
      FallbackOwner = M;
      FallbackIndex = static_cast<Integer>(I);
    }
  }
  if (Fallback != nullptr) {
    if (Owner) *Owner = FallbackOwner;
    if (Index) *Index = FallbackIndex;
  }
  return Fallback;
}

}  // namespace

TMenuObject* MenuFromHandle(HMENU Menu) {
  if (Menu == nullptr) return nullptr;
  auto& Map = Table().Menus;
  auto It = Map.find(reinterpret_cast<std::uintptr_t>(Menu));
  return It == Map.end() ? nullptr : It->second.get();
}

TMenuItemData* FindMenuItem(HMENU Menu, UINT Item, UINT Flags, TMenuObject** Owner, Integer* Index) {
  TMenuObject* M = MenuFromHandle(Menu);
  if (M == nullptr) return nullptr;
  if (Flags & MF_BYPOSITION) {
    if (Item >= M->Items.size()) return nullptr;
    if (Owner) *Owner = M;
    if (Index) *Index = static_cast<Integer>(Item);
    return &M->Items[Item];
  }
  return FindIn(M, Item, 0, Owner, Index);
}

void MenuChanged(TMenuObject* M) {
  M->BarWidth = -1;
  M->PopupSize = TSize{0, 0};
}

HMENU CreateMenu() {
  return NewMenu(false);
}
HMENU CreatePopupMenu() {
  return NewMenu(true);
}

BOOL DestroyMenu(HMENU Menu) {
  if (MenuFromHandle(Menu) == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::set<HMENU> Seen;
  DestroyTree(Menu, Seen);
  return TRUE;
}

BOOL IsMenu(HMENU Menu) {
  return MenuFromHandle(Menu) != nullptr ? TRUE : FALSE;
}

BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem) {
  return InsertMenu(Menu, static_cast<UINT>(-1), Flags | MF_BYPOSITION, IdNewItem, NewItem);
}

BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem) {
  TMenuItemData I;
  if (MenuFromHandle(Menu) == nullptr || !ItemFromFlags(Flags, IdNewItem, NewItem, I)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return Insert(Menu, Position, (Flags & MF_BYPOSITION) != 0, I) ? TRUE : FALSE;
}

BOOL ModifyMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem) {
  TMenuObject* Owner = nullptr;
  TMenuItemData* I = FindMenuItem(Menu, Position, Flags, &Owner);
  TMenuItemData New;
  if (I == nullptr || !ItemFromFlags(Flags, IdNewItem, NewItem, New)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const HMENU OldSub = I->SubMenu;
  New.Data = (Flags & MF_OWNERDRAW) ? New.Data : I->Data;
  New.CheckedBmp = I->CheckedBmp;
  New.UncheckedBmp = I->UncheckedBmp;
  New.Rect = I->Rect;
  *I = New;
  if (OldSub != nullptr && OldSub != New.SubMenu) DestroyMenu(OldSub);
  MenuChanged(Owner);
  return TRUE;
}

namespace {
BOOL Remove(HMENU Menu, UINT Position, UINT Flags, bool Destroy) {
  TMenuObject* Owner = nullptr;
  Integer Index = -1;
  TMenuItemData* I = FindMenuItem(Menu, Position, Flags, &Owner, &Index);
  if (I == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const HMENU Sub = I->SubMenu;
  Owner->Items.erase(Owner->Items.begin() + Index);
  MenuChanged(Owner);
  if (Destroy && Sub != nullptr) DestroyMenu(Sub);
  return TRUE;
}
}  // namespace

BOOL RemoveMenu(HMENU Menu, UINT Position, UINT Flags) {
  return Remove(Menu, Position, Flags, false);
}
BOOL DeleteMenu(HMENU Menu, UINT Position, UINT Flags) {
  return Remove(Menu, Position, Flags, true);
}

BOOL InsertMenuItem(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO* Info) {
  TMenuItemData I;
  if (Info == nullptr || MenuFromHandle(Menu) == nullptr || !ApplyItemInfo(I, *Info)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return Insert(Menu, Item, ByPosition != FALSE, I) ? TRUE : FALSE;
}

BOOL SetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO* Info) {
  TMenuObject* Owner = nullptr;
  TMenuItemData* I =
      Info ? FindMenuItem(Menu, Item, ByPosition ? MF_BYPOSITION : MF_BYCOMMAND, &Owner) : nullptr;
  if (I == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TMenuItemData Copy = *I;
  if (!ApplyItemInfo(Copy, *Info)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *I = Copy;
  MenuChanged(Owner);
  return TRUE;
}

BOOL GetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, MENUITEMINFO* Info) {
  TMenuItemData* I = Info ? FindMenuItem(Menu, Item, ByPosition ? MF_BYPOSITION : MF_BYCOMMAND) : nullptr;
  if (I == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const UINT Mask = Info->fMask;
  if (Mask & (MIIM_FTYPE | MIIM_TYPE)) Info->fType = I->Type;
  if (Mask & MIIM_TYPE) {
    if (I->Type & MFT_BITMAP) {
      Info->dwTypeData = reinterpret_cast<char*>(I->Bitmap);
      Info->cch = 0;
    } else if (!(I->Type & MFT_SEPARATOR)) {
      CopyText(I->Text, *Info);
    }
  }
  if (Mask & MIIM_STRING) CopyText(I->Text, *Info);
  if (Mask & MIIM_STATE) Info->fState = I->State;
  if (Mask & MIIM_ID) Info->wID = I->Id;
  if (Mask & MIIM_SUBMENU) Info->hSubMenu = I->SubMenu;
  if (Mask & MIIM_CHECKMARKS) {
    Info->hbmpChecked = I->CheckedBmp;
    Info->hbmpUnchecked = I->UncheckedBmp;
  }
  if (Mask & MIIM_DATA) Info->dwItemData = I->Data;
  if (Mask & MIIM_BITMAP) Info->hbmpItem = (I->Type & MFT_BITMAP) ? nullptr : I->Bitmap;
  return TRUE;
}

Integer GetMenuItemCount(HMENU Menu) {
  TMenuObject* M = MenuFromHandle(Menu);
  return M != nullptr ? static_cast<Integer>(M->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU Menu, Integer Pos) {
  TMenuItemData* I = Pos < 0 ? nullptr : FindMenuItem(Menu, static_cast<UINT>(Pos), MF_BYPOSITION);
  if (I == nullptr || I->SubMenu != nullptr) return static_cast<UINT>(-1);
  return I->Id;
}

HMENU GetSubMenu(HMENU Menu, Integer Pos) {
  TMenuItemData* I = Pos < 0 ? nullptr : FindMenuItem(Menu, static_cast<UINT>(Pos), MF_BYPOSITION);
  return I != nullptr ? I->SubMenu : nullptr;
}

DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check) {
  TMenuItemData* I = FindMenuItem(Menu, Item, Check);
  if (I == nullptr) return static_cast<DWORD>(-1);
  const DWORD Old = I->State & MF_CHECKED;
  if (Check & MF_CHECKED)
    I->State |= MF_CHECKED;
  else
    I->State &= ~MF_CHECKED;
  return Old;
}

BOOL CheckMenuRadioItem(HMENU Menu, UINT First, UINT Last, UINT Check, UINT Flags) {
  TMenuObject* Owner = nullptr;
  Integer From = -1, To = -1, At = -1;
  if (FindMenuItem(Menu, First, Flags, &Owner, &From) == nullptr) return FALSE;
  TMenuObject* Other = nullptr;
  if (FindMenuItem(Menu, Last, Flags, &Other, &To) == nullptr || Other != Owner) return FALSE;
  if (FindMenuItem(Menu, Check, Flags, &Other, &At) == nullptr || Other != Owner) return FALSE;
  if (From > To) std::swap(From, To);
  if (At < From || At > To) return FALSE;
  for (Integer I = From; I <= To; ++I) {
    TMenuItemData& It = Owner->Items[static_cast<std::size_t>(I)];
    if (I == At) {
      It.Type |= MFT_RADIOCHECK;
      It.State |= MF_CHECKED;
    } else {
      It.State &= ~MF_CHECKED;
    }
  }
  return TRUE;
}

BOOL EnableMenuItem(HMENU Menu, UINT Item, UINT Enable) {
  TMenuObject* Owner = nullptr;
  TMenuItemData* I = FindMenuItem(Menu, Item, Enable, &Owner);
  if (I == nullptr) return -1;
  const UINT Old = I->State & (MF_GRAYED | MF_DISABLED);
  I->State = (I->State & ~(MF_GRAYED | MF_DISABLED)) | (Enable & (MF_GRAYED | MF_DISABLED));
  // The close button follows the system menu's Close item.
  if (Owner->System && I->Id == SC_CLOSE) {
    for (TWindow* T : DesktopWindow()->Children) {
      const TNcState* S = static_cast<const TNcState*>(T->AddOns[waNonClient].get());
      if (S != nullptr && S->SystemMenu == Owner->Handle) RedrawFrameNow(T);
    }
  }
  return static_cast<BOOL>(Old);
}

BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPos) {
  TMenuObject* M = MenuFromHandle(Menu);
  if (M == nullptr) return FALSE;
  Integer At = -1;
  if (Item != static_cast<UINT>(-1)) {
    if (ByPos) {
      if (Item >= M->Items.size()) return FALSE;
      At = static_cast<Integer>(Item);
    } else {
      for (std::size_t I = 0; I < M->Items.size() && At < 0; ++I)
        if (M->Items[I].Id == Item) At = static_cast<Integer>(I);
      if (At < 0) return FALSE;
    }
  }
  for (std::size_t I = 0; I < M->Items.size(); ++I) {
    if (static_cast<Integer>(I) == At)
      M->Items[I].State |= MF_DEFAULT;
    else
      M->Items[I].State &= ~MF_DEFAULT;
  }
  MenuChanged(M);
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU Menu, UINT ByPos, UINT Flags) {
  TMenuObject* M = MenuFromHandle(Menu);
  if (M == nullptr) return static_cast<UINT>(-1);
  for (std::size_t I = 0; I < M->Items.size(); ++I) {
    const TMenuItemData& It = M->Items[I];
    if (!(It.State & MF_DEFAULT)) continue;
    if (It.IsDisabled() && !(Flags & GMDI_USEDISABLED)) return static_cast<UINT>(-1);
    if (It.SubMenu != nullptr && (Flags & GMDI_GOINTOPOPUPS)) {
      const UINT Inner = GetMenuDefaultItem(It.SubMenu, ByPos, Flags);
      if (Inner != static_cast<UINT>(-1)) return Inner;
    }
    return ByPos ? static_cast<UINT>(I) : It.Id;
  }
  return static_cast<UINT>(-1);
}

UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags) {
  TMenuItemData* I = FindMenuItem(Menu, Item, Flags);
  if (I == nullptr) return static_cast<UINT>(-1);
  if (I->SubMenu != nullptr) {
    const Integer Count = std::max(0, GetMenuItemCount(I->SubMenu));
    return (static_cast<UINT>(Count) << 8) | ((I->Type | I->State) & 0xFF) | MF_POPUP;
  }
  return I->Type | I->State;
}

std::string GetMenuStringText(HMENU Menu, UINT Item, UINT Flags) {
  TMenuItemData* I = FindMenuItem(Menu, Item, Flags);
  return I != nullptr ? I->Text : std::string();
}

Integer GetMenuString(HMENU Menu, UINT Item, char* String, Integer MaxCount, UINT Flags) {
  TMenuItemData* I = FindMenuItem(Menu, Item, Flags);
  if (I == nullptr) return 0;
  if (String == nullptr || MaxCount <= 0) return static_cast<Integer>(I->Text.size());
  const std::size_t N = std::min<std::size_t>(I->Text.size(), static_cast<std::size_t>(MaxCount - 1));
  std::memcpy(String, I->Text.data(), N);
  String[N] = 0;
  return static_cast<Integer>(N);
}

BOOL HiliteMenuItem(HWND Wnd, HMENU Menu, UINT Item, UINT Hilite) {
  TMenuItemData* I = FindMenuItem(Menu, Item, Hilite);
  if (I == nullptr) return FALSE;
  if (Hilite & MF_HILITE)
    I->State |= MF_HILITE;
  else
    I->State &= ~MF_HILITE;
  if (TWindow* W = PeekWindow(Wnd); W != nullptr && WindowMenuBar(W) == Menu) RedrawMenuBar(W);
  return TRUE;
}
