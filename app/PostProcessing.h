#pragma once
// The effects that work in place on 24-bit bitmaps through their rows (bytes blue, green,
// red): the diagonal blur, the four-neighbour anti-alias and the lightening.
#include <cstddef>
#include <functional>
#include <vector>

#include "app/Functions.h"

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
// The rows of a copy of Source lightened by Amount (as BlurredCopy) and blurred with ShiftBlur
// distance N, handed out top to bottom as they become final, without a picture of the copy's
// size: the sweep keeps only the few rows the blur still reads. Source (24-bit) must not change
// while rows are taken.
class TBlurredRows {
 public:
  TBlurredRows(TBitmap* Source, Integer N, Integer Amount = 0);
  // The next row of the copy, valid until the next call; nullptr after the last.
  const Byte* Next();

  // A ring of rows indexed by their row number in the picture.
  struct TRing {
    Byte* operator[](Integer Y) const {
      return const_cast<Byte*>(Data.data()) + static_cast<std::size_t>(Y % Count) * Bytes;
    }
    std::vector<Byte> Data;
    std::size_t Bytes = 0;
    Integer Count = 1, Width = 0, Height = 0;
  };

 private:
  TBitmapRows FFrom;
  Integer FN, FAmount, FPasses;
  Integer FStep = 0, FFinal = -1;
  TRing FRing;
};
// V limited to 0..255.
Integer ClampByte(Integer V);
