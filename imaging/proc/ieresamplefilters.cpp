#include "imaging/proc/ieresamplefilters.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iedibbitmap.h"
#include "platform/system/Exceptions.h"

namespace {

Double TriangleFilter(Double T) {
  const Double X = std::abs(T);
  return X < 1 ? 1 - X : 0;
}

Double HermiteFilter(Double T) {
  const Double X = std::abs(T);
  return X < 1 ? (2 * X - 3) * X * X + 1 : 0;
}

Double BellFilter(Double T) {
  const Double X = std::abs(T);
  if (X < 0.5) return 0.75 - X * X;
  if (X < 1.5) return 0.5 * (X - 1.5) * (X - 1.5);
  return 0;
}

Double BSplineFilter(Double T) {
  const Double X = std::abs(T);
  if (X < 1) return X * X * X / 2 - X * X + 2.0 / 3;
  if (X < 2) return (2 - X) * (2 - X) * (2 - X) / 6;
  return 0;
}

Double Lanczos3Filter(Double T) {
  const Double X = std::abs(T);
  return X < 3 ? SincFunction(X) * SincFunction(X / 3) : 0;
}

Double MitchellFilter(Double T) {
  const Double X = std::abs(T);
  if (X < 1) return (7 * X * X * X - 12 * X * X + 16.0 / 3) / 6;
  if (X < 2) return (-(7.0 / 3) * X * X * X + 12 * X * X - 20 * X + 32.0 / 3) / 6;
  return 0;
}

Double BoxFilter(Double T) {
  return T > -0.5 && T <= 0.5 ? 1 : 0;
}

Double LinearFilter(Double T) {
  if (T >= -1 && T < 0) return 1 + T;
  if (T >= 0 && T < 1) return 1 - T;
  return 0;
}

Integer RoundHalfEven(Double Value) {
  return static_cast<Integer>(std::nearbyint(Value));
}

Byte ClampByte(Integer Value) {
  return static_cast<Byte>(std::clamp(Value, 0, 255));
}

// A zero weight sum divides nothing: the sum read unsigned, in 1/256.
Byte ShiftedSum(Integer Sum) {
  return static_cast<Byte>(std::min<Cardinal>(static_cast<Cardinal>(Sum) >> 8, 255));
}

// Source row Y with one byte per channel; 1-bit rows are expanded into Buffer.
const Byte* SourceRow(TIEBitmap* Source, Integer Y, std::vector<Byte>& Buffer) {
  const Byte* Row = static_cast<const Byte*>(Source->GetScanline(Y));
  if (Source->GetPixelFormat() != ie1g) return Row;
  for (std::size_t X = 0; X < Buffer.size(); ++X) Buffer[X] = (Row[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0;
  return Buffer.data();
}

// A work picture that could not be allocated ends the call like any other exhausted memory.
void RequireBits(const TIEWorkBitmap& Work) {
  if (!Work.GetBits()) throw EOutOfMemory("Out of memory");
}

// Only changed values reach the handler.
struct TChangeReporter {
  const TIEProgressEvent& OnProgress;
  TObject* Sender;
  Integer Last = -1;
  void Report(Integer Percent) {
    if (Percent == Last) return;
    Last = Percent;
    OnProgress(Sender, Percent);
  }
};

// RGB sources count a zero weight sum as 256; grey sources shift the sum instead.
template <Integer Channels>
void HorizontalRows(const TResampleHorizContext& C, Integer First, Integer Count, bool Report) {
  std::vector<Byte> Expanded(C.Source->GetPixelFormat() == ie1g ? C.Source->GetWidth() : 0);
  TChangeReporter Progress{C.OnProgress, C.Sender};
  Report = Report && C.OnProgress;
  for (Integer R = First; R < First + Count; ++R) {
    const Byte* Src = SourceRow(C.Source, R, Expanded);
    Byte* Out = C.Work->GetScanline(R);
    for (Integer X = 0; X < C.DestWidth; ++X, Out += Channels) {
      const TResampleWeightList& List = (*C.Weights)[X];
      Integer Sum[Channels] = {};
      Integer WeightSum = 0;
      for (Integer I = 0; I < List.Count; ++I) {
        const Byte* P = Src + List.Weights[I].Index * Channels;
        const Integer W = List.Weights[I].Weight;
        for (Integer Ch = 0; Ch < Channels; ++Ch) Sum[Ch] += W * P[Ch];
        WeightSum += W;
      }
      for (Integer Ch = 0; Ch < Channels; ++Ch) {
        if (Channels == 1 && WeightSum == 0)
          Out[Ch] = ShiftedSum(Sum[Ch]);
        else
          Out[Ch] = ClampByte(Sum[Ch] / (WeightSum == 0 ? 256 : WeightSum));
      }
    }
    if (Report) Progress.Report(static_cast<Integer>((C.ThreadCount * R + 1) * C.ProgressFactor));
  }
}

// Work rows into Dest; Store(Y, Values) takes destination row Y. Accumulates whole rows so
// that the inner loop runs along the row.
template <Integer Channels, class TStore>
void VerticalRows(TIEWorkBitmap& Work, Integer DestWidth, Integer DestHeight, const TResampleWeights& Weights,
                  TStore Store, TChangeReporter* Progress, Integer SourceHeight, Double Factor) {
  const std::size_t Length = static_cast<std::size_t>(DestWidth) * Channels;
  std::vector<Integer> Sums(Length);
  std::vector<Byte> Values(Length);
  for (Integer Y = 0; Y < DestHeight; ++Y) {
    std::fill(Sums.begin(), Sums.end(), 0);
    const TResampleWeightList& List = Weights[Y];
    Integer WeightSum = 0;
    for (Integer I = 0; I < List.Count; ++I) {
      const Byte* Row = Work.GetScanline(List.Weights[I].Index);
      const Integer W = List.Weights[I].Weight;
      for (std::size_t K = 0; K < Length; ++K) Sums[K] += W * Row[K];
      WeightSum += W;
    }
    Byte* Out = Values.data();
    if (WeightSum != 0)
      for (std::size_t K = 0; K < Length; ++K) Out[K] = ClampByte(Sums[K] / WeightSum);
    else
      for (std::size_t K = 0; K < Length; ++K) Out[K] = ShiftedSum(Sums[K]);
    Store(Y, Out);
    if (Progress) Progress->Report(static_cast<Integer>((SourceHeight + Y + 1) * Factor));
  }
}

}  // namespace

Double SincFunction(Double X) {
  if (X == 0) return 1;
  const Double PiX = std::numbers::pi * X;
  return std::sin(PiX) / PiX;
}

const std::array<TResampleFilterEntry, 9> ResampleFilterTable = {{
    {nullptr, 0},
    {TriangleFilter, 1.0},
    {HermiteFilter, 1.0},
    {BellFilter, 1.5},
    {BSplineFilter, 2.0},
    {Lanczos3Filter, 3.0},
    {MitchellFilter, 2.0},
    {BoxFilter, 1.0},
    {LinearFilter, 1.0},
}};

TResampleWeights::TResampleWeights(Integer SourceLength, Integer DestLength, TResampleFilter Filter) {
  const TResampleFilterEntry& Entry = ResampleFilterTable[Filter];
  const Double Scale = SourceLength == 1 || DestLength == 1
                           ? static_cast<Double>(DestLength) / SourceLength
                           : static_cast<Double>(DestLength - 1) / (SourceLength - 1);
  const Double F = 1 / Scale;
  const Double Width = Scale >= 1 ? Entry.Support : Entry.Support / Scale;
  const std::size_t Room = static_cast<std::size_t>(2 * Width + 1);
  FEntries.resize(Room * DestLength);
  FLists.resize(DestLength);
  for (Integer I = 0; I < DestLength; ++I) {
    TResampleWeight* List = FEntries.data() + Room * I;
    Integer Count = 0;
    const Double Center = I / Scale;
    const auto Last = static_cast<Integer>(std::ceil(Center + Width));
    for (auto J = static_cast<Integer>(std::floor(Center - Width)); J <= Last; ++J) {
      const Integer Weight = Scale >= 1 ? RoundHalfEven(Entry.Kernel(Center - J) * 256)
                                        : RoundHalfEven(Entry.Kernel((Center - J) / F) * 256 / F);
      if (Weight == 0) continue;
      Integer Mirrored = J < 0 ? -J : (J >= SourceLength ? 2 * SourceLength - 1 - J : J);
      // Only non-zero weights are kept, so the room of the list is never exceeded.
      if (static_cast<std::size_t>(Count) < Room)
        List[Count++] = {std::clamp(Mirrored, 0, SourceLength - 1), Weight};
    }
    FLists[I] = {Count, List};
  }
}

TResampleHorizThread::TResampleHorizThread(Integer FirstRow, Integer RowCount,
                                           const TResampleHorizContext& Context, Integer ThreadIndex)
    : TThread(true), FContext(Context), FFirstRow(FirstRow), FRowCount(RowCount), FThreadIndex(ThreadIndex) {}

TResampleHorizThread::~TResampleHorizThread() {
  if (!GetSuspended() && !GetFinished()) WaitFor();
}

void TResampleHorizThread::Execute() {
  HorizontalRows<3>(FContext, FFirstRow, FRowCount, FThreadIndex == 0);
}

void IEResampleTwoPassRGB(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter,
                          TIEProgressEvent OnProgress, TObject* Sender, Integer ThreadCount) {
  const Integer SourceHeight = Source->GetHeight(), DestWidth = Dest->GetWidth();
  const Integer DestHeight = Dest->GetHeight();
  const TResampleWeights Columns(Source->GetWidth(), DestWidth, Filter);
  const TResampleWeights Rows(SourceHeight, DestHeight, Filter);
  TIEWorkBitmap Work(DestWidth, SourceHeight, 24);
  RequireBits(Work);
  const Integer N = std::max(ThreadCount, 1);
  TResampleHorizContext Context{
      N, DestWidth, &Columns, Source, &Work, 100.0 / (SourceHeight + DestHeight + 0.5), OnProgress, Sender};
  if (N == 1) {
    HorizontalRows<3>(Context, 0, SourceHeight, true);
  } else {
    const Integer Band = SourceHeight / N;
    auto Pool = std::make_unique<TIEThreadPool>();
    for (Integer K = 0; K < N; ++K) {
      const Integer Count = K == N - 1 ? SourceHeight - (N - 1) * Band : Band;
      Pool->Add(TThread::Create<TResampleHorizThread>(K * Band, Count, Context, K));
    }
    Pool->WaitForAll();
  }
  TChangeReporter Progress{OnProgress, Sender};
  VerticalRows<3>(
      Work, DestWidth, DestHeight, Rows,
      [&](Integer Y, const Byte* Values) {
        std::copy(Values, Values + DestWidth * 3, static_cast<Byte*>(Dest->GetScanline(Y)));
      },
      OnProgress ? &Progress : nullptr, SourceHeight, Context.ProgressFactor);
}

void IEResampleTwoPassGray(TIEBitmap* Source, TIEBitmap* Dest, TResampleFilter Filter) {
  const Integer SourceWidth = Source->GetWidth(), SourceHeight = Source->GetHeight();
  if (SourceWidth == 0 || SourceHeight == 0 || (SourceWidth < 2 && SourceHeight < 2)) return;
  const Integer DestWidth = Dest->GetWidth(), DestHeight = Dest->GetHeight();
  const TResampleWeights Columns(SourceWidth, DestWidth, Filter);
  const TResampleWeights Rows(SourceHeight, DestHeight, Filter);
  TIEWorkBitmap Work(DestWidth, SourceHeight, 8);
  RequireBits(Work);
  const TResampleHorizContext Context{1, DestWidth, &Columns, Source, &Work, 0, {}, nullptr};
  HorizontalRows<1>(Context, 0, SourceHeight, false);
  const bool ToColour = Dest->GetPixelFormat() == ie24RGB;
  VerticalRows<1>(
      Work, DestWidth, DestHeight, Rows,
      [&](Integer Y, const Byte* Values) {
        Byte* Out = static_cast<Byte*>(Dest->GetScanline(Y));
        if (!ToColour) {
          std::copy(Values, Values + DestWidth, Out);
          return;
        }
        for (Integer X = 0; X < DestWidth; ++X, Out += 3) Out[0] = Out[1] = Out[2] = Values[X];
      },
      nullptr, 0, 0);
}
