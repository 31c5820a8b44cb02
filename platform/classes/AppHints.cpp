// TApplication's hints and the control under the mouse: a mouse message over a control with
// ShowHint starts the hint timer (HintPause, HintShortPause while a hint shows); when it fires
// and the mouse is still over that control, the hint window shows the control's short hint
// below the cursor until HintHidePause passes, the mouse leaves the control or a key or click
// comes. CM_MOUSEENTER / CM_MOUSELEAVE follow the mouse from control to control.
#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/HintWindow.h"
#include "platform/classes/Screen.h"
#include "platform/classes/UserBridge.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

// The control whose hint shows for Control: the first up the parents with ShowHint.
TControl* GetHintControl(TControl* Control) {
  while (Control != nullptr && !Control->GetShowHint()) Control = Control->GetParent();
  return Control;
}

}  // namespace

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (Value) {
    CreateHintWindow();
  } else {
    CancelHint();
    DestroyHintWindow();
  }
}

void TApplication::CreateHintWindow() {
  if (FHintWindow != nullptr) return;
  FHintWindow = HintWindowClass != nullptr ? HintWindowClass(this) : new THintWindow(this);
  FHintWindow->SetColor(FHintColor);
}

void TApplication::DestroyHintWindow() {
  THintWindow* Window = FHintWindow;
  FHintWindow = nullptr;
  delete Window;
}

void TApplication::SetHintColor(TColor Value) {
  FHintColor = Value;
  if (FHintWindow != nullptr) FHintWindow->SetColor(Value);
}

void TApplication::SetHint(const std::string& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) {
    try {
      OnHint(this);
    } catch (...) {
      HandleException(this);
    }
  }
}

bool TApplication::IsHintMsg(MSG& Msg) {
  if (FHintWindow == nullptr || !FHintWindow->IsHintMsg(Msg)) return false;
  CancelHint();
  return false;
}

void TApplication::StartHintTimer(Integer Value, bool ShowMode) {
  StopHintTimer();
  FHintTimer = SetTimer(nullptr, 0, static_cast<UINT>(std::max(Value, 1)), &TApplication::HintTimerProc);
  FHintTimerShows = ShowMode;
  if (FHintTimer == 0) CancelHint();
}

void TApplication::StopHintTimer() {
  if (FHintTimer == 0) return;
  KillTimer(nullptr, FHintTimer);
  FHintTimer = 0;
}

void TApplication::HintTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (Application == nullptr) return;
  try {
    Application->HintTimerExpired();
  } catch (...) {
    Application->HandleException(Application);
  }
}

void TApplication::HintTimerExpired() {
  StopHintTimer();
  if (!FHintTimerShows) {
    HideHint();
    return;
  }
  POINT P;
  GetCursorPos(&P);
  ActivateHint(P);
}

void TApplication::HideHint() {
  if (FHintWindow != nullptr && FHintWindow->HandleAllocated() &&
      IsWindowVisible(FHintWindow->GetWindowHandle()))
    ShowWindow(FHintWindow->GetWindowHandle(), SW_HIDE);
}

void TApplication::CancelHint() {
  if (FHintControl == nullptr) return;
  HideHint();
  FHintControl = nullptr;
  FHintActive = false;
  StopHintTimer();
}

