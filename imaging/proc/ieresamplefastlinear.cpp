#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iedibbitmap.h"
#include "imaging/core/ieresample.h"
#include "imaging/proc/ieresamplefast.h"
#include "platform/system/Exceptions.h"

namespace {

constexpr Integer FractionBits = 17;
constexpr Double FractionOne = 1 << FractionBits;

// a + floor((b - a) * F / 131072): the shift keeps the sign, so a falling edge rounds down.
inline Byte Interpolate(Integer A, Integer B, Integer F) {
  return static_cast<Byte>(A + (((B - A) * static_cast<Int64>(F)) >> FractionBits));
}

struct TLinearSpan {
  Integer Start;     // X0
  Integer Fraction;  // F, in 1/131072
  Integer End;       // X1, the last pixel averaged when reducing
};

// One entry per destination index; Epsilon keeps an exact boundary from falling a pixel short.
std::vector<TLinearSpan> Spans(Integer SourceLength, Integer DestLength, Double Epsilon) {
  const Double Scale = static_cast<Double>(DestLength) / SourceLength;
  std::vector<TLinearSpan> Result(DestLength);
  for (Integer I = 0; I < DestLength; ++I) {
    const Double F = I / Scale;
    const auto Start = static_cast<Integer>(std::trunc(F));
    Result[I] = {Start, static_cast<Integer>(std::trunc((F - Start) * FractionOne)),
                 static_cast<Integer>(std::trunc(std::min(I + 1, DestLength - 1) / Scale + Epsilon))};
  }
  return Result;
}

// The average of pixels First .. Last (inclusive) of a row of Channels-byte pixels.
template <Integer Channels>
void Average(const Byte* Row, Integer First, Integer Last, Byte* Out) {
  for (Integer Ch = 0; Ch < Channels; ++Ch) {
    Integer Sum = 0;
    for (Integer I = First; I <= Last; ++I) Sum += Row[I * Channels + Ch];
    Out[Ch] = static_cast<Byte>(Sum / (Last - First + 1));
  }
}

struct TLinearJob {
  Integer SourceWidth, SourceHeight, DestWidth, DestHeight;
  bool AlwaysInterpolate;  // the 1-bit path interpolates also when reducing
  const TIEProgressEvent* OnProgress;
  TObject* Sender;
};

// Both passes over Channels-byte rows: ReadRow(Y) gives source row Y, Store(Y, Values) takes
// destination row Y.
template <Integer Channels, class TRead, class TStore>
void LinearPasses(const TLinearJob& Job, TRead ReadRow, TStore Store) {
  const Double Factor = 100 / (Job.SourceHeight + Job.DestHeight + 0.5);
  const auto Report = [&](Double Units) {
    if (*Job.OnProgress) (*Job.OnProgress)(Job.Sender, static_cast<Integer>(std::trunc(Factor * Units)));
  };
  const std::vector<TLinearSpan> Columns = Spans(Job.SourceWidth, Job.DestWidth, 1e-10);
  const bool EnlargeX = Job.AlwaysInterpolate || Job.DestWidth > Job.SourceWidth;
  TIEWorkBitmap Work(Job.DestWidth, Job.SourceHeight, Channels * 8);
  if (!Work.GetBits()) throw EOutOfMemory("Out of memory");
  for (Integer R = 0; R < Job.SourceHeight; ++R) {
    const Byte* Src = ReadRow(R);
    Byte* Out = Work.GetScanline(R);
    for (Integer X = 0; X < Job.DestWidth; ++X, Out += Channels) {
      const TLinearSpan& S = Columns[X];
      if (EnlargeX) {
        const Byte* A = Src + S.Start * Channels;
        const Byte* B = Src + std::min(S.Start + 1, Job.SourceWidth - 1) * Channels;
        for (Integer Ch = 0; Ch < Channels; ++Ch) Out[Ch] = Interpolate(A[Ch], B[Ch], S.Fraction);
      } else {
        Average<Channels>(Src, S.Start, S.End, Out);
      }
    }
    Report(R);
  }
  const std::vector<TLinearSpan> Rows = Spans(Job.SourceHeight, Job.DestHeight, 0);
  const bool EnlargeY = Job.AlwaysInterpolate || Job.DestHeight > Job.SourceHeight;
  const std::size_t Length = static_cast<std::size_t>(Job.DestWidth) * Channels;
  std::vector<Byte> Values(Length);
  std::vector<Integer> Sums(Length);
  for (Integer Y = 0; Y < Job.DestHeight; ++Y) {
    const TLinearSpan& S = Rows[Y];
    if (EnlargeY) {
      const Byte* A = Work.GetScanline(S.Start);
      const Byte* B = Work.GetScanline(S.Start + 1 < Job.SourceHeight ? S.Start + 1 : S.Start);
      for (std::size_t K = 0; K < Length; ++K) Values[K] = Interpolate(A[K], B[K], S.Fraction);
    } else {
      std::fill(Sums.begin(), Sums.end(), 0);
      for (Integer R = S.Start; R <= S.End; ++R) {
        const Byte* Row = Work.GetScanline(R);
        for (std::size_t K = 0; K < Length; ++K) Sums[K] += Row[K];
      }
      const Integer Count = S.End - S.Start + 1;
      for (std::size_t K = 0; K < Length; ++K) Values[K] = static_cast<Byte>(Sums[K] / Count);
    }
    Store(Y, Values.data());
    Report(Job.SourceHeight + Y);
  }
}

bool HasNoSize(TIEBitmap* Source, TIEBitmap* Dest) {
  return Source->GetWidth() == 0 || Source->GetHeight() == 0 || Dest->GetWidth() == 0 ||
         Dest->GetHeight() == 0;
}

bool SameSize(TIEBitmap* Source, TIEBitmap* Dest) {
  return Source->GetWidth() == Dest->GetWidth() && Source->GetHeight() == Dest->GetHeight();
}

template <Integer Channels>
void FastLinear(TIEBitmap* Source, TIEBitmap* Dest, const TIEProgressEvent& OnProgress, TObject* Sender) {
  if (HasNoSize(Source, Dest)) return;
  if (SameSize(Source, Dest)) {
    Dest->Assign(Source);
    return;
  }
  const TLinearJob Job{Source->GetWidth(),
                       Source->GetHeight(),
                       Dest->GetWidth(),
                       Dest->GetHeight(),
                       false,
                       &OnProgress,
                       Sender};
  LinearPasses<Channels>(
      Job, [&](Integer Y) { return static_cast<const Byte*>(Source->GetScanline(Y)); },
      [&](Integer Y, const Byte* Values) {
        std::copy(Values, Values + Job.DestWidth * Channels, static_cast<Byte*>(Dest->GetScanline(Y)));
      });
}

}  // namespace

