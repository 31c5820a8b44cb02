#include "skin/form/bsSkinFormObjects.h"

#include "platform/classes/Application.h"
#include "platform/classes/Colors.h"
#include "platform/gdi/Regions.h"
#include "platform/user/User.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"

namespace {

TBitmap* PictureAt(TbsSkinData* SD, Integer Index) {
  if (SD == nullptr || Index < 0 || Index >= static_cast<Integer>(SD->ActivePictures.size())) return nullptr;
  return SD->ActivePictures[static_cast<std::size_t>(Index)].get();
}

bool EmptyRect(const TRect& R) {
  return R.Width() <= 0 || R.Height() <= 0;
}

}  // namespace

// ---- TbsActiveSkinObject --------------------------------------------------------------------

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData)
    : SkinForm(AOwner), SkinData(AOwner->GetSkinData()) {
  if (AData != nullptr) {
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    ActivePicture = PictureAt(SkinData, AData->ActivePictureIndex);
    // Without its picture the active look is off; the loaded record keeps its rectangle, so a
    // later form made from the same skin reads it unchanged.
    if (ActivePicture == nullptr) ActiveSkinRect = TRect();
    ActiveMaskPicture = PictureAt(SkinData, AData->ActiveMaskPictureIndex);
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
  }
  if (Morphing && EmptyRect(ActiveSkinRect)) Morphing = false;
  ObjectRect = SkinRect;
  if (SkinData != nullptr) FramePicture = SkinData->Picture.get();
}

bool TbsActiveSkinObject::HitTest(Integer X, Integer Y) {
  if (!SkinUsable() || ActiveMaskPicture == nullptr) return true;
  if (X < 0 || Y < 0 || X >= ActiveMaskPicture->GetWidth() || Y >= ActiveMaskPicture->GetHeight())
    return false;
  return ColorToRGB(ActiveMaskPicture->GetCanvas()->GetPixels(X, Y)) == 0;
}

bool TbsActiveSkinObject::CanMorph() const {
  return Morphing && SkinUsable() && SkinData->GetEnableSkinEffects();
}

bool TbsActiveSkinObject::MorphPending() const {
  return (Active && MorphFactor < 1) || (!Active && MorphFactor > 0);
}

void TbsActiveSkinObject::SetMorphFactor(double Value) {
  MorphFactor = Value < 0 ? 0 : Value > 1 ? 1 : Value;
}

void TbsActiveSkinObject::MorphStep() {
  SetMorphFactor(Active ? MorphFactor + 0.2 : MorphFactor - 0.2);
  SkinForm->DrawSkinObject(this);
}

void TbsActiveSkinObject::ReDraw() {
  if (CanMorph())
    SkinForm->StartMorphTimer();
  else
    SkinForm->DrawSkinObject(this);
}

void TbsActiveSkinObject::CopyLook(TCanvas* Cnvs, TBitmap* Picture, const TRect& Source) {
  // A look whose picture the skin does not have draws nothing: the frame shows through.
  if (Picture == nullptr || EmptyRect(Source)) return;
  Cnvs->CopyRect(ObjectRect, Picture->GetCanvas(), Source);
}

void TbsActiveSkinObject::DrawMorph(TCanvas* Cnvs, TBitmap* FromPicture, const TRect& From, const TRect& To) {
  if (FromPicture == nullptr || ActivePicture == nullptr) return;
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  TBitmap B1, B2;
  B1.SetPixelFormat(pf24bit);
  B2.SetPixelFormat(pf24bit);
  B1.SetSize(W, H);
  B2.SetSize(W, H);
  B1.GetCanvas()->CopyRect(Rect(0, 0, W, H), FromPicture->GetCanvas(), From);
  B2.GetCanvas()->CopyRect(Rect(0, 0, W, H), ActivePicture->GetCanvas(), To);
  TbsEffectBmp E1(B1.GetHandle()), E2(B2.GetHandle());
  E1.MorphByKind(&E2, MorphKind, MorphFactor);
  E1.DrawToDC(Cnvs->GetHandle(), ObjectRect.Left, ObjectRect.Top);
}

void TbsActiveSkinObject::Draw(TCanvas* Cnvs, bool Refresh) {
  if (!SkinUsable()) return;
  if (Enabled && !SkinForm->IsFormActive() && !EmptyRect(InActiveSkinRect)) {
    CopyLook(Cnvs, ActivePicture, InActiveSkinRect);
    return;
  }
  TBitmap* Normal = SkinRectInAPicture ? ActivePicture : FramePicture;
  if (CanMorph() && ((Active && MorphFactor != 1) || (!Active && MorphFactor != 0))) {
    DrawMorph(Cnvs, Normal, SkinRect, ActiveSkinRect);
    return;
  }
  if (Active && !EmptyRect(ActiveSkinRect)) {
    CopyLook(Cnvs, ActivePicture, ActiveSkinRect);
    return;
  }
  if (!Refresh && !SkinRectInAPicture) return;
  CopyLook(Cnvs, Normal, SkinRect);
}

