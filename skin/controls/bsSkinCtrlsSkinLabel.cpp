// TbsSkinLabel: the windowed label on a framed text field of the skin.
#include "platform/classes/Bitmap.h"
#include "platform/gdi/Text.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/data/bsUtils.h"

TbsSkinLabel::TbsSkinLabel(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetWidth(75);
  SetHeight(21);
  SetSkinDataName("label");
}

// ---- Properties -----------------------------------------------------------------------------

namespace {

// Stores Value and repaints when it differs.
template <class T>
void StoreAndRepaint(TbsSkinLabel* Label, T& Field, const T& Value) {
  if (Field == Value) return;
  Field = Value;
  Label->Repaint();
}

}  // namespace

void TbsSkinLabel::SetShadowEffect(bool Value) {
  StoreAndRepaint(this, FShadowEffect, Value);
}

void TbsSkinLabel::SetShadowColor(TColor Value) {
  StoreAndRepaint(this, FShadowColor, Value);
}

void TbsSkinLabel::SetShadowOffset(Integer Value) {
  StoreAndRepaint(this, FShadowOffset, Value);
}

void TbsSkinLabel::SetShadowSize(Integer Value) {
  StoreAndRepaint(this, FShadowSize, Value);
}

void TbsSkinLabel::SetReflectionEffect(bool Value) {
  StoreAndRepaint(this, FReflectionEffect, Value);
}

void TbsSkinLabel::SetReflectionOffset(Integer Value) {
  StoreAndRepaint(this, FReflectionOffset, Value);
}

void TbsSkinLabel::SetAlignment(TAlignment Value) {
  StoreAndRepaint(this, FAlignment, Value);
}

void TbsSkinLabel::SetUseSkinFontColor(bool Value) {
  StoreAndRepaint(this, FUseSkinFontColor, Value);
}

void TbsSkinLabel::SetEllipsType(TbsEllipsType2 Value) {
  if (FEllipsType == Value) return;
  FEllipsType = Value;
  Invalidate();
}

void TbsSkinLabel::SetBorderStyle(TbsSkinBorderStyle Value) {
  FBorderStyle = Value;
  if (PartIndex != -1) return;
  Repaint();
  Realign();
}

void TbsSkinLabel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  if (Value) AdjustWidth();
}

void TbsSkinLabel::AdjustWidth() {
  const TAlign A = GetAlign();
  if (A == alTop || A == alBottom || A == alClient) return;
  const Integer Excess = GetTextExcess();
  if (Excess != 0) SetWidth(GetWidth() + Excess);
}

void TbsSkinLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!InWMPaint) PaintControlTo(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      break;
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      if (FAutoSize) AdjustWidth();
      Repaint();
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

// ---- Skin part ------------------------------------------------------------------------------

Integer TbsSkinLabel::GetTextExcess() {
  LoadSkinPart();
  TCanvas* C = GetCanvas();
  SetLabelFont(C);
  const Integer TextWidth = C->TextWidth(GetCaption());
  if (PartIndex == -1) return TextWidth + 4 - GetWidth();
  if (PartResizeMode() == 0) return 0;
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  return TextWidth - GetRectWidth(NewClientRect);
}

void TbsSkinLabel::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  auto* Part = dynamic_cast<TbsDataSkinLabelControl*>(BoundPart());
  if (Part == nullptr) return;
  FontName = Part->FontName;
  FontStyle = Part->FontStyle;
  FontHeight = Part->FontHeight;
  FontColor = Part->FontColor;
  // A part of fixed size leaves no room to grow.
  if (PartResizeMode() == 0) FAutoSize = false;
}

void TbsSkinLabel::UpdatePartRegion() {
  if (FUseSkinSize) TbsSkinCustomControl::UpdatePartRegion();
}

