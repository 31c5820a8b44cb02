// TbsSkinSpeedButton: the windowless skinned tool button.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

TbsSkinSpeedButton::TbsSkinSpeedButton(TComponent* AOwner) : TbsButtonMixin(AOwner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
  // A tool button shows the list's first image until told otherwise.
  FImageIndex = 0;
  SetSkinDataName("toolbutton");
  SetWidth(25);
  SetHeight(25);
}

TbsSkinSpeedButton::~TbsSkinSpeedButton() {
  StopRepeat();
}

// ---- Properties -----------------------------------------------------------------------------

void TbsSkinSpeedButton::SetTransparent(bool Value) {
  TControlStyle S = GetControlStyle();
  if (Value)
    S.Exclude(csOpaque);
  else
    S.Include(csOpaque);
  SetControlStyle(S);
  if (!FTransparentGuard) Repaint();
}

void TbsSkinSpeedButton::SetTransparentGuarded(bool Value) {
  FTransparentGuard = true;
  SetTransparent(Value);
  FTransparentGuard = false;
}

void TbsSkinSpeedButton::SetFlat(bool Value) {
  FFlat = Value;
  SetTransparent(Value);
  Repaint();
}

void TbsSkinSpeedButton::SetDown(bool Value) {
  FDown = Value;
  if (!MouseIn && FFlat && !GetTransparent() && !Value && !Designing()) SetTransparentGuarded(true);
  Repaint();
  ReleaseOthersOfGroup();
}

void TbsSkinSpeedButton::SetCheckedMode(bool Value) {
  if (FCheckedMode == Value) return;
  FCheckedMode = Value;
  if (Value)
    FGroupIndex = -1;
  else if (FGroupIndex == -1)
    FGroupIndex = 0;
}

void TbsSkinSpeedButton::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
    SetWidth(Value ? FWidthWithCaption : FWidthWithoutCaption);
  else
    Repaint();
}

void TbsSkinSpeedButton::Loaded() {
  TbsGraphicSkinCustomControl::Loaded();
  if (FFlat && GetTransparent() && FDown) SetTransparentGuarded(false);
}

// ---- Clicks and repeat ----------------------------------------------------------------------

void TbsSkinSpeedButton::Click() {
  if (OnClick) OnClick(this);
}

void TbsSkinSpeedButton::RedrawState() {
  Repaint();
}

// ---- Mouse ----------------------------------------------------------------------------------

void TbsSkinSpeedButton::CMMouseEnter(TMessage& Message) {
  if (!OwnMouseNotice(Message)) {
    TbsGraphicSkinCustomControl::Dispatch(Message);
    return;
  }
  const bool Eligible = (FGroupIndex == 0 || !FDown) && GetEnabled();
  if (FFlat && Eligible) SetTransparentGuarded(false);
  TbsGraphicSkinCustomControl::Dispatch(Message);
  if (!GetEnabled()) return;
  MouseIn = true;
  if (Eligible) {
    if (FDown)
      Repaint();
    else
      RedrawState();
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
}

void TbsSkinSpeedButton::CMMouseLeave(TMessage& Message) {
  if (!OwnMouseNotice(Message)) {
    TbsGraphicSkinCustomControl::Dispatch(Message);
    return;
  }
  const bool Eligible = (FGroupIndex == 0 || !FDown) && GetEnabled();
  if (FFlat && Eligible) SetTransparentGuarded(true);
  TbsGraphicSkinCustomControl::Dispatch(Message);
  if (!GetEnabled()) return;
  MouseIn = false;
  if (FGroupIndex == 0 || !FDown) RedrawState();
  if (FDown && FRepeatMode && RepeatTimer.Running() && FGroupIndex == 0) StopRepeat();
}

void TbsSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) PressLeft();
}

void TbsSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) ReleaseLeft();
  TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinSpeedButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && GetEnabled() && GetVisible() &&
      GetParent() != nullptr && GetParent()->GetShowing()) {
    Click();
    Message.Result = 1;
    return;
  }
  TbsGraphicSkinCustomControl::Dispatch(Message);
}

void TbsSkinSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      CMMouseEnter(Message);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    case CM_TEXTCHANGED:
      TbsGraphicSkinCustomControl::Dispatch(Message);
      Repaint();
      break;
    case CM_ENABLEDCHANGED:
      TbsGraphicSkinCustomControl::Dispatch(Message);
      MorphFraction = 0;
      MouseIn = false;
      Repaint();
      break;
    default:
      TbsGraphicSkinCustomControl::Dispatch(Message);
      break;
  }
}

// ---- Drawing --------------------------------------------------------------------------------

void TbsSkinSpeedButton::DrawContent(TCanvas* Cnvs, const TRect& R, bool AMouseIn, bool ADown) {
  const std::string Caption = FShowCaption ? GetCaption() : std::string();
  if (FGlyph->Empty() && FImageList != nullptr && FImageIndex >= 0 && FImageIndex < FImageList->GetCount()) {
    DrawImageAndText(Cnvs, R, FMargin, FSpacing, FLayout, Caption, FImageIndex, FImageList, false,
                     GetEnabled(), false, 0);
    return;
  }
  Integer Cell = 1;
  if (ADown && AMouseIn && FNumGlyphs > 2)
    Cell = 3;
  else if (AMouseIn && FNumGlyphs > 3)
    Cell = 4;
  else if (GetEnabled() || FNumGlyphs < 2)
    Cell = 1;
  else
    Cell = 2;
  DrawGlyphAndText(Cnvs, R, FMargin, FSpacing, FLayout, Caption, FGlyph.get(), FNumGlyphs, Cell, false, false,
                   0);
}

void TbsSkinSpeedButton::DrawButtonState(TBitmap* B, const TRect& R, bool AMouseIn, bool ADown) {
  if (DrawPartFace(B, R, ADown, AMouseIn)) DrawContent(B->GetCanvas(), NewClientRect, AMouseIn, ADown);
}

void TbsSkinSpeedButton::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  const TRect R = GetClientRect();
  const bool Pressed = FDown && ((MouseIn && FGroupIndex == 0) || FGroupIndex != 0);
  C->GetBrush()->SetStyle(bsSolid);
  if (Pressed || MouseIn || Designing() || !FFlat) {
    TColor Frame = clBtnShadow, Face = clBtnFace;
    if (Pressed)
      Frame = clNavy, Face = bsDownFaceColor;
    else if (MouseIn)
      Frame = clNavy, Face = bsHotFaceColor;
    C->GetPen()->SetColor(Frame);
    C->GetBrush()->SetColor(Face);
    C->Rectangle(R);
  } else if (!GetTransparent()) {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(R);
  }
  C->SetFont(GetDefaultFont());
  if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
  bool DrawDefault = true;
  if (OnPaint) OnPaint(this, C, R, FDown, MouseIn, DrawDefault);
  if (DrawDefault) DrawContent(C, R, MouseIn, FDown);
}

void TbsSkinSpeedButton::Paint() {
  LoadSkinPart();
  const bool Pressed = FDown && ((MouseIn && FGroupIndex == 0) || FGroupIndex != 0);
  if (PartIndex == -1 && GetTransparent() && !Pressed && !MouseIn && !Designing()) {
    // An idle transparent button shows only its content over what lies behind it.
    TCanvas* C = GetCanvas();
    C->SetFont(GetDefaultFont());
    if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
    bool DrawDefault = true;
    if (OnPaint) OnPaint(this, C, GetClientRect(), FDown, MouseIn, DrawDefault);
    if (DrawDefault) DrawContent(C, GetClientRect(), MouseIn, FDown);
    return;
  }
  TbsGraphicSkinCustomControl::Paint();
}
