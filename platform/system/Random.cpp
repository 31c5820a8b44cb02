#include "platform/system/Random.h"

#include "platform/system/Clock.h"

namespace {

Cardinal RandSeed = 0;

Cardinal NextSeed() {
  RandSeed = RandSeed * 134775813u + 1u;  // unsigned, so the product wraps mod 2^32
  return RandSeed;
}

}  // namespace

Integer GetRandSeed() {
  return static_cast<Integer>(RandSeed);
}
void SetRandSeed(Integer Seed) {
  RandSeed = static_cast<Cardinal>(Seed);
}

Integer Random(Integer Range) {
  const UInt64 Product = static_cast<UInt64>(NextSeed()) * static_cast<Cardinal>(Range);
  return static_cast<Integer>(static_cast<Cardinal>(Product >> 32));
}

Extended Random() {
  return static_cast<Extended>(NextSeed()) * (1.0L / 4294967296.0L);
}

void Randomize() {
  Int64 Counter = 0;
  QueryPerformanceCounter(Counter);
  SetRandSeed(static_cast<Integer>(static_cast<Cardinal>(Counter)));
}
