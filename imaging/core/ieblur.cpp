#include "imaging/core/ieblur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "platform/system/Math.h"

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
  const Integer N = Kernel.HalfWidth;
  const Integer Last = Count - 1;
  const Integer* W = Kernel.Weights.data() + 100;
  for (Integer I = 0; I < Count; ++I) {
    Cardinal Acc = 32768;
    if (I >= N && I + N <= Last) {
      const Byte* Around = Source + I;
      for (Integer K = -N; K <= N; ++K) Acc += static_cast<Cardinal>(W[K]) * Around[K];
    } else {
      // Near the ends the end values stand in for what lies beyond.
      for (Integer K = -N; K <= N; ++K) Acc += static_cast<Cardinal>(W[K]) * Source[IEClamp(I + K, 0, Last)];
    }
    Dest[I] = static_cast<Byte>(Acc >> 16);
  }
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
  std::vector<Byte> Scratch(W);
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y1 + Y)) + X1;
    std::memcpy(Scratch.data(), Row, W);
    IEBlurRow(Kernel, Scratch.data(), Area.data() + static_cast<std::size_t>(Y) * W, W);
  }
  const Integer N = Kernel.HalfWidth;
  const Integer* Weights = Kernel.Weights.data() + 100;
  std::vector<Cardinal> Acc(W);
  for (Integer Y = 0; Y < H; ++Y) {
    std::fill(Acc.begin(), Acc.end(), 32768u);
    for (Integer K = -N; K <= N; ++K) {
      const Cardinal Weight = static_cast<Cardinal>(Weights[K]);
      if (Weight == 0) continue;
      const Byte* Src = Area.data() + static_cast<std::size_t>(IEClamp(Y + K, 0, H - 1)) * W;
      for (Integer X = 0; X < W; ++X) Acc[X] += Weight * Src[X];
    }
    Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y1 + Y)) + X1;
    for (Integer X = 0; X < W; ++X) Row[X] = static_cast<Byte>(Acc[X] >> 16);
  }
}
