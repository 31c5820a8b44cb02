#include "imaging/core/ieblur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "platform/system/Math.h"

namespace {

// Both passes sum whole lines of bytes, one weighted line per tap, so that the inner loops run
// over plain arrays (apart, so that the compiler may vectorise them).
void AddWeighted(Cardinal* __restrict Acc, const Byte* __restrict Source, Cardinal Weight, Integer Count) {
  for (Integer X = 0; X < Count; ++X) Acc[X] += Weight * Source[X];
}

void StoreSums(const Cardinal* __restrict Acc, Byte* __restrict Dest, Integer Count) {
  for (Integer X = 0; X < Count; ++X) Dest[X] = static_cast<Byte>(Acc[X] >> 16);
}

// Blurs rows of one length, with buffers kept from row to row.
class TRowBlur {
 public:
  TRowBlur(const TIEGaussKernel& Kernel, Integer Count)
      : FKernel(Kernel), FCount(Count), FPadded(Count + 2 * Kernel.HalfWidth), FAcc(Count) {}
  void Blur(const Byte* Source, Byte* Dest) {
    // The end values stand in for what lies beyond the row's ends.
    const Integer N = FKernel.HalfWidth;
    std::memset(FPadded.data(), Source[0], N);
    std::memcpy(FPadded.data() + N, Source, FCount);
    std::memset(FPadded.data() + N + FCount, Source[FCount - 1], N);
    std::fill(FAcc.begin(), FAcc.end(), 32768u);
    for (Integer K = -N; K <= N; ++K)
      if (const Cardinal W = static_cast<Cardinal>(FKernel.Weights[100 + K]); W != 0)
        AddWeighted(FAcc.data(), FPadded.data() + N + K, W, FCount);
    StoreSums(FAcc.data(), Dest, FCount);
  }

 private:
  const TIEGaussKernel& FKernel;
  Integer FCount;
  std::vector<Byte> FPadded;
  std::vector<Cardinal> FAcc;
};

}  // namespace

TIEGaussKernel IEGaussKernel(Double Radius) {
  std::array<Extended, 201> Taps{};
  Extended Sum = 0;
  for (Integer I = 0; I <= 200; ++I) {
    const Extended T = (I - 100) / static_cast<Extended>(Radius);
    Taps[I] = std::exp(-T * T / 2);
    Sum += Taps[I];
  }
  TIEGaussKernel K;
  for (Integer I = 0; I <= 200; ++I) K.Weights[I] = static_cast<Integer>(Round(Taps[I] * 65536 / Sum));
  Integer N = 100;
  while (N > 1 && K.Weights[100 + N] == 0 && K.Weights[100 - N] == 0) --N;
  K.HalfWidth = static_cast<Byte>(N);
  return K;
}

void IEBlurRow(const TIEGaussKernel& Kernel, const Byte* Source, Byte* Dest, Integer Count) {
  if (Count <= 0) return;
  TRowBlur(Kernel, Count).Blur(Source, Dest);
}

void IEBlurChannel(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2, Double Radius) {
  if (Bitmap->GetPixelFormat() != ie8g || Radius <= 0) return;
  const Integer LastX = Bitmap->GetWidth() - 1, LastY = Bitmap->GetHeight() - 1;
  X1 = IEClamp(X1, 0, LastX);
  X2 = IEClamp(X2, 0, LastX);
  Y1 = IEClamp(Y1, 0, LastY);
  Y2 = IEClamp(Y2, 0, LastY);
  if (X1 > X2 || Y1 > Y2) return;
  const TIEGaussKernel Kernel = IEGaussKernel(Radius);
  const Integer W = X2 - X1 + 1, H = Y2 - Y1 + 1;

  // The row pass leaves its bytes in Area; the column pass reads Area and writes the picture
  // a row at a time, so a file-backed picture needs one row view only.
  std::vector<Byte> Area(static_cast<std::size_t>(W) * H);
  TRowBlur Rows(Kernel, W);
  for (Integer Y = 0; Y < H; ++Y)
    Rows.Blur(static_cast<Byte*>(Bitmap->GetScanline(Y1 + Y)) + X1,
              Area.data() + static_cast<std::size_t>(Y) * W);
  const Integer N = Kernel.HalfWidth;
  std::vector<Cardinal> Acc(W);
  for (Integer Y = 0; Y < H; ++Y) {
    std::fill(Acc.begin(), Acc.end(), 32768u);
    for (Integer K = -N; K <= N; ++K)
      if (const Cardinal Weight = static_cast<Cardinal>(Kernel.Weights[100 + K]); Weight != 0)
        AddWeighted(Acc.data(), Area.data() + static_cast<std::size_t>(IEClamp(Y + K, 0, H - 1)) * W, Weight,
                    W);
    StoreSums(Acc.data(), static_cast<Byte*>(Bitmap->GetScanline(Y1 + Y)) + X1, W);
  }
}
