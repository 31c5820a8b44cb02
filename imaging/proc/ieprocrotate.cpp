#include "imaging/proc/ieprocrotate.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/proc/ieprocgeometry.h"
#include "platform/system/Math.h"

namespace {

constexpr long double Pi = 3.14159265358979323846L;
// Shear weights are in 1/4096.
constexpr Integer WeightOne = 4096;

// Pixels of N bytes in rows without padding, copied out of or into a picture.
struct TPlane {
  Integer Width = 0, Height = 0, N = 1;
  std::vector<Byte> Data;
  TPlane(Integer AWidth, Integer AHeight, Integer AN, const Byte* Fill)
      : Width(AWidth), Height(AHeight), N(AN), Data(static_cast<size_t>(AWidth) * AHeight * AN) {
    for (size_t I = 0; I < Data.size(); I += N) std::memcpy(&Data[I], Fill, N);
  }
  Byte* At(Integer X, Integer Y) { return &Data[(static_cast<size_t>(Y) * Width + X) * N]; }
  const Byte* At(Integer X, Integer Y) const { return &Data[(static_cast<size_t>(Y) * Width + X) * N]; }
};

TPlane ReadPlane(TIEBitmap* Bitmap, Integer N) {
  const Byte Zero[3] = {};
  TPlane P(Bitmap->GetWidth(), Bitmap->GetHeight(), N, Zero);
  const size_t RowBytes = static_cast<size_t>(P.Width) * N;
  for (Integer Y = 0; Y < P.Height; ++Y) std::memcpy(P.At(0, Y), Bitmap->GetScanline(Y), RowBytes);
  return P;
}

// The picture takes Plane's size and pixels, keeping its format, palette and alpha object.
void WritePlane(TIEBitmap* Bitmap, const TPlane& P) {
  TIEBitmap Result;
  if (!Result.Allocate(P.Width, P.Height, Bitmap->GetPixelFormat())) return;
  Bitmap->CopyPaletteTo(&Result);
  const size_t RowBytes = static_cast<size_t>(P.Width) * P.N;
  for (Integer Y = 0; Y < P.Height; ++Y) std::memcpy(Result.GetScanline(Y), P.At(0, Y), RowBytes);
  Bitmap->AssignImage(&Result);
}

// Rounds halves up in integers: dividing with the half added and then rounding halves to even
// would raise every odd value of an even area by one.
inline Byte Blend(Integer W1, Byte A, Integer W2, Byte B) {
  return IEClampByte((W1 * A + W2 * B + WeightOne / 2) / WeightOne);
}

// One line of a shear: Count pixels Get(k) go to Put(k + Shift) inside 0 .. Limit - 1, each
// blended with the previous one written (the background first); a trailing pixel blends the
// last with the background at Count + Shift.
template <class FGet, class FPut>
void ShearLine(Integer Count, Integer Shift, Integer Limit, Integer F, bool AntiAlias, Integer N,
               const Byte* Background, FGet Get, FPut Put) {
  const Integer G = WeightOne - F;
  const Byte* Previous = Background;
  for (Integer K = 0; K < Count; ++K) {
    const Integer To = K + Shift;
    if (To < 0 || To >= Limit) continue;
    const Byte* P = Get(K);
    Byte* Out = Put(To);
    for (Integer C = 0; C < N; ++C) Out[C] = AntiAlias ? Blend(F, Previous[C], G, P[C]) : P[C];
    Previous = P;
  }
  if (AntiAlias && F > 0 && Count + Shift < Limit && Count + Shift >= 0) {
    Byte* Out = Put(Count + Shift);
    for (Integer C = 0; C < N; ++C) Out[C] = Blend(F, Previous[C], G, Background[C]);
  }
}

void Report(TObject* Sender, const TIEProgressEvent& OnProgress, Extended Percent) {
  if (OnProgress) OnProgress(Sender, static_cast<Integer>(Trunc(Percent)));
}

// Turns by quarter turns until at most 45 degrees are left; answers the rest.
Extended PreTurn(TIEBitmap* Bitmap, double Angle, Integer Bits) {
  Extended Rest = static_cast<Extended>(static_cast<Int64>(Trunc(Angle * 1000.0L)) % 360000) / 1000.0L;
  TIEBitmap Work;
  auto TurnBy = [&](bool CounterClockwise) {
    if (Bits == 24)
      CounterClockwise ? IERotate90CCW24(Bitmap, &Work) : IERotate90CW24(Bitmap, &Work);
    else
      CounterClockwise ? IERotate90CCW8(Bitmap, &Work) : IERotate90CW8(Bitmap, &Work);
    Bitmap->AssignImage(&Work);
  };
  while (Rest > 45) {
    TurnBy(true);
    Rest -= 90;
  }
  while (Rest < -45) {
    TurnBy(false);
    Rest += 90;
  }
  return Rest;
}

// The three-shear rotation shared by the 24-bit and 8-bit pictures (N bytes a pixel).
void ShearRotate(TIEBitmap* Bitmap, Integer N, bool AntiAlias, const Byte* Background, TObject* Sender,
                 const TIEProgressEvent& OnProgress, double Angle) {
  if (Angle == 0 || Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0) return;
  const Extended Rest = PreTurn(Bitmap, Angle, N * 8);
  if (Rest == 0) return;
  const Extended Theta = Rest * Pi / 180;
  const bool Positive = Theta > 0;
  const Extended T = std::fabs(std::sin(Theta / 2) / std::cos(Theta / 2)), S = std::fabs(std::sin(Theta));
  const TPlane Source = ReadPlane(Bitmap, N);
  const Integer W = Source.Width, H = Source.Height;
  const auto R = [](Extended X) { return static_cast<Integer>(Round(X)); };
  const Integer M = R(H * T + W + 1);
  const Integer U = R(S * (M - W));
  const Integer V = R(H + S * M + 1);
  const Integer TH = R(V - 2 * U);
  const Integer Q = R(T * (V - H - U));
  const Integer A = R(M + T * TH + 1 - 2 * Q);
  if (M <= 0 || TH <= 0 || A <= 0) return;
  const Extended Step = 100.0L / (H + M + TH);

  TPlane Pass1(M, H, N, Background);
  for (Integer Y = 0; Y < H; ++Y) {
    const Extended B = Positive ? T * Y : T * (H - Y);
    const Integer C = R(B);
    const Integer F = static_cast<Integer>(Trunc((B - C) * WeightOne));
    ShearLine(
        W, C, M, F, AntiAlias, N, Background, [&](Integer K) { return Source.At(K, Y); },
        [&](Integer X) { return Pass1.At(X, Y); });
    Report(Sender, OnProgress, Step * Y);
  }
  TPlane Pass2(M, TH, N, Background);
  for (Integer X = 0; X < M; ++X) {
    const Extended B = Positive ? S * (M - X) : S * X;
    const Integer C = R(B);
    const Integer F = R((B - C) * WeightOne);
    ShearLine(
        H, C - U, TH, F, AntiAlias, N, Background, [&](Integer K) { return Pass1.At(X, K); },
        [&](Integer Y) { return Pass2.At(X, Y); });
    Report(Sender, OnProgress, Step * (H + X));
  }
  TPlane Pass3(A, TH, N, Background);
  for (Integer Y = 0; Y < TH; ++Y) {
    const Extended B = Positive ? T * Y : T * (TH - Y);
    const Integer G = R(B);
    const Integer F = R((B - G) * WeightOne);
    ShearLine(
        M, G - Q, A, F, AntiAlias, N, Background, [&](Integer K) { return Pass2.At(K, Y); },
        [&](Integer X) { return Pass3.At(X, Y); });
    Report(Sender, OnProgress, Step * (H + M + Y));
  }
  WritePlane(Bitmap, Pass3);
}

// The nearest-pixel rotation of 1-bit (Bytes 0) and 8-bit pictures.
void NearestRotate(TIEBitmap* Bitmap, Integer Bytes, Byte Outside, TObject* Sender,
                   const TIEProgressEvent& OnProgress, double Angle) {
  if (Angle == 90 || Angle == -90 || Angle == 270 || Angle == 180 || Angle == -180) {
    TIEBitmap Result;
    IERotateBitmapTo(Bitmap, &Result, clBlack, nullptr, {}, Angle);
    Bitmap->AssignImage(&Result);
    return;
  }
  const long double Theta = -Angle / 57.295779513082320877L;
  const long double CosT = Trunc(std::cos(Theta) * 10000) / 10000.0L;
  const long double SinT = Trunc(std::sin(Theta) * 10000) / 10000.0L;
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  const Integer W2 = static_cast<Integer>(Trunc(std::fabs(W * CosT) + std::fabs(H * SinT)));
  const Integer H2 = static_cast<Integer>(Trunc(std::fabs(W * SinT) + std::fabs(H * CosT)));
  TIEBitmap Result;
  if (!Result.Allocate(W2, H2, Bitmap->GetPixelFormat())) return;
  Bitmap->CopyPaletteTo(&Result);
  Result.Fill(0);
  std::vector<Integer> PX(W2), PY(W2);
  for (Integer J = 0; J < W2; ++J) {
    const long double O = J - (W2 / 2.0L - 0.5L);
    PX[J] = static_cast<Integer>(Trunc(CosT * O));
    PY[J] = static_cast<Integer>(Trunc(-SinT * O));
  }
  const Integer RowLen = Bitmap->GetRowLen();
  std::vector<Byte> Source(static_cast<size_t>(RowLen) * H);
  for (Integer Y = 0; Y < H; ++Y)
    std::memcpy(&Source[static_cast<size_t>(Y) * RowLen], Bitmap->GetScanline(Y), RowLen);
  for (Integer I = 0; I < H2; ++I) {
    const long double U = I - (H2 / 2.0L - 0.5L);
    const Integer SX0 = static_cast<Integer>(Trunc((W / 2.0L - 0.5L) + SinT * U));
    const Integer SY0 = static_cast<Integer>(Trunc((H / 2.0L - 0.5L) + CosT * U));
    auto* Out = static_cast<Byte*>(Result.GetScanline(I));
    for (Integer J = 0; J < W2; ++J) {
      const Integer SX = SX0 + PX[J], SY = SY0 + PY[J];
      const bool Inside = SX >= 0 && SX < W && SY >= 0 && SY < H;
      const Byte* Row = Inside ? &Source[static_cast<size_t>(SY) * RowLen] : nullptr;
      if (Bytes == 0) {
        if (Inside ? IEGetBit(Row, SX) : Outside != 0) Out[J >> 3] |= static_cast<Byte>(0x80 >> (J & 7));
      } else {
        Out[J] = Inside ? Row[SX] : Outside;
      }
    }
    Report(Sender, OnProgress, I * 100.0L / H2);
  }
  Bitmap->AssignImage(&Result);
}

// Pixel (X, Y) of Plane, or the background outside it.
inline const Byte* SampleAt(const TPlane& P, Integer X, Integer Y, const Byte* Background) {
  return X >= 0 && Y >= 0 && X < P.Width && Y < P.Height ? P.At(X, Y) : Background;
}

void BilinearSample(const TPlane& P, Extended SX, Extended SY, const Byte* Background, Byte* Out) {
  const Integer I = static_cast<Integer>(Trunc(SX)), J = static_cast<Integer>(Trunc(SY));
  const Extended FX = SX - std::floor(SX), FY = SY - std::floor(SY);
  const Byte *P00 = SampleAt(P, I, J, Background), *P10 = SampleAt(P, I + 1, J, Background);
  const Byte *P01 = SampleAt(P, I, J + 1, Background), *P11 = SampleAt(P, I + 1, J + 1, Background);
  for (Integer C = 0; C < P.N; ++C) {
    const Extended Top = (P10[C] - P00[C]) * FX + P00[C];
    const Extended Bottom = (P11[C] - P01[C]) * FX + P01[C];
    Out[C] = static_cast<Byte>(Trunc(Top + (Bottom - Top) * FY));
  }
}

// Cubic convolution with a = -1 for the offsets -1, 0, 1, 2 at fraction T.
void CubicWeights(Extended T, Extended (&W)[4]) {
  W[0] = -T * (1 - T) * (1 - T);
  W[1] = 1 - 2 * T * T + T * T * T;
  W[2] = T * (1 + T - T * T);
  W[3] = T * T * (T - 1);
}

void BicubicSample(const TPlane& P, Extended SX, Extended SY, const Byte* Background, Byte* Out) {
  const Integer I = static_cast<Integer>(Trunc(SX)), J = static_cast<Integer>(Trunc(SY));
  Extended WX[4], WY[4];
  CubicWeights(SX - I, WX);
  CubicWeights(SY - J, WY);
  for (Integer C = 0; C < P.N; ++C) {
    Extended Sum = 0;
    for (Integer DY = 0; DY < 4; ++DY)
      for (Integer DX = 0; DX < 4; ++DX)
        Sum += WY[DY] * WX[DX] * SampleAt(P, I + DX - 1, J + DY - 1, Background)[C];
    const Int64 V = std::llabs(static_cast<Int64>(Trunc(Sum)));
    Out[C] = static_cast<Byte>(V > 255 ? 255 : V);
  }
}

// Frame of background pixels that lets the samplers blend the edges in.
constexpr Integer SampleFrame = 3;

void InterpolatedRotate(TIEBitmap* Bitmap, Integer N, const Byte* Background, TIERotateAntialias Mode,
                        TObject* Sender, const TIEProgressEvent& OnProgress, double Angle) {
  const TPlane Source = ReadPlane(Bitmap, N);
  TPlane Framed(Source.Width + 2 * SampleFrame, Source.Height + 2 * SampleFrame, N, Background);
  for (Integer Y = 0; Y < Source.Height; ++Y)
    std::memcpy(Framed.At(SampleFrame, Y + SampleFrame), Source.At(0, Y),
                static_cast<size_t>(Source.Width) * N);
  const Extended Theta = Angle * Pi / 180, SinT = std::sin(Theta), CosT = std::cos(Theta);
  const Integer W0 = Framed.Width, H0 = Framed.Height;
  const Integer W2 = static_cast<Integer>(Round(std::fabs(SinT) * (H0 - 1) + std::fabs(CosT) * (W0 - 1)));
  const Integer H2 = static_cast<Integer>(Round(std::fabs(CosT) * (H0 - 1) + std::fabs(SinT) * (W0 - 1)));
  if (W2 <= 2 * SampleFrame || H2 <= 2 * SampleFrame) return;
  const Extended CSX = (W0 - 1) / 2.0L, CSY = (H0 - 1) / 2.0L, CDX = (W2 - 1) / 2.0L, CDY = (H2 - 1) / 2.0L;
  TPlane Result(W2 - 2 * SampleFrame, H2 - 2 * SampleFrame, N, Background);
  for (Integer Y = 0; Y < H2; ++Y) {
    if (Y >= SampleFrame && Y < H2 - SampleFrame)
      for (Integer X = SampleFrame; X < W2 - SampleFrame; ++X) {
        const Extended SX = (X - CDX) * CosT - (Y - CDY) * SinT + CSX;
        const Extended SY = (X - CDX) * SinT + (Y - CDY) * CosT + CSY;
        Byte* Out = Result.At(X - SampleFrame, Y - SampleFrame);
        if (Mode == raBicubic)
          BicubicSample(Framed, SX, SY, Background, Out);
        else
          BilinearSample(Framed, SX, SY, Background, Out);
      }
    Report(Sender, OnProgress, Y * 100.0L / H2);
  }
  WritePlane(Bitmap, Result);
}

}  // namespace

