// The combo box's looks: the plain frame and button, the skin part with its state pictures
// and drop button, the chosen item in the text area (fixed-height and stretched item
// pictures), and the tool-button look of both kinds.
#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/data/bsUtils.h"

namespace {

void FramedFill(TCanvas* C, const TRect& R, TColor Frame, TColor Face) {
  C->GetPen()->SetColor(Frame);
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(Face);
  C->Rectangle(R);
}

template <class TRecord>
TRecord* PartNamed(TbsSkinData* SD, const std::string& Name) {
  if (SD == nullptr || SD->Empty) return nullptr;
  const Integer I = SD->FindControlPart(Name);
  if (I < 0) return nullptr;
  return dynamic_cast<TRecord*>(SD->SkinControls[static_cast<std::size_t>(I)].get());
}

// A button part drawn at B's size, anchors and client moved by the size difference.
void DrawButtonPart(TbsSkinData* SD, TbsDataSkinButtonControl* P, TBitmap* B, const TRect& Source) {
  TBitmap* Picture = SkinPictureAt(SD, P->PictureIndex);
  if (Picture == nullptr) return;
  const Integer W = B->GetWidth(), H = B->GetHeight();
  const Integer DX = W - P->SkinRect.Width(), DY = H - P->SkinRect.Height();
  TRect NC = P->ClientRect;
  NC.Right += DX;
  NC.Bottom += DY;
  CreateSkinImage(P->LeftTopPoint, P->RightTopPoint, P->LeftBottomPoint, P->RightBottomPoint, P->ClientRect,
                  P->LeftTopPoint, Point(P->RightTopPoint.X + DX, P->RightTopPoint.Y),
                  Point(P->LeftBottomPoint.X, P->LeftBottomPoint.Y + DY),
                  Point(P->RightBottomPoint.X + DX, P->RightBottomPoint.Y + DY), NC, B, Picture, Source, W, H,
                  true, P->LeftStretch, P->TopStretch, P->RightStretch, P->BottomStretch, P->StretchEffect,
                  P->StretchType);
}

// Piece of Picture made transparent by Key, drawn centred in Area.
void DrawMarker(TCanvas* C, TBitmap* Picture, const TRect& Piece, TColor Key, const TRect& Area, Integer Dy) {
  if (Picture == nullptr || IsEmptyRect(Piece)) return;
  TBitmap M;
  M.SetSize(Piece.Width(), Piece.Height());
  M.GetCanvas()->CopyRect(Rect(0, 0, Piece.Width(), Piece.Height()), Picture->GetCanvas(), Piece);
  M.SetTransparentColor(Key);
  M.SetTransparentMode(tmFixed);
  M.SetTransparent(true);
  C->Draw(Area.Left + Area.Width() / 2 - Piece.Width() / 2,
          Area.Top + Area.Height() / 2 - Piece.Height() / 2 + Dy, &M);
}

}  // namespace

TColor TbsSkinCustomComboBox::DisabledTextColor() {
  if (PartIndex != -1)
    if (auto* Edit = PartNamed<TbsDataSkinEditControl>(GetSkinData(), "edit")) return Edit->DisabledFontColor;
  return clGrayText;
}

Integer TbsSkinCustomComboBox::ShownIndex() const {
  const Integer I = DroppedDown ? SavedIndex : FListBox->GetItemIndex();
  return I >= 0 && I < FListBox->GetItems()->GetCount() ? I : -1;
}

void TbsSkinCustomComboBox::DrawItemContent(TCanvas* C, Integer Index, TRect T) {
  if (TCustomImageList* Images = FListBox->GetImages()) {
    const Integer Image = FListBox->GetImageIndex() >= 0 ? FListBox->GetImageIndex() : Index;
    if (Image < Images->GetCount())
      Images->Draw(C, T.Left, T.Top + T.Height() / 2 - Images->GetHeight() / 2, Image, true);
    T.Left += Images->GetWidth() + 2;
  }
  const std::string Text = FListBox->GetItems()->GetStrings(Index);
  if (FListBox->GetTabWidths()->GetCount() > 0)
    FListBox->DrawTabbedText(C, Text, T, 0);
  else
    DrawTextRectVCenter(C, Text, T);
}

// ---- Default look ---------------------------------------------------------------------------

