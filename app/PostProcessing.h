#pragma once
// The effects that work in place on 24-bit bitmaps through their rows (bytes blue, green,
// red): the diagonal blur, the four-neighbour anti-alias and the lightening.
#include <functional>

#include "platform/system/Types.h"

class TBitmap;

// Anti-aliases the rectangle (corners in either order) by setting each channel to the mean of
// its four direct neighbours, in place, row by row from the top and left to right; the
// outermost pixel ring is never changed. The bitmap becomes 24-bit.
void SmoothRect(TBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2);
// N + 1 passes, each setting every channel in place to the mean of the four diagonal samples
// N pixels away; a sample outside the bitmap is taken from the pixel's own row or column.
// N = 0 does nothing.
void ShiftBlur(TBitmap* Bitmap, Integer N);
// Each channel v becomes v + Amount * (255 - v) div 255: 0 leaves the picture, 255 makes it white.
void LightenBitmap(TBitmap* Bitmap, Integer Amount);
// Told that row Y of a picture is final, with its pixels.
using TRowEvent = std::function<void(Integer Y, const Byte* Row)>;

// Dest becomes a copy of Source, lightened by Amount when it is above 0 (LightenBitmap) and
// blurred with ShiftBlur distance N, in one walk over the picture; RowDone hears of each row,
// top to bottom, as soon as it is final. Source is 24-bit; a Dest of the same size keeps its
// pixel memory.
void BlurredCopy(TBitmap* Source, TBitmap* Dest, Integer N, Integer Amount = 0,
                 const TRowEvent& RowDone = {});
// V limited to 0..255.
Integer ClampByte(Integer V);
