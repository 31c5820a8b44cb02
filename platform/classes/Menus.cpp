// Menu items, menus and popup menus over the window layer's native menus.
#include "platform/classes/Menus.h"

#include <algorithm>

#include "platform/classes/ActnList.h"
#include "platform/classes/Application.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/UtilityWindow.h"
#include "platform/system/Strings.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

// Command numbers in use; a new item takes the lowest free one.
std::vector<bool>& CommandPool() {
  static std::vector<bool> Pool;
  return Pool;
}

UINT UniqueCommand() {
  auto& Pool = CommandPool();
  auto It = std::find(Pool.begin(), Pool.end(), false);
  const auto Index = static_cast<UINT>(It - Pool.begin());
  if (It == Pool.end())
    Pool.push_back(true);
  else
    *It = true;
  return Index;
}

void FreeCommand(UINT Command) {
  auto& Pool = CommandPool();
  if (Command < Pool.size()) Pool[Command] = false;
}

// The popup menus and the window their commands come back to.
struct TPopupList {
  std::vector<TPopupMenu*> Menus;
  HWND Window = nullptr;
};

TPopupList& Popups() {
  static TPopupList List;
  return List;
}

void PopupListWndProc(TMessage& Message) {
  try {
    auto& List = Popups();
    switch (Message.Msg) {
      case WM_COMMAND:
        for (TPopupMenu* Menu : std::vector<TPopupMenu*>(List.Menus))
          if (Menu->DispatchCommand(LOWORD(Message.WParam))) return;
        break;
      case WM_INITMENUPOPUP:
        for (TPopupMenu* Menu : std::vector<TPopupMenu*>(List.Menus))
          if (Menu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return;
        break;
      case WM_MENUSELECT:
        if (Application != nullptr) {
          std::string Hint;
          for (TPopupMenu* Menu : List.Menus) {
            const bool Popup = (HIWORD(Message.WParam) & MF_POPUP) != 0;
            const UINT_PTR Key = Popup ? reinterpret_cast<UINT_PTR>(GetSubMenu(
                                             reinterpret_cast<HMENU>(Message.LParam), LOWORD(Message.WParam)))
                                       : LOWORD(Message.WParam);
            if (TMenuItem* Item = Menu->FindItem(Key, Popup ? fkHandle : fkCommand)) {
              Hint = GetLongHint(Item->GetHint());
              break;
            }
          }
          Application->SetHint(Hint);
        }
        return;
      default:
        break;
    }
    Message.Result = DefWindowProc(List.Window, Message.Msg, Message.WParam, Message.LParam);
  } catch (...) {
    if (Application != nullptr) Application->HandleException(nullptr);
  }
}

}  // namespace

// ---- TMenuItem --------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
  FCommand = UniqueCommand();
}

TMenuItem::~TMenuItem() {
  Destroying();
  if (FParent != nullptr) {
    FParent->Remove(this);
    FParent = nullptr;
  }
  while (!FItems.empty()) delete FItems.front();
  DestroyHandle();
  FreeCommand(FCommand);
}

TMenuItem* TMenuItem::GetItem(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) throw EMenuError("Menu index out of range");
  return FItems[static_cast<std::size_t>(Index)];
}

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (Item == nullptr) return;
  if (Item->FParent != nullptr) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > GetCount()) throw EMenuError("Menu index out of range");
  if (Index > 0 && FItems[static_cast<std::size_t>(Index - 1)]->FGroupIndex > Item->FGroupIndex)
    Item->FGroupIndex = FItems[static_cast<std::size_t>(Index - 1)]->FGroupIndex;
  VerifyGroupIndex(Index, Item->FGroupIndex);
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  Item->FOnChange = TMenuChangeEvent(this, &TMenuItem::SubItemChanged);
  if (FHandle != nullptr) RebuildHandle();
  MenuChanged(GetCount() == 1);
}

void TMenuItem::Delete(Integer Index) {
  TMenuItem* Item = GetItem(Index);
  Remove(Item);
  delete Item;
}

void TMenuItem::Remove(TMenuItem* Item) {
  const Integer I = IndexOf(Item);
  if (I < 0) throw EMenuError("Sub-menu is not in menu");
  FItems.erase(FItems.begin() + I);
  Item->FParent = nullptr;
  Item->FOnChange.Clear();
  if (FHandle != nullptr && !GetComponentState().Contains(csDestroying)) RebuildHandle();
  MenuChanged(GetCount() == 0);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) Delete(GetCount() - 1);
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : static_cast<Integer>(It - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
  const std::string Wanted = StripHotkey(ACaption);
  for (TMenuItem* Item : FItems)
    if (SameText(Wanted, StripHotkey(Item->FCaption))) return Item;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* Item = this;
  while (Item->FParent != nullptr) Item = Item->FParent;
  return Item->FMenu;
}

void TMenuItem::SetMenuIndex(Integer Value) {
  if (FParent == nullptr) return;
  TMenuItem* Parent = FParent;
  const Integer Count = Parent->GetCount();
  Value = std::clamp(Value, 0, Count - 1);
  if (Value == GetMenuIndex()) return;
  Parent->Remove(this);
  Parent->Insert(Value, this);
}

