#include "platform/system/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "platform/system/DateTime.h"

namespace {

class TSystemClock : public TClockSource {
 public:
  Int64 MonotonicNanoseconds() override {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  TDateTime WallClockNow() override {
    using namespace std::chrono;
    const auto Since = system_clock::now().time_since_epoch();
    const auto Seconds = duration_cast<std::chrono::seconds>(Since);
    const auto MSec = duration_cast<milliseconds>(Since - Seconds).count();
    const std::time_t T = static_cast<std::time_t>(Seconds.count());
    std::tm Local{};
    localtime_r(&T, &Local);
    // A leap second reads as the last second of its minute.
    const int Sec = Local.tm_sec > 59 ? 59 : Local.tm_sec;
    return EncodeDate(static_cast<Word>(Local.tm_year + 1900), static_cast<Word>(Local.tm_mon + 1),
                      static_cast<Word>(Local.tm_mday)) +
           EncodeTime(static_cast<Word>(Local.tm_hour), static_cast<Word>(Local.tm_min),
                      static_cast<Word>(Sec), static_cast<Word>(MSec));
  }

  void SleepFor(DWORD Milliseconds) override {
    if (Milliseconds == 0)
      std::this_thread::yield();
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
  }
};

TSystemClock SystemClock;
std::atomic<TClockSource*> Installed{nullptr};

UInt64 MonotonicMilliseconds() {
  return static_cast<UInt64>(GetClockSource().MonotonicNanoseconds()) / 1000000u;
}

}  // namespace

void SetClockSource(TClockSource* Source) {
  Installed.store(Source);
}

TClockSource& GetClockSource() {
  TClockSource* Source = Installed.load();
  return Source ? *Source : SystemClock;
}

DWORD GetTickCount() {
  return static_cast<DWORD>(MonotonicMilliseconds());
}
UInt64 GetTickCount64() {
  return MonotonicMilliseconds();
}
DWORD timeGetTime() {
  return static_cast<DWORD>(MonotonicMilliseconds());
}

BOOL QueryPerformanceCounter(Int64& lpPerformanceCount) {
  lpPerformanceCount = GetClockSource().MonotonicNanoseconds() / (1000000000 / PerformanceFrequency);
  return TRUE;
}

BOOL QueryPerformanceFrequency(Int64& lpFrequency) {
  lpFrequency = PerformanceFrequency;
  return TRUE;
}

void Sleep(DWORD dwMilliseconds) {
  GetClockSource().SleepFor(dwMilliseconds);
}

TFakeClock::TFakeClock(UInt64 StartMilliseconds, TDateTime StartNow)
    : FNanoseconds(static_cast<Int64>(StartMilliseconds) * 1000000),
      FWallBase(StartNow),
      FWallBaseNanos(FNanoseconds.load()) {}

TFakeClock::~TFakeClock() {
  TClockSource* Self = this;
  Installed.compare_exchange_strong(Self, nullptr);
}

void TFakeClock::Advance(Int64 Milliseconds) {
  FNanoseconds.fetch_add(Milliseconds * 1000000);
}

void TFakeClock::SetNow(TDateTime Value) {
  std::lock_guard<std::mutex> Lock(FWallLock);
  FWallBase = Value;
  FWallBaseNanos = FNanoseconds.load();
}

Int64 TFakeClock::MonotonicNanoseconds() {
  return FNanoseconds.load();
}

TDateTime TFakeClock::WallClockNow() {
  std::lock_guard<std::mutex> Lock(FWallLock);
  const Int64 Elapsed = FNanoseconds.load() - FWallBaseNanos;
  return static_cast<TDateTime>(FWallBase + static_cast<Extended>(Elapsed) / 86400.0e9L);
}

void TFakeClock::SleepFor(DWORD Milliseconds) {
  Advance(Milliseconds);
}