void IEResampleFastLinear(TIEBitmap* Source, TIEBitmap* Dest, TIEProgressEvent OnProgress, TObject* Sender) {
  FastLinear<3>(Source, Dest, OnProgress, Sender);
}

void IEResampleFastLinearGray8(TIEBitmap* Source, TIEBitmap* Dest, TIEProgressEvent OnProgress,
                               TObject* Sender) {
  FastLinear<1>(Source, Dest, OnProgress, Sender);
}

void IEResample1BitFastLinear(TIEBitmap* Source, TIEBitmap* Dest, TIEProgressEvent OnProgress,
                              TObject* Sender) {
  if (HasNoSize(Source, Dest)) return;
  if (SameSize(Source, Dest)) {
    Dest->Assign(Source);
    return;
  }
  const Integer SourceWidth = Source->GetWidth(), SourceHeight = Source->GetHeight();
  if (Dest->GetWidth() < SourceWidth && Dest->GetHeight() < SourceHeight) {
    IEResample1BitToGray24(Source, 0, 0, SourceWidth - 1, SourceHeight - 1, Dest);
    return;
  }
  const TLinearJob Job{SourceWidth, SourceHeight, Dest->GetWidth(), Dest->GetHeight(), true,
                       &OnProgress, Sender};
  std::vector<Byte> Expanded(SourceWidth);
  LinearPasses<1>(
      Job,
      [&](Integer Y) {
        const Byte* Row = static_cast<const Byte*>(Source->GetScanline(Y));
        for (Integer X = 0; X < SourceWidth; ++X) Expanded[X] = (Row[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0;
        return Expanded.data();
      },
      [&](Integer Y, const Byte* Values) {
        Byte* Out = static_cast<Byte*>(Dest->GetScanline(Y));
        for (Integer X = 0; X < Job.DestWidth; ++X, Out += 3) Out[0] = Out[1] = Out[2] = Values[X];
      });
}
