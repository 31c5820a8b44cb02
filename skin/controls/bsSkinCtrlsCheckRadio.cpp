// TbsSkinCheckRadioBox: the skinned check box and radio button.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/Text.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
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

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() = default;

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

// ---- Input ----------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::RedrawState() {
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

// ---- Painting -------------------------------------------------------------------------------

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

void TbsSkinCheckRadioBox::PaintFlatDefault(TCanvas* C) {
  DrawParentBackground(this, C);
  C->SetFont(GetDefaultFont());
  C->GetBrush()->SetStyle(bsClear);
  const Integer W = GetWidth(), Half = GetHeight() / 2;
  const std::string Caption = GetCaption();
  const bool HasImage = FImages != nullptr && FImageIndex >= 0 && FImageIndex < FImages->GetCount();

  TRect CR;
  if (FWordWrap) {
    CR = Rect(22 + (HasImage ? FImages->GetWidth() : 0), 0, W, GetHeight());
    C->RequiredState({csHandleValid, csFontValid});
    DrawTextA(C->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &CR,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    const Integer H = GetRectHeight(CR);
    CR.Top = IntMax(0, Half - H / 2);
    CR.Bottom = CR.Top + H;
  } else {
    const TSize T = C->TextExtent(Caption);
    CR = Rect(22, Half - T.cy / 2, 22 + T.cx, Half - T.cy / 2 + T.cy);
  }
  CR.Right = IntMin(CR.Right, W - 2);

  TRect ImageRect;
  if (HasImage) {
    const Integer IW = FImages->GetWidth(), IH = FImages->GetHeight();
    ImageRect = Bounds(CR.Left, Half - IH / 2, IW, IH);
    FImages->Draw(C, ImageRect.Left, ImageRect.Top, FImageIndex, GetEnabled());
    CR.Left += IW + 5;
    CR.Right = IntMin(CR.Right + IW + 5, W - 2);
  }
  C->GetFont()->SetColor(GetEnabled() ? GetDefaultFont()->GetColor() : clBtnShadow);
  C->GetBrush()->SetStyle(bsClear);
  if (FWordWrap) {
    TRect R = CR;
    C->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(C->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &R,
              DT_WORDBREAK | DT_EXPANDTABS);
  } else {
    DrawCaptionLeft(C, Caption, CR);
  }
  DrawDefaultBox(C);

  if (FCanFocused && HandleAllocated() && Focused()) {
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(clBtnFace);
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
  if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
  C->GetBrush()->SetStyle(bsClear);
  DrawCaptionLeft(C, GetCaption(), Rect(19, 0, GetWidth(), GetHeight()));
  DrawDefaultBox(C);
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
  // The flat look of a skin part needs the part's state pictures; until such parts exist the
  // flat box always shows the look of its own.
  PaintFlatDefault(B.GetCanvas());
  GetCanvas()->Draw(0, 0, &B);
}
