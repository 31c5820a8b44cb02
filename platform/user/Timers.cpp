// The timer list: few timers, so a plain vector scanned in order.
#include "platform/user/Timers.h"

#include <algorithm>
#include <vector>

#include "platform/system/Clock.h"
#include "platform/system/Threads.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/Windows.h"

namespace {

struct TTimer {
  HWND Wnd;
  UINT_PTR Id;
  UINT Interval;
  TIMERPROC Proc;
  UInt64 Due;
};

std::vector<TTimer>& Timers() {
  static std::vector<TTimer> List;
  return List;
}

UINT_PTR GNextThreadTimer = 1;

}  // namespace

UINT_PTR SetTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc) {
  if (!IsMainThread()) return 0;
  if (Wnd != nullptr && WindowFromHandle(Wnd) == nullptr) return 0;
  const UINT Interval = std::clamp<UINT>(Elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  const UInt64 Due = GetTickCount64() + Interval;
  auto& L = Timers();
  for (TTimer& T : L)
    if (T.Wnd == Wnd && T.Id == Id && (Wnd != nullptr || Id != 0)) {
      T.Interval = Interval;
      T.Proc = Proc;
      T.Due = Due;
      return Wnd != nullptr ? (Id != 0 ? Id : 1) : Id;
    }
  if (Wnd == nullptr) {
    do Id = GNextThreadTimer++;
    while (std::any_of(L.begin(), L.end(), [&](const TTimer& T) { return T.Wnd == nullptr && T.Id == Id; }));
  }
  L.push_back(TTimer{Wnd, Id, Interval, Proc, Due});
  return Wnd != nullptr ? (Id != 0 ? Id : 1) : Id;
}

BOOL KillTimer(HWND Wnd, UINT_PTR Id) {
  auto& L = Timers();
  auto It = std::find_if(L.begin(), L.end(), [&](const TTimer& T) { return T.Wnd == Wnd && T.Id == Id; });
  if (It == L.end()) return FALSE;
  L.erase(It);
  return TRUE;
}

void RemoveWindowTimers(HWND Wnd) {
  std::erase_if(Timers(), [&](const TTimer& T) { return T.Wnd == Wnd; });
}

DWORD NextTimerDue() {
  auto& L = Timers();
  if (L.empty()) return 0xFFFFFFFFu;
  const UInt64 Now = GetTickCount64();
  UInt64 Best = ~UInt64{0};
  for (const TTimer& T : L) Best = std::min(Best, T.Due);
  return Best <= Now ? 0 : static_cast<DWORD>(std::min<UInt64>(Best - Now, 0xFFFFFFFEu));
}

bool FindDueTimer(TWindow* Filter, bool ThreadOnly, bool Remove, MSG& Out) {
  auto& L = Timers();
  if (L.empty()) return false;
  const UInt64 Now = GetTickCount64();
  TTimer* Best = nullptr;
  for (TTimer& T : L) {
    if (T.Due > Now) continue;
    if (ThreadOnly && T.Wnd != nullptr) continue;
    if (Filter != nullptr &&
        (T.Wnd == nullptr || (T.Wnd != Filter->Handle && !IsChild(Filter->Handle, T.Wnd))))
      continue;
    if (Best == nullptr || T.Due < Best->Due) Best = &T;
  }
  if (Best == nullptr) return false;
  Out.hwnd = Best->Wnd;
  Out.message = WM_TIMER;
  Out.wParam = Best->Id;
  Out.lParam = reinterpret_cast<LPARAM>(Best->Proc);
  if (Remove) Best->Due = Now + Best->Interval;
  return true;
}
