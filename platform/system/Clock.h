#pragma once
// The time sources: tick counts, the performance counter, Sleep and the wall clock behind
// Now. All of them read one installed TClockSource, so that a test can put a TFakeClock in
// place and make time move only when it says so.
#include <atomic>
#include <mutex>

#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

class TClockSource {
 public:
  virtual ~TClockSource() = default;
  // Nanoseconds since an arbitrary start; never goes backwards.
  virtual Int64 MonotonicNanoseconds() = 0;
  // Local date and time.
  virtual TDateTime WallClockNow() = 0;
  virtual void SleepFor(DWORD Milliseconds) = 0;
};

// Installs Source for every thread; nullptr puts the real clock back. The caller keeps
// ownership and must keep Source alive while it is installed.
void SetClockSource(TClockSource* Source);
TClockSource& GetClockSource();

// Milliseconds since start; the DWORD forms wrap around after 49.7 days.
DWORD GetTickCount();
UInt64 GetTickCount64();
DWORD timeGetTime();
// The counter runs at 10 MHz (100 ns units), as on current versions of the platform.
inline constexpr Int64 PerformanceFrequency = 10000000;
BOOL QueryPerformanceCounter(Int64& lpPerformanceCount);
BOOL QueryPerformanceFrequency(Int64& lpFrequency);
// Sleep(0) gives up the rest of the time slice.
void Sleep(DWORD dwMilliseconds);

// Time that moves only through Advance, SetNow and Sleep; Sleep returns at once. Safe to
// read and advance from several threads. Uninstalls itself when destroyed while installed.
class TFakeClock : public TClockSource {
 public:
  // StartNow defaults to 1 Jan 2000, 00:00.
  explicit TFakeClock(UInt64 StartMilliseconds = 0, TDateTime StartNow = 36526.0);
  ~TFakeClock() override;
  TFakeClock(const TFakeClock&) = delete;
  TFakeClock& operator=(const TFakeClock&) = delete;

  // Moves the monotonic clock and the wall clock together.
  void Advance(Int64 Milliseconds);
  // Sets the wall clock without touching the monotonic clock.
  void SetNow(TDateTime Value);

  Int64 MonotonicNanoseconds() override;
  TDateTime WallClockNow() override;
  void SleepFor(DWORD Milliseconds) override;

 private:
  std::atomic<Int64> FNanoseconds;
  std::mutex FWallLock;
  TDateTime FWallBase;  // wall time at FWallBaseNanos
  Int64 FWallBaseNanos = 0;
};
