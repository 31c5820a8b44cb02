// A skin applied to the form: the frame rebuilt from it, then every skinned control told.
#include "platform/gdi/Regions.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"

void TbsSkinForm::ApplySkin() {
  FHoverIndex = FOldHoverIndex = FPressedIndex = -1;
  FSkinApplied = SkinReady();
  if (FSkinApplied && FSkinnable) {
    CreateSkinObjects();
    UpdateCaptionButtons();
  } else {
    FreeObjects();
    FFrameWidth = FForm->GetWidth();
    FFrameHeight = FForm->GetHeight();
    SetFrameRegion(true);
  }
  if (FSkinnable) {
    if (!FForm->GetBorderIcons().IsEmpty()) FForm->SetBorderIcons({});
  } else {
    UpdateFormBorderIcons();
  }
  // The frame's new minimum may be larger than the form.
  const Integer MinW = GetMinWidth(), MinH = GetMinHeight();
  const bool Narrow = FForm->GetWidth() < MinW, Low = FForm->GetHeight() < MinH;
  if (Narrow && Low)
    FForm->SetBounds(FForm->GetLeft(), FForm->GetTop(), MinW, MinH);
  else if (Low)
    FForm->SetHeight(MinH);
  else if (Narrow)
    FForm->SetWidth(MinW);
  else
    NudgeWidth();
  if ((FRolledUp || FSkinWindowState == 1) && FForm->GetHeight() != GetMinHeight())
    FForm->SetHeight(GetMinHeight());
  if (FSkinWindowState == 1 && FForm->GetWidth() != GetMinWidth()) FForm->SetWidth(GetMinWidth());
  FFrameWidth = FForm->GetWidth();
  FFrameHeight = FForm->GetHeight();
  if (FSkinApplied) UpdateFrame(true);
  // The client size depends on the frame: the window takes its new client rectangle.
  if (FForm->HandleAllocated() && FSkinnable)
    SetWindowPos(FForm->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Repaint();
  SetCaptionActive(true);
  StartHoverTimer();
  if (OnChangeSkinData) OnChangeSkinData(this);
  if (!FRolledUp) {
    if (ClientWidth > 0) FForm->SetClientWidth(ClientWidth);
    if (ClientHeight > 0) FForm->SetClientHeight(ClientHeight);
  }
}

void TbsSkinForm::SetSkinnable(bool Value) {
  FActive = IsFormActive();
  if (Designing()) return;
  bool RememberMaximize = false;
  const bool Visible = FForm->GetVisible();
  if (FWindowState == wsMaximized && FSkinnable) {
    if (Visible) FForm->Hide();
    SetWindowState(wsNormal);
    RememberMaximize = true;
  } else if (FForm->GetWindowState() == wsMaximized && !FSkinnable) {
    FForm->SetWindowState(wsNormal);
    if (Visible) FForm->Hide();
    RememberMaximize = true;
  }
  FSkinnable = Value;
  if (FSkinnable) {
    if (!FHasRegion) SetFrameRegion(true);
  } else {
    SetFrameRegion(true);
  }
  ApplySkin();
  ApplySkinChangeControls(nullptr, FForm);
  FForm->WindowProc = TWndMethod(this, &TbsSkinForm::FormWindowProc);
  if (FForm->HandleAllocated())
    SetWindowPos(FForm->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (RememberMaximize) {
    if (!FSkinnable)
      FForm->SetWindowState(wsMaximized);
    else
      SetWindowState(wsMaximized);
    if (Visible) FForm->Show();
  }
}

void TbsSkinForm::UpdateFormBorderIcons() {
  TBorderIcons Icons;
  if (!HideCaptionButtons) Icons.Include(biSystemMenu);
  if (FBorderIcons.Contains(TbsBorderIcon::biMaximize)) Icons.Include(biMaximize);
  if (FBorderIcons.Contains(TbsBorderIcon::biMinimize)) Icons.Include(biMinimize);
  FForm->SetBorderIcons(Icons);
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
  } else if (auto* B = dynamic_cast<TbsSkinBevel*>(Component)) {
    if (Uses(B->GetSkinData())) B->ApplySkinChange();
  } else if (auto* V = dynamic_cast<TbsSkinCustomListView*>(Component)) {
    if (Uses(V->GetSkinData())) V->ApplySkinChange();
  } else if (auto* T = dynamic_cast<TbsSkinCustomTreeView*>(Component)) {
    if (Uses(T->GetSkinData())) T->ApplySkinChange();
  } else if (auto* S = dynamic_cast<TbsSkinSplitter*>(Component)) {
    if (Uses(S->GetSkinData())) S->ApplySkinChange();
  }
}
