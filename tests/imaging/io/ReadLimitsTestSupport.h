#pragma once
// Proof that a reader refused a claimed size before allocating it: every storage request is
// recorded, and any past Cap fails with no chunked or file-backed fallback behind it, so an
// unguarded reader can never actually get the memory it asks for.
#include <algorithm>

#include "imaging/core/hyieutils.h"
#include "tests/imaging/core/BitmapTestSupport.h"

class TLargestAllocation {
 public:
  explicit TLargestAllocation(UInt64 Cap)
      : FGuard([this, Cap](UInt64 Bytes) {
          FLargest = std::max(FLargest, Bytes);
          return Bytes > Cap;
        }) {
    IEAllowChunks = false;
    IEAllowFileFallback = false;
  }
  UInt64 Largest() const { return FLargest; }

 private:
  UInt64 FLargest = 0;
  TAllocationFailureGuard FGuard;
};
