#include "imaging/proc/iesoftshadow.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieblur.h"
#include "imaging/core/ieprocbase.h"
#include "platform/system/Math.h"

namespace {

// The predefined "Blur" kernel, also when the predefined list has not been built.
const TIEFilterKernel& BlurKernel() {
  static const TIEFilterKernel Fallback{{1, 1, 1, 1, 1, 1, 1, 1, 1}, 9};
  return IEPredefinedFilters.size() > 1 ? *IEPredefinedFilters[1] : Fallback;
}

struct TShadowPixel {
  Byte Prior;   // the object's own alpha
  Byte Shadow;  // the blurred, moved alpha
};

// The object over its shadow, for one colour channel.
Byte BlendChannel(Byte Pixel, Byte ShadowChannel, Extended N, Extended R) {
  const Integer S = static_cast<Integer>(Trunc(N * ShadowChannel + (1 - N) * Pixel));
  return static_cast<Byte>(Trunc(R * Pixel + (1 - R) * S));
}

void Composite24(Byte* Pixel, Byte& Alpha, TShadowPixel P, const Byte (&ShadowBGR)[3], Extended D) {
  const Byte O = P.Prior, A = P.Shadow;
  if (O != 0 || O == A) {
    if (O != 0 && O != 255) {
      const Extended N = A / Extended(255), R = O / Extended(255);
      for (Integer C = 0; C < 3; ++C) Pixel[C] = BlendChannel(Pixel[C], ShadowBGR[C], N, R);
      Alpha = static_cast<Byte>(Trunc((R + N * (1 - R)) * 255));
    } else {
      Alpha = O;
    }
    return;
  }
  Pixel[0] = ShadowBGR[0];
  Pixel[1] = ShadowBGR[1];
  Pixel[2] = ShadowBGR[2];
  if (D != 1) Alpha = static_cast<Byte>(Trunc(A / D));
}

}  // namespace

void IEApplyFilter8(TIEBitmap* Bitmap, const TIEFilterKernel& Filter, Integer X1, Integer Y1, Integer X2,
                    Integer Y2) {
  if (Bitmap->GetPixelFormat() != ie8g) return;
  const Integer Width = Bitmap->GetWidth(), Height = Bitmap->GetHeight();
  X1 = IEMax(X1, 0);
  Y1 = IEMax(Y1, 0);
  X2 = IEMin(X2, Width);
  Y2 = IEMin(Y2, Height);
  if (X1 >= X2 || Y1 >= Y2) return;
  const Integer Divisor = Filter.Divisor == 0 ? 1 : Filter.Divisor;
  std::vector<Integer> Products(9 * 256);
  for (Integer K = 0; K < 9; ++K)
    for (Integer V = 0; V < 256; ++V) Products[K * 256 + V] = Filter.Weights[K] * V;

  // The results wait in their own rows, so every pixel is filtered from unfiltered neighbours.
  const Integer W = X2 - X1;
  std::vector<Byte> Result(static_cast<std::size_t>(W) * (Y2 - Y1));
  for (Integer Y = Y1; Y < Y2; ++Y) {
    const Integer RowIndex[3] = {IEMax(Y - 1, 0), Y, IEMin(Y + 1, Height - 1)};
    const Byte* Rows[3];
    for (Integer R = 0; R < 3; ++R) Rows[R] = static_cast<const Byte*>(Bitmap->GetRow(RowIndex[R]));
    Byte* Out = Result.data() + static_cast<std::size_t>(Y - Y1) * W;
    for (Integer X = X1; X < X2; ++X) {
      const Integer Column[3] = {IEMax(X - 1, 0), X, IEMin(X + 1, Width - 1)};
      Integer Sum = 0;
      for (Integer R = 0; R < 3; ++R)
        for (Integer C = 0; C < 3; ++C) Sum += Products[(R * 3 + C) * 256 + Rows[R][Column[C]]];
      Out[X - X1] = IEClampByte(std::abs(Sum) / Divisor);
    }
    for (Integer R = 0; R < 3; ++R) Bitmap->FreeRow(RowIndex[R]);
  }
  for (Integer Y = Y1; Y < Y2; ++Y) {
    Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
    const Byte* Source = Result.data() + static_cast<std::size_t>(Y - Y1) * W;
    std::copy(Source, Source + W, Row + X1);
  }
}

