#include "imaging/core/ieblend.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "imaging/core/iecolorspace.h"
#include "imaging/core/ieprocbase.h"

namespace {

// Operations that treat blue, green and red alike: F(s, d) per channel, stored as a byte.
template <Integer (*F)(Integer S, Integer D)>
void PerChannel(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer) {
  Dst.rgbtBlue = static_cast<Byte>(F(Src.rgbtBlue, Dst.rgbtBlue));
  Dst.rgbtGreen = static_cast<Byte>(F(Src.rgbtGreen, Dst.rgbtGreen));
  Dst.rgbtRed = static_cast<Byte>(F(Src.rgbtRed, Dst.rgbtRed));
}

Integer Copy(Integer S, Integer) {
  return S;
}
Integer Add(Integer S, Integer D) {
  return IEMin(D + S, 255);
}
Integer Difference(Integer S, Integer D) {
  return std::abs(D - S);
}
Integer Divide(Integer S, Integer D) {
  return D / IEClamp(S, 1, 255);
}
Integer Multiply(Integer S, Integer D) {
  return (S * D) >> 8;
}
Integer Or(Integer S, Integer D) {
  return D | S;
}
Integer And(Integer S, Integer D) {
  return D & S;
}
Integer Xor(Integer S, Integer D) {
  return D ^ S;
}
Integer Lighten(Integer S, Integer D) {
  return IEMax(D, S);
}
Integer Darken(Integer S, Integer D) {
  return IEMin(D, S);
}
Integer Average(Integer S, Integer D) {
  return (D + S) >> 1;
}
// Trunc(255 - (255 - d)(255 - s) / 255): the fraction rounds the product up.
Integer Screen(Integer S, Integer D) {
  return 255 - ((255 - D) * (255 - S) + 254) / 255;
}
Integer Negation(Integer S, Integer D) {
  return 255 - std::abs(255 - S - D);
}
Integer Exclusion(Integer S, Integer D) {
  return S + D - ((S * D) >> 7);
}
Integer Overlay(Integer S, Integer D) {
  return D < 128 ? (S * D) >> 7 : 255 - (((255 - S) * (255 - D)) >> 7);
}
Integer HardLight(Integer S, Integer D) {
  return S < 128 ? (S * D) >> 7 : 255 - (((255 - S) * (255 - D)) >> 7);
}
Integer SoftLight(Integer S, Integer D) {
  const double C = S / 255.0, E = D / 255.0;
  const double V = C < 0.5 ? E * E * (1 - 2 * C) + 2 * E * C : std::sqrt(E) * (2 * C - 1) + 2 * E * (1 - C);
  return static_cast<Integer>(V * 255);
}
Integer SoftLightMultiplyScreen(Integer S, Integer D) {
  const Integer M = (S * D) >> 8;
  const Integer R = 255 - (((255 - D) * (255 - S)) >> 8) - M;
  return M + ((D * R) >> 8);
}
Integer ColorDodge(Integer S, Integer D) {
  return S == 255 ? 255 : IEMin(255, (D << 8) / (255 - S));
}
Integer ColorBurn(Integer S, Integer D) {
  return S == 0 ? 0 : IEMax(0, 255 - ((255 - D) << 8) / S);
}
Integer InverseColorDodge(Integer S, Integer D) {
  return ColorDodge(D, S);
}
Integer InverseColorBurn(Integer S, Integer D) {
  return ColorBurn(D, S);
}
Integer SoftDodge(Integer S, Integer D) {
  if (S + D < 256) return S == 255 ? 255 : IEMin(255, (D << 7) / (255 - S));
  return IEMax(0, 255 - ((255 - S) << 7) / D);
}
Integer SoftBurn(Integer S, Integer D) {
  return SoftDodge(D, S);
}
Integer Reflect(Integer S, Integer D) {
  return S == 255 ? 255 : IEMin(255, D * D / (255 - S));
}
Integer Glow(Integer S, Integer D) {
  return Reflect(D, S);
}
Integer Freeze(Integer S, Integer D) {
  return S == 0 ? 0 : IEMax(0, 255 - (255 - D) * (255 - D) / S);
}
Integer Heat(Integer S, Integer D) {
  return Freeze(D, S);
}
Integer Subtract(Integer S, Integer D) {
  return IEClampByte(D + S - 256);
}
Integer Interpolation(Integer S, Integer D) {
  const std::array<Integer, 256>& T = IEBlendCosineTable();
  return IEMin(255, T[S] + T[D]);
}
Integer LinearLight(Integer S, Integer D) {
  return IEClampByte(D + 2 * S - 256);
}

void RedOnly(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer) {
  Dst.rgbtRed = Src.rgbtRed;
}
void GreenOnly(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer) {
  Dst.rgbtGreen = Src.rgbtGreen;
}
void BlueOnly(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer) {
  Dst.rgbtBlue = Src.rgbtBlue;
}

struct THSL {
  double H, S, L;
};
THSL ToHSL(const TIERGBTriple& C) {
  THSL R;
  IERGBToHSL(R.H, R.S, R.L, (C.rgbtRed << 16) | (C.rgbtGreen << 8) | C.rgbtBlue);
  return R;
}
// The hue-family operations: the result takes each of H, S, L from the source or the destination.
template <bool HueOfSrc, bool SaturationOfSrc, bool LightnessOfSrc>
void HSLMix(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer) {
  const THSL S = ToHSL(Src), D = ToHSL(Dst);
  IEHSLToRGB(Dst, HueOfSrc ? S.H : D.H, SaturationOfSrc ? S.S : D.S, LightnessOfSrc ? S.L : D.L);
}

void GrayStereo(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer) {
  const TIEGray8 G8 = TIEGray8::Current();
  Dst.rgbtRed = static_cast<Byte>(G8(Dst));
  Dst.rgbtGreen = Dst.rgbtBlue = static_cast<Byte>(G8(Src));
}
void ColorStereo(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer) {
  Dst.rgbtGreen = Src.rgbtGreen;
  Dst.rgbtBlue = Src.rgbtBlue;
}
// The destination is the left picture, the source the right one.
void RedCyanStereo(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer) {
  const double DR = Dst.rgbtRed, DG = Dst.rgbtGreen, DB = Dst.rgbtBlue;
  const double SR = Src.rgbtRed, SG = Src.rgbtGreen, SB = Src.rgbtBlue;
  const auto Out = [](double V) { return IEClampByte(static_cast<Integer>(std::nearbyint(V))); };
  Dst.rgbtRed =
      Out(0.4561 * DR + 0.500484 * DG + 0.176381 * DB - 0.0434706 * SR - 0.0879388 * SG - 0.00155529 * SB);
  Dst.rgbtGreen =
      Out(-0.0400822 * DR - 0.0378246 * DG - 0.0157589 * DB + 0.378476 * SR + 0.73364 * SG - 0.0184503 * SB);
  Dst.rgbtBlue =
      Out(-0.0152161 * DR - 0.0205971 * DG - 0.00546856 * DB - 0.0721527 * SR - 0.112961 * SG + 1.2264 * SB);
}
template <Integer Parity>
void RowsOfParity(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer Row) {
  if ((Row & 1) == Parity) Dst = Src;
}
void Nothing(const TIERGBTriple&, TIERGBTriple&, Integer) {}

constexpr std::array<TIEBlendProc, 256> MakeBlendProcs() {
  std::array<TIEBlendProc, 256> T{};
  for (TIEBlendProc& P : T) P = Nothing;
  const TIEBlendProc Ops[IEBlendOpCount] = {
      PerChannel<Copy>,
      PerChannel<Add>,
      PerChannel<Difference>,
      PerChannel<Divide>,
      PerChannel<Multiply>,
      PerChannel<Or>,
      PerChannel<And>,
      PerChannel<Xor>,
      PerChannel<Lighten>,
      PerChannel<Darken>,
      PerChannel<Average>,
      PerChannel<Screen>,
      PerChannel<Negation>,
      PerChannel<Exclusion>,
      PerChannel<Overlay>,
      PerChannel<HardLight>,
      PerChannel<SoftLight>,
      PerChannel<SoftLightMultiplyScreen>,
      PerChannel<ColorDodge>,
      PerChannel<ColorBurn>,
      PerChannel<InverseColorDodge>,
      PerChannel<InverseColorBurn>,
      PerChannel<SoftDodge>,
      PerChannel<SoftBurn>,
      PerChannel<Reflect>,
      PerChannel<Glow>,
      PerChannel<Freeze>,
      PerChannel<Heat>,
      PerChannel<Subtract>,
      PerChannel<Interpolation>,
      PerChannel<LinearLight>,
      RedOnly,
      GreenOnly,
      BlueOnly,
      HSLMix<true, false, false>,
      HSLMix<false, true, false>,
      HSLMix<true, true, false>,
      HSLMix<true, false, true>,
      GrayStereo,
      ColorStereo,
      RedCyanStereo,
      RowsOfParity<0>,
      RowsOfParity<1>,
  };
  for (Integer I = 0; I < IEBlendOpCount; ++I) T[I] = Ops[I];
  return T;
}
constexpr std::array<TIEBlendProc, 256> BlendProcs = MakeBlendProcs();

double HueToRGB(double M1, double M2, double Hue) {
  if (Hue < 0)
    Hue += 1;
  else if (Hue > 1)
    Hue -= 1;
  if (6 * Hue < 1) return M1 + (M2 - M1) * Hue * 6;
  if (2 * Hue < 1) return M2;
  if (3 * Hue < 2) return M1 + (M2 - M1) * (2.0 / 3 - Hue) * 6;
  return M1;
}

Byte ChannelOf(double V) {
  return IEClampByte(static_cast<Integer>(std::nearbyint(V * 255)));
}

}  // namespace

