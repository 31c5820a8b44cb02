#pragma once
// Internal to the region code: writes a region's rectangle list band by band.
#include <cstddef>
#include <vector>

#include "platform/system/Types.h"

// Appends bands top to bottom and merges a band into the one above when they touch and hold
// the same spans, which keeps the list canonical.
class TBandWriter {
 public:
  explicit TBandWriter(std::vector<TRect>& Out) : FOut(Out) {}
  void Begin(Integer Top, Integer Bottom) {
    FTop = Top;
    FBottom = Bottom;
    FStart = FOut.size();
  }
  // Spans come sorted, non-empty and apart from each other.
  void Add(Integer Left, Integer Right) { FOut.push_back(TRect{Left, FTop, Right, FBottom}); }
  void End() {
    const std::size_t N = FOut.size() - FStart;
    if (N == 0) return;
    if (FHasPrev && FOut[FPrev].Bottom == FTop && FStart - FPrev == N && SameSpans(N)) {
      for (std::size_t I = FPrev; I < FStart; ++I) FOut[I].Bottom = FBottom;
      FOut.resize(FStart);
      return;
    }
    FPrev = FStart;
    FHasPrev = true;
  }

 private:
  bool SameSpans(std::size_t N) const {
    const TRect* A = FOut.data() + FPrev;
    const TRect* B = FOut.data() + FStart;
    for (std::size_t I = 0; I < N; ++I)
      if (A[I].Left != B[I].Left || A[I].Right != B[I].Right) return false;
    return true;
  }

  std::vector<TRect>& FOut;
  std::size_t FStart = 0;
  std::size_t FPrev = 0;
  bool FHasPrev = false;
  Integer FTop = 0;
  Integer FBottom = 0;
};
