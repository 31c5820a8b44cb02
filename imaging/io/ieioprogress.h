#pragma once
// The filters' side of the progress record (TIEIOProgress, imaging/core/hyiedefs.h).
//
// The abort flag belongs to the caller and may be set by another thread (WaitThreads(true)
// of a component whose operation runs on a worker), so filters read and set it only through
// these helpers, which reach it atomically. A filter never clears it.
#include <atomic>

#include "imaging/core/hyiedefs.h"

inline bool IEIsAborting(const TIEIOProgress& Progress) {
  return std::atomic_ref<bool>(*Progress.Aborting).load(std::memory_order_relaxed);
}

// A filter's failure: the caller reads the flag afterwards.
inline void IESetAborting(TIEIOProgress& Progress) {
  std::atomic_ref<bool>(*Progress.Aborting).store(true, std::memory_order_relaxed);
}

// Before the loop: Factor is the percent per unit of Units (rows, strips, bytes).
inline void IEStartProgress(TIEIOProgress& Progress, Integer Units) {
  Progress.Counter = 0;
  Progress.Factor = Units > 0 ? 100.0 / Units : 0.0;
}

// After Done units: OnProgress, when someone listens, with Done x Factor without its fraction.
inline void IEReportProgress(TIEIOProgress& Progress, Integer Done) {
  Progress.Counter = Done;
  if (Progress.OnProgress) Progress.OnProgress(Progress.Sender, static_cast<Integer>(Done * Progress.Factor));
}
