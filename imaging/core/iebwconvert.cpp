#include "imaging/core/iebwconvert.h"

#include <cmath>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iepixelkernels.h"
#include "imaging/core/iepixelrows.h"
#include "platform/system/Math.h"

namespace {

// A pixel whose channels are all at least this counts as white when dithering.
constexpr Byte DitherWhiteFrom = 251;
constexpr Integer DitherWhiteLevel = 64;  // above every matrix value

// Rows report against height + 0.5, so the last row reports just under 100; the caller's
// finish reports the 100.
void StartProgress(TIEIOProgress& Progress, Integer Rows) {
  Progress.Factor = 100.0 / (Rows + 0.5);
}

void ReportRow(TIEIOProgress& Progress, Integer RowsDone) {
  if (Progress.OnProgress)
    Progress.OnProgress(Progress.Sender, static_cast<Integer>(Trunc(RowsDone * Progress.Factor)));
}

// Reads each row of Source as 24-bit colour (a 16-bit grey sample by its high byte) and as
// 8-bit grey levels; 24-bit rows are read where they lie.
class TColorRows {
 public:
  explicit TColorRows(TIEBitmap* Source)
      : FSource(Source),
        FDirect(Source->GetPixelFormat() == ie24RGB),
        FReader(IERowToRGBFor(Source->GetPixelFormat())),
        FContext(IEMakeRowContext(Source, Source)),
        FRow(FDirect ? 0 : Source->GetWidth()),
        FLevels(Source->GetWidth()) {
    FContext.RangeMin = 0;
    FContext.RangeMax = 0;
  }
  bool IsValid() const { return FReader != nullptr; }
  Integer Width() const { return static_cast<Integer>(FLevels.size()); }
  const Byte* Read(Integer Y) {
    const auto* Row = static_cast<const Byte*>(FSource->GetScanline(Y));
    if (FDirect) return Row;
    FReader(Row, FRow.data(), Width(), FContext);
    return reinterpret_cast<const Byte*>(FRow.data());
  }
  const Byte* ReadLevels(Integer Y) {
    IEPixelKernels().Rgb24ToGray8(Read(Y), FLevels.data(), Width(), FContext.Gray);
    return FLevels.data();
  }
  const TIEGray8& Gray() const { return FContext.Gray; }

 private:
  TIEBitmap* FSource;
  bool FDirect;
  TIERowToRGB FReader;
  TIERowContext FContext;
  std::vector<TIERGBTriple> FRow;
  std::vector<Byte> FLevels;
};

bool IsOneBitOfSize(TIEBitmap* Bitmap, Integer Width, Integer Height) {
  return Bitmap->GetPixelFormat() == ie1g && Bitmap->GetWidth() == Width && Bitmap->GetHeight() == Height;
}

}  // namespace

void IEAverageColor(TIEBitmap* Bitmap, Integer& R, Integer& G, Integer& B) {
  R = G = B = 0;
  const Integer Height = Bitmap->GetHeight();
  TColorRows Rows(Bitmap);
  if (!Rows.IsValid() || Rows.Width() <= 0 || Height <= 0) return;
  // Row means first: the sums of a large picture stay small.
  UInt64 Totals[3] = {0, 0, 0};
  for (Integer Y = 0; Y < Height; ++Y) {
    UInt64 Sums[3] = {0, 0, 0};
    IEPixelKernels().SumRgb24(Rows.Read(Y), Rows.Width(), Sums);
    for (Integer C = 0; C < 3; ++C) Totals[C] += Sums[C] / static_cast<UInt64>(Rows.Width());
  }
  R = static_cast<Integer>(Totals[0] / Height);
  G = static_cast<Integer>(Totals[1] / Height);
  B = static_cast<Integer>(Totals[2] / Height);
}

void IEGrayHistogram(TIEBitmap* Bitmap, std::array<UInt64, 256>& Histogram) {
  Histogram.fill(0);
  const Integer Width = Bitmap->GetWidth(), Height = Bitmap->GetHeight();
  if (Bitmap->GetPixelFormat() == ie1g) {
    for (Integer Y = 0; Y < Height; ++Y) {
      const auto* Row = static_cast<const Byte*>(Bitmap->GetScanline(Y));
      for (Integer X = 0; X < Width; ++X) ++Histogram[(Row[X >> 3] >> (7 - (X & 7))) & 1];
    }
    return;
  }
  TColorRows Rows(Bitmap);
  if (!Rows.IsValid()) return;
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* Levels = Rows.ReadLevels(Y);
    for (Integer X = 0; X < Width; ++X) ++Histogram[Levels[X]];
  }
}