void TbsActiveSkinObject::MouseEnter() {
  MouseOver = true;
  Active = true;
  if (!EmptyRect(ActiveSkinRect)) ReDraw();
  SkinForm->DoMouseEnterEvent(IDName);
  ShowGlowLayer();
}

void TbsActiveSkinObject::MouseLeave() {
  MouseOver = false;
  Active = false;
  if (!EmptyRect(ActiveSkinRect)) ReDraw();
  SkinForm->DoMouseLeaveEvent(IDName);
  HideGlowLayer();
}

void TbsActiveSkinObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  SkinForm->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (MouseOver) SkinForm->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseMove(Integer X, Integer Y) {
  SkinForm->DoMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsUserObject::Draw(TCanvas* Cnvs, bool) {
  SkinForm->DoPaintEvent(IDName, Cnvs, ObjectRect);
}

// ---- TbsSkinButtonObject --------------------------------------------------------------------

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AOwner, AData) {
  if (auto* B = dynamic_cast<TbsDataSkinButton*>(AData)) {
    DownRect = B->DownRect;
    DisableSkinRect = B->DisableSkinRsect;
  }
}

bool TbsSkinButtonObject::MorphPending() const {
  if (DropMenuItem != nullptr && Pressed) return false;
  return TbsActiveSkinObject::MorphPending();
}

void TbsSkinButtonObject::Draw(TCanvas* Cnvs, bool Refresh) {
  if (!SkinUsable()) return;
  if (!Enabled && !EmptyRect(DisableSkinRect))
    CopyLook(Cnvs, ActivePicture, DisableSkinRect);
  else if (Pressed && MouseOver && !EmptyRect(DownRect))
    CopyLook(Cnvs, ActivePicture, DownRect);
  else
    TbsActiveSkinObject::Draw(Cnvs, Refresh);
}

void TbsSkinButtonObject::SetPressed(bool Value) {
  Pressed = Value;
  if (CanMorph() && Active) MorphFactor = 1;
  SkinForm->DrawSkinObject(this);
  if (CanMorph() && !Pressed) ReDraw();
}

void TbsSkinButtonObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && !Pressed) {
    SetPressed(true);
    PopupMenu();
  }
  TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && DropMenuItem == nullptr && Pressed) SetPressed(false);
  TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinButtonObject::MouseEnter() {
  MouseOver = true;
  Active = true;
  if (Pressed && !EmptyRect(DownRect)) {
    if (CanMorph()) MorphFactor = 1;
    SkinForm->DrawSkinObject(this);
  } else {
    if (!EmptyRect(ActiveSkinRect)) ReDraw();
    if (DropMenuItem != nullptr) ShowGlowLayer();
  }
  SkinForm->DoMouseEnterEvent(IDName);
  if (DropMenuItem == nullptr) ShowGlowLayer();
}

void TbsSkinButtonObject::MouseLeave() {
  MouseOver = false;
  Active = false;
  if (DropMenuItem == nullptr || !Pressed) {
    if (DropMenuItem != nullptr) HideGlowLayer();
    SkinForm->DrawSkinObject(this);
    ReDraw();
  }
  SkinForm->DoMouseLeaveEvent(IDName);
  if (DropMenuItem == nullptr) HideGlowLayer();
}

void TbsSkinButtonObject::PopupMenu() {
  if (DropMenuItem == nullptr || DropMenuItem->GetCount() == 0) return;
  SkinForm->PopupObjectMenu(DropMenuItem, SkinForm->FrameToScreen(ObjectRect), PopupToUp);
}

// ---- TbsSkinStdButtonObject -----------------------------------------------------------------

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData)
    : TbsSkinButtonObject(AOwner, AData) {
  if (auto* S = dynamic_cast<TbsDataSkinStdButton*>(AData)) {
    FromSkin = true;
    Command = S->Command;
    RestoreRect = S->RestoreRect;
    RestoreActiveRect = S->RestoreActiveRect;
    RestoreInActiveRect = S->RestoreInActiveRect;
    RestoreDownRect = S->RestoreDownRect;
    RestoreHint = S->RestoreHint;
    NormalHint = S->Hint;
  }
}

bool TbsSkinStdButtonObject::IconMode() const {
  return Command == 3 && SkinForm->GetShowIcon() && SkinRectInAPicture;
}

bool TbsSkinStdButtonObject::InRestoreState() const {
  const TWindowState S = SkinForm->GetWindowState();
  if (Command == 1) return S == wsMaximized;
  if (Command == 2) return S == wsMinimized && Application->GetMainForm() != SkinForm->GetForm();
  if (Command == 5) return SkinForm->GetRollUpState();
  return false;
}

bool TbsSkinStdButtonObject::HitTest(Integer X, Integer Y) {
  if (IconMode() && FromSkin) return true;
  return TbsSkinButtonObject::HitTest(X, Y);
}

bool TbsSkinStdButtonObject::MorphPending() const {
  if (IconMode()) return false;
  return TbsSkinButtonObject::MorphPending();
}