void TbsSkinLabel::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || SizingMode == 1) {
    TbsSkinCustomControl::FitPartToSize(AWidth, AHeight);
    return;
  }
  if (PartIndex == -1) return;
  // Fitted as a horizontal three-piece part whatever its mode; the height stays free.
  const Integer DX = AWidth - GetRectWidth(SkinRect);
  NewLeftTopPoint = LeftTopPoint;
  NewRightTopPoint = {RightTopPoint.X + DX, RightTopPoint.Y};
  NewClientRect = PartClientRect;
  NewClientRect.Right += DX;
  if (!FAutoSize) return;
  TCanvas* C = GetCanvas();
  SetLabelFont(C);
  const Integer Excess = C->TextWidth(GetCaption()) - GetRectWidth(NewClientRect);
  if (Excess > 0) {
    AWidth += Excess;
    NewRightTopPoint.X += Excess;
    NewClientRect.Right += Excess;
  }
}

// ---- Painting -------------------------------------------------------------------------------

void TbsSkinLabel::SetLabelFont(TCanvas* C) {
  C->SetFont(GetDefaultFont());
  if (PartIndex != -1) {
    if (GetUseSkinFont()) AssignPartFont(C->GetFont(), FontName, FontHeight, FontStyle);
    C->GetFont()->SetColor(FontColor);
  }
  AssignSkinCharset(C->GetFont(), FSD, GetDefaultFont());
  if (!FUseSkinFontColor) C->GetFont()->SetColor(GetDefaultFont()->GetColor());
}

void TbsSkinLabel::DrawLabelText(TCanvas* C, const TRect& R) {
  SetLabelFont(C);
  std::string Text = GetCaption();
  if (FEllipsType == bsetEllips) FitTextToWidth(C, Text, GetRectWidth(R));
  const TSize T = C->TextExtent(Text);
  Integer Y = R.Top + GetRectHeight(R) / 2 - T.cy / 2;
  if (C->GetFont()->GetHeight() % 2 != 0) --Y;
  Integer X = R.Left;
  UINT AlignFlag = DT_LEFT;
  if (FAlignment == taRightJustify) {
    X = R.Right - T.cx;
    AlignFlag = DT_RIGHT;
  } else if (FAlignment == taCenter) {
    X = R.Left + GetRectWidth(R) / 2 - T.cx / 2;
    AlignFlag = DT_CENTER;
  }
  C->GetBrush()->SetStyle(bsClear);
  if (FShadowEffect) {
    TColor Glow = FShadowColor;
    if (PartIndex != -1 && FUseSkinFontColor && FSD != nullptr)
      Glow = DarkerColor(FSD->SkinColors->CBtnFace, 70);
    DrawGlowText(C, Rect(R.Left, Y, R.Right, R.Bottom), Text, AlignFlag, FShadowOffset, Glow, FShadowSize);
  } else if (FReflectionEffect && GetRectWidth(R) > 0) {
    DrawReflectionText(C, R, Text, AlignFlag, FReflectionOffset, C->GetFont()->GetColor());
  } else {
    C->TextRect(R, X, Y, Text);
  }
}

void TbsSkinLabel::DrawDefaultFace(TCanvas* C) {
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(GetClientRect());
  switch (FBorderStyle) {
    case TbsSkinBorderStyle::bvFrame:
      DrawBevelFrame(C, GetClientRect(), clBtnShadow, clBtnShadow);
      break;
    case TbsSkinBorderStyle::bvRaised:
      DrawBevelFrame(C, GetClientRect(), clBtnHighlight, clBtnShadow);
      break;
    case TbsSkinBorderStyle::bvLowered:
      DrawBevelFrame(C, GetClientRect(), clBtnShadow, clBtnHighlight);
      break;
    case TbsSkinBorderStyle::bvNone:
      break;
  }
}

void TbsSkinLabel::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  DrawDefaultFace(C);
  DrawLabelText(C, Rect(3, 3, GetWidth() - 3, GetHeight() - 3));
}

void TbsSkinLabel::DrawSkinImage(TBitmap* B) {
  if (FUseSkinSize || SizingMode == 1) {
    TbsSkinCustomControl::DrawSkinImage(B);
    DrawLabelText(B->GetCanvas(), NewClientRect);
    return;
  }
  B->SetSize(GetWidth(), GetHeight());
  if (SkinPicture != nullptr) CreateStretchSkinImage(B, SkinPicture, SkinRect, PartClientRect, true);
  TRect R = NewClientRect;
  R.Bottom += GetHeight() - GetRectHeight(SkinRect);
  DrawLabelText(B->GetCanvas(), R);
}
