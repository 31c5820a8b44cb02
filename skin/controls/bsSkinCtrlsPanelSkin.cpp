// TbsSkinPanel drawn from its skin part: texture, background picture and the caption.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/Text.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsSkinDataSections.h"
#include "skin/data/bsUtils.h"

namespace {

TRect MovedBy(const TRect& R, Integer DX, Integer DY) {
  return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

// Piece of Picture drawn at (X, Y), transparent in its bottom-left colour.
void DrawTransparentPiece(TCanvas* C, TBitmap* Picture, const TRect& Piece, Integer X, Integer Y) {
  if (Picture == nullptr || IsEmptyRect(Piece)) return;
  TBitmap B;
  B.SetSize(GetRectWidth(Piece), GetRectHeight(Piece));
  B.GetCanvas()->CopyRect(Rect(0, 0, B.GetWidth(), B.GetHeight()), Picture->GetCanvas(), Piece);
  B.SetTransparent(true);
  C->Draw(X, Y, &B);
}

}  // namespace

void TbsSkinPanel::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  if (PartIndex == -1) return;
  BGPictureIndex = -1;
  auto* Part = dynamic_cast<TbsDataSkinPanelControl*>(BoundPart());
  if (Part == nullptr) return;
  CaptionRect = Part->CaptionRect;
  CaptionAlignment = static_cast<TAlignment>(Part->Alignment);
  FontName = Part->FontName;
  FontHeight = Part->FontHeight;
  FontStyle = Part->FontStyle;
  FontColor = Part->FontColor;
  BGPictureIndex = Part->BGPictureIndex;
  CheckImageRect = Part->CheckImageRect;
  UnCheckImageRect = Part->UncheckImageRect;
  MarkFrameRect = Part->MarkFrameRect;
  FrameRect = Part->FrameRect;
  FrameTextRect = Part->FrameTextRect;
  FrameLeftOffset = Part->FrameLeftOffset;
  FrameRightOffset = Part->FrameRightOffset;
}

bool TbsSkinPanel::BorderlessNineSlice() const {
  return FBorderStyle == TbsSkinBorderStyle::bvNone && SizingMode == 1 && !FCaptionMode;
}

void TbsSkinPanel::PaintTexture(TCanvas* C, TBitmap* Tile, const TRect& StretchArea) {
  if (StretchEffect && StretchType == 0) {
    if (!Tile->Empty()) C->StretchDraw(StretchArea, Tile);
    return;
  }
  TilePiece(C, Tile, Rect(0, 0, GetWidth(), GetHeight()), StretchEffect, StretchType);
}

void TbsSkinPanel::DrawSkinImage(TBitmap* B) {
  if (BorderlessNineSlice() && !StretchEffect && SkinPicture != nullptr) {
    TBitmap Tile;
    Tile.SetSize(GetRectWidth(PartClientRect), GetRectHeight(PartClientRect));
    if (Tile.Empty()) return;
    Tile.GetCanvas()->CopyRect(Rect(0, 0, Tile.GetWidth(), Tile.GetHeight()), SkinPicture->GetCanvas(),
                               MovedBy(PartClientRect, SkinRect.Left, SkinRect.Top));
    TilePiece(B->GetCanvas(), &Tile, Rect(0, 0, B->GetWidth(), B->GetHeight()), false, 0);
    return;
  }
  TbsSkinCustomControl::DrawSkinImage(B);
  FittedCaptionRect = SizingMode <= 0 || FTransparentMode ? CaptionRect : MapPartRect(CaptionRect);
  if (!GetCaption().empty() && !IsEmptyRect(CaptionRect)) DrawSkinCaption(B->GetCanvas());
}

void TbsSkinPanel::SetCaptionFont(TCanvas* C) {
  C->SetFont(GetDefaultFont());
  if (GetUseSkinFont() && PartIndex != -1) {
    C->GetFont()->SetName(FontName);
    C->GetFont()->SetHeight(FontHeight);
    C->GetFont()->SetStyle(FontStyle);
  }
  if (FSD != nullptr && FSD->GetResourceStrData() != nullptr)
    C->GetFont()->SetCharset(FSD->GetResourceStrData()->GetCharSet());
}

Integer TbsSkinPanel::DrawCaptionCheck(TCanvas* C, Integer X, const TRect& R) {
  const TRect& Piece = FChecked ? CheckImageRect : UnCheckImageRect;
  if (IsEmptyRect(Piece)) return 0;
  DrawTransparentPiece(C, SkinPicture, Piece, X, R.Top + GetRectHeight(R) / 2 - GetRectHeight(Piece) / 2);
  return GetRectWidth(Piece);
}

