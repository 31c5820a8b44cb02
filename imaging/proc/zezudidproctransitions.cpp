// The transition engine: timing, frame dispatch, showing frames on the view, and the end of a run.
#include "imaging/proc/zezudidproctransitions.h"

#include <cmath>

#include "imaging/io/ieview.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/system/Clock.h"

namespace {

std::unique_ptr<TBitmap> NewWorkBitmap() {
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetWidth(1);
  Bitmap->SetHeight(1);
  return Bitmap;
}

// The step for t = elapsed / duration. The logarithmic curve has no value at 0 and is negative
// just after it; the routines take 0 to 1024, so anything below 0 (or not a number) is 0.
bool CurveStep(Byte Timing, Double T, Integer& Step) {
  Double V;
  switch (Timing) {
    case 0:
      V = T * 1024;
      break;
    case 1:
      V = std::exp(5 * T - 2.718) / 10 * 1024;
      break;
    case 2:
      V = (std::log(10 * T) + 2.718) / 5 * 1024;
      break;
    default:
      return false;
  }
  if (!(V > 0)) V = 0;
  if (V > 1024) V = 1024;
  Step = static_cast<Integer>(std::trunc(V));
  return true;
}

}  // namespace

TIETransitionEffects::TIETransitionEffects(TIEView* AView) : View(AView) {
  CurrentBitmap = NewWorkBitmap();
  PrevBitmap = NewWorkBitmap();
  NextBitmap = NewWorkBitmap();
  Timer = new TTimer(AView);
  Timer->SetEnabled(false);
  Timer->SetInterval(1);
  Timer->SetOnTimer(TNotifyEvent(this, &TIETransitionEffects::TimerStep));
}

TIETransitionEffects::~TIETransitionEffects() {
  PrevRows.clear();
  NextRows.clear();
  CurrentRows.clear();
  delete Timer;
  Timer = nullptr;
}

void TIETransitionEffects::Stop() {
  if (!Running || TransitionNumber == 0) return;
  Timer->SetEnabled(false);
  Running = false;
  for (TBitmap* Bitmap : {CurrentBitmap.get(), PrevBitmap.get(), NextBitmap.get()}) {
    Bitmap->SetWidth(1);
    Bitmap->SetHeight(1);
  }
  if (View) {
    View->UnlockPaintNoRefresh();
    if (UpdateOnStop) View->Update();
  }
  if (OnTransitionStop) OnTransitionStop(View);
}

void TIETransitionEffects::TimerStep(TObject*) {
  if (!Running) return;
  if (OnTransitionStep) {
    OnTransitionStep(View, StepValue);
    // The handler may have ended the run; its bitmaps are 1 x 1 now.
    if (!Running) return;
  }
  ++FrameCount;
  DrawFrame();
  ShowOnView(CurrentBitmap.get());
  if (OnTransitionPaint) OnTransitionPaint(View, CurrentBitmap.get(), this, StepValue);

  // Unsigned, so a run across the wrap of the tick counter still ends on time. A duration of
  // 0 or less has passed at once instead of lasting for weeks as a huge unsigned number.
  const Cardinal Elapsed = static_cast<Cardinal>(GetTickCount()) - StartTick;
  const bool Over = Duration <= 0 || Elapsed >= static_cast<Cardinal>(Duration);
  if (Over && Running) {
    if (UpdateOnStop && TransitionNumber != IEPanZoomTransition) {
      ShowOnView(NextBitmap.get());
      if (OnTransitionPaint) OnTransitionPaint(View, NextBitmap.get(), this, 1024);
    }
    Stop();
  }
  const Double T = Duration > 0 ? static_cast<Double>(Elapsed) / Duration : 1.0;
  CurveStep(Timing, T, StepValue);
}

void TIETransitionEffects::DrawFrame() {
  const Integer Number = TransitionNumber;
  if (Number >= 1 && Number <= 30)
    IEDrawBuiltinTransition(*this, Number, StepValue);
  else if (Number == IEPanZoomTransition)
    IEPanZoomStep(*this, StepValue);
  else
    DrawExtraTransition(Number, StepValue);
}

void TIETransitionEffects::DrawExtraTransition(Integer Number, Integer Step) {
  if (Number < 1 || Number > IETransitionCount) return;
  if (Step == 0) {
    CurrentBitmap->Assign(PrevBitmap.get());
    return;
  }
  const TExtraTransitionProc Proc = ExtraTransitionTable[Number - 1].Proc;
  if (Proc == nullptr) return;
  TCanvas* Canvas = CurrentBitmap->GetCanvas();
  SetStretchBltMode(Canvas->GetHandle(), HALFTONE);
  const TRect Rect{0, 0, CurrentBitmap->GetWidth(), CurrentBitmap->GetHeight()};
  const Integer Progress = static_cast<Integer>(std::nearbyint(Step * 100.0 / 1024));
  Proc(Canvas, PrevBitmap.get(), NextBitmap.get(), Rect, 1, Progress);
}

// A view without a window has no canvas to show the frame on; the paint handler still gets it.
void TIETransitionEffects::ShowOnView(TBitmap* Bitmap) {
  if (!View || !View->HandleAllocated()) return;
  BitBlt(View->GetCanvas()->GetHandle(), 0, 0, FrameWidth, FrameHeight, Bitmap->GetCanvas()->GetHandle(), 0,
         0, SRCCOPY);
}
