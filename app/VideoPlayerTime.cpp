#include "app/VideoPlayerTime.h"

#include "platform/system/Format.h"
#include "platform/system/Math.h"

std::string secs2str(Int64 Units) {
  // Hundredths of a second; the count is 64-bit so that movies past 214 seconds read right.
  const Int64 C = Max<Int64>(Units, 0) / 100'000;
  const Int64 Minutes = C / 6000;
  const Int64 Seconds = C / 100 - Minutes * 60;
  const Int64 Hundredths = C - (C / 100) * 100;
  return Format("%.2d.%.2d,%.2d", {Minutes, Seconds, Hundredths});
}

double FrameDurationOf(Int64 Duration, Integer FrameTotal) {
  return FrameTotal > 0 ? static_cast<double>(Duration) / FrameTotal : 0;
}

Integer FrameAtPosition(Int64 Position, double FrameDuration) {
  if (FrameDuration <= 0) return 0;
  return static_cast<Integer>(Round(static_cast<Extended>(Position) / FrameDuration));
}

Int64 StepPosition(Int64 Position, double FrameDuration, Integer Frames) {
  return Position + static_cast<Int64>(Round(static_cast<Extended>(FrameDuration) * Frames));
}

Int64 ClampPosition(Int64 Position, Int64 Duration) {
  return EnsureRange<Int64>(Position, 0, Max<Int64>(Duration, 0));
}
