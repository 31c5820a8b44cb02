// TbsSkinButton's glow frame: a layered window around the button while the mouse is over it.
#include "platform/classes/Bitmap.h"
#include "platform/classes/Forms.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsUtils.h"

namespace {

bool GlowAvailable = true;

// Src stretched to Target's size with its frame (Left, Top, Right, Bottom pixels) kept.
void StretchAroundFrame(TBitmap* Target, TBitmap* Src, Integer W, Integer H, Integer Left, Integer Top,
                        Integer Right, Integer Bottom) {
  Target->SetSize(W, H);
  CreateStretchSkinImage(Target, Src, Rect(0, 0, Src->GetWidth(), Src->GetHeight()),
                         Rect(Left, Top, Src->GetWidth() - Right, Src->GetHeight() - Bottom), true);
}

}  // namespace

bool GlowFramesAvailable() {
  return GlowAvailable && IsLayeredWindowAvailable();
}

void SetGlowFramesAvailable(bool Value) {
  GlowAvailable = Value;
}

void TbsSkinButton::CopyButtonPart(TbsDataSkinButtonControl* Part) {
  TbsButtonMixin::CopyButtonPart(Part);
  GlowLayerPictureIndex = Part->GlowLayerPictureIndex;
  GlowLayerMaskPictureIndex = Part->GlowLayerMaskPictureIndex;
  GlowLayerOffsetLeft = Part->GlowLayerOffsetLeft;
  GlowLayerOffsetRight = Part->GlowLayerOffsetRight;
  GlowLayerOffsetTop = Part->GlowLayerOffsetTop;
  GlowLayerOffsetBottom = Part->GlowLayerOffsetBottom;
  GlowLayerShowOffsetX = Part->GlowLayerShowOffsetX;
  GlowLayerShowOffsetY = Part->GlowLayerShowOffsetY;
  GlowLayerAlphaBlendValue = Part->GlowLayerAlphaBlendValue;
}

bool TbsSkinButton::FitGlowPictures(TBitmap* Picture, TBitmap* Mask) {
  if (FSD == nullptr || FSD->Empty || !GlowFramesAvailable()) return false;
  if (!FSD->GetShowButtonGlowFrames() && !GetAlwaysShowLayeredFrame()) return false;
  if (PartIndex == -1 || GlowLayerPictureIndex == -1) return false;
  TBitmap* P = SkinPictureAt(FSD, GlowLayerPictureIndex);
  TBitmap* M = SkinPictureAt(FSD, GlowLayerMaskPictureIndex);
  // Without its mask the glow has no alpha to show with.
  if (P == nullptr || M == nullptr) return false;
  const Integer DX = GetWidth() - GetRectWidth(SkinRect), DY = GetHeight() - GetRectHeight(SkinRect);
  switch (SizingMode) {
    case 0:
      Picture->Assign(P);
      Mask->Assign(M);
      return true;
    case 2:
      if (!GetUseSkinSize()) return false;
      for (auto [Target, Src] : {std::pair{Picture, P}, std::pair{Mask, M}})
        CreateHSkinImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, Target, Src,
                         Rect(0, 0, Src->GetWidth(), Src->GetHeight()), Src->GetWidth() + DX,
                         Src->GetHeight(), true);
      return true;
    case 1:
      for (auto [Target, Src] : {std::pair{Picture, P}, std::pair{Mask, M}})
        StretchAroundFrame(Target, Src, Src->GetWidth() + DX, Src->GetHeight() + DY, GlowLayerOffsetLeft,
                           GlowLayerOffsetTop, GlowLayerOffsetRight, GlowLayerOffsetBottom);
      return true;
    default:
      return false;
  }
}

void TbsSkinButton::ShowGlowLayer() {
  TBitmap Picture, Mask;
  if (!HandleAllocated() || !FitGlowPictures(&Picture, &Mask)) return;
  auto* Form = dynamic_cast<TForm*>(GetParentForm(this));
  GlowLayer->SetKeepTopMost(Form != nullptr && Form->GetFormStyle() == fsStayOnTop);
  const TPoint P = ClientToScreen({0, 0});
  GlowLayer->ShowLayer(P.X - GlowLayerShowOffsetX, P.Y - GlowLayerShowOffsetY, &Picture, &Mask,
                       GlowLayerAlphaBlendValue);
}

void TbsSkinButton::HideGlowLayer() {
  TBitmap Picture, Mask;
  if (!FitGlowPictures(&Picture, &Mask)) return;
  GlowLayer->HideLayer();
}

void TbsSkinButton::BeforeSkinChange() {
  TbsButtonMixin::BeforeSkinChange();
  if (GlowLayer->GetIsVisible()) GlowLayer->HideLayer();
}
