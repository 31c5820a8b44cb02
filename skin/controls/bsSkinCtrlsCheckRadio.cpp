// TbsSkinCheckRadioBox: the skinned check box and radio button.
#include "platform/classes/ActnList.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Text.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsUtils.h"

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  // OnClick comes from SetChecked, never from the platform's click.
  TControlStyle S = GetControlStyle();
  S.Exclude(csClickEvents);
  SetControlStyle(S);
  SetWidth(150);
  SetHeight(25);
  SetSkinDataName("checkbox");
  SetTabStop(false);
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() {
  StopMorph();
}

bool TbsSkinCheckRadioBox::Active() {
  return FHot || (FCanFocused && HandleAllocated() && Focused());
}

// ---- State ----------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::SetChecked(bool Value) {
  FChecked = Value;
  if (Value)
    FState = cbChecked;
  else if (FState == cbChecked)
    FState = cbUnchecked;
  Repaint();
  if (FChecked && FGroupIndex != 0 && GetParent() != nullptr) {
    TWinControl* P = GetParent();
    for (Integer I = 0; I < P->GetControlCount(); ++I) {
      auto* Box = dynamic_cast<TbsSkinCheckRadioBox*>(P->GetControl(I));
      if (Box != nullptr && Box != this && Box->FGroupIndex == FGroupIndex && Box->FChecked)
        Box->SetChecked(false);
    }
  }
  if (!FRadio || FChecked)
    if (OnClick) OnClick(this);
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState Value) {
  FState = Value;
  FChecked = Value == cbChecked;
  Repaint();
  if (OnClick) OnClick(this);
}

void TbsSkinCheckRadioBox::Toggle() {
  if (!FRadio)
    SetChecked(!FChecked);
  else if (!FChecked)
    SetChecked(true);
}

void TbsSkinCheckRadioBox::SetRadio(bool Value) {
  FRadio = Value;
  const TComponentState S = GetComponentState();
  if (S.Contains(csDesigning) && !S.Contains(csLoading)) {
    SetSkinDataName(Value ? "radiobox" : "checkbox");
    FGroupIndex = Value ? 1 : 0;
  }
  Repaint();
}

void TbsSkinCheckRadioBox::SetAllowGrayed(bool Value) {
  FAllowGrayed = Value;
  Repaint();
}

void TbsSkinCheckRadioBox::SetFlat(bool Value) {
  FFlat = Value;
  Repaint();
}

void TbsSkinCheckRadioBox::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (FFlat) Repaint();
}

void TbsSkinCheckRadioBox::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  Repaint();
}

void TbsSkinCheckRadioBox::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Repaint();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TbsSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TbsSkinCheckRadioBox::ActionChange(TObject* Sender, bool CheckDefaults) {
  TbsSkinCustomControl::ActionChange(Sender, CheckDefaults);
  auto* Action = dynamic_cast<TCustomAction*>(Sender);
  if (Action == nullptr || (CheckDefaults && FChecked)) return;
  SetChecked(Action->GetChecked());
}

// ---- Input ----------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::RedrawState() {
  if (!MorphPossible()) {
    Repaint();
    return;
  }
  if (FMorphTimer != nullptr) return;
  FMorphTimer = std::make_unique<TTimer>(nullptr);
  FMorphTimer->SetInterval(20);
  FMorphTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinCheckRadioBox::MorphTick));
  FMorphTimer->SetEnabled(true);
}

bool TbsSkinCheckRadioBox::MorphPossible() {
  return Morphing && PartIndex != -1 && FSD != nullptr && !FSD->Empty && FSD->GetEnableSkinEffects();
}

void TbsSkinCheckRadioBox::StopMorph() {
  FMorphTimer.reset();
}

void TbsSkinCheckRadioBox::MorphTick(TObject*) {
  const bool IsActive = Active();
  if (PartIndex == -1 || !Morphing) {
    FMorphProgress = IsActive ? 1.0 : 0.0;
    StopMorph();
    return;
  }
  if (IsActive && FMorphProgress < 1.0) {
    FMorphProgress += 0.2;
  } else if (!IsActive && FMorphProgress > 0.0) {
    FMorphProgress -= 0.2;
  } else {
    FMorphProgress = IsActive ? 1.0 : 0.0;
    StopMorph();
  }
  Repaint();
}

void TbsSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) FLeftPressed = true;
  if (!FHot) {
    FHot = true;
    RedrawState();
  }
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FHot || !FLeftPressed) return;
  FLeftPressed = false;
  if (FAllowGrayed && !FRadio && FState == cbUnchecked) {
    FState = cbGrayed;
    Repaint();
    if (OnClick) OnClick(this);
  } else {
    Toggle();
  }
}

void TbsSkinCheckRadioBox::WndProc(TMessage& Message) {
  if (FCanFocused) {
    if (Message.Msg == WM_KEYUP && Message.WParam == VK_SPACE && Focused()) Toggle();
    if (FocusBeforeClick(Message, FSuppressClicks)) return;
  }
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinCheckRadioBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TbsSkinCustomControl::Dispatch(Message);
      if (Message.LParam == 0 && !Designing()) {
        FHot = Message.Msg == CM_MOUSEENTER;
        RedrawState();
      }
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus() && FCanFocused) {
        SetFocus();
        Toggle();
        Message.Result = 1;
      } else {
        TbsSkinCustomControl::Dispatch(Message);
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TbsSkinCustomControl::Dispatch(Message);
      if (FCanFocused) {
        if (FFlat)
          Invalidate();
        else
          RedrawState();
      }
      break;
    case CM_ENABLEDCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      StopMorph();
      FMorphProgress = 0;
      FHot = false;
      Repaint();
      break;
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      Repaint();
      break;
    case WM_ERASEBKGND:
      // A flat box never erases: it paints its parent's background itself.
      if (!FFlat && !InWMPaint) PaintControlTo(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      break;
    case WM_MOVE:
      TbsSkinCustomControl::Dispatch(Message);
      if (FFlat) Invalidate();
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

void TbsSkinCheckRadioBox::ParentBackgroundChanged() {
  if (FFlat) Repaint();
}

void TbsSkinCheckRadioBox::ApplySkinChange() {
  if (FFlat) {
    // A flat box keeps its size.
    LoadSkinPart();
    Repaint();
    return;
  }
  TbsSkinCustomControl::ApplySkinChange();
}

// ---- Skin part ------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  auto* Part = dynamic_cast<TbsDataSkinCheckRadioControl*>(BoundPart());
  if (Part == nullptr) return;
  const auto Or = [](const TRect& R, const TRect& Fallback) { return IsEmptyRect(R) ? Fallback : R; };
  FontName = Part->FontName;
  FontStyle = Part->FontStyle;
  FontHeight = Part->FontHeight;
  FontColor = Part->FontColor;
  ActiveFontColor = Part->ActiveFontColor;
  FrameFontColor = Part->FrameFontColor;
  UnEnabledFontColor = Part->UnEnabledFontColor;
  ActiveSkinRect = Or(Part->ActiveSkinRect, SkinRect);
  CheckImageArea = Part->CheckImageArea;
  TextArea = Part->TextArea;
  CheckImageRect = Part->CheckImageRect;
  UnCheckImageRect = Part->UncheckImageRect;
  ActiveCheckImageRect = Or(Part->ActiveCheckImageRect, CheckImageRect);
  ActiveUnCheckImageRect = Or(Part->ActiveUncheckImageRect, UnCheckImageRect);
  UnEnabledCheckImageRect = Or(Part->UnEnabledCheckImageRect, CheckImageRect);
  UnEnabledUnCheckImageRect = Or(Part->UnEnabledUncheckImageRect, UnCheckImageRect);
  Morphing = Part->Morphing;
  MorphKind = Part->MorphKind;
  GrayedCheckImageRect = Part->GrayedCheckImageRect;
  ActiveGrayedCheckImageRect = Part->ActiveGrayedCheckImageRect;
  if (FFlat) {
    // A flat box shows its parent around the picture: no morph, no window region.
    Morphing = false;
    SkinMaskPicture = nullptr;
  }
}

void TbsSkinCheckRadioBox::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  if (FFlat) return;
  TbsSkinCustomControl::FitPartToSize(AWidth, AHeight);
  const Integer DW = AWidth - GetRectWidth(SkinRect);
  FTextAreaRect = TextArea;
  FTextAreaRect.Right += DW;
  TRect Area = CheckImageArea;
  // A picture right of the caption moves with the right edge.
  if (TextArea.Right < CheckImageArea.Right) Area.Left += DW, Area.Right += DW;
  const Integer PW = GetRectWidth(CheckImageRect), PH = GetRectHeight(CheckImageRect);
  const Integer Left = Area.Left + GetRectWidth(Area) / 2 - PW / 2;
  const Integer Top = Area.Top + GetRectHeight(Area) / 2 - PH / 2;
  FCheckAreaRect = Rect(Left, Top, Left + PW, Top + PH);
}

