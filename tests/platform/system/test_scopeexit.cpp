// Scope guards: the cleanup runs once however the scope ends, unless released; its own
// exception goes on from a normal exit but never replaces one that is already unwinding.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/system/ScopeExit.h"

TEST(ScopeExit, RunsOnceOnReturnAndOnExceptionUnlessReleased) {
  int Runs = 0;
  {
    auto Guard = ScopeExit([&] { ++Runs; });
  }
  EXPECT_EQ(Runs, 1);
  EXPECT_THROW(
      {
        auto Guard = ScopeExit([&] { ++Runs; });
        throw std::runtime_error("work failed");
      },
      std::runtime_error);
  EXPECT_EQ(Runs, 2);
  {
    auto Guard = ScopeExit([&] { ++Runs; });
    Guard.Release();
  }
  EXPECT_EQ(Runs, 2);
}

TEST(ScopeExit, CleanupExceptionLeavesANormalExitButNotAnUnwindingOne) {
  auto ThrowingCleanup = [] { throw std::runtime_error("cleanup failed"); };
  bool Finished = false, Caught = false;
  try {
    auto Guard = ScopeExit(ThrowingCleanup);
    Finished = true;
  } catch (const std::runtime_error& E) {
    Caught = std::string(E.what()) == "cleanup failed";
  }
  EXPECT_TRUE(Finished && Caught);
  Caught = false;
  try {
    auto Guard = ScopeExit(ThrowingCleanup);
    throw std::logic_error("work failed");
  } catch (const std::logic_error& E) {
    Caught = std::string(E.what()) == "work failed";
  }
  EXPECT_TRUE(Caught);
}
