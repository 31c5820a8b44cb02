#pragma once
// Per-pixel colour-space conversions of the imaging library (sRGB and its CIE L*a*b* encoding,
// JPEG YCbCr, CMYK through a profile or by plain arithmetic), the grey weights every
// colour-to-grey conversion uses, and the library's power functions.
#include "imaging/core/hyiedefs.h"

// The stored ieCMYK pixel: C, M, Y, K in this order, each 255 minus the ink amount.
struct TCMYK {
  Byte c = 0;
  Byte m = 0;
  Byte y = 0;
  Byte k = 0;
  constexpr bool operator==(const TCMYK&) const = default;
};
static_assert(sizeof(TCMYK) == 4);

// Library-wide grey weights in percent (they sum to 100). Start-up sets them; everything else
// only reads them.
extern Integer IEGrayWeightR;
extern Integer IEGrayWeightG;
extern Integer IEGrayWeightB;

// The 8-bit grey level (R x WR + G x WG + B x WB) div 100. Row loops take one snapshot of the
// weights before the loop, so the compiler need not reload them after every byte written.
struct TIEGray8 {
  Integer WR;
  Integer WG;
  Integer WB;
  static TIEGray8 Current() { return {IEGrayWeightR, IEGrayWeightG, IEGrayWeightB}; }
  Integer operator()(Integer R, Integer G, Integer B) const { return (R * WR + G * WG + B * WB) / 100; }
  Integer operator()(const TIERGBTriple& C) const { return (*this)(C.rgbtRed, C.rgbtGreen, C.rgbtBlue); }
};

// G8 of a colour with the current weights.
inline Integer IEGray8(const TIERGBTriple& C) {
  return TIEGray8::Current()(C);
}

// sRGB (D65 white) to L*a*b*: L = L* x 2.55, a and b as signed bytes; each truncated.
TIECIELabPixel IERGB2CIELab(const TIERGBTriple& RGB);
// The inverse; channels rounded half to even and clamped to 0..255.
TIERGBTriple IECIELab2RGB(const TIECIELabPixel& Lab);
// The JPEG YCbCr to RGB conversion, each channel truncated and clamped to 0..255.
void IEYCbCr2RGB(TIERGBTriple& Dest, Integer Y, Integer Cb, Integer Cr);

// Through the built-in CMYK profile when IECMYKProfileConversion is on and the profile opens
// (iecmykprofile.h); otherwise plain arithmetic: red = c x k div 255 and so on.
void IECMYK2RGB(const TCMYK& CMYK, TIERGBTriple& RGB);
// The same profile path, else K = the largest channel (1 for black), C = red x 255 div K and
// so on.
TCMYK IERGB2CMYK(const TIERGBTriple& RGB);

// Whole exponents by repeated squaring (0^0 = 1, 0^n = 0 otherwise); any other exponent as
// 2^(Exponent x log2 Base).
double IEPow(double Base, double Exponent);
// Exponent 0 gives 1, 0^(positive) gives 0, whole exponents go through IEIntPower, any other
// as exp(Exponent x ln Base).
Extended IEPower(Extended Base, Extended Exponent);
// Base^|Exponent| by repeated squaring, the reciprocal for a negative exponent.
Extended IEIntPower(Extended Base, Integer Exponent);
