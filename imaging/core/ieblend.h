#pragma once
// The 43 ways of combining a source pixel into a destination pixel that rendering offers
// (IEBlendPixel), with the tables they use, and the hue-saturation-lightness conversions of
// the hue and colour operations.
#include <array>

#include "imaging/core/hyiedefs.h"

// Operations 0..42; anything above leaves the destination as it is.
constexpr Byte IEBlendOpCount = 43;
constexpr Byte ieboCopy = 0;
constexpr Byte ieboMultiply = 4;
constexpr Byte ieboScreen = 11;
constexpr Byte ieboSoftLight = 16;
constexpr Byte ieboInterpolation = 29;
constexpr Byte ieboHue = 34;
constexpr Byte ieboGrayStereo = 38;
constexpr Byte ieboRedCyanStereo = 40;
constexpr Byte ieboEvenRows = 41;
constexpr Byte ieboOddRows = 42;

// One operation on one pixel; Row is the destination row (the row-interleaving operations
// read it). Row loops fetch the procedure once with IEBlendProc and call it per pixel.
using TIEBlendProc = void (*)(const TIERGBTriple& Src, TIERGBTriple& Dst, Integer Row);
TIEBlendProc IEBlendProc(Byte Op);

inline void IEBlendPixel(const TIERGBTriple* Src, TIERGBTriple* Dst, Byte Op, Integer Row) {
  IEBlendProc(Op)(*Src, *Dst, Row);
}

// Entry i = Round(64 - 64 cos(i pi / 255)), the curve of the interpolation blend. Built on
// first use, so the blend is right even before the library's start-up has run.
const std::array<Integer, 256>& IEBlendCosineTable();

// Colour packed R shl 16 + G shl 8 + B into hue, saturation and lightness, each 0..1; a grey
// gives H = S = 0.
void IERGBToHSL(double& H, double& S, double& L, Integer Colour);
// H wrapped once into 0..1, S and L clamped to 0..1; each channel rounded (halves to even)
// and clamped to 0..255.
void IEHSLToRGB(TIERGBTriple& Pixel, double H, double S, double L);
