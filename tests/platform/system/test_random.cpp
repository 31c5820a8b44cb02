#include <gtest/gtest.h>

#include <vector>

#include "platform/system/Clock.h"
#include "platform/system/Random.h"

// Each draw first steps RandSeed := RandSeed * 134775813 + 1 (mod 2^32), then
// Random(Range) = (Cardinal(RandSeed) * Cardinal(Range)) shr 32 and
// Random() = Cardinal(RandSeed) / 2^32.

TEST(Random, ReplaysThePlatformSequenceFromSeedZero) {
  SetRandSeed(0);
  std::vector<Integer> Drawn;
  for (int I = 0; I < 10; ++I) Drawn.push_back(Random(100));
  EXPECT_EQ(Drawn, (std::vector<Integer>{0, 3, 86, 20, 27, 67, 31, 16, 37, 42}));
  // The seed after ten steps, computed from the formula.
  Cardinal Seed = 0;
  for (int I = 0; I < 10; ++I) Seed = Seed * 134775813u + 1u;
  EXPECT_EQ(GetRandSeed(), static_cast<Integer>(Seed));
}

TEST(Random, ExtendedFormAndZeroRangeStepTheSameSeed) {
  SetRandSeed(0);
  EXPECT_EQ(Random(), 1.0L / 4294967296.0L);
  EXPECT_EQ(Random(0), 0);  // still steps: the seed is now 134775814 * 134775813 + 1
  EXPECT_EQ(Random(), 3698175007.0L / 4294967296.0L);

  SetRandSeed(12345);
  std::vector<Integer> Drawn;
  for (int I = 0; I < 5; ++I) Drawn.push_back(Random(1000));
  EXPECT_EQ(Drawn, (std::vector<Integer>{385, 289, 79, 553, 633}));
  EXPECT_EQ(GetRandSeed(), static_cast<Integer>(2721613530u));  // a negative Integer
  const Extended X = Random();
  EXPECT_GE(X, 0.0L);
  EXPECT_LT(X, 1.0L);
}

TEST(Random, RandomizeSeedsFromTheInstalledClock) {
  TFakeClock Clock(1234);
  SetClockSource(&Clock);
  Randomize();
  EXPECT_EQ(GetRandSeed(), 12340000);  // the 10 MHz counter after 1234 ms
  Clock.Advance(1);
  Randomize();
  EXPECT_EQ(GetRandSeed(), 12350000);
  SetClockSource(nullptr);
}
