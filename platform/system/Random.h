#pragma once
// The platform's random generator: one linear congruential generator for the whole program,
//   RandSeed := RandSeed * 134775813 + 1 (mod 2^32),
// so that a seed set with SetRandSeed replays the platform's exact sequence. Not locked:
// only the UI thread draws numbers.
#include "platform/system/Types.h"

Integer GetRandSeed();
void SetRandSeed(Integer Seed);

// Steps the seed, then scales it: (Cardinal(seed) * Cardinal(Range)) shr 32. A Range in
// 1..MaxInt gives 0..Range-1; Random(0) is 0 and still steps the seed.
Integer Random(Integer Range);
// Steps the seed; Cardinal(seed) * 2^-32, in [0, 1).
Extended Random();
// Seeds the generator from the performance counter of the installed clock.
void Randomize();