Integer IEAddSoftShadow(TIEBitmap* Bitmap, Integer OffsetX, Integer OffsetY, Double Radius, Integer Intensity,
                        Integer Color, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  const Double MarginRadius = Radius == 0 ? 2 : Radius;
  const Integer Margin = IEMax(
      2 * IEMax(std::abs(OffsetX), std::abs(OffsetY)) + static_cast<Integer>(Trunc(MarginRadius * 5)), 1);
  const Integer Half = Margin / 2;
  const Integer Width = Bitmap->GetWidth(), Height = Bitmap->GetHeight();
  if (Width <= 0 || Height <= 0) return Margin;

  TIEBitmap* Alpha = Bitmap->GetAlphaChannel();
  if (Alpha == nullptr) return Margin;
  Alpha->SetFull(false);
  TIEBitmap Prior;
  Prior.Assign(Alpha);

  const Integer BX1 = IEClamp(Left - Half, 0, Width - 1), BY1 = IEClamp(Top - Half, 0, Height - 1);
  const Integer BX2 = IEClamp(Right + Half, 0, Width - 1), BY2 = IEClamp(Bottom + Half, 0, Height - 1);
  if (Radius != 0)
    IEBlurChannel(Alpha, BX1, BY1, BX2, BY2, Radius);
  else
    IEApplyFilter8(Alpha, BlurKernel(), BX1, BY1, BX2, BY2);
  if (OffsetX != 0 || OffsetY != 0)
    Alpha->MoveRegion(BX1, BY1, BX2, BY2, BX1 + OffsetX, BY1 + OffsetY, 0, true);

  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  if (Format != ie24RGB && Format != ie1g) return Margin;
  const Integer CX1 = IEClamp(Left - Margin, 0, Width - 1), CY1 = IEClamp(Top - Margin, 0, Height - 1);
  const Integer CX2 = IEClamp(Right + Margin, 0, Width - 1), CY2 = IEClamp(Bottom + Margin, 0, Height - 1);
  Intensity = IEClamp(Intensity, 0, 100);
  const Extended D = 3 - (Intensity / Extended(100)) * 2;
  const Byte ShadowBGR[3] = {static_cast<Byte>(Color), static_cast<Byte>(Color >> 8),
                             static_cast<Byte>(Color >> 16)};
  std::vector<Byte> PriorRow(static_cast<std::size_t>(Width)), AlphaRow(static_cast<std::size_t>(Width));
  for (Integer Y = CY1; Y <= CY2; ++Y) {
    // One row of each picture at a time, so that file-backed pictures work too.
    const Byte* P = static_cast<const Byte*>(Prior.GetScanline(Y));
    std::copy(P, P + Width, PriorRow.begin());
    Byte* A = static_cast<Byte*>(Alpha->GetScanline(Y));
    std::copy(A, A + Width, AlphaRow.begin());
    Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
    for (Integer X = CX1; X <= CX2; ++X) {
      const TShadowPixel Pixel{PriorRow[X], AlphaRow[X]};
      if (Format == ie24RGB) {
        Composite24(Row + 3 * X, AlphaRow[X], Pixel, ShadowBGR, D);
      } else if (Pixel.Prior != 0 || Pixel.Prior == Pixel.Shadow) {
        AlphaRow[X] = Pixel.Prior;
      } else {
        Row[X >> 3] &= static_cast<Byte>(~(0x80 >> (X & 7)));
      }
    }
    A = static_cast<Byte*>(Alpha->GetScanline(Y));
    std::copy(AlphaRow.begin(), AlphaRow.end(), A);
  }
  return Margin;
}