void TbsSkinCustomComboBox::DrawShownItem(TCanvas* Target) {
  const Integer W = TextArea.Width(), H = TextArea.Height();
  if (W <= 0 || H <= 0) return;
  const Integer Shown = ShownIndex();
  const bool Focus = HandleAllocated() && Focused();
  DrawState = Focus ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  C->SetFont(GetFont());
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(Focus ? clHighlight : FDefaultColor);
  C->GetFont()->SetColor(Focus ? clHighlightText : GetDefaultFont()->GetColor());
  C->FillRect(Rect(0, 0, W, H));
  const TRect T = Rect(2, 0, W - 2, H);
  if (Shown >= 0) {
    if (OnComboBoxDrawItem) {
      OnComboBoxDrawItem(this, C, Shown, TSize{W, H}, T, DrawState);
    } else {
      C->GetBrush()->SetStyle(bsClear);
      DrawItemContent(C, Shown, T);
    }
  }
  if (Focus) DrawDottedFocusRect(C, Rect(0, 0, W, H));
  Target->Draw(TextArea.Left, TextArea.Top, &B);
}

void TbsSkinCustomComboBox::DrawToolButtonLook(TCanvas* C) {
  const TRect R = GetClientRect();
  const bool Focus = HandleAllocated() && Focused();
  if (DroppedDown)
    FramedFill(C, R, clNavy, bsDownFaceColor);
  else if (MouseInside || Focus)
    FramedFill(C, R, clNavy, bsHotFaceColor);
  else
    FramedFill(C, R, clBtnShadow, clBtnFace);
  const Integer D = DroppedDown ? 2 : 0;
  const TRect T = Rect(2 + D, 2 + D, GetWidth() - 17, GetHeight() - 2);
  C->SetFont(GetDefaultFont());
  C->GetBrush()->SetStyle(bsClear);
  const Integer Shown = ShownIndex();
  if (Shown >= 0) {
    if (OnComboBoxDrawItem)
      OnComboBoxDrawItem(this, C, Shown, TSize{GetWidth(), GetHeight()}, T, DrawState);
    else
      DrawItemContent(C, Shown, T);
  }
  DrawComboArrow(C, Rect(GetWidth() - 15 + D, D, GetWidth() + D, GetHeight() + D), C->GetFont()->GetColor());
}

void TbsSkinCustomComboBox::DrawDefaultImage(TBitmap* B) {
  PlaceParts();
  TCanvas* C = B->GetCanvas();
  if (FToolButtonStyle) {
    DrawToolButtonLook(C);
    return;
  }
  TRect R = GetClientRect();
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(R);
  DrawFrame3D(C, R, clBtnShadow, clBtnShadow);
  C->GetBrush()->SetColor(FDefaultColor);
  C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
  if (ButtonPressed && ButtonHot)
    FramedFill(C, ButtonArea, clNavy, bsDownFaceColor);
  else if (ButtonHot)
    FramedFill(C, ButtonArea, clNavy, bsHotFaceColor);
  else
    FramedFill(C, ButtonArea, clBtnShadow, clBtnFace);
  DrawSmallArrowGlyph(C, ButtonArea, GetEnabled() ? clBlack : clBtnShadow, 4);
  if (FEdit == nullptr) DrawShownItem(C);
}

// ---- Skin look ------------------------------------------------------------------------------

void TbsSkinCustomComboBox::DrawSkinImage(TBitmap* B) {
  PlaceParts();
  TCanvas* C = B->GetCanvas();
  if (FToolButtonStyle) {
    DrawSkinToolButtonLook(B);
    return;
  }
  const bool Focus = HandleAllocated() && Focused();
  const bool EditFocus = FEdit != nullptr && FEdit->HandleAllocated() && FEdit->Focused();
  const bool Active = !IsEmptyRect(ActiveSkinRect) && (MouseInside || EditFocus || Focus);
  const Integer W = GetWidth(), H = GetHeight();
  if (SkinPicture == nullptr) {
    DrawDefaultImage(B);
    return;
  }
  if (!FUseSkinSize) {
    B->SetSize(W, H);
    CreateStretchSkinImage(B, SkinPicture, Active ? ActiveSkinRect : SkinRect, PartClientRect, true);
  } else if (Active) {
    CreateHSkinImage(LeftTopPoint.X, ActiveSkinRect.Width() - RightTopPoint.X, B, SkinPicture, ActiveSkinRect,
                     W, H, StretchEffect);
  } else {
    TbsSkinCustomControl::DrawSkinImage(B);
  }
  if (FUseSkinSize) {
    const TRect& Piece = !GetEnabled() && !IsEmptyRect(UnEnabledButtonRect) ? UnEnabledButtonRect
                         : ButtonPressed && ButtonHot                       ? DownButtonRect
                         : ButtonHot                                        ? ActiveButtonRect
                                                                            : TRect{};
    if (!IsEmptyRect(Piece)) C->CopyRect(ButtonArea, SkinPicture->GetCanvas(), Piece);
  } else {
    DrawButtonPartLook(C);
  }
  if (FEdit == nullptr) DrawSkinItem(C);
}