void TApplication::ActivateHint(TPoint CursorPos) {
  FHintActive = false;
  if (!FShowHint || FHintControl == nullptr ||
      FHintControl != GetHintControl(FindDragTarget(CursorPos, false))) {
    CancelHint();
    return;
  }
  THintInfo Info;
  Info.HintControl = FHintControl;
  Info.HintPos = CursorPos;
  // Below the cursor: the platform measures the cursor's shape; without shapes, its height.
  Info.HintPos.Y += GetSystemMetrics(SM_CYCURSOR);
  Info.HintMaxWidth = Screen != nullptr ? Screen->GetWidth() : 1024;
  Info.HintColor = FHintColor;
  Info.CursorRect = FHintControl->GetBoundsRect();
  const TPoint ClientOrigin = FHintControl->GetClientOrigin();
  TPoint ParentOrigin{0, 0};
  if (FHintControl->GetParent() != nullptr) ParentOrigin = FHintControl->GetParent()->GetClientOrigin();
  const Integer Dx = ParentOrigin.X - ClientOrigin.X, Dy = ParentOrigin.Y - ClientOrigin.Y;
  Info.CursorRect = {Info.CursorRect.Left + Dx, Info.CursorRect.Top + Dy, Info.CursorRect.Right + Dx,
                     Info.CursorRect.Bottom + Dy};
  Info.CursorPos = FHintControl->ScreenToClient(CursorPos);
  Info.HintStr = GetShortHint(FHintControl->GetHint());
  Info.ReshowTimeout = 0;
  Info.HideTimeout = FHintHidePause;
  Info.HintWindowClass = HintWindowClass;
  bool CanShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info)) == 0;
  if (CanShow && OnShowHint) OnShowHint(Info.HintStr, CanShow, Info);
  FHintActive = CanShow && FHintControl != nullptr;
  if (FHintActive && !Info.HintStr.empty()) {
    if (FHintWindow == nullptr) CreateHintWindow();
    TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.HintData);
    R = {R.Left + Info.HintPos.X, R.Top + Info.HintPos.Y, R.Right + Info.HintPos.X,
         R.Bottom + Info.HintPos.Y};
    const TPoint TopLeft = FHintControl->ClientToScreen(Info.CursorRect.TopLeft());
    const TPoint BottomRight = FHintControl->ClientToScreen(Info.CursorRect.BottomRight());
    FHintCursorRect = {TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y};
    FHintWindow->SetColor(Info.HintColor);
    FHintWindow->ActivateHintData(R, Info.HintStr, Info.HintData);
    if (Info.ReshowTimeout > 0)
      StartHintTimer(Info.ReshowTimeout, true);
    else
      StartHintTimer(Info.HideTimeout, false);
    return;
  }
  if (Info.ReshowTimeout > 0)
    StartHintTimer(Info.ReshowTimeout, true);
  else
    CancelHint();
}

void TApplication::SetMouseControl(TControl* Control) {
  if (Control != nullptr && Control->GetComponentState().Contains(csDestroying)) Control = nullptr;
  if (FMouseControl == Control) return;
  // While a control holds the mouse, only it hears of the mouse leaving and coming back.
  TControl* Capture = GetCaptureControl();
  if (FMouseControl != nullptr && (Capture == nullptr || FMouseControl == Capture))
    FMouseControl->Perform(CM_MOUSELEAVE, 0, 0);
  FMouseControl = Control;
  if (FMouseControl != nullptr && (Capture == nullptr || FMouseControl == Capture))
    FMouseControl->Perform(CM_MOUSEENTER, 0, 0);
}

TControl* TApplication::DoMouseIdle() {
  POINT P;
  GetCursorPos(&P);
  TControl* Result = FindDragTarget(P, true);
  SetMouseControl(Result);
  return Result;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  if (Control->GetParent() == nullptr && dynamic_cast<TWinControl*>(Control) == nullptr) return;
  const TPoint Pos = Control->ClientToScreen(LParamToPoint(Message.LParam));
  TControl* Target = FindDragTarget(Pos, true);
  SetMouseControl(Target);
  TControl* NewHintControl = GetHintControl(Target);
  if (NewHintControl == nullptr || !NewHintControl->GetShowHint()) {
    CancelHint();
    return;
  }
  if (NewHintControl != FHintControl || !PtInRect(FHintCursorRect, Pos)) {
    const bool WasHintActive = FHintActive;
    Integer Pause = WasHintActive ? FHintShortPause : FHintPause;
    NewHintControl->Perform(CM_HINTSHOWPAUSE, WasHintActive ? 1 : 0, reinterpret_cast<LPARAM>(&Pause));
    CancelHint();
    FHintActive = WasHintActive;
    FHintControl = NewHintControl;
    StartHintTimer(Pause, true);
  }
}