// ---- Painting -------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::DrawStatePicture(TCanvas* C, Integer X, Integer Y) {
  const bool Grayed = FState == cbGrayed && !FRadio;
  const TRect* Picture;
  if (!GetEnabled())
    Picture = Grayed || FChecked ? &UnEnabledCheckImageRect : &UnEnabledUnCheckImageRect;
  else if (FHot)
    Picture = Grayed || FChecked ? &ActiveCheckImageRect : &ActiveUnCheckImageRect;
  else
    Picture = Grayed || FChecked ? &CheckImageRect : &UnCheckImageRect;
  if (!Grayed) {
    DrawPartPictureAuto(C, X, Y, SkinPicture, *Picture);
    return;
  }
  if (!IsEmptyRect(GrayedCheckImageRect)) {
    const bool HotGrayed = FHot && !IsEmptyRect(ActiveGrayedCheckImageRect);
    DrawPartPictureAuto(C, X, Y, SkinPicture, HotGrayed ? ActiveGrayedCheckImageRect : GrayedCheckImageRect);
    return;
  }
  // Without a grayed picture the checked one is lightened halfway to white.
  if (SkinPicture == nullptr || IsEmptyRect(*Picture)) return;
  TBitmap B;
  B.SetSize(GetRectWidth(*Picture), GetRectHeight(*Picture));
  B.GetCanvas()->CopyRect(Rect(0, 0, B.GetWidth(), B.GetHeight()), SkinPicture->GetCanvas(), *Picture);
  TbsEffectBmp Effect(B.GetHandle());
  Effect.ChangeBrightness(0.5);
  Effect.DrawToDC(B.GetCanvas()->GetHandle(), 0, 0);
  B.SetTransparent(true);
  C->Draw(X, Y, &B);
}

void TbsSkinCheckRadioBox::SetPartCaptionFont(TCanvas* C, TColor Color) {
  C->SetFont(GetDefaultFont());
  if (GetUseSkinFont()) AssignPartFont(C->GetFont(), FontName, FontHeight, FontStyle);
  AssignSkinCharset(C->GetFont(), FSD, GetDefaultFont());
  C->GetFont()->SetColor(FUseSkinFontColor ? Color : GetDefaultFont()->GetColor());
}

void TbsSkinCheckRadioBox::DrawDefaultBox(TCanvas* C) {
  const Integer Half = GetHeight() / 2;
  TRect Box = Rect(3, Half - 7, 17, Half + 7);
  const TColor Frame = FHot ? bsHotFrameColor : clBtnShadow;
  DrawFrame3D(C, Box, Frame, Frame);
  if (FState == cbGrayed && !FRadio) {
    DrawCheckMark(C, 7, Half - 4, clGrayText);
  } else if (FChecked) {
    const TColor Mark = GetEnabled() ? clBlack : clBtnShadow;
    if (FRadio)
      DrawRadioMark(C, 7, Half - 3, Mark);
    else
      DrawCheckMark(C, 7, Half - 4, Mark);
  }
}