void TbsSkinCustomComboBox::DrawButtonPartLook(TCanvas* C) {
  TbsSkinData* SD = GetSkinData();
  TbsDataSkinButtonControl* P = nullptr;
  for (const char* Name : {"combobutton", "editbutton", "resizebutton"})
    if ((P = PartNamed<TbsDataSkinButtonControl>(SD, Name)) != nullptr) break;
  if (P == nullptr || ButtonArea.Width() <= 0 || ButtonArea.Height() <= 0) return;
  const bool Down = ButtonPressed && ButtonHot;
  const TRect ActiveRect = IsEmptyRect(P->ActiveSkinRect) ? P->SkinRect : P->ActiveSkinRect;
  const TRect DownRect = IsEmptyRect(P->DownSkinRect) ? ActiveRect : P->DownSkinRect;
  TBitmap B;
  B.SetSize(ButtonArea.Width(), ButtonArea.Height());
  DrawButtonPart(SD, P, &B, Down ? DownRect : ButtonHot ? ActiveRect : P->SkinRect);
  const Integer W = B.GetWidth(), H = B.GetHeight();
  if (IsEmptyRect(P->MenuMarkerRect)) {
    if (GetEnabled())
      DrawSmallArrowGlyph(B.GetCanvas(), Down ? Rect(0, 2, W, H) : Rect(0, 0, W, H),
                          Down        ? P->DownFontColor
                          : ButtonHot ? P->ActiveFontColor
                                      : P->FontColor,
                          4);
  } else {
    const TRect& Marker = Down && !IsEmptyRect(P->MenuMarkerDownRect)          ? P->MenuMarkerDownRect
                          : ButtonHot && !IsEmptyRect(P->MenuMarkerActiveRect) ? P->MenuMarkerActiveRect
                                                                               : P->MenuMarkerRect;
    DrawMarker(B.GetCanvas(), SkinPicture, Marker, P->MenuMarkerTransparentColor, Rect(0, 0, W, H),
               Down ? 1 : 0);
  }
  C->Draw(ButtonArea.Left, ButtonArea.Top, &B);
}

void TbsSkinCustomComboBox::DrawSkinItem(TCanvas* Target) {
  const Integer W = TextArea.Width();
  if (W <= 0) return;
  const bool Focus = HandleAllocated() && Focused();
  const bool Hot = MouseInside && !IsEmptyRect(ActiveItemRect) && !IsEmptyRect(ActiveSkinRect);
  DrawState = Focus ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
  const Integer DW = ItemRect.Width() > 0 ? ItemRect.Width() : PartClientRect.Width();
  TBitmap B;
  TRect T = ItemTextRect;
  T.Right += W - DW;
  // What is painted under the text area already, for a state without a picture.
  auto CopyUnder = [&](Integer H) {
    B.SetSize(W, H);
    B.GetCanvas()->CopyRect(Rect(0, 0, W, H), Target, Bounds(TextArea.Left, TextArea.Top, W, H));
  };
  if (FUseSkinSize) {
    const Integer H = ItemRect.Height() > 0 ? ItemRect.Height() : FocusItemRect.Height();
    if (H <= 0) return;
    if (Focus && !IsEmptyRect(FocusItemRect))
      CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, SkinPicture, FocusItemRect, W, H,
                       FocusItemStretchEffect);
    else if (!Focus && Hot)
      CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, SkinPicture, ActiveItemRect, W, H,
                       ItemStretchEffect);
    else if (!Focus && !IsEmptyRect(ItemRect))
      CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &B, SkinPicture, ItemRect, W, H, ItemStretchEffect);
    else
      CopyUnder(H);
  } else {
    const Integer H = TextArea.Height();
    if (H <= 0) return;
    // The stretched centre keeps the text rectangle; narrower state pictures pull its right edge in.
    auto Centre = [&](const TRect& Piece) {
      return Rect(ItemTextRect.Left + 1, ItemTextRect.Top + 1,
                  ItemTextRect.Right - 1 - (ItemRect.Width() - Piece.Width()), ItemTextRect.Bottom - 1);
    };
    B.SetSize(W, H);
    if (Focus && !IsEmptyRect(FocusItemRect))
      CreateStretchSkinImage(&B, SkinPicture, FocusItemRect, Centre(FocusItemRect), true);
    else if (!Focus && Hot)
      CreateStretchSkinImage(&B, SkinPicture, ActiveItemRect, Centre(ActiveItemRect), true);
    else if (!Focus && !IsEmptyRect(ItemRect))
      CreateStretchSkinImage(&B, SkinPicture, ItemRect, ItemTextRect, true);
    else
      CopyUnder(H);
    T.Bottom += GetHeight() - SkinRect.Height();
  }
  TCanvas* C = B.GetCanvas();
  if (GetUseSkinFont()) {
    C->GetFont()->SetName(FontName);
    C->GetFont()->SetStyle(FontStyle);
    C->GetFont()->SetHeight(FontHeight);
  } else {
    C->GetFont()->Assign(GetDefaultFont());
  }
  C->GetFont()->SetColor(Focus                                         ? FocusFontColor
                         : !MouseInside || IsEmptyRect(ActiveSkinRect) ? FontColor
                                                                       : ActiveFontColor);
  if (FUseSkinSize && !GetEnabled()) C->GetFont()->SetColor(DisabledTextColor());
  C->GetBrush()->SetStyle(bsClear);
  const Integer Shown = ShownIndex();
  if (Shown >= 0) {
    if (OnComboBoxDrawItem) {
      OnComboBoxDrawItem(this, C, Shown, TSize{B.GetWidth(), B.GetHeight()}, T, DrawState);
    } else {
      if (Focus && ShowFocus) DrawDottedFocusRect(C, Rect(0, 0, B.GetWidth(), B.GetHeight()));
      DrawItemContent(C, Shown, T);
    }
  }
  Target->Draw(TextArea.Left, TextArea.Top, &B);
}

