// TTrackBar and TProgressBar over the native trackbar and progress bar.
#include <algorithm>

#include "platform/classes/ComCtrls.h"
#include "platform/user/CommonControls.h"
#include "platform/user/WindowMessages.h"

// ---- TTrackBar --------------------------------------------------------------------------------

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csDoubleClicks);
  FControlStyle.Exclude(csSetCaption);
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

void TTrackBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      CNScroll(Message);
      break;
    case WM_GETDLGCODE:
      DefaultHandler(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TTrackBar::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, TRACKBAR_CLASS);
  Params.Style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
  switch (FTickStyle) {
    case tsNone:
      Params.Style |= TBS_NOTICKS;
      break;
    case tsAuto:
      Params.Style |= TBS_AUTOTICKS;
      break;
    case tsManual:
      break;
  }
  switch (FTickMarks) {
    case tmBottomRight:
      Params.Style |= TBS_BOTTOM;
      break;
    case tmTopLeft:
      Params.Style |= TBS_TOP;
      break;
    case tmBoth:
      Params.Style |= TBS_BOTH;
      break;
  }
  Params.Style |= TBS_ENABLESELRANGE | TBS_FIXEDLENGTH;
  if (!FSliderVisible) Params.Style |= TBS_NOTHUMB;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
  Params.WindowClass.style &= ~CS_DBLCLKS;
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  const HWND Wnd = GetWindowHandle();
  SendMessage(Wnd, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(FThumbLength), 0);
  SendMessage(Wnd, TBM_SETLINESIZE, 0, FLineSize);
  SendMessage(Wnd, TBM_SETPAGESIZE, 0, FPageSize);
  SendMessage(Wnd, TBM_SETRANGEMIN, FALSE, FMin);
  SendMessage(Wnd, TBM_SETRANGEMAX, FALSE, FMax);
  SendMessage(Wnd, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
  for (Integer Tick : FTicks) SendMessage(Wnd, TBM_SETTIC, 0, Tick);
  UpdateSelection();
  SendMessage(Wnd, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::UpdateSelection() {
  if (!HandleAllocated()) return;
  if (FSelStart == 0 && FSelEnd == 0)
    SendMessage(GetWindowHandle(), TBM_CLEARSEL, TRUE, 0);
  else
    SendMessage(GetWindowHandle(), TBM_SETSEL, TRUE, MAKELPARAM(FSelStart, FSelEnd));
}

Integer TTrackBar::GetPosition() {
  if (HandleAllocated()) FPosition = static_cast<Integer>(SendMessage(GetWindowHandle(), TBM_GETPOS, 0, 0));
  return FPosition;
}

void TTrackBar::SetPosition(Integer Value) {
  Value = std::clamp(Value, FMin, std::max(FMin, FMax));
  if (Value == GetPosition()) return;
  FPosition = Value;
  if (HandleAllocated()) SendMessage(GetWindowHandle(), TBM_SETPOS, TRUE, Value);
  Changed();
}

void TTrackBar::SetRange(Integer AMin, Integer AMax) {
  FMin = AMin;
  FMax = std::max(AMin, AMax);
  if (HandleAllocated()) {
    SendMessage(GetWindowHandle(), TBM_SETRANGEMIN, FALSE, FMin);
    SendMessage(GetWindowHandle(), TBM_SETRANGEMAX, TRUE, FMax);
  }
  SetPosition(FPosition);
}

void TTrackBar::SetFrequency(Integer Value) {
  FFrequency = std::max(1, Value);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
}

void TTrackBar::SetLineSize(Integer Value) {
  FLineSize = std::max(0, Value);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), TBM_SETLINESIZE, 0, FLineSize);
}

void TTrackBar::SetPageSize(Integer Value) {
  FPageSize = std::max(0, Value);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), TBM_SETPAGESIZE, 0, FPageSize);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
  if (FTickMarks == Value) return;
  FTickMarks = Value;
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
  if (FTickStyle == Value) return;
  FTickStyle = Value;
  RecreateWnd();
}

void TTrackBar::SetSelStart(Integer Value) {
  FSelStart = Value;
  UpdateSelection();
}

void TTrackBar::SetSelEnd(Integer Value) {
  FSelEnd = Value;
  UpdateSelection();
}

void TTrackBar::SetThumbLength(Integer Value) {
  FThumbLength = std::max(1, Value);
  if (HandleAllocated())
    SendMessage(GetWindowHandle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(FThumbLength), 0);
}

void TTrackBar::SetSliderVisible(bool Value) {
  if (FSliderVisible == Value) return;
  FSliderVisible = Value;
  RecreateWnd();
}

void TTrackBar::SetTick(Integer Value) {
  FTicks.push_back(Value);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), TBM_SETTIC, 0, Value);
}

void TTrackBar::Changed() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

void TTrackBar::CNScroll(TMessage& Message) {
  // Every notification reports the window's position; OnChange follows a change only.
  const Integer Old = FPosition;
  if (GetPosition() != Old) Changed();
  Message.Result = 0;
}

// ---- TProgressBar -----------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, PROGRESS_CLASS);
  if (FSmooth) Params.Style |= PBS_SMOOTH;
  if (FOrientation == pbVertical) Params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  const HWND Wnd = GetWindowHandle();
  SendMessage(Wnd, PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SendMessage(Wnd, PBM_SETSTEP, static_cast<WPARAM>(FStep), 0);
  SendMessage(Wnd, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::DestroyWnd() {
  FPosition = GetPosition();
  TWinControl::DestroyWnd();
}

Integer TProgressBar::GetPosition() {
  if (HandleAllocated()) return static_cast<Integer>(SendMessage(GetWindowHandle(), PBM_GETPOS, 0, 0));
  return FPosition;
}

void TProgressBar::SetPosition(Integer Value) {
  FPosition = std::clamp(Value, FMin, std::max(FMin, FMax));
  if (HandleAllocated()) SendMessage(GetWindowHandle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetMin(Integer Value) {
  FMin = Value;
  FMax = std::max(FMin, FMax);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SetPosition(GetPosition());
}

void TProgressBar::SetMax(Integer Value) {
  FMax = std::max(FMin, Value);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SetPosition(GetPosition());
}

void TProgressBar::SetStep(Integer Value) {
  FStep = Value;
  if (HandleAllocated()) SendMessage(GetWindowHandle(), PBM_SETSTEP, static_cast<WPARAM>(FStep), 0);
}

void TProgressBar::StepIt() {
  if (HandleAllocated()) {
    SendMessage(GetWindowHandle(), PBM_STEPIT, 0, 0);
    return;
  }
  // The window's wrap: past either end the position goes round by the range.
  const Integer Span = FMax - FMin;
  const Integer P = FPosition + FStep;
  if (Span <= 0)
    FPosition = FMin;
  else if (P > FMax)
    FPosition = (P - FMin) % Span + FMin;
  else if (P < FMin)
    FPosition = FMax - (FMin - P) % Span;
  else
    FPosition = P;
}

void TProgressBar::StepBy(Integer Delta) {
  SetPosition(GetPosition() + Delta);
}

void TProgressBar::SetSmooth(bool Value) {
  if (FSmooth == Value) return;
  FSmooth = Value;
  RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  RecreateWnd();
}
