#include <gtest/gtest.h>

#include <thread>

#include "platform/system/Clock.h"
#include "platform/system/DateTime.h"

TEST(FakeClock, TicksMoveOnlyByAdvanceAndSleep) {
  TFakeClock Clock(1000);
  SetClockSource(&Clock);
  EXPECT_EQ(GetTickCount(), 1000u);
  EXPECT_EQ(GetTickCount(), 1000u);
  Clock.Advance(1500);
  EXPECT_EQ(GetTickCount(), 2500u);
  Sleep(250);  // returns at once, having moved time
  EXPECT_EQ(GetTickCount(), 2750u);
  EXPECT_EQ(timeGetTime(), 2750u);
  std::thread Worker([] { Sleep(100); });
  Worker.join();
  EXPECT_EQ(GetTickCount64(), 2850u);

  Int64 Frequency = 0, Counter = 0;
  EXPECT_EQ(QueryPerformanceFrequency(Frequency), TRUE);
  EXPECT_EQ(QueryPerformanceCounter(Counter), TRUE);
  EXPECT_EQ(Frequency, 10000000);
  EXPECT_EQ(Counter, 2850 * 10000);
  SetClockSource(nullptr);
}

TEST(FakeClock, DwordTicksWrapAfter49Days) {
  TFakeClock Clock(0xFFFFFFFFull - 10);
  SetClockSource(&Clock);
  const DWORD Start = GetTickCount();
  EXPECT_EQ(Start, 0xFFFFFFF5u);
  Clock.Advance(20);
  EXPECT_EQ(GetTickCount(), 9u);
  EXPECT_EQ(GetTickCount() - Start, 20u);  // unsigned difference survives the wrap
  EXPECT_EQ(GetTickCount64(), 0x100000009ull);
  SetClockSource(nullptr);
}

TEST(FakeClock, WallClockFollowsAdvanceAndSetNow) {
  TFakeClock Clock(0, EncodeDateTime(2011, 3, 3, 9, 5, 0, 0));
  SetClockSource(&Clock);
  EXPECT_EQ(Now(), EncodeDateTime(2011, 3, 3, 9, 5, 0, 0));
  Clock.Advance(90500);
  EXPECT_EQ(Time(), EncodeTime(9, 6, 30, 500));
  EXPECT_EQ(Date(), EncodeDate(2011, 3, 3));
  Clock.SetNow(EncodeDateTime(1999, 12, 31, 23, 59, 59, 0));
  EXPECT_EQ(GetTickCount(), 90500u);  // the monotonic clock is untouched
  Sleep(1000);
  EXPECT_EQ(Date(), EncodeDate(2000, 1, 1));
  EXPECT_EQ(Time(), 0.0);
  SetClockSource(nullptr);
}

TEST(FakeClock, UninstallsItselfWhenDestroyed) {
  {
    TFakeClock Clock;
    SetClockSource(&Clock);
    EXPECT_EQ(&GetClockSource(), &Clock);
  }
  EXPECT_EQ(dynamic_cast<TFakeClock*>(&GetClockSource()), nullptr);  // the real clock again
}

TEST(RealClock, SleepWaitsAtLeastTheTimeAsked) {
  Int64 Start = 0, Stop = 0;
  QueryPerformanceCounter(Start);
  const UInt64 Ticks = GetTickCount64();
  Sleep(20);
  QueryPerformanceCounter(Stop);
  EXPECT_GE(Stop - Start, 20 * PerformanceFrequency / 1000);
  EXPECT_GE(GetTickCount64(), Ticks + 20);
}
