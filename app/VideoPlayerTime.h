#pragma once
// The movie player's arithmetic of positions and frames. Positions and durations count 100
// nanoseconds, the playback graph's own unit.
#include <string>

#include "platform/system/Types.h"

// Units of 100 ns per second.
constexpr Int64 UnitsPerSecond = 10'000'000;

// "mm.ss,hh": minutes, seconds and hundredths of a second, each of at least two digits
// (01.05,40 for 65.4 seconds). A negative count reads as 0.
std::string secs2str(Int64 Units);

// The duration of one frame of a movie of FrameTotal frames lasting Duration; 0 for a movie of
// no frames.
double FrameDurationOf(Int64 Duration, Integer FrameTotal);

// The frame shown at Position: Position / FrameDuration rounded; 0 when frames have no duration.
Integer FrameAtPosition(Int64 Position, double FrameDuration);

// The position Frames frames after Position (before it for a negative count).
Int64 StepPosition(Int64 Position, double FrameDuration, Integer Frames);

// A position the movie can stand at: neither before its start nor past its end.
Int64 ClampPosition(Int64 Position, Int64 Duration);
