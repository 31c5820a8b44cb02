// Drawing steps shared by the skinned controls.
#include "skin/controls/bsSkinCtrlsPictures.h"

#include "platform/classes/Bitmap.h"
#include "skin/controls/bsSkinCtrlsBase.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsUtils.h"

namespace {

void CopyToBitmap(TBitmap& B, TBitmap* Picture, const TRect& Source) {
  B.SetSize(GetRectWidth(Source), GetRectHeight(Source));
  B.GetCanvas()->CopyRect(Rect(0, 0, B.GetWidth(), B.GetHeight()), Picture->GetCanvas(), Source);
}

}  // namespace

void DrawPartPicture(TCanvas* Dest, Integer X, Integer Y, TBitmap* Picture, const TRect& Source,
                     bool Transparent, TColor TransparentColor) {
  if (Picture == nullptr || IsEmptyRect(Source)) return;
  if (!Transparent) {
    Dest->CopyRect(Rect(X, Y, X + GetRectWidth(Source), Y + GetRectHeight(Source)), Picture->GetCanvas(),
                   Source);
    return;
  }
  TBitmap B;
  CopyToBitmap(B, Picture, Source);
  B.SetTransparent(true);
  B.SetTransparentMode(tmFixed);
  B.SetTransparentColor(TransparentColor);
  Dest->Draw(X, Y, &B);
}

void DrawPartPictureAuto(TCanvas* Dest, Integer X, Integer Y, TBitmap* Picture, const TRect& Source) {
  if (Picture == nullptr || IsEmptyRect(Source)) return;
  TBitmap B;
  CopyToBitmap(B, Picture, Source);
  B.SetTransparent(true);
  Dest->Draw(X, Y, &B);
}

void AssignPartFont(TFont* Font, const std::string& Name, Integer Height, const TFontStyles& Style) {
  Font->SetName(Name);
  Font->SetHeight(Height);
  Font->SetStyle(Style);
}

void AssignSkinCharset(TFont* Font, TbsSkinData* SkinData, TFont* DefaultFont) {
  if (SkinData != nullptr && SkinData->GetResourceStrData() != nullptr)
    Font->SetCharset(SkinData->GetResourceStrData()->GetCharSet());
  else if (DefaultFont != nullptr)
    Font->SetCharset(DefaultFont->GetCharset());
}

double RangeFraction(Integer V, Integer Min, Integer Max) {
  return Max == Min ? 0.0 : static_cast<double>(V - Min) / static_cast<double>(Max - Min);
}

void FramedFill(TCanvas* C, const TRect& R, TColor Frame, TColor Face) {
  C->GetPen()->SetColor(Frame);
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(Face);
  C->Rectangle(R);
}

bool TurnAtDesignTime(TbsSkinCustomControl* Control, bool Vertical, const std::string& VerticalPart,
                      const std::string& HorizontalPart) {
  const TComponentState S = Control->GetComponentState();
  if (!S.Contains(csDesigning) || S.Contains(csLoading)) return false;
  Control->SetSkinDataName(Vertical ? VerticalPart : HorizontalPart);
  const Integer W = Control->GetWidth(), H = Control->GetHeight();
  if ((Vertical && W > H) || (!Vertical && H > W))
    Control->SetBounds(Control->GetLeft(), Control->GetTop(), H, W);
  if (Vertical) {
    Control->SetDefaultWidth(Control->GetDefaultHeight());
    Control->SetDefaultHeight(0);
  } else {
    Control->SetDefaultHeight(Control->GetDefaultWidth());
    Control->SetDefaultWidth(0);
  }
  return true;
}
