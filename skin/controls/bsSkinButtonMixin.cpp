// The state and glyph shared by the skinned push and tool buttons.
#include "skin/controls/bsSkinButtonMixin.h"

#include <algorithm>

#include "platform/classes/ActnList.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsUtils.h"

template <class TBase>
TbsButtonMixin<TBase>::TbsButtonMixin(TComponent* AOwner)
    : TBase(AOwner), FGlyph(std::make_unique<TBitmap>()) {}

template <class TBase>
TbsButtonMixin<TBase>::~TbsButtonMixin() = default;

template <class TBase>
void TbsButtonMixin<TBase>::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::SetNumGlyphs(Integer Value) {
  FNumGlyphs = Value;
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::SetImageList(TCustomImageList* Value) {
  FImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::SetMargin(Integer Value) {
  if (Value < -1 || FMargin == Value) return;
  FMargin = Value;
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::SetSpacing(Integer Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::Notification(TComponent* AComponent, TOperation Operation) {
  TBase::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) FImageList = nullptr;
}

template <class TBase>
void TbsButtonMixin<TBase>::ActionChange(TObject* Sender, bool CheckDefaults) {
  TBase::ActionChange(Sender, CheckDefaults);
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (A == nullptr || !FGlyph->Empty() || A->GetActionList() == nullptr) return;
  TCustomImageList* Images = A->GetActionList()->GetImages();
  if (Images == nullptr || A->GetImageIndex() < 0 || A->GetImageIndex() >= Images->GetCount()) return;
  SetImageList(Images);
  SetImageIndex(A->GetImageIndex());
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::ReleaseOthersOfGroup() {
  TWinControl* P = this->GetParent();
  if (!FDown || FGroupIndex <= 0 || FAllowAllUp || P == nullptr) return;
  for (Integer I = 0; I < P->GetControlCount(); ++I) {
    auto* B = dynamic_cast<TbsButtonMixin*>(P->GetControl(I));
    if (B != nullptr && B != this && B->FGroupIndex == FGroupIndex && B->FDown) B->SetDown(false);
  }
}

template <class TBase>
void TbsButtonMixin<TBase>::PressLeft() {
  if (FDown) {
    if (FGroupIndex != 0) ReleaseOnUp = true;
    return;
  }
  MouseIn = true;
  SetDown(true);
  if (FCheckedMode) {
    CheckPressed = true;
    this->Click();
  } else if (FRepeatMode && FGroupIndex == 0) {
    StartRepeat();
  } else if (FGroupIndex != 0) {
    this->Click();
  }
  ReleaseOnUp = false;
}

template <class TBase>
void TbsButtonMixin<TBase>::ReleaseLeft() {
  if (FCheckedMode) {
    if (CheckPressed) {
      CheckPressed = false;
    } else {
      SetDown(false);
      this->Click();
    }
  } else if (FGroupIndex == 0) {
    if (MouseIn) {
      const bool WasDown = FDown;
      SetDown(false);
      StopRepeat();
      if (WasDown) this->Click();
    } else {
      // Released outside: no click; the normal look already shows without the mouse.
      FDown = false;
      StopRepeat();
    }
  } else if (FDown && FAllowAllUp && ReleaseOnUp && MouseIn) {
    SetDown(false);
    this->Click();
  }
}

template <class TBase>
void TbsButtonMixin<TBase>::StartRepeat() {
  RepeatTimer.Start(TNotifyEvent(this, &TbsButtonMixin::RepeatTimerTick), &FRepeatInterval);
}

template <class TBase>
void TbsButtonMixin<TBase>::StopRepeat() {
  RepeatTimer.Stop();
}

template <class TBase>
void TbsButtonMixin<TBase>::RepeatTimerTick(TObject*) {
  this->Click();
}

// ---- Skin part ------------------------------------------------------------------------------

template <class TBase>
bool TbsButtonMixin<TBase>::EffectsEnabled() const {
  TbsSkinData* D = this->GetSkinData();
  return D != nullptr && !D->Empty && D->GetEnableSkinEffects();
}

template <class TBase>
bool TbsButtonMixin<TBase>::AnimationPossible() const {
  return this->PartIndex != -1 && EffectsEnabled() && !IsEmptyRect(AnimateSkinRect);
}

template <class TBase>
void TbsButtonMixin<TBase>::LoadSkinPart() {
  TBase::LoadSkinPart();
  if (this->PartIndex == -1) {
    AnimateSkinRect = TRect{};
    ActiveSkinRect = TRect{};
    return;
  }
  if (auto* Part = dynamic_cast<TbsDataSkinButtonControl*>(this->BoundPart())) CopyButtonPart(Part);
  if (EffectsEnabled() && FrameAnimationRunning() && AnimationFrameIndex > 0 &&
      AnimationFrameIndex <= FrameCount) {
    if (FrameForward)
      ActiveSkinRect = FrameRect(AnimationFrameIndex);
    else
      this->SkinRect = FrameRect(AnimationFrameIndex);
  }
}

template <class TBase>
void TbsButtonMixin<TBase>::CopyButtonPart(TbsDataSkinButtonControl* Part) {
  FontName = Part->FontName;
  FontHeight = Part->FontHeight;
  FontStyle = Part->FontStyle;
  FontColor = Part->FontColor;
  ActiveFontColor = Part->ActiveFontColor;
  DownFontColor = Part->DownFontColor;
  DisabledFontColor = Part->DisabledFontColor;
  ActiveSkinRect = Part->ActiveSkinRect;
  DownSkinRect = Part->DownSkinRect;
  DisabledSkinRect = Part->DisabledSkinRect;
  FocusedSkinRect = Part->FocusedSkinRect;
  Morphing = Part->Morphing;
  MorphKind = Part->MorphKind;
  AnimateSkinRect = Part->AnimateSkinRect;
  FrameCount = Part->FrameCount;
  AnimateInterval = Part->AnimateInterval;
  ShowFocus = Part->ShowFocus;
  MenuMarkerRect = Part->MenuMarkerRect;
  MenuMarkerActiveRect = Part->MenuMarkerActiveRect;
  MenuMarkerDownRect = Part->MenuMarkerDownRect;
  MenuMarkerFlatRect = Part->MenuMarkerFlatRect;
  MenuMarkerTransparentColor = Part->MenuMarkerTransparentColor;
  if (IsEmptyRect(ActiveSkinRect)) ActiveSkinRect = this->SkinRect;
  if (IsEmptyRect(DownSkinRect)) DownSkinRect = ActiveSkinRect;
  if (IsEmptyRect(MenuMarkerActiveRect)) MenuMarkerActiveRect = MenuMarkerRect;
  if (IsEmptyRect(MenuMarkerDownRect)) MenuMarkerDownRect = MenuMarkerActiveRect;
  if (IsEmptyRect(MenuMarkerFlatRect)) MenuMarkerFlatRect = MenuMarkerRect;
  if (DisabledFontColor == FontColor) DisabledFontColor = 0x808080;
}

template <class TBase>
void TbsButtonMixin<TBase>::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || this->SizingMode == 1) {
    TBase::FitPartToSize(AWidth, AHeight);
    return;
  }
  this->NewClientRect = this->PartClientRect;
  this->NewClientRect.Right += AWidth - GetRectWidth(this->SkinRect);
  this->NewClientRect.Bottom += AHeight - GetRectHeight(this->SkinRect);
}

template <class TBase>
void TbsButtonMixin<TBase>::SetDefaultFaceFont(TCanvas* Cnvs) {
  Cnvs->SetFont(this->GetDefaultFont());
  TbsSkinData* D = this->GetSkinData();
  if (D != nullptr && D->GetResourceStrData() != nullptr)
    Cnvs->GetFont()->SetCharset(D->GetResourceStrData()->GetCharSet());
}

template <class TBase>
void TbsButtonMixin<TBase>::SetFaceFont(TCanvas* Cnvs) {
  SetDefaultFaceFont(Cnvs);
  if (!this->GetUseSkinFont()) return;
  TFont* F = Cnvs->GetFont();
  F->SetName(FontName);
  F->SetHeight(FontHeight);
  F->SetStyle(FontStyle);
}

template <class TBase>
TColor TbsButtonMixin<TBase>::StateFontColor(bool ADown, bool AMouseIn) {
  if (this->GetEnabled() && !FUseSkinFontColor) return this->GetDefaultFont()->GetColor();
  if (!this->GetEnabled()) return DisabledFontColor;
  if (ADown && AMouseIn) return DownFontColor;
  if (AMouseIn) return ActiveFontColor;
  return FontColor;
}

template <class TBase>
bool TbsButtonMixin<TBase>::DrawPartFace(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn,
                                         TRect& ContentRect) {
  if (!FUseSkinSize && this->SizingMode != 1) {
    // Free size: the state picture stretched over the face.
    TBitmap* Picture = this->SkinPicture;
    if (Picture == nullptr)
      FillPlainFace(B);
    else if (this->SizingMode == 0)
      B->GetCanvas()->CopyRect(Rect(0, 0, B->GetWidth(), B->GetHeight()), Picture->GetCanvas(), R);
    else if (this->SizingMode == 2 || this->SizingMode == 3)
      CreateStretchSkinImage(B, Picture, R, this->PartClientRect, true);
    ContentRect = this->PartClientRect;
    ContentRect.Right += B->GetWidth() - GetRectWidth(R);
    ContentRect.Bottom += B->GetHeight() - GetRectHeight(R);
  } else {
    this->CreateControlImage(B, this->SkinPicture, R);
    ContentRect = this->NewClientRect;
  }
  TCanvas* C = B->GetCanvas();
  SetFaceFont(C);
  C->GetFont()->SetColor(StateFontColor(ADown, AMouseIn));
  DrawFaceFocus(C);
  bool DrawDefault = true;
  if (OnPaint) OnPaint(this, C, ContentRect, ADown, AMouseIn, DrawDefault);
  return DrawDefault;
}

template <class TBase>
void TbsButtonMixin<TBase>::DrawMorphedFace(TBitmap* B) {
  TBitmap Hot;
  Hot.SetSize(B->GetWidth(), B->GetHeight());
  this->DrawButtonStateOf(B, this->SkinRect, false, false);
  this->DrawButtonStateOf(&Hot, ActiveSkinRect, false, true);
  TbsEffectBmp From(B->GetHandle());
  TbsEffectBmp To(Hot.GetHandle());
  const double K = MorphFraction;
  // Kinds beyond the known ones leave the normal picture.
  if (MorphKind <= 6) From.MorphByKind(&To, MorphKind, K);
  From.DrawToDC(B->GetCanvas()->GetHandle(), 0, 0);
}

// ---- Cross-fade and frames ------------------------------------------------------------------

template <class TBase>
void TbsButtonMixin<TBase>::StartMorph() {
  if (MorphRunning()) return;
  if (MorphTicker == nullptr) {
    MorphTicker = std::make_unique<TTimer>(nullptr);
    MorphTicker->SetOnTimer(TNotifyEvent(this, &TbsButtonMixin::MorphTimerTick));
  }
  MorphTicker->SetInterval(20);
  MorphTicker->SetEnabled(true);
}

template <class TBase>
void TbsButtonMixin<TBase>::StopMorph() {
  // Disabled rather than freed: a tick may be the one that stops it.
  if (MorphTicker != nullptr) MorphTicker->SetEnabled(false);
}

template <class TBase>
bool TbsButtonMixin<TBase>::MorphRunning() const {
  return MorphTicker != nullptr && MorphTicker->GetEnabled();
}

template <class TBase>
void TbsButtonMixin<TBase>::MorphTimerTick(TObject*) {
  const bool Hot = MorphTowardsHot();
  if (this->PartIndex == -1 || !MorphEnabled()) {
    MorphFraction = Hot ? 1 : 0;
    StopMorph();
    return;
  }
  if (Hot && MorphFraction < 1) {
    MorphFraction += 0.2;
  } else if (!Hot && MorphFraction > 0) {
    MorphFraction -= 0.2;
  } else {
    MorphFraction = Hot ? 1 : 0;
    StopMorph();
  }
  // Five steps of 0.2 may not add up to exactly 1 in floating point.
  if (MorphFraction > 0.999) MorphFraction = Hot ? 1 : MorphFraction;
  if (MorphFraction < 0.001) MorphFraction = Hot ? MorphFraction : 0;
  this->Repaint();
}

template <class TBase>
void TbsButtonMixin<TBase>::StartFrameAnimation(bool Forward) {
  StopFrameAnimation();
  FrameForward = Forward;
  AnimationFrameIndex = Forward ? 1 : FrameCount;
  if (FrameTimer == nullptr) {
    FrameTimer = std::make_unique<TTimer>(nullptr);
    FrameTimer->SetOnTimer(TNotifyEvent(this, &TbsButtonMixin::FrameTimerTick));
  }
  FrameTimer->SetInterval(static_cast<Cardinal>(std::max<Integer>(AnimateInterval, 1)));
  FrameTimer->SetEnabled(true);
}

template <class TBase>
void TbsButtonMixin<TBase>::StopFrameAnimation() {
  AnimationFrameIndex = 0;
  if (FrameTimer != nullptr) FrameTimer->SetEnabled(false);
}

template <class TBase>
bool TbsButtonMixin<TBase>::FrameAnimationRunning() const {
  return FrameTimer != nullptr && FrameTimer->GetEnabled();
}

template <class TBase>
void TbsButtonMixin<TBase>::FrameTimerTick(TObject*) {
  if (FrameForward ? AnimationFrameIndex <= FrameCount : AnimationFrameIndex >= 0)
    AnimationFrameIndex += FrameForward ? 1 : -1;
  if (FrameForward ? AnimationFrameIndex > FrameCount : AnimationFrameIndex <= 0) StopFrameAnimation();
  this->Repaint();
}

template <class TBase>
TRect TbsButtonMixin<TBase>::FrameRect(Integer N) const {
  const TRect& A = AnimateSkinRect;
  const Integer Count = std::max<Integer>(FrameCount, 1);
  if (GetRectWidth(A) > GetRectWidth(this->SkinRect)) {
    const Integer W = GetRectWidth(A) / Count;
    return Rect(A.Left + (N - 1) * W, A.Top, A.Left + N * W, A.Bottom);
  }
  const Integer H = GetRectHeight(A) / Count;
  return Rect(A.Left, A.Top + (N - 1) * H, A.Right, A.Top + N * H);
}

template class TbsButtonMixin<TbsSkinCustomControl>;
template class TbsButtonMixin<TbsGraphicSkinCustomControl>;