void TMenuItem::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::TurnSiblingsOff() {
  if (FParent == nullptr) return;
  for (TMenuItem* Item : FParent->FItems)
    if (Item != this && Item->FRadioItem && Item->FGroupIndex == FGroupIndex) Item->SetChecked(false);
}

void TMenuItem::VerifyGroupIndex(Integer Position, Byte Value) {
  for (Integer I = 0; I < GetCount(); ++I) {
    TMenuItem* Item = FItems[static_cast<std::size_t>(I)];
    if (I < Position) {
      if (Item->FGroupIndex > Value)
        throw EMenuError("GroupIndex cannot be less than a previous menu item's GroupIndex");
    } else if (Item->FGroupIndex < Value) {
      // The items from Position on follow with at least this group.
      Item->FGroupIndex = Value;
    }
  }
}

void TMenuItem::SetGroupIndex(Byte Value) {
  if (FGroupIndex == Value) return;
  if (FParent != nullptr) FParent->VerifyGroupIndex(FParent->IndexOf(this), Value);
  FGroupIndex = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && FParent != nullptr)
    for (TMenuItem* Item : FParent->FItems)
      if (Item != this) Item->FDefault = false;
  FDefault = Value;
  MenuChanged(true);
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged(true);
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged(true);
}

void TMenuItem::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged(true);
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  // An action that checks itself passes its Checked on to the item.
  if (FAutoCheck && !(FActionLink != nullptr && FActionLink->IsAutoCheckLinked())) SetChecked(!FChecked);
  TBasicAction* Action = GetAction();
  if (OnClick && Action != nullptr && !(OnClick == Action->OnExecute))
    OnClick(this);
  else if (Action != nullptr)
    FActionLink->Execute(this);
  else if (OnClick)
    OnClick(this);
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (FChecked && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::MenuChanged(bool Rebuild) {
  TMenuItem* Source = (FParent == nullptr && FMenu != nullptr) ? nullptr : this;
  if (FOnChange) FOnChange(this, Source, Rebuild);
}

void TMenuItem::SubItemChanged(TObject*, TMenuItem* Source, bool Rebuild) {
  if (Rebuild && FHandle != nullptr) RebuildHandle();
  if (FParent != nullptr)
    FParent->SubItemChanged(this, Source, false);
  else if (FOnChange)
    FOnChange(this, Source, false);
}

// ---- Native menus ----

HMENU TMenuItem::GetHandle() {
  if (FHandle == nullptr) {
    const bool Bar = FParent == nullptr && dynamic_cast<TMainMenu*>(FMenu) != nullptr;
    FHandle = Bar ? CreateMenu() : CreatePopupMenu();
    if (FHandle == nullptr) throw EMenuError("Out of system resources");
    for (TMenuItem* Item : FItems) Item->AppendTo(FHandle);
  }
  return FHandle;
}

void TMenuItem::AppendTo(HMENU Menu) {
  if (!FVisible) return;
  std::string Caption = FCaption;
  MENUITEMINFO Info;
  Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
  if (GetCount() > 0) {
    Info.fMask |= MIIM_SUBMENU;
    Info.hSubMenu = GetHandle();
  } else if (FShortCut != scNone) {
    // Items of a menu bar itself show no short-cut text.
    const bool OnBar = FParent != nullptr && FParent->FParent == nullptr &&
                       dynamic_cast<TMainMenu*>(FParent->FMenu) != nullptr;
    if (!OnBar) Caption += "\t" + ShortCutToText(FShortCut);
  }
  Info.fType = IsLine() ? MFT_SEPARATOR : MFT_STRING;
  if (FRadioItem) Info.fType |= MFT_RADIOCHECK;
  Info.fState = (FChecked ? MFS_CHECKED : 0) | (FEnabled ? 0 : MFS_GRAYED) | (FDefault ? MFS_DEFAULT : 0);
  Info.wID = FCommand;
  Info.dwTypeData = Caption.data();
  Info.cch = static_cast<UINT>(Caption.size());
  InsertMenuItem(Menu, static_cast<UINT>(-1), TRUE, &Info);
}

void TMenuItem::RebuildHandle() {
  if (FHandle == nullptr || GetComponentState().Contains(csDestroying)) return;
  // RemoveMenu leaves the submenus (owned by their items) alive.
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  for (TMenuItem* Item : FItems) Item->AppendTo(FHandle);
  if (FParent == nullptr && FMenu != nullptr && FMenu->GetWindowHandle() != nullptr &&
      ::GetMenu(FMenu->GetWindowHandle()) == FHandle)
    DrawMenuBar(FMenu->GetWindowHandle());
}

void TMenuItem::DestroyHandle() {
  if (FHandle == nullptr) return;
  if (IsMenu(FHandle)) {
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    DestroyMenu(FHandle);
  }
  FHandle = nullptr;
}

// ---- TMenu --------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {
  FItems = new TMenuItem(this);
  FItems->FOnChange = TMenuChangeEvent(this, &TMenu::MenuChanged);
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  Destroying();
  delete FItems;
  FItems = nullptr;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  MenuChanged(this, nullptr, false);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && AComponent == FImages) FImages = nullptr;
}

