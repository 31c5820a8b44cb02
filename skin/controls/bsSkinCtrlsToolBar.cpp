// TbsSkinToolBar: the skinned tool bar.
#include "platform/classes/ImgList.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

Integer ToolBarCentredTop(TControl* Control, Integer Top, Integer Height) {
  auto* Bar = dynamic_cast<TbsSkinToolBar*>(Control->GetParent());
  if (Bar == nullptr || !Bar->GetAdjustControls()) return Top;
  const TRect R = Bar->GetAdjustedClientRect();
  return GetRectHeight(R) / 2 + R.Top - Height / 2;
}

TbsSkinToolBar::TbsSkinToolBar(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  PaintFrameStrips = false;
  SetSkinDataName("toolpanel");
  SetDefaultHeight(0);
  SetHeight(25);
  SetBorderStyle(TbsSkinBorderStyle::bvNone);
}

template <class TAction>
void TbsSkinToolBar::ForEachSpeedButton(TAction Action) {
  for (Integer I = 0; I < GetControlCount(); ++I)
    if (auto* B = dynamic_cast<TbsSkinSpeedButton*>(GetControl(I))) Action(B);
}

void TbsSkinToolBar::SetScrollOffset(Integer Value) {
  if (Value >= 0) FScrollOffset = Value;
}

void TbsSkinToolBar::SetScrollTimerInterval(Integer Value) {
  if (Value > 0) FScrollTimerInterval = Value;
}

void TbsSkinToolBar::SetShowCaptions(bool Value) {
  if (FShowCaptions == Value) return;
  FShowCaptions = Value;
  if (FAutoShowHideCaptions) ForEachSpeedButton([Value](TbsSkinSpeedButton* B) { B->SetShowCaption(Value); });
  if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
    SetWidth(Value ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TbsSkinToolBar::SetFlat(bool Value) {
  FFlat = Value;
  ForEachSpeedButton([Value](TbsSkinSpeedButton* B) { B->SetFlat(Value); });
}

void TbsSkinToolBar::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  ForEachSpeedButton([](TbsSkinSpeedButton* B) { B->Repaint(); });
}

void TbsSkinToolBar::SetHotImages(TCustomImageList* Value) {
  FHotImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinToolBar::SetDisabledImages(TCustomImageList* Value) {
  FDisabledImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FHotImages) SetHotImages(nullptr);
  if (AComponent == FDisabledImages) SetDisabledImages(nullptr);
}

void TbsSkinToolBar::SetSkinData(TbsSkinData* Value) {
  TbsSkinPanel::SetSkinData(Value);
  for (Integer I = 0; I < GetControlCount(); ++I) {
    if (auto* B = dynamic_cast<TbsSkinSpeedButton*>(GetControl(I)))
      B->SetSkinData(Value);
    else if (auto* V = dynamic_cast<TbsSkinBevel*>(GetControl(I)))
      V->SetSkinData(Value);
  }
}

void TbsSkinToolBar::SetSkinDataName(const std::string& Value) {
  TbsSkinPanel::SetSkinDataName(Value);
  if (!Designing() || GetComponentState().Contains(csLoading)) return;
  // At design time the buttons follow the bar's part family.
  ForEachSpeedButton([&Value](TbsSkinSpeedButton* B) {
    const bool Menu = B->HasMenuPart();
    const bool Track = Menu && B->TracksMenuPart();
    if (Value == "resizetoolpanel")
      B->SetSkinDataName("resizetoolbutton");
    else if (Value == "panel")
      B->SetSkinDataName("resizebutton");
    else if (Value == "bigtoolpanel")
      B->SetSkinDataName(!Menu ? "bigtoolbutton" : Track ? "bigtoolmenutrackbutton" : "bigtoolmenubutton");
    else
      B->SetSkinDataName(!Menu ? "toolbutton" : Track ? "toolmenutrackbutton" : "toolmenubutton");
  });
}

void TbsSkinToolBar::LoadSkinPart() {
  TbsSkinPanel::LoadSkinPart();
  ScrollButtonPart = nullptr;
  if (PartIndex == -1) return;
  const Integer I = FSD->FindControlPart("resizebutton");
  if (I != -1)
    ScrollButtonPart =
        dynamic_cast<TbsDataSkinButtonControl*>(FSD->SkinControls[static_cast<std::size_t>(I)].get());
}

void TbsSkinToolBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldWidth = GetWidth();
  TbsSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FAdjustControls)
    for (Integer I = 0; I < GetControlCount(); ++I) {
      TControl* C = GetControl(I);
      C->SetBounds(C->GetLeft(), C->GetTop(), C->GetWidth(), C->GetHeight());
    }
  if (FCanScroll) {
    GrowBy = OldWidth != 0 && GetWidth() > OldWidth ? GetWidth() - OldWidth : 0;
    if (GetAlign() != alNone) UpdateScroll();
  }
  CentreChildren();
}

void TbsSkinToolBar::CentreChildren() {
  const TRect R = GetAdjustedClientRect();
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControl(I);
    if (dynamic_cast<TbsSkinControl*>(C) != nullptr || dynamic_cast<TbsGraphicSkinControl*>(C) != nullptr ||
        C->GetAlign() != alNone)
      continue;
    const Integer Top = R.Top + GetRectHeight(R) / 2 - C->GetHeight() / 2;
    if (C->GetTop() != Top) C->SetTop(Top);
  }
}

void TbsSkinToolBar::Dispatch(TMessage& Message) {
  if (DispatchScroll(Message)) return;
  TbsSkinPanel::Dispatch(Message);
  if (Message.Msg == WM_WINDOWPOSCHANGING && HandleAllocated() && FAdjustControls) CentreChildren();
}
