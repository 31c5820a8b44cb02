// TbsSkinPanel and TbsSkinGroupBox: the skinned containers.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsUtils.h"

TbsSkinPanel::TbsSkinPanel(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                csDoubleClicks, csReplicatable});
  PaintFrameStrips = true;
  SetWidth(150);
  SetHeight(150);
  NewClientRect = TRect{};
  SetSkinDataName("panel");
}

TbsSkinPanel::~TbsSkinPanel() = default;

void TbsSkinPanel::CreateParams(TCreateParams& Params) {
  TbsSkinCustomControl::CreateParams(Params);
  // Growing the panel repaints only what was uncovered.
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---- Geometry -------------------------------------------------------------------------------

void TbsSkinPanel::AdjustClientRect(TRect& Rect) {
  TbsSkinCustomControl::AdjustClientRect(Rect);
  if (PartIndex == -1 || Designing()) {
    if (FBorderStyle != TbsSkinBorderStyle::bvNone)
      Rect = ::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
    if (FCaptionMode) {
      if (FRibbonStyle)
        Rect.Bottom -= FDefaultCaptionHeight;
      else
        Rect.Top += FDefaultCaptionHeight;
    }
    return;
  }
  if (BGPictureIndex != -1 || BorderlessNineSlice()) return;
  Rect = NewClientRect;
}

TRect TbsSkinPanel::GetAdjustedClientRect() {
  TRect R = Rect(0, 0, GetWidth(), GetHeight());
  AdjustClientRect(R);
  return R;
}

TRect TbsSkinPanel::DefaultCaptionRect() const {
  const Integer W = GetWidth(), H = GetHeight(), CH = FDefaultCaptionHeight;
  if (FBorderStyle == TbsSkinBorderStyle::bvNone)
    return FRibbonStyle ? Rect(0, H - CH, W, H) : Rect(0, 0, W, CH);
  return FRibbonStyle ? Rect(1, H - CH - 1, W - 1, H - 1) : Rect(1, 1, W - 1, CH);
}

void TbsSkinPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (PartIndex == -1) Repaint();
}

bool TbsSkinPanel::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  if (FRollUpMode && RollingUp && GetAutoSize()) return false;
  return TbsSkinCustomControl::CanAutoSize(NewWidth, NewHeight);
}

// ---- Properties -----------------------------------------------------------------------------

void TbsSkinPanel::SetCaptionMode(bool Value) {
  FCaptionMode = Value;
  Repaint();
  Realign();
}

