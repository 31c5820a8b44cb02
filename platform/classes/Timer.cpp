#include "platform/classes/Timer.h"

#include "platform/classes/Application.h"
#include "platform/classes/UtilityWindow.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WndProc.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd(TDelegate<void(TMessage&)>(this, &TTimer::WndProc));
}

TTimer::~TTimer() {
  Destroying();
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    Timer();
  } catch (...) {
    if (Application != nullptr) Application->HandleException(this);
  }
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  if (FInterval != 0 && FEnabled && FOnTimer && SetTimer(FWindowHandle, 1, FInterval, nullptr) == 0)
    throw EOutOfResources("Not enough timers available");
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = Value;
  UpdateTimer();
}

void TTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}
