// The view's transition engine: made by the first transition event set, stopped on resizing
// and blanking, freed with the view.
#include "imaging/view/zezudidview.h"

TIETransitionEffects* TZezudIdView::TransitionEngine() {
  if (!FTransition) {
    FTransition = std::make_unique<TIETransitionEffects>(this);
    FTransition->DrawViewBackground = TIEDrawViewBackground(this, &TZezudIdView::DrawBackgroundTo);
  }
  return FTransition.get();
}

void TZezudIdView::StopTransition() {
  if (FTransition) FTransition->Stop();
}

TNotifyEvent TZezudIdView::GetOnTransitionStop() const {
  return FTransition ? FTransition->OnTransitionStop : TNotifyEvent();
}

void TZezudIdView::SetOnTransitionStop(TNotifyEvent Value) {
  TransitionEngine()->OnTransitionStop = Value;
}

TIETransitionStepEvent TZezudIdView::GetOnTransitionStep() const {
  return FTransition ? FTransition->OnTransitionStep : TIETransitionStepEvent();
}

void TZezudIdView::SetOnTransitionStep(TIETransitionStepEvent Value) {
  TransitionEngine()->OnTransitionStep = Value;
}

TIEOnTransitionPaint TZezudIdView::GetOnTransitionPaint() const {
  return FTransition ? FTransition->OnTransitionPaint : TIEOnTransitionPaint();
}

void TZezudIdView::SetOnTransitionPaint(TIEOnTransitionPaint Value) {
  TransitionEngine()->SetOnTransitionPaint(Value);
}
