// The state and glyph shared by the skinned push and tool buttons.
#include "skin/controls/bsSkinButtonMixin.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "skin/controls/bsSkinCtrls.h"

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

template <class TBase>
bool TbsButtonMixin<TBase>::DrawPartFace(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
  this->CreateControlImage(B, this->SkinPicture, R);
  TCanvas* C = B->GetCanvas();
  C->SetFont(this->GetDefaultFont());
  bool DrawDefault = true;
  if (OnPaint) OnPaint(this, C, this->NewClientRect, ADown, AMouseIn, DrawDefault);
  return DrawDefault;
}

template class TbsButtonMixin<TbsSkinCustomControl>;
template class TbsButtonMixin<TbsGraphicSkinCustomControl>;
