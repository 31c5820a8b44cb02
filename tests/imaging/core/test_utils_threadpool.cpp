// The suite is named Threads so that the ThreadSanitizer run picks it up.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "platform/system/Threads.h"

namespace {

// A worker that fills its own rows of a shared table, the way the resampler's workers do.
class TRowWorker : public TThread {
 public:
  TRowWorker(std::vector<Integer>& Rows, Integer First, Integer Step, std::atomic<Integer>& Freed)
      : TThread(true), FRows(Rows), FFirst(First), FStep(Step), FFreed(Freed) {}
  ~TRowWorker() override { ++FFreed; }

 protected:
  void Execute() override {
    for (std::size_t Row = FFirst; Row < FRows.size(); Row += FStep) FRows[Row] = FFirst + 1;
  }

 private:
  std::vector<Integer>& FRows;
  std::size_t FFirst;
  std::size_t FStep;
  std::atomic<Integer>& FFreed;
};

TEST(Threads, PoolRunsOneWorkerPerProcessorAndFreesThem) {
  const Integer Workers = CountProcessorCores();
  std::vector<Integer> Rows(1000, 0);
  std::atomic<Integer> Freed{0};
  TIEThreadPool Pool;
  for (Integer I = 0; I < Workers; ++I) Pool.Add(new TRowWorker(Rows, I, Workers, Freed));
  EXPECT_EQ(Pool.GetCount(), Workers);
  Pool.WaitForAll();
  EXPECT_EQ(Pool.GetCount(), 0);
  EXPECT_EQ(Freed.load(), Workers);
  for (std::size_t Row = 0; Row < Rows.size(); ++Row)
    ASSERT_EQ(Rows[Row], static_cast<Integer>(Row % Workers) + 1) << "row " << Row;
}

TEST(Threads, EmptyPoolReturnsAtOnceAndPoolsAreReusable) {
  TIEThreadPool Pool;
  Pool.WaitForAll();
  EXPECT_EQ(Pool.GetCount(), 0);

  std::vector<Integer> Rows(10, 0);
  std::atomic<Integer> Freed{0};
  Pool.Add(new TRowWorker(Rows, 0, 2, Freed));
  Pool.WaitForAll();
  Pool.Add(new TRowWorker(Rows, 1, 2, Freed));
  Pool.WaitForAll();
  EXPECT_EQ(Freed.load(), 2);
  EXPECT_EQ(Rows, (std::vector<Integer>{1, 2, 1, 2, 1, 2, 1, 2, 1, 2}));
}

TEST(Threads, DestroyingThePoolWaitsForItsWorkers) {
  std::vector<Integer> Rows(100, 0);
  std::atomic<Integer> Freed{0};
  {
    TIEThreadPool Pool;
    Pool.Add(new TRowWorker(Rows, 0, 1, Freed));
  }
  EXPECT_EQ(Freed.load(), 1);
  EXPECT_EQ(Rows, std::vector<Integer>(100, 1));
}

}  // namespace
