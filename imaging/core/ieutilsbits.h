#pragma once
// Single bits of 1-bit rows, colour bit-field masks, bit reversal, colour counts and row
// lengths of platform bitmaps. A 1-bit row holds pixel X in bit 7 - X mod 8 of byte X div 8.
#include "imaging/core/hyiedefs.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Types.h"

inline bool IEUtilsGetBit(const Byte* Row, Integer X) {
  return (Row[X >> 3] & (0x80 >> (X & 7))) != 0;
}
inline void IEUtilsSetBit(Byte* Row, Integer X, bool Value) {
  const Byte Mask = static_cast<Byte>(0x80 >> (X & 7));
  if (Value)
    Row[X >> 3] |= Mask;
  else
    Row[X >> 3] &= static_cast<Byte>(~Mask);
}

// The run of set bits that starts at the lowest set bit: its length (0 for 0, 32 for all).
Integer IEBitMaskWidth(Cardinal Mask);
// -1 for 0; the bit's index for a single bit; otherwise one past the highest set bit.
Integer IEBitMaskEnd(Cardinal Mask);

void IEReverseBits8(Byte& B);
void IEReverseBits32(Cardinal& V);

// (2^BitsPerSample)^SamplesPerPixel, 1 for SamplesPerPixel <= 0. A count beyond the 32-bit
// range gives 0x7FFFFFFF, so that "more than N colours" tests stay true.
Integer IEColorCount(Integer BitsPerSample, Integer SamplesPerPixel);

// IEBitmapRowLen, the row length of any width, bit count and alignment, lives with the bitmap.
// Bits per pixel of a platform pixel format; 0 for pfDevice and pfCustom.
Integer IEVclPixelFormatToBitCount(TPixelFormat Format);
// pf1bit ie1g, pf4bit and pf8bit ie8p, everything else ie24RGB.
TIEPixelFormat IEVclPixelFormatToIE(TPixelFormat Format);
// Row length of a platform bitmap (rows aligned to 32 bits).
Int64 IETBitmapRowLen(Integer Width, TPixelFormat Format);
