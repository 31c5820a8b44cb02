#include "skin/form/SkinForm.h"

#include "platform/classes/Screen.h"
#include "platform/system/Exceptions.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/bsSkinMenus.h"

TbsSkinForm::TbsSkinForm(TComponent* AOwner) : TComponent(AOwner) {
  FForm = dynamic_cast<TCustomForm*>(AOwner);
  if (FForm == nullptr) throw EInvalidCast("Invalid class typecast");
  FForm->SetAutoSize(false);
  FForm->SetAutoScroll(false);
  if (!Designing()) {
    FOldWindowProc = FForm->WindowProc;
    FForm->WindowProc = TWndMethod(this, &TbsSkinForm::FormWindowProc);
  }
}

TbsSkinForm::~TbsSkinForm() {
  // A form being destroyed has no window procedure left to give back.
  if (!Designing() && FForm != nullptr && !FForm->GetComponentState().Contains(csDestroying) &&
      FForm->WindowProc == TWndMethod(this, &TbsSkinForm::FormWindowProc))
    FForm->WindowProc = FOldWindowProc;
}

void TbsSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FMenusSkinData) FMenusSkinData = nullptr;
  if (AComponent == FMainMenuBar) FMainMenuBar = nullptr;
}

void TbsSkinForm::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    if (FForm->GetFormStyle() != fsMDIChild) FSkinnable = Value->GetSkinnableForm();
  }
  if (!Designing()) ApplySkin();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* Value) {
  FMenusSkinData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinForm::SetMainMenuBar(TbsSkinMainMenuBar* Value) {
  FMainMenuBar = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

// ---- Size limits ----------------------------------------------------------------------------

namespace {

// The work area of the monitor that holds the form.
TRect WorkArea(TCustomForm* Form) {
  if (Screen == nullptr) return Rect(0, 0, 1024, 768);
  TMonitor* M = Form->HandleAllocated() ? Screen->MonitorFromWindow(Form->GetHandle()) : nullptr;
  return M != nullptr ? M->GetWorkareaRect() : Screen->GetWorkAreaRect();
}

}  // namespace

Integer TbsSkinForm::GetDefaultCaptionHeight() {
  const TFormBorderStyle B = FForm->GetBorderStyle();
  return B == bsToolWindow || B == bsSizeToolWin ? 15 : 19;
}

Integer TbsSkinForm::GetMinWidth() {
  // The frame pictures of a skin set their own minimum once skins are applied to frames.
  return FMinWidth > 0 ? FMinWidth : 120;
}

Integer TbsSkinForm::GetMinHeight() {
  const Integer Caption = GetDefaultCaptionHeight() + 6;
  const bool Small = FForm->GetWindowState() == wsMinimized || FWindowState == wsMinimized;
  return FMinHeight > Caption && !Small ? FMinHeight : Caption;
}

Integer TbsSkinForm::GetMaxWidth() {
  if (FMaxWidth != 0) return FMaxWidth;
  return WorkArea(FForm).Width();
}

Integer TbsSkinForm::GetMaxHeight() {
  if (FMaxHeight != 0) return FMaxHeight;
  return WorkArea(FForm).Height();
}

// ---- Messages -------------------------------------------------------------------------------

void TbsSkinForm::FormWindowProc(TMessage& Message) {
  auto* Skin = reinterpret_cast<TbsSkinData*>(Message.WParam);
  switch (Message.Msg) {
    case WM_BEFORECHANGESKINDATA:
      if (Message.LParam == SkinMessageParam && Skin == FSD && FSD != nullptr) {
        FSkinChanging = true;
        FSkinApplied = false;
        BeforeSkinChangeControls(Skin, FForm);
        if (OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
      }
      break;
    case WM_CHANGESKINDATA:
      if (Message.LParam == SkinMessageParam) {
        FSkinChanging = false;
        if (Skin == FSD && FSD != nullptr) ApplySkin();
        ApplySkinChangeControls(Skin, FForm);
      }
      break;
    case WM_AFTERCHANGESKINDATA:
      if (Message.LParam == SkinMessageParam && OnAfterChangeSkinData) OnAfterChangeSkinData(this);
      break;
    case WM_CHANGEFORMSKINNABLE:
      if (Message.LParam == SkinMessageParam && FSD != nullptr && Skin == FSD &&
          FForm->GetFormStyle() != fsMDIChild) {
        FSkinnable = FSD->GetSkinnableForm();
        ApplySkin();
        ApplySkinChangeControls(nullptr, FForm);
      }
      break;
    default:
      break;
  }
  // Everything reaches the form's own procedure, unchanged.
  if (FOldWindowProc) FOldWindowProc(Message);
}

void TbsSkinForm::ApplySkin() {
  FSkinApplied = FSD != nullptr && !FSD->Empty;
  if (OnChangeSkinData) OnChangeSkinData(this);
}

// ---- The control walk -----------------------------------------------------------------------

void TbsSkinForm::BeforeSkinChangeControls(TbsSkinData* Skin, TControl* Control) {
  if (auto* C = dynamic_cast<TbsSkinControl*>(Control);
      C != nullptr && (Skin == nullptr || C->GetSkinData() == Skin))
    C->BeforeSkinChange();
  auto* W = dynamic_cast<TWinControl*>(Control);
  if (W == nullptr) return;
  for (Integer I = 0; I < W->GetControlCount(); ++I) BeforeSkinChangeControls(Skin, W->GetControl(I));
}

void TbsSkinForm::ApplySkinChangeControls(TbsSkinData* Skin, TControl* Control) {
  ApplySkinChangeToComponent(Control, Skin);
  auto* W = dynamic_cast<TWinControl*>(Control);
  if (W == nullptr) return;
  for (Integer I = 0; I < W->GetControlCount(); ++I) ApplySkinChangeControls(Skin, W->GetControl(I));
}

void ApplySkinChangeToComponent(TComponent* Component, TbsSkinData* Skin) {
  auto Uses = [Skin](TbsSkinData* Own) { return Skin == nullptr || Own == Skin; };
  if (auto* C = dynamic_cast<TbsSkinControl*>(Component)) {
    if (Uses(C->GetSkinData())) C->ApplySkinChange();
  } else if (auto* G = dynamic_cast<TbsGraphicSkinControl*>(Component)) {
    if (Uses(G->GetSkinData())) G->ApplySkinChange();
  } else if (auto* P = dynamic_cast<TbsSkinPageControl*>(Component)) {
    if (Uses(P->GetSkinData())) P->ApplySkinChange();
  } else if (auto* E = dynamic_cast<TbsSkinCustomEdit*>(Component)) {
    if (Uses(E->GetSkinData())) E->ApplySkinChange();
  } else if (auto* L = dynamic_cast<TbsSkinStdLabel*>(Component)) {
    if (Uses(L->GetSkinData())) L->ApplySkinChange();
  } else if (auto* V = dynamic_cast<TbsSkinCustomListView*>(Component)) {
    if (Uses(V->GetSkinData())) V->ApplySkinChange();
  }
}

TbsSkinForm* FindSkinForm(TCustomForm* Form) {
  if (Form == nullptr) return nullptr;
  for (Integer I = 0; I < Form->GetComponentCount(); ++I)
    if (auto* F = dynamic_cast<TbsSkinForm*>(Form->GetComponent(I))) return F;
  return nullptr;
}
