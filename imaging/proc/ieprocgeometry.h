#pragma once
// Mirrors, exact turns, nearest-neighbour rotation by any angle and the transparent-border
// crop rectangle. Positive angles are degrees counter-clockwise on screen (rows run downward):
// +90 brings the right edge to the top. File-backed pictures are read through rows that stay
// valid (GetRow) or row copies, never through several scanline pointers at once.
#include "imaging/core/hyiedefs.h"
#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TObject;

// Direction 0 mirrors left to right, 1 top to bottom; the alpha channel follows. Pixels of
// 8 bits and more move whole; 1-bit rows are mirrored bit by bit.
void IEFlipBitmap(TIEBitmap* Bitmap, Integer Direction);

// Quarter turns into Dest, allocated here with width and height exchanged; Source must be of
// the named depth, else Dest is left alone.
void IERotate90CCW24(TIEBitmap* Source, TIEBitmap* Dest);
void IERotate90CW24(TIEBitmap* Source, TIEBitmap* Dest);
void IERotate90CCW8(TIEBitmap* Source, TIEBitmap* Dest);
void IERotate90CW8(TIEBitmap* Source, TIEBitmap* Dest);

// The size IERotateBitmapTo gives a W x H picture for a turn by Angle that is not a multiple of
// 90 degrees.
TSize IERotatedSize(Integer Width, Integer Height, double Angle);
// A rotated copy of Source in Dest (allocated here in Source's format), by the nearest source
// pixel. Multiples of 90 degrees move pixels exactly; other angles give a picture of
// IERotatedSize whose uncovered pixels are Background (clear bits for 1 bit).
void IERotateBitmapTo(TIEBitmap* Source, TIEBitmap* Dest, TColor Background, TObject* Sender,
                      const TIEProgressEvent& OnProgress, double Angle);
// In place through IERotateBitmapTo; uncovered pixels get Background; the picture keeps its
// own alpha channel object.
void IERotateNearest(TIEBitmap* Bitmap, TColor Background, TObject* Sender,
                     const TIEProgressEvent& OnProgress, double Angle);

// The smallest rectangle (Right and Bottom inclusive) holding every pixel of non-zero alpha;
// the whole picture without an alpha channel, an empty one (Right < Left) when all is zero.
TRect IECropTransparentRect(TIEBitmap* Bitmap);
