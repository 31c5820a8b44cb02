// TbsSkinSpeedButton: the windowless skinned tool button.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsSkinDataSections.h"
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
  if (MorphEnabled()) {
    MorphFraction = 1;
    if (Value)
      StopMorph();
    else
      StartMorph();
  }
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
  // The button's own handler, else its action.
  TbsButtonMixin::Click();
}

void TbsSkinSpeedButton::RedrawState() {
  if (!MorphEnabled() || PartIndex == -1 || GetTransparent() || FFlat)
    Repaint();
  else
    StartMorph();
}

// ---- Skin -----------------------------------------------------------------------------------

void TbsSkinSpeedButton::LoadSkinPart() {
  TbsButtonMixin::LoadSkinPart();
  // A transparent button has no normal picture to fade from.
  if (PartIndex != -1 && GetTransparent()) Morphing = false;
}

void TbsSkinSpeedButton::ApplySkinChange() {
  StopMorph();
  StopFrameAnimation();
  TbsButtonMixin::ApplySkinChange();
  if (MorphEnabled() && PartIndex != -1 && MouseIn && !GetTransparent()) MorphFraction = 1;
}

bool TbsSkinSpeedButton::FramesPossible() const {
  return !FFlat && AnimationPossible();
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
    if (FDown) {
      if (MorphEnabled()) MorphFraction = 1;
      Repaint();
    } else {
      if (FramesPossible()) StartFrameAnimation(true);
      RedrawState();
    }
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
  if (FGroupIndex == 0 || !FDown) {
    if (FramesPossible()) StartFrameAnimation(false);
    RedrawState();
  }
  if (FDown && FRepeatMode && RepeatTimer.Running() && FGroupIndex == 0) StopRepeat();
}

void TbsSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  StopFrameAnimation();
  PressLeft();
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
      StopMorph();
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
  DrawContentFrom(Cnvs, R, AMouseIn, ADown, false);
}

void TbsSkinSpeedButton::DrawContentFrom(TCanvas* Cnvs, const TRect& R, bool AMouseIn, bool ADown,
                                         bool IdleLists) {
  const std::string Caption = FShowCaption ? GetCaption() : std::string();
  auto* Bar = dynamic_cast<TbsSkinToolBar*>(GetParent());
  if (FGlyph->Empty() && Bar != nullptr) {
    // The bar's lists: a disabled list supplies the disabled look itself.
    TCustomImageList* List = Bar->GetImages();
    bool Enabled = GetEnabled();
    if (!GetEnabled() && Bar->GetDisabledImages() != nullptr) {
      List = Bar->GetDisabledImages();
      Enabled = true;
    } else if (!IdleLists && (AMouseIn || ADown) && Bar->GetHotImages() != nullptr) {
      List = Bar->GetHotImages();
    }
    if (List != nullptr) {
      DrawImageAndText(Cnvs, R, FMargin, FSpacing, FLayout, Caption, FImageIndex, List, false, Enabled, false,
                       0);
      return;
    }
  }
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
  TRect Content;
  if (DrawPartFace(B, R, ADown, AMouseIn, Content)) DrawContent(B->GetCanvas(), Content, AMouseIn, ADown);
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
  SetDefaultFaceFont(C);
  if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
  bool DrawDefault = true;
  if (OnPaint) OnPaint(this, C, R, FDown, MouseIn, DrawDefault);
  if (DrawDefault) DrawContent(C, R, MouseIn, FDown);
}

void TbsSkinSpeedButton::PaintIdleTransparent() {
  TCanvas* C = GetCanvas();
  TRect R = GetClientRect();
  SetDefaultFaceFont(C);
  if (PartIndex != -1) {
    R = NewClientRect;
    if (GetUseSkinFont()) SetFaceFont(C);
    TColor Color = GetDefaultFont()->GetColor();
    if (!GetEnabled())
      Color = FSD->SkinColors->CBtnShadow;
    else if (GetUseSkinFontColor())
      Color = FSD->SkinColors->CBtnText;
    C->GetFont()->SetColor(Color);
  } else if (!GetEnabled()) {
    C->GetFont()->SetColor(clBtnShadow);
  }
  bool DrawDefault = true;
  if (OnPaint) OnPaint(this, C, R, FDown, MouseIn, DrawDefault);
  if (DrawDefault) DrawContentFrom(C, R, MouseIn, FDown, true);
}

void TbsSkinSpeedButton::Paint() {
  LoadSkinPart();
  const bool Pressed = MenuPartActive || (FDown && ((MouseIn && FGroupIndex == 0) || FGroupIndex != 0));
  if (PartIndex == -1) {
    if (GetTransparent() && !Pressed && !MouseIn && !Designing()) {
      // An idle transparent button shows only its content over what lies behind it.
      PaintIdleTransparent();
      return;
    }
    TbsGraphicSkinCustomControl::Paint();
    return;
  }
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  const bool Morph = MorphEnabled();
  if (!Pressed && !MouseIn && !(Morph && MorphFraction == 1) && GetTransparent()) {
    PaintIdleTransparent();
    return;
  }
  TBitmap B;
  B.SetSize(GetWidth(), GetHeight());
  if (Morph && MorphFraction > 0 && MorphFraction < 1 && !GetTransparent())
    DrawMorphedFace(&B);
  else if (Pressed)
    DrawButtonState(&B, DownSkinRect, true, true);
  else if (MouseIn || (Morph && MorphFraction == 1))
    DrawButtonState(&B, ActiveSkinRect, true, false);
  else
    DrawButtonState(&B, GetEnabled() || IsEmptyRect(DisabledSkinRect) ? SkinRect : DisabledSkinRect, false,
                    false);
  GetCanvas()->Draw(0, 0, &B);
}
