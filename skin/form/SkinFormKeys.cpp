// The skinned form's short-cuts and the menus its frame drops through its menu runner.
#include "skin/form/SkinForm.h"

#include "platform/classes/Application.h"
#include "skin/form/bsSkinFormObjects.h"
#include "skin/form/bsSkinMenus.h"
#include "skin/form/bsSkinPopupMenus.h"

namespace {

bool AltAlone(const TWMKey& Msg) {
  return KeyDataToShiftState(Msg.KeyData) == TShiftState{ssAlt};
}

}  // namespace

void TbsSkinForm::FormShortCut(TWMKey& Msg, bool& Handled) {
  if (OnShortCut) {
    OnShortCut(Msg, Handled);
    if (Handled) return;
  }
  const bool Alt = AltAlone(Msg);
  if (Alt && Msg.CharCode == VK_SPACE) {
    PopupSystemMenuAtButton();
    FShortCutHandled = false;
    Handled = true;
    return;
  }
  if (FShortCutHandled) {
    FShortCutHandled = false;
    Handled = false;
  }
  TMainMenu* Menu = FMainMenuBar != nullptr ? FMainMenuBar->GetMainMenu() : nullptr;
  if (Menu == nullptr) return;
  // Alt+F4 goes to the menu's short-cuts, never to the bar's accelerators.
  if (Alt && Msg.CharCode != VK_F4 && MenuBarAccel(Msg.CharCode)) {
    Handled = true;
    return;
  }
  FShortCutHandled = Menu->IsShortCut(Msg);
  Handled = FShortCutHandled;
}

void TbsSkinForm::CloseMenuChain() {
  if (FSkinMenu != nullptr && FSkinMenu->Visible) FSkinMenu->CloseMenus();
}

void TbsSkinForm::PopupObjectMenu(TMenuItem* Item, const TRect& ScreenRect, bool PopupToUp) {
  if (Item == nullptr || Item->GetCount() == 0 || FSkinMenu == nullptr) return;
  if (auto* Popup = dynamic_cast<TbsSkinPopupMenu*>(Item->GetParentMenu())) {
    Popup->PopupFromObject(ScreenRect, PopupToUp);
    return;
  }
  TbsSkinData* SD = FMenusSkinData != nullptr ? FMenusSkinData : FSD;
  if (auto* Main = dynamic_cast<TbsSkinMainMenu*>(Item->GetParentMenu())) SD = Main->GetSkinData();
  SkinMenuOpened();
  FSkinMenu->Popup(nullptr, SD, PopupToUp, Item, ScreenRect, 0);
}

void TbsSkinForm::ReleaseDropObject() {
  for (const auto& O : FObjects) {
    auto* B = dynamic_cast<TbsSkinButtonObject*>(O.get());
    if (B == nullptr || B->DropMenuItem == nullptr || !B->Pressed) continue;
    B->SetPressed(false);
    return;
  }
}

// ---- Menu state -----------------------------------------------------------------------------