Integer IEMaxEntropyThreshold(const std::array<UInt64, 256>& Histogram) {
  Double Total = 0;
  for (const UInt64 H : Histogram) Total += static_cast<Double>(H);
  if (Total == 0) return IEThresholdMaxEntropy;
  std::array<Double, 256> P{};
  Double Entropy = 0;
  for (Integer I = 0; I < 256; ++I) {
    P[I] = Histogram[I] / Total;
    if (P[I] > 0) Entropy -= P[I] * std::log(P[I]);
  }
  Double Below = 0, BelowEntropy = 0, Best = 0;
  Integer Level = IEThresholdMaxEntropy;
  for (Integer T = 1; T < 256; ++T) {
    Below += P[T - 1];
    if (P[T - 1] > 0) BelowEntropy -= P[T - 1] * std::log(P[T - 1]);
    if (Below <= 0 || Below >= 1) continue;
    const Double Score =
        std::log(Below * (1 - Below)) + BelowEntropy / Below + (Entropy - BelowEntropy) / (1 - Below);
    if (Score > Best) {
      Best = Score;
      Level = T;
    }
  }
  return Level;
}

void IEConvertToBWByThreshold(TIEBitmap* Source, TIEBitmap* Dest, Integer Threshold,
                              TIEIOProgress& Progress) {
  if (Source->GetPixelFormat() == ie1g) {
    Dest->AssignImage(Source);
    return;
  }
  const Integer Width = Source->GetWidth();
  const Integer Height = Source->GetHeight();
  TColorRows Rows(Source);
  if (!Rows.IsValid() || !IsOneBitOfSize(Dest, Width, Height)) return;
  if (Threshold == IEThresholdMeanColor) {
    Integer R, G, B;
    IEAverageColor(Source, R, G, B);
    Threshold = Rows.Gray()(R, G, B);
  } else if (Threshold == IEThresholdMaxEntropy) {
    std::array<UInt64, 256> Histogram;
    IEGrayHistogram(Source, Histogram);
    Threshold = IEMaxEntropyThreshold(Histogram);
  }
  StartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* Colors = Rows.Read(Y);
    IEPixelKernels().Rgb24ToThreshold(Colors, static_cast<Byte*>(Dest->GetScanline(Y)), Width, Threshold,
                                      Rows.Gray());
    ReportRow(Progress, Y + 1);
  }
}

void IEConvertToBWOrdered(TIEBitmap* Bitmap, TIEIOProgress& Progress) {
  if (Bitmap->GetPixelFormat() != ie24RGB) return;
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  TIEBitmap Bits;
  if (!Bits.Allocate(Width, Height, ie1g)) return;
  const TIEGray8 Gray = TIEGray8::Current();
  StartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    // Two different bitmaps: each keeps its one row view.
    const auto* Row = static_cast<const TIERGBTriple*>(Bitmap->GetScanline(Y));
    IEDitherRow(static_cast<Byte*>(Bits.GetScanline(Y)), Width, Y, [&](Integer X) {
      const TIERGBTriple& C = Row[X];
      if (C.rgbtRed >= DitherWhiteFrom && C.rgbtGreen >= DitherWhiteFrom && C.rgbtBlue >= DitherWhiteFrom)
        return DitherWhiteLevel;
      return Gray(C) >> 2;
    });
    ReportRow(Progress, Y + 1);
  }
  Bitmap->AssignImage(&Bits);
}

void IEConvertToBWThreshold(TIEBitmap* Bitmap, Integer Threshold, TIEIOProgress& Progress) {
  if (Bitmap->GetPixelFormat() != ie24RGB) return;
  TIEBitmap Bits;
  if (!Bits.Allocate(Bitmap->GetWidth(), Bitmap->GetHeight(), ie1g)) return;
  IEConvertToBWByThreshold(Bitmap, &Bits, Threshold, Progress);
  Bitmap->AssignImage(&Bits);
}
