#pragma once
// Black-and-white conversions: ordered dithering with the 8 x 8 Bayer matrix and thresholds
// on the 8-bit grey level (a fixed level, the mean colour's level, or the maximum-entropy
// level of the grey histogram).
#include <array>

#include "imaging/core/hyiedefs.h"

class TIEBitmap;

// The standard ordered-dither matrix, row by row; the bit at (X, Y) is set when
// IEBayer8x8[(X and 7) x 8 + (Y and 7)] < the pixel's 6-bit level.
inline constexpr std::array<Byte, 64> IEBayer8x8 = {
    0,  32, 8,  40, 2,  34, 10, 42, 48, 16, 56, 24, 50, 18, 58, 26, 12, 44, 4,  36, 14, 46,
    6,  38, 60, 28, 52, 20, 62, 30, 54, 22, 3,  35, 11, 43, 1,  33, 9,  41, 51, 19, 59, 27,
    49, 17, 57, 25, 15, 47, 7,  39, 13, 45, 5,  37, 63, 31, 55, 23, 61, 29, 53, 21};

// Threshold values with a meaning of their own.
constexpr Integer IEThresholdMeanColor = -1;
constexpr Integer IEThresholdMaxEntropy = -2;

// Writes row Y of a 1-bit picture from LevelOf(X), the 6-bit level of each pixel. Whole bytes
// are built in a register; the bits past Width in the last byte are cleared.
template <class FLevel>
void IEDitherRow(Byte* Dest, Integer Width, Integer Y, FLevel LevelOf) {
  Byte Column[8];
  for (Integer I = 0; I < 8; ++I) Column[I] = IEBayer8x8[I * 8 + (Y & 7)];
  for (Integer X0 = 0; X0 < Width; X0 += 8) {
    Byte Bits = 0;
    const Integer Count = Width - X0 < 8 ? Width - X0 : 8;
    for (Integer I = 0; I < Count; ++I)
      if (Column[I] < LevelOf(X0 + I)) Bits |= static_cast<Byte>(0x80 >> I);
    Dest[X0 >> 3] = Bits;
  }
}

// Fills the allocated 1-bit Dest of Source's size: a bit is set when the pixel's 8-bit grey
// level is at least Threshold (or the level IEThresholdMeanColor / IEThresholdMaxEntropy
// choose). A 1-bit Source is copied. Every format is read; progress is reported per row.
void IEConvertToBWByThreshold(TIEBitmap* Source, TIEBitmap* Dest, Integer Threshold, TIEIOProgress& Progress);
// ie24RGB bitmaps only, others are left alone: replaced by a 1-bit picture dithered on the grey
// level shifted right by 2 (a pixel with all channels at 251 or more is white).
void IEConvertToBWOrdered(TIEBitmap* Bitmap, TIEIOProgress& Progress);
// ie24RGB bitmaps only: replaced by IEConvertToBWByThreshold's 1-bit picture.
void IEConvertToBWThreshold(TIEBitmap* Bitmap, Integer Threshold, TIEIOProgress& Progress);

// The picture's mean red, green and blue (0..255): the means of the rows, averaged.
void IEAverageColor(TIEBitmap* Bitmap, Integer& R, Integer& G, Integer& B);
// Pixels per grey level; 1-bit pixels count into levels 0 and 1.
void IEGrayHistogram(TIEBitmap* Bitmap, std::array<UInt64, 256>& Histogram);
// The maximum-entropy threshold of a 256-level histogram: the first level t whose split into
// levels below t and the rest scores highest; levels at or above it are white. With no score
// above 0 (a single level, or two spikes) IEThresholdMaxEntropy, which makes every pixel white.
Integer IEMaxEntropyThreshold(const std::array<UInt64, 256>& Histogram);
