// The skinned list box's frame: the caption strip with its text, glyph and the up, down and
// check buttons (which step the selection and repeat while held), in the plain look and from
// the "listbox" part.
#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/user/Timers.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr UINT_PTR RepeatTimer = 1;

bool Contains(const TRect& R, Integer X, Integer Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

void FramedFill(TCanvas* C, const TRect& R, TColor Frame, TColor Face) {
  C->GetPen()->SetColor(Frame);
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(Face);
  C->Rectangle(R);
}

}  // namespace

// ---- Properties -----------------------------------------------------------------------------

void TbsSkinCustomListBox::SetCaptionMode(bool Value) {
  FCaptionMode = Value;
  if (PartIndex != -1) return;
  PlaceInnerControls();
  Repaint();
}

void TbsSkinCustomListBox::SetDefaultCaptionHeight(Integer Value) {
  FDefaultCaptionHeight = Value;
  if (PartIndex != -1 || !FCaptionMode) return;
  PlaceInnerControls();
  Repaint();
}

void TbsSkinCustomListBox::CaptionFontChanged(TObject*) {
  if (PartIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinCustomListBox::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (FCaptionMode) Repaint();
}

void TbsSkinCustomListBox::SetShowCaptionButtons(bool Value) {
  if (FShowCaptionButtons == Value) return;
  FShowCaptionButtons = Value;
  Repaint();
}

void TbsSkinCustomListBox::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TbsSkinCustomListBox::SetNumGlyphs(Integer Value) {
  FNumGlyphs = std::clamp(Value, 1, 2);
  Repaint();
}

void TbsSkinCustomListBox::SetSpacing(Integer Value) {
  FSpacing = Value;
  Repaint();
}

// ---- Caption buttons ------------------------------------------------------------------------

void TbsSkinCustomListBox::StartRepeatTimer(UINT Interval) {
  if (HandleAllocated()) SetTimer(GetHandle(), RepeatTimer, Interval, nullptr);
}

void TbsSkinCustomListBox::StopRepeatTimer() {
  if (HandleAllocated()) KillTimer(GetHandle(), RepeatTimer);
}

void TbsSkinCustomListBox::TrackCaptionButton(Integer X, Integer Y) {
  if (!FShowCaptionButtons) return;
  if (PartIndex != -1 && IsEmptyRect(UpButtonRect) && IsEmptyRect(DownButtonRect)) return;
  OldActiveButton = ActiveButton;
  ActiveButton = -1;
  for (Integer I = 0; I < 3 && ActiveButton == -1; ++I)
    if (Contains(CaptionButtons[I].R, X, Y)) ActiveButton = I;
  if (CapturedButton != -1 && ActiveButton != CapturedButton) ActiveButton = -1;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) {
    TCaptionButton& Old = CaptionButtons[OldActiveButton];
    Old.MouseIn = false;
    if (RepeatMode != 0 && Old.Down) StopRepeatTimer();
  }
  if (ActiveButton != -1) {
    TCaptionButton& New = CaptionButtons[ActiveButton];
    New.MouseIn = true;
    if (RepeatMode != 0 && New.Down) StartRepeatTimer(50);
  }
  Repaint();
}

void TbsSkinCustomListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  if (CaptionButtonsShown()) TrackCaptionButton(X, Y);
}

void TbsSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CaptionButtonsShown()) {
    TrackCaptionButton(X, Y);
    if (ActiveButton != -1) {
      CapturedButton = ActiveButton;
      TCaptionButton& B = CaptionButtons[ActiveButton];
      B.MouseIn = true;
      B.Down = true;
      Repaint();
      // Without a handler the up and down buttons repeat while held.
      if (ActiveButton == 0 && !OnUpButtonClick) RepeatMode = 1;
      if (ActiveButton == 1 && !OnDownButtonClick) RepeatMode = 2;
      if (RepeatMode != 0) {
        RepeatWaiting = true;
        StartRepeatTimer(500);
      }
    }
  }
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CapturedButton != -1) ReleaseCaptionButton(CapturedButton);
  CapturedButton = -1;
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ReleaseCaptionButton(Integer Index) {
  TCaptionButton& B = CaptionButtons[Index];
  B.Down = false;
  if (ActiveButton != Index) B.MouseIn = false;
  Repaint();
  const TNotifyEvent& Handler = Index == 0   ? OnUpButtonClick
                                : Index == 1 ? OnDownButtonClick
                                             : OnCheckButtonClick;
  if (B.MouseIn && Handler) {
    Handler(this);
    return;
  }
  CaptionButtonAction(Index);
  if (RepeatMode != 0) {
    StopRepeatTimer();
    RepeatMode = 0;
  }
}

