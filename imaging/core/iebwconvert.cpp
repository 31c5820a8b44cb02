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

void StartProgress(TIEIOProgress& Progress, Integer Rows) {
  Progress.Factor = Rows > 0 ? 100.0 / Rows : 0;
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

Integer MeanColorLevel(TColorRows& Rows, Integer Height) {
  UInt64 Sums[3] = {0, 0, 0};
  for (Integer Y = 0; Y < Height; ++Y) IEPixelKernels().SumRgb24(Rows.Read(Y), Rows.Width(), Sums);
  const UInt64 Count = static_cast<UInt64>(Rows.Width()) * Height;
  if (Count == 0) return 0;
  return Rows.Gray()(static_cast<Integer>(Sums[0] / Count), static_cast<Integer>(Sums[1] / Count),
                     static_cast<Integer>(Sums[2] / Count));
}

Integer MaxEntropyLevel(TColorRows& Rows, Integer Height) {
  std::array<UInt64, 256> Histogram{};
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* Levels = Rows.ReadLevels(Y);
    for (Integer X = 0; X < Rows.Width(); ++X) ++Histogram[Levels[X]];
  }
  return IEMaxEntropyThreshold(Histogram);
}

bool IsOneBitOfSize(TIEBitmap* Bitmap, Integer Width, Integer Height) {
  return Bitmap->GetPixelFormat() == ie1g && Bitmap->GetWidth() == Width && Bitmap->GetHeight() == Height;
}

}  // namespace

Integer IEMaxEntropyThreshold(const std::array<UInt64, 256>& Histogram) {
  Double Total = 0;
  for (const UInt64 H : Histogram) Total += static_cast<Double>(H);
  if (Total == 0) return 128;
  std::array<Double, 256> P{};
  for (Integer I = 0; I < 256; ++I) P[I] = Histogram[I] / Total;
  auto ClassEntropy = [&](Integer From, Integer To, Double Mass) {
    Double H = 0;
    for (Integer I = From; I <= To; ++I)
      if (P[I] > 0) H -= P[I] / Mass * std::log(P[I] / Mass);
    return H;
  };
  Double Below = 0;
  Double Best = -1;
  Integer Level = 128;
  for (Integer T = 0; T < 255; ++T) {
    Below += P[T];
    const Double Above = 1 - Below;
    if (P[T] == 0 || Below <= 0 || Above <= 1e-12) continue;
    const Double Entropy = ClassEntropy(0, T, Below) + ClassEntropy(T + 1, 255, Above);
    if (Entropy > Best) {
      Best = Entropy;
      Level = T + 1;
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
  if (Threshold == IEThresholdMeanColor)
    Threshold = MeanColorLevel(Rows, Height);
  else if (Threshold == IEThresholdMaxEntropy)
    Threshold = MaxEntropyLevel(Rows, Height);
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
