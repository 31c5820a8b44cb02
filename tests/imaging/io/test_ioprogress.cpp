// The filters' progress helpers: the percent without its fraction, nobody called when nobody
// listens, and the abort flag seen across threads.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "imaging/io/ieioprogress.h"

namespace {

struct TPercents {
  std::vector<Integer> Seen;
  void Progress(TObject*, Integer Percent) { Seen.push_back(Percent); }
};

TEST(IOProgress, ReportsUnitsTimesFactorWithoutFraction) {
  TPercents Listener;
  bool Aborting = false;
  TIEIOProgress Progress;
  Progress.OnProgress = TIEProgressEvent(&Listener, &TPercents::Progress);
  Progress.Aborting = &Aborting;
  IEStartProgress(Progress, 3);
  for (Integer Row = 1; Row <= 3; ++Row) IEReportProgress(Progress, Row);
  // 33.33 and 66.67 both lose their fraction; 3 x 33.33 is 100 again.
  EXPECT_EQ(Listener.Seen, (std::vector<Integer>{33, 66, 100}));
  EXPECT_EQ(Progress.Counter, 3);
}

TEST(IOProgress, WithoutListenerOrUnitsNothingHappens) {
  bool Aborting = false;
  TIEIOProgress Progress;
  Progress.Aborting = &Aborting;
  IEStartProgress(Progress, 0);
  EXPECT_EQ(Progress.Factor, 0.0);
  IEReportProgress(Progress, 5);
  EXPECT_FALSE(IEIsAborting(Progress));
}

TEST(IOProgress, AbortSetOnAnotherThreadIsSeen) {
  bool Aborting = false;
  TIEIOProgress Progress;
  Progress.Aborting = &Aborting;
  std::thread Setter([&] { IESetAborting(Progress); });
  while (!IEIsAborting(Progress)) std::this_thread::yield();
  Setter.join();
  EXPECT_TRUE(Aborting);
}

}  // namespace