void TbsSkinStdButtonObject::Draw(TCanvas* Cnvs, bool Refresh) {
  if (!FromSkin) {
    DefaultDraw(Cnvs);
    return;
  }
  if (!SkinUsable()) return;
  if (IconMode()) {
    SkinForm->DrawSmallIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    MorphFactor = 0;
    return;
  }
  if (Enabled && InRestoreState() && !EmptyRect(RestoreRect)) {
    if (!SkinForm->GetNCActive() && !EmptyRect(RestoreInActiveRect))
      CopyLook(Cnvs, ActivePicture, RestoreInActiveRect);
    else if (Pressed && MouseOver && !EmptyRect(RestoreDownRect))
      CopyLook(Cnvs, ActivePicture, RestoreDownRect);
    else if (CanMorph() && ((Active && MorphFactor != 1) || (!Active && MorphFactor != 0)))
      DrawMorph(Cnvs, ActivePicture, RestoreRect, RestoreActiveRect);
    else if (Active && !EmptyRect(RestoreActiveRect))
      CopyLook(Cnvs, ActivePicture, RestoreActiveRect);
    else
      CopyLook(Cnvs, ActivePicture, RestoreRect);
    return;
  }
  TbsSkinButtonObject::Draw(Cnvs, Refresh);
}

void TbsSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs) {
  if (Command == 3 && SkinForm->GetShowIcon()) {
    SkinForm->DrawSmallIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    return;
  }
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  const bool Down = Pressed && MouseOver;
  if (MouseOver) {
    C->GetBrush()->SetColor(static_cast<TColor>(0x800000));
    C->FillRect(Rect(0, 0, W, H));
    C->GetBrush()->SetColor(static_cast<TColor>(Down ? 0xB59385 : 0xD2BDB6));
    C->FillRect(Rect(1, 1, W - 1, H - 1));
  } else {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, W, H));
  }
  const Integer X = W / 2 - (Down ? 4 : 5), Y = H / 2 - (Down ? 3 : 4);
  const TColor Color = Enabled ? clBtnText : clBtnShadow;
  const TWindowState S = SkinForm->GetWindowState();
  switch (Command) {
    case 0:
      DrawCloseGlyph(C, X, Y, Color);
      break;
    case 1:
      if (S == wsMaximized)
        DrawRestoreGlyph(C, X, Y, Color);
      else
        DrawMaximizeGlyph(C, X, Y, Color);
      break;
    case 2:
      if (S == wsMinimized)
        DrawRestoreGlyph(C, X, Y, Color);
      else
        DrawMinimizeGlyph(C, X, Y, Color);
      break;
    case 3:
      DrawSysMenuGlyph(C, X, Y, Color);
      break;
    case 5:
      if (SkinForm->GetRollUpState())
        DrawRollDownGlyph(C, X, Y, Color);
      else
        DrawRollUpGlyph(C, X, Y, Color);
      break;
    case 6:
      DrawMinimizeToTrayGlyph(C, X, Y, Color);
      break;
    default:
      break;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinStdButtonObject::MouseEnter() {
  if (Command != 4) {
    const TWindowState S = SkinForm->GetWindowState();
    const bool Restore = (Command == 5 && SkinForm->GetRollUpState()) || (Command == 2 && S == wsMinimized) ||
                         (Command == 1 && S == wsMaximized);
    Hint = !RestoreHint.empty() && Restore ? RestoreHint : NormalHint;
  }
  if (!IconMode()) TbsSkinButtonObject::MouseEnter();
}

void TbsSkinStdButtonObject::MouseLeave() {
  if (!IconMode()) TbsSkinButtonObject::MouseLeave();
}

void TbsSkinStdButtonObject::MouseDown(Integer, Integer, TMouseButton Button) {
  if (!Enabled || Button != mbLeft || Pressed) return;
  if (!IconMode()) SetPressed(true);
  if (Command == 3) {
    DropMenuItem = SkinForm->GetSystemMenuItems();
    PopupMenu();
  }
}

void TbsSkinStdButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  // The command needs the mouse still over the button at release.
  if (Command == 0) {
    TbsSkinButtonObject::MouseUp(X, Y, Button);
    if (Active && Button == mbLeft) DoCommand();
    return;
  }
  if (Active && Button == mbLeft) DoCommand();
  if (!IconMode()) TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick() {
  if (Command == 3) SkinForm->GetForm()->Close();
}

void TbsSkinStdButtonObject::DoCommand() {
  switch (Command) {
    case 0:
      SkinForm->TestActive(-1, -1, false);
      SkinForm->GetForm()->Close();
      break;
    case 1:
      SkinForm->TestActive(-1, -1, false);
      HideGlowLayer();
      SkinForm->SetWindowState(SkinForm->GetWindowState() == wsMaximized ? wsNormal : wsMaximized);
      break;
    case 2:
      SkinForm->TestActive(-1, -1, false);
      if (SkinForm->AlwaysMinimizeToTray) {
        SkinForm->MinimizeToTray();
      } else {
        HideGlowLayer();
        SkinForm->SetWindowState(SkinForm->GetWindowState() == wsMinimized ? wsNormal : wsMinimized);
      }
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