TIEBlendProc IEBlendProc(Byte Op) {
  return BlendProcs[Op];
}

const std::array<Integer, 256>& IEBlendCosineTable() {
  static const std::array<Integer, 256> Table = [] {
    std::array<Integer, 256> T{};
    for (Integer I = 0; I < 256; ++I)
      T[I] = static_cast<Integer>(std::nearbyint(64 - 64 * std::cos(I * std::numbers::pi / 255)));
    return T;
  }();
  return Table;
}

void IERGBToHSL(double& H, double& S, double& L, Integer Colour) {
  const double R = ((Colour >> 16) & 0xFF) / 255.0, G = ((Colour >> 8) & 0xFF) / 255.0,
               B = (Colour & 0xFF) / 255.0;
  const double Max = std::fmax(R, std::fmax(G, B)), Min = std::fmin(R, std::fmin(G, B));
  L = (Max + Min) / 2;
  if (Max == Min) {
    H = S = 0;
    return;
  }
  const double D = Max - Min;
  S = L < 0.5 ? D / (Max + Min) : D / (2 - Max - Min);
  if (R == Max)
    H = (G - B) / D;
  else if (G == Max)
    H = (B - R) / D + 2;
  else
    H = (R - G) / D + 4;
  H /= 6;
  if (H < 0) H += 1;
}

void IEHSLToRGB(TIERGBTriple& Pixel, double H, double S, double L) {
  if (H < 0)
    H += 1;
  else if (H > 1)
    H -= 1;
  S = std::clamp(S, 0.0, 1.0);
  L = std::clamp(L, 0.0, 1.0);
  double R = L, G = L, B = L;
  if (S != 0) {
    const double M2 = L <= 0.5 ? L * (1 + S) : L + S - L * S;
    const double M1 = 2 * L - M2;
    R = HueToRGB(M1, M2, H + 1.0 / 3);
    G = HueToRGB(M1, M2, H);
    B = HueToRGB(M1, M2, H - 1.0 / 3);
  }
  Pixel.rgbtRed = ChannelOf(R);
  Pixel.rgbtGreen = ChannelOf(G);
  Pixel.rgbtBlue = ChannelOf(B);
}
