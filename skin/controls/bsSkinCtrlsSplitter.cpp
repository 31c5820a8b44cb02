// TbsSkinSplitter: the platform splitter with a skinned face.
#include "skin/controls/bsSkinCtrlsSplitter.h"

#include "platform/classes/Bitmap.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/controls/bsSkinPartMixin.h"
#include "skin/data/bsUtils.h"

TbsSkinSplitter::TbsSkinSplitter(TComponent* AOwner) : TSplitter(AOwner) {
  TControlStyle S = GetControlStyle();
  S.Include(csOpaque);
  SetControlStyle(S);
}

void TbsSkinSplitter::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  TControlStyle S = GetControlStyle();
  if (Value)
    S.Exclude(csOpaque);
  else
    S.Include(csOpaque);
  SetControlStyle(S);
  Repaint();
}

void TbsSkinSplitter::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  ApplySkinChange();
}

void TbsSkinSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TSplitter::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinSplitter::RequestAlign() {
  TSplitter::RequestAlign();
  if (!GetComponentState().Contains(csDesigning)) return;
  const TAlign A = GetAlign();
  FSkinDataName = A == alTop || A == alBottom ? "hsplitter" : "vsplitter";
}

void TbsSkinSplitter::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
  SkinPicture = nullptr;
  if (PartIndex == -1) return;
  auto* Part =
      dynamic_cast<TbsDataSkinSplitterControl*>(FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get());
  if (Part == nullptr) return;
  LeftTopPoint = Part->LeftTopPoint;
  RightTopPoint = Part->RightTopPoint;
  LeftBottomPoint = Part->LeftBottomPoint;
  SkinRect = Part->SkinRect;
  SkinPicture = SkinPictureAt(FSD, Part->PictureIndex);
  StretchEffect = Part->StretchEffect;
  GripperRect = Part->GripperRect;
  GripperTransparent = Part->GripperTransparent;
  GripperTransparentColor = Part->GripperTransparentColor;
}

void TbsSkinSplitter::ApplySkinChange() {
  LoadSkinPart();
  const bool Plain = PartIndex == -1 || FTransparent;
  const TAlign A = GetAlign();
  if (A == alTop || A == alBottom)
    SetHeight(Plain ? FDefaultSize : GetRectHeight(SkinRect));
  else
    SetWidth(Plain ? FDefaultSize : GetRectWidth(SkinRect));
  Repaint();
}

void TbsSkinSplitter::Paint() {
  if (FTransparent || GetWidth() < 1 || GetHeight() < 1) return;
  LoadSkinPart();
  const TAlign A = GetAlign();
  if (PartIndex == -1 || SkinPicture == nullptr || A == alNone || A == alClient) {
    TSplitter::Paint();
    return;
  }
  TBitmap Face;
  if (A == alTop || A == alBottom)
    CreateHSkinImage(LeftTopPoint.X, GetRectWidth(SkinRect) - RightTopPoint.X, &Face, SkinPicture, SkinRect,
                     GetWidth(), GetRectHeight(SkinRect), StretchEffect);
  else
    CreateVSkinImage(LeftTopPoint.Y, GetRectHeight(SkinRect) - LeftBottomPoint.Y, &Face, SkinPicture,
                     SkinRect, GetRectWidth(SkinRect), GetHeight(), StretchEffect);
  if (!IsEmptyRect(GripperRect))
    DrawPartPicture(Face.GetCanvas(), Face.GetWidth() / 2 - GetRectWidth(GripperRect) / 2,
                    Face.GetHeight() / 2 - GetRectHeight(GripperRect) / 2, SkinPicture, GripperRect,
                    GripperTransparent, GripperTransparentColor);
  GetCanvas()->Draw(0, 0, &Face);
}