void TbsSkinCheckRadioBox::PaintFlat(TCanvas* C, bool Part) {
  DrawParentBackground(this, C);
  const Integer W = GetWidth(), Half = GetHeight() / 2;
  if (Part) {
    DrawStatePicture(C, 3, Half - GetRectHeight(CheckImageRect) / 2);
    SetPartCaptionFont(C, GetEnabled() ? FrameFontColor : UnEnabledFontColor);
  } else {
    C->SetFont(GetDefaultFont());
    AssignSkinCharset(C->GetFont(), FSD, GetDefaultFont());
    if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
  }
  C->GetBrush()->SetStyle(bsClear);
  const Integer TextLeft = Part ? GetRectWidth(CheckImageRect) + 7 : 22;
  const Integer ImageGap = Part ? 8 : 5;
  const std::string Caption = GetCaption();
  const bool HasImage = FImages != nullptr && FImageIndex >= 0 && FImageIndex < FImages->GetCount();

  TRect CR;
  if (FWordWrap) {
    CR = Rect(TextLeft + (HasImage ? FImages->GetWidth() : 0), 0, W, GetHeight());
    C->RequiredState({csHandleValid, csFontValid});
    DrawTextA(C->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &CR,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    const Integer H = GetRectHeight(CR);
    CR.Top = IntMax(0, Half - H / 2);
    CR.Bottom = CR.Top + H;
  } else {
    const TSize T = C->TextExtent(Caption);
    CR = Rect(TextLeft, Half - T.cy / 2, TextLeft + T.cx, Half - T.cy / 2 + T.cy);
  }
  CR.Right = IntMin(CR.Right, W - 2);

  TRect ImageRect;
  if (HasImage) {
    const Integer IW = FImages->GetWidth(), IH = FImages->GetHeight();
    ImageRect = Bounds(CR.Left, Half - IH / 2, IW, IH);
    FImages->Draw(C, ImageRect.Left, ImageRect.Top, FImageIndex, GetEnabled());
    CR.Left += IW + ImageGap;
    CR.Right = IntMin(CR.Right + IW + ImageGap, W - 2);
  }
  C->GetBrush()->SetStyle(bsClear);
  if (FWordWrap) {
    TRect R = CR;
    C->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(C->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &R,
              DT_WORDBREAK | DT_EXPANDTABS);
  } else {
    DrawCaptionLeft(C, Caption, CR);
  }
  if (!Part) DrawDefaultBox(C);

  if (FCanFocused && HandleAllocated() && Focused()) {
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(Part && FSD != nullptr ? FSD->SkinColors->CBtnFace : clBtnFace);
    if (!Caption.empty())
      DrawDottedFocusRect(C, Rect(CR.Left - 2, CR.Top - 1, CR.Right + 3, CR.Bottom + 1));
    else if (HasImage)
      DrawDottedFocusRect(
          C, Rect(ImageRect.Left - 1, ImageRect.Top - 1, ImageRect.Right + 1, ImageRect.Bottom + 1));
  }
}

void TbsSkinCheckRadioBox::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  const TRect R = GetClientRect();
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(R);
  if (Active()) {
    TRect F = R;
    DrawFrame3D(C, F, clBtnShadow, clBtnShadow);
  }
  C->SetFont(GetDefaultFont());
  AssignSkinCharset(C->GetFont(), FSD, GetDefaultFont());
  if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
  C->GetBrush()->SetStyle(bsClear);
  DrawCaptionLeft(C, GetCaption(), Rect(19, 0, GetWidth(), GetHeight()));
  DrawDefaultBox(C);
}

void TbsSkinCheckRadioBox::BuildFramedImage(TBitmap* B, bool ActiveLook) {
  CreateControlImage(B, SkinPicture, ActiveLook ? ActiveSkinRect : SkinRect);
  TCanvas* C = B->GetCanvas();
  const Integer PH = GetRectHeight(CheckImageRect);
  DrawStatePicture(C, FCheckAreaRect.Left, FCheckAreaRect.Top + GetRectHeight(FCheckAreaRect) / 2 - PH / 2);
  TColor Color = ActiveLook ? ActiveFontColor : FontColor;
  if (!GetEnabled()) Color = UnEnabledFontColor;
  SetPartCaptionFont(C, Color);
  C->GetBrush()->SetStyle(bsClear);
  DrawCaptionLeft(C, GetCaption(), FTextAreaRect);
}

void TbsSkinCheckRadioBox::DrawSkinImage(TBitmap* B) {
  if (!(MorphPossible() && FMorphProgress > 0.0 && FMorphProgress < 1.0)) {
    BuildFramedImage(B, Active());
    return;
  }
  TBitmap Normal, Hot;
  Normal.SetSize(B->GetWidth(), B->GetHeight());
  Hot.SetSize(B->GetWidth(), B->GetHeight());
  BuildFramedImage(&Normal, false);
  BuildFramedImage(&Hot, true);
  TbsEffectBmp From(Normal.GetHandle()), To(Hot.GetHandle());
  const double K = FMorphProgress;
  From.MorphByKind(&To, MorphKind, K);
  B->SetSize(From.GetWidth(), From.GetHeight());
  B->GetCanvas()->RequiredState({csHandleValid});
  From.DrawToDC(B->GetCanvas()->GetHandle(), 0, 0);
}

void TbsSkinCheckRadioBox::Paint() {
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  LoadSkinPart();
  if (!FFlat) {
    TbsSkinCustomControl::Paint();
    return;
  }
  TBitmap B;
  B.SetSize(GetWidth(), GetHeight());
  PaintFlat(B.GetCanvas(), PartIndex != -1);
  GetCanvas()->Draw(0, 0, &B);
}
