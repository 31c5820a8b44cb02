// The small push buttons of the up-down, the spin edit and the skinned edit.
#include "skin/boxctrls/bsSkinBoxCtrlsStepButtons.h"

#include "platform/classes/Bitmap.h"
#include "skin/controls/bsSkinCtrlsBase.h"
#include "skin/controls/bsSkinPartMixin.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsUtils.h"

Integer StepButtonAt(const TbsSpinButtonState (&Buttons)[2], Integer X, Integer Y) {
  for (Integer I = 0; I < 2; ++I) {
    const TRect& R = Buttons[I].Rect;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return I;
  }
  return -1;
}

void DrawDefaultStepButton(TCanvas* C, const TbsSpinButtonState& S, Integer ArrowKind, bool FrameNormal) {
  C->GetBrush()->SetStyle(bsSolid);
  C->GetPen()->SetStyle(psSolid);
  if (S.Down && S.MouseIn) {
    C->GetPen()->SetColor(bsHotFrameColor);
    C->GetBrush()->SetColor(bsDownFaceColor);
    C->Rectangle(S.Rect);
  } else if (S.MouseIn) {
    C->GetPen()->SetColor(bsHotFrameColor);
    C->GetBrush()->SetColor(bsHotFaceColor);
    C->Rectangle(S.Rect);
  } else if (FrameNormal) {
    C->GetPen()->SetColor(clBtnShadow);
    C->GetBrush()->SetColor(clBtnFace);
    C->Rectangle(S.Rect);
  } else {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(S.Rect);
  }
  DrawSmallArrowGlyph(C, S.Rect, clBlack, ArrowKind);
}

TbsDataSkinButtonControl* FindButtonPart(TbsSkinData* SkinData, std::initializer_list<const char*> Names) {
  if (SkinData == nullptr || SkinData->Empty) return nullptr;
  for (const char* Name : Names) {
    const Integer Index = SkinData->FindControlPart(Name);
    if (Index < 0) continue;
    return dynamic_cast<TbsDataSkinButtonControl*>(
        SkinData->SkinControls[static_cast<std::size_t>(Index)].get());
  }
  return nullptr;
}

void DrawResizedPart(TBitmap* B, TBitmap* Picture, const TRect& Source, const TPoint& LT, const TPoint& RT,
                     const TPoint& LB, const TPoint& RB, const TRect& ClRect, Integer W, Integer H,
                     bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, Integer StretchType) {
  const Integer DW = W - GetRectWidth(Source), DH = H - GetRectHeight(Source);
  // A part that resizes one way only has no anchors the other way.
  if (RB.X == 0 || RB.Y == 0) {
    if (RT.X != 0 || RT.Y != 0) {
      CreateHSkinImage(LT.X, GetRectWidth(Source) - RT.X, B, Picture, Source, W, H, StretchEffect);
    } else if (LB.X != 0 || LB.Y != 0) {
      CreateVSkinImage(LT.Y, GetRectHeight(Source) - LB.Y, B, Picture, Source, W, H, StretchEffect);
    } else {
      B->SetSize(GetRectWidth(Source), GetRectHeight(Source));
      CopyPartRect(B->GetCanvas(), Picture, Source, Rect(0, 0, GetRectWidth(Source), GetRectHeight(Source)));
    }
    return;
  }
  const TRect NewClient = Rect(ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom + DH);
  CreateSkinImage(LT, RT, LB, RB, ClRect, LT, Point(RT.X + DW, RT.Y), Point(LB.X, LB.Y + DH),
                  Point(RB.X + DW, RB.Y + DH), NewClient, B, Picture, Source, W, H, DrawClient, LeftStretch,
                  TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
}

bool DrawButtonPart(TCanvas* C, TbsSkinData* SkinData, TbsDataSkinButtonControl* Part,
                    const TbsSpinButtonState& S, Integer ArrowKind, Integer ArrowShift) {
  TBitmap* Picture = Part != nullptr ? SkinPictureAt(SkinData, Part->PictureIndex) : nullptr;
  const Integer W = GetRectWidth(S.Rect), H = GetRectHeight(S.Rect);
  if (Picture == nullptr || W <= 0 || H <= 0) return false;
  // An empty hot picture is the normal one, an empty pressed picture the hot one.
  const TRect Active = IsEmptyRect(Part->ActiveSkinRect) ? Part->SkinRect : Part->ActiveSkinRect;
  const TRect Pressed = IsEmptyRect(Part->DownSkinRect) ? Active : Part->DownSkinRect;
  TRect Source = Part->SkinRect;
  TColor ArrowColor = Part->FontColor;
  if (S.Down && S.MouseIn) {
    Source = Pressed;
    ArrowColor = Part->DownFontColor;
  } else if (S.MouseIn) {
    Source = Active;
    ArrowColor = Part->ActiveFontColor;
  }
  TBitmap B;
  DrawResizedPart(&B, Picture, Source, Part->LeftTopPoint, Part->RightTopPoint, Part->LeftBottomPoint,
                  Part->RightBottomPoint, Part->ClientRect, W, H, true, Part->LeftStretch, Part->TopStretch,
                  Part->RightStretch, Part->BottomStretch, Part->StretchEffect, Part->StretchType);
  C->Draw(S.Rect.Left, S.Rect.Top, &B);
  if (ArrowKind != 0) {
    TRect R = S.Rect;
    if (S.Down && S.MouseIn) {
      R.Left += ArrowShift;
      R.Top += ArrowShift;
    }
    DrawSmallArrowGlyph(C, R, ArrowColor, ArrowKind);
  }
  return true;
}

void CopyPartRect(TCanvas* C, TBitmap* Picture, const TRect& Source, const TRect& Dest) {
  if (Picture == nullptr || IsEmptyRect(Source) || IsEmptyRect(Dest)) return;
  C->CopyRect(Dest, Picture->GetCanvas(), Source);
}
