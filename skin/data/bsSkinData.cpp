#include "skin/data/bsSkinData.h"

#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Screen.h"
#include "platform/system/Exceptions.h"
#include "platform/user/WindowMessages.h"
#include "skin/data/bsSkinDataResStr.h"

// ---- The skin data --------------------------------------------------------------------------

TbsSkinData::TbsSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      SkinColors(std::make_unique<TbsSkinColors>()),
      PopupWindow(std::make_unique<TbsDataSkinPopupWindow>()),
      LayerFrame(std::make_unique<TbsDataSkinLayerFrame>()),
      HintWindow(std::make_unique<TbsDataSkinHintWindow>()),
      Picture(std::make_unique<TBitmap>()),
      InActivePicture(std::make_unique<TBitmap>()),
      Mask(std::make_unique<TBitmap>()),
      ActivePictureNames(std::make_unique<TStringList>()) {}

TbsSkinData::~TbsSkinData() {
  Empty = true;
  ClearSkinLists();
}

bool TbsSkinData::Live() const {
  const TComponentState S = GetComponentState();
  return !S.Contains(csDesigning) && !S.Contains(csReading) && !S.Contains(csLoading);
}

void TbsSkinData::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinList) FSkinList = nullptr;
  if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
  if (AComponent == FResourceStrData) FResourceStrData = nullptr;
}

void TbsSkinData::SetSkinList(TbsCompressedSkinList* Value) {
  FSkinList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Designing() || Value == nullptr) return;
  if (FSkinIndex >= 0 && FSkinIndex < Value->GetSkins()->GetCount())
    LoadStoredSkin(Value->GetSkins()->GetItem(FSkinIndex)->GetSkin());
}

void TbsSkinData::SetSkinIndex(Integer Value) {
  if (Value == FSkinIndex) return;
  if (FSkinList == nullptr) {
    FSkinIndex = Value;
    return;
  }
  if (Value < 0 || Value >= FSkinList->GetSkins()->GetCount()) return;
  FSkinIndex = Value;
  if (!Designing()) LoadStoredSkin(FSkinList->GetSkins()->GetItem(Value)->GetSkin());
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* Value) {
  FCompressedStoredSkin = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (!Designing() && Value != nullptr) LoadStoredSkin(Value);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* Value) {
  FResourceStrData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (!Designing()) BroadcastSkinMessage(WM_CHANGERESSTRDATA);
}

void TbsSkinData::SetSkinnableForm(bool Value) {
  if (FSkinnableForm == Value) return;
  FSkinnableForm = Value;
  if (Live()) BroadcastSkinMessage(WM_CHANGEFORMSKINNABLE);
}

void TbsSkinData::SetShowLayeredBorders(bool Value) {
  if (FShowLayeredBorders == Value) return;
  FShowLayeredBorders = Value;
  if (Live()) BroadcastSkinMessage(WM_SHOWLAYEREDBORDER);
}

void TbsSkinData::SetAeroBlurEnabled(bool Value) {
  if (FAeroBlurEnabled == Value) return;
  FAeroBlurEnabled = Value;
  if (Live()) BroadcastSkinMessage(WM_AEROBLURENABLED);
}

Integer TbsSkinData::FindControlPart(const std::string& Name) const {
  for (std::size_t I = 0; I < SkinControls.size(); ++I)
    if (SkinControls[I]->IDName == Name) return static_cast<Integer>(I);
  return -1;
}

Integer TbsSkinData::FindObjectPart(const std::string& Name) const {
  for (std::size_t I = 0; I < SkinObjects.size(); ++I)
    if (SkinObjects[I]->IDName == Name) return static_cast<Integer>(I);
  return -1;
}

void TbsSkinData::ClearSkinLists() {
  SkinObjects.clear();
  SkinControls.clear();
  ActivePictures.clear();
  LayerFrame->PictureIndex = -1;
  PopupWindow->WindowPictureIndex = -1;
  HintWindow->WindowPictureIndex = -1;
  ActivePictureNames->Clear();
  SkinColors->Reset();
}

void TbsSkinData::ClearSkin() {
  ClearSkinLists();
  Picture = std::make_unique<TBitmap>();
  Mask = std::make_unique<TBitmap>();
  InActivePicture = std::make_unique<TBitmap>();
  PictureName.clear();
  MaskName.clear();
  Empty = true;
}

void TbsSkinData::BroadcastSkinMessage(UINT Msg) {
  const WPARAM WParam = reinterpret_cast<WPARAM>(this);
  auto* OwnerForm = dynamic_cast<TForm*>(GetOwner());
  const bool OwnerFirst = OwnerForm != nullptr && !FShowLayeredBorders;
  if (OwnerFirst) SendMessage(OwnerForm->GetHandle(), Msg, WParam, SkinMessageParam);
  std::vector<TForm*> Targets;
  if (Screen != nullptr)
    for (Integer I = 0; I < Screen->GetFormCount(); ++I) {
      TForm* F = Screen->GetForm(I);
      if (F->ClassName() == "TbsFormLayerWindow") continue;
      if (OwnerFirst && F == OwnerForm) continue;
      Targets.push_back(F);
    }
  // Layered border windows must hear of the change after their forms.
  if (FShowLayeredBorders && LayerFrame->PictureIndex != -1) std::reverse(Targets.begin(), Targets.end());
  for (TForm* F : Targets) SendMessage(F->GetHandle(), Msg, WParam, SkinMessageParam);
}
