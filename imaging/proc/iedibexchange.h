#pragma once
// Pictures to and from packed DIBs in global memory (the clipboard, video frames) and platform
// bitmaps.
#include <memory>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Resources.h"
#include "platform/system/Types.h"

class TBitmap;
class TIEBitmap;
class TIEDibbitmap;

// A packed DIB of columns X1 .. X2 - 1 and rows Y1 .. Y2 - 1 (X2, Y2 of 0: the picture's
// width and height) in a new movable, shareable block owned by the caller; 0 when the block
// cannot be had or the rectangle holds no pixels. Formats other than ie1g, ie8g, ie8p and
// ie24RGB go through a 24-bit copy.
HGLOBAL _CopyBitmaptoDIBEx(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2, Integer DpiX,
                           Integer DpiY);

// Makes Bitmap the picture of a packed DIB, given as a global handle or, with IsPointer, as its
// address; Bits, when set, holds the pixels (YUV frames always come that way). 1-bit DIBs give
// ie1g, the others ie24RGB; run-length data and unknown compressions leave the pixels unset.
// Returns the DIB's bit count (0 for a nil DIB).
Integer IECopyDIBToIEBitmap(HGLOBAL DIB, TIEBitmap* Bitmap, const void* Bits, bool IsPointer);
// Allocates Dest at the DIB's size (1 bit for 1-bit DIBs, else 24) and draws the DIB into it.
Integer IEDrawDIBToDibbitmap(HGLOBAL DIB, TIEDibbitmap* Dest, const void* Bits, bool IsPointer);

// A new platform bitmap holding a copy of Source.
std::unique_ptr<TBitmap> IECloneTBitmap(TBitmap* Source);
// Dest becomes a 24-bit copy of the 1-bit Source: set bits white, clear bits black.
void IE1BitTBitmapTo24Bit(TBitmap* Source, TBitmap* Dest, TIEIOProgress& Progress);
