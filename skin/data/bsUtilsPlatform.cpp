// Which optional facilities the platform offers, answered from one fixed version.
#include "platform/classes/Screen.h"
#include "platform/user/ScrollInfo.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinUser.h"
#include "skin/data/bsUtils.h"

namespace {

// The one answer set: a 6.1 system with layered windows and no desktop compositor.
constexpr Integer SkinMajorVersion = 6;
constexpr Integer SkinMinorVersion = 1;
constexpr bool HasCompositor = false;

}  // namespace

void GetWindowsVersion(Integer& Major, Integer& Minor) {
  Major = SkinMajorVersion;
  Minor = SkinMinorVersion;
}

bool IsLayeredWindowAvailable() {
  Integer Major, Minor;
  GetWindowsVersion(Major, Minor);
  return Major > 5 || (Major == 5 && Minor <= 2);
}

bool IsWindowsXPOrLater() {
  Integer Major, Minor;
  GetWindowsVersion(Major, Minor);
  return Major > 5 || (Major == 5 && Minor == 1);
}

bool IsWindowsVistaOrLater() {
  Integer Major, Minor;
  GetWindowsVersion(Major, Minor);
  return Major > 5;
}

bool IsWindows7() {
  Integer Major, Minor;
  GetWindowsVersion(Major, Minor);
  return Major == 6 && Minor == 1;
}

bool IsMultiMonitor() {
  return GetSystemMetrics(SM_CMONITORS) > 1;
}

void GetScreenWorkArea(bool WorkArea, TRect& R) {
  if (WorkArea)
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
  else
    R = Rect(0, 0, Screen->GetWidth(), Screen->GetHeight());
}

void GetMonitorRect(HWND Wnd, bool WorkArea, TRect& R) {
  if (!IsMultiMonitor()) {
    GetScreenWorkArea(WorkArea, R);
    return;
  }
  MONITORINFO Info;
  if (GetMonitorInfo(MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST), &Info))
    R = WorkArea ? Info.rcWork : Info.rcMonitor;
}

Integer GetScrollBarInfoSafe(HWND Wnd, LONG ObjectId, SCROLLBARINFO& Info) {
  return GetScrollBarInfo(Wnd, ObjectId, &Info);
}

bool IsDwmCompositionEnabled() {
  return HasCompositor;
}

void SetDwmTransitions(HWND /*Wnd*/, Integer /*Flag*/) {}

void EnableDwmBlurBehind(HWND /*Wnd*/, bool /*Enable*/, HRGN /*Region*/) {}