void TbsSkinForm::SkinMenuOpened() {
  if (!FMenuBarMode) HookApplicationMessages();
  if (FMenuOpen) return;
  FMenuOpen = true;
  if (OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TbsSkinForm::CloseSkinMenus() {
  FMenuOpen = false;
  ReleaseDropObject();
  UnhookApplicationMessages();
  if (OnSkinMenuClose) OnSkinMenuClose(this);
  if (FMenuBarMode) {
    FMenuBarMode = false;
    if (FMainMenuBar != nullptr) FMainMenuBar->LeaveMenuMode();
    if (OnMainMenuExit) OnMainMenuExit(this);
  }
}

void TbsSkinForm::LeaveMenuBarMode() {
  FMenuBarMode = false;
  CloseMenuChain();
  if (FMainMenuBar != nullptr) FMainMenuBar->LeaveMenuMode();
  UnhookApplicationMessages();
  if (OnMainMenuExit) OnMainMenuExit(this);
}

void TbsSkinForm::MenuBarMenuClosed() {
  FMenuOpen = false;
  if (FMainMenuBar != nullptr) FMainMenuBar->MenuClosed();
  if (OnSkinMenuClose) OnSkinMenuClose(this);
}

void TbsSkinForm::MenuKeyCommand() {
  if (FMenuBarMode) {
    LeaveMenuBarMode();
    return;
  }
  if (FSkinMenu != nullptr && FSkinMenu->Visible)
    FSkinMenu->CloseMenus();
  else if (FMenuOpen)
    CloseSkinMenus();
  if (FMainMenuBar != nullptr) FMainMenuBar->EnterMenuMode();
}

void TbsSkinForm::CloseMenusOnMessage(TMessage& Message) {
  if (!IsMenuCloseMessage(Message.Msg)) return;
  if (FMenuBarMode && !FMenuOpen)
    LeaveMenuBarMode();
  else if (FSkinMenu != nullptr && FSkinMenu->Visible)
    FSkinMenu->CloseMenus();
  else if (FMenuOpen)
    CloseSkinMenus();
}

// ---- The key hook ---------------------------------------------------------------------------

// The hook is one filter of the application's list: added while a menu is open and taken out
// by its own identity, so that filters added by others meanwhile stay in force.
void TbsSkinForm::HookApplicationMessages() {
  const TMessageEvent Hook(this, &TbsSkinForm::AppMessageHook);
  if (Application != nullptr && !Application->HasMessageFilter(Hook)) Application->AddMessageFilter(Hook);
}

void TbsSkinForm::UnhookApplicationMessages() {
  const TMessageEvent Hook(this, &TbsSkinForm::AppMessageHook);
  if (Application != nullptr && Application->HasMessageFilter(Hook)) Application->RemoveMessageFilter(Hook);
}

void TbsSkinForm::AppMessageHook(MSG& Msg, bool& Handled) {
  if (Msg.message == WM_KEYDOWN) {
    MenuKeyDown(static_cast<Word>(Msg.wParam & 0xFFFF));
    Msg.message = 0;
    Handled = true;
  } else if (Msg.message == WM_MOUSEWHEEL) {
    Msg.message = 0;
    Handled = true;
  }
}

bool TbsSkinForm::MenuBarAccel(Word Key) {
  return FMainMenuBar != nullptr && FMainMenuBar->ProcessAccel(Key);
}

bool TbsSkinForm::MenuBarPressHotItem() {
  return FMainMenuBar != nullptr && FMainMenuBar->PressHotItem();
}

bool TbsSkinForm::CanMoveMenuLeft() const {
  return FSkinMenu->PopupList.size() <= 1;
}

bool TbsSkinForm::CanMoveMenuRight() const {
  const TbsSkinPopupWindow* Last = FSkinMenu->LastWindow();
  if (Last == nullptr || Last->ActiveItem < 0 ||
      Last->ActiveItem >= static_cast<Integer>(Last->ItemList.size()))
    return true;
  return Last->ItemList[static_cast<std::size_t>(Last->ActiveItem)]->MenuItem->GetCount() == 0;
}

void TbsSkinForm::MenuKeyDown(Word Key) {
  auto LastProcesses = [this](Word K) {
    if (FSkinMenu->Visible && FSkinMenu->LastWindow() != nullptr) FSkinMenu->LastWindow()->ProcessKey(K);
  };
  if (FMenuBarMode && MenuBarAccel(Key)) return;
  if (Key == VK_ESCAPE && FMenuBarMode && !FMenuOpen) {
    LeaveMenuBarMode();
    return;
  }
  if (Key == VK_LEFT && FMenuBarMode && CanMoveMenuLeft()) {
    if (FMainMenuBar != nullptr) FMainMenuBar->SelectPrevItem();
    return;
  }
  if (Key == VK_RIGHT && FMenuBarMode && CanMoveMenuRight()) {
    if (FMainMenuBar != nullptr) FMainMenuBar->SelectNextItem();
    return;
  }
  if (Key == VK_RETURN || Key == VK_DOWN) {
    if (!MenuBarPressHotItem()) LastProcesses(Key);
    return;
  }
  LastProcesses(Key);
  if (Key == VK_ESCAPE && FSkinMenu->PopupList.empty()) {
    if (FMenuBarMode)
      MenuBarMenuClosed();
    else
      CloseSkinMenus();
  }
}
