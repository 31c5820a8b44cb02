#pragma once
// Gaussian blur of 8-bit grey pictures: the blur the soft shadows around rectangles are made
// with. Integer weights in 1/65536 units; values beyond a row's or column's ends repeat the
// end values.
#include <array>

#include "platform/system/Types.h"

class TIEBitmap;

struct TIEGaussKernel {
  std::array<Integer, 201> Weights{};  // taps for offsets -100 .. 100
  Byte HalfWidth = 100;                // only taps -HalfWidth .. HalfWidth are used
};

TIEGaussKernel IEGaussKernel(Double Radius);
// Convolves Count bytes of Source into Dest (different buffers).
void IEBlurRow(const TIEGaussKernel& Kernel, const Byte* Source, Byte* Dest, Integer Count);
// Blurs the rectangle X1..Y2 (inclusive, clamped to the picture) of an ie8g picture in place:
// rows first, then columns. Other formats and Radius <= 0 are left alone.
void IEBlurChannel(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2, Double Radius);
