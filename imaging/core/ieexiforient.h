#pragma once
// Exact mirrors and quarter turns of a bitmap's pixels, the EXIF block's stand-ins for the
// processing library's mirror and rotation until that library is started. Every pixel format
// moves whole pixels; the alpha channel is not moved.
#include "platform/system/Types.h"

class TIEBitmap;

// Direction 0 mirrors left to right, 1 top to bottom.
void IEExactFlipBitmap(TIEBitmap* Bitmap, Integer Direction);
// Angle a multiple of 90 degrees, positive counter-clockwise on screen; others do nothing.
void IEExactRotateBitmap(TIEBitmap* Bitmap, Integer Angle);
