#pragma once
// Colour reductions of 24-bit pictures (grey, a palette of fewer colours) and the row
// conversions between packed bit depths that writers use.
#include <span>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TIEQuantizer;
class TObject;

// ie24RGB only: every pixel of X1..X2 - 1, Y1..Y2 - 1 (clamped) becomes its grey level in all
// three channels; progress after each row.
void IEConvertToGray24(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2, TObject* Sender,
                       const TIEProgressEvent& OnProgress);
// ie24RGB only: every pixel becomes the nearest of NumColors learned colours; Palette, when not
// empty, receives them (at least NumColors entries).
void IEQuantizeInPlace(TIEBitmap* Bitmap, Integer NumColors, std::span<TIERGBTriple> Palette, TObject* Sender,
                       const TIEProgressEvent& OnProgress);
// Converts Width pixels of one packed row (most significant bits first) and answers the
// destination's byte count: (Width + 7) div 8 for 1 bit, (Width + 1) div 2 for 4, Width for 8,
// 3 x Width for 24, else 0. Pairs without a conversion write nothing. Palette (256 entries)
// expands indices to 24 bits; Quantizer maps 24 bits to indices.
Integer IEConvertRowBitDepth(const Byte* Source, Byte* Dest, Word SourceBits, Word DestBits, Word Width,
                             std::span<const TIERGBTriple> Palette, const TIEQuantizer* Quantizer);
