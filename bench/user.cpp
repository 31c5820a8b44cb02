// The window layer's loop costs: an empty PeekMessage/dispatch round, and invalidate-and-pump
// rounds whose presents must stay at about 60 per second of clock time.
#include <benchmark/benchmark.h>

#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"

namespace {

HWND BenchWindow() {
  static const bool Registered = [] {
    WNDCLASS WC;
    WC.lpfnWndProc = DefWindowProcEntry();
    WC.lpszClassName = "TvBench";
    WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    return RegisterClass(&WC) != 0;
  }();
  (void)Registered;
  return CreateWindowEx(0, "TvBench", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr, nullptr,
                        nullptr);
}

void BM_EmptyPeekDispatch(benchmark::State& State) {
  Headless();
  HWND W = BenchWindow();
  RunUntilIdle();
  MSG M;
  for (auto _ : State) {
    if (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&M);
  }
  DestroyWindow(W);
  RunUntilIdle();
}
BENCHMARK(BM_EmptyPeekDispatch)->Iterations(1000000);

// One round: invalidate, pump until empty, one millisecond of fake time.
void BM_InvalidateAndPump(benchmark::State& State) {
  THeadlessDisplay& D = Headless();
  TFakeClock Clock(1000);
  SetClockSource(&Clock);
  HWND W = BenchWindow();
  RunUntilIdle();
  const UInt64 Before = D.Presents();
  Int64 Rounds = 0;
  MSG M;
  for (auto _ : State) {
    InvalidateRect(W, nullptr, TRUE);
    while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&M);
    Clock.Advance(1);
    ++Rounds;
  }
  const double Seconds = static_cast<double>(Rounds) / 1000.0;
  State.counters["presents_per_clock_second"] = static_cast<double>(D.Presents() - Before) / Seconds;
  DestroyWindow(W);
  RunUntilIdle();
  SetClockSource(nullptr);
}
BENCHMARK(BM_InvalidateAndPump)->Iterations(20000);

}  // namespace