void TbsSkinCustomComboBox::DrawSkinToolButtonLook(TBitmap* B) {
  TbsSkinData* SD = GetSkinData();
  TbsDataSkinButtonControl* P = PartNamed<TbsDataSkinButtonControl>(SD, "resizetoolbutton");
  if (P == nullptr) P = PartNamed<TbsDataSkinButtonControl>(SD, "resizebutton");
  if (P == nullptr) return;
  const bool Focus = HandleAllocated() && Focused();
  const bool Hot = MouseInside || Focus;
  const TRect& Piece = DroppedDown ? P->DownSkinRect : Hot ? P->ActiveSkinRect : P->SkinRect;
  B->SetSize(GetWidth(), GetHeight());
  DrawButtonPart(SD, P, B, IsEmptyRect(Piece) ? P->SkinRect : Piece);
  TCanvas* C = B->GetCanvas();
  const TRect T = Rect(2, 2, GetWidth() - 17, GetHeight() - 2);
  if (GetUseSkinFont()) {
    C->GetFont()->SetName(P->FontName);
    C->GetFont()->SetStyle(P->FontStyle);
    C->GetFont()->SetHeight(P->FontHeight);
  } else {
    C->GetFont()->Assign(GetDefaultFont());
  }
  C->GetFont()->SetColor(DroppedDown    ? P->DownFontColor
                         : Hot          ? P->ActiveFontColor
                         : GetEnabled() ? P->FontColor
                                        : P->DisabledFontColor);
  C->GetBrush()->SetStyle(bsClear);
  const Integer Shown = ShownIndex();
  if (Shown >= 0) {
    if (OnComboBoxDrawItem)
      OnComboBoxDrawItem(this, C, Shown, TSize{GetWidth(), GetHeight()}, T, DrawState);
    else
      DrawItemContent(C, Shown, T);
  }
  const TRect Arrow = Rect(GetWidth() - 15, 0, GetWidth(), GetHeight());
  if (IsEmptyRect(P->MenuMarkerRect)) {
    DrawComboArrow(C, Arrow, DroppedDown ? P->DownFontColor : C->GetFont()->GetColor());
    return;
  }
  TRect Marker = P->MenuMarkerRect;
  if (DroppedDown && !IsEmptyRect(P->MenuMarkerDownRect))
    Marker = P->MenuMarkerDownRect;
  else if (DroppedDown && !IsEmptyRect(P->MenuMarkerActiveRect))
    Marker = P->MenuMarkerActiveRect;
  else if (MouseInside && !IsEmptyRect(P->MenuMarkerActiveRect))
    Marker = P->MenuMarkerActiveRect;
  DrawMarker(C, SkinPicture, Marker, P->MenuMarkerTransparentColor, Arrow, 0);
}
