// TbsSkinButton: the skinned push button.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsSkinDataSections.h"
#include "skin/data/bsUtils.h"

TbsSkinButton::TbsSkinButton(TComponent* AOwner) : TbsButtonMixin(AOwner) {
  // The button clicks from its own mouse and key handling, never from the platform's.
  TControlStyle S = GetControlStyle();
  S.Exclude(csClickEvents);
  SetControlStyle(S);
  SetSkinDataName("button");
  SetWidth(75);
  SetHeight(25);
  SetTabStop(true);
  GlowLayer = new TbsLayerManager(this);
}

TbsSkinButton::~TbsSkinButton() = default;

bool TbsSkinButton::IsFocused() {
  return FCanFocused && HandleAllocated() && Focused();
}

// ---- Properties -----------------------------------------------------------------------------

void TbsSkinButton::SetDown(bool Value) {
  FDown = Value;
  if (MorphEnabled()) {
    MorphFraction = 1;
    if (Value)
      StopMorph();
    else
      StartMorph();
  }
  Repaint();
  ReleaseOthersOfGroup();
}

void TbsSkinButton::SetGroupIndex(Integer Value) {
  FGroupIndex = Value;
  if (Value != 0) SetCanFocused(false);
}

void TbsSkinButton::SetCheckedMode(bool Value) {
  FCheckedMode = Value;
  if (Value)
    SetGroupIndex(-1);
  else if (FGroupIndex == -1)
    SetGroupIndex(0);
}

void TbsSkinButton::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TbsSkinButton::SetDefault(bool Value) {
  FDefault = Value;
  if (!HandleAllocated() || !FCanFocused) return;
  if (TCustomForm* Form = GetParentForm(this))
    Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Form->GetActiveControl()));
}

// ---- Clicks ---------------------------------------------------------------------------------

void TbsSkinButton::Click() {
  if (FCanFocused)
    if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
  // The button's own handler, else its action.
  TbsButtonMixin::Click();
}

void TbsSkinButton::RedrawState() {
  if (MorphEnabled() && PartIndex != -1)
    StartMorph();
  else
    Repaint();
}

bool TbsSkinButton::LookChanges() {
  // A down group button keeps its look; so does an up, focused push button.
  if (FGroupIndex != 0) return !FDown;
  return FDown || !IsFocused();
}

// ---- Mouse ----------------------------------------------------------------------------------

void TbsSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (AnimationPossible()) StopFrameAnimation();
  MousePressed = true;
  PressLeft();
}

void TbsSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    MousePressed = false;
    ReleaseLeft();
  }
  // A click may have closed the form and destroyed the window.
  if (HandleAllocated() && GetVisible()) TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinButton::CMMouseEnter(TMessage& Message) {
  TbsSkinCustomControl::Dispatch(Message);
  if (!OwnMouseNotice(Message)) return;
  MouseIn = true;
  if (LookChanges()) {
    if (FDown) {
      if (MorphEnabled()) MorphFraction = 1;
      Repaint();
    } else {
      if (AnimationPossible()) StartFrameAnimation(true);
      RedrawState();
    }
  }
  if (FDown && FGroupIndex == 0 && FRepeatMode) StartRepeat();
  PostMessage(GetHandle(), WM_SHOWGLOW_SKIN, 0, 0);
}

void TbsSkinButton::CMMouseLeave(TMessage& Message) {
  TbsSkinCustomControl::Dispatch(Message);
  if (!OwnMouseNotice(Message)) return;
  // The active default button keeps its highlight.
  if (!(FCanFocused && FDefault && DefaultActive && !IsFocused())) MouseIn = false;
  if (LookChanges()) {
    if (AnimationPossible()) StartFrameAnimation(false);
    RedrawState();
  }
  if (FDown && FGroupIndex == 0 && FRepeatMode) StopRepeat();
  PostMessage(GetHandle(), WM_HIDEGLOW_SKIN, 0, 0);
}

// ---- Keys and focus -------------------------------------------------------------------------

