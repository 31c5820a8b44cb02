#pragma once
// The row kernels of the hottest conversions (24-bit colour to grey, to 32 bits, grey to 24
// bits, grey to 1 bit by dither or threshold), in a plain form and, where the processor has
// AVX2, the same source compiled for it. The set is chosen once, at first use.
#include "imaging/core/hyiedefs.h"
#include "imaging/core/iecolorspace.h"

struct TIEPixelKernels {
  // B, G, R pixels to their 8-bit grey levels.
  void (*Rgb24ToGray8)(const Byte* Src, Byte* Dest, Integer Width, TIEGray8 Gray);
  // B, G, R to B, G, R, 255.
  void (*Rgb24To32)(const Byte* Src, Byte* Dest, Integer Width);
  // V to V, V, V.
  void (*Gray8To24)(const Byte* Src, Byte* Dest, Integer Width);
  // The channel sums of a row of B, G, R pixels, added to Sums (red, green, blue).
  void (*SumRgb24)(const Byte* Src, Integer Width, UInt64* Sums);
  // Row Y of a 1-bit picture from B, G, R pixels by the ordered dither of their grey levels.
  void (*Rgb24ToDither)(const Byte* Src, Byte* Dest, Integer Width, Integer Y, TIEGray8 Gray);
  // A 1-bit row from B, G, R pixels: bits set where the grey level is at least Threshold.
  void (*Rgb24ToThreshold)(const Byte* Src, Byte* Dest, Integer Width, Integer Threshold, TIEGray8 Gray);
};

const TIEPixelKernels& IEPixelKernels();
// The plain set, and the AVX2 set (nullptr where the processor lacks it): for the test that
// both give the same bytes.
const TIEPixelKernels& IEPlainPixelKernels();
const TIEPixelKernels* IEAvx2PixelKernels();

// Row Y of a 1-bit picture from 8-bit grey levels by the ordered dither (6-bit level = grey
// shr 2). Eight pixels at a time in one 64-bit word.
void IEDitherGray8Row(const Byte* Levels, Byte* Dest, Integer Width, Integer Y);
// Bits set where the grey level is at least Threshold.
void IEThresholdGray8Row(const Byte* Levels, Byte* Dest, Integer Width, Integer Threshold);
