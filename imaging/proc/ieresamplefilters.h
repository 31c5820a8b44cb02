#pragma once
// The two-pass filtered resampler: integer weight lists built once per destination column and
// row, a horizontal pass over source rows (threaded for 24-bit pictures) into a work picture of
// destination width x source height, and a vertical pass on the calling thread.
#include <array>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Threads.h"

class TIEBitmap;
class TIEWorkBitmap;

using TResampleKernel = Double (*)(Double T);
struct TResampleFilterEntry {
  TResampleKernel Kernel;
  Double Support;  // half-width in source pixels at scale 1
};
// Indexed by the filter value; entries 1 (rfTriangle) to 8 (rfLinear) only.
extern const std::array<TResampleFilterEntry, 9> ResampleFilterTable;

Double SincFunction(Double X);

// One source pixel's share of a destination pixel, in 1/256.
struct TResampleWeight {
  Integer Index;
  Integer Weight;
  bool operator==(const TResampleWeight&) const = default;
};
struct TResampleWeightList {
  Integer Count = 0;
  const TResampleWeight* Weights = nullptr;
};

// The lists of every destination index of one direction; each list's indices lie in
// 0 .. SourceLength - 1.
class TResampleWeights {
 public:
  TResampleWeights(Integer SourceLength, Integer DestLength, TResampleFilter Filter);
  const TResampleWeightList& operator[](Integer Index) const { return FLists[Index]; }

 private:
  std::vector<TResampleWeight> FEntries;
  std::vector<TResampleWeightList> FLists;
};

// What every band of the horizontal pass shares; copied into each thread.
struct TResampleHorizContext {
  Integer ThreadCount = 1;
  Integer DestWidth = 0;
  const TResampleWeights* Weights = nullptr;
  TIEBitmap* Source = nullptr;
  TIEWorkBitmap* Work = nullptr;
  Double ProgressFactor = 0;
  TIEProgressEvent OnProgress;
  TObject* Sender = nullptr;
};

class TResampleHorizThread : public TThread {
 public:
  TResampleHorizThread(Integer FirstRow, Integer RowCount, const TResampleHorizContext& Context,
                       Integer ThreadIndex);
  ~TResampleHorizThread() override;

 protected:
  void Execute() override;

 private:
  TResampleHorizContext FContext;
  Integer FFirstRow, FRowCount, FThreadIndex;
};

// Filters 1 to 8 only. Both ie24RGB; Dest allocated at the target size. Reports progress.
void IEResampleTwoPassRGB(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                          TIEProgressEvent OnProgress, TObject* Sender, Integer ThreadCount);
// One channel on the calling thread: Source ie8g into ie8g, or Source ie1g (a set bit reads
// 255) into the three channels of an ie24RGB Dest. Nothing when the source has no size or is
// below 2 in both directions.
void IEResampleTwoPassGray(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter);