void TbsSkinPanel::SetDefaultCaptionHeight(Integer Value) {
  FDefaultCaptionHeight = Value;
  if (PartIndex == -1 && FCaptionMode) {
    Repaint();
    Realign();
  }
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment Value) {
  FDefaultAlignment = Value;
  if (PartIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle Value) {
  FBorderStyle = Value;
  if (PartIndex == -1) {
    Repaint();
    Realign();
  }
}

void TbsSkinPanel::SetRibbonStyle(bool Value) {
  if (FRibbonStyle == Value) return;
  FRibbonStyle = Value;
  Repaint();
}

void TbsSkinPanel::SetTransparentMode(bool Value) {
  if (FTransparentMode == Value) return;
  FTransparentMode = Value;
  Repaint();
  const TComponentState S = GetComponentState();
  if (!S.Contains(csDesigning) && !S.Contains(csLoading)) NotifyChildrenBackground();
}

void TbsSkinPanel::SetImagePosition(TbsImagePosition Value) {
  if (FImagePosition == Value) return;
  FImagePosition = Value;
  Repaint();
}

void TbsSkinPanel::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TbsSkinPanel::SetNumGlyphs(Integer Value) {
  FNumGlyphs = Value;
  Repaint();
}

void TbsSkinPanel::SetCaptionImageList(TCustomImageList* Value) {
  FCaptionImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  Repaint();
}

void TbsSkinPanel::SetCaptionImageIndex(Integer Value) {
  if (FCaptionImageIndex == Value) return;
  FCaptionImageIndex = Value;
  Repaint();
}

void TbsSkinPanel::SetSpacing(Integer Value) {
  FSpacing = Value;
  Repaint();
}

void TbsSkinPanel::SetCheckedMode(bool Value) {
  FCheckedMode = Value;
  Repaint();
}

void TbsSkinPanel::SetChecked(bool Value) {
  FChecked = Value;
  if (FCheckedMode) {
    Repaint();
    if (FAutoEnabledControls)
      for (Integer I = 0; I < GetControlCount(); ++I) GetControl(I)->SetEnabled(Value);
  }
  if (OnChecked) OnChecked(this);
}

void TbsSkinPanel::SetRollUpMode(bool Value) {
  FRollUpMode = Value;
  if (PartIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetRollUpState(bool Value) {
  if (FRollUpState == Value) return;
  TSizeConstraints* C = GetConstraints();
  if (!FRollUpMode) {
    C->SetMaxWidth(SavedConstraints[0]);
    C->SetMinWidth(SavedConstraints[1]);
    C->SetMaxHeight(SavedConstraints[2]);
    C->SetMinHeight(SavedConstraints[3]);
    FRollUpState = false;
    return;
  }
  SavedConstraints[0] = C->GetMaxWidth();
  SavedConstraints[1] = C->GetMinWidth();
  SavedConstraints[2] = C->GetMaxHeight();
  SavedConstraints[3] = C->GetMinHeight();
  C->SetMaxWidth(0);
  C->SetMinWidth(0);
  C->SetMaxHeight(0);
  C->SetMinHeight(0);
  FRollUpState = Value;
  ApplyRollUp(Value);
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinPanel::ApplyRollUp(bool Up) {
  RollingUp = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } Done{RollingUp};
  if (Up && FRealHeight == -1) {
    FRealHeight = GetHeight();
    DisableAlign();
    for (Integer I = 0; I < GetControlCount(); ++I) GetControl(I)->SetVisible(false);
    SetHeight(PartIndex == -1 ? FDefaultCaptionHeight + 1 : GetHeight() - GetRectHeight(NewClientRect));
  } else if (!Up && FRealHeight != -1) {
    SetHeight(FRealHeight);
    FRealHeight = -1;
    for (Integer I = 0; I < GetControlCount(); ++I) GetControl(I)->SetVisible(true);
    EnableAlign();
  }
}

void TbsSkinPanel::ApplySkinChange() {
  TbsSkinCustomControl::ApplySkinChange();
  if (!FRollUpState) {
    Realign();
    return;
  }
  // A rolled-up panel takes the caption height of the new skin.
  const Integer Kept = FRealHeight;
  FRealHeight = -1;
  ApplyRollUp(true);
  FRealHeight = Kept;
}

void TbsSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if ((FRollUpMode || FCheckedMode) && FCaptionMode && Button == mbLeft) {
    TRect R = FittedCaptionRect;
    if (PartIndex == -1)
      R = FRibbonStyle ? Rect(1, GetHeight() - FDefaultCaptionHeight - 1, GetWidth() - 1, GetHeight() - 1)
                       : Rect(1, 1, GetWidth() - 1, FDefaultCaptionHeight);
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) {
      if (FCheckedMode) SetChecked(!FChecked);
      if (FRollUpMode) SetRollUpState(!FRollUpState);
    }
  }
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

void TbsSkinPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOVE:
      TbsSkinCustomControl::Dispatch(Message);
      if (FTransparentMode) {
        Repaint();
        NotifyChildrenBackground();
      }
      break;
    case WM_CHECKPARENTBG:
      // A panel passes the news on instead of handling it as a plain control.
      if (FTransparentMode) {
        Repaint();
        NotifyChildrenBackground();
      }
      break;
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      if (FCaptionMode) Repaint();
      break;
    case CM_ENABLEDCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      Repaint();
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

// ---- Painting -------------------------------------------------------------------------------

void TbsSkinPanel::Paint() {
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  LoadSkinPart();
  if (FTransparentMode && PartIndex != -1) {
    PaintTransparent();
    return;
  }
  if (PartIndex == -1 || (!PaintFrameStrips && StretchEffect)) {
    TbsSkinCustomControl::Paint();
    return;
  }
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  if (BorderlessNineSlice() && PaintFrameStrips && SkinPicture != nullptr) {
    TBitmap Tile;
    Tile.SetSize(GetRectWidth(PartClientRect), GetRectHeight(PartClientRect));
    if (!Tile.Empty())
      Tile.GetCanvas()->CopyRect(
          Rect(0, 0, Tile.GetWidth(), Tile.GetHeight()), SkinPicture->GetCanvas(),
          Rect(SkinRect.Left + PartClientRect.Left, SkinRect.Top + PartClientRect.Top,
               SkinRect.Left + PartClientRect.Right, SkinRect.Top + PartClientRect.Bottom));
    PaintTexture(GetCanvas(), &Tile, Rect(0, 0, GetWidth(), GetHeight()));
    return;
  }
  TBitmap* Background = SkinPictureAt(FSD, BGPictureIndex);
  if (BGPictureIndex == -1 || Background == nullptr) {
    TbsSkinCustomControl::Paint();
    return;
  }
  PaintTexture(GetCanvas(), Background, NewClientRect);
}

void TbsSkinPanel::PaintTransparent() {
  TBitmap B;
  B.SetSize(GetWidth(), GetHeight());
  TCanvas* C = B.GetCanvas();
  DrawParentBackground(this, C);
  if (FCaptionMode) {
    DrawTransparentCaptionFrame(C);
  } else if (FBorderStyle != TbsSkinBorderStyle::bvNone) {
    C->GetPen()->SetColor(FSD->SkinColors->CBtnShadow);
    C->GetBrush()->SetStyle(bsClear);
    C->Rectangle(0, 0, GetWidth(), GetHeight());
  }
  PaintClient(C);
  GetCanvas()->Draw(0, 0, &B);
}

void TbsSkinPanel::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  const TRect All = Rect(0, 0, GetWidth(), GetHeight());
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(All);
  TRect R = All;
  switch (FBorderStyle) {
    case TbsSkinBorderStyle::bvFrame:
      DrawFrame3D(C, R, clBtnShadow, clBtnShadow);
      break;
    case TbsSkinBorderStyle::bvRaised:
      DrawFrame3D(C, R, clBtnHighlight, clBtnShadow);
      break;
    case TbsSkinBorderStyle::bvLowered:
      DrawFrame3D(C, R, clBtnShadow, clBtnHighlight);
      break;
    case TbsSkinBorderStyle::bvNone:
      break;
  }
  if (FCaptionMode) DrawDefaultCaption(C);
}

void TbsSkinPanel::DrawDefaultCaption(TCanvas* C) {
  TRect R = DefaultCaptionRect();
  if (FBorderStyle == TbsSkinBorderStyle::bvNone) {
    DrawFrame3D(C, R, clBtnShadow, clBtnShadow);
    DrawFrame3D(C, R, clBtnHighlight, clBtnFace);
  } else {
    DrawFrame3D(C, R, clBtnShadow, clBtnHighlight);
    DrawFrame3D(C, R, clBtnHighlight, clBtnShadow);
  }
  TRect TR = R;
  if (FCheckedMode) TR.Left += 20;
  if (FRollUpMode) TR.Right -= 10;

  C->SetFont(GetDefaultFont());
  if (FSD != nullptr && FSD->GetResourceStrData() != nullptr)
    C->GetFont()->SetCharset(FSD->GetResourceStrData()->GetCharSet());
  const std::string Caption = GetCaption();
  const TCaptionImage Image = CaptionImage();
  const Integer TW = C->TextWidth(Caption), TH = C->TextHeight(Caption);
  const Integer ContentW = TW + (Image.Any() ? Image.Width + FSpacing : 0);
  Integer X = TR.Left + 2;
  if (FDefaultAlignment == taRightJustify)
    X = TR.Right - ContentW;
  else if (FDefaultAlignment == taCenter)
    X = TR.Left + 2 + GetRectWidth(TR) / 2 - ContentW / 2;
  const Integer Y = TR.Top + GetRectHeight(TR) / 2 - TH / 2;

  if (FCheckedMode) {
    const Integer BoxTop = R.Top + GetRectHeight(R) / 2 - 7;
    const TRect Box = Rect(5, BoxTop, 19, BoxTop + 14);
    C->GetBrush()->SetStyle(bsClear);
    C->GetPen()->SetColor(clBtnShadow);
    C->Rectangle(Box);
    if (FChecked) DrawCheckMark(C, Box.Left + 3, Box.Top + 2, clBtnText);
  }
  const Integer ImageX = X;
  if (Image.Any()) X += Image.Width + FSpacing;
  C->GetBrush()->SetStyle(bsClear);
  C->TextRect(TR, X, Y, Caption);
  DrawCaptionImage(C, Image, ImageX, TR.Top + GetRectHeight(TR) / 2 - Image.Height / 2);
  if (FRollUpMode)
    DrawSmallArrowGlyph(C, Rect(TR.Right, TR.Top, TR.Right + 10, TR.Bottom), clBtnText, FRollUpState ? 4 : 3);
}

TbsSkinPanel::TCaptionImage TbsSkinPanel::CaptionImage() const {
  TCaptionImage I;
  if (FGlyph->Empty() && FCaptionImageList != nullptr && FCaptionImageIndex >= 0 &&
      FCaptionImageIndex < FCaptionImageList->GetCount()) {
    I.FromList = true;
    I.Width = FCaptionImageList->GetWidth();
    I.Height = FCaptionImageList->GetHeight();
  } else if (!FGlyph->Empty()) {
    I.FromGlyph = true;
    I.Width = FGlyph->GetWidth() / IntMax(FNumGlyphs, 1);
    I.Height = FGlyph->GetHeight();
  }
  return I;
}

void TbsSkinPanel::DrawCaptionImage(TCanvas* C, const TCaptionImage& I, Integer X, Integer Y) {
  if (I.FromList)
    FCaptionImageList->Draw(C, X, Y, FCaptionImageIndex, GetEnabled());
  else if (I.FromGlyph)
    DrawGlyphCell(C, X, Y, FGlyph.get(), FNumGlyphs, !GetEnabled() && FNumGlyphs == 2 ? 2 : 1);
}

// ---- TbsSkinPaintPanel ----------------------------------------------------------------------

TbsSkinPaintPanel::TbsSkinPaintPanel(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  PaintFrameStrips = false;
}

void TbsSkinPaintPanel::PaintClient(TCanvas* C) {
  if (OnPanelPaint) OnPanelPaint(C, GetAdjustedClientRect());
}

void TbsSkinPaintPanel::DrawDefaultImage(TBitmap* B) {
  TbsSkinPanel::DrawDefaultImage(B);
  PaintClient(B->GetCanvas());
}

void TbsSkinPaintPanel::DrawSkinImage(TBitmap* B) {
  TbsSkinPanel::DrawSkinImage(B);
  PaintClient(B->GetCanvas());
}

void TbsSkinPaintPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    if (!InWMPaint) PaintControlTo(reinterpret_cast<HDC>(Message.WParam));
    Message.Result = 1;
    return;
  }
  TbsSkinPanel::Dispatch(Message);
}

// ---- TbsSkinGroupBox ------------------------------------------------------------------------

TbsSkinGroupBox::TbsSkinGroupBox(TComponent* AOwner) : TbsSkinPanel(AOwner) {
  SetSkinDataName("groupbox");
  SetCaptionMode(true);
}

void TbsSkinGroupBox::LoadSkinPart() {
  TbsSkinPanel::LoadSkinPart();
  if (PartIndex != -1 && PartClientRect.Bottom < CaptionRect.Top) PaintFrameStrips = false;
}