void TbsSkinPanel::DrawSkinCaption(TCanvas* C) {
  TRect R = FittedCaptionRect;
  if (FRollUpMode) R.Right -= 12;
  if (FCheckedMode) R.Left += DrawCaptionCheck(C, R.Left, R) + 2;
  SetCaptionFont(C);
  C->GetFont()->SetColor(FontColor);
  const std::string Caption = GetCaption();
  const Integer TW = C->TextWidth(Caption), TH = C->TextHeight(Caption);
  Integer TY = R.Top + GetRectHeight(R) / 2 - TH / 2;
  if (C->GetFont()->GetHeight() % 2 != 0) --TY;
  const TCaptionImage Image = CaptionImage();
  const Integer ContentW = TW + (Image.Any() ? Image.Width + FSpacing : 0);
  Integer X = R.Left;
  if (CaptionAlignment == taRightJustify)
    X = R.Right - ContentW;
  else if (CaptionAlignment == taCenter)
    X = R.Left + GetRectWidth(R) / 2 - ContentW / 2;
  Integer ImageX = X, TX = X;
  if (Image.Any() && FImagePosition == bsipLeft) {
    ImageX = R.Left + 2;
    if (CaptionAlignment == taRightJustify)
      TX = R.Right - TW;
    else if (CaptionAlignment == taCenter)
      TX = R.Left + GetRectWidth(R) / 2 - TW / 2;
    else
      TX = R.Left + Image.Width + FSpacing + 2;
    TX = IntMax(TX, ImageX + Image.Width + FSpacing);
  } else if (Image.Any()) {
    TX = X + Image.Width + FSpacing;
  }

  if (FRollUpMode) {
    const TRect Zone = Rect(R.Right, R.Top, R.Right + 10, R.Bottom);
    if (!IsEmptyRect(MarkFrameRect) && SkinPicture != nullptr)
      C->CopyRect(Rect(Zone.Left, Zone.Top, Zone.Left + GetRectWidth(MarkFrameRect),
                       Zone.Top + GetRectHeight(MarkFrameRect)),
                  SkinPicture->GetCanvas(), MarkFrameRect);
    DrawSmallArrowGlyph(C, Zone, FontColor, FRollUpState ? 4 : 3);
  }

  if (!IsEmptyRect(FrameRect) && SkinPicture != nullptr) {
    // A picture framing the text, its middle tiled to the text's width.
    const Integer Extra = GetRectWidth(FrameRect) - GetRectWidth(FrameTextRect);
    TBitmap Frame;
    CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &Frame, SkinPicture, FrameRect, TW + Extra,
                     GetRectHeight(FrameRect), false);
    Integer FrameX = TX;
    if (CaptionAlignment == taRightJustify) {
      FrameX = TX - Extra;
      ImageX -= Extra;
      TX = TX - Extra + FrameTextRect.Left;
    } else if (CaptionAlignment == taCenter) {
      FrameX = TX - FrameTextRect.Left - 2;
      ImageX -= FrameTextRect.Left;
      TX -= 2;
    } else {
      TX += FrameTextRect.Left;
    }
    C->Draw(FrameX, R.Top, &Frame);
  }

  C->GetBrush()->SetStyle(bsClear);
  C->TextRect(R, TX, TY, Caption);
  DrawCaptionImage(C, Image, ImageX, R.Top + GetRectHeight(R) / 2 - Image.Height / 2);
}

void TbsSkinPanel::DrawTransparentCaptionFrame(TCanvas* C) {
  const TColor Shadow = FSD->SkinColors->CBtnShadow;
  C->GetPen()->SetColor(Shadow);
  C->GetBrush()->SetStyle(bsClear);
  SetCaptionFont(C);
  const std::string Caption = GetCaption();
  const Integer TH = C->TextHeight(Caption);
  TRect R = Rect(5, 0, GetWidth(), TH + 5);
  FittedCaptionRect = R;
  Integer X = 5;
  if (FCheckedMode) X += DrawCaptionCheck(C, X, R) + 5;
  const TCaptionImage Image = CaptionImage();
  const Integer ImageX = X;
  if (Image.Any()) X += Image.Width + 2;
  R = Rect(X, 0, GetWidth(), TH + 5);
  // The caption in the colour of the skin's standard labels.
  TColor TextColor = FSD->SkinColors->CBtnText;
  const Integer Label = FSD->FindControlPart("stdlabel");
  if (Label != -1)
    if (auto* L = dynamic_cast<TbsDataSkinStdLabelControl*>(
            FSD->SkinControls[static_cast<std::size_t>(Label)].get()))
      TextColor = L->FontColor;
  C->GetFont()->SetColor(TextColor);
  DrawCaptionLeft(C, Caption, R);
  TRect Measured = R;
  DrawTextA(C->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &Measured,
            DT_CALCRECT | DT_SINGLELINE);
  const Integer W = GetRectWidth(Measured);
  DrawCaptionImage(C, Image, ImageX, R.Top + GetRectHeight(R) / 2 - Image.Height / 2);

  const Integer Y = GetRectHeight(R) / 2;
  C->GetPen()->SetColor(Shadow);
  C->MoveTo(0, Y);
  C->LineTo(4, Y);
  Integer LineStart = X + W + 3;
  if (FRollUpMode) {
    DrawSmallArrowGlyph(C, Rect(X + W + 3, R.Top, X + W + 10, R.Bottom), TextColor, FRollUpState ? 4 : 3);
    LineStart = X + W + 12;
  }
  C->GetPen()->SetColor(Shadow);
  C->MoveTo(LineStart, Y);
  C->LineTo(GetWidth() - 1, Y);
  C->LineTo(GetWidth() - 1, GetHeight() - 1);
  C->LineTo(0, GetHeight() - 1);
  C->LineTo(0, Y);
}
