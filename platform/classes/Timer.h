#pragma once
// TTimer: OnTimer every Interval milliseconds while Enabled, through a WM_TIMER of its own
// hidden window (so timers follow the window layer's clock, and a fake clock in tests).
#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/user/Messages.h"
#include "platform/user/WinUser.h"

class TTimer : public TComponent {
 public:
  // Enabled, Interval 1000.
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal GetInterval() const { return FInterval; }
  // 0 stops the timer.
  void SetInterval(Cardinal Value);
  TNotifyEvent GetOnTimer() const { return FOnTimer; }
  // The timer runs only while it has a handler.
  void SetOnTimer(TNotifyEvent Value);

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  HWND FWindowHandle = nullptr;
  Cardinal FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
};