void TbsSkinButton::WndProc(TMessage& Message) {
  if (FCanFocused) {
    switch (Message.Msg) {
      case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE && KeyboardClick) {
          if (AnimationPossible()) StopFrameAnimation();
          SetDown(true);
          if (FRepeatMode) Click();
        } else if (Message.WParam == VK_RETURN && KeyboardClick) {
          Click();
        }
        break;
      case WM_KEYUP:
        if (Message.WParam == VK_SPACE) {
          SetDown(false);
          Click();
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (!Designing() && !Focused()) {
          FocusingByClick = true;
          ::SetFocus(GetHandle());
          FocusingByClick = false;
          if (!Focused()) return;
        }
        break;
      case CN_COMMAND:
        if (FocusingByClick) return;
        break;
      default:
        break;
    }
  }
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinButton::CMDialogKey(TMessage& Message) {
  if (Message.WParam == VK_RETURN && DefaultActive && GetEnabled()) {
    Click();
    Message.Result = 1;
    return;
  }
  if (Message.WParam == VK_ESCAPE && FCancel && FCanFocused && GetKeyState(VK_SHIFT) >= 0 &&
      GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0 && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TbsSkinCustomControl::Dispatch(Message);
}

void TbsSkinButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus() && FCanFocused) {
    SetFocus();
    Click();
    Message.Result = 1;
    return;
  }
  TbsSkinCustomControl::Dispatch(Message);
}

void TbsSkinButton::CMFocusChanged(TMessage& Message) {
  auto* Target = reinterpret_cast<TWinControl*>(Message.LParam);
  auto* TargetButton = dynamic_cast<TbsSkinButton*>(Target);
  DefaultActive = TargetButton != nullptr ? TargetButton == this : FDefault;
  if (FCanFocused && FDefault) {
    // The default button looks hot while the focus is on a control that is not a button.
    if (TargetButton != nullptr && MouseIn) {
      MouseIn = false;
      RedrawState();
    } else if (Target != nullptr && TargetButton == nullptr && !MouseIn) {
      MouseIn = true;
      RedrawState();
    }
  }
  TbsSkinCustomControl::Dispatch(Message);
}

void TbsSkinButton::CreateWnd() {
  TbsSkinCustomControl::CreateWnd();
  DefaultActive = FDefault;
}

void TbsSkinButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      CMMouseEnter(Message);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    case CM_FOCUSCHANGED:
      CMFocusChanged(Message);
      break;
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      Repaint();
      break;
    case WM_SHOWGLOW_SKIN:
      ShowGlowLayer();
      break;
    case WM_HIDEGLOW_SKIN:
      HideGlowLayer();
      break;
    case CM_ENABLEDCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      if (MorphEnabled()) {
        StopMorph();
        MorphFraction = 0;
      }
      MouseIn = false;
      Repaint();
      break;
    case WM_SETFOCUS:
      TbsSkinCustomControl::Dispatch(Message);
      if (FCanFocused && !HoldDown) {
        if (AnimationPossible()) StartFrameAnimation(true);
        RedrawState();
      }
      break;
    case WM_KILLFOCUS:
      if (!FCanFocused || HoldDown) {
        TbsSkinCustomControl::Dispatch(Message);
        break;
      }
      if (FRepeatMode) StopRepeat();
      if (FGroupIndex == 0) FDown = false;
      TbsSkinCustomControl::Dispatch(Message);
      if (AnimationPossible()) StartFrameAnimation(false);
      if (MorphEnabled() && PartIndex != -1)
        StartMorph();
      else
        Invalidate();
      break;
    case WM_ERASEBKGND:
      if (!InWMPaint) PaintControlTo(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

// ---- Drawing --------------------------------------------------------------------------------

Integer TbsSkinButton::GlyphIndex(bool ADown, bool AMouseIn) {
  if (ADown && AMouseIn && FNumGlyphs > 2) return 3;
  if (AMouseIn && FNumGlyphs > 3) return 4;
  if (!GetEnabled() && FNumGlyphs > 1) return 2;
  return 1;
}

void TbsSkinButton::DrawContent(TCanvas* Cnvs, const TRect& R, bool ADown, bool AMouseIn) {
  if (FImageList != nullptr && FImageIndex >= 0 && FImageIndex < FImageList->GetCount())
    DrawImageAndText(Cnvs, R, FMargin, FSpacing, FLayout, GetCaption(), FImageIndex, FImageList, false,
                     GetEnabled(), false, 0);
  else
    DrawGlyphAndText(Cnvs, R, FMargin, FSpacing, FLayout, GetCaption(), FGlyph.get(), FNumGlyphs,
                     GlyphIndex(ADown, AMouseIn), false, false, 0);
}

void TbsSkinButton::DrawButtonState(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  TRect Content;
  if (DrawPartFace(B, R, ADown, AMouseIn, Content)) DrawContent(B->GetCanvas(), Content, ADown, AMouseIn);
}

void TbsSkinButton::DrawFaceFocus(TCanvas* C) {
  if (!ShowFocus || !IsFocused()) return;
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(FSD->SkinColors->CBtnFace);
  DrawDottedFocusRect(C, NewClientRect);
  C->GetBrush()->SetStyle(bsClear);
}

// ---- Skin -----------------------------------------------------------------------------------

void TbsSkinButton::LoadSkinPart() {
  TbsButtonMixin::LoadSkinPart();
  // A button stretched freely has no outline of its own.
  if (!GetUseSkinSize()) SkinMaskPicture = nullptr;
}

void TbsSkinButton::ApplySkinChange() {
  StopMorph();
  StopFrameAnimation();
  MorphFraction = 0;
  TbsButtonMixin::ApplySkinChange();
  if (MorphEnabled() && PartIndex != -1 && (IsFocused() || MouseIn)) MorphFraction = 1;
  // The glow comes back in the new skin.
  if (MouseIn && HandleAllocated()) PostMessage(GetHandle(), WM_SHOWGLOW_SKIN, 0, 0);
}

void TbsSkinButton::Paint() {
  LoadSkinPart();
  if (PartIndex == -1) {
    TbsButtonMixin::Paint();
    return;
  }
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  Integer W = GetWidth(), H = GetHeight();
  FitPartToSize(W, H);
  TBitmap B;
  B.SetSize(GetWidth(), GetHeight());
  const bool Focus = IsFocused();
  if (MorphEnabled() && MorphFraction > 0 && MorphFraction < 1 && GetEnabled())
    DrawMorphedFace(&B);
  else if (!GetEnabled() && !IsEmptyRect(DisabledSkinRect))
    DrawButtonState(&B, DisabledSkinRect, false, false);
  else if (HoldDown || (FDown && (FGroupIndex != 0 || MouseIn || (Focus && !MousePressed))))
    DrawButtonState(&B, DownSkinRect, true, true);
  else if (Focus && !IsEmptyRect(FocusedSkinRect) && !FrameAnimationRunning())
    DrawButtonState(&B, FocusedSkinRect, false, true);
  else if (Focus || MouseIn || (MorphEnabled() && MorphFraction == 1))
    DrawButtonState(&B, ActiveSkinRect, false, true);
  else
    DrawButtonState(&B, SkinRect, false, false);
  GetCanvas()->Draw(0, 0, &B);
}

void TbsSkinButton::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  const TRect R = GetClientRect();
  const bool Focus = IsFocused();
  TColor Frame = clBtnShadow, Face = clBtnFace;
  if (FDown && (FGroupIndex != 0 || MouseIn || (Focus && !MousePressed)))
    Frame = bsHotFrameColor, Face = bsDownFaceColor;
  else if (MouseIn || Focus)
    Frame = bsHotFrameColor, Face = bsHotFaceColor;
  C->GetPen()->SetColor(Frame);
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(Face);
  C->Rectangle(R);
  SetDefaultFaceFont(C);
  if (!GetEnabled()) C->GetFont()->SetColor(clBtnShadow);
  bool DrawDefault = true;
  if (OnPaint) OnPaint(this, C, R, FDown, MouseIn, DrawDefault);
  if (DrawDefault) DrawContent(C, R, FDown, MouseIn);
}