void TbsSkinCustomListBox::CaptionButtonAction(Integer Index) {
  const Integer I = GetItemIndex();
  switch (Index) {
    case 0:
      if (I > 0) SetItemIndex(I - 1);
      break;
    case 1:
      // The list stays on its last item.
      if (I < GetItems()->GetCount() - 1) SetItemIndex(I + 1);
      break;
    default:
      ListBox->Click();
      break;
  }
}

void TbsSkinCustomListBox::CaptionTimer() {
  if (RepeatMode == 0) return;
  if (RepeatWaiting) {
    RepeatWaiting = false;
    StartRepeatTimer(100);
    return;
  }
  const Integer I = GetItemIndex();
  if (RepeatMode == 1 && I >= 1) SetItemIndex(I - 1);
  if (RepeatMode == 2 && I < GetItems()->GetCount() - 1) SetItemIndex(I + 1);
}

// ---- Painting -------------------------------------------------------------------------------

// The caption in R: the glyph first, then the text, aligned as a block.
void TbsSkinCustomListBox::DrawCaption(TCanvas* C, const TRect& R, TFont* Font, bool Skinned) {
  C->SetFont(Font);
  C->GetBrush()->SetStyle(bsClear);
  const std::string Text = GetText();
  const Integer CellWidth = FGlyph->Empty() ? 0 : FGlyph->GetWidth() / FNumGlyphs;
  const Integer CaptionWidth = C->TextWidth(Text) + (CellWidth > 0 ? CellWidth + FSpacing : 0);
  const Integer Pad = Skinned ? 2 : 0;
  Integer X = R.Left + Pad;
  if (FAlignment == taRightJustify) X = R.Right - CaptionWidth - Pad;
  if (FAlignment == taCenter) X = R.Left + Pad + R.Width() / 2 - CaptionWidth / 2;
  const Integer TextH = C->TextHeight(Text);
  const Integer Y =
      Skinned ? R.Top + R.Height() / 2 - TextH / 2 : (FDefaultCaptionHeight - 2) / 2 - TextH / 2;
  if (CellWidth > 0) {
    const Integer Cell = !GetEnabled() && FNumGlyphs == 2 ? 2 : 1;
    DrawGlyphCell(C, X, R.Top + R.Height() / 2 - FGlyph->GetHeight() / 2 - (Skinned ? 0 : 1), FGlyph.get(),
                  FNumGlyphs, Cell);
    X += CellWidth + FSpacing;
  }
  C->TextRect(R, X, Y, Text);
}

void TbsSkinCustomListBox::DrawDefaultCaptionButton(TCanvas* C, Integer Index) {
  const TCaptionButton& B = CaptionButtons[Index];
  if (IsEmptyRect(B.R)) return;
  if (B.Down && B.MouseIn) {
    FramedFill(C, B.R, clNavy, bsDownFaceColor);
  } else if (B.MouseIn) {
    FramedFill(C, B.R, clNavy, bsHotFaceColor);
  } else {
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(B.R);
  }
  if (Index == 2)
    DrawCheckMark(C, B.R.Left + 4, B.R.Top + 4, clBlack);
  else
    DrawSmallArrowGlyph(C, B.R, clBlack, Index == 0 ? 3 : 4);
}