void TMenu::Loaded() {
  TComponent::Loaded();
  MenuChanged(nullptr, nullptr, false);
}

void TMenu::SetWindowHandle(HWND Value) {
  FWindowHandle = Value;
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) {
  struct TFinder {
    UINT_PTR Value;
    TFindItemKind Kind;
    TMenuItem* Find(TMenuItem* Item) const {
      if (Item == nullptr) return nullptr;
      const bool Match = (Kind == fkCommand && Value == Item->FCommand) ||
                         (Kind == fkHandle && Item->FHandle != nullptr &&
                          Value == reinterpret_cast<UINT_PTR>(Item->FHandle)) ||
                         (Kind == fkShortCut && Item->FShortCut != scNone && Value == Item->FShortCut);
      if (Match) return Item;
      for (TMenuItem* Child : Item->FItems)
        if (TMenuItem* Found = Find(Child)) return Found;
      return nullptr;
    }
  };
  return TFinder{Value, Kind}.Find(FItems);
}

bool TMenu::IsShortCut(TWMKey& Message) {
  if (FWindowHandle == nullptr) return false;
  const TShortCut Key = KeyMessageShortCut(Message);
  TMenuItem* Item = nullptr;
  // A click may move the short-cut to another item (its handler reassigns it): look again.
  for (Integer Rounds = 0; Rounds < 64; ++Rounds) {
    Item = FindItem(Key, fkShortCut);
    if (Item == nullptr) return false;
    // The items above it are clicked first, as opening their submenus would.
    std::vector<TMenuItem*> Path;
    for (TMenuItem* P = Item; P != nullptr && P->FParent != nullptr; P = P->FParent)
      Path.insert(Path.begin(), P);
    bool Moved = false;
    for (TMenuItem* P : Path) {
      if (!P->FEnabled) return true;
      try {
        P->Click();
      } catch (...) {
        if (Application != nullptr) Application->HandleException(this);
      }
      if (P != Item && FindItem(Key, fkShortCut) != Item) {
        Moved = true;
        break;
      }
    }
    if (!Moved) return true;
  }
  return Item != nullptr;
}

bool TMenu::DispatchCommand(Word ACommand) {
  TMenuItem* Item = FindItem(ACommand, fkCommand);
  if (Item == nullptr || Item == FItems) return false;
  Item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU AMenu) {
  TMenuItem* Item = FindItem(reinterpret_cast<UINT_PTR>(AMenu), fkHandle);
  if (Item == nullptr) return false;
  // The root's opening is the popup menu's own OnPopup, fired by Popup.
  if (Item != FItems) Item->Click();
  // The items about to show take their actions' state.
  for (Integer I = 0; I < Item->GetCount(); ++I) Item->GetItem(I)->InitiateAction();
  return true;
}

void TMenu::MenuChanged(TObject*, TMenuItem* Source, bool Rebuild) {
  if (GetComponentState().Contains(csLoading) || GetComponentState().Contains(csDestroying)) return;
  DoChange(Source, Rebuild);
}

void TMenu::DoChange(TMenuItem* Source, bool Rebuild) {
  if (OnChange) OnChange(this, Source, Rebuild);
}

void TMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (FWindowHandle != nullptr && FItems->HandleAllocated() && IsWindow(FWindowHandle) &&
      ::GetMenu(FWindowHandle) == FItems->GetHandle())
    DrawMenuBar(FWindowHandle);
  TMenu::MenuChanged(Sender, Source, Rebuild);
}

// ---- TPopupMenu -------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {
  auto& List = Popups();
  if (List.Window == nullptr) List.Window = AllocateHWnd(TDelegate<void(TMessage&)>(&PopupListWndProc));
  List.Menus.push_back(this);
  FWindowHandle = List.Window;
}

TPopupMenu::~TPopupMenu() {
  Destroying();
  auto& List = Popups();
  List.Menus.erase(std::remove(List.Menus.begin(), List.Menus.end(), this), List.Menus.end());
  if (List.Menus.empty() && List.Window != nullptr) {
    DeallocateHWnd(List.Window);
    List.Window = nullptr;
  }
}

void TPopupMenu::DoPopup(TObject*) {
  if (OnPopup) OnPopup(this);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  FPopupPoint = {X, Y};
  DoPopup(this);
  TrackMenu(X, Y);
}

void TPopupMenu::TrackMenu(Integer X, Integer Y) {
  static constexpr UINT Alignments[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  static constexpr UINT Buttons[] = {TPM_RIGHTBUTTON, TPM_LEFTBUTTON};
  TrackPopupMenu(FItems->GetHandle(), Alignments[FAlignment] | Buttons[FTrackButton], X, Y, 0,
                 Popups().Window, nullptr);
}
