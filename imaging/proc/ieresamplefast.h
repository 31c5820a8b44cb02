#pragma once
// Resamplers without weight lists: linear interpolation in 17-bit fixed point (window
// averages when reducing), and the area-integrating resampler that samples a bilinear or
// bicubic reconstruction of the source. Dest is always allocated by the caller at the target
// size.
#include "imaging/core/hyiedefs.h"

class TIEBitmap;

// ie24RGB to ie24RGB. Reports after every source and every destination row.
void IEResampleFastLinear(TIEBitmap* Source, TIEBitmap* Dest, TIEProgressEvent OnProgress, TObject* Sender);
// 8 bits per pixel (ie8g pictures, alpha channels).
void IEResampleFastLinearGray8(TIEBitmap* Source, TIEBitmap* Dest, TIEProgressEvent OnProgress,
                               TObject* Sender);
// ie1g (a set bit reads 255) to ie24RGB grey; a reduction in both directions counts set bits.
void IEResample1BitFastLinear(TIEBitmap* Source, TIEBitmap* Dest, TIEProgressEvent OnProgress,
                              TObject* Sender);

// Bicubic 0 bilinear, 1 bicubic. ie8g or ie24RGB on both sides; any other format returns.
void IEResampleArea8(TIEBitmap* Source, TIEBitmap* Dest, Integer Bicubic, TIEProgressEvent OnProgress,
                     TObject* Sender);
// ie16g or ieRGB48 on both sides; any other format returns.
void IEResampleArea16(TIEBitmap* Source, TIEBitmap* Dest, Integer Bicubic, TIEProgressEvent OnProgress,
                      TObject* Sender);
// Cubic convolution (a = -1) of samples at -1, 0, +1, +2 at fraction T, clamped to Low .. High.
Double IECubicInterpolate(Double P0, Double P1, Double P2, Double P3, Double T, Double Low, Double High);