void TbsSkinCustomListBox::DrawDefaultImage(TBitmap* B) {
  TbsSkinCustomControl::DrawDefaultImage(B);
  TCanvas* C = B->GetCanvas();
  const Integer W = GetWidth();
  const bool Buttons = CaptionButtonsShown();
  const Integer S = std::min(FDefaultCaptionHeight - 3, 17);
  if (Buttons) {
    CaptionButtons[0].R = Rect(W - S - 2, 2, W - 2, S + 1);
    CaptionButtons[1].R = Rect(W - 2 * S - 2, 2, W - S - 2, S + 1);
    CaptionButtons[2].R = Rect(W - 3 * S - 2, 2, W - 2 * S - 2, S + 1);
  } else {
    for (TCaptionButton& Button : CaptionButtons) Button.R = TRect{};
  }
  TRect R = GetClientRect();
  DrawFrame3D(C, R, clBtnShadow, clBtnShadow);
  if (!FCaptionMode) return;
  CaptionTextRect = Rect(3, 2, Buttons ? W - 3 * S - 3 : W - 2, FDefaultCaptionHeight - 2);
  DrawCaption(C, CaptionTextRect, FDefaultCaptionFont.get(), false);
  C->GetPen()->SetColor(clBtnShadow);
  C->MoveTo(1, FDefaultCaptionHeight - 1);
  C->LineTo(W - 1, FDefaultCaptionHeight - 1);
  if (Buttons)
    for (Integer I = 0; I < 3; ++I) DrawDefaultCaptionButton(C, I);
}

void TbsSkinCustomListBox::DrawSkinCaptionButton(TCanvas* C, Integer Index) {
  const TCaptionButton& B = CaptionButtons[Index];
  if (IsEmptyRect(B.R) || SkinPicture == nullptr) return;
  const TRect Normal[3] = {UpButtonRect, DownButtonRect, CheckButtonRect};
  const TRect Hot[3] = {ActiveUpButtonRect, ActiveDownButtonRect, ActiveCheckButtonRect};
  const TRect Pressed[3] = {DownUpButtonRect, DownDownButtonRect, DownCheckButtonRect};
  TRect Piece = B.Down && B.MouseIn ? Pressed[Index] : B.MouseIn ? Hot[Index] : TRect{};
  // The normal picture lies in the part's own rectangle.
  if (IsEmptyRect(Piece))
    Piece = Bounds(SkinRect.Left + Normal[Index].Left, SkinRect.Top + Normal[Index].Top,
                   Normal[Index].Width(), Normal[Index].Height());
  C->CopyRect(B.R, SkinPicture->GetCanvas(), Piece);
}

void TbsSkinCustomListBox::DrawSkinImage(TBitmap* B) {
  TbsSkinCustomControl::DrawSkinImage(B);
  TCanvas* C = B->GetCanvas();
  const Integer DW = GetWidth() - SkinRect.Width(), DH = GetHeight() - SkinRect.Height();
  if (!FShowCaptionButtons && !IsEmptyRect(UpButtonRect) && !IsEmptyRect(DisabledButtonsRect) &&
      SkinPicture != nullptr)
    C->CopyRect(Bounds(ButtonsArea.Left + DW, ButtonsArea.Top, DisabledButtonsRect.Width(),
                       DisabledButtonsRect.Height()),
                SkinPicture->GetCanvas(), DisabledButtonsRect);
  ListArea = PartClientRect;
  ListArea.Right += DW;
  ListArea.Bottom += DH;
  if (!FCaptionMode) return;
  auto MoveButtonRect = [&](const TRect& R) {
    if (IsEmptyRect(R)) return TRect{};
    Integer Dx = 0, Dy = 0;
    if (R.Top > LeftTopPoint.Y) {
      Dy = DH;
      if (R.Left > RightBottomPoint.X) Dx = DW;
    } else if (R.Left > RightTopPoint.X) {
      Dx = DW;
    }
    return Bounds(R.Left + Dx, R.Top + Dy, R.Width(), R.Height());
  };
  CaptionTextRect = CaptionRect;
  if (FShowCaptionButtons) {
    if (CaptionRect.Right >= RightTopPoint.X) CaptionTextRect.Right += DW;
    CaptionButtons[0].R = MoveButtonRect(UpButtonRect);
    CaptionButtons[1].R = MoveButtonRect(DownButtonRect);
    CaptionButtons[2].R = MoveButtonRect(CheckButtonRect);
  } else {
    CaptionTextRect.Right = GetWidth() - CaptionRect.Left;
    for (TCaptionButton& Button : CaptionButtons) Button.R = TRect{};
  }
  if (!IsEmptyRect(CaptionRect)) {
    TFont F;
    F.SetName(CaptionFontName);
    F.SetStyle(CaptionFontStyle);
    F.SetHeight(CaptionFontHeight);
    F.SetColor(CaptionFontColor);
    DrawCaption(C, CaptionTextRect, &F, true);
  }
  if (FShowCaptionButtons)
    for (Integer I = 0; I < 3; ++I) DrawSkinCaptionButton(C, I);
}
