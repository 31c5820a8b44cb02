#include "skin/form/bsSkinMenus.h"

#include "platform/classes/Bitmap.h"
#include "skin/form/SkinForm.h"

// ---- TbsSkinMainMenu ------------------------------------------------------------------------

void TbsSkinMainMenu::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMainMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

// ---- TbsSkinMainMenuBar ---------------------------------------------------------------------

TbsSkinMainMenuBar::TbsSkinMainMenuBar(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefItemFont(std::make_unique<TFont>()) {
  FDefItemFont->SetName("Arial");
  FDefItemFont->SetHeight(14);
  FDefItemFont->SetStyle({});
  FDefItemFont->SetColor(clBtnText);
  SetSkinDataName("mainmenubar");
  SetAlign(alTop);
  SetHeight(22);
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar() = default;

void TbsSkinMainMenuBar::SetMainMenu(TMainMenu* Value) {
  if (FMainMenu != nullptr && FNativeMenu)
    if (TCustomForm* Form = GetParentForm(this); Form != nullptr && Form->GetMenu() == FMainMenu)
      Form->SetMenu(nullptr);
  FMainMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  UpdateNativeMenu();
  Repaint();
}

void TbsSkinMainMenuBar::SetSkinForm(TbsSkinForm* Value) {
  FSkinForm = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMainMenuBar::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (PartIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinMainMenuBar::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (PartIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainMenu) {
    FMainMenu = nullptr;
    UpdateNativeMenu();
  }
  if (AComponent == FSkinForm) FSkinForm = nullptr;
}

void TbsSkinMainMenuBar::SetParent(TWinControl* AParent) {
  TbsSkinControl::SetParent(AParent);
  UpdateNativeMenu();
}

void TbsSkinMainMenuBar::Loaded() {
  TbsSkinControl::Loaded();
  UpdateNativeMenu();
}

void TbsSkinMainMenuBar::UpdateNativeMenu() {
  if (GetComponentState().Contains(csDestroying) || GetComponentState().Contains(csLoading)) return;
  TCustomForm* Form = GetParentForm(this);
  if (Form == nullptr) return;
  LoadSkinPart();
  const bool Native = PartIndex == -1 && FMainMenu != nullptr;
  if (Native && Form->GetMenu() != FMainMenu)
    Form->SetMenu(FMainMenu);
  else if (!Native && FNativeMenu && Form->GetMenu() == FMainMenu && FMainMenu != nullptr)
    Form->SetMenu(nullptr);
  const bool Was = FNativeMenu;
  FNativeMenu = Native;
  if (Native)
    SetHeight(0);
  else if (Was && FDefaultHeight > 0)
    SetHeight(FDefaultHeight);
}

bool TbsSkinMainMenuBar::CanResize(Integer& NewWidth, Integer& NewHeight) {
  // The native bar lives in the form's frame; this control then takes no room.
  if (FNativeMenu) NewHeight = 0;
  return TbsSkinControl::CanResize(NewWidth, NewHeight);
}

void TbsSkinMainMenuBar::ApplySkinChange() {
  TbsSkinControl::ApplySkinChange();
  UpdateNativeMenu();
}

void TbsSkinMainMenuBar::DrawDefaultImage(TBitmap* B) {
  B->GetCanvas()->GetBrush()->SetColor(clBtnFace);
  B->GetCanvas()->FillRect(GetClientRect());
}