void IERotateBitmap(TIEBitmap* Bitmap, bool AntiAlias, TObject* Sender, const TIEProgressEvent& OnProgress,
                    const TIERGBTriple& Background, double Angle) {
  if (Bitmap->GetPixelFormat() == ie24RGB) {
    const Byte Fill[3] = {Background.rgbtBlue, Background.rgbtGreen, Background.rgbtRed};
    ShearRotate(Bitmap, 3, AntiAlias, Fill, Sender, OnProgress, Angle);
  } else if (Bitmap->GetPixelFormat() == ie1g) {
    const bool White = Background.rgbtRed != 0 && Background.rgbtGreen != 0 && Background.rgbtBlue != 0;
    IERotateBitmap1(Bitmap, White, Sender, OnProgress, Angle);
  }
}

void IERotateBitmap8(TIEBitmap* Bitmap, bool AntiAlias, Byte Background, TObject* Sender,
                     const TIEProgressEvent& OnProgress, double Angle) {
  if (Bitmap->GetPixelFormat() != ie8g && Bitmap->GetPixelFormat() != ie8p) return;
  ShearRotate(Bitmap, 1, AntiAlias, &Background, Sender, OnProgress, Angle);
}

void IERotateBitmap1(TIEBitmap* Bitmap, bool FillWhite, TObject* Sender, const TIEProgressEvent& OnProgress,
                     double Angle) {
  if (Bitmap->GetPixelFormat() != ie1g) return;
  NearestRotate(Bitmap, 0, FillWhite ? 1 : 0, Sender, OnProgress, Angle);
}

void IERotateBitmapNearest8(TIEBitmap* Bitmap, Byte Background, double Angle) {
  if (Bitmap->GetBitCount() != 8) return;
  NearestRotate(Bitmap, 1, Background, nullptr, {}, Angle);
}

void IERotateInterpolated24(TIEBitmap* Bitmap, TColor Background, TIERotateAntialias Mode, TObject* Sender,
                            const TIEProgressEvent& OnProgress, double Angle) {
  if (Bitmap->GetPixelFormat() != ie24RGB) return;
  const TIERGBTriple C = IEColorToRGB(Background);
  const Byte Fill[3] = {C.rgbtBlue, C.rgbtGreen, C.rgbtRed};
  InterpolatedRotate(Bitmap, 3, Fill, Mode, Sender, OnProgress, Angle);
}

void IERotateInterpolated8(TIEBitmap* Bitmap, Byte Background, TIERotateAntialias Mode, double Angle) {
  if (Bitmap->GetBitCount() != 8) return;
  InterpolatedRotate(Bitmap, 1, &Background, Mode, nullptr, {}, Angle);
}
