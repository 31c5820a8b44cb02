#include "skin/form/bsSkinAnimateObjects.h"

#include <algorithm>

#include "platform/classes/Forms.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AOwner, AData) {
  // Animated objects never morph.
  Morphing = false;
  if (auto* A = dynamic_cast<TbsDataSkinAnimate*>(AData)) {
    CountFrames = std::max(A->CountFrames, 1);
    Cycle = A->Cycle;
    ButtonStyle = A->ButtonStyle;
    TimerInterval = std::max(A->TimerInterval, 25);
    Command = A->Command;
    DownSkinRect = A->DownSkinRect;
    RestoreRect = A->RestoreRect;
    RestoreActiveRect = A->RestoreActiveRect;
    RestoreInActiveRect = A->RestoreInActiveRect;
    RestoreDownRect = A->RestoreDownRect;
    RestoreHint = A->RestoreHint;
    NormalHint = A->Hint;
  }
}

bool TbsSkinAnimateObject::InRestoreState() const {
  const TWindowState S = SkinForm->GetWindowState();
  return (Command == 1 && S == wsMaximized) || (Command == 2 && S == wsMinimized) ||
         (Command == 5 && SkinForm->GetRollUpState());
}

TRect TbsSkinAnimateObject::LookSkinRect() const {
  return InRestoreState() && !IsEmptyRect(RestoreRect) ? RestoreRect : SkinRect;
}
TRect TbsSkinAnimateObject::LookActiveRect() const {
  return InRestoreState() && !IsEmptyRect(RestoreRect) ? RestoreActiveRect : ActiveSkinRect;
}
TRect TbsSkinAnimateObject::LookDownRect() const {
  return InRestoreState() && !IsEmptyRect(RestoreRect) ? RestoreDownRect : DownSkinRect;
}
TRect TbsSkinAnimateObject::LookInActiveRect() const {
  return InRestoreState() && !IsEmptyRect(RestoreRect) ? RestoreInActiveRect : InActiveSkinRect;
}

TRect TbsSkinAnimateObject::FrameRect(Integer N) const {
  const TRect S = LookSkinRect(), A = LookActiveRect();
  return Bounds(A.Left + (N - 1) * S.Width(), A.Top, S.Width(), S.Height());
}

void TbsSkinAnimateObject::Draw(TCanvas* Cnvs, bool) {
  // Every look comes from the active picture: without it there is nothing to show.
  if (!SkinUsable() || ActivePicture == nullptr) return;
  TRect Look;
  if (MenuShown) {
    Look = LookDownRect();
    if (IsEmptyRect(Look)) {
      CurrentFrame = CountFrames;
      Look = FrameRect(CurrentFrame);
    }
  } else if (!SkinForm->IsFormActive() && !IsEmptyRect(LookInActiveRect())) {
    Look = LookInActiveRect();
  } else if (Pressed && MouseOver && !IsEmptyRect(LookDownRect())) {
    Look = LookDownRect();
  } else {
    Look = FrameRect(CurrentFrame);
  }
  CopyLook(Cnvs, ActivePicture, Look);
}

void TbsSkinAnimateObject::SetFrame(Integer N) {
  if (Forward)
    CurrentFrame = N > CountFrames ? 1 : N;
  else
    CurrentFrame = N <= 0 ? CountFrames : N;
  SkinForm->DrawSkinObject(this);
}

void TbsSkinAnimateObject::AnimationStep() {
  if (ElapsedTime < TimerInterval) {
    ElapsedTime += 25;
    return;
  }
  if (Forward) {
    SetFrame(CurrentFrame + 1);
    if (!Cycle && CurrentFrame == CountFrames) Active = false;
  } else {
    SetFrame(CurrentFrame - 1);
    if (CurrentFrame == 1) Active = false;
  }
  ElapsedTime = 25;
}

void TbsSkinAnimateObject::StartRun(bool AForward) {
  Active = true;
  Forward = AForward;
  if (Pressed && !IsEmptyRect(DownSkinRect))
    SkinForm->DrawSkinObject(this);
  else
    SkinForm->StartAnimateTimer();
}

void TbsSkinAnimateObject::MouseEnter() {
  if (Command != 4) Hint = !RestoreHint.empty() && InRestoreState() ? RestoreHint : NormalHint;
  MouseOver = true;
  if (MenuShown) return;
  if (ButtonStyle) StartRun(true);
  SkinForm->DoMouseEnterEvent(IDName);
  ShowGlowLayer();
}

void TbsSkinAnimateObject::MouseLeave() {
  if (!MouseOver) return;
  MouseOver = false;
  if (MenuShown) return;
  if (ButtonStyle) StartRun(false);
  SkinForm->DoMouseLeaveEvent(IDName);
  HideGlowLayer();
}

void TbsSkinAnimateObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  TbsActiveSkinObject::MouseDown(X, Y, Button);
  if (Button != mbLeft) return;
  if (!IsEmptyRect(DownSkinRect)) {
    CurrentFrame = CountFrames;
    Pressed = true;
    SkinForm->DrawSkinObject(this);
  }
  // The system menu opens on the press.
  if (Command == 3 && MouseOver && ButtonStyle) DoCommand();
}

void TbsSkinAnimateObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  TbsActiveSkinObject::MouseUp(X, Y, Button);
  if (MenuShown || Button != mbLeft) return;
  if (!IsEmptyRect(DownSkinRect)) {
    Pressed = false;
    SkinForm->DrawSkinObject(this);
    SkinForm->StartAnimateTimer();
  }
  if (Command != 3 && MouseOver && ButtonStyle) DoCommand();
}

void TbsSkinAnimateObject::DblClick() {
  if (Command == 3) SkinForm->GetForm()->Close();
}

void TbsSkinAnimateObject::DoCommand() {
  switch (Command) {
    case 0:
      SkinForm->TestActive(-1, -1, false);
      SkinForm->GetForm()->Close();
      break;
    case 1:
      SkinForm->TestActive(-1, -1, false);
      SkinForm->SetWindowState(SkinForm->GetWindowState() == wsMaximized ? wsNormal : wsMaximized);
      break;
    case 2:
      SkinForm->TestActive(-1, -1, false);
      if (SkinForm->AlwaysMinimizeToTray)
        SkinForm->MinimizeToTray();
      else
        SkinForm->SetWindowState(SkinForm->GetWindowState() == wsMinimized ? wsNormal : wsMinimized);
      break;
    case 3:
      DropMenuItem = SkinForm->GetSystemMenuItems();
      PopupMenu();
      break;
    case 4:
      if (DropMenuItem != nullptr) PopupMenu();
      break;
    case 5:
      SkinForm->SetRollUpState(!SkinForm->GetRollUpState());
      break;
    case 6:
      SkinForm->TestActive(-1, -1, false);
      SkinForm->MinimizeToTray();
      break;
    default:
      break;
  }
}

void TbsSkinAnimateObject::PopupMenu() {
  if (DropMenuItem == nullptr || DropMenuItem->GetCount() == 0) return;
  MenuShown = true;
  SkinForm->PopupObjectMenu(DropMenuItem, SkinForm->FrameToScreen(ObjectRect), PopupToUp);
}

void TbsSkinAnimateObject::WindBack() {
  Active = true;
  CurrentFrame = CountFrames;
  Pressed = MenuShown = Forward = false;
  SkinForm->StartAnimateTimer();
}
