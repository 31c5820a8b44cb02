#include "imaging/core/iecolorspace.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/core/iecmykprofile.h"
#include "platform/system/Math.h"

Integer IEGrayWeightR = 21;
Integer IEGrayWeightG = 71;
Integer IEGrayWeightB = 8;

namespace {

// D65 reference white.
constexpr double WhiteX = 0.95047;
constexpr double WhiteZ = 1.08883;
// Below this the L*a*b* curves are linear.
constexpr double LabEpsilon = 0.008856;
constexpr double LabSlope = 7.787;
constexpr double LabOffset = 16.0 / 116.0;

template <typename T>
T RaiseByRepeatedSquaring(T Base, UInt64 Exponent) {
  T Result = 1;
  while (Exponent != 0) {
    if (Exponent & 1) Result *= Base;
    Exponent >>= 1;
    if (Exponent != 0) Base *= Base;
  }
  return Result;
}

// The sRGB curve undone for each of the 256 channel values; the same IEPow arithmetic as per
// pixel, computed once.
const std::array<double, 256>& LinearFromSRGB() {
  static const std::array<double, 256> Table = [] {
    std::array<double, 256> T{};
    for (int I = 0; I < 256; ++I) {
      const double V = I / 255.0;
      T[I] = V <= 0.04045 ? V / 12.92 : IEPow((V + 0.055) / 1.055, 2.4);
    }
    return T;
  }();
  return Table;
}

double LabF(double T) {
  return T > LabEpsilon ? IEPow(T, 1.0 / 3.0) : LabSlope * T + LabOffset;
}

double LabFInverse(double F) {
  const double Cube = F * F * F;
  return Cube > LabEpsilon ? Cube : (F - LabOffset) / LabSlope;
}

Byte SRGBByteFromLinear(double V) {
  V = V > 0.0031308 ? 1.055 * IEPow(V, 1.0 / 2.4) - 0.055 : 12.92 * V;
  return static_cast<Byte>(std::clamp<Int64>(Round(V * 255), 0, 255));
}

Byte ClampTruncated(double V) {
  return static_cast<Byte>(std::clamp<double>(std::trunc(V), 0, 255));
}

}  // namespace

TIECIELabPixel IERGB2CIELab(const TIERGBTriple& RGB) {
  const auto& Linear = LinearFromSRGB();
  const double R = Linear[RGB.rgbtRed];
  const double G = Linear[RGB.rgbtGreen];
  const double B = Linear[RGB.rgbtBlue];
  const double X = (0.412453 * R + 0.35758 * G + 0.180423 * B) / WhiteX;
  const double Y = 0.212671 * R + 0.71516 * G + 0.072169 * B;
  const double Z = (0.019334 * R + 0.119193 * G + 0.950227 * B) / WhiteZ;
  const double FX = LabF(X);
  const double FY = LabF(Y);
  const double FZ = LabF(Z);
  const double LStar = Y > LabEpsilon ? 116.0 * FY - 16.0 : 903.3 * Y;
  // Truncated toward zero and wrapped into the byte, a and b as two's complement. The scaling
  // runs in extended precision, as on the original's FPU: in double 100 x 2.55 falls just below
  // 255 and white would come back as 254.
  TIECIELabPixel Lab;
  Lab.l = static_cast<Byte>(static_cast<Integer>(static_cast<Extended>(LStar) * 2.55L));
  Lab.a = static_cast<ShortInt>(static_cast<Integer>(500.0 * (FX - FY)));
  Lab.b = static_cast<ShortInt>(static_cast<Integer>(200.0 * (FY - FZ)));
  return Lab;
}

TIERGBTriple IECIELab2RGB(const TIECIELabPixel& Lab) {
  const double FY = (Lab.l * 100.0 / 255.0 + 16.0) / 116.0;
  const double FX = FY + Lab.a / 500.0;
  const double FZ = FY - Lab.b / 200.0;
  const double X = LabFInverse(FX) * WhiteX;
  const double Y = LabFInverse(FY);
  const double Z = LabFInverse(FZ) * WhiteZ;
  TIERGBTriple RGB;
  RGB.rgbtRed = SRGBByteFromLinear(3.2406 * X - 1.5372 * Y - 0.4986 * Z);
  RGB.rgbtGreen = SRGBByteFromLinear(-0.9689 * X + 1.8758 * Y + 0.0415 * Z);
  RGB.rgbtBlue = SRGBByteFromLinear(0.0557 * X - 0.204 * Y + 1.057 * Z);
  return RGB;
}

void IEYCbCr2RGB(TIERGBTriple& Dest, Integer Y, Integer Cb, Integer Cr) {
  Dest.rgbtRed = ClampTruncated(Y + 1.402 * (Cr - 128));
  Dest.rgbtGreen = ClampTruncated(Y - 0.34414 * (Cb - 128) - 0.71414 * (Cr - 128));
  Dest.rgbtBlue = ClampTruncated(Y + 1.772 * (Cb - 128));
}

void IECMYK2RGB(const TCMYK& CMYK, TIERGBTriple& RGB) {
  if (IECMYKProfileConversion && IECMYK2RGBByProfile(CMYK, RGB)) return;
  RGB.rgbtRed = static_cast<Byte>(CMYK.c * CMYK.k / 255);
  RGB.rgbtGreen = static_cast<Byte>(CMYK.m * CMYK.k / 255);
  RGB.rgbtBlue = static_cast<Byte>(CMYK.y * CMYK.k / 255);
}

TCMYK IERGB2CMYK(const TIERGBTriple& RGB) {
  if (TCMYK Inks; IECMYKProfileConversion && IERGB2CMYKByProfile(RGB, Inks)) return Inks;
  const Integer K = std::max<Integer>({RGB.rgbtRed, RGB.rgbtGreen, RGB.rgbtBlue, 1});
  return {static_cast<Byte>(RGB.rgbtRed * 255 / K), static_cast<Byte>(RGB.rgbtGreen * 255 / K),
          static_cast<Byte>(RGB.rgbtBlue * 255 / K), static_cast<Byte>(K)};
}

double IEPow(double Base, double Exponent) {
  constexpr double IntegerLimit = 2147483647.0;
  const bool Whole = std::fabs(Exponent) < IntegerLimit && std::trunc(Exponent) == Exponent;
  if (!Whole) {
    if (Base == 0 && std::fabs(Exponent) >= IntegerLimit) return 0;
    return static_cast<double>(
        std::exp2(static_cast<Extended>(Exponent) * std::log2(static_cast<Extended>(Base))));
  }
  const auto N = static_cast<Int64>(Exponent);
  if (Base == 0) return N == 0 ? 1 : 0;
  if (N >= 0) return RaiseByRepeatedSquaring(Base, static_cast<UInt64>(N));
  return 1.0 / RaiseByRepeatedSquaring(Base, static_cast<UInt64>(-N));
}

Extended IEIntPower(Extended Base, Integer Exponent) {
  const auto Magnitude = static_cast<UInt64>(std::abs(static_cast<Int64>(Exponent)));
  const Extended Raised = RaiseByRepeatedSquaring(Base, Magnitude);
  return Exponent < 0 ? 1 / Raised : Raised;
}

Extended IEPower(Extended Base, Extended Exponent) {
  if (Exponent == 0) return 1;
  if (Base == 0 && Exponent > 0) return 0;
  if (std::fabs(Exponent) <= 2147483647.0L && std::trunc(Exponent) == Exponent)
    return IEIntPower(Base, static_cast<Integer>(Exponent));
  return std::exp(Exponent * std::log(Base));
}
